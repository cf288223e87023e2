"""The headless editor's command-line host, run as a user runs it from a shell: it opens the tools
from the main menu, runs command texts in the editor's Python, imports files through the Content
Browser, saves, and prints the log and every message box."""

import json
import os
import subprocess

import pytest

from conftest import PYTHON_DIR

HOST = os.path.join(os.path.dirname(PYTHON_DIR), "Binaries", "HostEditor-Cmd")

MAKE_MESH = ("import hosteditor; hosteditor.create_skeletal_mesh('/Game/Test/SK_Test', "
             "[('root', None, None), ('pelvis', 'root', None)])")
RIG_BUILD = ('import builtins, unreal; builtins.vn_set_target_skeletal_mesh(unreal.load_asset("/Game/Test/SK_Test.SK_Test")); '
             'builtins.vn_set_body_control_rig_template_file(""); builtins.vn_set_body_json_file(""); '
             'builtins.vn_set_body_control_rig_source("Generate from JSON"); builtins.vn_set_face_json_file(""); '
             'builtins.vn_set_control_rig_mode("Face"); builtins.vn_set_body_rig_options(True, True, True); '
             'builtins.vn_set_include_custom_controllers(False); builtins.vn_run_create_control_rig()')


def run_host(*arguments):
    result = subprocess.run([HOST, *arguments], capture_output=True, text=True, timeout=120)
    return result.returncode, result.stdout.splitlines(), result.stderr


def test_the_tools_open_from_the_menu_and_a_rig_build_command_reports_in_a_message_box(tmp_path):
    project = str(tmp_path / "Fresh")
    code, lines, _ = run_host(project, "-ExecCmd=" + MAKE_MESH, "-OpenTools", "-OpenTools", "-ExecCmd=" + RIG_BUILD)
    assert code == 0
    assert os.path.isfile(os.path.join(project, "Intermediate", "vn_tool_check.py"))
    # The script loads and registers its builtins once, though the tools were opened twice.
    assert lines.count("LogPython: Vantorel: Python builtins registered successfully") == 1
    assert lines.count("LogHostEditor: Display: Menu: LevelEditor.MainMenu > Vantorel > VantorelFunctions") == 2
    # The action's failure reaches the log and a message box, and the editor keeps going.
    failure = [line for line in lines if line.startswith("LogPython: Error: Create Control Rig failed:")]
    assert len(failure) == 1
    box = lines.index("== 1 message box")
    assert lines[box + 1] == "[Vantorel] Create Control Rig failed:"
    # An OK box has no choice to report.
    assert not any(line.startswith("  -> ") for line in lines[box + 1:])


def test_files_import_into_the_chosen_folder_and_save_all_writes_them(tmp_path):
    face = tmp_path / "Hero_FaceRig.json"
    face.write_text(json.dumps({"version": 2, "drivers": []}))
    body = tmp_path / "Hero_BodyRig.json"
    body.write_text(json.dumps({"exportType": "VantorelBodyRig", "rig": {}}))
    project = tmp_path / "Project"
    code, lines, _ = run_host(str(project), "-ImportDest=/Game/Hero", "-Import=" + str(face), "-Import=" + str(body), "-SaveAll")
    # The face file becomes an asset; the body file is not a face rig and fails with the importer's message.
    assert "HostEditor-Cmd: imported /Game/Hero/Hero_FaceRig.Hero_FaceRig" in lines
    assert any("Missing 'drivers'" in line for line in lines)
    assert "HostEditor-Cmd: failed: -Import=" + str(body) in lines
    assert code == 1
    assert (project / "Content" / "Hero" / "Hero_FaceRig.uasset").is_file()
    assert not (project / "Content" / "Hero" / "Hero_BodyRig.uasset").exists()


