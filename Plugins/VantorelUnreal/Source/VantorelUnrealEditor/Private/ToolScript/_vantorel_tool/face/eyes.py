"""Face rig build: the eyes. Each eye gets a fixed chain of nulls that keeps its bind pose, the aim the
look-at controls give it and the set-driven-key output apart from the animator's FK control; the
look-at systems add an aim master with its targets and the bindings the face solver aims the eyes by."""

from typing import Dict, List, Optional

import unreal

from _vantorel_tool import face_types
from _vantorel_tool.body_json import body_json_float, body_json_text
from _vantorel_tool.face.drivers import face_set
from _vantorel_tool.face.on_face import (
    face_entry_of, face_euler_settings, face_identity_euler_value, face_on_face_parent_key, face_on_face_shape_scale,
    face_place_exported_control,
)
from _vantorel_tool.face.scale import compute_ctrl_box_attach_scale
from _vantorel_tool.names import error_text
from _vantorel_tool.rig_elements import is_empty_key


FACE_SIDES = ("R", "L")
FACE_EYE_COLOR = (0.392, 0.863, 1.0, 1.0)
FACE_AIM_SHAPE = "Arrow4_Thick"
FACE_AIM_DEFAULT_COLOR = (1.0, 1.0, 0.0, 1.0)
FACE_DEFAULT_AIM_AXIS = (0.0, 0.0, 1.0)
FACE_DEFAULT_UP_AXIS = (0.0, 1.0, 0.0)

FACE_EYE_MISSING_TEXT = "Eye FK hierarchy skipped; missing bone:"
FACE_EYE_SHAPE_TEXT = "Could not normalize eye shape scale:"
FACE_EYE_CREATED_TEXT = "Created eye FK hierarchy elements:"
FACE_LOOK_AT_MISSING_TEXT = "Face look-at reference not found in controls[]: "
FACE_AIM_ICON_TEXT = "Could not set AimEye icon:"
FACE_AIM_NO_LAYER_TEXT = "AimEye binding skipped; nested EyeAim layer missing:"
FACE_AIM_NO_TARGET_TEXT = "AimEye binding skipped; target missing:"
FACE_AIM_CREATED_TEXT = "Created AimEye bindings:"


# ---- the eye FK chain -----------------------------------------------------------------------------

def face_eye_shape_front_offset(exported_control):
    """The mean depth (third coordinate) of the eye shape's curve points, 0 without any."""
    depths = []
    for curve in (exported_control or {}).get("curveShapes") or []:
        for cv in (curve.get("cvs") if isinstance(curve, dict) else None) or []:
            point = cv.get("position") if isinstance(cv, dict) else cv
            if isinstance(point, list) and len(point) >= 3:
                depths.append(body_json_float(point[2], 0.0))
    return sum(depths) / len(depths) if depths else 0.0


def face_add_eye_fk_controls(build, elements):
    """The bind, aim and set-driven-key nulls and the FK control of each eye; returns the number of
    elements made."""
    hierarchy = elements.hierarchy
    group = face_on_face_parent_key(elements, build.rig_meta)
    face_scale = compute_ctrl_box_attach_scale(hierarchy, build.rig_meta)
    made = 0
    for side in FACE_SIDES:
        bone = elements.find("EyeJoint_" + side, "bone")
        if bone is None:
            print(FACE_EYE_MISSING_TEXT, "EyeJoint_" + side)
            continue
        offset = elements.find("EyeOffset_" + side, "null")
        if offset is None:
            offset = elements.add_null("EyeOffset_" + side, group if group is not None else unreal.RigElementKey(),
                                       hierarchy.get_global_transform(bone, True), True)
            made += 1
        aim = elements.find("EyeAim_" + side, "null")
        if aim is None:
            aim = elements.add_null("EyeAim_" + side, offset, unreal.Transform(), False)
            made += 1
        sdk = elements.find("SDKEye_" + side, "null")
        if sdk is None:
            sdk = elements.add_null("SDKEye_" + side, aim, unreal.Transform(), False)
            made += 1
        name = "Eye_" + side
        control = elements.find(name, "control")
        if control is None:
            control = elements.add_control(name, sdk, face_euler_settings(False, unreal.LinearColor(*FACE_EYE_COLOR)),
                                           face_identity_euler_value(False))
            if is_empty_key(control):
                continue
            made += 1
        try:
            scale = hierarchy.get_global_transform(sdk, True).scale3d
            inherited = max(abs(scale.x), abs(scale.y), abs(scale.z), 0.0001)
            entry = face_entry_of(build.face_json_data, name)
            size = face_on_face_shape_scale(entry, face_scale) / inherited
            shape = unreal.Transform(location=unreal.Vector(0.0, 0.0, face_eye_shape_front_offset(entry)),
                                     scale=unreal.Vector(size, size, size))
            for initial in (True, False):
                hierarchy.set_control_shape_transform(control, shape, initial)
        except Exception as error:
            print(FACE_EYE_SHAPE_TEXT, name, error_text(error))
    if made:
        print(FACE_EYE_CREATED_TEXT, made)
    return made


def face_eye_chains(elements):
    """The eye-chain records of the eyes whose SDK null, FK control and joint all exist."""
    if face_types.EyeChainStruct is None:
        return None
    records = []
    for side in FACE_SIDES:
        if (elements.find("SDKEye_" + side, "null") is None or elements.find("Eye_" + side, "control") is None
                or elements.find("EyeJoint_" + side, "bone") is None):
            continue
        record = face_types.EyeChainStruct()
        face_set(record, "sdk_null_name", "SDKEye_" + side)
        face_set(record, "final_control_name", "Eye_" + side)
        face_set(record, "eye_joint_name", "EyeJoint_" + side)
        records.append(record)
    return records


