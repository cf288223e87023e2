"""Body rig build: the driver. Turns the Body rig JSON and the target skeletal mesh into a saved
Control Rig blueprint: the asset handling, the hierarchy phase (planning, controls, channels and helper
spaces) and the graph phase (the forward solve, section by section), then the backwards solve, tidying,
the VM recompile, the description stamp and the save. Each system's own steps live with that system."""

from dataclasses import dataclass, field
import re
import time
from typing import Dict, List, Optional

import unreal

from _vantorel_tool import log, state
from _vantorel_tool.assets import (
    body_rig_target, create_control_rig_asset, discard_control_rig_asset, move_control_rig_to_target,
    selected_skeletal_mesh, set_control_rig_preview_mesh,
)
from _vantorel_tool.body.backward import body_rig_add_backward_solve
from _vantorel_tool.body.bendy import BendyPlan, body_rig_add_bendy_node, body_rig_make_bendy_spaces, body_rig_plan_bendy
from _vantorel_tool.body.bones import replace_control_rig_bones_from_skeletal_mesh
from _vantorel_tool.body.common import (
    BODY_RIG_KIND_DRIVING_SYSTEM, body_rig_controls_by_name, body_rig_kind,
)
from _vantorel_tool.body.controls import (
    body_rig_make_control, body_rig_make_fkik_result_parent_spaces, body_rig_make_pole_parent_space,
    body_rig_parent_main_to_motion_system, body_rig_repair_control_parents,
)
from _vantorel_tool.body.fkik import body_rig_make_fkik_channels
from _vantorel_tool.body.forward import (
    body_rig_add_driving_system_follow_constraints, body_rig_add_forward_control, body_rig_add_forward_fk_loop,
    body_rig_final_inbetween_row_count, body_rig_forward_control_height,
)
from _vantorel_tool.body.hip_swinger import (
    HipSwingerPlan, body_rig_add_hip_swinger, body_rig_hip_swing_source_name, body_rig_hip_swinger_plan_text,
    body_rig_is_omitted_hip_swinger_control,
    body_rig_make_hip_swinger_spaces, body_rig_plan_hip_swinger,
)
from _vantorel_tool.body.inbetween import (
    body_rig_add_final_inbetween_visibility, body_rig_add_inbetween_control_distribution, body_rig_make_inbetween_offset_spaces,
)
from _vantorel_tool.body.leg_lock import body_rig_add_leg_lock, body_rig_make_leg_lock_space
from _vantorel_tool.body.limb_graph import (
    body_rig_add_fkik_follow_constraints, body_rig_add_fkik_reader, body_rig_add_fkik_result_parent_constraints,
)
from _vantorel_tool.body.planning import (
    BODY_RIG_LEG_LOCK_CONSTRAINED, BODY_RIG_ROOT_JOINT, ChainPlan, PlannedControl, body_rig_fkik_result_parent_name, body_rig_apply_iklocal_addctrl, body_rig_attach_controls_after_fkik,
    body_rig_make_poles, body_rig_plans_by_name, body_rig_prepare_fkik_controls,
)
from _vantorel_tool.body.reverse_foot import (
    ReverseFootSystem, RollSystem, body_rig_add_reverse_foot_roll, body_rig_add_reverse_foot_toes,
    body_rig_finalize_reverse_foot_hierarchy, body_rig_make_reverse_foot_roll_systems, body_rig_make_reverse_foot_target,
    body_rig_prepare_reverse_foot,
)
from _vantorel_tool.body.progress import body_rig_begin_progress, body_rig_end_progress, body_rig_progress
from _vantorel_tool.body.setup import (
    body_rig_clear_graph, body_rig_clear_non_bones, body_rig_count_helper_children, body_rig_helpers_group_key,
    body_rig_import_uniform_scale, body_rig_joint_keys, body_rig_root_joint, body_rig_set_node_run_limit,
    body_rig_stamp_blueprint_description,
)
from _vantorel_tool.body.shapes import body_rig_install_control_shape_library
from _vantorel_tool.body.spline_ik import (
    body_rig_add_spline_end_fk_pin, body_rig_add_spline_ik, body_rig_capture_spline_fk_pose,
    body_rig_make_spline_end_follow_spaces, body_rig_make_spline_fk_snapshot_spaces, body_rig_make_spline_parent_spaces,
    body_rig_prepare_spline_ik, body_rig_spline_chains, body_rig_spline_end_follow_name, body_rig_spline_has_end_follow,
    body_rig_spline_section_width,
)
from _vantorel_tool.body.spaces import (
    body_rig_add_vantorel_global, body_rig_align_iklocal_controls, body_rig_make_driving_system_attachments,
    body_rig_make_fit_channels, body_rig_make_sdk_control_spaces, body_rig_make_vantorel_fit_channels,
    body_rig_make_vantorel_global_groups,
)
from _vantorel_tool.body.twist import add_standard_twist_solution, body_rig_make_standard_twist_snapshot_spaces
from _vantorel_tool.body_json import body_json_fit_attribute, body_json_int, body_json_read
from _vantorel_tool.graph import (
    RigGraph, body_rig_add_comment_group, body_rig_add_unit, body_rig_begin_section_group,
    body_rig_collapse_all_pins, body_rig_end_section_group, body_rig_link, body_rig_node_path, body_rig_rename_node,
)
from _vantorel_tool.names import error_text
from _vantorel_tool.rig_elements import RigElements
from _vantorel_tool.state import set_target_skeletal_mesh


