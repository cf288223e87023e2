"""Body forward solve: driving systems, the forward FK loop and the driving-system followers. A
driving-system control drives the joints of other controls through Maya's linear set-driven keys: each
relationship reads the driver channel, scales it by the exported slope and offsets the driven SDK space
(or joint) on one channel. The forward FK loop then copies every "FK" + bone control onto its bone,
from the root down."""

import re

import unreal

from _vantorel_tool.body.common import (
    BODY_RIG_KIND_DRIVING_SYSTEM, BODY_RIG_MAIN_NAME, body_rig_kind, body_rig_safe_name,
)
from _vantorel_tool.body.limb_graph import (
    BODY_RIG_FOLLOW_ROW, BODY_RIG_FORWARD_SECTION_HEIGHT, BODY_RIG_FORWARD_SKIPPED_KINDS, BODY_RIG_GLOBAL_SPACE,
    BODY_RIG_IK_CHAIN_EXTRA_HEIGHT, BODY_RIG_IK_SECTION_HEIGHT, body_rig_add_ik_solve, body_rig_get_transform,
    body_rig_mutable_unit, body_rig_parent_constraint, body_rig_set_transform, body_rig_unit,
)
from _vantorel_tool.body.planning import body_rig_strip_prefix
from _vantorel_tool.body.spaces import BODY_RIG_ATTACH_FALLBACK, BODY_RIG_ATTACH_SUFFIX
from _vantorel_tool.body_json import body_json_fit_attribute, body_json_float, body_json_int, body_json_text
from _vantorel_tool.graph import (
    BODY_RIG_NO_TEMPLATE_NODE_TEXT, body_rig_add_unit, body_rig_chain_node, body_rig_link, body_rig_node_execute_pin,
    body_rig_node_path, body_rig_place_in_group, body_rig_position, body_rig_set_item, body_rig_set_pin,
)
from _vantorel_tool.names import error_text


# Driven attribute (lower case) -> (component, axis, sign). The sign turns Maya's raw slope into the
# Unreal local offset: X and Z rotation reverse, Y rotation, translation and scale keep it.
BODY_RIG_DRIVEN_ATTRIBUTES = {key: (component, axis, sign) for keys, component, axis, sign in (
    (("tx", "translatex"), "Translation", "X", 1.0),
    (("ty", "translatey"), "Translation", "Y", 1.0),
    (("tz", "translatez"), "Translation", "Z", 1.0),
    (("rx", "rotatex"), "Rotation", "X", -1.0),
    (("ry", "rotatey"), "Rotation", "Y", 1.0),
    (("rz", "rotatez"), "Rotation", "Z", -1.0),
    (("sx", "scalex"), "Scale", "X", 1.0),
    (("sy", "scaley"), "Scale", "Y", 1.0),
    (("sz", "scalez"), "Scale", "Z", 1.0)) for key in keys}

BODY_RIG_LOCAL_SPACE = "LocalSpace"
BODY_RIG_DRIVER_FALLBACK = "DrivingSystemDriver"
BODY_RIG_RELATION_FALLBACK = "DrivingSystemRelation"
BODY_RIG_DRIVING_FOLLOW_FALLBACK = "DrivingSystemFollow"
BODY_RIG_DRIVER_ROW = 170
BODY_RIG_RELATION_ROW = 150
BODY_RIG_ELEMENT_KEY_CPP_TYPE = "FRigElementKey"
BODY_RIG_ELEMENT_KEY_OBJECT_PATH = "/Script/ControlRig.RigElementKey"
BODY_RIG_FORWARD_ITERATOR_FALLBACK_TEXT = "Body forward FK loop uses a collection loop:"
BODY_RIG_PART_JOINT = re.compile(r"Part\d+_[MLR]$")
BODY_RIG_SIDED_JOINT = re.compile(r"_[MLR]$")


def body_rig_driven_attribute(attribute):
    """(component, axis, sign) of a driven attribute, or None for one the offsets cannot carry."""
    return BODY_RIG_DRIVEN_ATTRIBUTES.get(body_json_text(attribute).lower())


def body_rig_driven_item(relationship, control_lookup, sdk_spaces):
    """(element type, name) a relationship offsets: the target's SDK space, else the target's joint,
    else the bone named like the target without its "FK"; None without a target."""
    target = body_json_text(relationship.get("target"))
    if not target:
        return None
    space = str((sdk_spaces or {}).get(target) or "")
    if space:
        return "Null", space
    record = (control_lookup or {}).get(target)
    joint = str(record.get("joint") or "") if isinstance(record, dict) else ""
    if joint:
        return "Bone", joint
    joint = body_rig_strip_prefix(target, "FK")
    return ("Bone", joint) if joint else None


