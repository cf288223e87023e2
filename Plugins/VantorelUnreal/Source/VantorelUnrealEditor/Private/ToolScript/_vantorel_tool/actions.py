"""The actions the tools window runs (each reports its outcome in a "Vantorel" message box), the
builtins table they are registered from, and opening the native tools window by hand."""

import builtins

import unreal

from _vantorel_tool import state
from _vantorel_tool.assets import guess_skeletal_mesh_path, set_body_control_rig_template
from _vantorel_tool.body.driver import create_body_control_rig_from_json
from _vantorel_tool.body.mannequin import create_body_control_rig, ensure_mannequin_comparison_assets
from _vantorel_tool.character import set_character_mesh
from _vantorel_tool.engine import call_first_accepted, show_vantorel_message
from _vantorel_tool.face.build import create_vn_face_control_rig
from _vantorel_tool.names import error_text, package_path_of
from _vantorel_tool.retargeting import apply_mannequin_retargeting_options
from _vantorel_tool.state import (
    CONTROL_RIG_MODES, MODE_BODY, MODE_FACE, SOURCE_GENERATE_FROM_JSON, set_body_control_rig_source,
    set_body_control_rig_template_file, set_body_json_file, set_body_rig_options, set_control_rig_mode,
    set_face_json_file, set_include_custom_controllers, set_target_skeletal_mesh,
)


TOOL_WINDOW_REQUIRED_MESSAGE = ("Vantorel Unreal plugin is required. Install or rebuild the Vantorel plugin "
                                "that includes the editor tool window.")
BODY_RIG_NOT_CREATED_MESSAGE = "The body Control Rig was not created."
FACE_PART_FAILED_TEXT = "The body Control Rig is saved at %s; adding the face to it failed: %s"
UNKNOWN_MODE_PREFIX = "Unknown Control Rig mode: "
ACTION_COMPLETE_SUFFIX = " complete."
ACTION_FAILED_SUFFIX = " failed:"
COMPARISON_IMPORT_SKIPPED_TEXT = "Mannequin comparison asset import skipped:"

LABEL_SET_RETARGET_OPTIONS = "Set retarget options"
LABEL_SET_CHARACTER = "Set Character"
LABEL_CREATE_BODY_CONTROL_RIG = "Create Body Control Rig"
LABEL_CREATE_FACE_CONTROL_RIG = "Create face Control Rig"
LABEL_CREATE_CONTROL_RIG = "Create Control Rig"


# ---- builds -----------------------------------------------------------------------------------------

def create_body_control_rig_from_selected_source(target_path=None, target_name=None, combined=False):
    """Builds the body Control Rig from the chosen source: "Generate from JSON" builds from the Body
    rig JSON, any other source from the Mannequin template. The target defaults to the body rig of
    the target mesh, or with combined to the combined rig; the builder derives it once it has read
    its input and found the mesh. Returns the builder's rig."""
    builder = create_body_control_rig_from_json if state.body_control_rig_source == SOURCE_GENERATE_FROM_JSON \
        else create_body_control_rig
    if combined:
        return builder(target_path, target_name, combined=True)
    return builder(target_path, target_name)


def create_face_control_rig(control_rig):
    """Builds the face Control Rig: into control_rig when one is given, else into the face rig asset
    of the target mesh."""
    return create_vn_face_control_rig(control_rig)


def create_control_rig_from_mode():
    """Builds what the mode asks for: "Body" the body rig, "Face" the face rig, "Body+Face" the body
    rig into the combined asset with the face added to it. Returns the resulting rig. The body
    builder reads its JSON before it looks for the target mesh, so the mesh is not looked up here."""
    if state.control_rig_mode == MODE_FACE:
        return create_face_control_rig(None)
    if state.control_rig_mode not in CONTROL_RIG_MODES:
        raise RuntimeError(UNKNOWN_MODE_PREFIX + str(state.control_rig_mode))
    if state.control_rig_mode == MODE_BODY:
        return create_body_control_rig_from_selected_source()
    body_rig = create_body_control_rig_from_selected_source(combined=True)
    if body_rig is None:
        raise RuntimeError(BODY_RIG_NOT_CREATED_MESSAGE)
    # The body rig is saved before the face is added; a face that fails says so and where the body is.
    try:
        return create_face_control_rig(body_rig)
    except Exception as error:
        raise RuntimeError(FACE_PART_FAILED_TEXT % (package_path_of(body_rig), error_text(error))) from error


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
    return run_vantorel_action(LABEL_SET_RETARGET_OPTIONS, apply_mannequin_retargeting_options)


def vn_run_set_third_person_character():
    """Puts the target mesh on the project's character blueprint."""
    return run_vantorel_action(LABEL_SET_CHARACTER, set_character_mesh)


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
        lambda: open_window(state.SOURCE_FILE, state.INCLUDE_VN_FACE_SOLVER, True, guessed_mesh_path, state.json_file),
        lambda: open_window(state.SOURCE_FILE, state.INCLUDE_VN_FACE_SOLVER, True, guessed_mesh_path))
    return True
