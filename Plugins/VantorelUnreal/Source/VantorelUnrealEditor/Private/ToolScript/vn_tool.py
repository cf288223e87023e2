"""The tool state: host values, the target mesh and the names derived from it, the setters and the actions."""

import builtins
import os
import re

import unreal

# ---- fixed texts and names ---------------------------------------------------------------------------

ENGINE_MODULES = ("ControlRigDeveloper", "ControlRigEditor", "ControlRigSpline")
PLUGIN_MODULES = ("VantorelUnreal", "VantorelUnrealEditor")

# Type names that belong to the plug-in's face data; a missing one switches the face build off.
FACE_TYPE_PREFIXES = ("VNFace", "EVNFace", "VNDriven", "VNSDK")

MISSING_PLUGIN_MESSAGE = "\n".join([
    "Vantorel Unreal plugin is not loaded.",
    "",
    "In Unreal choose: Edit > Plugins.",
    "Click Plugin Directories.",
    "Under Additional Plugin Directories, add this folder:",
    "   Vantorel/VantorelFiles/div/unrealPlugins",
])
MISSING_TYPE_PREFIX = "Missing Unreal Python type: "
TOOL_WINDOW_REQUIRED_MESSAGE = ("Vantorel Unreal plugin is required. Install or rebuild the Vantorel plugin "
                                "that includes the editor tool window.")
SELECT_ONE_MESH_MESSAGE = "Select exactly one SkeletalMesh in the Content Browser before running this script."
NOT_AVAILABLE_SUFFIX = " is not available yet"
BODY_RIG_NOT_CREATED_MESSAGE = "The body Control Rig was not created."
UNKNOWN_MODE_PREFIX = "Unknown Control Rig mode: "

MESSAGE_TITLE = "Vantorel"
ACTION_COMPLETE_SUFFIX = " complete."
ACTION_FAILED_SUFFIX = " failed:"

GUESSED_MESH_TEXT = "Vantorel guessed SkeletalMesh:"
MULTIPLE_MESHES_TEXT = "Vantorel found multiple SkeletalMeshes named"
NO_GUESS_TEXT = "Vantorel could not guess SkeletalMesh for:"
RIG_CREATED_AT_TEXT = "Control Rig created at:"
RENAME_SKIPPED_TEXT = "Rename skipped:"
RENAME_REFUSED_TEXT = "the asset tools did not rename the asset"
PREVIEW_MESH_NOT_SET_TEXT = "Control Rig duplicated, but preview mesh was not set:"
COMPARISON_IMPORT_SKIPPED_TEXT = "Mannequin comparison asset import skipped:"

SKELETAL_MESH_CLASS = "SkeletalMesh"
GAME_ROOT = "/Game"
GAME_PREFIX = "/Game/"
ASSET_FILE_EXTENSION = ".uasset"

DATA_ASSET_PREFIX = "DA_"
DATA_ASSET_SUFFIX = "_VNFaceSDK"
FACE_RIG_SUFFIX = "_Face_CR"
BODY_RIG_SUFFIX = "_Body_CR"
COMBINED_RIG_SUFFIX = "_CR"

MODE_BODY = "Body"
MODE_FACE = "Face"
MODE_BODY_AND_FACE = "Body+Face"
CONTROL_RIG_MODES = (MODE_BODY, MODE_FACE, MODE_BODY_AND_FACE)

SOURCE_MANNEQUIN_TEMPLATE = "Mannequin template"
SOURCE_GENERATE_FROM_JSON = "Generate from JSON"
BODY_CONTROL_RIG_SOURCES = (SOURCE_MANNEQUIN_TEMPLATE, SOURCE_GENERATE_FROM_JSON)

LABEL_SET_RETARGET_OPTIONS = "Set retarget options"
LABEL_SET_CHARACTER = "Set Character"
LABEL_CREATE_BODY_CONTROL_RIG = "Create Body Control Rig"
LABEL_CREATE_FACE_CONTROL_RIG = "Create face Control Rig"
LABEL_CREATE_CONTROL_RIG = "Create Control Rig"

