"""The reverse foot's plan and hierarchy: the leg chain takes the foot's controls and aims at the foot's
target; the sample's feet get their channels, rock pivots and rollers in one verified chain from the
IK control down to the target. How the foot rolls and rocks is proven by the posing evaluation."""

import pytest


def leg_plans(tool_script):
    plan = tool_script["PlannedControl"]
    return [plan({"name": name, "type": kind, "joint": joint, "parent": parent}) for name, kind, joint, parent in (
        ("IKLeg_R", "IK", "Ankle_R", "Main"), ("RollHeel_R", "ReverseFoot", "Ankle_R", "IKLeg_R"),
        ("RollToesEnd_R", "ReverseFoot", "Ankle_R", "RollHeel_R"), ("RollToes_R", "ReverseFoot", "Ankle_R", "RollToesEnd_R"),
        ("IKToes_R", "ReverseFootToe", "Toes_R", "RollToesEnd_R"), ("IKLocalLeg_R", "ReverseFootToe", "Ankle_R", "IKLeg_R"),
        ("FKToes_R", "FK", "Toes_R", "FKAnkle_R"))]


def leg_chain(tool_script):
    return tool_script["ChainPlan"](id="Leg_R", ik_control="IKLeg_R", pole_control="PoleLeg_R",
                                    bones=["Hip_R", "Knee_R", "Ankle_R"], fk_controls=["FKHip_R", "FKKnee_R", "FKAnkle_R"],
                                    switch_control="FKIKLeg_R", default_ik=True, effector_target="IKLeg_R")


def foot(**changes):
    record = {"ikControl": "IKLeg_R", "targetParent": "RollToes_R", "endJoint": "Ankle_R",
              "controls": ["RollHeel_R", "RollToesEnd_R", "RollToes_R", "IKToes_R", "IKLocalLeg_R", "NotPlanned_R"]}
    record.update(changes)
    return {"reverseFootSystems": [record]}


def test_the_leg_chain_takes_the_foot_and_aims_at_its_target(tool_script):
    plans, chain = leg_plans(tool_script), leg_chain(tool_script)
    systems = tool_script["body_rig_prepare_reverse_foot"](foot(), plans, [chain])
    assert [system.target for system in systems] == ["IKLeg_R_ReverseFootTarget"]
    assert (chain.effector_target, chain.effector_target_type) == ("IKLeg_R_ReverseFootTarget", "Null")
    assert chain.ik_controls == ["IKLeg_R", "RollHeel_R", "RollToesEnd_R", "RollToes_R", "IKToes_R", "IKLocalLeg_R"]
    # The local IK control is exported as a toe but is none; the real toe switches with the leg's FK side.
    assert chain.toe_targets == [("IKToes_R", "Toes_R", "IKToes_R_ReverseFootToeTarget")]
    assert chain.fk_controls[-1] == "FKToes_R"
    by_name = {plan.name: plan.record for plan in plans}
    assert by_name["RollHeel_R"]["shapeRotationOverride"] == [0.0, 90.0, 0.0]
    assert by_name["RollToes_R"]["shapeRotationOverride"] == [0.0, 90.0, 0.0]
    assert "shapeRotationOverride" not in by_name["IKToes_R"]


@pytest.mark.parametrize("changes", [{"targetParent": "NotPlanned_R"}, {"targetParent": "Main"}, {"ikControl": "IKArm_R"}])
def test_a_foot_without_its_target_parent_or_chain_leaves_the_leg_alone(tool_script, changes):
    plans, chain = leg_plans(tool_script), leg_chain(tool_script)
    assert tool_script["body_rig_prepare_reverse_foot"](foot(**changes), plans, [chain]) == []
    assert (chain.effector_target, chain.effector_target_type, chain.toe_targets) == ("IKLeg_R", "Control", [])


@pytest.mark.parametrize("maya, unreal_axis", [("z", "-Y"), ("y", "-Z"), ("X", "-X"), ("-z", "Y"), ("+y", "-Z"), ("w", "w")])
def test_a_maya_rock_axis_becomes_the_placed_pivots_own_axis(tool_script, maya, unreal_axis):
    assert tool_script["body_rig_rock_axis_in_unreal"](maya) == unreal_axis


def test_the_sample_feet_hang_in_one_verified_chain_with_their_channels(editor, unreal, tool_script, hero, capsys):
    rig = tool_script["create_body_control_rig_from_json"]()
    assert "Verified reverse-foot hierarchy parent links: 20" in capsys.readouterr().out
    hierarchy = rig.hierarchy
    by_name = {str(key.name): key for key in hierarchy.get_all_keys(True)}
    for side in ("R", "L"):
        chain = ["IKLeg_", "RockInner_", "RockOuter_", "RollRollerHeel_", "RollHeel_", "RollRollerToesEnd_", "RollToesEnd_",
                 "RollRollerToes_", "RollToes_"]
        names = [stem + side for stem in chain] + ["IKLeg_%s_ReverseFootTarget" % side]
        for parent, child in zip(names, names[1:]):
            assert str(hierarchy.get_first_parent(by_name[child]).name) == parent, child
        assert str(hierarchy.get_first_parent(by_name["IKToes_" + side]).name) == "RollToesEnd_" + side
        assert str(hierarchy.get_first_parent(by_name["IKToes_%s_ReverseFootToeTarget" % side]).name) == "IKToes_" + side
        for channel, limits in (("roll", (-30.0, 60.0)), ("rock", (-60.0, 60.0))):
            key = by_name["IKLeg_%s_%s" % (side, channel)]
            values = [unreal.RigHierarchy.get_float_from_control_value(hierarchy.get_control_value(key, kind))
                      for kind in (unreal.RigControlValueType.MINIMUM, unreal.RigControlValueType.MAXIMUM)]
            assert tuple(values) == limits


def test_a_foot_with_too_few_pivots_gets_no_rollers_and_the_rest_of_the_rig_is_built(editor, unreal, tool_script, hero, tmp_path):
    import json
    import os
    from conftest import SAMPLE_HERO
    with open(os.path.join(SAMPLE_HERO, "SampleHero_BodyRig.json"), encoding="utf-8") as source:
        document = json.load(source)
    for system in document["rig"]["reverseFootSystems"]:
        if system["ikControl"] == "IKLeg_L":
            system["controls"] = ["RollHeel_L", "RollToes_L", "IKToes_L"]
            system["targetParent"] = "RollToes_L"
    variant = tmp_path / "Variant_BodyRig.json"
    variant.write_text(json.dumps(document))
    tool_script["set_body_json_file"](str(variant))
    rig = tool_script["create_body_control_rig_from_json"]()
    names = {str(key.name) for key in rig.hierarchy.get_all_keys(True)}
    # The left foot keeps its target and channels but has no rollers; the right foot is whole.
    assert "IKLeg_L_ReverseFootTarget" in names and "IKLeg_L_roll" in names
    assert not {name for name in names if name.startswith("RollRoller") and name.endswith("_L")}
    assert {"RollRollerHeel_R", "RollRollerToesEnd_R", "RollRollerToes_R"} <= names
    evaluation = editor.RigEvaluation(rig)
    assert evaluation.run_forwards_solve(2), evaluation.report()["errors"]
