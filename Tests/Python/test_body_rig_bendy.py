"""Bendy limbs: the segments planned from the bend handles and twist chains, the handles' spaces and
the bind-pose nulls, the solver's pins, and the saved sample rig evaluated: at rest no bone moves, a
moved handle bends its segment by the amounts worked out here from the reference pose and the Maya
matrices, the handles travel with the limb, and nothing piles up from one evaluation to the next."""

import json
import math
import os
import re

import pytest

from conftest import SAMPLE_HERO, install_sample_hero, run_tool_script
from graph_execution import executed_nodes
from test_body_rig_evaluation import SOLVES, conjugate, multiply, package_file, reference_pose, rotate

POSITION_TOLERANCE = 1e-3  # cm
SAMPLE_JSON = os.path.join(SAMPLE_HERO, "SampleHero_BodyRig.json")


def bend(name, kind="Bend", curves=True, matrix=None):
    record = {"name": name, "type": kind, "parent": "Main",
              "worldMatrix": matrix or [1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1]}
    if curves:
        record["curveShapes"] = [{"name": name + "Shape", "degree": 1, "points": [[0, 0, 0], [1, 0, 0]]}]
    return record


def twist_joint(name, parent="", twist=None):
    record = {"name": name, "parent": parent}
    if twist is not None:
        record["fitJointInfo"] = {"attributes": [{"name": "twistJoints", "value": twist}]}
    return record


ARM_JOINTS = [twist_joint("Shoulder_L", "", 2), twist_joint("ShoulderPart1_L", "Shoulder_L"),
              twist_joint("ShoulderPart2_L", "ShoulderPart1_L"), twist_joint("Elbow_L", "ShoulderPart2_L", 1),
              twist_joint("ElbowPart1_L", "Elbow_L"), twist_joint("Wrist_L", "ElbowPart1_L")]


def plans_of(tool_script, controls, joints=ARM_JOINTS):
    plans, entries = tool_script["body_rig_plan_bendy"]({"joints": joints, "controls": controls})
    return [(plan.bones, plan.handles, plan.handle_parents, plan.master) for plan in plans], [entry["name"] for entry in entries]


# ---- planning ---------------------------------------------------------------------------------------

def test_numbered_handles_bend_the_segment_with_the_master_beside_them(tool_script):
    controls = [bend("BendShoulder0_L"), bend("BendMidShoulder_L", "BendMid"), bend("BendShoulder_L"),
                bend("BendShoulder2_L"), bend("BendShoulder1_L"), bend("BendMidElbow_L", "BendMid"),
                bend("BendExtraShoulder1_L"), bend("BendMidExtraShoulder_L", "BendMid"), bend("BendShoulder3_L", curves=False),
                bend("BendShoulderX_L"), bend("BendElbow_L"), bend("BendMidWrist_L", "BendMid")]
    plans, entries = plans_of(tool_script, controls)
    assert plans == [
        (["Shoulder_L", "ShoulderPart1_L", "ShoulderPart2_L", "Elbow_L"],
         ["BendMidShoulder_L", "BendShoulder1_L", "BendShoulder2_L", "BendMidElbow_L"],
         ["BendShoulder0_L", "", "", ""], "BendShoulder_L"),
        # No numbered handles: the master is the middle handle, and the plan has no master of its own.
        (["Elbow_L", "ElbowPart1_L", "Wrist_L"], ["BendMidElbow_L", "BendElbow_L", "BendMidWrist_L"], ["", "", ""], ""),
    ]
    # Extra handles, handles without curves and names that are not numbered are not made; the rest
    # keep the file's order.
    assert entries == ["BendShoulder0_L", "BendMidShoulder_L", "BendShoulder_L", "BendShoulder2_L", "BendShoulder1_L",
                       "BendMidElbow_L", "BendElbow_L", "BendMidWrist_L"]


def test_a_segment_without_mid_handles_starts_at_its_zero_handle_and_may_have_no_ends(tool_script):
    plans, entries = plans_of(tool_script, [bend("BendShoulder_L"), bend("BendShoulder0_L"), bend("BendShoulder1_L")])
    assert plans == [(["Shoulder_L", "ShoulderPart1_L", "ShoulderPart2_L", "Elbow_L"],
                      ["BendShoulder0_L", "BendShoulder1_L", ""], ["", "", ""], "BendShoulder_L")]
    assert entries == ["BendShoulder_L", "BendShoulder0_L", "BendShoulder1_L"]
    # Without its master a chain has no segment, and nothing is made for its handles.
    assert plans_of(tool_script, [bend("BendShoulder0_L"), bend("BendMidShoulder_L", "BendMid")]) == ([], [])
    assert plans_of(tool_script, [bend("BendShoulder_L")], joints=[]) == ([], [])


