"""The bundled sample character: its files read cleanly through the tool script and the native
importer, its Maya data agrees with the skeletal mesh's reference pose, every feature the coverage
table of Samples/README.md promises is in the files, the size parameters scale it, and the committed
copy is what the generator writes today.

Geometry is checked by the conversion rules written out here, independently of the generator:
a Maya point (x, y, z) is the Unreal point (x, z, y) times the mesh's import scale, and a bone's
global reference pose is its local transform composed onto its parent's (rotation first, then the
parent's rotation and translation)."""

import math
import os
import re
import shutil
import sys

import pytest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SAMPLES = os.path.join(ROOT, "Samples")
sys.path.insert(0, SAMPLES)

import generate_sample  # noqa: E402

NAME = generate_sample.DEFAULT_NAME
SAMPLE_DIR = os.path.join(SAMPLES, NAME)
BODY_PATH = os.path.join(SAMPLE_DIR, NAME + "_BodyRig.json")
FACE_PATH = os.path.join(SAMPLE_DIR, NAME + "_FaceRig.json")
MESH_PATH = "/Game/%s/SK_%s" % (NAME, NAME)
TOLERANCE_CM = 1e-4
OFF_JOINT_KINDS = {"IKPole", "FKIK", "ReverseFoot", "DrivingSystem", "HipSwinger"}
NATIVE_CHANNEL_SPELLINGS = (
    "translation.x", "translate.x", "tx", "translation.y", "translate.y", "ty", "translation.z", "translate.z", "tz",
    "rotation.x", "rotate.x", "rx", "rotation.y", "rotate.y", "ry", "rotation.z", "rotate.z", "rz", "rotation",
    "scale.x", "sx", "scale.y", "sy", "scale.z", "sz", "value.x", "valuex", "value.y", "valuey", "value.z", "valuez",
    "value.float", "valuefloat", "float",
)


def load(path):
    import json
    with open(path, encoding="utf-8") as handle:
        return json.load(handle)


@pytest.fixture(scope="module")
def body():
    return load(BODY_PATH)


@pytest.fixture(scope="module")
def face():
    return load(FACE_PATH)


@pytest.fixture
def mesh(editor, unreal):
    """The committed skeletal mesh, loaded by the headless editor from the project's content."""
    folder = os.path.join(unreal.Paths.project_content_dir(), NAME)
    os.makedirs(folder, exist_ok=True)
    for name in os.listdir(SAMPLE_DIR):
        if name.endswith(".uasset"):
            shutil.copyfile(os.path.join(SAMPLE_DIR, name), os.path.join(folder, name))
    loaded = unreal.load_asset(MESH_PATH)
    assert isinstance(loaded, unreal.SkeletalMesh)
    return loaded


# ---- rules used by the checks ---------------------------------------------------------------------

def rule_v(point, import_scale=1.0):
    return (point[0] * import_scale, point[2] * import_scale, point[1] * import_scale)


def quat_rotate(q, v):
    x, y, z, w = q
    size = math.sqrt(x * x + y * y + z * z + w * w)
    x, y, z, w = x / size, y / size, z / size, w / size
    tx, ty, tz = 2 * (y * v[2] - z * v[1]), 2 * (z * v[0] - x * v[2]), 2 * (x * v[1] - y * v[0])
    return (v[0] + w * tx + (y * tz - z * ty), v[1] + w * ty + (z * tx - x * tz), v[2] + w * tz + (x * ty - y * tx))


def quat_mul(a, b):
    """a * b: rotate by b first, then by a."""
    ax, ay, az, aw = a
    bx, by, bz, bw = b
    return (aw * bx + ax * bw + ay * bz - az * by, aw * by - ax * bz + ay * bw + az * bx,
            aw * bz + ax * by - ay * bx + az * bw, aw * bw - ax * bx - ay * by - az * bz)


def mesh_globals(unreal, mesh):
    """Bone name -> (global rotation, global translation), composed from the local reference pose."""
    skeleton = mesh.get_editor_property("skeleton")
    pose = unreal.AnimPoseExtensions.get_reference_pose(skeleton)
    names = [str(name) for name in unreal.AnimPoseExtensions.get_bone_names(pose)]
    parents = package_parents()
    result = {}
    for name in names:
        local = unreal.AnimPoseExtensions.get_bone_pose(pose, name)
        q = (local.rotation.x, local.rotation.y, local.rotation.z, local.rotation.w)
        t = (local.translation.x, local.translation.y, local.translation.z)
        parent = parents[name]
        if parent:
            parent_q, parent_t = result[parent]
            t = tuple(a + b for a, b in zip(quat_rotate(parent_q, t), parent_t))
            q = quat_mul(parent_q, q)
        result[name] = (q, t)
    return result


