"""The tool script's state: loading (host values, face data types, the selected mesh), the setters and
the names derived from the target mesh, the mesh guess, Control Rig assets and the actions with their
message boxes."""

import builtins
import os
import sys
import types

import pytest

from conftest import run_tool_script

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
TOOL_SCRIPT_DIR = os.path.join(ROOT, "Plugins", "VantorelUnreal", "Source", "VantorelUnrealEditor", "Private", "ToolScript")
HERO = "/Game/Chars/Hero/Hero"
PLUGIN_MESSAGE_FIRST_LINE = "Vantorel Unreal plugin is not loaded."
BUILTIN_NAMES = ["vn_set_target_skeletal_mesh", "vn_set_body_control_rig_template", "vn_set_body_control_rig_template_file",
                 "vn_set_body_json_file", "vn_set_body_control_rig_source", "vn_set_face_json_file", "vn_set_control_rig_mode",
                 "vn_set_body_rig_options", "vn_set_include_custom_controllers", "vn_run_set_retarget_options",
                 "vn_run_set_third_person_character", "vn_run_create_body_control_rig", "vn_run_create_face_control_rig",
                 "vn_run_create_control_rig"]


class UnrealView(types.ModuleType):
    """The unreal module as the script sees it, with some names hidden and some replaced."""

    def __init__(self, real, hidden=(), **replaced):
        super().__init__("unreal")
        self._real, self._hidden, self._replaced = real, set(hidden), replaced

    def __getattr__(self, name):
        if name in self._hidden:
            raise AttributeError(name)
        return self._replaced[name] if name in self._replaced else getattr(self._real, name)


def load_script(monkeypatch=None, view=None, **host_values):
    if view is not None:
        monkeypatch.setitem(sys.modules, "unreal", view)
    return run_tool_script(**host_values)


def error_lines(editor, fragment):
    return [text for _, verbosity, text in editor.log_lines() if verbosity == "Error" and fragment in text]


@pytest.fixture
def tool(editor, tool_script):
    return tool_script


@pytest.fixture
def hero(editor):
    return editor.create_skeletal_mesh(HERO, [("root", None, None), ("pelvis", "root", None)])


@pytest.fixture
def restore_builtins(monkeypatch):
    for name in BUILTIN_NAMES:
        monkeypatch.setattr(builtins, name, None, raising=False)


# ---- loading ----------------------------------------------------------------------------------------

@pytest.mark.parametrize("host_values, expected", [
    ({}, ("", True, "")),
    ({"SOURCE_FILE": "D:/Maya/hero.ma", "INCLUDE_VN_FACE_SOLVER": False, "json_file": "D:/face.json"},
     ("D:/Maya/hero.ma", False, "D:/face.json")),
])
def test_host_values_win_over_the_defaults(editor, host_values, expected):
    namespace = load_script(**host_values)
    assert (namespace["SOURCE_FILE"], namespace["INCLUDE_VN_FACE_SOLVER"], namespace["json_file"]) == expected


def test_face_types_resolve_to_the_plugin_types_and_the_build_starts_in_body_mode(tool, unreal, editor):
    assert tool["ChannelEnum"] is unreal.VNFaceSDKChannel and tool["AssetClass"] is unreal.VNFaceRigDataAsset
    assert tool["QuaternionKeyStruct"] is unreal.VNSDKQuaternionKey and tool["BeginExecutionStruct"] is not None
    assert tool["vn_face_plugin_loaded"] and not error_lines(editor, PLUGIN_MESSAGE_FIRST_LINE)
    assert (tool["control_rig_mode"], tool["include_custom_controllers"], tool["skeletal_mesh"]) == ("Body", False, None)


