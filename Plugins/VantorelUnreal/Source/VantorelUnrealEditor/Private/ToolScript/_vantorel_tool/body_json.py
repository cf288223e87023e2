"""Body rig JSON and Face rig JSON reading: the readers, their validation and the value coercion rules."""

import json
import math
import os
import re

from _vantorel_tool import state


# File kinds written by the Maya-side exporter under "exportType" (older files: "export_type").
BODY_JSON_EXPORT_TYPE_BODY = "VantorelBodyRig"
BODY_JSON_EXPORT_TYPE_FACE = "VantorelFaceRig"
BODY_JSON_KEY_EXPORT_TYPE = "exportType"
BODY_JSON_KEY_EXPORT_TYPE_ALT = "export_type"
BODY_JSON_KEY_VERSION = "vantorelVersion"
BODY_JSON_KEY_RIG = "rig"
BODY_JSON_KEY_DRIVERS = "drivers"
BODY_JSON_KEY_JOINTS = "joints"
BODY_JSON_KEY_CONTROLS = "controls"
BODY_JSON_KEY_VN_VERSION = "__vn_version"
BODY_JSON_UNKNOWN_VERSION = "Unknown"
# UTF-8, with or without the byte-order mark that common Windows editors write at the start.
BODY_JSON_ENCODING = "utf-8-sig"

# Record keys read by the attribute lookups.
BODY_JSON_KEY_NAME = "name"
BODY_JSON_KEY_VALUE = "value"
BODY_JSON_KEY_TYPE = "type"
BODY_JSON_KEY_JOINT = "joint"
BODY_JSON_KEY_IK = "ik"
BODY_JSON_KEY_END_JOINT = "endJoint"
BODY_JSON_KEY_CONTROL_ATTRIBUTES = "controlAttributes"
BODY_JSON_KEY_FIT_ATTRIBUTES = "fitAttributes"
BODY_JSON_KEY_FIT_JOINT_INFO = "fitJointInfo"
BODY_JSON_KEY_ATTRIBUTES = "attributes"
BODY_JSON_ATTRIBUTE_TWIST_JOINTS = "twistJoints"
BODY_JSON_ATTRIBUTE_IK_LOCAL = "ikLocal"
BODY_JSON_CONTROL_TYPE_FK = "FK"

# Messages of the Body rig JSON reader, in the order its checks run.
BODY_JSON_MESSAGE_NO_FILE = "Choose an existing Body JSON file first."
BODY_JSON_MESSAGE_WRONG_TYPE = "The selected Body JSON is marked as '{}'. Choose an Vantorel Body Rig JSON file."
BODY_JSON_MESSAGE_FACE_FILE = ("The selected Body JSON looks like a Face Rig JSON (it contains drivers). "
                               "Choose the *_BodyRig.json file.")
BODY_JSON_MESSAGE_NOT_BODY_RIG = ("Body JSON must contain rig.controls and rig.joints arrays. "
                                  "Choose the *_BodyRig.json file.")
BODY_JSON_MESSAGE_NO_JOINTS = "Body JSON contains no joints."

# Messages of the Face rig JSON reader, in the order its checks run.
FACE_JSON_MESSAGE_NO_FILE = "Choose an existing Face JSON file first."
FACE_JSON_MESSAGE_WRONG_TYPE = "The selected Face JSON is marked as '{}'. Choose an Vantorel Face Rig JSON file."
FACE_JSON_MESSAGE_BODY_FILE = ("The selected Face JSON looks like a Body Rig JSON (it contains controls and joints). "
                               "Choose the *_FaceRig.json file.")
FACE_JSON_MESSAGE_NO_DRIVERS = "Face JSON must contain a drivers array. Choose the *_FaceRig.json file."

# Python's parser accepts these words, which are not JSON; a NaN or infinite position would corrupt a rig.
BODY_JSON_MESSAGE_NON_STANDARD_CONSTANT = "Invalid JSON constant {}"

# Texts of the bool coercion, compared after trimming and lower-casing.
BODY_JSON_TRUE_TEXTS = ("true", "yes", "on", "1", "ik")
BODY_JSON_FALSE_TEXTS = ("false", "no", "off", "0", "fk")

