"""The forward solve of the sample character as built: it runs as emitted from the begin node; its
limbs solve with their exported data; FK branches follow the finished limbs; the FK loop starts at
the root; the driving systems follow the sign table and reset each SDK space once per driving
control; and the sections run in the order the rig needs."""

import json
import os

import pytest

from conftest import SAMPLE_HERO as SAMPLE
from graph_execution import PinRecorder, assert_graph_executes, executed_nodes

SIGNS = {"rx": ("Rotation", "X", -1), "rotatex": ("Rotation", "X", -1), "ry": ("Rotation", "Y", 1), "rotatey": ("Rotation", "Y", 1),
         "rz": ("Rotation", "Z", -1), "rotatez": ("Rotation", "Z", -1), "tx": ("Translation", "X", 1), "translatex": ("Translation", "X", 1),
         "ty": ("Translation", "Y", 1), "translatey": ("Translation", "Y", 1), "tz": ("Translation", "Z", 1),
         "translatez": ("Translation", "Z", 1), "sx": ("Scale", "X", 1), "scalex": ("Scale", "X", 1), "sy": ("Scale", "Y", 1),
         "scaley": ("Scale", "Y", 1), "sz": ("Scale", "Z", 1), "scalez": ("Scale", "Z", 1)}


@pytest.fixture
def forward(editor, unreal, tool_script, hero, monkeypatch):
    recorder = PinRecorder(unreal, monkeypatch)
    rig = tool_script["create_body_control_rig_from_json"]()
    document = json.load(open(os.path.join(SAMPLE, "SampleHero_BodyRig.json")))
    return rig.get_controller(rig.get_model()).get_graph(), document["rig"], recorder


def struct_name(node):
    try:
        return str(node.get_script_struct().get_name())
    except Exception:
        return ""


def units(graph, name):
    return [node for node in graph.get_nodes() if struct_name(node) == name]


def default(node, pin):
    return node.find_pin(pin).get_default_value()


def item(node, pin):
    return default(node, pin + ".Type"), default(node, pin + ".Name")


def source_nodes(node, pin):
    return [str(source.get_pin_path()).split(".", 1)[0] for source in node.find_pin(pin).get_linked_source_pins()]


def by_path(graph):
    return {str(node.get_node_path()): node for node in graph.get_nodes()}


def test_the_whole_forward_graph_runs_as_emitted(forward):
    graph, _rig, recorder = forward
    assert recorder.links and recorder.defaults
    assert_graph_executes(graph, recorder=recorder)


def test_every_limb_solves_with_its_exported_data_and_blends_by_its_switch(tool_script, forward):
    graph, rig, _recorder = forward
    nodes = by_path(graph)
    solvers = {default(node, "ItemA.Name"): node for node in units(graph, "RigUnit_TwoBoneIKSimplePerItem")}
    limbs = [c for c in rig["controls"] if c.get("type") == "IK" and isinstance(c.get("ik"), dict)]
    assert len(solvers) == len(limbs) == 4
    constraints = {item(node, "Child")[1]: item(node, "Parents.0.Item")[1] for node in units(graph, "RigUnit_ParentConstraint")}
    lines = {default(node, "Thickness") for node in units(graph, "RigVMFunction_DebugLineNoSpace")}
    for limb in limbs:
        ik = limb["ik"]
        solver = solvers[ik["startJoint"]]
        assert [default(solver, pin + ".Name") for pin in ("ItemB", "EffectorItem", "PoleVectorSpace")] == \
            [ik["middleJoint"], tool_script["body_json_ik_end_joint"](limb), ik["poleControl"] if ik.get("poleControl") else "Pole" + limb["name"][2:]]
        for pin, values in (("PrimaryAxis", ik.get("primaryAxis", [1, 0, 0])), ("SecondaryAxis", ik.get("secondaryAxis", [0, 1, 0]))):
            assert [float(default(solver, pin + "." + axis)) for axis in "XYZ"] == [float(v) for v in values], (limb["name"], pin)
        # The weight comes from the placeholder's blend, divided down to 0..1.
        (divide,) = source_nodes(solver, "Weight")
        assert struct_name(nodes[divide]) == "RigVMFunction_MathFloatDiv" and float(default(nodes[divide], "B")) == 10.0
        assert "%.6f" % (ik["poleLineLength"] / 100.0) in lines
        if "Leg" in limb["name"]:
            assert constraints[ik["poleControl"] + "_Space"] == limb["name"]
    arms = [limb for limb in limbs if "Arm" in limb["name"]]
    assert arms and not [c for c in constraints if c.startswith("PoleArm")]


