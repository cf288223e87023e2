"""Driving systems (the driven-attribute table, SDK space resets, the offset units), the forward FK
loop with its iterator and its fallback, the FKX root hook, the driving-system follow constraints and
the inbetween row count; and the executability check on small graphs it must reject."""

import pytest

from graph_execution import PinRecorder, assert_graph_executes, executed_nodes, graph_execution_faults
from test_body_rig_limb_graph import default, graph, graph_rig, node_at, sources  # noqa: F401 (fixtures)


def path(node, pin=None):
    return str(node.get_node_path()) + ("." + pin if pin else "")


BEGIN = "RigUnit_BeginExecution.ExecuteContext"


def nodes_at_x(controller, x):
    return [node for node in controller.get_graph().get_nodes() if node.get_position().x == x]


FINGERS = {"name": "Fingers_R", "type": "DrivingSystem", "joint": "Wrist_R", "drivingSystem": [
    {"name": "curl", "relationships": [
        {"target": "FKIndex1_R", "attribute": "RotateX", "multiplier": 2.0},
        {"target": "FKIndex1_R", "attribute": "sy", "multiplier": 0.1},
        {"target": "FKIndex2_R", "attribute": "visibility", "multiplier": 1.0},
        {"target": "FKGhost_R", "attribute": "translateY", "multiplier": 3.0},
        {"target": "FKMiddle1_R", "attribute": "rz", "multiplier": -4.0}]},
    {"name": "", "relationships": [{"target": "FKIndex1_R", "attribute": "tx"}]},
    {"name": "spread", "relationships": [{"target": "FKIndex1_R", "attribute": "ry", "multiplier": 5.0}]}]}
LOOKUP = {"FKIndex1_R": {"name": "FKIndex1_R", "joint": "Index1_R"}, "FKMiddle1_R": {"name": "FKMiddle1_R", "joint": "Middle1_R"}}
SPACES = {"FKIndex1_R": "SDKIndex1_R"}
X, Y = 1000, 1000  # clear of the begin node at the origin


def test_driving_relations_follow_the_sign_table_and_reset_each_space_once(tool_script, graph_rig, graph):
    exec_pin = tool_script["body_rig_add_driving_system"](graph, FINGERS, LOOKUP, SPACES, BEGIN, X, Y)
    curl, spread = node_at(graph_rig, X, Y), node_at(graph_rig, X, Y + 340)
    assert (default(curl, "Control"), default(curl, "Channel")) == ("Fingers_R", "curl")
    assert default(spread, "Channel") == "spread"
    assert not [node for node in graph_rig.get_graph().get_nodes() if node.get_position().y == Y + 170]

    # Rows: rotateX on the SDK space, sy on it, translateY on a bone named like the target, rz on a
    # recorded joint, then spread's ry; visibility is skipped.
    multiplies = [node_at(graph_rig, X + 300, Y + 150 * row) for row in range(5)]
    assert [float(default(node, "B")) for node in multiplies] == [-2.0, 0.1, 3.0, 4.0, 5.0]
    assert [sources(node, "A") for node in multiplies] == [[path(curl, "Value")]] * 4 + [[path(spread, "Value")]]
    offsets = [node_at(graph_rig, X + 900, Y + 150 * row) for row in range(5)]
    assert [(default(node, "Item.Type"), default(node, "Item.Name")) for node in offsets] == \
        [("Null", "SDKIndex1_R"), ("Null", "SDKIndex1_R"), ("Bone", "Ghost_R"), ("Bone", "Middle1_R"), ("Null", "SDKIndex1_R")]
    assert all((float(default(node, "Weight")), default(node, "bPropagateToChildren")) == (1.0, "True") for node in offsets)

    rotation = node_at(graph_rig, X + 590, Y)
    assert default(rotation, "RotationOrder") == "ZYX"
    assert sources(rotation, "Euler.X") == [path(multiplies[0], "Result")]
    assert sources(offsets[0], "OffsetTransform.Rotation") == [path(rotation, "Result")]
    scale = node_at(graph_rig, X + 590, Y + 150)
    assert float(default(scale, "B")) == 1.0 and sources(scale, "A") == [path(multiplies[1], "Result")]
    assert sources(offsets[1], "OffsetTransform.Scale3D.Y") == [path(scale, "Result")]
    assert sources(offsets[2], "OffsetTransform.Translation.Y") == [path(multiplies[2], "Result")]
    assert sources(node_at(graph_rig, X + 590, Y + 450), "Euler.Z") == [path(multiplies[3], "Result")]
    assert sources(node_at(graph_rig, X + 590, Y + 600), "Euler.Y") == [path(multiplies[4], "Result")]

    # One reset of the space, before its first offset, from its rest transform in local space.
    assert len(nodes_at_x(graph_rig, X + 560)) == 1 and len(nodes_at_x(graph_rig, X + 760)) == 1
    getter, setter = node_at(graph_rig, X + 560, Y - 75), node_at(graph_rig, X + 760, Y - 75)
    assert (default(getter, "Item.Name"), default(getter, "Space"), default(getter, "bInitial")) == ("SDKIndex1_R", "LocalSpace", "True")
    assert (default(setter, "Space"), default(setter, "bPropagateToChildren")) == ("LocalSpace", "True")
    assert sources(setter, "Value") == [path(getter, "Transform")]
    order = executed_nodes(graph_rig.get_graph())
    assert order == ["RigUnit_BeginExecution", path(setter)] + [path(node) for node in offsets]
    assert exec_pin == path(offsets[-1], "ExecuteContext")
    assert_graph_executes(graph_rig.get_graph())


