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


def test_a_system_solving_joints_the_rig_lacks_plans_nothing(tool_script, capsys):
    controls = spine_controls(tool_script)
    rig_bones = {"Root_M", "Spine1_M", "Spine2_M", "Chest_M"}
    assert tool_script["body_rig_prepare_spline_ik"]({"joints": SPINE_JOINTS, "ikSystems": [system()]}, controls, rig_bones) == []
    assert "Skipping incomplete spline IK system: Spine_M ['Spine1Part1_M']" in capsys.readouterr().out
    # No handle was restored for it and the exported handles keep their parents.
    assert [c.name for c in controls] == ["IKSpine1_M", "IKSpine3_M", "FKIKSpine_M", "FKSpine1_M", "FKChestLate_M"]
    assert controls[0].record["parent"] == "Main"


def test_a_spline_system_on_unknown_joints_leaves_the_rest_of_the_rig_built(editor, unreal, tool_script, hero, tmp_path, capsys):
    import json
    import os
    from conftest import SAMPLE_HERO
    with open(os.path.join(SAMPLE_HERO, "SampleHero_BodyRig.json"), encoding="utf-8") as source:
        document = json.load(source)
    for entry in document["rig"]["ikSystems"]:
        if entry["name"] == "Tail_M":
            entry["joints"] = ["Tail0_M", "TailTip_M"]
    variant = tmp_path / "Variant_BodyRig.json"
    variant.write_text(json.dumps(document))
    tool_script["set_body_json_file"](str(variant))
    rig = tool_script["create_body_control_rig_from_json"]()
    assert "Skipping incomplete spline IK system: Tail_M ['TailTip_M']" in capsys.readouterr().out
    names = {str(key.name) for key in rig.hierarchy.get_all_keys(True)}
    assert "IKTail2_M" not in names and not any(name.startswith("VNSplineFKPose_Tail_M") for name in names)
    assert {"IKSpine2_M", "IKSpine2_M_Space", "VNSplineFKPose_Spine_M_Chest_M"} <= names
    evaluation = editor.RigEvaluation(unreal.load_asset(rig.get_path_name()))
    assert evaluation.run_forwards_solve(2), evaluation.report()["errors"]


# ---- the graph ----------------------------------------------------------------------------------------

@pytest.fixture
def graph_rig(editor, unreal, tool_script):
    unreal.load_module("ControlRigDeveloper")
    rig = unreal.ControlRigBlueprintFactory.create_new_control_rig_asset("/Game/Rigs/CR_Spline")
    return rig.get_controller(rig.get_model())


@pytest.fixture
def graph(tool_script, graph_rig):
    return tool_script["RigGraph"](graph_rig)


def spline_chain(tool_script, handles, **fields):
    plan = dict(id="Tail_M", kind="SplineIK", ik_control=handles[-1], pole_control="",
                bones=["Tail0_M", "Tail1_M", "Tail2_M"], fk_controls=["FKTail0_M", "FKTail1_M", "FKTail2_M"],
                switch_control="FKIKTail_M", default_ik=True, ik_controls=list(handles),
                endpoint_targets=[(handles[0], "Tail0_M", handles[0] + "_SplineRotationTarget"),
                                  (handles[-1], "Tail2_M", handles[-1] + "_SplineRotationTarget")])
    plan.update(fields)
    return tool_script["ChainPlan"](**plan)


def node_at(controller, x, y):
    """The one node the emitters put at (x, y): the graph names most nodes itself."""
    found = [node for node in controller.get_graph().get_nodes() if (node.get_position().x, node.get_position().y) == (x, y)]
    assert len(found) == 1, (x, y, [node.get_node_path() for node in found])
    return found[0]


def named(controller, name):
    return next(node for node in controller.get_graph().get_nodes() if str(node.get_node_path()) == name)


def default(node, pin):
    return node.find_pin(pin).get_default_value()


def sources(node, pin):
    return [str(source.get_pin_path()) for source in node.find_pin(pin).get_linked_source_pins()]


def path(node, pin):
    return "%s.%s" % (node.get_node_path(), pin)


