"""Body spaces: local IK, global orientation, attribute channels and driving-system spaces. The helper
nulls here are made at the initial global transform of the control they stand in for; a control moved
under one keeps its global transform and, where it becomes a zero group, rests at identity below it."""

import unreal

from _vantorel_tool.body.bones import body_rig_is_bone_key
from _vantorel_tool.body.common import (
    BODY_RIG_KIND_DRIVING_SYSTEM, BODY_RIG_MAIN_NAME, body_rig_controls_by_name, body_rig_kind, body_rig_safe_name,
)
from _vantorel_tool.body.controls import (
    BODY_RIG_DEFAULT_GIZMO, body_rig_add_null, body_rig_bone_key, body_rig_ensure_null,
    body_rig_set_offset, body_rig_set_values,
)
from _vantorel_tool.body.fkik import (
    BODY_RIG_CHANNEL_RANGE, body_rig_add_channels, body_rig_add_float_channel, body_rig_channel_name,
)
from _vantorel_tool.body.planning import BODY_RIG_LEG_LOCK_CONSTRAINED, body_rig_strip_prefix
from _vantorel_tool.body_json import (
    BODY_JSON_IK_LOCAL_MODES, BODY_JSON_KEY_CONTROL_ATTRIBUTES, body_json_bool, body_json_fit_attribute,
    body_json_float, body_json_int, body_json_record_attributes, body_json_text,
)
from _vantorel_tool.graph import (
    body_rig_add_unit, body_rig_chain_node, body_rig_ensure_array_element, body_rig_link, body_rig_node_path,
    body_rig_set_item, body_rig_set_pin,
)


BODY_RIG_GLOBAL_ATTRIBUTE = "global"
BODY_RIG_GLOBAL_SUFFIX = "_Global"
BODY_RIG_GLOBAL_FK_PREFIX = "FKGlobal"
BODY_RIG_GLOBAL_FALLBACK = "VNGlobal"
BODY_RIG_GLOBAL_SPACE_SUFFIX = "_GlobalSpace"
BODY_RIG_GLOBAL_ROW = 280
BODY_RIG_INBETWEEN_VIS_ATTRIBUTE = "inbetweenVis"
BODY_RIG_INBETWEEN_JOINTS_ATTRIBUTE = "inbetweenJoints"
BODY_RIG_LEG_LOCK_ATTRIBUTE = "legLock"
BODY_RIG_LEG_LOCK_OWNER = "FKRoot_M"
BODY_RIG_ATTACH_SUFFIX = "_Attach"
BODY_RIG_ATTACH_FALLBACK = "DrivingSystemAttach"
BODY_RIG_SDK_PREFIX = "SDK"
BODY_RIG_SDK_FALLBACK = "SDKControl"
BODY_RIG_LIMIT_EPSILON = 0.000001

BODY_RIG_IK_LOCAL_MODES_TEXT = "Applied ikLocal addCtrl/nonZero/localOrient:"
BODY_RIG_GLOBAL_GROUP_FAILED_TEXT = "Could not create Vantorel global group for"
BODY_RIG_FIT_CHANNEL_FAILED_TEXT = "Could not create fit channel"
BODY_RIG_ATTACHMENTS_TEXT = "Created DrivingSystem controller follow helpers:"
BODY_RIG_ATTACH_FAILED_TEXT = "Could not attach DrivingSystem control"
BODY_RIG_SDK_SPACES_TEXT = "Created DrivingSystem SDK control spaces:"
BODY_RIG_SDK_SPACE_FAILED_TEXT = "Could not create SDK space for"


def body_rig_align_iklocal_controls(hierarchy, controls):
    """Reports how many planned IK and local IK controls use each local IK mode; their orientation
    was set when they were placed. Returns the total."""
    counts = [0, 0, 0]
    for control in controls:
        if control.kind in ("IK", "IKLocal") and control.ik_local_type in BODY_JSON_IK_LOCAL_MODES:
            counts[control.ik_local_type] += 1
    print(BODY_RIG_IK_LOCAL_MODES_TEXT, *counts)
    return sum(counts)


