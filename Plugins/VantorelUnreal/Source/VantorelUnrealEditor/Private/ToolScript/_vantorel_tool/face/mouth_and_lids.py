"""Face rig build: the controls that need more than the generic on-face construction around the mouth
and eyes: the smile pulls that reuse the mouth-corner curves on the lip corners, the eyelids (the left
ones mirrored from the right), the hidden jaw pivot at the chin and the jaw-pull handle below it."""

import copy
import re

import unreal

from _vantorel_tool.body_json import body_json_float, body_json_number, body_json_text
from _vantorel_tool.face.on_face import (
    FACE_JAW_PULL, face_add_simple_on_face_controls, face_apply_on_face_json_color, face_color_of, face_create_follow_parent,
    face_entry_of, face_euler_settings, face_identity_euler_value, face_on_face_parent_key, face_on_face_shape_scale,
    face_place_exported_control, face_register_follow,
)
from _vantorel_tool.face.scale import compute_ctrl_box_attach_scale, face_maya_space_gizmo_scale
from _vantorel_tool.names import error_text, norm
from _vantorel_tool.rig_elements import is_empty_key


FACE_SIDES = ("R", "L")
FACE_YELLOW = (1.0, 1.0, 0.0, 1.0)
FACE_GREEN = (0.0, 1.0, 0.0, 1.0)
FACE_JAW = "Jaw_M"
FACE_JAW_FOLLOW = "JawFollow_M"
FACE_JAW_PLACEMENT = "__VNJawPlacement_M"
FACE_CHIN_FOLLOW_BONE = "ChinCreaseJoint_M"
FACE_LIDS = ("upperLid", "lowerLid")
FACE_MIRRORED_LID_CONTROLS = ("upperLid_R", "lowerLid_R")
FACE_MIRRORED_CHANNELS = ("rotationy", "rotatey", "ry", "rotationz", "rotatez", "rz")
FACE_X_TRANSLATIONS = ("translationx", "translatex", "tx")

FACE_SMILE_NO_DRIVER_TEXT = "SmilePull skipped; face JSON has no driver:"
FACE_SMILE_NO_JOINT_TEXT = "SmilePull skipped; missing joint:"
FACE_SMILE_ORIENTATION_TEXT = "Could not apply authored SmilePull orientation: "
FACE_SMILE_PARENT_TEXT = "Could not parent oriented SmilePull: "
FACE_SMILE_CREATED_TEXT = "Created on-face SmilePull controls:"
FACE_LID_SKIPPED_TEXT = "Upper lid skipped; no exported or driver control:"
FACE_LIDS_CREATED_TEXT = "Created on-face eyelid controls:"
FACE_JAW_PULL_SOURCE_TEXT = "JawPull placement source:"
FACE_JAW_PULL_FALLBACK_TEXT = "JawPull fallback: Jaw_M was unavailable; using OnFacecontrols parent"


# ---- driver rows ----------------------------------------------------------------------------------

def face_smile_pull_driver_data(drivers_data):
    """Every mouth-corner row again for its side's smile pull: both drive the same curves."""
    rows = []
    for side in FACE_SIDES:
        for row in drivers_data:
            if body_json_text(row.get("control")) == "ctrlMouthCorner_" + side:
                rows.append(dict(row, control="SmilePull_" + side))
    return rows


def face_mirrored_upper_lid_driver_data(drivers_data):
    """The right lids' rows for the left lids: the "_R" bones become "_L", and the rows that turn or
    move across the face change sign."""
    rows = []
    for row in drivers_data:
        control = body_json_text(row.get("control"))
        if control not in FACE_MIRRORED_LID_CONTROLS:
            continue
        mirrored = copy.deepcopy(row)
        mirrored["control"] = control[:-2] + "_L"
        for driven in mirrored.get("driven") or []:
            if not isinstance(driven, dict):
                continue
            bone = body_json_text(driven.get("bone"))
            if bone.endswith("_R"):
                driven["bone"] = bone[:-2] + "_L"
            # Every spelling of a channel mirrors alike: across the face's middle a sideways move and a
            # turn about the up or forward axis change sign.
            channel = norm(driven.get("channel"))
            space = norm(driven.get("space") or "Local")
            if (channel in FACE_X_TRANSLATIONS and space in ("world", "worldspace")) or channel in FACE_MIRRORED_CHANNELS:
                for key in driven.get("keys") or []:
                    if isinstance(key, dict):
                        key["y"] = -body_json_float(key.get("y"), 0.0)
        rows.append(mirrored)
    return rows


