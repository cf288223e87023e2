"""The face Control Rig build: the driver records made from the Face rig JSON's rows, the control box
and its sliders, the visibility switches and the solver node, on the sample character in "Face" and
"Body+Face" mode, and the rig evaluated: at rest no face bone moves, and a slider moves its driven bones
along the exported keys (worked out here from the JSON and the mesh's reference pose)."""

import contextlib
import io
import json
import math
import os

import pytest

from conftest import SAMPLE_HERO, install_sample_hero, run_tool_script
from test_body_rig_evaluation import conjugate, multiply, package_file, reference_pose, rotate

FACE_JSON = os.path.join(SAMPLE_HERO, "SampleHero_FaceRig.json")
BODY_JSON = os.path.join(SAMPLE_HERO, "SampleHero_BodyRig.json")
TOLERANCE = 1e-3


def maya_data(drivers):
    return {"exportType": "VantorelFaceRig", "version": 2, "coordinateSystem": {"source": "Maya"}, "drivers": drivers}


def driven_of(tool_script, unreal, row, maya=True):
    record = tool_script["face_driver_record"]({"control": "ctrl", "channel": "ty", "driven": [row]}, maya)
    return record.get_editor_property("driven")[0]


def keys_of(driven):
    return [(key.x, key.y) for key in driven.get_editor_property("keys")]


# ---- driver records ---------------------------------------------------------------------------------

def test_maya_rows_are_turned_into_the_engine_axes(unreal, tool_script):
    channel = unreal.VNFaceSDKChannel
    keys = [{"x": 0, "y": 0}, {"x": 1, "y": 2}]
    world = driven_of(tool_script, unreal, {"bone": "b", "channel": "Translation.Y", "space": "World", "multiplier": 2.0, "keys": keys})
    assert (world.channel, world.multiplier, keys_of(world)) == (channel.TRANSLATION_Z, 2.0, [(0.0, 0.0), (1.0, 2.0)])
    assert world.transform_space == unreal.VNFaceSDKTransformSpace.WORLD
    local = driven_of(tool_script, unreal, {"bone": "b", "channel": "ty", "keys": keys})
    assert (local.channel, local.multiplier, local.transform_space) == (channel.TRANSLATION_Y, -1.0, unreal.VNFaceSDKTransformSpace.LOCAL)
    assert driven_of(tool_script, unreal, {"bone": "b", "channel": "translation.y", "keys": keys}).multiplier == -1.0
    # The bone carries the joint's frame with its Y axis flipped: a turn about the joint's X or Z is the
    # opposite turn about the bone's, which the engine's rotator angles give as the same roll and the
    # opposite yaw; a turn about Y is the same turn, the opposite pitch.
    turned = driven_of(tool_script, unreal, {"bone": "b", "channel": "rotate.x", "mode": "set", "keys": keys})
    assert (turned.channel, keys_of(turned), turned.apply_mode) == (channel.ROTATION_X, [(0.0, 0.0), (1.0, 2.0)],
                                                                    unreal.VNFaceSDKApplyMode.ABSOLUTE)
    for text, member in (("ry", channel.ROTATION_Y), ("Rotation.Z", channel.ROTATION_Z)):
        flipped = driven_of(tool_script, unreal, {"bone": "b", "channel": text, "keys": keys})
        assert (flipped.channel, keys_of(flipped)) == (member, [(0.0, 0.0), (1.0, -2.0)])
    # Files in the engine's own conventions are taken as they are.
    plain = driven_of(tool_script, unreal, {"bone": "b", "channel": "ty", "keys": keys}, maya=False)
    assert (plain.channel, plain.multiplier) == (channel.TRANSLATION_Y, 1.0)
    # Eye rows drive the eye's SDK null, in every schema.
    assert str(driven_of(tool_script, unreal, {"bone": "EyeJoint_L", "channel": "ry"}, maya=False).bone_name) == "SDKEye_L"


def test_quaternion_rows_keep_whole_rotations_and_the_tongue_root_turns_about_z(unreal, tool_script):
    row = {"channel": "Rotation", "representation": "Quaternion", "composition": "restThenDelta",
           "keys": [{"x": 0, "value": [0, 0, 0, 1]}, {"x": 10, "value": [0.7071068, 0, 0, 0.7071068]}, {"x": 20, "value": [1, 2]}]}
    tongue = driven_of(tool_script, unreal, dict(row, bone="Tongue0Joint_M"))
    assert tongue.channel == unreal.VNFaceSDKChannel.ROTATION_Z and not tongue.quaternion_rotation
    assert keys_of(tongue) == [(0.0, 0.0), (10.0, pytest.approx(90.0, abs=1e-4))]
    other = driven_of(tool_script, unreal, dict(row, bone="Tongue1Joint_M"))
    assert other.quaternion_rotation and other.channel == unreal.VNFaceSDKChannel.ROTATION
    values = [(key.x, (key.value.x, key.value.w)) for key in other.quaternion_keys]
    assert values == [(0.0, (0.0, 1.0)), (10.0, (pytest.approx(-0.7071068), pytest.approx(0.7071068)))], "Maya's X is mirrored"
    turned = driven_of(tool_script, unreal, dict(row, bone="Tongue1Joint_M", keys=[{"x": 1, "value": [0.1, 0.2, 0.3, 0.9]}]))
    value = turned.quaternion_keys[0].value
    assert (value.x, value.y, value.z, value.w) == pytest.approx((-0.1, 0.2, -0.3, 0.9)), "turns about X and Z reverse, about Y not"


