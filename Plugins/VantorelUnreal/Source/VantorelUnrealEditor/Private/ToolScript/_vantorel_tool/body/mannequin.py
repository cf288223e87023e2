"""Body rig from the engine's Mannequin template: the template Control Rig is duplicated for the target
mesh and its bones replaced by the mesh's, so the Mannequin's own controls and graph drive a character
exported in the Mannequin's proportions; the joints the template does not drive get controls from the
Body rig JSON in a "Custom Controllers" layer. Also brings the Mannequin comparison assets (the shared
skeleton, its physics asset and the two comparison meshes) into the project from the engine's template
resources."""

from dataclasses import dataclass
import os
import shutil

import unreal

from _vantorel_tool import state
from _vantorel_tool.assets import (
    body_rig_target, discard_control_rig_asset, ensure_target_skeletal_mesh, free_package_path,
    move_control_rig_to_target, set_control_rig_preview_mesh,
)
from _vantorel_tool.body.bones import body_rig_is_bone_key, replace_control_rig_bones_from_skeletal_mesh
from _vantorel_tool.body_json import body_json_read
from _vantorel_tool.body.mannequin_layer import body_rig_add_mannequin_custom_controllers, body_rig_template_owned_bones
from _vantorel_tool.graph_queries import face_graph_controller
from _vantorel_tool.names import error_text, folder_of, package_path_of


# ---- fixed paths and texts ---------------------------------------------------------------------------

GAME_PREFIX = "/Game/"
ASSET_FILE_EXTENSION = ".uasset"
TEMPLATE_RESOURCES_FOLDER = ("Templates", "TemplateResources", "High", "Characters", "Content", "Mannequins")

BODY_RIG_TEMPLATE_PATH = "/Game/Characters/Mannequins/Rigs/CR_Mannequin_Body"
SHARED_SKELETON_PATH = "/Game/Characters/Mannequins/Meshes/SK_Mannequin"
PHYSICS_ASSET_PATH = "/Game/Characters/Mannequins/Rigs/PA_Mannequin"
MANNY_SIMPLE_PATH = "/Game/Characters/Mannequins/Meshes/SKM_Manny_Simple"
QUINN_SIMPLE_PATH = "/Game/Characters/Mannequins/Meshes/SKM_Quinn_Simple"

EXPECTED_GAME_PATH_TEXT = "Expected /Game asset path, got: "
CHOOSE_TEMPLATE_FILE_MESSAGE = "Choose an existing Body Control Rig template .uasset file first."
TEMPLATE_NOT_LOADED_TEXT = "Copied Body Control Rig template, but Unreal could not load it: "
TEMPLATE_NOT_DUPLICATED_TEXT = "Could not duplicate Body Control Rig template to: "
TEMPLATE_DRIVES_NO_MESH_BONE_TEXT = ("The Body Control Rig template drives none of the target SkeletalMesh's bones "
                                     "(it drives %d bones; the mesh has %d); the Mannequin template path needs a "
                                     "mesh with the Mannequin's bone names.")
RECOMPILE_FAILED_TEXT = "Body Control Rig automatic recompile failed:"
CREATED_TEXT = "Created Body Control Rig:"
PREVIEW_MESH_SET_TEXT = "Preview mesh set:"

REQUIRED_ASSET_MISSING_TEXT = "Could not find the required Mannequin template asset: "
REQUIRED_ASSET_NOT_LOADED_TEXT = "Copied a required Mannequin asset, but Unreal could not load it: "
DEPENDENCIES_IMPORTED_TEXT = "Imported shared Mannequin Skeleton and Physics Asset for comparison meshes."
COMPARISON_MESH_MISSING_TEXT = "Could not find %s.uasset in the Unreal Engine template resources."
COMPARISON_MESH_NOT_LOADED_TEXT = "Copied %s, but Unreal could not load it: "
COMPARISON_MESH_IMPORTED_TEXT = "Imported Mannequin comparison mesh:"
SHARED_SKELETON_MISSING_TEXT = "The shared SK_Mannequin Skeleton was not available for the comparison mesh."
SHARED_SKELETON_ASSIGNED_TEXT = "Assigned shared SK_Mannequin Skeleton to comparison mesh:"
SHARED_SKELETON_NOT_ASSIGNED_TEXT = "Could not assign SK_Mannequin to comparison mesh %s: %s"
SKELETON_PROPERTY = "skeleton"


@dataclass(frozen=True)
class TemplateAsset:
    """An asset the project takes from the engine's template resources: where it lives in the project
    and which file of the template resources it comes from."""
    game_path: str
    folder: str

    @property
    def name(self):
        return self.game_path.rsplit("/", 1)[-1]

    @property
    def file_name(self):
        return self.name + ASSET_FILE_EXTENSION


COMPARISON_DEPENDENCIES = (TemplateAsset(SHARED_SKELETON_PATH, "Meshes"), TemplateAsset(PHYSICS_ASSET_PATH, "Rigs"))
MANNY_SIMPLE = TemplateAsset(MANNY_SIMPLE_PATH, "Meshes")
QUINN_SIMPLE = TemplateAsset(QUINN_SIMPLE_PATH, "Meshes")