def package_parents():
    """Bone name -> parent name, read from the mesh package's reference skeleton lines."""
    path = os.path.join(SAMPLE_DIR, "SK_%s.uasset" % NAME)
    with open(path, encoding="utf-8") as handle:
        lines = re.findall(r'Bone Name="([^"]+)" Parent=(-?\d+)', handle.read())
    names = [name for name, _ in lines]
    return {name: (names[int(parent)] if int(parent) >= 0 else None) for name, parent in lines}


def import_scale(mesh):
    return mesh.get_editor_property("asset_import_data").get_editor_property("import_uniform_scale")


def matrix_rows(values):
    return [values[4 * r:4 * r + 3] for r in range(3)]


def euler_xyz_rows(angles):
    """Maya's rotate order XYZ as row-vector axes (X turned first, then Y, then Z)."""
    rx, ry, rz = (math.radians(a) for a in angles)
    cx, sx, cy, sy, cz, sz = math.cos(rx), math.sin(rx), math.cos(ry), math.sin(ry), math.cos(rz), math.sin(rz)
    return [(cy * cz, cy * sz, -sy),
            (sx * sy * cz - cx * sz, sx * sy * sz + cx * cz, sx * cy),
            (cx * sy * cz + sx * sz, cx * sy * sz - sx * cz, cx * cy)]


def all_controls(body, face):
    return [("body", c) for c in body["rig"]["controls"]] + [("face", c) for c in face["controls"]]


# ---- reading ---------------------------------------------------------------------------------------

def test_both_files_read_cleanly_through_the_tool_script_readers(tool_script, body, face):
    tool_script["body_json_file"] = BODY_PATH
    rig = tool_script["body_json_read"]()
    assert rig["__vn_version"] == body["vantorelVersion"]
    assert len(rig["joints"]) == len(body["rig"]["joints"]) and len(rig["controls"]) == len(body["rig"]["controls"])
    assert tool_script["json_contains_body_rig"](body) and not tool_script["json_contains_face_rig"](body)
    tool_script["json_file"] = FACE_PATH
    assert tool_script["face_json_read"]() == face
    assert tool_script["json_contains_face_rig"](face) and not tool_script["json_contains_body_rig"](face)


def test_the_face_file_imports_through_the_native_importer_as_written(editor, unreal, face):
    asset = unreal.AssetToolsHelpers.get_asset_tools().create_asset("DA_Sample", "/Game/Sample", unreal.VNFaceRigDataAsset, None)
    assert unreal.VNFaceSDKImportLibrary.import_vn_face_sdk_json(asset, FACE_PATH) == ""
    drivers = asset.get_editor_property("drivers")
    assert asset.get_editor_property("version") == 2
    assert [str(d.get_editor_property("control_name")) for d in drivers] == [d["control"] for d in face["drivers"]]
    rows = [row for d in drivers for row in d.get_editor_property("driven")]
    assert len(rows) == sum(len(d["driven"]) for d in face["drivers"])
    custom = {str(d.get_editor_property("custom_channel_name")) for d in drivers if d.get_editor_property("channel") == unreal.VNFaceSDKChannel.VALUE_FLOAT}
    assert {"jawSide", "jawForward", "aaa", "ooo"} <= custom
    assert any(row.get_editor_property("channel") == unreal.VNFaceSDKChannel.ROTATION for row in rows)


# ---- geometry --------------------------------------------------------------------------------------

def test_every_world_matrix_is_a_proper_frame_that_agrees_with_position_and_rotation(body, face):
    for source, control in all_controls(body, face):
        matrix = control["worldMatrix"]
        assert len(matrix) == 16 and matrix[3::4] == [0.0, 0.0, 0.0, 1.0], control["name"]
        assert matrix[12:15] == control["positionWorld"], (source, control["name"])
        rows = matrix_rows(matrix)
        for r in range(3):
            for c in range(3):
                assert sum(rows[r][k] * rows[c][k] for k in range(3)) == pytest.approx(float(r == c), abs=1e-5), control["name"]
        expected = euler_xyz_rows(control["rotationWorld"])
        for r in range(3):
            assert rows[r] == pytest.approx(expected[r], abs=1e-5), (control["name"], control["rotationWorld"])


