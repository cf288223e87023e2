"""Body rig build: the leg lock. A controller-only space, "LegLockConstrained", carries the legs' FK
branches; each evaluation places it between the finished root bone (legLock 0) and where the root
would be if it kept its rest offset to "RootX_M" (legLock 10), so the legs can stay with the body's
main control while the root bone moves. The space never writes back into the skeleton."""

from _vantorel_tool.body.bones import body_rig_is_bone_key
from _vantorel_tool.body.limb_graph import (
    body_rig_add_normalized_channel, body_rig_get_transform, body_rig_set_transform, body_rig_unit,
)
from _vantorel_tool.body.planning import BODY_RIG_LEG_LOCK_CONSTRAINED, BODY_RIG_LEG_LOCK_CONTROLS, BODY_RIG_ROOT_JOINT
from _vantorel_tool.graph import body_rig_link, body_rig_set_pin


BODY_RIG_FK_SYSTEM_NAME = "FKSystem"
BODY_RIG_LEG_LOCK_OWNER = "FKRoot_M"
BODY_RIG_LEG_LOCK_CHANNEL = "legLock"
BODY_RIG_LEG_LOCK_ROOT_X = "RootX_M"
BODY_RIG_LEG_LOCK_PREFIX = "LegLock"
BODY_RIG_LEG_LOCK_FAILED_TEXT = "Could not create LegLockConstrained controller space:"


def body_rig_follows_leg_lock(controls):
    """Whether some planned control hangs from the leg lock space."""
    return any(control.follows_leg_lock for control in controls)


def body_rig_make_leg_lock_space(elements, controls, joint_keys):
    """Makes "LegLockConstrained" under "FKSystem" at the root bone's rest transform, when some planned
    control follows it, both root controls are planned, "Root_M" is a bone and "FKSystem" exists.
    Returns 1 when it was made, else 0."""
    names = {control.name for control in controls}
    root = joint_keys.get(BODY_RIG_ROOT_JOINT) or elements.find(BODY_RIG_ROOT_JOINT, "bone")
    fk_system = elements.find(BODY_RIG_FK_SYSTEM_NAME, "null")
    if (not body_rig_follows_leg_lock(controls) or not all(name in names for name in BODY_RIG_LEG_LOCK_CONTROLS)
            or root is None or not body_rig_is_bone_key(root) or fk_system is None
            or elements.find(BODY_RIG_LEG_LOCK_CONSTRAINED) is not None):
        return 0
    try:
        key = elements.add_null(BODY_RIG_LEG_LOCK_CONSTRAINED, fk_system, elements.hierarchy.get_global_transform(root, True), True)
        if key is None or str(key.name) in ("", "None"):
            raise RuntimeError("the hierarchy made no null")
    except Exception as error:
        print(BODY_RIG_LEG_LOCK_FAILED_TEXT, error)
        return 0
    return 1


def body_rig_add_leg_lock(graph, controls, previous_exec, x, y, hip_branch_delta="", root_source=""):
    """The leg lock's graph: legLock / 10 blends the space from the current root bone to the root's
    proxy under "RootX_M" (the root's rest offset to it, applied to where it is now); a hip swinger's
    delta, when given, moves the proxy as it moves the hips. A hip swinger that turns the root bone
    itself after the FK loop gives the null where it keeps the root from before its turn as
    root_source: the legs then follow the unturned root and the turn carries them once. Returns
    (execution pin, 1), or (previous_exec, 0) when no planned control follows the leg lock."""
    if not body_rig_follows_leg_lock(controls):
        return previous_exec, 0
    prefix = BODY_RIG_LEG_LOCK_PREFIX
    lock = body_rig_add_normalized_channel(graph, prefix + "_GetChannel", prefix + "_Normalize", BODY_RIG_LEG_LOCK_OWNER,
                                           BODY_RIG_LEG_LOCK_CHANNEL, x, y)

    root = body_rig_get_transform(graph, prefix + "_Root", "Null" if root_source else "Bone", root_source or BODY_RIG_ROOT_JOINT,
                                  x, y + 180)
    root_initial = body_rig_get_transform(graph, prefix + "_RootInitial", "Bone", BODY_RIG_ROOT_JOINT, x, y + 300, initial=True)
    root_x = body_rig_get_transform(graph, prefix + "_RootX", "Control", BODY_RIG_LEG_LOCK_ROOT_X, x, y + 420)
    root_x_initial = body_rig_get_transform(graph, prefix + "_RootXInitial", "Control", BODY_RIG_LEG_LOCK_ROOT_X, x, y + 540,
                                            initial=True)

    bind = body_rig_unit(graph, "RigVMFunction_MathTransformMakeRelative", prefix + "_RootBind", x + 320, y + 420)
    body_rig_link(graph, root_initial + ".Transform", bind + ".Global")
    body_rig_link(graph, root_x_initial + ".Transform", bind + ".Parent")
    proxy = body_rig_unit(graph, "RigVMFunction_MathTransformMakeAbsolute", prefix + "_RootProxy", x + 650, y + 420)
    body_rig_link(graph, bind + ".Local", proxy + ".Local")
    body_rig_link(graph, root_x + ".Transform", proxy + ".Parent")
    target = proxy + ".Global"
    if hip_branch_delta:
        swing = body_rig_unit(graph, "RigVMFunction_MathTransformMakeAbsolute", prefix + "_HipSwingProxy", x + 880, y + 420)
        body_rig_link(graph, proxy + ".Global", swing + ".Parent")
        body_rig_link(graph, hip_branch_delta, swing + ".Local")
        target = swing + ".Global"

    blend = body_rig_unit(graph, "RigVMFunction_MathTransformLerp", prefix + "_Blend", x + 980, y + 180)
    body_rig_link(graph, root + ".Transform", blend + ".A")
    body_rig_link(graph, target, blend + ".B")
    body_rig_link(graph, lock, blend + ".T")
    setter, exec_pin = body_rig_set_transform(graph, prefix + "_SetSpace", "Null", BODY_RIG_LEG_LOCK_CONSTRAINED, previous_exec,
                                              x + 1300, y + 180)
    body_rig_set_pin(graph, setter + ".Weight", 1)
    body_rig_link(graph, blend + ".Result", setter + ".Value")
    return exec_pin, 1