# ---- placement data -------------------------------------------------------------------------------

def face_three_numbers(values):
    return isinstance(values, list) and len(values) == 3 and all(body_json_number(v) is not None for v in values)


def face_jaw_placement_data(face_data):
    """The jaw pivot's placement: the "Jaw_M" entry moved to the chin (the jaw pull's, else the chin
    crease's, position), its frame and shape kept."""
    entry = face_entry_of(face_data, FACE_JAW)
    if entry is None:
        return None
    placed = copy.deepcopy(entry)
    for source in (FACE_JAW_PULL, "ChinCrease_M"):
        position = (face_entry_of(face_data, source) or {}).get("positionWorld")
        if face_three_numbers(position):
            placed["positionWorld"] = list(position)
            matrix = placed.get("worldMatrix")
            if isinstance(matrix, list) and len(matrix) == 16:
                matrix[12:15] = list(position)
            break
    return placed


def face_jaw_pull_placement_data(face_data):
    """The jaw pull's placement: the first of its own, the jaw's and the chin crease's entries with
    both positions, with the jaw pull's own look."""
    own = face_entry_of(face_data, FACE_JAW_PULL) or {}
    for name in (FACE_JAW_PULL, FACE_JAW, "ChinCrease_M"):
        entry = face_entry_of(face_data, name)
        if entry is not None and "positionWorld" in entry and "shapePositionWorld" in entry:
            placed = copy.deepcopy(entry)
            for key in ("diameter", "color", "gizmo", "curveShapes"):
                if key in own:
                    placed[key] = copy.deepcopy(own[key])
            print(FACE_JAW_PULL_SOURCE_TEXT, name)
            return placed
    return None


# ---- smile pulls ----------------------------------------------------------------------------------

def face_smile_settings(entry):
    settings = unreal.RigControlSettings()
    settings.animation_type = unreal.RigControlAnimationType.ANIMATION_CONTROL
    settings.control_type = unreal.RigControlType.VECTOR2D
    settings.primary_axis = unreal.RigControlAxis.Z
    settings.draw_limits = False
    settings.limit_enabled = [unreal.RigControlLimitEnabled(False, False), unreal.RigControlLimitEnabled(False, False)]
    settings.shape_name = "Circle_Thick"
    settings.shape_visible = True
    settings.is_transient_control = False
    settings.shape_color = face_color_of(entry, FACE_YELLOW)
    return settings


def face_set_parent_native_verified(control_rig, elements, child_key, parent_key):
    library = getattr(unreal, "VNFaceSDKImportLibrary", None)
    if library is None:
        return False
    try:
        if not library.ensure_control_parent(control_rig, str(child_key.name), str(parent_key.name), True):
            return False
    except Exception:
        return False
    elements.forget()
    parent = elements.hierarchy.get_first_parent(child_key)
    return parent is not None and str(parent.name) == str(parent_key.name)


