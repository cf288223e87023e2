"""Body controls: creation, placement, shapes and the clean controller hierarchy. Every animator
control is placed from the Maya data through its initial offset, so it rests at identity; no animator
control is ever parented to a bone, and every helper null is made at the initial global transform of
what it stands in for, so inserting it leaves the rest pose unchanged."""

import math

import unreal

from _vantorel_tool import log
from _vantorel_tool.body.bones import body_rig_is_bone_key
from _vantorel_tool.body.common import BODY_RIG_MAIN_NAME, body_rig_controls_by_name, body_rig_kind, body_rig_safe_name
from _vantorel_tool.body.planning import (
    BODY_RIG_DEFAULT_COLOR, BODY_RIG_IK_LOCAL_PREFIX, BODY_RIG_ROOT_JOINT, body_rig_fkik_result_parent_name,
)
from _vantorel_tool.body.setup import body_rig_element_name, body_rig_helpers_group_key
from _vantorel_tool.body_json import (
    BODY_JSON_IK_LOCAL_LOCAL_ORIENT, BODY_JSON_IK_LOCAL_NON_ZERO, body_json_bool, body_json_fit_attribute,
    body_json_float, body_json_int, body_json_number, body_json_vector,
)
from _vantorel_tool.names import error_text
from _vantorel_tool.rig_elements import is_empty_key


BODY_RIG_MOTION_SYSTEM_NAME = "MotionSystem"
BODY_RIG_FK_SYSTEM_NAME = "FKSystem"
BODY_RIG_HIP_SWINGER_KIND = "HipSwinger"
BODY_RIG_HIP_SWINGER_NAME = "HipSwinger_M"
BODY_RIG_HIP_SWINGER_OFFSET_NAME = "HipSwingerOffset_M"
BODY_RIG_ROOT_MOTION_CONTROL = "FKRootMotion_M"
BODY_RIG_POLE_SPACE_SUFFIX = "_Space"
BODY_RIG_DEFAULT_GIZMO = "Default"


BODY_RIG_SCALED_SHAPE_KINDS = ("Main", "FKIK", "IKPole", "SplineIK")
BODY_RIG_FOOT_PLACED_KINDS = ("ReverseFoot", "ReverseFootToe")
BODY_RIG_POSITION_PLACED_KINDS = BODY_RIG_FOOT_PLACED_KINDS + ("FKIK", BODY_RIG_HIP_SWINGER_KIND)
BODY_RIG_LOCAL_CUSTOM_SHAPE_KINDS = ("FK", BODY_RIG_HIP_SWINGER_KIND, "DrivingSystem")
BODY_RIG_MIN_DIAMETER = 0.01
BODY_RIG_SHAPE_SIZE_FACTOR = 0.1
BODY_RIG_FK_DEPTH_FACTOR = 2.5

BODY_RIG_MOTION_SYSTEM_FAILED_TEXT = "Could not create MotionSystem:"
BODY_RIG_MAIN_PARENT_FAILED_TEXT = "Could not parent Main to MotionSystem:"
BODY_RIG_RESULT_PARENTS_TEXT = "Created clean FK result parent spaces:"
BODY_RIG_RESULT_PARENT_FAILED_TEXT = "Could not create FK result parent"
BODY_RIG_POLE_SPACE_FAILED_TEXT = "Could not create pole-vector parent space for"
BODY_RIG_CONTROL_NOT_ADDED_TEXT = "the hierarchy made no control"
BODY_RIG_NULL_NOT_ADDED_TEXT = "the hierarchy made no null"


# ---- small conversions ------------------------------------------------------------------------------

def body_rig_numbers(values, count=3):
    """The first count elements of a list as floats, or None when the list is shorter or one of them
    is not a number."""
    if not isinstance(values, (list, tuple)) or len(values) < count:
        return None
    numbers = [body_json_number(value) for value in values[:count]]
    return None if any(number is None for number in numbers) else numbers


def body_rig_rotator(triple):
    """A rotator from a rotation triple in the transform constructor's order (pitch, yaw, roll)."""
    pitch, yaw, roll = (float(value) for value in triple)
    return unreal.Rotator(roll=roll, pitch=pitch, yaw=yaw)


def body_rig_transform(location=(0.0, 0.0, 0.0), rotation=(0.0, 0.0, 0.0), scale=(1.0, 1.0, 1.0)):
    return unreal.Transform(location=unreal.Vector(*[float(v) for v in location]), rotation=body_rig_rotator(rotation),
                            scale=unreal.Vector(*[float(v) for v in scale]))


