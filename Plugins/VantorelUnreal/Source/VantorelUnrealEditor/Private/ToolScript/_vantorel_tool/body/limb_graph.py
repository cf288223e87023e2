"""Body forward solve: the graph of a two-bone limb and the forward controls. Every emitter adds its
nodes at the given position, links them by the pin paths the graph returns (the graph may name nodes
itself) and, when it takes an execution pin, returns the execution pin of its last node so the driver
threads one chain through the whole forward solve."""

from _vantorel_tool.body.common import body_rig_kind, body_rig_safe_name
from _vantorel_tool.body.controls import BODY_RIG_POLE_SPACE_SUFFIX
from _vantorel_tool.body.fkik import BODY_RIG_FKIK_BLEND_CHANNEL
from _vantorel_tool.body.planning import (
    BODY_RIG_CHAIN_ID_FALLBACK, body_rig_fkik_result_parent_name, body_rig_ik_bones,
)
from _vantorel_tool.body_json import (
    BODY_JSON_IK_LOCAL_ADD_CTRL, BODY_JSON_IK_LOCAL_LOCAL_ORIENT, BODY_JSON_IK_LOCAL_NON_ZERO, body_json_float,
    body_json_vector,
)
from _vantorel_tool.graph import (
    body_rig_add_template, body_rig_add_unit, body_rig_chain_node, body_rig_ensure_array_element, body_rig_link,
    body_rig_node_path, body_rig_set_item, body_rig_set_pin, body_rig_set_vector,
)


BODY_RIG_IF_NOTATION = "DISPATCH_RigVMDispatch_If(in Condition,in True,in False,out Result)"
BODY_RIG_NOT_NOTATION = "Not::Execute(in Value,out Result)"
BODY_RIG_VISIBILITY_NOTATION = "SetControlVisibility::Execute(in Item,in Pattern,in bVisible)"
BODY_RIG_POLE_LINE_STRUCT = "/Script/RigVM.RigVMFunction_DebugLineNoSpace"
BODY_RIG_POLE_LINE_COLOR = "(R=0.200000,G=0.200000,B=0.200000,A=1.000000)"
BODY_RIG_GLOBAL_SPACE = "GlobalSpace"
BODY_RIG_FORWARD_SKIPPED_KINDS = ("FK", "SplineIK", "IKPole", "ReverseFoot", "ReverseFootToe", "FKIK", "IKLocal")
BODY_RIG_IK_SECTION_HEIGHT = 700
BODY_RIG_IK_CHAIN_EXTRA_HEIGHT = 200
BODY_RIG_FORWARD_SECTION_HEIGHT = 280
BODY_RIG_FOLLOW_ROW = 130
BODY_RIG_RESULT_ROW = 180


def body_rig_unit(graph, struct_name, node_name, x, y):
    """Adds a rig unit and returns its node path."""
    return body_rig_node_path(graph, body_rig_add_unit(graph, struct_name, node_name, x, y), node_name)


def body_rig_template(graph, notation, node_name, x, y):
    return body_rig_node_path(graph, body_rig_add_template(graph, notation, node_name, x, y), node_name)


def body_rig_mutable_unit(graph, struct_name, node_name, previous_exec, x, y):
    """Adds a mutable rig unit on the execution chain; returns (node path, its execution pin)."""
    node = body_rig_add_unit(graph, struct_name, node_name, x, y)
    path = body_rig_node_path(graph, node, node_name)
    return path, body_rig_chain_node(graph, previous_exec, node, path)


def body_rig_vector_pin(graph, pin, values):
    body_rig_set_vector(graph, pin, values)


def body_rig_get_transform(graph, node_name, element_type, element, x, y, space=BODY_RIG_GLOBAL_SPACE, initial=False):
    """A transform reader of one element; returns its node path."""
    path = body_rig_unit(graph, "RigUnit_GetTransform", node_name, x, y)
    body_rig_set_item(graph, path + ".Item", element_type, element)
    body_rig_set_pin(graph, path + ".Space", space)
    if initial:
        body_rig_set_pin(graph, path + ".bInitial", True)
    return path