def test_controls_on_joints_sit_on_the_meshs_reference_pose_by_rule_v(unreal, mesh, body, face):
    globals_ = mesh_globals(unreal, mesh)
    scale = import_scale(mesh)
    checked = 0
    for control in body["rig"]["controls"]:
        if control.get("joint") and control["type"] not in OFF_JOINT_KINDS:
            unreal_point = rule_v(control["positionWorld"], scale)
            assert unreal_point == pytest.approx(globals_[control["joint"]][1], abs=TOLERANCE_CM), control["name"]
            checked += 1
    for control in face["controls"]:
        stem, _, side = control["name"].rpartition("_")
        joint = "%sJoint_%s" % (stem, side)
        # The exported jaw handle sits at nose level on purpose; its pivot is the chin.
        if control["kind"] in ("directTransform", "sampledDriver") and joint in globals_ and control["name"] != "Jaw_M":
            assert rule_v(control["positionWorld"], scale) == pytest.approx(globals_[joint][1], abs=TOLERANCE_CM), control["name"]
            checked += 1
    assert checked > 80
    assert face["rig"]["mayaFaceJointHeight"] * scale == pytest.approx(globals_["FaceJoint_M"][1][2], abs=TOLERANCE_CM)


def test_joint_frames_aim_down_the_bones_and_fk_controls_share_them(unreal, mesh, body):
    """The bone's frame is its joint's Maya frame as an FBX import converts it: the bone's X and Z axes
    are the joint's X and Z axes as directions (Rule V), its Y axis the joint's Y axis negated. FK
    controls carry the joint orientation, so the bone's X axis aims at its child."""
    globals_ = mesh_globals(unreal, mesh)
    for control in body["rig"]["controls"]:
        if control["type"] != "FK":
            continue
        rows = matrix_rows(control["worldMatrix"])
        q = globals_[control["joint"]][0]
        for axis, sign in ((0, 1.0), (1, -1.0), (2, 1.0)):
            unit = [0.0, 0.0, 0.0]
            unit[axis] = 1.0
            expected = [sign * value for value in rule_v(rows[axis])]
            assert quat_rotate(q, unit) == pytest.approx(expected, abs=1e-5), (control["name"], axis)
    shoulder, elbow = globals_["Shoulder_L"], globals_["Elbow_L"]
    aim = [b - a for a, b in zip(shoulder[1], elbow[1])]
    size = math.sqrt(sum(a * a for a in aim))
    # Stored quaternions keep six decimals, which turns a bone by well under a thousandth of a degree.
    assert quat_rotate(shoulder[0], (1.0, 0.0, 0.0)) == pytest.approx([a / size for a in aim], abs=2e-5)


def test_a_body_control_rig_takes_the_samples_joints_as_bones_without_the_top_groups(unreal, mesh, body):
    unreal.load_module("ControlRigDeveloper")
    rig = unreal.ControlRigBlueprintFactory.create_control_rig_from_skeletal_mesh_or_skeleton(mesh)
    assert unreal.VNFaceSDKImportLibrary.import_body_control_rig_bones(rig, mesh)
    hierarchy = rig.hierarchy
    bones = [key for key in hierarchy.get_all_keys(True) if key.type == unreal.RigElementType.BONE]
    assert sorted(str(key.name) for key in bones) == sorted(j["name"] for j in body["rig"]["joints"])
    assert [str(p.name) for p in hierarchy.get_parents(next(k for k in bones if str(k.name) == "RootMotion_M"))] == []
    by_name = {str(key.name): key for key in bones}
    for control in body["rig"]["controls"]:
        if control["type"] == "FK":
            point = hierarchy.get_global_transform(by_name[control["joint"]], True).translation
            assert rule_v(control["positionWorld"]) == pytest.approx((point.x, point.y, point.z), abs=TOLERANCE_CM), control["name"]


def test_every_stored_rotation_is_as_near_unit_as_six_decimals_allow():
    """Engines take stored rotations as unit; rig hierarchies that turn globals back into locals
    multiply any length error at every level of a chain."""
    with open(os.path.join(SAMPLE_DIR, "SK_%s.uasset" % NAME), encoding="utf-8") as handle:
        rotations = re.findall(r"Rotation=\(X=(-?[\d.]+),Y=(-?[\d.]+),Z=(-?[\d.]+),W=(-?[\d.]+)\)", handle.read())
    assert len(rotations) == len(package_parents())
    for rotation in rotations:
        assert all(len(c.split(".")[1]) == 6 for c in rotation), rotation
        assert abs(sum(float(c) ** 2 for c in rotation) - 1.0) < 2e-6, rotation


