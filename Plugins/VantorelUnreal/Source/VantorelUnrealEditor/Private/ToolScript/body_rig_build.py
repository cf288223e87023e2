# ---- body rig build: the driver -----------------------------------------------------------------------
# Turns the Body rig JSON and the target skeletal mesh into a saved Control Rig blueprint: the asset
# handling, the hierarchy phase (planning, controls, channels and helper spaces) and the graph phase
# (the forward solve, section by section), then the backwards solve, tidying, the VM recompile, the
# description stamp and the save. Each system's own steps live with that system; a system that this
# build does not have yet is skipped with one line, and the others still run.

import copy
import time

BODY_RIG_STEP_MISSING_TEXT = "Body rig step not available in this build, skipped:"
BODY_RIG_NOT_CREATED_TEXT = "Could not create Body Control Rig from the SkeletalMesh."
BODY_RIG_NO_JOINTS_TEXT = "The target SkeletalMesh skeleton has none of the Body JSON joints."
BODY_RIG_VM_FAILED_TEXT = "Body rig VM recompile failed; open the Control Rig and press Compile manually: "
BODY_RIG_GRAPH_X = 1700
BODY_RIG_SECTION_GAP = 160
BODY_RIG_FALLBACK_BOX_X = 1560
BODY_RIG_FALLBACK_BOX_WIDTH = 1900
BODY_RIG_SECTION_9_SKIPPED_KINDS = ("FK", "Main", "Root", "SplineIK", "IKPole", "DrivingSystem", "FKIK", "IKLocal",
                                    "HipSwinger", "Bend", "BendMid")
BODY_RIG_KIND_DRIVING_SYSTEM = "DrivingSystem"

_body_rig_missing_steps = set()


def body_rig_step(name, empty_result, *args, **kwargs):
    """Runs the build step called name, or, when this build of the tool script has no such step, says
    so once per build and gives its empty result (no elements, no nodes)."""
    function = globals().get(name)
    if callable(function):
        return function(*args, **kwargs)
    if name not in _body_rig_missing_steps:
        _body_rig_missing_steps.add(name)
        print(BODY_RIG_STEP_MISSING_TEXT, name)
    return copy.copy(empty_result)


def body_rig_controls_by_name(controls):
    by_name = {}
    for control in controls:
        name = str(control.get("name") or "")
        if name:
            by_name.setdefault(name, control)
    return by_name


# ---- entry and asset handling ---------------------------------------------------------------------------

def create_body_control_rig_from_json(target_path=None, target_name=None, combined=False):
    """Builds the body Control Rig from the Body rig JSON for the target mesh; returns the blueprint.
    The target defaults to the mesh's body rig, or with combined to its combined rig. The progress
    window opens first and always closes, also when the build fails."""
    try:
        progress = body_rig_begin_progress()
    except Exception:
        progress = None
    try:
        return _create_body_control_rig_from_json(target_path, target_name, progress, combined)
    finally:
        body_rig_end_progress(progress)


def _create_body_control_rig_from_json(target_path, target_name, progress, combined=False):
    body_rig_progress(progress, 4, "Reading Body Rig JSON...")
    rig_data = body_json_read()
    if globals().get("skeletal_mesh") is None:
        body_rig_progress(progress, 4, "Finding selected Skeletal Mesh...")
        set_target_skeletal_mesh(selected_skeletal_mesh())
    if target_path is None:
        target_path = globals().get("full_combined_control_rig_path" if combined else "full_body_control_rig_path")
    if target_name is None:
        target_name = globals().get("combined_control_rig_name" if combined else "body_control_rig_name")

    if not target_path:
        raise RuntimeError(SELECT_ONE_MESH_MESSAGE)

    # The new rig is made and checked beside the previous one, which is replaced only once nothing
    # can refuse the build any more: a refused build leaves the previous rig on disk and in memory.
    body_rig_progress(progress, 6, "Creating Control Rig asset...")
    control_rig = create_control_rig_asset(target_path)
    if control_rig is None:
        raise RuntimeError(BODY_RIG_NOT_CREATED_TEXT)

    body_rig_progress(progress, 4, "Importing skeleton hierarchy...")
    set_control_rig_preview_mesh(control_rig)
    replace_control_rig_bones_from_skeletal_mesh(control_rig)
    if not body_rig_joint_keys(control_rig.hierarchy, rig_data):
        discard_control_rig_asset(control_rig)
        raise RuntimeError(BODY_RIG_NO_JOINTS_TEXT)
    control_rig = move_control_rig_to_target(control_rig, target_path, target_name)

    build_body_control_rig_from_json(control_rig, rig_data, progress)
    body_rig_stamp_blueprint_description(control_rig, rig_data)

    body_rig_progress(progress, 12, "Saving your completed Body Control Rig...")
    asset_path = control_rig.get_path_name()
    unreal.EditorAssetLibrary.save_loaded_asset(control_rig)
    print("Created Body Control Rig from JSON:", asset_path)
    print("Controls:", len(rig_data.get("controls") or []))
    print("Joints:", len(rig_data.get("joints") or []))
    return control_rig