def body_rig_add_sdk_space_reset(graph, relation_id, space, previous_exec, x, y):
    """Restarts an SDK space from its rest transform; returns the execution pin."""
    reader = body_rig_get_transform(graph, relation_id + "_ResetSDKSpaceGet", "Null", space, x + 560, y - 75,
                                    space=BODY_RIG_LOCAL_SPACE, initial=True)
    writer, exec_pin = body_rig_set_transform(graph, relation_id + "_ResetSDKSpaceSet", "Null", space, previous_exec,
                                              x + 760, y - 75, space=BODY_RIG_LOCAL_SPACE)
    body_rig_link(graph, reader + ".Transform", writer + ".Value")
    return exec_pin


def body_rig_add_driven_offset(graph, relation_id, item, mapping, product, previous_exec, x, y):
    """Offsets item on one channel by product; returns the execution pin."""
    component, axis, _sign = mapping
    offset, exec_pin = body_rig_mutable_unit(graph, "RigUnit_OffsetTransformForItem", relation_id + "_Offset",
                                             previous_exec, x + 900, y)
    body_rig_set_item(graph, offset + ".Item", item[0], item[1])
    body_rig_set_pin(graph, offset + ".Weight", 1)
    body_rig_set_pin(graph, offset + ".bPropagateToChildren", True)
    if component == "Translation":
        body_rig_link(graph, product, offset + ".OffsetTransform.Translation." + axis)
    elif component == "Scale":
        # The key is a change of scale; the offset multiplies, so it starts from one.
        add = body_rig_unit(graph, "RigVMFunction_MathFloatAdd", relation_id + "_ScaleFromIdentity", x + 590, y)
        body_rig_link(graph, product, add + ".A")
        body_rig_set_pin(graph, add + ".B", 1)
        body_rig_link(graph, add + ".Result", offset + ".OffsetTransform.Scale3D." + axis)
    else:
        quaternion = body_rig_unit(graph, "RigVMFunction_MathQuaternionFromEuler", relation_id + "_Quaternion", x + 590, y)
        body_rig_set_pin(graph, quaternion + ".RotationOrder", "ZYX")
        body_rig_link(graph, product, quaternion + ".Euler." + axis)
        body_rig_link(graph, quaternion + ".Result", offset + ".OffsetTransform.Rotation")
    return exec_pin


def body_rig_add_driving_system(graph, control_data, control_lookup, sdk_spaces, previous_exec, x, y):
    """The set-driven keys of one driving-system control: per channel a driver reader, per relationship
    a product of the driver and the slope offsetting the driven space or joint. Each SDK space this
    control drives is reset once, before its first offset. Returns the execution pin."""
    name = str(control_data.get("name") or "")
    exec_pin, row, reset = previous_exec, 0, set()
    for index, channel in enumerate(control_data.get("drivingSystem") or []):
        if not isinstance(channel, dict):
            continue
        channel_name = body_json_text(channel.get("name"))
        relationships = [r for r in channel.get("relationships") or [] if isinstance(r, dict)]
        if not channel_name or not relationships:
            continue
        driver = body_rig_unit(graph, "RigUnit_GetFloatAnimationChannel",
                               body_rig_safe_name(name + "_" + channel_name + "_Driver", BODY_RIG_DRIVER_FALLBACK),
                               x, y + BODY_RIG_DRIVER_ROW * index)
        body_rig_set_pin(graph, driver + ".Control", name)
        body_rig_set_pin(graph, driver + ".Channel", channel_name)
        for relationship in relationships:
            item = body_rig_driven_item(relationship, control_lookup, sdk_spaces)
            attribute = body_json_text(relationship.get("attribute"))
            mapping = body_rig_driven_attribute(attribute)
            if item is None or mapping is None:
                continue
            slope = body_json_float(relationship.get("multiplier"), 0.0) * mapping[2]
            relation_id = body_rig_safe_name("_".join((name, channel_name, item[1], attribute.lower())),
                                             BODY_RIG_RELATION_FALLBACK)
            top = y + BODY_RIG_RELATION_ROW * row
            if item[0] == "Null" and item[1] not in reset:
                reset.add(item[1])
                exec_pin = body_rig_add_sdk_space_reset(graph, relation_id, item[1], exec_pin, x, top)
            multiply = body_rig_unit(graph, "RigVMFunction_MathFloatMul", relation_id + "_Multiply", x + 300, top)
            body_rig_link(graph, driver + ".Value", multiply + ".A")
            body_rig_set_pin(graph, multiply + ".B", "%.6f" % slope)
            exec_pin = body_rig_add_driven_offset(graph, relation_id, item, mapping, multiply + ".Result", exec_pin, x, top)
            row += 1
    return exec_pin


# ---- the forward FK loop --------------------------------------------------------------------------------

