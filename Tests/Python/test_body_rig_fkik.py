"""FK/IK limb planning: chain plans from the "IK" records, the FK controls a limb needs, the FKIK
placeholder match, local IK planning, the re-attachment of FK branches below finished limbs, and the
switch channels on the placeholder."""

import copy

import pytest

ARM_JOINTS = [("Root_M", ""), ("Spine1_M", "Root_M"), ("Chest_M", "Spine1_M"), ("Shoulder_R", "Chest_M"),
              ("Elbow_R", "Shoulder_R"), ("Wrist_R", "Elbow_R"), ("Middle1_R", "Wrist_R"), ("Hip_R", "Root_M"),
              ("Knee_R", "Hip_R"), ("Ankle_R", "Knee_R"), ("Toes_R", "Ankle_R")]


@pytest.fixture
def plan(source_package):
    """The planning needs no editor: the package imported from its sources."""
    return source_package


def rig_data(controls, joints=ARM_JOINTS):
    return {"joints": [{"name": name, "parent": parent} for name, parent in joints], "controls": controls}


def ik_arm(**ik):
    record = {"name": "IKArm_R", "type": "IK", "parent": "Main", "joint": "Wrist_R", "diameter": 6.0,
              "color": [0.0, 0.5, 1.0],
              "ik": {"startJoint": "Shoulder_R", "middleJoint": "Elbow_R", "endJoint": "Wrist_R", "id": "Arm_R"}}
    record["ik"].update(ik)
    return record


def by_name(plans):
    """Planned controls by name."""
    return {plan.name: plan for plan in plans}


def test_a_limb_without_fk_controls_gets_a_generated_chain_hung_from_the_fk_control_above_it(plan, capsys):
    data = rig_data([{"name": "Main", "type": "Main"}, {"name": "FKChest_M", "type": "FK", "joint": "Chest_M"},
                     ik_arm(), {"name": "IKBroken", "type": "IK", "joint": "Ankle_R",
                                "ik": {"startJoint": "Hip_R", "endJoint": "Ankle_R"}}])
    original = copy.deepcopy(data)
    planned, chains = plan["body_rig_prepare_fkik_controls"](data)
    assert data == original, "planning must not change the file's records"
    assert "Skipping incomplete FKIK chain: IKBroken ['Hip_R', '', 'Ankle_R']" in capsys.readouterr().out

    assert [chain.ik_control for chain in chains] == ["IKArm_R"]
    chain = chains[0]
    assert chain.id == "Arm_R" and chain.bones == ["Shoulder_R", "Elbow_R", "Wrist_R"]
    assert chain.fk_controls == ["FKShoulder_R", "FKElbow_R", "FKWrist_R"]
    assert chain.pole_control == "PoleIKArm_R" and chain.switch_control == ""
    assert chain.effector_target == "IKArm_R" and chain.effector_target_type == "Control"
    controls = by_name(planned)
    assert [controls[name].parent for name in chain.fk_controls] == ["FKChest_M", "FKShoulder_R", "FKElbow_R"]
    for name, joint in zip(chain.fk_controls, chain.bones):
        generated = controls[name].record
        assert (generated["type"], generated["joint"], generated["gizmo"], generated["worldSpace"]) == ("FK", joint, "Circle_Thick", False)
        assert generated["diameter"] == 6.0 and generated["color"] == [0.0, 0.5, 1.0]


def test_generated_fk_controls_default_to_the_limbs_parent_size_one_and_red(plan):
    arm = ik_arm()
    del arm["diameter"], arm["color"]
    arm["parent"] = ""
    planned, _ = plan["body_rig_prepare_fkik_controls"](rig_data([arm]))
    first = by_name(planned)["FKShoulder_R"].record
    assert first["parent"] == "Main" and first["diameter"] == 1.0 and first["color"] == [1.0, 0.0, 0.0]