def test_a_custom_driver_channel_reads_the_float_channel_and_an_unknown_driven_channel_fails(unreal, tool_script):
    record = tool_script["face_driver_record"]({"control": "ctrlMouth_M", "channel": "jawSide", "driven": []}, True)
    assert record.channel == unreal.VNFaceSDKChannel.VALUE_FLOAT and str(record.custom_channel_name) == "jawSide"
    plain = tool_script["face_driver_record"]({"control": "ctrlBrow_R", "channel": "Translate.Y", "driven": []}, True)
    assert plain.channel == unreal.VNFaceSDKChannel.TRANSLATION_Y and str(plain.custom_channel_name) == "None"
    with pytest.raises(RuntimeError, match="^Unknown or unsupported channel: wobble$"):
        tool_script["face_driver_record"]({"control": "c", "channel": "tx", "driven": [{"bone": "b", "channel": "wobble"}]}, True)
    assert [row["control"] for row in tool_script["face_source_drivers"](maya_data([{"control": "Jaw_M"}, {"control": "c"}]))] == ["c"]


def test_slider_limits_and_custom_channels_come_from_the_rows(tool_script):
    limits = tool_script["face_driver_limits"]
    assert limits([{"channel": "Value.X", "mayaDriverMin": -2, "mayaDriverMax": 3}, {"channel": "Value.Y"}]) == ([-2.0, -1.0], [3.0, 1.0])
    assert limits([{"channel": "tz", "mayaDriverMin": -5}]) == ([-1.0, -1.0], [1.0, 1.0]), "Z rows leave the limits"
    channels = tool_script["face_custom_channels"]([{"channel": "jawSide"}, {"channel": "tx"}, {"channel": "aaa", "mayaDriverMin": -1},
                                                    {"channel": "aaa", "mayaDriverMax": 4}, {"channel": "Value.Float"}])
    assert channels == {"jawSide": (0.0, 10.0), "aaa": (0.0, 4.0)}


def test_an_on_face_handle_follows_the_first_joint_of_its_name_that_is_a_bone(unreal, tool_script, editor):
    rig = unreal.ControlRigBlueprintFactory.create_new_control_rig_asset(desired_package_path="/Game/Face/JointNames")
    controller = rig.get_hierarchy_controller()
    for name in ("browJoint_L", "brow_LJoint", "cheekJoint"):
        controller.add_bone(name, unreal.RigElementKey(), unreal.Transform())
    elements = tool_script["RigElements"](rig.hierarchy, controller)
    joint = tool_script["face_direct_transform_joint_name"]
    assert (joint(elements, "brow_L"), joint(elements, "cheek"), joint(elements, "nose_M")) == ("browJoint_L", "cheekJoint", "")
    assert "upperLid_R" not in tool_script["face_json_generic_sampled_driver_names"](
        {"controls": [{"name": "upperLid_R", "type": "OnFace", "kind": "sampledDriver"},
                      {"name": "cheek_R", "type": "OnFace", "kind": "sampledDriver"}]})


# ---- the sample's face rig --------------------------------------------------------------------------

def prepared_tool_script(unreal, project, face_json, mode):
    """A fresh tool script run aimed at the sample installed in project, with the Face rig JSON and mode."""
    tool_script = run_tool_script(SOURCE_FILE="", INCLUDE_VN_FACE_SOLVER=True, json_file="")
    mesh = install_sample_hero(unreal, project)
    tool_script["set_target_skeletal_mesh"](mesh)
    tool_script["set_face_json_file"](face_json)
    tool_script["set_body_json_file"](BODY_JSON)
    tool_script["set_body_control_rig_source"]("Generate from JSON")
    tool_script["set_control_rig_mode"](mode)
    return tool_script, mesh


def build(unreal, tmp_path_factory, mode):
    import hosteditor
    project = tmp_path_factory.mktemp("face_" + mode.replace("+", "_")) / "Project"
    hosteditor.shutdown()
    hosteditor.start(str(project))
    tool_script, mesh = prepared_tool_script(unreal, project, FACE_JSON, mode)
    printed = io.StringIO()
    with contextlib.redirect_stdout(printed):
        rig = tool_script["create_control_rig_from_mode"]()
    return rig, reference_pose(package_file(project, mesh.get_path_name())), printed.getvalue(), hosteditor, project


@pytest.fixture(scope="module")
def face(unreal, tmp_path_factory):
    rig, pose, printed, editor, project = build(unreal, tmp_path_factory, "Face")
    yield rig, pose, printed, editor
    editor.shutdown()


with open(FACE_JSON, encoding="utf-8") as _source:
    FACE_DATA = json.load(_source)
HANDLES = {c["name"] for c in FACE_DATA["controls"] if c.get("type") == "OnFace"
           and c.get("kind") in ("directTransform", "sampledDriver", "driverAdapter", "driverAlias")}
