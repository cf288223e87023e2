"""The curve mathematics of the control shapes, in plain Python with no engine calls: reading the Maya
NURBS curves a Body rig JSON control carries, evaluating them into polylines, recognising Maya's standard
circle (which keeps the engine's stock circle shape), sweeping a thin six-sided tube along each polyline
and hashing a control's curve data so that controls with equal curves share one mesh.

Curve data comes from an exporter and is read tolerantly: a value that cannot be used gives the empty
result of its function (no points, no knots, no mesh) and the caller falls back to the stock gizmo;
nothing here raises on bad data. Numbers are finite ints or floats only: a NaN or infinite coordinate
would put a vertex at infinity, so such values count as not a number."""

import hashlib
import json
import math


# ---- accepted keys -----------------------------------------------------------------------------------

VN_NURBS_CV_KEYS = ("cvs", "CVs", "cv", "controlVertices", "control_vertices", "controlPoints", "points", "P")
VN_NURBS_KNOT_KEYS = ("knots", "knot", "knotVector", "knot_vector", "krn")
VN_NURBS_DEGREE_KEYS = ("degree", "deg")
VN_NURBS_ORDER_KEYS = ("order", "orderU", "order_u")
VN_NURBS_FORM_KEYS = ("form", "curveForm", "curve_form")
VN_NURBS_PERIODIC_KEYS = ("periodic",)
VN_NURBS_CLOSED_KEYS = ("closed", "cyclic", "use_cyclic_u")
VN_NURBS_LINE_WIDTH_KEYS = ("lineWidth", "line_width", "lineWidthX")
VN_NURBS_NAME_KEYS = ("name",)
VN_NURBS_CURVE_LIST_KEYS = ("curveShapes", "curve_shapes", "curves", "nurbsCurves", "nurbs_curves", "nurbs", "shapes")
VN_NURBS_GIZMO_KEY = "gizmo"

# Keys of a control vertex written as an object.
VN_NURBS_POINT_POSITION_KEYS = ("position", "P", "controlPoint")
VN_NURBS_POINT_WEIGHT_KEYS = ("weight", "w")

# Form tokens (compared trimmed and lower-cased) and the texts a "periodic" or closed key reads as true.
VN_NURBS_FORM_OPEN_TOKENS = ("0", "open")
VN_NURBS_FORM_CLOSED_TOKENS = ("1", "closed")
VN_NURBS_FORM_PERIODIC_TOKENS = ("2", "periodic", "closedperiodic")
VN_NURBS_PERIODIC_TRUE_TEXTS = ("1", "true", "yes", "on", "periodic")
VN_NURBS_CLOSED_TRUE_TEXTS = ("1", "true", "yes", "on", "closed")

VN_NURBS_MIN_DEGREE = 1
VN_NURBS_MAX_DEGREE = 7
# A weight read from a flat number list is taken only inside this range (0 excluded); anything else is
# the next point's x.
VN_NURBS_FLAT_MAX_WEIGHT = 8.0

# ---- tolerances --------------------------------------------------------------------------------------

VN_NURBS_KNOT_SPAN_EPSILON = 1e-8
VN_NURBS_LAST_SPAN_EPSILON = 1e-9
VN_NURBS_DENOMINATOR_EPSILON = 1e-12
VN_NURBS_OPEN_END_BACKOFF = 1e-12
VN_NURBS_PERIODIC_END_BACKOFF = 1e-9
VN_NURBS_END_POINT_DISTANCE_SQUARED = 1e-6
VN_NURBS_DEFAULT_SAMPLES_PER_SPAN = 8
VN_NURBS_MIN_SAMPLES_PER_SPAN = 2
VN_NURBS_MIN_SAMPLES = 8
VN_NURBS_NORMALIZE_EPSILON = 1e-8

# Maya's standard circle: eight control vertices, planar, evenly spaced at one radius.
VN_NURBS_CIRCLE_CV_COUNT = 8
VN_NURBS_CIRCLE_UNIQUE_EPSILON = 1e-4
VN_NURBS_CIRCLE_NORMAL_EPSILON = 1e-10
VN_NURBS_CIRCLE_MIN_NORMAL_DOT = 0.98
VN_NURBS_CIRCLE_MIN_NORMALS = 3
VN_NURBS_CIRCLE_MIN_RADIUS = 1e-6
VN_NURBS_CIRCLE_RADIUS_TOLERANCE = 0.05
VN_NURBS_CIRCLE_STEP_DEGREES = 45.0
VN_NURBS_CIRCLE_STEP_TOLERANCE_DEGREES = 15.0

# The tube: its radius is a fraction of the character's height in Maya units, so that shapes keep their
# on-screen thickness whatever the import scale.
VN_NURBS_DEFAULT_HEIGHT_CM = 180.0
VN_NURBS_MIN_IMPORT_SCALE = 1e-6
VN_NURBS_TUBE_RADIUS_FACTOR = 0.0015
VN_NURBS_TUBE_MIN_LINE_WIDTH = 0.5
VN_NURBS_TUBE_MIN_RADIUS_FACTOR = 0.0004
VN_NURBS_TUBE_MAX_RADIUS_FACTOR = 0.003
VN_NURBS_TUBE_MIN_RADIUS = 0.01
VN_NURBS_TUBE_SIDES = 6
VN_NURBS_TUBE_MIN_SIDES = 4
VN_NURBS_TUBE_CLOSED_EPSILON = 1e-5
VN_NURBS_DEDUPE_EPSILON = 1e-6

VN_NURBS_HASH_DIGITS = 12

