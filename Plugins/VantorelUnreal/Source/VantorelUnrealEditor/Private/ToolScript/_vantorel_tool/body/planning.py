"""Planning of the body rig from the Body rig JSON, in plain Python with no engine calls: the two-bone
limb chains and the FK controls they need, the poles, the local IK controls of addCtrl limbs, and where FK
branches below a limb's end attach to its result."""

import copy
from dataclasses import dataclass, field
from typing import List, Optional, Tuple

from _vantorel_tool.body.common import BODY_RIG_MAIN_NAME, body_rig_kind, body_rig_safe_name
from _vantorel_tool.body_json import (
    BODY_JSON_IK_LOCAL_ADD_CTRL, body_json_bool, body_json_float, body_json_ik_end_joint,
    body_json_limb_ik_local_mode, body_json_text,
)


BODY_RIG_FKIK_RESULT_PARENT_PREFIX = "FKParentConstraintTo"
BODY_RIG_FKIK_RESULT_PARENT_FALLBACK = "FKParentConstraint"
BODY_RIG_CHAIN_ID_FALLBACK = "Limb"
BODY_RIG_BENDY_KINDS = ("Bend", "BendMid")
BODY_RIG_FK_JOINT_KINDS = ("FK", "Root")
BODY_RIG_GENERATED_FK_GIZMO = "Circle_Thick"
BODY_RIG_DEFAULT_COLOR = [1.0, 0.0, 0.0]
BODY_RIG_ROOT_JOINT = "Root_M"
BODY_RIG_LEG_LOCK_CONSTRAINED = "LegLockConstrained"
BODY_RIG_LEG_LOCK_CONTROLS = ("FKRoot_M", "RootX_M")
BODY_RIG_SKIP_INCOMPLETE_CHAIN_TEXT = "Skipping incomplete FKIK chain:"
BODY_RIG_NO_PLACEHOLDER_TEXT = "No exported FKIK placeholder matches chain:"
BODY_RIG_IK_LOCAL_PREFIX = "IKLocal"
BODY_RIG_IK_LOCAL_GIZMO = "Box_Thick"


@dataclass
class PlannedControl:
    """A control the body build makes: its record (a copy of the file's, or one planning wrote for a
    control the file does not export) with the parent, type, joint and world-space flag planning gave
    it, and what planning found out about the control."""
    record: dict                              # the control's attributes under the Body rig JSON's keys
    follows_result_joint: str = ""            # the limb-result joint an FK branch hangs from, empty when none
    follows_root_result_only: bool = False    # the branch hangs from the root's result, which no limb writes back
    follows_leg_lock: bool = False            # the branch hangs from the leg lock space
    ik_local_type: Optional[int] = None       # the local IK mode of an IK or local IK control
    ik_local_control: str = ""                # an addCtrl IK control's local IK control
    pole_position_world: object = None        # a pole's Maya position, from its IK record
    custom_shape_name: str = ""               # the control's shape in the rig's own shape library
    shape_import_scale: Optional[float] = None      # a shape scale that replaces the import scale
    internal_shape_rotation: Optional[List[float]] = None   # a fixed rotation triple of the shape

    @property
    def name(self):
        return str(self.record.get("name") or "")

    @property
    def kind(self):
        return body_rig_kind(self.record)

    @property
    def joint(self):
        return str(self.record.get("joint") or "")

    @property
    def parent(self):
        return str(self.record.get("parent") or "")


def body_rig_plans_by_name(plans):
    """Planned controls by name, the first of each name."""
    by_name = {}
    for plan in plans:
        if plan.name:
            by_name.setdefault(plan.name, plan)
    return by_name


