"""Assets from Python: packages saved as text and loaded in a later run, the editor asset
library's listing, existence, duplication, renaming, deletion and directories, the asset tools,
and refusing bad paths and bad files."""

import json
import os
import subprocess
import sys
import textwrap

import pytest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
VALID_FACE_JSON = os.path.join(ROOT, "Tests", "Fuzz", "Corpus", "valid_face.json")


def content_file(editor, package_name):
    import unreal
    return os.path.join(unreal.Paths.project_content_dir(), package_name[len("/Game/"):] + ".uasset")


def make_face_rig(unreal, path="/Game/Face/FaceRig", version=3):
    folder, name = path.rsplit("/", 1)
    tools = unreal.AssetToolsHelpers.get_asset_tools()
    asset = tools.create_asset(name, folder, unreal.VNFaceRigDataAsset, unreal.DataAssetFactory())
    asset.set_editor_property("version", version)
    return asset


def errors(editor, category=None):
    return [line for line in editor.log_lines() if line[1] == "Error" and (category is None or line[0] == category)]


# ---- saving and loading ----------------------------------------------------------------------

def test_face_rig_saved_in_one_run_loads_in_the_next(editor, tmp_path):
    project = str(tmp_path / "Project")
    script = textwrap.dedent("""
        import json, sys
        sys.path.insert(0, %(python_dir)r)
        import hosteditor, unreal
        hosteditor.start(%(project)r)
        if sys.argv[1] == "save":
            folder, name = "/Game/Face", "FaceRig"
            asset = unreal.AssetToolsHelpers.get_asset_tools().create_asset(name, folder, unreal.VNFaceRigDataAsset, unreal.DataAssetFactory())
            error = unreal.VNFaceSDKImportLibrary.import_vn_face_sdk_json(asset, %(json)r)
            assert error is not None, "import failed"
            assert unreal.EditorAssetLibrary.save_loaded_asset(asset)
        else:
            asset = unreal.load_asset("/Game/Face/FaceRig")
        drivers = [driver.export_text() for driver in asset.get_editor_property("drivers")]
        print(json.dumps({"version": asset.get_editor_property("version"), "drivers": drivers}))
    """) % {"python_dir": os.environ.get("VN_PYTHON_DIR", os.path.join(ROOT, "build", "python")),
            "project": project, "json": VALID_FACE_JSON}

    def run(mode):
        done = subprocess.run([sys.executable, "-c", script, mode], capture_output=True, text=True, timeout=120)
        assert done.returncode == 0, done.stderr
        return json.loads(done.stdout.strip().splitlines()[-1])

    saved = run("save")
    loaded = run("load")
    assert saved["drivers"], "the fixture has drivers"
    assert loaded == saved


def test_restart_unloads_assets_so_they_load_from_disk(editor, unreal, tmp_path):
    asset = make_face_rig(unreal, version=5)
    assert unreal.EditorAssetLibrary.save_loaded_asset(asset)
    editor.start(str(tmp_path / "Project"))
    assert unreal.find_asset("/Game/Face/FaceRig") is None
    reloaded = unreal.load_asset("/Game/Face/FaceRig")
    assert reloaded is not None and reloaded != asset
    assert reloaded.get_editor_property("version") == 5


def test_skeletal_mesh_keeps_skeleton_and_import_data_across_a_restart(editor, unreal, tmp_path):
    mesh = editor.create_skeletal_mesh("/Game/Chars/SK_Hero", [("root", None, None), ("pelvis", "root", None)], import_uniform_scale=2.5)
    import_data = mesh.get_editor_property("asset_import_data")
    assert import_data.get_outer() == mesh
    editor.start(str(tmp_path / "Project"))
    mesh = unreal.load_asset("/Game/Chars/SK_Hero")
    assert isinstance(mesh, unreal.SkeletalMesh)
    assert mesh.get_editor_property("skeleton").get_path_name() == "/Game/Chars/SK_Hero_Skeleton.SK_Hero_Skeleton"
    import_data = mesh.get_editor_property("asset_import_data")
    assert isinstance(import_data, unreal.FbxSkeletalMeshImportData)
    assert import_data.get_editor_property("import_uniform_scale") == pytest.approx(2.5)
    assert import_data.get_outer() == mesh


