"""Face rig build: the on-face controls, the handles that sit on the face (lips, cheeks, brows). Each is
an Euler-transform control placed from its Maya data by the native placement, usually under a follow
null that the face solver keeps on its deform joint. Driver adapters reuse other drivers' curves
through extra driver rows, and direct-transform handles move their joints through the data asset's
direct-control records."""

import copy
from typing import Dict, List, Optional

import unreal

from _vantorel_tool import face_types
from _vantorel_tool.body_json import body_json_float, body_json_number, body_json_text
from _vantorel_tool.face.controls import FACE_MOTION_SYSTEM
from _vantorel_tool.face.drivers import face_set
from _vantorel_tool.face.scale import compute_ctrl_box_attach_scale
from _vantorel_tool.names import error_text, norm
from _vantorel_tool.rig_elements import is_empty_key


FACE_ON_FACE_TYPE = "OnFace"
FACE_ON_FACE_GROUP = "OnFacecontrols"
FACE_FOLLOW_PREFIX = "OnFaceFollow_"
FACE_DIRECT_KIND = "directTransform"
FACE_SAMPLED_KIND = "sampledDriver"
FACE_ADAPTER_KINDS = ("driverAdapter", "driverAlias")
FACE_SUPPORTED_KINDS = (FACE_DIRECT_KIND, FACE_SAMPLED_KIND) + FACE_ADAPTER_KINDS
FACE_SPECIALISED_SAMPLED = ("Jaw_M", "SmilePull_R", "SmilePull_L", "upperLip_M", "lowerLip_M",
                            "upperLid_R", "upperLid_L", "lowerLid_R", "lowerLid_L")
FACE_EYE_CONTROLS = ("Eye_R", "Eye_L")
FACE_JAW_PULL = "JawPull_M"
FACE_ORIENTATION_REFERENCE = "ctrlMouth_M"
FACE_NATIVE_LIBRARY = "VNFaceSDKImportLibrary"
FACE_SHAPE = "Circle_Thick"
FACE_HALF_CIRCLE_SHAPE = "HalfCircle_Thick"
FACE_DEFAULT_DIAMETER = 0.05
FACE_MIN_SHAPE_SCALE = 0.006
FACE_ADAPTER_OPERATIONS = ("reuseDriver", "clampMin", "clampMax")
FACE_JAW_PULL_MAPPINGS = (
    {"source": "Value.X", "targetControl": "ctrlMouth_M", "targetChannel": "jawSide", "operation": "reuseDriver", "scale": 10.0},
    {"source": "Value.Y", "targetControl": "ctrlMouth_M", "targetChannel": "Value.Y", "operation": "reuseDriver", "scale": 1.0,
     "inputMin": -1.0, "inputMax": 0.0, "extrapolation": "constant"},
    {"source": "Value.Y", "targetControl": "ctrlLips_M", "targetChannel": "Value.Y", "operation": "reuseDriver", "scale": 1.0,
     "inputMin": 0.0, "inputMax": 1.0, "extrapolation": "constant"},
)
FACE_SOURCE_CHANNELS = {"tx": "Translation.X", "translationx": "Translation.X", "ty": "Translation.Y", "translationy": "Translation.Y",
                        "tz": "Translation.Z", "translationz": "Translation.Z", "valuex": "Value.X", "valuey": "Value.Y",
                        "valuez": "Value.Z"}

FACE_DIRECT_MISSING_TEXT = "OnFace directTransform skipped; target joint missing:"
FACE_SAMPLED_NO_FOLLOW_TEXT = "OnFace sampledDriver has no follow joint:"
FACE_FOLLOW_FAILED_TEXT = "Could not create on-face follow helper"
FACE_FOLLOW_FINISH_FAILED_TEXT = "Could not finalize on-face follow helper:"
FACE_PROXY_FAILED_TEXT = "Could not retain on-face proxy placement:"
FACE_ADAPTER_OPERATION_TEXT = "OnFace driverAdapter mapping skipped; unsupported operation:"
FACE_ADAPTER_INCOMPLETE_TEXT = "OnFace driverAdapter mapping skipped; incomplete mapping:"
FACE_ADAPTER_MISSING_TEXT = "OnFace driverAdapter mapping skipped; target driver missing:"


