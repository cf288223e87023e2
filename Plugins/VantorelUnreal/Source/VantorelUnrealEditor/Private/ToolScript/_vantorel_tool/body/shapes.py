"""The control shapes' engine side: static meshes from the tube triangles of body/nurbs.py with the
Control Rig gizmo material, the rig's own shape library next to it, and per control the shape name the
control builder draws it with. Every failure prints its line and leaves the affected controls (or all of
them) with their stock gizmos; the body build goes on."""

import os

import unreal

from _vantorel_tool import state
from _vantorel_tool.body.common import body_rig_safe_name
from _vantorel_tool.body.nurbs import (
    VN_NURBS_DEFAULT_HEIGHT_CM, VN_NURBS_MIN_IMPORT_SCALE, vn_nurbs_build_tube_mesh, vn_nurbs_collect_curve_dicts,
    vn_nurbs_control_line_width, vn_nurbs_control_polylines, vn_nurbs_is_number, vn_nurbs_is_standard_circle,
    vn_nurbs_shape_hash, vn_nurbs_tube_radius,
)
from _vantorel_tool.body.progress import body_rig_progress
from _vantorel_tool.engine import call_first_accepted
from _vantorel_tool.names import folder_of, package_path_of


# ---- fixed texts and names ---------------------------------------------------------------------------

BODY_RIG_SHAPE_PREFIX = "VN_"
BODY_RIG_SHAPE_FALLBACK = "Control"
BODY_RIG_SHAPES_SUFFIX = "_VNShapes"
BODY_RIG_GIZMO_SLOT = "Gizmo"
BODY_RIG_CIRCLE_PREFIX = "Circle_"
BODY_RIG_CIRCLE_GIZMO = "Circle_Thick"
BODY_RIG_STOCK_GIZMO_KEYS = ("name", "gizmo", "shape")
BODY_RIG_OBJ_FOLDER = "VNControlShapes"
BODY_RIG_OBJ_HEADER = ("# Vantorel Control Rig shape", "o VNControlShape")

BODY_RIG_GIZMO_MATERIAL_PATHS = (
    "/ControlRig/Controls/ControlRigGizmoMaterial",
    "/Engine/Plugins/Animation/ControlRig/Content/Controls/ControlRigGizmoMaterial",
)
BODY_RIG_XRAY_MATERIAL_PATH = "/ControlRig/Controls/ControlRigXRayMaterial"
BODY_RIG_DEFAULT_SHAPE_LIBRARY_PATHS = (
    "/ControlRig/Controls/DefaultGizmoLibraryNormalized",
    "/ControlRig/Controls/ControlRigGizmoLibrary",
    "/ControlRig/Controls/DefaultGizmoLibrary",
    "/Engine/Plugins/Animation/ControlRig/Content/Controls/ControlRigGizmoLibrary",
    "/Engine/Plugins/Runtime/ControlRig/Content/Controls/ControlRigGizmoLibrary",
    "/Engine/Plugins/Animation/ControlRig/Content/Controls/DefaultGizmoLibrary",
)
BODY_RIG_LIBRARY_MATERIAL_PROPERTIES = ("default_material", "x_ray_material", "material_color_parameter",
                                        "material_hovered_color_parameter", "material_hovered_parameter")
BODY_RIG_MATERIAL_COLOR_PARAMETER = "Color"

# The share of the body build's progress the shape library takes, and its first step.
BODY_RIG_SHAPES_PROGRESS_BUDGET = 8.0
BODY_RIG_SHAPES_PROGRESS_FIRST = 1.0

