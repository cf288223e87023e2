"""Body rig build: the standard twist solution. Maya's rig adds "Part" twist joints between a limb's
main joints (upper arm, forearm, thigh, shin); the solution spreads a limb's twist over them. The upper
chain of a limb hands the twist of its root down its parts, one (n + 1)-th more per part, and takes it
out of the root (which keeps its swing); the lower chain hands the twist of the hand or foot down the
forearm or shin parts. Each chain's endpoint is captured on a snapshot null before the parts turn and
put back afterwards, so the pose the FK or IK solve gave it is not twisted a second time by the
parts' rotations propagating through it."""

from dataclasses import dataclass, field
import re
from typing import Dict, List, Optional, Tuple

from _vantorel_tool.body.common import body_rig_safe_name
from _vantorel_tool.body.controls import body_rig_add_null, body_rig_bone_key
from _vantorel_tool.body.limb_graph import body_rig_get_transform, body_rig_mutable_unit, body_rig_set_transform, body_rig_unit
from _vantorel_tool.body.planning import body_rig_joint_parents
from _vantorel_tool.body.setup import body_rig_helpers_group_key
from _vantorel_tool.body_json import body_json_text, body_json_twist_joints
from _vantorel_tool.graph import body_rig_link, body_rig_set_item, body_rig_set_pin


STANDARD_TWIST_SIDED_NAME = re.compile(r"^(.*)_([LRM])$")
STANDARD_TWIST_PART_INFIX = "Part"
STANDARD_TWIST_ENDPOINT_EXCLUDED = ("Partial", "Slider")
STANDARD_TWIST_LABEL_BASES = {"Shoulder": "Arm", "Elbow": "Arm", "Hip": "Leg", "Knee": "Leg"}
STANDARD_TWIST_SNAPSHOT_PREFIX = "VNTwistPose_"
STANDARD_TWIST_SNAPSHOT_FALLBACK = "VNTwistPose"
STANDARD_TWIST_NODE_PREFIX = "Standard"
STANDARD_TWIST_COMPONENT_CHAINS = 2
STANDARD_TWIST_FIRST_ROW = 260
STANDARD_TWIST_HEIGHT_WITH_LOWER = 920
STANDARD_TWIST_HEIGHT_UPPER_ONLY = 540
STANDARD_TWIST_COMPONENT_GAP = 160
STANDARD_TWIST_LOCAL_SPACE = "LocalSpace"
STANDARD_TWIST_GLOBAL_SPACE = "GlobalSpace"

STANDARD_TWIST_SKIPPED_TEXT = "Standard Twist Solution skipped for "
STANDARD_TWIST_EXPECTED_TEXT = ": expected "
STANDARD_TWIST_FROM_ATTRIBUTE_TEXT = " from Fit-joint twistJoints="
STANDARD_TWIST_NO_ENDPOINT_TEXT = ": could not identify the main joint after "
STANDARD_TWIST_MISSING_BONES_TEXT = ": target skeleton is missing "
STANDARD_TWIST_MISSING_SNAPSHOTS_TEXT = ": the rig has no endpoint snapshot "
STANDARD_TWIST_SNAPSHOT_FAILED_TEXT = "Could not create twist endpoint snapshot "
STANDARD_TWIST_ADDED_TEXT = "Added Standard Twist Solution: "


@dataclass
class StandardTwistChain:
    """A twist chain: the joint whose twist is spread, its "Part" joints in order and the main joint
    after the last part (the next limb joint)."""
    root: str
    parts: List[str] = field(default_factory=list)
    endpoint: str = ""

    def bones(self):
        """The chain's joints from its root to its endpoint."""
        return [self.root] + list(self.parts) + [self.endpoint]


# ---- planning ---------------------------------------------------------------------------------------

def standard_twist_split_side(name):
    """(base, side letter) of a name ending in "_L", "_R" or "_M"; None for any other name."""
    match = STANDARD_TWIST_SIDED_NAME.match(name or "")
    return (match.group(1), match.group(2)) if match else None


