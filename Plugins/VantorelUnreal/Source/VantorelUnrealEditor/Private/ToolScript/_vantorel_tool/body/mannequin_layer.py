"""The Mannequin template's custom layer: the joints of the Body rig JSON that the duplicated template
does not drive (a tail, a weapon joint, extra spline chains) get controls planned and made by the normal
body builder, hung from spaces that follow the template's bones, and driven by a "Custom Controllers"
section appended to the template's forward solve."""

import copy
from dataclasses import dataclass, field
import math
import re
from typing import Dict, List, Tuple

import unreal

from _vantorel_tool.body.bones import body_rig_is_bone_key
from _vantorel_tool.body.common import BODY_RIG_MAIN_NAME, body_rig_controls_by_name, body_rig_safe_name
from _vantorel_tool.body.controls import body_rig_make_control
from _vantorel_tool.body.fkik import body_rig_make_fkik_channels
from _vantorel_tool.body.planning import (
    BODY_RIG_FK_JOINT_KINDS, PlannedControl, body_rig_prepare_fkik_controls,
)
from _vantorel_tool.body.setup import BODY_RIG_HELPERS_NAME, body_rig_joint_keys
from _vantorel_tool.body.spline_ik import (
    body_rig_add_spline_end_fk_pin, body_rig_add_spline_ik, body_rig_capture_spline_fk_pose,
    body_rig_expand_spline_joint_chain, body_rig_make_spline_end_follow_spaces, body_rig_make_spline_fk_snapshot_spaces,
    body_rig_make_spline_parent_spaces, body_rig_prepare_spline_ik,
)
from _vantorel_tool.body_json import body_json_text
from _vantorel_tool.graph import (
    RigGraph, body_rig_add_unit, body_rig_begin_section_group, body_rig_end_section_group,
    body_rig_graph_bounds, body_rig_link, body_rig_node_path, body_rig_set_item, body_rig_set_pin,
)
from _vantorel_tool.graph_queries import (
    face_graph_controller, find_forward_solve_node, find_sequence_node, find_sequence_output_pin, graph_node_path,
    graph_node_title, graph_nodes,
)
from _vantorel_tool.rig_elements import RigElements, is_empty_key


# ---- fixed texts and names ---------------------------------------------------------------------------

SET_TRANSFORM_WORD = "settransform"
BONE_TYPE_WORD = "bone"
ITEM_TYPE_PIN = "Item.Type"
ITEM_NAME_PIN = "Item.Name"
ITEM_PIN = "Item"
ITEM_NAME_ENTRY = re.compile(r"Name=\"?([^\",)]*)")

CUSTOM_ROOT_NAME = "CustomControllers"
PARENT_SPACE_PREFIX = "VNMannequinParent_"
PARENT_SPACE_FALLBACK = "VNMannequinParent"
PARENT_FOLLOW_PREFIX = "CustomParentFollow_"
PARENT_FOLLOW_FALLBACK = "CustomParentFollow"
CUSTOM_GROUP_TITLE = "Custom Controllers"
DEFORMATION_SYSTEM_JOINT = "DeformationSystem"
DEFORMATION_SYSTEM_BONE = "root"
ROOT_BONE_NAMES = ("root", "Root", "pelvis", "Pelvis")
DEFAULT_PARENT_CONTROLS = (BODY_RIG_MAIN_NAME, "Root", "root", "pelvis")
SPLINE_SOLVER = "ikSplineSolver"
SHAPE_SCALED_KINDS = ("Main", "FKIK", "IKPole", "SplineIK")
SPLINE_SHAPE_ROTATION = [90.0, 0.0, 0.0]
SIDE_SUFFIXES = {"_L": "_l", "_R": "_r"}
CENTRE_SUFFIX = "_M"

SCALE_MIN_DISTANCE = 0.0001
SCALE_MIN, SCALE_MAX = 0.1, 100.0
EMPTY_GRAPH_ORIGIN = (1560.0, 220.0)
GRAPH_ORIGIN_OFFSET = (120.0, 260.0)

