"""NURBS curve shapes of the sample's controls, written the way Maya-side exporters write them.

Control vertices are in the control's local space (Maya units). Different exporters spell the curve
keys differently; the sample uses several of the accepted spellings on purpose, one per shape kind.
"""

import math

import sample_math as m

# Maya's standard circle (makeNurbCircle, normal Y, radius 1): a periodic cubic of 8 points, the
# first three repeated at the end, its knots running -2 to 10.
CIRCLE_CORNER = 0.783612
CIRCLE_EDGE = 1.108194
CIRCLE_POINTS = (
    (CIRCLE_CORNER, 0.0, -CIRCLE_CORNER), (0.0, 0.0, -CIRCLE_EDGE), (-CIRCLE_CORNER, 0.0, -CIRCLE_CORNER),
    (-CIRCLE_EDGE, 0.0, 0.0), (-CIRCLE_CORNER, 0.0, CIRCLE_CORNER), (0.0, 0.0, CIRCLE_EDGE),
    (CIRCLE_CORNER, 0.0, CIRCLE_CORNER), (CIRCLE_EDGE, 0.0, 0.0),
)
CIRCLE_KNOTS = [float(k) for k in range(-2, 11)]


def _points(points, size):
    return [m.json_vector(m.scale(p, size)) for p in points]


def standard_circle(size, name="circle", normal_x=False):
    """Maya's standard circle: "cvs" as point lists, "form" 2 and Maya's own knot vector. With
    normal_x the circle is turned to face along X, round a joint that aims down X."""
    points = CIRCLE_POINTS + CIRCLE_POINTS[:3]
    if normal_x:
        points = tuple((p[1], p[0], p[2]) for p in points)
    cvs = _points(points, size)
    return {"name": name, "degree": 3, "form": 2, "knots": list(CIRCLE_KNOTS), "cvs": cvs}


def square(size, name="square"):
    """A closed linear square in the XZ plane: a flat "CVs" number list, "deg" 1, "curveForm"
    "closed", no knots."""
    corners = ((1.0, 0.0, 1.0), (1.0, 0.0, -1.0), (-1.0, 0.0, -1.0), (-1.0, 0.0, 1.0), (1.0, 0.0, 1.0))
    flat = []
    for point in _points(corners, size):
        flat.extend(point)
    return {"name": name, "deg": 1, "curveForm": "closed", "CVs": flat, "lineWidth": 2.0}


def diamond(size, name="diamond"):
    """Three closed linear loops of a pole's diamond: "points" as lists, "order" 2, "closed" true."""
    curves = []
    loops = (((1, 0, 0), (0, 1, 0), (-1, 0, 0), (0, -1, 0)),
             ((1, 0, 0), (0, 0, 1), (-1, 0, 0), (0, 0, -1)),
             ((0, 1, 0), (0, 0, 1), (0, -1, 0), (0, 0, -1)))
    for index, loop in enumerate(loops):
        points = _points(loop + loop[:1], size)
        curves.append({"name": "%s%d" % (name, index), "order": 2, "closed": True, "points": points})
    return curves


def arrow(size, name="arrow"):
    """A flat four-way arrow: "controlPoints" as objects with "position" and "weight",
    "knotVector" written out, degree 1, "form" "open"."""
    tip, wing, shaft = 2.0, 1.0, 0.35
    outline = [(0.0, 0.0, tip), (wing, 0.0, wing), (shaft, 0.0, wing), (shaft, 0.0, shaft), (wing, 0.0, shaft),
               (tip, 0.0, 0.0)]
    full = []
    for quarter in range(4):
        angle = math.pi * 0.5 * quarter
        c, s = math.cos(angle), math.sin(angle)
        full.extend((p[0] * c + p[2] * s, 0.0, -p[0] * s + p[2] * c) for p in outline)
    full.append(full[0])
    vertices = [{"position": point, "weight": 1.0} for point in _points(full, size)]
    knots = [float(i) for i in range(len(vertices))]
    return {"name": name, "degree": 1, "form": "open", "knotVector": knots, "controlPoints": vertices}


def rational_arc(size, name="arc"):
    """A rational quadratic half circle: flat "P" numbers with a weight after every point, "krn"
    knots and "curve_form" "0"."""
    half = math.sqrt(0.5)
    points = ((1.0, 0.0, 0.0, 1.0), (1.0, 0.0, 1.0, half), (0.0, 0.0, 1.0, 1.0),
              (-1.0, 0.0, 1.0, half), (-1.0, 0.0, 0.0, 1.0))
    flat = []
    for x, y, z, w in points:
        flat.extend(m.json_vector((x * size, y * size, z * size)) + [m.quantize(w)])
    return {"name": name, "degree": 2, "curve_form": "0", "krn": [0.0, 0.0, 1.0, 1.0, 2.0, 2.0], "P": flat, "line_width": 1.5}


def half_circle(size, name="halfCircle"):
    """The eyelid and lip picker arc, in the face plane (XY), front depth 0.5 times its size:
    "cvs" as objects with "position", a linear open polyline."""
    cvs = []
    for index in range(9):
        angle = math.pi * index / 8.0
        cvs.append({"position": m.json_vector((math.cos(angle) * size, math.sin(angle) * size, 0.5 * size))})
    return {"name": name, "degree": 1, "form": "open", "cvs": cvs}
