"""The saved body rig of the sample and of a character four times its size, held to a committed
snapshot: every element, transform, setting, node, pin value and link, as the saved asset writes
them. A change to the tool script that is meant to leave the rig as it is must pass this unchanged;
a change that is meant to alter the rig regenerates the snapshots (VN_UPDATE_RIG_SNAPSHOTS=1) and
shows the difference in review."""

import difflib
import gzip
import os
import re
import shutil

import pytest

from conftest import SAMPLE_HERO, SAMPLE_HERO_MESH

DATA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "data")
UPDATE = os.environ.get("VN_UPDATE_RIG_SNAPSHOTS") == "1"
NUMBER = re.compile(r"-?\d+\.\d+(?:[eE][-+]?\d+)?")


def normalised(saved_text):
    """The saved asset's text with every decimal number at four places (a value written through a
    different but equal text form reads the same) and negative zero as zero."""
    def round_number(match):
        text = "%.4f" % float(match.group(0))
        return "0.0000" if text == "-0.0000" else text
    return NUMBER.sub(round_number, saved_text)


def compare(name, rig, project):
    saved = os.path.join(str(project), "Content", rig.get_path_name().split(".")[0][len("/Game/"):] + ".uasset")
    with open(saved, encoding="utf-8") as source:
        actual = normalised(source.read())
    snapshot = os.path.join(DATA, name + ".txt.gz")
    if UPDATE or not os.path.exists(snapshot):
        if not UPDATE:
            pytest.fail("no snapshot %s; run with VN_UPDATE_RIG_SNAPSHOTS=1 to take it" % snapshot)
        # No time stamp in the header: the same rig always gives the same file.
        with open(snapshot, "wb") as raw, gzip.GzipFile(fileobj=raw, mode="wb", compresslevel=9, mtime=0) as out:
            out.write(actual.encode("utf-8"))
        return
    with gzip.open(snapshot, "rt", encoding="utf-8") as source:
        expected = source.read()
    if actual != expected:
        diff = list(difflib.unified_diff(expected.splitlines(), actual.splitlines(), "snapshot", "built", n=2, lineterm=""))
        pytest.fail("%s differs from its snapshot in %d lines:\n%s" % (name, len(diff), "\n".join(diff[:80])))


@pytest.fixture
def project(editor, tmp_path):
    return tmp_path / "Project"


def test_the_sample_rig_matches_its_snapshot(unreal, tool_script, project):
    content = project / "Content" / "SampleHero"
    content.mkdir(parents=True, exist_ok=True)
    for name in os.listdir(SAMPLE_HERO):
        if name.endswith(".uasset"):
            shutil.copy(os.path.join(SAMPLE_HERO, name), content / name)
    tool_script["set_target_skeletal_mesh"](unreal.load_asset(SAMPLE_HERO_MESH))
    tool_script["set_body_json_file"](os.path.join(SAMPLE_HERO, "SampleHero_BodyRig.json"))
    tool_script["set_body_control_rig_source"]("Generate from JSON")
    compare("SampleHero_Body_CR", tool_script["create_body_control_rig_from_json"](), project)


def test_a_four_times_larger_character_matches_its_snapshot(unreal, tool_script, project, tmp_path):
    import generate_sample
    mesh, body_json, _controls = generate_sample.create_in_editor(generate_sample.sized_parameters(4), str(tmp_path / "Characters"))
    tool_script["set_target_skeletal_mesh"](mesh)
    tool_script["set_body_json_file"](body_json)
    tool_script["set_body_control_rig_source"]("Generate from JSON")
    compare("SampleHeroX4_Body_CR", tool_script["create_body_control_rig_from_json"](), project)