# Local IK modes and their names (compared lower-cased, underscores removed).
BODY_JSON_IK_LOCAL_ADD_CTRL = 0
BODY_JSON_IK_LOCAL_NON_ZERO = 1
BODY_JSON_IK_LOCAL_LOCAL_ORIENT = 2
BODY_JSON_IK_LOCAL_NAMES = {
    "addctrl": BODY_JSON_IK_LOCAL_ADD_CTRL,
    "nonzero": BODY_JSON_IK_LOCAL_NON_ZERO,
    "localorient": BODY_JSON_IK_LOCAL_LOCAL_ORIENT,
}
BODY_JSON_IK_LOCAL_ABSENT_TEXTS = ("", "none", "null")
BODY_JSON_IK_LOCAL_MODES = (BODY_JSON_IK_LOCAL_ADD_CTRL, BODY_JSON_IK_LOCAL_NON_ZERO, BODY_JSON_IK_LOCAL_LOCAL_ORIENT)


# ---- reading and validation ---------------------------------------------------------------------

def body_json_path_is_file(path):
    """Whether path is a set path (text or path object, not empty) naming an existing file."""
    if not path or not isinstance(path, (str, os.PathLike)):
        return False
    try:
        return os.path.isfile(path)
    except (TypeError, ValueError):
        return False


def body_json_reject_constant(text):
    """A parse_constant hook for text: refuses NaN, Infinity and -Infinity with the parser's own error,
    pointing at the first such word outside a string (where the parser met it)."""
    def reject(constant):
        position = 0
        for match in re.finditer(r'"(?:[^"\\]|\\.)*"|' + re.escape(constant), text):
            if not match.group(0).startswith('"'):
                position = match.start()
                break
        raise json.JSONDecodeError(BODY_JSON_MESSAGE_NON_STANDARD_CONSTANT.format(constant), text, position)
    return reject


def body_json_load_file(path):
    """The parsed content of the UTF-8 JSON file at path; a leading byte-order mark is skipped, one
    anywhere else is an error. Decoding and parse errors propagate as the decoder and the JSON parser
    raise them."""
    with open(path, encoding=BODY_JSON_ENCODING) as source:
        text = source.read()
    return json.loads(text, parse_constant=body_json_reject_constant(text))


def body_json_text(value):
    """A JSON value as text: strings unchanged, null as the empty text, anything else as its JSON text."""
    if value is None:
        return ""
    if isinstance(value, str):
        return value
    try:
        return json.dumps(value)
    except (TypeError, ValueError):
        return str(value)


def json_export_type(data):
    """The file kind of a parsed top-level value: the trimmed "exportType" (else "export_type") text,
    empty for an unmarked file or a value that is not an object."""
    if not isinstance(data, dict):
        return ""
    value = data.get(BODY_JSON_KEY_EXPORT_TYPE)
    if value is None:
        value = data.get(BODY_JSON_KEY_EXPORT_TYPE_ALT)
    return body_json_text(value).strip()


def json_contains_body_rig(data):
    """Whether data is an object whose "rig" object holds a "controls" array and a "joints" array."""
    if not isinstance(data, dict):
        return False
    rig = data.get(BODY_JSON_KEY_RIG)
    return (isinstance(rig, dict) and isinstance(rig.get(BODY_JSON_KEY_CONTROLS), list)
            and isinstance(rig.get(BODY_JSON_KEY_JOINTS), list))


def json_contains_face_rig(data):
    """Whether data is an object with a top-level "drivers" array (how a Face rig JSON is recognised)."""
    return isinstance(data, dict) and isinstance(data.get(BODY_JSON_KEY_DRIVERS), list)


def validate_body_json(data):
    """Checks a parsed Body rig JSON top-level value and returns its "rig" object (not a copy).
    Raises RuntimeError with the message of the first check that fails."""
    export_type = json_export_type(data)
    if export_type and export_type != BODY_JSON_EXPORT_TYPE_BODY:
        raise RuntimeError(BODY_JSON_MESSAGE_WRONG_TYPE.format(export_type))
    is_body_rig = json_contains_body_rig(data)
    if json_contains_face_rig(data) and not is_body_rig:
        raise RuntimeError(BODY_JSON_MESSAGE_FACE_FILE)
    if not is_body_rig:
        raise RuntimeError(BODY_JSON_MESSAGE_NOT_BODY_RIG)
    rig = data[BODY_JSON_KEY_RIG]
    if not rig[BODY_JSON_KEY_JOINTS]:
        raise RuntimeError(BODY_JSON_MESSAGE_NO_JOINTS)
    return rig


def body_json_version_text(data):
    """The exporter version of a top-level object as text; "Unknown" when absent or null."""
    value = data.get(BODY_JSON_KEY_VERSION) if isinstance(data, dict) else None
    return BODY_JSON_UNKNOWN_VERSION if value is None else body_json_text(value)