# The preview-mesh setter of the Control Rig editor library; its Python name is the script name, the C++
# class name is tried first for editors that expose it under that.
CONTROL_RIG_EDITOR_LIBRARY_NAMES = ("ControlRigBlueprintEditorLibrary", "ControlRigBlueprintLibrary")


# ---- helpers ----------------------------------------------------------------------------------------

def call_first_accepted(*attempts, accepted_errors=(TypeError,)):
    """Runs each of attempts (callables without arguments) in turn until one does not raise one of
    accepted_errors, and returns its result. Engine functions differ in their argument lists between
    versions; each attempt is one form of the call. Raises the last error when no attempt succeeds."""
    last_error = None
    for attempt in attempts:
        try:
            return attempt()
        except accepted_errors as error:
            last_error = error
    if last_error is None:
        raise ValueError("call_first_accepted needs at least one attempt")
    raise last_error


def tool_function(name, what):
    """The tool script function called name, looked up when it is needed, so that an action can name a
    builder defined further down the script; raises RuntimeError("<what> is not available yet") when
    the script defines no such function."""
    function = globals().get(name)
    if not callable(function):
        raise RuntimeError(what + NOT_AVAILABLE_SUFFIX)
    return function


def norm(s):
    """The text form of s, lower-cased, with every character outside a-z and 0-9 removed
    ("Rotation.X" gives "rotationx"); used for every tolerant name comparison."""
    return re.sub(r"[^a-z0-9]", "", str(s).lower())


def package_path_of(asset):
    """The package path of an asset: its object path up to the first "."."""
    return asset.get_path_name().split(".", 1)[0]


def folder_of(path):
    """A package path up to its last "/"."""
    return path.rsplit("/", 1)[0] if "/" in path else ""


def is_skeletal_mesh(asset):
    """Whether asset is a skeletal mesh: a SkeletalMesh object or one whose class is named so."""
    if asset is None:
        return False
    skeletal_mesh_type = getattr(unreal, SKELETAL_MESH_CLASS, None)
    if skeletal_mesh_type is not None and isinstance(asset, skeletal_mesh_type):
        return True
    try:
        return asset.get_class().get_name() == SKELETAL_MESH_CLASS
    except Exception:
        return False


def show_vantorel_message(text):
    """Shows text in a modal message box titled "Vantorel" with an OK button."""
    # An unattended editor answers with the default; the only answer an OK box has is OK.
    unreal.EditorDialog.show_message(MESSAGE_TITLE, text, unreal.AppMsgType.OK, unreal.AppReturnType.OK)


def error_text(error):
    """The text of an exception, or its type name when it carries no text."""
    return str(error) or type(error).__name__


# ---- loading: modules, host values, face data types ----------------------------------------------------

for _module_name in ENGINE_MODULES + PLUGIN_MODULES:
    try:
        unreal.load_module(_module_name)
    except Exception:
        pass
del _module_name

# The host sets these before the script text runs; its values win over the defaults.
if "SOURCE_FILE" not in globals():
    SOURCE_FILE = ""
if "INCLUDE_VN_FACE_SOLVER" not in globals():
    INCLUDE_VN_FACE_SOLVER = True
if "json_file" not in globals():
    json_file = ""

# Written by the type resolution below, so set before it runs.
vn_face_plugin_loaded = True
vn_face_plugin_message_shown = False


def is_face_type_name(name):
    return name.startswith(FACE_TYPE_PREFIXES)


