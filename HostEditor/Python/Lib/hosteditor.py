"""The headless editor's session, for tests and the host program: start the editor on a project
folder, select assets in the Content Browser, create a skeletal mesh as an FBX import would, import
a file through the Content Browser, read back the message boxes, the log, the slow tasks that ran,
the Slate application's ticks and windows and the web pages and project switches handed to the
desktop, run the engine's frames, and evaluate a Control Rig (RigEvaluation)."""

import _unreal_core as _core
import unreal

_native = _core.hosteditor


def default_plugins_dir():
    """The folder that holds this repository's plug-in."""
    return _native.default_plugins_dir()


def start(project_dir, plugin_dirs=None):
    """Starts (or restarts) the editor on project_dir with the Python Editor Script plug-in, as an
    editor that runs Python has it (it uses this process's interpreter), and loads the plug-ins found
    in its Plugins folder and in plugin_dirs (this repository's Plugins folder when None). Assets
    loaded before are unloaded, and the message boxes, selection, log and slow tasks recorded so far
    cleared. A restart stays in the same editor run; shutdown() ends the run."""
    directories = [default_plugins_dir()] if plugin_dirs is None else [str(path) for path in plugin_dirs]
    _native.start(str(project_dir), directories)
    del unreal._slow_task_log[:]


def shutdown():
    """Ends the editor run as closing the editor does: every module shuts down (the plug-ins', the
    editor's own and the Python plug-in, whose builtins added during the run go), assets are unloaded,
    and the menus, tabs, plug-in list, message boxes, selection and log are forgotten, so that the
    next start() begins a new run as a newly launched editor does. Harmless when no run is going; not
    for a command that the editor's Python plug-in itself is running."""
    _native.shutdown()
    del unreal._slow_task_log[:]


def is_started():
    return _native.is_started()


def select_assets(object_paths):
    """Selects assets in the Content Browser by object path (or object), replacing the selection."""
    paths = []
    for item in object_paths:
        paths.append(item.get_path_name() if isinstance(item, unreal.Object) else str(item))
    _native.select_assets(paths)


def selected_asset_paths():
    return list(_native.selected_asset_paths())


def message_boxes():
    """Every modal message box shown since the editor started, as (title, text)."""
    return list(_native.message_boxes())


def log_lines():
    """Every log line written since the editor started, as (category, verbosity, text)."""
    return list(_native.log_lines())


def slow_tasks():
    """Every unreal.ScopedSlowTask made since the editor started: work, desc, frames, dialog."""
    return [dict(record, frames=list(record["frames"])) for record in unreal._slow_task_log]


def invoke_menu_entry(entry_path, menu_name="LevelEditor.MainMenu"):
    """Chooses a menu entry as the user would: opens menu_name, follows the sub-menus of entry_path
    (each step an entry's name or label, e.g. ["Vantorel", "Vantorel Functions"]) and clicks the
    last entry. Raises RuntimeError when an entry is missing or cannot be chosen."""
    _native.invoke_menu_entry(str(menu_name), [str(step) for step in entry_path])


def slate_ticks():
    """Every tick of the Slate application since the editor started, as (tick type flags, painted)
    where painted lists what each shown window showed, one widget a line."""
    return [(flags, list(painted)) for flags, painted in _native.slate_ticks()]


def slate_windows():
    """Every window the Slate application was given since the editor started, oldest first, as dicts:
    title, client_size (width, height), parent (the title of the window it is a native child of, or
    None), shown, destroyed and content (its widgets, one a line)."""
    return list(_native.slate_windows())


TOOLS_TAB = "VantorelTools"


def tab_label(tab_id=TOOLS_TAB):
    """The label of an open tab ("Vantorel 1.0.0"), or None when the tab is not open."""
    return _native.tab_label(str(tab_id))


def close_tab(tab_id=TOOLS_TAB):
    """Closes an open tab as its close button does. Raises RuntimeError when it is not open."""
    _native.close_tab(str(tab_id))


def tools_controls(tab_id=TOOLS_TAB):
    """Every control of the open tab in layout order, hidden ones included, as dicts: kind
    ("Section", "Button", "CheckBox", "RadioButton", "ComboBox", "TextBox", "AssetPicker", "Text",
    "ProgressBar"), label, tooltip, context (the sections around it, then its row's label), path
    ("Section>Row>Label"), value (a box's text, the drop-down's choice, the picker's asset or "None",
    "true"/"false" for a check box or a section's expansion), options (a drop-down's items), and
    enabled and visible, counting the widgets around it."""
    return list(_native.tab_controls(str(tab_id)))