def test_fk_branches_below_a_limb_follow_its_result_and_placeholders_their_joints(forward):
    graph, rig, _recorder = forward
    helpers = {item(node, "Item")[1] for node in units(graph, "RigUnit_SetTransform") if item(node, "Item")[0] == "Null"}
    assert {"FKParentConstraintToWrist_R", "FKParentConstraintToWrist_L"} <= helpers
    followers = {item(node, "Child")[1]: item(node, "Parents.0.Item") for node in units(graph, "RigUnit_ParentConstraint")}
    for control in rig["controls"]:
        if control.get("type") == "FKIK" and control.get("joint"):
            assert followers[control["name"]] == ("Bone", control["joint"])
        if control.get("type") == "DrivingSystem":
            assert followers[control["name"] + "_Attach"] == ("Bone", control["joint"])


def test_the_fk_loop_starts_at_the_root_and_runs_after_the_driving_systems(forward):
    graph, _rig, _recorder = forward
    # The forward solve's loop and the backwards solve's both walk from the root.
    loops = units(graph, "RigUnit_CollectionChildrenArray")
    assert len(loops) == 2 and {item(children, "Parent") for children in loops} == {("Bone", "RootMotion_M")}
    order = executed_nodes(graph)
    position = {name: index for index, name in enumerate(order)}
    nodes = by_path(graph)
    offsets = [position[str(node.get_node_path())] for node in units(graph, "RigUnit_OffsetTransformForItem")]
    (loop,) = [name for name in order if nodes[name].find_pin("Completed") and nodes[name].find_pin("Array")]
    solvers = [position[str(node.get_node_path())] for node in units(graph, "RigUnit_TwoBoneIKSimplePerItem")]
    assert offsets and max(offsets) < position[loop] < min(solvers)