def test_without_python_the_tools_still_open_and_say_so_once(tmp_path):
    code, lines, _ = run_host(str(tmp_path / "P"), "-NoPython", "-OpenTools", "-Menu=Vantorel>Vantorel Functions")
    assert code == 0
    assert lines.count("LogVantorelUnrealEditor: Error: Vantorel: Python script plugin not available") == 1
    assert lines.count("LogVantorelUnrealEditor: Display: Vantorel tools target SkeletalMesh path: '' resolved: no") == 2


def test_without_python_no_python_plugin_is_loaded_and_commands_fail(tmp_path):
    code, lines, _ = run_host(str(tmp_path / "P"), "-NoPython", "-ExecCmd=print('never runs')")
    assert code == 1
    assert "HostEditor-Cmd: the editor has no Python" in lines
    assert "LogPython: never runs" not in lines


def test_selected_mesh_is_the_tools_target(tmp_path):
    project = str(tmp_path / "P")
    code, lines, _ = run_host(project, "-ExecCmd=" + MAKE_MESH, "-Select=/Game/Test/SK_Test.SK_Test", "-OpenTools")
    assert code == 0
    assert "LogVantorelUnrealEditor: Display: Vantorel tools target SkeletalMesh path: '' resolved: yes" in lines


@pytest.mark.parametrize("arguments, message", [
    ((), "No project folder was given."),
    (("P", "-Bogus"), "Unknown option '-Bogus'."),
    (("P", "-Import"), "-Import needs a value"),
    (("P", "-OpenTools=yes"), "-OpenTools takes no value."),
    (("P", "Q"), "Only one project folder can be given"),
])
def test_unusable_command_lines_are_refused_with_the_usage(tmp_path, arguments, message):
    code, lines, errors = run_host(*[str(tmp_path / a) if a in ("P", "Q") else a for a in arguments])
    assert code == 2
    assert message in errors and "Usage: HostEditor-Cmd" in errors
    assert lines == []


def test_failed_menu_choices_and_python_errors_fail_the_run_but_the_rest_still_runs(tmp_path):
    code, lines, _ = run_host(str(tmp_path / "P"), "-Menu=Vantorel>Nope", "-ExecCmd=raise ValueError('broken')",
                              "-ExecCmd=print('still here')")
    assert code == 1
    assert "HostEditor-Cmd: cannot choose the menu entry: menu 'LevelEditor.MainMenu > Vantorel' has no entry 'Nope'" in lines
    assert any("ValueError: broken" in line for line in lines)
    assert "LogPython: still here" in lines


def test_what_python_prints_is_printed_in_order_with_the_engines_own_lines(tmp_path):
    prints = ("import unreal; print('before'); "
              "unreal.EditorDialog.show_message('Order', 'between', unreal.AppMsgType.OK); "
              "unreal.log('logged'); print('after', end='')")
    recorded = ("import hosteditor; "
                "print('recorded:', [text for _, _, text in hosteditor.log_lines()"
                " if text in ('before', 'Message dialog: Order: between', 'logged', 'after')])")
    code, lines, _ = run_host(str(tmp_path / "P"), "-ExecCmd=" + prints, "-ExecCmd=" + recorded)
    assert code == 0
    first = lines.index("LogPython: before")
    assert lines[first:first + 4] == ["LogPython: before", "LogCore: Display: Message dialog: Order: between",
                                      "LogPython: logged", "LogPython: after"]
    assert "LogPython: recorded: ['before', 'Message dialog: Order: between', 'logged', 'after']" in lines


def test_help_prints_the_usage():
    code, lines, _ = run_host("-Help")
    assert code == 0 and lines[0].startswith("Usage: HostEditor-Cmd <ProjectFolder>")


def test_the_menu_entry_opens_the_tools_from_python_too(editor):
    editor.invoke_menu_entry(["Vantorel", "Vantorel Functions"])
    assert ("LogVantorelUnrealEditor", "Display", "Vantorel tools target SkeletalMesh path: '' resolved: no") in editor.log_lines()
    with pytest.raises(RuntimeError, match="has no entry 'Missing'"):
        editor.invoke_menu_entry(["Vantorel", "Missing"])


