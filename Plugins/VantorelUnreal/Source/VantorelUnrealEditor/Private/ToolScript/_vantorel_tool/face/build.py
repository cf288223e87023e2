"""Face rig build: the driver. From the Face rig JSON it fills the face rig data asset that the face
solver evaluates and builds the face part of a Control Rig (a new face rig, or the body rig it is given):
the control box with its sliders, the smile pulls and eyelids, the on-face handles (lips, sampled
drivers, driver adapters and direct-transform handles), the eyes with their aim controls, the jaw pivot
and jaw pull, the visibility switches and the solver node, with one recompile at the end."""

from dataclasses import dataclass, field
from typing import List

import unreal

from _vantorel_tool import face_types, state
from _vantorel_tool.assets import load_or_create_control_rig, selected_skeletal_mesh
from _vantorel_tool.body_json import body_json_int, face_json_read
from _vantorel_tool.face.controls import ensure_driver_controls, face_create_visibility_groups
from _vantorel_tool.face.drivers import face_driver_record, face_is_maya_schema, face_set, face_source_drivers
from _vantorel_tool.face.eyes import face_add_aim_eye_controls, face_add_eye_fk_controls, face_eye_chains
from _vantorel_tool.face.mouth_and_lids import (
    face_add_jaw_control, face_add_jaw_pull_control, face_add_smile_pull_controls, face_add_upper_lid_controls,
    face_mirrored_upper_lid_driver_data, face_smile_pull_driver_data,
)
from _vantorel_tool.face.on_face import (
    FACE_ADAPTER_KINDS, FACE_EYE_CONTROLS, face_add_simple_on_face_controls, face_driver_adapter_driver_data,
    face_json_direct_controls, face_json_direct_transform_follow_bones, face_json_generic_sampled_driver_follow_bones,
    face_json_generic_sampled_driver_names, face_json_on_face_controls,
)
from _vantorel_tool.face.scale import compute_ctrl_box_attach_scale
from _vantorel_tool.face.solver import try_add_solver_node
from _vantorel_tool.names import error_text, folder_of
from _vantorel_tool.rig_elements import RigElements
from _vantorel_tool.state import set_target_skeletal_mesh


FACE_NOT_INCLUDED_TEXT = "VN Face Solver setup was not included in this script."
FACE_ASSET_FAILED_TEXT = "Could not auto-create asset:"
FACE_NO_ASSET_TEXT = "Could not create VNFace Rig Data Asset in "
FACE_RIG_NOT_CREATED_TEXT = "Could not create the face Control Rig."
FACE_GREEN = (0.0, 1.0, 0.0)
FACE_RED = (1.0, 0.0, 0.0)
FACE_LIP_CONTROLS = ("upperLip_M", "lowerLip_M")
FACE_LIP_JOINTS = {"upperLip_M": "upperLipJoint0_M", "lowerLip_M": "lowerLipJoint0_M"}
FACE_ADAPTERS_BUILT_ELSEWHERE = ("Jaw_M", "JawPull_M", "SmilePull_R", "SmilePull_L")


@dataclass
class FaceBuild:
    """What one face build carries from phase to phase; made afresh for every build."""
    face_json_data: dict
    rig_meta: dict
    maya_schema: bool
    face_on_face_follow_pairs: List[tuple] = field(default_factory=list)   # (control, bone, follow null, follow rotation)


def load_or_create_asset():
    """The face rig data asset at the tool state's path: loaded when it exists (and reused, not
    replaced), else created. Raises when there is none."""
    path = state.full_asset_path
    if path and unreal.EditorAssetLibrary.does_asset_exist(path):
        asset = unreal.EditorAssetLibrary.load_asset(path)
        if asset is not None:
            return asset
    folder = state.asset_path or folder_of(path)
    asset = None
    try:
        asset = unreal.AssetToolsHelpers.get_asset_tools().create_asset(state.asset_name, folder, face_types.AssetClass, None)
    except Exception as error:
        print(FACE_ASSET_FAILED_TEXT, error_text(error))
    if asset is None:
        raise RuntimeError(FACE_NO_ASSET_TEXT + folder)
    return asset


def face_follow_controls(build: FaceBuild):
    """The follow-control records of the registered follow pairs, in order; None without the type."""
    if face_types.FollowControlStruct is None:
        return None
    records = []
    for control, bone, null, rotation in build.face_on_face_follow_pairs:
        record = face_types.FollowControlStruct()
        face_set(record, "control_name", control)
        face_set(record, "bone_name", bone)
        face_set(record, "follow_null_name", null)
        face_set(record, "follow_rotation", bool(rotation))
        records.append(record)
    return records