def body_rig_maya_location(position, import_scale=1.0):
    """A Maya world position (x, y, z) as an Unreal location (x, z, y), scaled."""
    return (position[0] * import_scale, position[2] * import_scale, position[1] * import_scale)


def body_rig_maya_rotation(rotation):
    """A Maya world rotation (rx, ry, rz) as the rotation triple (rx, rz, -ry)."""
    return (rotation[0], rotation[2], -rotation[1])


def body_rig_vector_tuple(vector):
    return (float(vector.x), float(vector.y), float(vector.z))


def body_rig_transform_parts(transform):
    """(location, rotation triple, scale) of a transform."""
    rotator = transform.rotation.rotator()
    return (body_rig_vector_tuple(transform.translation), (float(rotator.pitch), float(rotator.yaw), float(rotator.roll)),
            body_rig_vector_tuple(transform.scale3d))


def body_rig_matrix_rotation(x_axis, y_axis, z_axis):
    """The rotation triple of an orthonormal basis (the engine's matrix-to-rotator rule)."""
    pitch = math.atan2(x_axis[2], math.sqrt(x_axis[0] ** 2 + x_axis[1] ** 2))
    yaw = math.atan2(x_axis[1], x_axis[0])
    sy_axis = (-math.sin(yaw), math.cos(yaw), 0.0)
    roll = math.atan2(sum(a * b for a, b in zip(z_axis, sy_axis)), sum(a * b for a, b in zip(y_axis, sy_axis)))
    return (math.degrees(pitch), math.degrees(yaw), math.degrees(roll))


def body_rig_maya_matrix_transform(values, import_scale=1.0):
    """A Maya row-vector world matrix (16 numbers) as (location, rotation triple, scale) in Unreal
    axes: the second and third rows and columns swap, the first three columns of every row take the
    import scale, and the basis gives the rotation and scale (a mirrored basis mirrors X)."""
    rows = [list(values[row * 4:row * 4 + 4]) for row in range(4)]
    rows[1], rows[2] = rows[2], rows[1]
    for row in rows:
        row[1], row[2] = row[2], row[1]
        for column in range(3):
            row[column] *= import_scale
    axes = [row[:3] for row in rows[:3]]
    scale = [math.sqrt(sum(value * value for value in axis)) for axis in axes]
    determinant = (axes[0][0] * (axes[1][1] * axes[2][2] - axes[1][2] * axes[2][1])
                   - axes[0][1] * (axes[1][0] * axes[2][2] - axes[1][2] * axes[2][0])
                   + axes[0][2] * (axes[1][0] * axes[2][1] - axes[1][1] * axes[2][0]))
    if determinant < 0:
        scale[0] = -scale[0]
    unit = [[value / scale[index] if scale[index] else 0.0 for value in axis] for index, axis in enumerate(axes)]
    return (tuple(rows[3][:3]), body_rig_matrix_rotation(*unit), tuple(scale))


def body_rig_control_color(data):
    """The shape colour of a record: its "color" read by the vector rule (missing numbers are zero, a
    value that is no number reads as zero), red when there is no list; alpha is always 1."""
    red, green, blue = body_json_vector(data.get("color"), BODY_RIG_DEFAULT_COLOR)
    return unreal.LinearColor(r=red, g=green, b=blue, a=1.0)


def body_rig_gizmo_name(data):
    """The stock shape of a record: its "gizmo" text, or the name an object gizmo carries."""
    gizmo = data.get("gizmo")
    if isinstance(gizmo, str):
        return gizmo or BODY_RIG_DEFAULT_GIZMO
    if isinstance(gizmo, dict):
        for key in ("name", "gizmo", "shape"):
            if isinstance(gizmo.get(key), str) and gizmo.get(key):
                return gizmo[key]
    return BODY_RIG_DEFAULT_GIZMO


def body_rig_is_local_orient(data, ik_local_type=None):
    """Whether a control (its record, and its local IK mode) keeps its local orientation: local IK
    controls, localOrient limbs and the local IK toe of a reverse foot."""
    kind = body_rig_kind(data)
    return (kind == "IKLocal" or ik_local_type == BODY_JSON_IK_LOCAL_LOCAL_ORIENT
            or (kind == "ReverseFootToe" and str(data.get("name") or "").startswith(BODY_RIG_IK_LOCAL_PREFIX)))


