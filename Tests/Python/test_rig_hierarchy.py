"""The Control Rig hierarchy and its controller as the editor's Python reaches them: queries, poses,
re-parenting, removal, control values and settings, animation channels and preferred Euler angles."""

import itertools

import pytest

_names = itertools.count()


def near(a, b, tolerance=1e-6):
    return abs(a - b) <= tolerance


def vector_near(vector, expected, tolerance=1e-6):
    return all(near(getattr(vector, axis), value, tolerance) for axis, value in zip("xyz", expected))


@pytest.fixture
def rig(unreal):
    hierarchy = unreal.new_object(unreal.RigHierarchy, name="Hierarchy%d" % next(_names))
    return hierarchy, hierarchy.get_controller()


def key(unreal, type_name, name):
    return unreal.RigElementKey(type=getattr(unreal.RigElementType, type_name), name=name)


def at(unreal, x=0.0, y=0.0, z=0.0, yaw=0.0):
    return unreal.Transform(location=unreal.Vector(x, y, z), rotation=unreal.Rotator(yaw=yaw))


def control_settings(unreal, control_type, **fields):
    settings = unreal.RigControlSettings()
    settings.control_type = control_type
    for name, value in fields.items():
        setattr(settings, name, value)
    return settings


def add_chain(unreal, controller):
    """Root (0,0,100) > Spine (0,0,150) > Head (0,0,180) as bones, and a null below Root."""
    root = controller.add_bone("Root", unreal.RigElementKey(), at(unreal, z=100), True)
    spine = controller.add_bone("Spine", root, at(unreal, z=150), True)
    head = controller.add_bone("Head", spine, at(unreal, z=180))
    space = controller.add_null("Space", root, at(unreal, x=20), transform_in_global=False)
    return root, spine, head, space


class TestElementKey:
    def test_defaults_and_fields(self, unreal):
        empty = unreal.RigElementKey()
        assert empty.type == unreal.RigElementType.NONE and empty.name.is_none()
        assert [member.name for member in unreal.RigElementType] == [
            "NONE", "BONE", "NULL", "CONTROL", "CURVE", "REFERENCE", "CONNECTOR", "SOCKET", "ALL"]

    def test_hidden_enumerators_are_no_members_but_their_values_read_back(self, unreal):
        assert not hasattr(unreal.RigControlType, "TRANSFORM")
        assert "TRANSFORM" not in [member.name for member in unreal.RigControlType]
        settings = unreal.RigControlSettings()
        settings.control_type = 7
        assert settings.control_type.value == 7 and settings.control_type.name == "TRANSFORM"
        with pytest.raises(ValueError):
            settings.control_type = 99

    def test_names_compare_and_hash_without_case(self, unreal):
        a, b = key(unreal, "BONE", "Spine_M"), key(unreal, "BONE", "SPINE_m")
        assert a == b and hash(a) == hash(b)
        assert len({a, b}) == 1 and {a: 1}[b] == 1
        assert a != key(unreal, "NULL", "Spine_M"), "the type is part of the key"


