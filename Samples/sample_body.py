"""The sample's Body rig JSON: joints, controls, IK systems and reverse-foot systems, written the way
the Maya-side exporter writes a rigged biped (Maya world space, Maya units, degrees)."""

import sample_curves as curves
import sample_math as m
from sample_skeleton import INBETWEEN_PARTS, SIDES, TWIST_PARTS, side_x

EXPORT_TYPE = "VantorelBodyRig"
COLORS = {"M": [1.0, 1.0, 0.0], "R": [1.0, 0.0, 0.0], "L": [0.0, 0.25, 1.0]}
IK_COLORS = {"R": [1.0, 0.4, 0.0], "L": [0.0, 0.7, 1.0]}
# Local IK mode of each limb, each written in a different accepted form and found in a different
# place: (where, attribute value).
LIMB_IK_LOCAL = {
    "Leg_R": ("ik control", "addCtrl"),
    "Leg_L": ("end joint", 0),
    "Arm_R": ("end FK control", "nonZero"),
    "Arm_L": ("ik control fit", "Local_Orient"),
}
DRIVER_CHANNELS = ("curl", "spread", "fist")
# Each spread relationship uses one spelling of the driven Maya channel; with the curl and fist
# channels they cover the short and the long form of every channel.
SPREAD_ATTRIBUTES = ("ry", "rotateY", "sx", "scaleX", "sy", "ScaleY", "sz", "scalez", "tx", "translateX",
                     "ty", "TranslateY", "tz", "translatez", "rx")


def attribute_list(pairs):
    return [{"name": name, "value": value} for name, value in pairs]


def side_of(name):
    return name.rsplit("_", 1)[1]