def body_rig_is_hip_swinger(data):
    return body_rig_kind(data) == BODY_RIG_HIP_SWINGER_KIND or str(data.get("name") or "") == BODY_RIG_HIP_SWINGER_NAME


def body_rig_hip_swinger_root_name(data):
    """The FK root control a hip swinger hangs from: "FK" + its joint (default "Root_M")."""
    joint = str(data.get("joint") or "") or BODY_RIG_ROOT_JOINT
    return joint if joint.startswith("FK") else "FK" + joint


# ---- hierarchy operations -------------------------------------------------------------------------------

def body_rig_add_null(elements, name, parent, transform, in_global=True):
    """Adds a null; raises when the hierarchy refuses it."""
    key = elements.add_null(name, parent if parent is not None else unreal.RigElementKey(), transform, in_global)
    if is_empty_key(key):
        raise RuntimeError(BODY_RIG_NULL_NOT_ADDED_TEXT)
    return key


def body_rig_ensure_null(elements, name, parent, transform=None):
    """The null called name, made under parent (top level for None) at the global transform when
    missing; returns (key, whether it was made)."""
    existing = elements.find(name, "null")
    if existing is not None:
        return existing, False
    return body_rig_add_null(elements, name, parent, transform if transform is not None else unreal.Transform(), True), True


def body_rig_set_offset(hierarchy, key, transform):
    """Sets the initial offset of a control, and its current offset with it."""
    hierarchy.set_control_offset_transform(key, transform, True, True)
    hierarchy.set_control_offset_transform(key, transform, False, True)


def body_rig_set_shape(hierarchy, key, transform):
    hierarchy.set_control_shape_transform(key, transform, True)
    hierarchy.set_control_shape_transform(key, transform, False)


def body_rig_set_values(hierarchy, key, euler_transform):
    value = unreal.RigHierarchy.make_control_value_from_euler_transform(euler_transform)
    for value_type in (unreal.RigControlValueType.INITIAL, unreal.RigControlValueType.CURRENT):
        hierarchy.set_control_value(key, value, value_type)


def body_rig_relative_to(hierarchy, transform, parent_key):
    """transform made relative to the parent's initial global transform (itself at the top level)."""
    if is_empty_key(parent_key):
        return transform
    return transform.make_relative(hierarchy.get_global_transform(parent_key, True))


def body_rig_bone_key(elements, joint_keys, joint):
    if not joint:
        return None
    key = joint_keys.get(joint) if joint_keys else None
    return key if key is not None else elements.find(joint, "bone")


# ---- creating a control -----------------------------------------------------------------------------

def body_rig_control_settings(data, custom_shape_name=""):
    settings = unreal.RigControlSettings()
    settings.control_type = unreal.RigControlType.EULER_TRANSFORM
    settings.shape_name = custom_shape_name or body_rig_gizmo_name(data)
    settings.shape_color = body_rig_control_color(data)
    return settings


def body_rig_make_control(elements, control, joint_keys, import_scale=1.0, control_rig=None):
    """Creates the animator control of a planned control under its parent, places it from the Maya
    data and gives it its shape; returns its key. A name that any element already has (a bone
    included) makes nothing and gives that element."""
    hierarchy = elements.hierarchy
    data = control.record
    name = control.name
    if not name:
        return None
    existing = elements.find(name)
    if existing is not None:
        return existing

    hip_swinger = body_rig_is_hip_swinger(data)
    parent_name = body_rig_hip_swinger_root_name(data) if hip_swinger else str(data.get("parent") or "")
    parent = elements.find(parent_name) if parent_name else None
    if parent is not None and body_rig_is_bone_key(parent):
        # Animator controls never hang from bones; the placement below still puts it at the bone.
        parent = None
    if parent is None and name != BODY_RIG_MAIN_NAME:
        parent = elements.find(BODY_RIG_MAIN_NAME, "control")

    settings = body_rig_control_settings(data, control.custom_shape_name)
    value = unreal.RigHierarchy.make_control_value_from_euler_transform(unreal.EulerTransform())
    key = None
    if parent is not None:
        try:
            key = elements.add_control(name, parent, settings, value)
        except Exception:
            key = None
    if is_empty_key(key):
        key = elements.add_control(name, unreal.RigElementKey(), settings, value)
        if is_empty_key(key):
            raise RuntimeError("%s: %s" % (BODY_RIG_CONTROL_NOT_ADDED_TEXT, name))
    if parent is not None:
        elements.set_parent(key, parent, False)

    try:
        body_rig_place_control(elements, key, parent, control, joint_keys, import_scale)
    except Exception:
        if hip_swinger:
            raise
    try:
        body_rig_set_shape(hierarchy, key, body_rig_control_shape_transform(data, import_scale, control))
    except Exception as error:
        log.warning("could not set the shape of %s: %s" % (key.name, error_text(error)))
    return key


