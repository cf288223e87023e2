"""The test-facing `hosteditor` module and the editor services around assets: starting and
restarting on a project folder, the editor's Python and editor runs, the Content Browser selection,
message boxes, the log, plug-in versions, project paths, slow tasks, creating skeletal meshes and
evaluating Control Rigs."""

import builtins
import json
import os

import pytest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
PLUGIN_DESCRIPTOR = os.path.join(ROOT, "Plugins", "VantorelUnreal", "VantorelUnreal.uplugin")


def project_dir(tmp_path):
    return str(tmp_path / "Project")


# ---- start and restart --------------------------------------------------------------------------

def test_start_creates_the_project_folders_and_points_paths_at_them(editor, unreal, tmp_path):
    root = project_dir(tmp_path)
    for folder in ("Content", "Intermediate", "Saved", "Plugins"):
        assert os.path.isdir(os.path.join(root, folder))
    assert unreal.Paths.project_dir() == root + "/"
    assert unreal.Paths.project_content_dir() == root + "/Content/"
    assert unreal.Paths.project_intermediate_dir() == root + "/Intermediate/"
    assert unreal.Paths.project_saved_dir() == root + "/Saved/"


def test_start_on_another_project_switches_the_content_root(editor, unreal, tmp_path):
    asset = unreal.AssetToolsHelpers.get_asset_tools().create_asset("Rig", "/Game/A", unreal.VNFaceRigDataAsset, None)
    assert unreal.EditorAssetLibrary.save_loaded_asset(asset)
    editor.start(str(tmp_path / "Other"))
    assert unreal.Paths.project_dir() == str(tmp_path / "Other") + "/"
    assert not unreal.EditorAssetLibrary.does_asset_exist("/Game/A/Rig")
    editor.start(project_dir(tmp_path))
    assert unreal.EditorAssetLibrary.does_asset_exist("/Game/A/Rig")


def test_restart_clears_selection_message_boxes_log_and_slow_tasks(editor, unreal, tmp_path):
    editor.select_assets(["/Game/A/B"])
    unreal.EditorDialog.show_message("Title", "Text", unreal.AppMsgType.OK)
    unreal.log_warning("before restart")
    with unreal.ScopedSlowTask(1, "work"):
        pass
    editor.start(project_dir(tmp_path))
    assert editor.selected_asset_paths() == []
    assert editor.message_boxes() == []
    assert not any("before restart" in text for _, _, text in editor.log_lines())
    assert editor.slow_tasks() == []


def test_start_loads_the_plugin_modules(editor, unreal):
    assert "VantorelUnreal" in unreal.PluginBlueprintLibrary.get_enabled_plugin_names()
    assert unreal.VNFaceRigDataAsset.static_class() is not None


def test_plugin_whose_module_is_missing_fails_the_start_with_an_error(unreal, tmp_path):
    import hosteditor
    plugin_dir = tmp_path / "Broken" / "Plugins" / "Broken"
    plugin_dir.mkdir(parents=True)
    (plugin_dir / "Broken.uplugin").write_text(json.dumps({"FileVersion": 3, "VersionName": "1.0", "Modules": [{"Name": "NoSuchModule", "Type": "Editor"}]}))
    with pytest.raises(RuntimeError, match="NoSuchModule"):
        hosteditor.start(str(tmp_path / "Broken"))
    assert any(line[1] == "Error" and "NoSuchModule" in line[2] for line in hosteditor.log_lines())
    hosteditor.start(str(tmp_path / "Clean"))


# ---- the editor's Python and editor runs ---------------------------------------------------------

REGISTERED = ("LogPython", "Log", "Vantorel: Python builtins registered successfully")


def open_tools(unreal):
    unreal.VNFaceSDKImportLibrary.open_vantorel_tools("", True, True, "", "")


