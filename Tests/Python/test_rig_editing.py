"""The native rig edits and the body bone import as the tool script reaches them: through
unreal.VNFaceSDKImportLibrary under their script names and keywords, and the tool script's step that
rebuilds a body rig's bones, with its fallback to the engine's own import."""

import os

import pytest

MESH_PATH = "/Game/Chars/Hero/SK_Hero"
IDENTITY_MAYA_MATRIX = [1.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0, 10.0, 20.0, 30.0, 1.0]
ALL_BONES = ["Main", "MainSystem", "MotionSystem", "Root_M", "Cheek_L"]


@pytest.fixture
def mesh(editor, unreal):
    at = lambda x, y, z: unreal.Transform(location=unreal.Vector(x, y, z))
    return editor.create_skeletal_mesh(MESH_PATH, [
        ("Main", None, None), ("MainSystem", "Main", None), ("MotionSystem", "MainSystem", None),
        ("Root_M", "MotionSystem", at(0, 0, 100)), ("Cheek_L", "Root_M", at(3, 10, 60))])


@pytest.fixture
def rig(unreal, mesh):
    unreal.load_module("ControlRigDeveloper")
    return unreal.ControlRigBlueprintFactory.create_control_rig_from_skeletal_mesh_or_skeleton(mesh)


def control_key(unreal, name):
    return unreal.RigElementKey(type=unreal.RigElementType.CONTROL, name=name)


def add_control(unreal, rig, name):
    rig.get_hierarchy_controller().add_control(name, unreal.RigElementKey(), unreal.RigControlSettings(),
                                               unreal.RigHierarchy.make_control_value_from_euler_transform(unreal.EulerTransform()))
    return control_key(unreal, name)


def bone_names(unreal, rig):
    return [str(key.name) for key in rig.hierarchy.get_all_keys(True) if key.type == unreal.RigElementType.BONE]


def xyz(vector):
    return pytest.approx((vector.x, vector.y, vector.z), abs=1e-5)


def test_the_placement_functions_answer_to_their_script_names_and_keywords(unreal, rig, mesh):
    library, hierarchy = unreal.VNFaceSDKImportLibrary, rig.hierarchy
    cheek, lid = add_control(unreal, rig, "Cheek_CTRL"), add_control(unreal, rig, "Lid_CTRL")

    assert library.configure_on_face_control(control_rig_blueprint=rig, skeletal_mesh=mesh, control_name="Cheek_CTRL",
                                             bone_name="Cheek_L", control_scale=unreal.Vector(2, 2, 2), shape_size=1.0)
    assert (0.3, 1.0, 0.0) == xyz(hierarchy.get_local_control_shape_transform(cheek, True).translation)

    assert library.configure_on_face_control_from_maya_data(
        control_rig_blueprint=rig, control_name="Lid_CTRL", maya_control_position=unreal.Vector(0, 0, 0),
        maya_control_rotation=unreal.Vector(0, 0, 0), maya_control_world_matrix=IDENTITY_MAYA_MATRIX,
        maya_shape_position=unreal.Vector(10, 20, 30), control_scale=unreal.Vector(2, 3, 4), shape_scale=1.0,
        match_parent_orientation=False, flip_shape_x=True)
    offset = hierarchy.get_global_control_offset_transform(lid, True)
    assert (-2.0, 3.0, 4.0) == xyz(offset.scale3d) and (10.0, 30.0, 20.0) == xyz(offset.translation)

    assert library.set_control_shape_from_maya_world_position(control_rig_blueprint=rig, control_name="Lid_CTRL",
                                                              maya_shape_world_position=unreal.Vector(10, 23, 30), shape_scale=1.0)
    assert (0.0, 1.0, 0.0) == xyz(hierarchy.get_local_control_shape_transform(lid, True).translation)

    assert library.configure_body_control_rotation_from_maya_matrix(control_rig_blueprint=rig, control_name="Lid_CTRL",
                                                                    maya_control_world_matrix=IDENTITY_MAYA_MATRIX)
    assert not library.configure_body_control_rotation_from_maya_matrix(control_rig_blueprint=rig, control_name="Lid_CTRL",
                                                                        maya_control_world_matrix=IDENTITY_MAYA_MATRIX[:15])

    assert library.configure_on_face_control_from_transform(
        control_rig_blueprint=rig, control_name="Cheek_CTRL", control_global_transform=unreal.Transform(location=unreal.Vector(1, 2, 3)),
        control_scale=unreal.Vector(1, 1, 1), shape_transform=unreal.Transform())

    assert library.ensure_control_parent(control_rig_blueprint=rig, control_name="Lid_CTRL", parent_name="Cheek_CTRL")
    assert [str(parent.name) for parent in hierarchy.get_parents(lid)] == ["Cheek_CTRL"]
    assert not library.ensure_control_parent(control_rig_blueprint=rig, control_name="Lid_CTRL", parent_name="Nowhere")