# ---- asset files ------------------------------------------------------------------------------------

def game_asset_path_to_content_file(game_path):
    """The file of a "/Game/..." asset: the project content folder + the rest of the package path +
    ".uasset". Raises ValueError for any other path."""
    path = str(game_path or "")
    # A ".." segment would name a file outside the content folder.
    if not path.startswith(GAME_PREFIX) or ".." in path.split("/"):
        raise ValueError(EXPECTED_GAME_PATH_TEXT + path)
    package_path = path.split(".", 1)[0]
    return os.path.join(unreal.Paths.project_content_dir(), package_path[len(GAME_PREFIX):] + ASSET_FILE_EXTENSION)


def template_resources_folder():
    """The engine's Mannequin template resources: the engine folder's parent + the template content
    folder of the third-person template."""
    engine_dir = os.path.normpath(unreal.Paths.convert_relative_path_to_full(unreal.Paths.engine_dir()))
    return os.path.join(os.path.dirname(engine_dir), *TEMPLATE_RESOURCES_FOLDER)


def template_resource_file(asset):
    return os.path.join(template_resources_folder(), asset.folder, asset.file_name)


def load_existing_asset(game_path):
    """The asset at game_path when one is there and loads; None otherwise."""
    try:
        if not unreal.EditorAssetLibrary.does_asset_exist(game_path):
            return None
        return unreal.load_asset(game_path)
    except Exception:
        return None


def copy_into_project(source_file, game_path):
    """Copies source_file (with its file times) to the content file of game_path, making its folders,
    and has the asset registry scan the new file. Returns the asset loaded from there, or None; a copy
    that does not load is removed again, so no unreadable package stays in the project."""
    target_file = game_asset_path_to_content_file(game_path)
    os.makedirs(os.path.dirname(target_file), exist_ok=True)
    copied = not (os.path.exists(target_file) and os.path.samefile(source_file, target_file))
    if copied:
        shutil.copy2(source_file, target_file)
    registry = unreal.AssetRegistryHelpers.get_asset_registry()
    registry.scan_files_synchronous([target_file], True)
    asset = load_existing_asset(game_path)
    if asset is None and copied:
        os.remove(target_file)
        registry.scan_files_synchronous([target_file], True)
    return asset


# ---- the template path ------------------------------------------------------------------------------

def ensure_body_control_rig_template_asset():
    """The project's Body Control Rig template: the asset at its fixed path when it loads, else the
    template file chosen in the tools window copied there, loaded and saved. Raises RuntimeError when
    no template file was chosen or the copy does not load."""
    template = load_existing_asset(BODY_RIG_TEMPLATE_PATH)
    if template is not None:
        return template
    source_file = str(state.body_control_rig_template_file or "")
    if not source_file or not os.path.isfile(source_file):
        raise RuntimeError(CHOOSE_TEMPLATE_FILE_MESSAGE)
    template = copy_into_project(source_file, BODY_RIG_TEMPLATE_PATH)
    if template is None:
        raise RuntimeError(TEMPLATE_NOT_LOADED_TEXT + BODY_RIG_TEMPLATE_PATH)
    unreal.EditorAssetLibrary.save_loaded_asset(template, False)
    return template


def hierarchy_bone_names(control_rig):
    return {str(key.name) for key in control_rig.hierarchy.get_all_keys(True) if body_rig_is_bone_key(key)}


def require_template_drives_mesh(control_rig, owned_bones):
    """Raises RuntimeError when none of the bones the template's graph sets is a bone of the rig
    after its bones were replaced by the mesh's: such a rig would move nothing."""
    bones = {name.lower() for name in hierarchy_bone_names(control_rig)}
    if not any(bone.lower() in bones for bone in owned_bones):
        raise RuntimeError(TEMPLATE_DRIVES_NO_MESH_BONE_TEXT % (len(owned_bones), len(bones)))


def recompile_body_control_rig(control_rig):
    try:
        control_rig.set_auto_vm_recompile(True)
        control_rig.recompile_vm()
    except Exception as error:
        print(RECOMPILE_FAILED_TEXT, error)


