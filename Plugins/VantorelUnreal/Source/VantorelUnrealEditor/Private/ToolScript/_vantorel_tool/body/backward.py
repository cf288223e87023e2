"""Body rig build: the backwards solve. Given a bone pose (an animation being baked onto the rig), the
backwards-solve event sets the animator controls so that the forward solve gives that pose back: the
root controls, each chain's IK handles and poles, then every "FK" + bone control from the root down.
Each target keeps the offset it had from its source bone in the bind pose, so no creature's names are
built in beyond the root controls."""

from typing import List, Sequence, Tuple

from _vantorel_tool import log
from _vantorel_tool.body.common import body_rig_safe_name
from _vantorel_tool.body.forward import body_rig_add_fk_bone_loop
from _vantorel_tool.body.inbetween import body_rig_inbetween_base_name, body_rig_inbetween_chains, body_rig_inbetween_offset_name
from _vantorel_tool.body.limb_graph import (
    BODY_RIG_GLOBAL_SPACE, body_rig_add_leg_pole_constraint, body_rig_get_transform, body_rig_is_leg_ik, body_rig_mutable_unit,
    body_rig_set_transform, body_rig_unit,
)
from _vantorel_tool.body.planning import ChainPlan
from _vantorel_tool.body.spaces import BODY_RIG_GLOBAL_ROW, body_rig_add_vantorel_global, body_rig_has_global
from _vantorel_tool.body.spline_ik import BODY_RIG_SPLINE_KIND
from _vantorel_tool.graph import (
    body_rig_add_comment_group, body_rig_add_unit, body_rig_link, body_rig_node_path, body_rig_rename_node, body_rig_set_item,
    body_rig_set_pin,
)
from _vantorel_tool.names import error_text


BODY_RIG_BACKWARD_EVENT = "RigUnit_InverseExecution"
BODY_RIG_BACKWARD_ROW = 420
BODY_RIG_BACKWARD_WEIGHT = "1.000000"
BODY_RIG_BACKWARD_SECTIONS_TEXT = "Created Backwards Solve sections:"
BODY_RIG_ROOT_MOTION_CONTROL = "FKRootMotion_M"
BODY_RIG_ROOT_CONTROL = "FKRoot_M"
BODY_RIG_ROOT_X_CONTROL = "RootX_M"


def body_rig_backward_set_weight(graph, setter, weight_pin, weight_default):
    if weight_pin:
        body_rig_link(graph, weight_pin, setter + ".Weight")
    else:
        body_rig_set_pin(graph, setter + ".Weight", weight_default)


def body_rig_backward_match_transform(graph, prefix, source_bone, target_name, target_type, weight_pin, weight_default,
                                      previous_exec, x, y):
    """Sets the target where the bone now is, with the offset the target had from the bone in the bind
    pose; returns the setter's execution pin."""
    bone = body_rig_get_transform(graph, prefix + "_Bone", "Bone", source_bone, x, y)
    bone_bind = body_rig_get_transform(graph, prefix + "_BoneBind", "Bone", source_bone, x, y + 140, initial=True)
    target_bind = body_rig_get_transform(graph, prefix + "_TargetBind", target_type, target_name, x, y + 280, initial=True)
    offset = body_rig_unit(graph, "RigVMFunction_MathTransformMakeRelative", prefix + "_BindOffset", x + 340, y + 210)
    body_rig_link(graph, target_bind + ".Transform", offset + ".Global")
    body_rig_link(graph, bone_bind + ".Transform", offset + ".Parent")
    matched = body_rig_unit(graph, "RigVMFunction_MathTransformMakeAbsolute", prefix + "_Matched", x + 680, y + 140)
    body_rig_link(graph, offset + ".Local", matched + ".Local")
    body_rig_link(graph, bone + ".Transform", matched + ".Parent")
    setter, exec_pin = body_rig_mutable_unit(graph, "RigUnit_SetTransform", prefix + "_Set", previous_exec, x + 1020, y + 140)
    body_rig_set_item(graph, setter + ".Item", target_type, target_name)
    body_rig_set_pin(graph, setter + ".Space", BODY_RIG_GLOBAL_SPACE)
    body_rig_set_pin(graph, setter + ".bPropagateToChildren", True)
    body_rig_backward_set_weight(graph, setter, weight_pin, weight_default)
    body_rig_link(graph, matched + ".Global", setter + ".Value")
    return exec_pin


