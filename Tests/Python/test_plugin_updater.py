"""The "About" section against a real HTTP server on loopback: the installed version, the check for a
newer one, the update package's download with its progress, the staged installer and its start, the
faults on the way, and the two web pages."""

import json
import os
import stat
import subprocess
import time
import zipfile

import pytest

from conftest import ROOT
from loopback_server import serving
from test_demo_characters import SEVEN_ZIP, make_demo_project, seven_zip
from test_host_editor_cmd import HOST
from test_tools_window import open_tools

DESCRIPTOR = os.path.join(ROOT, "Plugins", "VantorelUnreal", "VantorelUnreal.uplugin")
UPDATES = ("download", "VantorelUnreal")
CHECK = "Check for Update"
# A folder name with what an installer text must survive: a quote, blanks and letters outside ASCII.
ODD_FOLDER = "Tom's Plug-ins \u00e9\u2019"


def descriptor_text(version):
    with open(DESCRIPTOR, encoding="utf-8") as source:
        descriptor = json.load(source)
    descriptor["VersionName"] = version
    return json.dumps(descriptor, indent="\t")


def write_package(path, version, engine="5.4", cut=None):
    """The update package: UE_<engine>/VantorelUnreal with the plug-in's descriptor naming version."""
    path.parent.mkdir(parents=True, exist_ok=True)
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as archive:
        archive.writestr("UE_%s/VantorelUnreal/VantorelUnreal.uplugin" % engine, descriptor_text(version))
        archive.writestr("UE_%s/VantorelUnreal/Content/Readme.txt" % engine, "version " + version)
        archive.writestr("UE_%s/VantorelUnreal/Resources/Noise.bin" % engine, os.urandom(3 * 1024 * 1024))
    if cut is not None:
        data = path.read_bytes()
        path.write_bytes(data[:int(len(data) * cut)])


@pytest.fixture(scope="module")
def server(tmp_path_factory):
    """The download server's folders, served on loopback; yields (server address, server folder).
    The manifest names 1.10; the packages of 1.10 (whole), 1.11 (cut short), 1.12 (only for another
    engine version) are there."""
    root = tmp_path_factory.mktemp("server")
    updates = root.joinpath(*UPDATES)
    updates.mkdir(parents=True)
    updates.joinpath("latestVersionUnreal.txt").write_text("# latest Vantorel Unreal\r\n\r\n1.10\r\n")
    write_package(updates / "VantorelUnreal_v1.10" / "VantorelUnreal.zip", "1.10")
    write_package(updates / "VantorelUnreal_v1.11" / "VantorelUnreal.zip", "1.11", cut=0.6)
    write_package(updates / "VantorelUnreal_v1.12" / "VantorelUnreal.zip", "1.12", engine="5.3")
    with serving(root) as url:
        yield url, root


@pytest.fixture
def installer_log(tmp_path, monkeypatch):
    """A "cmd.exe" on the program search path that records the arguments it was started with."""
    folder = tmp_path / "bin"
    folder.mkdir()
    log = tmp_path / "cmd-arguments.txt"
    program = folder / "cmd.exe"
    # Written to a side file and moved into place, so a reader never sees half of it.
    program.write_text('#!/bin/sh\nfor argument in "$@"; do printf "%%s\\n" "$argument"; done > "%s.part"\nmv "%s.part" "%s"\n' % (log, log, log))
    program.chmod(program.stat().st_mode | stat.S_IXUSR)
    monkeypatch.setenv("PATH", str(folder) + os.pathsep + os.environ["PATH"])
    return log


def installer_arguments(log):
    """The arguments the installer was started with; it runs detached, so this waits for it."""
    deadline = time.monotonic() + 10.0
    while not log.exists():
        assert time.monotonic() < deadline, "the installer was not started"
        time.sleep(0.01)
    return log.read_text().splitlines()


def start_with_plugin(editor, tmp_path, version="1.9", folder_name="Plugins"):
    """Restarts the editor with the plug-in found in a folder of the test's own (its descriptor naming
    version), so staging writes beside that copy; returns the plug-in's folder."""
    plugins = tmp_path / folder_name
    plugin = plugins / "VantorelUnreal"
    plugin.mkdir(parents=True)
    (plugin / "VantorelUnreal.uplugin").write_text(descriptor_text(version), encoding="utf-8")
    editor.shutdown()
    editor.start(str(tmp_path / "Project"), [str(plugins)])
    open_tools(editor)
    return plugin


def progress_bar(editor):
    return next(control for control in editor.tools_controls() if control["kind"] == "ProgressBar")