class TestQueries:
    def test_keys_indices_and_family(self, unreal, rig):
        hierarchy, controller = rig
        root, spine, head, space = add_chain(unreal, controller)
        ctrl = controller.add_control("Ctrl", space, control_settings(unreal, unreal.RigControlType.FLOAT),
                                      unreal.RigHierarchy.make_control_value_from_float(0.0))
        assert hierarchy.num() == 5 and hierarchy.contains(head) and hierarchy.get_index(space) == 3
        assert hierarchy.get_all_keys(traverse=False) == [root, spine, head, space, ctrl]
        assert hierarchy.get_all_keys() == [root, spine, head, space, ctrl]
        assert hierarchy.get_bones() == [root, spine, head]
        assert hierarchy.get_nulls() == [space] and hierarchy.get_controls() == [ctrl]
        assert hierarchy.get_first_parent(head) == spine
        assert hierarchy.get_parents(head) == [spine]
        assert hierarchy.get_parents(head, recursive=True) == [spine, root]
        assert hierarchy.get_children(root) == [spine, space]
        assert hierarchy.get_children(root, True) == [spine, head, space, ctrl]
        assert controller.get_hierarchy() == hierarchy and hierarchy.get_controller() == controller

    def test_traversal_lists_parents_before_children(self, unreal, rig):
        hierarchy, controller = rig
        late_parent = controller.add_null("Late", unreal.RigElementKey(), at(unreal))
        child = controller.add_null("Child", unreal.RigElementKey(), at(unreal))
        parent = controller.add_null("Parent", unreal.RigElementKey(), at(unreal))
        assert controller.set_parent(child, parent)
        assert hierarchy.get_all_keys(True) == [late_parent, parent, child]
        assert hierarchy.get_all_keys(False) == [late_parent, child, parent]

    def test_unknown_keys_give_empty_answers(self, unreal, rig):
        hierarchy, controller = rig
        missing = key(unreal, "BONE", "Missing")
        assert not hierarchy.contains(missing) and hierarchy.get_index(missing) == -1
        assert hierarchy.get_parents(missing) == [] and hierarchy.get_children(missing) == []
        assert hierarchy.get_first_parent(missing) == unreal.RigElementKey()
        assert vector_near(hierarchy.get_global_transform(missing).translation, (0, 0, 0))
        hierarchy.set_global_transform(missing, at(unreal, x=1))
        assert hierarchy.num() == 0
        assert not controller.remove_element(missing)
        assert not controller.set_parent(missing, unreal.RigElementKey())
        assert controller.rename_element(missing, "Other") == unreal.RigElementKey()


class TestPoses:
    @pytest.mark.parametrize("initial", [True, False])
    def test_children_follow_their_parent(self, unreal, rig, initial):
        hierarchy, controller = rig
        root, spine, head, _ = add_chain(unreal, controller)
        hierarchy.set_global_transform(root, at(unreal, x=50, z=100, yaw=90), initial)
        assert vector_near(hierarchy.get_global_transform(spine, initial).translation, (50, 0, 150))
        assert vector_near(hierarchy.get_global_transform(head, initial).translation, (50, 0, 180))
        assert vector_near(hierarchy.get_local_transform(spine, initial).translation, (0, 0, 50))
        other = not initial
        assert vector_near(hierarchy.get_global_transform(head, other).translation, (0, 0, 180)), "the other pose stays"

    @pytest.mark.parametrize("initial", [True, False])
    def test_without_affect_children_the_children_stay(self, unreal, rig, initial):
        hierarchy, controller = rig
        root, spine, head, space = add_chain(unreal, controller)
        hierarchy.set_global_transform(root, at(unreal, x=50, yaw=45), initial, affect_children=False)
        assert vector_near(hierarchy.get_global_transform(spine, initial).translation, (0, 0, 150))
        assert vector_near(hierarchy.get_global_transform(space, initial).translation, (20, 0, 100))
        assert vector_near(hierarchy.get_global_transform(head, initial).translation, (0, 0, 180))
        hierarchy.set_local_transform(spine, at(unreal, z=10), initial, False, print_python_commands=False)
        assert vector_near(hierarchy.get_global_transform(head, initial).translation, (0, 0, 180))

    def test_python_flags_are_spelled_as_the_engine_spells_them(self, unreal, rig):
        hierarchy, controller = rig
        root = controller.add_bone("Root", unreal.RigElementKey(), at(unreal), True)
        hierarchy.set_global_transform(root, at(unreal), print_python_command=False, setup_undo=False)
        hierarchy.set_local_transform(root, at(unreal), print_python_commands=False)
        with pytest.raises(TypeError):
            hierarchy.set_global_transform(root, at(unreal), print_python_commands=False)
        with pytest.raises(TypeError):
            hierarchy.set_local_transform(root, at(unreal), print_python_command=False)