BODY_RIG_NOT_CREATED_TEXT = "Could not create Body Control Rig from the SkeletalMesh."
BODY_RIG_NO_JOINTS_TEXT = "The target SkeletalMesh skeleton has none of the Body JSON joints."
BODY_RIG_VM_FAILED_TEXT = "Body rig VM recompile failed; open the Control Rig and press Compile manually: "
BODY_RIG_GRAPH_X = 1700
BODY_RIG_SECTION_GAP = 160
BODY_RIG_FALLBACK_BOX_X = 1560
BODY_RIG_FALLBACK_BOX_WIDTH = 1900
BODY_RIG_TOE_READER_X = 1440
BODY_RIG_SECTION_9_SKIPPED_KINDS = ("FK", "Main", "Root", "SplineIK", "IKPole", "DrivingSystem", "FKIK", "IKLocal",
                                    "HipSwinger", "Bend", "BendMid")


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
    if state.skeletal_mesh is None:
        body_rig_progress(progress, 4, "Finding selected Skeletal Mesh...")
        set_target_skeletal_mesh(selected_skeletal_mesh())
    target_path, target_name = body_rig_target(target_path, target_name, combined)

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
            except Exception:  # an engine version whose blueprint refuses it; the build does not need it
                pass


@dataclass
class BodyBuild:
    """What one body build carries from phase to phase."""
    control_rig: object                       # the Control Rig blueprint being built
    rig_data: dict                            # the Body rig JSON's "rig" object
    elements: RigElements                     # the rig hierarchy, its controller and element index
    graph: RigGraph                           # the graph controller and what the build records of its nodes
    progress: object = None                   # the progress window record, None without one
    joint_keys: Dict[str, object] = field(default_factory=dict)     # joint name -> bone key
    import_scale: float = 1.0
    file_controls: List[dict] = field(default_factory=list)         # the file's control records, as read
    file_by_name: Dict[str, dict] = field(default_factory=dict)     # those records by name
    planned: List[PlannedControl] = field(default_factory=list)     # the controls the build makes
    chains: List[ChainPlan] = field(default_factory=list)           # the two-bone limbs
    all_chains: List[ChainPlan] = field(default_factory=list)       # every limb (two-bone, then spline)
    spline_chains: List[ChainPlan] = field(default_factory=list)    # the spline chains, as in all_chains
    sdk_spaces: Dict[str, str] = field(default_factory=dict)        # driven control name -> its SDK space null
    foot_systems: List[ReverseFootSystem] = field(default_factory=list)   # the planned reverse feet
    roll_systems: List[RollSystem] = field(default_factory=list)          # the feet whose roll unit runs
    hip_swinger: Optional[HipSwingerPlan] = None                           # the hip swinger, None without one
    bendy_plans: List[BendyPlan] = field(default_factory=list)      # the bendy segments
    bendy_entries: List[dict] = field(default_factory=list)         # the file's bend handle records the build makes
    bendy_snapshots: List[str] = field(default_factory=list)        # the bones whose bind pose the bendy restore puts back
    root_joint: str = ""
    sections: Optional["BodyRigSections"] = None                    # the forward solve's layout cursor

    def planned_records(self):
        """The records of the planned controls, in plan order."""
        return [control.record for control in self.planned]


