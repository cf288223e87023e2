"""Body rig build: inbetween distribution. An FK control with inbetween joints (a spine or neck piece
with "Part" joints after it) turns all of them: each evaluation its rotation is spread over the base
and its part controls, each taking its share of the turn from the chain's rest, and the part controls
show as the base's "inbetweenVis" channel (and the chain's FK visibility) says. Each control of the
chain hangs under an "FKOffset" null that carries its bind orientation, the base under an extra
"FKInbetween" null that the distribution turns."""

import re
from typing import Dict, List

import unreal

from _vantorel_tool.body.common import body_rig_safe_name
from _vantorel_tool.body.controls import body_rig_add_null, body_rig_set_offset, body_rig_set_values
from _vantorel_tool.body.limb_graph import (
    BODY_RIG_VISIBILITY_NOTATION, body_rig_add_bool_and, body_rig_add_bool_channel_reader, body_rig_add_fkik_reader,
    body_rig_add_fkik_visibility_values, body_rig_get_transform, body_rig_mutable_unit, body_rig_unit,
)
from _vantorel_tool.body_json import body_json_fit_attribute, body_json_number
from _vantorel_tool.graph import (
    body_rig_add_template, body_rig_chain_node, body_rig_link, body_rig_node_path, body_rig_set_item, body_rig_set_pin,
)


BODY_RIG_INBETWEEN_ATTRIBUTE = "inbetweenJoints"
BODY_RIG_INBETWEEN_VIS_CHANNEL = "inbetweenVis"
BODY_RIG_SIDED_JOINT = re.compile(r"^(.*)(_[MLR])$")
BODY_RIG_PART_JOINT = re.compile(r"Part\d+_[MLR]$")
BODY_RIG_INBETWEEN_ROW = 650
BODY_RIG_INBETWEEN_VIS_ROW = 420
BODY_RIG_INBETWEEN_INCOMPLETE_TEXT = "Skipping incomplete inbetween FK control chain:"
BODY_RIG_INBETWEEN_FAILED_TEXT = "Could not create inbetween hierarchy for "


def body_rig_inbetween_count(control):
    """The control's "inbetweenJoints" as a count: 0 when absent, unreadable or below 0."""
    number = body_json_number(body_json_fit_attribute(control, BODY_RIG_INBETWEEN_ATTRIBUTE))
    return max(0, int(number)) if number is not None else 0


def body_rig_inbetween_chain(control):
    """The base's chain: its name, then "FK" + stem + "Part" + i + side for each inbetween joint; empty
    for a control that is no inbetween base (no count, a joint without a side, or a part joint)."""
    count = body_rig_inbetween_count(control)
    name, joint = str(control.get("name") or ""), str(control.get("joint") or "")
    sided = BODY_RIG_SIDED_JOINT.match(joint)
    if count <= 0 or not name or not sided or BODY_RIG_PART_JOINT.search(joint):
        return []
    stem, side = sided.groups()
    return [name] + ["FK%sPart%d%s" % (stem, index, side) for index in range(1, count + 1)]


def body_rig_inbetween_chains(controls) -> List[List[str]]:
    return [chain for chain in (body_rig_inbetween_chain(control) for control in controls) if chain]


def body_rig_strip_fk(name):
    return name[2:] if name.startswith("FK") else name


def body_rig_inbetween_offset_name(control_name):
    return "FKOffset" + body_rig_strip_fk(str(control_name))


def body_rig_inbetween_base_name(control_name):
    return "FKInbetween" + body_rig_strip_fk(str(control_name))


# ---- hierarchy --------------------------------------------------------------------------------------

def body_rig_inbetween_parent(name, key, records: Dict[str, dict], elements):
    """The element a chain control's FKOffset null hangs from: where the control hangs now (its
    record's parent, or the space another system hung it from, such as a spline chain's end follow
    space), or, when its record's parent is an inbetween base whose parts this control is not, the
    base's last part control."""
    parent = str((records.get(name) or {}).get("parent") or "")
    parent_chain = body_rig_inbetween_chain(records.get(parent) or {})
    if parent_chain and name not in parent_chain[1:] and elements.find(parent_chain[-1], "control") is not None:
        return elements.find(parent_chain[-1], "control")
    return elements.hierarchy.get_first_parent(key)


