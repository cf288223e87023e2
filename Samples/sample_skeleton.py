"""The sample biped's skeleton: joint names, parents and bind pose.

The skeleton is laid out as a rigger would in Maya (Y up, centimetres, the character facing +Z with
its left side on +X, every joint's X axis aiming at its child), converted once into the Unreal
skeletal mesh's reference pose (local transforms in centimetres) and rounded to what the saved
package keeps. Every Maya value the JSON files carry is then derived back from those rounded
Unreal transforms, so the mesh and the JSON files describe exactly the same pose.
"""

import sample_math as m

# The rig's top groups, which Maya-side exports may carry as bones above the skeleton's root.
TOP_GROUPS = ("Main", "MainSystem", "MotionSystem")
SIDES = ("R", "L")
FINGER_NAMES = ("Thumb", "Index", "Middle", "Ring", "Pinky")
FINGER_SEGMENTS = 3
LID_MAIN_JOINTS = {"upperLid": 5, "lowerLid": 4}
TONGUE_JOINTS = 3
# How far the mouth corners sit from the face's middle (the face joints keep the world's axes).
LIP_CORNER_X = 2.6
INBETWEEN_PARTS = {"Spine1_M": 2, "Neck_M": 1}
TWIST_PARTS = 2
# Bounds are kept to the millimetre; they are a size estimate, not a pose.
BOUNDS_DIGITS = 1

UP = (0.0, 1.0, 0.0)
FORWARD = (0.0, 0.0, 1.0)


class Joint:
    """One joint: its name, parent, Maya layout position and the hints that orient it."""

    def __init__(self, name, parent, position, up=FORWARD, aim_child=None, world_oriented=False):
        self.name = name
        self.parent = parent
        self.layout_position = position
        self.up = up
        self.aim_child = aim_child
        self.world_oriented = world_oriented
        self.children = []
        # Filled by Skeleton.solve(): the stored Unreal local transform and the derived world frames.
        self.local_translation = None
        self.local_rotation = None
        self.unreal_rotation = None
        self.unreal_position = None
        self.maya_frame = None
        self.maya_position = None


def side_x(side, x):
    """Mirrors a left-side X coordinate onto the given side."""
    return x if side == "L" else -x