def body_rig_place_control(elements, key, parent, control, joint_keys, import_scale):
    """Sets the control's initial offset by the first placement rule that applies to the planned
    control."""
    hierarchy = elements.hierarchy
    data = control.record
    kind = body_rig_kind(data)
    name = str(data.get("name") or "")
    position = body_rig_numbers(data.get("positionWorld"))
    joint = str(data.get("joint") or "")
    bone = body_rig_bone_key(elements, joint_keys, joint)
    local_toe = kind == "ReverseFootToe" and name.startswith(BODY_RIG_IK_LOCAL_PREFIX) and bone is not None

    if kind in BODY_RIG_POSITION_PLACED_KINDS and position and not local_toe:
        if kind == BODY_RIG_HIP_SWINGER_KIND:
            body_rig_place_hip_swinger(elements, key, parent, data, import_scale)
            return
        matrix = body_rig_numbers(data.get("worldMatrix"), 16)
        if kind in BODY_RIG_FOOT_PLACED_KINDS and matrix:
            location, rotation, _scale = body_rig_maya_matrix_transform(matrix, import_scale)
            offset = body_rig_relative_to(hierarchy, body_rig_transform(location, rotation), parent)
            location, rotation, _scale = body_rig_transform_parts(offset)
            body_rig_set_offset(hierarchy, key, body_rig_transform(location, rotation))
            return
        body_rig_place_at_position(hierarchy, key, parent, data, position, import_scale)
        return
    if kind == "SplineIK" and position:
        body_rig_place_at_position(hierarchy, key, parent, data, position, import_scale)
        return
    pole_position = body_rig_numbers(control.pole_position_world)
    if pole_position:
        world = body_rig_transform(body_rig_maya_location(pole_position, import_scale))
        body_rig_set_offset(hierarchy, key, body_rig_relative_to(hierarchy, world, parent))
        return
    if bone is not None and kind != "IKPole":
        relative = body_rig_relative_to(hierarchy, hierarchy.get_global_transform(bone, True), parent)
        if body_json_bool(data.get("worldSpace"), False) and not body_rig_is_local_orient(data, control.ik_local_type):
            location, rotation, scale = body_rig_transform_parts(relative)
            body_rig_set_offset(hierarchy, key, body_rig_transform(location, (0.0, 0.0, 0.0), scale))
            if kind == "IK" and control.ik_local_type == BODY_JSON_IK_LOCAL_NON_ZERO:
                # The control reads the joint's rotation at rest instead of zero.
                body_rig_set_values(hierarchy, key, unreal.EulerTransform(rotation=body_rig_rotator(rotation)))
        else:
            body_rig_set_offset(hierarchy, key, relative)


def body_rig_place_at_position(hierarchy, key, parent, data, position, import_scale):
    rotation = body_rig_numbers(data.get("rotationWorld")) or (0.0, 0.0, 0.0)
    world = body_rig_transform(body_rig_maya_location(position, import_scale), body_rig_maya_rotation(rotation))
    body_rig_set_offset(hierarchy, key, body_rig_relative_to(hierarchy, world, parent))


def body_rig_round(values, places=4):
    return tuple(round(float(value), places) for value in values)


