"""The body rig posed: the saved rig of the sample and of a character four times its size runs its
forwards solve with controls moved as an animator moves them, and the bones must move as the
exported Maya rig says. Every expectation is
worked out here from the mesh's reference pose (composed from its package) and the Body rig JSON,
with the engine's own conventions (a rotator's quaternion, a child keeping its local transform)."""

import json
import math

import pytest

from test_body_rig_evaluation import (
    CHARACTERS, SOLVES, conjugate, multiply, package_file, reference_pose, rotate,
)

POSITION_TOLERANCE = 1e-2  # cm
ANGLE_TOLERANCE = 1e-2  # degrees


# ---- the engine's conventions, written out ----------------------------------------------------------

def rotator_quat(pitch=0.0, yaw=0.0, roll=0.0):
    """FRotator::Quaternion: the quaternion (x, y, z, w) of a rotator in degrees."""
    half = math.pi / 360.0
    sp, cp = math.sin(pitch * half), math.cos(pitch * half)
    sy, cy = math.sin(yaw * half), math.cos(yaw * half)
    sr, cr = math.sin(roll * half), math.cos(roll * half)
    return (cr * sp * sy - sr * cp * cy, -cr * sp * cy - sr * cp * sy, cr * cp * sy - sr * sp * cy, cr * cp * cy + sr * sp * sy)


def angle_between(a, b):
    relative = multiply(conjugate(a), b)
    return math.degrees(2.0 * math.atan2(math.sqrt(sum(c * c for c in relative[:3])), abs(relative[3])))


def add(a, b):
    return tuple(x + y for x, y in zip(a, b))


def sub(a, b):
    return tuple(x - y for x, y in zip(a, b))


def maya_point(values):
    """A Maya world position (Y up) in Unreal axes (Z up)."""
    return (float(values[0]), float(values[2]), float(values[1]))


def descendants(pose, bone):
    """bone and every bone below it in the reference skeleton."""
    found = {bone}
    changed = True
    while changed:
        changed = False
        for name, (parent, _rotation, _translation) in pose.items():
            if parent in found and name not in found:
                found.add(name)
                changed = True
    return found


# ---- the rig ----------------------------------------------------------------------------------------

@pytest.fixture(scope="module", params=sorted(CHARACTERS))
def rig(request, unreal, tmp_path_factory):
    """(blueprint, reference pose, Body rig JSON's "rig", bone names, the hosteditor module) of the
    body rig of the sample and of a character four times its size, built once for the module's tests
    in an editor session of their own; each test evaluates it afresh and never changes it."""
    import hosteditor
    from conftest import run_tool_script
    tmp_path = tmp_path_factory.mktemp("posing_" + request.param)
    project = tmp_path / "Project"
    hosteditor.shutdown()
    hosteditor.start(str(project))
    tool_script = run_tool_script(SOURCE_FILE="", INCLUDE_VN_FACE_SOLVER=True, json_file="")
    mesh, body_json = CHARACTERS[request.param](unreal, tool_script, project, tmp_path)
    tool_script["set_target_skeletal_mesh"](mesh)
    tool_script["set_body_json_file"](body_json)
    tool_script["set_body_control_rig_source"]("Generate from JSON")
    blueprint = tool_script["create_body_control_rig_from_json"]()
    with open(body_json, encoding="utf-8") as source:
        data = json.load(source)["rig"]
    yield (blueprint, reference_pose(package_file(project, mesh.get_path_name())), data,
           [str(key.name) for key in blueprint.hierarchy.get_bones()], hosteditor)
    hosteditor.shutdown()


def solve(editor, blueprint, values):
    """A new evaluation of blueprint with the control values set, solved; returns it."""
    evaluation = editor.RigEvaluation(blueprint)
    for name, value in values.items():
        evaluation.set_control_value(name, value)
    assert evaluation.run_forwards_solve(SOLVES), evaluation.report()["errors"]
    return evaluation


def bone_state(evaluation, name):
    transform = evaluation.global_transform(name)
    location, quat = transform.translation, transform.rotation
    return (location.x, location.y, location.z), (quat.x, quat.y, quat.z, quat.w)


def assert_bone(evaluation, name, position, rotation=None, position_tolerance=POSITION_TOLERANCE):
    actual_position, actual_rotation = bone_state(evaluation, name)
    assert math.dist(actual_position, position) < position_tolerance, (name, actual_position, position)
    if rotation is not None:
        assert angle_between(actual_rotation, rotation) < ANGLE_TOLERANCE, (name, actual_rotation, rotation)


def record(data, name):
    return next(control for control in data["controls"] if control["name"] == name)


# ---- FK ---------------------------------------------------------------------------------------------

def test_turning_an_fk_control_turns_its_bone_the_same_and_carries_the_bones_below(unreal, rig):
    blueprint, pose, _data, bones, editor = rig
    turn = rotator_quat(roll=30.0)
    evaluation = solve(editor, blueprint, {"FKIKArm_R_FKIKBlend": 0.0,
                                           "FKElbow_R": unreal.EulerTransform(rotation=unreal.Rotator(roll=30.0))})
    _parent, elbow_rotation, elbow_position = pose["Elbow_R"]
    # The control carries the joint's orientation, so its X axis is the bone's: a turn about it in the
    # bone's own frame is, in the world, the rest rotation, then the turn, then back.
    world_turn = multiply(multiply(elbow_rotation, turn), conjugate(elbow_rotation))
    below = descendants(pose, "Elbow_R")
    assert {"ElbowPart1_R", "Wrist_R", "MiddleFinger1_R"} <= below
    for name in bones:
        _parent, rotation, position = pose[name]
        if name in below:
            expected = add(elbow_position, rotate(world_turn, sub(position, elbow_position)))
            assert_bone(evaluation, name, expected, multiply(world_turn, rotation))
        else:
            assert_bone(evaluation, name, position, rotation)
    # The turn is thirty degrees about the bone's axis, the wrist swings on a circle round it.
    assert angle_between(bone_state(evaluation, "Elbow_R")[1], elbow_rotation) == pytest.approx(30.0, abs=ANGLE_TOLERANCE)


# ---- IK ---------------------------------------------------------------------------------------------

ARM = ("Shoulder_R", "Elbow_R", "Wrist_R")


def arm_in_ik(unreal, editor, blueprint, pose, offset, pole_offset=(0.0, 0.0, 0.0), blend=10.0):
    """The arm solved with its switch at blend, its IK control moved by offset (world axes: the
    control is world-oriented and reads the wrist's rest rotation) and its pole moved by pole_offset."""
    wrist_rotation = pose["Wrist_R"][1]
    rotator = unreal.Quat(*wrist_rotation).rotator()
    values = {"FKIKArm_R_FKIKBlend": blend,
              "IKArm_R": unreal.EulerTransform(location=unreal.Vector(*offset), rotation=rotator)}
    if any(pole_offset):
        values["PoleArm_R"] = unreal.EulerTransform(location=unreal.Vector(*pole_offset))
    return solve(editor, blueprint, values)


