"""The tool script's Body rig JSON and Face rig JSON readers: their checks and messages in order, the
export-type tests, the value coercion rules, the attribute lookups and the local IK mode. These are
plain Python: the tests import the package from its sources and need neither the editor nor a build."""

import glob
import json
import os

import pytest

SUITE_DIR = "/work/shared/testdata/JSONTestSuite/test_parsing"
RIG = {"joints": [{"name": "Root_M"}], "controls": []}
NO_FILE = "Choose an existing Body JSON file first."
BODY_TYPE = "The selected Body JSON is marked as '%s'. Choose an Vantorel Body Rig JSON file."
BODY_FACE = "The selected Body JSON looks like a Face Rig JSON (it contains drivers). Choose the *_BodyRig.json file."
BODY_SHAPE = "Body JSON must contain rig.controls and rig.joints arrays. Choose the *_BodyRig.json file."
BODY_NO_JOINTS = "Body JSON contains no joints."
FACE_NO_FILE = "Choose an existing Face JSON file first."
FACE_TYPE = "The selected Face JSON is marked as '%s'. Choose an Vantorel Face Rig JSON file."
FACE_BODY = ("The selected Face JSON looks like a Body Rig JSON (it contains controls and joints). "
             "Choose the *_FaceRig.json file.")
FACE_NO_DRIVERS = "Face JSON must contain a drivers array. Choose the *_FaceRig.json file."
PARSER_ERRORS = (json.JSONDecodeError, UnicodeDecodeError, RecursionError)


@pytest.fixture
def tool_script(source_package):
    return source_package


def write(tmp_path, content, name="Hero_BodyRig.json"):
    path = tmp_path / name
    path.write_bytes(content if isinstance(content, bytes) else json.dumps(content).encode("utf-8"))
    return str(path)


def read_body(ns, path):
    ns["body_json_file"] = path
    return ns["body_json_read"]()


def read_face(ns, path):
    ns["json_file"] = path
    return ns["face_json_read"]()


# ---- readers: paths, checks in order, results --------------------------------------------------

@pytest.mark.parametrize("reader, message", [(read_body, NO_FILE), (read_face, FACE_NO_FILE)])
@pytest.mark.parametrize("path", [None, "", "missing.json", "folder"])
def test_a_reader_without_an_existing_file_asks_for_one(tool_script, tmp_path, reader, message, path):
    (tmp_path / "folder").mkdir()
    with pytest.raises(RuntimeError) as error:
        reader(tool_script, path and str(tmp_path / path))
    assert str(error.value) == message


def test_the_body_reader_asks_for_a_file_when_no_path_was_ever_set(tool_script):
    tool_script["body_json_file"] = None
    with pytest.raises(RuntimeError, match="^Choose an existing Body JSON file first[.]$"):
        tool_script["body_json_read"]()


@pytest.mark.parametrize("content, message", [
    ({"exportType": "VantorelFaceRig", "rig": RIG}, BODY_TYPE % "VantorelFaceRig"),
    ({"exportType": "  Other \t", "drivers": []}, BODY_TYPE % "Other"),
    ({"export_type": "vantorelbodyrig", "rig": RIG}, BODY_TYPE % "vantorelbodyrig"),
    ({"drivers": [], "rig": {"joints": []}}, BODY_FACE),
    ({"drivers": []}, BODY_FACE),
    ({"drivers": {}}, BODY_SHAPE),
    ({"rig": {"controls": [], "joints": {}}}, BODY_SHAPE),
    ({"rig": {"joints": [{"name": "A"}]}}, BODY_SHAPE),
    ({"rig": [RIG]}, BODY_SHAPE),
    ([RIG], BODY_SHAPE),
    ("rig", BODY_SHAPE),
    ({"rig": {"controls": [{"name": "Main"}], "joints": []}}, BODY_NO_JOINTS),
    ({"drivers": [], "rig": {"controls": [], "joints": []}}, BODY_NO_JOINTS),
])
def test_body_reader_reports_the_first_failing_check(tool_script, tmp_path, content, message):
    with pytest.raises(RuntimeError) as error:
        read_body(tool_script, write(tmp_path, content))
    assert str(error.value) == message