def body_rig_reset_inbetween_control(elements, key):
    """The control's bind orientation lives on its FKOffset null: its own offset, values and preferred
    angles start at identity."""
    hierarchy = elements.hierarchy
    body_rig_set_offset(hierarchy, key, unreal.Transform())
    body_rig_set_values(hierarchy, key, unreal.EulerTransform())
    order = elements.controller.get_control_settings(key).preferred_rotation_order
    for initial in (True, False):
        hierarchy.set_control_preferred_euler_angles(key, unreal.Vector(0.0, 0.0, 0.0), order, initial)


def body_rig_make_inbetween_offset_spaces(elements, controls):
    """Hangs every control of every inbetween chain under its FKOffset null (made where the control
    rests), the base under its FKInbetween null below that, and moves the bind orientation onto the
    nulls. Returns the number of nulls made."""
    hierarchy = elements.hierarchy
    records = {str(record.get("name") or ""): record for record in controls}
    made = 0
    for chain in body_rig_inbetween_chains(controls):
        for index, name in enumerate(chain):
            key = elements.find(name, "control")
            if key is None:
                continue
            try:
                rest = hierarchy.get_global_transform(key, True)
                offset = elements.find(body_rig_inbetween_offset_name(name))
                if offset is None:
                    parent = body_rig_inbetween_parent(name, key, records, elements)
                    offset = body_rig_add_null(elements, body_rig_inbetween_offset_name(name), parent, rest, True)
                    made += 1
                elements.set_parent(key, offset, True)
                if index == 0:
                    inbetween = elements.find(body_rig_inbetween_base_name(name))
                    if inbetween is None:
                        inbetween = body_rig_add_null(elements, body_rig_inbetween_base_name(name), offset, rest, True)
                        made += 1
                    elements.set_parent(key, inbetween, True)
                body_rig_reset_inbetween_control(elements, key)
            except Exception as error:
                print(BODY_RIG_INBETWEEN_FAILED_TEXT + name + ":", error)
    return made


# ---- graph ------------------------------------------------------------------------------------------

