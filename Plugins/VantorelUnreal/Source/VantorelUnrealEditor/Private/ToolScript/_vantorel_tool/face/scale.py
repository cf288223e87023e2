"""Face rig build: the face's size against the Maya face it was keyed on (the "FaceScaler" the solver
multiplies every keyed translation by) and the shape sizes that follow from it."""

import math
import re

import unreal

from _vantorel_tool import state
from _vantorel_tool.body.shapes import body_rig_character_height_cm
from _vantorel_tool.body_json import body_json_number


FACE_JOINT = "FaceJoint_M"
FACE_INTERCHANGE_PIPELINE_CLASS = "InterchangeGenericAssetsPipeline"
FACE_ROOT_BONES = ("RootMotion_M", "Root_M", "root")
FACE_REFERENCE_HEIGHT = 15.0
FACE_REFERENCE_BODY_HEIGHT = 180.0

FACE_SCALER_IMPORT_TEXT = "FaceScaler source: SkeletalMesh Import Uniform Scale"
FACE_SCALER_ROOT_TEXT = "FaceScaler source: imported root bone"
FACE_SCALER_FALLBACK_TEXT = "Could not compute FaceJoint_M scale from generated Control Rig hierarchy. Using FaceScaler 1.0"
FACE_SCALER_HEIGHT_TEXT = "FaceScaler from FaceJoint_M height: Unreal"


def face_scale_in_range(value):
    number = body_json_number(value)
    return number is not None and 0.001 < number < 1000.0


def vector_z(value):
    """The Z of a vector in whatever form the engine hands it back: attribute, getter, or the "Z="
    field of its text form; None when there is none."""
    if value is None:
        return None
    for read in (lambda: value.z, lambda: value.get_editor_property("z")):
        try:
            number = body_json_number(read())
            if number is not None:
                return number
        except Exception:
            continue
    match = re.search(r"Z=([-+0-9.eE]+)", str(value))
    return body_json_number(match.group(1)) if match else None


def transform_location(transform):
    """The translation of a transform; from its text form, a vector with only the Z of its
    "Translation" field set. None when neither reads."""
    if transform is None:
        return None
    for read in (lambda: transform.translation, lambda: transform.get_editor_property("translation")):
        try:
            location = read()
            if location is not None:
                return location
        except Exception:
            continue
    match = re.search(r"Translation=\(([^)]*)\)", str(transform))
    z = vector_z(match.group(1)) if match else None
    return unreal.Vector(0.0, 0.0, z) if z is not None else None


def face_import_uniform_scale():
    """The target mesh's import scale: the import data's uniform scale, else the Interchange pipeline's
    offset scale, each when between 0.001 and 1000; else 1."""
    mesh = state.skeletal_mesh
    try:
        import_data = mesh.get_editor_property("asset_import_data") if mesh is not None else None
    except Exception:
        import_data = None
    if import_data is None:
        return 1.0
    try:
        scale = import_data.get_editor_property("import_uniform_scale")
        if face_scale_in_range(scale):
            return float(scale)
    except Exception:
        pass
    try:
        pipelines = list(import_data.get_pipelines() or [])
    except Exception:
        pipelines = []
    for pipeline in pipelines:
        try:
            if pipeline is not None and FACE_INTERCHANGE_PIPELINE_CLASS in str(pipeline.get_class().get_name()):
                scale = pipeline.get_editor_property("import_offset_uniform_scale")
                if face_scale_in_range(scale):
                    return float(scale)
        except Exception:
            continue
    return 1.0


def control_rig_bone_global_z(hierarchy, bone_name=FACE_JOINT):
    """The initial global height of a bone of the rig; None when the rig has no such bone."""
    key = unreal.RigElementKey(type=unreal.RigElementType.BONE, name=bone_name)
    try:
        if not hierarchy.contains(key):
            return None
        return vector_z(transform_location(hierarchy.get_global_transform(key, True)))
    except Exception:
        return None


def compute_ctrl_box_attach_scale(hierarchy, rig_meta):
    """The FaceScaler: the mesh's import scale, else the scale of an imported root bone, else the face
    joint's height over the Maya face joint's height, else 1."""
    scale = face_import_uniform_scale()
    if abs(scale - 1.0) > 0.001:
        print(FACE_SCALER_IMPORT_TEXT, scale)
        return scale
    for name in FACE_ROOT_BONES:
        key = unreal.RigElementKey(type=unreal.RigElementType.BONE, name=name)
        try:
            if not hierarchy.contains(key):
                continue
            scale3d = hierarchy.get_local_transform(key, True).scale3d
            mean = (abs(scale3d.x) + abs(scale3d.y) + abs(scale3d.z)) / 3.0
        except Exception:
            continue
        if face_scale_in_range(mean) and abs(mean - 1.0) > 0.001:
            print(FACE_SCALER_ROOT_TEXT, name, mean)
            return mean
    maya_height = abs(body_json_number(rig_meta.get("mayaFaceJointHeight")) or 0.0)
    engine_height = control_rig_bone_global_z(hierarchy)
    if engine_height is None or abs(engine_height) < 0.0001 or maya_height < 0.0001:
        print(FACE_SCALER_FALLBACK_TEXT)
        return 1.0
    scale = abs(engine_height) / maya_height
    print(FACE_SCALER_HEIGHT_TEXT, engine_height, "Maya", maya_height, "Scale", scale)
    return scale


def face_authored_shape_scale(shape_scale, face_scale):
    """A shape size on the character's face: on-face controls sit in world space, so their shapes get
    the face's size explicitly."""
    return shape_scale * max(face_scale, 0.001)


def face_maya_space_gizmo_scale(base_scale, face_scale, maya_face_height=None, body_height_cm=None, rig_meta=None):
    """The size of the jaw and smile-pull gizmos: base times the face scale times the Maya face height
    over a 15-unit reference face (the face height guessed from the body height when unknown)."""
    face_scale = face_scale if isinstance(face_scale, (int, float)) and math.isfinite(face_scale) else 1.0
    face_scale = max(face_scale, 0.001)
    base = base_scale if isinstance(base_scale, (int, float)) and math.isfinite(base_scale) else 0.05
    if maya_face_height is None:
        maya_face_height = abs(body_json_number((rig_meta or {}).get("mayaFaceJointHeight")) or 0.0)
    face_height = maya_face_height
    if face_height < 0.0001:
        body = body_height_cm if body_height_cm is not None else body_rig_character_height_cm()
        if not isinstance(body, (int, float)) or not body > 1.0:
            body = FACE_REFERENCE_BODY_HEIGHT
        face_height = (body / face_scale) * FACE_REFERENCE_HEIGHT / FACE_REFERENCE_BODY_HEIGHT
    return base * face_scale * max(face_height / FACE_REFERENCE_HEIGHT, 0.001)
