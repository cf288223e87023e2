"""The body build driver on the sample character: the asset it saves, the bones it keeps, the
forward graph's start and section boxes, the progress window, rebuilding, and the failures that stop
a build before anything is made."""

import json
import os

import pytest

from conftest import SAMPLE_HERO as SAMPLE, SAMPLE_HERO_RIG as RIG

ALWAYS_PRESENT_SECTIONS = ("Inbetween Distribution", "Forward FK Loop", "Global Orientation", "Forward IK & Controls",
                           "Twist Solutions", "FKIK Follow Constraints", "DrivingSystem Follow Constraints",
                           "Inbetween Visibility")
TOP_GROUPS = ("Main", "MainSystem", "MotionSystem")


def graph_nodes(rig):
    return list(rig.get_controller(rig.get_model()).get_graph().get_nodes())


def comment_titles(unreal, rig):
    return [node.get_comment_text() for node in graph_nodes(rig) if isinstance(node, unreal.RigVMCommentNode)]


def element_names(rig):
    return [(str(key.type), str(key.name)) for key in rig.hierarchy.get_all_keys(True)]


def test_the_sample_builds_into_a_saved_rig_with_its_bones_and_the_forward_graph_start(editor, unreal, tool_script, hero, capsys):
    rig = tool_script["create_body_control_rig_from_json"]()
    out = capsys.readouterr().out
    assert rig.get_path_name() == RIG + ".SK_SampleHero_Body_CR"
    assert unreal.EditorAssetLibrary.does_asset_exist(RIG)
    assert "Created Body Control Rig from JSON: " + rig.get_path_name() in out
    assert "Body rig VM compiled; the saved rig can be used directly in levels and sequences." in out

    # Every bone of the mesh except the three top groups, which the exporter adds above the skeleton.
    fresh = unreal.ControlRigBlueprintFactory.create_control_rig_from_skeletal_mesh_or_skeleton(hero)
    mesh_bones = [str(key.name) for key in fresh.hierarchy.get_all_keys(True) if key.type == unreal.RigElementType.BONE]
    assert set(TOP_GROUPS) <= set(mesh_bones)
    bones = [str(key.name) for key in rig.hierarchy.get_all_keys(True) if key.type == unreal.RigElementType.BONE]
    assert sorted(bones) == sorted(name for name in mesh_bones if name not in TOP_GROUPS)

    nodes = {str(node.get_node_path()): node for node in graph_nodes(rig)}
    assert "RigUnit_BeginExecution" in nodes and "BodyForwardSequence" in nodes
    begin = nodes["RigUnit_BeginExecution"].find_pin("ExecuteContext")
    assert "BodyForwardSequence.ExecuteContext" in [str(pin.get_pin_path()) for pin in begin.get_linked_target_pins()]
    titles = comment_titles(unreal, rig)
    for section in ALWAYS_PRESENT_SECTIONS:
        assert titles.count(section) == 1, section
    description = rig.get_editor_property("blueprint_description")
    assert description.startswith("Vantorel 1.4.2 | VantorelUnreal ")


def test_the_progress_window_never_passes_100_and_closes(editor, unreal, tool_script, hero, monkeypatch):
    library = unreal.VNFaceSDKImportLibrary
    shown = []
    original = library.update_body_rig_progress
    monkeypatch.setattr(library, "update_body_rig_progress", lambda percent, message: (shown.append(percent), original(percent, message))[1],
                        raising=False)
    tool_script["create_body_control_rig_from_json"]()
    assert shown and max(shown) <= 100.0 and shown == sorted(shown) and shown[-1] == 100.0
    windows = editor.slate_windows()
    assert windows and all(window["destroyed"] for window in windows)


def test_a_failed_build_still_closes_the_progress_window(editor, unreal, tool_script, hero, tmp_path):
    broken = tmp_path / "NoBones_BodyRig.json"
    document = json.load(open(os.path.join(SAMPLE, "SampleHero_BodyRig.json")))
    for joint in document["rig"]["joints"]:
        joint["name"] = "Ghost" + joint["name"]
    broken.write_text(json.dumps(document))
    tool_script["set_body_json_file"](str(broken))
    with pytest.raises(RuntimeError, match="The target SkeletalMesh skeleton has none of the Body JSON joints."):
        tool_script["create_body_control_rig_from_json"]()
    rig = unreal.load_asset(RIG)
    assert [name for kind, name in element_names(rig) if "BONE" not in kind] == []
    assert all(window["destroyed"] for window in editor.slate_windows())


def test_rebuilding_onto_the_same_target_gives_the_same_elements_and_nodes(editor, unreal, tool_script, hero):
    first = tool_script["create_body_control_rig_from_json"]()
    first_elements = element_names(first)
    first_nodes = sorted(str(node.get_node_path()) for node in graph_nodes(first))
    second = tool_script["create_body_control_rig_from_json"]()
    assert element_names(second) == first_elements
    assert sorted(str(node.get_node_path()) for node in graph_nodes(second)) == first_nodes


def test_the_create_control_rig_action_reports_completion(editor, unreal, tool_script, hero):
    tool_script["vn_run_create_control_rig"]()
    assert editor.message_boxes()[-1][1] == "Create Control Rig complete."
