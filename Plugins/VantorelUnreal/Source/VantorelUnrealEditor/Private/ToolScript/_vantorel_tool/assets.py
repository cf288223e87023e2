"""The target skeletal mesh (the Content Browser's selection, or a guess from the source file) and the
Control Rig assets a build makes: creation beside the previous rig, the move into place, the preview
mesh, and the Mannequin template file taken from an asset."""

import os

import unreal

from _vantorel_tool import log, state
from _vantorel_tool.engine import call_first_accepted, is_skeletal_mesh
from _vantorel_tool.face_types import MISSING_TYPE_PREFIX
from _vantorel_tool.names import error_text, folder_of, package_path_of
from _vantorel_tool.state import set_target_skeletal_mesh


SELECT_ONE_MESH_MESSAGE = "Select exactly one SkeletalMesh in the Content Browser before running this script."

GUESSED_MESH_TEXT = "Vantorel guessed SkeletalMesh:"
MULTIPLE_MESHES_TEXT = "Vantorel found multiple SkeletalMeshes named"
NO_GUESS_TEXT = "Vantorel could not guess SkeletalMesh for:"
RIG_CREATED_AT_TEXT = "Control Rig created at:"
RENAME_SKIPPED_TEXT = "Rename skipped:"
RENAME_REFUSED_TEXT = "the asset tools did not rename the asset"
PREVIEW_MESH_NOT_SET_TEXT = "Control Rig duplicated, but preview mesh was not set:"
GAME_ROOT = "/Game"
GAME_PREFIX = "/Game/"
ASSET_FILE_EXTENSION = ".uasset"

# The preview-mesh setter of the Control Rig editor library; its Python name is the script name, the C++
# class name is tried first for editors that expose it under that.
CONTROL_RIG_EDITOR_LIBRARY_NAMES = ("ControlRigBlueprintEditorLibrary", "ControlRigBlueprintLibrary")


def set_body_control_rig_template(asset):
    """Takes the Mannequin template's file from a Control Rig asset under /Game/: the project content
    folder + the asset's package path after "/Game/" + ".uasset". Any other asset, and any error,
    leaves the template file as it was. Returns the template file."""
    try:
        path = package_path_of(asset)
        if path.startswith(GAME_PREFIX):
            state.body_control_rig_template_file = (unreal.Paths.project_content_dir() + path[len(GAME_PREFIX):]
                                              + ASSET_FILE_EXTENSION)
    except Exception:  # not an asset (no package path): the template file stays as it was
        pass
    return state.body_control_rig_template_file


# ---- the target mesh --------------------------------------------------------------------------------

def selected_skeletal_meshes():
    return [asset for asset in unreal.EditorUtilityLibrary.get_selected_assets() if is_skeletal_mesh(asset)]


def target_or_selected_skeletal_mesh(no_mesh_message):
    """The target mesh, else the first skeletal mesh selected in the Content Browser; raises
    RuntimeError with no_mesh_message when there is neither."""
    mesh = state.skeletal_mesh
    if mesh is None:
        selected = selected_skeletal_meshes()
        mesh = selected[0] if selected else None
    if mesh is None:
        raise RuntimeError(no_mesh_message)
    return mesh


def selected_skeletal_mesh():
    """The one skeletal mesh selected in the Content Browser; raises RuntimeError when none or several
    are selected."""
    meshes = selected_skeletal_meshes()
    if len(meshes) != 1:
        raise RuntimeError(SELECT_ONE_MESH_MESSAGE)
    return meshes[0]


def ensure_target_skeletal_mesh():
    """The target skeletal mesh; when none is set yet, the one selected in the Content Browser becomes
    the target. Raises RuntimeError when there is neither."""
    if state.skeletal_mesh is None:
        set_target_skeletal_mesh(selected_skeletal_mesh())
    return state.skeletal_mesh


def source_file_stem():
    """SOURCE_FILE's file name without folder and extension, lower-cased (either kind of slash)."""
    file_name = str(state.SOURCE_FILE or "").replace("\\", "/").rsplit("/", 1)[-1]
    return os.path.splitext(file_name)[0].lower()


def skeletal_meshes_named(target_name):
    """Object paths of the skeletal meshes under /Game whose name, lower-cased, is target_name. An
    asset that cannot be read is passed over."""
    matches = []
    for object_path in unreal.EditorAssetLibrary.list_assets(GAME_ROOT, True, False):
        leaf = str(object_path).rsplit("/", 1)[-1].lower()
        if leaf.split(".", 1)[0] != target_name:
            continue
        try:
            asset = unreal.EditorAssetLibrary.load_asset(object_path)
            if is_skeletal_mesh(asset) and asset.get_name().lower() == target_name:
                matches.append(asset.get_path_name())
        except Exception:
            continue
    return matches


def guess_skeletal_mesh_path():
    """The object path of the target mesh, or else of the one skeletal mesh under /Game named like
    SOURCE_FILE (any letter case); the empty text when there is no such mesh or several."""
    if state.skeletal_mesh is not None:
        return state.skeletal_mesh.get_path_name()
    target_name = source_file_stem()
    if not target_name:
        return ""
    try:
        matches = skeletal_meshes_named(target_name)
        if len(matches) == 1:
            print(GUESSED_MESH_TEXT, matches[0])
            return matches[0]
        if len(matches) > 1:
            print(MULTIPLE_MESHES_TEXT, target_name, ":", matches)
    except Exception as error:
        log.warning("could not look for skeletal meshes under /Game: " + error_text(error))
    print(NO_GUESS_TEXT, state.SOURCE_FILE)
    return ""