BODY_RIG_SHAPES_START_TEXT = "Building Custom Shapes..."
BODY_RIG_SHAPES_STEP_TEXT = "Building Custom Shapes (%d/%d)..."
BODY_RIG_SHAPES_DIALOG_TEXT = "Building Custom Shapes"
BODY_RIG_TUBE_HEIGHT_TEXT = "Body Rig custom curve tubes use Maya-height radius. maya_height:"
BODY_RIG_TUBE_EXAMPLE_TEXT = "Body Rig custom curve tube example_radius:"
BODY_RIG_TESSELLATE_FAILED_TEXT = "Could not tessellate curveShapes for"
BODY_RIG_SHAPES_CREATED_TEXT = "Created Maya curveShapes Control Rig shapes:"
BODY_RIG_NO_CURVES_TEXT = "Body JSON had no usable curveShapes; using stock Control Rig gizmos."
BODY_RIG_STOCK_CIRCLES_TEXT = "(stock Circle_Thick / Circle_* gizmos)"
BODY_RIG_LIBRARY_FAILED_TEXT = "Could not create Control Rig shape library:"
BODY_RIG_LIBRARY_FACTORY_TEXT = "ControlRigShapeLibrary factory was unavailable; using stock gizmos."
BODY_RIG_MESH_FAILED_TEXT = "Could not build shape mesh for"
BODY_RIG_DEFINITION_FAILED_TEXT = "Could not create shape definition for"
BODY_RIG_STOCK_FALLBACK_TEXT = "; stock gizmo will be used."
BODY_RIG_POPULATE_FAILED_TEXT = "Could not populate Control Rig shape library:"
BODY_RIG_ASSIGN_LIBRARY_FAILED_TEXT = "Could not assign Control Rig shape library:"
BODY_RIG_DESCRIPTION_FAILED_TEXT = "StaticMeshDescription build failed for"
BODY_RIG_OBJ_FAILED_TEXT = "OBJ import fallback failed for"
BODY_RIG_SLOT_FAILED_TEXT = "Could not assign Control Rig gizmo material slot:"
BODY_RIG_MATERIAL_MISSING_TEXT = "Control Rig gizmo material missing; shape will stay grey."
BODY_RIG_ADD_MATERIAL_FAILED_TEXT = "Could not add_material for Control Rig gizmo:"
BODY_RIG_SLOTS_TEXT = "Control Rig gizmo material slots for"
BODY_RIG_DELETE_FAILED_TEXT = "Could not delete"
BODY_RIG_FOLDER_IN_USE_TEXT = ("Shape folder %s could not be emptied, most likely because its shape assets are open "
                               "in asset editors; close those tabs and build again.")
BODY_RIG_FOLDER_FAILED_TEXT = "Could not create shape folder"

# Why a step made nothing, for the lines above.
BODY_RIG_NO_ASSET_REASON = "the asset tools made no StaticMesh"
BODY_RIG_NO_TRIANGLES_REASON = "the built mesh has no triangles"
BODY_RIG_NO_IMPORT_REASON = "the import made no asset"
BODY_RIG_INDEX_REASON = "triangle index %d names no vertex"


# ---- names and sizes ------------------------------------------------------------------------------------

def body_rig_character_height_cm():
    """The target mesh's height in cm: twice the Z extent of its bounds (its imported bounds when the
    bounds cannot be read); 180 without a mesh or bounds, or when that is not above 1."""
    mesh = state.skeletal_mesh
    if mesh is None:
        return VN_NURBS_DEFAULT_HEIGHT_CM
    for getter in ("get_bounds", "get_imported_bounds"):
        try:
            extent = getattr(mesh, getter)().box_extent.z
        except Exception:  # an asset without bounds of this kind; the next kind is tried
            continue
        height = 2.0 * abs(float(extent)) if vn_nurbs_is_number(extent) else 0.0
        return height if height > 1.0 else VN_NURBS_DEFAULT_HEIGHT_CM
    return VN_NURBS_DEFAULT_HEIGHT_CM


def body_rig_import_scale(import_scale):
    """The import scale as a number; 1 when it is not a positive number."""
    return float(import_scale) if vn_nurbs_is_number(import_scale) and import_scale > 0 else 1.0


def body_rig_stock_gizmo_name(data, default="Default"):
    """The stock shape a control record names: an object "gizmo" gives its "name", else "gizmo", else
    "shape"; a text "gizmo" is itself; default when that is empty."""
    gizmo = (data or {}).get("gizmo") if isinstance(data, dict) else None
    if isinstance(gizmo, dict):
        for key in BODY_RIG_STOCK_GIZMO_KEYS:
            value = gizmo.get(key)
            if isinstance(value, str) and value:
                return value
        return default
    return gizmo if isinstance(gizmo, str) and gizmo else default


def body_rig_maya_curve_name(data):
    """The name of the control's first curve that has one; empty when none has."""
    for curve in vn_nurbs_collect_curve_dicts(data) if isinstance(data, dict) else ():
        name = curve.get("name")
        if name not in (None, ""):
            return str(name)
    return ""