def find_unreal_type(*names):
    """The first of names that the unreal module offers. A face data type (a name with a face prefix)
    is None without a word when the face solver is not included, and None when the plug-in does not
    offer it: the face build is then switched off and the missing-plug-in error logged once. Any
    other missing type raises RuntimeError("Missing Unreal Python type: " + the names)."""
    global vn_face_plugin_loaded, vn_face_plugin_message_shown
    has_face_name = any(is_face_type_name(name) for name in names)
    if not INCLUDE_VN_FACE_SOLVER and has_face_name:
        return None
    for name in names:
        found = getattr(unreal, name, None)
        if found is not None:
            return found
    if has_face_name:
        vn_face_plugin_loaded = False
        if not vn_face_plugin_message_shown:
            unreal.log_error(MISSING_PLUGIN_MESSAGE)
            vn_face_plugin_message_shown = True
        return None
    raise RuntimeError(MISSING_TYPE_PREFIX + ", ".join(names))


ChannelEnum = find_unreal_type("VNFaceSDKChannel", "EVNFaceSDKChannel")
ApplyModeEnum = find_unreal_type("VNFaceSDKApplyMode", "EVNFaceSDKApplyMode")
TransformSpaceEnum = find_unreal_type("VNFaceSDKTransformSpace", "EVNFaceSDKTransformSpace")
DriverStruct = find_unreal_type("VNFaceSDKDriver")
DrivenStruct = find_unreal_type("VNDrivenSDKChannel")
KeyStruct = find_unreal_type("VNSDKKey")
QuaternionKeyStruct = find_unreal_type("VNSDKQuaternionKey")
DirectControlStruct = find_unreal_type("VNFaceSDKDirectControl")
FollowControlStruct = find_unreal_type("VNFaceSDKFollowControl")
VisibilityGroupStruct = find_unreal_type("VNFaceSDKVisibilityGroup")
EyeChainStruct = find_unreal_type("VNFaceSDKEyeChain")
AimBindingStruct = find_unreal_type("VNFaceSDKAimBinding")
AssetClass = find_unreal_type("VNFaceRigDataAsset")
try:
    BeginExecutionStruct = find_unreal_type("RigUnit_BeginExecution", "RigUnitBeginExecution")
except RuntimeError:
    BeginExecutionStruct = None

# ---- the tool state ---------------------------------------------------------------------------------

skeletal_mesh = None
mesh_path = ""
asset_path = ""
mesh_name = ""
asset_name = ""
control_rig_name = ""
body_control_rig_name = ""
combined_control_rig_name = ""
full_asset_path = ""
full_control_rig_path = ""
full_body_control_rig_path = ""
full_combined_control_rig_path = ""
body_control_rig_template_file = ""
body_json_file = None
body_control_rig_source = None
control_rig_mode = MODE_BODY
include_backwards_solve = True
include_driving_systems = True
include_twist_solution = True
include_custom_controllers = False


# ---- setters ----------------------------------------------------------------------------------------

def set_target_skeletal_mesh(mesh):
    """Makes mesh the target skeletal mesh and recomputes the asset names and paths derived from it:
    the mesh's folder (every generated asset goes there), the face rig data asset and the face, body
    and combined Control Rigs. None clears the target and the derived names. Returns the mesh."""
    global skeletal_mesh, mesh_path, asset_path, mesh_name, asset_name
    global control_rig_name, body_control_rig_name, combined_control_rig_name
    global full_asset_path, full_control_rig_path, full_body_control_rig_path, full_combined_control_rig_path
    skeletal_mesh = mesh
    if mesh is None:
        mesh_path = asset_path = mesh_name = asset_name = ""
        control_rig_name = body_control_rig_name = combined_control_rig_name = ""
        full_asset_path = full_control_rig_path = full_body_control_rig_path = full_combined_control_rig_path = ""
        return skeletal_mesh
    mesh_path = package_path_of(mesh)
    asset_path = folder_of(mesh_path)
    mesh_name = mesh.get_name()
    asset_name = DATA_ASSET_PREFIX + mesh_name + DATA_ASSET_SUFFIX
    control_rig_name = mesh_name + FACE_RIG_SUFFIX
    body_control_rig_name = mesh_name + BODY_RIG_SUFFIX
    combined_control_rig_name = mesh_name + COMBINED_RIG_SUFFIX
    full_asset_path = asset_path + "/" + asset_name
    full_control_rig_path = asset_path + "/" + control_rig_name
    full_body_control_rig_path = asset_path + "/" + body_control_rig_name
    full_combined_control_rig_path = asset_path + "/" + combined_control_rig_name
    return skeletal_mesh


