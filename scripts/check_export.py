"""The export health check behind scripts/check-export: reads a character's Body rig JSON and Face rig
JSON with the readers the editor uses (the tool script's readers and coercion rules, the plug-in's native
Face rig JSON importer through the Content Browser's import) and lists every problem found before anyone
builds a rig from them.

Exit status: 0 no problems, 1 problems, 2 a file could not be read (missing, not JSON, not the right
kind of export, or a mesh that does not load) or the check itself could not run."""

import argparse
import json
import math
import os
import shutil
import signal
import sys
import tempfile
import traceback
from collections import Counter
from dataclasses import dataclass, field

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TOOL_SCRIPT_DIR = os.path.join(ROOT, "Plugins", "VantorelUnreal", "Source", "VantorelUnrealEditor", "Private", "ToolScript")
PYTHON_DIR = os.environ.get("VN_PYTHON_DIR", os.path.join(ROOT, "build", "python"))
for _folder in (TOOL_SCRIPT_DIR, PYTHON_DIR):
    if _folder not in sys.path:
        sys.path.insert(0, _folder)

from _vantorel_tool import body_json, state  # noqa: E402
import hosteditor  # noqa: E402
import unreal  # noqa: E402

EXIT_CLEAN = 0
EXIT_PROBLEMS = 1
EXIT_UNREADABLE = 2

PROGRAM = "check-export"
BODY_SUFFIX = "_BodyRig.json"
FACE_SUFFIX = "_FaceRig.json"
KIND_BODY = "Body rig JSON"
KIND_FACE = "Face rig JSON"

# Problem groups, printed in this order.
GROUP_READER = "reader"
GROUP_IMPORTER = "native importer"
GROUP_DUPLICATES = "duplicate names"
GROUP_JOINTS = "joints"
GROUP_CONTROLS = "controls"
GROUP_LIMBS = "limbs"
GROUP_MESH = "mesh"
GROUP_DRIVERS = "drivers"
GROUP_NUMBERS = "numbers"
GROUP_ORDER = (GROUP_READER, GROUP_IMPORTER, GROUP_DUPLICATES, GROUP_JOINTS, GROUP_CONTROLS, GROUP_LIMBS,
               GROUP_MESH, GROUP_DRIVERS, GROUP_NUMBERS)

# Where the throw-away editor project keeps what the check imports and loads.
SCRATCH_FOLDER = "/Game/VNCheckExport"
GAME_ROOT = "/Game/"
PROBE_FILE_NAME = "VNCheckExportProbe.json"
# A driver head that the native importer always accepts (a channel it does not know is a custom
# attribute), so that a probe of one driven row fails only for the row itself.
PROBE_DRIVER_CONTROL = "VNCheckExportProbe"
PROBE_DRIVER_CHANNEL = "VNCheckExportProbe"

# The record lists of the two files, and what one of their elements is called in the report.
RECORD_KINDS = {"joints": "joint", "controls": "control", "ikSystems": "ikSystem",
                "reverseFootSystems": "reverseFootSystem", "drivers": "driver"}

IK_JOINT_KEYS = ("startJoint", "middleJoint", "endJoint")
SPLINE_SOLVER = "ikSplineSolver"


@dataclass
class Problem:
    group: str
    record: str
    text: str


@dataclass
class FileReport:
    """What the check found in one exported file."""
    path: str
    kind: str
    problems: list = field(default_factory=list)
    unreadable: str = ""
    records: str = ""

    def add(self, group, record, text):
        self.problems.append(Problem(group, record, text))


@dataclass
class Inputs:
    body: str = ""
    face: str = ""
    mesh: str = ""
    project: str = ""
    errors: list = field(default_factory=list)


# ---- inputs ---------------------------------------------------------------------------------------

