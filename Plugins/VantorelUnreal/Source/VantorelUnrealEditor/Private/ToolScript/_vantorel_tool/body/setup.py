"""Body rig build: asset and hierarchy set-up. What every body build does before its phases and after
them: the joint keys, the import scale, the skeleton's root joint, the Helpers group, emptying the
graph and the hierarchy of a previous build, the node run limit and the description stamp."""

import math

import unreal

from _vantorel_tool import log, state
from _vantorel_tool.body.bones import body_rig_is_bone_key
from _vantorel_tool.body.common import BODY_RIG_MAIN_NAME
from _vantorel_tool.body.planning import body_rig_joint_parents
from _vantorel_tool.body_json import BODY_JSON_KEY_VN_VERSION
from _vantorel_tool.engine import call_first_accepted
from _vantorel_tool.names import error_text


BODY_RIG_NODE_RUN_LIMIT = 1024
BODY_RIG_NODE_RUN_LIMIT_FAILED_TEXT = "Could not set Control Rig Node Run Limit automatically; use Class Settings once."
BODY_RIG_DISPLAY_SETTINGS_PROPERTIES = ("rig_graph_display_settings", "graph_display_settings")
BODY_RIG_HELPERS_NAME = "Helpers"
BODY_RIG_HELPERS_FAILED_TEXT = "Could not create Helpers group under Main:"
BODY_RIG_ROOT_CONTROL_NAMES = ("FKRootMotion_M", "FKRoot_M")
BODY_RIG_ROOT_FROM_CONTROL_TEXT = "Resolved skeleton root from"
BODY_RIG_ROOT_FALLBACK_TEXT = "Resolved skeleton root by hierarchy fallback:"
BODY_RIG_SCALE_FROM_IMPORT_DATA_TEXT = "Body Rig scale source: SkeletalMesh Asset Import Data"
BODY_RIG_SCALE_FROM_INTERCHANGE_TEXT = "Body Rig scale source: Interchange Offset Uniform Scale"
BODY_RIG_SCALE_INTERCHANGE_FAILED_TEXT = "Could not read Interchange Offset Uniform Scale:"
BODY_RIG_SCALE_FROM_ROOT_BONE_TEXT = "Body Rig scale source: imported root bone"
BODY_RIG_INTERCHANGE_PIPELINE_CLASS = "InterchangeGenericAssetsPipeline"
BODY_RIG_PLUGIN_NAME = "VantorelUnreal"
BODY_RIG_PLUGIN_VERSION_FAILED_TEXT = "Could not resolve VantorelUnreal plugin version:"
BODY_RIG_STAMP_FAILED_TEXT = "Could not stamp Vantorel Blueprint Description: "
BODY_RIG_UNKNOWN_VERSION = "Unknown"


def body_rig_element_name(key):
    return str(getattr(key, "name", ""))


def body_rig_joint_keys(hierarchy, rig_data):
    """Joint name -> the key of the bone of that name, for every joint record that names a bone of the
    hierarchy, in joint-record order."""
    bones = {}
    for key in hierarchy.get_all_keys(True):
        if body_rig_is_bone_key(key):
            bones.setdefault(body_rig_element_name(key), key)
    joint_keys = {}
    for joint in rig_data.get("joints") or []:
        name = str(joint.get("name") or "") if isinstance(joint, dict) else ""
        if name and name in bones and name not in joint_keys:
            joint_keys[name] = bones[name]
    return joint_keys


def body_rig_top_joints(rig_data, joint_keys):
    """The joint keys whose parent is empty or not itself a joint key, in joint-record order."""
    parents = body_rig_joint_parents(rig_data)
    return [name for name in joint_keys if not parents.get(name) or parents.get(name) not in joint_keys]


def body_rig_scale_counts(value):
    """A scale is used only when it says something: finite, positive and not 1."""
    try:
        value = float(value)
    except (TypeError, ValueError):
        return False
    return math.isfinite(value) and value > 0.0 and abs(value - 1.0) > 1e-8


def body_rig_import_uniform_scale(hierarchy, rig_data, joint_keys):
    """The factor every Maya length is multiplied by: the mesh's import uniform scale, else the
    Interchange pipeline's offset scale, else the mean scale of an imported top bone, else 1."""
    mesh = state.skeletal_mesh
    if mesh is None:
        return 1.0
    import_data = None
    try:
        import_data = mesh.get_editor_property("asset_import_data")
    except Exception:
        import_data = None
    if import_data is not None:
        try:
            scale = import_data.get_editor_property("import_uniform_scale")
        except Exception:
            scale = None
        if body_rig_scale_counts(scale):
            print(BODY_RIG_SCALE_FROM_IMPORT_DATA_TEXT)
            return float(scale)
        pipelines = []
        try:
            pipelines = list(import_data.get_pipelines() or [])
        except Exception:
            pipelines = []
        for pipeline in pipelines:
            if pipeline is None or BODY_RIG_INTERCHANGE_PIPELINE_CLASS not in str(pipeline.get_class().get_name()):
                continue
            try:
                scale = pipeline.get_editor_property("import_offset_uniform_scale")
            except Exception as error:
                print(BODY_RIG_SCALE_INTERCHANGE_FAILED_TEXT, error)
                continue
            if body_rig_scale_counts(scale):
                print(BODY_RIG_SCALE_FROM_INTERCHANGE_TEXT)
                return float(scale)
    for name in body_rig_top_joints(rig_data, joint_keys):
        try:
            scale3d = hierarchy.get_local_transform(joint_keys[name], True).scale3d
            mean = (scale3d.x + scale3d.y + scale3d.z) / 3.0
        except Exception:
            continue
        if body_rig_scale_counts(mean):
            print(BODY_RIG_SCALE_FROM_ROOT_BONE_TEXT, name)
            return float(mean)
    return 1.0