# ---- hierarchy phase ------------------------------------------------------------------------------------

def body_rig_set_notifications(control_rig, suspended):
    """Suspends the blueprint's change notifications while the build adds thousands of elements,
    where the blueprint lets a script do that; the build does not depend on it."""
    for target in (control_rig, getattr(control_rig, "hierarchy", None)):
        setter = getattr(target, "suspend_notifications", None)
        if callable(setter):
            try:
                setter(suspended)
            except Exception:
                pass


def body_rig_make_poles(planned):
    """Each IK control's pole: an exported control of the pole's name becomes the pole, else a pole is
    generated from the IK record."""
    by_name = body_rig_controls_by_name(planned)
    for control in list(planned):
        ik = control.get("ik")
        if body_rig_kind(control) != "IK" or not isinstance(ik, dict):
            continue
        name = str(control.get("name") or "")
        pole_name = str(ik.get("poleControl") or "") or "Pole" + name
        middle = str(ik.get("middleJoint") or "")
        pole = by_name.get(pole_name)
        if pole is not None:
            pole["type"] = "IKPole"
            pole["worldSpace"] = True
            pole["joint"] = middle or pole.get("joint", "")
            pole["polePositionWorld"] = ik.get("polePositionWorld")
            continue
        diameter = body_json_float(control.get("diameter"), 1.0)
        generated = {
            "name": pole_name,
            "parent": str(control.get("parent") or "") or BODY_RIG_MAIN_NAME,
            "joint": middle,
            "type": "IKPole",
            "gizmo": "Sphere_Solid",
            "worldSpace": True,
            "polePositionWorld": ik.get("polePositionWorld"),
            "diameter": max(0.2 * diameter, 0.01),
            "color": control.get("color") if control.get("color") is not None else [1.0, 0.0, 0.0],
        }
        planned.append(generated)
        by_name[pole_name] = generated
    return planned