@dataclass
class ChainPlan:
    """A limb as planned: a two-bone limb's bones (start, middle, end) or a spline chain's bones from
    start to end, the controls on each side of its FK/IK switch, the placeholder control that carries
    the switch channels, and where its IK solve aims."""
    id: str                                   # the limb's name in node and element names
    ik_control: str
    pole_control: str
    bones: List[str]
    fk_controls: List[str]                    # one per bone
    switch_control: str                       # the FKIK placeholder; empty when the file has none
    default_ik: bool                          # whether the limb starts in IK
    ik_local_type: Optional[int] = None       # the limb's local IK mode, None without one
    ik_local_control: str = ""                # the local IK control of an addCtrl limb
    ik_controls: List[str] = field(default_factory=list)   # IK-side controls shown with the IK control
    reverse_foot_controls: List[str] = field(default_factory=list)
    reverse_foot_toe_controls: List[str] = field(default_factory=list)
    toe_targets: List[Tuple[str, str, str]] = field(default_factory=list)   # (toe control, toe joint, target null)
    effector_target: str = ""                 # the element the IK solve reaches for
    effector_target_type: str = "Control"
    kind: str = ""                            # "SplineIK" for a spline chain, empty for a two-bone limb
    primary_axis: List[float] = field(default_factory=lambda: [1.0, 0.0, 0.0])   # a spline chain's bone axis
    root_parent: str = ""                     # the element a spline chain's handles hang from
    endpoint_targets: List[Tuple[str, str, str]] = field(default_factory=list)  # (handle, bone, rotation target null)
    end_follow_controls: List[Tuple[str, str]] = field(default_factory=list)    # (control, joint) hung after a spline's end


def body_rig_fkik_result_parent_name(joint_name):
    """The null that carries the finished limb result of joint_name for the FK branch below it."""
    return body_rig_safe_name(BODY_RIG_FKIK_RESULT_PARENT_PREFIX + str(joint_name or ""), BODY_RIG_FKIK_RESULT_PARENT_FALLBACK)


def body_rig_strip_prefix(name, prefix):
    """name without its leading prefix; name itself when it has none."""
    return name[len(prefix):] if name.startswith(prefix) else name


def body_rig_ik_bones(control):
    """The (start, middle, end) joints of an IK or FKIK record's "ik" object, the end defaulting to the
    record's joint; empty texts where a joint is missing."""
    ik = control.get("ik") if isinstance(control.get("ik"), dict) else {}
    return body_json_text(ik.get("startJoint")), body_json_text(ik.get("middleJoint")), body_json_ik_end_joint(control)


def body_rig_chain_default_ik(ik):
    """Whether a limb starts in IK: "defaultIK", else "defaultMode", else true."""
    value = ik.get("defaultIK") if "defaultIK" in ik else ik.get("defaultMode", True)
    return body_json_bool(value, True)


def body_rig_generated_fk_control(name, parent, joint, ik_record):
    """An FK control the file does not export, for a limb bone: plain, in the limb's size and colour."""
    color = ik_record.get("color")
    return PlannedControl({
        "name": name, "parent": parent or BODY_RIG_MAIN_NAME, "joint": joint, "type": "FK",
        "gizmo": BODY_RIG_GENERATED_FK_GIZMO, "worldSpace": False, "offset": [0.0, 0.0, 0.0],
        "diameter": body_json_float(ik_record.get("diameter"), 1.0),
        "color": list(color) if isinstance(color, (list, tuple)) else list(BODY_RIG_DEFAULT_COLOR),
    })