def about_status(editor):
    texts = [control["label"] for control in editor.tools_controls() if control["kind"] == "Text"]
    installed = next(index for index, text in enumerate(texts) if text.startswith("Installed plugin version: "))
    return texts[installed + 1]


def check(editor):
    editor.click(CHECK)
    editor.run_frames_until_downloads_end()
    return about_status(editor)


@pytest.fixture
def about(editor, server, tmp_path, monkeypatch):
    url, _root = server
    monkeypatch.setenv("VANTOREL_SERVER_URL", url)
    return start_with_plugin(editor, tmp_path)


def test_an_update_is_found_downloaded_staged_and_its_installer_started(editor, about, server, installer_log, monkeypatch, tmp_path):
    url, _root = server
    assert any(control["label"] == "Installed plugin version: 1.9" for control in editor.tools_controls())
    assert not editor.tools_control("Update")["enabled"]
    assert check(editor) == "Version 1.10 is available"
    assert editor.tools_control("Update")["enabled"]

    # Sent in pieces, so the bar shows while the package arrives.
    monkeypatch.setenv("VANTOREL_SERVER_URL", url + "drip/")
    editor.click("Update")
    assert not editor.tools_control(CHECK)["enabled"]
    shown = set()
    while editor.http_requests_in_flight():
        time.sleep(0.005)
        editor.tick_engine(0.005)
        bar = progress_bar(editor)
        if bar["visible"]:
            shown.add(bar["value"])
    editor.run_frames_until_downloads_end()
    percents = sorted(int(value) for value in shown if value and 0 < int(value) < 100)
    assert len(percents) >= 2, shown
    assert not progress_bar(editor)["visible"]

    stage = about.parent / "VantorelUnrealUpdate" / "1.10"
    assert sorted(os.listdir(stage)) == ["InstallUpdate.ps1", "VantorelUnreal.zip"]
    with zipfile.ZipFile(stage / "VantorelUnreal.zip") as archive:
        assert "UE_5.4/VantorelUnreal/VantorelUnreal.uplugin" in archive.namelist()
    script = (stage / "InstallUpdate.ps1").read_bytes()
    assert script.startswith(b"\xef\xbb\xbf"), "a byte-order mark, so Windows PowerShell reads UTF-8"
    text = script[3:].decode("utf-8")
    assert "$stage = '%s'" % stage in text
    assert "$target = '%s'" % about in text
    assert "$engine = '5.4'" in text and "$version = '1.10'" in text
    assert "$project = '%s'" % (tmp_path / "Project" / "Project.uproject") in text

    arguments = installer_arguments(installer_log)
    assert arguments == ["/c", "start", "Vantorel Update", "/min", "powershell.exe", "-NoProfile", "-ExecutionPolicy", "Bypass",
                         "-File", str(stage / "InstallUpdate.ps1"), str(os.getpid())]
    assert about_status(editor) == "Update staged. Restart Unreal"
    assert editor.message_boxes()[-1] == ("Restart Unreal Required",
                                          "Vantorel Unreal 1.10 is staged. Restart Unreal now to install the update.")
    # The plug-in itself is left for the installer.
    assert os.listdir(about) == ["VantorelUnreal.uplugin"]


def test_the_installer_text_quotes_every_path_it_holds(editor, server, tmp_path, installer_log, monkeypatch):
    url, _root = server
    monkeypatch.setenv("VANTOREL_SERVER_URL", url)
    plugin = start_with_plugin(editor, tmp_path, folder_name=ODD_FOLDER)
    assert check(editor) == "Version 1.10 is available"
    editor.click("Update")
    editor.run_frames_until_downloads_end()
    stage = plugin.parent / "VantorelUnrealUpdate" / "1.10"
    text = (stage / "InstallUpdate.ps1").read_bytes().decode("utf-8-sig")
    doubled = str(plugin).replace("'", "''").replace("\u2019", "\u2019\u2019")
    assert "$target = '%s'\r\n" % doubled in text
    assert "$stage = '%s'\r\n" % str(stage).replace("'", "''").replace("\u2019", "\u2019\u2019") in text
    # Every single-quoted text of the script closes on its own line: no quote in a path ends one early.
    for line in text.splitlines():
        body = line.replace("''", "").replace("\u2019\u2019", "")
        assert (body.count("'") + body.count("\u2019")) % 2 == 0, line
    assert installer_arguments(installer_log)[9] == str(stage / "InstallUpdate.ps1")


