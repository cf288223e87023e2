"""Animation clips imported from real FBX files: the sample character's generated clips read by the
editor's FBX import into animation sequences, key for key as the generator defined them in the
engine's space, and files the import must refuse."""

import math
import os
import shutil

import pytest

from conftest import SAMPLE_HERO, install_sample_hero

import generate_sample
import sample_clips

CLIPS_DIR = os.path.join(SAMPLE_HERO, generate_sample.CLIPS_FOLDER)
DESTINATION = "/Game/SampleHero/Anims"


def animation_task(unreal, filename, skeleton, replace=True, save=False, import_mesh=False):
    """An automated import task of one file as animation for the Skeleton, as a script makes one."""
    options = unreal.FbxImportUI()
    options.set_editor_property("import_mesh", import_mesh)
    options.set_editor_property("import_animations", True)
    options.set_editor_property("skeleton", skeleton)
    task = unreal.AssetImportTask()
    for name, value in (("filename", filename), ("destination_path", DESTINATION), ("automated", True),
                        ("replace_existing", replace), ("save", save), ("options", options)):
        task.set_editor_property(name, value)
    return task


def run_tasks(unreal, tasks):
    unreal.AssetToolsHelpers.get_asset_tools().import_asset_tasks(tasks)
    return [[obj.get_path_name() for obj in task.get_objects()] for task in tasks]


@pytest.fixture
def hero_skeleton(unreal, editor, tmp_path):
    mesh = install_sample_hero(unreal, tmp_path / "Project")
    return mesh.get_editor_property("skeleton")


def angle_between(a, b):
    """The angle of the turn between two unit quaternions (either sign), robust near zero."""
    chord = min(math.dist(a, b), math.dist(a, [-v for v in b]))
    return 4.0 * math.asin(min(1.0, chord / 2.0))


def test_the_sample_clips_import_key_for_key(unreal, editor, hero_skeleton, tmp_path):
    files = sorted(os.path.join(CLIPS_DIR, name) for name in os.listdir(CLIPS_DIR))
    assert [os.path.basename(f) for f in files] == ["SampleHero_Idle.fbx", "SampleHero_Run_Forward.fbx",
                                                    "SampleHero_Walk_Forward.fbx", "SampleHero_Wave.fbx"]
    results = run_tasks(unreal, [animation_task(unreal, f, hero_skeleton, save=True) for f in files])
    assert results == [["%s/%s.%s" % (DESTINATION, n, n)] for n in
                       ("SampleHero_Idle", "SampleHero_Run_Forward", "SampleHero_Walk_Forward", "SampleHero_Wave")]

    skeleton = generate_sample.build_documents(generate_sample.Parameters())[0]
    joints = {joint.name: joint for joint in skeleton.joints}
    # Read back from the saved packages, in a new editor run.
    editor.shutdown()
    editor.start(str(tmp_path / "Project"))
    for clip in sample_clips.clips("SampleHero"):
        keys = editor.anim_sequence_keys("%s/%s" % (DESTINATION, clip.name))
        assert keys["frame_rate"] == (clip.fps, 1), clip.name
        assert keys["keys"] == clip.frames + 1, clip.name
        assert keys["play_length"] == pytest.approx(clip.frames / clip.fps, abs=1e-6), clip.name
        assert keys["skeleton"] == hero_skeleton.get_path_name()
        assert sorted(keys["tracks"]) == sorted(clip.bones), clip.name
        for bone, track in keys["tracks"].items():
            expected = sample_clips.expected_keys(clip, joints[bone])
            assert len(track) == len(expected)
            for frame, ((position, rotation, scale), (want_position, want_rotation)) in enumerate(zip(track, expected)):
                assert math.dist(position, want_position) < 1e-3, (clip.name, bone, frame)
                assert angle_between(rotation, want_rotation) < 1e-4, (clip.name, bone, frame)
                assert scale == pytest.approx((1.0, 1.0, 1.0), abs=1e-6)
    # The walk carries the root 150 cm along its parent's X over one second.
    walk = editor.anim_sequence_keys(DESTINATION + "/SampleHero_Walk_Forward")["tracks"]["Root_M"]
    assert math.dist(walk[-1][0], walk[0][0]) == pytest.approx(150.0, abs=1e-3)


