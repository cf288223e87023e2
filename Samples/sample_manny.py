"""The mannequin sample character, SampleManny: a character exported against the engine's mannequin.
Its mesh has the mannequin's bones (in the stand-in template content's proportions, the same table)
plus appendages of its own, a five-joint tail under the pelvis and a weapon joint under the right
hand; its Body rig JSON is the Maya side's, where the standard joints carry the exporter's names
(Root_M, Spine1_M, Shoulder_L, ...) and sit on the mannequin bones they stand for, and the tail and
weapon have FK controls. The tail also has a spline IK system whose last exported joint, TailEnd_M,
is a fit helper the mesh does not carry.

Maya points are the mesh's points with Y and Z swapped (Maya is Y up, facing +Z); every bone keeps the
world's axes except the tail, which aims its joints' X axis down the tail; control records give the
positions and a zero rotation (the FK controls take their frames from the bones)."""

import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
TEMPLATE_TOOLS = os.path.join(os.path.dirname(HERE), "HostEditor", "Tools", "TemplateContent")
if TEMPLATE_TOOLS not in sys.path:
    sys.path.insert(0, TEMPLATE_TOOLS)

from mannequin_proportions import local_translations, mannequin_bones  # noqa: E402

NAME = "SampleManny"
EXPORTER_VERSION = "1.4.2"

# (joint, parent joint, mesh bone it stands on) of the exported standard joints.
STANDARD_JOINTS = [("Root_M", "", "pelvis"), ("Spine1_M", "Root_M", "spine_01"), ("Chest_M", "Spine1_M", "spine_03"),
                   ("Neck_M", "Chest_M", "neck_01"), ("Head_M", "Neck_M", "head")]
for _side, _bone_side in (("L", "l"), ("R", "r")):
    STANDARD_JOINTS += [
        ("Scapula_" + _side, "Chest_M", "clavicle_" + _bone_side),
        ("Shoulder_" + _side, "Scapula_" + _side, "upperarm_" + _bone_side),
        ("Elbow_" + _side, "Shoulder_" + _side, "lowerarm_" + _bone_side),
        ("Wrist_" + _side, "Elbow_" + _side, "hand_" + _bone_side)]
    for _finger, _bone in (("Index", "index"), ("Thumb", "thumb")):
        _parent = "Wrist_" + _side
        for _index in (1, 2, 3):
            _joint = "%sFinger%d_%s" % (_finger, _index, _side)
            STANDARD_JOINTS.append((_joint, _parent, "%s_%02d_%s" % (_bone, _index, _bone_side)))
            _parent = _joint
    STANDARD_JOINTS += [
        ("Hip_" + _side, "Root_M", "thigh_" + _bone_side), ("Knee_" + _side, "Hip_" + _side, "calf_" + _bone_side),
        ("Ankle_" + _side, "Knee_" + _side, "foot_" + _bone_side), ("Toes_" + _side, "Ankle_" + _side, "ball_" + _bone_side)]

# (bone, parent bone, mesh position) of the character's own joints, bones of the mesh and joints of
# the JSON under the same names; the JSON parent of the first tail joint is Root_M, of the weapon Wrist_R.
TAIL_JOINTS = [("Tail0_M", "pelvis", (0.0, -10.0, 94.0)), ("Tail1_M", "Tail0_M", (0.0, -18.0, 94.0)),
               ("Tail2_M", "Tail1_M", (0.0, -26.0, 94.0)), ("Tail3_M", "Tail2_M", (0.0, -34.0, 94.0)),
               ("Tail4_M", "Tail3_M", (0.0, -42.0, 94.0))]
WEAPON_JOINT = ("Weapon_R", "hand_r", (-76.0, 0.0, 137.0))
TAIL_END_JOINT = ("TailEnd_M", "Tail4_M", (0.0, -50.0, 94.0))
# The tail's joints aim their X axis down the tail, straight back (-Y), as a Maya joint chain aims at
# its children and as its spline system's primary axis says: the tail's first joint is turned a
# quarter about Z (yaw -90), the rest follow it unturned. The quaternion (x, y, z, w) of that turn:
TAIL_ROOT_ROTATION = (0.0, 0.0, -0.707107, 0.707107)
IDENTITY_ROTATION = (0.0, 0.0, 0.0, 1.0)
JSON_PARENTS = {"pelvis": "Root_M", "hand_r": "Wrist_R"}
CUSTOM_COLOR = [0.0, 0.8, 1.0]