def test_in_ik_the_hand_reaches_its_control_with_the_arm_keeping_its_lengths(unreal, rig):
    blueprint, pose, data, _bones, editor = rig
    offset = (8.0, 10.0, -12.0)
    evaluation = arm_in_ik(unreal, editor, blueprint, pose, offset)
    target = add(maya_point(record(data, "IKArm_R")["positionWorld"]), offset)
    assert math.dist(target, pose["Wrist_R"][2]) == pytest.approx(math.dist((0, 0, 0), offset), abs=1e-3)
    shoulder, elbow, wrist = (bone_state(evaluation, name)[0] for name in ARM)
    assert math.dist(wrist, target) < POSITION_TOLERANCE
    assert math.dist(shoulder, pose["Shoulder_R"][2]) < POSITION_TOLERANCE
    for (a, b), (rest_a, rest_b) in (((shoulder, elbow), ARM[:2]), ((elbow, wrist), ARM[1:])):
        assert math.dist(a, b) == pytest.approx(math.dist(pose[rest_a][2], pose[rest_b][2]), abs=POSITION_TOLERANCE)
    # The elbow bends towards the pole: it lies in the plane of shoulder, hand and pole, on the pole's side.
    pole = maya_point(record(data, "IKArm_R")["ik"]["polePositionWorld"])
    assert_elbow_towards(shoulder, elbow, wrist, pole)


def test_switching_the_arm_to_ik_at_rest_moves_no_bone(unreal, rig):
    blueprint, pose, _data, bones, editor = rig
    # The IK control rests on the hand and the pole where the elbow bends to, and the exported axes
    # are the bones' own: the solve finds the pose the arm already has.
    evaluation = arm_in_ik(unreal, editor, blueprint, pose, (0.0, 0.0, 0.0))
    for name in bones:
        _parent, rotation, position = pose[name]
        assert_bone(evaluation, name, position, rotation)


def assert_elbow_towards(shoulder, elbow, wrist, pole):
    axis = sub(wrist, shoulder)
    normal = cross(axis, sub(pole, shoulder))
    size = math.sqrt(sum(c * c for c in normal))
    assert abs(sum(a * b for a, b in zip(sub(elbow, shoulder), normal)) / size) < POSITION_TOLERANCE
    # On the pole's side of the line from shoulder to hand.
    towards_pole = cross(normal, axis)
    assert sum(a * b for a, b in zip(sub(elbow, shoulder), towards_pole)) > 0
    assert sum(a * b for a, b in zip(sub(pole, shoulder), towards_pole)) > 0


def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def test_moving_the_pole_turns_the_plane_the_elbow_bends_in(unreal, rig):
    blueprint, pose, data, _bones, editor = rig
    offset, pole_offset = (6.0, 8.0, -14.0), (0.0, 30.0, -40.0)
    evaluation = arm_in_ik(unreal, editor, blueprint, pose, offset, pole_offset)
    pole = add(maya_point(record(data, "IKArm_R")["ik"]["polePositionWorld"]), pole_offset)
    shoulder, elbow, wrist = (bone_state(evaluation, name)[0] for name in ARM)
    assert math.dist(wrist, add(maya_point(record(data, "IKArm_R")["positionWorld"]), offset)) < POSITION_TOLERANCE
    assert_elbow_towards(shoulder, elbow, wrist, pole)
    unmoved = bone_state(arm_in_ik(unreal, editor, blueprint, pose, offset), "Elbow_R")[0]
    assert math.dist(unmoved, elbow) > 1.0, "the pole moved the elbow"


def test_half_way_through_the_switch_each_arm_bone_turns_half_way_from_fk_to_ik(unreal, rig):
    blueprint, pose, _data, _bones, editor = rig
    offset = (8.0, 10.0, -12.0)
    full = arm_in_ik(unreal, editor, blueprint, pose, offset)
    half = arm_in_ik(unreal, editor, blueprint, pose, offset, blend=5.0)
    # The FK arm rests where the mesh has it (the test above checks the IK arm); the solver's weight
    # turns each bone half way between the two, along the shortest way, and keeps the bones' lengths.
    turned = 0
    for name in ARM:
        rest, ik, blended = pose[name][1], bone_state(full, name)[1], bone_state(half, name)[1]
        whole = angle_between(rest, ik)
        assert angle_between(rest, blended) == pytest.approx(whole / 2.0, abs=ANGLE_TOLERANCE), name
        assert angle_between(blended, ik) == pytest.approx(whole / 2.0, abs=ANGLE_TOLERANCE), name
        turned += whole > 1.0
    assert turned >= 2, "the IK arm differs from the FK arm"
    shoulder, elbow, wrist = (bone_state(half, name)[0] for name in ARM)
    assert math.dist(shoulder, pose["Shoulder_R"][2]) < POSITION_TOLERANCE
    for (a, b), (rest_a, rest_b) in (((shoulder, elbow), ARM[:2]), ((elbow, wrist), ARM[1:])):
        assert math.dist(a, b) == pytest.approx(math.dist(pose[rest_a][2], pose[rest_b][2]), abs=POSITION_TOLERANCE)


# ---- the main and motion controls --------------------------------------------------------------------

def test_moving_and_turning_main_carries_the_whole_rig(unreal, rig):
    blueprint, pose, _data, bones, editor = rig
    offset, yaw = (25.0, -40.0, 5.0), 90.0
    turn = rotator_quat(yaw=yaw)
    evaluation = solve(editor, blueprint, {"Main": unreal.EulerTransform(location=unreal.Vector(*offset),
                                                                         rotation=unreal.Rotator(yaw=yaw))})
    # Main rests at the world origin (its Maya matrix is identity): every bone turns about it, then moves.
    for name in bones:
        _parent, rotation, position = pose[name]
        assert_bone(evaluation, name, add(rotate(turn, position), offset), multiply(turn, rotation))


def test_the_root_motion_control_carries_the_body_while_feet_in_ik_stay(unreal, rig):
    blueprint, pose, _data, bones, editor = rig
    offset = (0.0, 12.0, 0.0)
    evaluation = solve(editor, blueprint, {"FKRootMotion_M": unreal.EulerTransform(location=unreal.Vector(*offset))})
    # The control carries its joint's orientation, so it moves along the joint's axes.
    moved = rotate(pose["RootMotion_M"][1], offset)
    assert math.dist(moved, (0.0, 0.0, 0.0)) == pytest.approx(12.0)
    # The legs are in IK: their controls hang from Main, so the ankles stay while the body moves on.
    for name in ("Ankle_R", "Ankle_L"):
        assert_bone(evaluation, name, pose[name][2])
    for name in ("Root_M", "Chest_M", "Head_M", "Wrist_R", "Wrist_L"):
        _parent, rotation, position = pose[name]
        assert_bone(evaluation, name, add(position, moved), rotation)


# ---- the switch's visibility channels ----------------------------------------------------------------

