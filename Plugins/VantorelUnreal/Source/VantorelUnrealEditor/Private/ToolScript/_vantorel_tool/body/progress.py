"""The body rig build's progress window: opening it, advancing it step by step and putting it away."""

import unreal

from _vantorel_tool.body.bones import BODY_RIG_NATIVE_LIBRARY


# ---- fixed texts and names ---------------------------------------------------------------------------

BODY_RIG_PROGRESS_BEGIN = "begin_body_rig_progress"
BODY_RIG_PROGRESS_UPDATE = "update_body_rig_progress"
BODY_RIG_PROGRESS_END = "end_body_rig_progress"

BODY_RIG_PROGRESS_START_TEXT = "Waking up the procedural rig builder..."
BODY_RIG_PROGRESS_DONE_TEXT = "Control Rig complete \u2014 putting the tools away..."

BODY_RIG_PROGRESS_FULL = 100.0


# ---- the window ---------------------------------------------------------------------------------------

def body_rig_progress_library():
    """The native library when it offers all three progress functions, else None."""
    library = getattr(unreal, BODY_RIG_NATIVE_LIBRARY, None)
    if library is None:
        return None
    names = (BODY_RIG_PROGRESS_BEGIN, BODY_RIG_PROGRESS_UPDATE, BODY_RIG_PROGRESS_END)
    if not all(callable(getattr(library, name, None)) for name in names):
        return None
    return library


def body_rig_begin_progress():
    """Opens the progress window with the builder's opening message and returns the progress record
    {"value": 0.0, "library": library}; None when the native library has no progress window, which makes
    every later progress call a no-op."""
    library = body_rig_progress_library()
    if library is None:
        return None
    getattr(library, BODY_RIG_PROGRESS_BEGIN)(BODY_RIG_PROGRESS_START_TEXT)
    return {"value": 0.0, "library": library}


def body_rig_progress(progress, amount, message):
    """Advances the progress record by amount, never past 100, and shows the new value with message;
    a failing update is ignored, since the window must never stop the build."""
    if progress is None:
        return
    progress["value"] = min(BODY_RIG_PROGRESS_FULL, progress["value"] + amount)
    try:
        getattr(progress["library"], BODY_RIG_PROGRESS_UPDATE)(progress["value"], message)
    except Exception:  # the progress window is a courtesy; a build never stops for it
        pass


def body_rig_end_progress(progress):
    """Fills the window with the closing message and closes it, ignoring a failure of either call."""
    if progress is None:
        return
    library = progress["library"]
    try:
        getattr(library, BODY_RIG_PROGRESS_UPDATE)(BODY_RIG_PROGRESS_FULL, BODY_RIG_PROGRESS_DONE_TEXT)
    except Exception:  # the progress window is a courtesy; a build never stops for it
        pass
    try:
        getattr(library, BODY_RIG_PROGRESS_END)()
    except Exception:  # the progress window is a courtesy; a build never stops for it
        pass