def body_rig_set_transform(graph, node_name, element_type, element, previous_exec, x, y, space=BODY_RIG_GLOBAL_SPACE,
                           propagate=True):
    """A transform writer of one element on the execution chain; returns (node path, execution pin)."""
    path, exec_pin = body_rig_mutable_unit(graph, "RigUnit_SetTransform", node_name, previous_exec, x, y)
    body_rig_set_item(graph, path + ".Item", element_type, element)
    body_rig_set_pin(graph, path + ".Space", space)
    body_rig_set_pin(graph, path + ".bPropagateToChildren", bool(propagate))
    return path, exec_pin


def body_rig_parent_constraint(graph, node_name, child_type, child, parent_type, parent, previous_exec, x, y):
    """Constrains child to one parent, keeping its offset; returns (node path, execution pin)."""
    path, exec_pin = body_rig_mutable_unit(graph, "RigUnit_ParentConstraint", node_name, previous_exec, x, y)
    body_rig_set_item(graph, path + ".Child", child_type, child)
    body_rig_set_pin(graph, path + ".bMaintainOffset", True)
    element = body_rig_ensure_array_element(graph, path + ".Parents", 0)
    body_rig_set_item(graph, element + ".Item", parent_type, parent)
    body_rig_set_pin(graph, element + ".Weight", 1)
    return path, exec_pin


# ---- switch, weight and visibility ----------------------------------------------------------------------

def body_rig_add_normalized_channel(graph, reader_name, divide_name, control, channel, x, y):
    """Reads a 0..10 float channel of control at (x, y) and divides it by 10 beside it; returns the
    0..1 pin."""
    reader = body_rig_unit(graph, "RigUnit_GetFloatAnimationChannel", reader_name, x, y)
    body_rig_set_pin(graph, reader + ".Control", control)
    body_rig_set_pin(graph, reader + ".Channel", channel)
    divide = body_rig_unit(graph, "RigVMFunction_MathFloatDiv", divide_name, x + 220, y)
    body_rig_set_pin(graph, divide + ".B", 10)
    body_rig_link(graph, reader + ".Value", divide + ".A")
    return divide + ".Result"


def body_rig_add_fkik_reader(graph, chain, x, y):
    """Reads the limb's blend channel and normalises it to 0..1; returns the normalised pin, or the
    empty text for a limb without a placeholder."""
    if not chain.switch_control:
        return ""
    chain_id = chain.id or BODY_RIG_CHAIN_ID_FALLBACK
    return body_rig_add_normalized_channel(graph, chain_id + "_GetFKIKBlend", chain_id + "_NormalizeFKIKBlend",
                                           chain.switch_control, BODY_RIG_FKIK_BLEND_CHANNEL, x, y)


def body_rig_add_fkik_weight(graph, chain, switch_value, target_pin, x, y):
    """Drives a solver weight by the switch, or holds it where the limb defaults without one."""
    if switch_value:
        return body_rig_link(graph, switch_value, target_pin)
    return body_rig_set_pin(graph, target_pin, 1 if chain.default_ik else 0)


def body_rig_add_bool_channel_reader(graph, node_name, control, channel, x, y):
    reader = body_rig_unit(graph, "RigUnit_GetBoolAnimationChannel", node_name, x, y)
    body_rig_set_pin(graph, reader + ".Control", control)
    body_rig_set_pin(graph, reader + ".Channel", channel)
    return reader + ".Value"


def body_rig_add_bool_select(graph, node_name, condition, true_value, false_value, x, y):
    """condition ? true_value : false_value over bools; each value a pin path, or a bool constant."""
    path = body_rig_template(graph, BODY_RIG_IF_NOTATION, node_name, x, y)
    try:
        graph.controller.resolve_wild_card_pin(path + ".True", "bool", "None")
    except Exception:  # engine versions that resolve the select's type from its first link need no call
        pass
    for pin, value in (("Condition", condition), ("True", true_value), ("False", false_value)):
        if isinstance(value, bool):
            body_rig_set_pin(graph, path + "." + pin, value)
        elif value:
            body_rig_link(graph, value, path + "." + pin)
    return path + ".Result"