OWNED_JOINTS_TEXT = "Mannequin template owned joints:"
OWNED_JOINTS_FALLBACK_TEXT = "Mannequin template owned joints (standard joints; no template bone matched):"
SYSTEM_TOO_SHORT_TEXT = "Skipping custom system with fewer than two SkeletalMesh bones:"
SYSTEM_OMITS_TEXT = "Mannequin custom system omits non-deform endpoint helpers:"
NONE_FOUND_TEXT = "Mannequin custom controllers: none found."
CUSTOM_ROOT_FAILED_TEXT = "Could not create CustomControllers hierarchy root:"
PARENT_MAPS_MISSING_TEXT = "Mannequin custom parent maps missing"
PARENT_UNAVAILABLE_TEXT = "Mannequin custom parent unavailable:"
PARENT_TEXT = "Mannequin custom parent:"
SCALE_TEXT = "Mannequin custom JSON transform scale:"
FKIK_CHANNELS_TEXT = "Mannequin custom FKIK channels:"
NO_SEQUENCE_TEXT = "Could not find the Mannequin Forward Solve Sequence node."
NO_FREE_OUTPUT_TEXT = "Could not find a free Mannequin Forward Solve Sequence output."
PLACEMENT_TEXT = "Custom Controllers graph placement:"
EXECUTION_REFUSED_TEXT = "Could not connect custom controller execution for "
SUMMARY_TEXT = "Mannequin custom layer: controls=%d parent_spaces=%d fk_nodes=%d spline_chains=%d"
ADDED_TEXT = "Mannequin custom controllers added:"

# Exported joint stems and the Mannequin bones they stand for.
TEMPLATE_JOINT_TABLE = {
    "Root": "pelvis", "Spine1": "spine_01", "Chest": "spine_03", "Scapula": "clavicle", "Shoulder": "upperarm",
    "Elbow": "lowerarm", "Wrist": "hand", "Neck": "neck_01", "Head": "head",
}
for _finger, _bone in (("Index", "index"), ("Middle", "middle"), ("Ring", "ring"), ("Pinky", "pinky"), ("Thumb", "thumb")):
    for _index in (1, 2, 3):
        TEMPLATE_JOINT_TABLE["%sFinger%d" % (_finger, _index)] = "%s_%02d" % (_bone, _index)

STANDARD_JOINT_PATTERN = re.compile(
    r"^(root|hip|knee|ankle|toes|rootpart\d+|spine\d+(?:part\d+)?|"
    r"chest|scapula|shoulder(?:part\d+)?|elbow(?:part\d+)?|wrist|cup|"
    r"(?:ring|pinky|index|thumb|middle)finger\d+|neck(?:part\d+)?|head)_[mlr]$")


@dataclass
class CustomLayer:
    """What one custom layer carries from step to step."""
    control_rig: object
    elements: RigElements
    bone_names: Dict[str, object]                 # bone name -> key, in hierarchy order
    rig_data: dict                                # the full Body rig JSON view
    filtered: dict = field(default_factory=dict)  # the view with only template-unowned systems
    planned: List[PlannedControl] = field(default_factory=list)
    chains: list = field(default_factory=list)    # two-bone chains, then spline chains
    spline_chains: list = field(default_factory=list)
    joint_keys: Dict[str, object] = field(default_factory=dict)
    parent_spaces: List[Tuple[str, str]] = field(default_factory=list)   # (space null, bone), first seen first
    scale: float = 1.0


# ---- the template's own bones -----------------------------------------------------------------------

def body_rig_pin_default_value(controller, node, pin_name):
    """The default text of a node's pin: read from the pin, else through the controller by the pin's
    path, else by the node's path + "." + pin_name; the empty text when every read fails."""
    pin = None
    try:
        pin = node.find_pin(pin_name)
        if pin is not None:
            return str(pin.get_default_value())
    except Exception:
        pass
    paths = []
    if pin is not None:
        try:
            paths.append(str(pin.get_pin_path()))
        except Exception:
            pass
    paths.append(graph_node_path(node) + "." + pin_name)
    for path in paths:
        try:
            return str(controller.get_pin_default_value(path))
        except Exception:
            continue
    return ""


def body_rig_rigvm_item_name(text):
    """The element name of a key text: its first "Name=" entry (an optional opening quote, then up to a
    quote, comma or closing parenthesis), else the whole text unquoted when it holds no "="."""
    text = str(text or "")
    match = ITEM_NAME_ENTRY.search(text)
    if match:
        return match.group(1)
    if "=" in text:
        return ""
    return text.strip().strip("\"'")


def body_rig_rigvm_item_is_bone(type_text):
    """Whether a key's type text names a bone: empty (the pin's default type) or containing "bone"."""
    text = str(type_text or "").strip().lower()
    return not text or BONE_TYPE_WORD in text


