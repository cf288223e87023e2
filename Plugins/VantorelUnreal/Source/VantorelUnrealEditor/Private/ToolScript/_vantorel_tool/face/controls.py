"""Face rig build: the control box beside the face, with one two-axis slider per Maya driver control
(and a float channel per custom attribute the drivers read), and the visibility switches that show or
hide groups of face controls."""

from typing import Dict, List

import unreal

from _vantorel_tool import face_types
from _vantorel_tool.body.fkik import body_rig_add_bool_channel, body_rig_add_float_channel
from _vantorel_tool.body_json import body_json_bool, body_json_float, body_json_text, body_json_vector
from _vantorel_tool.face.drivers import FACE_JAW_PIVOT_CONTROL, driver_axis, face_set
from _vantorel_tool.rig_elements import is_empty_key
from _vantorel_tool.names import norm


FACE_MOTION_SYSTEM = "FaceMotionSystem"
FACE_CTRL_BOX_ATTACH = "ctrlBoxAttach"
FACE_CTRL_BOX_OFFSET = "ctrlBoxOffset"
FACE_CTRL_BOX = "ctrlBox"
FACE_CTRL_BOX_COLOR = (1.0, 1.0, 0.0, 1.0)
CTRL_BOX_BBOX_SCALE_MULTIPLIER = 0.3
FACE_CTRL_BOX_DEFAULT_SHAPE_LOCATION = (0.0, -0.2, 0.0)
FACE_CTRL_BOX_DEFAULT_SHAPE_SCALE = (0.1, 0.22, 0.1)
FACE_CTRL_BOX_DEFAULT_LOCATION = (-10.0, 0.0, 1.0)
FACE_CTRL_BOX_DEFAULT_ROTATION = (0.0, 0.0, -90.0)
FACE_DRIVER_SHAPE_SCALE = 0.05
FACE_CUSTOM_CHANNEL_RANGE = (0.0, 10.0)
FACE_SLIDER_EXCLUDED = (FACE_JAW_PIVOT_CONTROL, "SmilePull_R", "SmilePull_L")
FACE_HANDLE_KINDS = ("directTransform", "sampledDriver", "driverAdapter", "driverAlias")
FACE_TRANSFORM_CHANNELS = (
    "translationx", "translationy", "translationz", "translatex", "translatey", "translatez", "tx", "ty", "tz",
    "rotationx", "rotationy", "rotationz", "rotatex", "rotatey", "rotatez", "rx", "ry", "rz",
    "scalex", "scaley", "scalez", "sx", "sy", "sz", "valuex", "valuey", "valuez",
    # The slider's own value: its driver record reads the slider, so a channel of that name would drive nothing.
    "valuefloat", "float",
)

FACE_CTRL_BOX_ROTATED_TEXT = ("Face v2 ctrlBox has non-zero Maya rotation; using its authored Euler values until a matrix "
                              "form is exported:")
FACE_VISIBILITY_MISSING_TEXT = "Face visibility group skipped; owner or attribute missing:"
FACE_VISIBILITY_EMPTY_TEXT = "Face visibility group skipped; no imported members:"
FACE_VISIBILITY_TYPE_TEXT = "Face visibility channel has incompatible type: "
FACE_VISIBILITY_GROUP_TEXT = "Face visibility group:"


def make_control_value(control_type, x=0.0, y=0.0, z=0.0):
    """A control value of control_type: two-axis from x and y, float from x, else a vector."""
    if control_type == unreal.RigControlType.VECTOR2D:
        return unreal.RigHierarchy.make_control_value_from_vector2d(unreal.Vector2D(float(x), float(y)))
    if control_type == unreal.RigControlType.FLOAT:
        return unreal.RigHierarchy.make_control_value_from_float(float(x))
    return unreal.RigHierarchy.make_control_value_from_vector(unreal.Vector(float(x), float(y), float(z)))


def face_vector(values, default):
    return body_json_vector(values, list(default)) if isinstance(values, (list, tuple)) else list(default)


def face_rotator(triple):
    """A rotator from (x, y, z) Euler degrees: roll about X, pitch about Y, yaw about Z."""
    return unreal.Rotator(roll=triple[0], pitch=triple[1], yaw=triple[2])


def face_control_box_offset(rig_meta, maya_schema):
    """The control box's offset (location, rotation triple) from the rig block."""
    location = face_vector(rig_meta.get("ctrlBoxOffsetWorldLocation"), FACE_CTRL_BOX_DEFAULT_LOCATION)
    rotation = face_vector(rig_meta.get("ctrlBoxOffsetWorldRotation"), FACE_CTRL_BOX_DEFAULT_ROTATION)
    if maya_schema:
        location = [location[0], location[2], location[1]]
        if all(abs(value) < 0.0001 for value in rotation):
            rotation = list(FACE_CTRL_BOX_DEFAULT_ROTATION)
        else:
            print(FACE_CTRL_BOX_ROTATED_TEXT, rotation)
    return location, rotation


