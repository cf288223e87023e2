"""Face rig build: the driver. From the Face rig JSON it fills the face rig data asset that the face
solver evaluates and builds the face part of a Control Rig (a new face rig, or the body rig it is given):
the control box with its sliders, the visibility switches and the solver node, with one recompile at
the end. The face's on-face, jaw, lid, smile-pull and eye controls are systems this build does not have
yet; it names them once and builds the rest."""

from dataclasses import dataclass, field
from typing import List

import unreal

from _vantorel_tool import face_types, state
from _vantorel_tool.assets import load_or_create_control_rig, selected_skeletal_mesh
from _vantorel_tool.body_json import body_json_int, face_json_read
from _vantorel_tool.face.controls import ensure_driver_controls, face_create_visibility_groups
from _vantorel_tool.face.drivers import face_driver_record, face_is_maya_schema, face_set, face_source_drivers
from _vantorel_tool.face.scale import compute_ctrl_box_attach_scale
from _vantorel_tool.face.solver import try_add_solver_node
from _vantorel_tool.names import error_text, folder_of
from _vantorel_tool.rig_elements import RigElements
from _vantorel_tool.state import set_target_skeletal_mesh


FACE_NOT_INCLUDED_TEXT = "VN Face Solver setup was not included in this script."
FACE_ASSET_FAILED_TEXT = "Could not auto-create asset:"
FACE_NO_ASSET_TEXT = "Could not create VNFace Rig Data Asset in "
FACE_RIG_NOT_CREATED_TEXT = "Could not create the face Control Rig."
FACE_STEP_MISSING_TEXT = "Face rig step not available in this build, skipped:"

# The face systems this build does not have yet, in the order the build would run them.
FACE_NOT_BUILT_STEPS = (
    "smile pull controls", "eyelid controls", "lip controls", "sampled driver controls", "driver adapter controls",
    "direct-transform follow joints", "eye FK and aim controls", "direct-transform controls", "jaw pivot", "jaw pull control",
)


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
    print(FACE_STEP_MISSING_TEXT, ", ".join(FACE_NOT_BUILT_STEPS))

    face_asset = load_or_create_asset()
    if control_rig is None:
        control_rig = load_or_create_control_rig()
        if control_rig is None:
            raise RuntimeError(FACE_RIG_NOT_CREATED_TEXT)
    control_rig.set_auto_vm_recompile(False)
    elements = RigElements(control_rig.hierarchy, control_rig.get_hierarchy_controller())

    source_drivers = face_source_drivers(data)
    drivers_data = list(source_drivers)
    records = [record for record in (face_driver_record(row, build.maya_schema) for row in drivers_data) if record is not None]
    face_set(face_asset, "version", body_json_int(data.get("version"), 1))
    face_set(face_asset, "drivers", records)

    ensure_driver_controls(elements, source_drivers, data, rig_meta, build.maya_schema)

    face_set(face_asset, "direct_controls", [])
    face_set(face_asset, "eye_chains", [])
    face_set(face_asset, "aim_bindings", [])
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