def body_rig_node_struct_name(node):
    try:
        return str(node.get_script_struct().get_name())
    except Exception:
        return ""


def body_rig_template_owned_bones(controller):
    """The bones the template's graph sets: of every node titled (spaces removed, lower case) or typed
    as a set transform, whose item is a bone, the item's name; in graph order, once each."""
    owned = []
    for node in graph_nodes(controller):
        title = graph_node_title(node).replace(" ", "").lower()
        if SET_TRANSFORM_WORD not in title and SET_TRANSFORM_WORD not in body_rig_node_struct_name(node).lower():
            continue
        if not body_rig_rigvm_item_is_bone(body_rig_pin_default_value(controller, node, ITEM_TYPE_PIN)):
            continue
        name = body_rig_rigvm_item_name(body_rig_pin_default_value(controller, node, ITEM_NAME_PIN))
        if not name:
            name = body_rig_rigvm_item_name(body_rig_pin_default_value(controller, node, ITEM_PIN))
        if name and name not in owned:
            owned.append(name)
    return owned


# ---- which joints the template owns -------------------------------------------------------------------

def body_rig_mannequin_template_bone_candidates(joint):
    """The Mannequin bones an exported joint name stands for: "DeformationSystem" the root; a side
    joint (ending "_L" or "_R") its stem's bone with "_l" or "_r"; a centre joint (ending "_M") its
    stem's bone; any other name its own entry. Empty when the table has none."""
    name = str(joint or "")
    if name == DEFORMATION_SYSTEM_JOINT:
        return [DEFORMATION_SYSTEM_BONE]
    suffix = name[-2:]
    if suffix in SIDE_SUFFIXES and name[:-2] in TEMPLATE_JOINT_TABLE:
        return [TEMPLATE_JOINT_TABLE[name[:-2]] + SIDE_SUFFIXES[suffix]]
    # The exporter names centre joints with "_M" (Root_M, Spine1_M); the table holds their stems.
    if suffix == CENTRE_SUFFIX and name[:-2] in TEMPLATE_JOINT_TABLE:
        return [TEMPLATE_JOINT_TABLE[name[:-2]]]
    if name in TEMPLATE_JOINT_TABLE:
        return [TEMPLATE_JOINT_TABLE[name]]
    return []


def body_rig_is_standard_joint(joint):
    return bool(STANDARD_JOINT_PATTERN.match(str(joint or "").lower()))


def body_rig_control_joints(rig_data):
    joints = []
    for control in rig_data.get("controls") or []:
        joint = body_json_text(control.get("joint")) if isinstance(control, dict) else ""
        if joint and joint not in joints:
            joints.append(joint)
    return joints


def body_rig_mannequin_owned_joint_names(rig_data, bone_names, owned_bones):
    """The JSON control joints the template drives: those that are bones named like an owned bone, and
    those whose matcher candidates include an owned bone (letter case ignored). When none is, the
    standard joints among the control joints. Prints which rule decided."""
    owned = {name.lower() for name in owned_bones}
    bones = set(bone_names)
    joints = body_rig_control_joints(rig_data)
    result = [joint for joint in joints
              if (joint in bones and joint.lower() in owned)
              or any(candidate.lower() in owned for candidate in body_rig_mannequin_template_bone_candidates(joint))]
    if result:
        print(OWNED_JOINTS_TEXT, len(result), result)
        return result
    result = [joint for joint in joints if body_rig_is_standard_joint(joint)]
    print(OWNED_JOINTS_FALLBACK_TEXT, len(result), result)
    return result