# Log lines for curve data that cannot be drawn as exported.
VN_NURBS_TEXT_CURVE_SKIPPED = "Skipping control curve"
VN_NURBS_TEXT_KNOTS_REPLACED = "Knots do not fit the control vertices of curve"
VN_NURBS_TEXT_CVS_DROPPED = "Unreadable control vertices dropped from curve"
VN_NURBS_REASON_TOO_FEW_CVS = "fewer than 2 readable control vertices"
VN_NURBS_REASON_NO_RANGE = "its knots leave no parameter range"
VN_NURBS_REASON_NO_POINTS = "it evaluates to fewer than 2 points"
VN_NURBS_UNNAMED_CURVE = "<unnamed>"


# ---- reading ------------------------------------------------------------------------------------------

def vn_nurbs_is_number(value):
    """Whether value is a finite int or float (bools, NaN, infinities and integers too large for a float
    are not numbers here)."""
    if isinstance(value, bool) or not isinstance(value, (int, float)):
        return False
    try:
        return math.isfinite(value)
    except OverflowError:
        return False


def vn_nurbs_is_container(value):
    """Whether value is a list, tuple or object (a nested value inside a number list)."""
    return isinstance(value, (list, tuple, dict))


def vn_nurbs_first_present(data, keys, default=None):
    """The value of the first of keys that data holds with a non-null value; default when there is none
    or data is not an object."""
    if not isinstance(data, dict):
        return default
    for key in keys:
        value = data.get(key)
        if value is not None:
            return value
    return default


def vn_nurbs_parse_floats(values):
    """The numbers of a list as floats. Nested lists are skipped; any other element that is not a number
    makes the whole result empty, as does a value that is not a list."""
    if not isinstance(values, (list, tuple)):
        return []
    numbers = []
    for value in values:
        if isinstance(value, (list, tuple)):
            continue
        if not vn_nurbs_is_number(value):
            return []
        numbers.append(float(value))
    return numbers


def vn_nurbs_point_from_numbers(numbers, weight=None):
    """(x, y, z, w) from at least two numbers (z 0 and w 1 when absent); a weight of 0 becomes 1."""
    if len(numbers) < 2:
        return None
    z = numbers[2] if len(numbers) > 2 else 0.0
    if weight is None:
        weight = numbers[3] if len(numbers) > 3 else 1.0
    return (numbers[0], numbers[1], z, 1.0 if weight == 0.0 else weight)


def vn_nurbs_parse_point(value):
    """One control vertex as (x, y, z, w), or None. An object takes its position from "position", else
    "P", else "controlPoint", and its weight from "weight", else "w" (1 when that is not a number); a list
    needs at least two numbers, x, y, then z (0 when absent) and w (1 when absent)."""
    if isinstance(value, dict):
        position = vn_nurbs_parse_floats(vn_nurbs_first_present(value, VN_NURBS_POINT_POSITION_KEYS))
        weight = vn_nurbs_first_present(value, VN_NURBS_POINT_WEIGHT_KEYS)
        return vn_nurbs_point_from_numbers(position[:3], float(weight) if vn_nurbs_is_number(weight) else 1.0)
    if isinstance(value, (list, tuple)):
        return vn_nurbs_point_from_numbers(vn_nurbs_parse_floats(value))
    return None


def vn_nurbs_flat_weight(value):
    """Whether a number in a flat list can be a weight: a number in (0, 8]."""
    return vn_nurbs_is_number(value) and 0.0 < value <= VN_NURBS_FLAT_MAX_WEIGHT


def vn_nurbs_flat_is_weighted(values):
    """Whether a flat number list holds (x, y, z, w) fours: its length is a multiple of 4 and every
    fourth number can be a weight. Decided once for the whole list: a list of (x, y, z) threes whose
    length happens to be a multiple of 4 (four vertices, eight, ...) would otherwise be read in fours
    up to its first coordinate outside (0, 8] and in threes after it."""
    return len(values) % 4 == 0 and all(vn_nurbs_flat_weight(value) for value in values[3::4])


def vn_nurbs_parse_flat_cvs(values):
    """Control vertices from one flat list of numbers: x, y and z (0 when the list ends or a container
    follows), then the weight when the list holds fours. Parsing stops at the first element that is not
    a number where one is needed."""
    weighted = vn_nurbs_flat_is_weighted(values)
    cvs = []
    count = len(values)
    i = 0
    while i + 1 < count:
        x, y = values[i], values[i + 1]
        if not (vn_nurbs_is_number(x) and vn_nurbs_is_number(y)):
            break
        z = 0.0
        consumed = 2
        if i + 2 < count and not vn_nurbs_is_container(values[i + 2]):
            if not vn_nurbs_is_number(values[i + 2]):
                break
            z = values[i + 2]
            consumed = 3
        weight = 1.0
        if weighted and consumed == 3 and i + 3 < count and vn_nurbs_flat_weight(values[i + 3]):
            weight = values[i + 3]
            consumed = 4
        cvs.append((float(x), float(y), float(z), float(weight)))
        i += consumed
    return cvs


def vn_nurbs_parse_cvs(raw):
    """The control vertices of a curve's vertex list as (x, y, z, w) tuples, read by the type of its first
    element: objects and lists are each read as one point (unreadable ones dropped), numbers as one flat
    list. Anything else gives none."""
    if not isinstance(raw, (list, tuple)) or not raw:
        return []
    if vn_nurbs_is_number(raw[0]):
        return vn_nurbs_parse_flat_cvs(raw)
    points = (vn_nurbs_parse_point(value) for value in raw)
    return [point for point in points if point is not None]