def body_rig_custom_shape_name(control_name, cv_hash="", curve_name=""):
    """The shape mesh's asset name: "VN_" + the safe form of the curve name, else of the control name
    ("Control" when empty). A cv_hash is appended, to tell apart different shapes whose names would be
    equal."""
    base = body_rig_safe_name(curve_name, "") if curve_name else ""
    name = BODY_RIG_SHAPE_PREFIX + (base or body_rig_safe_name(control_name, BODY_RIG_SHAPE_FALLBACK))
    return name + "_" + body_rig_safe_name(cv_hash, "") if cv_hash else name


def body_rig_shape_folder(control_rig):
    """The rig's shape folder and library name: the rig's folder + "/" + L + "_VNShapes", and
    L + "_VNShapes", with L the rig's name made safe ("Body" when nothing is left)."""
    library_name = body_rig_safe_name(control_rig.get_name()) + BODY_RIG_SHAPES_SUFFIX
    return folder_of(package_path_of(control_rig)) + "/" + library_name, library_name


# ---- static meshes ---------------------------------------------------------------------------------------

def body_rig_static_mesh_slot_count(mesh):
    """The mesh's material slots: its static materials, else the sections of its LOD 0, else 0."""
    try:
        count = len(mesh.get_editor_property("static_materials"))
        if count:
            return count
    except Exception:  # a mesh whose slots cannot be read; its sections tell
        pass
    try:
        return int(mesh.get_num_sections(0))
    except Exception:  # nothing to count
        return 0


def body_rig_write_obj_mesh(path, vertices, indices):
    """Writes the triangles as a Wavefront OBJ file (1-based "f" lines), making its folder; returns path."""
    folder = os.path.dirname(path)
    if folder:
        os.makedirs(folder, exist_ok=True)
    lines = list(BODY_RIG_OBJ_HEADER)
    lines.extend("v %.6f %.6f %.6f" % (x, y, z) for x, y, z in vertices)
    lines.extend("f %d %d %d" % (indices[i] + 1, indices[i + 1] + 1, indices[i + 2] + 1)
                 for i in range(0, len(indices) - 2, 3))
    with open(path, "w", encoding="utf-8", newline="\n") as stream:
        stream.write("\n".join(lines) + "\n")
    return path


def body_rig_asset_tools():
    return unreal.AssetToolsHelpers.get_asset_tools()


def body_rig_factory(name):
    """A new factory of the class called name, None when this editor has no such class."""
    factory_class = getattr(unreal, name, None)
    return factory_class() if factory_class is not None else None


def body_rig_build_mesh_description(vertices, indices):
    """A static mesh description of the triangles: one polygon group on the "Gizmo" slot, and one vertex
    with one vertex instance per vertex, which the triangles share (a tube is smooth around its ring,
    and every call into the editor costs)."""
    description = unreal.StaticMesh.create_static_mesh_description()
    triangle_count = len(indices) // 3
    for index in indices[:triangle_count * 3]:
        if not 0 <= index < len(vertices):
            raise IndexError(BODY_RIG_INDEX_REASON % index)
    description.reserve_new_vertices(len(vertices))
    description.reserve_new_triangles(triangle_count)
    group = description.create_polygon_group()
    description.set_polygon_group_material_slot_name(group, BODY_RIG_GIZMO_SLOT)
    instances = []
    for x, y, z in vertices:
        vertex_id = description.create_vertex()
        description.set_vertex_position(vertex_id, unreal.Vector(x, y, z))
        instances.append(description.create_vertex_instance(vertex_id))
    for first in range(0, triangle_count * 3, 3):
        description.create_triangle(group, [instances[index] for index in indices[first:first + 3]])
    return description


def body_rig_build_static_mesh(folder, name, vertices, indices):
    """A new StaticMesh asset built from the triangles (fast build, no simple collision); raises on
    failure."""
    description = body_rig_build_mesh_description(vertices, indices)
    mesh = body_rig_asset_tools().create_asset(name, folder, unreal.StaticMesh, body_rig_factory("StaticMeshFactoryNew"))
    if mesh is None:
        raise RuntimeError(BODY_RIG_NO_ASSET_REASON)
    call_first_accepted(
        lambda: mesh.build_from_static_mesh_descriptions([description], build_simple_collision=False, fast_build=True),
        lambda: mesh.build_from_static_mesh_descriptions([description], False, True))
    if mesh.get_num_triangles(0) <= 0:
        raise RuntimeError(BODY_RIG_NO_TRIANGLES_REASON)
    return mesh


