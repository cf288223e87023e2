"""The standard twist solution as planned and built: the twist chains read from the joints' fit
attributes, the limbs they join into, labels and snapshot names, the endpoint snapshot nulls and the
graph a limb gets. How the twist spreads over the part joints is proven by the posing evaluation."""

import itertools
import math

import pytest

from graph_execution import assert_graph_executes, executed_nodes
from test_body_rig_limb_graph import default, graph, graph_rig, node_at, sources  # noqa: F401 (fixtures)

BEGIN = "RigUnit_BeginExecution.ExecuteContext"
_rig_numbers = itertools.count()


def joint(name, parent="", twist=None):
    record = {"name": name, "parent": parent}
    if twist is not None:
        record["fitJointInfo"] = {"attributes": [{"name": "other", "value": 7}, {"name": "twistJoints", "value": twist}]}
    return record


def arm_joints(shoulder_twist=2, elbow_twist=2):
    """A left arm as Maya's rig exports it: two twist parts on the upper arm and on the forearm, a
    partial joint beside the elbow and a slider joint beside the wrist."""
    return [joint("Scapula_L"), joint("Shoulder_L", "Scapula_L", shoulder_twist),
            joint("ShoulderPart1_L", "Shoulder_L"), joint("ShoulderPart2_L", "ShoulderPart1_L"),
            joint("Elbow_L", "ShoulderPart2_L", elbow_twist), joint("ElbowPartial_L", "ShoulderPart2_L"),
            joint("ElbowPart1_L", "Elbow_L"), joint("ElbowPart2_L", "ElbowPart1_L"),
            joint("Wrist_L", "ElbowPart2_L"), joint("WristSlider_L", "ElbowPart2_L"), joint("Middle1_L", "Wrist_L")]


def chains_of(tool_script, joints):
    return [(chain.root, chain.parts, chain.endpoint) for chain in tool_script["standard_twist_chains_from_joints"]({"joints": joints})]


def replaced(joints, name, **fields):
    return [dict(record, **fields) if record["name"] == name else record for record in joints]


UPPER_ARM = ("Shoulder_L", ["ShoulderPart1_L", "ShoulderPart2_L"], "Elbow_L")
FOREARM = ("Elbow_L", ["ElbowPart1_L", "ElbowPart2_L"], "Wrist_L")


# ---- chains -----------------------------------------------------------------------------------------

def test_a_twist_root_chains_its_parts_to_the_main_joint_after_them(tool_script, capsys):
    # The elbow's partial joint hangs from the last part too, but is not the main joint.
    assert chains_of(tool_script, arm_joints(elbow_twist=None)) == [UPPER_ARM]
    assert chains_of(tool_script, arm_joints()) == [UPPER_ARM, FOREARM]
    assert capsys.readouterr().out == ""


@pytest.mark.parametrize("twist, parts", [(1, 1), (1.9, 1), ("2", 2), (3, 3)])
def test_the_twist_count_is_the_whole_number_of_parts(tool_script, twist, parts):
    names = ["Knee_R"] + ["KneePart%d_R" % index for index in range(1, parts + 1)]
    joints = [joint("Knee_R", "", twist)] + [joint(child, parent) for parent, child in zip(names, names[1:])]
    joints.append(joint("Ankle_R", names[-1]))
    assert chains_of(tool_script, joints) == [("Knee_R", names[1:], "Ankle_R")]


@pytest.mark.parametrize("name, twist", [("Shoulder_L", 0), ("Shoulder_L", -2), ("Shoulder_L", "two"),
                                         ("Shoulder_L", None), ("Shoulder", 2), ("Shoulder_X", 2)])
def test_joints_without_twist_parts_or_a_side_make_no_chain_and_say_nothing(tool_script, capsys, name, twist):
    joints = [joint(name, "", twist), joint(name + "Part1", name), joint("ShoulderPart1_L", name),
              joint("ShoulderPart2_L", "ShoulderPart1_L"), joint("Elbow_L", "ShoulderPart2_L")]
    assert chains_of(tool_script, joints) == []
    assert capsys.readouterr().out == ""


