"""scripts/check-export, run as a user runs it from a shell: the sample character passes, each kind of
fault in a hand-broken copy is reported with the file and the record, every fault of a file at once,
unreadable files end with status 2, and --mesh compares the Body rig JSON's joints with a mesh's bones."""

import copy
import json
import os
import shutil
import subprocess

import pytest

from conftest import PYTHON_DIR, ROOT, SAMPLE_HERO

CHECK_EXPORT = os.path.join(ROOT, "scripts", "check-export")
SAMPLE_BODY = os.path.join(SAMPLE_HERO, "SampleHero_BodyRig.json")
SAMPLE_FACE = os.path.join(SAMPLE_HERO, "SampleHero_FaceRig.json")
SAMPLE_MESH = os.path.join(SAMPLE_HERO, "SK_SampleHero.uasset")
SAMPLE_MESH_PACKAGE = "/Game/SampleHero/SK_SampleHero"


def run_check(*arguments, temp_dir=None):
    """Runs scripts/check-export with the build under test; returns (exit status, stdout lines, stderr)."""
    environment = dict(os.environ, VN_BUILD_DIR=os.path.dirname(os.path.abspath(PYTHON_DIR)))
    if temp_dir is not None:
        environment["TMPDIR"] = str(temp_dir)
    done = subprocess.run([CHECK_EXPORT, *[str(argument) for argument in arguments]],
                          capture_output=True, text=True, env=environment, timeout=300)
    return done.returncode, done.stdout.splitlines(), done.stderr


def load(path):
    with open(path, encoding="utf-8") as source:
        return json.load(source)


def write(path, document):
    """Writes a document (or a JSON text as it stands) and returns the path's text."""
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_text(document if isinstance(document, str) else json.dumps(document), encoding="utf-8")
    return str(path)


def problem_lines(lines):
    """The report's problem lines (four spaces in), stripped."""
    return [line.strip() for line in lines if line.startswith("    ")]


def control(body, name):
    return next(record for record in body["rig"]["controls"] if record["name"] == name)


@pytest.fixture
def body():
    return load(SAMPLE_BODY)


@pytest.fixture
def face():
    return load(SAMPLE_FACE)


# ---- the sample character -------------------------------------------------------------------------

def test_the_sample_character_folder_passes_with_its_mesh(tmp_path):
    code, lines, stderr = run_check(SAMPLE_HERO, "--mesh", SAMPLE_MESH, temp_dir=tmp_path)
    assert code == 0, "\n".join(lines) + stderr
    assert lines == [
        SAMPLE_BODY + " (Body rig JSON): 126 joints, 104 controls, joints compared with the bones of " + SAMPLE_MESH_PACKAGE,
        "  no problems",
        SAMPLE_FACE + " (Face rig JSON): 30 drivers, 53 driven rows",
        "  no problems",
        "check-export: 0 problems in 2 files (Body rig JSON 0, Face rig JSON 0)",
    ]
    assert list(tmp_path.iterdir()) == [], "the throw-away project is removed"


def test_files_given_one_by_one_are_read_by_their_endings_or_their_options(tmp_path):
    assert run_check(SAMPLE_FACE)[0] == 0
    odd_name = write(tmp_path / "hero.json", load(SAMPLE_BODY))
    code, _lines, stderr = run_check(odd_name)
    assert code == 2 and "say whether it is a Body or a Face rig JSON" in stderr
    code, lines, _stderr = run_check("--body", odd_name)
    assert code == 0 and lines[0].startswith(odd_name + " (Body rig JSON)")


# ---- Body rig JSON faults -------------------------------------------------------------------------

def duplicate_joint(body):
    body["rig"]["joints"].append(dict(body["rig"]["joints"][2]))


def duplicate_control(body):
    body["rig"]["controls"].append(copy.deepcopy(control(body, "FKElbow_L")))


def control_on_unknown_joint(body):
    control(body, "FKElbow_L")["joint"] = "Elbo_L"


def control_under_unknown_parent(body):
    control(body, "FKElbow_L")["parent"] = "FKShoulderX_L"


def joint_under_unknown_parent(body):
    body["rig"]["joints"].append({"name": "Prop_R", "parent": "Hand_X"})


def ik_with_unknown_middle_joint(body):
    control(body, "IKLeg_R")["ik"]["middleJoint"] = "Knee_X"


def ik_without_start_joint(body):
    del control(body, "IKLeg_L")["ik"]["startJoint"]


def spline_with_unknown_joint(body):
    body["rig"]["ikSystems"][0]["joints"][1] = "Chest_X"