def body_rig_import_obj_mesh(folder, name, vertices, indices):
    """The mesh imported from an OBJ file of the triangles written to the project's intermediate folder,
    replacing an asset there, unsaved; None (with its line) on failure."""
    try:
        intermediate = unreal.Paths.convert_relative_path_to_full(unreal.Paths.project_intermediate_dir())
        path = body_rig_write_obj_mesh(os.path.join(intermediate, BODY_RIG_OBJ_FOLDER, name + ".obj"), vertices, indices)
        task = unreal.AssetImportTask()
        for key, value in (("filename", path), ("destination_path", folder), ("destination_name", name),
                           ("replace_existing", True), ("automated", True), ("save", False)):
            task.set_editor_property(key, value)
        body_rig_asset_tools().import_asset_tasks([task])
        mesh = unreal.load_asset(folder + "/" + name)
        if mesh is None:
            raise RuntimeError(BODY_RIG_NO_IMPORT_REASON)
        return mesh
    except Exception as error:
        print(BODY_RIG_OBJ_FAILED_TEXT, name, ":", error)
        return None


def body_rig_create_static_mesh_from_triangles(package_path, asset_name, vertices, indices):
    """A saved StaticMesh asset of the triangles in package_path, in place of any asset of that name,
    with Nanite off and the gizmo material; built from a mesh description, else imported from an OBJ
    file. None with fewer than 3 vertices or indices, or when neither way makes the mesh."""
    if len(vertices) < 3 or len(indices) < 3:
        return None
    folder = str(package_path).rstrip("/")
    destination = folder + "/" + asset_name
    if unreal.EditorAssetLibrary.does_asset_exist(destination):
        unreal.EditorAssetLibrary.delete_asset(destination)
    try:
        mesh = body_rig_build_static_mesh(folder, asset_name, vertices, indices)
    except Exception as error:
        print(BODY_RIG_DESCRIPTION_FAILED_TEXT, asset_name, ":", error)
        mesh = body_rig_import_obj_mesh(folder, asset_name, vertices, indices)
    if mesh is None:
        return None
    body_rig_disable_nanite(mesh)
    try:
        body_rig_assign_gizmo_material_slot(mesh)
    except Exception as error:
        print(BODY_RIG_SLOT_FAILED_TEXT, error)
    mesh.modify()
    unreal.EditorAssetLibrary.save_loaded_asset(mesh)
    return mesh


def body_rig_static_mesh_editor_subsystem():
    """The static mesh editor subsystem, None when this editor does not offer it."""
    getter = getattr(unreal, "get_editor_subsystem", None)
    subsystem_class = getattr(unreal, "StaticMeshEditorSubsystem", None)
    if getter is None or subsystem_class is None:
        return None
    return getter(subsystem_class)


def body_rig_disable_nanite(mesh):
    """Switches Nanite off for the mesh, on its own settings or else through the static mesh editor
    subsystem; returns whether one way worked. Thin tubes gain nothing from Nanite."""
    try:
        settings = mesh.get_editor_property("nanite_settings")
        settings.set_editor_property("enabled", False)
        mesh.set_editor_property("nanite_settings", settings)
        return True
    except Exception:  # editors whose mesh does not expose its settings; the subsystem is tried
        pass
    try:
        subsystem = body_rig_static_mesh_editor_subsystem()
        settings = subsystem.get_nanite_settings(mesh)
        settings.set_editor_property("enabled", False)
        subsystem.set_nanite_settings(mesh, settings, True)
        return True
    except Exception:  # no way to reach the settings: the mesh keeps its default
        return False


# ---- materials ------------------------------------------------------------------------------------------

def body_rig_first_loadable(paths):
    """The first asset of paths that exists and loads; None when none does."""
    for path in paths:
        try:
            if unreal.EditorAssetLibrary.does_asset_exist(path):
                asset = unreal.load_asset(path)
                if asset is not None:
                    return asset
        except Exception:  # a path this editor cannot read; the next is tried
            continue
    return None


def body_rig_control_rig_gizmo_material():
    """The Control Rig gizmo material, None when the Control Rig content has none."""
    return body_rig_first_loadable(BODY_RIG_GIZMO_MATERIAL_PATHS)