class BodyRig:
    """Builds the Body rig JSON document for one skeleton."""

    def __init__(self, params, skeleton):
        self.params = params
        self.skeleton = skeleton
        self.controls = []
        self.names = set()

    # ---- control records --------------------------------------------------------------------------

    def control(self, name, kind, parent, joint=None, position=None, frame=None, world_space=False, diameter=1.0,
                color=None, gizmo="Default", offset=(0.0, 0.0, 0.0), attributes=(), fit_attributes=(), **extra):
        """Appends one control record; a control on a joint defaults to the joint's world frame."""
        if name in self.names:
            raise ValueError("control %s is written twice" % name)
        if position is None:
            position = self.skeleton.position(joint)
        if frame is None:
            frame = m.IDENTITY if world_space or not joint else self.skeleton.frame(joint)
        record = {"name": name, "type": kind, "parent": parent}
        if joint:
            record["joint"] = joint
        record.update({
            "gizmo": gizmo,
            "worldSpace": world_space,
            "offset": m.json_vector(offset),
            "diameter": m.quantize(diameter, m.JSON_DIGITS),
            "color": list(color or COLORS[side_of(name)]),
            "positionWorld": m.json_vector(position),
            "rotationWorld": m.json_vector(m.euler_xyz_from_matrix(frame)),
            "worldMatrix": m.world_matrix_16(frame, position),
        })
        if attributes:
            record["controlAttributes"] = attribute_list(attributes)
        if fit_attributes:
            record["fitAttributes"] = attribute_list(fit_attributes)
        record.update(extra)
        self.controls.append(record)
        self.names.add(name)
        return record

    def pole_axis(self, start, end, pole):
        """The start bone's axis that points at the pole, as the two-bone solver reads it: in the
        bone's own (Unreal) axes, the one of +-Y and +-Z nearest the way from the limb's line to the
        pole. A bone's Y axis is its Maya joint's negated, its Z axis the joint's (see fbx_frame)."""
        skeleton = self.skeleton
        origin, line = skeleton.position(start), m.normalize(m.sub(skeleton.position(end), skeleton.position(start)))
        towards = m.sub(m.sub(pole, origin), m.scale(line, m.dot(m.sub(pole, origin), line)))
        _x, y_axis, z_axis = skeleton.frame(start)
        along_y, along_z = m.dot(y_axis, towards), m.dot(z_axis, towards)
        if abs(along_y) >= abs(along_z):
            return [0.0, -1.0 if along_y > 0 else 1.0, 0.0]
        return [0.0, 0.0, 1.0 if along_z > 0 else -1.0]

    def fk(self, joint, parent, diameter, **extra):
        """An FK control on a joint, drawn as Maya's standard circle round the bone."""
        extra.setdefault("curveShapes", [curves.standard_circle(diameter * 0.5, normal_x=True)])
        return self.control("FK" + joint, "FK", parent, joint=joint, diameter=diameter, gizmo="Circle_Thick", **extra)

    # ---- the rig ----------------------------------------------------------------------------------

    def build(self):
        self._root_controls()
        spine_end = self._spine_controls()
        self._tail_controls()
        for side in SIDES:
            self._leg_controls(side)
            self._arm_controls(side, spine_end)
            self._bend_controls(side)
        return {
            "exportType": EXPORT_TYPE,
            "vantorelVersion": self.params.exporter_version,
            "rig": {
                "joints": self._joints(),
                "controls": self.controls,
                "ikSystems": self._ik_systems(),
                "reverseFootSystems": [self._reverse_foot(side) for side in SIDES],
            },
        }

    def _joints(self):
        records = []
        for joint in self.skeleton.maya_joints():
            record = {"name": joint.name, "parent": joint.parent if joint.parent not in ("MotionSystem",) else ""}
            attributes = []
            stem = joint.name.rsplit("_", 1)[0]
            if stem in ("Hip", "Knee", "Shoulder", "Elbow"):
                attributes.append(("twistJoints", TWIST_PARTS))
            if joint.name == "Ankle_L":
                attributes.append(("ikLocal", LIMB_IK_LOCAL["Leg_L"][1]))
            if attributes:
                record["fitJointInfo"] = {"attributes": attribute_list(attributes)}
            records.append(record)
        return records

    def _root_controls(self):
        self.control("Main", "Main", "", position=(0.0, 0.0, 0.0), diameter=60.0, color=[1.0, 1.0, 0.0],
                     gizmo={"name": "Square_Thick", "nurbsCurves": [curves.square(30.0)]})
        self.control("FKRootMotion_M", "Root", "Main", joint="RootMotion_M", diameter=40.0,
                     curves=[curves.arrow(8.0)])
        circle = curves.standard_circle(22.0)
        self.control("RootX_M", "Root", "FKRootMotion_M", joint="Root_M", world_space=True, diameter=44.0,
                     gizmo=dict(circle, name="Circle_Thick"))
        root_parts = self.skeleton.root_part_names()
        # The root part joints get FK controls of their own; the root carries no inbetween count for
        # them, so the hip swinger alone turns them.
        self.fk("Root_M", "RootX_M", 30.0)
        parent = "FKRoot_M"
        for joint in root_parts:
            self.fk(joint, parent, 28.0)
            parent = "FK" + joint
        root = self.skeleton.position("Root_M")
        self.control("HipSwinger_M", "HipSwinger", "FKRoot_M", joint="Root_M", position=m.add(root, (0.0, 0.0, -18.0)),
                     world_space=True, diameter=10.0, nurbs_curves=[curves.rational_arc(6.0)])
        self.control("HipSwingerPivot_M", "IKLocalOffset", "HipSwinger_M", joint="Root_M", world_space=True, diameter=4.0)

    def _spine_controls(self):
        skeleton = self.skeleton
        parent = "FK" + (skeleton.root_part_names() or ["Root_M"])[-1]
        for index, joint in enumerate(skeleton.spine_names()):
            parts = INBETWEEN_PARTS.get(joint, 0)
            fit = [("hipSwinger", 1)] if index == 0 else []
            attributes = [("inbetweenJoints", parts), ("inbetweenVis", False)] if parts else []
            self.fk(joint, parent, 26.0, attributes=attributes, fit_attributes=fit)
            part_parent = "FK" + joint
            for part in range(1, parts + 1):
                part_joint = "%sPart%d_M" % (joint[:-2], part)
                self.fk(part_joint, part_parent, 22.0)
                part_parent = "FK" + part_joint
            parent = "FK" + joint
        self.fk("Chest_M", parent, 28.0)
        self.fk("Neck_M", "FKChest_M", 12.0, attributes=[("inbetweenJoints", INBETWEEN_PARTS["Neck_M"]), ("inbetweenVis", True)])
        self.fk("NeckPart1_M", "FKNeck_M", 10.0)
        # The head's circle floats above the skull, turned to lie flat for the animator.
        self.fk("Head_M", "FKNeck_M", 18.0, attributes=[("global", 10.0)], offset=(0.0, 12.0, 0.0),
                shapeRotationOverride=[0.0, 0.0, 90.0])
        spine = skeleton.spine_names()
        handles = [(spine[0], "IKSpine1_M"), (spine[len(spine) // 2], "IKSpine2_M"), ("Chest_M", "IKSpine3_M")]
        for joint, name in handles:
            self.control(name, "SplineIK", "RootX_M", joint=joint, world_space=True, diameter=30.0,
                         color=[1.0, 0.6, 0.0], gizmo="Square_Thick", curveShapes=[curves.square(15.0)])
        self.control("FKIKSpine_M", "FKIK", "Main", joint="Root_M", position=m.add(skeleton.position("Root_M"), (0.0, 0.0, -28.0)),
                     world_space=True, diameter=4.0, gizmo="Cross", attributes=[("FKIKBlend", 0.0), ("autoVis", True),
                                                                                  ("FKVis", True), ("IKVis", False)],
                     **self._cross_curve())
        return "FKChest_M"

    def _cross_curve(self):
        """FKIK switches carry their curve on the record itself: a plus sign of two lines."""
        return {"degree": 1, "form": "open",
                "cvs": [[-1.0, 0.0, 0.0], [1.0, 0.0, 0.0], [0.0, 0.0, 0.0], [0.0, 1.0, 0.0], [0.0, -1.0, 0.0]]}

    def _tail_controls(self):
        tail = self.skeleton.tail_names()
        if len(tail) < 2:
            return
        parent = "FKRoot_M"
        for joint in tail:
            self.fk(joint, parent, 8.0)
            parent = "FK" + joint
        for joint, name in ((tail[0], "IKTail1_M"), (tail[-1], "IKTail3_M")):
            self.control(name, "SplineIK", "RootX_M", joint=joint, world_space=True, diameter=10.0,
                         color=[1.0, 0.6, 0.0], gizmo="Square_Thick", curve_shapes=[curves.square(5.0)])
        self.control("FKIKTail_M", "FKIK", "Main", joint=tail[0], position=m.add(self.skeleton.position(tail[0]), (0.0, 10.0, 0.0)),
                     world_space=True, diameter=3.0, gizmo="Cross", attributes=[("FKIKBlend", 10.0)], **self._cross_curve())

    # ---- legs -------------------------------------------------------------------------------------

    def _leg_controls(self, side):
        skeleton = self.skeleton
        hip, knee, ankle, toes = ("%s_%s" % (stem, side) for stem in ("Hip", "Knee", "Ankle", "Toes"))
        self.fk(hip, "FKRoot_M", 12.0)
        self.fk(knee, "FK" + hip, 10.0)
        self.fk(ankle, "FK" + knee, 9.0)
        self.fk(toes, "FK" + ankle, 7.0)
        limb = "Leg_" + side
        pole_position = m.add(skeleton.position(knee), (0.0, 0.0, 40.0))
        where, mode = LIMB_IK_LOCAL[limb]
        attributes = [("roll", 0.0), ("rollStartAngle", 25.0), ("rollEndAngle", 50.0), ("rock", 0.0), ("stretchy", 10.0)]
        if where == "ik control":
            attributes.append(("ikLocal", mode))
        ik = {"startJoint": hip, "middleJoint": knee, "endJoint": ankle, "poleControl": "Pole" + limb,
              "polePositionWorld": m.json_vector(pole_position), "id": limb, "defaultIK": True,
              "primaryAxis": [1.0, 0.0, 0.0], "secondaryAxis": self.pole_axis(hip, ankle, pole_position),
              "poleLineLength": 40.0}
        self.control("IK" + limb, "IK", "Main", joint=ankle, world_space=True, diameter=14.0, color=IK_COLORS[side],
                     gizmo="Box_Thick", attributes=attributes, ik=ik, curveShapes=[curves.square(7.0)])
        self.control("Pole" + limb, "IKPole", "Main", joint=knee, position=pole_position, world_space=True, diameter=3.0,
                     color=IK_COLORS[side], gizmo="Sphere_Solid", polePositionWorld=m.json_vector(pole_position),
                     shapes=curves.diamond(1.5))
        self.control("FKIK" + limb, "FKIK", "Main", joint=hip, position=m.add(skeleton.position(hip), (side_x(side, 14.0), 0.0, 0.0)),
                     world_space=True, diameter=4.0, gizmo="Cross",
                     attributes=[("FKIKBlend", 10.0), ("autoVis", True), ("FKVis", False), ("IKVis", True)], **self._cross_curve())
        self._foot_controls(side)

    def _foot_controls(self, side):
        skeleton = self.skeleton
        ankle = skeleton.position("Ankle_" + side)
        toes = skeleton.position("Toes_" + side)
        toes_end = skeleton.position("ToesEnd_" + side)
        ik = "IKLeg_" + side
        heel = (ankle[0], 0.0, ankle[2] - 6.0)
        pivots = (("RollHeel_" + side, heel, ik), ("RollToesEnd_" + side, (toes_end[0], 0.0, toes_end[2]), "RollHeel_" + side),
                  ("RollToes_" + side, (toes[0], 0.0, toes[2]), "RollToesEnd_" + side))
        for name, position, parent in pivots:
            self.control(name, "ReverseFoot", parent, joint="Ankle_" + side, position=position, world_space=True, diameter=4.0,
                         color=IK_COLORS[side], gizmo="Sphere_Thick")
        self.control("IKToes_" + side, "ReverseFootToe", "RollToesEnd_" + side, joint="Toes_" + side, diameter=6.0,
                     color=IK_COLORS[side], gizmo="Circle_Thick")
        local_kind = "ReverseFootToe" if side == "R" else "IKLocal"
        self.control("IKLocalLeg_" + side, local_kind, ik, joint="Ankle_" + side, diameter=8.0, color=IK_COLORS[side],
                     gizmo="Box_Thick")

    def _reverse_foot(self, side):
        ankle = self.skeleton.position("Ankle_" + side)
        inner = (ankle[0] - side_x(side, 4.0), 0.0, ankle[2] + 8.0)
        outer = (ankle[0] + side_x(side, 4.0), 0.0, ankle[2] + 8.0)
        rock = {"attribute": "rock",
                "innerPivot": self._rock_pivot("RockInner_" + side, inner),
                "outerPivot": self._rock_pivot("RockOuter_" + side, outer)}
        if side == "R":
            rock["innerPivot"].update({"inputMin": -100.0, "inputMax": 0.0, "rotationMultiplier": 1.0})
            rock["outerPivot"].update({"inputMin": 0.0, "inputMax": 100.0, "rotationMultiplier": -1.0})
        return {
            "ikControl": "IKLeg_" + side,
            "targetParent": "RollToes_" + side,
            "endJoint": "Ankle_" + side,
            "controls": ["RollHeel_" + side, "RollToesEnd_" + side, "RollToes_" + side, "IKToes_" + side, "IKLocalLeg_" + side],
            "rock": rock,
        }

    def _rock_pivot(self, name, position):
        return {"name": name, "positionWorld": m.json_vector(position), "worldMatrix": m.world_matrix_16(m.IDENTITY, position),
                "rotationAxis": "z"}

    # ---- arms -------------------------------------------------------------------------------------

    def _arm_controls(self, side, chest):
        skeleton = self.skeleton
        scapula, shoulder, elbow, wrist = ("%s_%s" % (stem, side) for stem in ("Scapula", "Shoulder", "Elbow", "Wrist"))
        limb = "Arm_" + side
        where, mode = LIMB_IK_LOCAL[limb]
        self.fk(scapula, chest, 8.0)
        self.fk(shoulder, "FK" + scapula, 9.0, fit_attributes=[("global", 0.0)] if side == "L" else ())
        self.fk(elbow, "FK" + shoulder, 8.0)
        self.fk(wrist, "FK" + elbow, 7.0, attributes=[("ikLocal", mode)] if where == "end FK control" else ())
        finger_controls = self._finger_controls(side)
        pole_position = m.add(skeleton.position(elbow), (0.0, 0.0, -40.0))
        ik = {"startJoint": shoulder, "middleJoint": elbow, "poleControl": "Pole" + limb,
              "polePositionWorld": m.json_vector(pole_position), "defaultMode": "FK", "poleLineLength": 30.0}
        ik["secondaryAxis"] = self.pole_axis(shoulder, wrist, pole_position)
        fit = [("ikLocal", mode)] if where == "ik control fit" else []
        self.control("IK" + limb, "IK", "Main", joint=wrist, world_space=(mode == "nonZero"), diameter=10.0,
                     color=IK_COLORS[side], gizmo="Box_Thick", fit_attributes=fit, ik=ik)
        switch = {"startJoint": shoulder, "middleJoint": elbow, "endJoint": wrist} if side == "L" else None
        extra = {"ik": switch} if switch else {}
        extra.update(self._cross_curve())
        self.control("FKIK" + limb, "FKIK", "Main", joint=wrist, position=m.add(skeleton.position(wrist), (0.0, 8.0, -6.0)),
                     world_space=True, diameter=3.0, gizmo="Cross", attributes=[("FKIKBlend", 0.0)], **extra)
        if finger_controls:
            self._finger_driving_system(side, finger_controls)

    def _finger_controls(self, side):
        controls = []
        for finger in self.skeleton.finger_names():
            parent = "FKWrist_" + side
            for segment in range(1, 4):
                joint = "%sFinger%d_%s" % (finger, segment, side)
                self.fk(joint, parent, 2.0)
                parent = "FK" + joint
                controls.append("FK" + joint)
        return controls

    def _finger_driving_system(self, side, finger_controls):
        wrist = self.skeleton.position("Wrist_" + side)
        channels = []
        for index, channel in enumerate(DRIVER_CHANNELS):
            relationships = []
            for number, target in enumerate(finger_controls):
                if channel == "curl":
                    attribute, multiplier = ("rz" if number % 2 else "rotateZ"), -9.0
                elif channel == "spread":
                    attribute, multiplier = SPREAD_ATTRIBUTES[number % len(SPREAD_ATTRIBUTES)], 0.5
                elif number % 3:
                    attribute, multiplier = "RZ", -6.0
                else:
                    attribute, multiplier = "RotateX", 1.0
                relationships.append({"target": target, "attribute": attribute, "multiplier": multiplier})
            record = {"name": channel, "relationships": relationships}
            if index == 0:
                record.update({"driverMin": -2.0, "driverMax": 10.0})
            elif index == 1:
                record.update({"driverMin": 10.0, "driverMax": -10.0})
            channels.append(record)
        self.control("Fingers_" + side, "DrivingSystem", "Main", joint="Wrist_" + side,
                     position=m.add(wrist, (side_x(side, 6.0), 6.0, 0.0)), world_space=True, diameter=3.0,
                     gizmo="Sphere_Thick", attributes=[(channel, 0.0) for channel in DRIVER_CHANNELS], drivingSystem=channels)

    # ---- bendy arms -------------------------------------------------------------------------------

    def _bend_controls(self, side):
        """Bend handles along both twist segments of the arm: a master and numbered handles per
        segment, the mid handles between segments, a zero handle, and one extra handle that
        importers leave alone."""
        if side != "L":
            return
        skeleton = self.skeleton
        shoulder, elbow, wrist = (skeleton.position("%s_L" % stem) for stem in ("Shoulder", "Elbow", "Wrist"))
        circle = lambda size: [curves.standard_circle(size, normal_x=True)]  # noqa: E731

        def bend(name, kind, position, frame_joint, size=3.0):
            self.control(name, kind, "Main", position=position, frame=skeleton.frame(frame_joint), diameter=size * 2.0,
                         gizmo="Circle_Thick", color=[1.0, 0.0, 1.0], curveShapes=circle(size))

        bend("BendShoulder0_L", "Bend", shoulder, "Shoulder_L")
        bend("BendMidShoulder_L", "BendMid", shoulder, "Shoulder_L")
        bend("BendShoulder_L", "Bend", m.lerp(shoulder, elbow, 0.5), "Shoulder_L", 4.0)
        bend("BendShoulder1_L", "Bend", m.lerp(shoulder, elbow, 0.33), "Shoulder_L")
        bend("BendShoulder2_L", "Bend", m.lerp(shoulder, elbow, 0.66), "Shoulder_L")
        bend("BendMidElbow_L", "BendMid", elbow, "Elbow_L")
        bend("BendElbow_L", "Bend", m.lerp(elbow, wrist, 0.5), "Elbow_L", 4.0)
        bend("BendMidWrist_L", "BendMid", wrist, "Elbow_L")
        bend("BendExtraShoulder1_L", "Bend", m.lerp(shoulder, elbow, 0.5), "Shoulder_L", 2.0)

    # ---- IK systems -------------------------------------------------------------------------------

    def _ik_systems(self):
        spine = self.skeleton.spine_names()
        systems = [{
            "name": "Spine_M", "solver": "ikSplineSolver", "joints": [spine[0], "Chest_M"],
            "controls": ["IKSpine1_M", "IKSpine2_M", "IKSpine3_M"], "sourceNumControls": 3,
            "switchControl": "FKIKSpine_M", "defaultIK": False, "primaryAxis": [1.0, 0.0, 0.0],
        }]
        tail = self.skeleton.tail_names()
        if len(tail) >= 2:
            systems.append({
                "name": "Tail_M", "solver": "ikSplineSolver", "joints": list(tail), "controls": ["IKTail1_M", "IKTail3_M"],
                "sourceNumControls": 2, "middleJoint": tail[len(tail) // 2], "switchControl": "FKIKTail_M",
                "defaultIK": "ik", "primaryAxis": [1.0, 0.0, 0.0],
            })
        for side in SIDES:
            systems.append({"name": "Leg_" + side, "solver": "ikRPsolver",
                            "joints": ["Hip_" + side, "Knee_" + side, "Ankle_" + side], "controls": ["IKLeg_" + side]})
        return systems