def face_ensure_null(elements, name, parent, local):
    existing = elements.find(name, "null")
    if existing is not None:
        return existing
    key = elements.add_null(name, parent if parent is not None else unreal.RigElementKey(), local, False)
    return None if is_empty_key(key) else key


def face_slider_settings(shape_name, limited):
    settings = unreal.RigControlSettings()
    settings.animation_type = unreal.RigControlAnimationType.ANIMATION_CONTROL
    settings.control_type = unreal.RigControlType.VECTOR2D
    settings.primary_axis = unreal.RigControlAxis.Z
    settings.shape_name = shape_name
    settings.shape_color = unreal.LinearColor(*FACE_CTRL_BOX_COLOR)
    settings.shape_visible = True
    settings.draw_limits = True
    settings.limit_enabled = [unreal.RigControlLimitEnabled(limited, limited), unreal.RigControlLimitEnabled(limited, limited)]
    return settings


def face_set_limits(hierarchy, key, minimum, maximum):
    vector2d = unreal.RigControlType.VECTOR2D
    hierarchy.set_control_value(key, make_control_value(vector2d, *minimum), unreal.RigControlValueType.MINIMUM)
    hierarchy.set_control_value(key, make_control_value(vector2d, *maximum), unreal.RigControlValueType.MAXIMUM)
    for value_type in (unreal.RigControlValueType.INITIAL, unreal.RigControlValueType.CURRENT):
        hierarchy.set_control_value(key, make_control_value(vector2d, 0.0, 0.0), value_type)


def ensure_face_control_box(elements, rig_meta, maya_schema):
    """The control box under "FaceMotionSystem": its attach and offset nulls and the box control with
    its shape; returns the box's key (None when it could not be made)."""
    hierarchy = elements.hierarchy
    location, rotation = face_control_box_offset(rig_meta, maya_schema)
    shape_location = [value * CTRL_BOX_BBOX_SCALE_MULTIPLIER
                      for value in face_vector(rig_meta.get("ctrlBoxShapeLocation"), FACE_CTRL_BOX_DEFAULT_SHAPE_LOCATION)]
    shape_scale = [value * CTRL_BOX_BBOX_SCALE_MULTIPLIER
                   for value in face_vector(rig_meta.get("ctrlBoxShapeScale"), FACE_CTRL_BOX_DEFAULT_SHAPE_SCALE)]
    motion = face_ensure_null(elements, FACE_MOTION_SYSTEM, None, unreal.Transform())
    attach = face_ensure_null(elements, FACE_CTRL_BOX_ATTACH, motion, unreal.Transform())
    offset = face_ensure_null(elements, FACE_CTRL_BOX_OFFSET, attach,
                              unreal.Transform(location=unreal.Vector(*location), rotation=face_rotator(rotation)))
    box = elements.find(FACE_CTRL_BOX, "control")
    if box is None:
        settings = face_slider_settings("Square_Thick", False)
        box = elements.add_control(FACE_CTRL_BOX, offset, settings, make_control_value(unreal.RigControlType.VECTOR2D))
        if is_empty_key(box):
            return None
        face_set_limits(hierarchy, box, (0.0, 0.0), (0.0, 0.0))
    hierarchy.set_control_shape_transform(
        box, unreal.Transform(location=unreal.Vector(*shape_location), scale=unreal.Vector(*shape_scale)), True)
    return box


def face_handle_controls(data):
    """The on-face controls that are real transform handles, never sliders."""
    return {body_json_text(control.get("name")) for control in data.get("controls") or []
            if isinstance(control, dict) and body_json_text(control.get("type")) == "OnFace"
            and body_json_text(control.get("kind")) in FACE_HANDLE_KINDS}


def face_driver_limits(rows):
    """(minimum, maximum) of a slider from its rows: (-1, -1)..(1, 1), each X or Y row setting its axis
    from "mayaDriverMin" and "mayaDriverMax"; later rows win."""
    minimum, maximum = [-1.0, -1.0], [1.0, 1.0]
    for row in rows:
        axis = driver_axis(row.get("channel"))
        if axis in (0, 1):
            if "mayaDriverMin" in row:
                minimum[axis] = body_json_float(row.get("mayaDriverMin"), minimum[axis])
            if "mayaDriverMax" in row:
                maximum[axis] = body_json_float(row.get("mayaDriverMax"), maximum[axis])
    return minimum, maximum