@pytest.mark.parametrize("count, end_weights", [(3, [0.5]), (5, [0.25, 0.5, 0.75])])
def test_each_middle_handle_follows_the_ends_by_how_near_it_is(tool_script, graph_rig, graph, count, end_weights):
    handles = ["IKTail%d_M" % (index + 1) for index in range(count)]
    tool_script["body_rig_add_spline_ik"](graph, spline_chain(tool_script, handles), "", 1700, 0)
    for index, end_weight in enumerate(end_weights, 1):
        constraint = node_at(graph_rig, 1340, 150 * (index - 1))
        assert default(constraint, "Child.Name") == handles[index] + "_Space"
        assert default(constraint, "bMaintainOffset") == "True"
        parents = [(default(constraint, "Parents.%d.Item.Name" % i), float(default(constraint, "Parents.%d.Weight" % i)))
                   for i in (0, 1)]
        assert parents == [(handles[0], pytest.approx(1.0 - end_weight)), (handles[-1], pytest.approx(end_weight))]
    # The spline's points: the handles themselves from four on, the middle doubled with three.
    spline = named(graph_rig, "Tail_M_SplineFromPoints")
    expected = handles if count > 3 else [handles[0], handles[1], handles[1], handles[2]]
    for index, handle in enumerate(expected):
        reader = node_at(graph_rig, 1700, 115 * index)
        assert default(reader, "Item.Name") == handle
        assert sources(spline, "Points.%d" % index) == [path(reader, "Transform.Translation")]
    assert default(spline, "SplineMode") == "BSpline" and default(spline, "SamplesPerSegment") == "16"


def test_the_fit_covers_every_bone_and_the_blend_follows_the_switch(tool_script, graph_rig, graph):
    tool_script["body_rig_add_spline_ik"](graph, spline_chain(tool_script, ["IKTail1_M", "IKTail3_M"]), "", 1700, 0)
    fit = named(graph_rig, "Tail_M_FitChainToSpline")
    assert [default(fit, "Items.%d.Name" % i) for i in range(3)] == ["Tail0_M", "Tail1_M", "Tail2_M"]
    assert (default(fit, "Alignment"), default(fit, "SamplingPrecision"), default(fit, "bPropagateToChildren")) == \
        ("Front", "64", "True")
    assert sources(fit, "Spline") == ["Tail_M_SplineFromPoints.Spline"]
    switch = path(node_at(graph_rig, 2020, -150), "Result")
    # Every bone, the first one too, is set between its FK snapshot and its fit by the switch.
    for index, bone in enumerate(("Tail0_M", "Tail1_M", "Tail2_M")):
        top = 145 * index
        snapshot, fitted, lerp, setter = (node_at(graph_rig, x, top) for x in (3400, 3690, 3990, 4330))
        assert default(snapshot, "Item.Name") == "VNSplineFKPose_Tail_M_" + bone
        assert default(fitted, "Item.Name") == bone and default(setter, "Item.Name") == bone
        assert sources(lerp, "A") == [path(snapshot, "Transform")] and sources(lerp, "B") == [path(fitted, "Transform")]
        assert sources(lerp, "T") == [switch]
    # The start bone is anchored by the switch, the end bone locked to its target in rotation and place.
    anchor = node_at(graph_rig, 2750, 250)
    assert default(anchor, "Item.Name") == "Tail0_M" and sources(anchor, "Weight") == [switch]
    assert default(node_at(graph_rig, 2420, 250), "Item.Name") == "IKTail1_M_SplineRotationTarget"
    target, rotation, lock = (node_at(graph_rig, x, 400) for x in (2420, 2750, 3060))
    assert default(target, "Item.Name") == "IKTail3_M_SplineRotationTarget"
    assert default(rotation, "Item.Name") == "Tail2_M" and sources(rotation, "Value") == [path(target, "Transform.Rotation")]
    assert default(lock, "Item.Name") == "Tail2_M" and sources(lock, "Value") == [path(target, "Transform.Translation")]
    # The FK controls, then the handles, are shown by the switch.
    shown = [default(node_at(graph_rig, 2750 + 220 * index, 0), "Item.Name") for index in range(5)]
    assert shown == ["FKTail0_M", "FKTail1_M", "FKTail2_M", "IKTail1_M", "IKTail3_M"]


def test_without_a_switch_the_chain_holds_its_default_side_and_leaves_visibility_alone(tool_script, graph_rig, graph):
    chain = spline_chain(tool_script, ["IKTail1_M", "IKTail3_M"], switch_control="", default_ik=False)
    tool_script["body_rig_add_spline_ik"](graph, chain, "", 1700, 0)
    lerp = node_at(graph_rig, 3990, 145)
    assert float(default(lerp, "T")) == 0.0 and sources(lerp, "T") == []
    assert float(default(node_at(graph_rig, 2750, 250), "Weight")) == 0.0
    positions = {(node.get_position().x, node.get_position().y) for node in graph_rig.get_graph().get_nodes()}
    # No switch reader, no visibility values or setters.
    assert not positions & {(1800, -150), (1800, -20), (2750, 0), (2970, 0)}