@pytest.mark.parametrize("joints, parts, twist", [
    (replaced(arm_joints(), "ShoulderPart2_L", parent="Shoulder_L"), "ShoulderPart1_L, ShoulderPart2_L", 2),
    ([record for record in arm_joints() if record["name"] != "ShoulderPart1_L"], "ShoulderPart1_L, ShoulderPart2_L", 2),
    (replaced(arm_joints(), "Shoulder_L", fitJointInfo={"attributes": [{"name": "twistJoints", "value": 3}]}),
     "ShoulderPart1_L, ShoulderPart2_L, ShoulderPart3_L", 3),
])
def test_a_part_out_of_place_skips_its_chain_and_the_others_still_build(tool_script, capsys, joints, parts, twist):
    assert chains_of(tool_script, joints) == [FOREARM]
    assert capsys.readouterr().out == \
        "Standard Twist Solution skipped for Shoulder_L: expected %s from Fit-joint twistJoints=%d\n" % (parts, twist)


@pytest.mark.parametrize("children", [
    [],                                              # nothing after the parts
    ["Wrist_L", "Thumb1_L"],                         # two main joints
    ["WristPartial_L", "WristSlider_L"],             # only helper joints
])
def test_the_main_joint_after_the_parts_must_be_the_only_one(tool_script, capsys, children):
    joints = [record for record in arm_joints() if record["parent"] != "ElbowPart2_L"]
    joints += [joint(child, "ElbowPart2_L") for child in children]
    assert chains_of(tool_script, joints) == [UPPER_ARM]
    assert capsys.readouterr().out == "Standard Twist Solution skipped for Elbow_L: could not identify the main joint after ElbowPart2_L\n"


# ---- limbs, labels and names ------------------------------------------------------------------------

def chain(tool_script, root, endpoint):
    return tool_script["StandardTwistChain"](root=root, parts=[root + "Part1"], endpoint=endpoint)


@pytest.mark.parametrize("links, limbs", [
    ([("A", "B"), ("B", "C"), ("D", "E")], [["A", "B"], ["D"]]),
    ([("B", "C"), ("A", "B")], [["A", "B"]]),                      # a limb starts at its first root, whatever the order
    ([("A", "B"), ("B", "C"), ("C", "D")], [["A", "B", "C"]]),
    ([("A", "B"), ("B", "A"), ("C", "D")], [["C"], ["A"], ["B"]]),  # a loop of chains: each chain alone, after the rest
])
def test_chains_join_end_to_root_into_limbs(tool_script, links, limbs):
    chains = [chain(tool_script, root, endpoint) for root, endpoint in links]
    components = tool_script["standard_twist_components"](chains)
    assert [[member.root for member in component] for component in components] == limbs


@pytest.mark.parametrize("root, label, prefix", [
    ("Shoulder_L", "Arm_L", "ArmL"), ("Elbow_R", "Arm_R", "ArmR"), ("Hip_R", "Leg_R", "LegR"), ("Knee_L", "Leg_L", "LegL"),
    ("Neck_M", "Neck_M", "NeckM"), ("UpperArm_L", "UpperArm_L", "UpperArmL"), ("Tail", "Tail", "Tail"),
    ("Wing_Tip", "Wing_Tip", "WingTip"),
])
def test_a_limb_is_labelled_by_its_first_root(tool_script, root, label, prefix):
    assert tool_script["standard_twist_component_label"](root) == label
    assert tool_script["standard_twist_prefix_label"](label) == prefix


@pytest.mark.parametrize("endpoint, name", [("Elbow_L", "VNTwistPose_Elbow_L"), ("Wrist R", "VNTwistPose_Wrist_R"), ("", "VNTwistPose")])
def test_the_endpoint_snapshot_is_named_after_the_endpoint(tool_script, endpoint, name):
    assert tool_script["standard_twist_snapshot_name"](endpoint) == name


# ---- snapshot nulls -----------------------------------------------------------------------------------

