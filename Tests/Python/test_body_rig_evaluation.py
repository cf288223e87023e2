"""The body rig evaluated: the saved rig of the sample and of a character four times its size runs its
forwards solve in the headless editor with every control at its initial value, and every bone must
stay at the skeletal mesh's reference pose. The reference pose is composed here from the mesh
package's own bone lines, not read back from the rig."""

import math
import os
import re
import shutil

import pytest

from conftest import SAMPLE_HERO, SAMPLE_HERO_MESH

TRANSLATION_TOLERANCE = 1e-3  # cm
ROTATION_TOLERANCE = 1e-3  # degrees
SOLVES = 3

BONE_LINE = re.compile(r'CustomProperties Bone Name="([^"]+)" Parent=(-?\d+) Pose=\(Rotation=\(X=([^,]+),Y=([^,]+),Z=([^,]+),W=([^)]+)\),'
                       r'Translation=\(X=([^,]+),Y=([^,]+),Z=([^)]+)\)')


# ---- quaternion maths of the reference pose (x, y, z, w; a child's global is parent * local) ----

def multiply(a, b):
    ax, ay, az, aw = a
    bx, by, bz, bw = b
    return (aw * bx + ax * bw + ay * bz - az * by,
            aw * by - ax * bz + ay * bw + az * bx,
            aw * bz + ax * by - ay * bx + az * bw,
            aw * bw - ax * bx - ay * by - az * bz)


def conjugate(q):
    return (-q[0], -q[1], -q[2], q[3])


def rotate(q, vector):
    return multiply(multiply(q, (vector[0], vector[1], vector[2], 0.0)), conjugate(q))[:3]


def angle_between(a, b):
    """The angle in degrees of the rotation that turns a into b; well conditioned near zero."""
    relative = multiply(conjugate(a), b)
    return math.degrees(2.0 * math.atan2(math.sqrt(sum(c * c for c in relative[:3])), abs(relative[3])))


def reference_pose(mesh_package_file):
    """Bone name -> (parent name or None, global rotation, global translation) of the mesh's
    reference skeleton, parents listed before their children."""
    with open(mesh_package_file, encoding="utf-8") as source:
        lines = BONE_LINE.findall(source.read())
    assert lines, "no bones in " + mesh_package_file
    names = [line[0] for line in lines]
    pose = {}
    for name, parent_index, *numbers in lines:
        local_rotation = tuple(float(value) for value in numbers[:4])
        local_translation = tuple(float(value) for value in numbers[4:])
        parent = names[int(parent_index)] if int(parent_index) >= 0 else None
        if parent is None:
            pose[name] = (None, local_rotation, local_translation)
            continue
        _, parent_rotation, parent_translation = pose[parent]
        offset = rotate(parent_rotation, local_translation)
        pose[name] = (parent, multiply(parent_rotation, local_rotation), tuple(p + o for p, o in zip(parent_translation, offset)))
    return pose


def package_file(project, object_path):
    return os.path.join(str(project), "Content", object_path.split(".")[0][len("/Game/"):] + ".uasset")


def deviations(evaluation, pose, rig_bones):
    """Per bone of the rig: (translation deviation in cm, rotation deviation in degrees)."""
    result = {}
    for name in rig_bones:
        _, rotation, translation = pose[name]
        actual = evaluation.global_transform(name)
        location = actual.translation
        quat = actual.rotation
        result[name] = (math.dist((location.x, location.y, location.z), translation),
                        angle_between(rotation, (quat.x, quat.y, quat.z, quat.w)))
    return result


def describe_largest(found):
    name = max(found, key=lambda bone: max(found[bone][0] / TRANSLATION_TOLERANCE, found[bone][1] / ROTATION_TOLERANCE))
    by_translation = max(found, key=lambda bone: found[bone][0])
    by_rotation = max(found, key=lambda bone: found[bone][1])
    return ("largest deviation: %s (%.6f cm, %.6f deg); largest translation %s %.6f cm; largest rotation %s %.6f deg"
            % (name, found[name][0], found[name][1], by_translation, found[by_translation][0], by_rotation, found[by_rotation][1]))


def primary_axis_misalignment(pose, bone, next_joint):
    """The angle in degrees between a bone's X axis and the line to the joint its IK aims it at, in
    the reference pose: what aiming X along that line turns the bone by."""
    _, rotation, translation = pose[bone]
    axis = rotate(rotation, (1.0, 0.0, 0.0))
    line = [b - a for a, b in zip(translation, pose[next_joint][2])]
    length = math.sqrt(sum(c * c for c in line))
    cosine = sum(a * c for a, c in zip(axis, line)) / length
    return math.degrees(math.acos(max(-1.0, min(1.0, cosine))))


def secondary_axis_misalignment(pose, bone, next_joint, chain, axis):
    """The angle in degrees, about the line from bone to next_joint, between the bone's axis (a local
    vector) and the bend of the limb chain (upper, middle, effector) at rest, from the middle of upper
    and effector toward the middle joint: what rolling that axis toward the bend turns the bone by."""
    def unit(vector):
        length = math.sqrt(sum(c * c for c in vector))
        return [c / length for c in vector]

    def across(vector, along):
        projection = sum(a * b for a, b in zip(vector, along))
        return unit([a - projection * b for a, b in zip(vector, along)])

    upper, middle, effector = (pose[name][2] for name in chain)
    along = unit([b - a for a, b in zip(pose[bone][2], pose[next_joint][2])])
    bend = across([m - (u + e) * 0.5 for u, m, e in zip(upper, middle, effector)], along)
    current = across(rotate(pose[bone][1], axis), along)
    return math.degrees(math.acos(max(-1.0, min(1.0, sum(a * b for a, b in zip(bend, current))))))