def build_body_control_rig_from_json(control_rig, rig_data, progress=None):
    """Runs the build's phases on control_rig, whose hierarchy holds the mesh's bones; returns it."""
    _body_rig_missing_steps.clear()
    body_rig_set_notifications(control_rig, True)
    body_rig_clear_group_tracker()
    body_rig_clear_key_index()
    started = time.time()

    controller = body_rig_clear_graph(control_rig)
    body_rig_set_node_run_limit(control_rig)
    hierarchy = control_rig.hierarchy
    hierarchy_controller = control_rig.get_hierarchy_controller()
    body_rig_clear_non_bones(hierarchy_controller, hierarchy)
    control_rig.set_auto_vm_recompile(False)

    joint_keys = body_rig_joint_keys(hierarchy, rig_data)
    if not joint_keys:
        raise RuntimeError(BODY_RIG_NO_JOINTS_TEXT)
    import_scale = body_rig_import_uniform_scale(hierarchy, rig_data, joint_keys)
    print("Body Rig using SkeletalMesh Import Uniform Scale:", import_scale)

    body_rig_progress(progress, 10, "Planning FK / IK systems...")
    file_controls = [control for control in rig_data.get("controls") or [] if isinstance(control, dict)]
    planned, chains = body_rig_step("body_rig_prepare_fkik_controls", ([copy.deepcopy(c) for c in file_controls], []), rig_data)
    chains = list(chains)
    body_rig_make_poles(planned)
    spline_chains = list(body_rig_step("body_rig_prepare_spline_ik", [], rig_data, planned, chains))
    foot_systems = list(body_rig_step("body_rig_prepare_reverse_foot", [], rig_data, planned, chains))
    print("Applied ikLocal addCtrl reverse-foot parenting:", body_rig_step("body_rig_apply_iklocal_addctrl", 0, planned, chains))
    all_chains = chains + spline_chains
    body_rig_step("body_rig_attach_controls_after_fkik", None, rig_data, planned, all_chains)
    hip_plan = body_rig_step("body_rig_plan_hip_swinger", None, rig_data, planned, all_chains)
    if hip_plan:
        print("Planned HipSwinger:", hip_plan.get("root"), "to", hip_plan.get("endpoint"), "through",
              len(hip_plan.get("parts") or []), "Root Parts")

    if not include_driving_systems:
        before = len(planned)
        planned[:] = [control for control in planned if body_rig_kind(control) != BODY_RIG_KIND_DRIVING_SYSTEM]
        print("Omitted DrivingSystem controls:", before - len(planned))
    before = len(planned)
    planned[:] = [control for control in planned
                  if not body_rig_step("body_rig_is_omitted_hip_swinger_control", False, control)]
    if len(planned) != before:
        print("Omitted legacy HipSwinger companion controls")
    planned_by_name = body_rig_controls_by_name(planned)

    print("Created FK result parent helpers:",
          body_rig_step("body_rig_make_fkik_result_parent_spaces", 0, hierarchy, hierarchy_controller, planned, joint_keys))
    print("Created LegLock controller spaces:",
          body_rig_step("body_rig_make_leg_lock_space", 0, hierarchy, hierarchy_controller, planned, joint_keys))

    bendy_plans, bendy_handles = body_rig_step("body_rig_plan_bendy", ([], []), rig_data)
    planned.extend(bendy_handles)
    custom_shapes = body_rig_step("body_rig_install_control_shape_library", {}, control_rig, planned, progress, import_scale) or {}

    count = len(planned)
    body_rig_progress(progress, 2, "Placing animator controls and shapes (0/%d)..." % count)
    for index, control in enumerate(planned, 1):
        data = dict(control)
        name = str(data.get("name") or "")
        if name in custom_shapes:
            data[BODY_RIG_CUSTOM_SHAPE_KEY] = custom_shapes[name]
        body_rig_step("body_rig_make_control", None, hierarchy, hierarchy_controller, data, joint_keys, import_scale, control_rig)
        body_rig_progress(progress, 15.0 / max(1, count), "Creating controller %d/%d: %s" % (index, count, name))

    body_rig_progress(progress, 10, "Organizing the clean controller hierarchy...")
    body_rig_step("body_rig_parent_main_to_motion_system", False, hierarchy, hierarchy_controller)
    body_rig_step("body_rig_align_iklocal_controls", 0, hierarchy, planned)
    print("Repaired deferred control parents:", body_rig_step("body_rig_repair_control_parents", 0, hierarchy, hierarchy_controller, planned))
    body_rig_step("body_rig_make_vantorel_global_groups", 0, hierarchy, hierarchy_controller, planned)
    body_rig_step("body_rig_make_spline_end_follow_spaces", 0, hierarchy, hierarchy_controller, spline_chains, joint_keys, planned)
    print("Created inbetween FKOffset spaces:", body_rig_step("body_rig_make_inbetween_offset_spaces", 0, hierarchy, hierarchy_controller, planned))
    if hip_plan:
        body_rig_step("body_rig_make_hip_swinger_spaces", 0, hierarchy, hierarchy_controller, hip_plan, joint_keys)
    for control in planned:
        body_rig_step("body_rig_make_vantorel_fit_channels", 0, hierarchy, hierarchy_controller, control)

    sdk_spaces = {}
    if include_driving_systems:
        body_rig_progress(progress, 8, "Wiring Driving Systems...")
        body_rig_step("body_rig_make_driving_system_attachments", 0, hierarchy, hierarchy_controller, planned, joint_keys)
        sdk_spaces = body_rig_step("body_rig_make_sdk_control_spaces", {}, hierarchy, hierarchy_controller, planned) or {}
        for control in planned:
            if body_rig_kind(control) == BODY_RIG_KIND_DRIVING_SYSTEM:
                body_rig_step("body_rig_make_fit_channels", 0, hierarchy, hierarchy_controller, control)
    else:
        body_rig_progress(progress, 8, "Driving Systems disabled \u2014 omitting their controls...")

    channels = 0
    for chain in chains:
        channels += body_rig_step("body_rig_make_fkik_channels", 0, hierarchy, hierarchy_controller, chain, planned_by_name) or 0
    print("Created per-limb FKIK channels:", channels)
    for control in planned:
        if body_rig_kind(control) == "IKPole":
            body_rig_step("body_rig_make_pole_parent_space", "", hierarchy, hierarchy_controller, str(control.get("name") or ""))

    for chain in spline_chains:
        body_rig_step("body_rig_make_spline_parent_spaces", 0, hierarchy, hierarchy_controller, chain, joint_keys)
    body_rig_step("body_rig_make_spline_fk_snapshot_spaces", 0, hierarchy, hierarchy_controller, spline_chains, joint_keys)
    body_rig_step("body_rig_make_standard_twist_snapshot_spaces", 0, hierarchy, hierarchy_controller, rig_data, joint_keys)
    bendy_snapshots = body_rig_step("body_rig_make_bendy_spaces", [], hierarchy, hierarchy_controller, bendy_plans, bendy_handles, import_scale)
    file_by_name = body_rig_controls_by_name(file_controls)
    roll_systems = list(body_rig_step("body_rig_make_reverse_foot_roll_systems", [], hierarchy, hierarchy_controller,
                                      foot_systems, file_by_name, import_scale) or [])
    helpers = body_rig_helpers_group_key(hierarchy, hierarchy_controller)
    print("Helpers children:", body_rig_count_helper_children(hierarchy, helpers))
    for system in foot_systems:
        body_rig_step("body_rig_make_reverse_foot_target", None, hierarchy, hierarchy_controller, system, joint_keys)

    root_joint = body_rig_root_joint(rig_data, joint_keys)
    print("Body rig hierarchy phase: %.1fs" % (time.time() - started))

    context = {
        "controller": controller, "hierarchy": hierarchy, "rig_data": rig_data, "file_controls": file_controls,
        "file_by_name": file_by_name, "planned": planned, "chains": chains, "spline_chains": spline_chains,
        "all_chains": all_chains, "roll_systems": roll_systems, "hip_plan": hip_plan, "sdk_spaces": sdk_spaces,
        "root_joint": root_joint, "bendy_plans": bendy_plans, "bendy_snapshots": bendy_snapshots,
        "joint_keys": joint_keys, "progress": progress,
    }
    body_rig_progress(progress, 4, "Building Forward FK / IK graph...")
    body_rig_build_forward_graph(context)

    print("Created procedural FKIK chains:", len(all_chains))
    if include_backwards_solve:
        body_rig_progress(progress, 4, "Building Backwards Solve graph...")
        body_rig_step("body_rig_add_backward_solve", None, controller, hierarchy, joint_keys, file_by_name, root_joint,
                      all_chains, BODY_RIG_GRAPH_X)
    print("Body rig graph phase: %.1fs total" % (time.time() - started))
    body_rig_progress(progress, 6, "Tidying the Control Rig graph...")
    body_rig_collapse_all_pins(controller)

    body_rig_set_notifications(control_rig, False)
    print("Verified reverse-foot hierarchy parent links:",
          body_rig_step("body_rig_finalize_reverse_foot_hierarchy", 0, hierarchy, hierarchy_controller, roll_systems, file_by_name))

    body_rig_progress(progress, 4, "Compiling Control Rig VM...")
    try:
        control_rig.set_auto_vm_recompile(True)
        control_rig.recompile_vm()
        print("Body rig VM compiled; the saved rig can be used directly in levels and sequences.")
    except Exception as error:
        unreal.log_error(BODY_RIG_VM_FAILED_TEXT + str(error))
    print("Body rig recompile phase: %.1fs total" % (time.time() - started))
    return control_rig