def test_the_mesh_carries_the_top_groups_the_legs_and_bounds_around_every_bone(unreal, mesh, body):
    globals_ = mesh_globals(unreal, mesh)
    parents = package_parents()
    assert list(parents)[:4] == ["Main", "MainSystem", "MotionSystem", "RootMotion_M"]
    assert [parents[n] for n in ("Main", "MainSystem", "MotionSystem")] == [None, "Main", "MainSystem"]
    joints = {j["name"] for j in body["rig"]["joints"]}
    assert joints == set(parents) - {"Main", "MainSystem", "MotionSystem"}
    assert all(j["parent"] in joints or j["parent"] == "" for j in body["rig"]["joints"])
    hip, knee, ankle = (globals_[n][1] for n in ("Hip_R", "Knee_R", "Ankle_R"))
    leg = math.dist(hip, knee) + math.dist(knee, ankle)
    assert 75.0 < leg < 95.0, "a grown-up leg, close to the engine mannequin's 85.56 cm"
    bounds = mesh.get_bounds()
    origin = (bounds.origin.x, bounds.origin.y, bounds.origin.z)
    extent = (bounds.box_extent.x, bounds.box_extent.y, bounds.box_extent.z)
    for name, (_, point) in globals_.items():
        assert all(abs(point[i] - origin[i]) < extent[i] for i in range(3)), name
    assert bounds.sphere_radius >= math.sqrt(sum(e * e for e in extent)) - 0.1


# ---- coverage --------------------------------------------------------------------------------------

def kinds(body):
    return {c["type"] for c in body["rig"]["controls"]}


def body_control(body, name):
    return next(c for c in body["rig"]["controls"] if c["name"] == name)


def face_control(face, name):
    return next(c for c in face["controls"] if c["name"] == name)


def ik_local_modes(tool_script, body):
    rig = body["rig"]
    return {c["name"]: tool_script["body_json_limb_ik_local_mode"](rig, c) for c in rig["controls"] if c["type"] == "IK"}


def curve_keys_used(body):
    keys = set()

    def visit(value):
        if isinstance(value, dict):
            keys.update(value)
            for item in value.values():
                visit(item)
        elif isinstance(value, list):
            for item in value:
                visit(item)
    for control in body["rig"]["controls"]:
        visit(control)
    return keys


def is_maya_standard_circle(curve):
    """Maya's standard circle: a periodic cubic whose 11 points are 8 distinct points, repeated three,
    on one radius round their centre and 45 degrees apart."""
    points = [tuple(p) for p in curve.get("cvs", [])]
    distinct = points[:8]
    if curve.get("form") != 2 or curve.get("degree") != 3 or len(points) != 11 or points[8:] != distinct[:3]:
        return False
    centre = [sum(p[i] for p in distinct) / 8.0 for i in range(3)]
    offsets = [[p[i] - centre[i] for i in range(3)] for p in distinct]
    radii = [math.sqrt(sum(c * c for c in o)) for o in offsets]
    angles = [math.degrees(math.acos(max(-1.0, min(1.0, sum(a * b for a, b in zip(offsets[i], offsets[(i + 1) % 8])) / (radii[i] * radii[(i + 1) % 8])))))
              for i in range(8)]
    return max(radii) - min(radii) < 1e-4 * max(radii) and all(abs(a - 45.0) < 0.01 for a in angles)


def all_channels(face):
    texts = []
    for driver in face["drivers"]:
        texts.append(driver["channel"])
        texts.extend(row["channel"] for row in driver["driven"])
    return {text.replace(" ", "").lower() for text in texts}


def reverse_feet_have_rocks(body):
    systems = body["rig"]["reverseFootSystems"]
    names = {c["name"]: c for c in body["rig"]["controls"]}
    for system in systems:
        rock = system["rock"]
        for pivot in (rock["innerPivot"], rock["outerPivot"]):
            assert len(pivot["positionWorld"]) == 3 and len(pivot["worldMatrix"]) == 16 and pivot["rotationAxis"]
        pivots = [n for n in system["controls"] if names[n]["type"] == "ReverseFoot"]
        assert len(pivots) >= 3 and system["targetParent"] in system["controls"]
        assert rock["attribute"] in {a["name"] for a in names[system["ikControl"]]["controlAttributes"]}
    return len(systems) == 2


def spline_systems(body):
    return {s["name"]: s for s in body["rig"]["ikSystems"] if s["solver"] == "ikSplineSolver"}


def drops_middle_handle(body):
    tail = spline_systems(body)["Tail_M"]
    return tail["sourceNumControls"] == 2 and len(tail["controls"]) == 2 and tail["middleJoint"]


def driving_relationships(body):
    attributes = set()
    for control in body["rig"]["controls"]:
        for channel in control.get("drivingSystem", []):
            attributes.update(r["attribute"].lower() for r in channel["relationships"])
    return attributes


def twist_roots(body):
    return [j["name"] for j in body["rig"]["joints"] for a in j.get("fitJointInfo", {}).get("attributes", []) if a["name"] == "twistJoints"]