def vn_nurbs_curve_cvs(curve):
    """The parsed control vertices of a curve object."""
    return vn_nurbs_parse_cvs(vn_nurbs_first_present(curve, VN_NURBS_CV_KEYS))


def vn_nurbs_has_cvs(curve):
    """Whether a curve object carries control vertex data under one of the accepted keys."""
    return vn_nurbs_first_present(curve, VN_NURBS_CV_KEYS) is not None


def vn_nurbs_curve_label(curve):
    """A curve's name for log lines."""
    name = vn_nurbs_first_present(curve, VN_NURBS_NAME_KEYS)
    return str(name) if name not in (None, "") else VN_NURBS_UNNAMED_CURVE


# ---- form and degree ----------------------------------------------------------------------------------

def vn_nurbs_token(value):
    """value as a lower-cased, trimmed text; integral numbers without a fraction (2.0 reads "2")."""
    if value is None:
        return ""
    if isinstance(value, bool):
        return str(value).lower()
    if isinstance(value, float) and math.isfinite(value) and value == int(value):
        value = int(value)
    return str(value).strip().lower()


def vn_nurbs_flag(value, true_texts):
    """A flag key's value: a bool is itself, a finite number is true when non-zero, a text is true when
    it is one of true_texts; anything else is false."""
    if isinstance(value, bool):
        return value
    if vn_nurbs_is_number(value):
        return value != 0
    if isinstance(value, str):
        return value.strip().lower() in true_texts
    return False


def vn_nurbs_form_token(curve):
    """The curve's form value as a trimmed, lower-cased text; empty when it has none."""
    return vn_nurbs_token(vn_nurbs_first_present(curve, VN_NURBS_FORM_KEYS))


def vn_nurbs_form_periodic(curve):
    """Whether the curve is periodic: by its form token, else by its "periodic" key."""
    if vn_nurbs_form_token(curve) in VN_NURBS_FORM_PERIODIC_TOKENS:
        return True
    return vn_nurbs_flag(vn_nurbs_first_present(curve, VN_NURBS_PERIODIC_KEYS), VN_NURBS_PERIODIC_TRUE_TEXTS)


def vn_nurbs_form_closed(curve):
    """Whether the curve is closed: periodic, a closed form token, or by its closed keys."""
    if vn_nurbs_form_periodic(curve) or vn_nurbs_form_token(curve) in VN_NURBS_FORM_CLOSED_TOKENS:
        return True
    return vn_nurbs_flag(vn_nurbs_first_present(curve, VN_NURBS_CLOSED_KEYS), VN_NURBS_CLOSED_TRUE_TEXTS)


def vn_nurbs_integer(value):
    """value read as a number (a number, or a text holding one) and truncated; None when it is not one."""
    if isinstance(value, bool):
        return None
    if isinstance(value, str):
        try:
            value = float(value.strip())
        except ValueError:
            return None
    return int(value) if vn_nurbs_is_number(value) else None


def vn_nurbs_degree(curve, cv_count):
    """The curve's degree: its degree key when 1 to 7, else its order - 1 when 1 to 7, else 3 with at
    least four control vertices, 1 with two or three, 0 (no curve) with fewer."""
    for keys, offset in ((VN_NURBS_DEGREE_KEYS, 0), (VN_NURBS_ORDER_KEYS, -1)):
        number = vn_nurbs_integer(vn_nurbs_first_present(curve, keys))
        if number is not None and VN_NURBS_MIN_DEGREE <= number + offset <= VN_NURBS_MAX_DEGREE:
            return number + offset
    if cv_count >= 4:
        return 3
    return 1 if cv_count >= 2 else 0


# ---- knots and evaluation -----------------------------------------------------------------------------

def vn_nurbs_knots_fit(knots, cv_count, degree):
    """Whether a knot list can be used as it is for cv_count vertices of degree: n + p + 1 values (or
    Maya's n + p - 1) that never decrease."""
    if len(knots) not in (cv_count + degree + 1, cv_count + degree - 1):
        return False
    return all(later >= earlier for earlier, later in zip(knots, knots[1:]))


def vn_nurbs_uniform_knots(cv_count, degree, periodic):
    """The knots used when a curve's own do not fit: uniform i - p for periodic curves, clamped uniform
    (p + 1 zeros, evenly spaced inner knots, p + 1 ones) for the others."""
    if periodic:
        return [float(i - degree) for i in range(cv_count + degree + 1)]
    spans = max(cv_count - degree, 1)
    inner = [i / spans for i in range(1, spans)]
    return [0.0] * (degree + 1) + inner + [1.0] * (degree + 1)


def vn_nurbs_standard_knots(cvs, degree, knots, periodic):
    """The curve's knot vector, normalised to [0, 1]. Maya stores n + p - 1 knots: such a list gets its
    first and last value once more at each end. A list that still is not n + p + 1 long, or that
    decreases, is replaced by uniform knots. Empty with fewer than 2 vertices, a degree below 1 or a knot
    span below 1e-8."""
    count = len(cvs) if isinstance(cvs, (list, tuple)) else 0
    if count < 2 or not vn_nurbs_is_count(degree) or degree < 1:
        return []
    values = vn_nurbs_parse_floats(knots)
    if not vn_nurbs_knots_fit(values, count, degree):
        values = vn_nurbs_uniform_knots(count, degree, periodic)
    elif len(values) == count + degree - 1:
        values = [values[0]] + values + [values[-1]]
    first, last = values[0], values[-1]
    span = last - first
    if span < VN_NURBS_KNOT_SPAN_EPSILON:
        return []
    return [(knot - first) / span for knot in values]