def test_the_world_transform_swaps_y_and_z_on_both_sides_and_takes_the_import_scale(unreal, tool_script):
    world = tool_script["body_rig_bendy_world_transform"]
    # Maya: X axis along Maya Y, Y axis along -X, at (1, 2, 3): a quarter turn about Maya's Y (up).
    record = bend("BendKnee_R", matrix=[0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 1, 2, 3, 1])
    transform = world(record, 2.0)
    location = transform.translation
    assert (location.x, location.y, location.z) == pytest.approx((2.0, 6.0, 4.0))
    # In Unreal axes the X axis goes up (Z) and the Y axis (Maya Z) stays; a proper frame at scale 2.
    x_axis = transform.rotation.rotate_vector(unreal.Vector(1, 0, 0))
    y_axis = transform.rotation.rotate_vector(unreal.Vector(0, 1, 0))
    assert (x_axis.x, x_axis.y, x_axis.z) == pytest.approx((0.0, 0.0, 1.0), abs=1e-6)
    assert (y_axis.x, y_axis.y, y_axis.z) == pytest.approx((0.0, 1.0, 0.0), abs=1e-6)
    assert (transform.scale3d.x, transform.scale3d.y, transform.scale3d.z) == pytest.approx((2.0, 2.0, 2.0))
    for matrix in ([1, 0, 0], list(range(17)), None):
        broken = dict(record, worldMatrix=matrix)
        with pytest.raises(RuntimeError, match="^Bend control requires exported worldMatrix: BendKnee_R$"):
            world(broken, 1.0)


def test_the_segments_text_writes_every_field_with_nine_decimals_and_none_for_empty_names(tool_script):
    plan = tool_script["BendyPlan"](bones=["Hip_R", "Knee_R"], handles=["BendMidHip_R", "BendHip_R", ""],
                                    handle_parents=["BendHip0_R", "", ""], master="",
                                    bone_parameters=[0.0, 1.0], handle_parameters=[0.0, 0.5, 1.0], master_parameter=0.5)
    assert tool_script["body_rig_bendy_segments_text"]([plan, plan])[:-1].split("),(Bones")[0] == (
        '((Bones=("Hip_R","Knee_R"),Parameters=(0.000000000,1.000000000),'
        'Handles=((Control="BendMidHip_R",Space="VNBendSpace_BendMidHip_R",ParentControl="BendHip0_R",Parameter=0.000000000),'
        '(Control="BendHip_R",Space="VNBendSpace_BendHip_R",ParentControl="None",Parameter=0.500000000),'
        '(Control="None",Space="None",ParentControl="None",Parameter=1.000000000)),'
        'Master="None",MasterSpace="None",MasterParameter=0.500000000')
    assert tool_script["body_rig_bendy_segments_text"]([]) == "()"


# ---- the sample rig ---------------------------------------------------------------------------------

@pytest.fixture(scope="module")
def sample(unreal, tmp_path_factory):
    """(blueprint, reference pose, the Body rig JSON's "rig", the build's printed lines, hosteditor)."""
    import contextlib
    import io
    import hosteditor
    project = tmp_path_factory.mktemp("bendy") / "Project"
    hosteditor.shutdown()
    hosteditor.start(str(project))
    tool_script = run_tool_script(SOURCE_FILE="", INCLUDE_VN_FACE_SOLVER=True, json_file="")
    mesh = install_sample_hero(unreal, project)
    tool_script["set_target_skeletal_mesh"](mesh)
    tool_script["set_body_json_file"](SAMPLE_JSON)
    tool_script["set_body_control_rig_source"]("Generate from JSON")
    printed = io.StringIO()
    with contextlib.redirect_stdout(printed):
        blueprint = tool_script["create_body_control_rig_from_json"]()
    with open(SAMPLE_JSON, encoding="utf-8") as source:
        data = json.load(source)["rig"]
    yield blueprint, reference_pose(package_file(project, mesh.get_path_name())), data, printed.getvalue(), hosteditor
    hosteditor.shutdown()


UPPER = ["Shoulder_L", "ShoulderPart1_L", "ShoulderPart2_L", "Elbow_L"]
LOWER = ["Elbow_L", "ElbowPart1_L", "ElbowPart2_L", "Wrist_L"]


