"""Animator controls: where each kind of record places its control, its shape transform, the parent it
gets, and the helper nulls of the clean controller hierarchy (motion root, FK result parents, deferred
parents, pole spaces). Expected transforms are worked out from the record and the bones directly."""

import math

import pytest


def approx_vector(vector, expected, tolerance=1e-3):
    assert [vector.x, vector.y, vector.z] == pytest.approx(list(expected), abs=tolerance)


def axis(transform, direction):
    import unreal
    return transform.transform_direction(unreal.Vector(*direction))


@pytest.fixture
def skeleton(editor, unreal, tool_script):
    """A rig with a root bone, a hip bone turned 90 degrees about Z and a knee below it, and the "Main"
    control; returns (rig, hierarchy, controller, joint keys)."""
    rig = unreal.ControlRigBlueprintFactory.create_new_control_rig_asset("/Game/Rigs/CR_Controls")
    hierarchy, controller = rig.hierarchy, rig.get_hierarchy_controller()
    root = controller.add_bone("Root_M", unreal.RigElementKey(), unreal.Transform(location=unreal.Vector(0.0, 0.0, 100.0)), True)
    hip = controller.add_bone("Hip_R", root, unreal.Transform(location=unreal.Vector(-10.0, 0.0, 95.0),
                                                              rotation=unreal.Rotator(roll=0.0, pitch=0.0, yaw=90.0)), True)
    knee = controller.add_bone("Knee_R", hip, unreal.Transform(location=unreal.Vector(-10.0, 5.0, 50.0),
                                                               rotation=unreal.Rotator(roll=30.0, pitch=0.0, yaw=90.0)), True)
    joint_keys = {"Root_M": root, "Hip_R": hip, "Knee_R": knee}
    tool_script["body_rig_make_control"](tool_script["RigElements"](hierarchy, controller),
                                         tool_script["PlannedControl"]({"name": "Main", "type": "Main"}), joint_keys, 2.0)
    return rig, hierarchy, controller, joint_keys


def make(tool_script, skeleton, record, import_scale=2.0, **planned):
    """Makes the control of record, planned with the given PlannedControl fields."""
    _rig, hierarchy, controller, joint_keys = skeleton
    control = tool_script["PlannedControl"](record, **planned)
    return tool_script["body_rig_make_control"](tool_script["RigElements"](hierarchy, controller), control, joint_keys, import_scale)


def control_key(unreal, name):
    return unreal.RigElementKey(type=unreal.RigElementType.CONTROL, name=name)


def test_a_taken_name_makes_nothing_and_a_missing_parent_means_main(unreal, tool_script, skeleton):
    _rig, hierarchy, _controller, joint_keys = skeleton
    count = hierarchy.num()
    assert make(tool_script, skeleton, {"name": "Hip_R", "type": "FK", "joint": "Hip_R"}) == joint_keys["Hip_R"]
    assert hierarchy.num() == count
    assert hierarchy.get_first_parent(control_key(unreal, "Main")) == unreal.RigElementKey()
    key = make(tool_script, skeleton, {"name": "FKGhost", "type": "FK", "parent": "NoSuchControl"})
    assert hierarchy.get_first_parent(key) == control_key(unreal, "Main")
    settings = skeleton[0].get_hierarchy_controller().get_control_settings(key)
    assert settings.control_type == unreal.RigControlType.EULER_TRANSFORM


