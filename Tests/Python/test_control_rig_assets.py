"""A Control Rig as a user's session makes it: created from a skeletal mesh through the factory, its
hierarchy and graph edited from Python, saved, and loaded back equal after the editor restarts."""

import pytest

MESH_PATH = "/Game/Characters/Hero/SK_Hero"
RIG_PATH = "/Game/Characters/Hero/Hero_CR"


def bones(unreal):
    offset = lambda x, y, z: unreal.Transform(location=unreal.Vector(x, y, z))
    return [("root", None, None),
            ("pelvis", "root", offset(0.0, 0.0, 95.0)),
            ("spine_01", "pelvis", offset(0.0, 0.0, 10.0)),
            ("thigh_l", "pelvis", offset(9.0, 0.0, -5.0))]


def key(unreal, kind, name):
    return unreal.RigElementKey(type=kind, name=name)


def snapshot_hierarchy(unreal, hierarchy):
    """Every element with its parent, both poses and, for controls, offset, value and settings text."""
    rows = []
    for element in hierarchy.get_all_keys(True):
        row = [element.type.name, str(element.name), [str(p.name) for p in hierarchy.get_parents(element)]]
        for initial in (True, False):
            row.append(hierarchy.get_global_transform(element, initial).export_text())
        if element.type == unreal.RigElementType.CONTROL:
            row.append(hierarchy.get_global_control_offset_transform(element, True).export_text())
            value = hierarchy.get_control_value(element, unreal.RigControlValueType.CURRENT)
            row.append(unreal.RigHierarchy.get_float_from_control_value(value))
            row.append(hierarchy.get_controller().get_control_settings(element).export_text())
        rows.append(row)
    return rows


def snapshot_graph(graph):
    """Every node with its class, title, position and pins (path, default, expansion) and every link."""
    nodes = []
    for node in graph.get_nodes():
        pins = [(pin.get_pin_path(), pin.get_default_value(), pin.is_expanded())
                for root in node.get_pins() for pin in [root] + list(root.get_all_sub_pins_recursively())]
        position = node.get_position()
        nodes.append((node.get_class().get_name(), node.get_node_path(), node.get_node_title(),
                      (position.x, position.y), pins))
    links = sorted((link.get_source_pin().get_pin_path(), link.get_target_pin().get_pin_path())
                   for link in graph.get_links())
    return nodes, links


@pytest.fixture
def built_rig(editor, unreal):
    """A rig made from a mesh with one control and a small forward graph, saved to disk."""
    unreal.load_module("ControlRigDeveloper")
    mesh = editor.create_skeletal_mesh(MESH_PATH, bones(unreal))
    rig = unreal.ControlRigBlueprintFactory.create_control_rig_from_skeletal_mesh_or_skeleton(mesh)
    assert rig is not None
    renamed = unreal.AssetToolsHelpers.get_asset_tools().rename_assets(
        [unreal.AssetRenameData(rig, "/Game/Characters/Hero", "Hero_CR")])
    assert renamed
    rig = unreal.load_asset(RIG_PATH)

    hierarchy = rig.get_hierarchy_controller().get_hierarchy()
    controller = hierarchy.get_controller()
    pelvis = key(unreal, unreal.RigElementType.BONE, "pelvis")
    settings = unreal.RigControlSettings()
    settings.control_type = unreal.RigControlType.FLOAT
    settings.display_name = "Hips Bend"
    control = controller.add_control("HipsBend_M", pelvis, settings,
                                     unreal.RigHierarchy.make_control_value_from_float(0.25))
    hierarchy.set_control_offset_transform(control, unreal.Transform(location=unreal.Vector(0.0, 5.0, 0.0)), True)

    graph = rig.get_controller()
    begin = next(n for n in graph.get_graph().get_nodes() if "Forwards Solve" in n.get_node_title())
    node = graph.add_unit_node_from_struct_path("/Script/ControlRig.RigUnit_SetTransform", "Execute",
                                                unreal.Vector2D(300.0, 40.0), "SetPelvis")
    path = node.get_node_path()
    assert graph.set_pin_default_value(path + ".Item", '(Type=Bone,Name="pelvis")', True)
    assert graph.set_pin_default_value(path + ".Value.Translation.Z", "97.5", True)
    assert graph.add_link(begin.get_node_path() + ".ExecuteContext", path + ".ExecuteContext")
    graph.set_pin_expansion(path + ".Value", True)
    rig.set_editor_property("blueprint_description", "Built by the test")
    rig.recompile_vm()
    assert unreal.EditorAssetLibrary.save_loaded_asset(rig, False)
    return rig


def test_a_saved_rig_loads_back_equal_after_a_restart(editor, unreal, built_rig, tmp_path):
    hierarchy_before = snapshot_hierarchy(unreal, built_rig.hierarchy)
    graph_before = snapshot_graph(built_rig.get_controller().get_graph())
    assert [row[1] for row in hierarchy_before] == ["root", "pelvis", "spine_01", "thigh_l", "HipsBend_M"]

    editor.start(str(tmp_path / "Project"))
    assert unreal.find_object(None, RIG_PATH + ".Hero_CR") is None, "the restart unloads the rig"
    loaded = unreal.load_asset(RIG_PATH)
    assert loaded is not None
    assert loaded.get_editor_property("blueprint_description") == "Built by the test"
    assert snapshot_hierarchy(unreal, loaded.hierarchy) == hierarchy_before
    assert snapshot_graph(loaded.get_controller().get_graph()) == graph_before
    assert loaded.get_preview_mesh().get_path_name() == MESH_PATH + ".SK_Hero"


def test_a_loaded_rig_stays_editable(editor, unreal, built_rig, tmp_path):
    editor.start(str(tmp_path / "Project"))
    loaded = unreal.load_asset(RIG_PATH)
    graph = loaded.get_controller()
    node = graph.get_graph().find_node("SetPelvis")
    assert node is not None
    assert graph.set_pin_default_value("SetPelvis.Weight", "0.5", True)
    assert node.find_pin("Weight").get_default_value() == "0.500000"
    hierarchy = loaded.hierarchy
    spine = key(unreal, unreal.RigElementType.BONE, "spine_01")
    hierarchy.set_global_transform(key(unreal, unreal.RigElementType.BONE, "pelvis"),
                                   unreal.Transform(location=unreal.Vector(0.0, 0.0, 100.0)), True, True)
    assert hierarchy.get_global_transform(spine, True).translation.z == pytest.approx(110.0)
    assert not graph.add_link("SetPelvis.Missing", "SetPelvis.ExecuteContext"), "unknown pins stay refused"


def test_the_rig_file_is_readable_text_under_content(editor, built_rig, tmp_path):
    text = (tmp_path / "Project" / "Content" / "Characters" / "Hero" / "Hero_CR.uasset").read_text()
    assert "Begin Object Class=/Script/ControlRigDeveloper.ControlRigBlueprint" in text
    assert "HipsBend_M" in text and "SetPelvis" in text