def set_body_control_rig_template(asset):
    """Takes the Mannequin template's file from a Control Rig asset under /Game/: the project content
    folder + the asset's package path after "/Game/" + ".uasset". Any other asset, and any error,
    leaves the template file as it was. Returns the template file."""
    global body_control_rig_template_file
    try:
        path = package_path_of(asset)
        if path.startswith(GAME_PREFIX):
            body_control_rig_template_file = (unreal.Paths.project_content_dir() + path[len(GAME_PREFIX):]
                                              + ASSET_FILE_EXTENSION)
    except Exception:
        pass
    return body_control_rig_template_file


def set_body_control_rig_template_file(path):
    """Stores the Mannequin template's file path (the empty text when path is missing); returns it."""
    global body_control_rig_template_file
    body_control_rig_template_file = str(path) if path else ""
    return body_control_rig_template_file


def set_body_json_file(path):
    """Stores the Body rig JSON path (the empty text when path is missing); returns it."""
    global body_json_file
    body_json_file = str(path) if path else ""
    return body_json_file


def set_body_control_rig_source(source):
    """Stores the body rig's source when it is "Mannequin template" or "Generate from JSON"; any other
    text is ignored. Returns the stored source."""
    global body_control_rig_source
    if source in BODY_CONTROL_RIG_SOURCES:
        body_control_rig_source = source
    return body_control_rig_source


def set_face_json_file(path):
    """Stores a non-empty Face rig JSON path; an empty or missing one keeps the previous path. Returns
    the stored path."""
    global json_file
    if path:
        json_file = str(path)
    return json_file


def set_control_rig_mode(mode):
    """Stores the build mode when it is exactly "Body", "Face" or "Body+Face"; other text is ignored.
    Returns the stored mode."""
    global control_rig_mode
    if mode in CONTROL_RIG_MODES:
        control_rig_mode = mode
    return control_rig_mode


def set_body_rig_options(backwards=True, driving_systems=True, twist=True):
    """Stores whether the body build adds the backwards solve, the driving systems and the twist
    solution."""
    global include_backwards_solve, include_driving_systems, include_twist_solution
    include_backwards_solve = bool(backwards)
    include_driving_systems = bool(driving_systems)
    include_twist_solution = bool(twist)


def set_include_custom_controllers(include=False):
    """Stores whether the Mannequin template build adds custom controllers; returns the flag."""
    global include_custom_controllers
    include_custom_controllers = bool(include)
    return include_custom_controllers


# ---- the target mesh --------------------------------------------------------------------------------

def selected_skeletal_meshes():
    return [asset for asset in unreal.EditorUtilityLibrary.get_selected_assets() if is_skeletal_mesh(asset)]


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
    if skeletal_mesh is None:
        set_target_skeletal_mesh(selected_skeletal_mesh())
    return skeletal_mesh


def source_file_stem():
    """SOURCE_FILE's file name without folder and extension, lower-cased (either kind of slash)."""
    file_name = str(SOURCE_FILE or "").replace("\\", "/").rsplit("/", 1)[-1]
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
    if skeletal_mesh is not None:
        return skeletal_mesh.get_path_name()
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
    except Exception:
        pass
    print(NO_GUESS_TEXT, SOURCE_FILE)
    return ""


# ---- Control Rig assets -----------------------------------------------------------------------------