def test_a_started_editor_has_python_so_opening_the_tools_runs_the_tool_script(editor, unreal, tmp_path):
    assert not hasattr(builtins, "vn_set_control_rig_mode"), "a new editor run has not run the tool script yet"
    open_tools(unreal)
    assert callable(builtins.vn_set_control_rig_mode) and callable(builtins.vn_run_create_control_rig)
    lines = editor.log_lines()
    assert lines.count(REGISTERED) == 1
    assert ("LogVantorelUnrealEditor", "Display", "Vantorel: Loading Python tool script (embedded)") in lines
    assert not any("Python script plugin not available" in text for _, _, text in lines)
    assert [text for category, verbosity, text in lines if category == "LogPython" and verbosity == "Error"] == []
    assert os.path.isfile(os.path.join(project_dir(tmp_path), "Intermediate", "vn_tool_check.py"))


def test_the_tool_script_runs_once_per_editor_run_and_its_builtins_end_with_the_run(editor, unreal, tmp_path):
    open_tools(unreal)
    open_tools(unreal)
    assert editor.log_lines().count(REGISTERED) == 1
    editor.start(project_dir(tmp_path))
    open_tools(unreal)
    assert REGISTERED not in editor.log_lines(), "a restart on a project stays in the same editor run"

    editor.shutdown()
    assert not editor.is_started() and editor.log_lines() == []
    assert not hasattr(builtins, "vn_set_control_rig_mode"), "the builtins the run added went with it"
    editor.start(str(tmp_path / "Next"))
    open_tools(unreal)
    assert editor.log_lines().count(REGISTERED) == 1, "a new run loads the script again"


def test_a_new_editor_run_has_its_own_menus(editor, unreal, tmp_path):
    editor.invoke_menu_entry(["Vantorel", "Vantorel Functions"])
    editor.shutdown()
    with pytest.raises(RuntimeError, match="no menu 'LevelEditor.MainMenu'"):
        editor.invoke_menu_entry(["Vantorel", "Vantorel Functions"])
    editor.start(project_dir(tmp_path))
    editor.invoke_menu_entry(["Vantorel", "Vantorel Functions"])
    assert editor.log_lines().count(REGISTERED) == 1


# ---- selection ----------------------------------------------------------------------------------

def test_selected_assets_follow_the_selection_order_and_skip_missing_assets(editor, unreal):
    tools = unreal.AssetToolsHelpers.get_asset_tools()
    first = tools.create_asset("First", "/Game/Sel", unreal.VNFaceRigDataAsset, None)
    second = tools.create_asset("Second", "/Game/Sel", unreal.VNFaceRigDataAsset, None)
    editor.select_assets([second, "/Game/Sel/Missing", "/Game/Sel/First.First", "/Game/Sel/Second"])
    assert unreal.EditorUtilityLibrary.get_selected_assets() == [second, first]


def test_selected_asset_saved_before_a_restart_is_loaded_on_request(editor, unreal, tmp_path):
    asset = unreal.AssetToolsHelpers.get_asset_tools().create_asset("Saved", "/Game/Sel", unreal.VNFaceRigDataAsset, None)
    assert unreal.EditorAssetLibrary.save_loaded_asset(asset)
    editor.start(project_dir(tmp_path))
    editor.select_assets(["/Game/Sel/Saved"])
    selected = unreal.EditorUtilityLibrary.get_selected_assets()
    assert [item.get_path_name() for item in selected] == ["/Game/Sel/Saved.Saved"]


def test_deleted_asset_drops_out_of_the_selection(editor, unreal):
    asset = unreal.AssetToolsHelpers.get_asset_tools().create_asset("Gone", "/Game/Sel", unreal.VNFaceRigDataAsset, None)
    editor.select_assets([asset])
    assert unreal.EditorAssetLibrary.delete_loaded_asset(asset)
    assert unreal.EditorUtilityLibrary.get_selected_assets() == []


# ---- message boxes and log ----------------------------------------------------------------------

@pytest.mark.parametrize("message_type, default, expected", [
    ("OK", None, "NO"),
    ("YES_NO", "YES", "YES"),
    ("YES_NO_CANCEL", "CANCEL", "CANCEL"),
    ("OK_CANCEL", "OK", "OK"),
])
def test_show_message_records_the_box_and_answers_its_default(editor, unreal, message_type, default, expected):
    args = [unreal.AppMsgType.__dict__[message_type]]
    if default is not None:
        args.append(unreal.AppReturnType.__dict__[default])
    result = unreal.EditorDialog.show_message("Title " + message_type, "Body", *args)
    assert result == unreal.AppReturnType.__dict__[expected]
    assert editor.message_boxes() == [("Title " + message_type, "Body")]