def test_the_sample_driving_systems_follow_the_sign_table(forward):
    graph, rig, _recorder = forward
    nodes = by_path(graph)
    drivers = {str(node.get_node_path()): (default(node, "Control"), default(node, "Channel"))
               for node in units(graph, "RigUnit_GetFloatAnimationChannel") if default(node, "Control").startswith("Fingers")}
    controls = {c["name"]: c for c in rig["controls"]}
    expected = []
    for control in rig["controls"]:
        if control.get("type") != "DrivingSystem":
            continue
        for channel in control["drivingSystem"]:
            for relation in channel.get("relationships", []):
                mapping = SIGNS.get(relation["attribute"].lower())
                if mapping:
                    expected.append((control["name"], channel["name"], relation["target"], mapping,
                                     relation.get("multiplier", 0.0) * mapping[2]))
    assert len(expected) > 10
    found = []
    resets = {}
    for offset in units(graph, "RigUnit_OffsetTransformForItem"):
        kind, driven = item(offset, "Item")
        linked = {pin: source_nodes(offset, "OffsetTransform." + pin) for pin in
                  ["Rotation"] + ["Translation." + a for a in "XYZ"] + ["Scale3D." + a for a in "XYZ"]}
        ((pin, (feeder,)),) = [(pin, feeders) for pin, feeders in linked.items() if feeders]
        if pin == "Rotation":
            assert default(nodes[feeder], "RotationOrder") == "ZYX"
            ((axis, (multiply,)),) = [(a, source_nodes(nodes[feeder], "Euler." + a)) for a in "XYZ"
                                      if source_nodes(nodes[feeder], "Euler." + a)]
            component = "Rotation"
        elif pin.startswith("Scale3D"):
            assert float(default(nodes[feeder], "B")) == 1.0
            (multiply,), component, axis = source_nodes(nodes[feeder], "A"), "Scale", pin[-1]
        else:
            multiply, component, axis = feeder, "Translation", pin[-1]
        (driver,) = source_nodes(nodes[multiply], "A")
        control, channel = drivers[driver]
        found.append((control, channel, driven, component, axis, round(float(default(nodes[multiply], "B")), 6)))
        assert kind == "Null" and driven.startswith("SDK")
    wanted = sorted((control, channel, "SDK" + target[2:], mapping[0], mapping[1], round(slope, 6))
                    for control, channel, target, mapping, slope in expected)
    assert sorted(found) == wanted
    assert all(target in controls for _c, _ch, target, _m, _s in expected)
    # Each driving control restarts each of its spaces once, from the rest pose, in local space.
    resets = [item(node, "Item")[1] for node in units(graph, "RigUnit_SetTransform") if default(node, "Space") == "LocalSpace"
              and item(node, "Item")[1].startswith("SDK")]
    per_control = {(control, "SDK" + target[2:]) for control, _ch, target, _m, _s in expected}
    assert sorted(resets) == sorted(space for _control, space in per_control)


def test_a_sixteen_times_character_builds_a_graph_that_runs(editor, unreal, tool_script, tmp_path, monkeypatch):
    import generate_sample
    params = generate_sample.sized_parameters(16)
    mesh, body_json, controls = generate_sample.create_in_editor(params, str(tmp_path / "Characters"))
    assert controls == 16 * len(json.load(open(os.path.join(SAMPLE, "SampleHero_BodyRig.json")))["rig"]["controls"])
    tool_script["set_target_skeletal_mesh"](mesh)
    tool_script["set_body_json_file"](body_json)
    tool_script["set_body_control_rig_source"]("Generate from JSON")
    tool_script["set_control_rig_mode"]("Body")
    recorder = PinRecorder(unreal, monkeypatch)
    rig = tool_script["create_body_control_rig_from_json"]()
    graph = rig.get_controller(rig.get_model()).get_graph()
    assert_graph_executes(graph, recorder=recorder)
    # Every finger's three FK controls on both hands are driven through their SDK spaces.
    driven = {item(node, "Item")[1] for node in units(graph, "RigUnit_OffsetTransformForItem")}
    fingers = [c["name"] for c in json.load(open(body_json))["rig"]["controls"] if c["name"].startswith("FK") and "Finger" in c["name"]]
    assert len(fingers) == 16 * 30
    assert driven == {"SDK" + name[2:] for name in fingers}


def test_every_driver_reads_a_channel_of_its_driving_control(editor, unreal, tool_script, hero):
    rig = tool_script["create_body_control_rig_from_json"]()
    graph = rig.get_controller(rig.get_model()).get_graph()
    hierarchy = rig.hierarchy
    drivers = [(default(node, "Control"), default(node, "Channel")) for node in units(graph, "RigUnit_GetFloatAnimationChannel")
               if default(node, "Control").startswith("Fingers")]
    assert sorted(drivers) == sorted((side, channel) for side in ("Fingers_L", "Fingers_R") for channel in ("curl", "spread", "fist"))
    settings = rig.get_hierarchy_controller().get_control_settings
    for control, channel in drivers:
        key = unreal.RigElementKey(type=unreal.RigElementType.CONTROL, name=control + "_" + channel)
        assert hierarchy.get_first_parent(key) == unreal.RigElementKey(type=unreal.RigElementType.CONTROL, name=control)
        assert str(settings(key).display_name) == channel