def body_rig_prepare_fkik_controls(rig_data):
    """Plans the two-bone limbs: returns (planned controls, chain plans). The planned controls are copies
    of the file's control records (bendy handles are planned elsewhere) plus the FK and local IK
    controls a limb needs and the file does not export."""
    planned = [PlannedControl(copy.deepcopy(control)) for control in rig_data.get("controls") or []
               if isinstance(control, dict) and body_rig_kind(control) not in BODY_RIG_BENDY_KINDS]
    joint_parents = body_rig_joint_parents(rig_data)
    names = {control.name for control in planned}
    fk_by_joint, fkik_names, placeholder_by_bones = {}, set(), {}
    for control in planned:
        name, joint, kind = control.name, control.joint, control.kind
        if kind in BODY_RIG_FK_JOINT_KINDS and name and joint:
            fk_by_joint[joint] = name
        if kind == "FKIK" and name:
            fkik_names.add(name)
            if isinstance(control.record.get("ik"), dict):
                bones = body_rig_ik_bones(control.record)
                if all(bones):
                    placeholder_by_bones[bones] = name

    chains = []
    for plan in list(planned):
        record = plan.record
        ik = record.get("ik")
        if plan.kind != "IK" or not isinstance(ik, dict):
            continue
        name = plan.name
        bones = body_rig_ik_bones(record)
        if not all(bones):
            print(BODY_RIG_SKIP_INCOMPLETE_CHAIN_TEXT, name, list(bones))
            continue
        chain_id = body_rig_safe_name(body_json_text(ik.get("id")) or name, BODY_RIG_CHAIN_ID_FALLBACK)

        switch = placeholder_by_bones.get(bones, "")
        if not switch:
            by_name = "FKIK" + body_rig_strip_prefix(name, "IK")
            if by_name in fkik_names:
                switch = by_name
            else:
                print(BODY_RIG_NO_PLACEHOLDER_TEXT, chain_id, list(bones))

        fk_controls = []
        for bone in bones:
            fk_name = fk_by_joint.get(bone) or "FK" + bone
            if bone not in fk_by_joint and fk_name not in names:
                if fk_controls:
                    parent = fk_controls[-1]
                else:
                    parent = fk_by_joint.get(joint_parents.get(bone, "")) or str(record.get("parent") or "")
                planned.append(body_rig_generated_fk_control(fk_name, parent, bone, record))
                names.add(fk_name)
                fk_by_joint[bone] = fk_name
            fk_controls.append(fk_name)

        mode = body_json_limb_ik_local_mode(rig_data, record)
        plan.ik_local_type = mode
        chain = ChainPlan(
            id=chain_id, ik_control=name, pole_control=body_json_text(ik.get("poleControl")) or "Pole" + name,
            bones=list(bones), fk_controls=fk_controls, switch_control=switch,
            default_ik=body_rig_chain_default_ik(ik), ik_local_type=mode, effector_target=name)
        if mode == BODY_JSON_IK_LOCAL_ADD_CTRL:
            local_name = body_rig_plan_iklocal_addctrl(planned, names, record, bones[2])
            chain.ik_local_control = local_name
            plan.ik_local_control = local_name
        chains.append(chain)
    return planned, chains


def body_rig_plan_iklocal_addctrl(planned, names, ik_record, end_joint):
    """Plans the local IK control of an addCtrl limb under its IK control: a new record, or the exported
    one of that name (a leg's local IK comes as a reverse-foot toe) moved under the IK control. Returns
    its name."""
    ik_name = str(ik_record.get("name") or "")
    local_name = body_rig_iklocal_control_name(ik_name)
    if local_name not in names:
        planned.append(body_rig_make_iklocal_addctrl_data(ik_record))
        names.add(local_name)
        return local_name
    for control in planned:
        if control.name == local_name:
            control.record["parent"] = ik_name
            control.ik_local_type = BODY_JSON_IK_LOCAL_ADD_CTRL
            if end_joint:
                control.record["joint"] = end_joint
            control.record["worldSpace"] = False
            break
    return local_name


def body_rig_attach_controls_after_fkik(rig_data, controls, chains):
    """Hangs the FK controls whose joint sits below a finished limb (or below the root) on the helper that
    carries that limb's result, so the branch follows the blended limb; thighs below the root follow the
    leg lock when the rig has one. Annotates the planned records in place; returns how many moved."""
    joint_parents = body_rig_joint_parents(rig_data)
    result_joints = {chain.bones[-1] for chain in chains if chain.bones}
    if BODY_RIG_ROOT_JOINT in joint_parents:
        result_joints.add(BODY_RIG_ROOT_JOINT)
    names = {control.name for control in controls}
    leg_lock = all(name in names for name in BODY_RIG_LEG_LOCK_CONTROLS)
    moved = 0
    for control in controls:
        if control.kind != "FK":
            continue
        joint = control.joint
        parent_joint = joint_parents.get(joint, "")
        if not joint or parent_joint not in result_joints:
            continue
        # The root's own part joints lead to the spine as the spine does; only the legs follow the lock.
        spine_side = joint.lower().startswith("spine") or joint.startswith(BODY_RIG_ROOT_JOINT[:-2] + "Part")
        if leg_lock and parent_joint == BODY_RIG_ROOT_JOINT and not spine_side:
            control.record["parent"] = BODY_RIG_LEG_LOCK_CONSTRAINED
            control.follows_leg_lock = True
        else:
            control.record["parent"] = body_rig_fkik_result_parent_name(parent_joint)
        control.follows_result_joint = parent_joint
        control.follows_root_result_only = parent_joint == BODY_RIG_ROOT_JOINT
        moved += 1
    return moved


