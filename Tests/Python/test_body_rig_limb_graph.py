"""The forward graph of a two-bone limb (effector target by local IK mode, solver pins, switch weight,
visibility, pole line, leg pole constraint), the plain forward control, and the follow and result
constraints. Nodes are found by where the emitters put them, since the graph names nodes itself."""

import pytest


@pytest.fixture
def graph_rig(editor, unreal, tool_script):
    unreal.load_module("ControlRigDeveloper")
    rig = unreal.ControlRigBlueprintFactory.create_new_control_rig_asset("/Game/Rigs/CR_Limb")
    return rig.get_controller(rig.get_model())


@pytest.fixture
def graph(tool_script, graph_rig):
    """One build's graph over the rig's graph controller."""
    return tool_script["RigGraph"](graph_rig)


def node_at(controller, x, y):
    found = [node for node in controller.get_graph().get_nodes() if (node.get_position().x, node.get_position().y) == (x, y)]
    assert len(found) == 1, (x, y, [node.get_node_path() for node in found])
    return found[0]


def default(node, pin):
    return node.find_pin(pin).get_default_value()


def sources(node, pin):
    return [str(source.get_pin_path()) for source in node.find_pin(pin).get_linked_source_pins()]


def leg(**ik):
    record = {"name": "IKLeg_R", "type": "IK", "joint": "Ankle_R",
              "ik": {"startJoint": "Hip_R", "middleJoint": "Knee_R", "endJoint": "Ankle_R", "poleControl": "PoleLeg_R",
                     "secondaryAxis": [0.0, 0.0, 1.0], "poleLineLength": 50.0}}
    record["ik"].update(ik)
    return record


def chain(tool_script, **fields):
    """A leg's chain plan, with fields replaced."""
    plan = dict(id="Leg_R", ik_control="IKLeg_R", pole_control="PoleLeg_R", bones=["Hip_R", "Knee_R", "Ankle_R"],
                fk_controls=["FKHip_R", "FKKnee_R"], switch_control="FKIKLeg_R", default_ik=True,
                effector_target="IKLeg_R")
    plan.update(fields)
    return tool_script["ChainPlan"](**plan)


def test_a_leg_solves_with_its_exported_axes_pole_and_blend(tool_script, graph_rig, graph):
    exec_pin = tool_script["body_rig_add_ik_solve"](graph, leg(), chain(tool_script), "", 1000, 2000)
    solver = node_at(graph_rig, 1300, 2000)
    assert [default(solver, pin + ".Name") for pin in ("ItemA", "ItemB", "EffectorItem", "PoleVectorSpace")] == \
        ["Hip_R", "Knee_R", "Ankle_R", "PoleLeg_R"]
    assert [float(default(solver, "SecondaryAxis." + axis)) for axis in "XYZ"] == [0.0, 0.0, 1.0]
    assert [float(default(solver, "PrimaryAxis." + axis)) for axis in "XYZ"] == [1.0, 0.0, 0.0]
    # The pole is the pole control's own location.
    assert default(solver, "PoleVectorKind") == "Location"
    assert [float(default(solver, "PoleVector." + axis)) for axis in "XYZ"] == [0.0, 0.0, 0.0]
    normalise = node_at(graph_rig, 960, 2080)
    assert sources(solver, "Weight") == [str(normalise.get_node_path()) + ".Result"]
    # The leg's pole space follows the IK handle, before the solver runs.
    constraint = node_at(graph_rig, 1300, 1670)
    assert (default(constraint, "Child.Name"), default(constraint, "Parents.0.Item.Name")) == ("PoleLeg_R_Space", "IKLeg_R")
    assert sources(solver, "ExecuteContext") == [str(constraint.get_node_path()) + ".ExecuteContext"]
    line = node_at(graph_rig, 2030, 1830)
    assert float(default(line, "Thickness")) == pytest.approx(0.5)
    assert sources(line, "bEnabled"), "the pole line shows with the IK side"
    # Visibility: two FK controls, the IK control and the pole, chained after the pole line.
    setters = [node_at(graph_rig, 1700 + 220 * index, 2080) for index in range(4)]
    assert [default(node, "Item.Name") for node in setters] == ["FKHip_R", "FKKnee_R", "IKLeg_R", "PoleLeg_R"]
    assert sources(setters[0], "ExecuteContext") == [str(line.get_node_path()) + ".ExecuteContext"]
    assert exec_pin == str(setters[-1].get_node_path()) + ".ExecuteContext"