def test_an_fk_control_sits_on_its_bone_with_a_deep_shape_in_control_axes(unreal, tool_script, skeleton):
    _rig, hierarchy, _controller, joint_keys = skeleton
    key = make(tool_script, skeleton, {"name": "FKKnee_R", "type": "FK", "parent": "Main", "joint": "Knee_R",
                                       "gizmo": {"name": "Circle_Thick", "cvs": []}, "offset": [1.0, 2.0, 3.0],
                                       "diameter": 5.0, "color": [0.0, 1.0, 0.0]})
    assert hierarchy.get_global_transform(key, True) == hierarchy.get_global_transform(joint_keys["Knee_R"], True)
    settings = skeleton[0].get_hierarchy_controller().get_control_settings(key)
    assert str(settings.shape_name) == "Circle_Thick"
    assert (settings.shape_color.r, settings.shape_color.g, settings.shape_color.b, settings.shape_color.a) == (0.0, 1.0, 0.0, 1.0)
    # Shapes of ordinary controls are not scaled by the import scale: size 0.1 x 5, depth 2.5 x that.
    shape = hierarchy.get_local_control_shape_transform(key, True)
    approx_vector(shape.translation, (1.0, -2.0, 3.0))
    approx_vector(shape.scale3d, (0.5, 0.5, 1.25))
    approx_vector(axis(shape, (0.0, 0.0, 1.0)), (-1.0, 0.0, 0.0))  # pitch 90 lays the shape's Z onto -X


@pytest.mark.parametrize("color, expected", [
    ([0.2, 0.4], (0.2, 0.4, 0.0)), (["x", 0.5, 0.25, 0.9], (0.0, 0.5, 0.25)), ([], (0.0, 0.0, 0.0)),
    ("green", (1.0, 0.0, 0.0)), (None, (1.0, 0.0, 0.0)),
])
def test_a_short_or_partly_wrong_colour_reads_the_numbers_it_has(unreal, tool_script, skeleton, color, expected):
    key = make(tool_script, skeleton, {"name": "FKKnee_R", "type": "FK", "joint": "Knee_R", "color": color})
    shape_color = skeleton[0].get_hierarchy_controller().get_control_settings(key).shape_color
    assert (shape_color.r, shape_color.g, shape_color.b, shape_color.a) == pytest.approx(expected + (1.0,))


def test_world_space_shapes_keep_world_axes_equal_sizes_and_a_zero_diameter_stays_visible(unreal, tool_script, skeleton):
    hierarchy = skeleton[1]
    key = make(tool_script, skeleton, {"name": "FKHip_R", "type": "FK", "joint": "Hip_R", "worldSpace": True,
                                       "offset": [1.0, 2.0, 3.0], "diameter": 0})
    shape = hierarchy.get_local_control_shape_transform(key, True)
    approx_vector(shape.translation, (1.0, 3.0, 2.0))
    approx_vector(shape.scale3d, (0.001, 0.001, 0.001), 1e-6)
    approx_vector(axis(shape, (0.0, 0.0, 1.0)), (0.0, 0.0, 1.0))
    # The world-space FK control sits at its bone without the bone's rotation.
    world = hierarchy.get_global_transform(key, True)
    approx_vector(world.translation, (-10.0, 0.0, 95.0))
    approx_vector(axis(world, (1.0, 0.0, 0.0)), (1.0, 0.0, 0.0))

    turned = make(tool_script, skeleton, {"name": "FKKnee_R", "type": "FK", "joint": "Knee_R", "diameter": 10.0,
                                          "shapeRotationOverride": [0.0, 0.0, 90.0]})
    shape = hierarchy.get_local_control_shape_transform(turned, True)
    approx_vector(axis(shape, (1.0, 0.0, 0.0)), (0.0, 1.0, 0.0))  # editor Z 90 is a yaw of 90