def test_message_boxes_keep_their_order_and_category_argument_is_accepted(editor, unreal):
    unreal.EditorDialog.show_message("One", "first", unreal.AppMsgType.OK, unreal.AppReturnType.OK, unreal.AppMsgCategory.ERROR)
    unreal.EditorDialog.show_message(title="Two", message="second", message_type=unreal.AppMsgType.OK)
    assert editor.message_boxes() == [("One", "first"), ("Two", "second")]


def test_log_lines_capture_python_log_calls_with_category_and_verbosity(editor, unreal):
    unreal.log("plain line")
    unreal.log_warning("warning line")
    unreal.log_error("error line")
    lines = [line for line in editor.log_lines() if line[2].endswith(" line")]
    assert lines == [("LogPython", "Log", "plain line"), ("LogPython", "Warning", "warning line"), ("LogPython", "Error", "error line")]


# ---- plug-ins and paths -------------------------------------------------------------------------

def test_plugin_version_name_is_read_from_its_descriptor(editor, unreal):
    with open(PLUGIN_DESCRIPTOR, encoding="utf-8") as stream:
        expected = json.load(stream)["VersionName"]
    assert unreal.PluginBlueprintLibrary.get_plugin_version_name("VantorelUnreal") == expected
    assert unreal.PluginBlueprintLibrary.get_plugin_version_name("vantorelunreal") == expected


def test_unknown_plugin_has_no_version_name(editor, unreal):
    assert unreal.PluginBlueprintLibrary.get_plugin_version_name("NoSuchPlugin") is None


def test_plugins_in_the_project_folder_are_discovered(unreal, tmp_path):
    import hosteditor
    plugin_dir = tmp_path / "WithPlugin" / "Plugins" / "Tools" / "Extra"
    plugin_dir.mkdir(parents=True)
    (plugin_dir / "Extra.uplugin").write_text(json.dumps({"FileVersion": 3, "Version": 7, "VersionName": "2.5.1", "CanContainContent": True}))
    hosteditor.start(str(tmp_path / "WithPlugin"))
    assert unreal.PluginBlueprintLibrary.get_plugin_version_name("Extra") == "2.5.1"
    assert unreal.PluginBlueprintLibrary.get_plugin_version("Extra") == 7
    assert unreal.PluginBlueprintLibrary.get_plugin_base_dir("Extra") == str(plugin_dir)


def test_unreadable_plugin_descriptor_is_skipped_with_an_error(unreal, tmp_path):
    import hosteditor
    plugin_dir = tmp_path / "BadPlugin" / "Plugins" / "Bad"
    plugin_dir.mkdir(parents=True)
    (plugin_dir / "Bad.uplugin").write_text("{ not json")
    hosteditor.start(str(tmp_path / "BadPlugin"))
    assert unreal.PluginBlueprintLibrary.get_plugin_version_name("Bad") is None
    assert any(line[1] == "Error" and "Bad.uplugin" in line[2] for line in hosteditor.log_lines())


@pytest.mark.parametrize("path, base, expected", [
    ("Content/A", "/base/dir", "/base/dir/Content/A"),
    ("../up/A", "/base/dir", "/base/up/A"),
    ("/absolute/A", "/base/dir", "/absolute/A"),
])
def test_convert_relative_path_to_full(editor, unreal, path, base, expected):
    assert unreal.Paths.convert_relative_path_to_full(path, base) == expected
    assert unreal.Paths.convert_relative_path_to_full(path=path, base_path=base) == expected


# ---- slow tasks ---------------------------------------------------------------------------------