def build_body_control_rig_from_json(control_rig, rig_data, progress=None):
    """Runs the build's phases on control_rig, whose hierarchy holds the mesh's bones; returns it."""
    body_rig_set_notifications(control_rig, True)
    started = time.time()

    graph = RigGraph(body_rig_clear_graph(control_rig))
    body_rig_set_node_run_limit(control_rig)
    elements = RigElements(control_rig.hierarchy, control_rig.get_hierarchy_controller())
    body_rig_clear_non_bones(elements)
    control_rig.set_auto_vm_recompile(False)
    build = BodyBuild(control_rig=control_rig, rig_data=rig_data, elements=elements, graph=graph, progress=progress)

    body_rig_build_hierarchy(build)
    print("Body rig hierarchy phase: %.1fs" % (time.time() - started))

    body_rig_progress(progress, 4, "Building Forward FK / IK graph...")
    body_rig_build_forward_graph(build)

    print("Created procedural FKIK chains:", len(build.all_chains))
    if state.include_backwards_solve:
        body_rig_progress(progress, 4, "Building Backwards Solve graph...")
        body_rig_add_backward_solve(graph, elements, build.joint_keys, build.file_by_name, build.root_joint, build.all_chains,
                                    BODY_RIG_GRAPH_X, body_rig_backward_helpers_of(build))
    print("Body rig graph phase: %.1fs total" % (time.time() - started))
    body_rig_progress(progress, 6, "Tidying the Control Rig graph...")
    body_rig_collapse_all_pins(graph)

    body_rig_set_notifications(control_rig, False)
    print("Verified reverse-foot hierarchy parent links:",
          body_rig_finalize_reverse_foot_hierarchy(elements, build.foot_systems, body_rig_plans_by_name(build.planned)))

    body_rig_progress(progress, 4, "Compiling Control Rig VM...")
    try:
        control_rig.set_auto_vm_recompile(True)
        control_rig.recompile_vm()
        print("Body rig VM compiled; the saved rig can be used directly in levels and sequences.")
    except Exception as error:
        unreal.log_error(BODY_RIG_VM_FAILED_TEXT + str(error))
    print("Body rig recompile phase: %.1fs total" % (time.time() - started))
    return control_rig


def body_rig_backward_helpers_of(build):
    """(null, bone) of every helper an FK branch hangs from and the bone the forward solve puts it on:
    the limb result helpers, the leg lock (on the root once the root controls match it) and the spline
    chains' end follow spaces."""
    helpers = []
    for control in build.planned:
        if control.follows_leg_lock:
            pair = (BODY_RIG_LEG_LOCK_CONSTRAINED, BODY_RIG_ROOT_JOINT)
        elif control.follows_result_joint:
            pair = (body_rig_fkik_result_parent_name(control.follows_result_joint), control.follows_result_joint)
        else:
            continue
        if pair not in helpers:
            helpers.append(pair)
    helpers += [(body_rig_spline_end_follow_name(chain), chain.bones[-1]) for chain in build.spline_chains
                if body_rig_spline_has_end_follow(chain)]
    return helpers