def body_rig_add_inbetween_control_distribution(graph, rig_data, previous_exec, x, y):
    """Per inbetween base, spreads the base control's local rotation over the chain: the k-th of n + 1
    takes k / (n + 1) of it from the rest orientation. Each part keeps its own rest turn from the base
    (a neck's part joint leans another way than the neck): the share turns the base's frame, and the
    part's rest orientation in that frame comes on top. Returns the execution pin."""
    controls = [control for control in rig_data.get("controls") or [] if isinstance(control, dict)]
    known = {str(control.get("name") or "") for control in controls}
    exec_pin, row = previous_exec, y
    for chain in body_rig_inbetween_chains(controls):
        if not all(name in known for name in chain):
            print(BODY_RIG_INBETWEEN_INCOMPLETE_TEXT, chain)
            continue
        base, count = chain[0], len(chain)
        prefix = body_rig_safe_name(base + "_Inbetween", "Inbetween")
        reference = body_rig_get_transform(graph, prefix + "Reference", "Null", body_rig_inbetween_offset_name(base), x, row)
        local = body_rig_get_transform(graph, prefix + "Local", "Control", base, x, row + 160, space="LocalSpace")
        full = body_rig_unit(graph, "RigVMFunction_MathQuaternionMul", prefix + "FullRotation", x + 300, row + 80)
        body_rig_link(graph, reference + ".Transform.Rotation", full + ".A")
        body_rig_link(graph, local + ".Transform.Rotation", full + ".B")
        inverse = body_rig_unit(graph, "RigVMFunction_MathQuaternionInverse", prefix + "InverseLocal", x + 300, row + 220)
        body_rig_link(graph, local + ".Transform.Rotation", inverse + ".Value")
        reference_rest = body_rig_get_transform(graph, prefix + "ReferenceRest", "Null", body_rig_inbetween_offset_name(base),
                                                x, row + 320, initial=True)
        inverse_rest = body_rig_unit(graph, "RigVMFunction_MathQuaternionInverse", prefix + "InverseReferenceRest", x + 300, row + 360)
        body_rig_link(graph, reference_rest + ".Transform.Rotation", inverse_rest + ".Value")
        for k in range(1, count + 1):
            ix = x + 620 + 620 * (k - 1)
            share = body_rig_unit(graph, "RigVMFunction_MathQuaternionSlerp", "%sInterpolate%d" % (prefix, k), ix, row)
            body_rig_link(graph, reference + ".Transform.Rotation", share + ".A")
            body_rig_link(graph, full + ".Result", share + ".B")
            body_rig_set_pin(graph, share + ".T", "%.6f" % (float(k) / count))
            value, target = share + ".Result", body_rig_inbetween_offset_name(chain[k - 1])
            if k == 1:
                # The base control turns by its own local rotation on top of its inbetween null.
                compensate = body_rig_unit(graph, "RigVMFunction_MathQuaternionMul", prefix + "BaseCompensate", ix + 220, row + 150)
                body_rig_link(graph, share + ".Result", compensate + ".A")
                body_rig_link(graph, inverse + ".Result", compensate + ".B")
                value, target = compensate + ".Result", body_rig_inbetween_base_name(base)
            else:
                part_rest = body_rig_get_transform(graph, "%sPartRest%d" % (prefix, k), "Null", target, ix, row + 320, initial=True)
                in_base = body_rig_unit(graph, "RigVMFunction_MathQuaternionMul", "%sPartInBase%d" % (prefix, k), ix + 220, row + 320)
                body_rig_link(graph, inverse_rest + ".Result", in_base + ".A")
                body_rig_link(graph, part_rest + ".Transform.Rotation", in_base + ".B")
                turned = body_rig_unit(graph, "RigVMFunction_MathQuaternionMul", "%sPartTurned%d" % (prefix, k), ix + 220, row + 150)
                body_rig_link(graph, share + ".Result", turned + ".A")
                body_rig_link(graph, in_base + ".Result", turned + ".B")
                value = turned + ".Result"
            setter, exec_pin = body_rig_mutable_unit(graph, "RigUnit_SetRotation", "%sOffset%d" % (prefix, k), exec_pin, ix + 310, row)
            body_rig_set_item(graph, setter + ".Item", "Null", target)
            body_rig_set_pin(graph, setter + ".Space", "GlobalSpace")
            body_rig_set_pin(graph, setter + ".bPropagateToChildren", True)
            body_rig_link(graph, value, setter + ".Value")
        row += BODY_RIG_INBETWEEN_ROW
    return exec_pin


def body_rig_add_final_inbetween_visibility(graph, rig_data, chains, previous_exec, x, y):
    """Shows each base's part controls by its "inbetweenVis" channel, and only while the FK side of the
    first limb that holds the base or a part shows. Returns the execution pin."""
    controls = [control for control in rig_data.get("controls") or [] if isinstance(control, dict)]
    known = {str(control.get("name") or "") for control in controls}
    exec_pin, row = previous_exec, y
    for chain in body_rig_inbetween_chains(controls):
        base, parts = chain[0], [name for name in chain[1:] if name in known]
        if not parts:
            continue
        prefix = body_rig_safe_name(base + "_FinalInbetweenVis", "FinalInbetweenVis")
        visible = body_rig_add_bool_channel_reader(graph, prefix + "_Get", base, BODY_RIG_INBETWEEN_VIS_CHANNEL, x, row)
        limb = next((c for c in chains if any(name in c.fk_controls for name in chain)), None)
        if limb is not None:
            switch_value = body_rig_add_fkik_reader(graph, limb, x + 260, row)
            fk_visible, _ik_visible = body_rig_add_fkik_visibility_values(graph, limb, switch_value, x + 260, row + 100,
                                                                          fk_only=True)
            if fk_visible:
                visible = body_rig_add_bool_and(graph, prefix + "_FKAndInbetween", visible, fk_visible, x + 980, row + 180)
        for index, part in enumerate(parts):
            node_name = "%s_Part_%d" % (prefix, index)
            node = body_rig_add_template(graph, BODY_RIG_VISIBILITY_NOTATION, node_name, x + 1280 + 300 * index, row)
            path = body_rig_node_path(graph, node, node_name)
            body_rig_set_item(graph, path + ".Item", "Control", part)
            body_rig_link(graph, visible, path + ".bVisible")
            exec_pin = body_rig_chain_node(graph, exec_pin, node, path)
        row += BODY_RIG_INBETWEEN_VIS_ROW
    return exec_pin