# ---- graph phase ----------------------------------------------------------------------------------------

class BodyRigSections:
    """The layout cursor of the forward solve: each section opens a group of its title, adds its
    nodes below the previous section and closes the group, whose comment box is sized from the nodes
    it holds (or, when none was tracked, a fixed box around the section's rows)."""

    def __init__(self, controller):
        self.controller = controller
        self.y = 0.0

    def begin(self, title):
        body_rig_end_section_group(self.controller)
        body_rig_begin_section_group(title)
        return self.y

    def end(self, title, advance, fallback_box=True, fallback=None):
        top = self.y
        self.y += advance
        comment = body_rig_end_section_group(self.controller, title)
        if comment is None and fallback_box:
            left, width = fallback if fallback else (BODY_RIG_FALLBACK_BOX_X, BODY_RIG_FALLBACK_BOX_WIDTH)
            body_rig_add_comment_group(self.controller, title, left, top - 100, width, (self.y - top) + 160)
        self.y += BODY_RIG_SECTION_GAP


def body_rig_inbetween_section_count(rig_data):
    count = 0
    for control in rig_data.get("controls") or []:
        if not isinstance(control, dict) or body_json_int(body_json_fit_attribute(control, "inbetweenJoints", 0)) <= 0:
            continue
        joint = str(control.get("joint") or "")
        if not re.search(r"Part\d+_[MLR]$", joint):
            count += 1
    return count


