"""The control shape library: the sample character's Maya curves as tube meshes with the gizmo material
in one library next to the rig, the shape names the controls get, reuse of equal curves, the library on
disk and on the rig, the OBJ file of a tube, and every failure falling back to the stock gizmos. Expected
counts are worked out in the tests from the curve functions (tested on their own) and the tube rule: six
spokes per ring, two triangles per spoke between neighbouring rings, a closed polyline joins its last
ring to its first, an open one gets two cap centres and six triangles per cap."""

import importlib
import json
import os

import pytest

from conftest import SAMPLE_HERO

RIG_PATH = "/Game/SampleHero/SK_SampleHero_Body_CR"
SHAPE_FOLDER = RIG_PATH + "_VNShapes"
LIBRARY_PATH = SHAPE_FOLDER + "/SK_SampleHero_Body_CR_VNShapes"
GIZMO_MATERIAL = "/ControlRig/Controls/ControlRigGizmoMaterial.ControlRigGizmoMaterial"
SIDES = 6


@pytest.fixture
def shapes(tool_script):
    """The shape library module of the bundled tool script run."""
    return importlib.import_module("_vantorel_tool.body.shapes")


@pytest.fixture
def nurbs(tool_script):
    return importlib.import_module("_vantorel_tool.body.nurbs")


def sample_records():
    with open(os.path.join(SAMPLE_HERO, "SampleHero_BodyRig.json"), encoding="utf-8") as stream:
        return [control for control in json.load(stream)["rig"]["controls"] if isinstance(control, dict)]


@pytest.fixture
def rig(unreal, hero):
    return unreal.ControlRigBlueprintFactory.create_new_control_rig_asset(RIG_PATH)


def planned(tool_script, records):
    return [tool_script["PlannedControl"](record) for record in records]


def tube_counts(polylines):
    """(vertices, triangles) of the six-sided tube around the polylines, by the tube rule."""
    vertices = triangles = 0
    for points in polylines:
        closed = sum((a - b) ** 2 for a, b in zip(points[0], points[-1])) < 1e-10
        rings = len(points) - 1 if closed and len(points) > 2 else len(points)
        segments = rings if closed else rings - 1
        vertices += rings * SIDES + (0 if closed else 2)
        triangles += 2 * SIDES * segments + (0 if closed else 2 * SIDES)
    return vertices, triangles


def expected_sample_shapes(nurbs, records):
    """Per tube control of the sample: (name, hash, first curve name, polylines), in file order."""
    expected = []
    for record in records:
        if nurbs.vn_nurbs_is_standard_circle(record):
            continue
        polylines = [nurbs.vn_nurbs_dedupe_polyline(line) for line in nurbs.vn_nurbs_control_polylines(record)]
        if polylines:
            names = [curve.get("name") for curve in nurbs.vn_nurbs_collect_curve_dicts(record) if curve.get("name")]
            expected.append((record["name"], nurbs.vn_nurbs_shape_hash(record), names[0] if names else "", polylines))
    return expected


@pytest.fixture
def installed(unreal, tool_script, shapes, rig, capsys):
    records = sample_records()
    mapping = shapes.body_rig_install_control_shape_library(rig, planned(tool_script, records))
    return mapping, records, capsys.readouterr().out


# ---- the sample character ------------------------------------------------------------------------------

def test_the_sample_maps_every_tube_control_and_no_circle(nurbs, installed):
    mapping, records, _out = installed
    expected = expected_sample_shapes(nurbs, records)
    circles = [record["name"] for record in records if nurbs.vn_nurbs_is_standard_circle(record)]
    assert sorted(mapping) == sorted(name for name, _, _, _ in expected)
    assert not set(mapping) & set(circles)
    assert "FKRoot_M" in circles and "Main" in mapping and "PoleLeg_R" in mapping
    assert all(shape.startswith("VN_") for shape in mapping.values())


def test_one_library_stands_next_to_the_rig_with_one_shape_per_distinct_curve(unreal, nurbs, installed):
    mapping, records, out = installed
    expected = expected_sample_shapes(nurbs, records)
    library = unreal.load_asset(LIBRARY_PATH)
    assert isinstance(library, unreal.ControlRigShapeLibrary)
    assert unreal.EditorAssetLibrary.list_assets(SHAPE_FOLDER, True, False).count(LIBRARY_PATH + "." + LIBRARY_PATH.rsplit("/", 1)[1]) == 1
    names = [str(shape.shape_name) for shape in library.shapes]
    hashes = list(dict.fromkeys(shape_hash for _, shape_hash, _, _ in expected))
    assert len(names) == len(set(names)) == len(hashes) == 8
    assert sorted(names) == sorted(set(mapping.values()))
    assert str(library.default_shape.shape_name) == names[0] == mapping["Main"]
    circles = sum(1 for record in records if nurbs.vn_nurbs_is_standard_circle(record))
    assert ("Created Maya curveShapes Control Rig shapes: %d unique meshes: 8 reused: %d skipped circles: %d "
            "material slots (first mesh): 1" % (len(expected), len(expected) - 8, circles)) in out


