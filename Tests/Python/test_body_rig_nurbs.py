"""The control shapes' curve mathematics: NURBS evaluation against de Boor's algorithm written here,
knot vectors as Maya stores them, parsing under every accepted key and layout, Maya's standard circle
and near-circles, the tube sweep, the tube radius, polyline clean-up, the shape hash, and bad curve data.
Plain Python: the tests import the package from its sources and need neither the editor nor a build."""

import math
import random

import pytest


@pytest.fixture
def ns(source_package):
    return source_package


# ---- independent references ---------------------------------------------------------------------------

def de_boor(t, cvs, knots, p):
    """The rational B-spline point at t by de Boor's algorithm on homogeneous points; t at the end of
    the range belongs to the last span."""
    n = len(cvs)
    span = next((k for k in range(p, n) if knots[k] <= t < knots[k + 1]), n - 1)
    d = [[x * w, y * w, z * w, w] for x, y, z, w in cvs[span - p:span + 1]]
    for r in range(1, p + 1):
        for j in range(p, r - 1, -1):
            i = span - p + j
            alpha = (t - knots[i]) / (knots[i + p + 1 - r] - knots[i])
            d[j] = [(1 - alpha) * a + alpha * b for a, b in zip(d[j - 1], d[j])]
    x, y, z, w = d[p]
    return (x / w, y / w, z / w)


def close(a, b, tolerance=1e-9):
    return all(abs(x - y) <= tolerance for x, y in zip(a, b)) and len(a) == len(b)


def random_cvs(rng, count, rational=True):
    return [(rng.uniform(-5, 5), rng.uniform(-5, 5), rng.uniform(-5, 5), rng.uniform(0.3, 3.0) if rational else 1.0)
            for _ in range(count)]


MAYA_CIRCLE_CV_RADIUS = 1.108194   # Maya's `circle` puts its CVs this far out for a curve of radius 1


def maya_circle(radius=1.0, normal="y", center=(0.0, 0.0, 0.0), unique=8):
    """A curve record as Maya's `circle` command makes it: degree 3, periodic, the CVs at 45-degree
    steps with the first three repeated at the end, knots -2 .. 10 (Maya's n + p - 1)."""
    points = []
    for k in range(unique):
        a, b = (radius * MAYA_CIRCLE_CV_RADIUS * f(math.radians(-45 + k * 360.0 / unique)) for f in (math.cos, math.sin))
        local = {"x": (0.0, a, b), "y": (a, 0.0, b), "z": (a, b, 0.0)}[normal]
        points.append([c + o for c, o in zip(local, center)])
    cvs = points + points[:3]
    return {"name": "circle", "degree": 3, "form": 2, "knots": [float(k) for k in range(-2, len(cvs) - 1)], "cvs": cvs}


# ---- evaluation -----------------------------------------------------------------------------------------

@pytest.mark.parametrize("degree", range(1, 8))
@pytest.mark.parametrize("periodic", [False, True])
def test_a_nurbs_matches_de_boor_at_and_between_its_knots(ns, degree, periodic):
    rng = random.Random(degree * 10 + periodic)
    count = degree + 5
    cvs = random_cvs(rng, count)
    if periodic:
        cvs = cvs[:count - degree] + cvs[:degree]
        knots = ns["vn_nurbs_standard_knots"](cvs, degree, None, True)
        assert knots == pytest.approx([(i) / (count + degree) for i in range(count + degree + 1)])
    else:
        inner = sorted(rng.uniform(0, 1) for _ in range(count - degree - 1))
        knots = [0.0] * (degree + 1) + inner + [1.0] * (degree + 1)
    params = knots[degree:count + 1]
    params += [(a + b) / 2 for a, b in zip(params, params[1:])] + [rng.uniform(params[0], params[-1]) for _ in range(5)]
    if periodic:
        params.remove(knots[count])   # the periodic range ends where the next lap begins
    for t in params:
        assert close(ns["vn_nurbs_eval"](t, cvs, knots, degree), de_boor(t, cvs, knots, degree)), t
    if not periodic:
        assert close(ns["vn_nurbs_eval"](1.0, cvs, knots, degree), cvs[-1][:3])   # a clamped curve ends on its last CV
        assert close(ns["vn_nurbs_eval"](0.0, cvs, knots, degree), cvs[0][:3])


