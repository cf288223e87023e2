"""Body rig build: bendy limbs. Maya's rig lets an animator bend a twist segment (upper arm, forearm,
thigh, shin) with "Bend" handles placed along it. Each handle rests in a space null under "BendSystem";
the bendy solver unit reads how far each handle has moved in its space and bends the segment's bones
by it, every evaluation from the pose the limb had before it, so that bends never pile up. The same
unit, in its restore form at the start of the forward solve, puts the segments' bones back to their
bind pose kept on "VNBendBase_" nulls."""

from dataclasses import dataclass, field
import re
from typing import Dict, List, Optional, Tuple

import unreal

from _vantorel_tool.body.controls import (
    body_rig_add_null, body_rig_maya_matrix_transform, body_rig_numbers, body_rig_set_offset, body_rig_set_shape,
    body_rig_set_values, body_rig_transform,
)
from _vantorel_tool.body.planning import BODY_RIG_BENDY_KINDS
from _vantorel_tool.body.setup import body_rig_helpers_group_key
from _vantorel_tool.body.twist import StandardTwistChain, standard_twist_chains_from_joints
from _vantorel_tool.body_json import body_json_text
from _vantorel_tool.graph import (
    body_rig_add_unit_from_struct_path, body_rig_link, body_rig_node_execute_pin, body_rig_node_path, body_rig_set_pin,
)


BODY_RIG_BENDY_UNIT_PATH = "/Script/VantorelUnreal.RigUnit_VNBendySolver"
BODY_RIG_BENDY_RESTORE_NODE = "VNBendRestore"
BODY_RIG_BENDY_SOLVE_NODE = "VNBendSolve"
BODY_RIG_BENDY_NODE_X = 1700
BODY_RIG_BENDY_IGNORED_PREFIXES = ("BendExtra", "BendMidExtra")
BODY_RIG_BEND_SYSTEM_NAME = "BendSystem"
BODY_RIG_MOTION_SYSTEM_NAME = "MotionSystem"
BODY_RIG_BEND_SPACE_PREFIX = "VNBendSpace_"
BODY_RIG_BEND_BASE_PREFIX = "VNBendBase_"
BODY_RIG_BENDY_NONE = "None"
BODY_RIG_BENDY_MIN_CHORD_SQUARED = 1e-8
BODY_RIG_BENDY_NUMBERED = re.compile(r"^([1-9]\d*)$")

BODY_RIG_BEND_MATRIX_TEXT = "Bend control requires exported worldMatrix: "
BODY_RIG_BEND_PIN_FAILED_TEXT = "Failed to configure Bend solver: "
BODY_RIG_BEND_LINK_FAILED_TEXT = "Failed to connect Bend solver"
BODY_RIG_BEND_CONTROL_MISSING_TEXT = "Bend control was not created: "


@dataclass
class BendyPlan:
    """One bendy segment: the bones of a twist chain, the handles that bend it in order along it (an
    empty name where the segment has no start or finish handle), each handle's positional parent (a
    zero handle, or empty) and the master handle (empty unless numbered handles exist). The fractions
    along the segment are worked out once the handles' spaces exist."""
    bones: List[str]
    handles: List[str]
    handle_parents: List[str]
    master: str = ""
    bone_parameters: List[float] = field(default_factory=list)
    handle_parameters: List[float] = field(default_factory=list)
    master_parameter: float = 0.5


# ---- planning ---------------------------------------------------------------------------------------

def body_rig_bendy_available_controls(rig_data) -> Dict[str, dict]:
    """The file's bend handles that can be made, by name: "Bend" and "BendMid" records with curve
    shapes, except the extra handles."""
    available = {}
    for control in rig_data.get("controls") or []:
        if not isinstance(control, dict) or body_json_text(control.get("type")) not in BODY_RIG_BENDY_KINDS:
            continue
        name = body_json_text(control.get("name"))
        if not name or name.startswith(BODY_RIG_BENDY_IGNORED_PREFIXES) or not control.get("curveShapes"):
            continue
        available.setdefault(name, control)
    return available


def body_rig_bendy_split(name) -> Tuple[str, str]:
    """(stem, side) of a joint name split at its last "_"; the side is empty without one."""
    stem, _separator, side = name.rpartition("_")
    return (stem, side) if _separator else (name, "")


def body_rig_bendy_zero_handle(stem, side):
    return "Bend%s0_%s" % (stem, side)


def body_rig_bendy_numbered_handles(available, stem, side) -> List[str]:
    """The numbered handles of a segment ("Bend" + stem + 1.. + "_" + side), by their number."""
    prefix, suffix = "Bend" + stem, "_" + side
    numbered = []
    for name in available:
        if name.startswith(prefix) and name.endswith(suffix):
            match = BODY_RIG_BENDY_NUMBERED.match(name[len(prefix):len(name) - len(suffix)])
            if match:
                numbered.append((int(match.group(1)), name))
    return [name for _number, name in sorted(numbered)]


def body_rig_bendy_end_handle(available, joint):
    """The handle at one end of a segment: "BendMid" + joint, else its zero handle, else empty."""
    stem, side = body_rig_bendy_split(joint)
    for name in ("BendMid" + joint, body_rig_bendy_zero_handle(stem, side)):
        if name in available:
            return name
    return ""