@pytest.mark.parametrize("content, message", [
    ({"exportType": "VantorelBodyRig", "drivers": []}, FACE_TYPE % "VantorelBodyRig"),
    ({"export_type": " Rig ", "rig": RIG}, FACE_TYPE % "Rig"),
    ({"drivers": [], "rig": {"controls": [], "joints": []}}, FACE_BODY),
    ({"drivers": {}}, FACE_NO_DRIVERS),
    ({"rig": {"controls": []}}, FACE_NO_DRIVERS),
    ([{"drivers": []}], FACE_NO_DRIVERS),
])
def test_face_reader_reports_the_first_failing_check(tool_script, tmp_path, content, message):
    with pytest.raises(RuntimeError) as error:
        read_face(tool_script, write(tmp_path, content))
    assert str(error.value) == message


@pytest.mark.parametrize("export_type", [None, "", " VantorelFaceRig\n"])
def test_face_reader_returns_the_whole_object_of_an_unmarked_or_face_file(tool_script, tmp_path, export_type):
    content = {"drivers": [{"control": "Jaw_M"}], "version": 2}
    if export_type is not None:
        content["exportType"] = export_type
    assert read_face(tool_script, write(tmp_path, content)) == content


@pytest.mark.parametrize("top, version", [
    ({}, "Unknown"), ({"vantorelVersion": None}, "Unknown"), ({"vantorelVersion": "1.4.2"}, "1.4.2"),
    ({"vantorelVersion": 2}, "2"), ({"vantorelVersion": 1.5}, "1.5"), ({"exportType": " VantorelBodyRig "}, "Unknown"),
])
def test_body_reader_returns_a_copy_of_the_rig_with_the_version_text(tool_script, tmp_path, top, version):
    rig = dict(RIG, rootJoint="Root_M", ikSystems=[{"name": "Spine"}])
    result = read_body(tool_script, write(tmp_path, dict(top, rig=rig)))
    assert result == dict(rig, __vn_version=version)
    data = {"rig": rig}
    returned = tool_script["validate_body_json"](data)
    assert returned is rig and "__vn_version" not in rig


# ---- parsing ------------------------------------------------------------------------------------

@pytest.mark.parametrize("reader", [read_body, read_face])
@pytest.mark.parametrize("text, error, position", [
    (b'{"rig": ', json.JSONDecodeError, 8),
    (b'{"a": "NaN", "rig": NaN}', json.JSONDecodeError, 20),
    (b'{"rig": [-Infinity]}', json.JSONDecodeError, 9),
    (b'{"rig": "\xff"}', UnicodeDecodeError, None),
])
def test_readers_raise_the_parse_error_for_text_that_is_not_json(tool_script, tmp_path, reader, text, error, position):
    with pytest.raises(error) as raised:
        reader(tool_script, write(tmp_path, text))
    assert position is None or raised.value.pos == position


@pytest.mark.parametrize("reader, content", [
    (read_body, {"rig": RIG}), (read_face, {"drivers": [{"control": "Jaw_M"}]}),
])
def test_readers_skip_a_leading_byte_order_mark_and_refuse_one_elsewhere(tool_script, tmp_path, reader, content):
    text = json.dumps(content).encode("utf-8")
    marked = reader(tool_script, write(tmp_path, b"\xef\xbb\xbf" + text))
    assert marked == reader(tool_script, write(tmp_path, text, "Plain.json"))
    with pytest.raises(json.JSONDecodeError):
        reader(tool_script, write(tmp_path, b" \xef\xbb\xbf" + text, "Inner.json"))


@pytest.mark.skipif(not os.path.isdir(SUITE_DIR), reason="JSONTestSuite not present")
@pytest.mark.parametrize("reader, message", [(read_body, BODY_SHAPE), (read_face, FACE_NO_DRIVERS)])
def test_readers_refuse_every_invalid_suite_file_and_parse_every_valid_one(tool_script, reader, message):
    wrong = []
    for path in sorted(glob.glob(os.path.join(SUITE_DIR, "[ny]_*.json"))):
        try:
            reader(tool_script, path)
            wrong.append((path, "accepted"))
        except PARSER_ERRORS as error:
            if os.path.basename(path).startswith("y_"):
                wrong.append((path, repr(error)))
        except RuntimeError as error:
            if os.path.basename(path).startswith("n_") or str(error) != message:
                wrong.append((path, str(error)))
    assert wrong == []


# ---- export type --------------------------------------------------------------------------------