def test_the_basis_functions_are_cox_de_boor_and_sum_to_one(ns):
    knots = [0, 0, 0, 0.25, 0.5, 0.5, 1, 1, 1]
    basis = ns["vn_nurbs_basis"]
    assert basis(0, 0, 0.3, knots) == 0.0 and basis(3, 0, 0.3, knots) == 1.0 and basis(3, 0, 0.25, knots) == 1.0
    # At t = 0.2, worked by hand: N(1,1) = 0.05/0.25, N(2,1) = 0.2/0.25 (the zero-length spans drop out), then
    # N(0,2) = 0.05/0.25 N(1,1), N(1,2) = 0.2/0.25 N(1,1) + 0.3/0.5 N(2,1), N(2,2) = 0.2/0.5 N(2,1).
    assert [basis(i, 1, 0.2, knots) for i in (1, 2)] == pytest.approx([0.2, 0.8])
    assert [basis(i, 2, 0.2, knots) for i in (0, 1, 2, 3)] == pytest.approx([0.04, 0.64, 0.32, 0.0])
    for t in (0.0, 0.1, 0.25, 0.4, 0.5, 0.77, 1.0):
        assert sum(basis(i, 2, t, knots) for i in range(6)) == pytest.approx(1.0), t
    assert basis(7, 2, 0.5, knots) == 0.0 and basis(-1, 2, 0.5, knots) == 0.0 and basis(0, 2, 0.5, "knots") == 0.0


def test_zero_weighted_sums_and_wrong_knot_counts_give_no_point(ns):
    cvs = [(0, 0, 0, 1.0), (1, 0, 0, -1.0), (2, 0, 0, 1.0)]
    assert ns["vn_nurbs_eval"](0.5, cvs, [0, 0, 0, 1, 1, 1], 2) is None       # weights cancel
    assert ns["vn_nurbs_eval"](0.5, cvs, [0, 0, 0, 1, 1], 2) is None
    assert ns["vn_nurbs_eval"](float("nan"), cvs, [0, 0, 0, 1, 1, 1], 2) is None


# ---- knots ---------------------------------------------------------------------------------------------

CVS5 = [(float(i), 0.0, 0.0, 1.0) for i in range(5)]


@pytest.mark.parametrize("knots, periodic, expected", [
    ([0, 0, 0, 1, 2, 2, 2], False, [0, 0, 0, 0, 0.5, 1, 1, 1, 1]),           # Maya's n + p - 1, extended
    ([2, 2, 2, 2, 4, 6, 6, 6, 6], False, [0, 0, 0, 0, 0.5, 1, 1, 1, 1]),     # the full n + p + 1, normalised
    (None, False, [0, 0, 0, 0, 0.5, 1, 1, 1, 1]),                            # clamped uniform
    ([0, 1, 2], False, [0, 0, 0, 0, 0.5, 1, 1, 1, 1]),                       # any other length is replaced
    ([0, 0, 0, 2, 1, 2, 2], False, [0, 0, 0, 0, 0.5, 1, 1, 1, 1]),           # decreasing knots are replaced
    ([0, 0, 0, float("nan"), 2, 2, 2], False, [0, 0, 0, 0, 0.5, 1, 1, 1, 1]),
    (None, True, [i / 8 for i in range(9)]),                                  # periodic uniform i - p
    ([1, 1, 1, 1, 1, 1, 1], False, []),                                        # no span
])
def test_standard_knots(ns, knots, periodic, expected):
    assert ns["vn_nurbs_standard_knots"](CVS5, 3, knots, periodic) == pytest.approx(expected)