def body_json_read():
    """Reads the file named by the tool state's Body JSON path and returns a shallow copy of its
    validated "rig" object with "__vn_version" added (the exporter version as text)."""
    path = state.body_json_file
    if not body_json_path_is_file(path):
        raise RuntimeError(BODY_JSON_MESSAGE_NO_FILE)
    data = body_json_load_file(path)
    rig = dict(validate_body_json(data))
    rig[BODY_JSON_KEY_VN_VERSION] = body_json_version_text(data)
    return rig


def face_json_read():
    """Reads the file named by the tool state's Face JSON path (json_file), checks that it is a Face rig
    JSON and returns the whole parsed top-level object."""
    path = state.json_file
    if not body_json_path_is_file(path):
        raise RuntimeError(FACE_JSON_MESSAGE_NO_FILE)
    data = body_json_load_file(path)
    export_type = json_export_type(data)
    if export_type and export_type != BODY_JSON_EXPORT_TYPE_FACE:
        raise RuntimeError(FACE_JSON_MESSAGE_WRONG_TYPE.format(export_type))
    if json_contains_body_rig(data):
        raise RuntimeError(FACE_JSON_MESSAGE_BODY_FILE)
    if not json_contains_face_rig(data):
        raise RuntimeError(FACE_JSON_MESSAGE_NO_DRIVERS)
    return data


# ---- value coercion -----------------------------------------------------------------------------

def body_json_number(value):
    """value as a finite float, or None when it does not convert (null, lists, objects, non-numeric
    text, NaN, infinities and numbers too large for a float)."""
    try:
        number = float(value)
    except (TypeError, ValueError, OverflowError):
        return None
    return number if math.isfinite(number) else None


def body_json_float(value, default=0.0):
    """value as a float; when it does not convert, default as a float (0.0 when that fails too)."""
    number = body_json_number(value)
    if number is None:
        number = body_json_number(default)
    return 0.0 if number is None else number


def body_json_int(value, default=0):
    """An integer count: value read as a float (default when it does not convert), truncated toward zero."""
    return int(body_json_float(value, default))


def body_json_vector(values, default=None):
    """Three floats from a list: padded with zeros, extra elements ignored, each element read as a float
    with default 0.0. When values is not a list, default (else 0, 0, 0) is read the same way."""
    if not isinstance(values, (list, tuple)):
        values = default if isinstance(default, (list, tuple)) else ()
    values = list(values[:3]) + [0.0] * max(0, 3 - len(values))
    return [body_json_float(element, 0.0) for element in values]


def body_json_bool(value, default=False):
    """value as a bool: a JSON bool is itself, a number is true when non-zero; text (trimmed, any case)
    is true for true/yes/on/1/ik, false for false/no/off/0/fk, else true when it is a non-zero number;
    anything else (a zero number written another way, such as "0.0", included) gives default."""
    if isinstance(value, bool):
        return value
    if isinstance(value, (int, float)):
        return default if math.isnan(value) else value != 0
    if not isinstance(value, str):
        return default
    text = value.strip().lower()
    if text in BODY_JSON_TRUE_TEXTS:
        return True
    if text in BODY_JSON_FALSE_TEXTS:
        return False
    number = body_json_number(text)
    return True if number is not None and number != 0 else default


# ---- attribute lookups --------------------------------------------------------------------------

def body_json_attribute(attributes, name, default=None):
    """The "value" of the first object in an attribute list whose "name", as text, equals name.
    Non-object elements are skipped; a matching element without "value", no match, or attributes that
    are not a list give default."""
    if not isinstance(attributes, list):
        return default
    for element in attributes:
        if isinstance(element, dict) and body_json_text(element.get(BODY_JSON_KEY_NAME)) == name:
            return element.get(BODY_JSON_KEY_VALUE, default)
    return default


def body_json_record_attributes(record, key):
    """The attribute list under key of a record, or an empty list."""
    attributes = record.get(key) if isinstance(record, dict) else None
    return attributes if isinstance(attributes, list) else []


def body_json_control_attribute(control, name, default=None):
    """An attribute of a control record looked up in its "controlAttributes" only."""
    return body_json_attribute(body_json_record_attributes(control, BODY_JSON_KEY_CONTROL_ATTRIBUTES), name, default)


def body_json_fit_attribute(control, name, default=None):
    """An attribute of a control record looked up in its "controlAttributes", then its "fitAttributes";
    the first element with the name wins."""
    attributes = (body_json_record_attributes(control, BODY_JSON_KEY_CONTROL_ATTRIBUTES)
                  + body_json_record_attributes(control, BODY_JSON_KEY_FIT_ATTRIBUTES))
    return body_json_attribute(attributes, name, default)