FK_ARM_CONTROLS = ("FKShoulder_R", "FKElbow_R", "FKWrist_R")
IK_ARM_CONTROLS = ("IKArm_R", "PoleArm_R")


@pytest.mark.parametrize("channels, fk_shown, ik_shown", [
    ({"FKIKArm_R_FKIKBlend": 0.0}, True, False),
    ({"FKIKArm_R_FKIKBlend": 10.0}, False, True),
    # From half way on, the arm counts as in IK.
    ({"FKIKArm_R_FKIKBlend": 4.9}, True, False),
    ({"FKIKArm_R_FKIKBlend": 5.0}, False, True),
    # Without automatic visibility the two switches decide, whatever the blend.
    ({"FKIKArm_R_autoVis": False, "FKIKArm_R_FKVis": False, "FKIKArm_R_IKVis": True, "FKIKArm_R_FKIKBlend": 0.0}, False, True),
    ({"FKIKArm_R_autoVis": False, "FKIKArm_R_FKVis": True, "FKIKArm_R_IKVis": True, "FKIKArm_R_FKIKBlend": 10.0}, True, True),
    ({"FKIKArm_R_autoVis": False, "FKIKArm_R_FKVis": False, "FKIKArm_R_IKVis": False}, False, False),
])
def test_the_switch_shows_the_side_of_the_limb_that_is_in_use(rig, channels, fk_shown, ik_shown):
    blueprint, editor = rig[0], rig[4]
    evaluation = solve(editor, blueprint, channels)
    assert [evaluation.control_shape_visible(name) for name in FK_ARM_CONTROLS] == [fk_shown] * 3
    assert [evaluation.control_shape_visible(name) for name in IK_ARM_CONTROLS] == [ik_shown] * 2


# ---- driving systems -----------------------------------------------------------------------------------

def maya_matrix_to_unreal(rotation):
    """A rotation matrix acting on Maya world vectors, as it acts on the same vectors in Unreal axes
    (the swap of Y and Z is its own inverse)."""
    swap = ((1.0, 0.0, 0.0), (0.0, 0.0, 1.0), (0.0, 1.0, 0.0))
    return matrix_product(swap, matrix_product(rotation, swap))


def matrix_product(a, b):
    return tuple(tuple(sum(a[i][k] * b[k][j] for k in range(3)) for j in range(3)) for i in range(3))


def apply(matrix, vector):
    return tuple(sum(matrix[i][k] * vector[k] for k in range(3)) for i in range(3))


def axis_rotation(axis, degrees):
    """The right-handed rotation matrix about a unit axis (Rodrigues), acting on column vectors."""
    x, y, z = axis
    c, s = math.cos(math.radians(degrees)), math.sin(math.radians(degrees))
    t = 1.0 - c
    return ((t * x * x + c, t * x * y - s * z, t * x * z + s * y),
            (t * x * y + s * z, t * y * y + c, t * y * z - s * x),
            (t * x * z - s * y, t * y * z + s * x, t * z * z + c))


def test_a_driver_channel_turns_the_driven_fingers_by_the_exported_amounts(rig):
    blueprint, pose, data, _bones, editor = rig
    driver = record(data, "Fingers_R")
    curl = next(entry for entry in driver["drivingSystem"] if entry["name"] == "curl")
    value = 5.0
    evaluation = solve(editor, blueprint, {"FKIKArm_R_FKIKBlend": 0.0, "Fingers_R_curl": value})
    # Each finger joint turns about its own Maya Z axis by the driver times the multiplier; a joint
    # below takes its parents' turns too. In the world: D1, then D1 D2, ... applied to the rest offsets.
    finger = ["IndexFinger%d_R" % index for index in (1, 2, 3, 4)]
    turns = {}
    for relationship in curl["relationships"]:
        if relationship["target"] in ("FK" + name for name in finger[:3]):
            assert relationship["attribute"] in ("rotateZ", "rz")
            rows = record(data, relationship["target"])["worldMatrix"]
            z_axis = tuple(rows[8:11])
            turns[relationship["target"][2:]] = maya_matrix_to_unreal(axis_rotation(z_axis, value * relationship["multiplier"]))
    assert sorted(turns) == sorted(finger[:3])
    expected = {finger[0]: pose[finger[0]][2]}
    carried = ((1.0, 0.0, 0.0), (0.0, 1.0, 0.0), (0.0, 0.0, 1.0))
    for parent, child in zip(finger, finger[1:]):
        carried = matrix_product(carried, turns[parent])
        expected[child] = add(expected[parent], apply(carried, sub(pose[child][2], pose[parent][2])))
    moved = 0.0
    for name in finger:
        assert_bone(evaluation, name, expected[name])
        moved = max(moved, math.dist(expected[name], pose[name][2]))
    assert moved > 1.0, "the curl moves the finger tip"
    # The driver's other fingers turn too; the other hand does not.
    assert math.dist(bone_state(evaluation, "PinkyFinger2_R")[0], pose["PinkyFinger2_R"][2]) > 0.5
    assert_bone(evaluation, "IndexFinger2_L", pose["IndexFinger2_L"][2], pose["IndexFinger2_L"][1])


# ---- leg lock ----------------------------------------------------------------------------------------

def slerp_half(q):
    """The rotation half way from identity to the unit quaternion q, the short way."""
    x, y, z, w = q if q[3] >= 0 else tuple(-c for c in q)
    size = math.sqrt(2.0 * (1.0 + w))
    return (x / size, y / size, z / size, (1.0 + w) / size)


@pytest.mark.parametrize("lock, share", [(0.0, 1.0), (5.0, 0.5), (10.0, 0.0)])
def test_the_leg_lock_keeps_the_fk_legs_with_root_x_or_lets_them_follow_the_root(unreal, rig, lock, share):
    blueprint, pose, _data, _bones, editor = rig
    turn = rotator_quat(pitch=20.0)
    evaluation = solve(editor, blueprint, {"FKIKLeg_R_FKIKBlend": 0.0, "FKIKLeg_L_FKIKBlend": 0.0, "FKRoot_M_legLock": lock,
                                           "FKRoot_M": unreal.EulerTransform(rotation=unreal.Rotator(pitch=20.0))})
    _parent, root_rotation, root_position = pose["Root_M"]
    # The root control carries the root joint's orientation: it turns the root bone in its own frame.
    root_turn = multiply(multiply(root_rotation, turn), conjugate(root_rotation))
    leg_turn = {1.0: root_turn, 0.5: multiply(multiply(root_rotation, slerp_half(turn)), conjugate(root_rotation)),
                0.0: (0.0, 0.0, 0.0, 1.0)}[share]
    assert_bone(evaluation, "Root_M", root_position, multiply(root_turn, root_rotation))
    # The spine always follows the root; the FK legs hang from the lock space, which at legLock 10
    # stays where the root would be under RootX_M (not moved here) and at 0 follows the root bone.
    for name, carried in (("Spine1_M", root_turn), ("Knee_L", leg_turn), ("Ankle_R", leg_turn)):
        _parent, rotation, position = pose[name]
        assert_bone(evaluation, name, add(root_position, rotate(carried, sub(position, root_position))), multiply(carried, rotation))
    # The hip hands the twist the root's turn gives it relative to its parent down to its twist parts:
    # it keeps its place and the direction of its X axis, along the thigh.
    _parent, rotation, position = pose["Hip_R"]
    hip_position, hip_rotation = bone_state(evaluation, "Hip_R")
    assert math.dist(hip_position, add(root_position, rotate(leg_turn, sub(position, root_position)))) < POSITION_TOLERANCE
    assert math.dist(x_axis(hip_rotation), rotate(leg_turn, x_axis(rotation))) < 1e-4