ARM_BONES = (("Scapula_L", "", (10.0, 0.0, 150.0), 0.0), ("Shoulder_L", "Scapula_L", (20.0, 0.0, 150.0), -30.0),
             ("ShoulderPart1_L", "Shoulder_L", (30.0, 0.0, 150.0), -30.0), ("ShoulderPart2_L", "ShoulderPart1_L", (40.0, 0.0, 150.0), -30.0),
             ("Elbow_L", "ShoulderPart2_L", (50.0, 0.0, 150.0), -30.0), ("ElbowPart1_L", "Elbow_L", (60.0, 0.0, 150.0), -30.0),
             ("ElbowPart2_L", "ElbowPart1_L", (70.0, 0.0, 150.0), -30.0), ("Wrist_L", "ElbowPart2_L", (80.0, 0.0, 150.0), 10.0))


def make_arm_rig(unreal, tool_script, rolled=True):
    """A Control Rig whose bones are the arm's main and part joints (each turned about the arm by its
    roll, or all in the world's orientation), with the RigElements the builders edit it through."""
    unreal.load_module("ControlRigDeveloper")
    blueprint = unreal.ControlRigBlueprintFactory.create_new_control_rig_asset("/Game/Rigs/CR_Twist%d" % next(_rig_numbers))
    controller = blueprint.get_hierarchy_controller()
    keys = {}
    for name, parent, location, roll in ARM_BONES:
        keys[name] = controller.add_bone(name, keys.get(parent, unreal.RigElementKey()), unreal.Transform(
            location=unreal.Vector(*location), rotation=unreal.Rotator(roll=roll if rolled else 0.0)), True)
    return blueprint, tool_script["RigElements"](blueprint.hierarchy, controller)


@pytest.fixture
def arm_rig(editor, unreal, tool_script):
    return make_arm_rig(unreal, tool_script)


def test_each_chain_endpoint_gets_one_snapshot_null_under_helpers_where_its_bone_rests(unreal, tool_script, arm_rig, capsys):
    blueprint, elements = arm_rig
    make = tool_script["body_rig_make_standard_twist_snapshot_spaces"]
    # The forearm's endpoint is not a bone of this rig: it gets no snapshot.
    joints = arm_joints() + [joint("Knee_R", "", 1), joint("KneePart1_R", "Knee_R"), joint("Ankle_R", "KneePart1_R")]
    assert make(elements, {"joints": joints}, {}) == 2
    hierarchy = blueprint.hierarchy
    helpers = unreal.RigElementKey(type=unreal.RigElementType.NULL, name="Helpers")
    for endpoint in ("Elbow_L", "Wrist_L"):
        snapshot = unreal.RigElementKey(type=unreal.RigElementType.NULL, name="VNTwistPose_" + endpoint)
        assert hierarchy.get_first_parent(snapshot) == helpers
        made = hierarchy.get_global_transform(snapshot, True)
        bone = hierarchy.get_global_transform(unreal.RigElementKey(type=unreal.RigElementType.BONE, name=endpoint), True)
        assert (made.translation.x, made.translation.y, made.translation.z) == \
            pytest.approx((bone.translation.x, bone.translation.y, bone.translation.z), abs=1e-6)
        assert abs(sum(getattr(made.rotation, c) * getattr(bone.rotation, c) for c in "xyzw")) == pytest.approx(1.0, abs=1e-9)
    assert "VNTwistPose_Ankle_R" not in {str(key.name) for key in hierarchy.get_all_keys(True)}
    # Made once: a second pass finds them.
    assert make(elements, {"joints": joints}, {}) == 0
    assert len([key for key in hierarchy.get_all_keys(True) if str(key.name).startswith("VNTwistPose_")]) == 2


# ---- the graph ----------------------------------------------------------------------------------------

def path(node, pin):
    return "%s.%s" % (node.get_node_path(), pin)


