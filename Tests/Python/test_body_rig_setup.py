"""What a body build does around its phases: which bones the joints name, the import scale and its
sources, the skeleton's root joint, starting from bones only, the node run limit and the description
stamp."""

import pytest

MESH_PATH = "/Game/Chars/Hero/SK_Hero"


def make_mesh(editor, unreal, bones, import_scale=1.0, path=MESH_PATH):
    def transform(spec):
        if spec is None:
            return None
        location, scale = spec
        return unreal.Transform(location=unreal.Vector(*location), scale=unreal.Vector(*scale))
    return editor.create_skeletal_mesh(path, [(name, parent, transform(spec)) for name, parent, spec in bones], import_scale)


def joints(*pairs):
    return [{"name": name, "parent": parent} for name, parent in pairs]


BONES = [("Root_M", None, None), ("Spine_M", "Root_M", None), ("Hip_L", "Root_M", None), ("Prop", None, None)]


@pytest.fixture
def rig(editor, unreal, tool_script):
    mesh = make_mesh(editor, unreal, [("World", None, None)] + [(n, p or "World", s) for n, p, s in BONES])
    tool_script["set_target_skeletal_mesh"](mesh)
    unreal.load_module("ControlRigDeveloper")
    return unreal.ControlRigBlueprintFactory.create_control_rig_from_skeletal_mesh_or_skeleton(mesh)


def test_joint_keys_are_the_joints_that_name_bones_in_record_order(tool_script, rig):
    data = {"joints": joints(("Hip_L", "Root_M"), ("Ghost_M", "Root_M"), ("Root_M", ""), ("Hip_L", "Root_M"), ("spine_m", ""))}
    keys = tool_script["body_rig_joint_keys"](rig.hierarchy, data)
    assert list(keys) == ["Hip_L", "Root_M"]
    assert str(keys["Root_M"].name) == "Root_M"


@pytest.mark.parametrize("value, counts", [
    (2.0, True), (0.5, True), (1.0, False), (1.0 + 1e-9, False), (1.0 + 1e-6, True), (0.0, False),
    (-2.0, False), (float("nan"), False), (float("inf"), False), ("2", True), (None, False), ("x", False)])
def test_only_a_finite_positive_scale_other_than_one_counts(tool_script, value, counts):
    assert tool_script["body_rig_scale_counts"](value) is counts


def test_import_scale_comes_from_the_import_data_then_a_top_bone_then_one(editor, unreal, tool_script, capsys):
    data = {"joints": joints(("Root_M", ""), ("Spine_M", "Root_M"))}
    scale_of = lambda mesh: (tool_script["set_target_skeletal_mesh"](mesh),
                             tool_script["body_rig_import_uniform_scale"](hierarchy_of(unreal, mesh), data,
                                                                          tool_script["body_rig_joint_keys"](hierarchy_of(unreal, mesh), data)))[1]

    imported = make_mesh(editor, unreal, [("Root_M", None, ((0, 0, 0), (3, 3, 3))), ("Spine_M", "Root_M", None)], 2.5, "/Game/A/SK_A")
    assert scale_of(imported) == pytest.approx(2.5)
    assert "Body Rig scale source: SkeletalMesh Asset Import Data" in capsys.readouterr().out

    # Without an import scale the top bone's mean scale is used, the first top joint that says something.
    bone_scaled = make_mesh(editor, unreal, [("Root_M", None, ((0, 0, 0), (1, 2, 3))), ("Spine_M", "Root_M", ((0, 0, 5), (9, 9, 9)))], 1.0, "/Game/B/SK_B")
    assert scale_of(bone_scaled) == pytest.approx(2.0)
    assert "Body Rig scale source: imported root bone Root_M" in capsys.readouterr().out

    plain = make_mesh(editor, unreal, [("Root_M", None, None), ("Spine_M", "Root_M", None)], 1.0, "/Game/C/SK_C")
    assert scale_of(plain) == 1.0
    tool_script["set_target_skeletal_mesh"](None)
    assert tool_script["body_rig_import_uniform_scale"](None, data, {}) == 1.0


def hierarchy_of(unreal, mesh):
    unreal.load_module("ControlRigDeveloper")
    return unreal.ControlRigBlueprintFactory.create_control_rig_from_skeletal_mesh_or_skeleton(mesh).hierarchy