def body_rig_build_forward_graph(context):
    controller = context["controller"]
    rig_data = context["rig_data"]
    x = BODY_RIG_GRAPH_X
    begin = body_rig_add_unit(controller, "RigUnit_BeginExecution", "RigUnit_BeginExecution", -800, -100)
    sequence = body_rig_add_unit(controller, "RigVMFunction_Sequence", "BodyForwardSequence", -550, -100)
    # The graph names new nodes itself; the forward solve's start keeps the names it is known by.
    for node, name in ((begin, "RigUnit_BeginExecution"), (sequence, "BodyForwardSequence")):
        if body_rig_node_path(node, name) != name:
            try:
                controller.rename_node(node, name, False)
            except Exception:
                pass
    begin_path = body_rig_node_path(begin, "RigUnit_BeginExecution")
    sequence_path = body_rig_node_path(sequence, "BodyForwardSequence")
    body_rig_link(controller, begin_path + ".ExecuteContext", sequence_path + ".ExecuteContext")
    exec_pin = sequence_path + ".A"
    exec_pin = body_rig_step("body_rig_add_bendy_node", exec_pin, controller, context["bendy_plans"], context["bendy_snapshots"],
                             exec_pin, True, -400) or exec_pin
    sections = BodyRigSections(controller)

    def run(step, *args):
        result = body_rig_step(step, exec_pin, *args)
        return result if result else exec_pin

    if context["roll_systems"]:
        y = sections.begin("Reverse Foot Roll")
        exec_pin = run("body_rig_add_reverse_foot_roll", controller, context["roll_systems"], exec_pin, x, y)
        sections.end("Reverse Foot Roll", max(300, 200 * len(context["roll_systems"]) + 120))

    driving_controls = [c for c in context["file_controls"] if body_rig_kind(c) == BODY_RIG_KIND_DRIVING_SYSTEM]
    if include_driving_systems and driving_controls:
        y = sections.begin("Driving Systems")
        height = 0
        for control in driving_controls:
            exec_pin = run("body_rig_add_forward_control", controller, control, context["file_by_name"], context["sdk_spaces"],
                           exec_pin, x, y + height)
            height += body_rig_step("body_rig_forward_control_height", 0, control) or 0
        sections.end("Driving Systems", height)

    y = sections.begin("Inbetween Distribution")
    exec_pin = run("body_rig_add_inbetween_control_distribution", controller, rig_data, exec_pin, x, y)
    sections.end("Inbetween Distribution", max(360, 650 * body_rig_inbetween_section_count(rig_data) + 120))

    hip_plan = context["hip_plan"]
    fkx_root = ""
    if hip_plan and not hip_plan.get("parts"):
        exec_pin, fkx_root = body_rig_hip_swinger_section(sections, controller, hip_plan, exec_pin, x, 900)

    y = sections.begin("Forward FK Loop")
    exec_pin = run("body_rig_add_forward_fk_loop", controller, exec_pin, context["root_joint"], y, fkx_root)
    sections.end("Forward FK Loop", 420)

    if context["spline_chains"]:
        body_rig_build_spline_section(context, sections, lambda: exec_pin, x)
        exec_pin = context.get("spline_exec", exec_pin)

    leg_delta = ""
    if hip_plan and hip_plan.get("parts"):
        exec_pin, leg_delta = body_rig_hip_swinger_section(sections, controller, hip_plan, exec_pin, x,
                                                           700 + 150 * len(hip_plan["parts"]))
    elif fkx_root:
        leg_delta = fkx_root

    y = sections.begin("Global Orientation")
    result = body_rig_step("body_rig_add_vantorel_global", None, controller, context["planned"], rig_data, exec_pin, x, y)
    reported = 0
    if result:
        exec_pin, _systems, reported = result
    sections.end("Global Orientation", max(320, reported + 120))

    exec_pin = body_rig_build_forward_ik_section(context, sections, exec_pin, x, leg_delta)

    toe_chains = [chain for chain in context["chains"] if chain.get("reverse_foot_toe_controls")]
    if toe_chains:
        y = sections.begin("Reverse Foot Toes")
        height = 0
        for chain in toe_chains:
            switch_value = body_rig_step("body_rig_add_fkik_reader", "", controller, chain, 1440, y + height + 80)
            exec_pin = run("body_rig_add_reverse_foot_toes", controller, chain, switch_value, exec_pin, x, y + height)
            height += max(170, 170 * len(chain["reverse_foot_toe_controls"]))
        sections.end("Reverse Foot Toes", height)

    body_rig_end_section_group(controller)
    sections.y += BODY_RIG_SECTION_GAP
    exec_pin = body_rig_step("body_rig_add_bendy_node", exec_pin, controller, context["bendy_plans"], context["bendy_snapshots"],
                             exec_pin, False, sections.y - 120) or exec_pin

    if include_twist_solution:
        y = sections.begin("Twist Solutions")
        body_rig_progress(context.get("progress"), 10, "Generating Twist Solver Nodes...")
        result = body_rig_step("add_standard_twist_solution", None, controller, context["hierarchy"], rig_data, exec_pin, y)
        reported = 0
        if result:
            exec_pin, _ignored, reported = result
        sections.end("Twist Solutions", max(320, reported + 160))

    follow = [c for c in context["planned"] if body_rig_kind(c) == "FKIK" and c.get("name") and c.get("joint")]
    y = sections.begin("FKIK Follow Constraints")
    exec_pin = run("body_rig_add_fkik_follow_constraints", controller, context["planned"], exec_pin, x, y)
    sections.end("FKIK Follow Constraints", max(320, 130 * len(follow) + 260))

    if include_driving_systems:
        driving = [c for c in context["planned"] if body_rig_kind(c) == BODY_RIG_KIND_DRIVING_SYSTEM and c.get("name") and c.get("joint")]
        y = sections.begin("DrivingSystem Follow Constraints")
        exec_pin = run("body_rig_add_driving_system_follow_constraints", controller, context["planned"], exec_pin, x, y)
        sections.end("DrivingSystem Follow Constraints", max(320, 130 * len(driving) + 260))
    else:
        sections.y += BODY_RIG_SECTION_GAP

    rows = body_rig_step("body_rig_final_inbetween_row_count", 0, rig_data) or 0
    y = sections.begin("Inbetween Visibility")
    exec_pin = run("body_rig_add_final_inbetween_visibility", controller, rig_data, context["all_chains"], exec_pin, x, y)
    sections.end("Inbetween Visibility", max(320, 420 * rows + 120))
    body_rig_end_section_group(controller)
    return exec_pin