def spline_with_one_joint(body):
    body["rig"]["ikSystems"][0]["joints"] = ["Spine1_M"]


def no_joints(body):
    body["rig"]["joints"] = []


@pytest.mark.parametrize("edit, group, expected", [
    (duplicate_joint, "duplicate names", "joint 'Spine1_M': 2 joint records have this name"),
    (duplicate_control, "duplicate names", "control 'FKElbow_L': 2 control records have this name"),
    (control_on_unknown_joint, "controls", "control 'FKElbow_L': joint 'Elbo_L' is not a joint of the file"),
    (control_under_unknown_parent, "controls",
     "control 'FKElbow_L': parent 'FKShoulderX_L' is not a control of the file (the build puts it under Main)"),
    (joint_under_unknown_parent, "joints", "joint 'Prop_R': parent 'Hand_X' is not a joint of the file"),
    (ik_with_unknown_middle_joint, "limbs", "control 'IKLeg_R' ik: middleJoint 'Knee_X' is not a joint of the file"),
    (ik_without_start_joint, "limbs", "control 'IKLeg_L' ik: names no startJoint, so the limb is not built"),
    (spline_with_unknown_joint, "limbs", "ikSystem 'Spine_M': joint 'Chest_X' is not a joint of the file"),
    (spline_with_one_joint, "limbs", "ikSystem 'Spine_M': a spline chain needs its start and end joints; it lists 1"),
    (no_joints, "reader", "Body JSON contains no joints."),
])
def test_each_body_fault_is_reported_under_its_group_with_status_1(tmp_path, body, edit, group, expected):
    edit(body)
    path = write(tmp_path / "Hero_BodyRig.json", body)
    code, lines, stderr = run_check(path)
    assert code == 1, stderr
    assert lines[0].startswith(path + " (Body rig JSON)")
    assert lines[1:3] == ["  %s:" % group, "    " + expected]
    assert lines[-1] == "check-export: 1 problem in 1 file (Body rig JSON 1)"


def test_non_finite_numbers_are_named_by_record_and_key_and_nan_also_by_the_reader(tmp_path, body):
    control(body, "FKElbow_L")["positionWorld"][1] = "OVERFLOW"
    control(body, "IKLeg_R")["diameter"] = "NOT_A_NUMBER"
    text = json.dumps(body).replace('"OVERFLOW"', "1e400").replace('"NOT_A_NUMBER"', "NaN")
    code, lines, _stderr = run_check(write(tmp_path / "Hero_BodyRig.json", text))
    assert code == 1
    problems = problem_lines(lines)
    assert len(problems) == 3
    # The tool script's reader refuses the word NaN, pointing at it; 1e400 reaches it as infinity.
    assert problems[0].startswith("Invalid JSON constant NaN: line 1 column ")
    assert problems[1:] == [
        "control 'IKLeg_R': diameter is NaN, not a finite number",
        "control 'FKElbow_L': positionWorld[1] is Infinity, not a finite number",
    ]


def test_every_fault_of_a_body_file_is_listed_at_once(tmp_path, body):
    for edit in (duplicate_control, control_on_unknown_joint, joint_under_unknown_parent,
                 ik_with_unknown_middle_joint, spline_with_unknown_joint):
        edit(body)
    code, lines, _stderr = run_check(write(tmp_path / "Hero_BodyRig.json", body))
    assert code == 1
    assert problem_lines(lines) == [
        "control 'FKElbow_L': 2 control records have this name",
        "joint 'Prop_R': parent 'Hand_X' is not a joint of the file",
        "control 'FKElbow_L': joint 'Elbo_L' is not a joint of the file",
        "control 'IKLeg_R' ik: middleJoint 'Knee_X' is not a joint of the file",
        "ikSystem 'Spine_M': joint 'Chest_X' is not a joint of the file",
    ]
    assert lines[-1] == "check-export: 5 problems in 1 file (Body rig JSON 5)"


# ---- Face rig JSON faults -------------------------------------------------------------------------

def row(face, driver, index=0):
    return face["drivers"][driver]["driven"][index]