def test_standard_knots_need_two_vertices_and_a_degree(ns):
    assert ns["vn_nurbs_standard_knots"](CVS5[:1], 1, None, False) == []
    assert ns["vn_nurbs_standard_knots"](CVS5, 0, None, False) == []
    assert ns["vn_nurbs_standard_knots"]("cvs", 3, None, False) == []


def test_a_curve_with_maya_knots_tessellates_onto_the_curve_those_knots_define(ns):
    rng = random.Random(5)
    cvs = random_cvs(rng, 6)
    maya_knots = [0.0, 0.0, 0.0, 1.5, 2.0, 4.0, 4.0, 4.0]             # n + p - 1 = 8 for degree 3
    curve = {"degree": 3, "form": "open", "knots": maya_knots, "cvs": [list(cv) for cv in cvs]}
    points = ns["vn_nurbs_tessellate_curve"](curve)
    full = [0.0] + maya_knots + [4.0]
    count = (6 - 3) * 8 + 1
    expected = [de_boor(4.0 * k / (count - 1), cvs, full, 3) for k in range(count)]
    assert len(points) == count
    assert all(close(a, b, 1e-7) for a, b in zip(points, expected))


def test_tessellation_of_one_maya_span_and_of_closed_and_periodic_curves(ns):
    cvs = [[0, 0, 0], [1, 2, 0], [3, 2, 0], [4, 0, 0]]
    points = ns["vn_nurbs_tessellate_curve"]({"degree": 3, "cvs": cvs, "knots": [0, 0, 0, 1, 1, 1]})
    assert len(points) == 9 and close(points[0], (0, 0, 0)) and close(points[-1], (4, 0, 0))
    square = {"deg": 1, "curveForm": "closed", "CVs": [1, 0, 1, 1, 0, -1, -1, 0, -1, -1, 0, 1]}
    points = ns["vn_nurbs_tessellate_curve"](square)
    assert points[0] == points[-1] and len(points) == 3 * 8 + 1 + 1      # three spans sampled, then closed
    assert all(any(close(p, corner, 1e-9) for p in points) for corner in [(1, 0, 1), (1, 0, -1), (-1, 0, -1), (-1, 0, 1)])
    circle = ns["vn_nurbs_tessellate_curve"](maya_circle(radius=15.0, normal="x"))
    assert len(circle) == 8 * 8 + 1 and close(circle[0], circle[-1], 1e-6)      # ends where it began
    assert all(abs(math.hypot(p[1], p[2]) - 15.0) < 15.0 * 2e-3 and abs(p[0]) < 1e-9 for p in circle)


def test_a_degree_above_the_vertex_count_draws_the_control_polygon(ns):
    curve = {"degree": 5, "cvs": [[0, 0, 0], [1, 0, 0], [1, 1, 0]], "closed": True}
    assert ns["vn_nurbs_tessellate_curve"](curve) == [(0, 0, 0), (1, 0, 0), (1, 1, 0), (0, 0, 0)]


# ---- parsing -------------------------------------------------------------------------------------------

def test_first_present_skips_missing_and_null_keys(ns):
    first = ns["vn_nurbs_first_present"]
    assert first({"a": None, "b": 0, "c": 1}, ("a", "b", "c")) == 0
    assert first({"a": None}, ("a",), "d") == "d" and first(["a"], ("a",)) is None


@pytest.mark.parametrize("key", ["cvs", "CVs", "cv", "controlVertices", "control_vertices", "controlPoints", "points", "P"])
def test_control_vertices_are_read_under_every_key(ns, key):
    curve = {"cvs": None, key: [[0, 0, 0], [2, 0, 0]], "degree": 1}
    points = ns["vn_nurbs_tessellate_curve"](curve)        # one span: 9 samples along the line
    assert points == pytest.approx([(k / 4, 0, 0) for k in range(8)] + [(2 - 1e-12 * 2, 0, 0)])
    assert ns["vn_nurbs_collect_curve_dicts"]({"name": "C", "curves": [curve]}) == [curve]


