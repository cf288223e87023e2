"""The sample's Face rig JSON (Maya-native schema, version 2): set-driven-key drivers, the face rig
block, on-face controls, visibility groups and look-at systems."""

import math

import sample_curves as curves
import sample_math as m
from sample_skeleton import LID_MAIN_JOINTS, LIP_CORNER_X, SIDES, side_x

EXPORT_TYPE = "VantorelFaceRig"
SCHEMA_VERSION = 2
YELLOW = [1.0, 1.0, 0.0]
GREEN = [0.0, 1.0, 0.0]
EYE_BLUE = [0.392, 0.863, 1.0, 1.0]
# How far in front of its joint (Maya +Z) an on-face control's picking shape sits.
SHAPE_FRONT = 1.5
# Slider layout in the control box: columns and rows of driver controls, in Maya units.
BOX_COLUMN = 1.2
BOX_ROW = 1.0
BOX_COLUMNS = 6
TONGUE_QUARTER_TURN = (0.7071068, 0.0, 0.0, 0.7071068)


def keys(*pairs):
    return [{"x": m.quantize(x, m.JSON_DIGITS), "y": m.quantize(y, m.JSON_DIGITS)} for x, y in pairs]


def row(bone, channel, key_list, **options):
    """One driven row: the options are written under the exporter's own key names."""
    record = {"bone": bone, "channel": channel}
    record.update(options)
    record["keys"] = key_list
    return record


def quaternion_row(bone, points):
    """A whole-rotation row: each key holds the bone's rotation at that driver value."""
    return {"bone": bone, "channel": "rotation", "representation": "quaternion", "composition": "restThenDelta",
            "keys": [{"x": m.quantize(x, m.JSON_DIGITS), "value": [m.quantize(c, 7) for c in value]} for x, value in points]}


def quaternion_about(axis, degrees):
    half = math.radians(degrees) * 0.5
    s = math.sin(half)
    return (axis[0] * s, axis[1] * s, axis[2] * s, math.cos(half))