def body_json_joint_attributes(joint):
    """The attribute list of a joint record's "fitJointInfo", or an empty list."""
    info = joint.get(BODY_JSON_KEY_FIT_JOINT_INFO) if isinstance(joint, dict) else None
    return body_json_record_attributes(info, BODY_JSON_KEY_ATTRIBUTES)


def body_json_joint_attribute(joint, name, default=None):
    """An attribute of a joint record looked up in its "fitJointInfo" attributes."""
    return body_json_attribute(body_json_joint_attributes(joint), name, default)


def body_json_int_attribute(attributes, name):
    """An integer attribute: the first matching element's value read as a number, truncated and clamped
    below at 0; 0 when nothing matches or the value does not convert."""
    number = body_json_number(body_json_attribute(attributes, name))
    return 0 if number is None else max(0, int(number))


def body_json_twist_joints(joint):
    """The number of twist part joints of a joint record ("twistJoints" of its fit-joint attributes)."""
    return body_json_int_attribute(body_json_joint_attributes(joint), BODY_JSON_ATTRIBUTE_TWIST_JOINTS)


# ---- local IK mode ------------------------------------------------------------------------------

def body_json_round_half_away(number):
    """number rounded to the nearest integer, halves away from zero (1.5 -> 2, 2.5 -> 3, -0.5 -> -1)."""
    return int(math.copysign(math.floor(abs(number) + 0.5), number))


def body_json_ik_local_mode(value):
    """The local IK mode an "ikLocal" value names: 0 (addCtrl), 1 (nonZero), 2 (localOrient) or None
    (world-oriented IK). Numbers are rounded; text is compared in any case with underscores removed
    ("", "none" and "null" mean none), else read as a number; true means 2 and false none."""
    if isinstance(value, bool):
        return BODY_JSON_IK_LOCAL_LOCAL_ORIENT if value else None
    if isinstance(value, str):
        text = value.strip().lower().replace("_", "")
        if text in BODY_JSON_IK_LOCAL_NAMES:
            return BODY_JSON_IK_LOCAL_NAMES[text]
        if text in BODY_JSON_IK_LOCAL_ABSENT_TEXTS:
            return None
        value = body_json_number(text)
    elif isinstance(value, (int, float)):
        value = body_json_number(value)
    else:
        return None
    if value is None:
        return None
    mode = body_json_round_half_away(value)
    return mode if mode in BODY_JSON_IK_LOCAL_MODES else None


def body_json_ik_end_joint(control):
    """The end joint of an IK control's limb: "ik"."endJoint", else the control's "joint" (as text)."""
    if not isinstance(control, dict):
        return ""
    ik = control.get(BODY_JSON_KEY_IK)
    end_joint = body_json_text(ik.get(BODY_JSON_KEY_END_JOINT)) if isinstance(ik, dict) else ""
    return end_joint or body_json_text(control.get(BODY_JSON_KEY_JOINT))


def body_json_limb_ik_local_mode(rig, control):
    """The local IK mode of the limb of an IK control, from the first source that yields one: the
    control's attributes (then its fit attributes); the end joint's fit-joint attributes; the attributes
    of the first "FK" control on the end joint. None means world-oriented IK."""
    mode = body_json_ik_local_mode(body_json_fit_attribute(control, BODY_JSON_ATTRIBUTE_IK_LOCAL))
    if mode is not None:
        return mode
    end_joint = body_json_ik_end_joint(control)
    if not end_joint or not isinstance(rig, dict):
        return None
    joints = rig.get(BODY_JSON_KEY_JOINTS)
    for joint in joints if isinstance(joints, list) else []:
        if isinstance(joint, dict) and body_json_text(joint.get(BODY_JSON_KEY_NAME)) == end_joint:
            mode = body_json_ik_local_mode(body_json_joint_attribute(joint, BODY_JSON_ATTRIBUTE_IK_LOCAL))
            if mode is not None:
                return mode
            break
    controls = rig.get(BODY_JSON_KEY_CONTROLS)
    for other in controls if isinstance(controls, list) else []:
        if (isinstance(other, dict) and other.get(BODY_JSON_KEY_TYPE) == BODY_JSON_CONTROL_TYPE_FK
                and body_json_text(other.get(BODY_JSON_KEY_JOINT)) == end_joint):
            return body_json_ik_local_mode(body_json_fit_attribute(other, BODY_JSON_ATTRIBUTE_IK_LOCAL))
    return None