def body_rig_use_first_slot(mesh, material):
    """Has the static mesh editor subsystem draw LOD 0's first section with slot 0, where this editor
    offers the subsystem: its LOD material slot setter, else a material setter by slot index."""
    subsystem = body_rig_static_mesh_editor_subsystem()
    if subsystem is None:
        return
    if callable(getattr(subsystem, "set_lod_material_slot", None)):
        subsystem.set_lod_material_slot(mesh, 0, 0, 0)
    elif callable(getattr(subsystem, "set_static_mesh_material", None)):
        subsystem.set_static_mesh_material(mesh, 0, material)


def body_rig_assign_gizmo_material_slot(mesh):
    """Gives the mesh one material slot "Gizmo" holding the gizmo material (the shape stays grey, with
    its line, when there is none) and prints the slot count. Raises on a failing engine call other than
    adding the material."""
    material = body_rig_control_rig_gizmo_material()
    if material is None:
        print(BODY_RIG_MATERIAL_MISSING_TEXT)
        return
    try:
        mesh.add_material(material)
    except Exception as error:
        print(BODY_RIG_ADD_MATERIAL_FAILED_TEXT, error)
    mesh.set_material(0, material)
    slot = unreal.StaticMaterial(material_interface=material, material_slot_name=BODY_RIG_GIZMO_SLOT,
                                 imported_material_slot_name=BODY_RIG_GIZMO_SLOT)
    call_first_accepted(lambda: mesh.set_static_materials([slot]),
                        lambda: mesh.set_editor_property("static_materials", [slot]),
                        accepted_errors=(AttributeError, TypeError))
    body_rig_use_first_slot(mesh, material)
    print(BODY_RIG_SLOTS_TEXT, mesh.get_name(), ":", body_rig_static_mesh_slot_count(mesh))


# ---- the shape library ----------------------------------------------------------------------------------

def body_rig_default_shape_library():
    """The engine's default Control Rig shape library, None when its content has none."""
    return body_rig_first_loadable(BODY_RIG_DEFAULT_SHAPE_LIBRARY_PATHS)


def body_rig_copy_shape_library_materials(library, source):
    """Copies the material settings of source (the default library; may be None) to library, then gives
    it the gizmo material, the X-ray material when there is one and the "Color" parameter. A setting
    this editor's library lacks is passed over."""
    if source is not None:
        for name in BODY_RIG_LIBRARY_MATERIAL_PROPERTIES:
            try:
                library.set_editor_property(name, source.get_editor_property(name))
            except Exception:  # a setting one of the libraries lacks
                pass
    settings = (("default_material", body_rig_control_rig_gizmo_material()),
                ("x_ray_material", body_rig_first_loadable((BODY_RIG_XRAY_MATERIAL_PATH,))),
                ("material_color_parameter", BODY_RIG_MATERIAL_COLOR_PARAMETER))
    for name, value in settings:
        if value is None:
            continue
        try:
            library.set_editor_property(name, value)
        except Exception:  # a setting this editor's library lacks
            pass


def body_rig_ensure_shape_library_asset(package_path, asset_name):
    """A new, empty ControlRigShapeLibrary asset in package_path, in place of any asset of that name;
    None when the asset tools make none."""
    folder = str(package_path).rstrip("/")
    destination = folder + "/" + asset_name
    if unreal.EditorAssetLibrary.does_asset_exist(destination):
        unreal.EditorAssetLibrary.delete_asset(destination)
    return body_rig_asset_tools().create_asset(asset_name, folder, unreal.ControlRigShapeLibrary,
                                               body_rig_factory("ControlRigShapeLibraryFactory"))


def body_rig_set_first(target, names, value):
    """Sets the first of the properties names that target takes to value; returns whether one did."""
    for name in names:
        try:
            target.set_editor_property(name, value)
            return True
        except Exception:  # a property this editor's struct does not have
            continue
    return False


def body_rig_make_shape_definition(shape_name, static_mesh):
    """A shape of the library: shape_name drawn with static_mesh at the identity transform; None when
    the definition takes no name."""
    definition = unreal.ControlRigShapeDefinition()
    if not body_rig_set_first(definition, ("shape_name",), shape_name):
        return None
    body_rig_set_first(definition, ("shape_proxy", "static_mesh"), static_mesh)
    body_rig_set_first(definition, ("transform",), unreal.Transform())
    return definition