class TestParenting:
    @pytest.mark.parametrize("maintain, expected_global", [(True, (0, 0, 180)), (False, (100, 0, 30))])
    def test_set_parent_keeps_the_global_or_the_local_transform(self, unreal, rig, maintain, expected_global):
        hierarchy, controller = rig
        _, spine, head, _ = add_chain(unreal, controller)
        anchor = controller.add_null("Anchor", unreal.RigElementKey(), at(unreal, x=100))
        assert controller.set_parent(head, anchor, maintain)
        assert hierarchy.get_first_parent(head) == anchor
        for initial in (True, False):
            assert vector_near(hierarchy.get_global_transform(head, initial).translation, expected_global)

    def test_a_control_keeps_its_value_and_its_offset_stays_in_place(self, unreal, rig):
        hierarchy, controller = rig
        anchor = controller.add_null("Anchor", unreal.RigElementKey(), at(unreal, x=100))
        ctrl = controller.add_control("Ctrl", unreal.RigElementKey(), control_settings(unreal, unreal.RigControlType.POSITION),
                                      unreal.RigHierarchy.make_control_value_from_vector(unreal.Vector(0, 0, 5)))
        hierarchy.set_control_offset_transform(ctrl, at(unreal, y=10), initial=True)
        assert controller.set_parent(ctrl, anchor, True)
        assert vector_near(hierarchy.get_global_control_offset_transform(ctrl).translation, (0, 10, 0))
        assert vector_near(hierarchy.get_global_transform(ctrl).translation, (0, 10, 5))
        value = hierarchy.get_control_value(ctrl)
        assert vector_near(unreal.RigHierarchy.get_vector_from_control_value(value), (0, 0, 5))

    def test_an_element_cannot_move_below_itself(self, unreal, rig):
        hierarchy, controller = rig
        root, _, head, _ = add_chain(unreal, controller)
        assert not controller.set_parent(root, head)
        assert not controller.set_parent(root, root)
        assert hierarchy.get_first_parent(root) == unreal.RigElementKey()
        assert controller.set_parent(head, unreal.RigElementKey()), "an empty parent makes a root"
        assert hierarchy.get_first_parent(head) == unreal.RigElementKey()

    def test_removal_moves_children_to_the_removed_elements_parent(self, unreal, rig):
        hierarchy, controller = rig
        root, spine, head, space = add_chain(unreal, controller)
        hierarchy.set_local_transform(spine, at(unreal, z=50, yaw=30))
        before = hierarchy.get_global_transform(head)
        assert controller.remove_element(spine)
        assert not hierarchy.contains(spine) and hierarchy.num() == 3
        assert hierarchy.get_first_parent(head) == root
        assert hierarchy.get_global_transform(head) == before
        assert hierarchy.get_index(space) == 2 and hierarchy.get_first_parent(space) == root
        assert not controller.remove_element(spine), "it is gone"

    def test_rename_and_display_name(self, unreal, rig):
        hierarchy, controller = rig
        root, spine, head, _ = add_chain(unreal, controller)
        renamed = controller.rename_element(spine, "Chest")
        assert renamed == key(unreal, "BONE", "Chest") and hierarchy.contains(renamed) and not hierarchy.contains(spine)
        assert hierarchy.get_first_parent(head) == renamed
        assert controller.rename_element(renamed, "Root") == unreal.RigElementKey(), "the name is taken"
        assert controller.rename_element(renamed, "CHEST") == key(unreal, "BONE", "CHEST"), "a change of case is a rename"
        ctrl = controller.add_control("Ctrl", root, control_settings(unreal, unreal.RigControlType.FLOAT), unreal.RigControlValue())
        assert controller.set_display_name(ctrl, "Nice Name") == "Nice Name"
        assert controller.get_control_settings(ctrl).display_name == "Nice Name"
        assert controller.set_display_name(root, "Bone").is_none(), "only controls have display names"