SLIDERS = list(dict.fromkeys(r["control"] for r in FACE_DATA["drivers"]
                             if r["control"] not in HANDLES | {"Jaw_M", "SmilePull_R", "SmilePull_L"}))


def key(unreal, name, kind="CONTROL"):
    return unreal.RigElementKey(type=getattr(unreal.RigElementType, kind), name=name)


def test_the_face_rig_has_a_slider_per_driver_control_in_the_control_box(unreal, face):
    rig, _pose, printed, _editor = face
    hierarchy = rig.hierarchy
    assert str(rig.get_path_name()).startswith("/Game/SampleHero/SK_SampleHero_Face_CR")
    box = key(unreal, "ctrlBox")
    assert str(hierarchy.get_first_parent(box).name) == "ctrlBoxOffset"
    assert str(hierarchy.get_first_parent(key(unreal, "ctrlBoxOffset", "NULL")).name) == "ctrlBoxAttach"
    assert str(hierarchy.get_first_parent(key(unreal, "ctrlBoxAttach", "NULL")).name) == "FaceMotionSystem"
    sliders = [str(k.name) for k in hierarchy.get_children(box, False)
               if rig.get_hierarchy_controller().get_control_settings(k).animation_type == unreal.RigControlAnimationType.ANIMATION_CONTROL]
    assert sliders == SLIDERS
    assert "Jaw_M" not in sliders and "upperLid_R" not in sliders
    brow = key(unreal, "ctrlBrow_L")
    low = unreal.RigHierarchy.get_vector2d_from_control_value(hierarchy.get_control_value(brow, unreal.RigControlValueType.MINIMUM))
    high = unreal.RigHierarchy.get_vector2d_from_control_value(hierarchy.get_control_value(brow, unreal.RigControlValueType.MAXIMUM))
    assert (low.x, low.y, high.x, high.y) == (-1.0, -1.0, 1.0, 1.0)
    # The first row's offset puts the slider 1.2 along the box's X.
    box_rest, brow_rest = hierarchy.get_global_transform(box, True), hierarchy.get_global_transform(brow, True)
    box_rotation = (box_rest.rotation.x, box_rest.rotation.y, box_rest.rotation.z, box_rest.rotation.w)
    offset = rotate(conjugate(box_rotation), tuple(getattr(brow_rest.translation, a) - getattr(box_rest.translation, a) for a in "xyz"))
    assert offset == pytest.approx((1.2, 0.0, 0.0), abs=1e-5)
    # Custom attributes are float channels of their slider, from 0 to 10 unless the rows say otherwise.
    channels = [str(k.name) for k in hierarchy.get_children(key(unreal, "ctrlMouth_M"), False)]
    assert channels == ["jawSide", "jawForward"]
    jaw_side = hierarchy.get_control_value(key(unreal, "jawSide"), unreal.RigControlValueType.MINIMUM)
    assert unreal.RigHierarchy.get_float_from_control_value(jaw_side) == -10.0
    assert [str(k.name) for k in hierarchy.get_children(key(unreal, "ctrlTongue_M"), False)] == []
    # The phases report in their order.
    messages = ["Created on-face SmilePull controls: 2", "Created on-face eyelid controls: 4", "Created eye FK hierarchy elements: 8",
                "Created AimEye bindings: 2", "JawPull placement source: JawPull_M", "Face visibility group: ctrlBox.onFaceVis",
                "Added and connected VN Face SDK Solver node.", "Imported VN Face SDK JSON:"]
    assert [printed.index(message) for message in messages] == sorted(printed.index(message) for message in messages)
    assert "Drivers: " in printed and "Created on-face eyelid controls: 4" in printed


def test_every_on_face_entry_becomes_its_control_and_the_asset_its_records(unreal, face):
    rig, _pose, _printed, _editor = face
    hierarchy = rig.hierarchy
    supported = [c["name"] for c in FACE_DATA["controls"] if c.get("type") == "OnFace"
                 and c.get("kind") in ("directTransform", "sampledDriver", "driverAdapter", "driverAlias")]
    for name in supported:
        if name == "Jaw_M":
            assert hierarchy.contains(key(unreal, "Jaw_M", "NULL")) and not hierarchy.contains(key(unreal, "Jaw_M"))
        else:
            assert hierarchy.contains(key(unreal, name)), name
    unmapped = [c["name"] for c in FACE_DATA["controls"] if c.get("kind") == "unmapped"]
    assert unmapped and not any(hierarchy.contains(key(unreal, name)) for name in unmapped if name != "tongueTip_M")
    asset = unreal.load_asset("/Game/SampleHero/DA_SK_SampleHero_VNFaceSDK")
    follow = {(str(r.control_name), str(r.bone_name), str(r.follow_null_name), r.follow_rotation) for r in asset.follow_controls}
    assert ("SmilePull_R", "cornerLipJoint_R", "SmileFollow_R", True) in follow
    assert ("upperLip_M", "upperLipJoint0_M", "OnFaceFollow_upperLip_M", False) in follow
    assert ("upperLid_L", "upperLidMain2_L", "OnFaceFollow_upperLid_L", True) in follow
    assert ("JawPull_M", "ChinCreaseJoint_M", "JawFollow_M", True) in follow
    assert {(str(r.control_name), str(r.bone_name)) for r in asset.direct_controls} == {("browInner_R", "browInnerJoint_R"),
                                                                                         ("browInner_L", "browInnerJoint_L")}
    assert [(str(r.sdk_null_name), str(r.final_control_name), str(r.eye_joint_name)) for r in asset.eye_chains] == [
        ("SDKEye_R", "Eye_R", "EyeJoint_R"), ("SDKEye_L", "Eye_L", "EyeJoint_L")]
    assert [(str(r.eye_aim_null_name), str(r.target_control_name)) for r in asset.aim_bindings] == [
        ("EyeAim_R", "AimEye_R"), ("EyeAim_L", "AimEye_L")]
    assert [(str(g.switch_control_name), g.default_visible, len(g.members)) for g in asset.visibility_groups] == [
        ("ctrlBox_onFaceVis", True, 18), ("ctrlBox_lidVis", False, 4)]
    assert [str(k.name) for k in hierarchy.get_parents(key(unreal, "Eye_R"), True)][:3] == ["SDKEye_R", "EyeAim_R", "EyeOffset_R"]