def body_rig_root_joint(rig_data, joint_keys):
    """The skeleton's root joint: the joint of an "FKRootMotion_M" (else "FKRoot_M") control when it
    is a bone, else the top joint with the most joints below it (the first on a tie)."""
    controls = {}
    for control in rig_data.get("controls") or []:
        if isinstance(control, dict) and control.get("name"):
            controls.setdefault(str(control["name"]), control)
    for control_name in BODY_RIG_ROOT_CONTROL_NAMES:
        joint = str((controls.get(control_name) or {}).get("joint") or "")
        if joint in joint_keys:
            print(BODY_RIG_ROOT_FROM_CONTROL_TEXT, control_name, joint)
            return joint
    if not joint_keys:
        return ""
    candidates = body_rig_top_joints(rig_data, joint_keys) or list(joint_keys)
    candidate_set = set(candidates)
    parents = body_rig_joint_parents(rig_data)
    below = dict.fromkeys(candidates, 0)
    for name in joint_keys:
        seen = set()
        current = name
        while current and current not in seen:
            if current in candidate_set:
                below[current] += 1
                break
            seen.add(current)
            current = parents.get(current, "")
    root = max(candidates, key=lambda candidate: below[candidate])  # max keeps the first on a tie
    print(BODY_RIG_ROOT_FALLBACK_TEXT, root)
    return root


def body_rig_set_node_run_limit(control_rig, limit=BODY_RIG_NODE_RUN_LIMIT):
    """Raises the graph's node run limit so the forward FK loop is not cut short; returns success."""
    for property_name in BODY_RIG_DISPLAY_SETTINGS_PROPERTIES:
        try:
            settings = control_rig.get_editor_property(property_name)
            settings.set_editor_property("node_run_limit", int(limit))
            control_rig.set_editor_property(property_name, settings)
            return True
        except Exception:
            continue
    print(BODY_RIG_NODE_RUN_LIMIT_FAILED_TEXT)
    return False


def body_rig_graph_controller(control_rig):
    return call_first_accepted(
        lambda: control_rig.get_controller(control_rig.get_model()),
        lambda: control_rig.get_controller(),
        accepted_errors=(Exception,))


def body_rig_clear_graph(control_rig):
    """Removes every node of the rig's graph, the last first; returns the graph controller."""
    controller = body_rig_graph_controller(control_rig)
    nodes = list(controller.get_graph().get_nodes() or [])
    for node in reversed(nodes):
        try:
            call_first_accepted(
                lambda: controller.remove_node(node),
                lambda: controller.remove_node_by_name(node.get_node_path()),
                accepted_errors=(Exception,))
        except Exception as error:
            log.warning("could not remove graph node: " + error_text(error))
    return controller


def body_rig_clear_non_bones(elements):
    """Removes every element that is not a bone, the last first, so that a build starts from the
    bones alone; returns how many were removed."""
    removed = 0
    for key in reversed(list(elements.hierarchy.get_all_keys(True))):
        if body_rig_is_bone_key(key):
            continue
        try:
            if elements.remove_element(key, True):
                removed += 1
        except Exception as error:
            log.warning("could not remove %s: %s" % (key.name, error_text(error)))
    return removed


def body_rig_helpers_group_key(elements):
    """The "Helpers" null that holds the solver and snapshot nulls, made under "Main" when missing."""
    existing = elements.find(BODY_RIG_HELPERS_NAME, "null")
    if existing is not None:
        return existing
    main = elements.find(BODY_RIG_MAIN_NAME, "control")
    parent = main if main is not None else unreal.RigElementKey()
    try:
        key = elements.add_null(BODY_RIG_HELPERS_NAME, parent, unreal.Transform(), False)
        if key is None or not body_rig_element_name(key):
            raise RuntimeError("the hierarchy made no null")
        return key
    except Exception as error:
        print(BODY_RIG_HELPERS_FAILED_TEXT, error)
        return main


def body_rig_count_helper_children(hierarchy, helpers_key):
    if helpers_key is None:
        return 0
    try:
        return len(list(hierarchy.get_children(helpers_key, False) or []))
    except Exception:
        return 0


def body_rig_plugin_version():
    """The plug-in's version name, or "Unknown"."""
    try:
        version = unreal.PluginBlueprintLibrary.get_plugin_version_name(BODY_RIG_PLUGIN_NAME)
        if isinstance(version, tuple):
            version = version[-1]
        if not version:
            raise RuntimeError("the plug-in " + BODY_RIG_PLUGIN_NAME + " was not found")
        return str(version)
    except Exception as error:
        print(BODY_RIG_PLUGIN_VERSION_FAILED_TEXT, error)
        return BODY_RIG_UNKNOWN_VERSION


def body_rig_stamp_blueprint_description(control_rig, rig_data):
    """Records in the blueprint's description which exporter and plug-in versions made it."""
    exporter = str(rig_data.get(BODY_JSON_KEY_VN_VERSION) or BODY_RIG_UNKNOWN_VERSION)
    description = "Vantorel " + exporter + " | VantorelUnreal " + body_rig_plugin_version()
    try:
        control_rig.set_editor_property("blueprint_description", description)
        return True
    except Exception as error:
        unreal.log_warning(BODY_RIG_STAMP_FAILED_TEXT + str(error))
        return False