def assert_local_rotation_since_bind(controller, bone, x, y, consumer, pin):
    """The reader pair and relative transform of body_rig_add_local_initial_rotation at (x, y) on bone,
    feeding consumer's pin."""
    current, initial, relative = node_at(controller, x, y), node_at(controller, x, y + 190), node_at(controller, x + 360, y + 95)
    assert (default(current, "Item.Name"), default(current, "Space"), default(current, "bInitial")) == (bone, "LocalSpace", "False")
    assert (default(initial, "Item.Name"), default(initial, "Space"), default(initial, "bInitial")) == (bone, "LocalSpace", "True")
    assert sources(relative, "Global") == [path(current, "Transform")]
    assert sources(relative, "Parent") == [path(initial, "Transform")]
    assert sources(consumer, pin) == [path(relative, "Local.Rotation")]


def assert_bind_times(controller, bone, x, y, solution):
    """The bind-rotation multiply of bone at (x, y) whose second operand is the pin solution; returns
    the multiply node."""
    initial, multiply = node_at(controller, x, y), node_at(controller, x + 320, y)
    assert (default(initial, "Item.Name"), default(initial, "Space"), default(initial, "bInitial")) == (bone, "LocalSpace", "True")
    assert sources(multiply, "A") == [path(initial, "Transform.Rotation")]
    assert sources(multiply, "B") == [solution]
    return multiply


def assert_rotation_setter(controller, x, y, bone, space, propagate, value):
    setter = node_at(controller, x, y)
    assert (default(setter, "Item.Type"), default(setter, "Item.Name")) == ("Bone", bone)
    assert (default(setter, "Space"), default(setter, "bInitial"), default(setter, "bPropagateToChildren")) == (space, "False", propagate)
    assert sources(setter, "Value") == [value]
    return setter