def body_rig_place_hip_swinger(elements, key, parent, data, import_scale):
    """Hangs the hip swinger under its offset null below the FK root and places it at the Maya
    translation in the FK root's orientation, at the import scale."""
    hierarchy = elements.hierarchy
    root = elements.find(body_rig_hip_swinger_root_name(data), "control") or parent
    offset_null = elements.find(BODY_RIG_HIP_SWINGER_OFFSET_NAME, "null")
    root_global = hierarchy.get_global_transform(root, True) if root is not None else unreal.Transform()
    if offset_null is None:
        offset_null = body_rig_add_null(elements, BODY_RIG_HIP_SWINGER_OFFSET_NAME, root, root_global, True)
    elif root is not None:
        elements.set_parent(offset_null, root, False)
        hierarchy.set_local_transform(offset_null, unreal.Transform(), True, True)
    elements.set_parent(key, offset_null, False)
    hierarchy.set_local_transform(offset_null, unreal.Transform(), True, True)
    hierarchy.set_local_transform(offset_null, unreal.Transform(), False, True)

    matrix = body_rig_numbers(data.get("worldMatrix"), 16)
    translation = matrix[12:15] if matrix else body_rig_numbers(data.get("positionWorld"))
    location = body_rig_maya_location(translation, import_scale)
    _root_location, root_rotation, _root_scale = body_rig_transform_parts(root_global)
    world = body_rig_transform(location, root_rotation, (import_scale,) * 3)
    offset = world.make_relative(hierarchy.get_global_transform(offset_null, True))
    body_rig_set_offset(hierarchy, key, offset)
    print("HipSwinger: world loc=", body_rig_round(location))
    print("HipSwinger: parent", body_rig_element_name(offset_null), "ctrl local",
          body_rig_round(body_rig_vector_tuple(offset.translation)))


def body_rig_control_shape_transform(data, import_scale=1.0, plan=None):
    """The shape transform of a control (its record, and what planning gave it: local IK mode, custom
    shape, shape scale and rotation): its size from the diameter, its offset and its rotation in world
    or control axes, or the fixed transform of a custom shape."""
    kind = body_rig_kind(data)
    name = str(data.get("name") or "")
    local_orient = body_rig_is_local_orient(data, plan.ik_local_type if plan else None)
    if kind == BODY_RIG_HIP_SWINGER_KIND:
        scale = 1.0
    else:
        scale = import_scale if (kind in BODY_RIG_SCALED_SHAPE_KINDS or name == BODY_RIG_ROOT_MOTION_CONTROL) else 1.0
        if plan is not None and plan.shape_import_scale is not None:
            scale = float(plan.shape_import_scale)
    internal_rotation = body_rig_numbers(plan.internal_shape_rotation) if plan else None

    if plan is not None and plan.custom_shape_name:
        if kind in BODY_RIG_LOCAL_CUSTOM_SHAPE_KINDS or local_orient:
            return body_rig_transform((0.0, 0.0, 0.0), (0.0, 0.0, -90.0))
        return body_rig_transform((0.0, 0.0, 0.0), internal_rotation or (0.0, 0.0, 0.0), (scale,) * 3)

    diameter = max(body_json_float(data.get("diameter"), 1.0) * scale, BODY_RIG_MIN_DIAMETER)
    size = BODY_RIG_SHAPE_SIZE_FACTOR * diameter
    offset = [value * scale for value in body_json_vector(data.get("offset"))]
    world_axes = (body_json_bool(data.get("worldSpace"), False) and not local_orient
                  and kind != BODY_RIG_HIP_SWINGER_KIND)
    if world_axes:
        location, rotation = (offset[0], offset[2], offset[1]), (0.0, 0.0, 0.0)
    else:
        location, rotation = (offset[0], -offset[1], offset[2]), (90.0, 0.0, 0.0)
    if kind == "DrivingSystem" or name == BODY_RIG_ROOT_MOTION_CONTROL:
        rotation = (0.0, 0.0, 0.0)
    elif kind == "FKIK":
        rotation = (0.0, 0.0, 90.0)
        size *= 2.0
    override = body_rig_numbers(data.get("shapeRotationOverride"))
    if override:
        rotation = (override[1], override[2], override[0])
    if internal_rotation:
        rotation = tuple(internal_rotation)
    depth = BODY_RIG_FK_DEPTH_FACTOR * size if kind == "FK" and not world_axes else size
    return body_rig_transform(location, rotation, (size, size, depth))


# ---- Main, the motion root and the FK result parents ----------------------------------------------------

def body_rig_parent_main_to_motion_system(elements):
    """Puts "Main" under the "MotionSystem" root, keeping its global transform."""
    try:
        motion, _made = body_rig_ensure_null(elements, BODY_RIG_MOTION_SYSTEM_NAME, None)
    except Exception as error:
        print(BODY_RIG_MOTION_SYSTEM_FAILED_TEXT, error)
        return False
    main = elements.find(BODY_RIG_MAIN_NAME, "control")
    if main is None:
        return False
    try:
        return bool(elements.set_parent(main, motion, True))
    except Exception as error:
        print(BODY_RIG_MAIN_PARENT_FAILED_TEXT, error)
        return False