@pytest.mark.parametrize("key", ["knots", "knot", "knotVector", "knot_vector", "krn"])
def test_knots_are_read_under_every_key(ns, key):
    cvs = [[0, 0, 0], [1, 1, 0], [2, 1, 0], [3, 0, 0]]
    uneven = {"degree": 2, "cvs": cvs, key: [0, 0, 0.9, 1, 1]}
    assert ns["vn_nurbs_tessellate_curve"](uneven) != ns["vn_nurbs_tessellate_curve"]({"degree": 2, "cvs": cvs})


@pytest.mark.parametrize("curve, expected", [
    ({"degree": 5}, 5), ({"deg": "2"}, 2), ({"degree": 4.0}, 4), ({"degree": 9, "order": 3}, 2),
    ({"orderU": 4}, 3), ({"order_u": 2}, 1), ({"degree": 0}, 3), ({"degree": True}, 3), ({"degree": float("nan")}, 3),
])
def test_degree_from_degree_or_order_keys(ns, curve, expected):
    assert ns["vn_nurbs_degree"](curve, 6) == expected


def test_degree_defaults_by_vertex_count(ns):
    assert [ns["vn_nurbs_degree"]({}, count) for count in (0, 1, 2, 3, 4, 9)] == [0, 0, 1, 1, 3, 3]


@pytest.mark.parametrize("curve, periodic, closed", [
    ({"form": 2}, True, True), ({"curveForm": " ClosedPeriodic "}, True, True), ({"curve_form": "periodic"}, True, True),
    ({"form": "1"}, False, True), ({"form": "closed"}, False, True), ({"form": "0", "closed": "yes"}, False, True),
    ({"periodic": "On"}, True, True), ({"periodic": True}, True, True), ({"periodic": "no"}, False, False),
    ({"cyclic": 1}, False, True), ({"use_cyclic_u": "closed"}, False, True), ({"form": "open"}, False, False), ({}, False, False),
])
def test_form_periodic_and_closed(ns, curve, periodic, closed):
    assert (ns["vn_nurbs_form_periodic"](curve), ns["vn_nurbs_form_closed"](curve)) == (periodic, closed)


@pytest.mark.parametrize("key", ["lineWidth", "line_width", "lineWidthX"])
def test_line_width_under_every_key_and_the_widest_curve_wins(ns, key):
    line = {"cvs": [[0, 0, 0], [1, 0, 0]]}
    control = {"curves": [dict(line, **{key: 2.5}), {"cvs": [[0, 1, 0], [1, 1, 0]], key: 1.0}, dict(line, lineWidth=0)]}
    assert ns["vn_nurbs_control_line_width"](control) == 2.5
    assert ns["vn_nurbs_line_width"]({key: -1}) is None and ns["vn_nurbs_control_line_width"]({"curves": [line]}) is None