def test_exported_fk_controls_are_used_by_joint_and_bendy_handles_are_not_planned(plan):
    controls = [{"name": "ShoulderFK_R", "type": "FK", "joint": "Shoulder_R"}, {"name": "FKElbow_R", "type": "Root", "joint": "Elbow_R"},
                {"name": "FKWrist_R", "type": "FK", "joint": "Wrist_R"}, ik_arm(),
                {"name": "BendArm_R", "type": "Bend"}, {"name": "BendMidArm_R", "type": "BendMid"}]
    planned, chains = plan["body_rig_prepare_fkik_controls"](rig_data(controls))
    assert chains[0].fk_controls == ["ShoulderFK_R", "FKElbow_R", "FKWrist_R"]
    assert [c.name for c in planned] == ["ShoulderFK_R", "FKElbow_R", "FKWrist_R", "IKArm_R"]


def test_the_placeholder_is_matched_by_bones_before_name(plan, capsys):
    by_bones = {"name": "FKIKRightArm", "type": "FKIK", "joint": "Wrist_R",
                "ik": {"startJoint": "Shoulder_R", "middleJoint": "Elbow_R"}}
    by_name_only = {"name": "FKIKArm_R", "type": "FKIK", "joint": "Wrist_R"}
    _, chains = plan["body_rig_prepare_fkik_controls"](rig_data([by_name_only, by_bones, ik_arm()]))
    assert chains[0].switch_control == "FKIKRightArm"
    _, chains = plan["body_rig_prepare_fkik_controls"](rig_data([by_name_only, ik_arm()]))
    assert chains[0].switch_control == "FKIKArm_R"
    capsys.readouterr()
    _, chains = plan["body_rig_prepare_fkik_controls"](rig_data([ik_arm()]))
    assert chains[0].switch_control == ""
    assert "No exported FKIK placeholder matches chain: Arm_R ['Shoulder_R', 'Elbow_R', 'Wrist_R']" in capsys.readouterr().out


@pytest.mark.parametrize("ik, default_ik", [({}, True), ({"defaultIK": False}, False), ({"defaultMode": "fk"}, False),
                                             ({"defaultIK": "ik", "defaultMode": 0}, True), ({"defaultIK": 0}, False)])
def test_a_limb_starts_in_ik_unless_its_record_says_otherwise(plan, ik, default_ik):
    _, chains = plan["body_rig_prepare_fkik_controls"](rig_data([ik_arm(**ik)]))
    assert chains[0].default_ik is default_ik


def test_the_local_ik_mode_is_kept_on_the_chain_and_the_ik_record(plan):
    arm = ik_arm()
    arm["controlAttributes"] = [{"name": "ikLocal", "value": "localOrient"}]
    planned, chains = plan["body_rig_prepare_fkik_controls"](rig_data([arm]))
    assert chains[0].ik_local_type == 2 and by_name(planned)["IKArm_R"].ik_local_type == 2
    assert chains[0].ik_local_control == ""
    _, chains = plan["body_rig_prepare_fkik_controls"](rig_data([ik_arm()]))
    assert chains[0].ik_local_type is None


def test_an_addctrl_limb_plans_its_local_ik_control_or_adopts_the_exported_one(plan):
    arm = ik_arm()
    arm["controlAttributes"] = [{"name": "ikLocal", "value": "addCtrl"}]
    planned, chains = plan["body_rig_prepare_fkik_controls"](rig_data([arm]))
    local = by_name(planned)["IKLocalArm_R"].record
    assert chains[0].ik_local_control == "IKLocalArm_R" and by_name(planned)["IKArm_R"].ik_local_control == "IKLocalArm_R"
    assert (local["type"], local["parent"], local["joint"]) == ("IKLocal", "IKArm_R", "Wrist_R")

    leg = {"name": "IKLeg_R", "type": "IK", "joint": "Ankle_R", "controlAttributes": [{"name": "ikLocal", "value": 0}],
           "ik": {"startJoint": "Hip_R", "middleJoint": "Knee_R", "endJoint": "Ankle_R"}}
    toe = {"name": "IKLocalLeg_R", "type": "ReverseFootToe", "parent": "RollToes_R", "joint": "Toes_R", "worldSpace": True}
    planned, chains = plan["body_rig_prepare_fkik_controls"](rig_data([leg, toe]))
    adopted = [c for c in planned if c.name == "IKLocalLeg_R"]
    assert len(adopted) == 1
    record = adopted[0].record
    assert (record["type"], record["parent"], record["joint"], record["worldSpace"], adopted[0].ik_local_type) == \
        ("ReverseFootToe", "IKLeg_R", "Ankle_R", False, 0)


