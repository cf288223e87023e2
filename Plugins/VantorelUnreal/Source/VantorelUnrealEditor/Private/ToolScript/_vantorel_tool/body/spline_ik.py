"""Body rig build: spline IK chains. A spine or tail that the Maya rig solves with a spline IK is posed
either by its FK controls or by a few handles through a B-spline that the chain's bones are fitted to,
blended per bone by the chain's switch. Planning reads the file's "ikSystems" (restoring the middle
handle that older exports leave out); the hierarchy phase makes the helper nulls (endpoint rotation
targets, middle-handle spaces, FK pose snapshots and the space that carries the branch after the
chain's end); the graph captures the FK pose, fits the chain to the spline of the handles, locks its
ends to their handles and blends the fit with the captured FK pose."""

import re
from typing import List

from _vantorel_tool.body.common import BODY_RIG_MAIN_NAME, body_rig_safe_name
from _vantorel_tool.body.controls import body_rig_add_null, body_rig_bone_key
from _vantorel_tool.body.limb_graph import (
    body_rig_add_fkik_reader, body_rig_add_fkik_visibility, body_rig_add_fkik_visibility_values,
    body_rig_get_transform, body_rig_mutable_unit, body_rig_parent_constraint, body_rig_set_transform, body_rig_unit,
    body_rig_vector_pin,
)
from _vantorel_tool.body.planning import (
    BODY_RIG_DEFAULT_COLOR, BODY_RIG_FK_JOINT_KINDS, ChainPlan, PlannedControl, body_rig_joint_parents,
    body_rig_plans_by_name,
)
from _vantorel_tool.body.setup import body_rig_helpers_group_key
from _vantorel_tool.body_json import body_json_bool, body_json_float, body_json_number, body_json_text, body_json_vector
from _vantorel_tool.graph import (
    body_rig_add_unit_from_struct_path, body_rig_chain_node, body_rig_ensure_array_element, body_rig_link,
    body_rig_node_path, body_rig_set_item, body_rig_set_pin,
)


BODY_RIG_SPLINE_KIND = "SplineIK"
BODY_RIG_SPLINE_SOLVER = "ikSplineSolver"
BODY_RIG_SPLINE_ROOT_PARENT = "RootX_M"
BODY_RIG_SPLINE_HELPERS = "Helpers"
BODY_RIG_SPLINE_ID_FALLBACK = "Spline"
BODY_RIG_SPLINE_GIZMO = "Square_Thick"
BODY_RIG_SPLINE_MAX_WALK = 512
BODY_RIG_SPLINE_FROM_POINTS = "/Script/ControlRigSpline.RigUnit_ControlRigSplineFromPoints"
BODY_RIG_SPLINE_FIT_CHAIN = "/Script/ControlRigSpline.RigUnit_FitChainToSplineCurveItemArray"
BODY_RIG_SPLINE_ZERO_POINT = "(X=0.000000,Y=0.000000,Z=0.000000)"
BODY_RIG_SPLINE_HANDLE_NAME = re.compile(r"^(.*?)(\d+)(_[MLR])$")
BODY_RIG_SPLINE_SIDED_NAME = re.compile(r"^(.*)(_[MLR])$")

BODY_RIG_SPLINE_INCOMPLETE_TEXT = "Skipping incomplete spline IK system:"
BODY_RIG_SPLINE_NO_PLACEHOLDER_TEXT = "Spline FKIK placeholder was not exported:"
BODY_RIG_SPLINE_END_FOLLOW_FAILED_TEXT = "Could not create spline end follow space"
BODY_RIG_SPLINE_REPARENT_FAILED_TEXT = "Could not reparent"
BODY_RIG_SPLINE_TARGET_FAILED_TEXT = "Could not create spline endpoint rotation target for"
BODY_RIG_SPLINE_SPACE_FAILED_TEXT = "Could not create spline-control parent space for"
BODY_RIG_SPLINE_SNAPSHOT_FAILED_TEXT = "Could not create spline FK-pose snapshot"
BODY_RIG_SPLINE_GRAPH_FAILED_TEXT = "Could not create spline IK graph for"
BODY_RIG_SPLINE_SECOND_PARENT_FAILED_TEXT = "Could not add second spline constraint parent for"


# ---- planning ---------------------------------------------------------------------------------------