@pytest.mark.parametrize("raw, expected", [
    ([0, 0, 0, 1, 1, 0, 0, 1], [(0, 0, 0, 1), (1, 0, 0, 1)]),                      # weighted: 4th in (0, 8], fours
    ([0, 0, 0, 1, 0, 0], [(0, 0, 0, 1), (1, 0, 0, 1)]),                            # xyz triples
    ([1, 2, 3, 0.5, 4, 5, 6, 2], [(1, 2, 3, 0.5), (4, 5, 6, 2)]),
    ([1, 2, 3, 9, 4, 5, 6, 2], [(1, 2, 3, 1), (9, 4, 5, 1), (6, 2, 0, 1)]),        # 9 is no weight: next x
    ([1, 0, 1, 1, 0, -1, -1, 0, -1, -1, 0, 1], [(1, 0, 1, 1), (1, 0, -1, 1), (-1, 0, -1, 1), (-1, 0, 1, 1)]),  # 4 xyz CVs
    ([1, 2, 3, 1, 4, 5, 6, 0, 7, 8, 9, 1], [(1, 2, 3, 1), (1, 4, 5, 1), (6, 0, 7, 1), (8, 9, 1, 1)]),        # one layout for the whole list
    ([1, 2, 3, 4, "x", 6], [(1, 2, 3, 1)]),                                        # parsing stops at a non-number
    ([1, 2, [3]], [(1, 2, 0, 1)]),                                                 # a container is no z
    ([1, 2, float("inf"), 4, 5, 6], []),
    ([{"position": [1, 2, 3], "weight": 2}, {"P": [4, 5]}, {"controlPoint": [6, 7, 8], "w": 0}, {"position": "x"}, 3],
     [(1, 2, 3, 2), (4, 5, 0, 1), (6, 7, 8, 1)]),                                  # weight 0 becomes 1
    ([{"position": [1, 2, 3], "weight": float("nan")}], [(1, 2, 3, 1)]),
    ([[1, 2, 3, 0.5], [4, 5], [6, 7, 8, 0], [9], [1, float("nan"), 2], "x", [1, True]], [(1, 2, 3, 0.5), (4, 5, 0, 1), (6, 7, 8, 1)]),
    ("1 2 3", []), ([], []), (None, []), ({"x": 1}, []),
])
def test_control_vertex_layouts(ns, raw, expected):
    assert ns["vn_nurbs_parse_cvs"](raw) == expected


def test_number_lists_skip_nested_lists_and_refuse_other_values(ns):
    parse = ns["vn_nurbs_parse_floats"]
    assert parse([1, [2], 3.5]) == [1.0, 3.5]
    refused = ([1, "2"], [1, None], [1, True], [1, float("nan")], [float("-inf")], [10 ** 400], "12", 3)
    assert [parse(value) for value in refused] == [[]] * len(refused)


# ---- collecting curves ---------------------------------------------------------------------------------

def test_curves_are_collected_gizmo_first_without_duplicates(ns):
    a, b, c = ({"name": n, "cvs": [[i, 0, 0], [i, 1, 0]]} for i, n in enumerate("abc"))
    control = {"name": "Arm", "gizmo": {"name": "Square", "cvs": [[5, 0, 0], [5, 1, 0]], "nurbs": [a, "x", {"name": "empty"}]},
               "cvs": [[7, 0, 0], [7, 1, 0]], "curveShapes": [b, dict(a, name="a again"), {"cvs": []}], "shapes": c}
    names = [curve["name"] for curve in ns["vn_nurbs_collect_curve_dicts"](control)]
    assert names == ["Square", "a", "Arm", "b", "c"]
    assert ns["vn_nurbs_collect_curve_dicts"]({"gizmo": "Circle_Thick"}) == [] and ns["vn_nurbs_collect_curve_dicts"](None) == []


def test_control_polylines_are_in_engine_space(ns):
    control = {"curves": [{"degree": 1, "cvs": [[1, 2, 3], [4, 5, 6]]}, {"cvs": [[1, 1, 1]]}]}
    (polyline,) = ns["vn_nurbs_control_polylines"](control)
    assert polyline[0] == (1, 3, 2) and close(polyline[-1], (4, 6, 5), 1e-9) and len(polyline) == 9


# ---- Maya's standard circle ------------------------------------------------------------------------------

@pytest.mark.parametrize("normal", ["x", "y", "z"])
@pytest.mark.parametrize("radius", [0.01, 1.0, 250.0])
def test_maya_standard_circle_is_recognised(ns, normal, radius):
    circle = maya_circle(radius, normal, center=(3.0, -2.0, 7.0))
    assert ns["vn_nurbs_curve_is_standard_circle"](circle)
    assert ns["vn_nurbs_is_standard_circle"]({"name": "FK", "curveShapes": [circle]})
    assert ns["vn_nurbs_is_standard_circle"]({"name": "FK", "gizmo": {"nurbsCurves": [circle, dict(circle, name="copy")]}})