@pytest.mark.parametrize("data, export_type, body, face", [
    ({"exportType": " VantorelBodyRig\t\n", "rig": RIG}, "VantorelBodyRig", True, False),
    ({"export_type": "VantorelFaceRig", "drivers": []}, "VantorelFaceRig", False, True),
    ({"exportType": "A", "export_type": "B"}, "A", False, False),
    ({"exportType": None, "export_type": "B"}, "B", False, False),
    ({"exportType": "", "export_type": "B"}, "", False, False),
    ({"exportType": 3}, "3", False, False),
    ({"rig": {"controls": [], "joints": []}, "drivers": []}, "", True, True),
    ({"rig": {"controls": None, "joints": []}}, "", False, False),
    ([{"exportType": "A"}], "", False, False),
    (None, "", False, False),
])
def test_export_type_and_kind_tests(tool_script, data, export_type, body, face):
    assert tool_script["json_export_type"](data) == export_type
    assert tool_script["json_contains_body_rig"](data) is body
    assert tool_script["json_contains_face_rig"](data) is face


# ---- coercion -----------------------------------------------------------------------------------

@pytest.mark.parametrize("value, default, expected", [
    (2, 1.0, 2.0), ("2.5", 1.0, 2.5), (" -3 ", 1.0, -3.0), (True, 5.0, 1.0),
    (None, 1.0, 1.0), ("abc", 1.0, 1.0), ([1], 1.0, 1.0), ({}, 7, 7.0),
    ("nan", 1.0, 1.0), (float("inf"), 1.0, 1.0), (10 ** 400, 1.0, 1.0),
    ("abc", "4", 4.0), ("abc", "x", 0.0), ("abc", None, 0.0),
])
def test_number_coercion_falls_back_to_the_default_as_a_number(tool_script, value, default, expected):
    result = tool_script["body_json_float"](value, default)
    assert result == expected and type(result) is float
    assert tool_script["body_json_float"]("abc") == 0.0


@pytest.mark.parametrize("values, default, expected", [
    ([0.2, 0.4], None, [0.2, 0.4, 0.0]), ([1, 2, 3, 4], None, [1.0, 2.0, 3.0]), ([], (9, 9, 9), [0.0, 0.0, 0.0]),
    (["a", None, "3"], None, [0.0, 0.0, 3.0]), ("1,2,3", (1, 0, 0), [1.0, 0.0, 0.0]),
    (None, [5], [5.0, 0.0, 0.0]), ({"x": 1}, None, [0.0, 0.0, 0.0]), (None, 3.0, [0.0, 0.0, 0.0]),
])
def test_vector_coercion_pads_truncates_and_reads_each_element(tool_script, values, default, expected):
    assert tool_script["body_json_vector"](values, default) == expected


@pytest.mark.parametrize("value, expected", [
    (True, True), (False, False), (0, False), (2, True), (-0.5, True), (0.0, False),
    ("FK", False), ("ik", True), (" On ", True), ("off", False), ("YES", True), ("no", False),
    ("1", True), ("0", False), ("2", True), ("-1.5", True), ("true", True), ("False", False),
])
def test_bool_coercion_reads_bools_numbers_and_words(tool_script, value, expected):
    assert tool_script["body_json_bool"](value, not expected) is expected


@pytest.mark.parametrize("value", ["maybe", "", None, [], {}, "nan", float("nan"), "0.0", " -0 "])
@pytest.mark.parametrize("default", [True, False])
def test_bool_coercion_gives_the_default_for_anything_else(tool_script, value, default):
    assert tool_script["body_json_bool"](value, default) is default


@pytest.mark.parametrize("value, default, expected", [("3.9", 0, 3), (-2.7, 0, -2), ("x", 0, 0), (None, 4, 4)])
def test_integer_counts_truncate_toward_zero(tool_script, value, default, expected):
    assert tool_script["body_json_int"](value, default) == expected


# ---- attribute lookups --------------------------------------------------------------------------

ATTRIBUTES = ["text", 5, None, ["roll"], {"value": 1}, {"name": "roll", "value": 4}, {"name": "roll", "value": 9},
              {"name": 7, "value": "seven"}, {"name": "global"}, {"name": "blank", "value": None}]


@pytest.mark.parametrize("name, expected", [
    ("roll", 4), ("7", "seven"), ("global", "default"), ("blank", None), ("missing", "default"), ("Roll", "default"),
])
def test_attribute_lookup_takes_the_first_object_with_the_name(tool_script, name, expected):
    assert tool_script["body_json_attribute"](ATTRIBUTES, name, "default") == expected