def mesh_skeleton():
    """The mesh's bones as (name, parent, local translation, local rotation quaternion): the
    mannequin's (unturned), then the tail (each joint 8 cm down its parent's X axis, the first turned
    to aim back) and the weapon joint (unturned)."""
    bones = [(name, parent, translation, IDENTITY_ROTATION) for name, parent, translation in local_translations(mannequin_bones())]
    custom = local_translations(mannequin_bones() + TAIL_JOINTS + [WEAPON_JOINT])[len(bones):]
    for name, parent, translation in custom:
        if name == TAIL_JOINTS[0][0]:
            bones.append((name, parent, translation, TAIL_ROOT_ROTATION))
        elif name.startswith("Tail"):
            # Straight back along the turned parent's X axis: the global step (0, -8, 0) is (8, 0, 0) locally.
            bones.append((name, parent, (round(-translation[1], 6), 0.0, 0.0), IDENTITY_ROTATION))
        else:
            bones.append((name, parent, translation, IDENTITY_ROTATION))
    return bones


def mesh_positions():
    return {name: position for name, _parent, position in mannequin_bones() + TAIL_JOINTS + [WEAPON_JOINT, TAIL_END_JOINT]}


def maya_point(position):
    x, y, z = position
    return [round(x, 6), round(z, 6), round(y, 6)]


def control(name, kind, parent, joint, position, diameter, color, world_space=False, gizmo="Circle_Thick"):
    point = maya_point(position)
    return {"name": name, "type": kind, "parent": parent, "joint": joint, "gizmo": gizmo, "worldSpace": world_space,
            "offset": [0.0, 0.0, 0.0], "diameter": diameter, "color": color, "positionWorld": point,
            "rotationWorld": [0.0, 0.0, 0.0],
            "worldMatrix": [1.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0] + point + [1.0]}


def body_document():
    """The Body rig JSON document."""
    positions = mesh_positions()
    joints = [{"name": joint, "parent": parent} for joint, parent, _bone in STANDARD_JOINTS]
    for name, parent, _position in TAIL_JOINTS + [WEAPON_JOINT, TAIL_END_JOINT]:
        joints.append({"name": name, "parent": JSON_PARENTS.get(parent, parent)})
    main = control("Main", "Main", "", "", (0.0, 0.0, 0.0), 60.0, [1.0, 1.0, 0.0], gizmo="Square_Thick")
    del main["joint"]
    controls = [main]
    for joint, parent, bone in STANDARD_JOINTS:
        controls.append(control("FK" + joint, "FK", "FK" + parent if parent else "Main", joint, positions[bone], 10.0,
                                [1.0, 1.0, 0.0]))
    for name, parent, position in TAIL_JOINTS + [WEAPON_JOINT]:
        controls.append(control("FK" + name, "FK", "FK" + JSON_PARENTS.get(parent, parent), name, position, 8.0, CUSTOM_COLOR))
    controls.append(control("IKTail1_M", "SplineIK", "Main", "Tail0_M", positions["Tail0_M"], 12.0, [1.0, 0.6, 0.0],
                            world_space=True, gizmo="Square_Thick"))
    controls.append(control("IKTail2_M", "SplineIK", "Main", "TailEnd_M", positions["TailEnd_M"], 12.0, [1.0, 0.6, 0.0],
                            world_space=True, gizmo="Square_Thick"))
    switch = control("FKIKTail_M", "FKIK", "Main", "Tail0_M", (0.0, -10.0, 110.0), 4.0, [1.0, 1.0, 0.0],
                     world_space=True, gizmo="Cross")
    switch["controlAttributes"] = [{"name": "FKIKBlend", "value": 0.0}, {"name": "autoVis", "value": True},
                                   {"name": "FKVis", "value": True}, {"name": "IKVis", "value": False}]
    controls.append(switch)
    tail = {"name": "Tail_M", "solver": "ikSplineSolver", "joints": ["Tail0_M", "TailEnd_M"],
            "controls": ["IKTail1_M", "IKTail2_M"], "sourceNumControls": 2, "switchControl": "FKIKTail_M",
            "defaultIK": False, "primaryAxis": [1.0, 0.0, 0.0]}
    return {"exportType": "VantorelBodyRig", "vantorelVersion": EXPORTER_VERSION,
            "rig": {"joints": joints, "controls": controls, "ikSystems": [tail]}}


def mesh_bounds():
    """(origin, extent, radius) around the bones, with room for the skin past them."""
    positions = list(mesh_positions().values())
    low = [min(p[i] for p in positions) - 12.0 for i in range(3)]
    high = [max(p[i] for p in positions) + 12.0 for i in range(3)]
    low[2], high[2] = 0.0, 180.0
    origin = [round((a + b) / 2.0, 6) for a, b in zip(low, high)]
    extent = [round((b - a) / 2.0, 6) for a, b in zip(low, high)]
    return origin, extent, round(sum(e * e for e in extent) ** 0.5, 6)
