#!/usr/bin/env python3
"""Joins the tool script's sources in their manifest's order into the one script text and writes the
carriage that the editor module compiles: a C++ source holding the text in Base64 as a char array (MSVC
caps string literals, a char array has no such limit).

    bundle_tool_script.py --source-dir DIR --carriage FILE [--check] [--script-out FILE]

--check compares FILE with what would be written and exits 1 when it differs (a stale carriage)."""

import argparse
import base64
import os
import sys

MANIFEST_NAME = "manifest.txt"
BYTES_PER_LINE = 24
CARRIAGE_HEADER = """// The tool script carried by the editor module, in standard Base64 (%d bytes of UTF-8 script text).
// Generated from ToolScript/ by scripts/check-tool-script; edit the Python sources, not this file.
// A char array rather than a string literal, because compilers cap the length of string literals.
#include "VNToolScript.h"

namespace
{
	const ANSICHAR ToolScriptBase64Text[] = {
"""
CARRIAGE_FOOTER = """		0};
}

const ANSICHAR* const VantorelToolScript::EmbeddedBase64 = ToolScriptBase64Text;
"""


class BundleError(Exception):
    pass


def manifest_entries(source_dir):
    """The source file names listed in the manifest, in order (blank lines and # comments skipped)."""
    path = os.path.join(source_dir, MANIFEST_NAME)
    try:
        with open(path, encoding="utf-8") as manifest:
            lines = manifest.read().splitlines()
    except OSError as error:
        raise BundleError("cannot read the manifest %s: %s" % (path, error))
    entries = [line.strip() for line in lines if line.strip() and not line.strip().startswith("#")]
    seen = set()
    for entry in entries:
        if os.path.basename(entry) != entry or not entry.endswith(".py"):
            raise BundleError("manifest entry %r must be a .py file name in %s" % (entry, source_dir))
        if entry in seen:
            raise BundleError("manifest lists %s twice" % entry)
        seen.add(entry)
    listed = set(entries)
    unlisted = sorted(name for name in os.listdir(source_dir) if name.endswith(".py") and name not in listed)
    if unlisted:
        raise BundleError("sources not in the manifest: %s" % ", ".join(unlisted))
    return entries


def bundle(source_dir):
    """The one script text: every listed source in order, each after a line naming it."""
    parts = []
    for entry in manifest_entries(source_dir):
        with open(os.path.join(source_dir, entry), encoding="utf-8") as source:
            text = source.read()
        if not text.endswith("\n"):
            text += "\n"
        parts.append("# ---- %s ----\n%s" % (entry, text))
    return "".join(parts)


def carriage(script_text):
    """The C++ carriage of the script text."""
    encoded = base64.b64encode(script_text.encode("utf-8"))
    lines = []
    for start in range(0, len(encoded), BYTES_PER_LINE):
        chunk = encoded[start:start + BYTES_PER_LINE]
        lines.append("\t\t" + "".join("%d," % byte for byte in chunk) + "\n")
    return CARRIAGE_HEADER % len(script_text.encode("utf-8")) + "".join(lines) + CARRIAGE_FOOTER


def read_text(path):
    try:
        with open(path, encoding="utf-8", newline="") as existing:
            return existing.read()
    except OSError:
        return None


def write_if_changed(path, text):
    if read_text(path) == text:
        return False
    directory = os.path.dirname(path)
    if directory:
        os.makedirs(directory, exist_ok=True)
    temporary = path + ".tmp"
    with open(temporary, "w", encoding="utf-8", newline="\n") as out:
        out.write(text)
    os.replace(temporary, path)
    return True


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--source-dir", required=True)
    parser.add_argument("--carriage", required=True)
    parser.add_argument("--script-out")
    parser.add_argument("--check", action="store_true")
    args = parser.parse_args(argv)
    try:
        script_text = bundle(args.source_dir)
    except (BundleError, OSError, UnicodeDecodeError) as error:
        print("bundle_tool_script: %s" % error, file=sys.stderr)
        return 2
    expected = carriage(script_text)
    if args.check:
        if read_text(args.carriage) != expected:
            print("bundle_tool_script: %s is stale; run scripts/check-tool-script to regenerate it" % args.carriage,
                  file=sys.stderr)
            return 1
        return 0
    write_if_changed(args.carriage, expected)
    if args.script_out:
        write_if_changed(args.script_out, script_text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