def test_a_second_driving_control_resets_the_space_again(tool_script, graph_rig, graph):
    add = tool_script["body_rig_add_driving_system"]
    first = {"name": "Hand_R", "type": "DrivingSystem", "drivingSystem": [
        {"name": "fist", "relationships": [{"target": "FKIndex1_R", "attribute": "rx", "multiplier": 1},
                                           {"target": "FKIndex1_R", "attribute": "rz", "multiplier": 1}]}]}
    second = dict(first, name="Fingers_R")
    exec_pin = add(graph, first, LOOKUP, SPACES, BEGIN, 0, 0)
    exec_pin = add(graph, second, LOOKUP, SPACES, exec_pin, 0, 1000)
    resets = nodes_at_x(graph_rig, 760)
    assert sorted(node.get_position().y for node in resets) == [-75, 925]
    assert [default(node, "Item.Name") for node in resets] == ["SDKIndex1_R"] * 2
    assert_graph_executes(graph_rig.get_graph())


def test_relations_without_a_driven_item_or_a_known_attribute_add_nothing(tool_script, graph_rig, graph):
    record = {"name": "Hand_R", "type": "DrivingSystem", "drivingSystem": [
        {"name": "curl", "relationships": [{"target": "", "attribute": "rx"}, {"target": "FK", "attribute": "rx"},
                                           {"target": "FKIndex1_R", "attribute": "visibility"},
                                           {"attribute": "ry", "multiplier": 1}, "not a relationship"]},
        {"name": "empty", "relationships": []}, "not a channel"]}
    exec_pin = tool_script["body_rig_add_forward_control"](graph, record, LOOKUP, SPACES, BEGIN, 0, 0)
    assert exec_pin == BEGIN
    # Only the driver reader of the named channel with relationship objects.
    assert [default(node, "Channel") for node in graph_rig.get_graph().get_nodes() if node.find_pin("Channel")] == ["curl"]


def test_a_missing_multiplier_gives_a_zero_slope(tool_script, graph_rig, graph):
    record = {"name": "Hand_R", "drivingSystem": [{"name": "curl", "relationships": [{"target": "FKIndex1_R", "attribute": "RX"}]}]}
    tool_script["body_rig_add_driving_system"](graph, record, LOOKUP, {}, "", X, Y)
    assert float(default(node_at(graph_rig, X + 300, Y), "B")) == 0.0
    assert default(node_at(graph_rig, X + 900, Y), "Item.Name") == "Index1_R"
    assert not nodes_at_x(graph_rig, X + 760), "bones are offset without a reset"


# ---- the forward FK loop ----

def loop_nodes(controller, y):
    return {name: node_at(controller, x, y + dy) for name, (x, dy) in {
        "children": (-700, 0), "iterator": (-350, 0), "name": (0, 0), "exists": (300, 0), "branch": (650, 0),
        "get": (900, -120), "set": (1250, 0)}.items()}