def maya_frame(record):
    """(position, X, Y, Z axes) of a handle's Maya world matrix in Unreal axes (Y and Z swapped on both
    sides), the axes made unit length."""
    m = [float(value) for value in record["worldMatrix"]]
    rows = [[m[4 * r + 0], m[4 * r + 2], m[4 * r + 1]] for r in (0, 2, 1, 3)]
    axes = [tuple(value / math.sqrt(sum(v * v for v in row)) for value in row) for row in rows[:3]]
    return tuple(rows[3]), axes[0], axes[1], axes[2]


def in_frame(axes, local):
    return tuple(sum(local[i] * axes[i][k] for i in range(3)) for k in range(3))


def fraction(pose, bones, point):
    start, end = pose[bones[0]][2], pose[bones[-1]][2]
    chord = [b - a for a, b in zip(start, end)]
    along = sum((p - a) * c for p, a, c in zip(point, start, chord)) / sum(c * c for c in chord)
    return min(1.0, max(0.0, along))


def piecewise(handles, parameter):
    """The handles' bends (parameter, vector) interpolated linearly, constant past the outer ones."""
    handles = sorted(handles)
    if parameter <= handles[0][0]:
        return handles[0][1]
    if parameter >= handles[-1][0]:
        return handles[-1][1]
    for (low, low_bend), (high, high_bend) in zip(handles, handles[1:]):
        if parameter <= high:
            alpha = (parameter - low) / (high - low)
            return tuple(a + (b - a) * alpha for a, b in zip(low_bend, high_bend))


def tent(peak, parameter):
    return parameter / peak if parameter <= peak else (1.0 - parameter) / (1.0 - peak)


def record_of(data, name):
    return next(control for control in data["controls"] if control["name"] == name)


def solved(editor, blueprint, values, solves=SOLVES):
    evaluation = editor.RigEvaluation(blueprint)
    for name, value in values.items():
        evaluation.set_control_value(name, value)
    assert evaluation.run_forwards_solve(solves), evaluation.report()["errors"]
    return evaluation


def position(evaluation, name, element_type="Bone"):
    location = evaluation.global_transform(name, element_type).translation
    return (location.x, location.y, location.z)


def parts(vector):
    return (vector.x, vector.y, vector.z)


def assert_near(actual, expected, what):
    assert math.dist(actual, expected) < POSITION_TOLERANCE, (what, actual, expected)


def test_the_sample_builds_both_arm_segments_with_their_spaces_and_bind_pose_nulls(unreal, sample):
    blueprint, pose, data, printed, _editor = sample
    assert "not available in this build" not in printed
    hierarchy = blueprint.hierarchy

    def key(name, kind):
        return unreal.RigElementKey(type=getattr(unreal.RigElementType, kind.upper()), name=name)

    assert str(hierarchy.get_first_parent(key("BendSystem", "null")).name) == "MotionSystem"
    for name in ("BendShoulder0_L", "BendMidShoulder_L", "BendShoulder_L", "BendShoulder1_L", "BendShoulder2_L",
                 "BendMidElbow_L", "BendElbow_L", "BendMidWrist_L"):
        space = key("VNBendSpace_" + name, "null")
        assert str(hierarchy.get_first_parent(space).name) == "BendSystem"
        assert str(hierarchy.get_first_parent(key(name, "control")).name) == "VNBendSpace_" + name
        assert_near(tuple(getattr(hierarchy.get_global_transform(space, True).translation, axis) for axis in "xyz"),
                    maya_frame(record_of(data, name))[0], name)
        control = hierarchy.get_global_transform(key(name, "control"), True)
        assert_near((control.translation.x, control.translation.y, control.translation.z), maya_frame(record_of(data, name))[0], name)
    assert not hierarchy.contains(key("BendExtraShoulder1_L", "control"))
    for bone in UPPER + LOWER:
        base = key("VNBendBase_" + bone, "null")
        assert str(hierarchy.get_first_parent(base).name) == "Helpers"
        kept, bind = hierarchy.get_local_transform(base, True), hierarchy.get_local_transform(key(bone, "bone"), True)
        assert_near(parts(kept.translation), parts(bind.translation), bone)
        assert_near(parts(kept.rotation) + (kept.rotation.w,), parts(bind.rotation) + (bind.rotation.w,), bone)