@pytest.mark.parametrize("control, plain, fit", [
    ({"controlAttributes": [{"name": "a", "value": 1}], "fitAttributes": [{"name": "a", "value": 2}]}, 1, 1),
    ({"controlAttributes": [{"name": "b", "value": 1}], "fitAttributes": [{"name": "a", "value": 2}]}, "d", 2),
    ({"controlAttributes": {"a": 1}, "fitAttributes": ["a", {"name": "a", "value": 3}]}, "d", 3),
    ({"controlAttributes": [{"name": "a"}], "fitAttributes": [{"name": "a", "value": 2}]}, "d", "d"),
    ({}, "d", "d"), ("control", "d", "d"),
])
def test_control_lookup_reads_control_attributes_and_fit_lookup_adds_fit_attributes(tool_script, control, plain, fit):
    assert tool_script["body_json_control_attribute"](control, "a", "d") == plain
    assert tool_script["body_json_fit_attribute"](control, "a", "d") == fit


@pytest.mark.parametrize("info, value, twist", [
    ({"attributes": [{"name": "twistJoints", "value": 2}]}, 2, 2),
    ({"attributes": [{"name": "twistJoints", "value": "3.7"}]}, "3.7", 3),
    ({"attributes": [{"name": "twistJoints", "value": 2.9}, {"name": "twistJoints", "value": 5}]}, 2.9, 2),
    ({"attributes": [{"name": "twistJoints", "value": -1}]}, -1, 0),
    ({"attributes": [{"name": "twistJoints", "value": "two"}, {"name": "twistJoints", "value": 5}]}, "two", 0),
    ({"attributes": [{"name": "twistJoints", "value": [2]}]}, [2], 0),
    ({"attributes": [{"name": "twistJoints"}]}, "d", 0),
    ({"attributes": "twistJoints"}, "d", 0), ("info", "d", 0), (None, "d", 0),
])
def test_joint_lookup_and_twist_joints_count(tool_script, info, value, twist):
    joint = {"name": "Shoulder_L", "fitJointInfo": info}
    assert tool_script["body_json_joint_attribute"](joint, "twistJoints", "d") == value
    assert tool_script["body_json_twist_joints"](joint) == twist


# ---- local IK mode ------------------------------------------------------------------------------

@pytest.mark.parametrize("value, mode", [
    ("Local_Orient", 2), ("ADDCTRL", 0), (" non_zero ", 1), ("1", 1), ("2.4", 2), (1.6, 2), (0.4, 0), (0.5, 1),
    (-0.4, 0), (True, 2), (3, None), (2.5, None), (-1, None), (False, None), ("none", None), ("NULL", None),
    ("", None), ("abc", None), (None, None), ([2], None), (float("nan"), None),
])
def test_ik_local_value_names_a_mode_or_none(tool_script, value, mode):
    assert tool_script["body_json_ik_local_mode"](value) == mode


def ik_local(value):
    return [{"name": "ikLocal", "value": value}]


@pytest.mark.parametrize("control, joints, others, mode", [
    ({"controlAttributes": ik_local(0)}, [{"name": "Ankle_L", "fitJointInfo": {"attributes": ik_local(2)}}], [], 0),
    ({"fitAttributes": ik_local("nonZero")}, [], [], 1),
    ({"controlAttributes": ik_local(3)}, [{"name": "Ankle_L", "fitJointInfo": {"attributes": ik_local(2)}}], [], 2),
    ({"ik": {"endJoint": "Foot_L"}}, [{"name": "Ankle_L", "fitJointInfo": {"attributes": ik_local(2)}},
                                      {"name": "Foot_L", "fitJointInfo": {"attributes": ik_local(1)}}], [], 1),
    ({}, [{"name": "Ankle_L"}], [{"type": "IK", "joint": "Ankle_L", "controlAttributes": ik_local(1)},
                                 {"type": "FK", "joint": "Ankle_L", "fitAttributes": ik_local(0)},
                                 {"type": "FK", "joint": "Ankle_L", "controlAttributes": ik_local(2)}], 0),
    ({}, [], [{"type": "FK", "joint": "Ankle_L"},
              {"type": "FK", "joint": "Ankle_L", "controlAttributes": ik_local(2)}], None),
    ({"joint": ""}, [{"name": "", "fitJointInfo": {"attributes": ik_local(2)}}],
     [{"type": "FK", "controlAttributes": ik_local(2)}], None),
])
def test_limb_ik_local_mode_comes_from_the_first_source_with_a_mode(tool_script, control, joints, others, mode):
    control = dict({"name": "IKLeg_L", "type": "IK", "joint": "Ankle_L"}, **control)
    rig = {"joints": joints, "controls": [control] + others}
    assert tool_script["body_json_limb_ik_local_mode"](rig, control) == mode
