"""The tools window driven as a user drives it, with the editor's Python and the tool script: every
rig mode built from the sample through the window's controls, the values its buttons hand to the
script, and the window seen from HostEditor-Cmd."""

import builtins
import math
import os
import subprocess

import pytest

from conftest import ROOT, SAMPLE_HERO, install_sample_hero
from test_body_rig_evaluation import package_file, reference_pose

BODY_JSON = os.path.join(SAMPLE_HERO, "SampleHero_BodyRig.json")
FACE_JSON = os.path.join(SAMPLE_HERO, "SampleHero_FaceRig.json")
MESH = "/Game/SampleHero/SK_SampleHero.SK_SampleHero"
HOST = os.path.join(ROOT, os.environ.get("VN_BUILD_DIR", "build"), "Binaries", "HostEditor-Cmd")


def open_tools(editor):
    editor.invoke_menu_entry(["Vantorel", "Vantorel Functions"])


def expand_standard_control_rig(editor):
    editor.expand("Standard Exported")
    editor.expand("Standard Exported>Control Rig")


def bone_distance_from_rest(editor, unreal, rig, project, names):
    pose = reference_pose(package_file(project, "/Game/SampleHero/SK_SampleHero"))
    evaluation = editor.RigEvaluation(rig)
    evaluation.run_forwards_solve()
    assert not evaluation.report()["errors"]
    worst = 0.0
    for name in names:
        place = evaluation.global_transform(name).translation
        worst = max(worst, math.dist((place.x, place.y, place.z), pose[name][2]))
    return worst


def test_a_user_builds_every_mode_of_the_sample_through_the_window(unreal, editor, tmp_path):
    project = tmp_path / "Project"
    install_sample_hero(unreal, project)
    open_tools(editor)
    expand_standard_control_rig(editor)
    assert editor.tools_control("Standard Exported>SkeletalMesh")["value"] == "None"
    assert not editor.tools_control("Standard Exported>Create Control Rig")["enabled"]

    # The mesh from the picker, the body JSON typed, the face JSON from its dialog.
    editor.pick("Standard Exported>SkeletalMesh", MESH)
    editor.type_text("Standard Exported>Body JSON File", BODY_JSON)
    editor.pick("Standard Exported>Create ControlRig for:", "Face")
    editor.answer_dialog(FACE_JSON)
    editor.click("Standard Exported>Face JSON File>Browse")
    assert editor.desktop_dialogs()[-1]["title"] == "Choose Vantorel Face JSON"
    assert editor.tools_control("Standard Exported>Face JSON File")["value"] == FACE_JSON

    built = {}
    for mode, asset in (("Body", "SK_SampleHero_Body_CR"), ("Face", "SK_SampleHero_Face_CR"), ("Body+Face", "SK_SampleHero_CR")):
        editor.pick("Standard Exported>Create ControlRig for:", mode)
        control = editor.tools_control("Standard Exported>Create Control Rig")
        assert control["enabled"] and control["visible"], mode
        editor.click("Standard Exported>Create Control Rig")
        assert editor.message_boxes()[-1] == ("Vantorel", "Create Control Rig complete."), mode
        assert os.path.isfile(project / "Content" / "SampleHero" / (asset + ".uasset")), mode
        built[mode] = unreal.load_asset("/Game/SampleHero/" + asset)

    def has(rig, name):
        return rig.hierarchy.contains(unreal.RigElementKey(type=unreal.RigElementType.CONTROL, name=name))

    assert has(built["Body"], "Main") and not has(built["Body"], "ctrlBox")
    assert has(built["Face"], "ctrlBox") and not has(built["Face"], "Main")
    assert has(built["Body+Face"], "Main") and has(built["Body+Face"], "ctrlBox")
    # Each runs, and at rest leaves the bones where the mesh has them.
    for mode, rig in built.items():
        assert bone_distance_from_rest(editor, unreal, rig, project, ("Head_M", "Wrist_L", "JawJoint_M")) < 1e-3, mode
    # The window is as the user left it; the progress window the builds opened has closed again.
    assert editor.tools_control("Standard Exported>Create ControlRig for:")["value"] == "Body+Face"
    progress = [w for w in editor.slate_windows() if w["title"] == "Vantorel Body Control Rig"]
    assert progress and all(w["destroyed"] for w in progress)