def vn_nurbs_last_span(knots):
    """The index of the last knot span of non-zero length (-1 when there is none). The end of the knot
    range belongs to it, so that a clamped curve evaluates at its very end."""
    for i in range(len(knots) - 2, -1, -1):
        if knots[i] < knots[i + 1]:
            return i
    return -1


def vn_nurbs_basis_functions(first, count, degree, param, knots):
    """N(first + j, degree) at param for j = 0 .. count - 1, built bottom-up through the Cox-de Boor
    recursion from the degree-0 functions of spans first .. first + count + degree - 1 (which the knots
    must have). Terms whose knot denominator is within 1e-12 of zero are left out."""
    last_span = vn_nurbs_last_span(knots)
    row = []
    for i in range(first, first + count + degree):
        inside = knots[i] <= param < knots[i + 1]
        at_end = i == last_span and abs(param - knots[i + 1]) < VN_NURBS_LAST_SPAN_EPSILON
        row.append(1.0 if inside or at_end else 0.0)
    for level in range(1, degree + 1):
        next_row = []
        for j in range(len(row) - 1):
            i = first + j
            value = 0.0
            left = knots[i + level] - knots[i]
            if abs(left) > VN_NURBS_DENOMINATOR_EPSILON:
                value += (param - knots[i]) / left * row[j]
            right = knots[i + level + 1] - knots[i + 1]
            if abs(right) > VN_NURBS_DENOMINATOR_EPSILON:
                value += (knots[i + level + 1] - param) / right * row[j + 1]
            next_row.append(value)
        row = next_row
    return row


def vn_nurbs_valid_knots(knots):
    """Whether knots is a list of numbers (as the knot functions here return them)."""
    return isinstance(knots, (list, tuple)) and all(vn_nurbs_is_number(knot) for knot in knots)


def vn_nurbs_is_count(value):
    """Whether value is an int that is not a bool and not negative."""
    return isinstance(value, int) and not isinstance(value, bool) and value >= 0


def vn_nurbs_basis(index, degree, param, knots):
    """The B-spline basis function N(index, degree) at param (Cox-de Boor). The degree-0 function of a
    span is 1 on [knots[i], knots[i + 1]); the last span of non-zero length also holds the end of the knot
    range, so that a clamped curve reaches its last vertex. 0.0 for an index or degree the knots do not
    have."""
    if (not vn_nurbs_is_count(index) or not vn_nurbs_is_count(degree) or not vn_nurbs_is_number(param)
            or not vn_nurbs_valid_knots(knots) or index + degree + 2 > len(knots)):
        return 0.0
    return vn_nurbs_basis_functions(index, 1, degree, float(param), knots)[0]


def vn_nurbs_point_is_readable(cv):
    """Whether cv is (x, y, z) or (x, y, z, w) of numbers."""
    return isinstance(cv, (list, tuple)) and len(cv) in (3, 4) and all(vn_nurbs_is_number(c) for c in cv)


def vn_nurbs_eval(param, cvs, knots, degree):
    """The rational curve point (x, y, z) at param: sum(P_i w_i N_i) / sum(w_i N_i), vertices as
    (x, y, z, w) (w 1 when left out). None when the knots are not n + p + 1 long, a vertex is unreadable,
    or the weighted basis sums to (nearly) zero."""
    if (not isinstance(cvs, (list, tuple)) or not vn_nurbs_is_count(degree) or not vn_nurbs_is_number(param)
            or not vn_nurbs_valid_knots(knots) or len(knots) != len(cvs) + degree + 1
            or not all(vn_nurbs_point_is_readable(cv) for cv in cvs)):
        return None
    bases = vn_nurbs_basis_functions(0, len(cvs), degree, float(param), knots)
    total = [0.0, 0.0, 0.0]
    denominator = 0.0
    for cv, basis in zip(cvs, bases):
        factor = (cv[3] if len(cv) > 3 else 1.0) * basis
        total[0] += cv[0] * factor
        total[1] += cv[1] * factor
        total[2] += cv[2] * factor
        denominator += factor
    if abs(denominator) < VN_NURBS_DENOMINATOR_EPSILON:
        return None
    return (total[0] / denominator, total[1] / denominator, total[2] / denominator)


# ---- polylines ----------------------------------------------------------------------------------------

def vn_nurbs_position(point):
    """The (x, y, z) of a point of three or more numbers as floats; None for anything else."""
    if not isinstance(point, (list, tuple)) or len(point) < 3 or not all(vn_nurbs_is_number(c) for c in point[:3]):
        return None
    return (float(point[0]), float(point[1]), float(point[2]))


def vn_nurbs_distance_squared(a, b):
    return (a[0] - b[0]) ** 2 + (a[1] - b[1]) ** 2 + (a[2] - b[2]) ** 2


def vn_nurbs_dedupe_polyline(points, epsilon=VN_NURBS_DEDUPE_EPSILON):
    """The polyline's (x, y, z) points without those closer than epsilon to the last point kept (and
    without unreadable points)."""
    if not isinstance(points, (list, tuple)):
        return []
    limit = float(epsilon) ** 2 if vn_nurbs_is_number(epsilon) else VN_NURBS_DEDUPE_EPSILON ** 2
    kept = []
    for point in points:
        position = vn_nurbs_position(point)
        if position is not None and (not kept or vn_nurbs_distance_squared(position, kept[-1]) >= limit):
            kept.append(position)
    return kept