@pytest.mark.parametrize("hidden, missing", [
    (("VNFaceSDKApplyMode", "EVNFaceSDKApplyMode"), ["ApplyModeEnum"]),
    (("VNSDKQuaternionKey", "VNFaceSDKEyeChain", "VNFaceRigDataAsset"), ["QuaternionKeyStruct", "EyeChainStruct", "AssetClass"]),
])
def test_a_missing_face_type_switches_the_face_build_off_and_logs_the_message_once(monkeypatch, unreal, editor, hidden, missing):
    namespace = load_script(monkeypatch, UnrealView(unreal, hidden), INCLUDE_VN_FACE_SOLVER=True)
    assert [name for name in missing if namespace[name] is not None] == []
    assert namespace["DriverStruct"] is unreal.VNFaceSDKDriver
    assert namespace["vn_face_plugin_loaded"] is False and namespace["vn_face_plugin_message_shown"] is True
    assert len(error_lines(editor, PLUGIN_MESSAGE_FIRST_LINE)) == 1
    assert namespace["find_unreal_type"](hidden[0]) is None
    assert len(error_lines(editor, PLUGIN_MESSAGE_FIRST_LINE)) == 1, "logged once per run"


def test_without_the_face_solver_face_types_are_none_without_a_message(tool, editor):
    namespace = load_script(INCLUDE_VN_FACE_SOLVER=False)
    assert namespace["ChannelEnum"] is None and namespace["AssetClass"] is None
    assert namespace["vn_face_plugin_loaded"] and not error_lines(editor, PLUGIN_MESSAGE_FIRST_LINE)
    assert namespace["BeginExecutionStruct"] is tool["BeginExecutionStruct"]


def test_missing_engine_modules_and_begin_execution_type_do_not_stop_loading(monkeypatch, unreal, editor):
    def refuse(name):
        raise RuntimeError("no module " + name)
    view = UnrealView(unreal, ("RigUnit_BeginExecution", "RigUnitBeginExecution"), load_module=refuse)
    namespace = load_script(monkeypatch, view)
    assert namespace["BeginExecutionStruct"] is None and namespace["ChannelEnum"] is not None


def test_the_first_offered_type_name_wins_and_a_missing_engine_type_raises(tool, unreal):
    assert tool["find_unreal_type"]("NoSuchType", "SkeletalMesh", "Skeleton") is unreal.SkeletalMesh
    with pytest.raises(RuntimeError, match="^Missing Unreal Python type: NoSuchType, NoSuchOther$"):
        tool["find_unreal_type"]("NoSuchType", "NoSuchOther")


@pytest.mark.parametrize("selection, becomes_target", [(["mesh"], True), (["mesh", "data"], True), (["mesh", "other"], False), (["data"], False)])
def test_loading_targets_the_one_selected_skeletal_mesh(editor, unreal, hero, selection, becomes_target):
    other = editor.create_skeletal_mesh("/Game/Other/Villain", [("root", None, None)])
    data = unreal.AssetToolsHelpers.get_asset_tools().create_asset("Data", "/Game/Chars", unreal.VNFaceRigDataAsset, None)
    editor.select_assets([{"mesh": hero, "other": other, "data": data}[item] for item in selection])
    namespace = load_script()
    assert namespace["skeletal_mesh"] == (hero if becomes_target else None)
    assert namespace["control_rig_name"] == ("Hero_Face_CR" if becomes_target else "")


# ---- setters ----------------------------------------------------------------------------------------

def test_a_target_mesh_derives_every_asset_name_and_path(tool, hero):
    assert tool["set_target_skeletal_mesh"](hero) == hero
    assert {name: tool[name] for name in ("mesh_path", "asset_path", "mesh_name", "asset_name", "control_rig_name",
            "body_control_rig_name", "combined_control_rig_name", "full_asset_path", "full_control_rig_path",
            "full_body_control_rig_path", "full_combined_control_rig_path")} == {
        "mesh_path": HERO, "asset_path": "/Game/Chars/Hero", "mesh_name": "Hero", "asset_name": "DA_Hero_VNFaceSDK",
        "control_rig_name": "Hero_Face_CR", "body_control_rig_name": "Hero_Body_CR", "combined_control_rig_name": "Hero_CR",
        "full_asset_path": "/Game/Chars/Hero/DA_Hero_VNFaceSDK", "full_control_rig_path": "/Game/Chars/Hero/Hero_Face_CR",
        "full_body_control_rig_path": "/Game/Chars/Hero/Hero_Body_CR", "full_combined_control_rig_path": "/Game/Chars/Hero/Hero_CR"}
    tool["set_target_skeletal_mesh"](None)
    assert (tool["skeletal_mesh"], tool["asset_path"], tool["full_combined_control_rig_path"]) == (None, "", "")