@pytest.mark.parametrize("manifest, installed, status", [
    ("1.9\n", "1.9", "Up to date"),
    ("1.8.5\n", "1.9", "Up to date"),
    ("v2.0\n7\n1.9.0\n", "1.9", "Up to date"),
    ("v2.0\n7\n1.9.1\n", "1.9", "Version 1.9.1 is available"),
    ("2.0\n", "Unknown", "Up to date"),
])
def test_the_check_compares_the_manifest_with_the_installed_version(editor, server, tmp_path, monkeypatch, manifest, installed, status):
    url, root = server
    folder = root / "manifests" / str(abs(hash((manifest, installed))))
    folder.joinpath(*UPDATES).mkdir(parents=True)
    folder.joinpath(*UPDATES, "latestVersionUnreal.txt").write_text(manifest)
    monkeypatch.setenv("VANTOREL_SERVER_URL", url + os.path.relpath(folder, root) + "/")
    start_with_plugin(editor, tmp_path, version=installed)
    assert check(editor) == status
    assert editor.tools_control("Update")["enabled"] == status.startswith("Version")
    assert not [box for box in editor.message_boxes() if box[0] == "Vantorel Unreal"]


def test_check_and_download_faults_are_told_in_a_message_and_stage_nothing(editor, about, server, installer_log, monkeypatch):
    url, root = server
    cannot_check = ("Vantorel Unreal", "Could not check for updates. Please try again later.")
    cannot_download = ("Vantorel Unreal", "Could not download the update. Please try again later.")
    for prefix in ("status/404/", "status/500/", "truncated/"):
        monkeypatch.setenv("VANTOREL_SERVER_URL", url + prefix)
        assert check(editor) == "", prefix
        assert editor.message_boxes()[-1] == cannot_check
        assert not editor.tools_control("Update")["enabled"]
    monkeypatch.setenv("VANTOREL_SERVER_URL", "http://127.0.0.1:9/")
    assert check(editor) == ""
    assert editor.message_boxes()[-1] == cannot_check

    monkeypatch.setenv("VANTOREL_SERVER_URL", url)
    assert check(editor) == "Version 1.10 is available"
    for prefix in ("status/404/", "status/429/", "truncated/"):
        monkeypatch.setenv("VANTOREL_SERVER_URL", url + prefix)
        editor.click("Update")
        assert not editor.tools_control("Update")["enabled"]
        editor.run_frames_until_downloads_end()
        assert editor.message_boxes()[-1] == cannot_download, prefix
        assert editor.tools_control("Update")["enabled"], "the check's result stays"
    assert not (about.parent / "VantorelUnrealUpdate").exists()
    assert not installer_log.exists()


@pytest.mark.parametrize("manifest, message", [
    ("1.11", "Could not download the update. Please try again later."),
    ("1.12", "The update does not contain a package for this Unreal version."),
])
def test_a_package_that_is_cut_short_or_for_another_engine_is_not_staged(editor, server, tmp_path, installer_log, monkeypatch, manifest, message):
    url, root = server
    folder = root / "packages" / manifest
    folder.joinpath(*UPDATES).mkdir(parents=True)
    folder.joinpath(*UPDATES, "latestVersionUnreal.txt").write_text(manifest + "\n")
    source = root.joinpath(*UPDATES, "VantorelUnreal_v" + manifest)
    target = folder.joinpath(*UPDATES, "VantorelUnreal_v" + manifest)
    if not target.exists():
        os.symlink(source, target)
    monkeypatch.setenv("VANTOREL_SERVER_URL", url + "packages/%s/" % manifest)
    plugin = start_with_plugin(editor, tmp_path)
    assert check(editor) == "Version %s is available" % manifest
    editor.click("Update")
    editor.run_frames_until_downloads_end()
    assert editor.message_boxes()[-1] == ("Vantorel Unreal", message)
    assert not (plugin.parent / "VantorelUnrealUpdate").exists()
    assert not installer_log.exists()


def test_an_installer_that_cannot_start_is_told(editor, about, server, monkeypatch, tmp_path):
    # No "cmd.exe" on the search path.
    monkeypatch.setenv("PATH", str(tmp_path / "nowhere"))
    assert check(editor) == "Version 1.10 is available"
    editor.click("Update")
    editor.run_frames_until_downloads_end()
    assert editor.message_boxes()[-1] == ("Vantorel Unreal", "Could not start the update installer.")
    assert about_status(editor) == "Version 1.10 is available"