def fit_value(control, name):
    for key in ("controlAttributes", "fitAttributes"):
        for attribute in control.get(key, []):
            if attribute["name"] == name:
                return attribute["value"]
    return None


def bend_handles(body):
    return [c for c in body["rig"]["controls"] if c["type"] in ("Bend", "BendMid") and c.get("curveShapes") and len(c["worldMatrix"]) == 16]


def identical_curve_controls(body):
    seen = {}
    for control in body["rig"]["controls"]:
        for key in ("shapes", "curveShapes"):
            if control.get(key):
                seen.setdefault(repr(control[key]), []).append(control["name"])
    return [names for names in seen.values() if len(names) > 1]


# The mappings JawPull_M gets when it writes none: they must find their driver rows in the file.
BUILT_IN_JAW_PULL_TARGETS = (("ctrlMouth_M", "jawSide"), ("ctrlMouth_M", "Value.Y"), ("ctrlLips_M", "Value.Y"))


def mapping_targets_exist(face):
    """Every adapter mapping, the built-in jaw-pull ones included, names an exported driver row
    exactly (importers match control and channel texts as written)."""
    rows = {(d["control"], d["channel"]) for d in face["drivers"]}
    targets = [(m["targetControl"], m["targetChannel"]) for m in adapter_mappings(face)] + list(BUILT_IN_JAW_PULL_TARGETS)
    return [target in rows for target in targets]


def adapter_mappings(face):
    return [m for c in face["controls"] for m in c.get("mappings", [])]


def look_at_targets_resolve(face):
    names = {c["name"] for c in face["controls"]}
    system = face["lookAtSystems"][0]
    eyes = [e["control"] if isinstance(e["control"], str) else e["control"]["name"] for e in system["eyes"]]
    return system["masterControl"] in names and set(system["targets"]) <= names and set(eyes) == {"Eye_R", "Eye_L"} \
        and all(e["target"] in names for e in system["eyes"])


def empty_visibility_group(face):
    names = {c["name"] for c in face["controls"]}
    return [g for g in face["visibilityGroups"] if not set(g["members"]) & names]


def quaternion_rows(face):
    return [row for d in face["drivers"] for row in d["driven"] if row.get("representation") == "quaternion"]


def root_parts_variant():
    """(joint, parent) from the root part joints up to the spine, FKSpine1_M's parent and the root's
    inbetween count, of a character generated with two root parts."""
    body = generate_sample.build_documents(generate_sample.Parameters(name="PartsHero", root_parts=2))[1]["rig"]
    joints = [(j["name"], j["parent"]) for j in body["joints"] if "RootPart" in j["name"] or j["name"] == "Spine1_M"]
    controls = {c["name"]: c for c in body["controls"]}
    return joints, controls["FKSpine1_M"]["parent"], fit_value(controls["FKRoot_M"], "inbetweenJoints")


EVERY_KIND = {"Main", "Root", "FK", "IK", "IKPole", "FKIK", "IKLocal", "SplineIK", "ReverseFoot", "ReverseFootToe",
              "DrivingSystem", "HipSwinger", "Bend", "BendMid", "IKLocalOffset"}