def test_equal_curves_share_one_mesh_and_clashing_names_keep_apart(nurbs, installed):
    mapping, records, _out = installed
    # The FKIK switches all carry the same cross; the first one's curve names the shared mesh.
    assert {mapping[name] for name in ("FKIKSpine_M", "FKIKTail_M", "FKIKLeg_R", "FKIKArm_L")} == {"VN_FKIKSpine_M"}
    assert mapping["IKSpine1_M"] == mapping["IKSpine3_M"]
    # Main, the spline handles and the IK legs all name their curve "square", with different points.
    by_name = {record["name"]: record for record in records}
    assert mapping["Main"] == "VN_square"
    assert mapping["IKSpine1_M"] == "VN_square_" + nurbs.vn_nurbs_shape_hash(by_name["IKSpine1_M"])
    assert mapping["IKLeg_R"] == "VN_square_" + nurbs.vn_nurbs_shape_hash(by_name["IKLeg_R"])
    assert len({mapping["Main"], mapping["IKSpine1_M"], mapping["IKTail1_M"], mapping["IKLeg_L"]}) == 4


def test_each_shape_mesh_holds_the_triangles_of_its_tube(unreal, nurbs, installed):
    mapping, records, _out = installed
    for name, _hash, _curve, polylines in expected_sample_shapes(nurbs, records):
        mesh = unreal.load_asset(SHAPE_FOLDER + "/" + mapping[name])
        assert isinstance(mesh, unreal.StaticMesh), name
        assert (mesh.get_num_vertices(0), mesh.get_num_triangles(0)) == tube_counts(polylines), name
        assert mesh.get_num_sections(0) == 1


def test_a_tube_follows_its_curve_in_engine_space(unreal, nurbs, installed):
    mapping, records, _out = installed
    main = next(record for record in records if record["name"] == "Main")
    # The square spans +-30 in Maya X and Z, which are the engine's X and Y; the tube adds its radius.
    bounds = unreal.load_asset(SHAPE_FOLDER + "/" + mapping["Main"]).get_bounds()
    assert bounds.box_extent.x == pytest.approx(bounds.box_extent.y)
    assert 30.0 < bounds.box_extent.x < 31.0
    assert bounds.box_extent.z < 1.0
    assert nurbs.vn_nurbs_control_line_width(main) == 2.0


def test_every_mesh_draws_with_the_gizmo_material_in_one_slot_without_nanite(unreal, installed):
    mapping, _records, out = installed
    for shape in set(mapping.values()):
        mesh = unreal.load_asset(SHAPE_FOLDER + "/" + shape)
        slots = mesh.get_editor_property("static_materials")
        assert len(slots) == 1
        assert str(slots[0].material_slot_name) == str(slots[0].imported_material_slot_name) == "Gizmo"
        assert slots[0].material_interface.get_path_name() == GIZMO_MATERIAL
        assert mesh.get_material(0).get_path_name() == GIZMO_MATERIAL
        assert mesh.get_editor_property("nanite_settings").enabled is False
        assert "Control Rig gizmo material slots for %s : 1" % shape in out
    library = unreal.load_asset(LIBRARY_PATH)
    assert library.get_editor_property("default_material").get_path_name() == GIZMO_MATERIAL
    assert str(library.get_editor_property("material_color_parameter")) == "Color"


def test_the_rig_holds_the_library_once_after_two_installs(unreal, tool_script, shapes, rig, installed):
    second = shapes.body_rig_install_control_shape_library(rig, planned(tool_script, sample_records()))
    assert second == installed[0]
    libraries = rig.get_editor_property("shape_libraries")
    assert [library.get_path_name() for library in libraries].count(LIBRARY_PATH + ".SK_SampleHero_Body_CR_VNShapes") == 1


