"""The mannequin's retargeting options on the target mesh's Skeleton, set by the native library:
translations from the Skeleton, except the mannequin's IK bones, which follow the animation."""

import unreal

from _vantorel_tool import state
from _vantorel_tool.assets import selected_skeletal_meshes

NATIVE_LIBRARY = "VNFaceSDKImportLibrary"
APPLIED_TEXT = "Applied Skeleton retargeting options. IK bones set to Animation. Changes:"
NO_MESH_MESSAGE = "Choose a SkeletalMesh in Mannequin Exported, or select one in the Content Browser, first."
NO_SKELETON_MESSAGE = "Selected SkeletalMesh has no Skeleton asset."
NO_NATIVE_SETTER_MESSAGE = ("Could not change Skeleton retargeting options. Vantorel Unreal plugin helper is not "
                            "loaded, and this Unreal Python API may not expose the setter.")


def apply_mannequin_retargeting_options():
    """Sets the retargeting options on the Skeleton of the target mesh (else of the one selected in
    the Content Browser) and returns how many bones changed. A missing mesh or Skeleton is an error,
    not a run that changed nothing."""
    mesh = state.skeletal_mesh
    if mesh is None:
        selected = selected_skeletal_meshes()
        mesh = selected[0] if selected else None
    if mesh is None:
        raise RuntimeError(NO_MESH_MESSAGE)
    if mesh.get_editor_property("skeleton") is None:
        raise RuntimeError(NO_SKELETON_MESSAGE)
    library = getattr(unreal, NATIVE_LIBRARY, None)
    setter = getattr(library, "set_mannequin_retargeting_options", None) if library is not None else None
    if setter is None:
        raise RuntimeError(NO_NATIVE_SETTER_MESSAGE)
    changed = setter(mesh)
    print(APPLIED_TEXT, changed)
    return changed