def vn_nurbs_sample_count(spans, samples_per_span):
    """How many points a curve of spans knot spans is sampled at: samples_per_span (at least 2) per span,
    one more for the end, and never fewer than 8."""
    per_span = samples_per_span if vn_nurbs_is_number(samples_per_span) else VN_NURBS_DEFAULT_SAMPLES_PER_SPAN
    return max(int(spans * max(per_span, VN_NURBS_MIN_SAMPLES_PER_SPAN)) + 1, VN_NURBS_MIN_SAMPLES)


def vn_nurbs_close_polyline(points):
    """A closed curve's points ending where they began."""
    if points and points[-1] != points[0]:
        points.append(points[0])
    return points


def vn_nurbs_report_knots(curve, cv_count, degree):
    """Logs a curve whose exported knots do not fit its vertices and degree (they are replaced by
    uniform knots); a curve without knots gets uniform knots silently, as intended."""
    raw = vn_nurbs_first_present(curve, VN_NURBS_KNOT_KEYS)
    if raw is not None and not vn_nurbs_knots_fit(vn_nurbs_parse_floats(raw), cv_count, degree):
        print(VN_NURBS_TEXT_KNOTS_REPLACED, vn_nurbs_curve_label(curve),
              "(%d control vertices of degree %d); uniform knots are used." % (cv_count, degree))


def vn_nurbs_skip_curve(curve, reason):
    """Logs that a curve gives no polyline (its control falls back to its other curves or the stock
    gizmo) and returns the empty polyline."""
    print(VN_NURBS_TEXT_CURVE_SKIPPED, vn_nurbs_curve_label(curve) + ":", reason)
    return []


def vn_nurbs_tessellate_curve(curve, samples_per_span=VN_NURBS_DEFAULT_SAMPLES_PER_SPAN):
    """The curve as a polyline of (x, y, z) points in Maya's space: samples_per_span points per knot
    span over the curve's parameter range, closed curves ending at their first point and open ones at
    their last vertex. Knots that still do not fit after replacement give the control polygon. No points
    (and a log line) for a curve that cannot be drawn."""
    if not isinstance(curve, dict):
        return []
    raw_cvs = vn_nurbs_first_present(curve, VN_NURBS_CV_KEYS)
    cvs = vn_nurbs_parse_cvs(raw_cvs)
    count = len(cvs)
    degree = vn_nurbs_degree(curve, count)
    if count < 2 or degree < 1:
        return vn_nurbs_skip_curve(curve, VN_NURBS_REASON_TOO_FEW_CVS)
    if isinstance(raw_cvs, (list, tuple)) and not vn_nurbs_is_number(raw_cvs[0]) and count < len(raw_cvs):
        print(VN_NURBS_TEXT_CVS_DROPPED, vn_nurbs_curve_label(curve) + ":", len(raw_cvs) - count, "of", len(raw_cvs))
    periodic = vn_nurbs_form_periodic(curve)
    closed = vn_nurbs_form_closed(curve)
    vn_nurbs_report_knots(curve, count, degree)
    knots = vn_nurbs_standard_knots(cvs, degree, vn_nurbs_first_present(curve, VN_NURBS_KNOT_KEYS), periodic)
    if len(knots) != count + degree + 1:
        polygon = [cv[:3] for cv in cvs]
        return vn_nurbs_finish_polyline(curve, vn_nurbs_close_polyline(polygon) if closed else polygon)
    t_min, t_max = knots[degree], knots[count]
    if t_max <= t_min:
        t_max = knots[-degree - 1]
    if t_max <= t_min:
        return vn_nurbs_skip_curve(curve, VN_NURBS_REASON_NO_RANGE)
    samples = vn_nurbs_sample_count(max(count - degree, 1), samples_per_span)
    top = t_max - VN_NURBS_OPEN_END_BACKOFF if periodic else t_max
    points = []
    for k in range(samples):
        t = t_min + (t_max - t_min) * k / (samples - 1)
        last = k == samples - 1
        if last:
            t = min(t, t_max - VN_NURBS_PERIODIC_END_BACKOFF) if periodic else t_max - VN_NURBS_OPEN_END_BACKOFF
        point = vn_nurbs_eval(max(t_min, min(t, top)), cvs, knots, degree)
        if point is None and last:
            point = cvs[-1][:3]
        if point is not None:
            points.append(point)
    if closed:
        vn_nurbs_close_polyline(points)
    elif points and vn_nurbs_distance_squared(points[-1], cvs[-1]) > VN_NURBS_END_POINT_DISTANCE_SQUARED:
        points.append(cvs[-1][:3])
    return vn_nurbs_finish_polyline(curve, points)


def vn_nurbs_finish_polyline(curve, points):
    """The cleaned-up polyline of a curve; none (and a log line) when fewer than two points are left."""
    points = vn_nurbs_dedupe_polyline(points)
    if len(points) < 2:
        return vn_nurbs_skip_curve(curve, VN_NURBS_REASON_NO_POINTS)
    return points


# ---- collecting a control's curves --------------------------------------------------------------------

def vn_nurbs_curves_of_list(value):
    """The curve objects with control vertices that a curve-list value holds: itself when it is one, its
    object items with control vertices when it is a list."""
    if isinstance(value, dict):
        return [value] if vn_nurbs_has_cvs(value) else []
    if isinstance(value, list):
        return [item for item in value if isinstance(item, dict) and vn_nurbs_has_cvs(item)]
    return []