@pytest.fixture
def recorded(editor, unreal, tmp_path, monkeypatch):
    """The tools opened on the sample with the script's builtins replaced by recorders: each call's
    builtin name and arguments, in order, instead of a build."""
    install_sample_hero(unreal, tmp_path / "Project")
    editor.select_assets([MESH])
    open_tools(editor)
    calls = []
    for name in [name for name in vars(builtins) if name.startswith("vn_")]:
        monkeypatch.setattr(builtins, name, lambda *args, _name=name: calls.append((_name, args)))
    return calls


HOSTILE = [
    'C:\\Users\\Quote"d\\Rig.json',
    "/tmp/two\nlines\r\nand\ttab.json",
    "/tmp/H\u00e9ros/\u9854/\u0416_FaceRig.json",
    '"); import os; os.remove("x"); ("',
    "trailing\\",
]


@pytest.mark.parametrize("text", HOSTILE)
def test_the_rig_button_hands_every_typed_text_to_the_script_unchanged(editor, recorded, text):
    expand_standard_control_rig(editor)
    editor.pick("Standard Exported>Create ControlRig for:", "Body+Face")
    editor.type_text("Standard Exported>Face JSON File", text)
    editor.type_text("Standard Exported>Body JSON File", BODY_JSON)
    editor.set_checked("Twist Solution", False)
    editor.click("Standard Exported>Create Control Rig")
    names = [name for name, _args in recorded]
    assert names == ["vn_set_target_skeletal_mesh", "vn_set_body_control_rig_template_file", "vn_set_body_json_file",
                     "vn_set_body_control_rig_source", "vn_set_face_json_file", "vn_set_control_rig_mode",
                     "vn_set_body_rig_options", "vn_set_include_custom_controllers", "vn_run_create_control_rig"]
    args = dict(recorded)
    assert args["vn_set_target_skeletal_mesh"][0].get_path_name() == MESH
    assert args["vn_set_face_json_file"] == (text,)
    assert args["vn_set_body_json_file"] == (BODY_JSON,)
    assert args["vn_set_body_control_rig_source"] == ("Generate from JSON",)
    assert args["vn_set_control_rig_mode"] == ("Body+Face",)
    assert args["vn_set_body_rig_options"] == (True, True, False)
    assert args["vn_set_include_custom_controllers"] == (False,)


def test_the_mannequin_section_sends_its_template_custom_controllers_and_mesh_actions(editor, recorded):
    editor.expand("Mannequin Exported")
    editor.expand("Mannequin Exported>Game Play")
    editor.expand("Mannequin Exported>Control Rig")
    assert editor.tools_control("Mannequin Exported>SkeletalMesh")["value"] == MESH
    # No third-person character blueprint is known, so "Set Character" stays disabled.
    assert not editor.tools_control("Set Character")["enabled"]
    editor.click("Set retarget options")
    assert [name for name, _args in recorded] == ["vn_set_target_skeletal_mesh", "vn_run_set_retarget_options"]
    assert recorded[0][1][0].get_path_name() == MESH
    del recorded[:]

    editor.set_checked("Include Custom Controllers")
    editor.type_text("Mannequin Exported>Body JSON File", BODY_JSON)
    template = editor.tools_control("Mannequin Exported>Body Control Rig Template")["value"]
    editor.click("Mannequin Exported>Create Control Rig")
    args = dict(recorded)
    assert args["vn_set_body_control_rig_template_file"] == (template,)
    assert args["vn_set_body_control_rig_source"] == ("Mannequin template",)
    assert args["vn_set_include_custom_controllers"] == (True,)


SAMPLE_MANNY = os.path.join(ROOT, "Samples", "SampleManny")
MANNY_MESH = "/Game/SampleManny/SK_SampleManny.SK_SampleManny"
IK_BONES = {"ik_foot_root", "ik_foot_l", "ik_foot_r", "ik_hand_root", "ik_hand_gun", "ik_hand_l", "ik_hand_r"}


