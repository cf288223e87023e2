"""Face rig build: the set-driven-key rows of the Face rig JSON turned into the data asset's driver
records. A driver is a face control's channel; each of its driven rows moves a bone channel along a key
curve. Files of the Maya-native schema (version 2 or more, "coordinateSystem"."source" "Maya") carry
Maya's axes and are converted here; older files are already in the engine's conventions."""

import copy
import math

import unreal

from _vantorel_tool import face_types
from _vantorel_tool.body_json import body_json_float, body_json_int, body_json_text
from _vantorel_tool.names import norm


FACE_JAW_PIVOT_CONTROL = "Jaw_M"
FACE_TONGUE_ROOT_BONE = "Tongue0Joint_M"
FACE_EYE_JOINTS = {"EyeJoint_R": "SDKEye_R", "EyeJoint_L": "SDKEye_L"}
FACE_MAYA_SOURCE = "maya"

FACE_UNKNOWN_CHANNEL_TEXT = "Unknown or unsupported channel: "
FACE_CUSTOM_CHANNEL_SKIPPED_TEXT = "Skipping unsupported custom driver channel until plugin is rebuilt:"

# Channel texts (by their norm) and the enumeration member each names, in the enumeration's order.
FACE_CHANNEL_ALIASES = (
    (("translationx", "translatex", "tx"), "TranslationX"),
    (("translationy", "translatey", "ty"), "TranslationY"),
    (("translationz", "translatez", "tz"), "TranslationZ"),
    (("rotationx", "rotatex", "rx"), "RotationX"),
    (("rotationy", "rotatey", "ry"), "RotationY"),
    (("rotationz", "rotatez", "rz"), "RotationZ"),
    (("rotation",), "Rotation"),
    (("scalex", "sx"), "ScaleX"),
    (("scaley", "sy"), "ScaleY"),
    (("scalez", "sz"), "ScaleZ"),
    (("valuex",), "ValueX"),
    (("valuey",), "ValueY"),
    (("valuez",), "ValueZ"),
    (("valuefloat", "float"), "ValueFloat"),
)
# Without Value members in the enumeration the value channels fall back to translations.
FACE_VALUE_FALLBACKS = {"valuex": "TranslationX", "valuey": "TranslationY", "valuez": "TranslationZ",
                        "valuefloat": "TranslationX", "float": "TranslationX"}
FACE_DRIVER_AXES = {
    0: ("valuex", "translationx", "translatex", "tx"),
    1: ("valuey", "translationy", "translatey", "ty"),
    2: ("valuez", "translationz", "translatez", "tz"),
}


def face_is_maya_schema(data):
    """Whether the file uses the Maya-native schema: version 2 or more and a "Maya" coordinate source."""
    version = body_json_int(data.get("version"), 1) if isinstance(data, dict) else 1
    system = data.get("coordinateSystem") if isinstance(data, dict) else None
    return version >= 2 and isinstance(system, dict) and norm(system.get("source")) == FACE_MAYA_SOURCE


def face_enum_member(enum, member):
    """An enumeration member by its scripting name (upper case with underscores) or its own name."""
    if enum is None:
        return None
    snake = "".join("_" + c if c.isupper() and i else c for i, c in enumerate(member)).upper()
    for name in (snake, member):
        value = getattr(enum, name, None)
        if value is not None:
            return value
    return None


def face_channel(text):
    """The channel enumeration member a channel text names, or None for any other text."""
    key = norm(text)
    enum = face_types.ChannelEnum
    for aliases, member in FACE_CHANNEL_ALIASES:
        if key in aliases:
            value = face_enum_member(enum, member)
            if value is None and key in FACE_VALUE_FALLBACKS:
                value = face_enum_member(enum, FACE_VALUE_FALLBACKS[key])
            return value
    return None


def driver_axis(channel_text):
    """The slider axis a driver channel reads: 0, 1, 2, or None."""
    key = norm(channel_text)
    return next((axis for axis, names in FACE_DRIVER_AXES.items() if key in names), None)


def face_apply_mode(row):
    text = norm(row.get("mode", row.get("applyMode", "Additive")))
    return face_enum_member(face_types.ApplyModeEnum, "Absolute" if text in ("absolute", "set") else "Additive")


def face_transform_space(row):
    text = norm(row.get("space", row.get("transformSpace", "Local")))
    return face_enum_member(face_types.TransformSpaceEnum, "World" if text in ("world", "worldspace") else "Local")