def body_rig_hip_swinger_section(sections, controller, hip_plan, exec_pin, x, advance):
    """The hip swinger's section; its comment box only when it emitted nodes. Returns the execution
    pin and the name of the hip swinger's delta (its FKX root), empty when it made none."""
    y = sections.begin("Hip Swinger")
    result = body_rig_step("body_rig_add_hip_swinger", None, controller, hip_plan, exec_pin, x, y)
    delta, emitted = "", False
    if result:
        exec_pin, delta, groups = result
        emitted = bool(groups)
    sections.end("Hip Swinger", advance, fallback_box=emitted)
    return exec_pin, delta


def body_rig_build_spline_section(context, sections, current_exec, x):
    controller = context["controller"]
    chains = context["spline_chains"]
    exec_pin = current_exec()
    y = sections.begin("Spline IK")
    top = y
    result = body_rig_step("body_rig_capture_spline_fk_pose", None, controller, chains, exec_pin, x, y)
    if result:
        exec_pin = result
    y += max(420, 150 * sum(len(chain.get("bones") or []) + 1 for chain in chains))
    for chain in chains:
        result = body_rig_step("body_rig_add_spline_ik", None, controller, chain, exec_pin, x, y)
        if result:
            exec_pin = result
        result = body_rig_step("body_rig_add_spline_end_fk_pin", None, controller, chain, exec_pin, x, y + 900)
        if result:
            exec_pin = result
        y += max(1100, 150 * len(chain.get("bones") or []) + 320) + 200
    widest = max((len(chain.get("fk_controls") or []) + len([c for c in chain.get("ik_controls") or [] if c])
                  + (1 if chain.get("pole_control") else 0)) for chain in chains)
    sections.end("Spline IK", y - top, fallback=(1150, (x + 1050 + 220 * widest + 350) - 1150))
    context["spline_exec"] = exec_pin