def test_save_only_if_dirty_leaves_an_unchanged_file_alone(editor, unreal):
    asset = make_face_rig(unreal)
    assert unreal.EditorAssetLibrary.save_loaded_asset(asset)
    path = content_file(editor, "/Game/Face/FaceRig")
    with open(path, "a", encoding="utf-8") as stream:
        stream.write("\n")
    size = os.path.getsize(path)
    assert unreal.EditorAssetLibrary.save_asset("/Game/Face/FaceRig", only_if_is_dirty=True)
    assert os.path.getsize(path) == size
    asset.set_editor_property("version", 9)
    assert unreal.EditorAssetLibrary.save_asset("/Game/Face/FaceRig")
    assert os.path.getsize(path) != size


@pytest.mark.parametrize("text", ["", "garbage \x00 bytes", "Begin Object Class=/Script/Engine.SkeletalMesh Name=\"Bad\"\n   Skeleton=None\n"],
                         ids=["empty", "garbage", "truncated"])
def test_bad_package_file_loads_as_none_with_an_error(editor, unreal, text):
    path = os.path.join(unreal.Paths.project_content_dir(), "Bad.uasset")
    with open(path, "w", encoding="utf-8") as stream:
        stream.write(text)
    assert unreal.load_asset("/Game/Bad") is None
    assert unreal.EditorAssetLibrary.load_asset("/Game/Bad") is None
    assert errors(editor, "LogLinker")


# ---- module-level functions --------------------------------------------------------------------

@pytest.mark.parametrize("name", ["/Game/Face/FaceRig", "/Game/Face/FaceRig.FaceRig", "VNFaceRigDataAsset'/Game/Face/FaceRig.FaceRig'"])
def test_load_and_find_asset_accept_every_path_form(editor, unreal, name):
    asset = make_face_rig(unreal)
    assert unreal.load_asset(name) == asset
    assert unreal.find_asset(name) == asset


def test_load_asset_of_another_type_or_missing_path_returns_none(editor, unreal):
    make_face_rig(unreal)
    assert unreal.load_asset("/Game/Face/FaceRig", unreal.SkeletalMesh) is None
    assert unreal.load_asset("/Game/Face/FaceRig", unreal.DataAsset) is not None
    assert unreal.load_asset("/Game/Nothing/Here") is None


def test_get_default_object_returns_the_class_default(editor, unreal):
    default = unreal.get_default_object(unreal.DataAssetFactory)
    assert default.get_name() == "Default__DataAssetFactory"
    assert default.get_editor_property("supported_class") == unreal.DataAsset.static_class()


# ---- editor asset library ---------------------------------------------------------------------

@pytest.fixture
def populated(editor, unreal):
    """/Game/Chars/A, /Game/Chars/Sub/B (saved) and /Game/Chars/C (created, not saved)."""
    for path in ("/Game/Chars/A", "/Game/Chars/Sub/B"):
        assert unreal.EditorAssetLibrary.save_loaded_asset(make_face_rig(unreal, path))
    make_face_rig(unreal, "/Game/Chars/C")
    return editor


@pytest.mark.parametrize("recursive, include_folder, expected", [
    (True, False, ["/Game/Chars/A.A", "/Game/Chars/C.C", "/Game/Chars/Sub/B.B"]),
    (False, False, ["/Game/Chars/A.A", "/Game/Chars/C.C"]),
    (True, True, ["/Game/Chars/A.A", "/Game/Chars/C.C", "/Game/Chars/Sub/", "/Game/Chars/Sub/B.B"]),
    (False, True, ["/Game/Chars/A.A", "/Game/Chars/C.C", "/Game/Chars/Sub/"]),
])
def test_list_assets_gives_object_paths_of_saved_and_unsaved_assets(populated, unreal, recursive, include_folder, expected):
    assert sorted(unreal.EditorAssetLibrary.list_assets("/Game/Chars/", recursive, include_folder)) == expected


