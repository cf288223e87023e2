"""The hip swinger's plan and helpers: its root and endpoint (by the "hipSwinger" attribute, a chain, or
the spine below the root's part joints), the part joints between, its legacy companions, and on the
sample the FKX root, the endpoint's FK offset and the cancel above it. The swing itself is proven by
the posing evaluation."""

import pytest


def joints(*pairs):
    return [{"name": name, "parent": parent} for name, parent in pairs]


SKELETON = joints(("Root_M", ""), ("RootPart1_M", "Root_M"), ("RootPart2_M", "RootPart1_M"), ("Spine1_M", "RootPart2_M"),
                  ("Chest_M", "Spine1_M"), ("Tail0_M", "Root_M"), ("Hip_R", "Root_M"))


def plans(tool_script, *records):
    return [tool_script["PlannedControl"](record) for record in records]


SWINGER = {"name": "HipSwinger_M", "type": "HipSwinger", "joint": "Root_M"}


@pytest.mark.parametrize("records, endpoint", [
    # A control on a joint just above the root (part joints aside) that carries the attribute.
    ([SWINGER, {"name": "FKTail0_M", "joint": "Tail0_M", "fitAttributes": [{"name": "hipSwinger", "value": 1}]}], "Tail0_M"),
    # Else the first joint with "spine" in its name reached through the root's part joints.
    ([SWINGER], "Spine1_M"),
])
def test_the_plan_finds_the_endpoint_and_the_parts_between(tool_script, records, endpoint):
    plan = tool_script["body_rig_plan_hip_swinger"]({"joints": SKELETON}, plans(tool_script, *records), [])
    assert (plan.root, plan.endpoint) == ("Root_M", endpoint)
    assert plan.parts == (["RootPart1_M", "RootPart2_M"] if endpoint == "Spine1_M" else [])
    assert (plan.fk_root, plan.fkx_root, plan.endpoint_offset) == ("FKRoot_M", "FKXRoot_M", "FKOffset" + endpoint)


def test_without_the_swinger_or_its_root_there_is_no_plan(tool_script):
    plan = tool_script["body_rig_plan_hip_swinger"]
    assert plan({"joints": SKELETON}, plans(tool_script, {"name": "HipSwinger_M", "type": "FK"}), []) is None
    assert plan({"joints": SKELETON}, plans(tool_script, dict(SWINGER, joint="Pelvis_M")), []) is None


@pytest.mark.parametrize("record, omitted", [
    ({"name": "HipSwingerPivot_M", "type": "IKLocalOffset"}, True), ({"name": "HipSwingerLocal_M", "type": "IKLocal"}, True),
    ({"name": "HipSwinger_M", "type": "HipSwinger"}, False), ({"name": "IKLocalLeg_R", "type": "IKLocal"}, False)])
def test_legacy_companions_are_dropped_and_the_swinger_never_is(tool_script, record, omitted):
    assert tool_script["body_rig_is_omitted_hip_swinger_control"](record) is omitted


def test_the_sample_swinger_gets_its_fkx_root_and_a_cancel_above_the_spine(editor, unreal, tool_script, hero, capsys):
    rig = tool_script["create_body_control_rig_from_json"]()
    out = capsys.readouterr().out
    assert "Planned HipSwinger: Root_M to Spine1_M through 0 Root Parts" in out
    assert "Omitted legacy HipSwinger companion controls" in out
    hierarchy = rig.hierarchy
    by_name = {str(key.name): key for key in hierarchy.get_all_keys(True)}
    assert "HipSwingerPivot_M" not in by_name
    parent = lambda name: str(hierarchy.get_first_parent(by_name[name]).name)  # noqa: E731
    assert (parent("FKXRoot_M"), parent("HipSwingSourceRoot_M"), parent("HipSwingSourceEndpoint_M")) == ("Helpers",) * 3
    assert parent("FKSpine1_M") == "FKOffsetSpine1_M" and parent("FKOffsetSpine1_M") == "MCH_HipSwingCancel_M"
    assert parent("MCH_HipSwingCancel_M") == "FKParentConstraintToRoot_M"
    # Every helper rests where what it stands in for rests.
    for helper, original in (("FKXRoot_M", "FKRoot_M"), ("FKOffsetSpine1_M", "FKSpine1_M"), ("HipSwingSourceEndpoint_M", "Spine1_M")):
        a, b = hierarchy.get_global_transform(by_name[helper], True), hierarchy.get_global_transform(by_name[original], True)
        assert (a.translation - b.translation).length() < 1e-4, helper
