"""Body rig build: the hip swinger. The control "HipSwinger_M" turns the hips about the first spine
joint (the endpoint) without moving the spine above it. Without part joints between the root and the
endpoint, each evaluation the root is written from an "FKX" root null, the FK root turned by the
control's rotation about the endpoint, and a cancel null above the endpoint's FK control turns back by
the same amount, so the spine stays where it was. With part joints, the root and each part are turned
about the endpoint by a share of the turn that fades towards the endpoint, and the endpoint is put back
where it was."""

from dataclasses import dataclass, field
from typing import List, Optional

import unreal

from _vantorel_tool.body.common import body_rig_safe_name
from _vantorel_tool.body.controls import body_rig_add_null, body_rig_bone_key
from _vantorel_tool.body.limb_graph import (
    body_rig_add_fkik_reader, body_rig_add_fkik_visibility, body_rig_add_fkik_visibility_values, body_rig_unit,
)
from _vantorel_tool.body.planning import ChainPlan, body_rig_joint_parents
from _vantorel_tool.body.setup import body_rig_helpers_group_key
from _vantorel_tool.body_json import body_json_fit_attribute
from _vantorel_tool.graph import body_rig_link, body_rig_set_item, body_rig_set_pin


BODY_RIG_HIP_SWINGER_NAME = "HipSwinger_M"
BODY_RIG_HIP_SWINGER_KIND = "HipSwinger"
BODY_RIG_HIP_SWINGER_ATTRIBUTE = "hipSwinger"
BODY_RIG_HIP_SWINGER_ROOT = "Root_M"
BODY_RIG_HIP_SWINGER_LEGACY_KINDS = ("IKLocal", "IKLocalOffset")
BODY_RIG_HIP_SWING_SOURCE_PREFIX = "HipSwingSource"
BODY_RIG_HIP_SWING_CANCEL = "MCH_HipSwingCancel_M"
BODY_RIG_IDENTITY_QUAT = "(X=0.000000,Y=0.000000,Z=0.000000,W=1.000000)"
BODY_RIG_HIP_SWINGER_COLUMNS = 6

BODY_RIG_HIP_SWINGER_SPACES_SKIPPED_TEXT = "HipSwinger spaces skipped: the FK root control, root bone or endpoint is missing"
BODY_RIG_HIP_SWINGER_NODE_FAILED_TEXT = "Could not create "
BODY_RIG_HIP_SWINGER_LINK_FAILED_TEXT = "Invalid HipSwinger link: "
BODY_RIG_HIP_SWINGER_PIN_FAILED_TEXT = "Invalid HipSwinger pin: "


@dataclass
class HipSwingerPlan:
    """The hip swinger of a rig: its control, the root and endpoint joints, the part joints between
    them (root side first), the spine's switch placeholder, and the names of its helpers."""
    control: str
    root: str
    endpoint: str
    parts: List[str] = field(default_factory=list)
    spine_switch: str = ""
    cancel: str = ""                          # set when the cancel null is made

    @property
    def fk_root(self):
        return body_rig_hip_swinger_fk_root_control_name(self.root)

    @property
    def fkx_root(self):
        return body_rig_hip_swinger_fkx_name(self.root)

    @property
    def fk_endpoint(self):
        return "FK" + self.endpoint

    @property
    def endpoint_offset(self):
        return body_rig_hip_swinger_fk_endpoint_offset_name(self.endpoint)


# ---- names ------------------------------------------------------------------------------------------

def body_rig_hip_swinger_fk_root_control_name(root):
    name = str(root)
    return name if name.startswith("FK") else "FK" + name


def body_rig_hip_swinger_fkx_name(root):
    """"FKX" + the root joint without a leading "FK" ("Root_M" gives "FKXRoot_M")."""
    name = str(root)
    return "FKX" + (name[2:] if name.startswith("FK") else name)


def body_rig_hip_swinger_fk_part_offset_name(part):
    return "FKOffset" + str(part)


def body_rig_hip_swinger_fk_endpoint_offset_name(endpoint):
    return "FKOffset" + str(endpoint)


def body_rig_hip_swing_source_name(label):
    return body_rig_safe_name(BODY_RIG_HIP_SWING_SOURCE_PREFIX + label + "_M", "HipSwingSource")


# ---- planning ---------------------------------------------------------------------------------------