def face_add_smile_pull_controls(build, control_rig, elements, drivers_data):
    """The smile-pull handle of each mouth corner with a driver row and a joint; returns how many."""
    hierarchy = elements.hierarchy
    face_scale = compute_ctrl_box_attach_scale(hierarchy, build.rig_meta)
    group = face_on_face_parent_key(elements, build.rig_meta)
    library = getattr(unreal, "VNFaceSDKImportLibrary", None)
    handled = 0
    for side in FACE_SIDES:
        name, driver, joint = "SmilePull_" + side, "ctrlMouthCorner_" + side, "cornerLipJoint_" + side
        if not any(body_json_text(row.get("control")) == driver for row in drivers_data):
            print(FACE_SMILE_NO_DRIVER_TEXT, driver)
            continue
        bone = elements.find(joint, "bone")
        if bone is None:
            print(FACE_SMILE_NO_JOINT_TEXT, joint)
            continue
        entry = face_entry_of(build.face_json_data, name) or {}
        follow = face_create_follow_parent(elements, group, "SmileFollow_" + side)
        key = elements.find(name, "control")
        try:
            if key is None:
                key = elements.add_control(name, group if group is not None else unreal.RigElementKey(), face_smile_settings(entry),
                                           face_identity_euler_value(True))
                if is_empty_key(key):
                    raise RuntimeError("the hierarchy made no control")
            else:
                elements.controller.set_control_settings(key, face_smile_settings(entry))
        except Exception as error:
            print("Could not create", name, error_text(error))
            continue
        try:
            rest = hierarchy.get_global_transform(bone, True)
            bind = rest.translation * (1.0 / max(face_scale, 0.001))
            own_scale = hierarchy.get_global_transform(follow, True).scale3d
            for initial in (True, False):
                hierarchy.set_global_transform(follow, unreal.Transform(location=bind, scale=own_scale), initial, True)
            for initial in (True, False):
                hierarchy.set_control_offset_transform(key, unreal.Transform(), initial, True)
            size = face_maya_space_gizmo_scale(0.05, face_scale, rig_meta=build.rig_meta)
            shape = unreal.Transform(location=unreal.Vector(0.0, 0.0, -5.0 if side == "L" else 5.0), scale=unreal.Vector(size, size, size))
            for initial in (True, False):
                hierarchy.set_control_shape_transform(key, shape, initial)
            matrix = entry.get("worldMatrix")
            if library is not None and isinstance(matrix, list) and len(matrix) == 16:
                if not library.configure_body_control_rotation_from_maya_matrix(control_rig, name, [body_json_float(v, 0.0) for v in matrix]):
                    print(FACE_SMILE_ORIENTATION_TEXT + name)
                placed = hierarchy.get_global_transform(follow, True)
                if side == "L":
                    yaw = -body_json_float((entry.get("rotationWorld") or [0, 0, 0])[1] if len(entry.get("rotationWorld") or []) > 1 else 0.0, 0.0)
                    rotation = unreal.Rotator(roll=-90.0, pitch=0.0, yaw=yaw)
                else:
                    rotation = hierarchy.get_global_transform(key, True).rotation.rotator()
                oriented = unreal.Transform(location=placed.translation, rotation=rotation, scale=placed.scale3d)
                for initial in (True, False):
                    hierarchy.set_global_transform(follow, oriented, initial, False)
                if not face_set_parent_native_verified(control_rig, elements, key, follow):
                    print(FACE_SMILE_PARENT_TEXT + name)
            for value_type in (unreal.RigControlValueType.INITIAL, unreal.RigControlValueType.CURRENT):
                hierarchy.set_control_value(key, face_identity_euler_value(True), value_type)
        except Exception as error:
            print("Could not place", name + " from " + joint + ":", error_text(error))
        face_apply_on_face_json_color(elements, key, entry, FACE_YELLOW)
        face_register_follow(build, name, joint, "SmileFollow_" + side, True)
        handled += 1
    if handled:
        print(FACE_SMILE_CREATED_TEXT, handled)
    return handled


# ---- eyelids ----------------------------------------------------------------------------------------