# ---- reverse foot ----------------------------------------------------------------------------------------

def pivot_point(data, name):
    return maya_point(record(data, name)["positionWorld"])


def turned_about(point, pivot, matrix):
    return add(pivot, apply(matrix, sub(point, pivot)))


def foot_side_axis(data, side):
    """The horizontal axis across the foot's heel-to-toe line, oriented so that a positive roll lifts
    the heel (a right-handed turn about it moves what lies ahead of the pivot down)."""
    heel, toes_end = pivot_point(data, "RollHeel_" + side), pivot_point(data, "RollToesEnd_" + side)
    forward = (toes_end[0] - heel[0], toes_end[1] - heel[1], 0.0)
    across = cross((0.0, 0.0, 1.0), forward)
    size = math.sqrt(sum(c * c for c in across))
    return tuple(c / size for c in across)


@pytest.mark.parametrize("roll", [-20.0, 10.0, 40.0])
def test_rolling_the_foot_pivots_it_about_the_heel_the_ball_or_the_toe_tip(rig, roll):
    blueprint, pose, data, _bones, editor = rig
    leg = record(data, "IKLeg_R")
    start = float(next(a["value"] for a in leg["controlAttributes"] if a["name"] == "rollStartAngle"))
    end = float(next(a["value"] for a in leg["controlAttributes"] if a["name"] == "rollEndAngle"))
    evaluation = solve(editor, blueprint, {"IKLeg_R_roll": roll})
    axis = foot_side_axis(data, "R")
    heel, ball, tip = (pivot_point(data, name) for name in ("RollHeel_R", "RollToes_R", "RollToesEnd_R"))
    ankle = pose["Ankle_R"][2]
    if roll < 0:
        # Back on the heel: the whole foot turns about the heel pivot, toes up.
        expected = turned_about(ankle, heel, axis_rotation(axis, roll))
        assert expected[2] > ankle[2]
    elif roll <= start:
        # Up on the ball: the foot turns about the toes pivot, the heel lifts.
        expected = turned_about(ankle, ball, axis_rotation(axis, roll))
        assert expected[2] > ankle[2]
    else:
        # Past the start angle the ball eases back to flat at the end angle and the toe tip takes the rest.
        on_ball = start * (1.0 - min(max((roll - start) / (end - start), 0.0), 1.0))
        expected = turned_about(turned_about(ankle, ball, axis_rotation(axis, on_ball)), tip, axis_rotation(axis, roll - on_ball))
    assert_bone(evaluation, "Ankle_R", expected)
    # The other foot does not move.
    assert_bone(evaluation, "Ankle_L", pose["Ankle_L"][2])


@pytest.mark.parametrize("rock", [-30.0, 25.0])
def test_rocking_the_foot_tilts_it_about_the_inner_or_outer_pivot(rig, rock):
    blueprint, pose, data, _bones, editor = rig
    system = next(s for s in data["reverseFootSystems"] if s["ikControl"] == "IKLeg_R")
    evaluation = solve(editor, blueprint, {"IKLeg_R_rock": rock})
    inner, outer = system["rock"]["innerPivot"], system["rock"]["outerPivot"]
    # Each pivot turns about its Maya axis by the rock clamped to its input range, times its
    # multiplier; the outer pivot hangs below the inner one.
    turns = []
    for pivot in (inner, outer):
        low, high = sorted((pivot["inputMin"], pivot["inputMax"]))
        degrees = min(max(rock, low), high) * pivot["rotationMultiplier"]
        rows = pivot["worldMatrix"]
        maya_axis = {"x": rows[0:3], "y": rows[4:7], "z": rows[8:11]}[pivot["rotationAxis"].lower()]
        turns.append((maya_point(pivot["positionWorld"]), maya_matrix_to_unreal(axis_rotation(tuple(maya_axis), degrees))))
    expected = pose["Ankle_R"][2]
    for point, matrix in reversed(turns):
        expected = turned_about(expected, point, matrix)
    assert math.dist(expected, pose["Ankle_R"][2]) > 0.5, "the rock moves the ankle"
    # The leg's IK target carries the foot; a rock that lowers it beyond the leg's reach leaves the
    # ankle short of it, so the target is what is compared.
    target = evaluation.global_transform("IKLeg_R_ReverseFootTarget", "Null").translation
    assert math.dist((target.x, target.y, target.z), expected) < POSITION_TOLERANCE


# ---- hip swinger --------------------------------------------------------------------------------------

@pytest.mark.parametrize("turn", [{"roll": 15.0}, {"pitch": 12.0}, {"yaw": -10.0}])
def test_the_hip_swinger_turns_the_hips_about_the_first_spine_joint_and_leaves_the_spine(unreal, rig, turn):
    blueprint, pose, _data, _bones, editor = rig
    swing = rotator_quat(**turn)
    evaluation = solve(editor, blueprint, {"FKIKLeg_R_FKIKBlend": 0.0, "FKIKLeg_L_FKIKBlend": 0.0, "FKRoot_M_legLock": 0.0,
                                           "HipSwinger_M": unreal.EulerTransform(rotation=unreal.Rotator(**turn))})
    # The swinger rests in the root's orientation, so its turn is a turn of the root in the root's own
    # frame; in the world it turns the root and the legs about the first spine joint.
    root_rotation = pose["Root_M"][1]
    pivot = pose["Spine1_M"][2]
    world = multiply(multiply(root_rotation, swing), conjugate(root_rotation))
    for name in ("Root_M", "Hip_R", "Knee_L"):
        _parent, rotation, position = pose[name]
        assert_bone(evaluation, name, add(pivot, rotate(world, sub(position, pivot))), multiply(world, rotation))
    assert math.dist(bone_state(evaluation, "Hip_R")[0], pose["Hip_R"][2]) > 0.5, "the swing moves the hips"
    for name in ("Spine1_M", "Chest_M", "Head_M"):
        _parent, rotation, position = pose[name]
        assert_bone(evaluation, name, position, rotation)


# ---- spline IK ----------------------------------------------------------------------------------------

SPLINE_SAMPLES = 4000


def spline_bones(data, system_name):
    """The joints a spline system of the Body rig JSON solves: from its last joint up the joint
    parents to its first."""
    system = next(entry for entry in data["ikSystems"] if entry["name"] == system_name)
    parents = {joint["name"]: joint["parent"] for joint in data["joints"]}
    first, bones = system["joints"][0], [system["joints"][-1]]
    while bones[-1] != first:
        bones.append(parents[bones[-1]])
    return tuple(reversed(bones))