def body_rig_backward_match_pole(graph, prefix, middle_bone, pole_name, weight_pin, weight_default, previous_exec, x, y):
    """Sets the pole where its bind offset from the middle bone, taken in the middle bone's frame, puts
    it now: turned with the limb, so the limb bends in the plane it is posed in (an offset in world axes
    would leave the pole behind when the body turns). Returns the setter's execution pin."""
    middle = body_rig_get_transform(graph, prefix + "_MiddleBone", "Bone", middle_bone, x, y)
    middle_bind = body_rig_get_transform(graph, prefix + "_MiddleBoneBind", "Bone", middle_bone, x, y + 140, initial=True)
    pole_bind = body_rig_get_transform(graph, prefix + "_PoleBind", "Control", pole_name, x, y + 280, initial=True)
    offset = body_rig_unit(graph, "RigVMFunction_MathTransformMakeRelative", prefix + "_PoleOffset", x + 340, y + 210)
    body_rig_link(graph, pole_bind + ".Transform", offset + ".Global")
    body_rig_link(graph, middle_bind + ".Transform", offset + ".Parent")
    matched = body_rig_unit(graph, "RigVMFunction_MathTransformMakeAbsolute", prefix + "_PoleMatched", x + 680, y + 140)
    body_rig_link(graph, offset + ".Local", matched + ".Local")
    body_rig_link(graph, middle + ".Transform", matched + ".Parent")
    setter, exec_pin = body_rig_mutable_unit(graph, "RigUnit_SetTranslation", prefix + "_SetPole", previous_exec, x + 1020, y + 140)
    body_rig_set_item(graph, setter + ".Item", "Control", pole_name)
    body_rig_set_pin(graph, setter + ".Space", BODY_RIG_GLOBAL_SPACE)
    body_rig_set_pin(graph, setter + ".bPropagateToChildren", True)
    body_rig_backward_set_weight(graph, setter, weight_pin, weight_default)
    body_rig_link(graph, matched + ".Global.Translation", setter + ".Value")
    return exec_pin


def body_rig_add_backward_root_controls(graph, elements, joint_keys, controls_by_name, root_joint, previous_exec, x, y):
    """The root motion and body root controls from their bones ("Main" is never touched); returns the
    execution pin."""
    exec_pin = previous_exec
    motion = controls_by_name.get(BODY_RIG_ROOT_MOTION_CONTROL) or {}
    motion_joint = str(motion.get("joint") or "")
    if motion_joint in joint_keys and elements.find(BODY_RIG_ROOT_MOTION_CONTROL, "control") is not None:
        exec_pin = body_rig_backward_match_transform(graph, "BW_RootMotion", motion_joint, BODY_RIG_ROOT_MOTION_CONTROL, "Control",
                                                     "", BODY_RIG_BACKWARD_WEIGHT, exec_pin, x, y)
        y += BODY_RIG_BACKWARD_ROW
    body_root = str((controls_by_name.get(BODY_RIG_ROOT_CONTROL) or {}).get("joint") or "") or root_joint
    if body_root in joint_keys and elements.find(BODY_RIG_ROOT_X_CONTROL, "control") is not None:
        exec_pin = body_rig_backward_match_transform(graph, "BW_RootX", body_root, BODY_RIG_ROOT_X_CONTROL, "Control",
                                                     "", BODY_RIG_BACKWARD_WEIGHT, exec_pin, x, y)
    return exec_pin


def body_rig_backward_chain_prefix(chain, fallback):
    return "BW_" + body_rig_safe_name(chain.id, fallback)


