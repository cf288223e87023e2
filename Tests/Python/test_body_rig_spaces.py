"""Body spaces: local IK control planning, the global-orientation groups and their graph rows, the
fit-attribute and driving-system channels, and the follow helpers and set-driven-key zero groups of
driving-system controls."""

import itertools

import pytest

_rig_numbers = itertools.count()


# ---- local IK (addCtrl) -------------------------------------------------------------------------------

def test_the_local_ik_name_drops_the_ik_prefix_and_is_a_safe_name(tool_script):
    name = tool_script["body_rig_iklocal_control_name"]
    assert name("IKArm_R") == "IKLocalArm_R"
    assert name("Leg_L") == "IKLocalLeg_L"
    assert name("IKLeg L.001") == "IKLocalLeg_L_001"


def test_the_local_ik_record_takes_the_ik_controls_look_with_defaults(tool_script):
    make = tool_script["body_rig_make_iklocal_addctrl_data"]
    ik = {"name": "IKArm_R", "type": "IK", "joint": "IKEnd_R", "gizmo": "Sphere", "diameter": 6.0, "color": [0.0, 0.5, 1.0],
          "worldSpace": True, "offset": [1, 2, 3], "ik": {"endJoint": "Wrist_R"}}
    local = make(ik)
    assert local.record == {"name": "IKLocalArm_R", "parent": "IKArm_R", "joint": "Wrist_R", "type": "IKLocal", "gizmo": "Sphere",
                            "worldSpace": False, "offset": [0.0, 0.0, 0.0], "diameter": 6.0, "color": [0.0, 0.5, 1.0]}
    assert local.ik_local_type == 0
    # Without an end joint, size, look or colour: the record's joint, size 1 (a zero size too), a thick box, red.
    bare = make({"name": "IKLeg_L", "joint": "Ankle_L", "diameter": 0, "color": "blue", "ik": "broken"}).record
    assert (bare["joint"], bare["diameter"], bare["gizmo"], bare["color"]) == ("Ankle_L", 1.0, "Box_Thick", [1.0, 0.0, 0.0])
    assert make({"name": "IKLeg_L", "joint": "Ankle_L"}).record["diameter"] == 1.0
    # A short colour list is kept as it is; the control reads it by the vector rule when it is made.
    assert make({"name": "IKLeg_L", "color": [0.2, 0.4]}).record["color"] == [0.2, 0.4]


def test_applying_addctrl_puts_the_local_control_between_the_ik_control_and_its_reverse_foot(tool_script):
    controls = [tool_script["PlannedControl"](record) for record in (
        {"name": "IKLeg_R", "type": "IK"},
        {"name": "IKLocalLeg_R", "type": "ReverseFootToe", "parent": "RollToes_R"},
        {"name": "RollHeel_R", "type": "ReverseFoot", "parent": "IKLeg_R"},
        {"name": "RollToes_R", "type": "ReverseFoot", "parent": "RollHeel_R"},
        {"name": "IKToes_R", "type": "ReverseFootToe", "parent": "IKLeg_R"},
        {"name": "IKArm_L", "type": "IK"}, {"name": "RollHeel_L", "parent": "IKArm_L"})]
    def limb(ik_control, mode, local_control, ik_controls=(), reverse_foot=(), toes=()):
        return tool_script["ChainPlan"](
            id=ik_control[2:], ik_control=ik_control, pole_control="", bones=[], fk_controls=[], switch_control="",
            default_ik=True, ik_local_type=mode, ik_local_control=local_control, ik_controls=list(ik_controls),
            reverse_foot_controls=list(reverse_foot), reverse_foot_toe_controls=list(toes))
    leg = limb("IKLeg_R", 0, "IKLocalLeg_R", ["IKToes_R", "IKLeg_R", "IKLocalLeg_R"], ["RollHeel_R", "RollToes_R"],
               ["IKToes_R", "IKLocalLeg_R"])
    generated = limb("IKArm_R", 0, "")
    other_modes = [limb("IKArm_L", mode, "IKLocalArm_L", reverse_foot=["RollHeel_L"]) for mode in (1, 2, None)]
    assert tool_script["body_rig_apply_iklocal_addctrl"](controls, [leg, generated] + other_modes) == 2

    assert leg.ik_controls == ["IKLeg_R", "IKLocalLeg_R", "IKToes_R"]
    assert generated.ik_controls == ["IKArm_R", "IKLocalArm_R"]
    parents = {control.name: control.record.get("parent") for control in controls}
    assert parents["IKLocalLeg_R"] == "IKLeg_R"
    assert parents["RollHeel_R"] == "IKLocalLeg_R" and parents["IKToes_R"] == "IKLocalLeg_R"
    assert parents["RollToes_R"] == "RollHeel_R", "only controls hung from the IK control move"
    assert parents["RollHeel_L"] == "IKArm_L" and all(chain.ik_controls == [] for chain in other_modes)