@pytest.mark.parametrize("default_ik, weight", [(True, 1.0), (False, 0.0)])
def test_without_a_placeholder_the_weight_is_constant_and_nothing_hides(tool_script, graph_rig, default_ik, weight, graph):
    arm = {"name": "IKArm_R", "type": "IK", "joint": "Wrist_R",
           "ik": {"startJoint": "Shoulder_R", "middleJoint": "Elbow_R", "poleLineLength": -5}}
    plan = chain(tool_script, id="Arm_R", ik_control="IKArm_R", pole_control="PoleArm_R", switch_control="", default_ik=default_ik,
                 effector_target="IKArm_R")
    tool_script["body_rig_add_ik_solve"](graph, arm, plan, "", 0, 0)
    solver = node_at(graph_rig, 300, 0)
    assert float(default(solver, "Weight")) == weight and not sources(solver, "Weight")
    assert default(solver, "PoleVectorSpace.Name") == "PoleArm_R"
    line = node_at(graph_rig, 330 + 700, 70 - 240)
    assert float(default(line, "Thickness")) == 0.0 and not sources(line, "bEnabled")
    titles = [str(node.get_node_path()) for node in graph_rig.get_graph().get_nodes()]
    assert not [title for title in titles if "Visibility" in title or "Constraint" in title or "If" in title]


@pytest.mark.parametrize("mode, target, compensated", [(None, "IKLeg_R", True), (0, "IKLocalLeg_R", False),
                                                       (1, "IKLeg_R", False), (2, "IKLeg_R", False)])
def test_the_effector_target_follows_the_local_ik_mode(tool_script, graph_rig, mode, target, compensated, graph):
    plan = chain(tool_script, ik_local_type=mode, ik_local_control="IKLocalLeg_R" if mode == 0 else "")
    tool_script["body_rig_add_ik_solve"](graph, leg(), plan, "", 0, 0)
    reader = node_at(graph_rig, 0, -90)
    assert default(reader, "Item.Name") == target
    solver = node_at(graph_rig, 300, 0)
    if compensated:
        bind = node_at(graph_rig, -260, -210)
        assert (default(bind, "Item.Name"), default(bind, "bInitial")) == ("Ankle_R", "True")
        multiply = node_at(graph_rig, 30, -150)
        assert sources(solver, "Effector") == [str(multiply.get_node_path()) + ".Result"]
    else:
        assert sources(solver, "Effector") == [str(reader.get_node_path()) + ".Transform"]


def test_a_null_target_is_always_compensated(tool_script, graph_rig, graph):
    plan = chain(tool_script, ik_local_type=1, effector_target="IKLeg_R_Target", effector_target_type="Null")
    tool_script["body_rig_add_ik_solve"](graph, leg(), plan, "", 0, 0)
    assert default(node_at(graph_rig, 0, -90), "Item.Type") == "Null"
    node_at(graph_rig, 30, -150)


@pytest.mark.parametrize("ik", [{"middleJoint": "Knee_R"}, {"startJoint": "Hip_R"}, {"startJoint": "Hip_R", "middleJoint": "Knee_R"}])
def test_an_ik_record_planning_skipped_as_incomplete_gets_no_solve(tool_script, graph_rig, ik, graph):
    record = {"name": "IKLeg_R", "type": "IK", "ik": dict(ik)}  # the last one has no end bone and no joint
    before = len(graph_rig.get_graph().get_nodes())
    assert tool_script["body_rig_add_ik_solve"](graph, record, None, "Sequence.A", 0, 0) == "Sequence.A"
    assert len(graph_rig.get_graph().get_nodes()) == before


