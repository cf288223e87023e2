"""The body rig's bones: replacing a Control Rig's bones with the target skeletal mesh's bones."""

import unreal

from _vantorel_tool import log, state
from _vantorel_tool.engine import call_first_accepted
from _vantorel_tool.names import error_text


# ---- fixed texts and names ---------------------------------------------------------------------------

BODY_RIG_NATIVE_LIBRARY = "VNFaceSDKImportLibrary"
BODY_RIG_NATIVE_BONE_IMPORT = "import_body_control_rig_bones"

BODY_RIG_NO_HIERARCHY_TEXT = "Body Control Rig hierarchy was not available; bone import skipped."
BODY_RIG_NATIVE_IMPORT_DONE_TEXT = ("Imported Body bones after removing legacy MotionSystem/MainSystem/Main; "
                                    "no replacement MotionSystem was created.")
BODY_RIG_NATIVE_IMPORT_UNAVAILABLE_TEXT = "Native Body bone import unavailable; using standard importer:"
BODY_RIG_BONES_REBUILT_TEXT = "Rebuilt Control Rig hierarchy bones from target SkeletalMesh. Removed:"
BODY_RIG_BONES_NOT_IMPORTED_TEXT = ("Could not auto-import target SkeletalMesh bones into the Control Rig hierarchy. "
                                    "Available controller methods:")

BODY_RIG_NOTHING_IMPORTED_TEXT = "the import returned no bones"

BODY_RIG_BONE_TYPE_WORD = "bone"
BODY_RIG_CONTROLLER_METHOD_WORDS = ("bone", "import")

# The engine's bone imports of the controller, in the order they are tried.
BODY_RIG_STANDARD_BONE_IMPORTS = ("import_bones_from_asset", "import_bones_from_skeletal_mesh",
                                  "import_bones_from_skeleton", "import_bones")


# ---- helpers ----------------------------------------------------------------------------------------

def body_rig_hierarchy(control_rig):
    """The rig hierarchy of a Control Rig blueprint, or None when it has none."""
    if control_rig is None:
        return None
    try:
        return control_rig.get_editor_property("hierarchy")
    except Exception:
        return getattr(control_rig, "hierarchy", None)


def body_rig_hierarchy_controller(control_rig, hierarchy):
    """The controller of the rig's hierarchy: the blueprint's, else the hierarchy's own."""
    return call_first_accepted(
        lambda: control_rig.get_hierarchy_controller(),
        lambda: hierarchy.get_controller(),
        accepted_errors=(Exception,))


def body_rig_is_bone_key(key):
    """Whether a hierarchy key names a bone: its element type's text contains "bone"."""
    return BODY_RIG_BONE_TYPE_WORD in str(key.type).lower()


def body_rig_remove_bones(hierarchy, controller):
    """Removes every bone of the hierarchy, children before their parents (the reverse of the parents-
    first listing); each removal tries the controller's element removal with and without the undo flag,
    then removal by the bone's name. Returns how many bones were removed."""
    bones = [key for key in hierarchy.get_all_keys(True) if body_rig_is_bone_key(key)]
    removed = 0
    for key in reversed(bones):
        try:
            if call_first_accepted(
                    lambda: controller.remove_element(key, True),
                    lambda: controller.remove_element(key),
                    lambda: controller.remove_element(unreal.RigElementKey(type=key.type, name=str(key.name))),
                    accepted_errors=(Exception,)):
                removed += 1
        except Exception as error:
            log.warning("could not remove bone %s: %s" % (key.name, error_text(error)))
    return removed


def body_rig_import_bones_natively(control_rig, mesh):
    """Rebuilds the bones through the plug-in's own import, which leaves out the Maya rig's top groups;
    returns whether it did."""
    try:
        library = getattr(unreal, BODY_RIG_NATIVE_LIBRARY)
        imported = bool(getattr(library, BODY_RIG_NATIVE_BONE_IMPORT)(control_rig, mesh))
    except Exception as error:
        print(BODY_RIG_NATIVE_IMPORT_UNAVAILABLE_TEXT, error)
        return False
    if imported:
        print(BODY_RIG_NATIVE_IMPORT_DONE_TEXT)
    return imported


def body_rig_mesh_skeleton(mesh):
    """The skeleton of a skeletal mesh, or None."""
    try:
        return mesh.get_editor_property("skeleton")
    except Exception:
        return None


def body_rig_require_imported_keys(keys):
    """The keys an engine bone import returned; raises LookupError when it imported nothing, so that an
    import handed no usable mesh or skeleton does not count as done."""
    if not keys:
        raise LookupError(BODY_RIG_NOTHING_IMPORTED_TEXT)
    return keys


def body_rig_import_bones_with_engine(controller, mesh):
    """Rebuilds the bones through the first of the controller's own bone imports that accepts the mesh or
    its skeleton and imports bones; every bone is imported. Returns whether one did."""
    skeleton = body_rig_mesh_skeleton(mesh)
    argument_lists = ((mesh,), (mesh, "", True), (mesh, True), (skeleton,), (skeleton, "", True))
    attempts = []
    for name in BODY_RIG_STANDARD_BONE_IMPORTS:
        method = getattr(controller, name, None)
        if method is not None:
            attempts += [lambda method=method, arguments=arguments: body_rig_require_imported_keys(method(*arguments))
                         for arguments in argument_lists]
    if not attempts:
        return False
    try:
        call_first_accepted(*attempts, accepted_errors=(Exception,))
        return True
    except Exception:
        return False


def body_rig_controller_method_names(controller):
    """The controller's method names that mention bones or importing."""
    return [name for name in dir(controller)
            if not name.startswith("_") and any(word in name.lower() for word in BODY_RIG_CONTROLLER_METHOD_WORDS)]


# ---- the step ---------------------------------------------------------------------------------------

def replace_control_rig_bones_from_skeletal_mesh(control_rig):
    """Replaces the bones of control_rig's hierarchy with the bones of the target skeletal mesh: removes
    every existing bone, then imports through the plug-in (leaving out the Maya rig's MotionSystem,
    MainSystem and Main groups) or, when that is not available, through the engine's own import. Prints
    what it did and never raises; returns whether the bones were imported."""
    hierarchy = body_rig_hierarchy(control_rig)
    if hierarchy is None:
        print(BODY_RIG_NO_HIERARCHY_TEXT)
        return False
    try:
        controller = body_rig_hierarchy_controller(control_rig, hierarchy)
    except Exception:
        controller = None

    removed = body_rig_remove_bones(hierarchy, controller) if controller is not None else 0
    imported = body_rig_import_bones_natively(control_rig, state.skeletal_mesh)
    if not imported and controller is not None:
        imported = body_rig_import_bones_with_engine(controller, state.skeletal_mesh)

    if imported:
        print(BODY_RIG_BONES_REBUILT_TEXT, removed)
    else:
        print(BODY_RIG_BONES_NOT_IMPORTED_TEXT, body_rig_controller_method_names(controller))
    return imported
