"""The gameplay setup as a user makes it: "Create Blueprint Class, Animation Blueprint and BlendSpace"
in the tools window on the sample character, and "Set Character" putting a mesh on the project's
template character blueprint, each read back after an editor restart."""

import os
import shutil

import pytest

from conftest import ROOT, SAMPLE_HERO, SAMPLE_HERO_MESH, install_sample_hero
from test_tools_window import MESH, open_tools

TEMPLATES = os.path.join(ROOT, "HostEditor", "Templates")
CLIPS = os.path.join(SAMPLE_HERO, "Anims")
CREATE = "Create Blueprint Class, Animation Blueprint and BlendSpace"
CHARACTER_BLUEPRINT = "/Game/ThirdPerson/Blueprints/BP_ThirdPersonCharacter"


def character_defaults(unreal, blueprint_path):
    blueprint = unreal.load_asset(blueprint_path)
    assert blueprint is not None, blueprint_path
    return unreal.get_default_object(unreal.BlueprintEditorLibrary.generated_class(blueprint))


def restart(editor, project):
    editor.shutdown()
    editor.start(str(project))


def test_the_window_creates_the_sample_gameplay_setup(unreal, editor, tmp_path):
    project = tmp_path / "Project"
    install_sample_hero(unreal, project)
    open_tools(editor)
    editor.expand("Standard Exported")
    editor.expand("Standard Exported>Game Play")
    assert not editor.tools_control(CREATE)["enabled"]
    editor.pick("Standard Exported>SkeletalMesh", MESH)
    editor.type_text("FBX Anims folder:", CLIPS)
    editor.set_checked("Match mannequin size - scale character", True)
    assert editor.tools_control(CREATE)["enabled"]
    editor.click(CREATE)
    title, message = editor.message_boxes()[-1]
    assert title == "Vantorel"
    assert message.startswith("Created BP_SampleHero, ABP_SampleHero, BS_SampleHero_Idle_Walk_Run, "
                              "BP_SampleHero_PlayerController, and BP_SampleHero_GameMode next to SK_SampleHero. "
                              "Imported 4 FBX animation clip(s) into /Game/SampleHero/Anims")
    assert any("Vantorel Standard Game Play: Created" in text for _c, _v, text in editor.log_lines())
    # The Content Browser shows what was made.
    assert editor.selected_asset_paths() == [
        "/Game/SampleHero/%s.%s" % (name, name) for name in
        ("BP_SampleHero", "ABP_SampleHero", "BS_SampleHero_Idle_Walk_Run", "BP_SampleHero_PlayerController", "BP_SampleHero_GameMode")]

    restart(editor, project)
    character = character_defaults(unreal, "/Game/SampleHero/BP_SampleHero")
    mesh_component = character.get_editor_property("mesh")
    assert mesh_component.get_editor_property("skeletal_mesh_asset").get_path_name() == MESH
    assert mesh_component.get_editor_property("anim_class").get_path_name() == "/Game/SampleHero/ABP_SampleHero.ABP_SampleHero_C"
    # Match mannequin size: the sample is within a fraction of a percent of the mannequin.
    assert mesh_component.get_editor_property("relative_scale3d").x == pytest.approx(1.0, abs=0.01)
    game_mode = character_defaults(unreal, "/Game/SampleHero/BP_SampleHero_GameMode")
    assert game_mode.get_editor_property("default_pawn_class").get_path_name() == "/Game/SampleHero/BP_SampleHero.BP_SampleHero_C"


def test_a_failed_creation_says_why_in_its_own_box(unreal, editor, tmp_path):
    install_sample_hero(unreal, tmp_path / "Project")
    empty = tmp_path / "NoClips"
    empty.mkdir()
    open_tools(editor)
    editor.expand("Standard Exported")
    editor.expand("Standard Exported>Game Play")
    editor.pick("Standard Exported>SkeletalMesh", MESH)
    editor.type_text("FBX Anims folder:", str(empty))
    assert not editor.tools_control(CREATE)["enabled"], "a folder without an .fbx file is no FBX folder"
    shutil.copy(os.path.join(CLIPS, "SampleHero_Wave.fbx"), empty / "Wave.fbx")
    editor.click(CREATE)
    assert editor.message_boxes()[-1] == ("Vantorel - Creation Failed", "Could not match imported FBX clips to these BS_Idle_Walk_Run "
                                          "samples: MM_Idle, MM_Walk_Fwd, MM_Run_Fwd. Include clearly named Idle, Walk, and Run FBX clips.")
    assert any("Vantorel Standard Game Play failed: Could not match" in text for _c, verbosity, text in editor.log_lines() if verbosity == "Error")


def install_templates(project):
    """The project's own copy of the Third Person template (character, game mode, its mannequin)."""
    content = project / "Content"
    shutil.copytree(os.path.join(TEMPLATES, "TP_ThirdPersonBP", "Content", "ThirdPerson"), content / "ThirdPerson")
    shutil.copytree(os.path.join(TEMPLATES, "TemplateResources", "High", "Characters", "Content"), content / "Characters")


def test_set_character_puts_the_mesh_on_the_template_character_and_saves_it(unreal, editor, tool_script, tmp_path, capsys):
    project = tmp_path / "Project"
    install_templates(project)
    hero = install_sample_hero(unreal, project)
    # An asset of another class with the name does not count; a second blueprint of the name is reported.
    shutil.copy(os.path.join(SAMPLE_HERO, "SK_SampleHero.uasset"), project / "Content" / "BP_TopDownCharacter.uasset")
    (project / "Content" / "Zoo").mkdir()
    shutil.copy(project / "Content" / "ThirdPerson" / "Blueprints" / "BP_ThirdPersonCharacter.uasset", project / "Content" / "Zoo" / "BP_ThirdPersonCharacter.uasset")
    tool_script["set_target_skeletal_mesh"](hero)
    tool_script["vn_run_set_third_person_character"]()
    assert editor.message_boxes()[-1] == ("Vantorel", "Set Character complete.")
    printed = capsys.readouterr().out
    assert "Found multiple assets named BP_ThirdPersonCharacter" in printed
    assert "BP_ThirdPersonCharacter Character SkeletalMesh set on CharacterMesh0: " + SAMPLE_HERO_MESH + ".SK_SampleHero" in printed

    restart(editor, project)
    character = character_defaults(unreal, CHARACTER_BLUEPRINT)
    assert character.get_editor_property("mesh").get_editor_property("skeletal_mesh_asset").get_path_name() == SAMPLE_HERO_MESH + ".SK_SampleHero"
    # The other copy, later in the listing, is untouched.
    other = character_defaults(unreal, "/Game/Zoo/BP_ThirdPersonCharacter")
    assert other.get_editor_property("mesh").get_editor_property("skeletal_mesh_asset").get_name() == "SKM_Manny_Simple"


def test_set_character_without_a_template_character_says_which_it_looked_for(unreal, editor, tool_script, tmp_path):
    hero = install_sample_hero(unreal, tmp_path / "Project")
    shutil.copy(os.path.join(SAMPLE_HERO, "SK_SampleHero.uasset"), tmp_path / "Project" / "Content" / "BP_ThirdPersonCharacter.uasset")
    tool_script["set_target_skeletal_mesh"](hero)
    tool_script["vn_run_set_third_person_character"]()
    assert editor.message_boxes()[-1] == ("Vantorel", "Set Character failed:\nCould not find BP_ThirdPersonCharacter, "
                                          "BP_FirstPersonCharacter, or BP_TopDownCharacter in /Game.")
