"""Body rig build: the reverse foot. A leg's IK target hangs below a stack of foot pivot controls (heel,
toe end, toes) so that the foot can roll; a "roll" channel on the IK control turns hidden roller nulls
above the pivots, an optional "rock" channel tilts the foot about two side pivots (both through the
plug-in's roll unit, before the leg IK reads its target), and the toe controls turn the toe bones
after the leg IK. Every null here is made at the initial global transform of what it stands in for,
so the foot rests where the mesh has it."""

from dataclasses import dataclass, field
from typing import List, Optional, Tuple

import unreal

from _vantorel_tool.body.common import body_rig_safe_name
from _vantorel_tool.body.controls import (
    body_rig_add_null, body_rig_bone_key, body_rig_maya_matrix_transform, body_rig_numbers, body_rig_transform,
)
from _vantorel_tool.body.fkik import body_rig_add_float_channel, body_rig_channel_name
from _vantorel_tool.body.limb_graph import body_rig_get_transform, body_rig_mutable_unit
from _vantorel_tool.body.planning import body_rig_plans_by_name
from _vantorel_tool.body_json import body_json_fit_attribute, body_json_float, body_json_text
from _vantorel_tool.graph import (
    body_rig_add_unit_from_struct_path, body_rig_link, body_rig_node_execute_pin, body_rig_node_path, body_rig_set_item,
    body_rig_set_pin,
)
from _vantorel_tool.rig_elements import is_empty_key


BODY_RIG_REVERSE_FOOT_KIND = "ReverseFoot"
BODY_RIG_REVERSE_FOOT_TOE_KIND = "ReverseFootToe"
BODY_RIG_IK_LOCAL_PREFIX = "IKLocal"
BODY_RIG_PIVOT_SHAPE_PREFIXES = ("RollToes", "RollHeel")
BODY_RIG_PIVOT_SHAPE_ROTATION = [0.0, 90.0, 0.0]
BODY_RIG_ROLL_ATTRIBUTE = "roll"
BODY_RIG_ROLL_START_ATTRIBUTE = "rollStartAngle"
BODY_RIG_ROLL_END_ATTRIBUTE = "rollEndAngle"
BODY_RIG_ROLL_RANGE = (-30.0, 60.0)
BODY_RIG_ROCK_RANGE = (-60.0, 60.0)
BODY_RIG_ROLLER_PREFIX = "RollRoller"
BODY_RIG_ROLL_UNIT_PATH = "/Script/VantorelUnreal.RigUnit_VNReverseFootRoll"
BODY_RIG_ROLL_ROW = 200
BODY_RIG_TOE_ROW = 170
BODY_RIG_ROCK_DEFAULTS = {"inner": (-200.0, 0.0), "outer": (0.0, 200.0)}

BODY_RIG_ROLL_CHANNEL_FAILED_TEXT = "Could not create reverse-foot roll channel"
BODY_RIG_ROLLER_FAILED_TEXT = "Could not create reverse-foot roller"
BODY_RIG_TARGET_FAILED_TEXT = "Could not create reverse-foot IK target for"
BODY_RIG_TOE_TARGET_FAILED_TEXT = "Could not create reverse-foot toe target for"
BODY_RIG_ROLL_PIN_FAILED_TEXT = "Could not configure reverse-foot roll pin "
BODY_RIG_ROLL_LINK_FAILED_TEXT = "Could not connect reverse-foot roll"
BODY_RIG_HIERARCHY_MISSING_TEXT = "Reverse-foot hierarchy element missing: "
BODY_RIG_HIERARCHY_WRONG_TEXT = "Reverse-foot parent verification failed: "


# ---- plans ------------------------------------------------------------------------------------------

@dataclass
class RockPivot:
    """One side of a foot's rock: the pivot null, where Maya has it, its axis in the pivot's own
    (Unreal) frame, input range and multiplier."""
    name: str
    world_matrix: List[float]
    axis: str
    input_min: float
    input_max: float
    multiplier: float


@dataclass
class ReverseFootSystem:
    """A planned foot: the file record's names, its listed controls that are planned, the IK target and
    the toe targets (toe control, toe joint, target null)."""
    ik_control: str
    target_parent: str
    end_joint: str
    controls: List[str]
    target: str
    toe_targets: List[Tuple[str, str, str]] = field(default_factory=list)
    rock_attribute: str = ""
    inner_pivot: Optional[RockPivot] = None
    outer_pivot: Optional[RockPivot] = None