def body_rig_add_bool_and(graph, node_name, a, b, x, y):
    return body_rig_add_bool_select(graph, node_name, a, b, False, x, y)


def body_rig_add_fkik_visibility_values(graph, chain, switch_value, x, y, fk_only=False):
    """(FK visible, IK visible) pins: with "autoVis" on, FK shows below half blend and IK from half up;
    off, the "FKVis" and "IKVis" switches decide. Empty pins without a placeholder or switch; with
    fk_only, only the FK side is made and the IK pin is empty."""
    placeholder = chain.switch_control
    if not placeholder or not switch_value:
        return "", ""
    chain_id = chain.id or BODY_RIG_CHAIN_ID_FALLBACK
    at_half = body_rig_unit(graph, "RigVMFunction_MathFloatGreaterEqual", chain_id + "_AutoIKAtHalf", x, y)
    body_rig_link(graph, switch_value, at_half + ".A")
    body_rig_set_pin(graph, at_half + ".B", 0.5)
    below_half = body_rig_template(graph, BODY_RIG_NOT_NOTATION, chain_id + "_AutoFKBelowHalf", x + 220, y)
    body_rig_link(graph, at_half + ".Result", below_half + ".Value")
    auto = body_rig_add_bool_channel_reader(graph, chain_id + "_GetAutoVis", placeholder, "autoVis", x, y + 130)
    fk = body_rig_add_bool_channel_reader(graph, chain_id + "_GetFKVis", placeholder, "FKVis", x, y + 260)
    fk_visible = body_rig_add_bool_select(graph, chain_id + "_ChooseFKVisibility", auto, below_half + ".Result", fk,
                                          x + 460, y + 150)
    if fk_only:
        return fk_visible, ""
    ik = body_rig_add_bool_channel_reader(graph, chain_id + "_GetIKVis", placeholder, "IKVis", x, y + 390)
    ik_visible = body_rig_add_bool_select(graph, chain_id + "_ChooseIKVisibility", auto, at_half + ".Result", ik,
                                          x + 460, y + 330)
    return fk_visible, ik_visible


def body_rig_add_fkik_visibility(graph, chain, visibility_values, previous_exec, x, y):
    """Shows and hides the limb's FK controls, IK controls and pole by the visibility pins; without
    pins the limb's default side shows. Returns the execution pin."""
    fk_pin, ik_pin = visibility_values if visibility_values else ("", "")
    chain_id = chain.id or BODY_RIG_CHAIN_ID_FALLBACK
    default_ik = chain.default_ik
    ik_controls = [name for name in chain.ik_controls if name] or [chain.ik_control]
    entries = [(name, "FK", fk_pin, not default_ik) for name in chain.fk_controls]
    entries += [(name, "IK", ik_pin, default_ik) for name in ik_controls]
    if chain.pole_control:
        entries.append((chain.pole_control, "IKPole", ik_pin, default_ik))
    exec_pin = previous_exec
    for index, (name, label, pin, constant) in enumerate(entries):
        if not name:
            continue
        node_name = "%s_%sVisibility_%d" % (chain_id, label, index)
        node = body_rig_add_template(graph, BODY_RIG_VISIBILITY_NOTATION, node_name, x + 220 * index, y)
        path = body_rig_node_path(graph, node, node_name)
        body_rig_set_item(graph, path + ".Item", "Control", name)
        if pin:
            body_rig_link(graph, pin, path + ".bVisible")
        else:
            body_rig_set_pin(graph, path + ".bVisible", constant)
        exec_pin = body_rig_chain_node(graph, exec_pin, node, path)
    return exec_pin


# ---- poles ------------------------------------------------------------------------------------------

def body_rig_is_leg_ik(name, ik):
    """Whether an IK limb is a leg: by its name, or its thigh/hip and calf/knee joints."""
    ik = ik if isinstance(ik, dict) else {}
    start, middle = str(ik.get("startJoint") or "").lower(), str(ik.get("middleJoint") or "").lower()
    return "leg" in str(name or "").lower() or "thigh" in start or "hip" in start or "calf" in middle or "knee" in middle