def standard_twist_joint_children(rig_data):
    """Joint name -> its child joints' names, in joint-record order."""
    children: Dict[str, List[str]] = {}
    for name, parent in body_rig_joint_parents(rig_data).items():
        if parent:
            children.setdefault(parent, []).append(name)
    return children


def standard_twist_part_names(base, side, count):
    return ["%s%s%d_%s" % (base, STANDARD_TWIST_PART_INFIX, index, side) for index in range(1, count + 1)]


def standard_twist_endpoint(children, last_part):
    """The main joint after last_part: its only child that is neither a partial nor a slider joint;
    empty when there is not exactly one."""
    candidates = [child for child in children.get(last_part, ())
                  if not any(word in child for word in STANDARD_TWIST_ENDPOINT_EXCLUDED)]
    return candidates[0] if len(candidates) == 1 else ""


def standard_twist_chains_from_joints(rig_data) -> List[StandardTwistChain]:
    """The twist chains of the file's joints, in joint-record order: every side-suffixed joint with
    "twistJoints" n >= 1 whose n "Part" joints hang one below the other from it, with the main joint
    after them. A joint whose parts or main joint do not fit is skipped with a message."""
    parents = body_rig_joint_parents(rig_data)
    children = standard_twist_joint_children(rig_data)
    chains = []
    for joint in rig_data.get("joints") or []:
        if not isinstance(joint, dict):
            continue
        root, count = body_json_text(joint.get("name")), body_json_twist_joints(joint)
        sided = standard_twist_split_side(root)
        if count < 1 or sided is None:
            continue
        parts = standard_twist_part_names(sided[0], sided[1], count)
        if any(parents.get(part) != previous for previous, part in zip([root] + parts, parts)):
            print(STANDARD_TWIST_SKIPPED_TEXT + root + STANDARD_TWIST_EXPECTED_TEXT + ", ".join(parts)
                  + STANDARD_TWIST_FROM_ATTRIBUTE_TEXT + str(count))
            continue
        endpoint = standard_twist_endpoint(children, parts[-1])
        if not endpoint:
            print(STANDARD_TWIST_SKIPPED_TEXT + root + STANDARD_TWIST_NO_ENDPOINT_TEXT + parts[-1])
            continue
        chains.append(StandardTwistChain(root=root, parts=parts, endpoint=endpoint))
    return chains


def standard_twist_components(chains: List[StandardTwistChain]) -> List[List[StandardTwistChain]]:
    """The chains joined end to root into limbs: from each chain whose root ends no other chain, the
    run of chains that start where the previous one ends; chains left over (a loop of chains) are a
    limb each."""
    by_root: Dict[str, StandardTwistChain] = {}
    for chain in chains:
        by_root.setdefault(chain.root, chain)
    endpoints = {chain.endpoint for chain in chains}
    visited = set()
    components = []
    for chain in chains:
        if chain.root in endpoints or chain.root in visited:
            continue
        run: List[StandardTwistChain] = []
        current: Optional[StandardTwistChain] = chain
        while current is not None and current.root not in visited:
            run.append(current)
            visited.add(current.root)
            current = by_root.get(current.endpoint)
        components.append(run)
    for chain in chains:
        if chain.root not in visited:
            visited.add(chain.root)
            components.append([chain])
    return components


def standard_twist_component_label(root_name):
    """A limb's label from its first root: "Shoulder_L" -> "Arm_L", "Hip_R" -> "Leg_R", "Tail_M" ->
    "Tail_M"; a root without a side keeps its name."""
    sided = standard_twist_split_side(root_name)
    if sided is None:
        return str(root_name or "")
    base, side = sided
    return STANDARD_TWIST_LABEL_BASES.get(base, base) + "_" + side


def standard_twist_prefix_label(label):
    """The label as it is written in node names: without underscores ("Arm_L" -> "ArmL")."""
    return label.replace("_", "")


def standard_twist_snapshot_name(endpoint_name):
    """The null that keeps a twist chain's endpoint pose while the parts turn."""
    return body_rig_safe_name(STANDARD_TWIST_SNAPSHOT_PREFIX + str(endpoint_name or ""), STANDARD_TWIST_SNAPSHOT_FALLBACK)