def test_edits_leave_the_saved_asset_on_disk_untouched(unreal, editor, rig):
    add_control(unreal, rig, "Cheek_CTRL")
    assert unreal.EditorAssetLibrary.save_loaded_asset(rig, False)
    content = os.path.join(unreal.Paths.project_content_dir(), "Chars", "Hero")
    saved = {name: open(os.path.join(content, name), "rb").read() for name in os.listdir(content)}

    library = unreal.VNFaceSDKImportLibrary
    assert library.configure_on_face_control_from_transform(rig, "Cheek_CTRL", unreal.Transform(location=unreal.Vector(5, 5, 5)),
                                                            unreal.Vector(1, 1, 1), unreal.Transform())
    assert library.import_body_control_rig_bones(rig, unreal.load_asset(MESH_PATH))
    assert {name: open(os.path.join(content, name), "rb").read() for name in os.listdir(content)} == saved


def test_the_tool_script_rebuilds_the_bones_natively_without_the_maya_groups(unreal, tool_script, rig, mesh, capsys):
    tool_script["set_target_skeletal_mesh"](mesh)
    null = rig.get_hierarchy_controller().add_null("Main", unreal.RigElementKey(), unreal.Transform(), True)
    assert tool_script["replace_control_rig_bones_from_skeletal_mesh"](rig)
    assert bone_names(unreal, rig) == ["Root_M", "Cheek_L"]
    assert rig.hierarchy.contains(null)
    printed = capsys.readouterr().out.splitlines()
    assert printed == ["Imported Body bones after removing legacy MotionSystem/MainSystem/Main; no replacement MotionSystem was created.",
                       "Rebuilt Control Rig hierarchy bones from target SkeletalMesh. Removed: 5"]


def test_without_the_native_import_the_engine_import_brings_every_bone(unreal, tool_script, rig, mesh, capsys, monkeypatch):
    monkeypatch.setattr(unreal, "VNFaceSDKImportLibrary", object())
    tool_script["set_target_skeletal_mesh"](mesh)
    assert tool_script["replace_control_rig_bones_from_skeletal_mesh"](rig)
    assert bone_names(unreal, rig) == ALL_BONES
    printed = capsys.readouterr().out.splitlines()
    assert printed[0].startswith("Native Body bone import unavailable; using standard importer: ")
    assert printed[1:] == ["Rebuilt Control Rig hierarchy bones from target SkeletalMesh. Removed: 5"]


def test_the_step_reports_what_it_could_not_do_and_never_raises(unreal, tool_script, rig, capsys, monkeypatch):
    assert not tool_script["replace_control_rig_bones_from_skeletal_mesh"](None)
    assert capsys.readouterr().out == "Body Control Rig hierarchy was not available; bone import skipped.\n"

    # No target mesh: the engine's imports return nothing, which does not count as an import.
    monkeypatch.setattr(unreal, "VNFaceSDKImportLibrary", object())
    tool_script["set_target_skeletal_mesh"](None)
    assert not tool_script["replace_control_rig_bones_from_skeletal_mesh"](rig)
    last = capsys.readouterr().out.splitlines()[-1]
    assert last.startswith("Could not auto-import target SkeletalMesh bones into the Control Rig hierarchy. Available controller methods:")
    assert "'import_bones'" in last
    assert bone_names(unreal, rig) == []