def test_every_bad_driver_and_row_gets_the_native_importers_message(tmp_path, face):
    row(face, 0)["channel"] = "Squash.X"
    row(face, 2)["channel"] = "Wobble"
    del row(face, 3)["keys"]
    del row(face, 6)["bone"]
    del face["drivers"][5]["channel"]
    code, lines, _stderr = run_check(write(tmp_path / "Hero_FaceRig.json", face))
    assert code == 1
    assert problem_lines(lines) == [
        "drivers[0] (control 'ctrlBrow_R', channel 'Translate.Y') driven[0] (bone 'browInnerJoint_R'): "
        "Import failed: Unknown driven channel 'Squash.X'.",
        "drivers[2] (control 'ctrlBrow_L', channel 'translation.y') driven[0] (bone 'browInnerJoint_L'): "
        "Import failed: Unknown driven channel 'Wobble'.",
        "drivers[3] (control 'ctrlEye_R', channel 'Translation.X') driven[0] (bone 'EyeJoint_R'): "
        "Import failed: Driven bone 'EyeJoint_R' is missing 'keys' array.",
        "drivers[5] (control 'ctrlEye_L', channel ''): Import failed: Driver needs 'control' and 'channel'.",
        "drivers[6] (control 'ctrlEye_L', channel 'translate.y') driven[0]: "
        "Import failed: Driven entry needs 'bone' and 'channel'.",
    ]
    assert lines[-1] == "check-export: 5 problems in 1 file (Face rig JSON 5)"


def test_a_driver_without_rows_and_a_key_that_is_not_an_object_are_reported(tmp_path, face):
    del face["drivers"][1]["driven"]
    row(face, 4)["keys"][1] = 2.5
    code, lines, _stderr = run_check(write(tmp_path / "Hero_FaceRig.json", face))
    assert code == 1
    assert problem_lines(lines) == [
        "drivers[1] (control 'ctrlBrow_R', channel 'tx'): Import failed: Driver 'ctrlBrow_R' is missing 'driven' array.",
        "drivers[4] (control 'ctrlEye_R', channel 'ty') driven[0] (bone 'EyeJoint_R'): Import failed: Key entry is not an object.",
    ]


def test_duplicate_face_control_names_are_reported(tmp_path, face):
    face["controls"].append(copy.deepcopy(face["controls"][0]))
    code, lines, _stderr = run_check(write(tmp_path / "Hero_FaceRig.json", face))
    assert code == 1
    assert lines[1:3] == ["  duplicate names:", "    control 'browInner_R': 2 control records have this name"]


def test_a_number_beyond_float_range_is_reported_with_the_importers_refusal(tmp_path, face):
    row(face, 4)["keys"][0]["y"] = "OVERFLOW"
    text = json.dumps(face).replace('"OVERFLOW"', "1e999")
    code, lines, stderr = run_check(write(tmp_path / "Hero_FaceRig.json", text))
    assert code == 1, stderr
    assert lines[1:] == [
        "  native importer:",
        "    Import failed: JSON is invalid.",
        "  numbers:",
        "    drivers[4] (control 'ctrlEye_R', channel 'ty'): driven[0].keys[0].y is Infinity, not a finite number",
        "check-export: 2 problems in 1 file (Face rig JSON 2)",
    ]


# ---- unreadable files -----------------------------------------------------------------------------

@pytest.mark.parametrize("arguments, reason", [
    (["{tmp}/Missing_BodyRig.json"], "no such file"),
    (["{tmp}/Broken_BodyRig.json"], "not JSON: Expecting value: line 1 column 9 (char 8)"),
    (["--body", SAMPLE_FACE],
     "The selected Body JSON is marked as 'VantorelFaceRig'. Choose an Vantorel Body Rig JSON file."),
    (["{tmp}/Unmarked_BodyRig.json"],
     "The selected Body JSON looks like a Face Rig JSON (it contains drivers). Choose the *_BodyRig.json file."),
    (["--face", SAMPLE_BODY],
     "The selected Face JSON is marked as 'VantorelBodyRig'. Choose an Vantorel Face Rig JSON file."),
])
def test_an_unreadable_file_ends_with_status_2_and_says_why(tmp_path, face, arguments, reason):
    write(tmp_path / "Broken_BodyRig.json", "{\"rig\": ")
    del face["exportType"]
    write(tmp_path / "Unmarked_BodyRig.json", face)
    arguments = [argument.format(tmp=tmp_path) for argument in arguments]
    code, lines, _stderr = run_check(*arguments)
    assert code == 2
    assert lines[1] == "  unreadable: " + reason
    assert lines[-1] == "check-export: 0 problems in 1 file; 1 unreadable"


def test_without_a_build_it_asks_for_the_set_up(tmp_path):
    environment = dict(os.environ, VN_BUILD_DIR=str(tmp_path / "NoBuild"))
    done = subprocess.run([CHECK_EXPORT, SAMPLE_HERO], capture_output=True, text=True, env=environment, timeout=300)
    assert done.returncode == 2
    assert done.stderr == "check-export: no build in %s; run scripts/setup first\n" % (tmp_path / "NoBuild")