# ---- helper spaces ----------------------------------------------------------------------------------

def body_rig_make_standard_twist_snapshot_spaces(elements, rig_data, joint_keys):
    """A snapshot null under "Helpers" for the endpoint of every twist chain that is a rig bone, at the
    bone's initial global transform; returns how many were made."""
    hierarchy = elements.hierarchy
    made = 0
    for chain in standard_twist_chains_from_joints(rig_data):
        bone = body_rig_bone_key(elements, joint_keys, chain.endpoint)
        name = standard_twist_snapshot_name(chain.endpoint)
        if bone is None or elements.find(name, "null") is not None:
            continue
        try:
            body_rig_add_null(elements, name, body_rig_helpers_group_key(elements), hierarchy.get_global_transform(bone, True), True)
            made += 1
        except Exception as error:
            print(STANDARD_TWIST_SNAPSHOT_FAILED_TEXT + name + ":", error)
    return made


# ---- graph ------------------------------------------------------------------------------------------

def standard_twist_capture_endpoint(graph, prefix, endpoint_name, previous_exec, x, y):
    """Copies the endpoint bone's global pose onto its snapshot null; returns the execution pin."""
    reader = body_rig_get_transform(graph, prefix + "_EndpointCaptureGet", "Bone", endpoint_name, x, y)
    store, exec_pin = body_rig_set_transform(graph, prefix + "_EndpointCaptureSet", "Null", standard_twist_snapshot_name(endpoint_name),
                                             previous_exec, x + 320, y, propagate=False)
    body_rig_link(graph, reader + ".Transform", store + ".Value")
    return exec_pin


def standard_twist_restore_endpoint_rotation(graph, prefix, endpoint_name, previous_exec, x, y):
    """Puts the endpoint bone's captured global rotation back, carrying the bones below it; returns
    the execution pin."""
    reader = body_rig_get_transform(graph, prefix + "_EndpointRestoreGet", "Null", standard_twist_snapshot_name(endpoint_name), x, y)
    setter, exec_pin = body_rig_mutable_unit(graph, "RigUnit_SetRotation", prefix + "_EndpointRestoreSet", previous_exec, x + 320, y)
    body_rig_set_item(graph, setter + ".Item", "Bone", endpoint_name)
    body_rig_set_pin(graph, setter + ".Space", STANDARD_TWIST_GLOBAL_SPACE)
    body_rig_set_pin(graph, setter + ".bInitial", False)
    body_rig_set_pin(graph, setter + ".bPropagateToChildren", True)
    body_rig_link(graph, reader + ".Transform.Rotation", setter + ".Value")
    return exec_pin


def body_rig_add_local_initial_rotation(graph, prefix, bone_name, x, y):
    """The bone's local rotation since bind: its current local transform relative to its initial one.
    Returns the rotation pin."""
    current = body_rig_get_transform(graph, prefix + "CurrentLocal", "Bone", bone_name, x, y, space=STANDARD_TWIST_LOCAL_SPACE)
    body_rig_set_pin(graph, current + ".bInitial", False)
    initial = body_rig_get_transform(graph, prefix + "InitialLocal", "Bone", bone_name, x, y + 190,
                                     space=STANDARD_TWIST_LOCAL_SPACE, initial=True)
    relative = body_rig_unit(graph, "RigVMFunction_MathTransformMakeRelative", prefix + "MakeRelative", x + 360, y + 95)
    body_rig_link(graph, current + ".Transform", relative + ".Global")
    body_rig_link(graph, initial + ".Transform", relative + ".Parent")
    return relative + ".Local.Rotation"


def body_rig_add_initial_rotation_multiply(graph, prefix, bone_name, solution_pin, x, y):
    """The bone's initial local rotation followed by the rotation at solution_pin (in the bone's own
    frame): the local rotation that puts solution_pin on top of the bind pose. Returns the result pin."""
    initial = body_rig_get_transform(graph, prefix + "InitialLocal", "Bone", bone_name, x, y,
                                     space=STANDARD_TWIST_LOCAL_SPACE, initial=True)
    multiply = body_rig_unit(graph, "RigVMFunction_MathQuaternionMul", prefix + "MultiplyDefault", x + 320, y)
    body_rig_link(graph, initial + ".Transform.Rotation", multiply + ".A")
    body_rig_link(graph, solution_pin, multiply + ".B")
    return multiply + ".Result"