def vn_nurbs_collect_curve_dicts(data):
    """The curve objects of a control entry, in order: its "gizmo" object when it has control vertices
    and the curves of the gizmo's first curve list; the entry itself when it has control vertices; the
    curves of each of the entry's curve lists. A curve equal to an earlier one (degree, periodic flag and
    control vertices) and a curve without readable control vertices are left out."""
    if not isinstance(data, dict):
        return []
    found = []
    gizmo = data.get(VN_NURBS_GIZMO_KEY)
    if isinstance(gizmo, dict):
        if vn_nurbs_has_cvs(gizmo):
            found.append(gizmo)
        curve_list = vn_nurbs_first_present(gizmo, VN_NURBS_CURVE_LIST_KEYS)
        if isinstance(curve_list, dict):
            found.extend(vn_nurbs_curves_of_list(curve_list))
        elif isinstance(curve_list, list):
            found.extend(item for item in curve_list if isinstance(item, dict))
    if vn_nurbs_has_cvs(data):
        found.append(data)
    for key in VN_NURBS_CURVE_LIST_KEYS:
        found.extend(vn_nurbs_curves_of_list(data.get(key)))
    curves = []
    seen = set()
    for curve in found:
        cvs = vn_nurbs_curve_cvs(curve)
        if not cvs:
            continue
        identity = (vn_nurbs_degree(curve, len(cvs)), vn_nurbs_form_periodic(curve), tuple(cvs))
        if identity not in seen:
            seen.add(identity)
            curves.append(curve)
    return curves


# ---- vectors ------------------------------------------------------------------------------------------

def vn_nurbs_maya_to_unreal(point):
    """A Maya (Y up) point in the engine's space (Z up): (x, y, z) becomes (x, z, y)."""
    return (point[0], point[2], point[1])


def vn_nurbs_cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def vn_nurbs_dot(a, b):
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]


def vn_nurbs_sub(a, b):
    return (a[0] - b[0], a[1] - b[1], a[2] - b[2])


def vn_nurbs_add(a, b):
    return (a[0] + b[0], a[1] + b[1], a[2] + b[2])


def vn_nurbs_scale(a, factor):
    return (a[0] * factor, a[1] * factor, a[2] * factor)


def vn_nurbs_length(a):
    return math.sqrt(vn_nurbs_dot(a, a))


def vn_nurbs_normalize(a, fallback=(1, 0, 0)):
    """a scaled to length 1; fallback (as floats) when a is shorter than 1e-8."""
    length = vn_nurbs_length(a)
    if not length >= VN_NURBS_NORMALIZE_EPSILON:
        return (float(fallback[0]), float(fallback[1]), float(fallback[2]))
    return vn_nurbs_scale(a, 1.0 / length)


def vn_nurbs_polyline_length(points):
    """The summed length of the polyline's segments."""
    return sum(vn_nurbs_length(vn_nurbs_sub(b, a)) for a, b in zip(points, points[1:]))


# ---- Maya's standard circle ---------------------------------------------------------------------------

def vn_nurbs_line_width(curve):
    """The curve's line width when it gives one above 0; None otherwise."""
    width = vn_nurbs_first_present(curve, VN_NURBS_LINE_WIDTH_KEYS)
    return float(width) if vn_nurbs_is_number(width) and width > 0 else None


def vn_nurbs_unique_cv_positions(cvs, epsilon=VN_NURBS_CIRCLE_UNIQUE_EPSILON):
    """The distinct (x, y, z) positions of control vertices in order: a position closer than epsilon to
    an earlier one is that same position (a periodic curve repeats its first vertices at the end)."""
    limit = float(epsilon) ** 2 if vn_nurbs_is_number(epsilon) else VN_NURBS_CIRCLE_UNIQUE_EPSILON ** 2
    unique = []
    for cv in cvs if isinstance(cvs, (list, tuple)) else ():
        position = vn_nurbs_position(cv)
        if position is not None and all(vn_nurbs_distance_squared(position, seen) >= limit for seen in unique):
            unique.append(position)
    return unique


def vn_nurbs_form_allows_circle(curve):
    """Whether the curve's form lets it be a circle: not open, and an unknown form token only when its
    keys close it."""
    token = vn_nurbs_form_token(curve)
    if token in VN_NURBS_FORM_OPEN_TOKENS:
        return False
    known = VN_NURBS_FORM_CLOSED_TOKENS + VN_NURBS_FORM_PERIODIC_TOKENS
    return not token or token in known or vn_nurbs_form_closed(curve)


def vn_nurbs_points_are_planar(points):
    """Whether the turning normals of a closed point loop all lie along one axis (|cos| at least 0.98),
    with at least three normals long enough to count."""
    count = len(points)
    reference = None
    counted = 0
    for i in range(count):
        a, b, c = points[i], points[(i + 1) % count], points[(i + 2) % count]
        normal = vn_nurbs_cross(vn_nurbs_sub(b, a), vn_nurbs_sub(c, b))
        length = vn_nurbs_length(normal)
        if length < VN_NURBS_CIRCLE_NORMAL_EPSILON:
            continue
        normal = vn_nurbs_scale(normal, 1.0 / length)
        counted += 1
        if reference is None:
            reference = normal
        elif abs(vn_nurbs_dot(normal, reference)) < VN_NURBS_CIRCLE_MIN_NORMAL_DOT:
            return False
    return counted >= VN_NURBS_CIRCLE_MIN_NORMALS