COVERAGE = {
    "Every control kind": lambda ts, b, f: kinds(b) == EVERY_KIND,
    "Main": lambda ts, b, f: body_control(b, "Main")["type"] == "Main",
    "Root controls": lambda ts, b, f: [c["name"] for c in b["rig"]["controls"] if c["type"] == "Root"] == ["FKRootMotion_M", "RootX_M"],
    "FK chains": lambda ts, b, f: all(body_control(b, "FK" + j)["parent"] == "FK" + p for j, p in
                                      (("Elbow_L", "Shoulder_L"), ("Knee_R", "Hip_R"), ("IndexFinger2_R", "IndexFinger1_R"))),
    "Two-bone IK limbs": lambda ts, b, f: sorted(c["name"] for c in b["rig"]["controls"] if c["type"] == "IK") == ["IKArm_L", "IKArm_R", "IKLeg_L", "IKLeg_R"],
    "Poles, exported and to be generated": lambda ts, b, f: {c["name"] for c in b["rig"]["controls"] if c["type"] == "IKPole"} == {"PoleLeg_R", "PoleLeg_L"}
    and all(body_control(b, n)["ik"]["poleControl"] not in {c["name"] for c in b["rig"]["controls"]} for n in ("IKArm_R", "IKArm_L")),
    "FKIK switches and their attributes": lambda ts, b, f: {c["name"] for c in b["rig"]["controls"] if c["type"] == "FKIK"} ==
    {"FKIKLeg_R", "FKIKLeg_L", "FKIKArm_R", "FKIKArm_L", "FKIKSpine_M", "FKIKTail_M"}
    and {a["name"] for a in body_control(b, "FKIKLeg_R")["controlAttributes"]} == {"FKIKBlend", "autoVis", "FKVis", "IKVis"}
    and "ik" in body_control(b, "FKIKArm_L"),
    "Every ikLocal mode": lambda ts, b, f: ik_local_modes(ts, b) == {"IKLeg_R": 0, "IKLeg_L": 0, "IKArm_R": 1, "IKArm_L": 2},
    "Spline IK spine": lambda ts, b, f: spline_systems(b)["Spine_M"]["joints"] == [b["rig"]["joints"][2]["name"], "Chest_M"]
    and len(spline_systems(b)["Spine_M"]["controls"]) == 3,
    "Tail spline with a dropped middle handle": lambda ts, b, f: drops_middle_handle(b),
    "Reverse feet with rock pivots": lambda ts, b, f: reverse_feet_have_rocks(b),
    "Driving system with relationships": lambda ts, b, f: {"tx", "translatex", "ty", "translatey", "tz", "translatez", "rx", "rotatex",
                                                             "ry", "rotatey", "rz", "rotatez", "sx", "scalex", "sy", "scaley", "sz",
                                                             "scalez"} <= driving_relationships(b),
    "Hip swinger": lambda ts, b, f: body_control(b, "HipSwinger_M")["type"] == "HipSwinger"
    and fit_value(body_control(b, "FKSpine1_M"), "hipSwinger") is not None and body_control(b, "HipSwingerPivot_M")["type"] == "IKLocalOffset",
    "Hip swinger through root part joints": lambda ts, b, f: not any("RootPart" in j["name"] for j in b["rig"]["joints"])
    and root_parts_variant() == ([("RootPart1_M", "Root_M"), ("RootPart2_M", "RootPart1_M"), ("Spine1_M", "RootPart2_M")],
                                 "FKRootPart2_M", None),
    "Inbetween joints": lambda ts, b, f: fit_value(body_control(b, "FKSpine1_M"), "inbetweenJoints") == 2
    and body_control(b, "FKSpine1Part2_M")["parent"] == "FKSpine1Part1_M" and fit_value(body_control(b, "FKNeck_M"), "inbetweenJoints") == 1,
    "Twist joints": lambda ts, b, f: sorted(twist_roots(b)) == sorted("%s_%s" % (s, side) for s in ("Hip", "Knee", "Shoulder", "Elbow") for side in "RL"),
    "Bendy handles": lambda ts, b, f: {c["type"] for c in bend_handles(b)} == {"Bend", "BendMid"}
    and any(c["name"].startswith("BendExtra") for c in bend_handles(b)),
    "Shape offsets and rotation overrides": lambda ts, b, f: body_control(b, "FKHead_M")["offset"] == [0.0, 12.0, 0.0]
    and len(body_control(b, "FKHead_M")["shapeRotationOverride"]) == 3,
    "Global attributes": lambda ts, b, f: fit_value(body_control(b, "FKHead_M"), "global") == 10.0
    and [a["name"] for a in body_control(b, "FKShoulder_L")["fitAttributes"]] == ["global"],
    "Custom NURBS curve shapes": lambda ts, b, f: {"cvs", "CVs", "controlPoints", "points", "P", "knots", "knotVector", "krn", "degree",
                                                   "deg", "order", "form", "curveForm", "curve_form", "closed", "curveShapes", "curve_shapes",
                                                   "curves", "nurbsCurves", "nurbs_curves", "shapes", "lineWidth", "line_width"} <= curve_keys_used(b)
    and is_maya_standard_circle(body_control(b, "FKWrist_L")["curveShapes"][0]) and is_maya_standard_circle(body_control(b, "RootX_M")["gizmo"])
    and not is_maya_standard_circle(body_control(b, "FKIKLeg_R")) and body_control(b, "Main")["gizmo"]["nurbsCurves"][0]["name"] == "square"
    and ["PoleLeg_R", "PoleLeg_L"] in identical_curve_controls(b),
    "Top groups as bones": lambda ts, b, f: [package_parents()[n] for n in ("Main", "MainSystem", "MotionSystem", "RootMotion_M")]
    == [None, "Main", "MainSystem", "MotionSystem"] and "Main" not in {j["name"] for j in b["rig"]["joints"]},
    "Drivers with every channel spelling": lambda ts, b, f: set(NATIVE_CHANNEL_SPELLINGS) <= all_channels(f),
    "Custom attribute channels": lambda ts, b, f: {"jawside", "jawforward", "aaa", "ooo"} <= all_channels(f),
    "World-space and local rows": lambda ts, b, f: {str(r.get("space", r.get("transformSpace", ""))).lower() for d in f["drivers"] for r in d["driven"]}
    >= {"world", "worldspace", "local", ""},
    "Quaternion rows": lambda ts, b, f: [r["bone"] for r in quaternion_rows(f)] == ["Tongue0Joint_M", "Tongue1Joint_M"]
    and quaternion_rows(f)[0]["keys"][1]["value"] == [0.7071068, 0.0, 0.0, 0.7071068],
    "Eye rows": lambda ts, b, f: {r["bone"] for d in f["drivers"] for r in d["driven"]} >= {"EyeJoint_R", "EyeJoint_L"},
    "On-face control kinds": lambda ts, b, f: {c["kind"] for c in f["controls"]} >= {"directTransform", "sampledDriver", "driverAdapter", "driverAlias", "unmapped"},
    "Jaw and jaw pull": lambda ts, b, f: face_control(f, "Jaw_M")["kind"] == "sampledDriver" and "mappings" not in face_control(f, "JawPull_M")
    and face_control(f, "Jaw_M")["positionWorld"][1] > face_control(f, "JawPull_M")["positionWorld"][1],
    "Smile pull": lambda ts, b, f: {d["control"] for d in f["drivers"]} >= {"ctrlMouthCorner_R", "ctrlMouthCorner_L"}
    and face_control(f, "SmilePull_L")["rotationWorld"][1] in (180.0, -180.0),
    "Lids": lambda ts, b, f: {"upperLid_R", "lowerLid_R"} <= {d["control"] for d in f["drivers"]}
    and {"upperLid_L", "lowerLid_L"} <= {c["name"] for c in f["controls"]},
    "Eyes with a look-at system": lambda ts, b, f: look_at_targets_resolve(f),
    "Adapter mappings": lambda ts, b, f: {m.get("operation", "reuseDriver") for m in adapter_mappings(f)} == {"reuseDriver", "clampMin", "clampMax"}
    and all(mapping_targets_exist(f)),
    "Visibility groups": lambda ts, b, f: len(f["visibilityGroups"]) == 3 and len(empty_visibility_group(f)) == 1,
}