def body_rig_library_path(library):
    try:
        return library.get_path_name() if library is not None else ""
    except Exception:  # not an object
        return ""


def body_rig_assign_shape_library(control_rig, library):
    """Appends library to the rig's shape libraries unless the same object or path is there already;
    returns whether the rig has it."""
    try:
        libraries = list(control_rig.get_editor_property("shape_libraries"))
        path = body_rig_library_path(library)
        if not any(entry is library or (path and body_rig_library_path(entry) == path) for entry in libraries):
            libraries.append(library)
            control_rig.set_editor_property("shape_libraries", libraries)
        return True
    except Exception as error:
        print(BODY_RIG_ASSIGN_LIBRARY_FAILED_TEXT, error)
        return False


def body_rig_reset_shape_folder(folder):
    """Deletes the shape folder with everything in it and makes it anew, so that no mesh of an earlier
    build is reused; returns whether the folder is there afterwards."""
    library = unreal.EditorAssetLibrary
    if library.does_directory_exist(folder):
        try:
            if not library.delete_directory(folder):
                print(BODY_RIG_FOLDER_IN_USE_TEXT % folder)
        except Exception as error:
            print(BODY_RIG_DELETE_FAILED_TEXT, folder, ":", error)
    try:
        if not library.does_directory_exist(folder):
            library.make_directory(folder)
        return True
    except Exception as error:
        print(BODY_RIG_FOLDER_FAILED_TEXT, folder, ":", error)
        return False


# ---- installation ---------------------------------------------------------------------------------------

def body_rig_control_record(control):
    """A planned control's record (a record given as it is stays itself)."""
    record = getattr(control, "record", control)
    return record if isinstance(record, dict) else None


def body_rig_tube_entries(controls, height, import_scale, maya_height):
    """The tube of every named control that is not Maya's standard circle, as (name, hash, curve name,
    vertices, indices), and the number of standard circles, which keep a stock "Circle_" gizmo."""
    entries = []
    circles = 0
    example_printed = False
    for control in controls:
        data = body_rig_control_record(control)
        name = str(data.get("name") or "") if data is not None else ""
        if not name:
            continue
        try:
            if vn_nurbs_is_standard_circle(data):
                circles += 1
                if not body_rig_stock_gizmo_name(data).startswith(BODY_RIG_CIRCLE_PREFIX):
                    data["gizmo"] = BODY_RIG_CIRCLE_GIZMO
                continue
            polylines = vn_nurbs_control_polylines(data)
            if not polylines:
                continue
            radius = vn_nurbs_tube_radius(polylines, vn_nurbs_control_line_width(data), height, import_scale)
            if not example_printed:
                print(BODY_RIG_TUBE_EXAMPLE_TEXT, radius, "maya_height:", maya_height, "import_scale:", import_scale)
                example_printed = True
            vertices, indices = vn_nurbs_build_tube_mesh(polylines, radius)
            shape_hash = vn_nurbs_shape_hash(data)
            curve_name = body_rig_maya_curve_name(data)
        except Exception as error:
            print(BODY_RIG_TESSELLATE_FAILED_TEXT, name, ":", error)
            continue
        if len(vertices) >= 3 and len(indices) >= 3:
            entries.append((name, shape_hash, curve_name, vertices, indices))
    return entries, circles