def body_rig_has_global(control):
    return body_json_fit_attribute(control, BODY_RIG_GLOBAL_ATTRIBUTE) is not None


def body_rig_global_group_name(control_name):
    """"FKGlobal" + an FK control's name without "FK", else the control's name + "_Global"."""
    name = str(control_name or "")
    if name.startswith("FK"):
        return body_rig_safe_name(BODY_RIG_GLOBAL_FK_PREFIX + name[2:], BODY_RIG_GLOBAL_FALLBACK)
    return body_rig_safe_name(name + BODY_RIG_GLOBAL_SUFFIX, BODY_RIG_GLOBAL_FALLBACK)


def body_rig_global_space_name(control_name):
    """The null between a global-orientation control and its FK parent that the orientation turns."""
    return body_rig_safe_name(str(control_name or "") + BODY_RIG_GLOBAL_SPACE_SUFFIX, BODY_RIG_GLOBAL_FALLBACK)


def body_rig_make_vantorel_global_groups(elements, controls):
    """A group null under "Main" at each global-orientation control, holding the orientation the
    control blends to, and a space null between the control and its FK parent, which the graph turns
    to that orientation: the control follows its FK parent for translation and keeps its own rotation
    on top, so the animator can still turn it. Returns how many groups were made."""
    hierarchy = elements.hierarchy
    main = elements.find(BODY_RIG_MAIN_NAME, "control")
    made = 0
    for control in controls:
        name = str(control.get("name") or "")
        if not name or name == BODY_RIG_MAIN_NAME or not body_rig_has_global(control):
            continue
        key = elements.find(name, "control")
        group = body_rig_global_group_name(name)
        if key is None or elements.find(group) is not None:
            continue
        try:
            rest = hierarchy.get_global_transform(key, True)
            body_rig_add_null(elements, group, main, rest, True)
            made += 1
            if elements.find(body_rig_global_space_name(name)) is None:
                space = body_rig_add_null(elements, body_rig_global_space_name(name), hierarchy.get_first_parent(key), rest, True)
                elements.set_parent(key, space, True)
        except Exception as error:
            print(BODY_RIG_GLOBAL_GROUP_FAILED_TEXT, name, error)
    return made


def body_rig_add_vantorel_global(graph, controls, rig_data, previous_exec, x, y):
    """One row per global-orientation control: its "global" channel, normalised to 0..1, weighs a
    rotation constraint of the control to its group. Returns (execution pin, system count, height)."""
    exec_pin, systems = previous_exec, 0
    for control in controls:
        name = str(control.get("name") or "")
        if not name or not body_rig_has_global(control):
            continue
        prefix = body_rig_safe_name(name + BODY_RIG_GLOBAL_SUFFIX, BODY_RIG_GLOBAL_FALLBACK)
        row = y + BODY_RIG_GLOBAL_ROW * systems
        try:
            channel = body_rig_node_path(graph, body_rig_add_unit(graph, "RigUnit_GetFloatAnimationChannel", prefix + "Channel", x, row),
                                         prefix + "Channel")
            body_rig_set_pin(graph, channel + ".Control", name)
            body_rig_set_pin(graph, channel + ".Channel", BODY_RIG_GLOBAL_ATTRIBUTE)
            divide = body_rig_node_path(graph, body_rig_add_unit(graph, "RigVMFunction_MathFloatDiv", prefix + "Normalize", x + 260, row),
                                        prefix + "Normalize")
            body_rig_set_pin(graph, divide + ".B", 10)
            body_rig_link(graph, channel + ".Value", divide + ".A")
            node = body_rig_add_unit(graph, "RigUnit_RotationConstraintLocalSpaceOffset", prefix + "Constraint", x + 590, row)
            constraint = body_rig_node_path(graph, node, prefix + "Constraint")
            # The space above the control turns, so the control's own rotation rides on top.
            body_rig_set_item(graph, constraint + ".Child", "Null", body_rig_global_space_name(name))
            body_rig_set_pin(graph, constraint + ".bMaintainOffset", True)
            body_rig_set_pin(graph, constraint + ".Weight", 1)
            parent = body_rig_ensure_array_element(graph, constraint + ".Parents", 0)
            body_rig_set_item(graph, parent + ".Item", "Null", body_rig_global_group_name(name))
            body_rig_link(graph, divide + ".Result", parent + ".Weight")
            exec_pin = body_rig_chain_node(graph, exec_pin, node, constraint)
        except Exception as error:
            print(BODY_RIG_GLOBAL_GROUP_FAILED_TEXT, name, error)
            continue
        systems += 1
    return exec_pin, systems, BODY_RIG_GLOBAL_ROW * systems


