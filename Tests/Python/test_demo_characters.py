"""The "Demo" section against a real HTTP server on loopback: the server's list with each status, a
demo downloaded with its progress and installed by the real 7-Zip, and the faults a download can
meet, each leaving the installed demo as it was."""

import os
import re
import shutil
import subprocess
import time
import zipfile

import pytest

from loopback_server import serving
from test_tools_window import open_tools

SEVEN_ZIP = shutil.which("7zz") or shutil.which("7z")
ONLINE = "Online demos"
LIST = "\n".join([
    "Hero 1.10",
    "Villain   2.0",
    "",
    "Zed 1",
    "Three fields here",
    ".. 1.0",
    "a/b 1.0",
    "Hero-2_b 3.0.1",
    "Villain 2.1",
    "Big 1.0",
]) + "\r\n"


def make_demo_project(folder, name, marker):
    project = folder / (name + "Unreal")
    (project / "Content").mkdir(parents=True)
    (project / (name + "Unreal.uproject")).write_text('{"FileVersion": 3, "Marker": "%s"}' % marker)
    (project / "Content" / "Readme.txt").write_text(marker)
    return project


def seven_zip(archive, *folders, cwd):
    subprocess.run([SEVEN_ZIP, "a", "-bso0", "-bsp0", str(archive), *[str(f) for f in folders]], cwd=cwd, check=True)


@pytest.fixture(scope="module")
def server(tmp_path_factory):
    """The download server's demo folder (download/VantorelExamples/), with the list and the archives,
    served on loopback; yields (server address, demo folder)."""
    if SEVEN_ZIP is None:
        pytest.fail("7-Zip is not installed (scripts/setup installs Debian's 7zip)")
    root = tmp_path_factory.mktemp("server")
    base = root / "download" / "VantorelExamples"
    base.mkdir(parents=True)
    (base / "DemoVersionsUnreal.txt").write_text(LIST, newline="")
    work = tmp_path_factory.mktemp("archives")
    make_demo_project(work / "hero", "Hero", "hero 1.10")
    seven_zip(base / "HeroUnreal.7z", "HeroUnreal", cwd=work / "hero")
    # Two copies of the project: not the archive of one demo.
    make_demo_project(work / "twice" / "a", "Villain", "one")
    make_demo_project(work / "twice" / "b", "Villain", "two")
    seven_zip(base / "VillainUnreal.7z", "a", "b", cwd=work / "twice")
    (base / "ZedUnreal.7z").write_bytes(b"this is not a 7-Zip archive")
    big = make_demo_project(work / "big", "Big", "big")
    (big / "Content" / "Noise.bin").write_bytes(os.urandom(6 * 1024 * 1024))
    seven_zip(base / "BigUnreal.7z", "BigUnreal", "-mx0", cwd=work / "big")
    with serving(root) as url:
        yield url, base


@pytest.fixture
def demos(editor, server, tmp_path, monkeypatch):
    """The tools window's Demo section on a demo folder of its own, pointed at the loopback server,
    with 7-Zip where the Program Files folder holds it."""
    url, _folder = server
    monkeypatch.setenv("VANTOREL_SERVER_URL", url)
    program_files = tmp_path / "ProgramFiles" / "7-Zip"
    program_files.mkdir(parents=True)
    os.symlink(SEVEN_ZIP, program_files / "7z.exe")
    monkeypatch.setenv("ProgramFiles", str(tmp_path / "ProgramFiles"))
    folder = tmp_path / "Demos"
    folder.mkdir()
    open_tools(editor)
    editor.expand("Demo")
    editor.type_text("Demo>Folder", str(folder))
    return folder


def check_online(editor):
    editor.click("Check Online for Demo Updates")
    editor.run_frames_until_downloads_end()
    return editor.tools_control(ONLINE)


def download(editor, item):
    editor.pick(ONLINE, item)
    editor.click("Download Selected Demo")
    assert editor.tools_control("Cancel")["enabled"]
    editor.run_frames_until_downloads_end()
    return status(editor)