VALUE_CASES = [
    ("FLOAT", "make_control_value_from_float", "get_float_from_control_value", 2.5, lambda a, b: a == b),
    ("INTEGER", "make_control_value_from_int", "get_int_from_control_value", 7, lambda a, b: a == b),
    ("VECTOR2D", "make_control_value_from_vector2d", "get_vector2d_from_control_value", (1.5, -2.0),
     lambda a, b: (a.x, a.y) == b),
    ("POSITION", "make_control_value_from_vector", "get_vector_from_control_value", (1.0, 2.0, 3.0),
     lambda a, b: (a.x, a.y, a.z) == b),
    ("ROTATOR", "make_control_value_from_rotator", "get_rotator_from_control_value", (10.0, 20.0, 270.0),
     lambda a, b: (a.roll, a.pitch, a.yaw) == b),
    ("EULER_TRANSFORM", "make_control_value_from_euler_transform", "get_euler_transform_from_control_value", (1.0, 200.0),
     lambda a, b: (a.location.x, a.rotation.yaw) == b),
]


def make_input(unreal, control_type, raw):
    if control_type == "VECTOR2D":
        return unreal.Vector2D(*raw)
    if control_type == "POSITION":
        return unreal.Vector(*raw)
    if control_type == "ROTATOR":
        return unreal.Rotator(*raw)
    if control_type == "EULER_TRANSFORM":
        return unreal.EulerTransform(location=unreal.Vector(raw[0], 0, 0), rotation=unreal.Rotator(yaw=raw[1]))
    return raw