def tools_control(query, tab_id=TOOLS_TAB):
    """The control a query names: "Label" or "Section>...>Label", each step a section title or row
    label around it and the last its label or tool tip (case ignored). When several match and one of
    them is shown, that one. Raises RuntimeError when none, or more than one, matches."""
    return dict(_native.tab_control(str(tab_id), str(query)))


def tools_outline(tab_id=TOOLS_TAB):
    """The tab as the user would see it, as an indented outline of its sections and controls with
    their values and states (its label on the first line)."""
    return "%s\n%s" % (tab_label(tab_id), _native.tab_outline(str(tab_id)))


def click(query, tab_id=TOOLS_TAB):
    """Clicks a button, or a section's header (expanding or collapsing it), as the user would.
    Raises RuntimeError when it cannot be found or is hidden or disabled."""
    _native.tab_click(str(tab_id), str(query))


def expand(query, expanded=True, tab_id=TOOLS_TAB):
    """Expands (or collapses) a section by clicking its header; nothing happens when it already is."""
    _native.tab_set_expanded(str(tab_id), str(query), bool(expanded))


def pick(query, item, tab_id=TOOLS_TAB):
    """Chooses an item of a drop-down by its text, or an asset of a picker by object path (None or
    "None" clears it). Raises RuntimeError when the item is not offered."""
    _native.tab_pick(str(tab_id), str(query), "None" if item is None else str(item))


def type_text(query, text, tab_id=TOOLS_TAB):
    """Replaces a text box's text as typing does and commits it with Enter."""
    _native.tab_type(str(tab_id), str(query), str(text))


def set_checked(query, checked=True, tab_id=TOOLS_TAB):
    """Ticks (or clears) a check box or radio choice; nothing happens when it already is."""
    _native.tab_set_checked(str(tab_id), str(query), bool(checked))


def bone_translation_retargeting_modes(skeleton_path):
    """Each bone of the Skeleton at the object path with its translation retargeting mode, in bone
    order, as (bone, "Animation" | "Skeleton" | "AnimationScaled" | "AnimationRelative" | "OrientAndScale")."""
    return [tuple(pair) for pair in _native.bone_translation_retargeting_modes(str(skeleton_path))]


def anim_sequence_keys(sequence_path):
    """An animation sequence's keys as an import left them: {"frame_rate": (numerator, denominator),
    "keys": keys per track, "play_length": seconds, "skeleton": its Skeleton's path, "tracks": {bone:
    [((x, y, z), (qx, qy, qz, qw), (sx, sy, sz)), ...]}} in the bone's parent space, engine axes."""
    return dict(_native.anim_sequence_keys(str(sequence_path)))


def answer_dialog(answer):
    """Queues the answer for the next file or folder dialog: a path, or None to cancel it. A dialog
    with no queued answer is cancelled, as nobody is there to answer it."""
    _native.queue_dialog_answer(None if answer is None else str(answer))


def desktop_dialogs():
    """Every file or folder dialog shown since the editor started, as dicts: kind ("OpenFile" or
    "OpenDirectory"), title, default_path, default_file, file_types, flags, has_parent_window and
    answer (None when cancelled)."""
    return list(_native.desktop_dialogs())


def engine_call_counts():
    """How many calls Python has made into the engine since the process started:
    {"functions": reflected functions called, "properties": reflected properties read or written}.
    Take the difference around a piece of script to count its calls."""
    return dict(_core.engine_call_counts())


def create_skeletal_mesh(package_path, bones, import_uniform_scale=1.0, imported_bounds=None):
    """Creates and saves a skeletal mesh at package_path with its skeleton beside it
    (package_path + "_Skeleton"). bones lists (name, parent_name, local_transform), parents first;
    the root's parent is None and a transform of None is the identity. imported_bounds (an
    unreal.BoxSphereBounds, empty at the origin when None) become the mesh's imported bounds, as an
    import takes them from the mesh's vertices. Returns the mesh."""
    described = []
    for name, parent, transform in bones:
        described.append((str(name), "" if parent is None else str(parent),
                          "" if transform is None else transform.export_text()))
    bounds = "" if imported_bounds is None else imported_bounds.export_text()
    path = _native.create_skeletal_mesh(str(package_path), described, float(import_uniform_scale), bounds)
    return unreal.load_asset(path)


def tick_engine(delta_seconds=0.005):
    """One frame of the editor's engine loop: the core ticker (HTTP progress and completions) and Slate."""
    _native.tick_engine(float(delta_seconds))


def http_requests_in_flight():
    """How many HTTP requests are started and not yet completed on the game thread."""
    return _native.http_requests_in_flight()