def test_scoped_slow_task_records_its_frames_dialog_and_end(editor, unreal):
    with unreal.ScopedSlowTask(3, "Building rig") as task:
        task.make_dialog(can_cancel=True)
        task.enter_progress_frame(1, "Bones")
        task.enter_progress_frame(desc="Controls")
        assert task.should_cancel() is False
    quiet = unreal.ScopedSlowTask(1, enabled=False)
    quiet.enter_progress_frame(0.5)
    tasks = editor.slow_tasks()
    assert tasks[0] == {"work": 3.0, "desc": "Building rig", "enabled": True, "frames": [(1.0, "Bones"), (1.0, "Controls")],
                        "dialog": True, "can_cancel": True, "finished": True}
    assert tasks[1]["finished"] is False and tasks[1]["enabled"] is False


# ---- skeletal meshes ----------------------------------------------------------------------------

def test_create_skeletal_mesh_makes_mesh_and_skeleton_assets(editor, unreal):
    local = unreal.Transform()
    mesh = editor.create_skeletal_mesh("/Game/Chars/SK_Hero", [("root", None, None), ("pelvis", "root", local), ("spine", "pelvis", None)], 1.0)
    assert isinstance(mesh, unreal.SkeletalMesh)
    skeleton = mesh.get_editor_property("skeleton")
    assert isinstance(skeleton, unreal.Skeleton)
    assert sorted(unreal.EditorAssetLibrary.list_assets("/Game/Chars")) == ["/Game/Chars/SK_Hero.SK_Hero", "/Game/Chars/SK_Hero_Skeleton.SK_Hero_Skeleton"]
    assert mesh.get_editor_property("asset_import_data").get_editor_property("import_uniform_scale") == pytest.approx(1.0)


def test_a_skeletal_mesh_keeps_its_imported_bounds_across_a_restart(editor, unreal, tmp_path):
    bounds = unreal.BoxSphereBounds(origin=unreal.Vector(1.0, -2.0, 90.0), box_extent=unreal.Vector(40.0, 20.0, 95.0), sphere_radius=105.0)
    editor.create_skeletal_mesh("/Game/Chars/SK_Bounded", [("root", None, None)], 1.0, bounds)
    editor.create_skeletal_mesh("/Game/Chars/SK_Unbounded", [("root", None, None)])
    editor.start(project_dir(tmp_path))
    loaded = unreal.load_asset("/Game/Chars/SK_Bounded")
    for read in (loaded.get_bounds(), loaded.get_imported_bounds()):
        assert (read.origin.x, read.origin.y, read.origin.z) == (1.0, -2.0, 90.0)
        assert (read.box_extent.x, read.box_extent.y, read.box_extent.z) == (40.0, 20.0, 95.0)
        assert read.sphere_radius == 105.0
    empty = unreal.load_asset("/Game/Chars/SK_Unbounded").get_bounds()
    assert (empty.box_extent.x, empty.box_extent.y, empty.box_extent.z, empty.sphere_radius) == (0.0, 0.0, 0.0, 0.0)


@pytest.mark.parametrize("bones, message", [
    ([], "at least one bone"),
    ([("root", "missing", None)], "must be the root"),
    ([("root", None, None), ("child", "later", None), ("later", "root", None)], "not an earlier bone"),
    ([("root", None, None), ("root", "root", None)], "appears twice"),
])
def test_create_skeletal_mesh_refuses_bones_that_are_not_one_tree(editor, unreal, bones, message):
    with pytest.raises(ValueError, match=message):
        editor.create_skeletal_mesh("/Game/Chars/SK_Bad", bones)
    assert not unreal.EditorAssetLibrary.does_asset_exist("/Game/Chars/SK_Bad")


@pytest.mark.parametrize("path", ["/Game/Chars/SK Space", "/NotMounted/SK", "/Game/Chars/SK_Taken"])
def test_create_skeletal_mesh_refuses_invalid_or_taken_paths(editor, unreal, path):
    editor.create_skeletal_mesh("/Game/Chars/SK_Taken", [("root", None, None)])
    if path.endswith("Taken"):
        with pytest.raises(ValueError, match="already exists"):
            editor.create_skeletal_mesh(path, [("root", None, None)])
    else:
        with pytest.raises(ValueError):
            editor.create_skeletal_mesh(path, [("root", None, None)])