def body_rig_mannequin_filtered_rig_data(rig_data, owned_joints, bone_names):
    """A Body rig view with only what the template does not drive: the spline systems that solve no
    owned joint, reduced to their mesh bones, and the control records on unowned mesh bones or named
    by a kept system."""
    owned, bones = set(owned_joints), set(bone_names)
    filtered = dict(rig_data)
    systems, required = [], set()
    for system in rig_data.get("ikSystems") or []:
        if not isinstance(system, dict):
            continue
        expanded = body_rig_expand_spline_joint_chain(rig_data, system.get("joints"))
        if any(joint in owned for joint in expanded):
            continue
        kept = [joint for joint in expanded if joint in bones]
        name = body_json_text(system.get("name"))
        if len(kept) < 2:
            print(SYSTEM_TOO_SHORT_TEXT, name)
            continue
        left_out = [joint for joint in expanded if joint not in bones]
        if left_out:
            print(SYSTEM_OMITS_TEXT, name, left_out)
        system = dict(system)
        system["joints"] = kept
        systems.append(system)
        required.update(body_json_text(handle) for handle in system.get("controls") or [])
        if body_json_text(system.get("switchControl")):
            required.add(body_json_text(system.get("switchControl")))
    filtered["ikSystems"] = systems
    filtered["controls"] = [
        control for control in rig_data.get("controls") or [] if isinstance(control, dict) and (
            body_json_text(control.get("name")) in required
            or (body_json_text(control.get("joint")) and body_json_text(control.get("joint")) not in owned
                and body_json_text(control.get("joint")) in bones))]
    filtered["joints"] = [joint for joint in rig_data.get("joints") or []
                          if isinstance(joint, dict) and body_json_text(joint.get("name")) not in owned]
    return filtered


# ---- parents ------------------------------------------------------------------------------------------

def body_rig_mannequin_find_template_bone(layer, joint):
    """The bone a JSON joint stands on in the rig: the joint itself when it is a bone, else its first
    matcher candidate that is one; None when neither is."""
    if joint in layer.bone_names:
        return joint
    for candidate in body_rig_mannequin_template_bone_candidates(joint):
        if candidate in layer.bone_names:
            return candidate
    return None


def body_rig_mannequin_root_bone_key(layer):
    """The template's root bone: the first of "root", "Root", "pelvis", "Pelvis" that is a bone, else
    the first bone without a parent, else the first bone; None without bones."""
    for name in ROOT_BONE_NAMES:
        if name in layer.bone_names:
            return layer.bone_names[name]
    hierarchy = layer.elements.hierarchy
    for key in layer.bone_names.values():
        try:
            if not list(hierarchy.get_parents(key, False)):
                return key
        except Exception:
            continue
    return next(iter(layer.bone_names.values()), None)


def body_rig_mannequin_default_parent(layer):
    """The first control of "Main", "Root", "root", "pelvis" that exists; None (the top level) else."""
    for name in DEFAULT_PARENT_CONTROLS:
        key = layer.elements.find(name, "control")
        if key is not None:
            return key
    return None


def body_rig_mannequin_custom_root(layer):
    """The "CustomControllers" null at the top level, made when missing; None when it cannot be made."""
    existing = layer.elements.find(CUSTOM_ROOT_NAME, "null")
    if existing is not None:
        return existing
    try:
        key = layer.elements.add_null(CUSTOM_ROOT_NAME, unreal.RigElementKey(), unreal.Transform(), False)
        if is_empty_key(key):
            raise RuntimeError("the hierarchy made no null")
        return key
    except Exception as error:
        print(CUSTOM_ROOT_FAILED_TEXT, error)
        return None


def body_rig_set_default_parent(layer, control):
    parent = body_rig_mannequin_default_parent(layer)
    control.record["parent"] = str(parent.name) if parent is not None else ""
    print(PARENT_UNAVAILABLE_TEXT, control.name, control.record["parent"] or "(top level)")


def body_rig_mannequin_make_parent_spaces(layer, custom_root):
    """Hangs every planned control whose parent is neither planned nor a template control from a space
    that follows the bone its JSON parent stands on; records the (space, bone) pairs."""
    hierarchy = layer.elements.hierarchy
    planned_names = {control.name for control in layer.planned}
    file_by_name = body_rig_controls_by_name([c for c in layer.rig_data.get("controls") or [] if isinstance(c, dict)])
    for control in layer.planned:
        parent = control.parent
        if parent in planned_names or (parent and layer.elements.find(parent, "control") is not None):
            continue
        parent_joint = body_json_text((file_by_name.get(parent) or {}).get("joint"))
        bone = body_rig_mannequin_find_template_bone(layer, parent_joint) if parent_joint else None
        bone_key = layer.bone_names.get(bone) if bone else None
        if bone_key is None:
            bone_key = body_rig_mannequin_root_bone_key(layer)
            if bone_key is not None:
                print(PARENT_MAPS_MISSING_TEXT, control.name, parent, "->", bone_key.name)
        if bone_key is None:
            body_rig_set_default_parent(layer, control)
            continue
        space = body_rig_safe_name(PARENT_SPACE_PREFIX + parent, PARENT_SPACE_FALLBACK) if parent else PARENT_SPACE_FALLBACK
        try:
            if layer.elements.find(space, "null") is None:
                key = layer.elements.add_null(space, custom_root if custom_root is not None else unreal.RigElementKey(),
                                              hierarchy.get_global_transform(bone_key, True), True)
                if is_empty_key(key):
                    raise RuntimeError("the hierarchy made no null")
        except Exception as error:
            print(PARENT_UNAVAILABLE_TEXT, control.name, error)
            body_rig_set_default_parent(layer, control)
            continue
        control.record["parent"] = space
        pair = (space, str(bone_key.name))
        if pair not in layer.parent_spaces:
            layer.parent_spaces.append(pair)
        print(PARENT_TEXT, control.name, "->", space, "on", pair[1])