def body_rig_is_omitted_hip_swinger_control(data):
    """Whether a planned record is a legacy companion of the hip swinger (a "HipSwinger..." local IK
    control), which this rig does not make; the hip swinger itself never is."""
    name = str(data.get("name") or "")
    kind = str(data.get("type") or "")
    return name.startswith(BODY_RIG_HIP_SWINGER_KIND) and kind in BODY_RIG_HIP_SWINGER_LEGACY_KINDS


def body_rig_hip_swinger_parent_skipping_parts(joint, parents):
    parent = parents.get(joint, "")
    while parent and "Part" in parent:
        parent = parents.get(parent, "")
    return parent


def body_rig_plan_hip_swinger(rig_data, controls, chains):
    """The hip swinger plan, or None: needs a planned "HipSwinger_M" of kind "HipSwinger" whose root
    joint (its joint, else "Root_M") is a joint of the file, and an endpoint joint above the root."""
    control = next((plan for plan in controls if plan.name == BODY_RIG_HIP_SWINGER_NAME and plan.kind == BODY_RIG_HIP_SWINGER_KIND),
                   None)
    if control is None:
        return None
    parents = body_rig_joint_parents(rig_data)
    root = control.joint or BODY_RIG_HIP_SWINGER_ROOT
    if root not in parents:
        return None
    endpoint = ""
    for plan in controls:
        if (plan.joint and plan.joint != root and body_json_fit_attribute(plan.record, BODY_RIG_HIP_SWINGER_ATTRIBUTE) is not None
                and body_rig_hip_swinger_parent_skipping_parts(plan.joint, parents) == root):
            endpoint = plan.joint
            break
    spine = next((chain for chain in chains if root in chain.bones), None)
    if not endpoint and spine is not None:
        after = spine.bones[spine.bones.index(root) + 1:]
        endpoint = next((bone for bone in after if "Part" not in bone), "")
    if not endpoint:
        endpoint = body_rig_hip_swinger_endpoint_below(root, parents)
    if not endpoint:
        return None
    parts = []
    joint = parents.get(endpoint, "")
    while joint and joint != root:
        if "Part" in joint:
            parts.insert(0, joint)
        joint = parents.get(joint, "")
    return HipSwingerPlan(control=control.name, root=root, endpoint=endpoint, parts=parts,
                          spine_switch=spine.switch_control if spine is not None else "")


def body_rig_hip_swinger_endpoint_below(root, parents):
    """Among the root's descendants reached through "Part" joints only (children in name order, a
    part's children before the remaining siblings), the first with "spine" in its name, else the first."""
    children = {}
    for joint, parent in parents.items():
        children.setdefault(parent, []).append(joint)
    found = []

    def walk(joint):
        for child in sorted(children.get(joint, [])):
            found.append(child)
            if "Part" in child:
                walk(child)
    walk(root)
    return next((joint for joint in found if "spine" in joint.lower()), found[0] if found else "")


# ---- spaces -----------------------------------------------------------------------------------------

def body_rig_make_hip_swinger_spaces(elements, plan, joint_keys):
    """The capture nulls of the root, endpoint and parts under "Helpers"; without parts also the FKX
    root, the endpoint's FK offset and the cancel above it; with parts the cancel above the first part's
    FK control. Returns how many nulls were made."""
    if plan is None:
        return 0
    hierarchy = elements.hierarchy
    helpers = body_rig_helpers_group_key(elements)
    made = 0
    for label, joint in body_rig_hip_swinger_captured(plan):
        bone = body_rig_bone_key(elements, joint_keys, joint)
        name = body_rig_hip_swing_source_name(label)
        if bone is not None and elements.find(name) is None:
            body_rig_add_null(elements, name, helpers, hierarchy.get_global_transform(bone, True), True)
            made += 1
    if plan.parts:
        return made + body_rig_make_hip_swing_parts_cancel(elements, plan, joint_keys)
    fk_root = elements.find(plan.fk_root, "control")
    root = body_rig_bone_key(elements, joint_keys, plan.root)
    endpoint_control = elements.find(plan.fk_endpoint, "control")
    if fk_root is None or root is None or endpoint_control is None:
        print(BODY_RIG_HIP_SWINGER_SPACES_SKIPPED_TEXT)
        return made
    if elements.find(plan.fkx_root) is None:
        body_rig_add_null(elements, plan.fkx_root, helpers, hierarchy.get_global_transform(fk_root, True), True)
        made += 1
    offset = elements.find(plan.endpoint_offset, "null")
    if offset is None:
        offset = body_rig_add_null(elements, plan.endpoint_offset, hierarchy.get_first_parent(endpoint_control),
                                   hierarchy.get_global_transform(endpoint_control, True), True)
        elements.set_parent(endpoint_control, offset, True)
        made += 1
    cancel = elements.find(BODY_RIG_HIP_SWING_CANCEL, "null")
    if cancel is None:
        at = unreal.Transform(location=hierarchy.get_global_transform(offset, True).translation,
                              scale=unreal.Vector(1.0, 1.0, 1.0))
        at.rotation = hierarchy.get_global_transform(root, True).rotation
        cancel = body_rig_add_null(elements, BODY_RIG_HIP_SWING_CANCEL, hierarchy.get_first_parent(offset), at, True)
        elements.set_parent(offset, cancel, True)
        made += 1
    plan.cancel = BODY_RIG_HIP_SWING_CANCEL
    return made


