"""Small vector, matrix and quaternion helpers for the sample generator (standard library only).

Conventions follow the two applications the sample is written for:

- Matrices are 3x3 rotation matrices in the row-vector convention used by both Maya and Unreal:
  row r is the frame's local axis r in world coordinates and a point maps as p' = p * M.
- Quaternions are (x, y, z, w) and rotate like Unreal's FQuat built from such a matrix.
- Maya is Y-up, Unreal is Z-up; swapping the second and third coordinate converts a point either way.
  A joint frame converts as an FBX import converts it (fbx_frame): each axis as a point does, with
  the Y axis negated so that a proper frame stays proper.
"""

import math

# Digits the saved package text keeps for every number (the engine exports floats with "%f").
PACKAGE_DIGITS = 6
# Digits written for every number in the JSON files.
JSON_DIGITS = 6

IDENTITY = ((1.0, 0.0, 0.0), (0.0, 1.0, 0.0), (0.0, 0.0, 1.0))


def add(a, b):
    return (a[0] + b[0], a[1] + b[1], a[2] + b[2])


def sub(a, b):
    return (a[0] - b[0], a[1] - b[1], a[2] - b[2])


def scale(a, s):
    return (a[0] * s, a[1] * s, a[2] * s)


def dot(a, b):
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]


def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def length(a):
    return math.sqrt(dot(a, a))


def normalize(a):
    size = length(a)
    if size < 1e-12:
        raise ValueError("cannot normalise a zero vector")
    return scale(a, 1.0 / size)


def lerp(a, b, t):
    return add(a, scale(sub(b, a), t))


def swap_yz(p):
    """Converts a point between Maya's Y-up and Unreal's Z-up frame (its own inverse)."""
    return (p[0], p[2], p[1])


def aim_frame(aim, up):
    """A proper frame whose X axis points along aim and whose Y axis leans towards up."""
    x = normalize(aim)
    z = cross(x, up)
    if length(z) < 1e-6:
        z = cross(x, (0.0, 0.0, 1.0) if abs(x[2]) < 0.9 else (1.0, 0.0, 0.0))
    z = normalize(z)
    y = cross(z, x)
    return (x, y, z)


def transpose(m):
    return tuple(tuple(m[c][r] for c in range(3)) for r in range(3))


def mat_mul(a, b):
    return tuple(tuple(sum(a[r][k] * b[k][c] for k in range(3)) for c in range(3)) for r in range(3))


def row_times(p, m):
    """The row vector p times the matrix m."""
    return tuple(p[0] * m[0][c] + p[1] * m[1][c] + p[2] * m[2][c] for c in range(3))


def fbx_frame(m):
    """Converts a joint frame (rows: the X, Y and Z axes) between Maya and Unreal as an FBX import
    does: each axis as a direction (Y and Z swapped, as positions are), and the Y axis negated, which
    keeps the frame proper (the importer's mirror in Y). A bone's X and Z axes are thereby its Maya
    joint's, its Y axis the opposite of the joint's, so a turn about the joint's X or Z axis is the
    opposite turn about the bone's, and a turn about Y the same. The conversion is its own inverse."""
    x, y, z = m
    return ((x[0], x[2], x[1]), (-y[0], -y[2], -y[1]), (z[0], z[2], z[1]))


def quat_from_matrix(m):
    """The unit quaternion (x, y, z, w) of a proper row-vector rotation matrix, w >= 0."""
    trace = m[0][0] + m[1][1] + m[2][2]
    if trace > 0.0:
        s = 0.5 / math.sqrt(trace + 1.0)
        q = ((m[1][2] - m[2][1]) * s, (m[2][0] - m[0][2]) * s, (m[0][1] - m[1][0]) * s, 0.25 / s)
    else:
        i = max(range(3), key=lambda k: m[k][k])
        j, k = (i + 1) % 3, (i + 2) % 3
        s = math.sqrt(m[i][i] - m[j][j] - m[k][k] + 1.0)
        q = [0.0, 0.0, 0.0, 0.0]
        q[i] = 0.5 * s
        s = 0.5 / s
        q[3] = (m[j][k] - m[k][j]) * s
        q[j] = (m[i][j] + m[j][i]) * s
        q[k] = (m[i][k] + m[k][i]) * s
        q = tuple(q)
    if q[3] < 0.0:
        q = tuple(-c for c in q)
    return tuple(q)