def body_rig_build_hierarchy(build):
    """The hierarchy phase: plans the limbs and controls, makes the controls, their channels and the
    helper spaces the graph drives."""
    rig_data, elements, progress = build.rig_data, build.elements, build.progress
    hierarchy = elements.hierarchy
    joint_keys = build.joint_keys = body_rig_joint_keys(hierarchy, rig_data)
    if not joint_keys:
        raise RuntimeError(BODY_RIG_NO_JOINTS_TEXT)
    import_scale = build.import_scale = body_rig_import_uniform_scale(hierarchy, rig_data, joint_keys)
    print("Body Rig using SkeletalMesh Import Uniform Scale:", import_scale)

    body_rig_progress(progress, 10, "Planning FK / IK systems...")
    build.file_controls = [control for control in rig_data.get("controls") or [] if isinstance(control, dict)]
    planned, chains = body_rig_prepare_fkik_controls(rig_data)
    body_rig_make_poles(planned)
    spline_chains = body_rig_prepare_spline_ik(rig_data, planned, set(joint_keys))
    build.foot_systems = body_rig_prepare_reverse_foot(rig_data, planned, chains)
    print("Applied ikLocal addCtrl reverse-foot parenting:", body_rig_apply_iklocal_addctrl(planned, chains))
    build.chains, build.all_chains = list(chains), list(chains) + spline_chains
    build.spline_chains = body_rig_spline_chains(build.all_chains)
    # The branches after a spline chain's end follow it through the chain's end follow space (the
    # spline system hangs the end FK control's children there); hanging them from a result helper as
    # well would write them back over the global orientation after it ran.
    body_rig_attach_controls_after_fkik(rig_data, planned, build.chains)
    build.hip_swinger = body_rig_plan_hip_swinger(rig_data, planned, build.all_chains)
    if build.hip_swinger is not None:
        print("Planned HipSwinger:", body_rig_hip_swinger_plan_text(build.hip_swinger))

    if not state.include_driving_systems:
        before = len(planned)
        planned[:] = [control for control in planned if control.kind != BODY_RIG_KIND_DRIVING_SYSTEM]
        print("Omitted DrivingSystem controls:", before - len(planned))
    before = len(planned)
    planned[:] = [control for control in planned if not body_rig_is_omitted_hip_swinger_control(control.record)]
    if len(planned) < before:
        print("Omitted legacy HipSwinger companion controls")
    build.planned = planned

    print("Created FK result parent helpers:", body_rig_make_fkik_result_parent_spaces(elements, planned, joint_keys))
    print("Created LegLock controller spaces:", body_rig_make_leg_lock_space(elements, planned, joint_keys))
    build.bendy_plans, build.bendy_entries = body_rig_plan_bendy(rig_data)
    planned += [PlannedControl(record=dict(entry)) for entry in build.bendy_entries]
    records = build.planned_records()
    shapes = body_rig_install_control_shape_library(build.control_rig, planned, progress, import_scale)
    for control in planned:
        control.custom_shape_name = shapes.get(control.name, "")

    count = len(planned)
    body_rig_progress(progress, 2, "Placing animator controls and shapes (0/%d)..." % count)
    for index, control in enumerate(planned, 1):
        body_rig_make_control(elements, control, joint_keys, import_scale, build.control_rig)
        body_rig_progress(progress, 15.0 / max(1, count), "Creating controller %d/%d: %s" % (index, count, control.name))

    body_rig_progress(progress, 10, "Organizing the clean controller hierarchy...")
    body_rig_parent_main_to_motion_system(elements)
    body_rig_align_iklocal_controls(hierarchy, planned)
    print("Repaired deferred control parents:", body_rig_repair_control_parents(elements, records))
    body_rig_make_vantorel_global_groups(elements, records)
    print("Created spline end FK follow spaces / reparents:",
          body_rig_make_spline_end_follow_spaces(elements, build.spline_chains, joint_keys, planned))
    print("Created inbetween FKOffset spaces:", body_rig_make_inbetween_offset_spaces(elements, records))
    body_rig_make_hip_swinger_spaces(elements, build.hip_swinger, joint_keys)
    for record in records:
        body_rig_make_vantorel_fit_channels(elements, record)

    if state.include_driving_systems:
        body_rig_progress(progress, 8, "Wiring Driving Systems...")
        body_rig_make_driving_system_attachments(elements, records, joint_keys)
        build.sdk_spaces = body_rig_make_sdk_control_spaces(elements, records) or {}
        for control in planned:
            if control.kind == BODY_RIG_KIND_DRIVING_SYSTEM:
                body_rig_make_fit_channels(elements, control.record)
    else:
        body_rig_progress(progress, 8, "Driving Systems disabled \u2014 omitting their controls...")

    channels = 0
    records_by_name = body_rig_controls_by_name(records)
    for chain in build.all_chains:
        channels += body_rig_make_fkik_channels(elements, chain, records_by_name) or 0
    print("Created per-limb FKIK channels:", channels)
    for control in planned:
        if control.kind == "IKPole":
            body_rig_make_pole_parent_space(elements, control.name)
    for chain in build.spline_chains:
        body_rig_make_spline_parent_spaces(elements, chain, joint_keys)
    print("Created spline FK-pose snapshots:", body_rig_make_spline_fk_snapshot_spaces(elements, build.spline_chains, joint_keys))
    print("Created twist endpoint snapshots:", body_rig_make_standard_twist_snapshot_spaces(elements, rig_data, joint_keys))
    build.bendy_snapshots = body_rig_make_bendy_spaces(elements, build.bendy_plans, build.bendy_entries, import_scale)

    build.file_by_name = body_rig_controls_by_name(build.file_controls)
    build.roll_systems = body_rig_make_reverse_foot_roll_systems(elements, build.foot_systems, build.file_by_name,
                                                                 body_rig_plans_by_name(planned), import_scale)
    helpers = body_rig_helpers_group_key(elements)
    print("Helpers children:", body_rig_count_helper_children(hierarchy, helpers))
    for system in build.foot_systems:
        body_rig_make_reverse_foot_target(elements, system, joint_keys)
    build.root_joint = body_rig_root_joint(rig_data, joint_keys)