def body_rig_add_leg_pole_constraint(graph, ik_name, pole_name, previous_exec, x, y):
    """Makes a leg's pole space follow its IK handle; returns the execution pin."""
    _path, exec_pin = body_rig_parent_constraint(graph, ik_name + "_PoleParentConstraint", "Null",
                                                 body_rig_safe_name(pole_name + BODY_RIG_POLE_SPACE_SUFFIX),
                                                 "Control", ik_name, previous_exec, x, y)
    return exec_pin


def body_rig_add_pole_line(graph, ik_name, middle_joint, pole_name, line_length, previous_exec, enabled_pin, x, y):
    """A grey line from the limb's middle joint to its pole, as thick as the exported line length / 100."""
    if not middle_joint or not pole_name:
        return previous_exec
    middle = body_rig_get_transform(graph, ik_name + "_PoleLineMiddle", "Bone", middle_joint, x, y)
    pole = body_rig_get_transform(graph, ik_name + "_PoleLineControl", "Control", pole_name, x, y + 130)
    path, exec_pin = body_rig_mutable_unit(graph, "RigVMFunction_DebugLineNoSpace", ik_name + "_PoleLine",
                                           previous_exec, x + 330, y + 70)
    body_rig_set_pin(graph, path + ".Color", BODY_RIG_POLE_LINE_COLOR)
    body_rig_set_pin(graph, path + ".Thickness", "%.6f" % max(body_json_float(line_length, 0.0) / 100.0, 0.0))
    body_rig_set_pin(graph, path + ".bEnabled", True)
    if enabled_pin:
        body_rig_link(graph, enabled_pin, path + ".bEnabled")
    body_rig_link(graph, middle + ".Transform.Translation", path + ".A")
    body_rig_link(graph, pole + ".Transform.Translation", path + ".B")
    return exec_pin


# ---- the IK solve ---------------------------------------------------------------------------------------

def body_rig_add_ik_solve(graph, control, chain, previous_exec, x, y):
    """The two-bone IK of an "IK" record: effector target, solver with the exported axes and pole,
    switch weight, leg pole constraint, pole line and visibility. Returns the execution pin. A record
    whose start, middle or end bone is not named has no chain (planning skipped it) and gets nothing:
    a solver with an empty item would only fail when the rig runs."""
    name = str(control.get("name") or "")
    ik = control.get("ik") if isinstance(control.get("ik"), dict) else {}
    start, middle, end = body_rig_ik_bones(control)
    if not (start and middle and end):
        return previous_exec
    pole = str(ik.get("poleControl") or "") or (chain.pole_control if chain else "") or "Pole" + name
    exec_pin = previous_exec

    if body_rig_is_leg_ik(name, ik):
        exec_pin = body_rig_add_leg_pole_constraint(graph, name, pole, exec_pin, x + 300, y - 330)

    solver, solver_exec = body_rig_mutable_unit(graph, "RigUnit_TwoBoneIKSimplePerItem", name + "_IK", exec_pin, x + 300, y)
    body_rig_set_item(graph, solver + ".ItemA", "Bone", start)
    body_rig_set_item(graph, solver + ".ItemB", "Bone", middle)
    body_rig_set_item(graph, solver + ".EffectorItem", "Bone", end)
    body_rig_vector_pin(graph, solver + ".PrimaryAxis", body_json_vector(ik.get("primaryAxis"), [1.0, 0.0, 0.0]))
    body_rig_vector_pin(graph, solver + ".SecondaryAxis", body_json_vector(ik.get("secondaryAxis"), [0.0, 1.0, 0.0]))
    # The pole is the pole control itself: a location at its origin (the pin's default is 1 along Z).
    body_rig_set_pin(graph, solver + ".PoleVectorKind", "Location")
    body_rig_vector_pin(graph, solver + ".PoleVector", (0.0, 0.0, 0.0))
    body_rig_set_item(graph, solver + ".PoleVectorSpace", "Control", pole)

    target_type = (chain.effector_target_type if chain else "") or "Control"
    target = (chain.effector_target if chain else "") or name
    mode = chain.ik_local_type if chain else None
    local_control = chain.ik_local_control if chain else ""
    if mode == BODY_JSON_IK_LOCAL_ADD_CTRL and target_type != "Null" and local_control:
        target, target_type = local_control, "Control"
    reader = body_rig_get_transform(graph, name + "_IKTarget", target_type, target, x, y - 90)
    direct = target_type != "Null" and (mode in (BODY_JSON_IK_LOCAL_NON_ZERO, BODY_JSON_IK_LOCAL_LOCAL_ORIENT)
                                        or (mode == BODY_JSON_IK_LOCAL_ADD_CTRL and target != name))
    if direct:
        body_rig_link(graph, reader + ".Transform", solver + ".Effector")
    else:
        # A world-oriented IK control carries the bind rotation of the end bone this way.
        bind = body_rig_get_transform(graph, name + "_IKInitialEnd", "Bone", end, x - 260, y - 210, initial=True)
        multiply = body_rig_unit(graph, "RigVMFunction_MathTransformMul", name + "_IKMaintainOffset", x + 30, y - 150)
        body_rig_link(graph, bind + ".Transform.Rotation", multiply + ".A.Rotation")
        body_rig_link(graph, reader + ".Transform", multiply + ".B")
        body_rig_link(graph, multiply + ".Result", solver + ".Effector")

    switch_value, visibility = "", ("", "")
    if chain:
        switch_value = body_rig_add_fkik_reader(graph, chain, x - 260, y + 80)
        body_rig_add_fkik_weight(graph, chain, switch_value, solver + ".Weight", x + 20, y + 110)
        visibility = body_rig_add_fkik_visibility_values(graph, chain, switch_value, x - 260, y + 210)
    exec_pin = body_rig_add_pole_line(graph, name, middle, pole, ik.get("poleLineLength"), solver_exec, visibility[1],
                                      x + 700, y - 240)
    if chain and switch_value:
        exec_pin = body_rig_add_fkik_visibility(graph, chain, visibility, exec_pin, x + 700, y + 80)
    return exec_pin