def body_rig_expand_spline_joint_chain(rig_data, joints):
    """The joints a spline system solves, from start to end: the listed joints with every joint between
    the first and the last filled in from the file's joint parents. Fewer than two names, or a last
    joint whose parents never reach the first, give the listed joints themselves."""
    names = [body_json_text(joint) for joint in joints or [] if body_json_text(joint)]
    if len(names) < 2:
        return names
    parents = body_rig_joint_parents(rig_data)
    start = names[0]
    walked, current = [names[-1]], names[-1]
    for _step in range(BODY_RIG_SPLINE_MAX_WALK):
        if current == start:
            break
        current = parents.get(current, "")
        if not current or current in walked:
            break
        walked.append(current)
    if walked[-1] == start and len(walked) >= len(names):
        return list(reversed(walked))
    return names


def body_rig_spline_handle_count(system, handles):
    """How many handles the Maya spline had: "sourceNumControls", else "numControls", else the exported
    handles; a value that is not a number counts as the exported handles."""
    value = next((system[key] for key in ("sourceNumControls", "numControls") if system.get(key) is not None), len(handles))
    number = body_json_number(value)
    return len(handles) if number is None else int(number)


def body_rig_spline_middle_handle_name(system_name, first, last, taken):
    """The name of a restored middle handle: the two handles' shared stem with "2" before their side
    ("IKTail1_M", "IKTail3_M" -> "IKTail2_M"), else one made from the system's name; "_2", "_3", ...
    follow while the name is taken."""
    first_match, last_match = BODY_RIG_SPLINE_HANDLE_NAME.match(first), BODY_RIG_SPLINE_HANDLE_NAME.match(last)
    if first_match and last_match and first_match.group(1) == last_match.group(1) and first_match.group(3) == last_match.group(3):
        name = first_match.group(1) + "2" + first_match.group(3)
    else:
        sided = BODY_RIG_SPLINE_SIDED_NAME.match(system_name)
        name = "IK" + sided.group(1) + "2" + sided.group(2) if sided else "IK" + system_name + "2"
    candidate, suffix = name, 2
    while candidate in taken:
        candidate = "%s_%d" % (name, suffix)
        suffix += 1
    return candidate