# ---- graph phase ----------------------------------------------------------------------------------------

class BodyRigSections:
    """The layout cursor of the forward solve: each section opens a group of its title, adds its
    nodes below the previous section and closes the group, whose comment box is sized from the nodes
    it holds (or, when none was tracked, a fixed box around the section's rows)."""

    def __init__(self, graph):
        self.graph = graph
        self.y = 0.0

    def begin(self, title):
        body_rig_end_section_group(self.graph)
        body_rig_begin_section_group(self.graph, title)
        return self.y

    def end(self, title, advance, fallback_box=True, fallback=None):
        top = self.y
        self.y += advance
        comment = body_rig_end_section_group(self.graph, title)
        if comment is None and fallback_box:
            left, width = fallback if fallback else (BODY_RIG_FALLBACK_BOX_X, BODY_RIG_FALLBACK_BOX_WIDTH)
            body_rig_add_comment_group(self.graph, title, left, top - 100, width, (self.y - top) + 160)
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


def body_rig_build_forward_graph(build):
    graph = build.graph
    rig_data = build.rig_data
    x = BODY_RIG_GRAPH_X
    begin = body_rig_add_unit(graph, "RigUnit_BeginExecution", "RigUnit_BeginExecution", -800, -100)
    sequence = body_rig_add_unit(graph, "RigVMFunction_Sequence", "BodyForwardSequence", -550, -100)
    # The graph names new nodes itself; the forward solve's start keeps the names it is known by.
    for node, name in ((begin, "RigUnit_BeginExecution"), (sequence, "BodyForwardSequence")):
        if body_rig_node_path(graph, node, name) != name:
            try:
                body_rig_rename_node(graph, node, name)
            except Exception as error:
                log.warning("could not rename node %s to %s: %s" % (body_rig_node_path(graph, node, ""), name, error_text(error)))
    begin_path = body_rig_node_path(graph, begin, "RigUnit_BeginExecution")
    sequence_path = body_rig_node_path(graph, sequence, "BodyForwardSequence")
    body_rig_link(graph, begin_path + ".ExecuteContext", sequence_path + ".ExecuteContext")
    exec_pin = sequence_path + ".A"
    sections = build.sections = BodyRigSections(graph)
    exec_pin = body_rig_add_bendy_node(graph, build.bendy_plans, build.bendy_snapshots, exec_pin, True, -400)

    def run_step(result):
        """A step's new execution pin, or the current one when the step added nothing."""
        return result if result else exec_pin

    if build.roll_systems:
        y = sections.begin("Reverse Foot Roll")
        exec_pin = run_step(body_rig_add_reverse_foot_roll(graph, build.roll_systems, exec_pin, x, y))
        sections.end("Reverse Foot Roll", max(300, 200 * len(build.roll_systems) + 120))

    driving_controls = [c for c in build.file_controls if body_rig_kind(c) == BODY_RIG_KIND_DRIVING_SYSTEM]
    if state.include_driving_systems and driving_controls:
        y = sections.begin("Driving Systems")
        height = 0
        for control in driving_controls:
            exec_pin = run_step(body_rig_add_forward_control(graph, control, build.file_by_name, build.sdk_spaces, exec_pin, x, y + height))
            height += body_rig_forward_control_height(control) or 0
        sections.end("Driving Systems", height)

    y = sections.begin("Inbetween Distribution")
    exec_pin = run_step(body_rig_add_inbetween_control_distribution(graph, rig_data, exec_pin, x, y))
    sections.end("Inbetween Distribution", max(360, 650 * body_rig_inbetween_section_count(rig_data) + 120))

    fkx_root = ""
    swinger = build.hip_swinger
    if swinger is not None and not swinger.parts:
        y = sections.begin("Hip Swinger")
        exec_pin, fkx_root, _groups = body_rig_add_hip_swinger(graph, swinger, exec_pin, x, y)
        sections.end("Hip Swinger", 900, fallback_box=False)

    y = sections.begin("Forward FK Loop")
    exec_pin = run_step(body_rig_add_forward_fk_loop(graph, exec_pin, build.root_joint, y, fkx_root))
    sections.end("Forward FK Loop", 420)

    if build.spline_chains:
        exec_pin = body_rig_build_spline_section(build, exec_pin, x)

    if swinger is not None and swinger.parts:
        y = sections.begin("Hip Swinger")
        exec_pin, _delta, _groups = body_rig_add_hip_swinger(graph, swinger, exec_pin, x, y)
        sections.end("Hip Swinger", 700 + 150 * len(swinger.parts), fallback_box=False)

    y = sections.begin("Global Orientation")
    result = body_rig_add_vantorel_global(graph, build.planned_records(), rig_data, exec_pin, x, y)
    reported = 0
    if result:
        exec_pin, _systems, reported = result
    sections.end("Global Orientation", max(320, reported + 120))

    exec_pin = body_rig_build_forward_ik_section(build, exec_pin, x)

    toe_chains = [chain for chain in build.chains if chain.toe_targets]
    if toe_chains:
        y = sections.begin("Reverse Foot Toes")
        height = 0
        for chain in toe_chains:
            switch_value = body_rig_add_fkik_reader(graph, chain, BODY_RIG_TOE_READER_X, y + height + 80)
            exec_pin = run_step(body_rig_add_reverse_foot_toes(graph, chain, switch_value, exec_pin, x, y + height))
            height += max(170, 170 * len(chain.toe_targets))
        sections.end("Reverse Foot Toes", height)

    body_rig_end_section_group(graph)
    sections.y += BODY_RIG_SECTION_GAP
    exec_pin = body_rig_add_bendy_node(graph, build.bendy_plans, build.bendy_snapshots, exec_pin, False, sections.y - 120)

    if state.include_twist_solution:
        y = sections.begin("Twist Solutions")
        body_rig_progress(build.progress, 10, "Generating Twist Solver Nodes...")
        exec_pin, _added, height = add_standard_twist_solution(graph, build.elements, rig_data, exec_pin, y)
        sections.end("Twist Solutions", max(320, height + 160))

    follow = [c for c in build.planned if c.kind == "FKIK" and c.name and c.joint]
    y = sections.begin("FKIK Follow Constraints")
    exec_pin = run_step(body_rig_add_fkik_follow_constraints(graph, build.planned_records(), exec_pin, x, y))
    sections.end("FKIK Follow Constraints", max(320, 130 * len(follow) + 260))

    if state.include_driving_systems:
        driving = [c for c in build.planned if c.kind == BODY_RIG_KIND_DRIVING_SYSTEM and c.name and c.joint]
        y = sections.begin("DrivingSystem Follow Constraints")
        exec_pin = run_step(body_rig_add_driving_system_follow_constraints(graph, build.planned_records(), exec_pin, x, y))
        sections.end("DrivingSystem Follow Constraints", max(320, 130 * len(driving) + 260))
    else:
        sections.y += BODY_RIG_SECTION_GAP

    rows = body_rig_final_inbetween_row_count(rig_data) or 0
    y = sections.begin("Inbetween Visibility")
    exec_pin = run_step(body_rig_add_final_inbetween_visibility(graph, rig_data, build.all_chains, exec_pin, x, y))
    sections.end("Inbetween Visibility", max(320, 420 * rows + 120))
    body_rig_end_section_group(graph)
    return exec_pin