def test_placeholders_and_reverse_feet_are_placed_from_the_maya_world_data(unreal, tool_script, skeleton):
    hierarchy = skeleton[1]
    placeholder = make(tool_script, skeleton, {"name": "FKIKLeg_R", "type": "FKIK", "joint": "Hip_R", "worldSpace": True,
                                               "positionWorld": [-23.0, 93.0, 4.0], "rotationWorld": [0.0, 0.0, 90.0],
                                               "diameter": 4.0})
    world = hierarchy.get_global_transform(placeholder, True)
    approx_vector(world.translation, (-46.0, 8.0, 186.0))
    # Maya (rx, ry, rz) is the rotation (rx, rz, -ry) as pitch, yaw and roll: rz 90 is a yaw of 90.
    approx_vector(axis(world, (1.0, 0.0, 0.0)), (0.0, 1.0, 0.0))
    shape = hierarchy.get_local_control_shape_transform(placeholder, True)
    approx_vector(shape.scale3d, (1.6, 1.6, 1.6))  # 0.1 x 4 x import scale 2, doubled for the switch

    # A Maya matrix whose X axis points along Maya Z (Unreal Y) and whose Y axis stays up.
    matrix = [0.0, 0.0, 1.0, 0.0, 0.0, 1.0, 0.0, 0.0, -1.0, 0.0, 0.0, 0.0, 5.0, 0.0, 7.0, 1.0]
    foot = make(tool_script, skeleton, {"name": "RollHeel_R", "type": "ReverseFoot", "parent": "FKIKLeg_R", "joint": "Hip_R",
                                        "positionWorld": [5.0, 0.0, 7.0], "worldMatrix": matrix})
    world = hierarchy.get_global_transform(foot, True)
    approx_vector(world.translation, (10.0, 14.0, 0.0))
    approx_vector(axis(world, (1.0, 0.0, 0.0)), (0.0, 1.0, 0.0))
    approx_vector(axis(world, (0.0, 0.0, 1.0)), (0.0, 0.0, 1.0))
    approx_vector(world.scale3d, (1.0, 1.0, 1.0))


def test_poles_sit_at_their_pole_position_without_rotation_whatever_their_joint(unreal, tool_script, skeleton):
    hierarchy = skeleton[1]
    pole = make(tool_script, skeleton, {"name": "PoleLeg_R", "type": "IKPole", "joint": "Knee_R", "worldSpace": True,
                                        "diameter": 3.0}, pole_position_world=[-9.0, 50.0, 42.0])
    world = hierarchy.get_global_transform(pole, True)
    approx_vector(world.translation, (-18.0, 84.0, 100.0))
    approx_vector(axis(world, (1.0, 0.0, 0.0)), (1.0, 0.0, 0.0))
    approx_vector(hierarchy.get_local_control_shape_transform(pole, True).scale3d, (0.6, 0.6, 0.6))


@pytest.mark.parametrize("mode, reads_rotation", [(None, False), (1, True)])
def test_a_world_ik_control_rests_at_zero_unless_it_reads_its_joint_rotation(unreal, tool_script, skeleton, mode, reads_rotation):
    hierarchy = skeleton[1]
    record = {"name": "IKLeg_R", "type": "IK", "joint": "Knee_R", "worldSpace": True}
    key = make(tool_script, skeleton, record, ik_local_type=mode)
    value = unreal.RigHierarchy.get_euler_transform_from_control_value(
        hierarchy.get_control_value(key, unreal.RigControlValueType.INITIAL))
    offset = hierarchy.get_global_control_offset_transform(key, True)
    approx_vector(offset.translation, (-10.0, 5.0, 50.0))
    approx_vector(axis(offset, (1.0, 0.0, 0.0)), (1.0, 0.0, 0.0))
    if reads_rotation:
        assert (value.rotation.roll, value.rotation.yaw) == pytest.approx((30.0, 90.0), abs=1e-3)
        knee = hierarchy.get_global_transform(skeleton[3]["Knee_R"], True)
        assert hierarchy.get_global_transform(key, True) == knee
    else:
        assert (value.rotation.roll, value.rotation.pitch, value.rotation.yaw) == (0.0, 0.0, 0.0)