@pytest.mark.parametrize("path, exists", [
    ("/Game/Chars/A", True), ("/Game/Chars/A.A", True), ("VNFaceRigDataAsset'/Game/Chars/A.A'", True),
    ("/Game/Chars/C", True), ("/Game/Chars/Missing", False), ("/Game/Chars/A.Other", False),
])
def test_does_asset_exist_for_saved_unsaved_and_missing_assets(populated, unreal, path, exists):
    assert unreal.EditorAssetLibrary.does_asset_exist(path) is exists


def test_the_engine_root_is_always_mounted(populated, unreal):
    # An engine asset that the editor lacks is simply missing, with no path error.
    assert unreal.EditorAssetLibrary.does_asset_exist("/Engine/Plugins/Animation/ControlRig/Content/Controls/Missing") is False
    assert not errors(populated, "LogEditorScripting")


@pytest.mark.parametrize("path", ["/Game/../../etc/passwd", "/Game/With Space", "relative/path", "/Elsewhere/A", "/Game/Chars/"])
def test_invalid_asset_paths_are_refused_with_an_error(populated, unreal, path):
    assert unreal.EditorAssetLibrary.does_asset_exist(path) is False
    assert unreal.EditorAssetLibrary.load_asset(path) is None
    assert unreal.EditorAssetLibrary.delete_asset(path) is False
    assert errors(populated, "LogEditorScripting")


def test_delete_asset_removes_it_from_memory_and_disk(populated, unreal):
    asset = unreal.load_asset("/Game/Chars/A")
    assert unreal.EditorAssetLibrary.delete_asset("/Game/Chars/A")
    assert not os.path.exists(content_file(populated, "/Game/Chars/A"))
    assert unreal.find_asset("/Game/Chars/A") is None
    assert not unreal.EditorAssetLibrary.does_asset_exist("/Game/Chars/A")
    assert unreal.EditorAssetLibrary.delete_asset("/Game/Chars/A") is False
    assert unreal.EditorAssetLibrary.delete_loaded_asset(unreal.load_asset("/Game/Chars/C"))
    assert not unreal.EditorAssetLibrary.does_asset_exist("/Game/Chars/C")
    del asset


def test_duplicate_asset_makes_an_independent_unsaved_copy(populated, unreal):
    copy = unreal.EditorAssetLibrary.duplicate_asset("/Game/Chars/A", "/Game/Copies/A2")
    assert copy.get_path_name() == "/Game/Copies/A2.A2"
    copy.set_editor_property("version", 42)
    assert unreal.load_asset("/Game/Chars/A").get_editor_property("version") == 3
    assert unreal.EditorAssetLibrary.does_asset_exist("/Game/Copies/A2")
    assert not os.path.exists(content_file(populated, "/Game/Copies/A2"))


@pytest.mark.parametrize("destination", ["/Game/Chars/Sub/B", "/Game/Chars/C"])
def test_duplicate_or_rename_onto_an_existing_asset_fails_and_keeps_both(populated, unreal, destination):
    assert unreal.EditorAssetLibrary.duplicate_asset("/Game/Chars/A", destination) is None
    assert unreal.EditorAssetLibrary.rename_asset("/Game/Chars/A", destination) is False
    assert unreal.EditorAssetLibrary.does_asset_exist("/Game/Chars/A")
    assert unreal.load_asset(destination).get_path_name() != "/Game/Chars/A.A"


def test_rename_asset_moves_the_saved_file_and_the_loaded_object(populated, unreal, tmp_path):
    asset = unreal.load_asset("/Game/Chars/A")
    assert unreal.EditorAssetLibrary.rename_asset("/Game/Chars/A", "/Game/Moved/Renamed")
    assert asset.get_path_name() == "/Game/Moved/Renamed.Renamed"
    assert not os.path.exists(content_file(populated, "/Game/Chars/A"))
    assert os.path.exists(content_file(populated, "/Game/Moved/Renamed"))
    populated.start(str(tmp_path / "Project"))
    assert unreal.load_asset("/Game/Moved/Renamed").get_editor_property("version") == 3
    assert unreal.load_asset("/Game/Chars/A") is None