def test_the_data_asset_holds_the_drivers_and_the_solver_reads_it(unreal, face):
    rig, _pose, printed, _editor = face
    asset = unreal.load_asset("/Game/SampleHero/DA_SK_SampleHero_VNFaceSDK")
    drivers = asset.get_editor_property("drivers")
    names = [str(d.control_name) for d in drivers]
    file_rows = [r["control"] for r in FACE_DATA["drivers"] if r["control"] != "Jaw_M"]
    assert names[:len(file_rows)] == file_rows
    # Behind the file's rows: the smile pulls reuse the mouth corners', the adapters theirs, and the
    # left lids get the right lids' rows.
    generated = list(dict.fromkeys(names[len(file_rows):]))
    assert generated == ["SmilePull_R", "SmilePull_L", "JawPull_M", "jawMouth", "mouthPress_M", "lipsAlias_M", "upperLid_L", "lowerLid_L"]
    corners = sum(1 for r in FACE_DATA["drivers"] if r["control"] == "ctrlMouthCorner_R")
    assert names.count("SmilePull_R") == corners
    assert asset.get_editor_property("version") == 2
    solver = next(node for node in rig.get_model().get_nodes() if str(node.get_name()) == "VNFaceSDKSolver")
    pins = {str(pin.get_name()): str(pin.get_default_value()) for pin in solver.get_pins()}
    assert pins["FaceRigDataAsset"] == asset.get_path_name()
    assert pins["FaceJoint"] == '(Type=Bone,Name="FaceJoint_M")' and pins["CtrlBoxAttach"] == '(Type=Null,Name="ctrlBoxAttach")'
    assert float(pins["FaceScaler"]) == pytest.approx(1.0, abs=1e-5)
    assert "Added and connected VN Face SDK Solver node." in printed


def bone(evaluation, name):
    transform = evaluation.global_transform(name)
    return ((transform.translation.x, transform.translation.y, transform.translation.z),
            (transform.rotation.x, transform.rotation.y, transform.rotation.z, transform.rotation.w))


def angle(a, b):
    relative = multiply(conjugate(a), b)
    return math.degrees(2.0 * math.atan2(math.sqrt(sum(c * c for c in relative[:3])), abs(relative[3])))


def solved(editor, rig, values):
    evaluation = editor.RigEvaluation(rig)
    for name, value in values.items():
        evaluation.set_control_value(name, value)
    assert evaluation.run_forwards_solve(2), evaluation.report()["errors"]
    return evaluation


FACE_BONES = ("browInnerJoint_R", "browInnerJoint_L", "JawJoint_M", "lowerLipJoint0_M", "upperLipJoint0_M", "cornerLipJoint_R",
              "cornerLipJoint_L", "Tongue0Joint_M", "Tongue1Joint_M", "EyeJoint_R", "EyeJoint_L", "upperLidMain2_R",
              "upperLidMain2_L", "lowerLidMain0_L", "cheekJoint_R", "ChinCreaseJoint_M")


def test_at_rest_no_face_bone_moves(unreal, face):
    rig, pose, _printed, editor = face
    evaluation = solved(editor, rig, {})
    for name in FACE_BONES:
        position, rotation = bone(evaluation, name)
        assert math.dist(position, pose[name][2]) < TOLERANCE and angle(rotation, pose[name][1]) < TOLERANCE, name


def rotor_z(degrees):
    half = math.radians(degrees) / 2.0
    return (0.0, 0.0, math.sin(half), math.cos(half))