def body_rig_hip_swinger_captured(plan):
    """(label, joint) of the joints the swing captures: the root, the endpoint and each part."""
    return [("Root", plan.root), ("Endpoint", plan.endpoint)] + [("Part%d" % (index + 1), part)
                                                                   for index, part in enumerate(plan.parts)]


def body_rig_make_hip_swing_parts_cancel(elements, plan, joint_keys):
    """The cancel above the first part's FK control, at the endpoint in the root's rest orientation.
    The FK parts hang from the root's finished result, which the swing turns about the endpoint; the
    cancel turns them back about that same point, so the FK loop writes the parts unswung and the swing
    adds each part's share once. Returns 1 when it was made."""
    hierarchy = elements.hierarchy
    first = elements.find("FK" + plan.parts[0], "control")
    root = body_rig_bone_key(elements, joint_keys, plan.root)
    endpoint = body_rig_bone_key(elements, joint_keys, plan.endpoint)
    if first is None or root is None or endpoint is None:
        print(BODY_RIG_HIP_SWINGER_SPACES_SKIPPED_TEXT)
        return 0
    plan.cancel = BODY_RIG_HIP_SWING_CANCEL
    if elements.find(BODY_RIG_HIP_SWING_CANCEL, "null") is not None:
        return 0
    at = unreal.Transform(location=hierarchy.get_global_transform(endpoint, True).translation, scale=unreal.Vector(1.0, 1.0, 1.0))
    at.rotation = hierarchy.get_global_transform(root, True).rotation
    cancel = body_rig_add_null(elements, BODY_RIG_HIP_SWING_CANCEL, hierarchy.get_first_parent(first), at, True)
    elements.set_parent(first, cancel, True)
    return 1


# ---- the graph --------------------------------------------------------------------------------------

class HipSwingerNodes:
    """Adds the swing's nodes, each named "HipSwinger_" + label, the n-th at its place in rows of six,
    and stops the build on any pin or link the graph refuses."""

    def __init__(self, graph, x, y):
        self.graph, self.x, self.y, self.count = graph, x, y, 0

    def unit(self, struct_name, label):
        self.count += 1
        name = "HipSwinger_" + label
        column, row = self.count % BODY_RIG_HIP_SWINGER_COLUMNS, self.count // BODY_RIG_HIP_SWINGER_COLUMNS
        try:
            return body_rig_unit(self.graph, struct_name, name, self.x + 300 * column, self.y + 180 * row)
        except Exception as error:
            raise RuntimeError(BODY_RIG_HIP_SWINGER_NODE_FAILED_TEXT + name) from error

    def pin(self, path, value):
        if not body_rig_set_pin(self.graph, path, value):
            raise RuntimeError(BODY_RIG_HIP_SWINGER_PIN_FAILED_TEXT + path)

    def item(self, path, element_type, name):
        if not body_rig_set_item(self.graph, path, element_type, name):
            raise RuntimeError(BODY_RIG_HIP_SWINGER_PIN_FAILED_TEXT + path)

    def link(self, source, target):
        if not body_rig_link(self.graph, source, target):
            raise RuntimeError(BODY_RIG_HIP_SWINGER_LINK_FAILED_TEXT + source + " -> " + target)

    def multiply(self, label, a, b):
        """A quaternion product node of the pins a and b; returns its result pin."""
        path = self.unit("RigVMFunction_MathQuaternionMul", label)
        self.link(a, path + ".A")
        self.link(b, path + ".B")
        return path + ".Result"

    def inverse(self, label, value):
        """A quaternion inverse node of the pin value; returns its result pin."""
        path = self.unit("RigVMFunction_MathQuaternionInverse", label)
        self.link(value, path + ".Value")
        return path + ".Result"

    def read(self, label, element_type, element, space="GlobalSpace", initial=False):
        path = self.unit("RigUnit_GetTransform", label)
        self.item(path + ".Item", element_type, element)
        self.pin(path + ".Space", space)
        if initial:
            self.pin(path + ".bInitial", True)
        return path

    def write(self, label, element_type, element, exec_pin, space="GlobalSpace", propagate=True):
        path = self.unit("RigUnit_SetTransform", label)
        self.item(path + ".Item", element_type, element)
        self.pin(path + ".Space", space)
        self.pin(path + ".bPropagateToChildren", propagate)
        if exec_pin:
            self.link(exec_pin, path + ".ExecuteContext")
        return path, path + ".ExecuteContext"


