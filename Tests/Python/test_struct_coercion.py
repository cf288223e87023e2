"""Where a struct is expected, scripts may give a tuple or list (the struct constructor's positional
arguments) or a dict (its keyword arguments) in its place: for a struct property, a function
parameter, a constructor argument, an array element, and nested inside one another."""

import pytest


def near(a, b, tolerance=1e-9):
    return abs(a - b) <= tolerance


def vector_near(vector, expected, tolerance=1e-9):
    return all(near(getattr(vector, axis), value, tolerance) for axis, value in zip("xyz", expected))


@pytest.fixture
def hierarchy(unreal):
    unreal.load_module("ControlRig")
    return unreal.new_object(unreal.RigHierarchy)


class TestInPlaceOfAStruct:
    @pytest.mark.parametrize("given", [[4, 5, 6], (4, 5, 6)])
    def test_a_sequence_gives_the_fields_in_order(self, unreal, given):
        transform = unreal.Transform()
        transform.translation = given
        assert vector_near(transform.translation, (4, 5, 6))

    def test_a_dict_gives_fields_by_name_and_leaves_the_rest_at_their_defaults(self, unreal):
        transform = unreal.Transform()
        transform.translation = {"z": 3, "x": 1}
        assert vector_near(transform.translation, (1, 0, 3))

    def test_a_shorter_sequence_leaves_the_later_fields_at_their_defaults(self, unreal):
        transform = unreal.Transform()
        transform.translation = [7]
        assert vector_near(transform.translation, (7, 0, 0))

    def test_a_make_function_struct_takes_the_make_functions_parameters(self, unreal):
        # Transform's make function takes (location, rotation, scale); Rotator's fields are roll, pitch, yaw.
        # Composed with the identity, a transform stays as it is.
        compose = unreal.MathLibrary.compose_transforms
        made = compose([[1, 2, 3], [0, 0, 90], [2, 2, 2]], unreal.Transform())
        assert vector_near(made.translation, (1, 2, 3))
        assert near(made.rotation.rotator().yaw, 90)
        assert vector_near(made.scale3d, (2, 2, 2))
        by_name = compose({"scale": {"x": 3, "y": 3, "z": 3}, "location": (0, 0, 10)}, unreal.Transform())
        assert vector_near(by_name.translation, (0, 0, 10)) and vector_near(by_name.scale3d, (3, 3, 3))

    def test_a_constructor_argument_converts(self, unreal):
        assert vector_near(unreal.Transform(location=[1, 2, 3]).translation, (1, 2, 3))
        key = unreal.RigElementKey(**{"type": unreal.RigElementType.BONE, "name": "root"})
        assert key.type == unreal.RigElementType.BONE and key.name == "root"

    def test_a_function_parameter_converts(self, unreal):
        composed = unreal.MathLibrary.compose_transforms([[1, 0, 0]], {"location": [0, 1, 0]})
        assert vector_near(composed.translation, (1, 1, 0))

    def test_each_element_of_a_struct_array_converts(self, unreal):
        asset = unreal.new_object(unreal.VNFaceRigDataAsset)
        asset.drivers = [{"control_name": "Brow_L"}, {"control_name": "Brow_R"}]
        assert [driver.control_name for driver in asset.drivers] == ["Brow_L", "Brow_R"]


class TestRefused:
    @pytest.mark.parametrize("given, message", [
        ([1, 2, 3, 4], "at most 3"),
        ({"w": 1}, "no property 'w'"),
        (None, "Cannot nativize 'NoneType'"),
        ("123", "Cannot nativize 'str'"),
        (7, "Cannot nativize 'int'"),
    ])
    def test_what_cannot_be_the_struct_is_a_type_error(self, unreal, given, message):
        transform = unreal.Transform(location=[1, 2, 3])
        with pytest.raises(TypeError, match=message):
            transform.translation = given
        assert vector_near(transform.translation, (1, 2, 3)), "a refused value leaves the property as it was"

    def test_too_many_make_function_arguments_or_an_unknown_one_is_a_type_error(self, unreal):
        with pytest.raises(TypeError):
            unreal.Transform([[1, 2, 3], [0, 0, 0], [1, 1, 1], [5]])
        with pytest.raises(TypeError):
            unreal.MathLibrary.compose_transforms({"position": [1, 0, 0]}, unreal.Transform())

    def test_a_bad_nested_item_refuses_the_whole_value(self, unreal):
        transform = unreal.Transform(location=[1, 2, 3])
        with pytest.raises(TypeError, match="Cannot nativize 'str'"):
            transform.translation = [1, "two", 3]
        assert vector_near(transform.translation, (1, 2, 3))

    def test_an_unknown_keyword_of_a_struct_constructor_is_a_type_error(self, unreal):
        with pytest.raises(TypeError, match="no property 'w'"):
            unreal.Vector(w=1)


class TestThroughTheRigHierarchy:
    def test_a_list_places_a_new_null_and_moves_it(self, unreal, hierarchy):
        controller = hierarchy.get_controller()
        null = controller.add_null("N", unreal.RigElementKey(), [[0, 0, 10]])
        assert vector_near(hierarchy.get_global_transform(null).translation, (0, 0, 10))
        hierarchy.set_global_transform(null, [[1, 2, 3]])
        assert vector_near(hierarchy.get_global_transform(null).translation, (1, 2, 3))

    def test_a_dict_names_an_element(self, unreal, hierarchy):
        controller = hierarchy.get_controller()
        controller.add_bone("root", unreal.RigElementKey(), unreal.Transform())
        assert hierarchy.contains({"type": unreal.RigElementType.BONE, "name": "root"})
        assert not hierarchy.contains({"type": unreal.RigElementType.NULL, "name": "root"})
        with pytest.raises(TypeError, match="Cannot nativize 'NoneType'"):
            hierarchy.contains(None)
