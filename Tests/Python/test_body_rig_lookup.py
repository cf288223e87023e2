"""The body builders' shared names and the element lookup: the safe-name rule, and RigElements.find
answering exactly what a full scan of the hierarchy answers, through edits made through it and around
it, while making a constant number of editor calls."""

import random

import pytest

TYPES = (None, "bone", "null", "control")


@pytest.fixture
def rig(editor, unreal):
    unreal.load_module("ControlRigDeveloper")
    return unreal.ControlRigBlueprintFactory.create_new_control_rig_asset(desired_package_path="/Game/Rigs/Lookup")


def full_scan(hierarchy, name, element_type=None):
    for key in hierarchy.get_all_keys(True):
        if str(key.name) == name and (element_type is None or element_type in str(key.type).lower()):
            return key
    return None


def same_key(a, b):
    if a is None or b is None:
        return a is None and b is None
    return a.type == b.type and str(a.name) == str(b.name)


class CountingHierarchy:
    """A hierarchy that counts every call made into it."""

    def __init__(self, hierarchy):
        self._hierarchy, self.calls = hierarchy, []

    def __getattr__(self, name):
        method = getattr(self._hierarchy, name)

        def counted(*args, **kwargs):
            self.calls.append(name)
            return method(*args, **kwargs)
        return counted


@pytest.mark.parametrize("value, fallback, expected", [
    ("Arm L.01", "Body", "Arm_L_01"),
    ("a--b  c", "Body", "a_b_c"),
    ("__Spine__", "Body", "Spine"),
    ("FK_Leg_L", "Body", "FK_Leg_L"),
    ("!!!", "Body", "Body"),
    ("", "Face", "Face"),
    (None, "Body", "Body"),
    (12, "Body", "12"),
])
def test_safe_name_joins_runs_of_other_characters_into_one_underscore(tool_script, value, fallback, expected):
    assert tool_script["body_rig_safe_name"](value, fallback) == expected


def make_mixed_hierarchy(unreal, rig, size):
    """Bones in a chain, a null and a control per bone, some sharing the bones' names."""
    hierarchy, controller = rig.hierarchy, rig.get_hierarchy_controller()
    identity = unreal.Transform()
    parent = unreal.RigElementKey()
    for index in range(size):
        parent = controller.add_bone("Joint%d" % index, parent, identity)
    for index in range(0, size, 3):
        bone = unreal.RigElementKey(type=unreal.RigElementType.BONE, name="Joint%d" % index)
        controller.add_null("Joint%d" % index, bone, identity)
        controller.add_control("Ctrl%d" % index, bone, unreal.RigControlSettings(), unreal.RigControlValue())
    return hierarchy, controller


def test_lookup_matches_a_full_scan_through_edits_made_through_it_and_around_it(tool_script, unreal, rig):
    hierarchy, controller = make_mixed_hierarchy(unreal, rig, 12)
    elements = tool_script["RigElements"](hierarchy, controller)
    identity = unreal.Transform()
    names = ["Joint%d" % i for i in range(14)] + ["Ctrl%d" % i for i in range(14)] + ["Renamed%d" % i for i in range(40)] + ["Nope"]
    rng = random.Random(7)

    def check():
        for name in names:
            for element_type in TYPES:
                assert same_key(elements.find(name, element_type), full_scan(hierarchy, name, element_type)), (name, element_type)

    check()
    for step in range(40):
        keys = list(hierarchy.get_all_keys(True))
        key = rng.choice(keys)
        action = step % 5
        # Most edits go through the elements, the others straight to the controller.
        editor = elements if rng.random() < 0.7 else controller
        if action == 0:
            # A null named like an existing element, under a random parent: the shared name's order may change.
            editor.add_null(rng.choice(names[:28]), rng.choice(keys), identity)
        elif action == 1:
            editor.add_null("Renamed%d" % step, rng.choice(keys), identity)
        elif action == 2:
            assert editor.remove_element(key)
        elif action == 3:
            # A rename to a name is only seen when it goes through the elements.
            elements.rename_element(key, "Renamed%d" % step)
        else:
            elements.set_parent(key, rng.choice(keys), True)
        check()