# ---- look-at systems ------------------------------------------------------------------------------

def face_resolve_reference(data, reference):
    """A control reference (a name, or an object naming an entry with fields that override it) as
    its record; raises when it names no control entry."""
    name = body_json_text(reference.get("name") if isinstance(reference, dict) else reference)
    entry = face_entry_of(data, name) if name else None
    if entry is None:
        raise RuntimeError(FACE_LOOK_AT_MISSING_TEXT + (name or str(reference)))
    record = dict(entry)
    if isinstance(reference, dict):
        record.update(reference)
    return record


def face_look_at_systems(data) -> List[Dict]:
    """The look-at systems with their master, targets and eyes resolved against the control entries."""
    systems = data.get("lookAtSystems")
    if isinstance(systems, dict):
        systems = [systems]
    resolved = []
    for system in systems or []:
        if not isinstance(system, dict):
            continue
        master = face_resolve_reference(data, system.get("masterControl"))
        targets = [face_resolve_reference(data, target) for target in system.get("targets") or []]
        eyes = []
        for eye in system.get("eyes") or []:
            if not isinstance(eye, dict):
                continue
            target = face_resolve_reference(data, eye.get("target"))
            if target:
                eyes.append(dict(eye, target=target))
        if master and eyes:
            resolved.append({"master": master, "targets": targets, "eyes": eyes})
    return resolved


def face_aim_eye_settings(entry):
    color = list((entry or {}).get("color") or FACE_AIM_DEFAULT_COLOR)[:4]
    color += [1.0] * (4 - len(color))
    settings = face_euler_settings(False, unreal.LinearColor(*[body_json_float(v, 1.0) for v in color]))
    settings.shape_name = FACE_AIM_SHAPE
    return settings


def face_set_aim_eye_icon(elements, key, entry):
    try:
        settings = elements.controller.get_control_settings(key)
        fresh = face_aim_eye_settings(entry)
        settings.shape_name, settings.shape_visible, settings.shape_color = fresh.shape_name, True, fresh.shape_color
        elements.controller.set_control_settings(key, settings)
    except Exception as error:
        print(FACE_AIM_ICON_TEXT, error_text(error))


def face_add_aim_control(control_rig, elements, entry, parent, face_scale):
    name = body_json_text(entry.get("name"))
    if not name:
        return None
    existing = elements.find(name, "control")
    if existing is not None:
        face_set_aim_eye_icon(elements, existing, entry)
        return existing
    key = elements.add_control(name, parent if parent is not None else unreal.RigElementKey(), face_aim_eye_settings(entry),
                               face_identity_euler_value(False))
    if is_empty_key(key):
        return None
    face_place_exported_control(control_rig, name, entry, (1.0, 1.0, 1.0), face_scale, face_on_face_shape_scale(entry, face_scale),
                                scale_world_position=True)
    return key


def face_maya_axis(values, default):
    """An axis of the Maya eye joint in the eye bone's own basis. The mesh's bones carry their joints'
    frames as the FBX import converts them (each axis as a point converts, the Y axis negated), so a
    joint axis (x, y, z) is the bone axis (x, -y, z): the eye's forward Maya +Z stays local +Z and its
    up Maya +Y is local -Y."""
    numbers = [body_json_float(v, 0.0) for v in (values if isinstance(values, list) and len(values) >= 3 else default)[:3]]
    return unreal.Vector(numbers[0], -numbers[1], numbers[2])


def face_add_aim_eye_controls(build, control_rig, elements) -> Optional[List[object]]:
    """The aim master and targets of each look-at system and the bindings that aim the eyes at them."""
    if face_types.AimBindingStruct is None:
        return None
    hierarchy = elements.hierarchy
    group = face_on_face_parent_key(elements, build.rig_meta)
    face_scale = compute_ctrl_box_attach_scale(hierarchy, build.rig_meta)
    bindings = []
    for system in face_look_at_systems(build.face_json_data):
        master = face_add_aim_control(control_rig, elements, system["master"], group, face_scale)
        targets = {}
        for entry in system["targets"] + [eye["target"] for eye in system["eyes"]]:
            targets[body_json_text(entry.get("name"))] = entry
        for entry in targets.values():
            face_add_aim_control(control_rig, elements, entry, master if master is not None else group, face_scale)
        for eye in system["eyes"]:
            reference = eye.get("control")
            control = body_json_text(reference.get("name") if isinstance(reference, dict) else reference)
            side = control.rsplit("_", 1)[-1] if "_" in control else ""
            layer = "EyeAim_" + side
            if side not in FACE_SIDES or elements.find(layer, "null") is None:
                print(FACE_AIM_NO_LAYER_TEXT, control, layer)
                continue
            target = body_json_text(eye["target"].get("name"))
            if elements.find(target, "control") is None:
                print(FACE_AIM_NO_TARGET_TEXT, target)
                continue
            binding = face_types.AimBindingStruct()
            face_set(binding, "eye_aim_null_name", layer)
            face_set(binding, "target_control_name", target)
            face_set(binding, "aim_axis", face_maya_axis(eye.get("aimAxis"), FACE_DEFAULT_AIM_AXIS))
            face_set(binding, "up_axis", face_maya_axis(eye.get("upAxis"), FACE_DEFAULT_UP_AXIS))
            bindings.append(binding)
    print(FACE_AIM_CREATED_TEXT, len(bindings))
    return bindings