def test_the_solver_restores_first_and_bends_before_the_twist_with_the_fractions_along_each_segment(unreal, sample):
    blueprint, pose, data, _printed, _editor = sample
    model = blueprint.get_model()
    nodes = {str(node.get_name()): node for node in model.get_nodes()}
    restore, solve = nodes["VNBendRestore"], nodes["VNBendSolve"]
    assert (restore.get_position().x, restore.get_position().y) == (1700.0, -400.0)
    assert [str(link.get_source_pin().get_pin_path()) for link in model.get_links()
            if str(link.get_target_pin().get_pin_path()) == "VNBendRestore.ExecuteContext"] == ["BodyForwardSequence.A"]
    pins = {str(pin.get_name()): str(pin.get_default_value()) for pin in solve.get_pins()}
    assert pins["bRestore"] == "False"
    assert {str(pin.get_name()): str(pin.get_default_value()) for pin in restore.get_pins()}["bRestore"] == "True"
    assert pins["SnapshotBones"] == "(" + ",".join('"%s"' % bone for bone in UPPER + LOWER[1:]) + ")"
    segments = pins["Segments"]
    for bones in (UPPER, LOWER):
        entry = re.search(r'Bones=\(%s\),Parameters=\(([^)]*)\)' % ",".join('"%s"' % b for b in bones), segments)
        assert entry, segments
        expected = [fraction(pose, bones, pose[bone][2]) for bone in bones]
        assert [float(value) for value in entry.group(1).split(",")] == pytest.approx(expected, abs=1e-5)
    master = re.search(r'Master="BendShoulder_L",MasterSpace="VNBendSpace_BendShoulder_L",MasterParameter=([-0-9.]+)', segments)
    assert float(master.group(1)) == pytest.approx(fraction(pose, UPPER, maya_frame(record_of(data, "BendShoulder_L"))[0]), abs=1e-5)
    assert 'Master="None",MasterSpace="None"' in segments, "the forearm has no numbered handles"
    # The saved pose must not hold the twist: the solve runs before every node of the twist section.
    box = next(node for node in nodes.values() if isinstance(node, unreal.RigVMCommentNode)
               and node.get_comment_text() == "Twist Solutions")
    top, bottom = box.get_position().y, box.get_position().y + box.get_size().y
    order = executed_nodes(model)
    twist = [name for name in order if top < nodes[name].get_position().y < bottom and name != "VNBendSolve"]
    assert twist and order.index("VNBendRestore") < order.index("VNBendSolve") < min(order.index(name) for name in twist)


def test_at_rest_the_bent_limbs_and_their_handles_stay_where_they_are(sample):
    blueprint, pose, data, _printed, editor = sample
    evaluation = solved(editor, blueprint, {})
    for bone in UPPER + LOWER + ["MiddleFinger1_L"]:
        assert_near(position(evaluation, bone), pose[bone][2], bone)
        assert math.degrees(2 * math.acos(min(1.0, abs(sum(
            a * b for a, b in zip(evaluation_rotation(evaluation, bone), pose[bone][1])))))) < 1e-3
    for name in ("BendShoulder_L", "BendMidElbow_L"):
        assert_near(position(evaluation, name, "Control"), maya_frame(record_of(data, name))[0], name)


def evaluation_rotation(evaluation, name):
    rotation = evaluation.global_transform(name).rotation
    return (rotation.x, rotation.y, rotation.z, rotation.w)


def test_the_master_bends_the_middle_of_the_upper_arm_and_leaves_its_ends(unreal, sample):
    blueprint, pose, data, _printed, editor = sample
    local = (0.0, 2.0, 5.0)
    evaluation = solved(editor, blueprint, {"BendShoulder_L": unreal.EulerTransform(location=unreal.Vector(*local))})
    place, *axes = maya_frame(record_of(data, "BendShoulder_L"))
    world = in_frame(axes, local)
    peak = fraction(pose, UPPER, place)
    for bone in UPPER:
        weight = tent(peak, fraction(pose, UPPER, pose[bone][2]))
        expected = tuple(p + weight * w for p, w in zip(pose[bone][2], world))
        assert_near(position(evaluation, bone), expected, bone)
    assert 0.6 < tent(peak, 1.0 / 3.0) < 0.7, "a part a third of the way along takes about two thirds of the bend"
    for bone in LOWER[1:] + ["MiddleFinger1_L"]:
        assert_near(position(evaluation, bone), pose[bone][2], bone)