def bezier(points, u):
    """The cubic Bezier of four points at u: a clamped cubic B-spline of four control points is one."""
    basis = ((1 - u) ** 3, 3 * u * (1 - u) ** 2, 3 * u * u * (1 - u), u ** 3)
    return tuple(sum(weight * point[axis] for weight, point in zip(basis, points)) for axis in range(3))


def spline_of(evaluation, handles):
    """Dense points of the spline through the handles as the chain builds it (the middle of three
    handles doubled, the two ends of two handles doubled), and how far the engine's sampling of it
    (16 samples per segment of its four points) strays from it between samples."""
    places = [control_position(evaluation, handle) for handle in handles]
    points = [places[0], places[1], places[1], places[2]] if len(places) == 3 else [places[0], places[0], places[1], places[1]]
    samples = 3 * 16
    sagitta = max(math.dist(bezier(points, (index + 0.5) / (samples - 1)),
                            tuple((a + b) / 2.0 for a, b in zip(bezier(points, index / (samples - 1.0)),
                                                                  bezier(points, (index + 1) / (samples - 1.0)))))
                  for index in range(samples - 1))
    return [bezier(points, index / float(SPLINE_SAMPLES)) for index in range(SPLINE_SAMPLES + 1)], sagitta


def control_position(evaluation, name):
    return tuple(getattr(evaluation.global_transform(name, "Control").translation, axis) for axis in "xyz")


def rest_control_position(unreal, blueprint, name):
    key = unreal.RigElementKey(type=unreal.RigElementType.CONTROL, name=name)
    return tuple(getattr(blueprint.hierarchy.get_global_transform(key, True).translation, axis) for axis in "xyz")


def distance_to_polyline(point, polyline):
    best = float("inf")
    for a, b in zip(polyline, polyline[1:]):
        ab, ap = sub(b, a), sub(point, a)
        length = sum(c * c for c in ab)
        t = max(0.0, min(1.0, sum(x * y for x, y in zip(ab, ap)) / length)) if length else 0.0
        best = min(best, math.dist(point, add(a, tuple(c * t for c in ab))))
    return best


def polyline_length(points):
    return sum(math.dist(a, b) for a, b in zip(points, points[1:]))


def spine_in_ik(unreal, editor, blueprint, chest_offset, blend=10.0, extra=None):
    values = {"FKIKSpine_M_FKIKBlend": blend, "IKSpine3_M": unreal.EulerTransform(location=unreal.Vector(*chest_offset))}
    values.update(extra or {})
    return solve(editor, blueprint, values)