@pytest.mark.parametrize("setter, state, first, value, expected", [
    ("set_control_rig_mode", "control_rig_mode", "Face", "Body+Face", "Body+Face"),
    ("set_control_rig_mode", "control_rig_mode", "Face", "body", "Face"),
    ("set_control_rig_mode", "control_rig_mode", "Body+Face", "Face+Body", "Body+Face"),
    ("set_control_rig_mode", "control_rig_mode", "Body", None, "Body"),
    ("set_body_control_rig_source", "body_control_rig_source", "Generate from JSON", "Mannequin template", "Mannequin template"),
    ("set_body_control_rig_source", "body_control_rig_source", "Generate from JSON", "generate from json", "Generate from JSON"),
    ("set_face_json_file", "json_file", "/a/face.json", "/b/face.json", "/b/face.json"),
    ("set_face_json_file", "json_file", "/a/face.json", "", "/a/face.json"),
    ("set_face_json_file", "json_file", "/a/face.json", None, "/a/face.json"),
    ("set_body_json_file", "body_json_file", "/a/body.json", "", ""),
    ("set_body_json_file", "body_json_file", "/a/body.json", None, ""),
    ("set_body_control_rig_template_file", "body_control_rig_template_file", "/a/CR.uasset", None, ""),
    ("set_body_control_rig_template_file", "body_control_rig_template_file", "", "/b/CR.uasset", "/b/CR.uasset"),
    ("set_include_custom_controllers", "include_custom_controllers", True, 0, False),
    ("set_include_custom_controllers", "include_custom_controllers", False, 1, True),
])
def test_setters_store_only_what_they_accept_and_return_the_stored_value(tool, setter, state, first, value, expected):
    tool[setter](first)
    assert tool[setter](value) == expected
    assert tool[state] == expected and type(tool[state]) is type(expected)


def test_body_rig_options_are_stored_as_booleans(tool):
    assert tool["set_body_rig_options"](0, "yes", None) is None
    assert (tool["include_backwards_solve"], tool["include_driving_systems"], tool["include_twist_solution"]) == (False, True, False)
    tool["set_body_rig_options"]()
    assert (tool["include_backwards_solve"], tool["include_driving_systems"], tool["include_twist_solution"]) == (True, True, True)


class FakeAsset:
    def __init__(self, path):
        self.path = path

    def get_path_name(self):
        if self.path is None:
            raise RuntimeError("unreadable")
        return self.path


@pytest.mark.parametrize("path", ["/Engine/Rigs/CR_Mannequin.CR_Mannequin", "/Gameplay/CR.CR", None])
def test_a_template_asset_outside_game_or_unreadable_leaves_the_template_file(tool, editor, unreal, path):
    content = unreal.Paths.project_content_dir()
    assert tool["set_body_control_rig_template"](FakeAsset("/Game/Rigs/CR_Body.CR_Body")) == content + "Rigs/CR_Body.uasset"
    assert tool["set_body_control_rig_template"](FakeAsset(path)) == content + "Rigs/CR_Body.uasset"
    assert tool["set_body_control_rig_template"](None) == content + "Rigs/CR_Body.uasset"


@pytest.mark.parametrize("text, expected", [("Rotation.X", "rotationx"), ("Jaw_Open-L 2", "jawopenl2"), (None, "none"), (12.5, "125"), ("\u00c4uge", "uge")])
def test_norm_keeps_only_lower_case_letters_and_digits(tool, text, expected):
    assert tool["norm"](text) == expected


# ---- the target mesh --------------------------------------------------------------------------------

@pytest.mark.parametrize("count", [0, 2])
def test_selected_skeletal_mesh_needs_exactly_one(tool, editor, hero, count):
    editor.select_assets([hero])
    assert tool["selected_skeletal_mesh"]() == hero
    meshes = [hero, editor.create_skeletal_mesh("/Game/B/Other", [("root", None, None)])]
    editor.select_assets(meshes[:count])
    with pytest.raises(RuntimeError, match="^Select exactly one SkeletalMesh in the Content Browser before running this script.$"):
        tool["selected_skeletal_mesh"]()