def body_rig_add_element_iterator(graph, node_name, x, y):
    """A loop over element keys: the graph's array iterator, else a collection loop fed through a
    collection of the keys. Returns (node, path, key array input pin, element output pin)."""
    node, reason = None, BODY_RIG_NO_TEMPLATE_NODE_TEXT
    try:
        node = graph.controller.add_array_node_from_object_path(unreal.RigVMOpCode.ARRAY_ITERATOR, BODY_RIG_ELEMENT_KEY_CPP_TYPE,
                                                                 BODY_RIG_ELEMENT_KEY_OBJECT_PATH, body_rig_position(x, y), node_name)
    except Exception as error:
        reason = error_text(error)
    if node is not None:
        body_rig_place_in_group(graph, node, None, x, y)
        path = body_rig_node_path(graph, node, node_name)
        return node, path, path + ".Array", path + ".Element"
    print(BODY_RIG_FORWARD_ITERATOR_FALLBACK_TEXT, reason)
    # The collection loop walks a collection: the key array becomes one on the way in.
    collection = body_rig_unit(graph, "RigUnit_CollectionItems", "BodyForwardCollection", x, y + 200)
    node_name = "BodyForwardLoop"
    node = body_rig_add_unit(graph, "RigUnit_CollectionLoop", node_name, x, y)
    path = body_rig_node_path(graph, node, node_name)
    body_rig_link(graph, collection + ".Collection", path + ".Collection")
    return node, path, collection + ".Items", path + ".Item"


def body_rig_add_fk_bone_loop(graph, prefix, root_joint, previous_exec, y, columns):
    """A loop over every bone from the root down that runs its body only for bones with an "FK" +
    bone control: the children, the iterator, the control's name, its existence check and the branch,
    named prefix + "Children", "Iterator", "Name", "Exists", "Branch" at the x of columns. Returns
    (loop path, element pin, control name pin, branch path)."""
    children_x, iterator_x, name_x, exists_x, branch_x = columns
    children = body_rig_unit(graph, "RigUnit_CollectionChildrenArray", prefix + "Children", children_x, y)
    body_rig_set_item(graph, children + ".Parent", "Bone", root_joint)
    for pin in ("bIncludeParent", "bRecursive", "bDefaultChildren"):
        body_rig_set_pin(graph, children + "." + pin, True)
    body_rig_set_pin(graph, children + ".TypeToSearch", "Bone")

    loop, loop_path, array_pin, element_pin = body_rig_add_element_iterator(graph, prefix + "Iterator", iterator_x, y)
    body_rig_link(graph, children + ".Items", array_pin)
    body_rig_chain_node(graph, previous_exec, loop, loop_path)

    concat = body_rig_unit(graph, "RigVMFunction_NameConcat", prefix + "Name", name_x, y)
    body_rig_set_pin(graph, concat + ".A", "FK")
    body_rig_link(graph, element_pin + ".Name", concat + ".B")
    exists = body_rig_unit(graph, "RigUnit_ItemExists", prefix + "Exists", exists_x, y)
    body_rig_set_pin(graph, exists + ".Item.Type", "Control")
    body_rig_link(graph, concat + ".Result", exists + ".Item.Name")

    # The loop body runs from the iterator's own execution pin, once per element.
    branch, _branch_exec = body_rig_mutable_unit(graph, "RigVMFunction_ControlFlowBranch", prefix + "Branch",
                                                 body_rig_node_execute_pin(loop, loop_path), branch_x, y)
    body_rig_link(graph, exists + ".Exists", branch + ".Condition")
    return loop_path, element_pin, concat + ".Result", branch


def body_rig_add_forward_fk_loop(graph, previous_exec, root_joint, y, fkx_root_name=""):
    """Copies every "FK" + bone control onto its bone for all bones from the root down; with a hip
    swinger's FKX root, writes the joint it is named after from it afterwards. Returns the execution
    pin."""
    loop_path, element_pin, control_name, branch = body_rig_add_fk_bone_loop(graph, "BodyForward", root_joint, previous_exec, y,
                                                                             (-700, -350, 0, 300, 650))
    reader = body_rig_unit(graph, "RigUnit_GetTransform", "BodyForwardGet", 900, y - 120)
    body_rig_set_pin(graph, reader + ".Item.Type", "Control")
    body_rig_link(graph, control_name, reader + ".Item.Name")
    body_rig_set_pin(graph, reader + ".Space", BODY_RIG_GLOBAL_SPACE)
    writer, _writer_exec = body_rig_mutable_unit(graph, "RigUnit_SetTransform", "BodyForwardSet", branch + ".True", 1250, y)
    body_rig_link(graph, element_pin, writer + ".Item")
    body_rig_set_pin(graph, writer + ".Space", BODY_RIG_GLOBAL_SPACE)
    body_rig_set_pin(graph, writer + ".bPropagateToChildren", True)
    body_rig_link(graph, reader + ".Transform", writer + ".Value")

    exec_pin = loop_path + ".Completed"
    if fkx_root_name:
        # The FKX null is named after the joint it drives ("FKXRoot_M" drives "Root_M"), which need not
        # be the skeleton's top joint. Its children already hold their own absolute FK transforms: the
        # joint moves alone.
        joint = fkx_root_name[len("FKX"):] if fkx_root_name.startswith("FKX") else root_joint
        fkx = body_rig_get_transform(graph, "BodyForwardFKXGet", "Null", fkx_root_name, 900, y + 200)
        root, exec_pin = body_rig_set_transform(graph, "BodyForwardFKXSet", "Bone", joint, exec_pin, 1250, y + 200,
                                                propagate=False)
        body_rig_link(graph, fkx + ".Transform", root + ".Value")
    return exec_pin