@dataclass
class RollSystem:
    """What the roll unit of one foot is given."""
    ik_control: str
    roll_channel: str
    heel_roller: str
    toes_end_roller: str
    toes_roller: str
    roll_start_angle: float
    roll_end_angle: float
    rock_channel: str = ""
    inner_pivot: Optional[RockPivot] = None
    outer_pivot: Optional[RockPivot] = None


def body_rig_reverse_foot_target_name(ik_control):
    return body_rig_safe_name(str(ik_control) + "_ReverseFootTarget", "ReverseFootTarget")


def body_rig_reverse_foot_toe_target_name(control):
    return body_rig_safe_name(str(control) + "_ReverseFootToeTarget", "ReverseFootToeTarget")


def body_rig_roller_name(pivot):
    """"RollRoller" + the pivot's name without its leading "Roll"."""
    name = str(pivot)
    return BODY_RIG_ROLLER_PREFIX + (name[len("Roll"):] if name.startswith("Roll") else name)


def body_rig_rock_axis_in_unreal(axis):
    """The pivot's own axis that a Maya rock axis ("x", "-z", ...) is once the pivot is placed in
    Unreal: a Maya frame's Y and Z axes swap places, and the swap is a mirror, so the same turn is the
    opposite turn about the swapped axis ("z" becomes "-Y"). An axis of no known name stays as it is."""
    text = str(axis).strip()
    sign, name = ("-", text[1:]) if text.startswith("-") else ("", text[1:] if text.startswith("+") else text)
    swapped = {"x": "X", "y": "Z", "z": "Y"}.get(name.lower())
    if swapped is None:
        return text
    return ("" if sign else "-") + swapped


def body_rig_rock_pivot(data, side):
    """The rock pivot of one side ("inner" or "outer") of a rock object, or None unless it has a
    position, a 16-number matrix and an axis."""
    pivot = data.get(side + "Pivot") if isinstance(data, dict) else None
    if not isinstance(pivot, dict):
        return None
    matrix = body_rig_numbers(pivot.get("worldMatrix"), 16)
    axis = body_json_text(pivot.get("rotationAxis")).strip()
    name = body_json_text(pivot.get("name"))
    if not isinstance(pivot.get("positionWorld"), list) or not matrix or not axis or not name:
        return None
    low, high = BODY_RIG_ROCK_DEFAULTS[side]
    return RockPivot(name=name, world_matrix=matrix, axis=body_rig_rock_axis_in_unreal(axis), input_min=body_json_float(pivot.get("inputMin"), low),
                     input_max=body_json_float(pivot.get("inputMax"), high),
                     multiplier=body_json_float(pivot.get("rotationMultiplier"), 1.0))