def test_the_guess_is_the_target_mesh_when_one_is_set(tool, hero):
    tool["SOURCE_FILE"] = "/maya/villain.ma"
    tool["set_target_skeletal_mesh"](hero)
    assert tool["guess_skeletal_mesh_path"]() == HERO + ".Hero"


@pytest.mark.parametrize("source_file, others, expected, printed", [
    ("C:\\Maya\\Scenes\\HERO.ma", [], HERO + ".Hero", "Vantorel guessed SkeletalMesh: " + HERO + ".Hero"),
    ("/maya/hero.mb", ["/Game/Alt/hero"], "", "Vantorel found multiple SkeletalMeshes named hero :"),
    ("/maya/villain.ma", [], "", "Vantorel could not guess SkeletalMesh for: /maya/villain.ma"),
    ("", [], "", None),
])
def test_the_guess_finds_the_one_skeletal_mesh_named_like_the_source_file(tool, editor, unreal, hero, capsys, source_file, others, expected, printed):
    unreal.AssetToolsHelpers.get_asset_tools().create_asset("HERO", "/Game/Textures", unreal.VNFaceRigDataAsset, None)
    for path in others:
        editor.create_skeletal_mesh(path, [("root", None, None)])
    tool["SOURCE_FILE"] = source_file
    assert tool["guess_skeletal_mesh_path"]() == expected
    output = capsys.readouterr().out
    assert (printed in output) if printed else output == ""
    if others:
        assert HERO + ".Hero" in output and "/Game/Alt/hero.hero" in output and "could not guess" in output


# ---- Control Rig assets -----------------------------------------------------------------------------

def assets_in(unreal, folder):
    return sorted(path.rsplit("/", 1)[-1].split(".")[0] for path in unreal.EditorAssetLibrary.list_assets(folder, True, False))


def test_a_rig_is_made_from_the_mesh_at_the_face_rig_path_replacing_an_existing_asset(tool, unreal, hero):
    tool["set_target_skeletal_mesh"](hero)
    old = unreal.AssetToolsHelpers.get_asset_tools().create_asset("Hero_Face_CR", "/Game/Chars/Hero", unreal.VNFaceRigDataAsset, None)
    rig = tool["load_or_create_control_rig"]()
    assert rig.get_path_name() == "/Game/Chars/Hero/Hero_Face_CR.Hero_Face_CR" and rig != old
    assert isinstance(unreal.load_asset("/Game/Chars/Hero/Hero_Face_CR"), unreal.ControlRigBlueprint)
    assert [str(key.name) for key in rig.hierarchy.get_bones()] == ["root", "pelvis"]
    assert assets_in(unreal, "/Game/Chars/Hero") == ["Hero", "Hero_Face_CR", "Hero_Skeleton"]
    again = tool["load_or_create_control_rig"](tool["full_body_control_rig_path"])
    assert again.get_path_name() == "/Game/Chars/Hero/Hero_Body_CR.Hero_Body_CR"


def test_a_rig_the_factory_cannot_make_from_the_mesh_is_made_empty_at_the_target(tool, unreal, hero, monkeypatch):
    calls = []
    factory = types.SimpleNamespace(
        create_control_rig_from_skeletal_mesh_or_skeleton=lambda *args: calls.append(args) or None,
        create_new_control_rig_asset=unreal.ControlRigBlueprintFactory.create_new_control_rig_asset)
    monkeypatch.setitem(tool, "unreal", UnrealView(unreal, ControlRigBlueprintFactory=factory))
    tool["set_target_skeletal_mesh"](hero)
    rig = tool["load_or_create_control_rig"]()
    assert calls == [(hero, False)]
    assert rig.get_path_name() == "/Game/Chars/Hero/Hero_Face_CR.Hero_Face_CR" and list(rig.hierarchy.get_bones()) == []