def test_an_arm_solves_its_upper_then_its_lower_twist_between_endpoint_captures(unreal, tool_script, arm_rig, capsys):
    blueprint, elements = arm_rig
    graph = tool_script["RigGraph"](blueprint.get_controller(blueprint.get_model()))
    controller = graph.controller
    tool_script["body_rig_make_standard_twist_snapshot_spaces"](elements, {"joints": arm_joints()}, {})
    exec_pin, added, height = tool_script["add_standard_twist_solution"](graph, elements, {"joints": arm_joints()}, BEGIN, 0)
    assert capsys.readouterr().out == "Added Standard Twist Solution: Arm_L\n"
    # The limb's row is 260 down; with a lower chain it takes 920, and the next would start 160 below.
    assert added and height == 260 + 920 + 160
    row = 260

    # Both endpoints are captured, the elbow first, before anything turns; the snapshot alone moves.
    captures = []
    for index, endpoint in enumerate(("Elbow_L", "Wrist_L")):
        reader, store = node_at(controller, 0, row - 170 - 110 * index), node_at(controller, 320, row - 170 - 110 * index)
        assert (default(reader, "Item.Type"), default(reader, "Item.Name"), default(reader, "Space")) == ("Bone", endpoint, "GlobalSpace")
        assert (default(store, "Item.Type"), default(store, "Item.Name")) == ("Null", "VNTwistPose_" + endpoint)
        assert (default(store, "Space"), default(store, "bPropagateToChildren")) == ("GlobalSpace", "False")
        assert sources(store, "Value") == [path(reader, "Transform")]
        captures.append(store)

    # Upper arm: the shoulder's rotation since bind, split about its X axis.
    split = node_at(controller, 350, row)
    assert float(default(split, "TwistAxis.X")) == 1.0
    assert_local_rotation_since_bind(controller, "Shoulder_L", 0, row, split, "Input")
    share = node_at(controller, 720, row + 210)
    assert sources(share, "B") == [path(split, "Twist")]
    assert float(default(share, "T")) == pytest.approx(1.0 / 3.0)
    # Each part adds a third of the twist on its own bind rotation and carries the bones below.
    parts = []
    for index, part in enumerate(("ShoulderPart1_L", "ShoulderPart2_L")):
        value = assert_bind_times(controller, part, 980 + 400 * index, row + 210, path(share, "Result"))
        parts.append(assert_rotation_setter(controller, 1380 + 400 * index, row, part, "LocalSpace", "True", path(value, "Result")))
    # Then the shoulder keeps only its swing on its bind rotation and carries the parts as they are set
    # (set before it, they read the shoulder's whole rotation).
    swing_on_bind = assert_bind_times(controller, "Shoulder_L", 650, row - 110, path(split, "Swing"))
    root = assert_rotation_setter(controller, 1020, row, "Shoulder_L", "LocalSpace", "True", path(swing_on_bind, "Result"))
    # The elbow goes back to its captured rotation, carrying the forearm.
    snapshot = node_at(controller, 2180, row + 210)
    assert (default(snapshot, "Item.Type"), default(snapshot, "Item.Name"), default(snapshot, "Space")) == \
        ("Null", "VNTwistPose_Elbow_L", "GlobalSpace")
    elbow = assert_rotation_setter(controller, 2500, row + 210, "Elbow_L", "GlobalSpace", "True", path(snapshot, "Transform.Rotation"))

    # Forearm: the wrist's rotation since bind, split about its X axis, shared over the forearm parts.
    split = node_at(controller, 350, row + 390)
    assert float(default(split, "TwistAxis.X")) == 1.0
    assert_local_rotation_since_bind(controller, "Wrist_L", 0, row + 390, split, "Input")
    share = node_at(controller, 720, row + 560)
    assert sources(share, "B") == [path(split, "Twist")] and float(default(share, "T")) == pytest.approx(1.0 / 3.0)
    for index, part in enumerate(("ElbowPart1_L", "ElbowPart2_L")):
        value = assert_bind_times(controller, part, 780 + 400 * index, row + 650, path(share, "Result"))
        parts.append(assert_rotation_setter(controller, 1100 + 400 * index, row + 480, part, "LocalSpace", "True", path(value, "Result")))
    snapshot = node_at(controller, 1900, row + 650)
    assert default(snapshot, "Item.Name") == "VNTwistPose_Wrist_L"
    wrist = assert_rotation_setter(controller, 2220, row + 650, "Wrist_L", "GlobalSpace", "True", path(snapshot, "Transform.Rotation"))

    order = executed_nodes(controller.get_graph())
    assert order == ["RigUnit_BeginExecution"] + [str(node.get_node_path()) for node in captures + parts[:2] + [root, elbow]
                                                  + parts[2:] + [wrist]]
    assert exec_pin == path(wrist, "ExecuteContext")
    assert_graph_executes(controller.get_graph())


def about_x(degrees):
    half = math.radians(degrees) / 2.0
    return (math.sin(half), 0.0, 0.0, math.cos(half))


def test_evaluated_each_part_takes_its_share_whenever_the_graph_reads_the_root_again(editor, unreal, tool_script):
    # A straight arm along X, every bone in the world's orientation; before the solution the shoulder
    # is twisted 30 degrees and the wrist 60 degrees about the arm, in their parents' frames.
    blueprint, elements = make_arm_rig(unreal, tool_script, rolled=False)
    graph = tool_script["RigGraph"](blueprint.get_controller(blueprint.get_model()))
    tool_script["body_rig_make_standard_twist_snapshot_spaces"](elements, {"joints": arm_joints()}, {})
    exec_pin = BEGIN
    for index, (bone, degrees) in enumerate((("Shoulder_L", 30.0), ("Wrist_L", 60.0))):
        turn, exec_pin = tool_script["body_rig_mutable_unit"](graph, "RigUnit_SetRotation", "Turn" + bone, exec_pin, -800, -600 - 200 * index)
        tool_script["body_rig_set_item"](graph, turn + ".Item", "Bone", bone)
        tool_script["body_rig_set_pin"](graph, turn + ".Space", "LocalSpace")
        tool_script["body_rig_set_pin"](graph, turn + ".Value", "(X=%.9f,Y=0,Z=0,W=%.9f)" % about_x(degrees)[::3])
    tool_script["add_standard_twist_solution"](graph, elements, {"joints": arm_joints()}, exec_pin, 0)
    evaluation = editor.RigEvaluation(blueprint)
    assert evaluation.run_forwards_solve(1), evaluation.report()["errors"]
    # The shoulder gives its whole twist to its parts (10 and 20 degrees) and the elbow keeps the 30
    # degrees the shoulder gave it; the forearm parts take 20 and 40 of the wrist's 60 on top.
    expected = {"Shoulder_L": 0.0, "ShoulderPart1_L": 10.0, "ShoulderPart2_L": 20.0, "Elbow_L": 30.0,
                "ElbowPart1_L": 50.0, "ElbowPart2_L": 70.0, "Wrist_L": 90.0}
    for bone, degrees in expected.items():
        transform = evaluation.global_transform(bone)
        actual = tuple(getattr(transform.rotation, c) for c in "xyzw")
        assert abs(sum(a * b for a, b in zip(actual, about_x(degrees)))) == pytest.approx(1.0, abs=1e-6), (bone, actual)
        rest = dict((name, location) for name, _parent, location, _roll in ARM_BONES)[bone]
        assert (transform.translation.x, transform.translation.y, transform.translation.z) == pytest.approx(rest, abs=1e-4)