def face_lid_follow_joint(elements, lid_name, side):
    """The middle of a lid's main joints (lid + "Main" + number + "_" + side), whatever their count."""
    pattern = re.compile(r"^%sMain(\d+)_%s$" % (re.escape(lid_name), re.escape(side)), re.IGNORECASE)
    found = []
    for key in elements.hierarchy.get_bones():
        match = pattern.match(str(key.name))
        if match:
            found.append((int(match.group(1)), str(key.name)))
    found.sort()
    return found[len(found) // 2][1] if found else ""


def face_add_upper_lid_controls(build, control_rig, elements):
    """The upper and lower lid handles of both eyes, each on its lid's middle joint; returns how many
    were made."""
    made = 0
    for lid in FACE_LIDS:
        for side in FACE_SIDES:
            name = lid + "_" + side
            entry = face_entry_of(build.face_json_data, name)
            if entry is None and elements.find(name, "control") is None:
                print(FACE_LID_SKIPPED_TEXT, name)
                continue
            joint = face_lid_follow_joint(elements, lid, side)
            made += face_add_simple_on_face_controls(
                build, control_rig, elements, [name], FACE_GREEN, half_circle=True, follow_bones={name: joint} if joint else {},
                follow_rotation=True, entries={name: entry} if entry else None, centre_line=False)
    if made:
        print(FACE_LIDS_CREATED_TEXT, made)
    return made


# ---- jaw ------------------------------------------------------------------------------------------

def face_remove_if_present(elements, name, element_type):
    key = elements.find(name, element_type)
    if key is not None:
        elements.remove_element(key)


def face_add_jaw_control(build, control_rig, elements):
    """The hidden jaw pivot "Jaw_M" at the chin, under its follow null; returns the null, or None."""
    placement = face_jaw_placement_data(build.face_json_data)
    if placement is None:
        return None
    hierarchy = elements.hierarchy
    group = face_on_face_parent_key(elements, build.rig_meta)
    follow = face_create_follow_parent(elements, group, FACE_JAW_FOLLOW)
    parent = follow if follow is not None else group
    face_remove_if_present(elements, FACE_JAW, "control")
    face_remove_if_present(elements, FACE_JAW, "null")
    face_remove_if_present(elements, FACE_JAW_PLACEMENT, "control")
    settings = face_euler_settings(False, face_color_of(placement, FACE_YELLOW))
    settings.shape_visible = False
    temporary = elements.add_control(FACE_JAW_PLACEMENT, parent if parent is not None else unreal.RigElementKey(), settings,
                                     face_identity_euler_value(False))
    if is_empty_key(temporary):
        return None
    face_scale = compute_ctrl_box_attach_scale(hierarchy, build.rig_meta)
    if not face_place_exported_control(control_rig, FACE_JAW_PLACEMENT, placement, (1.0, 1.0, 1.0), face_scale,
                                       face_on_face_shape_scale(placement, face_scale)):
        elements.remove_element(temporary)
        return None
    pivot = hierarchy.get_global_transform(temporary, True)
    if follow is not None:
        for initial in (True, False):
            hierarchy.set_global_transform(follow, pivot, initial, False)
    elements.remove_element(temporary)
    key = elements.add_null(FACE_JAW, parent if parent is not None else unreal.RigElementKey(), pivot, True)
    return None if is_empty_key(key) else key


def face_add_jaw_pull_control(build, control_rig, elements):
    """The jaw's animator control, zeroed below the jaw pivot; returns how many controls were made."""
    jaw = elements.find(FACE_JAW, "null")
    if jaw is None:
        print(FACE_JAW_PULL_FALLBACK_TEXT)
    placement = face_jaw_pull_placement_data(build.face_json_data)
    made = face_add_simple_on_face_controls(build, control_rig, elements, [FACE_JAW_PULL], FACE_YELLOW[:3], half_circle=True,
                                            parent_override=jaw if jaw is not None else face_on_face_parent_key(elements, build.rig_meta),
                                            entries={FACE_JAW_PULL: placement} if placement else None)
    if jaw is not None:
        face_register_follow(build, FACE_JAW_PULL, FACE_CHIN_FOLLOW_BONE, FACE_JAW_FOLLOW, True)
    return made