# ---- the two characters ----

@pytest.fixture
def project(editor, tmp_path):
    return tmp_path / "Project"


def build_sample(unreal, tool_script, project, tmp_path):
    content = project / "Content" / "SampleHero"
    content.mkdir(parents=True, exist_ok=True)
    for name in os.listdir(SAMPLE_HERO):
        if name.endswith(".uasset"):
            shutil.copy(os.path.join(SAMPLE_HERO, name), content / name)
    mesh = unreal.load_asset(SAMPLE_HERO_MESH)
    return mesh, os.path.join(SAMPLE_HERO, "SampleHero_BodyRig.json")


def build_four_times(unreal, tool_script, project, tmp_path):
    import generate_sample
    mesh, body_json, _controls = generate_sample.create_in_editor(generate_sample.sized_parameters(4), str(tmp_path / "Characters"))
    return mesh, body_json


CHARACTERS = {"sample": build_sample, "four_times": build_four_times}


@pytest.fixture(params=sorted(CHARACTERS))
def evaluated(request, unreal, editor, tool_script, project, tmp_path):
    """(rig, evaluation after the forwards solves at rest, reference pose, the rig's bone names)."""
    mesh, body_json = CHARACTERS[request.param](unreal, tool_script, project, tmp_path)
    tool_script["set_target_skeletal_mesh"](mesh)
    tool_script["set_body_json_file"](body_json)
    tool_script["set_body_control_rig_source"]("Generate from JSON")
    rig = tool_script["create_body_control_rig_from_json"]()
    assert rig is not None
    pose = reference_pose(package_file(project, mesh.get_path_name()))
    rig_bones = [str(key.name) for key in rig.hierarchy.get_bones()]
    evaluation = editor.RigEvaluation(rig)
    solved = evaluation.run_forwards_solve(SOLVES)
    report = evaluation.report()
    print("\n%s: %s" % (request.param, report["text"]))
    assert solved, report["errors"]
    return rig, evaluation, pose, rig_bones


def leg_ik_chains(rig):
    """(upper bone, middle bone, effector bone) of each two-bone IK node of the rig's forwards solve."""
    return [chain for chain, _axis in ik_nodes(rig)]


def ik_nodes(rig):
    """((upper, middle, effector), secondary axis) of each two-bone IK node of the rig's forwards solve."""
    nodes = []
    for node in rig.get_default_model().get_nodes():
        if node.get_node_title() == "Basic IK":
            chain = tuple(str(node.find_pin(pin + ".Name").get_default_value()) for pin in ("ItemA", "ItemB", "EffectorItem"))
            axis = tuple(float(node.find_pin("SecondaryAxis." + part).get_default_value()) for part in "XYZ")
            nodes.append((chain, axis))
    return nodes


def between(pose, upper, effector):
    """The bones from upper down to effector's parent, along the reference skeleton."""
    chain = []
    bone = pose[effector][0]
    while bone is not None:
        chain.append(bone)
        if bone == upper:
            return chain
        bone = pose[bone][0]
    raise AssertionError("%s is not above %s" % (upper, effector))


def test_the_rest_pose_solve_runs_every_node_without_errors(evaluated):
    rig, evaluation, pose, rig_bones = evaluated
    report = evaluation.report()
    assert report["errors"] == []
    assert report["events_run"] == SOLVES
    # What the forward solves did not run is the backwards solve, which runs clean too.
    assert report["nodes_never_run"] and "RigUnit_InverseExecution" in report["nodes_never_run"]
    assert evaluation.run_backwards_solve()
    report = evaluation.report()
    assert report["errors"] == []
    assert report["nodes_never_run"] == []
    assert set(rig_bones) <= set(pose), "rig bones missing from the mesh: %s" % sorted(set(rig_bones) - set(pose))


def test_bones_the_leg_ik_does_not_solve_stay_at_the_reference_pose(evaluated):
    rig, evaluation, pose, rig_bones = evaluated
    solved = {bone for upper, _middle, effector in leg_ik_chains(rig) for bone in between(pose, upper, effector)}
    found = deviations(evaluation, pose, [bone for bone in rig_bones if bone not in solved])
    print(describe_largest(found))
    off = {bone: values for bone, values in found.items() if values[0] > TRANSLATION_TOLERANCE or values[1] > ROTATION_TOLERANCE}
    assert off == {}


def test_every_bone_stays_at_the_reference_pose(evaluated):
    rig, evaluation, pose, rig_bones = evaluated
    found = deviations(evaluation, pose, rig_bones)
    print(describe_largest(found))
    misalignment = ["%s->%s: X axis %.4f deg off the line, secondary axis %.4f deg off the bend"
                    % (bone, target, primary_axis_misalignment(pose, bone, target), secondary_axis_misalignment(pose, bone, target, chain, axis))
                    for chain, axis in ik_nodes(rig) for bone, target in ((chain[0], chain[1]), (chain[1], chain[2]))]
    off = {bone: values for bone, values in found.items() if values[0] > TRANSLATION_TOLERANCE or values[1] > ROTATION_TOLERANCE}
    assert off == {}, "the IK's axes at rest: %s" % "; ".join(misalignment)