def test_an_update_download_running_when_the_editor_closes_stops_and_stages_nothing(editor, about, server, installer_log, tmp_path, monkeypatch):
    url, _root = server
    assert check(editor) == "Version 1.10 is available"
    monkeypatch.setenv("VANTOREL_SERVER_URL", url + "slow/3/")
    editor.click("Update")
    assert editor.http_requests_in_flight() == 1
    editor.shutdown()
    start_with_plugin(editor, tmp_path / "next")
    editor.run_frames_until_downloads_end()
    assert about_status(editor) == "", "the new run has checked nothing"
    assert editor.tools_control(CHECK)["enabled"] and not editor.tools_control("Update")["enabled"]
    assert not (about.parent / "VantorelUnrealUpdate").exists()
    assert not installer_log.exists()
    assert not [box for box in editor.message_boxes() if box[0] == "Vantorel Unreal"]


def test_the_web_pages_open_in_the_browser(editor, about, server):
    url, _root = server
    editor.click("Visit What's New")
    editor.click("See EULA")
    assert editor.launched_urls() == [url + "newsUnreal.html", url + "EULA.html"]


def test_the_demo_and_about_sections_work_end_to_end_from_the_command_line(server, tmp_path, installer_log):
    """As a user drives the window: list the demos, download and install one, open it; check for an
    update, download and stage it; open the two pages. One run of the command-line host."""
    url, root = server
    demos_online = root / "download" / "VantorelExamples"
    demos_online.mkdir(parents=True, exist_ok=True)
    (demos_online / "DemoVersionsUnreal.txt").write_text("Hero 1.2\r\n")
    make_demo_project(tmp_path / "work", "Hero", "hero 1.2")
    seven_zip(demos_online / "HeroUnreal.7z", "HeroUnreal", cwd=tmp_path / "work")
    plugins = tmp_path / "Plugins"
    (plugins / "VantorelUnreal").mkdir(parents=True)
    (plugins / "VantorelUnreal" / "VantorelUnreal.uplugin").write_text(descriptor_text("1.9"), encoding="utf-8")
    program_files = tmp_path / "ProgramFiles" / "7-Zip"
    program_files.mkdir(parents=True)
    os.symlink(SEVEN_ZIP, program_files / "7z.exe")
    demos = tmp_path / "Demos"
    environment = dict(os.environ, VANTOREL_SERVER_URL=url, ProgramFiles=str(tmp_path / "ProgramFiles"))
    result = subprocess.run([
        HOST, str(tmp_path / "Project"), "-Plugins=" + str(plugins), "-OpenTools",
        "-Expand=Demo", "-Type=Demo>Folder=" + str(demos),
        "-Click=Check Online for Demo Updates", "-WaitDownloads",
        "-Pick=Online demos=Hero  (Not downloaded)", "-Click=Download Selected Demo", "-WaitDownloads",
        "-Click=Open Demo File",
        "-Click=Check for Update", "-WaitDownloads", "-Click=Update", "-WaitDownloads=60",
        "-Click=Visit What's New", "-Click=See EULA", "-ShowTools",
    ], capture_output=True, text=True, timeout=300, env=environment)
    lines = result.stdout.splitlines()
    assert result.returncode == 0, result.stdout + result.stderr
    start = next(index for index, line in enumerate(lines) if line.startswith("== tools window: "))
    outline = "\n".join(lines[start:])
    assert "Installed Hero. Demo list refreshed." in outline
    assert "[Hero  (Up to date) v]" in outline
    assert "Update staged. Restart Unreal" in outline
    assert (demos / "HeroUnreal" / "HeroUnreal.uproject").is_file()
    assert (demos / "DemoVersionsUnreal.txt").read_bytes() == b"Hero 1.2\r\n"
    stage = plugins / "VantorelUnrealUpdate" / "1.10"
    assert sorted(os.listdir(stage)) == ["InstallUpdate.ps1", "VantorelUnreal.zip"]
    assert installer_arguments(installer_log)[9] == str(stage / "InstallUpdate.ps1")
    assert "[Restart Unreal Required] Vantorel Unreal 1.10 is staged. Restart Unreal now to install the update." in lines
    pages = lines.index("== 2 web pages opened")
    assert lines[pages + 1:pages + 3] == [url + "newsUnreal.html", url + "EULA.html"]
    descriptor = plugins / "VantorelUnreal" / "VantorelUnreal.uplugin"
    assert '== project switch: UnrealEditor "%s" -plugin="%s"' % (demos / "HeroUnreal" / "HeroUnreal.uproject", descriptor) in lines