def test_set_retarget_options_sets_the_mannequin_modes_on_the_skeleton(unreal, editor, tmp_path):
    content = tmp_path / "Project" / "Content" / "SampleManny"
    content.mkdir(parents=True)
    for name in os.listdir(SAMPLE_MANNY):
        if name.endswith(".uasset"):
            with open(os.path.join(SAMPLE_MANNY, name), "rb") as source, open(content / name, "wb") as target:
                target.write(source.read())
    open_tools(editor)
    editor.expand("Mannequin Exported")
    editor.expand("Mannequin Exported>Game Play")
    assert not editor.tools_control("Set retarget options")["enabled"]
    editor.pick("Mannequin Exported>SkeletalMesh", MANNY_MESH)
    editor.click("Set retarget options")
    assert editor.message_boxes()[-1] == ("Vantorel", "Set retarget options complete.")

    skeleton = unreal.load_asset(MANNY_MESH).get_editor_property("skeleton").get_path_name()
    modes = editor.bone_translation_retargeting_modes(skeleton)
    assert IK_BONES <= {bone for bone, _mode in modes}
    for bone, mode in modes:
        assert mode == ("Animation" if bone.lower() in IK_BONES else "Skeleton"), bone
    lines = [text for _category, _verbosity, text in editor.log_lines()]
    assert "Applied Skeleton retargeting options. IK bones set to Animation. Changes: %d" % (len(modes) - 7) in lines
    # Pressed again, nothing is left to change.
    editor.click("Set retarget options")
    assert "Applied Skeleton retargeting options. IK bones set to Animation. Changes: 0" in [t for _c, _v, t in editor.log_lines()]

    # Without a mesh the action says so instead of reporting a run that changed nothing.
    tool_set_mesh = builtins.vn_set_target_skeletal_mesh
    tool_set_mesh(None)
    builtins.vn_run_set_retarget_options()
    assert editor.message_boxes()[-1] == ("Vantorel", "Set retarget options failed:\nChoose a SkeletalMesh in Mannequin "
                                                      "Exported, or select one in the Content Browser, first.")


def run_host(project, *actions):
    return subprocess.run([HOST, str(project), *actions], capture_output=True, text=True, timeout=600)


def test_host_editor_cmd_shows_and_drives_the_window(unreal, tmp_path):
    project = tmp_path / "Cmd"
    (project / "Content" / "SampleHero").mkdir(parents=True)
    for name in os.listdir(SAMPLE_HERO):
        if name.endswith(".uasset"):
            with open(os.path.join(SAMPLE_HERO, name), "rb") as source, open(project / "Content" / "SampleHero" / name, "wb") as target:
                target.write(source.read())
    result = run_host(project, "-NoPython", "-OpenTools", "-Expand=Standard Exported", "-Expand=Standard Exported>Control Rig",
                      "-Pick=Standard Exported>SkeletalMesh=" + MESH, "-Untick=Backwards Solve",
                      "-Pick=Standard Exported>Create ControlRig for:=Face", "-ShowTools")
    assert result.returncode == 0, result.stdout + result.stderr
    outline = result.stdout[result.stdout.index("== tools window: Vantorel"):]
    assert "\n[+] Mannequin Exported\n[-] Standard Exported\n  SkeletalMesh  {" + MESH + "}\n  [+] Game Play\n  [-] Control Rig\n" in outline
    assert "    Create ControlRig for:  [Face v] (Body | Face | Body+Face)\n" in outline
    assert "    Body rig options:  [ ] Backwards Solve (disabled)  [x] Driving Systems (disabled)  [x] Twist Solution (disabled)\n" in outline
    assert "\n[+] Demo\n[-] About\n" in outline

    # A control that is not there, one that is ambiguous and one that is disabled each fail the action.
    # (The sections expanded above are still expanded: the project's settings kept them.)
    result = run_host(project, "-NoPython", "-OpenTools", "-Click=Make Coffee", "-Collapse=Standard Exported",
                      "-Click=Create Control Rig", "-Expand=Standard Exported", "-Click=Standard Exported>Create Control Rig")
    assert result.returncode == 1
    assert "no control is named 'Make Coffee'" in result.stderr + result.stdout
    assert "'Create Control Rig' names 2 controls" in result.stderr + result.stdout
    assert "'Standard Exported>Control Rig>Create Control Rig' is disabled" in result.stderr + result.stdout