def test_the_local_ik_modes_are_counted_over_ik_and_local_ik_records(tool_script, capsys):
    plan = tool_script["PlannedControl"]
    controls = [plan({"name": "IKArm_R", "type": "IK"}, ik_local_type=0), plan({"name": "IKLocalArm_R", "type": "IKLocal"}, ik_local_type=0),
                plan({"name": "IKLeg_R", "type": "IK"}, ik_local_type=1), plan({"name": "IKLeg_L", "type": "IK"}, ik_local_type=2),
                plan({"name": "IKArm_L", "type": "IK"}), plan({"name": "IKSpine", "type": "IK"}, ik_local_type=7),
                plan({"name": "IKLocalLeg_R", "type": "ReverseFootToe"}, ik_local_type=0), plan({"name": "FKHip_R"}, ik_local_type=2)]
    assert tool_script["body_rig_align_iklocal_controls"](None, controls) == 4
    assert "Applied ikLocal addCtrl/nonZero/localOrient: 2 1 1" in capsys.readouterr().out


# ---- hierarchies ----------------------------------------------------------------------------------------

@pytest.fixture
def rig(editor, unreal, tool_script):
    unreal.load_module("ControlRigDeveloper")
    return unreal.ControlRigBlueprintFactory.create_new_control_rig_asset("/Game/Rigs/CR_Spaces%d" % next(_rig_numbers))


def place(unreal, x=0.0, y=0.0, z=0.0, yaw=0.0, pitch=0.0):
    return unreal.Transform(location=unreal.Vector(x, y, z), rotation=unreal.Rotator(pitch=pitch, yaw=yaw))


def add_control(unreal, rig, name, parent=None, offset=None, value=None):
    """A control under parent with an initial offset and an initial value (an Euler transform)."""
    hierarchy, controller = rig.hierarchy, rig.get_hierarchy_controller()
    key = controller.add_control(name, parent or unreal.RigElementKey(), unreal.RigControlSettings(),
                                 unreal.RigHierarchy.make_control_value_from_euler_transform(unreal.EulerTransform()))
    if offset is not None:
        for initial in (True, False):
            hierarchy.set_control_offset_transform(key, offset, initial, True)
    if value is not None:
        for value_type in (unreal.RigControlValueType.INITIAL, unreal.RigControlValueType.CURRENT):
            hierarchy.set_control_value(key, unreal.RigHierarchy.make_control_value_from_euler_transform(value), value_type)
    return key


def key_of(unreal, element_type, name):
    return unreal.RigElementKey(type=element_type, name=name)


def null_key(unreal, name):
    return key_of(unreal, unreal.RigElementType.NULL, name)


def control_key(unreal, name):
    return key_of(unreal, unreal.RigElementType.CONTROL, name)


def assert_rests_at_identity(unreal, hierarchy, key):
    """The control's offset is identity (its global transform is its parent's) and its values and
    preferred Euler angles are zero."""
    assert hierarchy.get_global_transform(key, True) == hierarchy.get_global_transform(hierarchy.get_first_parent(key), True)
    identity = unreal.RigHierarchy.make_control_value_from_euler_transform(unreal.EulerTransform())
    for value_type in (unreal.RigControlValueType.INITIAL, unreal.RigControlValueType.CURRENT):
        assert hierarchy.get_control_value(key, value_type) == identity
    order = hierarchy.get_control_preferred_euler_rotation_order(key)
    for initial in (True, False):
        assert hierarchy.get_control_preferred_euler_angles(key, order, initial) == unreal.Vector(0.0, 0.0, 0.0)