def control_rig_target(target_path, target_name):
    """The package path and asset name of a rig to build. With neither given, the face rig's; with
    only one given, the other follows from it (the name is the path's last element, the path is the
    name inside the mesh's folder), so that the two always name the same asset."""
    if target_path is None and target_name is None:
        return full_control_rig_path, control_rig_name
    if target_path is None:
        return (asset_path + "/" + target_name if asset_path else ""), target_name
    if target_name is None:
        return target_path, target_path.rsplit("/", 1)[-1]
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
    if skeletal_mesh is not None:
        rig = call_first_accepted(
            lambda: factory.create_control_rig_from_skeletal_mesh_or_skeleton(skeletal_mesh, False),
            lambda: factory.create_control_rig_from_skeletal_mesh_or_skeleton(skeletal_mesh))
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
        if skeletal_mesh is None:
            raise RuntimeError(SELECT_ONE_MESH_MESSAGE)
        call_first_accepted(
            lambda: control_rig.set_preview_mesh(skeletal_mesh),
            lambda: control_rig_editor_library().set_preview_mesh(control_rig, skeletal_mesh, True),
            accepted_errors=(Exception,))
        return True
    except Exception as error:
        print(PREVIEW_MESH_NOT_SET_TEXT, error)
        return False


# ---- builds -----------------------------------------------------------------------------------------

def create_body_control_rig_from_selected_source(target_path=None, target_name=None, combined=False):
    """Builds the body Control Rig from the chosen source: "Generate from JSON" builds from the Body
    rig JSON, any other source from the Mannequin template. The target defaults to the body rig of
    the target mesh, or with combined to the combined rig; the builder derives it once it has read
    its input and found the mesh. Returns the builder's rig."""
    if body_control_rig_source == SOURCE_GENERATE_FROM_JSON:
        builder = tool_function("create_body_control_rig_from_json", "The Body rig JSON build")
    else:
        builder = tool_function("create_body_control_rig", "The Mannequin template build")
    if combined:
        return builder(target_path, target_name, combined=True)
    return builder(target_path, target_name)


def create_face_control_rig(control_rig):
    """Builds the face Control Rig: into control_rig when one is given, else into the face rig asset
    of the target mesh."""
    return tool_function("create_vn_face_control_rig", "The face Control Rig build")(control_rig)


def create_control_rig_from_mode():
    """Builds what the mode asks for: "Body" the body rig, "Face" the face rig, "Body+Face" the body
    rig into the combined asset with the face added to it. Returns the resulting rig. The body
    builder reads its JSON before it looks for the target mesh, so the mesh is not looked up here."""
    if control_rig_mode == MODE_FACE:
        return create_face_control_rig(None)
    if control_rig_mode not in CONTROL_RIG_MODES:
        raise RuntimeError(UNKNOWN_MODE_PREFIX + str(control_rig_mode))
    if control_rig_mode == MODE_BODY:
        return create_body_control_rig_from_selected_source()
    body_rig = create_body_control_rig_from_selected_source(combined=True)
    if body_rig is None:
        raise RuntimeError(BODY_RIG_NOT_CREATED_MESSAGE)
    return create_face_control_rig(body_rig)


# ---- actions ----------------------------------------------------------------------------------------

def run_vantorel_action(label, function):
    """Runs function and reports the outcome in a "Vantorel" message box: label + " complete.", or on
    any error label + " failed:", a line break and the error, which is also logged as an error. The
    error is not raised further. Returns the function's result, None after a failure."""
    try:
        result = function()
    except Exception as error:
        text = error_text(error)
        unreal.log_error(label + ACTION_FAILED_SUFFIX + " " + text)
        show_vantorel_message(label + ACTION_FAILED_SUFFIX + "\n" + text)
        return None
    show_vantorel_message(label + ACTION_COMPLETE_SUFFIX)
    return result


def vn_run_set_retarget_options():
    """Sets the mannequin retargeting options on the target mesh's skeleton."""
    return run_vantorel_action(LABEL_SET_RETARGET_OPTIONS, lambda: tool_function(
        "apply_mannequin_retargeting_options", "Setting the retarget options")())