def test_a_failing_rename_keeps_the_rig_where_it_was_made(tool, unreal, hero, monkeypatch, capsys):
    tools = types.SimpleNamespace(rename_assets=lambda data: False)
    monkeypatch.setitem(tool, "unreal", UnrealView(unreal, AssetToolsHelpers=types.SimpleNamespace(get_asset_tools=lambda: tools)))
    tool["set_target_skeletal_mesh"](hero)
    rig = tool["load_or_create_control_rig"]()
    assert rig.get_path_name() == "/Game/Chars/Hero/Hero_CtrlRig.Hero_CtrlRig"
    assert ("Control Rig created at: /Game/Chars/Hero/Hero_CtrlRig.Hero_CtrlRig Rename skipped: "
            "the asset tools did not rename the asset") in capsys.readouterr().out


def test_the_preview_mesh_is_set_on_the_rig_or_through_the_library(tool, unreal, hero, monkeypatch, capsys):
    tool["set_target_skeletal_mesh"](hero)
    rig = unreal.ControlRigBlueprintFactory.create_new_control_rig_asset(desired_package_path="/Game/Rigs/Empty")
    assert tool["set_control_rig_preview_mesh"](rig) is True and rig.get_preview_mesh() == hero
    calls = []
    library = types.SimpleNamespace(set_preview_mesh=lambda *args: calls.append(args))
    monkeypatch.setitem(tool, "unreal", UnrealView(unreal, ("ControlRigBlueprintEditorLibrary",), ControlRigBlueprintLibrary=library))
    assert tool["set_control_rig_preview_mesh"]("not a rig") is True and calls == [("not a rig", hero, True)]
    monkeypatch.setitem(tool, "unreal", unreal)
    assert tool["set_control_rig_preview_mesh"]("not a rig") is False
    assert "Control Rig duplicated, but preview mesh was not set:" in capsys.readouterr().out


# ---- actions ----------------------------------------------------------------------------------------

def test_an_action_reports_success_and_a_failure_without_stopping_the_editor(tool, editor):
    def fail():
        raise ValueError("no bones")
    assert tool["run_vantorel_action"]("Build", fail) is None
    assert tool["run_vantorel_action"]("Quiet", lambda: {}["x"]) is None
    assert tool["run_vantorel_action"]("Build", lambda: 7) == 7
    assert editor.message_boxes() == [("Vantorel", "Build failed:\nno bones"), ("Vantorel", "Quiet failed:\n'x'"),
                                      ("Vantorel", "Build complete.")]
    assert error_lines(editor, "failed: ") == ["Build failed: no bones", "Quiet failed: 'x'"]


@pytest.mark.parametrize("action, text", [
    ("vn_run_create_control_rig", "Create Control Rig failed:\nChoose an existing Body Control Rig template .uasset file first."),
    ("vn_run_create_body_control_rig", "Create Body Control Rig failed:\nChoose an existing Body Control Rig template .uasset file first."),
    ("vn_run_create_face_control_rig", "Create face Control Rig failed:\nChoose an existing Face JSON file first."),
    ("vn_run_set_third_person_character", "Set Character failed:\nCould not find BP_ThirdPersonCharacter, BP_FirstPersonCharacter, or BP_TopDownCharacter in /Game."),
])
def test_an_action_whose_builder_is_missing_or_refused_fails_with_a_message(tool, editor, hero, action, text):
    tool["set_target_skeletal_mesh"](hero)
    tool[action]()
    assert editor.message_boxes() == [("Vantorel", text)]


@pytest.fixture
def builders(tool):
    """Stand-in body and face builders that make the rig at the target they are given."""
    calls = []

    def body(source):
        def build(target_path=None, target_name=None, combined=False):
            # As the real builders: the mesh is looked up first, then the target follows from it.
            tool["ensure_target_skeletal_mesh"]()
            target_path = target_path or tool["full_combined_control_rig_path" if combined else "full_body_control_rig_path"]
            target_name = target_name or tool["combined_control_rig_name" if combined else "body_control_rig_name"]
            calls.append((source, target_name))
            return tool["load_or_create_control_rig"](target_path, target_name)
        return build

    def face(rig):
        calls.append(("face", None if rig is None else rig.get_name()))
        if rig is not None:
            return rig
        tool["ensure_target_skeletal_mesh"]()
        return tool["load_or_create_control_rig"]()
    tool.update(create_body_control_rig=body("template"), create_body_control_rig_from_json=body("json"), create_vn_face_control_rig=face)
    return calls