# A rig whose forwards solve puts the bone Hand where the control Handle is, 10 cm lower.
MAKE_FOLLOW_RIG = """
import unreal
rig = unreal.ControlRigBlueprintFactory.create_new_control_rig_asset(desired_package_path="/Game/Eval/Follow")
hierarchy = rig.get_hierarchy_controller()
settings = unreal.RigControlSettings()
settings.control_type = unreal.RigControlType.EULER_TRANSFORM
hierarchy.add_control("Handle", unreal.RigElementKey(), settings, unreal.RigControlValue())
hierarchy.add_bone("Hand", unreal.RigElementKey(), unreal.Transform(location=unreal.Vector(0, 0, -10)), True)
graph = rig.get_controller()
graph.add_unit_node_from_struct_path("/Script/ControlRig.RigUnit_GetTransform", "Execute", unreal.Vector2D(0, 0), "Get")
graph.set_pin_default_value("Get.Item", '(Type=Control,Name="Handle")')
graph.add_unit_node_from_struct_path("/Script/ControlRig.RigUnit_OffsetTransformForItem", "Execute", unreal.Vector2D(0, 0), "Follow")
graph.set_pin_default_value("Follow.Item", '(Type=Bone,Name="Hand")')
graph.add_link("Get.Transform", "Follow.OffsetTransform")
graph.add_link("RigUnit_BeginExecution.ExecuteContext", "Follow.ExecuteContext")
"""


def test_a_saved_rig_evaluates_with_the_control_values_given_and_prints_its_bones(tmp_path):
    script = tmp_path / "make_rig.py"
    script.write_text(MAKE_FOLLOW_RIG)
    project = str(tmp_path / "Project")
    code, lines, _ = run_host(project, "-ExecFile=" + str(script), "-SaveAll")
    assert code == 0
    # A second run loads the saved rig; the value moves the handle 4 cm along Y, and the bone with it.
    code, lines, _ = run_host(project, "-ControlValue=Handle=(Location=(X=0,Y=4,Z=0),Rotation=(Pitch=0,Yaw=0,Roll=0),Scale=(X=1,Y=1,Z=1))",
                              "-EvalRuns=2", "-EvalRig=/Game/Eval/Follow.Follow")
    assert code == 0
    header = lines.index("== bones of /Game/Eval/Follow.Follow after 2 forwards solves")
    assert lines[header + 1] == "Hand T=(0.0000, 4.0000, -10.0000) R=(0.0000, 0.0000, 0.0000) S=(1.0000, 1.0000, 1.0000)"
    report = lines.index("== run report")
    assert lines[report + 1].startswith("2 events, 6 nodes executed, 0 errors")


@pytest.mark.parametrize("arguments, message", [
    (("-ControlValue=Nobody=1",), "HostEditor-Cmd: The rig has no control Nobody."),
    (("-ControlValue=Handle=7",), "HostEditor-Cmd: '7' is not a value of the EulerTransform control Handle."),
    (("-ControlValue=Handle",), "-ControlValue needs a control and a value"),
    (("-EvalRuns=0",), "-EvalRuns needs a whole number of at least 1, not 0"),
])
def test_evaluation_settings_that_cannot_be_used_fail_the_run(tmp_path, arguments, message):
    script = tmp_path / "make_rig.py"
    script.write_text(MAKE_FOLLOW_RIG)
    project = str(tmp_path / "Project")
    assert run_host(project, "-ExecFile=" + str(script), "-SaveAll")[0] == 0
    code, lines, _ = run_host(project, *arguments, "-EvalRig=/Game/Eval/Follow.Follow")
    assert code == 1
    assert any(message in line for line in lines), lines


def test_evaluating_a_missing_rig_fails(tmp_path):
    code, lines, _ = run_host(str(tmp_path / "Project"), "-EvalRig=/Game/Nope.Nope")
    assert code == 1
    assert "HostEditor-Cmd: no Control Rig at /Game/Nope.Nope" in lines