def body_rig_backward_spline_height(chain):
    return max(BODY_RIG_BACKWARD_ROW, BODY_RIG_BACKWARD_ROW * len(chain.ik_controls))


def body_rig_backward_spline_bone(index, controls, bones):
    """The bone the index-th of controls handles matches: spread evenly over the bones, to the nearest
    (halves to even)."""
    return round(index * max(bones - 1, 0) / max(controls - 1, 1))


def body_rig_add_backward_spline_ik(graph, chain, previous_exec, x, y):
    """Each spline handle from the bone at its share of the chain; returns the execution pin."""
    handles, bones = chain.ik_controls, chain.bones
    if not handles or not bones:
        return previous_exec
    exec_pin = previous_exec
    prefix = body_rig_backward_chain_prefix(chain, "Spline")
    for index, handle in enumerate(handles):
        bone = bones[body_rig_backward_spline_bone(index, len(handles), len(bones))]
        exec_pin = body_rig_backward_match_transform(graph, prefix + "_" + body_rig_safe_name(handle, "Control"), bone, handle,
                                                     "Control", "", BODY_RIG_BACKWARD_WEIGHT, exec_pin, x,
                                                     y + BODY_RIG_BACKWARD_ROW * index)
    return exec_pin


def body_rig_backward_has_pole(chain):
    return bool(chain.pole_control) and len(chain.bones) >= 3


def body_rig_backward_chain_height(chain):
    return BODY_RIG_BACKWARD_ROW * (2 if body_rig_backward_has_pole(chain) else 1)


def body_rig_add_backward_fkik(graph, chain, previous_exec, x, y, ik_record=None):
    """The limb's IK control from its end bone (the animator's control, not the reverse-foot target or
    toe below it) and its pole from the middle bone; a leg's pole space follows the IK control in the
    forward solve, so it follows the matched IK control here before the pole is set in it. Returns the
    execution pin."""
    if chain.kind == BODY_RIG_SPLINE_KIND or len(chain.bones) < 2 or not chain.ik_control:
        return previous_exec
    prefix = body_rig_backward_chain_prefix(chain, "Limb")
    exec_pin = body_rig_backward_match_transform(graph, prefix + "_IK", chain.bones[-1], chain.ik_control, "Control", "",
                                                 BODY_RIG_BACKWARD_WEIGHT, previous_exec, x, y)
    record = ik_record or {}
    if chain.pole_control and body_rig_is_leg_ik(chain.ik_control, record.get("ik")):
        exec_pin = body_rig_add_leg_pole_constraint(graph, chain.ik_control, chain.pole_control, exec_pin, x + 1360, y)
    if body_rig_backward_has_pole(chain):
        exec_pin = body_rig_backward_match_pole(graph, prefix + "_Pole", chain.bones[1], chain.pole_control, "",
                                                BODY_RIG_BACKWARD_WEIGHT, exec_pin, x, y + BODY_RIG_BACKWARD_ROW)
    return exec_pin


def body_rig_backward_helpers_height(helpers):
    return 150 * len(helpers)


def body_rig_add_backward_helpers(graph, helpers: Sequence[Tuple[str, str]], previous_exec, x, y):
    """Puts each (null, bone) helper that FK branches hang from on its bone now, as the forward solve
    will: the FK controls below are then set where the forward solve finds them. Returns the
    execution pin."""
    exec_pin = previous_exec
    for index, (null, bone) in enumerate(helpers):
        base = body_rig_safe_name("BW_Helper_" + null, "BW_Helper")
        reader = body_rig_get_transform(graph, base + "_Bone", "Bone", bone, x, y + 150 * index)
        writer, exec_pin = body_rig_set_transform(graph, base + "_Set", "Null", null, exec_pin, x + 340, y + 150 * index)
        body_rig_link(graph, reader + ".Transform", writer + ".Value")
    return exec_pin