# ---- global orientation ---------------------------------------------------------------------------------

GLOBAL_CONTROLS = [{"name": "Main", "type": "Main", "fitAttributes": [{"name": "global", "value": 10}]},
                   {"name": "FKSpine1_M", "controlAttributes": [{"name": "global", "value": 5}]},
                   {"name": "FKChest_M"},
                   {"name": "HeadAim_M", "type": "Aim", "fitAttributes": [{"name": "global", "value": 0}]},
                   {"name": "FKMissing_M", "controlAttributes": [{"name": "global", "value": 1}]}]


def test_global_groups_sit_under_main_and_a_space_above_each_control_carries_it(unreal, tool_script, rig):
    hierarchy, controller = rig.hierarchy, rig.get_hierarchy_controller()
    main = add_control(unreal, rig, "Main", offset=place(unreal, 0, 0, 5, yaw=30))
    chest = add_control(unreal, rig, "FKChest_M", main, offset=place(unreal, 0, 0, 100))
    spine = add_control(unreal, rig, "FKSpine1_M", chest, offset=place(unreal, 0, 4, 20, pitch=15),
                        value=unreal.EulerTransform(location=unreal.Vector(1, 2, 3)))
    head = add_control(unreal, rig, "HeadAim_M", main, offset=place(unreal, 10, 0, 160))
    spine_global, head_global = hierarchy.get_global_transform(spine, True), hierarchy.get_global_transform(head, True)

    assert tool_script["body_rig_make_vantorel_global_groups"](tool_script["RigElements"](hierarchy, controller), GLOBAL_CONTROLS) == 2
    for group, control, parent, expected in (("FKGlobalSpine1_M", spine, chest, spine_global), ("HeadAim_M_Global", head, main, head_global)):
        assert hierarchy.get_first_parent(null_key(unreal, group)) == main
        assert hierarchy.get_global_transform(null_key(unreal, group), True) == expected
        # The control hangs from a space at its own place under its old parent; it rests where it did.
        space = null_key(unreal, str(control.name) + "_GlobalSpace")
        assert hierarchy.get_first_parent(control) == space and hierarchy.get_first_parent(space) == parent
        assert hierarchy.get_global_transform(space, True) == expected
        assert hierarchy.get_global_transform(control, True) == expected
    assert sorted(str(key.name) for key in hierarchy.get_nulls(True)) == [
        "FKGlobalSpine1_M", "FKSpine1_M_GlobalSpace", "HeadAim_M_Global", "HeadAim_M_GlobalSpace"]
    # Nothing is made twice.
    assert tool_script["body_rig_make_vantorel_global_groups"](tool_script["RigElements"](hierarchy, controller), GLOBAL_CONTROLS) == 0
    assert len(hierarchy.get_nulls(True)) == 4