def quat_mul(a, b):
    """The rotation b followed by a (Hamilton product a * b), quaternions as (x, y, z, w)."""
    ax, ay, az, aw = a
    bx, by, bz, bw = b
    return (aw * bx + ax * bw + ay * bz - az * by,
            aw * by - ax * bz + ay * bw + az * bx,
            aw * bz + ax * by - ay * bx + az * bw,
            aw * bw - ax * bx - ay * by - az * bz)


def quat_normalized(q):
    size = math.sqrt(sum(c * c for c in q))
    return tuple(c / size for c in q)


def matrix_from_quat(q):
    """The row-vector rotation matrix of a quaternion (normalised first)."""
    x, y, z, w = quat_normalized(q)
    return (
        (1.0 - 2.0 * (y * y + z * z), 2.0 * (x * y + w * z), 2.0 * (x * z - w * y)),
        (2.0 * (x * y - w * z), 1.0 - 2.0 * (x * x + z * z), 2.0 * (y * z + w * x)),
        (2.0 * (x * z + w * y), 2.0 * (y * z - w * x), 1.0 - 2.0 * (x * x + y * y)),
    )


def quantize(value, digits=PACKAGE_DIGITS):
    """value rounded to digits decimals, never negative zero."""
    rounded = round(value, digits)
    return 0.0 if rounded == 0.0 else rounded


def quantize_quat(q):
    """The quaternion as the package text stores it: six decimals per component, each component
    rounded down or up so that the stored quaternion is as near unit length as six decimals allow
    (within about 1e-6; the components of the sixteen roundings are tried, nearest first on a tie).

    A stored rotation is then within a millionth of the layout's, so a bone's X axis aims at its child
    as closely as the package can say: a rig whose IK aims bones at their children leaves them where
    they are at rest."""
    step = 10.0 ** -PACKAGE_DIGITS
    q = quat_normalized(q)
    choices = [(math.floor(c / step) * step, math.ceil(c / step) * step) for c in q]
    best = None
    for bits in range(16):
        candidate = tuple(quantize(choices[i][(bits >> i) & 1]) for i in range(4))
        length_error = abs(sum(c * c for c in candidate) - 1.0)
        distance = sum((c - o) ** 2 for c, o in zip(candidate, q))
        key = (round(length_error, 15), distance)
        if best is None or key < best[0]:
            best = (key, candidate)
    return best[1]


def euler_xyz_from_matrix(m):
    """Maya Euler angles in degrees, rotate order XYZ (X applied first), of a row-vector matrix."""
    sy = max(-1.0, min(1.0, -m[0][2]))
    ry = math.asin(sy)
    if abs(math.cos(ry)) > 1e-9:
        rx = math.atan2(m[1][2], m[2][2])
        rz = math.atan2(m[0][1], m[0][0])
    else:
        rx = math.atan2(-m[2][1], m[1][1])
        rz = 0.0
    return (math.degrees(rx), math.degrees(ry), math.degrees(rz))


def matrix_from_euler_xyz(angles):
    """The row-vector matrix of Maya Euler angles in degrees, rotate order XYZ."""
    rx, ry, rz = (math.radians(a) for a in angles)
    mx = ((1.0, 0.0, 0.0), (0.0, math.cos(rx), math.sin(rx)), (0.0, -math.sin(rx), math.cos(rx)))
    my = ((math.cos(ry), 0.0, -math.sin(ry)), (0.0, 1.0, 0.0), (math.sin(ry), 0.0, math.cos(ry)))
    mz = ((math.cos(rz), math.sin(rz), 0.0), (-math.sin(rz), math.cos(rz), 0.0), (0.0, 0.0, 1.0))
    return mat_mul(mat_mul(mx, my), mz)


def world_matrix_16(frame, position):
    """A Maya world matrix as the exporter writes it: 16 numbers, row by row, translation last."""
    values = []
    for row in frame:
        values.extend(row)
        values.append(0.0)
    values.extend(position)
    values.append(1.0)
    return [quantize(v, JSON_DIGITS) for v in values]


def json_vector(values):
    return [quantize(v, JSON_DIGITS) for v in values]