def body_rig_install_control_shape_library(control_rig, controls, progress=None, import_scale=1.0):
    """Builds the rig's shape library from its controls' Maya curves: one tube mesh per distinct curve
    data, in a shape folder next to the rig that is emptied first, collected into one library that the
    rig is given. Returns {control name: shape name} for the controls drawn with a tube; empty when
    nothing could be built, so that every control keeps its stock gizmo."""
    budget_left = [BODY_RIG_SHAPES_PROGRESS_BUDGET]

    def report(amount, message):
        amount = min(amount, budget_left[0])
        budget_left[0] -= amount
        body_rig_progress(progress, amount, message)

    def finish(mapping):
        report(budget_left[0], BODY_RIG_SHAPES_START_TEXT)
        return mapping

    report(BODY_RIG_SHAPES_PROGRESS_FIRST, BODY_RIG_SHAPES_START_TEXT)
    scale = body_rig_import_scale(import_scale)
    height = body_rig_character_height_cm()
    maya_height = height / max(scale, VN_NURBS_MIN_IMPORT_SCALE)
    print(BODY_RIG_TUBE_HEIGHT_TEXT, maya_height, "import_scale:", scale)

    entries, circles = body_rig_tube_entries(controls or (), height, scale, maya_height)
    if not entries:
        if circles:
            print(BODY_RIG_SHAPES_CREATED_TEXT, 0, "unique meshes:", 0, "reused:", 0, "skipped circles:", circles,
                  BODY_RIG_STOCK_CIRCLES_TEXT)
        else:
            print(BODY_RIG_NO_CURVES_TEXT)
        return finish({})

    keys = []
    for _name, shape_hash, _curve, _vertices, _indices in entries:
        key = shape_hash or _name
        if key not in keys:
            keys.append(key)
    step = budget_left[0] / len(keys)
    with unreal.ScopedSlowTask(len(keys), BODY_RIG_SHAPES_DIALOG_TEXT) as task:
        task.make_dialog(False)
        return finish(body_rig_populate_shape_library(control_rig, entries, keys, circles, task,
                                                      lambda message: report(step, message)))


def body_rig_populate_shape_library(control_rig, entries, keys, circles, task, advance):
    """The library part of the installation: the emptied folder and the new library, one mesh and shape
    per key (a key seen before reuses its shape), the library saved and given to the rig. Returns the map
    of control to shape name; empty when the library could not be made, filled or given to the rig."""
    folder, library_name = body_rig_shape_folder(control_rig)
    try:
        body_rig_reset_shape_folder(folder)
        library = body_rig_ensure_shape_library_asset(folder, library_name)
    except Exception as error:
        print(BODY_RIG_LIBRARY_FAILED_TEXT, error)
        return {}
    if library is None:
        print(BODY_RIG_LIBRARY_FACTORY_TEXT)
        return {}
    body_rig_copy_shape_library_materials(library, body_rig_default_shape_library())

    mapping = {}
    shape_of_key = {}
    failed_keys = set()
    used_names = {}
    definitions = []
    reused = 0
    slots = 0
    for name, shape_hash, curve_name, vertices, indices in entries:
        key = shape_hash or name
        if key in shape_of_key:
            reused += 1
            mapping[name] = shape_of_key[key]
            continue
        if key in failed_keys:
            continue
        failed_keys.add(key)
        text = BODY_RIG_SHAPES_STEP_TEXT % (len(shape_of_key) + 1, len(keys))
        task.enter_progress_frame(1, text)
        advance(text)
        shape_name = body_rig_custom_shape_name(name, "", curve_name)
        if used_names.get(shape_name.lower(), key) != key:
            # Another shape already has this name; its mesh must not be replaced by this one.
            shape_name = body_rig_custom_shape_name(name, shape_hash or body_rig_safe_name(name), curve_name)
        mesh = body_rig_create_static_mesh_from_triangles(folder, shape_name, vertices, indices)
        if mesh is None:
            print(BODY_RIG_MESH_FAILED_TEXT, name, BODY_RIG_STOCK_FALLBACK_TEXT)
            continue
        if not definitions:
            slots = body_rig_static_mesh_slot_count(mesh)
        definition = body_rig_make_shape_definition(shape_name, mesh)
        if definition is None:
            print(BODY_RIG_DEFINITION_FAILED_TEXT, name, BODY_RIG_STOCK_FALLBACK_TEXT)
            continue
        failed_keys.discard(key)
        used_names[shape_name.lower()] = key
        shape_of_key[key] = shape_name
        definitions.append(definition)
        mapping[name] = shape_name

    if not definitions:
        print(BODY_RIG_SHAPES_CREATED_TEXT, 0, "unique meshes:", 0, "reused:", reused, "skipped circles:", circles)
        return {}
    try:
        library.set_editor_property("default_shape", definitions[0])
        library.set_editor_property("shapes", definitions)
        library.modify()
        unreal.EditorAssetLibrary.save_loaded_asset(library)
    except Exception as error:
        print(BODY_RIG_POPULATE_FAILED_TEXT, error)
        return {}
    if not body_rig_assign_shape_library(control_rig, library):
        return {}
    print(BODY_RIG_SHAPES_CREATED_TEXT, len(mapping), "unique meshes:", len(definitions), "reused:", reused,
          "skipped circles:", circles, "material slots (first mesh):", slots)
    return mapping
