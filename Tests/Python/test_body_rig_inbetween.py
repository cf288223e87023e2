"""Inbetween distribution as planned and built: which controls are bases and what their chains are,
the FKOffset and FKInbetween nulls with the bind orientation on them, the shares of the turn, and the
part controls' visibility. How a turn spreads over the bones is proven by the posing evaluation."""

import pytest


@pytest.mark.parametrize("record, chain", [
    ({"name": "FKSpine1_M", "joint": "Spine1_M", "controlAttributes": [{"name": "inbetweenJoints", "value": 2}]},
     ["FKSpine1_M", "FKSpine1Part1_M", "FKSpine1Part2_M"]),
    ({"name": "FKNeck_M", "joint": "Neck_M", "fitAttributes": [{"name": "inbetweenJoints", "value": "1"}]}, ["FKNeck_M", "FKNeckPart1_M"]),
    ({"name": "FKSpine1Part1_M", "joint": "Spine1Part1_M", "controlAttributes": [{"name": "inbetweenJoints", "value": 2}]}, []),
    ({"name": "FKTail_X", "joint": "Tail", "controlAttributes": [{"name": "inbetweenJoints", "value": 2}]}, []),
    ({"name": "FKSpine1_M", "joint": "Spine1_M", "controlAttributes": [{"name": "inbetweenJoints", "value": -3}]}, []),
    ({"name": "FKSpine1_M", "joint": "Spine1_M", "controlAttributes": [{"name": "inbetweenJoints", "value": "many"}]}, []),
])
def test_a_base_is_a_sided_non_part_joint_with_inbetween_joints(tool_script, record, chain):
    assert tool_script["body_rig_inbetween_chain"](record) == chain


def test_the_names_of_the_nulls(tool_script):
    assert tool_script["body_rig_inbetween_offset_name"]("FKSpine1_M") == "FKOffsetSpine1_M"
    assert tool_script["body_rig_inbetween_offset_name"]("Spine1_M") == "FKOffsetSpine1_M"
    assert tool_script["body_rig_inbetween_base_name"]("FKNeck_M") == "FKInbetweenNeck_M"


def test_the_sample_chains_hang_under_their_nulls_with_the_bind_orientation_on_them(editor, unreal, tool_script, hero, capsys):
    rig = tool_script["create_body_control_rig_from_json"]()
    out = capsys.readouterr().out
    assert "Created inbetween FKOffset spaces: 7" in out, [line for line in out.splitlines() if "inbetween" in line]
    hierarchy = rig.hierarchy
    keys = {str(key.name): key for key in hierarchy.get_all_keys(True)}
    parent = lambda name: str(hierarchy.get_first_parent(keys[name]).name)  # noqa: E731
    assert parent("FKSpine1_M") == "FKInbetweenSpine1_M" and parent("FKInbetweenSpine1_M") == "FKOffsetSpine1_M"
    assert parent("FKSpine1Part1_M") == "FKOffsetSpine1Part1_M" and parent("FKOffsetSpine1Part1_M") == "FKSpine1_M"
    assert parent("FKSpine1Part2_M") == "FKOffsetSpine1Part2_M" and parent("FKOffsetSpine1Part2_M") == "FKSpine1Part1_M"
    # The neck keeps hanging from the spine's end follow space, now through its offset null.
    assert parent("FKNeck_M") == "FKInbetweenNeck_M" and parent("FKOffsetNeck_M") == "Spine_M_FKParentConstraintToEnd"
    for name in ("FKSpine1_M", "FKSpine1Part2_M", "FKNeck_M", "FKNeckPart1_M"):
        # The control's offset is identity: its global offset is its parent's place.
        offset = hierarchy.get_global_control_offset_transform(keys[name], True)
        above = hierarchy.get_global_transform(hierarchy.get_first_parent(keys[name]), True)
        assert (offset.translation - above.translation).length() < 1e-4
        assert abs(abs(offset.rotation.x * above.rotation.x + offset.rotation.y * above.rotation.y + offset.rotation.z * above.rotation.z
                       + offset.rotation.w * above.rotation.w) - 1.0) < 1e-6
        null = hierarchy.get_global_transform(keys["FKOffset" + name[2:]], True)
        control = hierarchy.get_global_transform(keys[name], True)
        assert (null.translation - control.translation).length() < 1e-4
        assert abs(abs(null.rotation.x * control.rotation.x + null.rotation.y * control.rotation.y + null.rotation.z * control.rotation.z
                       + null.rotation.w * control.rotation.w) - 1.0) < 1e-6


def test_the_part_controls_show_by_the_inbetween_channel_while_the_spine_is_in_fk(editor, unreal, tool_script, hero):
    rig = tool_script["create_body_control_rig_from_json"]()
    shown = {}
    for channel, blend in ((False, 0.0), (True, 0.0), (True, 10.0)):
        evaluation = editor.RigEvaluation(rig)
        evaluation.set_control_value("FKSpine1_M_inbetweenVis", channel)
        evaluation.set_control_value("FKIKSpine_M_FKIKBlend", blend)
        assert evaluation.run_forwards_solve(1), evaluation.report()["errors"]
        shown[(channel, blend)] = [evaluation.control_shape_visible(name) for name in ("FKSpine1Part1_M", "FKSpine1Part2_M")]
    assert shown == {(False, 0.0): [False, False], (True, 0.0): [True, True], (True, 10.0): [False, False]}
    # The neck's part has no limb: its channel alone decides, and it starts shown.
    evaluation = editor.RigEvaluation(rig)
    assert evaluation.run_forwards_solve(1)
    assert evaluation.control_shape_visible("FKNeckPart1_M") is True
