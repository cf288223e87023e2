"""The hip swinger's plan and helpers: its root and endpoint (by the "hipSwinger" attribute, a chain, or
the spine below the root's part joints), the part joints between, its legacy companions, and on the
sample the FKX root, the endpoint's FK offset and the cancel above it. The swing itself is proven by
the posing evaluation."""

import pytest


def joints(*pairs):
    return [{"name": name, "parent": parent} for name, parent in pairs]


SKELETON = joints(("Root_M", ""), ("RootPart1_M", "Root_M"), ("RootPart2_M", "RootPart1_M"), ("Spine1_M", "RootPart2_M"),
                  ("Chest_M", "Spine1_M"), ("Tail0_M", "Root_M"), ("Hip_R", "Root_M"))


def plans(tool_script, *records):
    return [tool_script["PlannedControl"](record) for record in records]


SWINGER = {"name": "HipSwinger_M", "type": "HipSwinger", "joint": "Root_M"}


@pytest.mark.parametrize("records, endpoint", [
    # A control on a joint just above the root (part joints aside) that carries the attribute.
    ([SWINGER, {"name": "FKTail0_M", "joint": "Tail0_M", "fitAttributes": [{"name": "hipSwinger", "value": 1}]}], "Tail0_M"),
    # Else the first joint with "spine" in its name reached through the root's part joints.
    ([SWINGER], "Spine1_M"),
])
def test_the_plan_finds_the_endpoint_and_the_parts_between(tool_script, records, endpoint):
    plan = tool_script["body_rig_plan_hip_swinger"]({"joints": SKELETON}, plans(tool_script, *records), [])
    assert (plan.root, plan.endpoint) == ("Root_M", endpoint)
    assert plan.parts == (["RootPart1_M", "RootPart2_M"] if endpoint == "Spine1_M" else [])
    assert (plan.fk_root, plan.fkx_root, plan.endpoint_offset) == ("FKRoot_M", "FKXRoot_M", "FKOffset" + endpoint)


def test_without_the_swinger_or_its_root_there_is_no_plan(tool_script):
    plan = tool_script["body_rig_plan_hip_swinger"]
    assert plan({"joints": SKELETON}, plans(tool_script, {"name": "HipSwinger_M", "type": "FK"}), []) is None
    assert plan({"joints": SKELETON}, plans(tool_script, dict(SWINGER, joint="Pelvis_M")), []) is None


@pytest.mark.parametrize("record, omitted", [
    ({"name": "HipSwingerPivot_M", "type": "IKLocalOffset"}, True), ({"name": "HipSwingerLocal_M", "type": "IKLocal"}, True),
    ({"name": "HipSwinger_M", "type": "HipSwinger"}, False), ({"name": "IKLocalLeg_R", "type": "IKLocal"}, False)])
def test_legacy_companions_are_dropped_and_the_swinger_never_is(tool_script, record, omitted):
    assert tool_script["body_rig_is_omitted_hip_swinger_control"](record) is omitted


def test_the_sample_swinger_gets_its_fkx_root_and_a_cancel_above_the_spine(editor, unreal, tool_script, hero, capsys):
    rig = tool_script["create_body_control_rig_from_json"]()
    out = capsys.readouterr().out
    assert "Planned HipSwinger: Root_M to Spine1_M through 0 Root Parts" in out
    assert "Omitted legacy HipSwinger companion controls" in out
    hierarchy = rig.hierarchy
    by_name = {str(key.name): key for key in hierarchy.get_all_keys(True)}
    assert "HipSwingerPivot_M" not in by_name
    parent = lambda name: str(hierarchy.get_first_parent(by_name[name]).name)  # noqa: E731
    assert (parent("FKXRoot_M"), parent("HipSwingSourceRoot_M"), parent("HipSwingSourceEndpoint_M")) == ("Helpers",) * 3
    # The spine's inbetween null sits between the control and its offset, which the cancel carries.
    assert parent("FKSpine1_M") == "FKInbetweenSpine1_M" and parent("FKInbetweenSpine1_M") == "FKOffsetSpine1_M"
    assert parent("FKOffsetSpine1_M") == "MCH_HipSwingCancel_M"
    assert parent("MCH_HipSwingCancel_M") == "FKParentConstraintToRoot_M"
    # Every helper rests where what it stands in for rests.
    for helper, original in (("FKXRoot_M", "FKRoot_M"), ("FKOffsetSpine1_M", "FKSpine1_M"), ("HipSwingSourceEndpoint_M", "Spine1_M")):
        a, b = hierarchy.get_global_transform(by_name[helper], True), hierarchy.get_global_transform(by_name[original], True)
        assert (a.translation - b.translation).length() < 1e-4, helper


