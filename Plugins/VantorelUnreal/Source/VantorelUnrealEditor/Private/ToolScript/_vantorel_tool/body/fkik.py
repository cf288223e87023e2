"""Body rig build: FK/IK chains. The two-bone limbs of the body rig: chain plans from the file's "IK"
controls, the FK controls they need, the FKIK placeholder that carries each limb's switch channels, and
the re-attachment of FK branches that hang below a finished limb."""

import copy

import unreal

from _vantorel_tool.body.common import (
    body_rig_find_key, body_rig_index_added, body_rig_is_empty_key, body_rig_kind, body_rig_safe_name,
)
from _vantorel_tool.body.setup import BODY_RIG_MAIN_NAME, body_rig_joint_parents
from _vantorel_tool.body_json import (
    BODY_JSON_IK_LOCAL_ADD_CTRL, body_json_bool, body_json_control_attribute, body_json_float,
    body_json_ik_end_joint, body_json_limb_ik_local_mode, body_json_text,
)


BODY_RIG_FKIK_RESULT_PARENT_PREFIX = "FKParentConstraintTo"
BODY_RIG_FKIK_RESULT_PARENT_FALLBACK = "FKParentConstraint"

# Annotations the result attachment puts on planned FK records; later steps read them.
BODY_RIG_FOLLOWS_RESULT_KEY = "followsFKIKResult"
BODY_RIG_FOLLOWS_RESULT_JOINT_KEY = "followsFKIKResultJoint"
BODY_RIG_FOLLOWS_ROOT_RESULT_ONLY_KEY = "followsRootResultOnly"
BODY_RIG_FOLLOWS_LEG_LOCK_KEY = "followsLegLock"


def body_rig_fkik_result_parent_name(joint_name):
    """The null that carries the finished limb result of joint_name for the FK branch below it."""
    return body_rig_safe_name(BODY_RIG_FKIK_RESULT_PARENT_PREFIX + str(joint_name or ""), BODY_RIG_FKIK_RESULT_PARENT_FALLBACK)

BODY_RIG_IK_LOCAL_TYPE_KEY = "ikLocalType"
BODY_RIG_IK_LOCAL_CONTROL_KEY = "ikLocalControl"
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
    return {
        "name": name, "parent": parent or BODY_RIG_MAIN_NAME, "joint": joint, "type": "FK",
        "gizmo": BODY_RIG_GENERATED_FK_GIZMO, "worldSpace": False, "offset": [0.0, 0.0, 0.0],
        "diameter": body_json_float(ik_record.get("diameter"), 1.0),
        "color": list(color) if isinstance(color, (list, tuple)) else list(BODY_RIG_DEFAULT_COLOR),
    }


def body_rig_prepare_fkik_controls(rig_data):
    """Plans the two-bone limbs: returns (planned controls, chain plans). The planned controls are copies
    of the file's control records (bendy handles are planned elsewhere) plus the FK and local IK
    controls a limb needs and the file does not export."""
    planned = [copy.deepcopy(control) for control in rig_data.get("controls") or []
               if isinstance(control, dict) and body_rig_kind(control) not in BODY_RIG_BENDY_KINDS]
    joint_parents = body_rig_joint_parents(rig_data)
    names = {str(control.get("name") or "") for control in planned}
    fk_by_joint, fkik_names, placeholder_by_bones = {}, set(), {}
    for control in planned:
        name, joint, kind = str(control.get("name") or ""), str(control.get("joint") or ""), body_rig_kind(control)
        if kind in BODY_RIG_FK_JOINT_KINDS and name and joint:
            fk_by_joint[joint] = name
        if kind == "FKIK" and name:
            fkik_names.add(name)
            if isinstance(control.get("ik"), dict):
                bones = body_rig_ik_bones(control)
                if all(bones):
                    placeholder_by_bones[bones] = name

    chains = []
    for record in list(planned):
        ik = record.get("ik")
        if body_rig_kind(record) != "IK" or not isinstance(ik, dict):
            continue
        name = str(record.get("name") or "")
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
        if mode is not None:
            record[BODY_RIG_IK_LOCAL_TYPE_KEY] = mode
        chain = {
            "id": chain_id, "ik_control": name,
            "pole_control": body_json_text(ik.get("poleControl")) or "Pole" + name,
            "fk_controls": fk_controls, "ik_controls": [], "bones": list(bones), "switch_control": switch,
            "default_ik": body_rig_chain_default_ik(ik), "ik_local_type": mode, "ik_local_control": "",
            "reverse_foot_controls": [], "reverse_foot_toe_controls": [],
            "effector_target": name, "effector_target_type": "Control",
        }
        if mode == BODY_JSON_IK_LOCAL_ADD_CTRL:
            local_name = body_rig_plan_iklocal_addctrl(planned, names, record, bones[2])
            chain["ik_local_control"] = local_name
            record[BODY_RIG_IK_LOCAL_CONTROL_KEY] = local_name
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
        if str(control.get("name") or "") == local_name:
            control["parent"] = ik_name
            control[BODY_RIG_IK_LOCAL_TYPE_KEY] = BODY_JSON_IK_LOCAL_ADD_CTRL
            if end_joint:
                control["joint"] = end_joint
            control["worldSpace"] = False
            break
    return local_name