def test_a_check_that_cannot_run_ends_with_status_2_and_leaves_nothing_behind(tmp_path):
    # A build whose editor does not start: the check must not end with 1, which means "problems found".
    python_dir = tmp_path / "Build" / "python"
    python_dir.mkdir(parents=True)
    (python_dir / "_unreal_core.cpython-311-x86_64-linux-gnu.so").write_text("")
    (python_dir / "unreal.py").write_text("")
    (python_dir / "hosteditor.py").write_text(
        "def start(project_dir):\n"
        "    import os\n"
        "    os.makedirs(project_dir)\n"
        "    raise RuntimeError('the editor did not start')\n")
    temp_dir = tmp_path / "Temp"
    temp_dir.mkdir()
    environment = dict(os.environ, VN_BUILD_DIR=str(tmp_path / "Build"), TMPDIR=str(temp_dir))
    done = subprocess.run([CHECK_EXPORT, SAMPLE_HERO], capture_output=True, text=True, env=environment, timeout=300)
    assert done.returncode == 2
    assert done.stderr.splitlines()[-1] == "check-export: the check could not run: the editor did not start"
    assert list(temp_dir.iterdir()) == []


def test_a_folder_missing_its_face_file_still_reports_the_body_files_problems(tmp_path, body):
    control_on_unknown_joint(body)
    folder = tmp_path / "Hero"
    body_path = write(folder / "Hero_BodyRig.json", body)
    code, lines, _stderr = run_check(folder)
    assert code == 2
    assert "    control 'FKElbow_L': joint 'Elbo_L' is not a joint of the file" in lines
    assert lines[0].startswith(body_path)
    assert lines[-3:] == [str(folder / "Hero_FaceRig.json") + " (Face rig JSON)", "  unreadable: no such file",
                          "check-export: 1 problem in 2 files (Body rig JSON 1); 1 unreadable"]


# ---- the mesh -------------------------------------------------------------------------------------

def test_joints_the_mesh_lacks_are_reported(tmp_path, body):
    body["rig"]["joints"].append({"name": "Tail5_M", "parent": "Tail4_M"})
    code, lines, _stderr = run_check(write(tmp_path / "Hero_BodyRig.json", body), "--mesh", SAMPLE_MESH)
    assert code == 1
    assert problem_lines(lines) == ["joint 'Tail5_M': is not a bone of " + SAMPLE_MESH_PACKAGE]


def test_a_mesh_package_path_is_read_from_the_project_which_is_left_untouched(tmp_path, body):
    body["rig"]["joints"].append({"name": "Tail5_M", "parent": "Tail4_M"})
    project = tmp_path / "Project"
    content = project / "Content" / "SampleHero"
    content.mkdir(parents=True)
    for name in ("SK_SampleHero.uasset", "SK_SampleHero_Skeleton.uasset"):
        shutil.copy(os.path.join(SAMPLE_HERO, name), content / name)
    before = sorted(str(path) for path in project.rglob("*"))
    path = write(tmp_path / "Hero_BodyRig.json", body)
    code, lines, _stderr = run_check(path, "--mesh", SAMPLE_MESH_PACKAGE, "--project", project)
    assert code == 1
    assert problem_lines(lines) == ["joint 'Tail5_M': is not a bone of " + SAMPLE_MESH_PACKAGE]
    assert sorted(str(path) for path in project.rglob("*")) == before

    code, lines, _stderr = run_check(path, "--mesh", SAMPLE_MESH_PACKAGE)
    assert code == 2
    assert "unreadable: mesh %s: a package path needs the project it is in: add --project <folder>" % SAMPLE_MESH_PACKAGE in lines


def test_a_mesh_that_is_not_there_or_not_a_skeletal_mesh_is_unreadable(tmp_path):
    code, lines, _stderr = run_check(SAMPLE_BODY, "--mesh", tmp_path / "SK_None.uasset")
    assert code == 2
    assert "unreadable: mesh %s: no such file: %s" % (tmp_path / "SK_None.uasset", tmp_path / "SK_None.uasset") in lines
    skeleton = os.path.join(SAMPLE_HERO, "SK_SampleHero_Skeleton.uasset")
    code, lines, _stderr = run_check(SAMPLE_BODY, "--mesh", skeleton)
    assert code == 2
    assert "unreadable: mesh %s: %s does not load as a skeletal mesh" % (skeleton, skeleton) in lines