class TestControls:
    @pytest.mark.parametrize("control_type, maker, getter, raw, same", VALUE_CASES, ids=[case[0] for case in VALUE_CASES])
    def test_values_round_trip_by_type(self, unreal, rig, control_type, maker, getter, raw, same):
        hierarchy, controller = rig
        make = getattr(unreal.RigHierarchy, maker)
        read = getattr(unreal.RigHierarchy, getter)
        value = make(make_input(unreal, control_type, raw))
        assert same(read(value), raw)
        ctrl = controller.add_control("Ctrl", unreal.RigElementKey(), control_settings(unreal, getattr(unreal.RigControlType, control_type)), value)
        assert same(read(hierarchy.get_control_value(ctrl, unreal.RigControlValueType.INITIAL)), raw)
        assert same(read(hierarchy.get_control_value(ctrl)), raw)
        hierarchy.set_control_value(ctrl, unreal.RigControlValue(), unreal.RigControlValueType.CURRENT)
        assert same(read(hierarchy.get_control_value(ctrl, value_type=unreal.RigControlValueType.INITIAL)), raw), "only the current value changed"

    def test_a_value_moves_the_control_and_its_children(self, unreal, rig):
        hierarchy, controller = rig
        ctrl = controller.add_control("Ctrl", unreal.RigElementKey(), control_settings(unreal, unreal.RigControlType.EULER_TRANSFORM),
                                      unreal.RigHierarchy.make_control_value_from_euler_transform(unreal.EulerTransform()))
        child = controller.add_null("Child", ctrl, at(unreal, x=1), transform_in_global=False)
        hierarchy.set_control_offset_transform(ctrl, at(unreal, z=10), initial=True)
        hierarchy.set_control_value(ctrl, unreal.RigHierarchy.make_control_value_from_euler_transform(
            unreal.EulerTransform(location=unreal.Vector(0, 5, 0))))
        assert vector_near(hierarchy.get_global_transform(ctrl).translation, (0, 5, 10))
        assert vector_near(hierarchy.get_global_transform(ctrl, True).translation, (0, 0, 10))
        assert vector_near(hierarchy.get_global_transform(child).translation, (1, 5, 10))
        hierarchy.set_global_transform(ctrl, at(unreal, x=3, z=10))
        euler = unreal.RigHierarchy.get_euler_transform_from_control_value(hierarchy.get_control_value(ctrl))
        assert vector_near(euler.location, (3, 0, 0)), "a moved control stores the move as its value"
        assert vector_near(hierarchy.get_global_control_offset_transform(ctrl).translation, (0, 0, 10))

    def test_limits_clamp_values_and_minimum_maximum_are_the_settings_limits(self, unreal, rig):
        hierarchy, controller = rig
        settings = control_settings(unreal, unreal.RigControlType.FLOAT,
                                    limit_enabled=[unreal.RigControlLimitEnabled(True, True)],
                                    minimum_value=unreal.RigHierarchy.make_control_value_from_float(-1.0),
                                    maximum_value=unreal.RigHierarchy.make_control_value_from_float(1.0))
        ctrl = controller.add_control("Ctrl", unreal.RigElementKey(), settings, unreal.RigHierarchy.make_control_value_from_float(5.0))
        as_float = unreal.RigHierarchy.get_float_from_control_value
        assert as_float(hierarchy.get_control_value(ctrl)) == 1.0
        hierarchy.set_control_value(ctrl, unreal.RigHierarchy.make_control_value_from_float(-3.0))
        assert as_float(hierarchy.get_control_value(ctrl)) == -1.0
        hierarchy.set_control_value(ctrl, unreal.RigHierarchy.make_control_value_from_float(4.0), unreal.RigControlValueType.MAXIMUM)
        assert as_float(hierarchy.get_control_value(ctrl, unreal.RigControlValueType.MAXIMUM)) == 4.0
        assert as_float(controller.get_control_settings(ctrl).maximum_value) == 4.0
        hierarchy.set_control_value(ctrl, unreal.RigHierarchy.make_control_value_from_float(3.0))
        assert as_float(hierarchy.get_control_value(ctrl)) == 3.0
        only_min = unreal.RigControlLimitEnabled(True, False)
        assert (only_min.minimum, only_min.maximum) == (True, False)

    def test_settings_round_trip_through_both_setters(self, unreal, rig):
        hierarchy, controller = rig
        ctrl = controller.add_control("Ctrl", unreal.RigElementKey(), control_settings(unreal, unreal.RigControlType.POSITION),
                                      unreal.RigControlValue())
        settings = control_settings(unreal, unreal.RigControlType.POSITION, display_name="Pretty", shape_name="Circle_Thin",
                                    shape_color=unreal.LinearColor(0, 1, 0, 1), shape_visible=False, draw_limits=False,
                                    primary_axis=unreal.RigControlAxis.Z, is_transient_control=True,
                                    shape_visibility=unreal.RigControlVisibility.BASED_ON_SELECTION,
                                    preferred_rotation_order=unreal.EulerRotationOrder.ZYX, use_preferred_rotation_order=True,
                                    limit_enabled=[unreal.RigControlLimitEnabled(True, True)] * 3)
        assert controller.set_control_settings(ctrl, settings)
        assert controller.get_control_settings(ctrl) == settings
        settings.shape_name = "Square"
        hierarchy.set_control_settings(ctrl, settings, setup_undo=False, force=False, print_python_commands=False)
        assert controller.get_control_settings(ctrl).shape_name == "Square"
        hierarchy.set_control_visibility(ctrl, True)
        assert controller.get_control_settings(ctrl).shape_visible is True
        assert not controller.set_control_settings(key(unreal, "CONTROL", "Missing"), settings)

    def test_default_settings_and_limit_channels(self, unreal, rig):
        hierarchy, controller = rig
        settings = unreal.RigControlSettings()
        assert settings.control_type == unreal.RigControlType.EULER_TRANSFORM
        assert settings.animation_type == unreal.RigControlAnimationType.ANIMATION_CONTROL
        assert settings.shape_visible is True and settings.shape_name == "Default"
        assert (settings.shape_color.r, settings.shape_color.a) == (1.0, 1.0)
        assert not hasattr(unreal.RigControlValue(), "float_storage"), "the raw storage is not for scripts"
        ctrl = controller.add_control("Ctrl", unreal.RigElementKey(), control_settings(unreal, unreal.RigControlType.VECTOR2D), unreal.RigControlValue())
        assert len(controller.get_control_settings(ctrl).limit_enabled) == 2, "one limit per channel of the type"

    def test_shape_and_offset_transforms(self, unreal, rig):
        hierarchy, controller = rig
        parent = controller.add_null("Parent", unreal.RigElementKey(), at(unreal, x=100))
        ctrl = controller.add_control("Ctrl", parent, control_settings(unreal, unreal.RigControlType.EULER_TRANSFORM),
                                      unreal.RigControlValue())
        hierarchy.set_control_offset_transform(ctrl, at(unreal, y=10), True)
        assert vector_near(hierarchy.get_global_control_offset_transform(ctrl, False).translation, (100, 10, 0)), "the initial offset sets the current one"
        hierarchy.set_control_offset_transform(ctrl, at(unreal, y=20), False)
        assert vector_near(hierarchy.get_global_control_offset_transform(ctrl, True).translation, (100, 10, 0))
        hierarchy.set_control_shape_transform(ctrl, at(unreal, z=3), initial=True)
        assert vector_near(hierarchy.get_local_control_shape_transform(ctrl, False).translation, (0, 0, 3))
        assert vector_near(hierarchy.get_global_control_shape_transform(ctrl, False).translation, (100, 20, 3))
        assert vector_near(hierarchy.get_global_control_shape_transform(ctrl, True).translation, (100, 10, 3))