class FaceRig:
    """Builds the Face rig JSON document for one skeleton."""

    def __init__(self, params, skeleton):
        self.params = params
        self.skeleton = skeleton
        self.drivers = []
        self.slots = {}

    # ---- drivers ----------------------------------------------------------------------------------

    def driver(self, control, channel, driven, minimum=None, maximum=None):
        """Appends a driver; the first row of each control carries its slider's place in the box."""
        record = {"control": control, "channel": channel}
        if minimum is not None:
            record["mayaDriverMin"] = minimum
            record["mayaDriverMax"] = maximum
        if control not in self.slots:
            slot = len(self.slots)
            self.slots[control] = slot
            column, line = slot % BOX_COLUMNS, slot // BOX_COLUMNS
            record["controlOffsetLocation"] = m.json_vector((column * BOX_COLUMN, -line * BOX_ROW, 0.0))
            record["controlOffsetScale"] = [1.0, 1.0, 1.0]
        record["driven"] = driven
        self.drivers.append(record)

    def _brow_and_eye_drivers(self):
        self.driver("ctrlBrow_R", "Translate.Y", [
            row("browInnerJoint_R", "translation.y", keys((-1, -0.6), (0, 0), (1, 0.8))),
            row("browInnerJoint_R", "ROTATION.Z", keys((-1, 8), (0, 0), (1, -12)), multiplier=1.0)], -1.0, 1.0)
        self.driver("ctrlBrow_R", "tx", [row("browInnerJoint_R", "tx", keys((-1, -0.3), (1, 0.3)))], -1.0, 1.0)
        self.driver("ctrlBrow_L", "translation.y", [
            row("browInnerJoint_L", "translate.y", keys((-1, -0.6), (0, 0), (1, 0.8))),
            row("browInnerJoint_L", "rz", keys((-1, -8), (0, 0), (1, 12)), applyMode="Additive")], -1.0, 1.0)
        self.driver("ctrlEye_R", "Translation.X", [row("EyeJoint_R", "rotation.y", keys((-1, -30), (0, 0), (1, 30)))], -1.0, 1.0)
        self.driver("ctrlEye_R", "ty", [row("EyeJoint_R", "rx", keys((-1, 25), (0, 0), (1, -25)))], -1.0, 1.0)
        self.driver("ctrlEye_L", "translate.x", [row("EyeJoint_L", "rotate.y", keys((-1, -30), (0, 0), (1, 30)))], -1.0, 1.0)
        self.driver("ctrlEye_L", "translate.y", [row("EyeJoint_L", "rotate.x", keys((-1, 25), (0, 0), (1, -25)))], -1.0, 1.0)

    def _mouth_drivers(self):
        self.driver("ctrlMouth_M", "jawSide", [row("JawJoint_M", "ry", keys((-10, -12), (0, 0), (10, 12)))], -10.0, 10.0)
        self.driver("ctrlMouth_M", "Value.Y", [
            row("JawJoint_M", "rotation.x", keys((-1, 25), (0, 0), (1, -4))),
            row("lowerLipJoint0_M", "translate.z", keys((-1, 0.4), (0, 0)), mode="Additive", space="Local")], -1.0, 1.0)
        self.driver("ctrlMouth_M", "jawForward", [row("JawJoint_M", "translation.z", keys((0, 0), (10, 1.2)))], 0.0, 10.0)
        self.driver("ctrlLips_M", "Value.Y", [
            row("upperLipJoint0_M", "translation.y", keys((-1, -0.3), (0, 0), (1, 0.4))),
            row("lowerLipJoint0_M", "translation.y", keys((-1, 0.3), (0, 0), (1, -0.4)), space="World")], -1.0, 1.0)
        self.driver("ctrlLips_M", "valuex", [row("upperLipJoint0_M", "tx", keys((-1, -0.4), (1, 0.4)))], -1.0, 1.0)
        for side in SIDES:
            sign = 1.0 if side == "L" else -1.0
            corner = "cornerLipJoint_" + side
            self.driver("ctrlMouthCorner_" + side, "Value.X" if side == "R" else "value.x", [
                row(corner, "translate.x", keys((-1, -0.5 * sign), (0, 0), (1, 0.7 * sign)), space="World"),
                row(corner, "tz", keys((-1, -0.2), (0, 0), (1, -0.3)), transformSpace="WorldSpace")], -1.0, 1.0)
            self.driver("ctrlMouthCorner_" + side, "value.y", [
                row(corner, "ty", keys((-1, -0.5), (0, 0), (1, 0.6)), space="world", transformSpace="Local")], -1.0, 1.0)
        self.driver("ctrlPhonemes_M", "aaa", [row("JawJoint_M", "rotate.x", keys((0, 0), (10, 18)))])
        # An absolute row sets the channel itself, so at rest it holds the corner's own place.
        self.driver("ctrlPhonemes_M", "ooo", [
            row("cornerLipJoint_" + side, "translation.x",
                keys((0, side_x(side, LIP_CORNER_X)), (10, side_x(side, LIP_CORNER_X - 0.6))), mode="Absolute")
            for side in SIDES], 0.0, 10.0)
        # The jaw pivot's own rows: the exporter writes them; the jaw is driven through JawPull_M.
        self.driver("Jaw_M", "ty", [row("JawJoint_M", "rx", keys((-1, 20), (0, 0)))], -1.0, 0.0)

    def _lid_drivers(self):
        for lid, count in LID_MAIN_JOINTS.items():
            name = lid + "_R"
            rows = []
            for index in range(count):
                bone = "%sMain%d_R" % (lid, index)
                rows.append(row(bone, "rotation.z" if lid == "upperLid" else "rotate.z",
                                keys((-1, -20 + index), (0, 0), (1, 10 - index))))
            rows.append(row("%sMain0_R" % lid, "Rotation.Y", keys((-1, 2), (1, -2))))
            rows.append(row("%sMain0_R" % lid, "Translation.X", keys((-1, 0.05), (1, -0.05)), space="World"))
            self.driver(name, "ty", rows, -1.0, 1.0)

    def _tongue_and_misc_drivers(self):
        for side in SIDES:
            cheek = "cheekJoint_" + side
            spell = ("sx", "scale.y", "sz") if side == "R" else ("scale.x", "sy", "scale.z")
            self.driver("ctrlCheek_" + side, "valuex" if side == "R" else "value.x",
                        [row(cheek, channel, keys((0, 0), (1, 0.25))) for channel in spell], 0.0, 1.0)
        self.driver("ctrlNose_M", "value.z", [row("noseJoint_M", "scale.z", keys((0, 0), (1, 0.2)))])
        self.driver("ctrlNose_M", "valuez", [row("noseJoint_M", "sy", keys((0, 0), (1, -0.1)))])
        self.driver("ctrlNose_M", "valuey", [row("noseJoint_M", "ty", keys((-1, -0.2), (1, 0.2)))], -1.0, 1.0)
        self.driver("ctrlTongue_M", "value.float", [
            quaternion_row("Tongue0Joint_M", [(0.0, (0.0, 0.0, 0.0, 1.0)), (10.0, TONGUE_QUARTER_TURN)]),
            quaternion_row("Tongue1Joint_M", [(0.0, (0.0, 0.0, 0.0, 1.0)), (10.0, quaternion_about((0.0, 1.0, 0.0), 30.0))])],
            0.0, 10.0)
        self.driver("ctrlTongueSide_M", "float", [row("Tongue2Joint_M", "rz", keys((-10, -20), (10, 20)))], -10.0, 10.0)
        self.driver("ctrlTongueRoll_M", "valuefloat", [row("Tongue1Joint_M", "ry", keys((-10, -15), (10, 15)))], -10.0, 10.0)
        self.driver("tongueTip_M", "Value.X", [row("Tongue2Joint_M", "rotate.y", keys((-1, -10), (1, 10)))], -1.0, 1.0)
        for index in range(self.params.extra_face_drivers):
            bone = ("noseJoint_M", "upperLipJoint0_M", "browInnerJoint_R", "browInnerJoint_L")[index % 4]
            self.driver("ctrlExtra%d_M" % (index + 1), "Value.Y",
                        [row(bone, "ty", keys((-1, -0.1), (0, 0), (1, 0.1)))], -1.0, 1.0)

    # ---- on-face controls -------------------------------------------------------------------------

    def on_face(self, name, kind, joint=None, position=None, diameter=0.5, color=None, rotation=None, **extra):
        """An on-face control at a joint (or a given point) with its picking shape in front of it."""
        if position is None:
            position = self.skeleton.position(joint)
        frame = m.matrix_from_euler_xyz(rotation) if rotation else m.IDENTITY
        record = {
            "name": name, "type": "OnFace", "kind": kind,
            "positionWorld": m.json_vector(position),
            "shapePositionWorld": m.json_vector(m.add(position, (0.0, 0.0, SHAPE_FRONT))),
            # Authored angles are written as the animator set them, not re-derived from the matrix.
            "rotationWorld": m.json_vector(rotation or (0.0, 0.0, 0.0)),
            "worldMatrix": m.world_matrix_16(frame, position),
            "diameter": diameter,
            "color": list(color or GREEN),
        }
        record.update(extra)
        return record

    def _on_face_controls(self):
        skeleton = self.skeleton
        controls = []
        for side in SIDES:
            controls.append(self.on_face("browInner_" + side, "directTransform", "browInnerJoint_" + side, color=[1.0, 0.0, 0.0]))
        for side in SIDES:
            controls.append(self.on_face("Eye_" + side, "directTransform", "EyeJoint_" + side, diameter=1.2, color=EYE_BLUE,
                                         curveShapes=[curves.half_circle(1.0, "eyeRing")]))
        for side in SIDES:
            for lid in LID_MAIN_JOINTS:
                middle = "%sMain%d_%s" % (lid, LID_MAIN_JOINTS[lid] // 2, side)
                controls.append(self.on_face("%s_%s" % (lid, side), "sampledDriver", middle, diameter=0.8,
                                             curveShapes=[curves.half_circle(0.6, lid)]))
        controls.append(self.on_face("upperLip_M", "sampledDriver", "upperLipJoint0_M", diameter=0.8))
        controls.append(self.on_face("lowerLip_M", "sampledDriver", "lowerLipJoint0_M", diameter=0.8))
        for side in SIDES:
            # The left smile pull is authored mirrored: turned half way round Maya's Y axis.
            controls.append(self.on_face("SmilePull_" + side, "sampledDriver", "cornerLipJoint_" + side, diameter=0.6,
                                         color=[1.0, 1.0, 0.0, 1.0], rotation=(0.0, 180.0, 0.0) if side == "L" else None))
            controls.append(self.on_face("cheek_" + side, "sampledDriver", "cheekJoint_" + side, diameter=0.7))
        face = skeleton.position("FaceJoint_M")
        # The jaw's exported handle sits at nose level; the pivot is moved to the chin by importers.
        controls.append(self.on_face("Jaw_M", "sampledDriver", position=(0.0, face[1], face[2] + 6.0), diameter=1.0,
                                     color=YELLOW))
        # JawPull_M writes no mappings: importers give it the built-in jaw, mouth and lips mappings.
        controls.append(self.on_face("JawPull_M", "driverAdapter", "ChinCreaseJoint_M", diameter=1.0, color=YELLOW, adapter="JawPull_M",
                                     gizmo="HalfCircle_Thick", curveShapes=[curves.half_circle(0.8, "jawPull")]))
        controls.append(self.on_face("ChinCrease_M", "unmapped", "ChinCreaseJoint_M", diameter=0.4))
        controls.append(self.on_face("jawMouth", "driverAdapter", position=m.add(skeleton.position("ChinCreaseJoint_M"), (0.0, -2.0, 0.0)),
                                     diameter=0.6, adapter="jawMouth", mappings=[
                                         {"source": "tz", "targetControl": "ctrlMouth_M", "targetChannel": "jawForward",
                                          "operation": "reuseDriver", "scale": 10.0}]))
        controls.append(self.on_face("mouthPress_M", "driverAdapter", position=m.add(skeleton.position("upperLipJoint0_M"), (0.0, 1.0, 0.0)),
                                     diameter=0.5, adapter="mouthPress_M", mappings=[
                                         {"source": "ty", "targetControl": "ctrlMouth_M", "targetChannel": "Value.Y",
                                          "operation": "clampMax", "max": 0.0, "scale": 1.0},
                                         # Only the lips' positive side: below 0 the press holds the lips' rest.
                                         {"source": "translationx", "targetControl": "ctrlLips_M", "targetChannel": "valuex",
                                          "operation": "clampMin", "min": 0.0},
                                         {"source": "Value.X", "targetControl": "ctrlMouth_M", "targetChannel": "jawSide",
                                          "operation": "reuseDriver", "scale": -2.0}]))
        controls.append(self.on_face("lipsAlias_M", "driverAlias", position=m.add(skeleton.position("lowerLipJoint0_M"), (0.0, -1.0, 0.0)),
                                     diameter=0.5, adapter="lipsAlias_M", mappings=[
                                         {"source": "valuey", "targetControl": "ctrlLips_M", "targetChannel": "Value.Y",
                                          "scale": 2.0}]))
        controls.append(self.on_face("tongueTip_M", "unmapped", "Tongue2Joint_M", diameter=0.4))
        eyes = [skeleton.position("EyeJoint_" + side) for side in SIDES]
        ahead = 40.0
        controls.append(self.on_face("AimEye_M", "lookAt", position=(0.0, eyes[0][1], eyes[0][2] + ahead), diameter=3.0,
                                     color=YELLOW))
        for side, eye in zip(SIDES, eyes):
            controls.append(self.on_face("AimEye_" + side, "lookAt", position=(eye[0], eye[1], eye[2] + ahead), diameter=1.5,
                                         color=[1.0, 0.0, 0.0] if side == "R" else [0.0, 0.25, 1.0]))
        return controls

    def _look_at_systems(self):
        return [{
            "name": "EyeAim_M",
            "masterControl": "AimEye_M",
            "targets": ["AimEye_R", "AimEye_L"],
            "eyes": [
                {"control": "Eye_R", "target": "AimEye_R", "aimAxis": [0.0, 0.0, 1.0], "upAxis": [0.0, 1.0, 0.0]},
                {"control": {"name": "Eye_L"}, "target": "AimEye_L", "aimAxis": [0.0, 0.0, 1.0], "upAxis": [0.0, 1.0, 0.0]},
            ],
        }]

    def _visibility_groups(self, controls):
        on_face = [c["name"] for c in controls if c["kind"] in ("directTransform", "sampledDriver", "driverAdapter", "driverAlias")]
        lids = ["%s_%s" % (lid, side) for side in SIDES for lid in LID_MAIN_JOINTS]
        return [
            {"control": "ctrlBox", "attribute": "onFaceVis", "default": True, "members": on_face},
            {"control": "ctrlBox", "attribute": "lidVis", "default": False, "members": lids},
            {"control": "ctrlBox", "attribute": "secondaryVis", "members": ["cheekPuff_R", "cheekPuff_L", "noseFlare_M"]},
        ]

    # ---- the file ---------------------------------------------------------------------------------

    def build(self):
        self._brow_and_eye_drivers()
        self._mouth_drivers()
        self._lid_drivers()
        self._tongue_and_misc_drivers()
        controls = self._on_face_controls()
        face = self.skeleton.position("FaceJoint_M")
        head = self.skeleton.position("Head_M")
        return {
            "exportType": EXPORT_TYPE,
            "vantorelVersion": self.params.exporter_version,
            "version": SCHEMA_VERSION,
            "coordinateSystem": {"source": "Maya", "upAxis": "y", "linearUnit": "cm", "angularUnit": "deg"},
            "rig": {
                "mayaFaceJointHeight": m.quantize(face[1], m.JSON_DIGITS),
                "ctrlBoxShapeLocation": [0.0, -0.2, 0.0],
                "ctrlBoxShapeScale": [0.1, 0.22, 0.1],
                "ctrlBoxOffsetWorldLocation": m.json_vector((25.0, head[1] + 5.0, 0.0)),
                "ctrlBoxOffsetWorldRotation": [0.0, 0.0, 0.0],
                "onFaceControlsScale": [1.0, 1.0, 1.0],
            },
            "drivers": self.drivers,
            "controls": controls,
            "visibilityGroups": self._visibility_groups(controls),
            "lookAtSystems": self._look_at_systems(),
        }
