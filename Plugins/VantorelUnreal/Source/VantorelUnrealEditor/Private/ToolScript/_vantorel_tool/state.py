"""The tool state, one set per editor process: the host values, the target skeletal mesh and the asset
names derived from it, the chosen JSON files, the build mode and options, and their setters. Every
action reads these at the moment it runs; other modules read them as state.<name>."""

from _vantorel_tool.names import folder_of, package_path_of


DATA_ASSET_PREFIX = "DA_"
DATA_ASSET_SUFFIX = "_VNFaceSDK"
FACE_RIG_SUFFIX = "_Face_CR"
BODY_RIG_SUFFIX = "_Body_CR"
COMBINED_RIG_SUFFIX = "_CR"

MODE_BODY = "Body"
MODE_FACE = "Face"
MODE_BODY_AND_FACE = "Body+Face"
CONTROL_RIG_MODES = (MODE_BODY, MODE_FACE, MODE_BODY_AND_FACE)

SOURCE_MANNEQUIN_TEMPLATE = "Mannequin template"
SOURCE_GENERATE_FROM_JSON = "Generate from JSON"
BODY_CONTROL_RIG_SOURCES = (SOURCE_MANNEQUIN_TEMPLATE, SOURCE_GENERATE_FROM_JSON)

# ---- the tool state ---------------------------------------------------------------------------------

# The host values: the host's bootstrap sets them before the script runs, and host.start keeps its
# values; these defaults hold for a script run by hand.
SOURCE_FILE = ""
INCLUDE_VN_FACE_SOLVER = True
json_file = ""

skeletal_mesh = None
mesh_path = ""
asset_path = ""
mesh_name = ""
asset_name = ""
control_rig_name = ""
body_control_rig_name = ""
combined_control_rig_name = ""
full_asset_path = ""
full_control_rig_path = ""
full_body_control_rig_path = ""
full_combined_control_rig_path = ""
body_control_rig_template_file = ""
body_json_file = None
body_control_rig_source = None
control_rig_mode = MODE_BODY
include_backwards_solve = True
include_driving_systems = True
include_twist_solution = True
include_custom_controllers = False


# ---- setters ----------------------------------------------------------------------------------------

def set_target_skeletal_mesh(mesh):
    """Makes mesh the target skeletal mesh and recomputes the asset names and paths derived from it:
    the mesh's folder (every generated asset goes there), the face rig data asset and the face, body
    and combined Control Rigs. None clears the target and the derived names. Returns the mesh."""
    global skeletal_mesh, mesh_path, asset_path, mesh_name, asset_name
    global control_rig_name, body_control_rig_name, combined_control_rig_name
    global full_asset_path, full_control_rig_path, full_body_control_rig_path, full_combined_control_rig_path
    skeletal_mesh = mesh
    if mesh is None:
        mesh_path = asset_path = mesh_name = asset_name = ""
        control_rig_name = body_control_rig_name = combined_control_rig_name = ""
        full_asset_path = full_control_rig_path = full_body_control_rig_path = full_combined_control_rig_path = ""
        return skeletal_mesh
    mesh_path = package_path_of(mesh)
    asset_path = folder_of(mesh_path)
    mesh_name = mesh.get_name()
    asset_name = DATA_ASSET_PREFIX + mesh_name + DATA_ASSET_SUFFIX
    control_rig_name = mesh_name + FACE_RIG_SUFFIX
    body_control_rig_name = mesh_name + BODY_RIG_SUFFIX
    combined_control_rig_name = mesh_name + COMBINED_RIG_SUFFIX
    full_asset_path = asset_path + "/" + asset_name
    full_control_rig_path = asset_path + "/" + control_rig_name
    full_body_control_rig_path = asset_path + "/" + body_control_rig_name
    full_combined_control_rig_path = asset_path + "/" + combined_control_rig_name
    return skeletal_mesh


def set_body_control_rig_template_file(path):
    """Stores the Mannequin template's file path (the empty text when path is missing); returns it."""
    global body_control_rig_template_file
    body_control_rig_template_file = str(path) if path else ""
    return body_control_rig_template_file


def set_body_json_file(path):
    """Stores the Body rig JSON path (the empty text when path is missing); returns it."""
    global body_json_file
    body_json_file = str(path) if path else ""
    return body_json_file


def set_body_control_rig_source(source):
    """Stores the body rig's source when it is "Mannequin template" or "Generate from JSON"; any other
    text is ignored. Returns the stored source."""
    global body_control_rig_source
    if source in BODY_CONTROL_RIG_SOURCES:
        body_control_rig_source = source
    return body_control_rig_source


def set_face_json_file(path):
    """Stores a non-empty Face rig JSON path; an empty or missing one keeps the previous path. Returns
    the stored path."""
    global json_file
    if path:
        json_file = str(path)
    return json_file


def set_control_rig_mode(mode):
    """Stores the build mode when it is exactly "Body", "Face" or "Body+Face"; other text is ignored.
    Returns the stored mode."""
    global control_rig_mode
    if mode in CONTROL_RIG_MODES:
        control_rig_mode = mode
    return control_rig_mode


def set_body_rig_options(backwards=True, driving_systems=True, twist=True):
    """Stores whether the body build adds the backwards solve, the driving systems and the twist
    solution."""
    global include_backwards_solve, include_driving_systems, include_twist_solution
    include_backwards_solve = bool(backwards)
    include_driving_systems = bool(driving_systems)
    include_twist_solution = bool(twist)


def set_include_custom_controllers(include=False):
    """Stores whether the Mannequin template build adds custom controllers; returns the flag."""
    global include_custom_controllers
    include_custom_controllers = bool(include)
    return include_custom_controllers