def test_shared_names_follow_traversal_order_through_additions_and_reparenting(tool_script, unreal, rig):
    hierarchy, controller = rig.hierarchy, rig.get_hierarchy_controller()
    elements = tool_script["RigElements"](hierarchy, controller)
    identity = unreal.Transform()
    root = controller.add_bone("J0", unreal.RigElementKey(), identity)
    deep = controller.add_bone("J2", controller.add_bone("J1", root, identity), identity)
    control = controller.add_control("Shared", root, unreal.RigControlSettings(), unreal.RigControlValue())
    assert same_key(elements.find("Shared"), control)
    # A null added later but under a deeper bone comes first in traversal order.
    null = elements.add_null("Shared", deep, identity)
    assert same_key(elements.find("Shared"), null)
    assert elements.set_parent(null, control, True)
    assert same_key(elements.find("Shared"), control)
    assert same_key(elements.find("Shared", "null"), null)


def test_lookup_after_a_rename_around_it_does_not_return_the_old_element(tool_script, unreal, rig):
    hierarchy, controller = make_mixed_hierarchy(unreal, rig, 3)
    elements = tool_script["RigElements"](hierarchy, controller)
    old = elements.find("Ctrl0", "control")
    assert old is not None
    controller.rename_element(old, "Moved")
    assert elements.find("Ctrl0", "control") is None


def test_refused_edits_change_nothing_in_the_index(tool_script, unreal, rig):
    hierarchy, controller = make_mixed_hierarchy(unreal, rig, 3)
    counting = CountingHierarchy(hierarchy)
    elements = tool_script["RigElements"](counting, controller)
    assert elements.find("Joint0", "bone") is not None
    missing = unreal.RigElementKey(type=unreal.RigElementType.NULL, name="Nope")
    assert not elements.remove_element(missing)
    assert elements.find("Joint1", "bone") is not None
    assert counting.calls.count("get_all_keys") == 1


@pytest.mark.parametrize("name, element_type", [("Joint3", None), ("Joint3", "null"), ("Joint4", "control"), ("Nope", None)])
def test_a_lookup_costs_the_same_few_calls_whatever_the_hierarchy_size(tool_script, unreal, rig, name, element_type):
    hierarchy, controller = make_mixed_hierarchy(unreal, rig, 300)
    counting = CountingHierarchy(hierarchy)
    elements = tool_script["RigElements"](counting, controller)
    elements.find(name, element_type)
    assert counting.calls.count("get_all_keys") == 1
    del counting.calls[:]
    for _ in range(50):
        assert same_key(elements.find(name, element_type), full_scan(hierarchy, name, element_type))
    assert "get_all_keys" not in counting.calls
    assert len(counting.calls) <= 2 * 50


def test_additions_through_the_elements_need_no_new_read_of_the_hierarchy(tool_script, unreal, rig):
    hierarchy, controller = make_mixed_hierarchy(unreal, rig, 5)
    counting = CountingHierarchy(hierarchy)
    elements = tool_script["RigElements"](counting, controller)
    assert elements.find("Joint0", "bone") is not None
    for index in range(30):
        key = elements.add_null("Helper%d" % index, unreal.RigElementKey(), unreal.Transform())
        assert same_key(elements.find("Helper%d" % index, "null"), key)
    assert counting.calls.count("get_all_keys") == 1


def test_empty_names_find_nothing_without_calls(tool_script, unreal, rig):
    counting = CountingHierarchy(rig.hierarchy)
    elements = tool_script["RigElements"](counting, rig.get_hierarchy_controller())
    assert elements.find("") is None
    assert elements.find(None) is None
    assert counting.calls == []