def standard_twist_set_local_rotation(graph, node_name, bone_name, value_pin, propagate, previous_exec, x, y):
    """Sets the bone's local rotation from value_pin; returns the execution pin."""
    setter, exec_pin = body_rig_mutable_unit(graph, "RigUnit_SetRotation", node_name, previous_exec, x, y)
    body_rig_set_item(graph, setter + ".Item", "Bone", bone_name)
    body_rig_set_pin(graph, setter + ".Space", STANDARD_TWIST_LOCAL_SPACE)
    body_rig_set_pin(graph, setter + ".bInitial", False)
    body_rig_set_pin(graph, setter + ".bPropagateToChildren", bool(propagate))
    body_rig_link(graph, value_pin, setter + ".Value")
    return exec_pin


def standard_twist_add_split(graph, prefix, twist_bone, parts, x, y, slerp_x, slerp_y):
    """The twist of twist_bone since bind about its X axis, split from its swing, and the share of it
    that each part adds; returns (swing pin, per-part twist pin)."""
    delta = body_rig_add_local_initial_rotation(graph, prefix + "Input", twist_bone, x, y)
    split = body_rig_unit(graph, "RigVMFunction_MathQuaternionSwingTwist", prefix + "ToSwingAndTwist", x + 350, y)
    body_rig_set_pin(graph, split + ".TwistAxis.X", 1.0)
    body_rig_link(graph, delta, split + ".Input")
    share = body_rig_unit(graph, "RigVMFunction_MathQuaternionSlerp", prefix + "Interpolate", slerp_x, slerp_y)
    body_rig_link(graph, split + ".Twist", share + ".B")
    body_rig_set_pin(graph, share + ".T", 1.0 / (len(parts) + 1))
    return split + ".Swing", share + ".Result"


def standard_twist_add_parts(graph, prefix, parts, share_pin, previous_exec, set_x, set_y, multiply_x, multiply_y):
    """Turns each part by its bind rotation and one share of the twist more than its parent, carrying
    the bones below; returns the execution pin."""
    exec_pin = previous_exec
    for index, part in enumerate(parts, 1):
        step = 400 * (index - 1)
        value = body_rig_add_initial_rotation_multiply(graph, "%sPart%d" % (prefix, index), part, share_pin,
                                                       multiply_x + step, multiply_y)
        exec_pin = standard_twist_set_local_rotation(graph, "%sPart%dSetRotation" % (prefix, index), part, value, True,
                                                     exec_pin, set_x + step, set_y)
    return exec_pin


def standard_twist_add_upper_chain(graph, prefix, chain, previous_exec, y):
    """The upper chain: the parts take the root's twist over, then the root keeps its swing and loses
    its twist, carrying the parts with their new local rotations; the endpoint goes back to its
    captured rotation.

    Every value here comes from the root's local rotation since bind, which a graph may read again
    for each node that uses it. The parts are therefore set while the root still holds the whole
    rotation, and the root last: had the root lost its twist first, a part reading the root again
    would find no twist left to take."""
    swing, share = standard_twist_add_split(graph, prefix, chain.root, chain.parts, 0, y, 720, y + 210)
    root_value = body_rig_add_initial_rotation_multiply(graph, prefix + "Root", chain.root, swing, 650, y - 110)
    exec_pin = standard_twist_add_parts(graph, prefix, chain.parts, share, previous_exec, 1380, y, 980, y + 210)
    exec_pin = standard_twist_set_local_rotation(graph, prefix + "RootSetRotation", chain.root, root_value, True,
                                                 exec_pin, 1020, y)
    return standard_twist_restore_endpoint_rotation(graph, prefix, chain.endpoint, exec_pin, 1380 + 400 * len(chain.parts), y + 210)