def test_the_hip_swinger_hangs_from_an_offset_under_the_fk_root(unreal, tool_script, skeleton, capsys):
    hierarchy = skeleton[1]
    root = make(tool_script, skeleton, {"name": "FKRoot_M", "type": "Root", "joint": "Root_M"})
    matrix = [1.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 98.0, -18.0, 1.0]
    key = make(tool_script, skeleton, {"name": "HipSwinger_M", "type": "HipSwinger", "parent": "Elsewhere", "joint": "Root_M",
                                       "worldSpace": True, "positionWorld": [0.0, 1.0, 2.0], "worldMatrix": matrix,
                                       "diameter": 10.0})
    offset_null = unreal.RigElementKey(type=unreal.RigElementType.NULL, name="HipSwingerOffset_M")
    assert hierarchy.get_first_parent(key) == offset_null and hierarchy.get_first_parent(offset_null) == root
    assert hierarchy.get_global_transform(offset_null, True) == hierarchy.get_global_transform(root, True)
    world = hierarchy.get_global_transform(key, True)
    approx_vector(world.translation, (0.0, -36.0, 196.0))  # the matrix translation wins over the position
    approx_vector(world.scale3d, (2.0, 2.0, 2.0))
    out = capsys.readouterr().out
    assert "HipSwinger: world loc= (0.0, -36.0, 196.0)" in out
    assert "HipSwinger: parent HipSwingerOffset_M ctrl local (0.0, -36.0, 96.0)" in out
    # Its shape is never scaled and stays in control axes, whatever "worldSpace" says.
    shape = hierarchy.get_local_control_shape_transform(key, True)
    approx_vector(shape.scale3d, (1.0, 1.0, 1.0))
    approx_vector(axis(shape, (0.0, 0.0, 1.0)), (-1.0, 0.0, 0.0))


def test_custom_shapes_keep_their_curve_directions(unreal, tool_script, skeleton):
    hierarchy = skeleton[1]
    fk = make(tool_script, skeleton, {"name": "FKHip_R", "type": "FK", "joint": "Hip_R"}, custom_shape_name="VN_FKHip_R")
    assert str(skeleton[0].get_hierarchy_controller().get_control_settings(fk).shape_name) == "VN_FKHip_R"
    shape = hierarchy.get_local_control_shape_transform(fk, True)
    approx_vector(axis(shape, (1.0, 0.0, 0.0)), (1.0, 0.0, 0.0))  # a roll of -90 about the control's X
    assert abs(axis(shape, (0.0, 1.0, 0.0)).z) == pytest.approx(1.0)
    approx_vector(shape.scale3d, (1.0, 1.0, 1.0))
    pole = make(tool_script, skeleton, {"name": "PoleX", "type": "IKPole"}, custom_shape_name="VN_PoleX")
    approx_vector(hierarchy.get_local_control_shape_transform(pole, True).scale3d, (2.0, 2.0, 2.0))


# ---- the clean controller hierarchy ---------------------------------------------------------------------

def test_main_goes_under_the_motion_root_and_result_parents_under_the_fk_root(unreal, tool_script, skeleton, capsys):
    _rig, hierarchy, controller, joint_keys = skeleton
    plan = tool_script["PlannedControl"]
    followers = [plan({"name": "FKToes_R"}, follows_result_joint="Knee_R"), plan({"name": "FKOther"}, follows_result_joint="Knee_R"),
                 plan({"name": "FKGhost"}, follows_result_joint="NoBone"), plan({"name": "FKAlone"})]
    assert tool_script["body_rig_make_fkik_result_parent_spaces"](tool_script["RigElements"](hierarchy, controller), [], joint_keys) == 0
    assert tool_script["body_rig_make_fkik_result_parent_spaces"](tool_script["RigElements"](hierarchy, controller), followers, joint_keys) == 1
    assert "Created clean FK result parent spaces: 1" in capsys.readouterr().out
    null = lambda name: unreal.RigElementKey(type=unreal.RigElementType.NULL, name=name)
    helper = null("FKParentConstraintToKnee_R")
    assert hierarchy.get_first_parent(helper) == null("FKSystem")
    assert hierarchy.get_first_parent(null("FKSystem")) == null("MotionSystem")
    assert hierarchy.get_global_transform(helper, True) == hierarchy.get_global_transform(joint_keys["Knee_R"], True)

    assert tool_script["body_rig_parent_main_to_motion_system"](tool_script["RigElements"](hierarchy, controller))
    assert hierarchy.get_first_parent(control_key(unreal, "Main")) == null("MotionSystem")