# ---- attribute channels ---------------------------------------------------------------------------------

def body_rig_make_vantorel_fit_channels(elements, data):
    """The fit-attribute channels of one control: "global" (0 to 10), "inbetweenVis", and on
    "FKRoot_M" with a leg lock its "legLock" (10). Returns how many were made."""
    name = str(data.get("name") or "")
    owner = elements.find(name, "control") if name else None
    if owner is None:
        return 0
    wanted = []
    global_value = body_json_fit_attribute(data, BODY_RIG_GLOBAL_ATTRIBUTE)
    if global_value is not None:
        value = min(max(body_json_float(global_value, 0.0), BODY_RIG_CHANNEL_RANGE[0]), BODY_RIG_CHANNEL_RANGE[1])
        wanted.append((BODY_RIG_GLOBAL_ATTRIBUTE, True, value))
    visible = body_json_fit_attribute(data, BODY_RIG_INBETWEEN_VIS_ATTRIBUTE)
    if visible is not None:
        wanted.append((BODY_RIG_INBETWEEN_VIS_ATTRIBUTE, False, body_json_bool(visible, False)))
    elif body_json_int(body_json_fit_attribute(data, BODY_RIG_INBETWEEN_JOINTS_ATTRIBUTE, 0)) > 0:
        wanted.append((BODY_RIG_INBETWEEN_VIS_ATTRIBUTE, False, False))
    if name == BODY_RIG_LEG_LOCK_OWNER and elements.find(BODY_RIG_LEG_LOCK_CONSTRAINED, "null") is not None:
        wanted.append((BODY_RIG_LEG_LOCK_ATTRIBUTE, True, BODY_RIG_CHANNEL_RANGE[1]))
    return body_rig_add_channels(elements, owner, name, wanted, BODY_RIG_FIT_CHANNEL_FAILED_TEXT)


def body_rig_driving_channel_limits(data, attribute):
    """The limits of a driving channel from the "drivingSystem" entry of the same name: in order, and
    0 to 10 when there is none or they (nearly) coincide."""
    for entry in data.get("drivingSystem") or []:
        if isinstance(entry, dict) and body_json_text(entry.get("name")) == attribute:
            low, high = body_json_float(entry.get("driverMin"), 0.0), body_json_float(entry.get("driverMax"), 10.0)
            if low > high:
                low, high = high, low
            if high - low < BODY_RIG_LIMIT_EPSILON:
                return BODY_RIG_CHANNEL_RANGE
            return low, high
    return BODY_RIG_CHANNEL_RANGE


def body_rig_make_fit_channels(elements, data):
    """The driver channels of one driving-system control: a float channel for every named
    "controlAttributes" item, limited to its driving range and starting at its value. Returns how
    many were made."""
    name = str(data.get("name") or "")
    owner = elements.find(name, "control") if name else None
    if owner is None:
        return 0
    made = 0
    for item in body_json_record_attributes(data, BODY_JSON_KEY_CONTROL_ATTRIBUTES):
        attribute = body_json_text(item.get("name")) if isinstance(item, dict) else ""
        channel = body_rig_channel_name(name, attribute) if attribute else ""
        if not attribute or elements.find(channel) is not None:
            continue
        low, high = body_rig_driving_channel_limits(data, attribute)
        try:
            key = body_rig_add_float_channel(elements, owner, channel, attribute,
                                             body_json_float(item.get("value"), 0.0), low, high,
                                             shape_name=BODY_RIG_DEFAULT_GIZMO)
        except Exception:
            continue
        made += 1 if key is not None else 0
    return made