def test_the_root_joint_is_named_by_the_root_control_else_the_biggest_top_joint(tool_script, rig, capsys):
    data = {"joints": joints(("Prop", ""), ("Root_M", ""), ("Spine_M", "Root_M"), ("Hip_L", "Root_M"))}
    keys = tool_script["body_rig_joint_keys"](rig.hierarchy, data)
    assert tool_script["body_rig_root_joint"](data, keys) == "Root_M"
    assert "Resolved skeleton root by hierarchy fallback: Root_M" in capsys.readouterr().out

    # A root control that names a bone always wins, FKRootMotion_M before FKRoot_M.
    data["controls"] = [{"name": "FKRoot_M", "joint": "Prop"}]
    assert tool_script["body_rig_root_joint"](data, keys) == "Prop"
    assert "Resolved skeleton root from FKRoot_M Prop" in capsys.readouterr().out
    data["controls"].append({"name": "FKRootMotion_M", "joint": "Spine_M"})
    assert tool_script["body_rig_root_joint"](data, keys) == "Spine_M"
    # A root control on a joint that is no bone does not count.
    data["controls"] = [{"name": "FKRootMotion_M", "joint": "Ghost"}]
    assert tool_script["body_rig_root_joint"](data, keys) == "Root_M"

    # On a tie the first top joint in record order; a parent loop does not hang the walk.
    tie = {"joints": joints(("Prop", ""), ("Hip_L", ""))}
    assert tool_script["body_rig_root_joint"](tie, tool_script["body_rig_joint_keys"](rig.hierarchy, tie)) == "Prop"
    loop = {"joints": joints(("Spine_M", "Hip_L"), ("Hip_L", "Spine_M"))}
    assert tool_script["body_rig_root_joint"](loop, tool_script["body_rig_joint_keys"](rig.hierarchy, loop)) == "Spine_M"
    assert tool_script["body_rig_root_joint"]({"joints": []}, {}) == ""


def test_a_build_starts_from_bones_only_and_an_empty_graph(unreal, tool_script, rig):
    controller = rig.get_hierarchy_controller()
    controller.add_null("Helpers", unreal.RigElementKey(), unreal.Transform(), False)
    controller.add_control("Main", unreal.RigElementKey(), unreal.RigControlSettings(),
                           unreal.RigHierarchy.make_control_value_from_euler_transform(unreal.EulerTransform()))
    bones_before = [str(key.name) for key in rig.hierarchy.get_all_keys(True) if key.type == unreal.RigElementType.BONE]
    assert tool_script["body_rig_clear_non_bones"](tool_script["RigElements"](rig.hierarchy, controller)) == 2
    assert [str(key.name) for key in rig.hierarchy.get_all_keys(True)] == bones_before

    graph = rig.get_controller(rig.get_model())
    existing = len(graph.get_graph().get_nodes())
    for index in range(3):
        graph.add_unit_node_from_struct_path("/Script/ControlRig.RigUnit_SetTransform", "Execute", unreal.Vector2D(index * 100, 0), "Node%d" % index)
    assert len(graph.get_graph().get_nodes()) == existing + 3
    assert tool_script["body_rig_clear_graph"](rig) is not None
    assert list(graph.get_graph().get_nodes()) == []


def test_the_node_run_limit_and_the_description_stamp(unreal, tool_script, rig, capsys):
    assert tool_script["body_rig_set_node_run_limit"](rig)
    assert rig.get_editor_property("rig_graph_display_settings").get_editor_property("node_run_limit") == 1024

    version = unreal.PluginBlueprintLibrary.get_plugin_version_name("VantorelUnreal")
    assert version
    assert tool_script["body_rig_stamp_blueprint_description"](rig, {"__vn_version": "2.4.1"})
    assert rig.get_editor_property("blueprint_description") == "Vantorel 2.4.1 | VantorelUnreal " + version
    assert tool_script["body_rig_stamp_blueprint_description"](rig, {})
    assert rig.get_editor_property("blueprint_description") == "Vantorel Unknown | VantorelUnreal " + version

    # Neither display-settings property: one hint, and the build goes on.
    class NoSettings:
        def get_editor_property(self, name):
            raise AttributeError(name)
    assert not tool_script["body_rig_set_node_run_limit"](NoSettings())
    assert capsys.readouterr().out.count("Could not set Control Rig Node Run Limit automatically; use Class Settings once.") == 1