def test_the_library_and_meshes_load_back_from_disk(editor, unreal, rig, installed, tmp_path):
    mapping, _records, _out = installed
    counts = {shape: unreal.load_asset(SHAPE_FOLDER + "/" + shape).get_num_triangles(0) for shape in set(mapping.values())}
    unreal.EditorAssetLibrary.save_loaded_asset(rig, False)
    editor.shutdown()
    editor.start(str(tmp_path / "Project"))
    library = unreal.load_asset(LIBRARY_PATH)
    assert sorted(str(shape.shape_name) for shape in library.shapes) == sorted(counts)
    for shape in library.shapes:
        # A shape refers to its mesh softly: the reference resolves once the mesh is loaded.
        mesh = unreal.load_asset(SHAPE_FOLDER + "/" + str(shape.shape_name))
        assert mesh.get_num_triangles(0) == counts[str(shape.shape_name)]
        assert shape.static_mesh == mesh
        assert mesh.get_editor_property("static_materials")[0].material_interface.get_path_name() == GIZMO_MATERIAL
    loaded_rig = unreal.load_asset(RIG_PATH)
    assert [entry.get_path_name() for entry in loaded_rig.get_editor_property("shape_libraries")] == [library.get_path_name()]


def test_a_standard_circle_keeps_a_stock_circle_gizmo(tool_script, shapes, rig, nurbs, capsys):
    records = [dict(record) for record in sample_records() if record["name"] in ("FKRoot_M", "FKSpine1_M")]
    records[1]["gizmo"] = "Default"
    assert shapes.body_rig_install_control_shape_library(rig, planned(tool_script, records)) == {}
    assert [record["gizmo"] for record in records] == ["Circle_Thick", "Circle_Thick"]
    assert ("Created Maya curveShapes Control Rig shapes: 0 unique meshes: 0 reused: 0 skipped circles: 2 "
            "(stock Circle_Thick / Circle_* gizmos)") in capsys.readouterr().out


def test_progress_takes_the_shape_budget_and_the_dialog_one_frame_per_mesh(editor, tool_script, shapes, rig):
    updates = []

    class Library:
        @staticmethod
        def update_body_rig_progress(value, message):
            updates.append((value, message))

    progress = {"value": 50.0, "library": Library}
    shapes.body_rig_install_control_shape_library(rig, planned(tool_script, sample_records()), progress)
    assert progress["value"] == pytest.approx(58.0)
    assert updates[0] == (51.0, "Building Custom Shapes...")
    assert [message for _, message in updates[1:9]] == ["Building Custom Shapes (%d/8)..." % n for n in range(1, 9)]
    task = [task for task in editor.slow_tasks() if task["desc"] == "Building Custom Shapes"][-1]
    assert task["work"] == 8 and len(task["frames"]) == 8
    assert task["dialog"] and not task["can_cancel"] and task["finished"]


# ---- names, sizes and files ----------------------------------------------------------------------------

@pytest.mark.parametrize("data, expected", [
    ({"gizmo": {"name": "Box_Thick", "shape": "Cube"}}, "Box_Thick"), ({"gizmo": {"gizmo": "", "shape": "Cube"}}, "Cube"),
    ({"gizmo": {}}, "Default"), ({"gizmo": "Arrow"}, "Arrow"), ({"gizmo": ""}, "Default"), ({}, "Default"),
])
def test_the_stock_gizmo_name_of_a_record(shapes, data, expected):
    assert shapes.body_rig_stock_gizmo_name(data) == expected


@pytest.mark.parametrize("args, expected", [
    (("FKIKArm_R", "", "cross shape"), "VN_cross_shape"), (("Pole:Leg_R",), "VN_Pole_Leg_R"), (("",), "VN_Control"),
    (("Main", "0a1b", "square"), "VN_square_0a1b"),
])
def test_shape_names(shapes, args, expected):
    assert shapes.body_rig_custom_shape_name(*args) == expected


def test_the_character_height_is_twice_the_bounds_z_extent(unreal, shapes, hero):
    assert shapes.body_rig_character_height_cm() == pytest.approx(2.0 * abs(hero.get_bounds().box_extent.z))


def test_the_character_height_without_a_mesh_is_180(shapes, tool_script):
    tool_script["set_target_skeletal_mesh"](None)
    assert shapes.body_rig_character_height_cm() == 180.0


def test_the_obj_file_of_a_tube_reads_back(shapes, nurbs, tmp_path):
    vertices, indices = nurbs.vn_nurbs_build_tube_mesh([[(0.0, 0.0, 0.0), (10.0, 0.0, 0.0)]], 0.5)
    path = shapes.body_rig_write_obj_mesh(str(tmp_path / "deep" / "tube.obj"), vertices, indices)
    with open(path, encoding="utf-8") as stream:
        text = stream.read()
    lines = text.split("\n")
    assert lines[:2] == ["# Vantorel Control Rig shape", "o VNControlShape"] and text.endswith("\n")
    faces = [[int(value) for value in line.split()[1:]] for line in lines if line.startswith("f ")]
    assert sum(1 for line in lines if line.startswith("v ")) == 14 and len(faces) == 24
    assert min(min(face) for face in faces) == 1 and max(max(face) for face in faces) == 14
    assert lines[2] == "v %.6f %.6f %.6f" % vertices[0]