def test_reference_pose_of_a_created_skeleton_reads_back_after_a_restart(editor, unreal, tmp_path):
    pelvis = unreal.Transform()
    pelvis.translation = unreal.Vector(0.0, 0.0, 90.0)
    pelvis.rotation = unreal.Quat(x=0.0, y=0.0, z=0.70710678, w=0.70710678)
    thigh = unreal.Transform()
    thigh.translation = unreal.Vector(10.0, 0.0, 0.0)
    editor.create_skeletal_mesh("/Game/Chars/SK_Posed", [("root", None, None), ("pelvis", "root", pelvis), ("thigh", "pelvis", thigh)])
    editor.start(project_dir(tmp_path))
    skeleton = unreal.load_asset("/Game/Chars/SK_Posed").get_editor_property("skeleton")
    pose = unreal.AnimPoseExtensions.get_reference_pose(skeleton)
    assert unreal.AnimPoseExtensions.is_valid(pose)
    assert unreal.AnimPoseExtensions.get_bone_names(pose) == ["root", "pelvis", "thigh"]
    local = unreal.AnimPoseExtensions.get_bone_pose(pose, "thigh").translation
    world = unreal.AnimPoseExtensions.get_bone_pose(pose, "thigh", unreal.AnimPoseSpaces.WORLD).translation
    assert (local.x, local.y, local.z) == pytest.approx((10.0, 0.0, 0.0))
    assert (world.x, world.y, world.z) == pytest.approx((0.0, 10.0, 90.0), abs=1e-4)
    missing = unreal.AnimPoseExtensions.get_bone_pose(pose, "no_such_bone").translation
    assert (missing.x, missing.y, missing.z) == (0.0, 0.0, 0.0)
    assert not unreal.AnimPoseExtensions.is_valid(unreal.AnimPoseExtensions.get_reference_pose(None))


def test_engine_calls_are_counted_by_kind(editor, unreal):
    before = editor.engine_call_counts()
    transform = unreal.Transform()
    transform.translation = unreal.Vector(1.0, 2.0, 3.0)
    _ = transform.translation
    after_properties = editor.engine_call_counts()
    unreal.EditorAssetLibrary.does_asset_exist("/Game/Nothing")
    after = editor.engine_call_counts()
    assert after_properties["properties"] - before["properties"] >= 2
    assert after["functions"] - after_properties["functions"] == 1
    assert after["properties"] == after_properties["properties"]


# ---- rig evaluation -----------------------------------------------------------------------------

def make_channel_rig(unreal):
    """A rig whose forwards solve moves the null Target up by its control's float channel Lift and
    to the control's place: Target = Handle's global transform, then Lift cm along Z."""
    rig = unreal.ControlRigBlueprintFactory.create_new_control_rig_asset(desired_package_path="/Game/Eval/Channel")
    hierarchy = rig.get_hierarchy_controller()
    settings = unreal.RigControlSettings()
    settings.control_type = unreal.RigControlType.EULER_TRANSFORM
    handle = hierarchy.add_control("Handle", unreal.RigElementKey(), settings, unreal.RigControlValue())
    channel = unreal.RigControlSettings()
    channel.control_type = unreal.RigControlType.FLOAT
    hierarchy.add_animation_channel("Lift", handle, channel)
    hierarchy.add_null("Target", unreal.RigElementKey(), unreal.Transform(), True)
    graph = rig.get_controller()
    origin = unreal.Vector2D(0, 0)
    graph.add_unit_node_from_struct_path("/Script/ControlRig.RigUnit_GetTransform", "Execute", origin, "Get")
    graph.set_pin_default_value("Get.Item", '(Type=Control,Name="Handle")')
    graph.add_unit_node_from_struct_path("/Script/ControlRig.RigUnit_SetTransform", "Execute", origin, "Put")
    graph.set_pin_default_value("Put.Item", '(Type=Null,Name="Target")')
    graph.add_link("Get.Transform", "Put.Value")
    graph.add_link("RigUnit_BeginExecution.ExecuteContext", "Put.ExecuteContext")
    graph.add_unit_node_from_struct_path("/Script/ControlRig.RigUnit_GetFloatAnimationChannel", "Execute", origin, "Lift")
    graph.set_pin_default_value("Lift.Control", "Handle")
    graph.set_pin_default_value("Lift.Channel", "Lift")
    graph.add_unit_node_from_struct_path("/Script/ControlRig.RigUnit_OffsetTransformForItem", "Execute", origin, "Raise")
    graph.set_pin_default_value("Raise.Item", '(Type=Null,Name="Target")')
    graph.add_link("Lift.Value", "Raise.OffsetTransform.Translation.Z")
    graph.add_link("Put.ExecuteContext", "Raise.ExecuteContext")
    return rig