@pytest.mark.parametrize("value", [1.0, 0.5, -0.25])
def test_the_brow_slider_moves_the_brow_along_its_keys(unreal, face, value):
    rig, pose, _printed, editor = face
    evaluation = solved(editor, rig, {"ctrlBrow_R": unreal.Vector2D(0.0, value)})
    row = FACE_DATA["drivers"][0]
    assert row["control"] == "ctrlBrow_R" and row["channel"] == "Translate.Y"

    def curve(keys, x):
        keys = sorted((k["x"], k["y"]) for k in keys)
        for (x0, y0), (x1, y1) in zip(keys, keys[1:]):
            if x0 <= x <= x1:
                return y0 + (y1 - y0) * (x - x0) / (x1 - x0)
        return keys[0][1] if x < keys[0][0] else keys[-1][1]

    lift = curve(row["driven"][0]["keys"], value)       # Maya's local Y, which the engine's Y mirrors
    turn = -curve(row["driven"][1]["keys"], value)      # Maya's turn about the joint's Z: the opposite about the bone's Z
    parent, rest_rotation, rest_position = pose["browInnerJoint_R"]
    _grand, parent_rotation, parent_position = pose[parent]
    local = rotate(conjugate(parent_rotation), tuple(p - q for p, q in zip(rest_position, parent_position)))
    moved = rotate(parent_rotation, (local[0], local[1] - lift, local[2]))
    expected = tuple(p + m for p, m in zip(parent_position, moved))
    position, rotation = bone(evaluation, "browInnerJoint_R")
    assert math.dist(position, expected) < TOLERANCE
    assert angle(rotation, multiply(rest_rotation, rotor_z(turn))) < TOLERANCE
    other_position, _ = bone(evaluation, "browInnerJoint_L")
    assert math.dist(other_position, pose["browInnerJoint_L"][2]) < TOLERANCE


# ---- on-face controls -------------------------------------------------------------------------------

def adapter(name, mappings, kind="driverAdapter"):
    return {"name": name, "type": "OnFace", "kind": kind, "adapter": name, "mappings": mappings}


def adapter_rows(tool_script, drivers, mappings):
    return tool_script["face_driver_adapter_driver_data"](drivers, {"controls": [adapter("picker_M", mappings)]})


def test_a_reused_driver_is_rescaled_to_the_adapter_and_kept_in_order(tool_script):
    drivers = [{"control": "ctrlMouth_M", "channel": "jawSide", "mayaDriverMin": 0, "mayaDriverMax": 10,
                "driven": [{"bone": "JawJoint_M", "channel": "ry", "keys": [{"x": 0, "y": 0}, {"x": 10, "y": 20}]}]}]
    [row] = adapter_rows(tool_script, drivers, [{"source": "tx", "targetControl": "ctrlMouth_M", "targetChannel": "jawSide",
                                                 "scale": 10}])
    assert (row["control"], row["channel"], row["mayaDriverMin"], row["mayaDriverMax"]) == ("picker_M", "Value.X", 0.0, 1.0)
    assert [(k["x"], k["y"]) for k in row["driven"][0]["keys"]] == [(0.0, 0), (1.0, 20)]
    [flipped] = adapter_rows(tool_script, drivers, [{"source": "Value.Y", "targetControl": "ctrlMouth_M", "targetChannel": "jawSide",
                                                     "scale": -2}])
    assert (flipped["mayaDriverMin"], flipped["mayaDriverMax"]) == (-5.0, 0.0)
    assert [k["x"] for k in flipped["driven"][0]["keys"]] == [-5.0, 0.0], "re-sorted by x"
    assert drivers[0]["driven"][0]["keys"][1]["x"] == 10, "the source rows stay as they were"


def test_clamped_adapters_hold_the_curve_past_their_bound(tool_script):
    keys = [{"x": 0, "y": 0}, {"x": 1, "y": 2}]
    clamp = tool_script["face_adapter_clamped_keys"]
    assert [(k["x"], k["y"]) for k in clamp(keys, "clampMax", 0.5, 1.0)] == [(0.0, 0.0), (0.5, 1.0), (1.5, 1.0)]
    assert [(k["x"], k["y"]) for k in clamp(keys, "clampMin", 0.5, 1.0)] == [(-0.5, 1.0), (0.5, 1.0), (1.0, 2.0)]
    curve = tool_script["face_curve_value_at"]
    assert (curve(keys, 2.0), curve(keys, -1.0), curve([], 3.0), curve(keys[:1], 9.0)) == (4.0, -2.0, 0.0, 0.0)


def test_adapter_mappings_that_cannot_be_used_are_skipped_with_a_message(tool_script, capsys):
    drivers = [{"control": "ctrlLips_M", "channel": "Value.Y", "driven": []}]
    assert adapter_rows(tool_script, drivers, [{"source": "ty", "targetControl": "ctrlLips_M", "targetChannel": "Value.Y",
                                                "operation": "wobble"},
                                               {"source": "ty", "targetControl": "", "targetChannel": "Value.Y"},
                                               {"source": "ty", "targetControl": "ctrlLips_M", "targetChannel": "Value.Y", "scale": 0},
                                               {"source": "ty", "targetControl": "ctrlNope_M", "targetChannel": "Value.Y"}]) == []
    out = capsys.readouterr().out
    assert "OnFace driverAdapter mapping skipped; unsupported operation: wobble" in out
    assert out.count("OnFace driverAdapter mapping skipped; incomplete mapping: picker_M") == 2
    assert "OnFace driverAdapter mapping skipped; target driver missing: picker_M ctrlNope_M Value.Y" in out
    # The jaw pull without mappings of its own reuses the mouth and lips sliders.
    rows = tool_script["face_driver_adapter_driver_data"](
        [{"control": "ctrlMouth_M", "channel": "jawSide", "driven": []}, {"control": "ctrlMouth_M", "channel": "Value.Y", "driven": []},
         {"control": "ctrlLips_M", "channel": "Value.Y", "driven": []}], {"controls": [adapter("JawPull_M", [])]})
    assert [(r["control"], r["channel"]) for r in rows] == [("JawPull_M", "Value.X"), ("JawPull_M", "Value.Y"), ("JawPull_M", "Value.Y")]