def body_rig_bendy_handle_parent(available, handle):
    """A "BendMid" handle's zero handle, which carries it; empty for every other handle."""
    if not handle.startswith("BendMid"):
        return ""
    stem, side = body_rig_bendy_split(handle[len("BendMid"):])
    parent = body_rig_bendy_zero_handle(stem, side)
    return parent if parent in available else ""


def body_rig_plan_bendy_chain(available, chain: StandardTwistChain) -> Optional[BendyPlan]:
    """The segment of a twist chain, or None when the chain has no master handle."""
    master = "Bend" + chain.root
    if master not in available:
        return None
    stem, side = body_rig_bendy_split(chain.root)
    numbered = body_rig_bendy_numbered_handles(available, stem, side)
    handles = ([body_rig_bendy_end_handle(available, chain.root)] + (numbered or [master])
               + [body_rig_bendy_end_handle(available, chain.endpoint)])
    return BendyPlan(bones=chain.bones(), handles=handles,
                     handle_parents=[body_rig_bendy_handle_parent(available, handle) for handle in handles],
                     master=master if numbered else "")


def body_rig_plan_bendy(rig_data) -> Tuple[List[BendyPlan], List[dict]]:
    """The bendy segments of the file's twist chains and the bend handle records to make as controls,
    in file order: every handle, master, zero handle and positional parent a segment uses."""
    available = body_rig_bendy_available_controls(rig_data)
    if not available:
        return [], []
    plans = []
    used = set()
    for chain in standard_twist_chains_from_joints(rig_data):
        plan = body_rig_plan_bendy_chain(available, chain)
        if plan is None:
            continue
        plans.append(plan)
        stem, side = body_rig_bendy_split(chain.root)
        used.update(name for name in plan.handles + plan.handle_parents if name)
        used.update(name for name in ("Bend" + chain.root, body_rig_bendy_zero_handle(stem, side)) if name in available)
    entries = [record for name, record in available.items() if name in used]
    return plans, entries


# ---- hierarchy --------------------------------------------------------------------------------------

def body_rig_bendy_world_transform(data, import_scale=1.0):
    """A bend handle's place: its Maya world matrix with Y and Z swapped on both sides and the axes
    scaled to the import scale. Raises when the record has no 16-number matrix."""
    matrix = body_rig_numbers(data.get("worldMatrix"), 16) if isinstance(data, dict) else None
    if not matrix or len(data.get("worldMatrix")) != 16:
        raise RuntimeError(BODY_RIG_BEND_MATRIX_TEXT + body_json_text(data.get("name") if isinstance(data, dict) else ""))
    location, rotation, scale = body_rig_maya_matrix_transform(matrix, import_scale)
    return body_rig_transform(location, rotation, scale)


def body_rig_bendy_group(elements, name, parent):
    existing = elements.find(name, "null")
    if existing is not None:
        return existing
    return body_rig_add_null(elements, name, parent, unreal.Transform(), True)


def body_rig_bendy_fraction(point, start, chord, length_squared):
    along = sum((p - a) * c for p, a, c in zip(point, start, chord))
    return min(1.0, max(0.0, along / length_squared))


def body_rig_bendy_position(hierarchy, key):
    translation = hierarchy.get_global_transform(key, True).translation
    return (float(translation.x), float(translation.y), float(translation.z))


def body_rig_bendy_set_parameters(elements, plan: BendyPlan, space_keys):
    """The fractions along the segment's chord (first to last bone at rest) of its bones, its handles'
    spaces and its master's space; an empty handle sits at its place in the handle list."""
    hierarchy = elements.hierarchy
    bone_keys = [elements.find(bone, "bone") for bone in plan.bones]
    positions = [body_rig_bendy_position(hierarchy, key) if key is not None else None for key in bone_keys]
    known = [position for position in positions if position is not None]
    start, end = (known[0], known[-1]) if known else ((0.0, 0.0, 0.0), (0.0, 0.0, 0.0))
    chord = tuple(b - a for a, b in zip(start, end))
    length_squared = max(sum(value * value for value in chord), BODY_RIG_BENDY_MIN_CHORD_SQUARED)

    def fraction(point):
        return body_rig_bendy_fraction(point, start, chord, length_squared) if point is not None else 0.0

    plan.bone_parameters = [fraction(position) for position in positions]
    count = len(plan.handles)
    plan.handle_parameters = []
    for index, handle in enumerate(plan.handles):
        space = space_keys.get(handle) if handle else None
        if space is not None:
            plan.handle_parameters.append(fraction(body_rig_bendy_position(hierarchy, space)))
        else:
            plan.handle_parameters.append(index / (count - 1) if count > 1 else 0.0)
    master_space = space_keys.get(plan.master) if plan.master else None
    plan.master_parameter = fraction(body_rig_bendy_position(hierarchy, master_space)) if master_space is not None else 0.5