# ---- failures fall back to the stock gizmos ------------------------------------------------------------

def tube_records():
    return [dict(record) for record in sample_records() if record["name"] in ("Main", "FKRootMotion_M")]


def test_controls_without_curves_keep_the_stock_gizmos(tool_script, shapes, rig, capsys):
    records = [{"name": "FKArm_L", "gizmo": "Box_Thick"}, {"name": "", "curves": []}, {"name": "Empty", "cvs": []}]
    assert shapes.body_rig_install_control_shape_library(rig, planned(tool_script, records)) == {}
    assert "Body JSON had no usable curveShapes; using stock Control Rig gizmos." in capsys.readouterr().out


def test_a_curve_that_cannot_be_tessellated_is_named_and_skipped(tool_script, shapes, rig, monkeypatch, capsys):
    real = shapes.vn_nurbs_control_polylines

    def polylines(data):
        if data["name"] == "Main":
            raise ValueError("bad knots")
        return real(data)

    monkeypatch.setattr(shapes, "vn_nurbs_control_polylines", polylines)
    mapping = shapes.body_rig_install_control_shape_library(rig, planned(tool_script, tube_records()))
    assert list(mapping) == ["FKRootMotion_M"]
    assert "Could not tessellate curveShapes for Main : bad knots" in capsys.readouterr().out


@pytest.mark.parametrize("failure, line", [
    (None, "ControlRigShapeLibrary factory was unavailable; using stock gizmos."),
    (RuntimeError("no room"), "Could not create Control Rig shape library: no room"),
])
def test_a_library_that_cannot_be_made_leaves_every_control_stock(unreal, tool_script, shapes, rig, monkeypatch, capsys, failure, line):
    def ensure(package_path, asset_name):
        if failure is not None:
            raise failure
        return None

    monkeypatch.setattr(shapes, "body_rig_ensure_shape_library_asset", ensure)
    assert shapes.body_rig_install_control_shape_library(rig, planned(tool_script, tube_records())) == {}
    assert line in capsys.readouterr().out
    assert list(rig.get_editor_property("shape_libraries")) == []


def test_a_mesh_that_cannot_be_built_tries_the_obj_import_then_falls_back(unreal, tool_script, shapes, rig, monkeypatch, capsys):
    def build(folder, name, vertices, indices):
        raise RuntimeError("no description")

    monkeypatch.setattr(shapes, "body_rig_build_static_mesh", build)
    assert shapes.body_rig_install_control_shape_library(rig, planned(tool_script, tube_records())) == {}
    out = capsys.readouterr().out
    assert "StaticMeshDescription build failed for VN_square : no description" in out
    assert "OBJ import fallback failed for VN_square :" in out
    assert "Could not build shape mesh for Main ; stock gizmo will be used." in out
    assert "Created Maya curveShapes Control Rig shapes: 0 unique meshes: 0 reused: 0 skipped circles: 0" in out
    assert os.path.isfile(os.path.join(unreal.Paths.project_intermediate_dir(), "VNControlShapes", "VN_square.obj"))


def test_a_shape_definition_that_cannot_be_made_leaves_its_control_stock(tool_script, shapes, rig, monkeypatch, capsys):
    real = shapes.body_rig_make_shape_definition
    monkeypatch.setattr(shapes, "body_rig_make_shape_definition",
                        lambda name, mesh: None if name == "VN_square" else real(name, mesh))
    mapping = shapes.body_rig_install_control_shape_library(rig, planned(tool_script, tube_records()))
    assert mapping == {"FKRootMotion_M": "VN_arrow"}
    assert "Could not create shape definition for Main ; stock gizmo will be used." in capsys.readouterr().out


def test_a_missing_gizmo_material_leaves_the_mesh_grey(unreal, shapes, monkeypatch, capsys, editor):
    monkeypatch.setattr(shapes, "body_rig_control_rig_gizmo_material", lambda: None)
    mesh = shapes.body_rig_create_static_mesh_from_triangles("/Game/Shapes/", "VN_Grey", [(0, 0, 0), (1, 0, 0), (0, 1, 0)], [0, 1, 2])
    assert mesh.get_num_triangles(0) == 1 and len(mesh.get_editor_property("static_materials")) == 0
    assert "Control Rig gizmo material missing; shape will stay grey." in capsys.readouterr().out
    assert unreal.EditorAssetLibrary.does_asset_exist("/Game/Shapes/VN_Grey")