def test_leg_test_and_forward_heights(tool_script):
    is_leg = tool_script["body_rig_is_leg_ik"]
    assert is_leg("IKLeg_L", {}) and is_leg("IKFoot", {"startJoint": "Thigh_L"}) and is_leg("X", {"middleJoint": "Knee"})
    assert not is_leg("IKArm_R", {"startJoint": "Shoulder_R", "middleJoint": "Elbow_R"})
    height = tool_script["body_rig_forward_control_height"]
    assert height({"type": "IK"}) == 700 and height({"type": "IK"}, {"id": "Leg"}) == 900
    assert height({"type": "Other"}) == 280
    driving = {"type": "DrivingSystem", "drivingSystem": [{"relationships": [{}, {}]}, {"relationships": [{}]}]}
    assert height(driving) == 670 and height({"type": "DrivingSystem"}) == 360


def test_a_plain_control_copies_onto_its_joint_and_skipped_kinds_add_nothing(tool_script, graph_rig, graph):
    add = tool_script["body_rig_add_forward_control"]
    for record in ({"name": "Main"}, {"name": "FKHead_M", "type": "FK", "joint": "Head_M"},
                   {"name": "FKIKArm_R", "type": "FKIK", "joint": "Wrist_R"}):
        assert add(graph, record, {}, {}, "Begin.ExecuteContext", 0, 0) == "Begin.ExecuteContext"
    assert [str(node.get_node_path()) for node in graph_rig.get_graph().get_nodes()] == ["RigUnit_BeginExecution"]
    exec_pin = add(graph, {"name": "Eye_L", "type": "Aim", "joint": "Eye_L"}, {}, {}, "", 3000, 0)
    getter, setter = node_at(graph_rig, 3000, 0), node_at(graph_rig, 3300, 0)
    assert (default(getter, "Item.Type"), default(getter, "Item.Name")) == ("Control", "Eye_L")
    assert (default(setter, "Item.Type"), default(setter, "Item.Name"), default(setter, "bPropagateToChildren")) == \
        ("Bone", "Eye_L", "True")
    assert sources(setter, "Value") == [str(getter.get_node_path()) + ".Transform"]
    assert exec_pin == str(setter.get_node_path()) + ".ExecuteContext"


def test_placeholders_follow_their_joints_and_fk_branches_follow_limb_results(tool_script, graph_rig, graph):
    controls = [{"name": "FKIKLeg_R", "type": "FKIK", "joint": "Hip_R"}, {"name": "FKIKNoJoint", "type": "FKIK"},
                {"name": "FKIKArm_R", "type": "FKIK", "joint": "Wrist_R"}]
    tool_script["body_rig_add_fkik_follow_constraints"](graph, controls, "", 3000, 0)
    follows = [node_at(graph_rig, 3000, 130 * row) for row in range(2)]
    assert [(default(node, "Child.Name"), default(node, "Parents.0.Item.Name")) for node in follows] == \
        [("FKIKLeg_R", "Hip_R"), ("FKIKArm_R", "Wrist_R")]

    plan = tool_script["PlannedControl"]
    followers = [plan({"name": "FKMiddle1_R", "joint": "Middle1_R"}, follows_result_joint="Wrist_R"),
                 plan({"name": "FKSpine1_M", "joint": "Spine1_M"}, follows_result_joint="Root_M", follows_root_result_only=True),
                 plan({"name": "FKOther", "joint": "Other"})]
    exec_pin, count = tool_script["body_rig_add_fkik_result_parent_constraints"](graph, followers, "", 5000, 0)
    assert count == 2
    helper_set = node_at(graph_rig, 5320, 0)
    assert (default(helper_set, "Item.Type"), default(helper_set, "Item.Name")) == ("Null", "FKParentConstraintToWrist_R")
    assert default(node_at(graph_rig, 5940, 0), "Item.Name") == "Middle1_R"
    assert default(node_at(graph_rig, 5320, 180), "Item.Name") == "FKParentConstraintToRoot_M"
    assert not [node for node in graph_rig.get_graph().get_nodes() if node.get_position().y == 180 and node.get_position().x > 5320]
    assert exec_pin == str(node_at(graph_rig, 5320, 180).get_node_path()) + ".ExecuteContext"