def test_each_global_control_gets_a_channel_normaliser_and_weighted_rotation_constraint_row(unreal, tool_script, rig):
    controller = rig.get_controller(rig.get_model())
    graph = controller.get_graph()
    begin = "RigUnit_BeginExecution.ExecuteContext"
    assert graph.find_pin(begin) is not None
    controls = [c for c in GLOBAL_CONTROLS if c["name"] in ("FKSpine1_M", "HeadAim_M", "FKChest_M")] + [
        {"name": "", "controlAttributes": [{"name": "global", "value": 3}]}]
    exec_pin, systems, height = tool_script["body_rig_add_vantorel_global"](tool_script["RigGraph"](controller), controls, {}, begin, 100, 40)
    assert (systems, height) == (2, 560)

    def sources(pin):
        return [str(source.get_pin_path()) for source in graph.find_pin(pin).get_linked_source_pins()]

    # The graph names the nodes itself, so each row's nodes are found by type and position.
    placed = {(node.get_script_struct().get_name(), node.get_position().x, node.get_position().y): node.get_node_path()
              for node in graph.get_nodes() if hasattr(node, "get_script_struct")}
    assert len(placed) == 7, "the begin node and two rows of three"
    previous = begin
    for row, (name, group) in enumerate((("FKSpine1_M", "FKGlobalSpine1_M"), ("HeadAim_M", "HeadAim_M_Global"))):
        y = 40 + 280 * row
        channel = placed[("RigUnit_GetFloatAnimationChannel", 100, y)]
        divide = placed[("RigVMFunction_MathFloatDiv", 360, y)]
        constraint = placed[("RigUnit_RotationConstraintLocalSpaceOffset", 690, y)]
        assert graph.find_pin(channel + ".Control").get_default_value() == name
        assert graph.find_pin(channel + ".Channel").get_default_value() == "global"
        assert float(graph.find_pin(divide + ".B").get_default_value()) == 10.0
        assert sources(divide + ".A") == [channel + ".Value"]
        assert graph.find_pin(constraint + ".Child.Type").get_default_value() == "Null"
        assert graph.find_pin(constraint + ".Child.Name").get_default_value() == name + "_GlobalSpace"
        assert graph.find_pin(constraint + ".bMaintainOffset").get_default_value() == "True"
        assert float(graph.find_pin(constraint + ".Weight").get_default_value()) == 1.0
        assert graph.find_pin(constraint + ".Parents.1") is None
        assert graph.find_pin(constraint + ".Parents.0.Item.Type").get_default_value() == "Null"
        assert graph.find_pin(constraint + ".Parents.0.Item.Name").get_default_value() == group
        assert sources(constraint + ".Parents.0.Weight") == [divide + ".Result"]
        assert sources(constraint + ".ExecuteContext") == [previous]
        previous = constraint + ".ExecuteContext"
    assert exec_pin == previous

    # Without global controls the chain passes through untouched.
    assert tool_script["body_rig_add_vantorel_global"](tool_script["RigGraph"](controller), [{"name": "FKChest_M"}], {}, begin, 0, 0) == (begin, 0, 0)


# ---- attribute channels ---------------------------------------------------------------------------------

def channel_of(unreal, rig, name):
    key = control_key(unreal, name)
    return key, rig.get_hierarchy_controller().get_control_settings(key)


def float_values(unreal, hierarchy, key):
    types = (unreal.RigControlValueType.INITIAL, unreal.RigControlValueType.CURRENT,
             unreal.RigControlValueType.MINIMUM, unreal.RigControlValueType.MAXIMUM)
    return [unreal.RigHierarchy.get_float_from_control_value(hierarchy.get_control_value(key, t)) for t in types]


def bool_value(unreal, hierarchy, key):
    values = {hierarchy.get_control_value(key, t) == unreal.RigHierarchy.make_control_value_from_bool(True)
              for t in (unreal.RigControlValueType.INITIAL, unreal.RigControlValueType.CURRENT)}
    assert len(values) == 1, "initial and current values differ"
    return values.pop()