def test_a_failing_slot_assignment_is_named_and_the_mesh_kept(shapes, monkeypatch, capsys, editor):
    def assign(mesh):
        raise RuntimeError("slots locked")

    monkeypatch.setattr(shapes, "body_rig_assign_gizmo_material_slot", assign)
    mesh = shapes.body_rig_create_static_mesh_from_triangles("/Game/Shapes", "VN_Tri", [(0, 0, 0), (1, 0, 0), (0, 1, 0)], [0, 1, 2])
    assert mesh is not None
    assert "Could not assign Control Rig gizmo material slot: slots locked" in capsys.readouterr().out


@pytest.mark.parametrize("vertices, indices", [([(0, 0, 0), (1, 0, 0)], [0, 1, 0]), ([(0, 0, 0), (1, 0, 0), (0, 1, 0)], [0, 1])])
def test_too_few_vertices_or_indices_make_no_mesh(shapes, editor, vertices, indices):
    assert shapes.body_rig_create_static_mesh_from_triangles("/Game/Shapes", "VN_None", vertices, indices) is None


def test_a_rig_that_refuses_the_library_gives_an_empty_map(tool_script, shapes, rig, monkeypatch, capsys):
    class Refusing:
        def get_name(self):
            return rig.get_name()

        def get_path_name(self):
            return rig.get_path_name()

        def get_editor_property(self, name):
            raise RuntimeError("read-only rig")

    assert shapes.body_rig_install_control_shape_library(Refusing(), planned(tool_script, tube_records())) == {}
    assert "Could not assign Control Rig shape library: read-only rig" in capsys.readouterr().out


def test_an_earlier_build_leaves_nothing_in_the_shape_folder(unreal, tool_script, shapes, rig, installed):
    leftover = shapes.body_rig_create_static_mesh_from_triangles(SHAPE_FOLDER, "VN_Old", [(0, 0, 0), (1, 0, 0), (0, 1, 0)], [0, 1, 2])
    assert leftover is not None
    shapes.body_rig_install_control_shape_library(rig, planned(tool_script, tube_records()))
    assert not unreal.EditorAssetLibrary.does_asset_exist(SHAPE_FOLDER + "/VN_Old")
    assert not unreal.EditorAssetLibrary.does_asset_exist(SHAPE_FOLDER + "/VN_FKIKSpine_M")


# ---- the static mesh editor subsystem ------------------------------------------------------------------

def test_the_subsystem_reads_and_sets_nanite_and_the_section_slot(unreal, shapes, editor):
    subsystem = unreal.get_editor_subsystem(unreal.StaticMeshEditorSubsystem)
    assert isinstance(subsystem, unreal.StaticMeshEditorSubsystem)
    assert unreal.get_editor_subsystem(unreal.StaticMesh) is None
    mesh = shapes.body_rig_create_static_mesh_from_triangles("/Game/Shapes", "VN_Tri", [(0, 0, 0), (1, 0, 0), (0, 1, 0)], [0, 1, 2])
    assert subsystem.get_lod_material_slot(mesh, 0, 0) == 0
    assert subsystem.get_lod_material_slot(mesh, 0, 1) == -1
    settings = subsystem.get_nanite_settings(mesh)
    assert settings.enabled is False
    settings.enabled = True
    subsystem.set_nanite_settings(mesh, settings, True)
    assert mesh.get_editor_property("nanite_settings").enabled is True


def test_nanite_goes_through_the_subsystem_when_the_mesh_hides_its_settings(unreal, shapes, editor, monkeypatch):
    mesh = shapes.body_rig_create_static_mesh_from_triangles("/Game/Shapes", "VN_Tri", [(0, 0, 0), (1, 0, 0), (0, 1, 0)], [0, 1, 2])
    subsystem = unreal.get_editor_subsystem(unreal.StaticMeshEditorSubsystem)
    on = subsystem.get_nanite_settings(mesh)
    on.enabled = True
    subsystem.set_nanite_settings(mesh, on, True)

    def hidden(self, name):
        raise AttributeError(name)

    with monkeypatch.context() as patch:
        patch.setattr(unreal.StaticMesh, "get_editor_property", hidden)
        assert shapes.body_rig_disable_nanite(mesh) is True
    assert mesh.get_editor_property("nanite_settings").enabled is False