def vn_nurbs_points_are_round(points):
    """Whether points lie at one radius (each within 5 % of the mean, which is not vanishing) around
    their centroid, one 45-degree step (give or take 15) after another."""
    count = len(points)
    centroid = vn_nurbs_scale((sum(p[0] for p in points), sum(p[1] for p in points), sum(p[2] for p in points)),
                              1.0 / count)
    offsets = [vn_nurbs_sub(point, centroid) for point in points]
    radii = [vn_nurbs_length(offset) for offset in offsets]
    mean = sum(radii) / count
    if mean < VN_NURBS_CIRCLE_MIN_RADIUS:
        return False
    if any(abs(radius - mean) > VN_NURBS_CIRCLE_RADIUS_TOLERANCE * mean for radius in radii):
        return False
    for i in range(count):
        a, b = offsets[i], offsets[(i + 1) % count]
        cosine = vn_nurbs_dot(a, b) / (radii[i] * radii[(i + 1) % count])
        angle = math.degrees(math.acos(max(-1.0, min(1.0, cosine))))
        if abs(angle - VN_NURBS_CIRCLE_STEP_DEGREES) > VN_NURBS_CIRCLE_STEP_TOLERANCE_DEGREES:
            return False
    return True


def vn_nurbs_curve_is_standard_circle(curve):
    """Whether a curve is Maya's standard circle: closed or periodic (or of unstated form), eight distinct
    control vertices, planar, at one radius around their centre and 45 degrees apart."""
    if not isinstance(curve, dict) or not vn_nurbs_form_allows_circle(curve):
        return False
    points = vn_nurbs_unique_cv_positions(vn_nurbs_curve_cvs(curve))
    if len(points) != VN_NURBS_CIRCLE_CV_COUNT:
        return False
    return vn_nurbs_points_are_planar(points) and vn_nurbs_points_are_round(points)


def vn_nurbs_is_standard_circle(data):
    """Whether a control entry's shape is Maya's standard circle: it has curves and every one is."""
    curves = vn_nurbs_collect_curve_dicts(data)
    return bool(curves) and all(vn_nurbs_curve_is_standard_circle(curve) for curve in curves)


# ---- the tube -----------------------------------------------------------------------------------------

def vn_nurbs_tube_radius(polylines, line_width=None, height_cm=None, import_scale=1.0):
    """The tube's radius in Maya units: 0.0015 of the character's height in Maya units (height in cm,
    180 when not given, over the import scale), times the line width (at least 0.5) when there is one,
    kept within 0.0004 and 0.003 of that height. A scale that is not a positive number counts as 1 (a
    zero scale would otherwise make the tube a million times too thick). polylines is not read: the
    radius depends on the character, not on the curve's size."""
    height = float(height_cm) if vn_nurbs_is_number(height_cm) and height_cm > 0 else VN_NURBS_DEFAULT_HEIGHT_CM
    scale = float(import_scale) if vn_nurbs_is_number(import_scale) and import_scale > 0 else 1.0
    maya_height = height / max(scale, VN_NURBS_MIN_IMPORT_SCALE)
    radius = maya_height * VN_NURBS_TUBE_RADIUS_FACTOR
    if vn_nurbs_is_number(line_width) and line_width > 0:
        radius *= max(float(line_width), VN_NURBS_TUBE_MIN_LINE_WIDTH)
    return min(max(radius, VN_NURBS_TUBE_MIN_RADIUS_FACTOR * maya_height), VN_NURBS_TUBE_MAX_RADIUS_FACTOR * maya_height)


def vn_nurbs_tangents(points, closed):
    """Unit tangents of a polyline: the summed neighbouring segments inside (and around a closed loop),
    the first and last segment at an open polyline's ends; (1, 0, 0) where they vanish."""
    count = len(points)
    tangents = []
    for i, point in enumerate(points):
        if closed:
            previous, following = points[i - 1], points[(i + 1) % count]
        else:
            previous = points[i - 1] if i > 0 else points[1]
            following = points[i + 1] if i + 1 < count else point
        if not closed and i == 0:
            direction = vn_nurbs_sub(following, point)
        elif not closed and i == count - 1:
            direction = vn_nurbs_sub(point, previous)
        else:
            direction = vn_nurbs_add(vn_nurbs_sub(point, previous), vn_nurbs_sub(following, point))
        tangents.append(vn_nurbs_normalize(direction))
    return tangents


def vn_nurbs_rotate(vector, axis, angle):
    """vector turned by angle about the unit axis (Rodrigues)."""
    cosine, sine = math.cos(angle), math.sin(angle)
    return vn_nurbs_add(vn_nurbs_add(vn_nurbs_scale(vector, cosine), vn_nurbs_scale(vn_nurbs_cross(axis, vector), sine)),
                        vn_nurbs_scale(axis, vn_nurbs_dot(axis, vector) * (1.0 - cosine)))


def vn_nurbs_ring_frames(tangents):
    """Per point the (axis, binormal) pair spanning its ring, both perpendicular to its tangent, carried
    from point to point by parallel transport so that the tube does not twist."""
    first = tangents[0]
    reference = (0.0, 1.0, 0.0) if abs(first[1]) < 0.9 else (1.0, 0.0, 0.0)
    binormal = vn_nurbs_normalize(vn_nurbs_cross(first, reference))
    axis = vn_nurbs_normalize(vn_nurbs_cross(binormal, first), reference)
    frames = [(axis, binormal)]
    for previous, tangent in zip(tangents, tangents[1:]):
        turn = vn_nurbs_cross(previous, tangent)
        turn_length = vn_nurbs_length(turn)
        if turn_length > VN_NURBS_NORMALIZE_EPSILON:
            angle = math.acos(max(-1.0, min(1.0, vn_nurbs_dot(previous, tangent))))
            axis = vn_nurbs_normalize(vn_nurbs_rotate(axis, vn_nurbs_scale(turn, 1.0 / turn_length), angle), axis)
        binormal = vn_nurbs_normalize(vn_nurbs_cross(tangent, axis), binormal)
        axis = vn_nurbs_normalize(vn_nurbs_cross(binormal, tangent), axis)
        frames.append((axis, binormal))
    return frames