def parse_arguments(argv):
    parser = argparse.ArgumentParser(
        prog=PROGRAM,
        description="Checks a character's Body rig JSON and Face rig JSON before a rig is built from them.")
    parser.add_argument("paths", nargs="*", metavar="FOLDER_OR_FILE",
                        help="a character folder (holding <Name>_BodyRig.json and <Name>_FaceRig.json) or the files "
                             "themselves (told apart by those endings)")
    parser.add_argument("--body", default="", help="a Body rig JSON file, whatever its name")
    parser.add_argument("--face", default="", help="a Face rig JSON file, whatever its name")
    parser.add_argument("--mesh", default="",
                        help="a skeletal mesh asset (a .uasset file, or a package path such as /Game/Hero/SK_Hero "
                             "together with --project) whose bones the Body rig JSON's joints are compared with")
    parser.add_argument("--project", default="", help="the project folder that a --mesh package path is in")
    return parser.parse_args(argv)


def folder_files(folder):
    """The Body and Face rig JSON of a character folder: <Name>_BodyRig.json and <Name>_FaceRig.json,
    Name being the folder's name, else the only file of each ending in the folder."""
    name = os.path.basename(os.path.normpath(folder))
    found = []
    for suffix in (BODY_SUFFIX, FACE_SUFFIX):
        path = os.path.join(folder, name + suffix)
        if not os.path.isfile(path):
            candidates = sorted(entry for entry in os.listdir(folder) if entry.endswith(suffix))
            if len(candidates) == 1:
                path = os.path.join(folder, candidates[0])
        found.append(path)
    return found


def resolve_inputs(arguments):
    """Which file is read as which kind, from the folders, files and options given."""
    inputs = Inputs(body=arguments.body, face=arguments.face, mesh=arguments.mesh, project=arguments.project)
    for path in arguments.paths:
        if os.path.isdir(path):
            body, face = folder_files(path)
            inputs.body = inputs.body or body
            inputs.face = inputs.face or face
        elif path.lower().endswith(FACE_SUFFIX.lower()):
            inputs.face = path
        elif path.lower().endswith(BODY_SUFFIX.lower()) or not os.path.exists(path):
            inputs.body = path
        else:
            inputs.errors.append("%s: say whether it is a Body or a Face rig JSON: name it *%s or *%s, or pass it "
                                 "with --body or --face" % (path, BODY_SUFFIX, FACE_SUFFIX))
    if not inputs.body and not inputs.face and not inputs.errors:
        inputs.errors.append("give a character folder or a Body or Face rig JSON file (see --help)")
    if inputs.mesh and not inputs.body:
        inputs.errors.append("--mesh compares a Body rig JSON's joints with the mesh's bones; give a Body rig JSON too")
    return inputs


# ---- reading --------------------------------------------------------------------------------------

def is_constant_error(error):
    """Whether a parse error is the readers' refusal of NaN or Infinity (text Python's parser accepts)."""
    return str(error).startswith(body_json.BODY_JSON_MESSAGE_NON_STANDARD_CONSTANT.format(""))


def load_leniently(path):
    """The file parsed as the readers parse it, but taking NaN and Infinity as numbers, so that the rest
    of a file with such a word can still be checked."""
    with open(path, encoding=body_json.BODY_JSON_ENCODING) as source:
        return json.loads(source.read())


def read_with(report, reader, set_path):
    """Runs a reader of the tool script on report's file (set_path, a setter of the tool state, points
    the reader at a file) and returns the parsed top-level object, or None when the file is unreadable
    (report.unreadable then says why). A NaN or Infinity, which the reader refuses, is a problem; the reader then reads a copy
    with those numbers made 0, so that the file's other problems are found as well."""
    if not os.path.isfile(report.path):
        report.unreadable = "no such file"
        return None
    try:
        set_path(report.path)
        reader()
        return load_leniently(report.path)
    except UnicodeDecodeError as error:
        report.unreadable = "not UTF-8 text (%s)" % error
        return None
    except OSError as error:
        report.unreadable = "cannot be read (%s)" % (error.strerror or error)
        return None
    except json.JSONDecodeError as error:
        if not is_constant_error(error):
            report.unreadable = "not JSON: %s" % error
            return None
        report.add(GROUP_READER, "", str(error))
    except RuntimeError as error:
        return reader_failure(report, str(error))
    data = load_leniently(report.path)
    try:
        read_finite_copy(data, reader, set_path)
    except RuntimeError as error:
        return reader_failure(report, str(error))
    return data