def body_rig_add_backward_loop(graph, root_joint, previous_exec, y):
    """Copies every bone, from the root down, onto its "FK" + bone control where one exists; returns
    the loop's completed pin."""
    loop_path, element_pin, control_name, branch = body_rig_add_fk_bone_loop(graph, "BodyBackward", root_joint, previous_exec, y,
                                                                             (-650, -350, -50, 200, 450))
    reader = body_rig_unit(graph, "RigUnit_GetTransform", "BodyBackwardGet", 700, y)
    body_rig_link(graph, element_pin, reader + ".Item")
    writer, _writer_exec = body_rig_mutable_unit(graph, "RigUnit_SetTransform", "BodyBackwardSet", branch + ".True", 1050, y)
    body_rig_set_pin(graph, writer + ".Item.Type", "Control")
    body_rig_link(graph, control_name, writer + ".Item.Name")
    body_rig_set_pin(graph, writer + ".bPropagateToChildren", True)
    body_rig_link(graph, reader + ".Transform", writer + ".Value")
    return loop_path + ".Completed"


def body_rig_add_backward_global_orientation(graph, controls, previous_exec, x, y):
    """After the FK loop: the global-orientation controls get their groups' turn as the forward solve
    gives it (the loop set them before their parents had their new pose), then are put on their bones
    once more without moving the controls below them, which the loop has already set. Returns
    (execution pin, height)."""
    exec_pin, _systems, height = body_rig_add_vantorel_global(graph, controls, {}, previous_exec, x, y)
    row = y + height
    for control in controls:
        name, joint = str(control.get("name") or ""), str(control.get("joint") or "")
        if not name or not joint or not body_rig_has_global(control):
            continue
        base = body_rig_safe_name("BW_Global_" + name, "BW_Global")
        reader = body_rig_get_transform(graph, base + "_Bone", "Bone", joint, x, row)
        writer, exec_pin = body_rig_set_transform(graph, base + "_Set", "Control", name, exec_pin, x + 340, row, propagate=False)
        body_rig_link(graph, reader + ".Transform", writer + ".Value")
        row += 150
    return exec_pin, row - y


def body_rig_backward_inbetween_chains(elements, controls):
    """The inbetween chains whose controls and nulls the rig has."""
    chains = []
    for chain in body_rig_inbetween_chains(controls):
        nulls = [body_rig_inbetween_base_name(chain[0])] + [body_rig_inbetween_offset_name(name) for name in chain]
        if all(elements.find(name, "control") is not None for name in chain) and all(elements.find(name, "null") is not None for name in nulls):
            chains.append(chain)
    return chains


def body_rig_backward_inbetween_height(chains):
    return BODY_RIG_BACKWARD_ROW * len(chains)