# ---- the JSON's on-face entries -------------------------------------------------------------------

def face_json_on_face_controls(data, kinds):
    """The on-face entries of the given kinds, in file order."""
    return [control for control in data.get("controls") or []
            if isinstance(control, dict) and body_json_text(control.get("type")) == FACE_ON_FACE_TYPE
            and body_json_text(control.get("name")) and body_json_text(control.get("kind")) in kinds]


def face_json_entry(data, name):
    """The first supported on-face entry of that name, or None."""
    return next((control for control in face_json_on_face_controls(data, FACE_SUPPORTED_KINDS)
                 if body_json_text(control.get("name")) == name), None)


def face_entry_of(data, name):
    """The first control entry of that name, of any type or kind, or None."""
    return next((c for c in data.get("controls") or [] if isinstance(c, dict) and body_json_text(c.get("name")) == name), None)


def face_direct_transform_joint_name(elements, control_name):
    """The deform joint of an on-face handle: the first candidate that is a bone, else empty."""
    candidates = []
    if control_name.endswith(("_L", "_R")):
        stem, side = control_name[:-2], control_name[-1]
        candidates += [stem + "Joint_" + side, stem + "_" + side + "Joint"]
    candidates += [control_name + "Joint", control_name]
    return next((name for name in candidates if elements.find(name, "bone") is not None), "")


def face_json_generic_sampled_driver_names(data):
    return [body_json_text(c.get("name")) for c in face_json_on_face_controls(data, (FACE_SAMPLED_KIND,))
            if body_json_text(c.get("name")) not in FACE_SPECIALISED_SAMPLED]


def face_follow_bones(elements, names, missing_text) -> Dict[str, str]:
    """Each name's deform joint; a name without one is printed after missing_text and left out."""
    follow = {}
    for name in names:
        joint = face_direct_transform_joint_name(elements, name)
        if joint:
            follow[name] = joint
        else:
            print(missing_text, name)
    return follow


def face_json_generic_sampled_driver_follow_bones(elements, data) -> Dict[str, str]:
    return face_follow_bones(elements, face_json_generic_sampled_driver_names(data), FACE_SAMPLED_NO_FOLLOW_TEXT)


def face_json_direct_transform_follow_bones(elements, data) -> Dict[str, str]:
    names = [body_json_text(control.get("name")) for control in face_json_on_face_controls(data, (FACE_DIRECT_KIND,))]
    return face_follow_bones(elements, names, FACE_DIRECT_MISSING_TEXT)


# ---- the on-face group, shapes and colours --------------------------------------------------------

def face_on_face_parent_key(elements, rig_meta):
    """The "OnFacecontrols" null under "FaceMotionSystem", scaled by the rig block's on-face scale."""
    values = rig_meta.get("onFaceControlsScale")
    scale = [abs(body_json_float(v, 1.0)) for v in (values if isinstance(values, list) and len(values) >= 3 else [1, 1, 1])[:3]]
    transform = unreal.Transform(scale=unreal.Vector(*scale))
    existing = elements.find(FACE_ON_FACE_GROUP, "null")
    if existing is not None:
        elements.hierarchy.set_local_transform(existing, transform, True, True)
        return existing
    parent = elements.find(FACE_MOTION_SYSTEM, "null")
    key = elements.add_null(FACE_ON_FACE_GROUP, parent if parent is not None else unreal.RigElementKey(), transform, True)
    return None if is_empty_key(key) else key