def read_finite_copy(data, reader, set_path):
    """Runs reader on a temporary file holding data with its non-finite numbers made 0."""
    with tempfile.TemporaryDirectory(prefix="vn-check-export-") as folder:
        path = os.path.join(folder, "finite.json")
        with open(path, "w", encoding="utf-8") as target:
            json.dump(finite_copy(data), target)
        set_path(path)
        reader()


def reader_failure(report, message):
    """A validation message of a reader: the Body reader's "no joints" leaves a file of the right kind
    to check further; every other message means the file is not the export it was given as."""
    if message == body_json.BODY_JSON_MESSAGE_NO_JOINTS:
        report.add(GROUP_READER, "", message)
        return load_leniently(report.path)
    report.unreadable = message
    return None


def read_body(report):
    return read_with(report, body_json.body_json_read, state.set_body_json_file)


def read_face(report):
    return read_with(report, body_json.face_json_read, state.set_face_json_file)


# ---- records and names ----------------------------------------------------------------------------

def text(value):
    return body_json.body_json_text(value)


def records(container, key):
    """The list under key, or an empty list."""
    value = container.get(key) if isinstance(container, dict) else None
    return value if isinstance(value, list) else []


def record_name(record):
    return text(record.get("name")) if isinstance(record, dict) else ""


def describe(list_key, index, record):
    """How a report names an element of one of the files' record lists: by its name, else by its place
    in the list; a Face rig JSON driver by its place, control and channel (one control drives with
    several channels)."""
    if list_key == "drivers":
        return driver_record(index, record)
    name = record_name(record)
    return "%s '%s'" % (RECORD_KINDS[list_key], name) if name else "%s[%d]" % (list_key, index)


def duplicates(names):
    return sorted(name for name, count in Counter(names).items() if name and count > 1)


# ---- Body rig JSON checks -------------------------------------------------------------------------

def check_joint_records(report, rig):
    """Joint records that are not objects or have no name, duplicate names, unknown parents; returns
    the joint names."""
    joints = records(rig, "joints")
    names = [record_name(joint) for joint in joints]
    known = {name for name in names if name}
    for index, joint in enumerate(joints):
        if not isinstance(joint, dict):
            report.add(GROUP_JOINTS, describe("joints", index, joint), "is not an object")
        elif not names[index]:
            report.add(GROUP_JOINTS, describe("joints", index, joint), "has no name")
        else:
            parent = text(joint.get("parent"))
            if parent and parent not in known:
                report.add(GROUP_JOINTS, describe("joints", index, joint), "parent '%s' is not a joint of the file" % parent)
    for name in duplicates(names):
        report.add(GROUP_DUPLICATES, "joint '%s'" % name, "%d joint records have this name" % names.count(name))
    return known


def check_control_records(report, rig, joints):
    """Control records that are not objects or have no name (the build skips them), duplicate names,
    and joints or parents that the file does not have."""
    controls = records(rig, "controls")
    names = [record_name(control) for control in controls]
    known = set(names)
    for index, control in enumerate(controls):
        record = describe("controls", index, control)
        if not isinstance(control, dict):
            report.add(GROUP_CONTROLS, record, "is not an object")
            continue
        if not names[index]:
            report.add(GROUP_CONTROLS, record, "has no name, so the build skips it")
            continue
        joint = text(control.get("joint"))
        if joint and joints and joint not in joints:
            report.add(GROUP_CONTROLS, record, "joint '%s' is not a joint of the file" % joint)
        parent = text(control.get("parent"))
        if parent and parent not in known:
            report.add(GROUP_CONTROLS, record, "parent '%s' is not a control of the file (the build puts it under Main)" % parent)
    for name in duplicates(names):
        report.add(GROUP_DUPLICATES, "control '%s'" % name, "%d control records have this name" % names.count(name))