def vn_nurbs_add_tube(vertices, indices, points, radius, sides):
    """Appends the tube around one cleaned polyline of at least two points: a ring of sides vertices per
    point, two triangles per side between neighbouring rings, and a cap at each end of an open one."""
    closed = vn_nurbs_distance_squared(points[0], points[-1]) < VN_NURBS_TUBE_CLOSED_EPSILON ** 2
    if closed and len(points) > 2:
        points = points[:-1]
    base = len(vertices)
    for point, (axis, binormal) in zip(points, vn_nurbs_ring_frames(vn_nurbs_tangents(points, closed))):
        for spoke in range(sides):
            angle = 2.0 * math.pi * spoke / sides
            offset = vn_nurbs_add(vn_nurbs_scale(axis, math.cos(angle) * radius), vn_nurbs_scale(binormal, math.sin(angle) * radius))
            vertices.append(vn_nurbs_add(point, offset))
    rings = len(points)
    for ring in range(rings if closed else rings - 1):
        following = (ring + 1) % rings
        for spoke in range(sides):
            spoke_next = (spoke + 1) % sides
            a, b = base + ring * sides + spoke, base + ring * sides + spoke_next
            c, d = base + following * sides + spoke_next, base + following * sides + spoke
            indices.extend((a, b, c, a, c, d))
    if not closed:
        start, end = len(vertices), len(vertices) + 1
        vertices.extend((points[0], points[-1]))
        last_ring = base + (rings - 1) * sides
        for spoke in range(sides):
            spoke_next = (spoke + 1) % sides
            indices.extend((start, base + spoke_next, base + spoke))
            indices.extend((end, last_ring + spoke, last_ring + spoke_next))


def vn_nurbs_build_tube_mesh(polylines, radius=None, sides=VN_NURBS_TUBE_SIDES, line_width=None, height_cm=None):
    """A thin tube around each polyline as (vertices, triangle indices): (x, y, z) vertices and a flat
    list of indices, three per triangle. sides is at least 4; without a radius (or with one that is not
    a number) it comes from the tube radius rule at import scale 1; it is at least 0.01. Polylines with
    fewer than two distinct points add nothing."""
    sides = max(sides, VN_NURBS_TUBE_MIN_SIDES) if vn_nurbs_is_count(sides) else VN_NURBS_TUBE_SIDES
    if not vn_nurbs_is_number(radius):
        radius = vn_nurbs_tube_radius(polylines, line_width, height_cm)
    radius = max(float(radius), VN_NURBS_TUBE_MIN_RADIUS)
    vertices = []
    indices = []
    for polyline in polylines if isinstance(polylines, (list, tuple)) else ():
        points = vn_nurbs_dedupe_polyline(polyline)
        if len(points) >= 2:
            vn_nurbs_add_tube(vertices, indices, points, radius, sides)
    return vertices, indices


# ---- a control's shape --------------------------------------------------------------------------------

def vn_nurbs_control_polylines(data):
    """The control's curves as polylines in the engine's space (8 samples per span), those of at least
    two points."""
    polylines = []
    for curve in vn_nurbs_collect_curve_dicts(data):
        points = [vn_nurbs_maya_to_unreal(point) for point in vn_nurbs_tessellate_curve(curve, VN_NURBS_DEFAULT_SAMPLES_PER_SPAN)]
        if len(points) >= 2:
            polylines.append(points)
    return polylines


def vn_nurbs_control_line_width(data):
    """The largest line width of the control's curves; None when none gives one."""
    widths = [width for width in (vn_nurbs_line_width(curve) for curve in vn_nurbs_collect_curve_dicts(data))
              if width is not None]
    return max(widths) if widths else None


def vn_nurbs_canonical_number(value):
    """A float as the hash text writes it: -0.0 reads as 0.0, so equal values give equal text."""
    return value + 0.0


def vn_nurbs_shape_hash(data):
    """12 hexadecimal digits that are equal for controls whose curves give the same tube: per curve its
    degree, form token, periodic and closed flags, knots, control vertices and line width. Empty for a
    control without curves."""
    entries = []
    for curve in vn_nurbs_collect_curve_dicts(data):
        cvs = vn_nurbs_curve_cvs(curve)
        knots = vn_nurbs_parse_floats(vn_nurbs_first_present(curve, VN_NURBS_KNOT_KEYS))
        entries.append([
            vn_nurbs_degree(curve, len(cvs)),
            vn_nurbs_form_token(curve),
            vn_nurbs_form_periodic(curve),
            vn_nurbs_form_closed(curve),
            [vn_nurbs_canonical_number(knot) for knot in knots],
            [[vn_nurbs_canonical_number(c) for c in cv] for cv in cvs],
            vn_nurbs_canonical_number(vn_nurbs_line_width(curve) or 0.0),
        ])
    if not entries:
        return ""
    text = json.dumps(entries, separators=(",", ":"), ensure_ascii=False)
    return hashlib.sha1(text.encode("utf-8")).hexdigest()[:VN_NURBS_HASH_DIGITS]