def face_on_face_shape_scale(entry, face_scale, fallback=FACE_DEFAULT_DIAMETER):
    diameter = body_json_number((entry or {}).get("diameter"))
    if diameter is None:
        diameter = fallback
    return max(FACE_MIN_SHAPE_SCALE, diameter * 0.1) * max(face_scale, 0.001)


def face_color_of(entry, fallback):
    values = (entry or {}).get("color")
    if not isinstance(values, list) or len(values) < 3:
        values = list(fallback)
    numbers = [body_json_float(v, 0.0) for v in values[:4]]
    return unreal.LinearColor(numbers[0], numbers[1], numbers[2], numbers[3] if len(numbers) > 3 else 1.0)


def face_apply_on_face_json_color(elements, key, entry, fallback_color, shape_name=None):
    try:
        settings = elements.controller.get_control_settings(key)
        settings.shape_color = face_color_of(entry, fallback_color)
        if shape_name:
            settings.shape_name = shape_name
        elements.controller.set_control_settings(key, settings)
    except Exception:  # a control whose settings the editor refuses keeps its first colour
        pass


def face_identity_euler_value(two_axis=False):
    if two_axis:
        return unreal.RigHierarchy.make_control_value_from_vector2d(unreal.Vector2D(0.0, 0.0))
    return unreal.RigHierarchy.make_control_value_from_euler_transform(unreal.EulerTransform())


def face_set_identity_values(hierarchy, key, two_axis=False):
    for value_type in (unreal.RigControlValueType.MINIMUM, unreal.RigControlValueType.MAXIMUM,
                       unreal.RigControlValueType.INITIAL, unreal.RigControlValueType.CURRENT):
        try:
            hierarchy.set_control_value(key, face_identity_euler_value(two_axis), value_type)
        except Exception:
            pass


# ---- placement and follow nulls -------------------------------------------------------------------

def face_vector_of(values):
    numbers = [body_json_float(v, 0.0) for v in (values if isinstance(values, list) else [])[:3]]
    return numbers + [0.0] * (3 - len(numbers))


def face_place_exported_control(control_rig, control_name, exported_control, control_scale, face_scale, shape_scale=None,
                                match_parent_orientation=False, flip_shape_x=False, scale_world_position=False):
    """Places a control from its Maya data through the native placement; returns whether it did."""
    library = getattr(unreal, FACE_NATIVE_LIBRARY, None)
    if library is None or not exported_control or "shapePositionWorld" not in exported_control:
        return False
    k = max(face_scale, 0.001)
    if shape_scale is None:
        shape_scale = 0.05 * k
    position = face_vector_of(exported_control.get("positionWorld"))
    shape = face_vector_of(exported_control.get("shapePositionWorld"))
    matrix = [body_json_float(v, 0.0) for v in exported_control.get("worldMatrix") or []]
    if scale_world_position:
        position, shape = [v * k for v in position], [v * k for v in shape]
        if len(matrix) >= 15:
            for index in (12, 13, 14):
                matrix[index] *= k
    else:
        shape = [p + (s - p) * k for p, s in zip(position, shape)]
    return bool(library.configure_on_face_control_from_maya_data(
        control_rig, control_name, unreal.Vector(*position), unreal.Vector(*face_vector_of(exported_control.get("rotationWorld"))),
        matrix, unreal.Vector(*shape), unreal.Vector(*control_scale), float(shape_scale), match_parent_orientation, flip_shape_x))


def face_create_follow_parent(elements, parent_key, follow_name):
    existing = elements.find(follow_name, "null")
    if existing is not None:
        return existing
    try:
        key = elements.add_null(follow_name, parent_key if parent_key is not None else unreal.RigElementKey(), unreal.Transform(), False)
        if is_empty_key(key):
            raise RuntimeError("the hierarchy made no null")
        return key
    except Exception as error:
        print(FACE_FOLLOW_FAILED_TEXT, follow_name, error_text(error))
        return None