def status(editor):
    texts = [control["label"] for control in editor.tools_controls() if control["kind"] == "Text"]
    return texts[texts.index(ONLINE) + 1]


def test_the_list_shows_each_demo_with_its_status(editor, demos):
    # Hero 1.9 is installed (1.10 is newer), Villain is installed but not in the local list, Zed 1.0
    # is installed and the server's 1 is the same.
    for name in ("Hero", "Villain", "Zed"):
        make_demo_project(demos, name, "installed")
    (demos / "DemoVersionsUnreal.txt").write_text("Hero 1.9\r\nZed 1.0\r\n")
    control = check_online(editor)
    assert status(editor) == "Choose one demo to download."
    assert control["options"] == ["Big  (Not downloaded)", "Hero  (Update available)", "Hero-2_b  (Not downloaded)",
                                  "Villain  (Downloaded)", "Zed  (Up to date)"]
    assert control["value"] == "Big  (Not downloaded)"
    editor.pick(ONLINE, "Zed  (Up to date)")
    assert not editor.tools_control("Download Selected Demo")["enabled"]
    editor.pick(ONLINE, "Hero  (Update available)")
    assert editor.tools_control("Download Selected Demo")["enabled"]


def test_a_demo_downloads_installs_and_its_update_replaces_the_old_one(editor, demos, server, monkeypatch):
    old = make_demo_project(demos, "Hero", "hero 1.9")
    (demos / "DemoVersionsUnreal.txt").write_text("Hero 1.9\r\n")
    check_online(editor)
    assert download(editor, "Hero  (Update available)") == "Installed Hero. Demo list refreshed."
    assert "hero 1.10" in (old / "HeroUnreal.uproject").read_text()
    assert (demos / "DemoVersionsUnreal.txt").read_bytes() == b"Hero 1.10\r\n"
    assert editor.tools_control(ONLINE)["value"] == "Hero  (Up to date)"
    assert sorted(os.listdir(demos)) == ["DemoVersionsUnreal.txt", "HeroUnreal"], "no work or backup folder is left"
    assert editor.tools_control("Demo>File")["options"] == ["Hero"]

    # A big one, sent in pieces, reports its progress in megabytes as it arrives.
    url, _folder = server
    monkeypatch.setenv("VANTOREL_SERVER_URL", url + "drip/")
    editor.pick(ONLINE, "Big  (Not downloaded)")
    editor.click("Download Selected Demo")
    seen = set()
    while editor.http_requests_in_flight():
        time.sleep(0.005)
        editor.tick_engine(0.005)
        seen.add(status(editor))
    editor.run_frames_until_downloads_end()
    received = sorted(text for text in seen if re.fullmatch(r"Downloading\.\.\. \d+\.\d MB received", text))
    assert len(received) >= 3, seen
    assert status(editor) == "Installed Big. Demo list refreshed."
    assert (demos / "BigUnreal" / "Content" / "Noise.bin").stat().st_size == 6 * 1024 * 1024


@pytest.mark.parametrize("item, message", [
    ("Villain  (Not downloaded)", "The archive did not contain the expected Unreal project."),
    ("Zed  (Not downloaded)", "7-Zip could not extract the demo archive."),
])
def test_a_bad_archive_installs_nothing(editor, demos, item, message):
    check_online(editor)
    assert download(editor, item) == message
    assert os.listdir(demos) == [], "no work folder, no project and no local list"