def local_turn(pose, evaluation, name):
    """The bone's turn in its own frame since rest, as a quaternion."""
    _position, rotation = bone(evaluation, name)
    return multiply(conjugate(pose[name][1]), rotation)


def about_z_degrees(turn):
    assert abs(turn[0]) < 1e-4 and abs(turn[1]) < 1e-4, turn
    return math.degrees(2.0 * math.atan2(turn[2], turn[3]))


def test_the_right_lid_closes_its_lid_and_the_left_lid_mirrors_it(unreal, face):
    rig, pose, _printed, editor = face
    closed = unreal.EulerTransform(location=unreal.Vector(0.0, -1.0, 0.0))
    evaluation = solved(editor, rig, {"upperLid_R": closed, "upperLid_L": closed})
    row = next(r for r in FACE_DATA["drivers"] if r["control"] == "upperLid_R")
    keyed = next(d for d in row["driven"] if d["bone"] == "upperLidMain2_R" and d["channel"] == "rotation.z")
    closed_angle = next(k["y"] for k in keyed["keys"] if k["x"] == -1)
    # Maya's turn about the joint's Z is the opposite turn about the bone's; the left lid's is mirrored.
    assert about_z_degrees(local_turn(pose, evaluation, "upperLidMain2_R")) == pytest.approx(-closed_angle, abs=1e-3)
    assert about_z_degrees(local_turn(pose, evaluation, "upperLidMain2_L")) == pytest.approx(closed_angle, abs=1e-3)
    rest = solved(editor, rig, {})
    assert about_z_degrees(local_turn(pose, rest, "upperLidMain2_L")) == pytest.approx(0.0, abs=1e-3)


def test_the_jaw_pull_opens_the_jaw_through_the_mouth_slider_curves(unreal, face):
    rig, pose, _printed, editor = face
    hierarchy = rig.hierarchy
    jaw_pivot = hierarchy.get_global_transform(key(unreal, "Jaw_M", "NULL"), True).translation
    chin = [float(v) for v in next(c for c in FACE_DATA["controls"] if c["name"] == "JawPull_M")["positionWorld"]]
    assert (jaw_pivot.x, jaw_pivot.y, jaw_pivot.z) == pytest.approx((chin[0], chin[2], chin[1]), abs=1e-3), "the pivot sits at the chin"
    assert str(hierarchy.get_first_parent(key(unreal, "JawPull_M")).name) == "Jaw_M"
    evaluation = solved(editor, rig, {"JawPull_M": unreal.Vector2D(0.0, -1.0)})
    mouth = next(r for r in FACE_DATA["drivers"] if r["control"] == "ctrlMouth_M" and r["channel"] == "Value.Y")
    opened = next(k["y"] for k in mouth["driven"][0]["keys"] if k["x"] == -1)
    turn = local_turn(pose, evaluation, "JawJoint_M")
    assert math.degrees(2.0 * math.acos(min(1.0, abs(turn[3])))) == pytest.approx(abs(opened), abs=1e-3)
    assert abs(turn[1]) < 1e-6 and abs(turn[2]) < 1e-6, "about the jaw's side axis"
    position, _ = bone(evaluation, "JawJoint_M")
    assert math.dist(position, pose["JawJoint_M"][2]) < TOLERANCE, "the jaw turns about its joint"
    # The jaw opens: the lower lip, on the jaw, swings down.
    lip_rest, lip_now = pose["lowerLipJoint0_M"][2], bone(evaluation, "lowerLipJoint0_M")[0]
    assert lip_now[2] < lip_rest[2] - 1.0


def test_the_aim_control_turns_the_eye_towards_it(unreal, face):
    rig, pose, _printed, editor = face
    rest_target = rig.hierarchy.get_global_transform(key(unreal, "AimEye_R"), True).translation
    evaluation = solved(editor, rig, {"AimEye_R": unreal.EulerTransform(location=unreal.Vector(12.0, 0.0, 0.0))})
    target = evaluation.global_transform("AimEye_R", "Control").translation
    assert math.dist((target.x, target.y, target.z), (rest_target.x, rest_target.y, rest_target.z)) > 5.0
    position, rotation = bone(evaluation, "EyeJoint_R")
    assert math.dist(position, pose["EyeJoint_R"][2]) < TOLERANCE
    # The eye's forward axis (Maya +Z, the engine's +Y in the face joints' world-aligned frame) aims at it.
    forward = rotate(multiply(rotation, conjugate(pose["EyeJoint_R"][1])), (0.0, 1.0, 0.0))
    towards = tuple(t - p for t, p in zip((target.x, target.y, target.z), position))
    length = math.sqrt(sum(c * c for c in towards))
    assert sum(f * t / length for f, t in zip(forward, towards)) == pytest.approx(1.0, abs=1e-5)
    assert angle(bone(evaluation, "EyeJoint_L")[1], pose["EyeJoint_L"][1]) < TOLERANCE, "the other eye keeps its aim"