# ---- driving-system follow constraints and the inbetween rows --------------------------------------------

def body_rig_add_driving_system_follow_constraints(graph, controls, previous_exec, x, y):
    """Keeps each driving-system control's follow helper on its joint; returns the execution pin."""
    exec_pin, row = previous_exec, 0
    for control in controls:
        name, joint = str(control.get("name") or ""), str(control.get("joint") or "")
        if body_rig_kind(control) != BODY_RIG_KIND_DRIVING_SYSTEM or not name or not joint:
            continue
        _path, exec_pin = body_rig_parent_constraint(
            graph, body_rig_safe_name(name + "_FollowJoint", BODY_RIG_DRIVING_FOLLOW_FALLBACK),
            "Null", body_rig_safe_name(name + BODY_RIG_ATTACH_SUFFIX, BODY_RIG_ATTACH_FALLBACK),
            "Bone", joint, exec_pin, x, y + BODY_RIG_FOLLOW_ROW * row)
        row += 1
    return exec_pin


def body_rig_final_inbetween_row_count(rig_data):
    """How many file controls have inbetween part controls in the file: one row each."""
    controls = [c for c in rig_data.get("controls") or [] if isinstance(c, dict)]
    names = {str(c.get("name") or "") for c in controls}
    rows = 0
    for control in controls:
        count = body_json_int(body_json_fit_attribute(control, "inbetweenJoints", 0))
        joint = str(control.get("joint") or "")
        if count <= 0 or not control.get("name") or not BODY_RIG_SIDED_JOINT.search(joint) or BODY_RIG_PART_JOINT.search(joint):
            continue
        stem, side = joint[:-2], joint[-2:]
        if any("FK%sPart%d%s" % (stem, index, side) in names for index in range(1, count + 1)):
            rows += 1
    return rows


# ---- forward control dispatch --------------------------------------------------------------------------

def body_rig_add_forward_control(graph, control_data, control_lookup, sdk_spaces, previous_exec, x, y, fkik_chain=None):
    """The forward section of one file control: its driving system, its two-bone IK, or a copy of
    the control onto its joint; nothing for controls that reach their bones another way. Returns the
    execution pin."""
    name = str(control_data.get("name") or "")
    kind = body_rig_kind(control_data)
    if not name or name == BODY_RIG_MAIN_NAME or kind in BODY_RIG_FORWARD_SKIPPED_KINDS:
        return previous_exec
    if kind == BODY_RIG_KIND_DRIVING_SYSTEM:
        return body_rig_add_driving_system(graph, control_data, control_lookup, sdk_spaces, previous_exec, x, y) or previous_exec
    if kind == "IK" and isinstance(control_data.get("ik"), dict):
        return body_rig_add_ik_solve(graph, control_data, fkik_chain, previous_exec, x, y)
    joint = str(control_data.get("joint") or "")
    if not joint:
        return previous_exec
    reader = body_rig_get_transform(graph, name + "_GT", "Control", name, x, y)
    writer, exec_pin = body_rig_set_transform(graph, name + "_ST", "Bone", joint, previous_exec, x + 300, y)
    body_rig_link(graph, reader + ".Transform", writer + ".Value")
    return exec_pin


def body_rig_forward_control_height(control_data, fkik_chain=None):
    kind = body_rig_kind(control_data)
    if kind == BODY_RIG_KIND_DRIVING_SYSTEM:
        relations = sum(len(entry.get("relationships") or []) for entry in control_data.get("drivingSystem") or []
                        if isinstance(entry, dict))
        return max(360, 150 * relations + 220)
    if kind == "IK":
        return BODY_RIG_IK_SECTION_HEIGHT + (BODY_RIG_IK_CHAIN_EXTRA_HEIGHT if fkik_chain else 0)
    return BODY_RIG_FORWARD_SECTION_HEIGHT