def body_rig_spline_middle_handle(system, bones, first, last, name):
    """The planned record of a restored middle handle between the handles first and last (records)."""
    start = body_json_vector(first.get("positionWorld"))
    end = body_json_vector(last.get("positionWorld")) if isinstance(last.get("positionWorld"), list) else start
    color = first.get("color")
    return PlannedControl({
        "name": name, "parent": BODY_RIG_SPLINE_ROOT_PARENT,
        "joint": body_json_text(system.get("middleJoint")) or bones[len(bones) // 2],
        "type": BODY_RIG_SPLINE_KIND, "gizmo": first.get("gizmo") or BODY_RIG_SPLINE_GIZMO, "worldSpace": True,
        "diameter": (body_json_float(first.get("diameter"), 1.0) + body_json_float(last.get("diameter"), 1.0)) / 2.0,
        "offset": [0.0, 0.0, 0.0],
        "positionWorld": [(a + b) / 2.0 for a, b in zip(start, end)],
        "color": list(color) if isinstance(color, (list, tuple)) else list(BODY_RIG_DEFAULT_COLOR) + [1.0],
    })


def body_rig_spline_fk_controls(controls, bones):
    """Each bone's FK control: the planned "FK" or "Root" record on it (a later record wins), else
    "FK" + the bone."""
    by_joint = {}
    for control in controls:
        if control.kind in BODY_RIG_FK_JOINT_KINDS and control.name and control.joint:
            by_joint[control.joint] = control.name
    return [by_joint.get(bone) or "FK" + bone for bone in bones]


def body_rig_prepare_spline_ik(rig_data, controls, rig_bones=None):
    """Plans the spline chains of the file's "ikSplineSolver" systems, in file order; returns their chain
    plans. Restored middle handles are appended to the planned controls and every handle is parented
    to "RootX_M". Given the names of the rig's bones, a system that solves a joint the rig does not
    have is skipped as incomplete before anything is planned for it: its graph could only fail."""
    chains = []
    for system in rig_data.get("ikSystems") or []:
        if not isinstance(system, dict) or system.get("solver") != BODY_RIG_SPLINE_SOLVER:
            continue
        by_name = body_rig_plans_by_name(controls)
        system_name = body_json_text(system.get("name"))
        bones = body_rig_expand_spline_joint_chain(rig_data, system.get("joints"))
        handles = [name for name in (body_json_text(c) for c in system.get("controls") or []) if name in by_name]
        if rig_bones is not None and any(bone not in rig_bones for bone in bones):
            print(BODY_RIG_SPLINE_INCOMPLETE_TEXT, system_name, [bone for bone in bones if bone not in rig_bones])
            continue
        if body_rig_spline_handle_count(system, handles) == 2 and len(handles) == 2 and bones:
            name = body_rig_spline_middle_handle_name(system_name, handles[0], handles[1], set(by_name))
            middle = body_rig_spline_middle_handle(system, bones, by_name[handles[0]].record, by_name[handles[1]].record, name)
            controls.append(middle)
            by_name[name] = middle
            handles.insert(1, name)
        for handle in handles:
            by_name[handle].record["parent"] = BODY_RIG_SPLINE_ROOT_PARENT
        if len(bones) < 2 or len(handles) < 2:
            print(BODY_RIG_SPLINE_INCOMPLETE_TEXT, system_name)
            continue
        chain_id = body_rig_safe_name(system_name, BODY_RIG_SPLINE_ID_FALLBACK)
        switch = body_json_text(system.get("switchControl"))
        if switch and switch not in by_name:
            print(BODY_RIG_SPLINE_NO_PLACEHOLDER_TEXT, chain_id, switch)
            switch = ""
        chains.append(ChainPlan(
            id=chain_id, kind=BODY_RIG_SPLINE_KIND, ik_control=handles[-1], pole_control="", bones=bones,
            fk_controls=body_rig_spline_fk_controls(controls, bones), switch_control=switch,
            default_ik=body_json_bool(system.get("defaultIK", True), True), ik_controls=list(handles),
            primary_axis=body_json_vector(system.get("primaryAxis"), [1.0, 0.0, 0.0]),
            root_parent=BODY_RIG_SPLINE_ROOT_PARENT))
    return chains


def body_rig_spline_chains(chains):
    return [chain for chain in chains if chain.kind == BODY_RIG_SPLINE_KIND]


# ---- helper spaces ----------------------------------------------------------------------------------

def body_rig_spline_fk_snapshot_name(chain, bone):
    return body_rig_safe_name("VNSplineFKPose_%s_%s" % (chain.id, bone), "VNSplineFKPose")


def body_rig_spline_end_follow_name(chain):
    return body_rig_safe_name(chain.id + "_FKParentConstraintToEnd")


def body_rig_spline_rotation_target_name(handle):
    return body_rig_safe_name(handle + "_SplineRotationTarget", "SplineRotationTarget")


def body_rig_spline_handle_space_name(handle):
    return body_rig_safe_name(handle + "_Space")


def body_rig_spline_end_fk_control(chain):
    """The FK control of the chain's end bone, else its last FK control."""
    if len(chain.fk_controls) == len(chain.bones):
        return chain.fk_controls[-1]
    return chain.fk_controls[-1] if chain.fk_controls else ""


def body_rig_spline_has_end_follow(chain):
    return len(chain.bones) >= 2 and len(chain.fk_controls) >= 2


def body_rig_make_spline_end_follow_spaces(elements, spline_chains, joint_keys, controls=None):
    """Per chain, the null under "Helpers" that follows the end bone, and the FK controls directly
    below the end FK control (a neck below the chest) hung from it keeping their place, so the branch
    after the chain follows the chain's result in FK and in IK. Returns how many controls moved."""
    hierarchy = elements.hierarchy
    moved = 0
    for chain in spline_chains:
        if not body_rig_spline_has_end_follow(chain):
            continue
        end_control = body_rig_spline_end_fk_control(chain)
        name = body_rig_spline_end_follow_name(chain)
        follow = elements.find(name, "null")
        end_bone = body_rig_bone_key(elements, joint_keys, chain.bones[-1])
        if follow is None and end_bone is not None:
            try:
                follow = body_rig_add_null(elements, name, body_rig_helpers_group_key(elements),
                                           hierarchy.get_global_transform(end_bone, True), True)
            except Exception as error:
                print(BODY_RIG_SPLINE_END_FOLLOW_FAILED_TEXT, name, error)
                continue
        if follow is None:
            continue
        for control in controls or []:
            if control.kind not in BODY_RIG_FK_JOINT_KINDS or control.parent != end_control:
                continue
            key = elements.find(control.name, "control")
            try:
                if key is None or not elements.set_parent(key, follow, True):
                    raise RuntimeError("the hierarchy refused the parent")
                moved += 1
                if control.joint:
                    chain.end_follow_controls.append((control.name, control.joint))
            except Exception as error:
                print(BODY_RIG_SPLINE_REPARENT_FAILED_TEXT, control.name, error)
    return moved


def body_rig_spline_endpoint_pairs(chain):
    """(handle, bone) of the chain's start and end; a bone already paired is left out."""
    if len(chain.ik_controls) < 2 or len(chain.bones) < 2:
        return []
    pairs = []
    for handle, bone in ((chain.ik_controls[0], chain.bones[0]), (chain.ik_controls[-1], chain.bones[-1])):
        if bone not in [paired for _handle, paired in pairs]:
            pairs.append((handle, bone))
    return pairs


def body_rig_make_spline_parent_spaces(elements, chain, joint_keys):
    """The chain's endpoint rotation targets (under each end handle, where its bone rests), recorded in
    the chain, and with three or more handles a space per middle handle, which the graph moves between
    the end handles. Returns how many nulls were made."""
    hierarchy = elements.hierarchy
    made = 0
    root = elements.find(chain.root_parent or BODY_RIG_SPLINE_ROOT_PARENT)
    if root is None and chain.ik_controls:
        first = elements.find(chain.ik_controls[0], "control")
        root = hierarchy.get_first_parent(first) if first is not None else None
    chain.endpoint_targets = []
    for handle, bone in body_rig_spline_endpoint_pairs(chain):
        target = body_rig_spline_rotation_target_name(handle)
        chain.endpoint_targets.append((handle, bone, target))
        handle_key = elements.find(handle, "control")
        bone_key = body_rig_bone_key(elements, joint_keys, bone)
        if elements.find(target, "null") is not None or handle_key is None or bone_key is None:
            continue
        try:
            body_rig_add_null(elements, target, handle_key, hierarchy.get_global_transform(bone_key, True), True)
            made += 1
        except Exception as error:
            print(BODY_RIG_SPLINE_TARGET_FAILED_TEXT, handle, error)
    if len(chain.ik_controls) < 3:
        return made
    space_parent = root
    if root is not None and str(root.name) == BODY_RIG_MAIN_NAME:
        space_parent = elements.find(BODY_RIG_SPLINE_HELPERS, "null") or root
    for handle in chain.ik_controls[1:-1]:
        space = body_rig_spline_handle_space_name(handle)
        handle_key = elements.find(handle, "control")
        if elements.find(space, "null") is not None or handle_key is None:
            continue
        try:
            space_key = body_rig_add_null(elements, space, space_parent, hierarchy.get_global_transform(handle_key, True), True)
            if not elements.set_parent(handle_key, space_key, True):
                raise RuntimeError("the hierarchy refused the parent")
            made += 1
        except Exception as error:
            print(BODY_RIG_SPLINE_SPACE_FAILED_TEXT, handle, error)
    return made


def body_rig_make_spline_fk_snapshot_spaces(elements, chains, joint_keys):
    """A null under "Helpers" per bone of every spline chain, where the graph keeps the bone's FK pose
    before the fit; returns how many were made."""
    hierarchy = elements.hierarchy
    made = 0
    for chain in chains:
        for bone in chain.bones:
            key = body_rig_bone_key(elements, joint_keys, bone)
            name = body_rig_spline_fk_snapshot_name(chain, bone)
            if key is None or elements.find(name, "null") is not None:
                continue
            try:
                body_rig_add_null(elements, name, body_rig_helpers_group_key(elements), hierarchy.get_global_transform(key, True), True)
                made += 1
            except Exception as error:
                print(BODY_RIG_SPLINE_SNAPSHOT_FAILED_TEXT, name, error)
    return made


# ---- graph ------------------------------------------------------------------------------------------

def body_rig_array_default(items, element_type):
    """A key array's default text: ((Type=Bone,Name="A"),(Type=Bone,Name="B"))."""
    return "(" + ",".join('(Type=%s,Name="%s")' % (element_type, item) for item in items) + ")"


def body_rig_capture_spline_fk_pose(graph, chains, previous_exec, x, y):
    """Copies every spline bone's pose, as the FK loop left it, onto its snapshot null; returns the
    execution pin."""
    exec_pin, row = previous_exec, 0
    for chain in chains:
        for bone in chain.bones:
            base = body_rig_safe_name("SplineFKCapture_" + bone, "SplineFKCapture")
            top = y + 145 * row
            reader = body_rig_get_transform(graph, base + "_Get", "Bone", bone, x, top)
            store, exec_pin = body_rig_set_transform(graph, base + "_Store", "Null", body_rig_spline_fk_snapshot_name(chain, bone),
                                                     exec_pin, x + 340, top, propagate=False)
            body_rig_set_pin(graph, store + ".Weight", 1)
            body_rig_link(graph, reader + ".Transform", store + ".Value")
            row += 1
        row += 1
    return exec_pin


def body_rig_add_spline_parent_constraints(graph, chain, previous_exec, x, y):
    """Moves each middle handle's space between the first and the last handle, the nearer end weighing
    more; returns the execution pin."""
    handles = chain.ik_controls
    exec_pin = previous_exec
    count = len(handles)
    for index in range(1, count - 1):
        handle = handles[index]
        end_weight = float(index) / float(count - 1)
        path, exec_pin = body_rig_mutable_unit(graph, "RigUnit_ParentConstraint",
                                               body_rig_safe_name(handle + "_FollowStartEnd", "SplineFollowStartEnd"),
                                               exec_pin, x, y + 150 * (index - 1))
        body_rig_set_item(graph, path + ".Child", "Null", body_rig_spline_handle_space_name(handle))
        body_rig_set_pin(graph, path + ".bMaintainOffset", True)
        body_rig_ensure_array_element(graph, path + ".Parents", 0)
        second = body_rig_ensure_array_element(graph, path + ".Parents", 1)
        if not body_rig_set_item(graph, second + ".Item", "Control", handles[-1]):
            print(BODY_RIG_SPLINE_SECOND_PARENT_FAILED_TEXT, handle)
        for element, parent, weight in ((path + ".Parents.0", handles[0], 1.0 - end_weight),
                                        (second, handles[-1], end_weight)):
            body_rig_set_item(graph, element + ".Item", "Control", parent)
            body_rig_set_pin(graph, element + ".Weight", "%.6f" % weight)
    return exec_pin


def body_rig_spline_points(handles):
    """The handles the spline passes: two are doubled at each end, three double the middle one."""
    if len(handles) == 2:
        return [handles[0], handles[0], handles[1], handles[1]]
    if len(handles) == 3:
        return [handles[0], handles[1], handles[1], handles[2]]
    return list(handles)


def body_rig_add_spline_nodes(graph, chain, x, y):
    """The spline through the handles and the fit of the chain onto it; returns the fit's node path
    and node, or (None, None) with a message when the graph cannot make them."""
    points = body_rig_spline_points(chain.ik_controls)
    try:
        spline = body_rig_add_unit_from_struct_path(graph, BODY_RIG_SPLINE_FROM_POINTS, chain.id + "_SplineFromPoints", x + 340, y)
        fit = body_rig_add_unit_from_struct_path(graph, BODY_RIG_SPLINE_FIT_CHAIN, chain.id + "_FitChainToSpline", x + 720, y)
    except RuntimeError as error:
        print(BODY_RIG_SPLINE_GRAPH_FAILED_TEXT, chain.id, error)
        return None, None
    spline_path = body_rig_node_path(graph, spline, chain.id + "_SplineFromPoints")
    body_rig_set_pin(graph, spline_path + ".Points", "(" + ",".join([BODY_RIG_SPLINE_ZERO_POINT] * len(points)) + ")")
    body_rig_set_pin(graph, spline_path + ".SplineMode", "BSpline")
    body_rig_set_pin(graph, spline_path + ".bClosed", False)
    body_rig_set_pin(graph, spline_path + ".SamplesPerSegment", 16)
    for index, handle in enumerate(points):
        reader = body_rig_get_transform(graph, "%s_SplineControl_%d" % (chain.id, index), "Control", handle, x, y + 115 * index)
        body_rig_link(graph, reader + ".Transform.Translation", "%s.Points.%d" % (spline_path, index))

    fit_path = body_rig_node_path(graph, fit, chain.id + "_FitChainToSpline")
    body_rig_set_pin(graph, fit_path + ".Items", body_rig_array_default(chain.bones, "Bone"))
    # Front lays the bones along the spline at their own lengths, as Maya's spline IK does. Stretched
    # would scale them to the spline's length, which the spline's sampling makes a little shorter
    # than the chain even at rest, so a chain would shrink without anyone touching it.
    body_rig_set_pin(graph, fit_path + ".Alignment", "Front")
    body_rig_set_pin(graph, fit_path + ".Minimum", 0)
    body_rig_set_pin(graph, fit_path + ".Maximum", 1)
    body_rig_set_pin(graph, fit_path + ".SamplingPrecision", 64)
    body_rig_vector_pin(graph, fit_path + ".PrimaryAxis", chain.primary_axis)
    body_rig_vector_pin(graph, fit_path + ".SecondaryAxis", (0.0, 0.0, 0.0))
    body_rig_set_pin(graph, fit_path + ".Weight", 1)
    body_rig_set_pin(graph, fit_path + ".bPropagateToChildren", True)
    body_rig_link(graph, spline_path + ".Spline", fit_path + ".Spline")
    return fit_path, fit


def body_rig_spline_switch_or_constant(graph, chain, switch_value, pin):
    if switch_value:
        body_rig_link(graph, switch_value, pin)
    else:
        body_rig_set_pin(graph, pin, 1 if chain.default_ik else 0)


def body_rig_add_spline_ik(graph, chain, previous_exec, x, y):
    """The chain's spline IK: middle handles between the ends, the spline and the fit, the start bone
    anchored to its handle (weighted by the switch) before the fit, the end bone's rotation and place
    locked to its handle after it, then the per-bone blend with the FK pose and the visibility of the
    FK controls and handles. Returns the execution pin."""
    if len(chain.ik_controls) < 2 or len(chain.bones) < 2:
        return previous_exec
    exec_pin = previous_exec
    if len(chain.ik_controls) >= 3:
        exec_pin = body_rig_add_spline_parent_constraints(graph, chain, exec_pin, x - 360, y)
    fit_path, fit = body_rig_add_spline_nodes(graph, chain, x, y)
    if fit is None:
        return exec_pin
    switch_value = body_rig_add_fkik_reader(graph, chain, x + 100, y - 150)
    visibility = body_rig_add_fkik_visibility_values(graph, chain, switch_value, x + 100, y - 20)

    targets = chain.endpoint_targets or []
    start_handle, start_bone = chain.ik_controls[0], chain.bones[0]
    if targets:
        _handle, start_bone, start_target = targets[0]
        start = body_rig_get_transform(graph, chain.id + "_StartControl", "Null", start_target, x + 720, y + 250)
    else:
        start = body_rig_get_transform(graph, chain.id + "_StartControl", "Control", start_handle, x + 720, y + 250)
    anchor, exec_pin = body_rig_set_transform(graph, chain.id + "_StartTransform", "Bone", start_bone, exec_pin, x + 1050, y + 250)
    body_rig_link(graph, start + ".Transform", anchor + ".Value")
    body_rig_spline_switch_or_constant(graph, chain, switch_value, anchor + ".Weight")

    exec_pin = body_rig_chain_node(graph, exec_pin, fit, fit_path)
    # The fit puts the first bone on the spline's first sample, which the spline takes a hair inside
    # its start; the start goes back onto its target, the chain with it.
    exec_pin = body_rig_spline_lock(graph, "RigUnit_SetTranslation", chain.id + "_StartPositionLock", start_bone,
                                    start + ".Transform.Translation", exec_pin, x + 1360, y + 250)

    for index in range(1, len(targets)):
        _handle, bone, target = targets[index]
        top = y + 250 + 150 * index
        reader = body_rig_get_transform(graph, "%s_EndpointControl_%d" % (chain.id, index), "Null", target, x + 720, top)
        exec_pin = body_rig_spline_lock(graph, "RigUnit_SetRotation", "%s_EndpointRotation_%d" % (chain.id, index), bone,
                                        reader + ".Transform.Rotation", exec_pin, x + 1050, top)
        if index == len(targets) - 1:
            exec_pin = body_rig_spline_lock(graph, "RigUnit_SetTranslation", chain.id + "_EndpointPositionLock", bone,
                                            reader + ".Transform.Translation", exec_pin, x + 1360, top)

    exec_pin = body_rig_blend_spline_fk_ik_pose(graph, chain, switch_value, exec_pin, x + 1700, y)
    if switch_value:
        exec_pin = body_rig_add_fkik_visibility(graph, chain, visibility, exec_pin, x + 1050, y)
    return exec_pin


def body_rig_spline_lock(graph, struct_name, node_name, bone, value_pin, previous_exec, x, y):
    """Sets the rotation or the translation (by the unit struct_name) of bone in global space from
    value_pin, fully, carrying its children; returns the execution pin."""
    path, exec_pin = body_rig_mutable_unit(graph, struct_name, node_name, previous_exec, x, y)
    body_rig_set_item(graph, path + ".Item", "Bone", bone)
    body_rig_set_pin(graph, path + ".Space", "GlobalSpace")
    body_rig_set_pin(graph, path + ".Weight", 1)
    body_rig_set_pin(graph, path + ".bPropagateToChildren", True)
    body_rig_link(graph, value_pin, path + ".Value")
    return exec_pin


def body_rig_blend_spline_fk_ik_pose(graph, chain, switch_value, previous_exec, x, y):
    """Sets every bone of the chain between its captured FK pose and its fitted pose by the switch (or
    the chain's default side), the first bone included: the fit moves it too, so without its own
    blend an FK pose would lose the first bone's rotation. Returns the execution pin."""
    exec_pin = previous_exec
    for index, bone in enumerate(chain.bones):
        base = body_rig_safe_name("SplinePoseBlend_" + bone, "SplinePoseBlend")
        top = y + 145 * index
        fk = body_rig_get_transform(graph, base + "_FK", "Null", body_rig_spline_fk_snapshot_name(chain, bone), x, top)
        ik = body_rig_get_transform(graph, base + "_IK", "Bone", bone, x + 290, top)
        lerp = body_rig_unit(graph, "RigVMFunction_MathTransformLerp", base + "_Interpolate", x + 590, top)
        body_rig_link(graph, fk + ".Transform", lerp + ".A")
        body_rig_link(graph, ik + ".Transform", lerp + ".B")
        body_rig_spline_switch_or_constant(graph, chain, switch_value, lerp + ".T")
        setter, exec_pin = body_rig_set_transform(graph, base + "_Set", "Bone", bone, exec_pin, x + 930, top)
        body_rig_set_pin(graph, setter + ".Weight", 1)
        body_rig_link(graph, lerp + ".Result", setter + ".Value")
    return exec_pin


def body_rig_add_spline_end_fk_pin(graph, chain, previous_exec, x, y):
    """Keeps the chain's end follow space on the end bone, in FK and in IK alike, and writes each FK
    control hung from it onto its bone again: the FK loop placed those bones from where the end was
    before the chain solved, and the chain's solve carried them along from there. Returns the
    execution pin."""
    if not body_rig_spline_has_end_follow(chain):
        return previous_exec
    path, exec_pin = body_rig_parent_constraint(graph, chain.id + "_EndFollow", "Null", body_rig_spline_end_follow_name(chain),
                                                "Bone", chain.bones[-1], previous_exec, x, y + 160)
    body_rig_set_pin(graph, path + ".Weight", 1)
    for index, (control, joint) in enumerate(chain.end_follow_controls):
        base = body_rig_safe_name("%s_EndFollow_%s" % (chain.id, control), "SplineEndFollow")
        top = y + 310 + 150 * index
        reader = body_rig_get_transform(graph, base + "_ControlGet", "Control", control, x, top)
        writer, exec_pin = body_rig_set_transform(graph, base + "_BoneSet", "Bone", joint, exec_pin, x + 320, top)
        body_rig_link(graph, reader + ".Transform", writer + ".Value")
    return exec_pin


def body_rig_spline_section_width(chains: List[ChainPlan]):
    """The width of the spline section's box when no node was tracked: up to the last visibility setter."""
    visible = max((len(chain.fk_controls) + len([c for c in chain.ik_controls if c]) + (1 if chain.pole_control else 0)
                   for chain in chains), default=0)
    return 1700 + 1050 + 220 * visible + 350 - 1150