def check_ik_objects(report, rig, joints):
    """The two-bone limbs of "ik" objects: each of start, middle and end joint named (an IK control's
    chain is dropped when one is empty) and a joint of the file."""
    for index, control in enumerate(records(rig, "controls")):
        ik = control.get("ik") if isinstance(control, dict) else None
        if ik is None:
            continue
        record = describe("controls", index, control) + " ik"
        if not isinstance(ik, dict):
            report.add(GROUP_LIMBS, record, "is not an object")
            continue
        bones = {key: text(ik.get(key)) for key in IK_JOINT_KEYS}
        bones["endJoint"] = bones["endJoint"] or text(control.get("joint"))
        for key in IK_JOINT_KEYS:
            if not bones[key]:
                report.add(GROUP_LIMBS, record, "names no %s, so the limb is not built" % key)
            elif bones[key] not in joints:
                report.add(GROUP_LIMBS, record, "%s '%s' is not a joint of the file" % (key, bones[key]))


def check_ik_systems(report, rig, joints):
    """The joints of "ikSystems": each a joint of the file; a spline system needs at least its two ends."""
    for index, system in enumerate(records(rig, "ikSystems")):
        record = describe("ikSystems", index, system)
        if not isinstance(system, dict):
            report.add(GROUP_LIMBS, record, "is not an object")
            continue
        chain = records(system, "joints")
        for joint in (text(name) for name in chain):
            if joint not in joints:
                report.add(GROUP_LIMBS, record, "joint '%s' is not a joint of the file" % joint)
        middle = text(system.get("middleJoint"))
        if middle and middle not in joints:
            report.add(GROUP_LIMBS, record, "middleJoint '%s' is not a joint of the file" % middle)
        if text(system.get("solver")) == SPLINE_SOLVER and len(chain) < 2:
            report.add(GROUP_LIMBS, record, "a spline chain needs its start and end joints; it lists %d" % len(chain))


def check_mesh_bones(report, rig, bones, mesh):
    """Joints of the file that are not bones of the mesh (the build ignores them)."""
    for index, joint in enumerate(records(rig, "joints")):
        name = record_name(joint)
        if name and name not in bones:
            report.add(GROUP_MESH, describe("joints", index, joint), "is not a bone of %s" % mesh)


def check_body(report, mesh_bones=None, mesh=""):
    """Every check of a Body rig JSON; mesh_bones (a set) when a mesh was given."""
    data = read_body(report)
    if data is None:
        return
    rig = data[body_json.BODY_JSON_KEY_RIG]
    joints = check_joint_records(report, rig)
    check_control_records(report, rig, joints)
    # Without joints (the reader's "no joints") every joint a control or limb names would be reported
    # for that one reason.
    if joints:
        check_ik_objects(report, rig, joints)
        check_ik_systems(report, rig, joints)
    if mesh_bones is not None:
        check_mesh_bones(report, rig, mesh_bones, mesh)
    check_numbers(report, data, body_record_name)
    report.records = "%d joints, %d controls" % (len(records(rig, "joints")), len(records(rig, "controls")))
    if mesh_bones is not None:
        report.records += ", joints compared with the bones of " + mesh


# ---- non-finite numbers ---------------------------------------------------------------------------

def body_record_name(keys):
    """Where a path of keys into a Body rig JSON lies: the record list's key and the path to the
    record (both empty outside the rig's record lists), and the rest of the path."""
    if len(keys) >= 3 and keys[0] == "rig" and keys[1] in RECORD_KINDS and isinstance(keys[2], int):
        return keys[1], keys[:3], keys[3:]
    return "", [], keys


def face_record_name(keys):
    """Where a path of keys into a Face rig JSON lies, as body_record_name tells it."""
    if len(keys) >= 2 and keys[0] in ("drivers", "controls") and isinstance(keys[1], int):
        return keys[0], keys[:2], keys[2:]
    return "", [], keys