def test_server_faults_end_in_the_status_line_and_change_nothing(editor, demos, server, monkeypatch):
    url, _folder = server
    make_demo_project(demos, "Hero", "hero 1.9")
    (demos / "DemoVersionsUnreal.txt").write_bytes(b"Hero 1.9\r\n")
    check_online(editor)
    for prefix, expected in (("status/429/", "Server busy (HTTP 429). Download was not retried."),
                             ("status/404/", "Download failed: HTTP 404."),
                             ("status/500/", "Download failed: HTTP 500."),
                             ("truncated/", "Download cancelled or could not reach the demo server.")):
        monkeypatch.setenv("VANTOREL_SERVER_URL", url + prefix)
        assert download(editor, "Hero  (Update available)") == expected, prefix
        assert "hero 1.9" in (demos / "HeroUnreal" / "HeroUnreal.uproject").read_text()
        assert (demos / "DemoVersionsUnreal.txt").read_bytes() == b"Hero 1.9\r\n"
    for prefix, expected in (("status/429/", "Server busy (HTTP 429). Please try again later."),
                             ("status/503/", "Demo server returned HTTP 503.")):
        monkeypatch.setenv("VANTOREL_SERVER_URL", url + prefix)
        check_online(editor)
        assert status(editor) == expected
    # The list from before the faults is kept.
    assert editor.tools_control(ONLINE)["options"][1] == "Hero  (Update available)"
    monkeypatch.setenv("VANTOREL_SERVER_URL", "http://127.0.0.1:9/")
    check_online(editor)
    assert status(editor) == "Could not reach the demo server."


def test_a_cancelled_download_installs_nothing(editor, demos, server, monkeypatch):
    url, _folder = server
    check_online(editor)
    monkeypatch.setenv("VANTOREL_SERVER_URL", url + "slow/5/")
    editor.pick(ONLINE, "Hero  (Not downloaded)")
    editor.click("Download Selected Demo")
    assert status(editor) == "Downloading Hero..."
    assert not editor.tools_control("Check Online for Demo Updates")["enabled"]
    editor.click("Cancel")
    assert status(editor) == "Cancelling download..."
    editor.run_frames_until_downloads_end()
    assert status(editor) == "Download cancelled or could not reach the demo server."
    assert os.listdir(demos) == []


def write_unsafe_archives(folder, work):
    """Archives whose one bad entry would land outside the folder they are extracted into, each next
    to a proper project; returns the demo names."""
    entries = {
        "Parent": "../escaped.txt",
        "Absolute": "/tmp/vantorel-escaped.txt",
        "Drive": "C:/escaped.txt",
        "Backslash": "..\\escaped.txt",
    }
    for name, entry in entries.items():
        with zipfile.ZipFile(folder / (name + "Unreal.7z"), "w") as archive:
            archive.writestr("%sUnreal/%sUnreal.uproject" % (name, name), "{}")
            archive.writestr(entry, "outside")
    # A link made by 7-Zip itself, pointing out of the project.
    project = make_demo_project(work / "link", "Linked", "linked")
    os.symlink("../../..", project / "Content" / "Up")
    seven_zip(folder / "LinkedUnreal.7z", "-snl", "LinkedUnreal", cwd=work / "link")
    return sorted(list(entries) + ["Linked"])


def test_an_archive_entry_leaving_the_demo_folder_is_refused_before_extraction(editor, demos, server, tmp_path, monkeypatch):
    url, folder = server
    evil = folder.parent.parent / "unsafe" / "download" / "VantorelExamples"
    evil.mkdir(parents=True, exist_ok=True)
    names = write_unsafe_archives(evil, tmp_path / "work")
    (evil / "DemoVersionsUnreal.txt").write_text("".join("%s 1.0\n" % name for name in names))
    monkeypatch.setenv("VANTOREL_SERVER_URL", url + "unsafe/")
    check_online(editor)
    for name in names:
        message = download(editor, name + "  (Not downloaded)")
        assert message.startswith("The archive holds an entry that would land outside the demo folder ("), (name, message)
        assert message.endswith("); nothing was installed."), message
        assert os.listdir(demos) == [], name
    assert not (demos.parent / "escaped.txt").exists()
    assert not os.path.exists("/tmp/vantorel-escaped.txt")