def test_the_forward_fk_loop_copies_fk_controls_onto_bones_from_the_root(tool_script, graph_rig, graph):
    exec_pin = tool_script["body_rig_add_forward_fk_loop"](graph, BEGIN, "Root_M", 400)
    n = loop_nodes(graph_rig, 400)
    children = n["children"]
    assert (default(children, "Parent.Type"), default(children, "Parent.Name"), default(children, "TypeToSearch")) == \
        ("Bone", "Root_M", "Bone")
    assert all(default(children, pin) == "True" for pin in ("bIncludeParent", "bRecursive", "bDefaultChildren"))
    iterator = n["iterator"]
    assert iterator.find_pin("Element").get_cpp_type() == "FRigElementKey"
    assert sources(iterator, "Array") == [path(children, "Items")]
    assert default(n["name"], "A") == "FK" and sources(n["name"], "B") == [path(iterator, "Element.Name")]
    assert default(n["exists"], "Item.Type") == "Control" and sources(n["exists"], "Item.Name") == [path(n["name"], "Result")]
    assert sources(n["branch"], "Condition") == [path(n["exists"], "Exists")]
    assert sources(n["branch"], "ExecuteContext") == [path(iterator, "ExecuteContext")]
    assert sources(n["get"], "Item.Name") == [path(n["name"], "Result")] and default(n["get"], "Item.Type") == "Control"
    assert sources(n["set"], "ExecuteContext") == [path(n["branch"], "True")]
    assert sources(n["set"], "Item") == [path(iterator, "Element")]
    assert sources(n["set"], "Value") == [path(n["get"], "Transform")] and default(n["set"], "bPropagateToChildren") == "True"
    assert exec_pin == path(iterator, "Completed")
    assert len(graph_rig.get_graph().get_nodes()) == 8, "the begin node and the loop's seven"
    assert_graph_executes(graph_rig.get_graph())


def test_an_fkx_root_writes_the_root_joint_after_the_loop(tool_script, graph_rig, graph):
    exec_pin = tool_script["body_rig_add_forward_fk_loop"](graph, BEGIN, "Root_M", Y, "FKXRoot_M")
    getter, setter = node_at(graph_rig, 900, Y + 200), node_at(graph_rig, 1250, Y + 200)
    assert (default(getter, "Item.Type"), default(getter, "Item.Name"), default(getter, "Space")) == ("Null", "FKXRoot_M", "GlobalSpace")
    assert (default(setter, "Item.Name"), default(setter, "Space"), default(setter, "bPropagateToChildren")) == \
        ("Root_M", "GlobalSpace", "False")
    assert sources(setter, "ExecuteContext") == [path(node_at(graph_rig, -350, Y), "Completed")]
    assert exec_pin == path(setter, "ExecuteContext")
    assert_graph_executes(graph_rig.get_graph())


def test_without_array_nodes_the_loop_walks_a_collection(unreal, tool_script, graph_rig, monkeypatch, capsys, graph):
    monkeypatch.setattr(unreal.RigVMController, "add_array_node_from_object_path", lambda *args: None)
    exec_pin = tool_script["body_rig_add_forward_fk_loop"](graph, BEGIN, "Root_M", Y)
    assert "Body forward FK loop uses a collection loop: the graph returned no node" in capsys.readouterr().out
    loop, collection = node_at(graph_rig, -350, Y), node_at(graph_rig, -350, Y + 200)
    assert "CollectionLoop" in path(loop) and "CollectionItems" in path(collection)
    assert sources(collection, "Items") == [path(node_at(graph_rig, -700, Y), "Items")]
    assert sources(loop, "Collection") == [path(collection, "Collection")]
    assert sources(node_at(graph_rig, 0, Y), "B") == [path(loop, "Item.Name")]
    assert exec_pin == path(loop, "Completed")
    assert_graph_executes(graph_rig.get_graph())


# ---- follow constraints and inbetween rows ----

