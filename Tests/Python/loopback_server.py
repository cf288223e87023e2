"""A small HTTP server on loopback for the tests of the demo downloads and the updater: it serves the
files of a folder, and on purpose fails the ways a real server or network does.

    /usr/bin/python3 Tests/Python/loopback_server.py <folder>

prints "PORT <number>" once it listens on 127.0.0.1 (a free port), then serves until killed; tests
start it with `serving(folder)`.

Paths:
- /<file>: the file (404 when there is none);
- /status/<code>/<anything>: an empty answer with that status code;
- /truncated/<file>: announces the file's whole length, sends half of it and closes the connection;
- /slow/<seconds>/<file>: waits that long, then sends the file;
- /drip/<file>: sends the file in 64 KiB pieces a little apart, so progress shows.
"""

import contextlib
import http.server
import os
import socketserver
import subprocess
import sys
import time
import urllib.parse


class Handler(http.server.BaseHTTPRequestHandler):
    root = "."

    def log_message(self, format, *args):  # noqa: A002 - the base class's name
        pass

    def send_file(self, relative, limit=None, pieces=False):
        path = os.path.join(self.root, *[part for part in relative.split("/") if part not in ("", ".", "..")])
        if not os.path.isfile(path):
            self.send_response(404)
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        with open(path, "rb") as source:
            data = source.read()
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        if limit is not None:
            self.wfile.write(data[:limit])
            self.wfile.flush()
            self.close_connection = True
            return
        if pieces:
            for start in range(0, len(data), 65536):
                self.wfile.write(data[start:start + 65536])
                self.wfile.flush()
                time.sleep(0.01)
            return
        self.wfile.write(data)

    def do_GET(self):  # noqa: N802 - the base class's name
        path = urllib.parse.unquote(urllib.parse.urlparse(self.path).path)
        parts = path.lstrip("/").split("/")
        if parts[0] == "status" and len(parts) >= 2:
            self.send_response(int(parts[1]))
            self.send_header("Content-Length", "0")
            self.end_headers()
        elif parts[0] == "truncated":
            relative = "/".join(parts[1:])
            size = os.path.getsize(os.path.join(self.root, *parts[1:])) if os.path.isfile(os.path.join(self.root, *parts[1:])) else 0
            self.send_file(relative, limit=size // 2)
        elif parts[0] == "slow" and len(parts) >= 3:
            time.sleep(float(parts[1]))
            self.send_file("/".join(parts[2:]))
        elif parts[0] == "drip":
            self.send_file("/".join(parts[1:]), pieces=True)
        else:
            self.send_file(path)


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True


@contextlib.contextmanager
def serving(root):
    """Serves the folder root from a server process of its own while the block runs; gives the
    server's address ("http://127.0.0.1:<port>/")."""
    process = subprocess.Popen([sys.executable, os.path.abspath(__file__), str(root)], stdout=subprocess.PIPE, text=True)
    try:
        port = int(process.stdout.readline().split()[1])
        yield "http://127.0.0.1:%d/" % port
    finally:
        process.terminate()
        process.wait()


def main():
    Handler.root = os.path.abspath(sys.argv[1])
    server = Server(("127.0.0.1", 0), Handler)
    print("PORT %d" % server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
