"""The leg lock space: made under "FKSystem" at the root bone's rest transform only when the legs can
use it (a planned control follows it, both root controls are planned, "Root_M" is a bone); its graph
only then. How it moves is proven by the posing evaluation."""

import itertools

import pytest

_rig_numbers = itertools.count()


@pytest.fixture
def rig(editor, unreal):
    unreal.load_module("ControlRigDeveloper")
    rig = unreal.ControlRigBlueprintFactory.create_new_control_rig_asset("/Game/Rigs/CR_LegLock%d" % next(_rig_numbers))
    controller = rig.get_hierarchy_controller()
    root = controller.add_bone("Root_M", unreal.RigElementKey(),
                               unreal.Transform(location=unreal.Vector(0.0, 3.0, 98.0), rotation=unreal.Rotator(roll=90.0)), True)
    controller.add_null("FKSystem", unreal.RigElementKey(), unreal.Transform(), True)
    return rig, {"Root_M": root}


def plans(tool_script, follows=True, names=("FKRoot_M", "RootX_M")):
    plan = tool_script["PlannedControl"]
    return [plan({"name": name}) for name in names] + [plan({"name": "FKHip_R", "joint": "Hip_R"}, follows_leg_lock=follows)]


def test_the_space_is_made_at_the_root_only_when_the_legs_can_use_it(unreal, tool_script, rig, capsys):
    blueprint, joints = rig
    make = tool_script["body_rig_make_leg_lock_space"]
    elements = tool_script["RigElements"](blueprint.hierarchy, blueprint.get_hierarchy_controller())
    assert make(elements, plans(tool_script, follows=False), joints) == 0
    assert make(elements, plans(tool_script, names=("FKRoot_M",)), joints) == 0
    assert make(elements, plans(tool_script), {}) == 1
    space = unreal.RigElementKey(type=unreal.RigElementType.NULL, name="LegLockConstrained")
    hierarchy = blueprint.hierarchy
    assert hierarchy.get_first_parent(space) == unreal.RigElementKey(type=unreal.RigElementType.NULL, name="FKSystem")
    made, root = hierarchy.get_global_transform(space, True), hierarchy.get_global_transform(joints["Root_M"], True)
    assert (made.translation.x, made.translation.y, made.translation.z) == pytest.approx((0.0, 3.0, 98.0), abs=1e-6)
    assert abs(made.rotation.x * root.rotation.x + made.rotation.y * root.rotation.y + made.rotation.z * root.rotation.z
               + made.rotation.w * root.rotation.w) == pytest.approx(1.0, abs=1e-9)
    # Once made, it is not made again.
    assert make(elements, plans(tool_script), joints) == 0
    assert len([key for key in hierarchy.get_all_keys(True) if str(key.name) == "LegLockConstrained"]) == 1


def test_without_a_follower_the_graph_gets_no_leg_lock(tool_script, editor, unreal, rig):
    blueprint, _joints = rig
    graph = tool_script["RigGraph"](blueprint.get_controller(blueprint.get_model()))
    before = len(blueprint.get_model().get_nodes())
    assert tool_script["body_rig_add_leg_lock"](graph, plans(tool_script, follows=False), "Start.ExecuteContext", 0, 0) == \
        ("Start.ExecuteContext", 0)
    assert len(blueprint.get_model().get_nodes()) == before