def key_path(keys):
    """A path of keys as it reads in JSON terms: positionWorld[1], driven[0].keys[2].y."""
    written = ""
    for key in keys:
        written += "[%d]" % key if isinstance(key, int) else ("." if written else "") + str(key)
    return written


def non_finite_numbers(value, keys=()):
    """The paths (lists of keys) of every NaN or infinite number in a parsed JSON value."""
    if isinstance(value, float) and not math.isfinite(value):
        yield list(keys)
    elif isinstance(value, dict):
        for key, element in value.items():
            yield from non_finite_numbers(element, keys + (key,))
    elif isinstance(value, list):
        for index, element in enumerate(value):
            yield from non_finite_numbers(element, keys + (index,))


def value_at(data, keys):
    for key in keys:
        data = data[key]
    return data


def check_numbers(report, data, name_record):
    """Every NaN or infinite number, named by its record and its path in it."""
    for keys in non_finite_numbers(data):
        list_key, record_keys, rest = name_record(keys)
        record = describe(list_key, record_keys[-1], value_at(data, record_keys)) if list_key else ""
        number = value_at(data, keys)
        report.add(GROUP_NUMBERS, record, "%s is %s, not a finite number" % (key_path(rest), json.dumps(number)))


def finite_copy(value):
    """value with every NaN or infinite number replaced by 0."""
    if isinstance(value, float) and not math.isfinite(value):
        return 0.0
    if isinstance(value, dict):
        return {key: finite_copy(element) for key, element in value.items()}
    if isinstance(value, list):
        return [finite_copy(element) for element in value]
    return value


# ---- the editor session ---------------------------------------------------------------------------

class EditorSession:
    """The headless editor on a throw-away project in a temporary folder, removed with everything in
    it when the session ends."""

    def __init__(self):
        self.folder = tempfile.mkdtemp(prefix="vn-check-export-")
        self.project = os.path.join(self.folder, "Project")
        try:
            hosteditor.start(self.project)
        except BaseException:
            shutil.rmtree(self.folder, ignore_errors=True)
            raise

    def close(self):
        try:
            hosteditor.shutdown()
        finally:
            shutil.rmtree(self.folder, ignore_errors=True)

    def import_json(self, path):
        """Imports a JSON file through the Content Browser as a user drops it there (the Face rig JSON
        factory and its native importer); returns "" on success, else the importer's message."""
        before = len(hosteditor.log_lines())
        if hosteditor.import_file(path, SCRATCH_FOLDER):
            return ""
        lines = hosteditor.log_lines()[before:]
        messages = [line for _category, verbosity, line in lines if verbosity == "Error"]
        messages = messages or [line for _category, verbosity, line in lines if verbosity == "Warning"]
        return " ".join(messages) or "the import failed"

    def import_document(self, document):
        """import_json for a JSON document written to a scratch file."""
        path = os.path.join(self.folder, PROBE_FILE_NAME)
        with open(path, "w", encoding="utf-8") as target:
            json.dump(document, target)
        return self.import_json(path)


# ---- Face rig JSON checks -------------------------------------------------------------------------

def driver_record(index, driver):
    """How a report names a driver: its control and channel."""
    if not isinstance(driver, dict):
        return "drivers[%d]" % index
    return "drivers[%d] (control '%s', channel '%s')" % (index, text(driver.get("control")), text(driver.get("channel")))


def row_record(driver_name, index, row):
    """How a report names a driven row: its driver, its place and its bone."""
    bone = text(row.get("bone")) if isinstance(row, dict) else ""
    return "%s driven[%d]%s" % (driver_name, index, " (bone '%s')" % bone if bone else "")


def driver_probe(driver):
    """A one-driver document for the native importer: the driver with its rows left out, so that only
    the driver's own fields are judged."""
    if isinstance(driver, dict) and isinstance(driver.get("driven"), list):
        driver = dict(driver, driven=[])
    return {"drivers": [finite_copy(driver)]}


