"""Spline chains as planned and built: the joints a system solves, the restored middle handle, the
helper nulls and the graph the chain gets. How the chain moves is proven by the posing evaluation."""

import pytest


def joints(*pairs):
    return [{"name": name, "parent": parent} for name, parent in pairs]


SPINE_JOINTS = joints(("Root_M", ""), ("Spine1_M", "Root_M"), ("Spine1Part1_M", "Spine1_M"), ("Spine2_M", "Spine1Part1_M"),
                      ("Chest_M", "Spine2_M"), ("Neck_M", "Chest_M"))


def plans(tool_script, *records):
    plan = tool_script["PlannedControl"]
    return [plan(dict(record)) for record in records]


def handle(name, joint, position, diameter=10.0, **extra):
    record = {"name": name, "type": "SplineIK", "joint": joint, "parent": "Main", "positionWorld": position,
              "diameter": diameter, "gizmo": "Square_Thick", "color": [1.0, 0.6, 0.0]}
    record.update(extra)
    return record


def system(**changes):
    record = {"name": "Spine_M", "solver": "ikSplineSolver", "joints": ["Spine1_M", "Chest_M"],
              "controls": ["IKSpine1_M", "IKSpine3_M"], "sourceNumControls": 2, "switchControl": "FKIKSpine_M"}
    record.update(changes)
    return record


def spine_controls(tool_script, *extra):
    return plans(tool_script, handle("IKSpine1_M", "Spine1_M", [0.0, 100.0, 0.0], 30.0),
                 handle("IKSpine3_M", "Chest_M", [0.0, 140.0, -4.0], 20.0),
                 {"name": "FKIKSpine_M", "type": "FKIK", "joint": "Root_M"},
                 {"name": "FKSpine1_M", "type": "FK", "joint": "Spine1_M"},
                 {"name": "FKChestLate_M", "type": "FK", "joint": "Chest_M"}, *extra)


@pytest.mark.parametrize("listed, expected", [
    (["Spine1_M", "Chest_M"], ["Spine1_M", "Spine1Part1_M", "Spine2_M", "Chest_M"]),
    (["Spine1_M", "Spine2_M", "Chest_M"], ["Spine1_M", "Spine1Part1_M", "Spine2_M", "Chest_M"]),
    (["Chest_M", "Spine1_M"], ["Chest_M", "Spine1_M"]),            # the start is never reached going up
    (["Neck_M", "Missing_M"], ["Neck_M", "Missing_M"]),
    (["Spine1_M"], ["Spine1_M"]),
    ([], []),
])
def test_a_system_solves_every_joint_between_its_first_and_last(tool_script, listed, expected):
    assert tool_script["body_rig_expand_spline_joint_chain"]({"joints": SPINE_JOINTS}, listed) == expected


def test_a_loop_in_the_joint_parents_ends_the_walk(tool_script):
    looped = joints(("A", "C"), ("B", "A"), ("C", "B"))
    assert tool_script["body_rig_expand_spline_joint_chain"]({"joints": looped}, ["Start", "C"]) == ["Start", "C"]


def test_two_exported_handles_of_a_three_handle_spline_get_their_middle_handle_back(tool_script):
    controls = spine_controls(tool_script)
    chains = tool_script["body_rig_prepare_spline_ik"]({"joints": SPINE_JOINTS, "ikSystems": [system()]}, controls)
    [chain] = chains
    assert chain.ik_controls == ["IKSpine1_M", "IKSpine2_M", "IKSpine3_M"]
    middle = controls[-1].record
    assert middle["name"] == "IKSpine2_M"
    # Halfway between the two handles, on the joint halfway down the solved chain, sized between them.
    assert middle["positionWorld"] == [0.0, 120.0, -2.0]
    assert middle["joint"] == "Spine2_M"
    assert middle["diameter"] == 25.0
    assert (middle["type"], middle["parent"], middle["worldSpace"], middle["gizmo"]) == ("SplineIK", "RootX_M", True, "Square_Thick")
    assert [c.record["parent"] for c in controls if c.kind == "SplineIK"] == ["RootX_M"] * 3
    assert (chain.id, chain.kind, chain.ik_control, chain.pole_control) == ("Spine_M", "SplineIK", "IKSpine3_M", "")
    assert chain.bones == ["Spine1_M", "Spine1Part1_M", "Spine2_M", "Chest_M"]
    # Each bone's FK control is the one planned on it, else the FK name the bone would have.
    assert chain.fk_controls == ["FKSpine1_M", "FKSpine1Part1_M", "FKSpine2_M", "FKChestLate_M"]
    assert (chain.switch_control, chain.default_ik, chain.primary_axis) == ("FKIKSpine_M", True, [1.0, 0.0, 0.0])