def body_rig_add_backward_inbetween(graph, chains, previous_exec, x, y):
    """Undoes the inbetween distribution after the FK loop has put every control of a chain on its
    bone. The forward solve turns the base by 1/(n + 1) of its local rotation L and the k-th part's
    offset by (k + 1)/(n + 1) of it; so L is the base's turn from its offset null taken n + 1 times,
    the inbetween null is set to give the base that local rotation, and each part's offset null is
    turned as the forward solve will turn it. The controls keep their world pose throughout (nothing
    propagates), so each part's own value takes up the rest of its bone's turn. Returns the execution
    pin."""
    exec_pin, row = previous_exec, y
    for chain in chains:
        base, count = chain[0], len(chain)
        prefix = body_rig_safe_name("BW_Inbetween_" + base, "BW_Inbetween")
        reference = body_rig_get_transform(graph, prefix + "_Reference", "Null", body_rig_inbetween_offset_name(base), x, row)
        placed = body_rig_get_transform(graph, prefix + "_Placed", "Control", base, x, row + 140)
        inverse_reference = body_rig_unit(graph, "RigVMFunction_MathQuaternionInverse", prefix + "_InverseReference", x + 300, row)
        body_rig_link(graph, reference + ".Transform.Rotation", inverse_reference + ".Value")
        turn = body_rig_unit(graph, "RigVMFunction_MathQuaternionMul", prefix + "_BaseTurn", x + 560, row + 60)
        body_rig_link(graph, inverse_reference + ".Result", turn + ".A")
        body_rig_link(graph, placed + ".Transform.Rotation", turn + ".B")
        local = body_rig_unit(graph, "RigVMFunction_MathQuaternionScaleV2", prefix + "_Local", x + 820, row + 60)
        body_rig_link(graph, turn + ".Result", local + ".Value")
        body_rig_set_pin(graph, local + ".Factor", "%.6f" % float(count))
        inverse_local = body_rig_unit(graph, "RigVMFunction_MathQuaternionInverse", prefix + "_InverseLocal", x + 1080, row + 140)
        body_rig_link(graph, local + ".Result", inverse_local + ".Value")
        holder = body_rig_unit(graph, "RigVMFunction_MathQuaternionMul", prefix + "_Inbetween", x + 1340, row + 140)
        body_rig_link(graph, placed + ".Transform.Rotation", holder + ".A")
        body_rig_link(graph, inverse_local + ".Result", holder + ".B")
        setter, exec_pin = body_rig_mutable_unit(graph, "RigUnit_SetRotation", prefix + "_SetInbetween", exec_pin, x + 1600, row)
        body_rig_set_item(graph, setter + ".Item", "Null", body_rig_inbetween_base_name(base))
        body_rig_set_pin(graph, setter + ".Space", BODY_RIG_GLOBAL_SPACE)
        body_rig_set_pin(graph, setter + ".bPropagateToChildren", False)
        body_rig_link(graph, holder + ".Result", setter + ".Value")

        full = body_rig_unit(graph, "RigVMFunction_MathQuaternionMul", prefix + "_Full", x + 1080, row + 280)
        body_rig_link(graph, reference + ".Transform.Rotation", full + ".A")
        body_rig_link(graph, local + ".Result", full + ".B")
        reference_rest = body_rig_get_transform(graph, prefix + "_ReferenceRest", "Null", body_rig_inbetween_offset_name(base),
                                                x, row + 280, initial=True)
        inverse_rest = body_rig_unit(graph, "RigVMFunction_MathQuaternionInverse", prefix + "_InverseReferenceRest", x + 300, row + 280)
        body_rig_link(graph, reference_rest + ".Transform.Rotation", inverse_rest + ".Value")
        for k in range(2, count + 1):
            part_x = x + 1860 + 560 * (k - 2)
            target = body_rig_inbetween_offset_name(chain[k - 1])
            share = body_rig_unit(graph, "RigVMFunction_MathQuaternionSlerp", "%s_Share%d" % (prefix, k), part_x, row + 140)
            body_rig_link(graph, reference + ".Transform.Rotation", share + ".A")
            body_rig_link(graph, full + ".Result", share + ".B")
            body_rig_set_pin(graph, share + ".T", "%.6f" % (float(k) / count))
            part_rest = body_rig_get_transform(graph, "%s_PartRest%d" % (prefix, k), "Null", target, part_x, row + 280, initial=True)
            in_base = body_rig_unit(graph, "RigVMFunction_MathQuaternionMul", "%s_PartInBase%d" % (prefix, k), part_x + 240, row + 280)
            body_rig_link(graph, inverse_rest + ".Result", in_base + ".A")
            body_rig_link(graph, part_rest + ".Transform.Rotation", in_base + ".B")
            turned = body_rig_unit(graph, "RigVMFunction_MathQuaternionMul", "%s_PartTurned%d" % (prefix, k), part_x + 240, row + 140)
            body_rig_link(graph, share + ".Result", turned + ".A")
            body_rig_link(graph, in_base + ".Result", turned + ".B")
            setter, exec_pin = body_rig_mutable_unit(graph, "RigUnit_SetRotation", "%s_SetOffset%d" % (prefix, k), exec_pin,
                                                     part_x + 300, row)
            body_rig_set_item(graph, setter + ".Item", "Null", target)
            body_rig_set_pin(graph, setter + ".Space", BODY_RIG_GLOBAL_SPACE)
            body_rig_set_pin(graph, setter + ".bPropagateToChildren", False)
            body_rig_link(graph, turned + ".Result", setter + ".Value")
        row += BODY_RIG_BACKWARD_ROW
    return exec_pin