def test_fit_attribute_channels_clamp_global_and_follow_the_inbetween_and_leg_lock_rules(unreal, tool_script, rig):
    hierarchy, controller = rig.hierarchy, rig.get_hierarchy_controller()
    make = tool_script["body_rig_make_vantorel_fit_channels"]
    spine = add_control(unreal, rig, "FKSpine1_M")
    add_control(unreal, rig, "FKNeck_M")
    root = add_control(unreal, rig, "FKRoot_M")
    spine_data = {"name": "FKSpine1_M", "fitAttributes": [{"name": "global", "value": 14}, {"name": "inbetweenVis", "value": True}]}
    assert make(tool_script["RigElements"](hierarchy, controller), spine_data) == 2
    key, settings = channel_of(unreal, rig, "FKSpine1_M_global")
    assert settings.animation_type == unreal.RigControlAnimationType.ANIMATION_CHANNEL and str(settings.display_name) == "global"
    assert settings.control_type == unreal.RigControlType.FLOAT and hierarchy.get_first_parent(key) == spine
    assert settings.draw_limits and settings.limit_enabled[0].minimum and settings.limit_enabled[0].maximum
    assert float_values(unreal, hierarchy, key) == [10.0, 10.0, 0.0, 10.0]
    key, settings = channel_of(unreal, rig, "FKSpine1_M_inbetweenVis")
    assert settings.control_type == unreal.RigControlType.BOOL and bool_value(unreal, hierarchy, key) is True
    assert make(tool_script["RigElements"](hierarchy, controller), spine_data) == 0

    # A negative global clamps to 0; inbetween joints without a visibility attribute give a hidden channel.
    neck = {"name": "FKNeck_M", "controlAttributes": [{"name": "global", "value": -3}], "fitAttributes": [{"name": "inbetweenJoints", "value": 2}]}
    assert make(tool_script["RigElements"](hierarchy, controller), neck) == 2
    assert float_values(unreal, hierarchy, channel_of(unreal, rig, "FKNeck_M_global")[0])[:2] == [0.0, 0.0]
    assert bool_value(unreal, hierarchy, channel_of(unreal, rig, "FKNeck_M_inbetweenVis")[0]) is False

    # The root's leg lock channel needs the leg lock null; a missing control gets nothing.
    assert make(tool_script["RigElements"](hierarchy, controller), {"name": "FKRoot_M"}) == 0
    controller.add_null("LegLockConstrained", unreal.RigElementKey(), place(unreal), True)
    assert make(tool_script["RigElements"](hierarchy, controller), {"name": "FKRoot_M"}) == 1
    key, settings = channel_of(unreal, rig, "FKRoot_M_legLock")
    assert hierarchy.get_first_parent(key) == root and float_values(unreal, hierarchy, key) == [10.0, 10.0, 0.0, 10.0]
    assert make(tool_script["RigElements"](hierarchy, controller), {"name": "FKGone_M", "fitAttributes": [{"name": "global", "value": 1}]}) == 0
    assert make(tool_script["RigElements"](hierarchy, controller), {"name": "FKNeck_M", "fitAttributes": [{"name": "inbetweenJoints", "value": 0}]}) == 0


def test_driving_channels_take_their_limits_from_the_driving_system_in_order(unreal, tool_script, rig):
    hierarchy, controller = rig.hierarchy, rig.get_hierarchy_controller()
    owner = add_control(unreal, rig, "FingerDrive_R")
    data = {"name": "FingerDrive_R", "type": "DrivingSystem",
            "controlAttributes": [{"name": "curl", "value": 2}, {"name": "spread", "value": -1}, {"name": "flat", "value": 3},
                                  {"name": "cup"}, {"name": "lowOnly", "value": 4}, {"value": 5}, "junk"],
            "drivingSystem": [{"name": "curl", "driverMin": -10, "driverMax": 10},
                              {"name": "spread", "driverMin": 5, "driverMax": -5},
                              {"name": "flat", "driverMin": 5, "driverMax": 5},
                              {"name": "lowOnly", "driverMin": 2}]}
    assert tool_script["body_rig_make_fit_channels"](tool_script["RigElements"](hierarchy, controller), data) == 5
    expected = {"curl": [2.0, 2.0, -10.0, 10.0], "spread": [-1.0, -1.0, -5.0, 5.0], "flat": [3.0, 3.0, 0.0, 10.0],
                "cup": [0.0, 0.0, 0.0, 10.0], "lowOnly": [4.0, 4.0, 2.0, 10.0]}
    for attribute, values in expected.items():
        key, settings = channel_of(unreal, rig, "FingerDrive_R_" + attribute)
        assert float_values(unreal, hierarchy, key) == values, attribute
        assert unreal.RigHierarchy.get_float_from_control_value(settings.minimum_value) == values[2]
        assert unreal.RigHierarchy.get_float_from_control_value(settings.maximum_value) == values[3]
        assert str(settings.shape_name) == "Default" and str(settings.display_name) == attribute
        assert settings.animation_type == unreal.RigControlAnimationType.ANIMATION_CHANNEL
        assert hierarchy.get_first_parent(key) == owner
    assert tool_script["body_rig_make_fit_channels"](tool_script["RigElements"](hierarchy, controller), data) == 0
    assert tool_script["body_rig_make_fit_channels"](tool_script["RigElements"](hierarchy, controller), dict(data, name="Missing_R")) == 0


