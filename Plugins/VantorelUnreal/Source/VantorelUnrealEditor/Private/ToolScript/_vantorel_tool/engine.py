"""Small helpers over the engine's Python: calls whose argument lists differ between engine versions,
the skeletal mesh test and the "Vantorel" message box."""

import unreal


MESSAGE_TITLE = "Vantorel"

SKELETAL_MESH_CLASS = "SkeletalMesh"


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