def test_three_parts_each_add_a_quarter_and_a_limb_of_one_chain_takes_less_room(unreal, tool_script, arm_rig, capsys):
    blueprint, elements = arm_rig
    controller = blueprint.get_hierarchy_controller()
    part3 = controller.add_bone("ShoulderPart3_L", elements.find("ShoulderPart2_L", "bone"), unreal.Transform(), False)
    controller.set_parent(elements.find("Elbow_L", "bone"), part3, True)
    elements.forget()
    joints = [joint("Shoulder_L", "", 3), joint("ShoulderPart1_L", "Shoulder_L"), joint("ShoulderPart2_L", "ShoulderPart1_L"),
              joint("ShoulderPart3_L", "ShoulderPart2_L"), joint("Elbow_L", "ShoulderPart3_L")]
    graph = tool_script["RigGraph"](blueprint.get_controller(blueprint.get_model()))
    tool_script["body_rig_make_standard_twist_snapshot_spaces"](elements, {"joints": joints}, {})
    _exec_pin, added, height = tool_script["add_standard_twist_solution"](graph, elements, {"joints": joints}, BEGIN, 1000)
    assert added and height == 260 + 540 + 160
    assert float(default(node_at(graph.controller, 720, 1260 + 210), "T")) == pytest.approx(0.25)
    setters = [node_at(graph.controller, 1380 + 400 * index, 1260) for index in range(3)]
    assert [default(node, "Item.Name") for node in setters] == ["ShoulderPart1_L", "ShoulderPart2_L", "ShoulderPart3_L"]
    # Only the elbow is captured and restored; nothing is laid out for a lower chain.
    assert default(node_at(graph.controller, 1380 + 400 * 3 + 320, 1260 + 210), "Item.Name") == "Elbow_L"
    assert not [node for node in graph.controller.get_graph().get_nodes() if node.get_position().y >= 1260 + 390]
    assert_graph_executes(graph.controller.get_graph())