# ---- driving-system follow helpers and SDK spaces -------------------------------------------------------

def test_driving_system_controls_hang_on_follow_helpers_under_main_and_rest_at_identity(unreal, tool_script, rig, capsys):
    hierarchy, controller = rig.hierarchy, rig.get_hierarchy_controller()
    main = add_control(unreal, rig, "Main", offset=place(unreal, 0, 0, 2, yaw=90))
    wrist = controller.add_bone("Wrist_R", unreal.RigElementKey(), place(unreal, -40, 5, 120, yaw=20), True)
    drive = add_control(unreal, rig, "FingerDrive_R", main, offset=place(unreal, -45, 5, 125, pitch=10),
                        value=unreal.EulerTransform(location=unreal.Vector(0, 3, 0), rotation=unreal.Rotator(yaw=25)))
    order = hierarchy.get_control_preferred_euler_rotation_order(drive)
    for initial in (True, False):
        hierarchy.set_control_preferred_euler_angles(drive, unreal.Vector(0, 0, 25), order, initial)
    add_control(unreal, rig, "FootDrive_L", main)
    add_control(unreal, rig, "FKWrist_R", main)
    before = hierarchy.get_global_transform(drive, True)
    controls = [{"name": "FingerDrive_R", "type": "DrivingSystem", "joint": "Wrist_R"},
                {"name": "FootDrive_L", "type": "DrivingSystem", "joint": "NoSuchJoint"},
                {"name": "FKWrist_R", "type": "FK", "joint": "Wrist_R"},
                {"name": "GoneDrive_R", "type": "DrivingSystem", "joint": "Wrist_R"}]
    assert tool_script["body_rig_make_driving_system_attachments"](tool_script["RigElements"](hierarchy, controller), controls, {"Wrist_R": wrist}) == 1
    assert "Created DrivingSystem controller follow helpers: 1" in capsys.readouterr().out

    helper = null_key(unreal, "FingerDrive_R_Attach")
    assert hierarchy.get_first_parent(helper) == main and hierarchy.get_first_parent(drive) == helper
    assert hierarchy.get_global_transform(helper, True) == before
    assert hierarchy.get_global_transform(drive, True) == before
    assert_rests_at_identity(unreal, hierarchy, drive)
    assert [str(key.name) for key in hierarchy.get_nulls(True)] == ["FingerDrive_R_Attach"]
    assert hierarchy.get_children(wrist) == [], "nothing is parented under the bone"

    # A second pass reuses the helper.
    assert tool_script["body_rig_make_driving_system_attachments"](tool_script["RigElements"](hierarchy, controller), controls, {}) == 1
    assert len(hierarchy.get_nulls(True)) == 1 and hierarchy.get_global_transform(drive, True) == before


def sdk_drivers(*targets_per_entry):
    return {"name": "HandDrive_R", "type": "DrivingSystem",
            "drivingSystem": [{"name": "curl", "relationships": [{"target": target} for target in targets]}
                              for targets in targets_per_entry]}