def test_odd_server_lists_are_read_line_by_line(editor, demos, server, monkeypatch):
    url, folder = server
    odd = folder.parent.parent / "odd" / "download" / "VantorelExamples"
    odd.mkdir(parents=True, exist_ok=True)
    lines = [
        "", "   ", "Solo", "Hero 1.0", "Hero 2.0", "H\u00e9ro 1.0", "\u30d2\u30fc\u30ed\u30fc 1.0",
        "Long" + "x" * 100000 + " 1.0", "Wide 1.0 " + "y" * 100000, "\tTabbed\t3.0\t",
    ]
    (odd / "DemoVersionsUnreal.txt").write_bytes("\n".join(lines).encode("utf-8"))
    # Hero 1.5 is installed: the list's later Hero line (2.0) is the one that counts.
    make_demo_project(demos, "Hero", "hero 1.5")
    (demos / "DemoVersionsUnreal.txt").write_text("Hero 1.5\r\n")
    monkeypatch.setenv("VANTOREL_SERVER_URL", url + "odd/")
    control = check_online(editor)
    long_name = "Long" + "x" * 100000
    assert control["options"] == ["Hero  (Update available)", long_name + "  (Not downloaded)", "Tabbed  (Not downloaded)"]
    skipped = [line for _category, _level, line in editor.log_lines() if line.startswith("Vantorel demos: skipped the list line")]
    assert len(skipped) == 4, skipped
    assert all(len(line) < 300 for line in skipped), "a long line is logged shortened"


def test_an_installed_demo_opens_in_the_editor_with_the_plugin(editor, demos, server, tmp_path):
    check_online(editor)
    assert download(editor, "Hero  (Not downloaded)") == "Installed Hero. Demo list refreshed."
    assert editor.tools_control("Demo>File")["value"] == "Hero"
    editor.click("Open Demo File")
    descriptor = os.path.join(editor.default_plugins_dir(), "VantorelUnreal", "VantorelUnreal.uplugin")
    project = str(demos / "HeroUnreal" / "HeroUnreal.uproject")
    assert editor.project_switches() == [{
        "project_file": project,
        "command_line": '-plugin="%s"' % descriptor,
        "restart_command": 'UnrealEditor "%s" -plugin="%s"' % (project, descriptor),
    }]
    assert not editor.message_boxes()


def test_opening_a_demo_without_the_plugin_on_disk_says_so(editor, server, tmp_path, monkeypatch):
    url, _folder = server
    monkeypatch.setenv("VANTOREL_SERVER_URL", url)
    plugins = tmp_path / "Plugins"
    (plugins / "VantorelUnreal").mkdir(parents=True)
    shutil.copy(os.path.join(editor.default_plugins_dir(), "VantorelUnreal", "VantorelUnreal.uplugin"), plugins / "VantorelUnreal")
    editor.shutdown()
    editor.start(str(tmp_path / "Project"), [str(plugins)])
    folder = tmp_path / "Demos"
    make_demo_project(folder, "Hero", "installed")
    open_tools(editor)
    editor.expand("Demo")
    editor.type_text("Demo>Folder", str(folder))
    os.remove(plugins / "VantorelUnreal" / "VantorelUnreal.uplugin")
    editor.click("Open Demo File")
    assert editor.message_boxes() == [("Vantorel", "The loaded VantorelUnreal plugin could not be located. "
                                                   "Reinstall the plugin, then try opening the demo again.")]
    assert editor.project_switches() == []


def test_a_download_running_when_the_editor_closes_stops_and_the_next_run_starts_clean(editor, demos, server, tmp_path, monkeypatch):
    url, _folder = server
    check_online(editor)
    monkeypatch.setenv("VANTOREL_SERVER_URL", url + "slow/3/")
    editor.pick(ONLINE, "Hero  (Not downloaded)")
    editor.click("Download Selected Demo")
    assert editor.http_requests_in_flight() == 1
    editor.shutdown()
    editor.start(str(tmp_path / "Project"))
    editor.run_frames_until_downloads_end()
    open_tools(editor)
    editor.expand("Demo")
    assert editor.tools_control("Check Online for Demo Updates")["enabled"], "nothing is busy in the new run"
    assert editor.tools_control(ONLINE)["options"] == [], "the list is the new run's own"
    assert os.listdir(demos) == []
