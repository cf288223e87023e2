"""The sample character's locomotion clips, written as ASCII FBX 7.4 files: the clips are defined
here in the engine's space (centimetres, Z up, left-handed) as each animated bone's local transform
per frame, and written in FBX's right-handed space, as an exporter writes them for the engine's FBX
import to convert back (positions with Y negated, rotations with X and Z negated)."""

import math

import sample_math as m

FBX_TICKS_PER_SECOND = 46186158000
# FBX's TimeMode values of the frame rates used here.
TIME_MODES = {30: 6, 60: 3, 24: 11}


class Clip:
    """A clip: its file's base name, frame rate, length in frames, and per animated bone a function
    of the frame's phase (0 at the first frame, 1 at the last) giving (translation offset, rotation
    in degrees about the bone's local X, Y and Z axes, applied after its bind rotation)."""

    def __init__(self, name, fps, frames, bones):
        self.name = name
        self.fps = fps
        self.frames = frames
        self.bones = bones

    def keys(self):
        return self.frames + 1


def swing(degrees, axis, phase_offset=0.0):
    """A rotation that swings about one local axis, one full cycle over the clip."""
    def at(phase):
        angle = degrees * math.sin(2.0 * math.pi * (phase + phase_offset))
        rotation = [0.0, 0.0, 0.0]
        rotation["xyz".index(axis)] = angle
        return (0.0, 0.0, 0.0), tuple(rotation)
    return at


def travel(distance, bob=0.0):
    """The root moving distance forward (the engine's +X) over the clip, bobbing up and down twice."""
    def at(phase):
        return (distance * phase, 0.0, bob * math.sin(4.0 * math.pi * phase)), (0.0, 0.0, 0.0)
    return at


def clips(name):
    """The character's clips: idle, walk and run, which a locomotion BlendSpace's samples match by
    name, and a wave, which matches none of them."""
    return [
        Clip(name + "_Idle", 30, 60, {"Spine1_M": swing(2.0, "y"), "Head_M": swing(3.0, "z", 0.25)}),
        Clip(name + "_Walk_Forward", 30, 30, {"Root_M": travel(150.0, 2.0), "Hip_R": swing(25.0, "y"), "Hip_L": swing(25.0, "y", 0.5),
                                             "Knee_R": swing(20.0, "y", 0.25), "Knee_L": swing(20.0, "y", 0.75)}),
        Clip(name + "_Run_Forward", 30, 20, {"Root_M": travel(300.0, 5.0), "Hip_R": swing(45.0, "y"), "Hip_L": swing(45.0, "y", 0.5),
                                            "Knee_R": swing(50.0, "y", 0.25), "Knee_L": swing(50.0, "y", 0.75)}),
        Clip(name + "_Wave", 30, 45, {"Shoulder_R": swing(60.0, "x"), "Elbow_R": swing(40.0, "z", 0.5)}),
    ]


# ---- rotations (quaternions x, y, z, w) -----------------------------------------------------------

def quat_from_euler_xyz(degrees):
    """The rotation of turning about X, then Y, then Z (each about the fixed axes), as FBX's default order."""
    qx, qy, qz = [(math.sin(math.radians(d) / 2.0), math.cos(math.radians(d) / 2.0)) for d in degrees]
    return m.quat_mul((0.0, 0.0, qz[0], qz[1]), m.quat_mul((0.0, qy[0], 0.0, qy[1]), (qx[0], 0.0, 0.0, qx[1])))


def euler_xyz_from_quat(q):
    """Degrees about X, Y and Z whose turns in that order give q."""
    x, y, z, w = q
    roll = math.atan2(2.0 * (w * x + y * z), 1.0 - 2.0 * (x * x + y * y))
    pitch = math.asin(max(-1.0, min(1.0, 2.0 * (w * y - z * x))))
    yaw = math.atan2(2.0 * (w * z + x * y), 1.0 - 2.0 * (y * y + z * z))
    return tuple(math.degrees(a) for a in (roll, pitch, yaw))


def local_key(joint, offset, degrees):
    """A bone's local transform in the engine's space: its bind translation plus the offset, and its
    bind rotation followed by the turn about its own axes."""
    translation = tuple(b + o for b, o in zip(joint.local_translation, offset))
    return translation, m.quat_mul(tuple(joint.local_rotation), quat_from_euler_xyz(degrees))


def expected_keys(clip, joint):
    """Every key of a bone's track, as the engine holds it: [(translation, rotation), ...]."""
    at = clip.bones[joint.name]
    return [local_key(joint, *at(frame / clip.frames)) for frame in range(clip.keys())]


# ---- FBX text ---------------------------------------------------------------------------------------

def to_fbx(translation, rotation):
    """An engine-space local transform as FBX's Lcl Translation and Lcl Rotation (degrees, XYZ)."""
    x, y, z = translation
    qx, qy, qz, qw = rotation
    return (x, -y, z), euler_xyz_from_quat((-qx, qy, -qz, qw))


def number(value):
    text = "%.9g" % value
    return "0" if text == "-0" else text


def numbers(values):
    return ",".join(number(v) for v in values)