def test_fk_branches_below_finished_limbs_follow_the_limb_result(plan):
    controls = [{"name": "FKRoot_M", "type": "Root", "joint": "Root_M"}, {"name": "RootX_M", "type": "Root", "joint": "Root_M"},
                {"name": "FKSpine1_M", "type": "FK", "joint": "Spine1_M"}, {"name": "FKHip_R", "type": "FK", "joint": "Hip_R"},
                {"name": "FKMiddle1_R", "joint": "Middle1_R", "parent": "FKWrist_R"},
                {"name": "FKToes_R", "type": "FK", "joint": "Toes_R"}, ik_arm()]
    data = rig_data(controls)
    planned, chains = plan["body_rig_prepare_fkik_controls"](data)
    plan["body_rig_attach_controls_after_fkik"](data, planned, chains)
    controls = by_name(planned)
    assert controls["FKHip_R"].parent == "LegLockConstrained" and controls["FKHip_R"].follows_leg_lock is True
    assert controls["FKSpine1_M"].parent == "FKParentConstraintToRoot_M"
    assert controls["FKSpine1_M"].follows_root_result_only is True
    hand = controls["FKMiddle1_R"]
    assert hand.parent == "FKParentConstraintToWrist_R" and not hand.follows_leg_lock
    assert (hand.follows_result_joint, hand.follows_root_result_only) == ("Wrist_R", False)
    # The ankle ends no planned chain here, so its toes keep their own parent.
    assert controls["FKToes_R"].follows_result_joint == "" and "parent" not in controls["FKToes_R"].record
    assert controls["FKShoulder_R"].follows_result_joint == ""

    # Without both root controls there is no leg lock: the thigh follows the root result too.
    without_lock = [c for c in copy.deepcopy(planned) if c.name != "RootX_M"]
    for control in without_lock:
        control.record.pop("parent", None)
    plan["body_rig_attach_controls_after_fkik"](data, without_lock, chains)
    assert by_name(without_lock)["FKHip_R"].parent == "FKParentConstraintToRoot_M"


def test_the_result_parent_name_is_a_safe_name(plan):
    name = plan["body_rig_fkik_result_parent_name"]
    assert name("Wrist_R") == "FKParentConstraintToWrist_R"
    assert name("Wrist R.001") == "FKParentConstraintToWrist_R_001"


# ---- switch channels ----------------------------------------------------------------------------------

@pytest.fixture
def placeholder_rig(editor, unreal):
    rig = unreal.ControlRigBlueprintFactory.create_new_control_rig_asset("/Game/Rigs/CR_Switch")
    controller = rig.get_hierarchy_controller()
    settings = unreal.RigControlSettings()
    controller.add_control("FKIKArm_R", unreal.RigElementKey(), settings,
                           unreal.RigHierarchy.make_control_value_from_euler_transform(unreal.EulerTransform()))
    return rig


def channel(unreal, rig, name):
    key = unreal.RigElementKey(type=unreal.RigElementType.CONTROL, name=name)
    return key, rig.get_hierarchy_controller().get_control_settings(key)


def limb(tool_script, chain_id, switch_control, default_ik):
    """The chain plan of a limb whose switch channels sit on switch_control."""
    return tool_script["ChainPlan"](id=chain_id, ik_control="IK" + chain_id, pole_control="", bones=[], fk_controls=[],
                                    switch_control=switch_control, default_ik=default_ik)


def float_value(unreal, hierarchy, key, value_type):
    return unreal.RigHierarchy.get_float_from_control_value(hierarchy.get_control_value(key, value_type))