def face_import_driven_data(row, maya_schema):
    """A copy of a driven row in the engine's conventions: eye rows drive the eye SDK nulls; under the
    Maya-native schema world translations swap Y and Z, a local Y translation flips its multiplier and
    Y and Z turns flip their keys."""
    row = copy.deepcopy(row)
    bone = body_json_text(row.get("bone"))
    if bone in FACE_EYE_JOINTS:
        row["bone"] = FACE_EYE_JOINTS[bone]
    if not maya_schema:
        return row
    channel = norm(row.get("channel"))
    space = norm(row.get("space", row.get("transformSpace", "")))
    if space == "world" and channel in ("translationx", "translationy", "translationz", "translatex", "translatey", "translatez",
                                        "tx", "ty", "tz"):
        axis = channel[-1]
        row["channel"] = {"x": "Translation.X", "y": "Translation.Z", "z": "Translation.Y"}[axis]
        return row
    # Every spelling of a channel is the same channel: "ty" flips as "translation.y" does. The mesh's
    # bones carry their joints' frames as the FBX import converts them (each axis as a point converts,
    # the Y axis negated), so a joint's Y translation is the opposite one along the bone's Y, and a
    # turn about the joint's X or Z axis is the opposite turn about the bone's. The solver turns by
    # the engine's rotator angles (roll about X and pitch about Y turn the other way round, yaw about
    # Z does not), so the keys of Y and Z turns change sign and those of X turns keep it.
    if channel in ("translationy", "translatey", "ty"):
        row["multiplier"] = -body_json_float(row.get("multiplier"), 1.0)
    if channel in ("rotationy", "rotatey", "ry", "rotationz", "rotatez", "rz"):
        for key in row.get("keys") or []:
            if isinstance(key, dict):
                key["y"] = -body_json_float(key.get("y"), 0.0)
    return row


def face_is_quaternion_row(row):
    return (norm(row.get("channel")) == "rotation" and norm(row.get("representation")) == "quaternion"
            and norm(row.get("composition")) == "restthendelta")


def face_quaternion_values(row):
    """(x, four numbers) of each key whose "value" is a list of four numbers."""
    values = []
    for key in row.get("keys") or []:
        value = key.get("value") if isinstance(key, dict) else None
        if isinstance(value, list) and len(value) == 4 and all(isinstance(v, (int, float)) and not isinstance(v, bool) for v in value):
            values.append((body_json_float(key.get("x"), 0.0), [float(v) for v in value]))
    return values


def face_set(record, name, value):
    """Sets a record field when the record type has it; a missing field is passed over."""
    if value is None:
        return False
    try:
        record.set_editor_property(name, value)
        return True
    except Exception:
        return False


def face_scalar_key(x, y):
    key = face_types.KeyStruct()
    face_set(key, "x", float(x))
    face_set(key, "y", float(y))
    return key


def face_driven_record(row, maya_schema):
    """The driven record of one (adjusted) driven row. Raises on a channel the rig does not know."""
    record = face_types.DrivenStruct()
    face_set(record, "bone_name", body_json_text(row.get("bone")))
    channel_text = body_json_text(row.get("channel"))
    channel = face_channel(channel_text)
    if channel is None:
        raise RuntimeError(FACE_UNKNOWN_CHANNEL_TEXT + channel_text)
    face_set(record, "multiplier", body_json_float(row.get("multiplier"), 1.0))
    face_set(record, "apply_mode", face_apply_mode(row))
    face_set(record, "transform_space", face_transform_space(row))
    if face_is_quaternion_row(row):
        if maya_schema and body_json_text(row.get("bone")) == FACE_TONGUE_ROOT_BONE:
            # The tongue root turns about one axis: its keys become angles about Z.
            channel = face_enum_member(face_types.ChannelEnum, "RotationZ")
            keys = [face_scalar_key(x, math.degrees(2.0 * math.atan2(value[0], value[3]))) for x, value in face_quaternion_values(row)]
            face_set(record, "keys", keys)
        else:
            keys = []
            for x, value in face_quaternion_values(row):
                key = face_types.QuaternionKeyStruct()
                face_set(key, "x", x)
                # A joint's turn as the bone's: about X and Z the other way round, about Y the same.
                sign = -1.0 if maya_schema else 1.0
                face_set(key, "value", unreal.Quat(sign * value[0], value[1], sign * value[2], value[3]))
                keys.append(key)
            face_set(record, "quaternion_rotation", True)
            face_set(record, "quaternion_keys", keys)
    else:
        keys = [face_scalar_key(body_json_float(key.get("x"), 0.0), body_json_float(key.get("y"), 0.0))
                for key in row.get("keys") or [] if isinstance(key, dict)]
        face_set(record, "keys", keys)
    face_set(record, "channel", channel)
    return record


def face_driver_record(row, maya_schema):
    """The driver record of one driver row, or None when its custom channel cannot be stored."""
    record = face_types.DriverStruct()
    face_set(record, "control_name", body_json_text(row.get("control")))
    channel_text = body_json_text(row.get("channel"))
    channel = face_channel(channel_text)
    if channel is None:
        face_set(record, "channel", face_enum_member(face_types.ChannelEnum, "ValueFloat"))
        if not face_set(record, "custom_channel_name", channel_text):
            print(FACE_CUSTOM_CHANNEL_SKIPPED_TEXT, channel_text)
            return None
    else:
        face_set(record, "channel", channel)
    driven = [face_driven_record(face_import_driven_data(entry, maya_schema), maya_schema)
              for entry in row.get("driven") or [] if isinstance(entry, dict)]
    face_set(record, "driven", driven)
    return record


def face_source_drivers(data):
    """The file's driver rows, without those of the jaw pivot (its animator inputs come from the jaw
    pull's adapter)."""
    return [row for row in data.get("drivers") or []
            if isinstance(row, dict) and body_json_text(row.get("control")) != FACE_JAW_PIVOT_CONTROL]