def readme_features():
    with open(os.path.join(SAMPLES, "README.md"), encoding="utf-8") as handle:
        text = handle.read()
    table = text.split("## Coverage", 1)[1]
    return [re.match(r"\|\s*([^|]+?)\s*\|", line).group(1) for line in table.splitlines()
            if line.startswith("| ") and not line.startswith("| Feature") and not line.startswith("|---")]


def test_every_row_of_the_coverage_table_has_a_check():
    assert readme_features() == list(COVERAGE)


@pytest.mark.parametrize("feature", list(COVERAGE))
def test_the_sample_carries_the_feature(tool_script, body, face, feature):
    assert COVERAGE[feature](tool_script, body, face)


# ---- size parameters and staleness -----------------------------------------------------------------

def check_references(body, face):
    rig = body["rig"]
    joints = {j["name"] for j in rig["joints"]}
    controls = {c["name"] for c in rig["controls"]}
    assert len(controls) == len(rig["controls"]), "control names are unique"
    for control in rig["controls"]:
        assert control["parent"] in controls or control["parent"] == "", control["name"]
        assert control.get("joint", "Root_M") in joints, control["name"]
    for system in rig["ikSystems"]:
        assert set(system["joints"]) <= joints and set(system["controls"]) <= controls
    for system in rig["reverseFootSystems"]:
        assert set(system["controls"]) <= controls and system["endJoint"] in joints
    bones = {row["bone"] for d in face["drivers"] for row in d["driven"]}
    assert bones <= joints


@pytest.mark.parametrize("sizes, low, high", [
    (dict(spine_joints=1, fingers=0, tail_joints=0), 24, 100),
    (dict(), 90, 200),
    (dict(spine_joints=8, fingers=400, tail_joints=40, extra_face_drivers=500), 2500, 5000),
])
def test_size_parameters_scale_the_control_count(sizes, low, high):
    params = generate_sample.Parameters(**sizes)
    _, body, face = generate_sample.build_documents(params)
    count = len(body["rig"]["controls"]) + len({d["control"] for d in face["drivers"]})
    assert low <= count <= high
    check_references(body, face)
    assert len({d["control"] for d in face["drivers"]}) >= params.extra_face_drivers


@pytest.mark.parametrize("sizes", [dict(name=""), dict(name="Bad Name"), dict(spine_joints=0), dict(tail_joints=1),
                                   dict(fingers=-1), dict(import_scale=0.0)])
def test_the_generator_refuses_parameters_it_cannot_build(sizes):
    with pytest.raises(ValueError):
        generate_sample.Parameters(**sizes)