def test_sdk_spaces_become_zero_groups_of_driven_fk_controls_in_sorted_order(unreal, tool_script, rig, capsys):
    hierarchy, controller = rig.hierarchy, rig.get_hierarchy_controller()
    main = add_control(unreal, rig, "Main")
    wrist = add_control(unreal, rig, "FKWrist_R", main, offset=place(unreal, -40, 0, 120, yaw=15))
    index = add_control(unreal, rig, "FKIndexFinger1_R", wrist, offset=place(unreal, -8, 2, 0, pitch=20),
                        value=unreal.EulerTransform(rotation=unreal.Rotator(yaw=12)))
    middle = add_control(unreal, rig, "FKMiddleFinger1_R", wrist, offset=place(unreal, -9, 0, 0))
    thumb = add_control(unreal, rig, "FKThumbFinger1_R", wrist, offset=place(unreal, -5, 4, -2, yaw=40))
    ik = add_control(unreal, rig, "IKArm_R", main)
    index_before, thumb_before = hierarchy.get_global_transform(index, True), hierarchy.get_global_transform(thumb, True)
    middle_global = hierarchy.get_global_transform(middle, True)
    # An existing space is used as it is.
    controller.add_null("SDKMiddleFinger1_R", wrist, place(unreal), False)
    controls = [{"name": "FKWrist_R", "type": "FK", "parent": "Main"},
                {"name": "FKThumbFinger1_R", "type": "FK", "parent": "NoSuchParent"},
                {"name": "FKMiddleFinger1_R", "parent": "FKWrist_R"},
                {"name": "FKIndexFinger1_R", "type": "FK", "parent": "FKWrist_R"},
                {"name": "IKArm_R", "type": "IK", "parent": "Main"},
                sdk_drivers(["FKThumbFinger1_R", "IKArm_R", "FKIndexFinger1_R"], ["FKMiddleFinger1_R", "FKGhost_R", "FKIndexFinger1_R"]),
                {"name": "FKRingFinger1_R", "type": "FK", "drivingSystem": [{"relationships": [{"target": "FKWrist_R"}]}]}]
    spaces = tool_script["body_rig_make_sdk_control_spaces"](tool_script["RigElements"](hierarchy, controller), controls)
    assert list(spaces.items()) == [("FKIndexFinger1_R", "SDKIndexFinger1_R"), ("FKMiddleFinger1_R", "SDKMiddleFinger1_R"),
                                    ("FKThumbFinger1_R", "SDKThumbFinger1_R")]
    assert "Created DrivingSystem SDK control spaces: 3" in capsys.readouterr().out

    # New spaces hang from the record's parent (top level when it names nothing), hold the bind
    # transform, and the control rests at identity beneath them.
    for control, space, parent, before in ((index, "SDKIndexFinger1_R", wrist, index_before),
                                           (thumb, "SDKThumbFinger1_R", unreal.RigElementKey(), thumb_before)):
        assert str(hierarchy.get_first_parent(null_key(unreal, space)).name) == str(parent.name)
        assert hierarchy.get_global_transform(null_key(unreal, space), True) == before
        assert hierarchy.get_first_parent(control) == null_key(unreal, space)
        assert hierarchy.get_global_transform(control, True) == before
        assert_rests_at_identity(unreal, hierarchy, control)
    assert hierarchy.get_first_parent(middle) == wrist and hierarchy.get_global_transform(middle, True) == middle_global
    assert hierarchy.get_first_parent(ik) == main
    names = {str(key.name) for key in hierarchy.get_nulls(True)}
    assert names == {"SDKIndexFinger1_R", "SDKMiddleFinger1_R", "SDKThumbFinger1_R"}

    # A second pass makes nothing new and moves nothing.
    assert tool_script["body_rig_make_sdk_control_spaces"](tool_script["RigElements"](hierarchy, controller), controls) == spaces
    assert len(hierarchy.get_nulls(True)) == 3 and hierarchy.get_global_transform(index, True) == index_before


def test_an_sdk_space_never_hangs_from_a_bone(unreal, tool_script, rig):
    hierarchy, controller = rig.hierarchy, rig.get_hierarchy_controller()
    wrist_bone = controller.add_bone("Wrist_R", unreal.RigElementKey(), place(unreal, -40, 0, 120), True)
    main = add_control(unreal, rig, "Main")
    finger = add_control(unreal, rig, "FKIndexFinger1_R", main, offset=place(unreal, -48, 2, 120))
    before = hierarchy.get_global_transform(finger, True)
    controls = [{"name": "FKIndexFinger1_R", "type": "FK", "parent": "Wrist_R"}, sdk_drivers(["FKIndexFinger1_R"])]
    assert tool_script["body_rig_make_sdk_control_spaces"](tool_script["RigElements"](hierarchy, controller), controls) == {"FKIndexFinger1_R": "SDKIndexFinger1_R"}
    space = null_key(unreal, "SDKIndexFinger1_R")
    assert hierarchy.get_first_parent(space) == main != wrist_bone
    assert hierarchy.get_global_transform(finger, True) == before