def test_a_direct_handle_moves_its_joint_by_its_own_move(unreal, face):
    rig, pose, _printed, editor = face
    evaluation = solved(editor, rig, {"browInner_R": unreal.EulerTransform(location=unreal.Vector(0.0, 0.0, 0.5))})
    control_rest = rig.hierarchy.get_global_transform(key(unreal, "browInner_R"), True)
    control_now = evaluation.global_transform("browInner_R", "Control")
    moved = tuple(getattr(control_now.translation, a) - getattr(control_rest.translation, a) for a in "xyz")
    assert math.sqrt(sum(c * c for c in moved)) == pytest.approx(0.5, abs=TOLERANCE)
    expected = tuple(p + m for p, m in zip(pose["browInnerJoint_R"][2], moved))
    assert math.dist(bone(evaluation, "browInnerJoint_R")[0], expected) < TOLERANCE


def odd_face_json(tmp_path, drivers, controls=()):
    data = dict(FACE_DATA, drivers=drivers, controls=list(controls), visibilityGroups=[], lookAtSystems=[])
    path = tmp_path / "Odd_FaceRig.json"
    path.write_text(json.dumps(data), encoding="utf-8")
    return str(path)


def face_build_in(unreal, editor, tmp_path, face_json, mode="Face"):
    tool_script, _mesh = prepared_tool_script(unreal, tmp_path / "Project", face_json, mode)
    printed = io.StringIO()
    with contextlib.redirect_stdout(printed):
        tool_script["vn_run_create_control_rig"]()
    return printed.getvalue(), editor.message_boxes()


def test_odd_rows_and_entries_are_reported_and_the_rest_is_built(unreal, editor, tmp_path):
    brow = dict(FACE_DATA["drivers"][0])
    ghost = {"control": "ctrlGhost_M", "channel": "tx", "driven": [{"bone": "NoSuchJoint_M", "channel": "tx",
                                                                     "keys": [{"x": 0, "y": 0}, {"x": 1, "y": 3}]}]}
    cheek = next(c for c in FACE_DATA["controls"] if c["name"] == "cheek_R")
    twin = dict(cheek, positionWorld=[50.0, 50.0, 50.0])
    orphan = {"name": "dimple_R", "type": "OnFace", "kind": "directTransform", "positionWorld": [0, 160, 9],
              "shapePositionWorld": [0, 160, 10]}
    printed, boxes = face_build_in(unreal, editor, tmp_path, odd_face_json(tmp_path, [brow, ghost], [cheek, twin, orphan]))
    assert boxes == [("Vantorel", "Create Control Rig complete.")]
    assert "OnFace directTransform skipped; target joint missing: dimple_R" in printed
    rig = unreal.load_asset("/Game/SampleHero/SK_SampleHero_Face_CR")
    hierarchy = rig.hierarchy
    assert hierarchy.contains(key(unreal, "ctrlBrow_R")) and hierarchy.contains(key(unreal, "ctrlGhost_M"))
    assert not hierarchy.contains(key(unreal, "dimple_R"))
    # Of two entries of one name the first is the control; the second changes nothing.
    cheek_place = hierarchy.get_global_transform(key(unreal, "cheek_R"), True).translation
    assert math.dist((cheek_place.x, cheek_place.y, cheek_place.z), (-4.5, 8.0, 165.0)) < 0.5
    # The row on a joint the mesh lacks moves nothing; the rest of the face still works.
    evaluation = solved(editor, rig, {"ctrlGhost_M": unreal.Vector2D(1.0, 0.0), "ctrlBrow_R": unreal.Vector2D(0.0, 1.0)})
    pose = reference_pose(package_file(tmp_path / "Project", "/Game/SampleHero/SK_SampleHero"))
    assert not evaluation.report()["errors"]
    assert bone(evaluation, "browInnerJoint_R")[0][2] == pytest.approx(pose["browInnerJoint_R"][2][2] + 0.8, abs=TOLERANCE)
    assert math.dist(bone(evaluation, "JawJoint_M")[0], pose["JawJoint_M"][2]) < TOLERANCE