def body_rig_build_spline_section(build, exec_pin, x):
    """Section 6: the FK pose capture of every spline chain, then per chain its spline IK and the pin
    that keeps its end follow space on the end bone."""
    graph, sections, chains = build.graph, build.sections, build.spline_chains
    y = sections.begin("Spline IK")
    exec_pin = body_rig_capture_spline_fk_pose(graph, chains, exec_pin, x, y) or exec_pin
    height = max(420, 150 * sum(len(chain.bones) + 1 for chain in chains))
    for chain in chains:
        exec_pin = body_rig_add_spline_ik(graph, chain, exec_pin, x, y + height) or exec_pin
        exec_pin = body_rig_add_spline_end_fk_pin(graph, chain, exec_pin, x, y + height + 900) or exec_pin
        height += max(1100, 150 * len(chain.bones) + 320) + 200
    sections.end("Spline IK", height, fallback=(1150, body_rig_spline_section_width(chains)))
    return exec_pin


def body_rig_build_forward_ik_section(build, exec_pin, x):
    """Section 9: the forward control of every remaining file control, then the FKIK result parent
    constraints, and the room and box of the leg locks that the leg lock system fills."""
    graph, sections = build.graph, build.sections
    chain_of_ik = {}
    for chain in build.chains:
        if chain.ik_control:
            chain_of_ik.setdefault(chain.ik_control, chain)
    y = sections.begin("Forward IK & Controls")
    height = 0
    for control in build.file_controls:
        # A legacy hip swinger companion is not made, so it has nothing to copy onto its joint.
        if body_rig_kind(control) in BODY_RIG_SECTION_9_SKIPPED_KINDS or body_rig_is_omitted_hip_swinger_control(control):
            continue
        chain = chain_of_ik.get(str(control.get("name") or ""))
        result = body_rig_add_forward_control(graph, control, build.file_by_name, build.sdk_spaces, exec_pin, x, y + height, chain)
        if result:
            exec_pin = result
        height += body_rig_forward_control_height(control, chain) or 0
    result_constraints = [c for c in build.planned if c.follows_result_joint]
    result = body_rig_add_fkik_result_parent_constraints(graph, build.planned, exec_pin, x, y + height)
    if result:
        exec_pin = result[0] or exec_pin
    height += 150 * len(result_constraints)
    swinger = build.hip_swinger
    root_source = body_rig_hip_swing_source_name("Root") if swinger is not None and swinger.parts and swinger.cancel else ""
    exec_pin, leg_locks = body_rig_add_leg_lock(graph, build.planned, exec_pin, x, y + height, root_source=root_source)
    height += 760 * leg_locks
    sections.end("Forward IK & Controls", height)
    if leg_locks:
        locks_height = 760 * leg_locks
        body_rig_add_comment_group(graph, "Leg Lock", BODY_RIG_FALLBACK_BOX_X, sections.y - BODY_RIG_SECTION_GAP - locks_height - 100,
                                   BODY_RIG_FALLBACK_BOX_WIDTH, locks_height + 160)
    return exec_pin