def body_rig_add_hip_swinger(graph, plan, previous_exec, x, y):
    """The swing's graph; returns (execution pin, the name of the FKX root the forward FK loop writes
    the root from, or the empty text, and the number of node groups made)."""
    if plan is None or not (plan.parts or plan.cancel):
        return previous_exec, "", 0
    nodes = HipSwingerNodes(graph, x, y)
    exec_pin = previous_exec
    # The captured poses, written to their source nulls, so later evaluations cannot feed back; the
    # turn pivots about the endpoint's capture.
    for label, joint in body_rig_hip_swinger_captured(plan):
        reader = nodes.read(label + "Read", "Bone", joint)
        writer, exec_pin = nodes.write(label + "Capture", "Null", body_rig_hip_swing_source_name(label), exec_pin)
        nodes.link(reader + ".Transform", writer + ".Value")
    endpoint = nodes.read("EndpointSource", "Null", body_rig_hip_swing_source_name("Endpoint"))

    # The control's turn from its rest, gated (fully in FK, fading out as the spine goes to IK).
    control = nodes.read("Control", "Control", plan.control, space="LocalSpace")
    initial = nodes.read("ControlInitial", "Control", plan.control, space="LocalSpace", initial=True)
    delta = nodes.multiply("LocalDelta", control + ".Transform.Rotation",
                           nodes.inverse("OffsetInverse", initial + ".Transform.Rotation"))
    gate = nodes.unit("RigVMFunction_MathQuaternionSlerp", "Gate")
    nodes.pin(gate + ".A", BODY_RIG_IDENTITY_QUAT)
    nodes.link(delta, gate + ".B")
    nodes.pin(gate + ".T", 1)
    if plan.spine_switch:
        spine = ChainPlan(id="HipSwinger", ik_control="", pole_control="", bones=[], fk_controls=[plan.control],
                          switch_control=plan.spine_switch, default_ik=False)
        switch_value = body_rig_add_fkik_reader(graph, spine, x, y + 1700)
        negate = nodes.unit("RigVMFunction_MathFloatMul", "FKIKNegate")
        nodes.link(switch_value, negate + ".A")
        nodes.pin(negate + ".B", -1)
        factor = nodes.unit("RigVMFunction_MathFloatAdd", "FKFactor")
        nodes.link(negate + ".Result", factor + ".A")
        nodes.pin(factor + ".B", 1)
        nodes.link(factor + ".Result", gate + ".T")
        visibility = body_rig_add_fkik_visibility_values(graph, spine, switch_value, x, y + 1820)
        exec_pin = body_rig_add_fkik_visibility(graph, spine, visibility, exec_pin, x + 980, y + 1900)

    if plan.parts:
        exec_pin = body_rig_add_hip_swing_through_parts(nodes, plan, gate + ".Result", endpoint, exec_pin)
        if plan.cancel:
            exec_pin = body_rig_add_hip_swing_cancel(nodes, plan, gate + ".Result", exec_pin)
        return exec_pin, "", len(body_rig_hip_swinger_captured(plan))

    # The FKX root: the FK root turned by the gated delta (in its own frame) about the endpoint, which
    # stays where it was: the root's pose relative to the endpoint, put back under the turned endpoint.
    fk_root = nodes.read("FKRootRead", "Control", plan.fk_root)
    root_rotation = fk_root + ".Transform.Rotation"
    turned = nodes.multiply("FKXRot", root_rotation, gate + ".Result")
    world_delta = nodes.multiply("WorldDelta", turned, nodes.inverse("RootInverse", root_rotation))
    pivot_rotation = nodes.multiply("PivotRotation", world_delta, endpoint + ".Transform.Rotation")
    relative = nodes.unit("RigVMFunction_MathTransformMakeRelative", "RootFromPivot")
    nodes.link(fk_root + ".Transform", relative + ".Global")
    nodes.link(endpoint + ".Transform", relative + ".Parent")
    pose = nodes.unit("RigVMFunction_MathTransformMakeAbsolute", "FKXPose")
    nodes.link(relative + ".Local", pose + ".Local")
    nodes.link(endpoint + ".Transform.Translation", pose + ".Parent.Translation")
    nodes.link(pivot_rotation, pose + ".Parent.Rotation")
    nodes.link(endpoint + ".Transform.Scale3D", pose + ".Parent.Scale3D")
    fkx, exec_pin = nodes.write("FKXWrite", "Null", plan.fkx_root, exec_pin, propagate=False)
    nodes.link(pose + ".Global", fkx + ".Value")

    exec_pin = body_rig_add_hip_swing_cancel(nodes, plan, gate + ".Result", exec_pin)
    return exec_pin, plan.fkx_root, 2