def test_rename_assets_with_rename_data_moves_each_asset(populated, unreal):
    tools = unreal.AssetToolsHelpers.get_asset_tools()
    a = unreal.load_asset("/Game/Chars/A")
    c = unreal.load_asset("/Game/Chars/C")
    data = [unreal.AssetRenameData(a, "/Game/Renamed", "A1"), unreal.AssetRenameData(asset=c, new_package_path="/Game/Renamed", new_name="C1")]
    assert tools.rename_assets(data)
    assert sorted(unreal.EditorAssetLibrary.list_assets("/Game/Renamed")) == ["/Game/Renamed/A1.A1", "/Game/Renamed/C1.C1"]


def test_get_path_name_for_loaded_asset_only_for_assets(populated, unreal):
    assert unreal.EditorAssetLibrary.get_path_name_for_loaded_asset(unreal.load_asset("/Game/Chars/A")) == "/Game/Chars/A.A"
    assert unreal.EditorAssetLibrary.get_path_name_for_loaded_asset(unreal.DataAssetFactory()) == ""


def test_directories_are_made_found_and_deleted_with_their_assets(populated, unreal):
    library = unreal.EditorAssetLibrary
    assert not library.does_directory_exist("/Game/Empty")
    assert library.make_directory("/Game/Empty/Deeper")
    assert library.does_directory_exist("/Game/Empty/Deeper/")
    assert not library.does_directory_have_assets("/Game/Empty")
    assert library.does_directory_have_assets("/Game/Chars", recursive=False)
    assert library.delete_directory("/Game/Chars")
    assert not library.does_directory_exist("/Game/Chars")
    assert library.list_assets("/Game", True, False) == []
    assert not library.does_asset_exist("/Game/Chars/Sub/B")
    assert library.delete_directory("/Game/Chars") is False


# ---- asset tools --------------------------------------------------------------------------------

def test_create_asset_without_factory_finds_one_for_the_class(editor, unreal):
    tools = unreal.AssetToolsHelpers.get_asset_tools()
    asset = tools.create_asset("Auto", "/Game/Face", unreal.VNFaceRigDataAsset, None)
    assert isinstance(asset, unreal.VNFaceRigDataAsset)
    assert asset.get_outer().get_name() == "/Game/Face/Auto"


@pytest.mark.parametrize("name, folder", [("Bad Name", "/Game/Face"), ("", "/Game/Face"), ("Ok", "/NotMounted"), ("Dot.Name", "/Game/Face")])
def test_create_asset_refuses_invalid_names(editor, unreal, name, folder):
    tools = unreal.AssetToolsHelpers.get_asset_tools()
    assert tools.create_asset(name, folder, unreal.VNFaceRigDataAsset, unreal.DataAssetFactory()) is None
    assert errors(editor, "LogAssetTools")


def test_create_asset_where_one_exists_returns_none_and_keeps_the_old_one(editor, unreal):
    original = make_face_rig(unreal, version=11)
    tools = unreal.AssetToolsHelpers.get_asset_tools()
    assert tools.create_asset("FaceRig", "/Game/Face", unreal.VNFaceRigDataAsset, unreal.DataAssetFactory()) is None
    assert unreal.load_asset("/Game/Face/FaceRig") == original
    assert original.get_editor_property("version") == 11


def test_asset_tools_duplicate_asset_copies_into_the_folder(editor, unreal):
    original = make_face_rig(unreal, version=4)
    tools = unreal.AssetToolsHelpers.get_asset_tools()
    copy = tools.duplicate_asset("FaceRigCopy", "/Game/Other", original)
    assert copy.get_path_name() == "/Game/Other/FaceRigCopy.FaceRigCopy"
    assert copy.get_editor_property("version") == 4