class TestChannels:
    def test_a_channel_is_an_animation_channel_control_below_its_control(self, unreal, rig):
        hierarchy, controller = rig
        ctrl = controller.add_control("Foot", unreal.RigElementKey(), control_settings(unreal, unreal.RigControlType.EULER_TRANSFORM),
                                      unreal.RigControlValue())
        channel = controller.add_animation_channel("Roll", ctrl, control_settings(unreal, unreal.RigControlType.FLOAT))
        assert channel == key(unreal, "CONTROL", "Roll")
        assert hierarchy.get_first_parent(channel) == ctrl and channel in hierarchy.get_controls()
        settings = controller.get_control_settings(channel)
        assert settings.animation_type == unreal.RigControlAnimationType.ANIMATION_CHANNEL
        assert settings.control_type == unreal.RigControlType.FLOAT
        assert unreal.RigHierarchy.get_float_from_control_value(hierarchy.get_control_value(channel)) == 0.0

    def test_a_channel_needs_a_control_parent(self, unreal, rig):
        hierarchy, controller = rig
        bone = controller.add_bone("Bone", unreal.RigElementKey(), at(unreal), True)
        assert controller.add_animation_channel("Roll", bone, unreal.RigControlSettings()) == unreal.RigElementKey()
        assert controller.add_animation_channel("Roll", key(unreal, "CONTROL", "Missing"), unreal.RigControlSettings()) == unreal.RigElementKey()
        assert hierarchy.num() == 1