def test_a_rig_evaluation_takes_control_values_in_their_engine_types(editor, unreal):
    rig = make_channel_rig(unreal)
    evaluation = editor.RigEvaluation(rig)
    evaluation.set_control_value("Handle", unreal.EulerTransform(location=unreal.Vector(3, 4, 0)))
    evaluation.set_control_value("Lift", 2.5)
    assert evaluation.run_forwards_solve(2) is True
    target = evaluation.global_transform("Target", "Null")
    assert (target.translation.x, target.translation.y, target.translation.z) == pytest.approx((3, 4, 2.5), abs=1e-6)
    handle = evaluation.global_transform("Handle", "Control")
    assert (handle.translation.x, handle.translation.y) == pytest.approx((3, 4), abs=1e-6)
    report = evaluation.report()
    assert (report["events_run"], report["errors"], report["nodes_never_run"]) == (2, [], [])
    assert report["units_per_type"]["RigUnit_GetFloatAnimationChannel"] == 2
    # The blueprint keeps its own pose.
    assert rig.hierarchy.get_global_transform(unreal.RigElementKey(type=unreal.RigElementType.CONTROL, name="Handle")).translation.x == 0


def test_a_rig_evaluation_refuses_unknown_controls_and_values_of_no_control_type(editor, unreal):
    evaluation = editor.RigEvaluation(make_channel_rig(unreal))
    with pytest.raises(KeyError, match="Nobody"):
        evaluation.set_control_value("Nobody", 1.0)
    with pytest.raises(TypeError):
        evaluation.set_control_value("Lift", "high")
    # A value must fit the control's type: a vector is no float channel, a float no transform.
    with pytest.raises(TypeError, match="Float control Lift"):
        evaluation.set_control_value("Lift", unreal.Vector(1, 2, 3))
    with pytest.raises(TypeError, match="EulerTransform control Handle"):
        evaluation.set_control_value("Handle", 1.0)
    # An int serves a float channel.
    evaluation.set_control_value("Lift", 2)
    assert evaluation.run_forwards_solve()
    assert evaluation.global_transform("Target", "Null").translation.z == pytest.approx(2.0)
    assert evaluation.global_transform("Nobody") is None
    with pytest.raises(ValueError):
        editor.RigEvaluation("/Game/Nope.Nope")


def test_a_saved_rig_whose_dispatch_node_lost_a_pin_reports_it_instead_of_running(editor, unreal, tmp_path):
    rig = make_channel_rig(unreal)
    graph = rig.get_controller()
    choose = graph.add_template_node("DISPATCH_RigVMDispatch_If(in Condition,in True,in False,out Result)", unreal.Vector2D(0, 0), "Choose")
    assert choose is not None
    assert graph.add_link("Lift.Value", "Choose.True")
    assert graph.add_link("Choose.Result", "Raise.Weight")
    assert unreal.EditorAssetLibrary.save_loaded_asset(rig)
    saved = tmp_path / "Project" / "Content" / "Eval" / "Channel.uasset"
    text = saved.read_text()
    # The saved text of a damaged asset: the If node's Condition pin renamed.
    assert 'RigVMPin Name="Condition"' in text
    saved.write_text(text.replace('RigVMPin Name="Condition"', 'RigVMPin Name="Choice"'))
    editor.start(str(tmp_path / "Project"))
    evaluation = editor.RigEvaluation(unreal.load_asset("/Game/Eval/Channel"))
    assert evaluation.run_forwards_solve() is False
    errors = "\n".join(evaluation.report()["errors"])
    assert "Node 'Choose': DISPATCH_RigVMDispatch_If needs a pin Condition of type bool" in errors
