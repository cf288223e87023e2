"""Importing a Face rig JSON file through the Content Browser, as a user drops it on a folder:
the face rig data asset it makes, what the log says when it fails, and saving the result."""

import json

import pytest

FACE_RIG = {
    "version": 2,
    "exportType": "VantorelFaceRig",
    "drivers": [
        {"control": "Jaw_M", "channel": "Rotate.Z", "driven": [
            {"bone": "JawJoint_M", "channel": "translate.y", "multiplier": 0.5, "mode": "Set Absolute",
             "keys": [{"x": 0, "y": 0}, {"x": 10, "y": -2.5}]}]},
        {"control": "Brow_L", "channel": "browRaise", "driven": []},
    ],
}


def write_json(tmp_path, name, document):
    path = tmp_path / "Sources" / name
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_text(document if isinstance(document, str) else json.dumps(document))
    return str(path)


def error_lines(editor):
    return [text for category, verbosity, text in editor.log_lines() if verbosity == "Error"]


def test_import_file_makes_a_face_rig_data_asset_named_after_the_file(editor, unreal, tmp_path):
    imported = editor.import_file(write_json(tmp_path, "Hero_FaceRig.json", FACE_RIG), "/Game/Characters/Hero")
    assert len(imported) == 1
    asset = imported[0]
    assert isinstance(asset, unreal.VNFaceRigDataAsset)
    assert asset.get_path_name() == "/Game/Characters/Hero/Hero_FaceRig.Hero_FaceRig"
    assert asset.get_editor_property("version") == 2
    drivers = asset.get_editor_property("drivers")
    assert [str(driver.control_name) for driver in drivers] == ["Jaw_M", "Brow_L"]
    row = drivers[0].driven[0]
    assert row.apply_mode == unreal.VNFaceSDKApplyMode.ABSOLUTE
    assert row.multiplier == pytest.approx(0.5)
    assert [(key.x, key.y) for key in row.keys] == [(0.0, 0.0), (10.0, -2.5)]
    assert editor.selected_asset_paths() == [asset.get_path_name()]
    assert error_lines(editor) == []


def test_imported_asset_is_saved_by_the_user_and_loads_back(editor, unreal, tmp_path):
    asset = editor.import_file(write_json(tmp_path, "Hero_FaceRig.json", FACE_RIG), "/Game/Face")[0]
    saved_file = tmp_path / "Project" / "Content" / "Face" / "Hero_FaceRig.uasset"
    assert not saved_file.exists()
    assert unreal.EditorAssetLibrary.save_loaded_asset(asset)
    assert saved_file.exists()
    editor.start(str(tmp_path / "Project"))
    loaded = unreal.load_asset("/Game/Face/Hero_FaceRig")
    assert [str(driver.control_name) for driver in loaded.get_editor_property("drivers")] == ["Jaw_M", "Brow_L"]


@pytest.mark.parametrize("document, message", [
    ({"drivers": [{"control": "Jaw_M", "channel": "ry", "driven": [{"bone": "Jaw", "channel": "Squash.X", "keys": []}]}]},
     "Import failed: Unknown driven channel 'Squash.X'."),
    # No other importer of "json" claims it, so the face rig importer, asked first, says why it cannot.
    ({"exportType": "VantorelBodyRig", "joints": []}, "Import failed: Missing 'drivers' array."),
])
def test_failed_import_returns_nothing_and_logs_the_importers_message(editor, unreal, tmp_path, document, message):
    assert editor.import_file(write_json(tmp_path, "Bad.json", document), "/Game/Face") == []
    assert error_lines(editor) == [message]
    assert ("None", "Error", message) in editor.log_lines()
    assert unreal.find_asset("/Game/Face/Bad") is None
    assert not unreal.EditorAssetLibrary.does_asset_exist("/Game/Face/Bad")


def test_reimport_over_an_asset_fills_it_anew(editor, unreal, tmp_path):
    path = write_json(tmp_path, "Hero_FaceRig.json", FACE_RIG)
    editor.import_file(path, "/Game/Face")
    write_json(tmp_path, "Hero_FaceRig.json", {"drivers": []})
    asset = editor.import_file(path, "/Game/Face")[0]
    assert len(asset.get_editor_property("drivers")) == 0
    assert asset.get_editor_property("version") == 0
    assert unreal.find_asset("/Game/Face/Hero_FaceRig") == asset