def body_rig_prepare_reverse_foot(rig_data, controls, chains):
    """Plans the feet of "reverseFootSystems": each foot's leg chain gets the foot controls as IK-side
    controls, its toe FK controls as FK controls, and its IK aims at the foot's target null. A record
    whose IK control has no chain, or whose "targetParent" is not among its planned controls, is
    ignored. Returns the planned systems; updates the chains and the planned controls."""
    by_name = body_rig_plans_by_name(controls)
    chain_of_ik = {chain.ik_control: chain for chain in chains}
    systems = []
    for record in rig_data.get("reverseFootSystems") or []:
        if not isinstance(record, dict):
            continue
        ik_control = body_json_text(record.get("ikControl"))
        chain = chain_of_ik.get(ik_control)
        listed = [body_json_text(name) for name in record.get("controls") or [] if body_json_text(name) in by_name]
        target_parent = body_json_text(record.get("targetParent"))
        if chain is None or target_parent not in listed:
            continue
        for name in listed:
            if name.startswith(BODY_RIG_PIVOT_SHAPE_PREFIXES):
                by_name[name].record["shapeRotationOverride"] = list(BODY_RIG_PIVOT_SHAPE_ROTATION)
        toe_targets = []
        for name in listed:
            plan = by_name[name]
            # A leg's local IK control is exported as a toe control, but it is none.
            if plan.kind == BODY_RIG_REVERSE_FOOT_TOE_KIND and plan.joint and not name.startswith(BODY_RIG_IK_LOCAL_PREFIX):
                toe_targets.append((name, plan.joint, body_rig_reverse_foot_toe_target_name(name)))
        fk_by_joint = {plan.joint: plan.name for plan in controls if plan.kind in ("FK", "Root") and plan.joint}
        for _control, joint, _target in toe_targets:
            fk = fk_by_joint.get(joint)
            if fk and fk not in chain.fk_controls:
                chain.fk_controls.append(fk)
        ordered = []
        for name in [ik_control] + chain.ik_controls + listed:
            if name and name not in ordered:
                ordered.append(name)
        chain.ik_controls = ordered
        chain.reverse_foot_controls = list(listed)
        chain.reverse_foot_toe_controls = [control for control, _joint, _target in toe_targets]
        chain.toe_targets = list(toe_targets)
        target = body_rig_reverse_foot_target_name(ik_control)
        chain.effector_target, chain.effector_target_type = target, "Null"
        rock = record.get("rock") if isinstance(record.get("rock"), dict) else None
        system = ReverseFootSystem(ik_control=ik_control, target_parent=target_parent,
                                   end_joint=body_json_text(record.get("endJoint")), controls=listed, target=target,
                                   toe_targets=toe_targets)
        if rock is not None:
            inner, outer = body_rig_rock_pivot(rock, "inner"), body_rig_rock_pivot(rock, "outer")
            if inner is not None and outer is not None:
                system.rock_attribute = body_json_text(rock.get("attribute"))
                system.inner_pivot, system.outer_pivot = inner, outer
        systems.append(system)
    return systems


# ---- the hierarchy ----------------------------------------------------------------------------------

def body_rig_pivot_transform(pivot, import_scale):
    location, rotation, _scale = body_rig_maya_matrix_transform(pivot.world_matrix, import_scale)
    return body_rig_transform(location, rotation)


def body_rig_make_reverse_foot_roll_systems(elements, systems, file_by_name, plans_by_name, import_scale):
    """The channels, rock pivots and rollers of each planned foot; returns its roll systems."""
    hierarchy = elements.hierarchy
    made = []
    for system in systems:
        ik = elements.find(system.ik_control, "control")
        record = file_by_name.get(system.ik_control) or {}
        roll = body_json_fit_attribute(record, BODY_RIG_ROLL_ATTRIBUTE)
        rock_value = body_json_fit_attribute(record, system.rock_attribute) if system.rock_attribute else None
        if ik is None or (roll is None and rock_value is None):
            continue
        roll_channel = body_rig_channel_name(system.ik_control, BODY_RIG_ROLL_ATTRIBUTE)
        try:
            if elements.find(roll_channel) is None:
                body_rig_add_float_channel(elements, ik, roll_channel, BODY_RIG_ROLL_ATTRIBUTE, body_json_float(roll, 0.0),
                                           *BODY_RIG_ROLL_RANGE)
        except Exception as error:
            print(BODY_RIG_ROLL_CHANNEL_FAILED_TEXT, system.ik_control, error)
            continue
        upstream, rock_channel = None, ""
        if rock_value is not None and system.inner_pivot is not None:
            rock_channel = body_rig_channel_name(system.ik_control, "rock")
            if elements.find(rock_channel) is None:
                body_rig_add_float_channel(elements, ik, rock_channel, system.rock_attribute, body_json_float(rock_value, 0.0),
                                           *BODY_RIG_ROCK_RANGE)
            inner = elements.find(system.inner_pivot.name, "null") or body_rig_add_null(
                elements, system.inner_pivot.name, ik, body_rig_pivot_transform(system.inner_pivot, import_scale), True)
            outer = elements.find(system.outer_pivot.name, "null") or body_rig_add_null(
                elements, system.outer_pivot.name, inner, body_rig_pivot_transform(system.outer_pivot, import_scale), True)
            elements.set_parent(inner, ik, True)
            elements.set_parent(outer, inner, True)
            upstream = outer
        pivots = [name for name in system.controls if plans_by_name[name].kind == BODY_RIG_REVERSE_FOOT_KIND]
        if len(pivots) < 3:
            continue
        heel, toes_end, toes = pivots[0], pivots[-2], pivots[-1]
        heel_key = elements.find(heel, "control")
        if heel_key is None:
            continue
        if upstream is None:
            upstream = hierarchy.get_first_parent(heel_key)
        try:
            for pivot in (heel, toes_end, toes):
                pivot_key = elements.find(pivot, "control")
                roller_name = body_rig_roller_name(pivot)
                roller = elements.find(roller_name, "null")
                if roller is None:
                    roller = body_rig_add_null(elements, roller_name, upstream, hierarchy.get_global_transform(pivot_key, True), True)
                elements.set_parent(roller, upstream, True)
                elements.set_parent(pivot_key, roller, True)
                upstream = pivot_key
        except Exception as error:
            print(BODY_RIG_ROLLER_FAILED_TEXT, system.ik_control, error)
            continue
        made.append(RollSystem(
            ik_control=system.ik_control, roll_channel=roll_channel, heel_roller=body_rig_roller_name(heel),
            toes_end_roller=body_rig_roller_name(toes_end), toes_roller=body_rig_roller_name(toes),
            roll_start_angle=body_json_float(body_json_fit_attribute(record, BODY_RIG_ROLL_START_ATTRIBUTE), 30.0),
            roll_end_angle=body_json_float(body_json_fit_attribute(record, BODY_RIG_ROLL_END_ATTRIBUTE), 60.0),
            rock_channel=rock_channel, inner_pivot=system.inner_pivot if rock_channel else None,
            outer_pivot=system.outer_pivot if rock_channel else None))
    return made