def test_children_of_an_inbetween_control_follow_its_last_part(tool_script):
    resolve = tool_script["body_rig_resolved_control_parent_name"]
    neck = {"name": "FKNeck_M", "joint": "Neck_M", "fitAttributes": [{"name": "inbetweenJoints", "value": 2}]}
    parts = [{"name": "FKNeckPart1_M", "parent": "FKNeck_M"}, {"name": "FKNeckPart2_M", "parent": "FKNeckPart1_M"}]
    head = {"name": "FKHead_M", "parent": "FKNeck_M"}
    by_name = {record["name"]: record for record in [neck, head] + parts}
    assert resolve(head, by_name) == "FKNeckPart2_M"
    assert resolve(parts[0], by_name) == "FKNeck_M"
    assert resolve(parts[1], by_name) == "FKNeckPart1_M"
    assert resolve(head, {"FKNeck_M": neck, "FKHead_M": head}) == "FKNeck_M", "without planned parts nothing moves"
    assert resolve({"name": "HipSwinger_M", "parent": "FKRoot_M"}, by_name) == "HipSwingerOffset_M"
    assert resolve({"name": "X", "parent": ""}, by_name) == ""


def test_repair_moves_controls_keeping_their_place_but_never_under_a_bone(unreal, tool_script, skeleton):
    _rig, hierarchy, controller, joint_keys = skeleton
    neck = {"name": "FKHip_R", "type": "FK", "parent": "Main", "joint": "Hip_R",
            "fitAttributes": [{"name": "inbetweenJoints", "value": 1}]}
    part = {"name": "FKHipPart1_R", "type": "FK", "parent": "FKHip_R", "joint": "Knee_R"}
    child = {"name": "FKKnee_R", "type": "FK", "parent": "FKHip_R", "joint": "Knee_R"}
    boned = {"name": "FKBoned", "type": "FK", "parent": "Root_M"}
    records = [neck, child, part, boned]
    for record in records:
        make(tool_script, skeleton, record)
    before = hierarchy.get_global_transform(control_key(unreal, "FKKnee_R"), True)
    # Every control with a resolvable parent is set again; the one asking for a bone stays under "Main",
    # where it was made.
    assert tool_script["body_rig_repair_control_parents"](tool_script["RigElements"](hierarchy, controller), records) == 3
    assert hierarchy.get_first_parent(control_key(unreal, "FKKnee_R")) == control_key(unreal, "FKHipPart1_R")
    assert hierarchy.get_global_transform(control_key(unreal, "FKKnee_R"), True) == before
    assert hierarchy.get_first_parent(control_key(unreal, "FKBoned")) == control_key(unreal, "Main")


def test_a_pole_gets_a_parent_space_in_helpers_at_its_place(unreal, tool_script, skeleton):
    _rig, hierarchy, controller, _joints = skeleton
    pole = make(tool_script, skeleton, {"name": "PoleLeg_R", "type": "IKPole"}, pole_position_world=[1.0, 2.0, 3.0])
    before = hierarchy.get_global_transform(pole, True)
    assert tool_script["body_rig_make_pole_parent_space"](tool_script["RigElements"](hierarchy, controller), "PoleLeg_R") == "PoleLeg_R_Space"
    space = unreal.RigElementKey(type=unreal.RigElementType.NULL, name="PoleLeg_R_Space")
    assert hierarchy.get_first_parent(pole) == space
    assert hierarchy.get_first_parent(space) == unreal.RigElementKey(type=unreal.RigElementType.NULL, name="Helpers")
    assert hierarchy.get_global_transform(space, True) == before == hierarchy.get_global_transform(pole, True)
    assert tool_script["body_rig_make_pole_parent_space"](tool_script["RigElements"](hierarchy, controller), "PoleLeg_R") == "PoleLeg_R_Space"
    assert tool_script["body_rig_make_pole_parent_space"](tool_script["RigElements"](hierarchy, controller), "NoPole") == ""