class Skeleton:
    """The ordered joints (parents first) with the top groups in front of the Maya joints."""

    def __init__(self, params):
        self.params = params
        self.joints = []
        self.by_name = {}
        self._lay_out()
        self.solve()

    # ---- layout -----------------------------------------------------------------------------------

    def add(self, name, parent, position, **hints):
        if name in self.by_name:
            raise ValueError("joint %s is laid out twice" % name)
        joint = Joint(name, parent, position, **hints)
        self.joints.append(joint)
        self.by_name[name] = joint
        if parent:
            self.by_name[parent].children.append(joint)
        return joint

    def add_chain(self, names, points, parent, up, world_oriented=False):
        for name, point in zip(names, points):
            self.add(name, parent, point, up=up, world_oriented=world_oriented)
            parent = name
        return parent

    def _lay_out(self):
        parent = None
        for group in TOP_GROUPS:
            self.add(group, parent, (0.0, 0.0, 0.0), world_oriented=True)
            parent = group
        self.add("RootMotion_M", "MotionSystem", (0.0, 0.0, 0.0), world_oriented=True)
        self.add("Root_M", "RootMotion_M", (0.0, 98.0, 0.0), aim_child=(self.root_part_names() or ["Spine1_M"])[0])
        self._lay_out_spine()
        self._lay_out_tail()
        for side in SIDES:
            self._lay_out_leg(side)
            self._lay_out_arm(side)
        self._lay_out_face()

    def root_part_names(self):
        return ["RootPart%d_M" % (i + 1) for i in range(self.params.root_parts)]

    def spine_names(self):
        return ["Spine%d_M" % (i + 1) for i in range(self.params.spine_joints)]

    def _lay_out_spine(self):
        spine = self.spine_names()
        bottom, top = 106.0, 134.0
        count = len(spine)
        parent = "Root_M"
        parts = self.root_part_names()
        for index, name in enumerate(parts):
            self.add(name, parent, (0.0, 98.0 + (bottom - 98.0) * (index + 1) / (len(parts) + 1.0), 0.0), up=FORWARD)
            parent = name
        for index, name in enumerate(spine):
            height = bottom + (top - bottom) * index / max(count, 1)
            self.add(name, parent, (0.0, height, -0.5 * index), up=FORWARD)
            parent = name
            parts = INBETWEEN_PARTS.get(name, 0)
            if parts:
                following = bottom + (top - bottom) * (index + 1) / max(count, 1)
                for part in range(1, parts + 1):
                    t = part / (parts + 1.0)
                    part_name = "%sPart%d_M" % (name[:-2], part)
                    self.add(part_name, parent, (0.0, height + (following - height) * t, -0.5 * (index + t)), up=FORWARD)
                    parent = part_name
        self.add("Chest_M", parent, (0.0, 140.0, -1.5), up=FORWARD)
        self.add("Neck_M", "Chest_M", (0.0, 150.0, -2.5), up=FORWARD)
        self.add("NeckPart1_M", "Neck_M", (0.0, 155.0, -1.5), up=FORWARD)
        self.add("Head_M", "NeckPart1_M", (0.0, 160.0, 0.0), up=FORWARD)
        self.add("HeadEnd_M", "Head_M", (0.0, 182.0, 0.0), up=FORWARD)

    def tail_names(self):
        return ["Tail%d_M" % i for i in range(self.params.tail_joints)]

    def _lay_out_tail(self):
        names = self.tail_names()
        points = [(0.0, 96.0 - 3.0 * i, -10.0 - 8.0 * i) for i in range(len(names))]
        self.add_chain(names, points, "Root_M", UP)

    def _lay_out_leg(self, side):
        hip = (side_x(side, 9.0), 93.0, 0.0)
        knee = (side_x(side, 9.0), 50.0, 2.0)
        ankle = (side_x(side, 9.0), 8.0, -3.0)
        self.add("Hip_" + side, "Root_M", hip, up=FORWARD)
        parent = self._add_twist_parts("Hip", side, hip, knee, FORWARD)
        self.add("Knee_" + side, parent, knee, up=FORWARD)
        parent = self._add_twist_parts("Knee", side, knee, ankle, FORWARD)
        self.add("Ankle_" + side, parent, ankle, up=UP, aim_child="Toes_" + side)
        self.add("Toes_" + side, "Ankle_" + side, (side_x(side, 9.0), 2.0, 10.0), up=UP)
        self.add("ToesEnd_" + side, "Toes_" + side, (side_x(side, 9.0), 2.0, 18.0), up=UP)

    def _add_twist_parts(self, stem, side, start, end, up):
        parent = stem + "_" + side
        for part in range(1, TWIST_PARTS + 1):
            name = "%sPart%d_%s" % (stem, part, side)
            self.add(name, parent, m.lerp(start, end, part / (TWIST_PARTS + 1.0)), up=up)
            parent = name
        return parent

    def finger_names(self):
        names = list(FINGER_NAMES[:self.params.fingers])
        names.extend("Extra%d" % (i + 1) for i in range(max(0, self.params.fingers - len(FINGER_NAMES))))
        return names

    def _lay_out_arm(self, side):
        shoulder = (side_x(side, 16.0), 146.0, -5.0)
        elbow = (side_x(side, 44.0), 146.0, -8.0)
        wrist = (side_x(side, 70.0), 146.0, -5.0)
        self.add("Scapula_" + side, "Chest_M", (side_x(side, 3.0), 145.0, -4.0), up=UP)
        self.add("Shoulder_" + side, "Scapula_" + side, shoulder, up=UP)
        parent = self._add_twist_parts("Shoulder", side, shoulder, elbow, UP)
        self.add("Elbow_" + side, parent, elbow, up=UP)
        parent = self._add_twist_parts("Elbow", side, elbow, wrist, UP)
        fingers = self.finger_names()
        # The wrist aims down the hand, at the middle finger's knuckle.
        aim = "%sFinger1_%s" % (fingers[len(fingers) // 2], side) if fingers else None
        self.add("Wrist_" + side, parent, wrist, up=UP, aim_child=aim)
        for index, finger in enumerate(fingers):
            # Fingers fan out across the palm from the thumb (front) to the last finger (back).
            t = index / max(len(fingers) - 1, 1)
            base = (side_x(side, 78.0 - 4.0 * (index == 0)), 146.0 - 2.0 * (index == 0), -5.0 + 4.0 - 8.0 * t)
            direction = (side_x(side, 1.0), 0.0, 0.6 if index == 0 else 0.0)
            names = ["%sFinger%d_%s" % (finger, segment + 1, side) for segment in range(FINGER_SEGMENTS + 1)]
            points = [m.add(base, m.scale(m.normalize(direction), 3.0 * segment)) for segment in range(FINGER_SEGMENTS + 1)]
            self.add_chain(names, points, "Wrist_" + side, UP)

    def _lay_out_face(self):
        self.add("FaceJoint_M", "Head_M", (0.0, 165.0, 6.0), world_oriented=True)
        face = lambda name, parent, point: self.add(name, parent, point, world_oriented=True)  # noqa: E731
        face("JawJoint_M", "FaceJoint_M", (0.0, 163.0, 2.0))
        face("ChinCreaseJoint_M", "JawJoint_M", (0.0, 156.0, 9.0))
        face("lowerLipJoint0_M", "JawJoint_M", (0.0, 159.0, 9.5))
        parent = "JawJoint_M"
        for index in range(TONGUE_JOINTS):
            name = "Tongue%dJoint_M" % index
            face(name, parent, (0.0, 160.5, 3.0 + 2.0 * index))
            parent = name
        face("upperLipJoint0_M", "FaceJoint_M", (0.0, 161.0, 10.0))
        face("noseJoint_M", "FaceJoint_M", (0.0, 166.0, 11.0))
        for side in SIDES:
            face("cornerLipJoint_" + side, "FaceJoint_M", (side_x(side, LIP_CORNER_X), 160.0, 8.6))
            face("cheekJoint_" + side, "FaceJoint_M", (side_x(side, 4.5), 165.0, 8.0))
            face("browInnerJoint_" + side, "FaceJoint_M", (side_x(side, 1.8), 171.0, 9.5))
            face("EyeJoint_" + side, "FaceJoint_M", (side_x(side, 3.2), 168.5, 7.0))
            for lid, count in LID_MAIN_JOINTS.items():
                offset = 0.6 if lid == "upperLid" else -0.6
                for index in range(count):
                    across = (index - (count - 1) / 2.0) * 0.6
                    face("%sMain%d_%s" % (lid, index, side), "EyeJoint_" + side, (side_x(side, 3.2 + across), 168.5 + offset, 8.2))

    # ---- bind pose --------------------------------------------------------------------------------

    def _maya_layout_frame(self, joint):
        if joint.world_oriented:
            return m.IDENTITY
        target = self.by_name[joint.aim_child] if joint.aim_child else (joint.children[0] if joint.children else None)
        if target is None:
            return self._maya_layout_frame(self.by_name[joint.parent])
        return m.aim_frame(m.sub(target.layout_position, joint.layout_position), joint.up)

    def solve(self):
        """Computes the stored Unreal local transforms and, from them, every world frame.

        Each local transform is taken against its parent's pose as stored (composed from the parent's
        rounded local transforms), so rounding never accumulates down a chain: every joint lands
        within one rounding step of its layout."""
        unit = self.params.import_scale
        for joint in self.joints:
            rotation = m.fbx_frame(self._maya_layout_frame(joint))
            position = m.scale(m.swap_yz(joint.layout_position), unit)
            if joint.parent:
                parent = self.by_name[joint.parent]
                inverse = m.transpose(parent.unreal_rotation)
                local_rotation = m.mat_mul(rotation, inverse)
                local_translation = m.row_times(m.sub(position, parent.unreal_position), inverse)
            else:
                local_rotation, local_translation = rotation, position
            joint.local_rotation = m.quantize_quat(m.quat_from_matrix(local_rotation))
            joint.local_translation = tuple(m.quantize(v) for v in local_translation)
            rotation = m.matrix_from_quat(joint.local_rotation)
            position = joint.local_translation
            if joint.parent:
                position = m.add(m.row_times(position, parent.unreal_rotation), parent.unreal_position)
                rotation = m.mat_mul(rotation, parent.unreal_rotation)
            joint.unreal_rotation = rotation
            joint.unreal_position = position
            joint.maya_frame = m.fbx_frame(rotation)
            joint.maya_position = m.scale(m.swap_yz(position), 1.0 / unit)

    # ---- queries ----------------------------------------------------------------------------------

    def maya_joints(self):
        """The joints of the Maya skeleton (everything below the top groups)."""
        return [joint for joint in self.joints if joint.name not in TOP_GROUPS]

    def position(self, name):
        return self.by_name[name].maya_position

    def frame(self, name):
        return self.by_name[name].maya_frame

    def bounds(self):
        """Origin, box extent and sphere radius (Unreal, centimetres) around the bind pose, padded
        by a flesh margin the way a skinned mesh extends past its joints."""
        margin = 12.0 * self.params.import_scale
        points = [joint.unreal_position for joint in self.joints]
        low = [min(p[i] for p in points) - margin for i in range(3)]
        high = [max(p[i] for p in points) + margin for i in range(3)]
        origin = tuple(m.quantize((low[i] + high[i]) * 0.5, BOUNDS_DIGITS) for i in range(3))
        extent = tuple(m.quantize((high[i] - low[i]) * 0.5, BOUNDS_DIGITS) for i in range(3))
        return origin, extent, m.quantize(m.length(extent), BOUNDS_DIGITS)