def standard_twist_add_lower_chain(graph, prefix, chain, previous_exec, y):
    """The lower chain: the parts take over the twist of the endpoint (the hand or foot) relative to
    them, and the endpoint goes back to its captured rotation."""
    _swing, share = standard_twist_add_split(graph, prefix, chain.endpoint, chain.parts, 0, y + 390, 720, y + 560)
    exec_pin = standard_twist_add_parts(graph, prefix, chain.parts, share, previous_exec, 1100, y + 480, 780, y + 650)
    return standard_twist_restore_endpoint_rotation(graph, prefix, chain.endpoint, exec_pin, 1100 + 400 * len(chain.parts), y + 650)


def standard_twist_missing_bones(elements, chains):
    """The joints of the chains that the rig has no bone for, each once, in chain order."""
    missing = []
    for chain in chains:
        for bone in chain.bones():
            if bone not in missing and elements.find(bone, "bone") is None:
                missing.append(bone)
    return missing


def standard_twist_missing_snapshots(elements, chains):
    """The endpoint snapshot nulls of the chains that the rig lacks, in chain order."""
    names = [standard_twist_snapshot_name(chain.endpoint) for chain in chains]
    return [name for name in names if elements.find(name, "null") is None]


def standard_twist_add_component(graph, component, previous_exec, y):
    """One limb's twist solution at row y: the endpoint captures, the upper chain, then the lower
    chain when there is one. Returns the execution pin."""
    upper = component[0]
    lower = component[1] if len(component) > 1 else None
    prefix_label = standard_twist_prefix_label(standard_twist_component_label(upper.root))
    endpoints = [upper.endpoint]
    if lower is not None and lower.endpoint not in endpoints:
        endpoints.append(lower.endpoint)
    exec_pin = previous_exec
    for index, endpoint in enumerate(endpoints):
        exec_pin = standard_twist_capture_endpoint(graph, STANDARD_TWIST_NODE_PREFIX + prefix_label + "Capture" + endpoint, endpoint,
                                                   exec_pin, 0, y - 170 - 110 * index)
    exec_pin = standard_twist_add_upper_chain(graph, STANDARD_TWIST_NODE_PREFIX + prefix_label + "DownTwist", upper, exec_pin, y)
    if lower is not None:
        exec_pin = standard_twist_add_lower_chain(graph, STANDARD_TWIST_NODE_PREFIX + prefix_label + "LowerTwist", lower, exec_pin, y)
    return exec_pin


def add_standard_twist_solution(graph, elements, rig_data, previous_exec, y) -> Tuple[str, bool, float]:
    """The twist solution of every limb with twist chains (its first two chains), one below the other
    from y + 260. A limb whose bones or endpoint snapshots the rig lacks is skipped with a message.
    Returns (execution pin, whether any limb was added, the height used)."""
    exec_pin, added = previous_exec, False
    row = y + STANDARD_TWIST_FIRST_ROW
    for component in standard_twist_components(standard_twist_chains_from_joints(rig_data)):
        chains = component[:STANDARD_TWIST_COMPONENT_CHAINS]
        label = standard_twist_component_label(chains[0].root)
        missing = standard_twist_missing_bones(elements, chains)
        if missing:
            print(STANDARD_TWIST_SKIPPED_TEXT + label + STANDARD_TWIST_MISSING_BONES_TEXT + ", ".join(missing))
            continue
        # Without its snapshot an endpoint would be restored to the rotation an empty read gives (none
        # at all), not to the pose it had.
        missing = standard_twist_missing_snapshots(elements, chains)
        if missing:
            print(STANDARD_TWIST_SKIPPED_TEXT + label + STANDARD_TWIST_MISSING_SNAPSHOTS_TEXT + ", ".join(missing))
            continue
        exec_pin = standard_twist_add_component(graph, chains, exec_pin, row)
        added = True
        print(STANDARD_TWIST_ADDED_TEXT + label)
        height = STANDARD_TWIST_HEIGHT_WITH_LOWER if len(chains) > 1 else STANDARD_TWIST_HEIGHT_UPPER_ONLY
        row += height + STANDARD_TWIST_COMPONENT_GAP
    return exec_pin, added, row - y