def test_an_empty_drivers_list_builds_an_empty_face_and_a_failed_face_keeps_the_body(unreal, editor, tmp_path):
    printed, boxes = face_build_in(unreal, editor, tmp_path, odd_face_json(tmp_path, []))
    assert boxes == [("Vantorel", "Create Control Rig complete.")] and "Drivers: 0" in printed
    rig = unreal.load_asset("/Game/SampleHero/SK_SampleHero_Face_CR")
    assert rig.hierarchy.contains(key(unreal, "ctrlBox"))
    # A body rig JSON given as the face's: the body is built and saved, and the message says the face failed.
    editor.message_boxes()
    _printed, boxes = face_build_in(unreal, editor, tmp_path, BODY_JSON, mode="Body+Face")
    assert boxes[-1] == ("Vantorel", "Create Control Rig failed:\nThe body Control Rig is saved at /Game/SampleHero/SK_SampleHero_CR; "
                                     "adding the face to it failed: The selected Face JSON is marked as 'VantorelBodyRig'. "
                                     "Choose an Vantorel Face Rig JSON file.")
    assert os.path.isfile(tmp_path / "Project" / "Content" / "SampleHero" / "SK_SampleHero_CR.uasset")
    body = unreal.load_asset("/Game/SampleHero/SK_SampleHero_CR")
    assert body.hierarchy.contains(key(unreal, "Main")) and not body.hierarchy.contains(key(unreal, "ctrlBox"))


# Runs last: it starts an editor run of its own, which ends the one the "face" rig lives in.
def test_body_and_face_adds_the_face_to_the_body_rig_after_the_body_solve(unreal, tmp_path_factory):
    rig, pose, printed, editor, _project = build(unreal, tmp_path_factory, "Body+Face")
    try:
        assert str(rig.get_path_name()).startswith("/Game/SampleHero/SK_SampleHero_CR")
        hierarchy = rig.hierarchy
        assert hierarchy.contains(key(unreal, "Main")) and hierarchy.contains(key(unreal, "ctrlBrow_R"))
        model = rig.get_model()
        links = {(str(l.get_source_pin().get_pin_path()), str(l.get_target_pin().get_pin_path())) for l in model.get_links()}
        assert ("BodyForwardSequence.B", "VNFaceSDKSolver.ExecuteContext") in links
        assert ("BodyForwardSequence.A", "VNBendRestore.ExecuteContext") in links
        evaluation = solved(editor, rig, {})
        for name in FACE_BONES + ("Head_M", "Wrist_L"):
            position, rotation = bone(evaluation, name)
            assert math.dist(position, pose[name][2]) < TOLERANCE and angle(rotation, pose[name][1]) < 1e-2, name
        # The head turned by its control carries the face; the brow slider still lifts the brow on it.
        turned = solved(editor, rig, {"FKHead_M": unreal.EulerTransform(rotation=unreal.Rotator(roll=20.0)),
                                      "ctrlBrow_R": unreal.Vector2D(0.0, 1.0)})
        rest = solved(editor, rig, {"FKHead_M": unreal.EulerTransform(rotation=unreal.Rotator(roll=20.0))})
        assert math.dist(bone(turned, "browInnerJoint_R")[0], bone(rest, "browInnerJoint_R")[0]) == pytest.approx(0.8, abs=TOLERANCE)
        # An on-face handle rides on its follow null with its joint: the cheek handle keeps its place
        # on the cheek when the head turns.
        cheek_rest = hierarchy.get_global_transform(key(unreal, "cheek_R"), True).translation
        offset = tuple(getattr(cheek_rest, a) - p for a, p in zip("xyz", pose["cheekJoint_R"][2]))
        cheek_now = rest.global_transform("cheek_R", "Control").translation
        joint_position, joint_rotation = bone(rest, "cheekJoint_R")
        turn = multiply(joint_rotation, conjugate(pose["cheekJoint_R"][1]))
        expected = tuple(j + o for j, o in zip(joint_position, rotate(turn, offset)))
        assert math.dist((cheek_now.x, cheek_now.y, cheek_now.z), expected) < TOLERANCE

        # The body rig built alone in the same project: the combined rig holds all of it, and poses the
        # body as it does.
        tool_script, _mesh = prepared_tool_script(unreal, _project, FACE_JSON, "Body")
        with contextlib.redirect_stdout(io.StringIO()):
            body = tool_script["create_control_rig_from_mode"]()

        def elements(blueprint):
            return {(str(k.type), str(k.name)) for k in blueprint.hierarchy.get_all_keys(True)}

        def nodes(blueprint):
            return {str(n.get_name()) for n in blueprint.get_model().get_nodes()}

        assert elements(body) <= elements(rig) and nodes(body) <= nodes(rig)
        added = {name for _type, name in elements(rig) - elements(body)}
        assert {"FaceMotionSystem", "ctrlBox", "Eye_R", "JawPull_M"} <= added and nodes(rig) - nodes(body) == {"VNFaceSDKSolver"}
        pose_values = {"FKIKArm_L_FKIKBlend": 0.0, "FKElbow_L": unreal.EulerTransform(rotation=unreal.Rotator(roll=30.0)),
                       "FKSpine2_M": unreal.EulerTransform(rotation=unreal.Rotator(pitch=10.0))}
        alone, combined = solved(editor, body, pose_values), solved(editor, rig, pose_values)
        for name in ("Wrist_L", "Head_M", "Chest_M", "Knee_R"):
            assert math.dist(bone(alone, name)[0], bone(combined, name)[0]) < TOLERANCE, name
            assert angle(bone(alone, name)[1], bone(combined, name)[1]) < TOLERANCE, name
    finally:
        editor.shutdown()