def body_rig_add_hip_swing_cancel(nodes, plan, gate, exec_pin):
    """The cancel turns back by the gated delta where it stands, which keeps what hangs from it in
    place; returns the execution pin."""
    cancel_inverse = nodes.inverse("CancelInverse", gate)
    cancel_rest = nodes.read("CancelRest", "Null", plan.cancel, space="LocalSpace", initial=True)
    cancel, exec_pin = nodes.write("CancelWrite", "Null", plan.cancel, exec_pin, space="LocalSpace")
    nodes.link(cancel_rest + ".Transform.Translation", cancel + ".Value.Translation")
    nodes.link(cancel_inverse, cancel + ".Value.Rotation")
    return exec_pin


def body_rig_add_hip_swing_through_parts(nodes, plan, gate, endpoint, exec_pin):
    """Turns the root and each part about the endpoint's capture by a share of the gated turn (the
    root all of it, the part next to the endpoint least), then writes the endpoint back where it was
    captured, so the spine above stays. Returns the execution pin."""
    root_control = nodes.read("RootControl", "Control", plan.fk_root)
    root_rotation = root_control + ".Transform.Rotation"
    world_delta = nodes.multiply("WorldDelta", nodes.multiply("ToWorld", root_rotation, gate),
                                 nodes.inverse("RootInverse", root_rotation))
    pivot = endpoint + ".Transform.Translation"
    turned = [("Root", plan.root)] + [("Part%d" % (index + 1), part) for index, part in enumerate(plan.parts)]
    for index, (label, joint) in enumerate(turned):
        source = nodes.read(label + "Source", "Null", body_rig_hip_swing_source_name(label))
        share = nodes.unit("RigVMFunction_MathQuaternionSlerp", label + "Share")
        nodes.pin(share + ".A", BODY_RIG_IDENTITY_QUAT)
        nodes.link(world_delta, share + ".B")
        nodes.pin(share + ".T", "%.6f" % (1.0 - float(index) / float(len(plan.parts) + 1)))
        # The source relative to the pivot, put back under the pivot turned by the share: its place
        # orbits the pivot, its rotation turns by the share, its scale stays.
        offset = nodes.unit("RigVMFunction_MathTransformMakeRelative", label + "Offset")
        nodes.link(source + ".Transform", offset + ".Global")
        nodes.link(pivot, offset + ".Parent.Translation")
        pose = nodes.unit("RigVMFunction_MathTransformMakeAbsolute", label + "Pose")
        nodes.link(offset + ".Local", pose + ".Local")
        nodes.link(pivot, pose + ".Parent.Translation")
        nodes.link(share + ".Result", pose + ".Parent.Rotation")
        writer, exec_pin = nodes.write(label + "Write", "Bone", joint, exec_pin)
        nodes.link(pose + ".Global", writer + ".Value")
    restore, exec_pin = nodes.write("RestoreSpine", "Bone", plan.endpoint, exec_pin)
    nodes.link(endpoint + ".Transform", restore + ".Value")
    return exec_pin


def body_rig_hip_swinger_plan_text(plan: Optional[HipSwingerPlan]):
    return "%s to %s through %d Root Parts" % (plan.root, plan.endpoint, len(plan.parts)) if plan else ""