def test_the_elbow_handle_that_both_segments_share_moves_the_elbow_once_and_fades_along_both(unreal, sample):
    blueprint, pose, data, _printed, editor = sample
    local = (3.0, 0.0, -4.0)
    evaluation = solved(editor, blueprint, {"BendMidElbow_L": unreal.EulerTransform(location=unreal.Vector(*local))})
    moved = in_frame(maya_frame(record_of(data, "BendMidElbow_L"))[1:], local)
    zero = (0.0, 0.0, 0.0)

    def handles(bones, names):
        return [(fraction(pose, bones, maya_frame(record_of(data, name))[0]), moved if name == "BendMidElbow_L" else zero)
                for name in names]

    upper = handles(UPPER, ["BendMidShoulder_L", "BendShoulder1_L", "BendShoulder2_L", "BendMidElbow_L"])
    lower = handles(LOWER, ["BendMidElbow_L", "BendElbow_L", "BendMidWrist_L"])
    for bones, segment_handles in ((UPPER[:-1], upper), (LOWER[1:], lower)):
        for bone in bones:
            offset = piecewise(segment_handles, fraction(pose, UPPER if bones[0] == "Shoulder_L" else LOWER, pose[bone][2]))
            assert_near(position(evaluation, bone), tuple(p + o for p, o in zip(pose[bone][2], offset)), bone)
    assert_near(position(evaluation, "Elbow_L"), tuple(p + m for p, m in zip(pose["Elbow_L"][2], moved)), "Elbow_L")
    assert_near(position(evaluation, "MiddleFinger1_L"), pose["MiddleFinger1_L"][2], "the hand stays with the wrist")


def test_the_zero_handle_carries_the_mid_handle_and_with_it_the_start_of_the_segment(unreal, sample):
    blueprint, pose, data, _printed, editor = sample
    local = (0.0, 0.0, 2.5)
    evaluation = solved(editor, blueprint, {"BendShoulder0_L": unreal.EulerTransform(location=unreal.Vector(*local))})
    moved = in_frame(maya_frame(record_of(data, "BendShoulder0_L"))[1:], local)
    rest = maya_frame(record_of(data, "BendMidShoulder_L"))[0]
    assert_near(position(evaluation, "BendMidShoulder_L", "Control"), tuple(r + m for r, m in zip(rest, moved)), "mid handle")
    assert_near(position(evaluation, "Shoulder_L"), tuple(p + m for p, m in zip(pose["Shoulder_L"][2], moved)), "Shoulder_L")
    assert_near(position(evaluation, "Elbow_L"), pose["Elbow_L"][2], "Elbow_L")


def test_the_handles_travel_with_the_arm_and_bend_it_in_its_own_frame(unreal, sample):
    blueprint, pose, data, _printed, editor = sample
    swing = unreal.Rotator(yaw=40.0)
    fk = {"FKIKArm_L_FKIKBlend": 0.0, "FKShoulder_L": unreal.EulerTransform(rotation=swing)}
    straight = solved(editor, blueprint, fk)
    local = (0.0, 0.0, 5.0)
    bent = solved(editor, blueprint, dict(fk, BendShoulder_L=unreal.EulerTransform(location=unreal.Vector(*local))))
    # The shoulder's turn from rest, as the straight FK arm shows it, turns the handle and its bend.
    turned = straight.global_transform("Shoulder_L").rotation
    turn = multiply((turned.x, turned.y, turned.z, turned.w), conjugate(pose["Shoulder_L"][1]))
    assert math.degrees(2 * math.acos(min(1.0, abs(turn[3])))) == pytest.approx(40.0, abs=1e-3)
    place, *axes = maya_frame(record_of(data, "BendShoulder_L"))
    shoulder_now = position(straight, "Shoulder_L")
    handle_now = tuple(s + r for s, r in zip(shoulder_now, rotate(turn, tuple(p - s for p, s in zip(place, pose["Shoulder_L"][2])))))
    world = rotate(turn, in_frame(axes, local))
    assert_near(position(bent, "BendShoulder_L", "Control"), tuple(h + w for h, w in zip(handle_now, world)), "the handle")
    peak = fraction(pose, UPPER, place)
    for bone in UPPER:
        weight = tent(peak, fraction(pose, UPPER, pose[bone][2]))
        assert_near(position(bent, bone), tuple(p + weight * w for p, w in zip(position(straight, bone), world)), bone)


def test_a_bend_is_the_same_after_one_evaluation_or_many(unreal, sample):
    blueprint, _pose, _data, _printed, editor = sample
    values = {"BendShoulder_L": unreal.EulerTransform(location=unreal.Vector(0, 1, 4)),
              "BendMidElbow_L": unreal.EulerTransform(location=unreal.Vector(2, 0, 0))}
    once, many = solved(editor, blueprint, values, 1), solved(editor, blueprint, values, 5)
    for bone in UPPER + LOWER:
        assert_near(position(many, bone), position(once, bone), bone)