def test_each_placeholder_gets_the_four_switch_channels_with_their_ranges_and_start_values(unreal, tool_script, placeholder_rig, capsys):
    hierarchy, controller = placeholder_rig.hierarchy, placeholder_rig.get_hierarchy_controller()
    record = {"name": "FKIKArm_R", "type": "FKIK",
              "controlAttributes": [{"name": "FKIKBlend", "value": 4}, {"name": "FKVis", "value": False}]}
    chain = limb(tool_script, "Arm_R", "FKIKArm_R", True)
    assert tool_script["body_rig_make_fkik_channels"](tool_script["RigElements"](hierarchy, controller), chain, {"FKIKArm_R": record}) == 4
    placeholder = unreal.RigElementKey(type=unreal.RigElementType.CONTROL, name="FKIKArm_R")

    key, settings = channel(unreal, placeholder_rig, "FKIKArm_R_FKIKBlend")
    assert settings.animation_type == unreal.RigControlAnimationType.ANIMATION_CHANNEL
    assert settings.control_type == unreal.RigControlType.FLOAT and str(settings.display_name) == "FKIKBlend"
    assert settings.draw_limits and settings.limit_enabled[0].minimum and settings.limit_enabled[0].maximum
    assert [float_value(unreal, hierarchy, key, value_type) for value_type in
            (unreal.RigControlValueType.INITIAL, unreal.RigControlValueType.CURRENT,
             unreal.RigControlValueType.MINIMUM, unreal.RigControlValueType.MAXIMUM)] == [4.0, 4.0, 0.0, 10.0]
    assert hierarchy.get_first_parent(key) == placeholder
    for name, expected in (("autoVis", True), ("FKVis", False), ("IKVis", True)):
        key, settings = channel(unreal, placeholder_rig, "FKIKArm_R_" + name)
        assert settings.control_type == unreal.RigControlType.BOOL and str(settings.display_name) == name
        for value_type in (unreal.RigControlValueType.INITIAL, unreal.RigControlValueType.CURRENT):
            assert hierarchy.get_control_value(key, value_type) == unreal.RigHierarchy.make_control_value_from_bool(expected)

    # A second pass makes nothing new; a limb without its placeholder says so and makes nothing.
    assert tool_script["body_rig_make_fkik_channels"](tool_script["RigElements"](hierarchy, controller), chain, {"FKIKArm_R": record}) == 0
    missing = limb(tool_script, "Leg_L", "FKIKLeg_L", True)
    capsys.readouterr()
    assert tool_script["body_rig_make_fkik_channels"](tool_script["RigElements"](hierarchy, controller), missing, {}) == 0
    assert "FKIK placeholder control is missing; channels skipped: FKIKLeg_L Leg_L" in capsys.readouterr().out


@pytest.mark.parametrize("default_ik, blend", [(True, 10.0), (False, 0.0)])
def test_without_an_exported_blend_the_limb_starts_where_it_defaults(unreal, tool_script, placeholder_rig, default_ik, blend):
    hierarchy, controller = placeholder_rig.hierarchy, placeholder_rig.get_hierarchy_controller()
    chain = limb(tool_script, "Arm_R", "FKIKArm_R", default_ik)
    tool_script["body_rig_make_fkik_channels"](tool_script["RigElements"](hierarchy, controller), chain, {"FKIKArm_R": {"name": "FKIKArm_R"}})
    key = unreal.RigElementKey(type=unreal.RigElementType.CONTROL, name="FKIKArm_R_FKIKBlend")
    assert unreal.RigHierarchy.get_float_from_control_value(hierarchy.get_control_value(key, unreal.RigControlValueType.INITIAL)) == blend


def test_the_roots_own_part_joints_follow_the_root_result_as_the_spine_does(plan):
    controls = [{"name": "FKRoot_M", "type": "Root", "joint": "Root_M"}, {"name": "RootX_M", "type": "Root", "joint": "Root_M"},
                {"name": "FKRootPart1_M", "type": "FK", "joint": "RootPart1_M"}, {"name": "FKHip_R", "type": "FK", "joint": "Hip_R"}]
    data = rig_data(controls, [("Root_M", ""), ("RootPart1_M", "Root_M"), ("Spine1_M", "RootPart1_M"), ("Hip_R", "Root_M")])
    planned, chains = plan["body_rig_prepare_fkik_controls"](data)
    plan["body_rig_attach_controls_after_fkik"](data, planned, chains)
    controls = by_name(planned)
    assert controls["FKRootPart1_M"].parent == "FKParentConstraintToRoot_M" and not controls["FKRootPart1_M"].follows_leg_lock
    assert controls["FKHip_R"].parent == "LegLockConstrained"
