"""Engine math as the editor's Python offers it: struct constructors, and the math library's functions
as methods and operators of the math structs, checked against hand-computed values."""

import math

import pytest


def near(a, b, tolerance=1e-9):
    return abs(a - b) <= tolerance


def vector_near(vector, expected, tolerance=1e-9):
    return all(near(getattr(vector, axis), value, tolerance) for axis, value in zip("xyz", expected))


def test_vector_takes_its_components_by_position_and_by_keyword(unreal):
    assert vector_near(unreal.Vector(1, 2, 3), (1, 2, 3))
    assert vector_near(unreal.Vector(z=3, x=1), (1, 0, 3))
    with pytest.raises(TypeError):
        unreal.Vector(1, 2, 3, 4)


def test_rotator_is_made_from_roll_pitch_yaw_in_that_order(unreal):
    rotator = unreal.Rotator(10, 20, 30)
    assert (rotator.roll, rotator.pitch, rotator.yaw) == (10, 20, 30)
    assert unreal.Rotator(yaw=90).yaw == 90 and unreal.Rotator(yaw=90).pitch == 0


def test_transform_is_made_from_location_rotation_and_scale(unreal):
    transform = unreal.Transform(location=unreal.Vector(1, 2, 3), rotation=unreal.Rotator(yaw=90), scale=unreal.Vector(2, 2, 2))
    assert vector_near(transform.translation, (1, 2, 3))
    half = math.sqrt(0.5)
    assert vector_near(transform.rotation, (0, 0, half)) and near(transform.rotation.w, half)
    assert vector_near(transform.scale3d, (2, 2, 2))
    identity = unreal.Transform()
    assert vector_near(identity.scale3d, (1, 1, 1)) and near(identity.rotation.w, 1.0)
    with pytest.raises(TypeError):
        unreal.Transform(location=unreal.Vector(), no_such_argument=1)


def test_euler_transform_defaults_to_unit_scale(unreal):
    euler = unreal.EulerTransform()
    assert vector_near(euler.scale, (1, 1, 1)) and vector_near(euler.location, (0, 0, 0))
    assert unreal.EulerTransform(rotation=unreal.Rotator(yaw=200)).rotation.yaw == 200


@pytest.mark.parametrize("operation, expected", [
    (lambda a, b: a + b, (5, 7, 9)),
    (lambda a, b: a - b, (-3, -3, -3)),
    (lambda a, b: a * b, (4, 10, 18)),
    (lambda a, b: a / b, (0.25, 0.4, 0.5)),
    (lambda a, b: a * 2, (2, 4, 6)),
    (lambda a, b: a / 2, (0.5, 1, 1.5)),
    (lambda a, b: a + 1, (2, 3, 4)),
    (lambda a, b: -a, (-1, -2, -3)),
    (lambda a, b: a.add(b), (5, 7, 9)),
    (lambda a, b: a.multiply_float(3), (3, 6, 9)),
])
def test_vector_operators_and_methods(unreal, operation, expected):
    assert vector_near(operation(unreal.Vector(1, 2, 3), unreal.Vector(4, 5, 6)), expected)


def test_in_place_operators_change_the_left_operand(unreal):
    vector = unreal.Vector(1, 2, 3)
    same = vector
    vector += unreal.Vector(1, 1, 1)
    vector *= 2
    assert same is vector and vector_near(vector, (4, 6, 8))


def test_vector_products_length_and_normal(unreal):
    x, y = unreal.Vector(1, 0, 0), unreal.Vector(0, 1, 0)
    assert vector_near(x.cross(y), (0, 0, 1)) and vector_near(x ^ y, (0, 0, 1))
    assert unreal.Vector(1, 2, 3).dot(unreal.Vector(4, 5, 6)) == 32 and (x | y) == 0
    assert near(unreal.Vector(3, 4, 0).length(), 5)
    assert vector_near(unreal.Vector(3, 4, 0).normal(), (0.6, 0.8, 0))
    assert vector_near(unreal.Vector(0, 0, 0).normal(), (0, 0, 0)), "a zero vector has no direction"


def test_vector_equality_is_exact_and_hashable(unreal):
    assert unreal.Vector(1, 2, 3) == unreal.Vector(1, 2, 3)
    assert unreal.Vector(1, 2, 3) != unreal.Vector(1, 2, 3.001)
    assert unreal.Vector(1, 2, 3).is_near_equal(unreal.Vector(1, 2, 3.00001))
    assert len({unreal.Vector(1, 2, 3), unreal.Vector(1, 2, 3)}) == 1
    assert (unreal.Vector() == "text") is False


def test_operands_of_the_wrong_type_are_refused(unreal):
    with pytest.raises(TypeError):
        unreal.Vector(1, 2, 3) + "text"
    with pytest.raises(TypeError):
        unreal.Transform() * unreal.Vector(1, 2, 3)


def test_transforms_compose_first_left_then_right(unreal):
    move = unreal.Transform(location=unreal.Vector(10, 0, 0))
    turn = unreal.Transform(rotation=unreal.Rotator(yaw=90))
    composed = move * turn
    assert vector_near(composed.translation, (0, 10, 0)), "moved along X first, then turned onto Y"
    assert vector_near(move.multiply(turn).translation, (0, 10, 0))
    assert vector_near((turn * move).translation, (10, 0, 0))
    assert vector_near(composed.make_relative(turn).translation, (10, 0, 0))


def test_transform_points_and_inverse(unreal):
    transform = unreal.Transform(location=unreal.Vector(1, 2, 3), rotation=unreal.Rotator(yaw=90), scale=unreal.Vector(2, 2, 2))
    point = transform.transform_location(unreal.Vector(1, 0, 0))
    assert vector_near(point, (1, 4, 3)), "scaled to 2, turned onto Y, then moved"
    assert vector_near(transform.inverse_transform_location(point), (1, 0, 0))
    assert vector_near(transform.transform_direction(unreal.Vector(1, 0, 0)), (0, 1, 0))
    round_trip = transform * transform.inverse()
    assert vector_near(round_trip.translation, (0, 0, 0)) and vector_near(round_trip.scale3d, (1, 1, 1))
    assert transform == transform.copy()


def test_rotator_and_quaternion_convert_both_ways(unreal):
    quat = unreal.Rotator(yaw=90).quaternion()
    half = math.sqrt(0.5)
    assert vector_near(quat, (0, 0, half)) and near(quat.w, half)
    assert near(quat.rotator().yaw, 90)
    assert near((quat * quat).rotator().yaw, 180, 1e-9) or near((quat * quat).rotator().yaw, -180, 1e-9)
    rotator = unreal.Rotator(roll=10, pitch=20, yaw=30)
    back = rotator.quaternion().rotator()
    assert rotator == back, "equality of rotators allows a small tolerance"
    assert unreal.Rotator(yaw=90) != unreal.Rotator(yaw=91)


def test_math_library_functions_are_class_methods_too(unreal):
    assert isinstance(vars(unreal.MathLibrary)["compose_transforms"], classmethod)
    composed = unreal.MathLibrary.compose_transforms(unreal.Transform(location=unreal.Vector(1, 0, 0)), unreal.Transform(location=unreal.Vector(0, 1, 0)))
    assert vector_near(composed.translation, (1, 1, 0))


def test_structs_without_a_hash_are_unhashable(unreal):
    with pytest.raises(TypeError):
        hash(unreal.RigControlSettings())