def body_rig_make_bendy_spaces(elements, plans: List[BendyPlan], entries: List[dict], import_scale=1.0) -> List[str]:
    """Puts every bend handle in a space null at its Maya place under "BendSystem", with the control
    itself at rest in it; keeps the bind pose of the segments' bones on "VNBendBase_" nulls under
    "Helpers"; works out the fractions along each segment. Returns the bones whose pose is kept, in
    hierarchy order. Any failure fails the build."""
    if not plans:
        return []
    hierarchy = elements.hierarchy
    motion = elements.find(BODY_RIG_MOTION_SYSTEM_NAME)
    bend_system = body_rig_bendy_group(elements, BODY_RIG_BEND_SYSTEM_NAME, motion)
    helpers = body_rig_helpers_group_key(elements)

    space_keys = {}
    for record in entries:
        name = body_json_text(record.get("name"))
        control = elements.find(name, "control")
        if control is None:
            raise RuntimeError(BODY_RIG_BEND_CONTROL_MISSING_TEXT + name)
        world = body_rig_bendy_world_transform(record, import_scale)
        space_name = BODY_RIG_BEND_SPACE_PREFIX + name
        space = elements.find(space_name, "null")
        if space is None:
            space = body_rig_add_null(elements, space_name, bend_system, world, True)
        space_keys[name] = space
        elements.set_parent(control, space, False)
        body_rig_set_offset(hierarchy, control, unreal.Transform())
        body_rig_set_values(hierarchy, control, unreal.EulerTransform())
        body_rig_set_shape(hierarchy, control, unreal.Transform())

    wanted = {bone for plan in plans for bone in plan.bones}
    snapshots = []
    for key in hierarchy.get_bones():
        bone = str(key.name)
        if bone not in wanted or bone in snapshots:
            continue
        base_name = BODY_RIG_BEND_BASE_PREFIX + bone
        if elements.find(base_name, "null") is None:
            body_rig_add_null(elements, base_name, helpers, hierarchy.get_local_transform(key, True), False)
        snapshots.append(bone)

    for plan in plans:
        body_rig_bendy_set_parameters(elements, plan, space_keys)
    return snapshots


# ---- graph ------------------------------------------------------------------------------------------

def body_rig_bendy_name_text(name):
    return '"%s"' % (name or BODY_RIG_BENDY_NONE)


def body_rig_bendy_number_text(value):
    return "%.9f" % float(value)


def body_rig_bendy_space_name(control):
    return BODY_RIG_BEND_SPACE_PREFIX + control if control else ""


def body_rig_bendy_segments_text(plans: List[BendyPlan]):
    """The "Segments" pin text: one parenthesised entry per segment with its bones, fractions,
    handles and master."""
    entries = []
    for plan in plans:
        handles = []
        for index, handle in enumerate(plan.handles):
            parameter = plan.handle_parameters[index] if index < len(plan.handle_parameters) else 0.0
            parent = plan.handle_parents[index] if index < len(plan.handle_parents) else ""
            handles.append("(Control=%s,Space=%s,ParentControl=%s,Parameter=%s)" % (
                body_rig_bendy_name_text(handle), body_rig_bendy_name_text(body_rig_bendy_space_name(handle)),
                body_rig_bendy_name_text(parent), body_rig_bendy_number_text(parameter)))
        entries.append("(Bones=(%s),Parameters=(%s),Handles=(%s),Master=%s,MasterSpace=%s,MasterParameter=%s)" % (
            ",".join('"%s"' % bone for bone in plan.bones),
            ",".join(body_rig_bendy_number_text(value) for value in plan.bone_parameters),
            ",".join(handles), body_rig_bendy_name_text(plan.master),
            body_rig_bendy_name_text(body_rig_bendy_space_name(plan.master)),
            body_rig_bendy_number_text(plan.master_parameter)))
    return "(" + ",".join(entries) + ")"


def body_rig_add_bendy_node(graph, plans: List[BendyPlan], snapshots: List[str], previous_exec, restore, y):
    """The bendy solver on the execution chain after previous_exec: in its restore form it puts the
    kept bind pose back, in its solve form it bends the segments. Returns the new execution pin, or
    previous_exec when there are no segments."""
    if not plans:
        return previous_exec
    name = BODY_RIG_BENDY_RESTORE_NODE if restore else BODY_RIG_BENDY_SOLVE_NODE
    node = body_rig_add_unit_from_struct_path(graph, BODY_RIG_BENDY_UNIT_PATH, name, BODY_RIG_BENDY_NODE_X, y)
    path = body_rig_node_path(graph, node, name)
    pins = (("bRestore", bool(restore)), ("Segments", body_rig_bendy_segments_text(plans)),
            ("SnapshotBones", "(" + ",".join('"%s"' % bone for bone in snapshots) + ")"))
    for pin, value in pins:
        if not body_rig_set_pin(graph, path + "." + pin, value):
            raise RuntimeError(BODY_RIG_BEND_PIN_FAILED_TEXT + pin)
    execute = body_rig_node_execute_pin(node, path)
    if previous_exec and not body_rig_link(graph, previous_exec, execute):
        raise RuntimeError(BODY_RIG_BEND_LINK_FAILED_TEXT)
    return execute