def face_custom_channels(rows) -> Dict[str, tuple]:
    """The custom channels of one slider's rows (channel text -> (minimum, maximum)), in first-seen
    order; a later row of the same channel wins."""
    channels: Dict[str, tuple] = {}
    for row in rows:
        text = body_json_text(row.get("channel"))
        if text and norm(text) not in FACE_TRANSFORM_CHANNELS:
            channels[text] = (body_json_float(row.get("mayaDriverMin"), FACE_CUSTOM_CHANNEL_RANGE[0]),
                              body_json_float(row.get("mayaDriverMax"), FACE_CUSTOM_CHANNEL_RANGE[1]))
    return channels


def ensure_driver_controls(elements, drivers_data, data, rig_meta, maya_schema) -> List[str]:
    """One two-axis slider under the control box per driver control of the rows (not the jaw pivot,
    the smile pulls or the on-face handles), with its limits, offset and custom channels. Returns the
    sliders' names. A step that fails is passed over."""
    hierarchy = elements.hierarchy
    box = ensure_face_control_box(elements, rig_meta, maya_schema)
    excluded = set(FACE_SLIDER_EXCLUDED) | face_handle_controls(data)
    rows_by_control: Dict[str, list] = {}
    for row in drivers_data:
        name = body_json_text(row.get("control"))
        if name and name not in excluded:
            rows_by_control.setdefault(name, []).append(row)
    for name, rows in rows_by_control.items():
        first = rows[0]
        minimum, maximum = face_driver_limits(rows)
        key = elements.find(name, "control")
        try:
            if key is None:
                key = elements.add_control(name, box if box is not None else unreal.RigElementKey(),
                                           face_slider_settings("Circle_Solid", True),
                                           make_control_value(unreal.RigControlType.VECTOR2D))
            if is_empty_key(key):
                continue
            face_set_limits(hierarchy, key, minimum, maximum)
            hierarchy.set_control_shape_transform(key, unreal.Transform(scale=unreal.Vector(*(FACE_DRIVER_SHAPE_SCALE,) * 3)), True)
            offset = unreal.Transform(location=unreal.Vector(*face_vector(first.get("controlOffsetLocation"), (0.0, 0.0, 0.0))),
                                      scale=unreal.Vector(*face_vector(first.get("controlOffsetScale"), (1.0, 1.0, 1.0))))
            hierarchy.set_control_offset_transform(key, offset, True, True)
        except Exception as error:
            print("Face driver control skipped:", name, error)
            continue
        for channel, (low, high) in face_custom_channels(rows).items():
            try:
                if elements.find(channel, "control") is None:
                    body_rig_add_float_channel(elements, key, channel, channel, 0.0, low, high)
            except Exception as error:
                print("Face custom channel skipped:", name, channel, error)
    return list(rows_by_control)


def face_create_visibility_groups(elements, data):
    """A boolean switch on its owner control per visibility group with members in the rig; returns
    the group records (an empty list without the record type)."""
    if face_types.VisibilityGroupStruct is None:
        return []
    hierarchy = elements.hierarchy
    records = []
    for group in data.get("visibilityGroups") or []:
        if not isinstance(group, dict):
            continue
        owner, attribute = body_json_text(group.get("control")), body_json_text(group.get("attribute"))
        owner_key = elements.find(owner, "control") if owner else None
        if not attribute or owner_key is None:
            print(FACE_VISIBILITY_MISSING_TEXT, owner, attribute)
            continue
        name = owner + "_" + attribute
        default = body_json_bool(group.get("default"), True)
        members = [member for member in (body_json_text(m) for m in group.get("members") or [])
                   if member and elements.find(member, "control") is not None]
        if not members:
            print(FACE_VISIBILITY_EMPTY_TEXT, owner + "." + attribute)
            continue
        existing = elements.find(name, "control")
        if existing is not None:
            if elements.controller.get_control_settings(existing).control_type != unreal.RigControlType.BOOL:
                raise RuntimeError(FACE_VISIBILITY_TYPE_TEXT + name)
        else:
            switch = body_rig_add_bool_channel(elements, owner_key, name, attribute, default)
            settings = elements.controller.get_control_settings(switch)
            settings.shape_visible = False
            elements.controller.set_control_settings(switch, settings)
            for value_type in (unreal.RigControlValueType.INITIAL, unreal.RigControlValueType.CURRENT):
                hierarchy.set_control_value(switch, unreal.RigHierarchy.make_control_value_from_bool(default), value_type)
        record = face_types.VisibilityGroupStruct()
        face_set(record, "switch_control_name", name)
        face_set(record, "default_visible", default)
        face_set(record, "members", members)
        records.append(record)
        print(FACE_VISIBILITY_GROUP_TEXT, owner + "." + attribute, "members=", len(members), "default=", default)
    return records