def test_a_restored_handle_takes_the_middle_joint_and_a_free_name(tool_script):
    controls = spine_controls(tool_script, handle("IKSpine2_M", "Spine2_M", [0.0, 0.0, 0.0]))
    data = {"joints": SPINE_JOINTS, "ikSystems": [system(middleJoint="Spine1Part1_M", controls=["IKSpine1_M", "IKSpine3_M"])]}
    [chain] = tool_script["body_rig_prepare_spline_ik"](data, controls)
    assert chain.ik_controls == ["IKSpine1_M", "IKSpine2_M_2", "IKSpine3_M"]
    assert controls[-1].record["joint"] == "Spine1Part1_M"


@pytest.mark.parametrize("name, first, last, expected", [
    ("Tail_M", "IKTail1_M", "IKTail3_M", "IKTail2_M"),
    ("Tail_M", "IKTailA_M", "IKTailB_M", "IKTail2_M"),   # no shared stem: from the system's name
    ("Tail_L", "IKTail1_L", "IKTail3_R", "IKTail2_L"),   # different sides
    ("Whip", "Start", "End", "IKWhip2"),
])
def test_the_middle_handle_is_named_from_the_handles_or_the_system(tool_script, name, first, last, expected):
    assert tool_script["body_rig_spline_middle_handle_name"](name, first, last, set()) == expected


@pytest.mark.parametrize("changes", [{"sourceNumControls": 3}, {"sourceNumControls": None, "numControls": 4},
                                     {"controls": ["IKSpine1_M", "IKSpine3_M", "NotPlanned_M"], "sourceNumControls": 5}])
def test_no_handle_is_restored_unless_maya_had_two(tool_script, changes):
    controls = spine_controls(tool_script)
    [chain] = tool_script["body_rig_prepare_spline_ik"]({"joints": SPINE_JOINTS, "ikSystems": [system(**changes)]}, controls)
    assert chain.ik_controls == ["IKSpine1_M", "IKSpine3_M"]
    assert len(controls) == 5


def test_a_handle_count_that_is_no_number_counts_the_exported_handles(tool_script):
    controls = spine_controls(tool_script)
    [chain] = tool_script["body_rig_prepare_spline_ik"](
        {"joints": SPINE_JOINTS, "ikSystems": [system(sourceNumControls="two")]}, controls)
    assert chain.ik_controls == ["IKSpine1_M", "IKSpine2_M", "IKSpine3_M"]


def test_other_solvers_and_incomplete_systems_plan_no_chain(tool_script, capsys):
    controls = spine_controls(tool_script)
    data = {"joints": SPINE_JOINTS, "ikSystems": [
        system(solver="ikRPsolver"), "not a system",
        system(name="Short_M", joints=["Spine1_M"]),
        system(name="OneHandle_M", controls=["IKSpine1_M"], sourceNumControls=1)]}
    assert tool_script["body_rig_prepare_spline_ik"](data, controls) == []
    out = capsys.readouterr().out
    assert "Skipping incomplete spline IK system: Short_M" in out
    assert "Skipping incomplete spline IK system: OneHandle_M" in out


def test_a_switch_that_was_not_exported_leaves_the_chain_without_one(tool_script, capsys):
    controls = spine_controls(tool_script)
    data = {"joints": SPINE_JOINTS, "ikSystems": [system(switchControl="FKIKMissing_M", defaultIK="fk", primaryAxis=[0, 1, 0])]}
    [chain] = tool_script["body_rig_prepare_spline_ik"](data, controls)
    assert "Spline FKIK placeholder was not exported: Spine_M FKIKMissing_M" in capsys.readouterr().out
    assert (chain.switch_control, chain.default_ik, chain.primary_axis) == ("", False, [0.0, 1.0, 0.0])


def test_the_key_array_default_names_each_item(tool_script):
    assert tool_script["body_rig_array_default"](["A", "B_M"], "Bone") == '((Type=Bone,Name="A"),(Type=Bone,Name="B_M"))'
    assert tool_script["body_rig_array_default"]([], "Bone") == "()"