# ---- driving-system follow helpers and SDK spaces -------------------------------------------------------

def body_rig_zero_control(hierarchy, key):
    """Lets a control rest at identity under a helper that now holds its transform: identity offset
    and values, zero preferred Euler angles in the control's rotation order."""
    body_rig_set_offset(hierarchy, key, unreal.Transform())
    body_rig_set_values(hierarchy, key, unreal.EulerTransform())
    order = hierarchy.get_control_preferred_euler_rotation_order(key)
    for initial in (True, False):
        hierarchy.set_control_preferred_euler_angles(key, unreal.Vector(0.0, 0.0, 0.0), order, initial)


def body_rig_make_driving_system_attachments(elements, controls, joint_keys):
    """Hangs every driving-system control on a follow helper under "Main" that the graph moves with
    its joint; returns how many were attached."""
    hierarchy = elements.hierarchy
    main = elements.find(BODY_RIG_MAIN_NAME, "control")
    attached = 0
    for control in controls:
        if body_rig_kind(control) != BODY_RIG_KIND_DRIVING_SYSTEM:
            continue
        name = str(control.get("name") or "")
        key = elements.find(name, "control") if name else None
        if key is None or body_rig_bone_key(elements, joint_keys, str(control.get("joint") or "")) is None:
            continue
        try:
            helper, _made = body_rig_ensure_null(elements,
                                                 body_rig_safe_name(name + BODY_RIG_ATTACH_SUFFIX, BODY_RIG_ATTACH_FALLBACK),
                                                 main, hierarchy.get_global_transform(key, True))
            elements.set_parent(key, helper, True)
            body_rig_zero_control(hierarchy, key)
            attached += 1
        except Exception as error:
            print(BODY_RIG_ATTACH_FAILED_TEXT, name, error)
    print(BODY_RIG_ATTACHMENTS_TEXT, attached)
    return attached


def body_rig_driven_control_names(controls):
    """The names of every control a driving-system relationship drives, sorted."""
    names = set()
    for control in controls:
        if body_rig_kind(control) != BODY_RIG_KIND_DRIVING_SYSTEM:
            continue
        for entry in control.get("drivingSystem") or []:
            for relationship in (entry.get("relationships") or []) if isinstance(entry, dict) else []:
                target = body_json_text(relationship.get("target")) if isinstance(relationship, dict) else ""
                if target:
                    names.add(target)
    return sorted(names)


def body_rig_sdk_space_name(control_name):
    """"SDK" + the driven control's name without a leading "FK": the space is named after its joint."""
    return body_rig_safe_name(BODY_RIG_SDK_PREFIX + body_rig_strip_prefix(str(control_name), "FK"), BODY_RIG_SDK_FALLBACK)


def body_rig_make_sdk_control_spaces(elements, controls):
    """A zero group above every driven FK control that holds its bind transform, so the set-driven
    keys can move the group while the control stays the animator's. Returns {driven control: space}."""
    hierarchy = elements.hierarchy
    by_name = body_rig_controls_by_name(controls)
    spaces = {}
    for name in body_rig_driven_control_names(controls):
        record = by_name.get(name)
        key = elements.find(name, "control")
        if record is None or body_rig_kind(record) != "FK" or key is None:
            continue
        space_name = body_rig_sdk_space_name(name)
        if elements.find(space_name) is not None:
            spaces[name] = space_name
            continue
        try:
            parent = elements.find(str(record.get("parent") or ""))
            if parent is not None and body_rig_is_bone_key(parent):
                # Helpers never hang from bones: the space takes the control's own parent instead.
                parent = hierarchy.get_first_parent(key)
            space = body_rig_add_null(elements, space_name, parent,
                                      hierarchy.get_global_transform(key, True), True)
            elements.set_parent(key, space, True)
            body_rig_zero_control(hierarchy, key)
            spaces[name] = space_name
        except Exception as error:
            print(BODY_RIG_SDK_SPACE_FAILED_TEXT, name, error)
    print(BODY_RIG_SDK_SPACES_TEXT, len(spaces))
    return spaces