def test_driving_controls_follow_their_joints_through_their_attach_helpers(tool_script, graph_rig, graph):
    controls = [{"name": "Fingers_R", "type": "DrivingSystem", "joint": "Wrist_R"}, {"name": "NoJoint", "type": "DrivingSystem"},
                {"name": "FKWrist_R", "type": "FK", "joint": "Wrist_R"}, {"name": "Fingers_L", "type": "DrivingSystem", "joint": "Wrist_L"}]
    exec_pin = tool_script["body_rig_add_driving_system_follow_constraints"](graph, controls, BEGIN, 100, 50)
    rows = [node_at(graph_rig, 100, 50 + 130 * row) for row in range(2)]
    assert [(default(node, "Child.Type"), default(node, "Child.Name"), default(node, "Parents.0.Item.Type"),
             default(node, "Parents.0.Item.Name"), default(node, "bMaintainOffset")) for node in rows] == \
        [("Null", "Fingers_R_Attach", "Bone", "Wrist_R", "True"), ("Null", "Fingers_L_Attach", "Bone", "Wrist_L", "True")]
    assert exec_pin == path(rows[1], "ExecuteContext")


def test_inbetween_rows_count_controls_whose_part_controls_exist(tool_script):
    count = tool_script["body_rig_final_inbetween_row_count"]

    def rig(*controls):
        return {"controls": list(controls)}

    spine = {"name": "FKSpine1_M", "joint": "Spine1_M", "controlAttributes": [{"name": "inbetweenJoints", "value": 2}]}
    assert count(rig(spine, {"name": "FKSpine1Part2_M"})) == 1
    assert count(rig(spine)) == 0, "no part control in the file"
    assert count(rig(dict(spine, joint="Spine1"), {"name": "FKSpine1Part1"})) == 0, "an unsided joint"
    assert count(rig(dict(spine, joint="Spine1Part1_M", name="FKSpine1Part1_M"), {"name": "FKSpine1Part1Part1_M"})) == 0
    assert count(rig(dict(spine, controlAttributes=[{"name": "inbetweenJoints", "value": 0}]), {"name": "FKSpine1Part1_M"})) == 0
    neck = {"name": "FKNeck_L", "joint": "Neck_L", "fitAttributes": [{"name": "inbetweenJoints", "value": 1}]}
    assert count(rig(spine, {"name": "FKSpine1Part1_M"}, neck, {"name": "FKNeckPart1_L"}, "junk")) == 2
    assert count({}) == 0


# ---- the executability check itself ----

def test_the_executability_check_names_every_kind_of_fault(unreal, tool_script, graph_rig, monkeypatch, graph):
    recorder = PinRecorder(unreal, monkeypatch)
    unit, set_transform = tool_script["body_rig_unit"], tool_script["body_rig_set_transform"]
    first, first_exec = set_transform(graph, "First", "Bone", "Root_M", BEGIN, 0, 0)
    assert graph_execution_faults(graph_rig.get_graph(), recorder=recorder) == []
    # A node nothing runs; a second node chained from the same pin, which takes the first one's link;
    # a link to and a default of pins that do not exist.
    orphan, _ = set_transform(graph, "Orphan", "Bone", "Root_M", "", 0, 200)
    second, _ = set_transform(graph, "Second", "Bone", "Root_M", first_exec, 0, 400)
    third, _ = set_transform(graph, "Third", "Bone", "Root_M", first_exec, 0, 600)
    getter = unit(graph, "RigUnit_GetTransform", "Getter", 0, 800)
    tool_script["body_rig_link"](graph, getter + ".Transform", third + ".Missing")
    tool_script["body_rig_set_pin"](graph, getter + ".NoSuchPin", 1)
    faults = graph_execution_faults(graph_rig.get_graph(), recorder=recorder)
    assert sorted(faults) == sorted([
        "execution input unlinked: " + orphan, "not reached from RigUnit_BeginExecution: " + orphan,
        "execution input unlinked: " + second, "not reached from RigUnit_BeginExecution: " + second,
        "linked pin missing: " + third + ".Missing", "set pin missing: " + getter + ".NoSuchPin"])
    # Limited to some nodes, only their faults count.
    assert graph_execution_faults(graph_rig.get_graph(), recorder=recorder, nodes=[first, third]) == \
        ["linked pin missing: " + third + ".Missing"]
    with pytest.raises(AssertionError):
        assert_graph_executes(graph_rig.get_graph(), recorder=recorder)