def body_rig_iklocal_control_name(ik_control_name):
    """"IKLocal" + the IK control's name without its leading "IK"."""
    name = str(ik_control_name or "")
    return body_rig_safe_name(BODY_RIG_IK_LOCAL_PREFIX + body_rig_strip_prefix(name, "IK"))


def body_rig_make_iklocal_addctrl_data(ik_item):
    """The planned control of an addCtrl limb's local IK control: under the IK control, on the limb's
    end joint, in the IK control's shape, size and colour."""
    name = str(ik_item.get("name") or "")
    diameter = body_json_float(ik_item.get("diameter"), 1.0)
    color = ik_item.get("color")
    gizmo = ik_item.get("gizmo")
    return PlannedControl({
        "name": body_rig_iklocal_control_name(name), "parent": name,
        "joint": body_json_ik_end_joint(ik_item),
        "type": "IKLocal", "gizmo": gizmo if gizmo else BODY_RIG_IK_LOCAL_GIZMO, "worldSpace": False,
        "offset": [0.0, 0.0, 0.0], "diameter": diameter if diameter else 1.0,
        "color": list(color) if isinstance(color, (list, tuple)) else list(BODY_RIG_DEFAULT_COLOR),
    }, ik_local_type=BODY_JSON_IK_LOCAL_ADD_CTRL)


def body_rig_apply_iklocal_addctrl(controls, chains):
    """Puts each addCtrl limb's local IK control between its IK control and the reverse-foot controls
    hung from it, and lists it with the limb's IK-side controls; returns the number of such limbs."""
    by_name = body_rig_plans_by_name(controls)
    applied = 0
    for chain in chains:
        if chain.ik_local_type != BODY_JSON_IK_LOCAL_ADD_CTRL:
            continue
        ik_name = chain.ik_control
        local_name = chain.ik_local_control or body_rig_iklocal_control_name(ik_name)
        ordered = []
        for name in [ik_name, local_name] + chain.ik_controls:
            if name and name not in ordered:
                ordered.append(name)
        chain.ik_controls = ordered
        local = by_name.get(local_name)
        if local is not None:
            local.record["parent"] = ik_name
        for name in chain.reverse_foot_controls + chain.reverse_foot_toe_controls:
            control = by_name.get(name)
            if control is not None and name != local_name and control.parent == ik_name:
                control.record["parent"] = local_name
        applied += 1
    return applied


def body_rig_joint_parents(rig_data):
    """Joint name -> parent joint name (empty for a top joint), from the joint records."""
    parents = {}
    for joint in rig_data.get("joints") or []:
        if isinstance(joint, dict) and joint.get("name"):
            parents.setdefault(str(joint["name"]), str(joint.get("parent") or ""))
    return parents


def body_rig_make_poles(planned):
    """Each IK control's pole: an exported control of the pole's name becomes the pole, else a pole is
    generated from the IK record."""
    by_name = body_rig_plans_by_name(planned)
    for control in list(planned):
        record = control.record
        ik = record.get("ik")
        if control.kind != "IK" or not isinstance(ik, dict):
            continue
        name = control.name
        pole_name = str(ik.get("poleControl") or "") or "Pole" + name
        middle = str(ik.get("middleJoint") or "")
        pole = by_name.get(pole_name)
        if pole is not None:
            pole.record["type"] = "IKPole"
            pole.record["worldSpace"] = True
            pole.record["joint"] = middle or pole.record.get("joint", "")
            pole.pole_position_world = ik.get("polePositionWorld")
            continue
        diameter = body_json_float(record.get("diameter"), 1.0)
        generated = PlannedControl({
            "name": pole_name,
            "parent": control.parent or BODY_RIG_MAIN_NAME,
            "joint": middle,
            "type": "IKPole",
            "gizmo": "Sphere_Solid",
            "worldSpace": True,
            "diameter": max(0.2 * diameter, 0.01),
            "color": record.get("color") if record.get("color") is not None else [1.0, 0.0, 0.0],
        }, pole_position_world=ik.get("polePositionWorld"))
        planned.append(generated)
        by_name[pole_name] = generated
    return planned