def face_finish_follow_parent(elements, follow_key, control_key, orientation_reference="", force_positive_scale=False):
    """Moves the follow null onto the placed control and zeroes the control under it, its shape kept
    where it was authored. Returns whether it could."""
    hierarchy = elements.hierarchy
    try:
        placed = hierarchy.get_global_transform(control_key, True)
        shape = hierarchy.get_global_control_shape_transform(control_key, True)
        reference = elements.find(orientation_reference, "control") if orientation_reference else None
        if reference is not None:
            placed = unreal.Transform(location=placed.translation,
                                      rotation=hierarchy.get_global_control_shape_transform(reference, True).rotation.rotator(),
                                      scale=placed.scale3d)
        if force_positive_scale:
            scale = placed.scale3d
            placed = unreal.Transform(location=placed.translation, rotation=placed.rotation.rotator(),
                                      scale=unreal.Vector(abs(scale.x), abs(scale.y), abs(scale.z)))
        for initial in (True, False):
            hierarchy.set_global_transform(follow_key, placed, initial, True)
        for initial in (True, False):
            hierarchy.set_control_offset_transform(control_key, unreal.Transform(), initial, True)
        for initial in (True, False):
            hierarchy.set_global_transform(control_key, placed, initial, True)
        relative = shape.make_relative(placed)
        for initial in (True, False):
            hierarchy.set_control_shape_transform(control_key, relative, initial)
        return True
    except Exception as error:
        print(FACE_FOLLOW_FINISH_FAILED_TEXT, error_text(error))
        return False


def face_register_follow(build, control_name, bone_name, follow_name, follow_rotation=True):
    if not control_name or not bone_name or not follow_name:
        return
    pair = (control_name, bone_name, follow_name, bool(follow_rotation))
    if pair not in build.face_on_face_follow_pairs:
        build.face_on_face_follow_pairs.append(pair)


def face_euler_settings(two_axis, color):
    settings = unreal.RigControlSettings()
    settings.animation_type = unreal.RigControlAnimationType.ANIMATION_CONTROL
    settings.control_type = unreal.RigControlType.VECTOR2D if two_axis else unreal.RigControlType.EULER_TRANSFORM
    if two_axis:
        settings.primary_axis = unreal.RigControlAxis.Z
    settings.draw_limits = False
    settings.limit_enabled = [unreal.RigControlLimitEnabled(False, False) for _ in range(2 if two_axis else 9)]
    settings.minimum_value = face_identity_euler_value(two_axis)
    settings.maximum_value = face_identity_euler_value(two_axis)
    settings.shape_name = FACE_SHAPE
    settings.shape_visible = True
    settings.shape_color = color
    return settings