def vn_run_set_third_person_character():
    """Puts the target mesh on the project's character blueprint."""
    return run_vantorel_action(LABEL_SET_CHARACTER, lambda: tool_function(
        "set_character_mesh", "Setting the character mesh")())


def vn_run_create_body_control_rig():
    """Builds the body Control Rig of the target mesh from the chosen source."""
    return run_vantorel_action(LABEL_CREATE_BODY_CONTROL_RIG, create_body_control_rig_from_selected_source)


def vn_run_create_face_control_rig():
    """Builds the face Control Rig of the target mesh."""
    return run_vantorel_action(LABEL_CREATE_FACE_CONTROL_RIG, lambda: create_face_control_rig(None))


def vn_run_create_control_rig():
    """Builds the Control Rig the mode asks for."""
    return run_vantorel_action(LABEL_CREATE_CONTROL_RIG, create_control_rig_from_mode)


VANTOREL_BUILTINS = {
    "vn_set_target_skeletal_mesh": set_target_skeletal_mesh,
    "vn_set_body_control_rig_template": set_body_control_rig_template,
    "vn_set_body_control_rig_template_file": set_body_control_rig_template_file,
    "vn_set_body_json_file": set_body_json_file,
    "vn_set_body_control_rig_source": set_body_control_rig_source,
    "vn_set_face_json_file": set_face_json_file,
    "vn_set_control_rig_mode": set_control_rig_mode,
    "vn_set_body_rig_options": set_body_rig_options,
    "vn_set_include_custom_controllers": set_include_custom_controllers,
    "vn_run_set_retarget_options": vn_run_set_retarget_options,
    "vn_run_set_third_person_character": vn_run_set_third_person_character,
    "vn_run_create_body_control_rig": vn_run_create_body_control_rig,
    "vn_run_create_face_control_rig": vn_run_create_face_control_rig,
    "vn_run_create_control_rig": vn_run_create_control_rig,
}


def register_vantorel_builtins():
    """Makes the setters and actions reachable from any later command as builtins under their vn_
    names."""
    for name, function in VANTOREL_BUILTINS.items():
        setattr(builtins, name, function)


def ensure_mannequin_comparison_assets():
    for name in ("ensure_mannequin_comparison_dependencies", "ensure_manny_simple_comparison_mesh",
                 "ensure_quinn_simple_comparison_mesh"):
        tool_function(name, "The mannequin comparison asset import")()


def open_vantorel_tools():
    """Opens the native tools window for SOURCE_FILE, when the script is run by hand: makes sure the
    mannequin comparison assets exist, registers the builtins and hands the guessed target mesh and the
    Face rig JSON to the window. Without the plug-in's window the error is logged and shown instead.
    Returns whether the window was opened."""
    try:
        ensure_mannequin_comparison_assets()
    except Exception as error:
        print(COMPARISON_IMPORT_SKIPPED_TEXT, error)
    register_vantorel_builtins()

    library = getattr(unreal, "VNFaceSDKImportLibrary", None)
    open_window = getattr(library, "open_vantorel_tools", None) if library is not None else None
    if open_window is None:
        unreal.log_error(TOOL_WINDOW_REQUIRED_MESSAGE)
        show_vantorel_message(TOOL_WINDOW_REQUIRED_MESSAGE)
        return False
    guessed_mesh_path = guess_skeletal_mesh_path()
    call_first_accepted(
        lambda: open_window(SOURCE_FILE, INCLUDE_VN_FACE_SOLVER, True, guessed_mesh_path, json_file),
        lambda: open_window(SOURCE_FILE, INCLUDE_VN_FACE_SOLVER, True, guessed_mesh_path))
    return True


# ---- loading: the Content Browser's selection ----------------------------------------------------------

try:
    _selected_meshes = selected_skeletal_meshes()
    if len(_selected_meshes) == 1:
        set_target_skeletal_mesh(_selected_meshes[0])
    del _selected_meshes
except Exception:
    pass