def pulled(circle, index, factor):
    cvs = [list(cv) for cv in circle["cvs"]]
    cvs[index] = [c * factor for c in cvs[index]]
    return dict(circle, cvs=cvs)      # index outside the three repeated CVs


def lifted(circle, index, height):
    cvs = [list(cv) for cv in circle["cvs"]]
    cvs[index][1] += height
    return dict(circle, cvs=cvs)


@pytest.mark.parametrize("curve", [
    pulled(maya_circle(), 4, 1.12),                     # one CV well out of the 5 % radius band (mean moves too)
    maya_circle(unique=7), maya_circle(unique=9),
    lifted(maya_circle(normal="y"), 4, 0.3),            # not planar
    dict(maya_circle(), form="open"), dict(maya_circle(), form="0"), dict(maya_circle(), form="blend"),
    {"form": 1, "cvs": [[1, 0, 1], [1, 0, 0], [1, 0, -1], [0, 0, -1], [-1, 0, -1], [-1, 0, 0], [-1, 0, 1], [0, 0, 1]]},  # square
])
def test_near_circles_are_refused(ns, curve):
    assert not ns["vn_nurbs_curve_is_standard_circle"](curve)


def test_the_band_and_the_form_rules_at_their_edges(ns):
    assert ns["vn_nurbs_curve_is_standard_circle"](pulled(maya_circle(), 4, 1.03))
    assert ns["vn_nurbs_curve_is_standard_circle"](dict(maya_circle(), form="blend", closed=True))
    circle = maya_circle()
    assert not ns["vn_nurbs_is_standard_circle"]({"curves": [circle, {"cvs": [[0, 0, 0], [1, 0, 0]]}]})
    assert not ns["vn_nurbs_is_standard_circle"]({"name": "Empty"})


# ---- tubes -----------------------------------------------------------------------------------------------

def tangent(points, i, closed):
    count = len(points)
    before = points[i - 1] if (closed or i > 0) else points[i]
    after = points[(i + 1) % count] if (closed or i + 1 < count) else points[i]
    d = [b - a for a, b in zip(before, after)]
    length = math.sqrt(sum(c * c for c in d))
    return [c / length for c in d]


@pytest.mark.parametrize("points, closed", [
    ([(0, 0, 0), (10, 0, 0)], False),
    ([(0, 0, 0), (10, 0, 0), (10, 10, 0), (10, 10, 10), (0, 5, 20)], False),
    ([(0, 0, 0), (10, 0, 0), (10, 10, 0), (0, 10, 0), (0, 0, 0)], True),
    ([(math.cos(a) * 5, math.sin(a) * 5, a) for a in (k * 0.3 for k in range(20))], False),
])
def test_tube_counts_and_rings_perpendicular_at_radius(ns, points, closed):
    vertices, indices = ns["vn_nurbs_build_tube_mesh"]([points], radius=0.5)
    rings = points[:-1] if closed else points
    sides = 6
    assert len(vertices) == len(rings) * sides + (0 if closed else 2)
    assert len(indices) == 3 * (2 * sides * (len(rings) if closed else len(rings) - 1) + (0 if closed else 2 * sides))
    assert all(0 <= index < len(vertices) for index in indices)
    for i, point in enumerate(rings):
        direction = tangent(rings, i, closed)
        for vertex in vertices[i * sides:(i + 1) * sides]:
            offset = [v - p for v, p in zip(vertex, point)]
            assert math.sqrt(sum(c * c for c in offset)) == pytest.approx(0.5)
            assert abs(sum(o * d for o, d in zip(offset, direction))) < 1e-9
    if not closed:
        assert vertices[-2:] == [tuple(map(float, points[0])), tuple(map(float, points[-1]))]