def body_rig_build_forward_ik_section(context, sections, exec_pin, x, leg_delta):
    """Section 9: the forward control of every remaining file control, then the FKIK result parent
    constraints and the leg locks."""
    controller = context["controller"]
    chain_of_ik = {}
    for chain in context["chains"]:
        if chain.get("ik_control"):
            chain_of_ik.setdefault(chain["ik_control"], chain)
    y = sections.begin("Forward IK & Controls")
    height = 0
    for control in context["file_controls"]:
        if body_rig_kind(control) in BODY_RIG_SECTION_9_SKIPPED_KINDS:
            continue
        chain = chain_of_ik.get(str(control.get("name") or ""))
        result = body_rig_step("body_rig_add_forward_control", None, controller, control, context["file_by_name"],
                               context["sdk_spaces"], exec_pin, x, y + height, chain)
        if result:
            exec_pin = result
        height += body_rig_step("body_rig_forward_control_height", 0, control, chain) or 0
    result_constraints = [c for c in context["planned"] if c.get(BODY_RIG_FOLLOWS_RESULT_JOINT_KEY)]
    result = body_rig_step("body_rig_add_fkik_result_parent_constraints", None, controller, context["planned"], exec_pin, x, y + height)
    if result:
        exec_pin = result[0] or exec_pin
    height += 150 * len(result_constraints)
    leg_locks = [c for c in context["planned"] if body_rig_kind(c) == "LegLock"]
    leg_top = y + height
    result = body_rig_step("body_rig_add_leg_lock", None, controller, context["planned"], exec_pin, x, leg_top, leg_delta)
    if result:
        exec_pin = result
    height += 760 * len(leg_locks)
    sections.end("Forward IK & Controls", height)
    if leg_locks:
        locks_height = 760 * len(leg_locks)
        body_rig_add_comment_group(controller, "Leg Lock", BODY_RIG_FALLBACK_BOX_X, sections.y - BODY_RIG_SECTION_GAP - locks_height - 100,
                                   BODY_RIG_FALLBACK_BOX_WIDTH, locks_height + 160)
    return exec_pin