def body_rig_make_fkik_result_parent_spaces(elements, controls, joint_keys):
    """The "FKParentConstraintTo" nulls under "FKSystem" that carry each finished limb result for the
    FK branches that follow it; returns how many were made."""
    hierarchy = elements.hierarchy
    followers = [control for control in controls if control.follows_result_joint]
    if not followers:
        return 0
    motion, _made = body_rig_ensure_null(elements, BODY_RIG_MOTION_SYSTEM_NAME, None)
    fk_system, _made = body_rig_ensure_null(elements, BODY_RIG_FK_SYSTEM_NAME, motion)
    made = 0
    for control in followers:
        joint = control.follows_result_joint
        bone = body_rig_bone_key(elements, joint_keys, joint)
        name = body_rig_fkik_result_parent_name(joint)
        if bone is None or elements.find(name) is not None:
            continue
        try:
            body_rig_add_null(elements, name, fk_system, hierarchy.get_global_transform(bone, True), True)
            made += 1
        except Exception as error:
            print(BODY_RIG_RESULT_PARENT_FAILED_TEXT, name, error)
    print(BODY_RIG_RESULT_PARENTS_TEXT, made)
    return made


# ---- deferred parents -----------------------------------------------------------------------------------

BODY_RIG_SIDE_SUFFIXES = ("_M", "_L", "_R")


def body_rig_inbetween_part_controls(parent_record):
    """The part controls an inbetween chain distributes its parent's pose over: "FK" + stem + "Part"
    + i + side for i = 1..n; empty when the joint has no side suffix or no inbetween joints."""
    count = body_json_int(body_json_fit_attribute(parent_record, "inbetweenJoints", 0))
    joint = str(parent_record.get("joint") or "")
    side = joint[-2:]
    if count <= 0 or side not in BODY_RIG_SIDE_SUFFIXES:
        return []
    stem = joint[:-2]
    return ["FK%sPart%d%s" % (stem, index, side) for index in range(1, count + 1)]


def body_rig_resolved_control_parent_name(data, controls_by_name):
    """The parent a control ends up under once every control exists: the hip swinger's offset null,
    the last part control of an inbetween chain for an ordinary child of the chain's control, else the
    record's parent."""
    name, parent = str(data.get("name") or ""), str(data.get("parent") or "")
    if not name or not parent:
        return parent
    if body_rig_is_hip_swinger(data):
        return BODY_RIG_HIP_SWINGER_OFFSET_NAME
    parent_record = controls_by_name.get(parent)
    parts = body_rig_inbetween_part_controls(parent_record) if parent_record else []
    if parts and name not in parts and parts[-1] in controls_by_name:
        return parts[-1]
    return parent


def body_rig_repair_control_parents(elements, controls):
    """Moves each control under its resolved parent, keeping its global transform; never under a
    bone. Returns how many were re-parented."""
    by_name = body_rig_controls_by_name(controls)
    repaired = 0
    for control in controls:
        name = str(control.get("name") or "")
        if name == BODY_RIG_MAIN_NAME or not control.get("parent"):
            continue
        key = elements.find(name, "control")
        parent = elements.find(body_rig_resolved_control_parent_name(control, by_name))
        if key is None or parent is None or body_rig_is_bone_key(parent):
            continue
        try:
            if elements.set_parent(key, parent, True):
                repaired += 1
        except Exception as error:
            log.warning("could not parent %s under %s: %s" % (key.name, parent, error_text(error)))
    return repaired


# ---- pole parent space ----------------------------------------------------------------------------------

def body_rig_make_pole_parent_space(elements, pole_name):
    """Hangs an existing pole under its "_Space" null in "Helpers" (made at the pole when missing), so
    the graph can carry the pole with its limb; returns the space name or the empty text."""
    hierarchy = elements.hierarchy
    pole = elements.find(pole_name, "control") if pole_name else None
    if pole is None:
        return ""
    space_name = body_rig_safe_name(pole_name + BODY_RIG_POLE_SPACE_SUFFIX)
    try:
        helpers = body_rig_helpers_group_key(elements)
        space, _made = body_rig_ensure_null(elements, space_name, helpers,
                                            hierarchy.get_global_transform(pole, True))
        elements.set_parent(pole, space, True)
        return space_name
    except Exception as error:
        print(BODY_RIG_POLE_SPACE_FAILED_TEXT, pole_name, error)
        return ""
