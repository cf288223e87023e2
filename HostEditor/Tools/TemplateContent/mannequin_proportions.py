"""The mannequin's proportions: a character of about 180 cm whose leg, thigh to knee plus knee to foot,
is the engine mannequin's 85.56 cm (the knee slightly forward), facing +Y with its left side on +X, Z
up, in centimetres. Every bone keeps the world's axes (no rotation at rest), so a bone's local
translation is its position less its parent's.

The stand-in's template content (the shared skeleton, the comparison meshes, the body Control Rig)
and the mannequin sample character are made from this one table, so they fit each other exactly."""

# (bone, parent, global position) of the centre line, parents first.
CENTRE_BONES = (
    ("root", None, (0.0, 0.0, 0.0)),
    ("pelvis", "root", (0.0, 0.0, 96.0)),
    ("spine_01", "pelvis", (0.0, -1.0, 101.0)),
    ("spine_02", "spine_01", (0.0, -1.5, 108.0)),
    ("spine_03", "spine_02", (0.0, -1.5, 116.0)),
    ("spine_04", "spine_03", (0.0, -1.0, 125.0)),
    ("spine_05", "spine_04", (0.0, 0.0, 135.0)),
    ("neck_01", "spine_05", (0.0, 1.0, 147.0)),
    ("neck_02", "neck_01", (0.0, 2.0, 152.0)),
    ("head", "neck_02", (0.0, 3.0, 158.0)),
)

# (bone stem, parent stem, left-side position) of each side's bones; "_l"/"_r" is added, the right
# side mirrors X.
SIDE_BONES = (
    ("clavicle", "spine_05", (3.0, 2.0, 142.0)),
    ("upperarm", "clavicle", (17.0, 0.0, 142.0)),
    ("lowerarm", "upperarm", (45.0, 0.0, 142.0)),
    ("hand", "lowerarm", (71.0, 0.0, 142.0)),
    ("thumb_01", "hand", (74.0, 4.0, 140.0)),
    ("thumb_02", "thumb_01", (77.0, 6.5, 140.0)),
    ("thumb_03", "thumb_02", (79.5, 8.0, 140.0)),
    ("index_01", "hand", (79.0, 3.0, 142.0)),
    ("index_02", "index_01", (83.0, 3.0, 142.0)),
    ("index_03", "index_02", (86.0, 3.0, 142.0)),
    ("middle_01", "hand", (79.5, 1.0, 142.0)),
    ("middle_02", "middle_01", (84.0, 1.0, 142.0)),
    ("middle_03", "middle_02", (87.5, 1.0, 142.0)),
    ("ring_01", "hand", (79.0, -1.0, 142.0)),
    ("ring_02", "ring_01", (83.0, -1.0, 142.0)),
    ("ring_03", "ring_02", (86.0, -1.0, 142.0)),
    ("pinky_01", "hand", (78.0, -3.0, 142.0)),
    ("pinky_02", "pinky_01", (81.0, -3.0, 142.0)),
    ("pinky_03", "pinky_02", (83.5, -3.0, 142.0)),
    ("thigh", "pelvis", (9.0, 0.0, 92.0)),
    ("calf", "thigh", (9.0, 4.076, 49.5)),
    ("foot", "calf", (9.0, -1.5, 7.0)),
    ("ball", "foot", (9.0, 12.0, 1.5)),
)

# The virtual bones that animations use for IK targets: a foot and a hand root under the root, each
# target at its limb's end.
IK_BONES = (
    ("ik_foot_root", "root", (0.0, 0.0, 0.0)),
    ("ik_foot_l", "ik_foot_root", (9.0, -1.5, 7.0)),
    ("ik_foot_r", "ik_foot_root", (-9.0, -1.5, 7.0)),
    ("ik_hand_root", "root", (0.0, 0.0, 0.0)),
    ("ik_hand_gun", "ik_hand_root", (-71.0, 0.0, 142.0)),
    ("ik_hand_l", "ik_hand_gun", (71.0, 0.0, 142.0)),
    ("ik_hand_r", "ik_hand_gun", (-71.0, 0.0, 142.0)),
)

SIDES = (("l", 1.0), ("r", -1.0))
CENTRE_PARENTS = {name for name, _parent, _position in CENTRE_BONES}


def side_name(stem, side):
    return "%s_%s" % (stem, side)


def mannequin_bones():
    """Every bone as (name, parent name or None, global position), parents first: the centre line,
    the left side, the right side, then the IK bones."""
    bones = list(CENTRE_BONES)
    for side, mirror in SIDES:
        for stem, parent, (x, y, z) in SIDE_BONES:
            parent_name = parent if parent in CENTRE_PARENTS else side_name(parent, side)
            bones.append((side_name(stem, side), parent_name, (x * mirror, y, z)))
    bones.extend(IK_BONES)
    return bones


def local_translations(bones):
    """(name, parent, local translation) of bones given as mannequin_bones() gives them."""
    positions = {name: position for name, _parent, position in bones}
    result = []
    for name, parent, position in bones:
        origin = positions[parent] if parent else (0.0, 0.0, 0.0)
        result.append((name, parent, tuple(round(a - b, 6) for a, b in zip(position, origin))))
    return result
