"""The plug-in's reflected types as the editor's Python shows them: names, defaults, conversions and
function calls."""

import pytest


def field_names(wrapped_type):
    """The properties the type itself declares, in declaration order."""
    return [name for name, member in vars(wrapped_type).items() if isinstance(member, property)]


RECORD_FIELDS = {
    "VNSDKKey": ["x", "y"],
    "VNSDKQuaternionKey": ["x", "value"],
    "VNDrivenSDKChannel": ["bone_name", "channel", "multiplier", "apply_mode", "transform_space", "keys",
                           "quaternion_rotation", "quaternion_keys"],
    "VNFaceSDKDriver": ["control_name", "channel", "custom_channel_name", "driven"],
    "VNFaceSDKDirectControl": ["control_name", "bone_name", "follow_null_name"],
    "VNFaceSDKFollowControl": ["control_name", "bone_name", "follow_null_name", "follow_rotation"],
    "VNFaceSDKEyeChain": ["sdk_null_name", "final_control_name", "eye_joint_name"],
    "VNFaceSDKAimBinding": ["eye_aim_null_name", "target_control_name", "aim_axis", "up_axis"],
    "VNFaceSDKVisibilityGroup": ["switch_control_name", "default_visible", "members"],
}

ENUM_MEMBERS = {
    "VNFaceSDKChannel": ["TRANSLATION_X", "TRANSLATION_Y", "TRANSLATION_Z", "ROTATION_X", "ROTATION_Y", "ROTATION_Z",
                         "ROTATION", "SCALE_X", "SCALE_Y", "SCALE_Z", "VALUE_X", "VALUE_Y", "VALUE_Z", "VALUE_FLOAT"],
    "VNFaceSDKApplyMode": ["ADDITIVE", "ABSOLUTE"],
    "VNFaceSDKTransformSpace": ["LOCAL", "WORLD"],
}


@pytest.mark.parametrize("type_name, fields", sorted(RECORD_FIELDS.items()))
def test_records_have_exactly_their_scripting_fields(unreal, type_name, fields):
    record_type = getattr(unreal, type_name)
    assert issubclass(record_type, unreal.StructBase)
    assert field_names(record_type) == fields
    record = record_type()
    for field in fields:
        assert record.get_editor_property(field) == getattr(record, field)


@pytest.mark.parametrize("type_name, members", sorted(ENUM_MEMBERS.items()))
def test_enumerations_have_their_members_in_order(unreal, type_name, members):
    enum_type = getattr(unreal, type_name)
    assert [member.name for member in enum_type] == members
    assert [member.value for member in enum_type] == list(range(len(members)))
    assert getattr(enum_type, members[-1]).value == len(members) - 1


def test_asset_fields_and_defaults(unreal):
    asset = unreal.new_object(unreal.VNFaceRigDataAsset, name="DA_Defaults")
    assert isinstance(asset, unreal.DataAsset)
    assert field_names(unreal.VNFaceRigDataAsset) == ["version", "drivers", "direct_controls", "eye_chains",
                                                      "aim_bindings", "follow_controls", "visibility_groups"]
    assert asset.version == 0 and asset.drivers == []
    row = unreal.VNDrivenSDKChannel()
    assert row.multiplier == 1.0
    assert row.apply_mode == unreal.VNFaceSDKApplyMode.ADDITIVE
    assert row.transform_space == unreal.VNFaceSDKTransformSpace.LOCAL
    assert row.quaternion_rotation is False
    assert row.bone_name.is_none()
    aim = unreal.VNFaceSDKAimBinding()
    assert (aim.aim_axis.x, aim.aim_axis.y, aim.aim_axis.z) == (0.0, 1.0, 0.0)
    assert (aim.up_axis.x, aim.up_axis.y, aim.up_axis.z) == (0.0, 0.0, 1.0)
    assert unreal.VNFaceSDKVisibilityGroup().default_visible is True


def test_values_convert_both_ways_and_bad_values_are_refused(unreal):
    asset = unreal.new_object(unreal.VNFaceRigDataAsset, name="DA_Convert")
    key = unreal.VNSDKKey(0.5, y=30)
    row = unreal.VNDrivenSDKChannel(bone_name="Jaw_M", channel=unreal.VNFaceSDKChannel.ROTATION_Z, keys=[key])
    driver = unreal.VNFaceSDKDriver()
    driver.set_editor_property("control_name", "ctrlMouth_M")
    driver.driven = [row]
    asset.set_editor_property("drivers", [driver])
    asset.version = 4

    read = asset.get_editor_property("drivers")[0]
    assert read.control_name == "CTRLMOUTH_M", "names compare without case"
    assert read.driven[0].channel == unreal.VNFaceSDKChannel.ROTATION_Z
    assert read.driven[0].keys[0] == unreal.VNSDKKey(0.5, 30.0)
    assert asset.version == 4

    read.control_name = "Other"
    assert asset.drivers[0].control_name == "ctrlMouth_M", "a read struct is a copy"

    with pytest.raises(TypeError):
        asset.version = "four"
    with pytest.raises(TypeError):
        row.channel = unreal.VNFaceSDKApplyMode.ABSOLUTE
    with pytest.raises(TypeError):
        asset.drivers = [driver, unreal.VNSDKKey()]
    assert len(asset.drivers) == 1, "a refused array leaves the property as it was"
    with pytest.raises(AttributeError):
        asset.get_editor_property("no_such_property")
    with pytest.raises(AttributeError):
        asset.not_a_member = 1


def test_import_library_returns_out_values_the_engine_way(unreal, tmp_path):
    library = unreal.VNFaceSDKImportLibrary
    asset = unreal.new_object(unreal.VNFaceRigDataAsset, name="DA_Imported")
    good = tmp_path / "face.json"
    good.write_text('{"version": 2, "drivers": [{"control": "Lip_L", "channel": "ty", "driven": '
                    '[{"bone": "LipBone_L", "channel": "rx", "keys": [{"x": 0, "y": 0}, {"x": 1, "y": 10}]}]}]}')
    assert library.import_vn_face_sdk_json(asset, str(good)) == "", "success gives the out value"
    assert asset.version == 2
    assert asset.drivers[0].driven[0].channel == unreal.VNFaceSDKChannel.ROTATION_X
    assert library.import_vn_face_sdk_json(target_asset=asset, json_file_path=str(tmp_path / "missing.json")) is None
    assert asset.version == 2, "a failed import keeps the asset"
    with pytest.raises(TypeError):
        library.import_vn_face_sdk_json(asset)


def test_rig_unit_structs_are_reachable_by_their_names(unreal):
    for name in ("RigUnit_VNFaceSDKSolver", "RigUnit_VNReverseFootRoll", "RigUnit_VNBendySolver"):
        assert issubclass(getattr(unreal, name), unreal.StructBase)
    segment = unreal.VNBendySegment()
    segment.import_text('(Bones=("Shoulder_L","Elbow_L"),Parameters=(0.000000000,1.000000000),Handles=(),'
                        'Master="None",MasterSpace="None",MasterParameter=0.500000000)')
    assert segment.bones == ["Shoulder_L", "Elbow_L"]
    with pytest.raises(ValueError):
        segment.import_text("(Bones=")
    with pytest.raises(AttributeError):
        getattr(unreal, "NoSuchType")