def body_rig_make_reverse_foot_target(elements, system, joint_keys):
    """The foot's IK target null under its "targetParent" control at the end joint's rest position
    (rotation zero), and a target null under each toe control at its toe joint; returns how many nulls
    were made."""
    hierarchy = elements.hierarchy
    made = 0
    parent = elements.find(system.target_parent, "control")
    end = body_rig_bone_key(elements, joint_keys, system.end_joint)
    if elements.find(system.target) is None:
        try:
            if parent is None or end is None:
                raise RuntimeError("its parent control or end joint is missing")
            at = hierarchy.get_global_transform(end, True)
            body_rig_add_null(elements, system.target, parent, unreal.Transform(location=at.translation, scale=at.scale3d), True)
            made += 1
        except Exception as error:
            print(BODY_RIG_TARGET_FAILED_TEXT, system.ik_control, error)
    for control, joint, target in system.toe_targets:
        if elements.find(target) is not None:
            continue
        try:
            toe_control, toe = elements.find(control, "control"), body_rig_bone_key(elements, joint_keys, joint)
            if toe_control is None or toe is None:
                raise RuntimeError("its toe control or joint is missing")
            body_rig_add_null(elements, target, toe_control, hierarchy.get_global_transform(toe, True), True)
            made += 1
        except Exception as error:
            print(BODY_RIG_TOE_TARGET_FAILED_TEXT, control, error)
    return made


def body_rig_finalize_reverse_foot_hierarchy(elements, systems, plans_by_name):
    """Sets and verifies, for every foot with a rock, each parent link of its chain from the IK control
    down to the IK target (keeping global transforms); stops the build when an element is missing or a
    parent does not hold. Returns the number of verified links."""
    hierarchy = elements.hierarchy
    verified = 0
    for system in systems:
        if system.inner_pivot is None:
            continue
        pivots = [name for name in system.controls if plans_by_name[name].kind == BODY_RIG_REVERSE_FOOT_KIND]
        if len(pivots) < 3:
            continue
        heel, toes_end, toes = pivots[0], pivots[-2], pivots[-1]
        links = [(system.inner_pivot.name, system.ik_control), (system.outer_pivot.name, system.inner_pivot.name),
                 (body_rig_roller_name(heel), system.outer_pivot.name), (heel, body_rig_roller_name(heel)),
                 (body_rig_roller_name(toes_end), heel), (toes_end, body_rig_roller_name(toes_end)),
                 (body_rig_roller_name(toes), toes_end), (toes, body_rig_roller_name(toes))]
        links += [(control, toes_end) for control, _joint, _target in system.toe_targets]
        links.append((system.target, system.target_parent))
        for child, parent in links:
            child_key, parent_key = elements.find(child), elements.find(parent)
            if child_key is None or parent_key is None:
                raise RuntimeError(BODY_RIG_HIERARCHY_MISSING_TEXT + child + " <- " + parent)
            elements.set_parent(child_key, parent_key, True)
            actual = hierarchy.get_first_parent(child_key)
            actual_name = "" if is_empty_key(actual) else str(actual.name)
            if actual_name != parent:
                raise RuntimeError(BODY_RIG_HIERARCHY_WRONG_TEXT + child + " <- " + actual_name + " (expected " + parent + ")")
            verified += 1
    return verified