def test_moving_the_chest_handle_bends_the_spine_along_its_spline(unreal, rig):
    blueprint, pose, data, _bones, editor = rig
    SPINE = spline_bones(data, "Spine_M")
    offset = (0.0, 12.0, -4.0)
    evaluation = spine_in_ik(unreal, editor, blueprint, offset)
    handles = ("IKSpine1_M", "IKSpine2_M", "IKSpine3_M")
    moved = sub(control_position(evaluation, "IKSpine3_M"), rest_control_position(unreal, blueprint, "IKSpine3_M"))
    assert math.dist(moved, (0.0, 0.0, 0.0)) == pytest.approx(math.dist(offset, (0.0, 0.0, 0.0)))
    # The middle handle's space follows both ends half and half, keeping its place between them.
    middle_rest = rest_control_position(unreal, blueprint, "IKSpine2_M")
    assert math.dist(control_position(evaluation, "IKSpine2_M"), add(middle_rest, tuple(c / 2.0 for c in moved))) < POSITION_TOLERANCE
    curve, sagitta = spline_of(evaluation, handles)
    positions = [bone_state(evaluation, name)[0] for name in SPINE]
    # The start stays with its handle, the end lock holds the chest on its handle with its rest turn.
    assert_bone(evaluation, "Spine1_M", pose["Spine1_M"][2])
    assert_bone(evaluation, "Chest_M", add(pose["Chest_M"][2], moved), pose["Chest_M"][1])
    # Every bone that the chain's length reaches along the spline lies on it; a chain longer than the
    # spline runs on along its end tangent to the locked end.
    reach = 0.0
    for index, (name, position) in enumerate(zip(SPINE, positions)):
        if index:
            reach += math.dist(pose[SPINE[index - 1]][2], pose[name][2])
        if reach < polyline_length(curve) - 0.1:
            assert distance_to_polyline(position, curve) < POSITION_TOLERANCE + sagitta, name
    # Along the spline every bone but the one the end lock pulls keeps its length and aims its X axis
    # at the next bone.
    rest = [pose[name][2] for name in SPINE]
    for index in range(len(SPINE) - 2):
        length, rest_length = math.dist(positions[index], positions[index + 1]), math.dist(rest[index], rest[index + 1])
        assert length == pytest.approx(rest_length, abs=1e-3), SPINE[index]
        along = rotate(bone_state(evaluation, SPINE[index])[1], (1.0, 0.0, 0.0))
        towards = sub(positions[index + 1], positions[index])
        cosine = sum(a * b for a, b in zip(along, towards)) / math.dist(towards, (0.0, 0.0, 0.0))
        # The fit works in single precision: within a tenth of a degree.
        assert math.degrees(math.acos(min(1.0, cosine))) < 0.1, SPINE[index]
    # The spine bends towards the moved handle, more the nearer the bone is to it.
    towards = [sum(a * b for a, b in zip(sub(position, start), moved)) for position, start in zip(positions, rest)]
    quarter, middle, three_quarters = (towards[len(towards) * k // 4] for k in (1, 2, 3))
    assert 0.05 < quarter < middle < three_quarters


def slerp(a, b, t):
    dot = sum(x * y for x, y in zip(a, b))
    if dot < 0.0:
        b, dot = tuple(-c for c in b), -dot
    angle = math.acos(min(1.0, dot))
    if angle < 1e-9:
        return a
    wa, wb = math.sin((1.0 - t) * angle) / math.sin(angle), math.sin(t * angle) / math.sin(angle)
    return tuple(wa * x + wb * y for x, y in zip(a, b))


def test_the_spine_switch_blends_each_bone_between_fk_and_the_spline(unreal, rig):
    blueprint, pose, data, _bones, editor = rig
    SPINE = spline_bones(data, "Spine_M")
    offset = (0.0, 12.0, -4.0)
    fk, ik, half = (spine_in_ik(unreal, editor, blueprint, offset, blend) for blend in (0.0, 10.0, 5.0))
    for name in SPINE + ("Neck_M", "Head_M"):
        _parent, rotation, position = pose[name]
        # In FK the moved handle does nothing.
        assert_bone(fk, name, position, rotation)
    middle = SPINE[len(SPINE) // 2]
    assert math.dist(bone_state(ik, middle)[0], pose[middle][2]) > 0.5
    # Half way, each bone goes half way from its FK pose to where its spline pose would put it under
    # its already blended parent: the blend reads each bone after its parent was set.
    parent = None
    for name in SPINE:
        _parent, fk_rotation, fk_position = pose[name]
        ik_position, ik_rotation = bone_state(ik, name)
        if parent is None:
            target_position, target_rotation = ik_position, ik_rotation
        else:
            (parent_ik_position, parent_ik_rotation), (parent_position, parent_rotation) = parent
            local_rotation = multiply(conjugate(parent_ik_rotation), ik_rotation)
            local_position = rotate(conjugate(parent_ik_rotation), sub(ik_position, parent_ik_position))
            target_position = add(parent_position, rotate(parent_rotation, local_position))
            target_rotation = multiply(parent_rotation, local_rotation)
        expected_position = tuple((a + b) / 2.0 for a, b in zip(fk_position, target_position))
        assert_bone(half, name, expected_position)
        assert angle_between(bone_state(half, name)[1], slerp(fk_rotation, target_rotation, 0.5)) < 0.1, name
        parent = ((ik_position, ik_rotation), bone_state(half, name))


def power(q, share):
    """The turn of q by share of its angle about the same axis."""
    angle = 2.0 * math.acos(max(-1.0, min(1.0, q[3])))
    size = math.sqrt(sum(c * c for c in q[:3]))
    if size < 1e-12:
        return (0.0, 0.0, 0.0, 1.0)
    half = angle * share / 2.0
    return tuple(c / size * math.sin(half) for c in q[:3]) + (math.cos(half),)


def test_in_fk_the_first_spine_control_turns_the_spine_through_its_inbetween_joints(unreal, rig):
    blueprint, pose, data, _bones, editor = rig
    SPINE = spline_bones(data, "Spine_M")
    turn = rotator_quat(roll=21.0)
    evaluation = solve(editor, blueprint, {"FKIKSpine_M_FKIKBlend": 0.0,
                                           "FKSpine1_M": unreal.EulerTransform(rotation=unreal.Rotator(roll=21.0))})
    # FKSpine1_M has two inbetween joints: Spine1_M turns a third of the way, Spine1Part1_M two
    # thirds, Spine1Part2_M and everything above it all the way; each bone hangs from the previous
    # one where that one now is. The head keeps its world orientation (its "global" attribute).
    spine_rotation = pose["Spine1_M"][1]
    shares = {"Spine1_M": 1.0 / 3.0, "Spine1Part1_M": 2.0 / 3.0}
    position = pose["Spine1_M"][2]
    chain = list(SPINE) + ["Neck_M", "Head_M"]
    for index, name in enumerate(chain):
        world = multiply(multiply(spine_rotation, power(turn, shares.get(name, 1.0))), conjugate(spine_rotation))
        if index:
            previous = chain[index - 1]
            previous_world = multiply(multiply(spine_rotation, power(turn, shares.get(previous, 1.0))), conjugate(spine_rotation))
            position = add(position, rotate(previous_world, sub(pose[name][2], pose[previous][2])))
        assert_bone(evaluation, name, position, pose[name][1] if name == "Head_M" else multiply(world, pose[name][1]))


def test_in_ik_the_neck_keeps_its_place_on_the_chest(unreal, rig):
    blueprint, pose, _data, _bones, editor = rig
    evaluation = spine_in_ik(unreal, editor, blueprint, (5.0, 10.0, -6.0))
    chest_position, chest_rotation = bone_state(evaluation, "Chest_M")
    rest_chest_rotation, rest_chest = pose["Chest_M"][1], pose["Chest_M"][2]
    rest_neck_rotation, rest_neck = pose["Neck_M"][1], pose["Neck_M"][2]
    local = rotate(conjugate(rest_chest_rotation), sub(rest_neck, rest_chest))
    assert_bone(evaluation, "Neck_M", add(chest_position, rotate(chest_rotation, local)),
                multiply(chest_rotation, multiply(conjugate(rest_chest_rotation), rest_neck_rotation)))
    assert math.dist(bone_state(evaluation, "Neck_M")[0], rest_neck) > 5.0


def test_moving_the_start_handle_carries_the_start_of_the_spine(unreal, rig):
    blueprint, pose, _data, _bones, editor = rig
    offset = (0.0, -6.0, 3.0)
    evaluation = solve(editor, blueprint, {"FKIKSpine_M_FKIKBlend": 10.0,
                                           "IKSpine1_M": unreal.EulerTransform(location=unreal.Vector(*offset))})
    moved = sub(control_position(evaluation, "IKSpine1_M"), rest_control_position(unreal, blueprint, "IKSpine1_M"))
    assert math.dist(moved, (0.0, 0.0, 0.0)) == pytest.approx(math.dist(offset, (0.0, 0.0, 0.0)))
    assert_bone(evaluation, "Spine1_M", add(pose["Spine1_M"][2], moved))
    assert_bone(evaluation, "Chest_M", pose["Chest_M"][2], pose["Chest_M"][1])


def test_the_tail_solves_through_its_restored_middle_handle(unreal, rig):
    blueprint, pose, data, _bones, editor = rig
    TAIL = spline_bones(data, "Tail_M")
    assert "IKTail2_M" not in {control["name"] for control in data["controls"]}
    offset = (0.0, -10.0, 8.0)
    evaluation = solve(editor, blueprint, {"IKTail3_M": unreal.EulerTransform(location=unreal.Vector(*offset))})
    moved = sub(control_position(evaluation, "IKTail3_M"), rest_control_position(unreal, blueprint, "IKTail3_M"))
    # The tail starts in IK; its last bone is held on the moved handle, its first stays on the unmoved
    # one and turns along the spline.
    assert_bone(evaluation, TAIL[0], pose[TAIL[0]][2])
    assert_bone(evaluation, TAIL[-1], add(pose[TAIL[-1]][2], moved), pose[TAIL[-1]][1])
    # Restored halfway between the two exported handles, it moves half as far.
    middle_rest = rest_control_position(unreal, blueprint, "IKTail2_M")
    assert math.dist(middle_rest, tuple((a + b) / 2.0 for a, b in zip(pose[TAIL[0]][2], pose[TAIL[-1]][2]))) < POSITION_TOLERANCE
    assert math.dist(control_position(evaluation, "IKTail2_M"), add(middle_rest, tuple(c / 2.0 for c in moved))) < POSITION_TOLERANCE
    curve, sagitta = spline_of(evaluation, ("IKTail1_M", "IKTail2_M", "IKTail3_M"))
    for name in TAIL:
        assert distance_to_polyline(bone_state(evaluation, name)[0], curve) < POSITION_TOLERANCE + sagitta, name
    # Every bone but the one the end lock pulls keeps its length.
    positions = [bone_state(evaluation, name)[0] for name in TAIL]
    for index in range(len(TAIL) - 2):
        rest_length = math.dist(pose[TAIL[index]][2], pose[TAIL[index + 1]][2])
        assert math.dist(positions[index], positions[index + 1]) == pytest.approx(rest_length, abs=1e-3), TAIL[index]


# ---- backwards solve -----------------------------------------------------------------------------------

def control_names(blueprint, unreal):
    settings = blueprint.get_hierarchy_controller().get_control_settings
    return [str(key.name) for key in blueprint.hierarchy.get_all_keys(True) if key.type == unreal.RigElementType.CONTROL
            and settings(key).animation_type != unreal.RigControlAnimationType.ANIMATION_CHANNEL]


def test_at_rest_the_backwards_solve_leaves_every_control_at_its_initial_value(unreal, rig):
    blueprint, _pose, _data, _bones, editor = rig
    evaluation = editor.RigEvaluation(blueprint)
    assert evaluation.has_backwards_solve()
    assert evaluation.run_backwards_solve(), evaluation.report()["errors"]
    for name in control_names(blueprint, unreal):
        rest = blueprint.hierarchy.get_global_transform(unreal.RigElementKey(type=unreal.RigElementType.CONTROL, name=name), True)
        solved = evaluation.global_transform(name, "Control")
        assert math.dist(tuple(getattr(solved.translation, a) for a in "xyz"), tuple(getattr(rest.translation, a) for a in "xyz")) \
            < POSITION_TOLERANCE, name
        assert angle_between((solved.rotation.x, solved.rotation.y, solved.rotation.z, solved.rotation.w),
                             (rest.rotation.x, rest.rotation.y, rest.rotation.z, rest.rotation.w)) < ANGLE_TOLERANCE, name


# The neck and its inbetween part each turned: the forward solve spreads the neck control's turn over
# both, so the backwards solve has to take that spreading out again.
BACKWARD_POSE = {"Root_M": ((4.0, -3.0, 2.0), {"yaw": 12.0}), "Spine2_M": ((0.0, 0.0, 0.0), {"roll": 15.0}),
                 "Spine3_M": ((0.0, 0.0, 0.0), {"pitch": 10.0}), "Elbow_L": ((0.0, 0.0, 0.0), {"roll": 25.0}),
                 "Wrist_R": ((0.0, 0.0, 0.0), {"pitch": 20.0}), "IndexFinger2_R": ((0.0, 0.0, 0.0), {"yaw": -30.0}),
                 "Neck_M": ((0.0, 0.0, 0.0), {"pitch": 12.0}), "NeckPart1_M": ((0.0, 0.0, 0.0), {"roll": 8.0})}


def test_the_backwards_solve_sets_the_controls_that_give_a_posed_skeleton_back(unreal, rig):
    blueprint, pose, _data, bones, editor = rig
    evaluation = editor.RigEvaluation(blueprint)
    assert evaluation.run_forwards_solve(1)
    hierarchy = blueprint.hierarchy
    # An animation's pose: a root move and turn and a few joint turns, each in its bone's own frame.
    for name, (offset, turn) in BACKWARD_POSE.items():
        rest = hierarchy.get_local_transform(unreal.RigElementKey(type=unreal.RigElementType.BONE, name=name), True)
        local = unreal.Transform(location=rest.translation + unreal.Vector(*offset), scale=rest.scale3d)
        local.rotation = rest.rotation * unreal.Rotator(**turn).quaternion()
        evaluation.set_bone_local_transform(name, local)
    posed = {name: bone_state(evaluation, name) for name in bones}
    assert math.dist(posed["Head_M"][0], pose["Head_M"][2]) > 1.0
    assert evaluation.run_backwards_solve(), evaluation.report()["errors"]
    assert evaluation.run_forwards_solve(SOLVES), evaluation.report()["errors"]
    for name in bones:
        assert_bone(evaluation, name, *posed[name])


def test_a_global_head_keeps_its_world_orientation_and_still_turns_by_its_control(unreal, rig):
    blueprint, pose, _data, _bones, editor = rig
    turn = rotator_quat(roll=20.0)
    # The spine in FK turned: the head ("global" 10) does not turn with it.
    evaluation = solve(editor, blueprint, {"FKIKSpine_M_FKIKBlend": 0.0,
                                           "FKSpine2_M": unreal.EulerTransform(rotation=unreal.Rotator(pitch=15.0))})
    assert angle_between(bone_state(evaluation, "Head_M")[1], pose["Head_M"][1]) < ANGLE_TOLERANCE
    assert math.dist(bone_state(evaluation, "Head_M")[0], pose["Head_M"][2]) > 1.0
    # The head control turns the head by its own rotation, in the head's frame.
    evaluation = solve(editor, blueprint, {"FKHead_M": unreal.EulerTransform(rotation=unreal.Rotator(roll=20.0))})
    assert_bone(evaluation, "Head_M", pose["Head_M"][2], multiply(pose["Head_M"][1], turn))


# ---- twist ----------------------------------------------------------------------------------------------

# Each limb's twist chains as the Body rig JSON's "twistJoints" make them: the upper chain from the
# limb's first joint to its middle joint, the lower chain from there to the hand or foot.
TWIST_LIMBS = {
    "arm": {"fk": {"FKIKArm_R_FKIKBlend": 0.0}, "upper_control": "FKShoulder_R", "lower_control": "FKWrist_R",
            "upper": ("Shoulder_R", ("ShoulderPart1_R", "ShoulderPart2_R"), "Elbow_R"),
            "lower": ("Elbow_R", ("ElbowPart1_R", "ElbowPart2_R"), "Wrist_R")},
    "leg": {"fk": {"FKIKLeg_R_FKIKBlend": 0.0, "FKRoot_M_legLock": 0.0}, "upper_control": "FKHip_R", "lower_control": "FKAnkle_R",
            "upper": ("Hip_R", ("HipPart1_R", "HipPart2_R"), "Knee_R"),
            "lower": ("Knee_R", ("KneePart1_R", "KneePart2_R"), "Ankle_R")},
}


def axis_angle(axis, degrees):
    """The quaternion of a turn by degrees about a unit axis (right-handed)."""
    half = math.radians(degrees) / 2.0
    return (axis[0] * math.sin(half), axis[1] * math.sin(half), axis[2] * math.sin(half), math.cos(half))


def roll_degrees(roll):
    """The right-handed angle about X of a rotator's roll: the engine's roll turns the other way."""
    turn = rotator_quat(roll=roll)
    return math.degrees(2.0 * math.atan2(turn[0], turn[3]))


def x_axis(rotation):
    return rotate(rotation, (1.0, 0.0, 0.0))


def segment_axis(pose, chain):
    """The line a twist chain's parts turn about: their X axis, which must run along the chain, the
    same for every part, and reach the chain's end."""
    root, parts, endpoint = chain
    axis = x_axis(pose[parts[0]][1])
    for name in parts:
        assert sum(a * b for a, b in zip(x_axis(pose[name][1]), axis)) > 1.0 - 1e-9, name
    for name in parts + (endpoint,):
        offset = sub(pose[name][2], pose[root][2])
        assert math.dist(cross(offset, axis), (0.0, 0.0, 0.0)) < 1e-3 * math.dist(offset, (0.0, 0.0, 0.0)), name
    return axis


def assert_turned_about(evaluation, pose, names, pivot, turn):
    """Every named bone turned by the world rotation turn about the point pivot."""
    for name in names:
        _parent, rotation, position = pose[name]
        assert_bone(evaluation, name, add(pivot, rotate(turn, sub(position, pivot))), multiply(turn, rotation))


@pytest.mark.parametrize("limb", sorted(TWIST_LIMBS))
def test_turning_the_hand_or_foot_about_its_axis_spreads_the_twist_down_the_forearm_or_shin(unreal, rig, limb):
    blueprint, pose, _data, bones, editor = rig
    setup, roll = TWIST_LIMBS[limb], 60.0
    root, parts, endpoint = setup["lower"]
    values = dict(setup["fk"])
    values[setup["lower_control"]] = unreal.EulerTransform(rotation=unreal.Rotator(roll=roll))
    degrees = roll_degrees(roll)
    evaluation = solve(editor, blueprint, values)
    # The control turns the end joint about its own X axis; the forearm or shin parts turn about
    # theirs, along the forearm or shin, each one more third of that angle than the one above it.
    axis = segment_axis(pose, setup["lower"])
    for index, name in enumerate(parts, 1):
        _parent, rotation, position = pose[name]
        assert_bone(evaluation, name, position, multiply(axis_angle(axis, degrees * index / 3.0), rotation))
    # The end keeps the whole turn (not a third more) and carries the bones below it.
    end = descendants(pose, endpoint)
    assert_turned_about(evaluation, pose, end, pose[endpoint][2], axis_angle(x_axis(pose[endpoint][1]), degrees))
    for name in set(bones) - end - set(parts):
        _parent, rotation, position = pose[name]
        assert_bone(evaluation, name, position, rotation)
    assert angle_between(bone_state(evaluation, parts[0])[1], pose[parts[0]][1]) == pytest.approx(roll / 3.0, abs=ANGLE_TOLERANCE)


@pytest.mark.parametrize("limb", sorted(TWIST_LIMBS))
def test_twisting_the_upper_arm_or_thigh_turns_its_parts_in_thirds_and_leaves_the_first_joint_at_rest(unreal, rig, limb):
    blueprint, pose, _data, bones, editor = rig
    setup, roll = TWIST_LIMBS[limb], -45.0
    root, parts, endpoint = setup["upper"]
    values = dict(setup["fk"])
    values[setup["upper_control"]] = unreal.EulerTransform(rotation=unreal.Rotator(roll=roll))
    degrees = roll_degrees(roll)
    evaluation = solve(editor, blueprint, values)
    axis = segment_axis(pose, setup["upper"])
    assert sum(a * b for a, b in zip(x_axis(pose[root][1]), axis)) > 1.0 - 1e-9
    # A pure twist has no swing: the first joint stays as it rests.
    assert_bone(evaluation, root, pose[root][2], pose[root][1])
    for index, name in enumerate(parts, 1):
        _parent, rotation, position = pose[name]
        assert_bone(evaluation, name, position, multiply(axis_angle(axis, degrees * index / 3.0), rotation))
    # The middle joint and the rest of the limb turn as the control turned them.
    below = descendants(pose, endpoint)
    assert_turned_about(evaluation, pose, below, pose[root][2], axis_angle(axis, degrees))
    for name in set(bones) - below - set(parts) - {root}:
        _parent, rotation, position = pose[name]
        assert_bone(evaluation, name, position, rotation)


def swing_and_twist_about_x(q):
    """(swing, twist angle in degrees) of a rotation q = swing * twist, the twist about X."""
    size = math.hypot(q[0], q[3])
    twist = (q[0] / size, 0.0, 0.0, q[3] / size)
    return multiply(q, conjugate(twist)), math.degrees(2.0 * math.atan2(twist[0], twist[3]))


def test_a_swinging_and_twisting_upper_arm_keeps_its_swing_and_hands_its_twist_to_its_parts(unreal, rig):
    blueprint, pose, _data, _bones, editor = rig
    setup = TWIST_LIMBS["arm"]
    root, parts, endpoint = setup["upper"]
    turn = {"roll": 40.0, "yaw": 25.0, "pitch": -10.0}
    evaluation = solve(editor, blueprint, {"FKIKArm_R_FKIKBlend": 0.0,
                                           setup["upper_control"]: unreal.EulerTransform(rotation=unreal.Rotator(**turn))})
    rest = pose[root][1]
    local = rotator_quat(**turn)
    swing, twist_degrees = swing_and_twist_about_x(local)
    assert abs(twist_degrees) > 10.0 and angle_between(swing, (0.0, 0.0, 0.0, 1.0)) > 10.0
    world_swing = multiply(multiply(rest, swing), conjugate(rest))
    world_turn = multiply(multiply(rest, local), conjugate(rest))
    pivot = pose[root][2]
    # The shoulder keeps only its swing.
    assert_bone(evaluation, root, pivot, multiply(world_swing, rest))
    # Each part swings with it and adds a third of the twist about the arm's rest axis, turned by the swing.
    axis = segment_axis(pose, setup["upper"])
    assert sum(a * b for a, b in zip(x_axis(rest), axis)) > 1.0 - 1e-9
    for index, name in enumerate(parts, 1):
        _parent, rotation, position = pose[name]
        expected = multiply(world_swing, multiply(axis_angle(axis, twist_degrees * index / 3.0), rotation))
        assert_bone(evaluation, name, add(pivot, rotate(world_turn, sub(position, pivot))), expected)
    # The elbow and everything below it keep the whole turn of the FK control.
    assert_turned_about(evaluation, pose, descendants(pose, endpoint), pivot, world_turn)


def test_in_ik_the_hands_twist_spreads_down_the_forearm_too(unreal, rig):
    blueprint, pose, _data, _bones, editor = rig
    root, parts, endpoint = TWIST_LIMBS["arm"]["lower"]
    degrees = 50.0
    hand_axis, axis = x_axis(pose[endpoint][1]), segment_axis(pose, TWIST_LIMBS["arm"]["lower"])
    turned = multiply(axis_angle(hand_axis, degrees), pose[endpoint][1])
    # The IK control stays on the hand and turns it: the arm solves to its rest pose, the hand turns.
    evaluation = solve(editor, blueprint, {"FKIKArm_R_FKIKBlend": 10.0,
                                           "IKArm_R": unreal.EulerTransform(rotation=unreal.Quat(*turned).rotator())})
    for name in ("Shoulder_R", "Elbow_R") + TWIST_LIMBS["arm"]["upper"][1]:
        assert_bone(evaluation, name, pose[name][2], pose[name][1])
    for index, name in enumerate(parts, 1):
        _parent, rotation, position = pose[name]
        assert_bone(evaluation, name, position, multiply(axis_angle(axis, degrees * index / 3.0), rotation))
    assert_turned_about(evaluation, pose, descendants(pose, endpoint), pose[endpoint][2], axis_angle(hand_axis, degrees))