def test_with_root_parts_the_hips_swing_through_them_and_the_spine_stays(editor, unreal, tool_script, tmp_path, capsys):
    import math
    import generate_sample
    from test_body_rig_evaluation import conjugate, multiply, package_file, reference_pose, rotate
    from test_body_rig_posing import add, angle_between, rotator_quat, sub
    params = generate_sample.Parameters(name="PartsHero", root_parts=2)
    mesh, body_json, _controls = generate_sample.create_in_editor(params, str(tmp_path / "Characters"))
    tool_script["set_target_skeletal_mesh"](mesh)
    tool_script["set_body_json_file"](body_json)
    tool_script["set_body_control_rig_source"]("Generate from JSON")
    rig = tool_script["create_body_control_rig_from_json"]()
    out = capsys.readouterr().out
    assert "Planned HipSwinger: Root_M to Spine1_M through 2 Root Parts" in out
    names = {str(key.name) for key in rig.hierarchy.get_all_keys(True)}
    # The parts form captures every swung joint, needs no FKX root, and cancels the swing above the
    # first part's FK control, at the endpoint, so the FK parts do not carry the root's swing.
    assert {"HipSwingSourceRoot_M", "HipSwingSourcePart1_M", "HipSwingSourcePart2_M", "HipSwingSourceEndpoint_M"} <= names
    assert "FKXRoot_M" not in names
    by_name = {str(key.name): key for key in rig.hierarchy.get_all_keys(True)}
    assert str(rig.hierarchy.get_first_parent(by_name["FKRootPart1_M"]).name) == "MCH_HipSwingCancel_M"
    assert str(rig.hierarchy.get_first_parent(by_name["MCH_HipSwingCancel_M"]).name) == "FKParentConstraintToRoot_M"

    pose = reference_pose(package_file(tmp_path / "Project", mesh.get_path_name()))
    evaluation = editor.RigEvaluation(rig)
    for name, value in {"FKIKLeg_R_FKIKBlend": 0.0, "FKIKLeg_L_FKIKBlend": 0.0, "FKRoot_M_legLock": 0.0,
                        "HipSwinger_M": unreal.EulerTransform(rotation=unreal.Rotator(roll=15.0))}.items():
        evaluation.set_control_value(name, value)
    assert evaluation.run_forwards_solve(3), evaluation.report()["errors"]

    def state(name):
        transform = evaluation.global_transform(name)
        return ((transform.translation.x, transform.translation.y, transform.translation.z),
                (transform.rotation.x, transform.rotation.y, transform.rotation.z, transform.rotation.w))

    root_rotation = pose["Root_M"][1]
    pivot = pose["Spine1_M"][2]
    world = multiply(multiply(root_rotation, rotator_quat(roll=15.0)), conjugate(root_rotation))
    # The root turns all the way, the parts two thirds and one third: a slerp from no turn, whose
    # angle is that share of the whole turn about the same axis.
    axis = tuple(c / math.sqrt(sum(v * v for v in world[:3])) for c in world[:3])
    for name, share in (("Root_M", 1.0), ("RootPart1_M", 2.0 / 3.0), ("RootPart2_M", 1.0 / 3.0)):
        half = math.radians(15.0 * share) / 2.0
        turn = tuple(c * math.sin(half) for c in axis) + (math.cos(half),)
        _parent, rotation, position = pose[name]
        actual_position, actual_rotation = state(name)
        assert math.dist(actual_position, add(pivot, rotate(turn, sub(position, pivot)))) < 1e-2, name
        assert angle_between(actual_rotation, multiply(turn, rotation)) < 1e-2, name
    # The legs hang from the root and swing with it; the spine is put back.
    _parent, hip_rotation, hip_position = pose["Hip_R"]
    assert math.dist(state("Hip_R")[0], add(pivot, rotate(world, sub(hip_position, pivot)))) < 1e-2
    assert math.dist(state("Hip_R")[0], hip_position) > 0.5
    for name in ("Spine1_M", "Chest_M", "Head_M"):
        _parent, rotation, position = pose[name]
        assert math.dist(state(name)[0], position) < 1e-2 and angle_between(state(name)[1], rotation) < 1e-2, name