def fbx_text(clip, skeleton):
    """The clip as an ASCII FBX file: the skeleton's joints (Maya's group nodes left out) as limb
    nodes at their bind pose, one animation stack and layer, and curves for the animated bones."""
    joints = [joint for joint in skeleton.joints if joint.local_translation is not None]
    by_name = {joint.name: joint for joint in joints}
    ids = {joint.name: 100000 + index for index, joint in enumerate(joints)}
    stop = round(clip.frames * FBX_TICKS_PER_SECOND / clip.fps)
    times = [round(frame * FBX_TICKS_PER_SECOND / clip.fps) for frame in range(clip.keys())]
    lines = ["; FBX 7.4.0 project file", "; The sample character's clip " + clip.name + ", written by Samples/sample_clips.py",
             "FBXHeaderExtension:  {", "\tFBXHeaderVersion: 1003", "\tFBXVersion: 7400", "}",
             "GlobalSettings:  {", "\tVersion: 1000", "\tProperties70:  {",
             '\t\tP: "UpAxis", "int", "Integer", "",2', '\t\tP: "UpAxisSign", "int", "Integer", "",1',
             '\t\tP: "FrontAxis", "int", "Integer", "",1', '\t\tP: "FrontAxisSign", "int", "Integer", "",-1',
             '\t\tP: "CoordAxis", "int", "Integer", "",0', '\t\tP: "CoordAxisSign", "int", "Integer", "",1',
             '\t\tP: "UnitScaleFactor", "double", "Number", "",1',
             '\t\tP: "TimeMode", "enum", "", "",%d' % TIME_MODES[clip.fps],
             '\t\tP: "TimeSpanStart", "KTime", "Time", "",0', '\t\tP: "TimeSpanStop", "KTime", "Time", "",%d' % stop,
             "\t}", "}", "Objects:  {"]
    for joint in joints:
        translation, rotation = to_fbx(joint.local_translation, joint.local_rotation)
        lines += ['\tModel: %d, "Model::%s", "LimbNode" {' % (ids[joint.name], joint.name), "\t\tVersion: 232", "\t\tProperties70:  {",
                  '\t\t\tP: "Lcl Translation", "Lcl Translation", "", "A",%s' % numbers(translation),
                  '\t\t\tP: "Lcl Rotation", "Lcl Rotation", "", "A",%s' % numbers(rotation), "\t\t}", "\t}"]
    lines += ['\tAnimationStack: 10, "AnimStack::%s", "" {' % clip.name, "\t\tProperties70:  {",
              '\t\t\tP: "LocalStop", "KTime", "Time", "",%d' % stop, '\t\t\tP: "ReferenceStop", "KTime", "Time", "",%d' % stop,
              "\t\t}", "\t}", '\tAnimationLayer: 11, "AnimLayer::BaseLayer", "" {', "\t}"]
    connections = ['\tC: "OO",%d,%d' % (ids[j.name], ids[j.parent] if j.parent in ids else 0) for j in joints] + ['\tC: "OO",11,10']
    next_id = 20
    for bone in sorted(clip.bones):
        keys = [to_fbx(*key) for key in expected_keys(clip, by_name[bone])]
        for channel, property_name, values in (("T", "Lcl Translation", [k[0] for k in keys]), ("R", "Lcl Rotation", [k[1] for k in keys])):
            node = next_id
            next_id += 1
            lines += ['\tAnimationCurveNode: %d, "AnimCurveNode::%s", "" {' % (node, channel), "\t\tProperties70:  {"]
            lines += ['\t\t\tP: "d|%s", "Number", "", "A",%s' % (axis, number(values[0][index])) for index, axis in enumerate("XYZ")]
            lines += ["\t\t}", "\t}"]
            connections += ['\tC: "OO",%d,11' % node, '\tC: "OP",%d,%d, "%s"' % (node, ids[bone], property_name)]
            for index, axis in enumerate("XYZ"):
                curve = next_id
                next_id += 1
                lines += ['\tAnimationCurve: %d, "AnimCurve::", "" {' % curve, "\t\tDefault: %s" % number(values[0][index]), "\t\tKeyVer: 4009",
                          "\t\tKeyTime: *%d {" % len(times), "\t\t\ta: " + ",".join(str(t) for t in times), "\t\t}",
                          "\t\tKeyValueFloat: *%d {" % len(times), "\t\t\ta: " + numbers(v[index] for v in values), "\t\t}",
                          "\t\tKeyAttrFlags: *1 {", "\t\t\ta: 24836", "\t\t}", "\t\tKeyAttrDataFloat: *4 {", "\t\t\ta: 0,0,218434821,0", "\t\t}",
                          "\t\tKeyAttrRefCount: *1 {", "\t\t\ta: %d" % len(times), "\t\t}", "\t}"]
                connections.append('\tC: "OP",%d,%d, "d|%s"' % (curve, node, axis))
    lines += ["}", "Connections:  {"] + connections + ["}", ""]
    return "\n".join(lines)


def write_clips(name, skeleton, folder):
    """Writes the clips into folder; returns their file names."""
    import os
    os.makedirs(folder, exist_ok=True)
    names = []
    for clip in clips(name):
        file_name = clip.name + ".fbx"
        with open(os.path.join(folder, file_name), "w", encoding="utf-8", newline="\n") as handle:
            handle.write(fbx_text(clip, skeleton))
        names.append(file_name)
    return names