# ---- scale and control data ---------------------------------------------------------------------------

def body_rig_maya_point(values):
    try:
        x, y, z = (float(value) for value in values[:3])
    except (TypeError, ValueError):
        return None
    return (x, z, y)


def body_rig_mannequin_scale_from_samples(samples):
    """The sample at index count / 2 of the sorted samples when it lies between 0.1 and 100; 1 when it
    does not or there are no samples."""
    if not samples:
        return 1.0
    scale = sorted(samples)[len(samples) // 2]
    return float(scale) if SCALE_MIN <= scale <= SCALE_MAX else 1.0


def body_rig_mannequin_custom_transform_scale(layer):
    """How much larger the template's bones are than the JSON's positions: over every ordered pair of
    planned controls on bones with a "positionWorld", the bones' initial distance over the positions'
    (Maya points as (x, z, y)), both above 0.0001; see body_rig_mannequin_scale_from_samples."""
    hierarchy = layer.elements.hierarchy
    placed = []
    for control in layer.planned:
        key = layer.joint_keys.get(control.joint)
        point = body_rig_maya_point(control.record.get("positionWorld") or [])
        if key is not None and point is not None:
            location = hierarchy.get_global_transform(key, True).translation
            placed.append(((location.x, location.y, location.z), point))
    samples = []
    for first, (bone_a, point_a) in enumerate(placed):
        for second, (bone_b, point_b) in enumerate(placed):
            if first == second:
                continue
            bone_distance, json_distance = math.dist(bone_a, bone_b), math.dist(point_a, point_b)
            if bone_distance > SCALE_MIN_DISTANCE and json_distance > SCALE_MIN_DISTANCE:
                samples.append(bone_distance / json_distance)
    return body_rig_mannequin_scale_from_samples(samples)


def body_rig_scaled_numbers(values, scale, indices=None):
    if not isinstance(values, (list, tuple)):
        return values
    result = list(values)
    for index in (range(len(result)) if indices is None else indices):
        if index < len(result):
            try:
                result[index] = float(result[index]) * scale
            except (TypeError, ValueError):
                continue
    return result


def body_rig_mannequin_scaled_control_data(control, scale):
    """A copy of a planned control with its JSON positions at the template's scale: "positionWorld",
    "polePositionWorld" and the translation of "worldMatrix" scaled, the shape sized by the scale
    (as its shape import scale for "Main", "FKIK", "IKPole" and "SplineIK", which also turns the flat
    spline shape across its chain, by its "diameter" for the others)."""
    record = copy.deepcopy(control.record)
    for key in ("positionWorld", "polePositionWorld"):
        if key in record:
            record[key] = body_rig_scaled_numbers(record[key], scale)
    if isinstance(record.get("worldMatrix"), (list, tuple)):
        record["worldMatrix"] = body_rig_scaled_numbers(record["worldMatrix"], scale, (12, 13, 14))
    scaled = copy.copy(control)
    scaled.record = record
    if control.pole_position_world is not None:
        scaled.pole_position_world = body_rig_scaled_numbers(control.pole_position_world, scale)
    if control.kind in SHAPE_SCALED_KINDS:
        scaled.shape_import_scale = scale
        if control.kind == "SplineIK":
            scaled.internal_shape_rotation = list(SPLINE_SHAPE_ROTATION)
    else:
        try:
            record["diameter"] = float(record.get("diameter", 1.0)) * scale
        except (TypeError, ValueError):
            pass
    return scaled


def body_rig_mannequin_prepare_controls(layer):
    """Plans the custom controls on the filtered view: the two-bone chains and their FK controls, then
    the spline chains. Returns the planned controls."""
    planned, chains = body_rig_prepare_fkik_controls(layer.filtered)
    layer.joint_keys = body_rig_joint_keys(layer.elements.hierarchy, layer.filtered)
    spline_chains = body_rig_prepare_spline_ik(layer.filtered, planned, set(layer.joint_keys))
    layer.planned = planned
    layer.chains = list(chains) + list(spline_chains)
    layer.spline_chains = list(spline_chains)
    return planned


# ---- graph --------------------------------------------------------------------------------------------

def body_rig_custom_controllers_position(graph):
    """Where the layer's nodes start: below the template's graph, at (left + 120, bottom + 260) of the
    bounds of its nodes, or (1560, 220) on an empty graph."""
    bounds = body_rig_graph_bounds(graph)
    if bounds is None:
        return EMPTY_GRAPH_ORIGIN
    left, _top, _right, bottom = bounds
    return left + GRAPH_ORIGIN_OFFSET[0], bottom + GRAPH_ORIGIN_OFFSET[1]


def body_rig_add_copy_transform(graph, source, target, names, exec_pin, x, y, x_step):
    """A Get Transform of source and a Set Transform of target (each a (type, name) pair; both global,
    the set propagating to children) named names (get, set), at (x, y) and x_step to its right, chained
    after exec_pin. Returns the set node's execution pin, or None when the chain refused it."""
    get_name, set_name = names
    get = body_rig_add_unit(graph, "RigUnit_GetTransform", get_name, x, y)
    set_ = body_rig_add_unit(graph, "RigUnit_SetTransform", set_name, x + x_step, y)
    get_path = body_rig_node_path(graph, get, get_name)
    set_path = body_rig_node_path(graph, set_, set_name)
    body_rig_set_item(graph, get_path + ".Item", *source)
    body_rig_set_pin(graph, get_path + ".Space", "GlobalSpace")
    body_rig_set_item(graph, set_path + ".Item", *target)
    body_rig_set_pin(graph, set_path + ".Space", "GlobalSpace")
    body_rig_set_pin(graph, set_path + ".bPropagateToChildren", True)
    body_rig_link(graph, get_path + ".Transform", set_path + ".Value")
    execute = set_path + ".ExecuteContext"
    if exec_pin and not body_rig_link(graph, exec_pin, execute):
        return None
    return execute


def body_rig_add_mannequin_parent_follow_graph(graph, parent_spaces, exec_pin, x, y):
    """Per parent space, a copy of its bone's global transform onto the space; returns the new
    execution pin."""
    for index, (space, bone) in enumerate(parent_spaces):
        base = body_rig_safe_name(PARENT_FOLLOW_PREFIX + space, PARENT_FOLLOW_FALLBACK)
        result = body_rig_add_copy_transform(graph, ("Bone", bone), ("Null", space), (base + "_Get", base + "_Set"),
                                             exec_pin, x, y + 150 * index, 320)
        exec_pin = result or exec_pin
    return exec_pin


def body_rig_add_custom_fk_control_graph(graph, controls, exec_pin, x, y):
    """Per FK control, a copy of the control's global transform onto its joint; a refused execution
    link stops the build. Returns the new execution pin."""
    for index, control in enumerate(controls):
        result = body_rig_add_copy_transform(graph, ("Control", control.name), ("Bone", control.joint),
                                             (control.name + "_CustomGet", control.name + "_CustomSet"),
                                             exec_pin, x, y + 220 * index, 360)
        if result is None:
            raise RuntimeError(EXECUTION_REFUSED_TEXT + control.name)
        exec_pin = result
    return exec_pin


# ---- the layer ----------------------------------------------------------------------------------------

def body_rig_move_helpers_under(layer, custom_root):
    helpers = layer.elements.find(BODY_RIG_HELPERS_NAME, "null")
    if helpers is not None and custom_root is not None:
        layer.elements.set_parent(helpers, custom_root, True)


def body_rig_make_custom_hierarchy(layer, custom_root):
    """Parent spaces, scale, the controls themselves, their FKIK channels and the spline chains'
    helper spaces."""
    elements = layer.elements
    body_rig_mannequin_make_parent_spaces(layer, custom_root)
    layer.scale = body_rig_mannequin_custom_transform_scale(layer)
    print(SCALE_TEXT, layer.scale)
    for control in layer.planned:
        body_rig_make_control(elements, body_rig_mannequin_scaled_control_data(control, layer.scale), layer.joint_keys,
                              1.0, layer.control_rig)
    records = body_rig_controls_by_name([control.record for control in layer.planned])
    for chain in layer.chains:
        print(FKIK_CHANNELS_TEXT, chain.id, body_rig_make_fkik_channels(elements, chain, records) or 0)
    # The end follow space is what the chain's end pin in the graph keeps on the end bone; without it
    # that pin would constrain a null the rig does not have.
    body_rig_make_spline_end_follow_spaces(elements, layer.spline_chains, layer.joint_keys, layer.planned)
    for chain in layer.spline_chains:
        body_rig_make_spline_parent_spaces(elements, chain, layer.joint_keys)
    body_rig_make_spline_fk_snapshot_spaces(elements, layer.spline_chains, layer.joint_keys)
    body_rig_move_helpers_under(layer, custom_root)


def body_rig_hook_exec_pin(controller):
    forward = find_forward_solve_node(controller)
    sequence = find_sequence_node(controller, forward)
    if sequence is None:
        raise RuntimeError(NO_SEQUENCE_TEXT)
    pin = find_sequence_output_pin(sequence)
    if not pin:
        raise RuntimeError(NO_FREE_OUTPUT_TEXT)
    return pin


def body_rig_add_custom_graph(layer, controller):
    """The layer's nodes, chained from the template sequence's free output, in their own section
    group. Returns the number of FK copies added."""
    exec_pin = body_rig_hook_exec_pin(controller)
    graph = RigGraph(controller)
    x, y = body_rig_custom_controllers_position(graph)
    print(PLACEMENT_TEXT, x, y)
    body_rig_begin_section_group(graph, CUSTOM_GROUP_TITLE)
    spaces = len(layer.parent_spaces)
    exec_pin = body_rig_add_mannequin_parent_follow_graph(graph, layer.parent_spaces, exec_pin, x, y)
    fk_controls = [c for c in layer.planned if c.kind in BODY_RIG_FK_JOINT_KINDS and c.joint in layer.joint_keys]
    exec_pin = body_rig_add_custom_fk_control_graph(graph, fk_controls, exec_pin, x, y + 180 * spaces)
    row = y + 180 * spaces + max(260, 220 * len(fk_controls) + 80)
    for chain in layer.spline_chains:
        exec_pin = body_rig_capture_spline_fk_pose(graph, [chain], exec_pin, x, row) or exec_pin
        row += max(360, 150 * (len(chain.bones) + 1))
        exec_pin = body_rig_add_spline_ik(graph, chain, exec_pin, x, row) or exec_pin
        exec_pin = body_rig_add_spline_end_fk_pin(graph, chain, exec_pin, x, row + 900) or exec_pin
        row += max(1120, 150 * len(chain.bones) + 360)
    body_rig_end_section_group(graph, CUSTOM_GROUP_TITLE)
    return len(fk_controls)


def body_rig_add_mannequin_custom_controllers(control_rig, rig_data):
    """Adds controls for the joints of rig_data that the duplicated template does not drive, and the
    graph that drives them after the template's own; returns how many custom controls were made."""
    elements = RigElements(control_rig.hierarchy, control_rig.get_hierarchy_controller())
    controller = face_graph_controller(control_rig)
    bone_names = {}
    for key in elements.hierarchy.get_all_keys(True):
        if body_rig_is_bone_key(key):
            bone_names.setdefault(str(key.name), key)
    layer = CustomLayer(control_rig=control_rig, elements=elements, bone_names=bone_names, rig_data=rig_data)
    owned_joints = body_rig_mannequin_owned_joint_names(rig_data, bone_names, body_rig_template_owned_bones(controller))
    layer.filtered = body_rig_mannequin_filtered_rig_data(rig_data, owned_joints, bone_names)
    if not body_rig_mannequin_prepare_controls(layer):
        print(NONE_FOUND_TEXT)
        return 0
    custom_root = body_rig_mannequin_custom_root(layer)
    body_rig_make_custom_hierarchy(layer, custom_root)
    fk_nodes = body_rig_add_custom_graph(layer, controller)
    names = [control.name for control in layer.planned]
    print(SUMMARY_TEXT % (len(names), len(layer.parent_spaces), fk_nodes, len(layer.spline_chains)))
    print(ADDED_TEXT, names)
    return len(names)