def body_rig_add_backward_solve(graph, elements, joint_keys, controls_by_name, root_joint, chains: List[ChainPlan], x,
                                helpers: Sequence[Tuple[str, str]] = ()):
    """The backwards-solve event: root controls, spline handles, limb IK controls and poles, the
    helpers FK branches hang from (each (null, bone) put on its bone), then the FK loop, framed in one
    comment. Returns the last execution pin."""
    splines = [chain for chain in chains if chain.kind == BODY_RIG_SPLINE_KIND]
    limbs = [chain for chain in chains if chain.kind != BODY_RIG_SPLINE_KIND]
    helpers = [(null, bone) for null, bone in helpers if bone in joint_keys and elements.find(null, "null") is not None]
    inbetween = body_rig_backward_inbetween_chains(elements, list(controls_by_name.values()))
    globals_count = sum(1 for control in controls_by_name.values()
                        if control.get("name") and control.get("joint") and body_rig_has_global(control))
    total = (body_rig_backward_inbetween_height(inbetween) + (BODY_RIG_GLOBAL_ROW + 150) * globals_count + sum(body_rig_backward_spline_height(chain) for chain in splines)
             + sum(body_rig_backward_chain_height(chain) for chain in limbs) + 1480 + 180 * len(chains)
             + (body_rig_backward_helpers_height(helpers) + 180 if helpers else 0))
    top = -500 - total
    event = body_rig_add_unit(graph, "RigUnit_InverseExecution", BODY_RIG_BACKWARD_EVENT, -850, top - 100)
    # The graph names new nodes itself; the event keeps the name it is known by.
    if body_rig_node_path(graph, event, BODY_RIG_BACKWARD_EVENT) != BODY_RIG_BACKWARD_EVENT:
        try:
            body_rig_rename_node(graph, event, BODY_RIG_BACKWARD_EVENT)
        except Exception as error:
            log.warning("could not rename node %s to %s: %s" % (body_rig_node_path(graph, event, ""), BODY_RIG_BACKWARD_EVENT,
                                                                 error_text(error)))
    exec_pin = body_rig_node_path(graph, event, BODY_RIG_BACKWARD_EVENT) + ".ExecuteContext"

    exec_pin = body_rig_add_backward_root_controls(graph, elements, joint_keys, controls_by_name, root_joint, exec_pin, -650, top)
    cursor = top + 1000
    for chain in splines:
        exec_pin = body_rig_add_backward_spline_ik(graph, chain, exec_pin, x, cursor)
        cursor += body_rig_backward_spline_height(chain) + 180
    for chain in limbs:
        exec_pin = body_rig_add_backward_fkik(graph, chain, exec_pin, x, cursor, controls_by_name.get(chain.ik_control))
        cursor += body_rig_backward_chain_height(chain) + 180
    if helpers:
        exec_pin = body_rig_add_backward_helpers(graph, helpers, exec_pin, x, cursor)
        cursor += body_rig_backward_helpers_height(helpers) + 180
    exec_pin = body_rig_add_backward_loop(graph, root_joint, exec_pin, cursor)
    cursor += 600
    exec_pin, height = body_rig_add_backward_global_orientation(graph, list(controls_by_name.values()), exec_pin, x, cursor)
    cursor += height
    exec_pin = body_rig_add_backward_inbetween(graph, inbetween, exec_pin, x, cursor)
    cursor += body_rig_backward_inbetween_height(inbetween)
    body_rig_add_comment_group(graph, "Backwards Solve", -1000, top - 180, x + 2400, cursor - top + 220)
    print(BODY_RIG_BACKWARD_SECTIONS_TEXT, len(chains) + 2)
    return exec_pin