def create_vn_face_control_rig(control_rig=None):
    """Builds the face from the Face rig JSON into control_rig, or into a new face rig when none is
    given; returns the rig (control_rig unchanged when the face build is switched off)."""
    if not state.INCLUDE_VN_FACE_SOLVER:
        print(FACE_NOT_INCLUDED_TEXT)
        return control_rig
    if not face_types.vn_face_plugin_loaded or face_types.AssetClass is None:
        unreal.log_error(face_types.MISSING_PLUGIN_MESSAGE)
        return control_rig
    if state.skeletal_mesh is None:
        set_target_skeletal_mesh(selected_skeletal_mesh())
    data = face_json_read()
    rig_meta = data.get("rig") if isinstance(data.get("rig"), dict) else {}
    build = FaceBuild(face_json_data=data, rig_meta=rig_meta, maya_schema=face_is_maya_schema(data))

    face_asset = load_or_create_asset()
    if control_rig is None:
        control_rig = load_or_create_control_rig()
        if control_rig is None:
            raise RuntimeError(FACE_RIG_NOT_CREATED_TEXT)
    control_rig.set_auto_vm_recompile(False)
    elements = RigElements(control_rig.hierarchy, control_rig.get_hierarchy_controller())

    source_drivers = face_source_drivers(data)
    drivers_data = (list(source_drivers) + face_smile_pull_driver_data(source_drivers)
                    + face_driver_adapter_driver_data(source_drivers, data) + face_mirrored_upper_lid_driver_data(source_drivers))
    records = [record for record in (face_driver_record(row, build.maya_schema) for row in drivers_data) if record is not None]
    face_set(face_asset, "version", body_json_int(data.get("version"), 1))
    face_set(face_asset, "drivers", records)

    ensure_driver_controls(elements, source_drivers, data, rig_meta, build.maya_schema)
    face_add_smile_pull_controls(build, control_rig, elements, source_drivers)
    face_add_upper_lid_controls(build, control_rig, elements)

    face_add_simple_on_face_controls(build, control_rig, elements, FACE_LIP_CONTROLS, FACE_GREEN, half_circle=True,
                                     follow_bones={name: joint for name, joint in FACE_LIP_JOINTS.items() if elements.find(joint, "bone")})
    face_add_simple_on_face_controls(build, control_rig, elements, face_json_generic_sampled_driver_names(data), FACE_GREEN,
                                     follow_bones=face_json_generic_sampled_driver_follow_bones(elements, data))
    adapters = [name for name in (str(c.get("name")) for c in face_json_on_face_controls(data, FACE_ADAPTER_KINDS))
                if name not in FACE_ADAPTERS_BUILT_ELSEWHERE]
    face_add_simple_on_face_controls(build, control_rig, elements, adapters, FACE_GREEN)
    direct_follow = face_json_direct_transform_follow_bones(elements, data)
    face_add_eye_fk_controls(build, elements)
    bindings = face_add_aim_eye_controls(build, control_rig, elements)
    face_add_simple_on_face_controls(build, control_rig, elements, [name for name in direct_follow if name not in FACE_EYE_CONTROLS],
                                     FACE_RED, follow_bones=direct_follow)
    face_add_jaw_control(build, control_rig, elements)
    face_add_jaw_pull_control(build, control_rig, elements)

    for name, values in (("direct_controls", face_json_direct_controls(direct_follow)), ("eye_chains", face_eye_chains(elements)),
                         ("aim_bindings", bindings)):
        if values is not None:
            face_set(face_asset, name, values)
    follow = face_follow_controls(build)
    if follow is not None:
        face_set(face_asset, "follow_controls", follow)
    face_set(face_asset, "visibility_groups", face_create_visibility_groups(elements, data))

    try_add_solver_node(control_rig, face_asset, compute_ctrl_box_attach_scale(elements.hierarchy, rig_meta))

    try:
        control_rig.set_auto_vm_recompile(True)
        control_rig.recompile_vm()
    except Exception:  # the rig still saves; the editor compiles it when it is opened
        pass
    unreal.EditorAssetLibrary.save_loaded_asset(face_asset)
    unreal.EditorAssetLibrary.save_loaded_asset(control_rig)
    print("Imported VN Face SDK JSON:", state.json_file)
    print("Asset:", face_asset.get_path_name())
    print("Control Rig:", control_rig.get_path_name())
    print("Drivers:", len(records))
    return control_rig