# ---- the graph --------------------------------------------------------------------------------------

def body_rig_set_roll_pin(graph, path, pin, value):
    if not body_rig_set_pin(graph, path + "." + pin, value):
        raise RuntimeError(BODY_RIG_ROLL_PIN_FAILED_TEXT + pin)


def body_rig_add_reverse_foot_roll(graph, systems, previous_exec, x, y):
    """One roll unit per foot, on the execution chain before the leg IK; returns the execution pin."""
    exec_pin = previous_exec
    for index, system in enumerate(systems):
        name = body_rig_safe_name(system.ik_control + "_ReverseFootRoll", "ReverseFootRoll")
        node = body_rig_add_unit_from_struct_path(graph, BODY_RIG_ROLL_UNIT_PATH, name, x, y + BODY_RIG_ROLL_ROW * index)
        path = body_rig_node_path(graph, node, name)
        pins = [("IKControl", system.ik_control), ("RollChannel", system.roll_channel), ("HeelRoller", system.heel_roller),
                ("ToesEndRoller", system.toes_end_roller), ("ToesRoller", system.toes_roller),
                ("RollStartAngle", "%.6f" % system.roll_start_angle), ("RollEndAngle", "%.6f" % system.roll_end_angle)]
        if system.rock_channel:
            inner, outer = system.inner_pivot, system.outer_pivot
            pins += [("RockChannel", system.rock_channel), ("InnerRockPivot", inner.name), ("OuterRockPivot", outer.name),
                     ("InnerRockAxis", inner.axis), ("OuterRockAxis", outer.axis),
                     ("InnerRockMin", "%.6f" % inner.input_min), ("InnerRockMax", "%.6f" % inner.input_max),
                     ("OuterRockMin", "%.6f" % outer.input_min), ("OuterRockMax", "%.6f" % outer.input_max),
                     ("InnerRockMultiplier", "%.6f" % inner.multiplier), ("OuterRockMultiplier", "%.6f" % outer.multiplier)]
        for pin, value in pins:
            body_rig_set_roll_pin(graph, path, pin, value)
        execute = body_rig_node_execute_pin(node, path)
        if exec_pin and not body_rig_link(graph, exec_pin, execute):
            raise RuntimeError(BODY_RIG_ROLL_LINK_FAILED_TEXT)
        exec_pin = execute
    return exec_pin


def body_rig_add_reverse_foot_toes(graph, chain, switch_value, previous_exec, x, y):
    """Turns each toe bone of the limb to its toe control after the leg IK, rotation only and weighted
    by the limb's switch; returns the execution pin."""
    exec_pin = previous_exec
    for index, (control, joint, target) in enumerate(chain.toe_targets):
        row = y + BODY_RIG_TOE_ROW * index
        reader = body_rig_get_transform(graph, body_rig_safe_name(control + "_ToeGet", "ReverseFootToeGet"),
                                        "Null" if target else "Control", target or control, x, row)
        path, exec_pin = body_rig_mutable_unit(graph, "RigUnit_SetRotation",
                                               body_rig_safe_name(control + "_ToeSetRotation", "ReverseFootToeSetRotation"),
                                               exec_pin, x + 300, row)
        body_rig_set_item(graph, path + ".Item", "Bone", joint)
        body_rig_set_pin(graph, path + ".Space", "GlobalSpace")
        body_rig_set_pin(graph, path + ".bPropagateToChildren", True)
        # The engine's Set Rotation takes its rotation on "Value".
        body_rig_link(graph, reader + ".Transform.Rotation", path + ".Value")
        if switch_value:
            body_rig_link(graph, switch_value, path + ".Weight")
    return exec_pin