class TestPreferredEulerAngles:
    def test_angles_keep_their_winding_in_their_own_order(self, unreal, rig):
        hierarchy, controller = rig
        ctrl = controller.add_control("Ctrl", unreal.RigElementKey(), control_settings(unreal, unreal.RigControlType.EULER_TRANSFORM),
                                      unreal.RigControlValue())
        order = hierarchy.get_control_preferred_euler_rotation_order(ctrl)
        assert order == unreal.EulerRotationOrder.YZX
        hierarchy.set_control_preferred_euler_angles(ctrl, unreal.Vector(10, 20, 270), order)
        assert vector_near(hierarchy.get_control_preferred_euler_angles(ctrl, order), (10, 20, 270))
        assert vector_near(hierarchy.get_control_preferred_euler_angles(ctrl, order, True), (0, 0, 0)), "the initial pose is apart"

    @pytest.mark.parametrize("other", ["XYZ", "XZY", "YXZ", "ZXY", "ZYX"])
    def test_angles_in_another_order_describe_the_same_rotation(self, unreal, rig, other):
        hierarchy, controller = rig
        ctrl = controller.add_control("Ctrl", unreal.RigElementKey(), control_settings(unreal, unreal.RigControlType.EULER_TRANSFORM),
                                      unreal.RigControlValue())
        own = unreal.EulerRotationOrder.YZX
        hierarchy.set_control_preferred_euler_angles(ctrl, unreal.Vector(10, 20, 30), own)
        converted = hierarchy.get_control_preferred_euler_angles(ctrl, getattr(unreal.EulerRotationOrder, other))
        hierarchy.set_control_preferred_euler_angles(ctrl, converted, getattr(unreal.EulerRotationOrder, other))
        assert vector_near(hierarchy.get_control_preferred_euler_angles(ctrl, own), (10, 20, 30), 1e-6)

    def test_a_rotator_value_sets_the_angles_in_xyz_as_roll_pitch_yaw(self, unreal, rig):
        hierarchy, controller = rig
        settings = control_settings(unreal, unreal.RigControlType.ROTATOR, preferred_rotation_order=unreal.EulerRotationOrder.XYZ)
        ctrl = controller.add_control("Ctrl", unreal.RigElementKey(), settings,
                                      unreal.RigHierarchy.make_control_value_from_rotator(unreal.Rotator(10, 20, 200)))
        assert hierarchy.get_control_preferred_euler_rotation_order(ctrl) == unreal.EulerRotationOrder.XYZ
        assert vector_near(hierarchy.get_control_preferred_euler_angles(ctrl, unreal.EulerRotationOrder.XYZ), (10, 20, 200))

    def test_fixing_flips_winds_toward_the_previous_angles(self, unreal, rig):
        hierarchy, controller = rig
        ctrl = controller.add_control("Ctrl", unreal.RigElementKey(), control_settings(unreal, unreal.RigControlType.EULER_TRANSFORM),
                                      unreal.RigControlValue())
        order = unreal.EulerRotationOrder.YZX
        hierarchy.set_control_preferred_euler_angles(ctrl, unreal.Vector(0, 0, 170), order)
        hierarchy.set_control_preferred_euler_angles(ctrl, unreal.Vector(0, 0, -170), order, fix_euler_flips=True)
        assert vector_near(hierarchy.get_control_preferred_euler_angles(ctrl, order), (0, 0, 190))


def test_import_bones_without_a_skeleton_imports_nothing(unreal, rig):
    hierarchy, controller = rig
    assert controller.import_bones(None) == []
    assert hierarchy.num() == 0


def test_a_long_chain_placed_by_globals_keeps_its_locals(unreal, rig):
    hierarchy, controller = rig
    # Four hundred bones, each turned a little from its parent and placed by its global transform,
    # as a skeleton import places them: the locals read back are the ones the chain was made of.
    local = unreal.Transform(location=unreal.Vector(8.5, 0.01, 0.0), rotation=unreal.Rotator(roll=0.3, pitch=0.2, yaw=0.7))
    parent, global_ = unreal.RigElementKey(), unreal.Transform()
    for index in range(400):
        global_ = local * global_
        parent = controller.add_bone("Link%d" % index, parent, global_, True)
    deepest = hierarchy.get_local_transform(parent, True)
    assert all(near(getattr(deepest.rotation, c), getattr(local.rotation, c), 1e-9) for c in "xyzw")
    assert vector_near(deepest.translation, (8.5, 0.01, 0.0), 1e-6)
    rotation = hierarchy.get_global_transform(parent, True).rotation
    assert near(rotation.x ** 2 + rotation.y ** 2 + rotation.z ** 2 + rotation.w ** 2, 1.0, 1e-12)