def test_upper_case_files_in_a_sub_folder_import_and_bad_files_make_nothing(unreal, editor, hero_skeleton, tmp_path):
    folder = tmp_path / "Clips" / "Sub"
    folder.mkdir(parents=True)
    walk = os.path.join(CLIPS_DIR, "SampleHero_Walk_Forward.fbx")
    shutil.copy(walk, folder / "HERO_WALK.FBX")
    with open(walk, "rb") as source:
        text = source.read()
    (folder / "Truncated.fbx").write_bytes(text[:len(text) // 2])
    (folder / "Notes.fbx").write_text("These are my notes, not an FBX file.\n" * 3)
    # A clip of another character: none of its bones is one of the sample's.
    other = sample_clips.fbx_text(sample_clips.Clip("Other_Walk", 30, 10, {"Spine_C": sample_clips.swing(10.0, "y")}),
                                  OtherSkeleton())
    (folder / "Other_Walk.fbx").write_text(other)
    names = ["HERO_WALK.FBX", "Truncated.fbx", "Notes.fbx", "Other_Walk.fbx"]
    results = run_tasks(unreal, [animation_task(unreal, str(folder / name), hero_skeleton) for name in names])
    assert results == [[DESTINATION + "/HERO_WALK.HERO_WALK"], [], [], []]
    errors = [text for _c, verbosity, text in editor.log_lines() if verbosity == "Error"]
    assert any("Truncated.fbx': the file cannot be read as FBX" in e for e in errors), errors
    assert any("Notes.fbx': the file is not an FBX file" in e for e in errors), errors
    assert any("Other_Walk.fbx': none of its animated nodes is a bone of Skeleton" in e for e in errors), errors
    for name in ("Truncated", "Notes", "Other_Walk"):
        assert unreal.find_object(None, "%s/%s.%s" % (DESTINATION, name, name)) is None
        assert not unreal.EditorAssetLibrary.does_asset_exist("%s/%s" % (DESTINATION, name))
    assert len(editor.anim_sequence_keys(DESTINATION + "/HERO_WALK")["tracks"]["Root_M"]) == 31


def test_existing_clips_are_kept_unless_replaced_and_meshes_are_not_imported(unreal, editor, hero_skeleton):
    idle = os.path.join(CLIPS_DIR, "SampleHero_Idle.fbx")
    assert run_tasks(unreal, [animation_task(unreal, idle, hero_skeleton)]) == [[DESTINATION + "/SampleHero_Idle.SampleHero_Idle"]]
    assert run_tasks(unreal, [animation_task(unreal, idle, hero_skeleton, replace=False)]) == [[]]
    assert run_tasks(unreal, [animation_task(unreal, idle, hero_skeleton)]) == [[DESTINATION + "/SampleHero_Idle.SampleHero_Idle"]]
    # The headless editor's FBX import reads clips, not meshes: a mesh import says so and makes nothing.
    wave = os.path.join(CLIPS_DIR, "SampleHero_Wave.fbx")
    assert run_tasks(unreal, [animation_task(unreal, wave, hero_skeleton, import_mesh=True)]) == [[]]
    assert any("imports FBX animation clips only" in text for _c, _v, text in editor.log_lines())
    # Without a Skeleton there is nothing to import the clip for.
    assert run_tasks(unreal, [animation_task(unreal, wave, None)]) == [[]]
    assert any("an animation import needs the Skeleton it is for" in text for _c, _v, text in editor.log_lines())


class OtherSkeleton:
    """A two-joint skeleton of another character, in the generator's joint form."""

    class Joint:
        def __init__(self, name, parent, translation):
            self.name, self.parent = name, parent
            self.local_translation, self.local_rotation = translation, (0.0, 0.0, 0.0, 1.0)

    def __init__(self):
        self.joints = [self.Joint("Hips_C", None, (0.0, 0.0, 100.0)), self.Joint("Spine_C", "Hips_C", (0.0, 0.0, 10.0))]