# ---- Control Rig assets -----------------------------------------------------------------------------

def control_rig_target(target_path, target_name):
    """The package path and asset name of a rig to build. With neither given, the face rig's; with
    only one given, the other follows from it (the name is the path's last element, the path is the
    name inside the mesh's folder), so that the two always name the same asset."""
    if target_path is None and target_name is None:
        return state.full_control_rig_path, state.control_rig_name
    if target_path is None:
        return (state.asset_path + "/" + target_name if state.asset_path else ""), target_name
    if target_name is None:
        return target_path, target_path.rsplit("/", 1)[-1]
    return target_path, target_name


def body_rig_target(target_path, target_name, combined=False):
    """The package path and asset name a body build makes its rig at: the ones given, else the target
    mesh's body rig (its combined rig with combined). Raises RuntimeError when no path follows."""
    if target_path is None:
        target_path = state.full_combined_control_rig_path if combined else state.full_body_control_rig_path
    if target_name is None:
        target_name = state.combined_control_rig_name if combined else state.body_control_rig_name
    if not target_path:
        raise RuntimeError(SELECT_ONE_MESH_MESSAGE)
    return target_path, target_name


def free_package_path(path):
    """path itself when no asset is there, else the first of path + "_New", path + "_New1", ... that is free."""
    candidate, suffix = path, 0
    while unreal.EditorAssetLibrary.does_asset_exist(candidate):
        candidate = path + "_New" + (str(suffix) if suffix else "")
        suffix += 1
    return candidate


def create_control_rig_asset(target_path):
    """A new Control Rig blueprint made from the target mesh (or empty when that is not possible), at
    the factory's own path or, for the empty one, at target_path when it is free and beside it when it
    is not. Nothing that exists is touched, so a build that is refused later can leave the previous
    rig exactly as it was. Returns the rig, or None."""
    factory = unreal.ControlRigBlueprintFactory
    rig = None
    if state.skeletal_mesh is not None:
        rig = call_first_accepted(
            lambda: factory.create_control_rig_from_skeletal_mesh_or_skeleton(state.skeletal_mesh, False),
            lambda: factory.create_control_rig_from_skeletal_mesh_or_skeleton(state.skeletal_mesh))
    if rig is None:
        rig = factory.create_new_control_rig_asset(desired_package_path=free_package_path(target_path))
    return rig


def discard_control_rig_asset(rig):
    """Deletes a rig made by create_control_rig_asset that a refused build does not keep."""
    unreal.EditorAssetLibrary.delete_asset(package_path_of(rig))


def move_control_rig_to_target(rig, target_path, target_name):
    """Puts a new rig at target_path named target_name, in place of any asset there: the old asset is
    deleted, the rig renamed into the target folder and loaded again from there. A rig that cannot be
    moved stays where it was made ("Control Rig created at:" ... "Rename skipped:" is printed)."""
    if package_path_of(rig) == target_path:
        return rig
    if unreal.EditorAssetLibrary.does_asset_exist(target_path):
        unreal.EditorAssetLibrary.delete_asset(target_path)
    try:
        renamed = unreal.AssetToolsHelpers.get_asset_tools().rename_assets(
            [unreal.AssetRenameData(rig, folder_of(target_path), target_name)])
        if not renamed:
            raise RuntimeError(RENAME_REFUSED_TEXT)
        rig = unreal.load_asset(target_path)
    except Exception as error:
        print(RIG_CREATED_AT_TEXT, rig.get_path_name(), RENAME_SKIPPED_TEXT, error)
    return rig


def load_or_create_control_rig(target_path=None, target_name=None):
    """A fresh Control Rig blueprint at target_path named target_name (by default the face rig of the
    target mesh): an asset already there is deleted first, the rig is made from the target mesh (or
    empty when that is not possible) and moved to the target. A rig that cannot be moved stays where
    it was made. Returns the rig, or None when none could be made; raises RuntimeError when no target
    can be named (no target mesh and no target path)."""
    target_path, target_name = control_rig_target(target_path, target_name)
    if not target_path:
        raise RuntimeError(SELECT_ONE_MESH_MESSAGE)
    if unreal.EditorAssetLibrary.does_asset_exist(target_path):
        unreal.EditorAssetLibrary.delete_asset(target_path)
    rig = create_control_rig_asset(target_path)
    if rig is None:
        return None
    return move_control_rig_to_target(rig, target_path, target_name)


def control_rig_editor_library():
    for name in CONTROL_RIG_EDITOR_LIBRARY_NAMES:
        library = getattr(unreal, name, None)
        if library is not None:
            return library
    raise RuntimeError(MISSING_TYPE_PREFIX + ", ".join(CONTROL_RIG_EDITOR_LIBRARY_NAMES))


def set_control_rig_preview_mesh(control_rig):
    """Makes the target mesh the preview mesh of control_rig, through the rig itself or else the
    Control Rig editor library; returns whether it was set."""
    try:
        if state.skeletal_mesh is None:
            raise RuntimeError(SELECT_ONE_MESH_MESSAGE)
        call_first_accepted(
            lambda: control_rig.set_preview_mesh(state.skeletal_mesh),
            lambda: control_rig_editor_library().set_preview_mesh(control_rig, state.skeletal_mesh, True),
            accepted_errors=(Exception,))
        return True
    except Exception as error:
        print(PREVIEW_MESH_NOT_SET_TEXT, error)
        return False