def face_add_simple_on_face_controls(build, control_rig, elements, control_names, default_color, half_circle=False,
                                     follow_bones=None, register_follow=True, follow_rotation=None, parent_override=None,
                                     entries=None, centre_line=None):
    """Makes, places and hangs each named on-face control (under its follow null when it follows a
    joint); returns the number of controls made. entries overrides the JSON entry of a name;
    centre_line (by default: half-circle controls, the lips) orients the follow null in the face plane
    with a positive scale."""
    centre_line = half_circle if centre_line is None else centre_line
    hierarchy = elements.hierarchy
    face_scale = compute_ctrl_box_attach_scale(hierarchy, build.rig_meta)
    group = face_on_face_parent_key(elements, build.rig_meta)
    follow_bones = follow_bones or {}
    made = 0
    for name in control_names:
        two_axis = name == FACE_JAW_PULL
        entry = (entries or {}).get(name) or face_json_entry(build.face_json_data, name)
        existing = elements.find(name, "control")
        if entry is None and existing is None:
            continue
        kept = None
        captured = None
        if existing is not None:
            settings = elements.controller.get_control_settings(existing)
            if settings.control_type == unreal.RigControlType.EULER_TRANSFORM:
                kept = existing
            else:
                captured = (hierarchy.get_global_transform(existing, True), hierarchy.get_global_control_shape_transform(existing, True))
        joint = follow_bones.get(name, "")
        follow = face_create_follow_parent(elements, group, FACE_FOLLOW_PREFIX + name) if joint else None
        parent = parent_override if parent_override is not None else (follow if follow is not None else group)
        key = kept
        if key is None:
            if existing is not None:
                elements.remove_element(existing)
            key = elements.add_control(name, parent if parent is not None else unreal.RigElementKey(),
                                       face_euler_settings(two_axis, face_color_of(entry, default_color)),
                                       face_identity_euler_value(two_axis))
            if is_empty_key(key):
                continue
            made += 1
        if entry is not None:
            face_place_exported_control(control_rig, name, entry, (1.0, 1.0, 1.0), face_scale,
                                        face_on_face_shape_scale(entry, face_scale), False,
                                        half_circle and name.startswith("upper"))
            if two_axis and parent_override is not None:
                for initial in (True, False):
                    hierarchy.set_control_offset_transform(key, unreal.Transform(), initial, True)
                face_set_identity_values(hierarchy, key, two_axis)
        elif captured is not None:
            try:
                for initial in (True, False):
                    hierarchy.set_global_transform(key, captured[0], initial, True)
                    hierarchy.set_control_shape_transform(key, captured[1].make_relative(captured[0]), initial)
            except Exception as error:
                print(FACE_PROXY_FAILED_TEXT, error_text(error))
        face_apply_on_face_json_color(elements, key, entry, default_color, FACE_HALF_CIRCLE_SHAPE if half_circle else None)
        if joint and follow is not None:
            face_finish_follow_parent(elements, follow, key, FACE_ORIENTATION_REFERENCE if centre_line else "", centre_line)
            if register_follow:
                face_register_follow(build, name, joint, FACE_FOLLOW_PREFIX + name,
                                     (not half_circle) if follow_rotation is None else follow_rotation)
        face_set_identity_values(hierarchy, key, two_axis)
    return made


# ---- driver adapters ------------------------------------------------------------------------------

def face_curve_value_at(keys, value):
    """The piecewise-linear curve through keys (by "x"), extended linearly past its ends."""
    points = sorted((body_json_float(k.get("x"), 0.0), body_json_float(k.get("y"), 0.0)) for k in keys if isinstance(k, dict))
    if not points:
        return 0.0
    if len(points) == 1:
        return points[0][1]
    segments = list(zip(points, points[1:]))
    chosen = next(((left, right) for left, right in segments if left[0] <= value <= right[0]), None)
    if chosen is None:
        chosen = segments[0] if value < points[0][0] else segments[-1]
    (lx, ly), (rx, ry) = chosen
    if rx - lx < 0.000001:
        return ry
    return ly + (ry - ly) * (value - lx) / (rx - lx)


def face_adapter_source_channel(source):
    channel = FACE_SOURCE_CHANNELS.get(norm(source), body_json_text(source))
    # An on-face adapter is a two-axis picker: its translations are stored as its values.
    return channel.replace("Translation.", "Value.") if channel.startswith("Translation.") else channel


def face_adapter_clamped_keys(keys, operation, bound, scale):
    points = sorted((body_json_float(k.get("x"), 0.0), body_json_float(k.get("y"), 0.0)) for k in keys if isinstance(k, dict))
    source_bound = bound / scale
    plateau = face_curve_value_at(keys, bound)
    if operation == "clampMax":
        result = [(x / scale, y) for x, y in points if x < bound] + [(source_bound, plateau)]
        first = result[0][0]
        span = max(1.0, abs(source_bound - first))
        result.append((source_bound + span, plateau))
    else:
        result = [(source_bound, plateau)] + [(x / scale, y) for x, y in points if x > bound]
        last = result[-1][0]
        span = max(1.0, abs(last - source_bound))
        result.insert(0, (source_bound - span, plateau))
    return [{"x": x, "y": y} for x, y in result]