def row_probe(row):
    """A one-row document for the native importer: the row under a driver it accepts."""
    return {"drivers": [{"control": PROBE_DRIVER_CONTROL, "channel": PROBE_DRIVER_CHANNEL, "driven": [finite_copy(row)]}]}


def check_drivers(report, data, session):
    """Each driver and each driven row imported alone by the native importer, which stops at its first
    problem, so that every bad record of the file is named with the importer's message. Returns the
    messages found."""
    found = set()
    for index, driver in enumerate(records(data, "drivers")):
        name = driver_record(index, driver)
        message = session.import_document(driver_probe(driver))
        if message:
            report.add(GROUP_DRIVERS, name, message)
            found.add(message)
        for row_index, row in enumerate(records(driver, "driven")):
            message = session.import_document(row_probe(row))
            if message:
                report.add(GROUP_DRIVERS, row_record(name, row_index, row), message)
                found.add(message)
    return found


def check_face_control_names(report, data):
    """Duplicate names among the face's own controls (its on-face and direct controls)."""
    names = [record_name(control) for control in records(data, "controls")]
    for name in duplicates(names):
        report.add(GROUP_DUPLICATES, "control '%s'" % name, "%d control records have this name" % names.count(name))


def check_face(report, session):
    """Every check of a Face rig JSON: the tool script's reader, the native importer on the whole file
    (its message kept when no record explains it: a JSON text the engine's reader refuses), each driver
    and row, the face controls' names and the numbers."""
    data = read_face(report)
    if data is None:
        return
    whole_file = session.import_json(report.path)
    found = check_drivers(report, data, session)
    if whole_file and whole_file not in found:
        report.add(GROUP_IMPORTER, "", whole_file)
    check_face_control_names(report, data)
    check_numbers(report, data, face_record_name)
    drivers = records(data, "drivers")
    report.records = "%d drivers, %d driven rows" % (len(drivers), sum(len(records(driver, "driven")) for driver in drivers))


# ---- the mesh -------------------------------------------------------------------------------------

def mesh_package_folder(path):
    """The content folder a mesh package file keeps in the scratch project: its place under a
    project's Content folder when it is in one, else /Game/<its folder's name> (as the demo and the
    tests place the sample character)."""
    folder = os.path.dirname(os.path.abspath(path))
    parts = folder.split(os.sep)
    if "Content" in parts:
        below = parts[len(parts) - 1 - parts[::-1].index("Content") + 1:]
        return "/".join(["/Game"] + below)
    return "/Game/" + os.path.basename(folder)


def mesh_package_file(mesh, project):
    """The package file of a --mesh package path (/Game/Hero/SK_Hero, or its object path) in the
    project's Content folder. Raises ValueError when no project was given."""
    if not project:
        raise ValueError("a package path needs the project it is in: add --project <folder>")
    package = mesh.split(".", 1)[0]
    return os.path.join(project, "Content", *package[len(GAME_ROOT):].split("/")) + ".uasset"


def load_mesh_bones(session, mesh, project):
    """The bone names of the skeletal mesh named by --mesh (those of its skeleton's reference pose, as
    the editor's Python reads them), loaded in the scratch project with the packages beside it (its
    skeleton among them), and the mesh's package path. Raises ValueError when it cannot be loaded."""
    path = mesh_package_file(mesh, project) if mesh.startswith(GAME_ROOT) else mesh
    if not os.path.isfile(path):
        raise ValueError("no such file: %s" % path)
    content_folder = mesh_package_folder(path)
    target = os.path.join(session.project, "Content", *content_folder.split("/")[2:])
    os.makedirs(target, exist_ok=True)
    source_folder = os.path.dirname(os.path.abspath(path))
    for entry in os.listdir(source_folder):
        if entry.endswith(".uasset"):
            shutil.copy(os.path.join(source_folder, entry), os.path.join(target, entry))
    package = content_folder + "/" + os.path.splitext(os.path.basename(path))[0]
    asset = unreal.load_asset(package)
    if not isinstance(asset, unreal.SkeletalMesh):
        raise ValueError("%s does not load as a skeletal mesh" % path)
    skeleton = asset.get_editor_property("skeleton")
    pose = unreal.AnimPoseExtensions.get_reference_pose(skeleton)
    if skeleton is None or not unreal.AnimPoseExtensions.is_valid(pose):
        raise ValueError("the skeleton of %s does not load (it is looked for beside the mesh)" % path)
    return {str(name) for name in unreal.AnimPoseExtensions.get_bone_names(pose)}, package