# ---- forward controls -----------------------------------------------------------------------------------


# ---- follow and result constraints ----------------------------------------------------------------------

def body_rig_add_fkik_follow_constraints(graph, controls, previous_exec, x, y):
    """Keeps every channel-only FKIK placeholder on its follow joint; returns the execution pin."""
    exec_pin, row = previous_exec, 0
    for control in controls:
        name, joint = str(control.get("name") or ""), str(control.get("joint") or "")
        if body_rig_kind(control) != "FKIK" or not name or not joint:
            continue
        _path, exec_pin = body_rig_parent_constraint(graph, body_rig_safe_name(name + "_FollowRig", "FKIKFollow"),
                                                     "Control", name, "Bone", joint, exec_pin, x, y + BODY_RIG_FOLLOW_ROW * row)
        row += 1
    return exec_pin


def body_rig_add_fkik_result_parent_constraints(graph, controls, previous_exec, x, y):
    """Carries each finished limb result onto the helper its FK branch hangs from, then writes the
    branch's first control onto its bone again. Returns (execution pin, number of records)."""
    exec_pin, row = previous_exec, 0
    for control in controls:
        joint, name, own_joint = control.follows_result_joint, control.name, control.joint
        if not joint or not name or not own_joint:
            continue
        helper = body_rig_fkik_result_parent_name(joint)
        base = body_rig_safe_name(helper + "_Follow", "FKResultFollow")
        top = y + BODY_RIG_RESULT_ROW * row
        bone = body_rig_get_transform(graph, base + "_JointGet", "Bone", joint, x, top)
        setter, exec_pin = body_rig_set_transform(graph, base + "_HelperSet", "Null", helper, exec_pin, x + 320, top)
        body_rig_link(graph, bone + ".Transform", setter + ".Value")
        if not control.follows_root_result_only:
            reader = body_rig_get_transform(graph, base + "_ControlGet", "Control", name, x + 620, top)
            writer, exec_pin = body_rig_set_transform(graph, base + "_BoneSet", "Bone", own_joint, exec_pin, x + 940, top)
            body_rig_link(graph, reader + ".Transform", writer + ".Value")
        row += 1
    return exec_pin, row