@pytest.mark.parametrize("mode, source, calls, rigs", [
    ("Body", "Generate from JSON", [("json", "Hero_Body_CR")], ["Hero_Body_CR"]),
    ("Body", "Mannequin template", [("template", "Hero_Body_CR")], ["Hero_Body_CR"]),
    ("Face", "Generate from JSON", [("face", None)], ["Hero_Face_CR"]),
    ("Body+Face", "Generate from JSON", [("json", "Hero_CR"), ("face", "Hero_CR")], ["Hero_CR"]),
])
def test_the_mode_decides_which_rig_asset_is_built(tool, editor, unreal, hero, builders, mode, source, calls, rigs):
    editor.select_assets([hero])
    tool["set_control_rig_mode"](mode)
    tool["set_body_control_rig_source"](source)
    tool["vn_run_create_control_rig"]()
    assert editor.message_boxes() == [("Vantorel", "Create Control Rig complete.")]
    assert builders == calls
    assert assets_in(unreal, "/Game/Chars/Hero") == sorted(["Hero", "Hero_Skeleton"] + rigs)


def test_body_and_face_stops_when_no_body_rig_was_built_or_no_mesh_is_chosen(tool, editor, hero, builders):
    tool["set_control_rig_mode"]("Body+Face")
    tool["vn_run_create_control_rig"]()
    tool["set_target_skeletal_mesh"](hero)
    tool["create_body_control_rig"] = lambda target_path=None, target_name=None, combined=False: None
    tool["vn_run_create_control_rig"]()
    assert editor.message_boxes() == [
        ("Vantorel", "Create Control Rig failed:\nSelect exactly one SkeletalMesh in the Content Browser before running this script."),
        ("Vantorel", "Create Control Rig failed:\nThe body Control Rig was not created.")]
    assert builders == []


def test_opening_the_tools_by_hand_registers_the_builtins_and_needs_the_plugin_window(tool, editor, unreal, restore_builtins, monkeypatch):
    monkeypatch.setitem(tool, "unreal", UnrealView(unreal, VNFaceSDKImportLibrary=types.SimpleNamespace()))
    assert tool["open_vantorel_tools"]() is False
    assert [name for name in BUILTIN_NAMES if getattr(builtins, name) is None] == []
    assert builtins.vn_set_control_rig_mode is tool["set_control_rig_mode"]
    text = ("Vantorel Unreal plugin is required. Install or rebuild the Vantorel plugin that includes the editor tool window.")
    assert editor.message_boxes() == [("Vantorel", text)] and error_lines(editor, text) == [text]


@pytest.mark.parametrize("accepts_five", [True, False])
def test_opening_the_tools_hands_the_host_values_and_guessed_mesh_to_the_window(tool, editor, unreal, hero, restore_builtins, monkeypatch, accepts_five):
    calls = []
    opener = (lambda a, b, c, d, e: calls.append((a, b, c, d, e))) if accepts_five else (lambda a, b, c, d: calls.append((a, b, c, d)))
    monkeypatch.setitem(tool, "unreal", UnrealView(unreal, VNFaceSDKImportLibrary=types.SimpleNamespace(open_vantorel_tools=opener)))
    tool.update(SOURCE_FILE="/maya/Hero.ma", json_file="/maya/Hero_face.json")
    assert tool["open_vantorel_tools"]() is True
    expected = ("/maya/Hero.ma", True, True, HERO + ".Hero", "/maya/Hero_face.json")
    assert calls == [expected if accepts_five else expected[:4]]


def test_opening_the_tools_by_hand_reaches_the_native_window(tool, editor, unreal, hero, restore_builtins):
    tool["set_target_skeletal_mesh"](hero)
    assert tool["open_vantorel_tools"]() is True
    lines = [text for category, _, text in editor.log_lines() if category == "LogVantorelUnrealEditor"]
    assert "Vantorel tools target SkeletalMesh path: '%s.Hero' resolved: yes" % HERO in lines