def test_the_command_writes_the_json_files_and_refuses_bad_sizes(tmp_path, capsys):
    assert generate_sample.main(["--json-only", "--output", str(tmp_path), "--name", "Tiny", "--fingers", "1", "--tail-joints", "0"]) == 0
    assert sorted(os.listdir(tmp_path / "Tiny")) == ["Tiny_BodyRig.json", "Tiny_FaceRig.json"]
    assert body_control(load(str(tmp_path / "Tiny" / "Tiny_BodyRig.json")), "FKThumbFinger3_L")["joint"] == "ThumbFinger3_L"
    assert generate_sample.main(["--json-only", "--output", str(tmp_path), "--tail-joints", "1"]) == 2
    assert "tail" in capsys.readouterr().err
    assert not (tmp_path / NAME).exists()


def test_an_import_scale_scales_the_mesh_but_not_the_maya_data():
    skeleton, body, _ = generate_sample.build_documents(generate_sample.Parameters())
    scaled, scaled_body, _ = generate_sample.build_documents(generate_sample.Parameters(import_scale=10.0))
    wrist, scaled_wrist = skeleton.by_name["Wrist_L"], scaled.by_name["Wrist_L"]
    assert scaled_wrist.unreal_position == pytest.approx([10.0 * v for v in wrist.unreal_position], abs=1e-4)
    assert body_control(scaled_body, "FKWrist_L")["positionWorld"] == pytest.approx(body_control(body, "FKWrist_L")["positionWorld"], abs=1e-5)


def files_below(folder):
    """The files below folder, as paths relative to it."""
    return sorted(os.path.relpath(os.path.join(root, name), folder) for root, _dirs, names in os.walk(folder) for name in names)


def test_the_committed_sample_is_what_the_generator_writes(unreal, tmp_path):
    folder = generate_sample.generate(generate_sample.Parameters(), str(tmp_path))
    written = files_below(folder)
    assert written == files_below(SAMPLE_DIR)
    assert [name for name in written if name.endswith(".fbx")] == [
        os.path.join("Anims", "SampleHero_%s.fbx" % clip) for clip in ("Idle", "Run_Forward", "Walk_Forward", "Wave")]
    for name in written:
        with open(os.path.join(folder, name), "rb") as fresh, open(os.path.join(SAMPLE_DIR, name), "rb") as committed:
            assert fresh.read() == committed.read(), "%s is stale: run Samples/generate_sample.py" % name


# ---- the mannequin sample -------------------------------------------------------------------------

MANNY_DIR = os.path.join(SAMPLES, "SampleManny")


def test_the_committed_mannequin_sample_is_what_the_generator_writes(unreal, tmp_path):
    folder = generate_sample.generate_mannequin(str(tmp_path))
    written = sorted(os.listdir(folder))
    assert written == sorted(os.listdir(MANNY_DIR)) == ["SK_SampleManny.uasset", "SK_SampleManny_Skeleton.uasset",
                                                         "SampleManny_BodyRig.json"]
    for name in written:
        with open(os.path.join(folder, name), "rb") as fresh, open(os.path.join(MANNY_DIR, name), "rb") as committed:
            assert fresh.read() == committed.read(), "%s is stale: run Samples/generate_sample.py --mannequin" % name


def test_the_mannequin_samples_controls_sit_on_its_mesh_bones(editor, unreal, tool_script):
    """Every FK control's Maya position, as an Unreal point (x, z, y), is the global reference position
    of the mesh bone its joint stands on: its own name for the tail and weapon, the mannequin bone the
    exporter's name stands for otherwise."""
    content = os.path.join(unreal.Paths.project_content_dir(), "SampleManny")
    shutil.copytree(MANNY_DIR, content)
    mesh = unreal.load_asset("/Game/SampleManny/SK_SampleManny")
    rig = unreal.ControlRigBlueprintFactory.create_control_rig_from_skeletal_mesh_or_skeleton(mesh, False)
    hierarchy = rig.hierarchy
    bones = {str(key.name): key for key in hierarchy.get_bones(True)}
    candidates = tool_script["body_rig_mannequin_template_bone_candidates"]
    document = load(os.path.join(MANNY_DIR, "SampleManny_BodyRig.json"))
    checked = 0
    for control in document["rig"]["controls"]:
        if control["type"] != "FK":
            continue
        joint = control["joint"]
        bone = joint if joint in bones else next(iter(candidates(joint)), None)
        if bone is None:
            continue
        x, y, z = control["positionWorld"]
        location = hierarchy.get_global_transform(bones[bone], True).translation
        assert (location.x, location.y, location.z) == pytest.approx((x, z, y), abs=TOLERANCE_CM), control["name"]
        checked += 1
    assert checked >= 30