def test_tube_of_several_polylines_offsets_indices_and_skips_short_ones(ns):
    line = [(0, 0, 0), (1, 0, 0)]
    vertices, indices = ns["vn_nurbs_build_tube_mesh"]([line, [(5, 5, 5), (5, 5, 5 + 1e-7)], [], line], radius=0.1, sides=2)
    assert len(vertices) == 2 * (2 * 4 + 2) and len(indices) == 2 * 3 * (2 * 4 + 2 * 4)   # at least 4 sides
    assert min(indices[len(indices) // 2:]) == 10
    vertices, _ = ns["vn_nurbs_build_tube_mesh"]([line], radius=0.0)
    assert abs(vertices[0][1]) + abs(vertices[0][2]) == pytest.approx(0.01)                 # at least 0.01


@pytest.mark.parametrize("width, height, scale, expected", [
    (None, 18, 0.1, 0.27), (3, 18, 0.1, 0.54), (2, 180, 1, 0.54), (1.5, 180, 1.0, 0.405), (0.1, 180, 1, 0.135),
    (None, None, 1, 0.27), (None, -5, 1, 0.27), (None, float("nan"), 1, 0.27), (None, 180, "x", 0.27),
    (None, 180, 0, 0.27), (None, 180, -2, 0.27), (None, 180, 2.0, 0.135), (None, 1000, 10, 0.15),
])
def test_tube_radius_follows_height_in_maya_units_and_clamps(ns, width, height, scale, expected):
    assert ns["vn_nurbs_tube_radius"]([], width, height, scale) == pytest.approx(expected)


def test_dedupe_compares_with_the_last_point_kept(ns):
    points = [(0, 0, 0), (0.6e-6, 0, 0), (1.2e-6, 0, 0), (1.2e-6, 0, 0), "bad", (1, 0, 0)]
    assert ns["vn_nurbs_dedupe_polyline"](points) == [(0, 0, 0), (1.2e-6, 0, 0), (1, 0, 0)]
    assert ns["vn_nurbs_dedupe_polyline"]([(0, 0, 0), (0.5, 0, 0), (1, 0, 0)], epsilon=0.6) == [(0, 0, 0), (1, 0, 0)]


# ---- shape hash ------------------------------------------------------------------------------------------

SQUARE = {"name": "square", "degree": 1, "form": "closed", "cvs": [[1, 0, 1], [1, 0, -1], [-1, 0, -1], [-1, 0, 1]]}


def test_equal_curve_data_hashes_equal_and_any_change_differs(ns):
    shape_hash = ns["vn_nurbs_shape_hash"]
    base = shape_hash({"name": "A", "curveShapes": [SQUARE]})
    assert len(base) == 12 and int(base, 16) >= 0
    same = dict(SQUARE, name="other", cvs=None, CVs=[1.0, 0.0, 1.0, 1, -0.0, -1, -1, 0, -1, -1, 0, 1])
    assert shape_hash({"name": "B", "gizmo": {"nurbsCurves": [same]}}) == base
    changes = [dict(SQUARE, degree=2), dict(SQUARE, form="periodic"), dict(SQUARE, knots=[0, 1, 2, 3]),
               dict(SQUARE, lineWidth=2), dict(SQUARE, cvs=SQUARE["cvs"][:3] + [[-1, 0, 1.001]]),
               dict(SQUARE, form=None, closed=True), dict(SQUARE, form=None)]
    hashes = [shape_hash({"curves": [curve]}) for curve in changes]
    assert base not in hashes and len(set(hashes)) == len(hashes)
    assert shape_hash({"name": "None"}) == "" and shape_hash("x") == ""


# ---- bad curve data ------------------------------------------------------------------------------------

NAN = float("nan")
BAD_CURVES = [
    None, "circle", 3, [], {}, {"cvs": None}, {"cvs": "abc"}, {"cvs": []}, {"cvs": [[1, 2, 3]]}, {"cvs": [[NAN, 0, 0], [1, 1, 1]]},
    {"cvs": [[0, 0, 0], [float("inf"), 0, 0]]}, {"cvs": [{"position": None}, {"w": 1}]}, {"cvs": [[[0, 0, 0]], [[1, 0, 0]]]},
    {"cvs": [0, 0, 0], "degree": 3}, {"cvs": [[0, 0, 0], [0, 0, 0]]}, {"cvs": [[0, 0, 0], [0, 0, 0], [0, 0, 0]], "degree": 4},
    {"cvs": [[0, 0, 0], [1, 0, 0], [2, 0, 0]], "degree": 3, "form": "periodic"},   # a periodic curve needs more vertices
]


@pytest.mark.parametrize("curve", BAD_CURVES)
def test_bad_curve_data_gives_empty_results_and_never_raises(ns, curve, capsys):
    assert ns["vn_nurbs_tessellate_curve"](curve) == []
    control = {"name": "Bad", "curveShapes": [curve], "gizmo": curve}
    assert ns["vn_nurbs_control_polylines"](control) == []
    assert ns["vn_nurbs_build_tube_mesh"](ns["vn_nurbs_control_polylines"](control)) == ([], [])
    assert not ns["vn_nurbs_is_standard_circle"](control) and not ns["vn_nurbs_curve_is_standard_circle"](curve)
    ns["vn_nurbs_shape_hash"](control), ns["vn_nurbs_control_line_width"](control)
    if isinstance(curve, dict) and curve.get("cvs") is not None:
        assert "Skipping control curve" in capsys.readouterr().out


def test_unfitting_knots_are_replaced_with_a_log_line(ns, capsys):
    curve = {"name": "bent", "degree": 2, "cvs": [[0, 0, 0], [1, 1, 0], [2, 0, 0]], "knots": [0, NAN, 1, 2, 3, 4]}
    points = ns["vn_nurbs_tessellate_curve"](curve)
    assert close(points[0], (0, 0, 0)) and close(points[-1], (2, 0, 0)) and len(points) == 9
    out = capsys.readouterr().out
    assert "Knots do not fit the control vertices of curve bent" in out
    ns["vn_nurbs_tessellate_curve"](dict(curve, knots=None, cvs=curve["cvs"] + ["x"]))
    out = capsys.readouterr().out
    assert "Knots" not in out and "Unreadable control vertices dropped from curve bent: 1 of 4" in out


@pytest.mark.parametrize("bad", [None, "x", 3, [1, 2], {"a": 1}, [[NAN]], [None, None]])
def test_every_reader_tolerates_bad_values(ns, bad):
    for name in ("vn_nurbs_parse_floats", "vn_nurbs_parse_point", "vn_nurbs_parse_cvs", "vn_nurbs_form_token",
                 "vn_nurbs_form_periodic", "vn_nurbs_form_closed", "vn_nurbs_line_width", "vn_nurbs_collect_curve_dicts",
                 "vn_nurbs_unique_cv_positions", "vn_nurbs_dedupe_polyline", "vn_nurbs_control_polylines",
                 "vn_nurbs_shape_hash", "vn_nurbs_is_standard_circle"):
        ns[name](bad)
    assert ns["vn_nurbs_eval"](0.5, bad, bad, 2) is None and ns["vn_nurbs_basis"](0, 1, 0.5, bad) == 0.0
    assert ns["vn_nurbs_standard_knots"](bad, 1, bad, False) in ([], [0.0, 0.0, 1.0, 1.0])
    assert ns["vn_nurbs_build_tube_mesh"](bad, radius=bad, sides=bad, line_width=bad, height_cm=bad) == ([], [])