def body_rig_attach_controls_after_fkik(rig_data, controls, chains):
    """Hangs the FK controls whose joint sits below a finished limb (or below the root) on the helper that
    carries that limb's result, so the branch follows the blended limb; thighs below the root follow the
    leg lock when the rig has one. Annotates the planned records in place; returns how many moved."""
    joint_parents = body_rig_joint_parents(rig_data)
    result_joints = {chain["bones"][-1] for chain in chains if chain.get("bones")}
    if BODY_RIG_ROOT_JOINT in joint_parents:
        result_joints.add(BODY_RIG_ROOT_JOINT)
    names = {str(control.get("name") or "") for control in controls}
    leg_lock = all(name in names for name in BODY_RIG_LEG_LOCK_CONTROLS)
    moved = 0
    for control in controls:
        if body_rig_kind(control) != "FK":
            continue
        joint = str(control.get("joint") or "")
        parent_joint = joint_parents.get(joint, "")
        if not joint or parent_joint not in result_joints:
            continue
        if leg_lock and parent_joint == BODY_RIG_ROOT_JOINT and not joint.lower().startswith("spine"):
            control["parent"] = BODY_RIG_LEG_LOCK_CONSTRAINED
            control[BODY_RIG_FOLLOWS_LEG_LOCK_KEY] = True
        else:
            control["parent"] = body_rig_fkik_result_parent_name(parent_joint)
        control[BODY_RIG_FOLLOWS_RESULT_KEY] = True
        control[BODY_RIG_FOLLOWS_RESULT_JOINT_KEY] = parent_joint
        control[BODY_RIG_FOLLOWS_ROOT_RESULT_ONLY_KEY] = parent_joint == BODY_RIG_ROOT_JOINT
        moved += 1
    return moved


# ---- the switch channels on the FKIK placeholder ----------------------------------------------------

BODY_RIG_FKIK_BLEND_CHANNEL = "FKIKBlend"
BODY_RIG_FKIK_BOOL_CHANNELS = ("autoVis", "FKVis", "IKVis")
# Every 0..10 channel of the body rig: the switch blend, fit attributes, the leg lock.
BODY_RIG_CHANNEL_RANGE = (0.0, 10.0)
BODY_RIG_FKIK_BLEND_RANGE = BODY_RIG_CHANNEL_RANGE
BODY_RIG_FKIK_PLACEHOLDER_MISSING_TEXT = "FKIK placeholder control is missing; channels skipped:"
BODY_RIG_FKIK_CHANNEL_FAILED_TEXT = "Could not create FKIK channel"


def body_rig_fkik_channel_values(chain, placeholder_record):
    """The four switch channels of a limb, in order: (attribute, is float, initial value). The blend
    starts at the placeholder's exported value, else fully in IK (10) or FK (0) as the limb defaults."""
    record = placeholder_record or {}
    default_blend = BODY_RIG_FKIK_BLEND_RANGE[1] if chain.get("default_ik", True) else BODY_RIG_FKIK_BLEND_RANGE[0]
    values = [(BODY_RIG_FKIK_BLEND_CHANNEL, True,
               body_json_float(body_json_control_attribute(record, BODY_RIG_FKIK_BLEND_CHANNEL), default_blend))]
    for attribute in BODY_RIG_FKIK_BOOL_CHANNELS:
        values.append((attribute, False, body_json_bool(body_json_control_attribute(record, attribute), True)))
    return values


def body_rig_make_fkik_channels(hierarchy, hierarchy_controller, chain, controls_by_name):
    """Creates the limb's switch channels (blend 0 to 10 and the three visibility switches) under its
    FKIK placeholder control, skipping channels that exist; returns the number made."""
    placeholder = str(chain.get("switch_control") or "")
    owner = body_rig_find_key(hierarchy, placeholder, "control")
    if owner is None:
        print(BODY_RIG_FKIK_PLACEHOLDER_MISSING_TEXT, placeholder, chain.get("id", ""))
        return 0
    return body_rig_add_channels(hierarchy, hierarchy_controller, owner, placeholder,
                                 body_rig_fkik_channel_values(chain, controls_by_name.get(placeholder)),
                                 BODY_RIG_FKIK_CHANNEL_FAILED_TEXT)


def body_rig_channel_name(owner_name, attribute):
    return body_rig_safe_name(str(owner_name) + "_" + str(attribute))


