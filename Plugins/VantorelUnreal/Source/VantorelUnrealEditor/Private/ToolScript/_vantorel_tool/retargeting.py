"""The mannequin's retargeting options on the target mesh's Skeleton, set by the native library:
translations from the Skeleton, except the mannequin's IK bones, which follow the animation."""

import unreal

from _vantorel_tool.assets import target_or_selected_skeletal_mesh

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
    mesh = target_or_selected_skeletal_mesh(NO_MESH_MESSAGE)
    if mesh.get_editor_property("skeleton") is None:
        raise RuntimeError(NO_SKELETON_MESSAGE)
    library = getattr(unreal, NATIVE_LIBRARY, None)
    setter = getattr(library, "set_mannequin_retargeting_options", None) if library is not None else None
    if setter is None:
        raise RuntimeError(NO_NATIVE_SETTER_MESSAGE)
    changed = setter(mesh)
    print(APPLIED_TEXT, changed)
    return changed