def test_a_limb_whose_bones_the_rig_lacks_adds_nothing_and_the_next_limb_takes_its_row(unreal, tool_script, arm_rig, capsys):
    blueprint, elements = arm_rig
    # A right leg first, whose shin parts the rig does not have.
    joints = [joint("Knee_R", "", 2), joint("KneePart1_R", "Knee_R"), joint("KneePart2_R", "KneePart1_R"),
              joint("Ankle_R", "KneePart2_R")] + arm_joints(elbow_twist=None)
    graph = tool_script["RigGraph"](blueprint.get_controller(blueprint.get_model()))
    tool_script["body_rig_make_standard_twist_snapshot_spaces"](elements, {"joints": joints}, {})
    exec_pin, added, height = tool_script["add_standard_twist_solution"](graph, elements, {"joints": joints}, BEGIN, 0)
    assert capsys.readouterr().out.splitlines() == [
        "Standard Twist Solution skipped for Leg_R: target skeleton is missing Knee_R, KneePart1_R, KneePart2_R, Ankle_R",
        "Added Standard Twist Solution: Arm_L"]
    assert added and height == 260 + 540 + 160
    assert default(node_at(graph.controller, 1020, 260), "Item.Name") == "Shoulder_L"
    assert exec_pin != BEGIN

    # With nothing to add the execution pin comes back and only the first row's offset is used.
    empty = tool_script["RigGraph"](blueprint.get_controller(blueprint.get_model()))
    before = len(blueprint.get_model().get_nodes())
    assert tool_script["add_standard_twist_solution"](empty, elements, {"joints": joints[:4]}, BEGIN, 0) == (BEGIN, False, 260)
    assert len(blueprint.get_model().get_nodes()) == before


def test_an_endpoint_without_its_snapshot_skips_its_limb_rather_than_restoring_no_rotation(unreal, tool_script, arm_rig, capsys):
    blueprint, elements = arm_rig
    make = tool_script["body_rig_make_standard_twist_snapshot_spaces"]
    assert make(elements, {"joints": arm_joints()}, {}) == 2
    elements.remove_element(elements.find("VNTwistPose_Wrist_L", "null"))
    graph = tool_script["RigGraph"](blueprint.get_controller(blueprint.get_model()))
    before = len(blueprint.get_model().get_nodes())
    assert tool_script["add_standard_twist_solution"](graph, elements, {"joints": arm_joints()}, BEGIN, 0) == (BEGIN, False, 260)
    assert capsys.readouterr().out == "Standard Twist Solution skipped for Arm_L: the rig has no endpoint snapshot VNTwistPose_Wrist_L\n"
    assert len(blueprint.get_model().get_nodes()) == before


# ---- the build ----------------------------------------------------------------------------------------

SAMPLE_LIMBS = ("Leg_R", "Arm_R", "Leg_L", "Arm_L")


def swing_twist_nodes(rig):
    structs = [getattr(node, "get_script_struct", lambda: None)() for node in rig.get_controller(rig.get_model()).get_graph().get_nodes()]
    return [struct for struct in structs if struct is not None and struct.get_name() == "RigVMFunction_MathQuaternionSwingTwist"]


def test_the_sample_gets_a_twist_solution_for_each_arm_and_leg(editor, unreal, tool_script, hero, capsys):
    rig = tool_script["create_body_control_rig_from_json"]()
    out = capsys.readouterr().out
    assert [line for line in out.splitlines() if line.startswith("Added Standard Twist Solution")] == \
        ["Added Standard Twist Solution: " + limb for limb in SAMPLE_LIMBS]
    assert "Standard Twist Solution skipped" not in out
    assert "Created twist endpoint snapshots: 8" in out
    snapshots = {str(key.name) for key in rig.hierarchy.get_children(
        unreal.RigElementKey(type=unreal.RigElementType.NULL, name="Helpers"), False) if str(key.name).startswith("VNTwistPose_")}
    assert snapshots == {"VNTwistPose_%s_%s" % (joint_name, side) for joint_name in ("Knee", "Ankle", "Elbow", "Wrist")
                         for side in "LR"}
    # An upper and a lower split per limb.
    assert len(swing_twist_nodes(rig)) == 2 * len(SAMPLE_LIMBS)


def test_with_the_twist_solution_off_the_graph_has_no_twist_section(editor, unreal, tool_script, hero, capsys):
    tool_script["set_body_rig_options"](twist=False)
    rig = tool_script["create_body_control_rig_from_json"]()
    assert "Added Standard Twist Solution" not in capsys.readouterr().out
    assert swing_twist_nodes(rig) == []
    titles = [node.get_comment_text() for node in rig.get_controller(rig.get_model()).get_graph().get_nodes()
              if isinstance(node, unreal.RigVMCommentNode)]
    assert "Twist Solutions" not in titles and "FKIK Follow Constraints" in titles
