"""The tool script's bundling: the manifest fixes which sources form the script and in which order, and
the carriage holds exactly the bundled text."""

import base64
import re

import pytest

import bundle_tool_script


def write_sources(folder, manifest, files):
    folder.mkdir()
    (folder / "manifest.txt").write_text(manifest)
    for name, text in files.items():
        (folder / name).write_text(text)
    return str(folder)


def test_sources_join_in_manifest_order_each_after_its_name(tmp_path):
    folder = write_sources(tmp_path / "src", "# order\nb_group.py\n\na_group.py\n",
                           {"a_group.py": "A = 1\n", "b_group.py": "B = A if 'A' in dir() else 2"})
    assert bundle_tool_script.bundle(folder) == "# ---- b_group.py ----\nB = A if 'A' in dir() else 2\n# ---- a_group.py ----\nA = 1\n"


@pytest.mark.parametrize("manifest, files, message", [
    ("a.py\n", {"a.py": "", "stray.py": ""}, "sources not in the manifest: stray.py"),
    ("a.py\na.py\n", {"a.py": ""}, "lists a.py twice"),
    ("../a.py\n", {}, "must be a .py file name"),
    ("notes.txt\n", {}, "must be a .py file name"),
])
def test_a_manifest_that_does_not_match_the_sources_is_refused(tmp_path, manifest, files, message):
    folder = write_sources(tmp_path / "src", manifest, files)
    with pytest.raises(bundle_tool_script.BundleError, match=re.escape(message)):
        bundle_tool_script.bundle(folder)


def test_carriage_is_a_zero_terminated_char_array_of_the_base64_text():
    script = "print('h\u00e9llo')\n" * 500
    text = bundle_tool_script.carriage(script)
    body = text[text.index("{") + 1:text.index("};")]
    numbers = [int(value) for value in re.findall(r"\d+", body)]
    assert numbers[-1] == 0
    assert base64.b64decode(bytes(numbers[:-1])).decode("utf-8") == script
    assert max(len(line) for line in text.splitlines()) < 200, "no overlong lines or literals"


def test_check_reports_a_stale_carriage_and_regeneration_fixes_it(tmp_path, capsys):
    folder = write_sources(tmp_path / "src", "a.py\n", {"a.py": "A = 1\n"})
    carriage = str(tmp_path / "Carriage.cpp")
    arguments = ["--source-dir", folder, "--carriage", carriage]
    assert bundle_tool_script.main(arguments + ["--check"]) == 1
    assert "stale" in capsys.readouterr().err
    assert bundle_tool_script.main(arguments) == 0
    assert bundle_tool_script.main(arguments + ["--check"]) == 0


def test_the_bundled_script_keeps_host_values_and_defaults_only_unset_ones(unreal):
    from conftest import TOOL_SCRIPT_DIR
    script = compile(bundle_tool_script.bundle(TOOL_SCRIPT_DIR), "vn_tool_check.py", "exec")
    hosted = {"__name__": "__main__", "SOURCE_FILE": "C:/Proj/Hero.fbx", "INCLUDE_VN_FACE_SOLVER": False, "json_file": "D:/Hero_FaceRig.json"}
    exec(script, hosted)
    assert (hosted["SOURCE_FILE"], hosted["INCLUDE_VN_FACE_SOLVER"], hosted["json_file"]) == ("C:/Proj/Hero.fbx", False, "D:/Hero_FaceRig.json")
    by_hand = {"__name__": "__main__"}
    exec(script, by_hand)
    assert (by_hand["SOURCE_FILE"], by_hand["INCLUDE_VN_FACE_SOLVER"], by_hand["json_file"]) == ("", True, "")