def face_adapter_local_input_scale(entry_name, mapping, scale):
    if (entry_name == "jawMouth" and body_json_text(mapping.get("source")) == "tz"
            and body_json_text(mapping.get("targetControl")) == "ctrlMouth_M"
            and body_json_text(mapping.get("targetChannel")) == "jawForward"):
        return -abs(scale)
    return scale


def face_adapter_mappings(entry):
    mappings = entry.get("mappings")
    if isinstance(mappings, list) and mappings:
        return mappings
    return list(FACE_JAW_PULL_MAPPINGS) if body_json_text(entry.get("name")) == FACE_JAW_PULL else []


def face_driver_adapter_driver_data(drivers_data, data):
    """The extra driver rows of the adapter controls: each mapping's target rows copied under the
    adapter's name and channel, their curves rescaled (or clamped) to the adapter's input."""
    rows = []
    for entry in face_json_on_face_controls(data, FACE_ADAPTER_KINDS):
        for mapping in face_adapter_mappings(entry):
            if not isinstance(mapping, dict):
                continue
            operation = body_json_text(mapping.get("operation")) or "reuseDriver"
            if operation not in FACE_ADAPTER_OPERATIONS:
                print(FACE_ADAPTER_OPERATION_TEXT, operation)
                continue
            adapter = body_json_text(entry.get("adapter"))
            source = face_adapter_source_channel(mapping.get("source"))
            scale = body_json_number(mapping.get("scale"))
            scale = face_adapter_local_input_scale(adapter, mapping, 1.0 if scale is None else scale)
            target_control, target_channel = body_json_text(mapping.get("targetControl")), body_json_text(mapping.get("targetChannel"))
            if not adapter or not target_control or not target_channel or abs(scale) < 0.000001:
                print(FACE_ADAPTER_INCOMPLETE_TEXT, adapter)
                continue
            matches = [row for row in drivers_data
                       if body_json_text(row.get("control")) == target_control and body_json_text(row.get("channel")) == target_channel]
            if not matches:
                print(FACE_ADAPTER_MISSING_TEXT, adapter, target_control, target_channel)
                continue
            bound_key = "min" if operation == "clampMin" else "max"
            bound = body_json_float(mapping.get(bound_key), 0.0)
            for match in matches:
                copied = copy.deepcopy(match)
                copied["control"], copied["channel"] = adapter, source
                low = body_json_float(match.get("mayaDriverMin"), 0.0) / scale
                high = body_json_float(match.get("mayaDriverMax"), 0.0) / scale
                copied["mayaDriverMin"], copied["mayaDriverMax"] = min(low, high), max(low, high)
                for driven in copied.get("driven") or []:
                    if not isinstance(driven, dict):
                        continue
                    keys = driven.get("keys") or []
                    if operation == "reuseDriver":
                        new_keys = [dict(k, x=body_json_float(k.get("x"), 0.0) / scale) for k in keys if isinstance(k, dict)]
                    else:
                        new_keys = face_adapter_clamped_keys(keys, operation, bound, scale)
                    driven["keys"] = sorted(new_keys, key=lambda k: k["x"])
                rows.append(copied)
    return rows


# ---- direct controls ------------------------------------------------------------------------------

def face_json_direct_controls(follow_bones) -> Optional[List[object]]:
    """The direct-control records: each direct-transform handle with a joint (follow_bones, from
    face_json_direct_transform_follow_bones), but the eyes (they are the eye joints' parents already)."""
    if face_types.DirectControlStruct is None:
        return None
    records = []
    for name, joint in follow_bones.items():
        if name in FACE_EYE_CONTROLS:
            continue
        record = face_types.DirectControlStruct()
        face_set(record, "control_name", name)
        face_set(record, "bone_name", joint)
        face_set(record, "follow_null_name", "")
        records.append(record)
    return records