def body_rig_add_channels(hierarchy, hierarchy_controller, owner, owner_name, channels, failure_text):
    """Adds (attribute, is float, value) channels under the owner control, floats limited to 0..10,
    skipping channels that exist; a refused channel is printed with failure_text and skipped.
    Returns the number made."""
    made = 0
    for attribute, is_float, value in channels:
        name = body_rig_channel_name(owner_name, attribute)
        if body_rig_find_key(hierarchy, name) is not None:
            continue
        try:
            if is_float:
                body_rig_add_float_channel(hierarchy, hierarchy_controller, owner, name, attribute, value,
                                           *BODY_RIG_CHANNEL_RANGE)
            else:
                body_rig_add_bool_channel(hierarchy, hierarchy_controller, owner, name, attribute, value)
            made += 1
        except Exception as error:
            print(failure_text, owner_name, attribute, error)
    return made


def body_rig_channel_settings(control_type, display_name):
    settings = unreal.RigControlSettings()
    settings.control_type = control_type
    settings.animation_type = unreal.RigControlAnimationType.ANIMATION_CHANNEL
    settings.display_name = display_name
    return settings


def body_rig_add_channel(hierarchy, hierarchy_controller, owner, name, settings, value):
    """Adds an animation channel under the owner control with its initial and current values; returns
    its key. Raises when the editor refuses the channel."""
    key = hierarchy_controller.add_animation_channel(name, owner, settings)
    if body_rig_is_empty_key(key):
        raise RuntimeError("the channel %s was not added" % name)
    body_rig_index_added(hierarchy, key)
    for value_type in (unreal.RigControlValueType.INITIAL, unreal.RigControlValueType.CURRENT):
        hierarchy.set_control_value(key, value, value_type)
    return key


def body_rig_add_float_channel(hierarchy, hierarchy_controller, owner, name, display_name, value, minimum, maximum,
                               shape_name=None):
    """A float channel limited to minimum..maximum (limits drawn and enforced), starting at value."""
    settings = body_rig_channel_settings(unreal.RigControlType.FLOAT, display_name)
    if shape_name:
        settings.shape_name = shape_name
    settings.draw_limits = True
    settings.limit_enabled = [unreal.RigControlLimitEnabled(True, True)]
    settings.minimum_value = unreal.RigHierarchy.make_control_value_from_float(minimum)
    settings.maximum_value = unreal.RigHierarchy.make_control_value_from_float(maximum)
    key = body_rig_add_channel(hierarchy, hierarchy_controller, owner, name, settings,
                               unreal.RigHierarchy.make_control_value_from_float(value))
    hierarchy.set_control_value(key, unreal.RigHierarchy.make_control_value_from_float(minimum), unreal.RigControlValueType.MINIMUM)
    hierarchy.set_control_value(key, unreal.RigHierarchy.make_control_value_from_float(maximum), unreal.RigControlValueType.MAXIMUM)
    return key


def body_rig_add_bool_channel(hierarchy, hierarchy_controller, owner, name, display_name, value):
    """A bool channel starting at value."""
    settings = body_rig_channel_settings(unreal.RigControlType.BOOL, display_name)
    return body_rig_add_channel(hierarchy, hierarchy_controller, owner, name, settings,
                                unreal.RigHierarchy.make_control_value_from_bool(bool(value)))
BODY_RIG_IK_LOCAL_PREFIX = "IKLocal"
# ---- the local IK control of an addCtrl limb --------------------------------------------------------

BODY_RIG_IK_LOCAL_GIZMO = "Box_Thick"


# ---- local IK (addCtrl) -------------------------------------------------------------------------------

def body_rig_iklocal_control_name(ik_control_name):
    """"IKLocal" + the IK control's name without its leading "IK"."""
    name = str(ik_control_name or "")
    return body_rig_safe_name(BODY_RIG_IK_LOCAL_PREFIX + body_rig_strip_prefix(name, "IK"))


def body_rig_make_iklocal_addctrl_data(ik_item):
    """The planned record of an addCtrl limb's local IK control: under the IK control, on the limb's
    end joint, in the IK control's shape, size and colour."""
    name = str(ik_item.get("name") or "")
    diameter = body_json_float(ik_item.get("diameter"), 1.0)
    color = ik_item.get("color")
    gizmo = ik_item.get("gizmo")
    return {
        "name": body_rig_iklocal_control_name(name), "parent": name,
        "joint": body_json_ik_end_joint(ik_item),
        "type": "IKLocal", "gizmo": gizmo if gizmo else BODY_RIG_IK_LOCAL_GIZMO, "worldSpace": False,
        "offset": [0.0, 0.0, 0.0], "diameter": diameter if diameter else 1.0,
        "color": list(color) if isinstance(color, (list, tuple)) else list(BODY_RIG_DEFAULT_COLOR),
        BODY_RIG_IK_LOCAL_TYPE_KEY: BODY_JSON_IK_LOCAL_ADD_CTRL,
    }