def create_body_control_rig(target_path=None, target_name=None, combined=False):
    """Builds the body Control Rig from the Mannequin template for the target mesh: the template is
    duplicated, its bones replaced by the mesh's and, when custom controllers are on, the joints it
    does not drive get controls from the Body rig JSON. The target defaults to the mesh's body rig, or
    with combined to its combined rig. Returns the saved blueprint.

    The duplicate is made and built beside any rig already at the target, which is replaced only once
    the build can no longer be refused: a mesh the template cannot drive, a Body rig JSON that does not
    read or a template graph the custom layer cannot hook into leaves the previous rig as it was and no
    new asset behind."""
    ensure_target_skeletal_mesh()
    target_path, target_name = body_rig_target(target_path, target_name, combined)

    template = ensure_body_control_rig_template_asset()
    template_path = package_path_of(template)
    rig_data = body_json_read() if state.include_custom_controllers else None

    unreal.EditorAssetLibrary.make_directory(folder_of(target_path))
    control_rig = unreal.EditorAssetLibrary.duplicate_asset(template_path, free_package_path(target_path))
    if control_rig is None:
        raise RuntimeError(TEMPLATE_NOT_DUPLICATED_TEXT + target_path)
    try:
        control_rig.set_auto_vm_recompile(False)
        owned_bones = body_rig_template_owned_bones(face_graph_controller(control_rig))
        preview_set = set_control_rig_preview_mesh(control_rig)
        replace_control_rig_bones_from_skeletal_mesh(control_rig)
        require_template_drives_mesh(control_rig, owned_bones)
        if rig_data is not None:
            body_rig_add_mannequin_custom_controllers(control_rig, rig_data)
    except Exception:
        discard_control_rig_asset(control_rig)
        raise
    control_rig = move_control_rig_to_target(control_rig, target_path, target_name)
    recompile_body_control_rig(control_rig)
    unreal.EditorAssetLibrary.save_loaded_asset(control_rig, False)
    print(CREATED_TEXT, control_rig.get_path_name())
    if preview_set:
        print(PREVIEW_MESH_SET_TEXT, state.skeletal_mesh.get_path_name())
    return control_rig


# ---- comparison assets ------------------------------------------------------------------------------

def ensure_template_dependency(asset):
    """The asset, copied from the template resources when the project does not hold it yet."""
    existing = load_existing_asset(asset.game_path)
    if existing is not None:
        return existing
    source_file = template_resource_file(asset)
    if not os.path.isfile(source_file):
        raise RuntimeError(REQUIRED_ASSET_MISSING_TEXT + source_file)
    loaded = copy_into_project(source_file, asset.game_path)
    if loaded is None:
        raise RuntimeError(REQUIRED_ASSET_NOT_LOADED_TEXT + asset.game_path)
    return loaded


def ensure_mannequin_comparison_dependencies():
    """The shared Mannequin skeleton and its physics asset, copied from the template resources when
    the project lacks them."""
    for asset in COMPARISON_DEPENDENCIES:
        ensure_template_dependency(asset)
    print(DEPENDENCIES_IMPORTED_TEXT)


def ensure_comparison_mesh(asset):
    mesh = load_existing_asset(asset.game_path)
    if mesh is not None:
        assign_shared_mannequin_skeleton(mesh)
        return mesh
    source_file = template_resource_file(asset)
    if not os.path.isfile(source_file):
        raise RuntimeError(COMPARISON_MESH_MISSING_TEXT % asset.name)
    mesh = copy_into_project(source_file, asset.game_path)
    if mesh is None:
        raise RuntimeError((COMPARISON_MESH_NOT_LOADED_TEXT % asset.name) + asset.game_path)
    assign_shared_mannequin_skeleton(mesh)
    unreal.EditorAssetLibrary.save_loaded_asset(mesh, False)
    print(COMPARISON_MESH_IMPORTED_TEXT, asset.game_path)
    return mesh


def ensure_manny_simple_comparison_mesh():
    """SKM_Manny_Simple on the shared skeleton, copied from the template resources when missing."""
    return ensure_comparison_mesh(MANNY_SIMPLE)


def ensure_quinn_simple_comparison_mesh():
    """SKM_Quinn_Simple on the shared skeleton, copied from the template resources when missing."""
    return ensure_comparison_mesh(QUINN_SIMPLE)


def ensure_mannequin_comparison_assets():
    """The Mannequin comparison assets, in their order: the shared skeleton and physics asset, then
    SKM_Manny_Simple and SKM_Quinn_Simple on that skeleton. Raises RuntimeError at the first that
    cannot be had; the tools report it and open all the same."""
    ensure_mannequin_comparison_dependencies()
    ensure_manny_simple_comparison_mesh()
    ensure_quinn_simple_comparison_mesh()


def assign_shared_mannequin_skeleton(comparison_mesh):
    """Puts comparison_mesh on the shared SK_Mannequin skeleton and saves it; a mesh already on it is
    left alone. Returns whether the mesh changed."""
    skeleton = load_existing_asset(SHARED_SKELETON_PATH)
    if skeleton is None:
        raise RuntimeError(SHARED_SKELETON_MISSING_TEXT)
    mesh_path = package_path_of(comparison_mesh)
    try:
        if comparison_mesh.get_editor_property(SKELETON_PROPERTY) == skeleton:
            return False
        comparison_mesh.modify(True)
        comparison_mesh.set_editor_property(SKELETON_PROPERTY, skeleton)
        unreal.EditorAssetLibrary.save_loaded_asset(comparison_mesh, False)
    except Exception as error:
        raise RuntimeError(SHARED_SKELETON_NOT_ASSIGNED_TEXT % (mesh_path, error_text(error)))
    print(SHARED_SKELETON_ASSIGNED_TEXT, mesh_path)
    return True