def run_frames_until_downloads_end(timeout=30.0):
    """Runs the editor's frames (the engine loop: the HTTP module's progress and completions, Slate)
    until no HTTP request is in flight; raises TimeoutError when timeout seconds pass first."""
    import time
    start = time.monotonic()
    while _native.http_requests_in_flight():
        if time.monotonic() - start > timeout:
            raise TimeoutError("HTTP requests still in flight after %.1f s" % timeout)
        time.sleep(0.005)
        _native.tick_engine(0.005)


def launched_urls():
    """The web addresses handed to the platform's URL launcher so far in this run (the headless
    editor opens no browser), oldest first."""
    return _native.launched_urls()


def project_switches():
    """The project switches asked for so far in this run (the headless editor does not restart), each
    a dict: project_file, command_line (the extra text) and restart_command."""
    return _native.project_switches()


def make_third_person_gameplay_templates(mesh_path):
    """Makes and saves the third-person template's gameplay assets for the mannequin mesh at mesh_path:
    the locomotion clips, BS_Idle_Walk_Run, ABP_Unarmed, BP_ThirdPersonCharacter,
    BP_ThirdPersonPlayerController and BP_ThirdPersonGameMode at the template's paths. Returns their
    object paths."""
    return list(_native.make_third_person_gameplay_templates(str(mesh_path)))


def import_file(path, destination_folder):
    """Imports the file at path into the content folder destination_folder ("/Game/Face") as
    dropping it on the Content Browser does. Returns the assets made, unsaved; an empty list when
    the import failed (the reasons are in log_lines())."""
    paths = _native.import_file(str(path), str(destination_folder))
    return [unreal.find_object(None, object_path) for object_path in paths]


class RigEvaluation:
    """A rig instance of a Control Rig blueprint: a copy of its hierarchy with its graph prepared to
    run, the construction event run when there is one. Each forwards solve starts from the bones'
    reference pose, as a rig previewed on its mesh receives it; controls, nulls and channels keep
    their values. The blueprint itself is never changed."""

    _KINDS = (("bool", bool), ("int", int), ("float", float))
    _STRUCTS = ("Vector2D", "Vector", "Rotator", "Transform", "EulerTransform")

    def __init__(self, blueprint):
        path = blueprint if isinstance(blueprint, str) else blueprint.get_path_name()
        self._native = _native.RigEvaluation(path)

    def set_control_value(self, name, value):
        """Sets the current value of a control or animation channel: a bool, int or float, or an
        unreal.Vector2D, Vector, Rotator, Transform or EulerTransform, fitting the control's type (an
        int also serves a float control). KeyError when there is no such control, TypeError for a
        value of another kind."""
        for kind, python_type in self._KINDS:
            if type(value) is python_type:
                self._native.set_control_value(str(name), kind, value)
                return
        kind = type(value).__name__
        if kind not in self._STRUCTS or not hasattr(value, "export_text"):
            raise TypeError("a control value is a bool, int, float or unreal.%s, not %r" % (", unreal.".join(self._STRUCTS), value))
        self._native.set_control_value(str(name), kind, value.export_text())

    def run_forwards_solve(self, count=1):
        """Runs the forwards solve count times; False when a run had an error (see report())."""
        return self._native.run_forwards_solve(int(count))

    def set_bone_local_transform(self, name, transform):
        """Poses the bone named name as an animation does before a backwards solve: its current local
        transform (an unreal.Transform), the bones below keeping theirs. The next forwards solve starts
        from the reference pose again. KeyError when there is no such bone."""
        self._native.set_bone_local_transform(str(name), transform.export_text())

    def has_backwards_solve(self):
        return self._native.has_backwards_solve()

    def run_backwards_solve(self):
        """Runs the backwards solve once; False when the graph has none or the run had an error."""
        return self._native.run_backwards_solve()

    def global_transform(self, name, element_type="Bone"):
        """The global transform (an unreal.Transform) of the bone, control or null named name, or
        None when the rig has no such element."""
        text = self._native.global_transform(str(name), str(element_type))
        if text is None:
            return None
        transform = unreal.Transform()
        transform.import_text(text)
        return transform

    def control_shape_visible(self, name):
        """Whether the shape of the control named name is shown now, or None when the rig has no such
        control."""
        return self._native.control_shape_visible(str(name))

    def report(self):
        """What the runs so far did: {"events_run", "nodes_executed", "units_per_type" (per unit struct
        or dispatch factory name, its runs), "errors", "warnings", "nodes_never_run", "text" (all of it
        as printable lines)}."""
        return self._native.report()