# ---- the report -----------------------------------------------------------------------------------

def file_lines(report):
    """The report's lines for one file: its problems grouped, each naming its record."""
    lines = ["%s (%s)%s" % (report.path, report.kind, ": " + report.records if report.records else "")]
    if report.unreadable:
        lines.append("  unreadable: " + report.unreadable)
    for group in GROUP_ORDER:
        problems = [problem for problem in report.problems if problem.group == group]
        if problems:
            lines.append("  %s:" % group)
            lines += ["    %s%s" % (problem.record + ": " if problem.record else "", problem.text) for problem in problems]
    if not report.unreadable and not report.problems:
        lines.append("  no problems")
    return lines


def summary_line(reports, mesh_error):
    """One line: how many problems in how many files, and what could not be read."""
    problems = sum(len(report.problems) for report in reports)
    unreadable = sum(1 for report in reports if report.unreadable) + (1 if mesh_error else 0)
    counts = ", ".join("%s %d" % (report.kind, len(report.problems)) for report in reports if not report.unreadable)
    line = "%s: %d problem%s in %d file%s" % (PROGRAM, problems, "" if problems == 1 else "s",
                                             len(reports), "" if len(reports) == 1 else "s")
    if counts:
        line += " (%s)" % counts
    if unreadable:
        line += "; %d unreadable" % unreadable
    return line


def exit_status(reports, mesh_error):
    if mesh_error or any(report.unreadable for report in reports):
        return EXIT_UNREADABLE
    return EXIT_PROBLEMS if any(report.problems for report in reports) else EXIT_CLEAN


def run(inputs):
    """Checks the inputs and prints the report; returns the exit status."""
    reports = []
    if inputs.body:
        reports.append(FileReport(inputs.body, KIND_BODY))
    if inputs.face:
        reports.append(FileReport(inputs.face, KIND_FACE))
    session = EditorSession()
    mesh_error = ""
    try:
        mesh_bones, mesh_package = None, ""
        if inputs.mesh:
            try:
                mesh_bones, mesh_package = load_mesh_bones(session, inputs.mesh, inputs.project)
            except ValueError as error:
                mesh_error = "mesh %s: %s" % (inputs.mesh, error)
        for report in reports:
            if report.kind == KIND_BODY:
                check_body(report, mesh_bones, mesh_package)
            else:
                check_face(report, session)
    finally:
        session.close()
    for report in reports:
        print("\n".join(file_lines(report)))
    if mesh_error:
        print("unreadable: " + mesh_error)
    print(summary_line(reports, mesh_error))
    return exit_status(reports, mesh_error)


def end_on_terminate(_signal_number, _frame):
    """Ends a terminated check through the normal way out, so that its temporary folder is removed."""
    raise SystemExit(EXIT_UNREADABLE)


def main(argv):
    inputs = resolve_inputs(parse_arguments(argv))
    if inputs.errors:
        for error in inputs.errors:
            print("%s: %s" % (PROGRAM, error), file=sys.stderr)
        return EXIT_UNREADABLE
    signal.signal(signal.SIGTERM, end_on_terminate)
    try:
        return run(inputs)
    except Exception as error:
        # Python's own exit status for an uncaught error is 1, which here means "problems found".
        traceback.print_exc()
        print("%s: the check could not run: %s" % (PROGRAM, error), file=sys.stderr)
        return EXIT_UNREADABLE


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
