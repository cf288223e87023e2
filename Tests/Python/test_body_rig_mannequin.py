"""The Mannequin template path: the comparison assets brought from the template resources, the template
asset taken from the project or the chosen file, the duplicate rebuilt on the target mesh's bones and
evaluated (at rest and posed), the refusals that leave nothing behind, and the custom layer's rules:
the joint matcher, the scale from its samples and the sequence output it hooks to."""

import os
import shutil
import sys
import types

import pytest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "HostEditor", "Tools", "TemplateContent"))

import mannequin_proportions  # noqa: E402

TEMPLATE_CONTENT = os.path.join(ROOT, "HostEditor", "Templates", "TemplateResources", "High", "Characters", "Content",
                                "Mannequins")
TEMPLATE_FILE = os.path.join(TEMPLATE_CONTENT, "Rigs", "CR_Mannequin_Body.uasset")
TEMPLATE_PATH = "/Game/Characters/Mannequins/Rigs/CR_Mannequin_Body"
MESH_PATH = "/Game/Chars/Manny/SK_Manny"
RIG_PATH = "/Game/Chars/Manny/SK_Manny_Body_CR"


def mannequin_bones(unreal, extra=()):
    bones = []
    for name, parent, translation in mannequin_proportions.local_translations(mannequin_proportions.mannequin_bones()):
        transform = unreal.Transform()
        transform.translation = unreal.Vector(*translation)
        bones.append((name, parent, transform))
    for name, parent, translation in extra:
        transform = unreal.Transform()
        transform.translation = unreal.Vector(*translation)
        bones.append((name, parent, transform))
    return bones


def printed_lines(capsys):
    return capsys.readouterr().out.splitlines()


def assets_in(unreal, folder):
    return sorted(path.rsplit("/", 1)[-1].split(".")[0] for path in unreal.EditorAssetLibrary.list_assets(folder, True, False))


@pytest.fixture
def tool(editor, tool_script):
    return tool_script


@pytest.fixture
def manny(editor, unreal):
    return editor.create_skeletal_mesh(MESH_PATH, mannequin_bones(unreal))


def bone_position(rig, name):
    location = rig.global_transform(name).translation
    return (location.x, location.y, location.z)


# ---- files and comparison assets ----------------------------------------------------------------------

def test_a_game_path_maps_to_its_content_file_and_any_other_path_is_refused(tool, unreal):
    content = unreal.Paths.project_content_dir()
    assert tool["game_asset_path_to_content_file"]("/Game/A/B/CR_X") == os.path.join(content, "A/B/CR_X.uasset")
    assert tool["game_asset_path_to_content_file"]("/Game/A/CR_X.CR_X") == os.path.join(content, "A/CR_X.uasset")
    for path in ("/Engine/A/CR_X", "/Game/../../Outside/CR_X", "/Gameplay/CR_X"):
        with pytest.raises(ValueError, match="^Expected /Game asset path, got: " + path + "$"):
            tool["game_asset_path_to_content_file"](path)


def test_the_comparison_assets_come_from_the_template_resources_once(tool, unreal, capsys):
    tool["ensure_mannequin_comparison_assets"]()
    assert assets_in(unreal, "/Game/Characters/Mannequins") == ["PA_Mannequin", "SKM_Manny_Simple", "SKM_Quinn_Simple",
                                                                 "SK_Mannequin"]
    assert printed_lines(capsys) == [
        "Imported shared Mannequin Skeleton and Physics Asset for comparison meshes.",
        "Imported Mannequin comparison mesh: /Game/Characters/Mannequins/Meshes/SKM_Manny_Simple",
        "Imported Mannequin comparison mesh: /Game/Characters/Mannequins/Meshes/SKM_Quinn_Simple"]
    skeleton = unreal.load_asset("/Game/Characters/Mannequins/Meshes/SK_Mannequin")
    assert unreal.load_asset("/Game/Characters/Mannequins/Meshes/SKM_Quinn_Simple").get_editor_property("skeleton") == skeleton
    tool["ensure_mannequin_comparison_assets"]()
    assert printed_lines(capsys) == ["Imported shared Mannequin Skeleton and Physics Asset for comparison meshes."]


def test_a_comparison_mesh_on_another_skeleton_is_given_the_shared_one(tool, editor, unreal, capsys):
    tool["ensure_mannequin_comparison_assets"]()
    other = editor.create_skeletal_mesh("/Game/Other/SK_Other", [("root", None, None)])
    quinn = unreal.load_asset("/Game/Characters/Mannequins/Meshes/SKM_Quinn_Simple")
    quinn.set_editor_property("skeleton", other.get_editor_property("skeleton"))
    capsys.readouterr()
    assert tool["assign_shared_mannequin_skeleton"](quinn) is True
    assert printed_lines(capsys) == ["Assigned shared SK_Mannequin Skeleton to comparison mesh: "
                                     "/Game/Characters/Mannequins/Meshes/SKM_Quinn_Simple"]
    assert quinn.get_editor_property("skeleton") == unreal.load_asset("/Game/Characters/Mannequins/Meshes/SK_Mannequin")
    assert tool["assign_shared_mannequin_skeleton"](quinn) is False


def test_missing_template_resources_are_reported_and_the_tools_still_open(tool, unreal, tmp_path, monkeypatch, capsys):
    mannequin = tool.module("body.mannequin")
    monkeypatch.setattr(mannequin, "template_resources_folder", lambda: str(tmp_path / "NoTemplates"))
    missing = os.path.join(str(tmp_path / "NoTemplates"), "Meshes", "SK_Mannequin.uasset")
    with pytest.raises(RuntimeError, match="^Could not find the required Mannequin template asset: " + missing + "$"):
        tool["ensure_mannequin_comparison_dependencies"]()
    opened = []
    library = types.SimpleNamespace(open_vantorel_tools=lambda *args: opened.append(args))
    monkeypatch.setattr(tool.module("actions"), "unreal", types.SimpleNamespace(
        VNFaceSDKImportLibrary=library, log_error=unreal.log_error, EditorDialog=unreal.EditorDialog))
    capsys.readouterr()
    assert tool["open_vantorel_tools"]() is True and len(opened) == 1
    assert printed_lines(capsys)[0] == "Mannequin comparison asset import skipped: " \
        "Could not find the required Mannequin template asset: " + missing


def test_a_missing_comparison_mesh_file_names_the_mesh(tool, tmp_path, monkeypatch):
    resources = tmp_path / "Mannequins"
    for folder, name in (("Meshes", "SK_Mannequin.uasset"), ("Rigs", "PA_Mannequin.uasset")):
        os.makedirs(resources / folder, exist_ok=True)
        shutil.copy(os.path.join(TEMPLATE_CONTENT, folder, name), resources / folder / name)
    monkeypatch.setattr(tool.module("body.mannequin"), "template_resources_folder", lambda: str(resources))
    with pytest.raises(RuntimeError, match="^Could not find SKM_Manny_Simple.uasset in the Unreal Engine template resources.$"):
        tool["ensure_mannequin_comparison_assets"]()


# ---- the template path --------------------------------------------------------------------------------

def build(tool, mesh, template_file=TEMPLATE_FILE, custom=False, body_json=None):
    tool["set_target_skeletal_mesh"](mesh)
    tool["set_body_control_rig_template_file"](template_file)
    tool["set_include_custom_controllers"](custom)
    tool["set_body_json_file"](body_json)
    return tool["create_body_control_rig"]()


def test_the_template_file_is_copied_into_the_project_and_the_rig_rests_on_the_mesh(tool, editor, unreal, manny, capsys):
    rig = build(tool, manny)
    assert rig.get_path_name() == RIG_PATH + ".SK_Manny_Body_CR"
    assert os.path.isfile(os.path.join(unreal.Paths.project_content_dir(), "Characters/Mannequins/Rigs/CR_Mannequin_Body.uasset"))
    lines = printed_lines(capsys)
    assert "Created Body Control Rig: " + RIG_PATH + ".SK_Manny_Body_CR" in lines
    assert "Preview mesh set: " + MESH_PATH + ".SK_Manny" in lines
    assert rig.get_preview_mesh() == manny
    evaluation = editor.RigEvaluation(unreal.load_asset(RIG_PATH))
    evaluation.run_forwards_solve(1)
    assert evaluation.report()["errors"] == []
    for name, _parent, position in mannequin_proportions.mannequin_bones():
        assert bone_position(evaluation, name) == pytest.approx(position, abs=1e-4), name


def test_an_fk_arm_turn_carries_the_hand_about_the_elbow(tool, editor, unreal, manny):
    build(tool, manny)
    evaluation = editor.RigEvaluation(unreal.load_asset(RIG_PATH))
    evaluation.set_control_value("lowerarm_r_fk_ctrl", unreal.EulerTransform(rotation=unreal.Rotator(pitch=-90.0)))
    evaluation.run_forwards_solve(1)
    positions = {name: position for name, _parent, position in mannequin_proportions.mannequin_bones()}
    elbow, hand = positions["lowerarm_r"], positions["hand_r"]
    # The forearm points down -X from the elbow; a quarter pitch about Y (nose down is negative)
    # swings it to point along Z: the hand ends the forearm's length above or below the elbow.
    length = elbow[0] - hand[0]
    turned = bone_position(evaluation, "hand_r")
    assert turned[0] == pytest.approx(elbow[0], abs=1e-3) and turned[1] == pytest.approx(elbow[1], abs=1e-3)
    assert abs(turned[2] - elbow[2]) == pytest.approx(length, abs=1e-3)
    assert bone_position(evaluation, "lowerarm_r") == pytest.approx(elbow, abs=1e-4)


def test_a_project_that_holds_the_template_needs_no_template_file(tool, editor, unreal, manny):
    content = os.path.join(unreal.Paths.project_content_dir(), "Characters", "Mannequins", "Rigs")
    os.makedirs(content)
    shutil.copy(TEMPLATE_FILE, content)
    rig = build(tool, manny, template_file=None)
    assert rig.get_path_name() == RIG_PATH + ".SK_Manny_Body_CR"
    assert "root_ctrl" in [str(key.name) for key in rig.hierarchy.get_controls(True)]


@pytest.mark.parametrize("template_file", [None, "/nowhere/CR_Mannequin_Body.uasset"])
def test_without_the_template_asset_or_an_existing_file_nothing_is_built(tool, editor, unreal, manny, template_file):
    with pytest.raises(RuntimeError, match="^Choose an existing Body Control Rig template .uasset file first.$"):
        build(tool, manny, template_file=template_file)
    assert assets_in(unreal, "/Game/Chars/Manny") == ["SK_Manny", "SK_Manny_Skeleton"]


def test_a_template_file_that_does_not_load_is_reported_and_not_left_in_the_project(tool, editor, unreal, manny, tmp_path):
    not_a_package = tmp_path / "CR_Mannequin_Body.uasset"
    not_a_package.write_text("not a package\n")
    with pytest.raises(RuntimeError, match="^Copied Body Control Rig template, but Unreal could not load it: " + TEMPLATE_PATH + "$"):
        build(tool, manny, template_file=str(not_a_package))
    assert not os.path.exists(tool["game_asset_path_to_content_file"](TEMPLATE_PATH))
    assert assets_in(unreal, "/Game") == ["SK_Manny", "SK_Manny_Skeleton"]


def test_a_mesh_the_template_cannot_drive_is_refused_and_leaves_the_previous_rig(tool, editor, unreal, manny):
    build(tool, manny)
    previous = unreal.load_asset(RIG_PATH)
    maya_named = editor.create_skeletal_mesh("/Game/Chars/Manny/SK_Maya", [("Root_M", None, None), ("Spine1_M", "Root_M", None)])
    tool["set_target_skeletal_mesh"](maya_named)
    with pytest.raises(RuntimeError, match="^The Body Control Rig template drives none of the target SkeletalMesh's bones"):
        tool["create_body_control_rig"](RIG_PATH, "SK_Manny_Body_CR")
    assert assets_in(unreal, "/Game/Chars/Manny") == ["SK_Manny", "SK_Manny_Body_CR", "SK_Manny_Skeleton", "SK_Maya",
                                                      "SK_Maya_Skeleton"]
    assert unreal.load_asset(RIG_PATH) == previous and previous.get_preview_mesh() == manny


def test_the_mannequin_template_source_builds_from_the_create_action(tool, editor, unreal, manny):
    editor.select_assets([manny.get_path_name()])
    tool["set_body_control_rig_template_file"](TEMPLATE_FILE)
    tool["set_body_control_rig_source"]("Mannequin template")
    tool["set_control_rig_mode"]("Body+Face")
    tool["create_face_control_rig"] = lambda rig: rig
    tool["vn_run_create_control_rig"]()
    assert editor.message_boxes() == [("Vantorel", "Create Control Rig complete.")]
    assert assets_in(unreal, "/Game/Chars/Manny") == ["SK_Manny", "SK_Manny_CR", "SK_Manny_Skeleton"]


# ---- the custom layer's rules -------------------------------------------------------------------------

@pytest.mark.parametrize("joint, candidates", [
    ("DeformationSystem", ["root"]),
    ("Shoulder_L", ["upperarm_l"]), ("Wrist_R", ["hand_r"]), ("IndexFinger2_L", ["index_02_l"]),
    ("ThumbFinger3_R", ["thumb_03_r"]), ("Scapula_R", ["clavicle_r"]),
    ("Root_M", ["pelvis"]), ("Chest_M", ["spine_03"]), ("Head", ["head"]),
    ("Tail1_M", []), ("Weapon_R", []), ("Knee_L", []),
])
def test_the_matcher_maps_exported_joints_to_mannequin_bones(tool, joint, candidates):
    assert tool["body_rig_mannequin_template_bone_candidates"](joint) == candidates


@pytest.mark.parametrize("samples, scale", [
    ([0.9, 1.0, 50.0], 1.0), ([50.0, 0.9, 1.0], 1.0), ([150.0], 1.0), ([], 1.0), ([0.05, 0.05], 1.0),
    ([2.0, 2.5], 2.5), ([0.5], 0.5),
])
def test_the_json_scale_is_the_middle_sample_within_bounds(tool, samples, scale):
    assert tool["body_rig_mannequin_scale_from_samples"](samples) == scale


@pytest.mark.parametrize("text, name", [
    ('(Type=Bone,Name="pelvis")', "pelvis"), ("(Type=Bone,Name=spine_01)", "spine_01"), ('"thigh_l"', "thigh_l"),
    ("calf_r", "calf_r"), ("(Type=Bone)", ""),
])
def test_an_item_name_is_read_from_a_key_text_or_the_whole_text(tool, text, name):
    assert tool["body_rig_rigvm_item_name"](text) == name


def sequence_graph(unreal, linked_outputs):
    rig = unreal.ControlRigBlueprintFactory.create_new_control_rig_asset(desired_package_path="/Game/Rigs/CR_Sequence")
    graph = rig.get_controller(rig.get_model())
    begin = graph.add_unit_node(unreal.RigUnit_BeginExecution.static_struct(), "Execute", unreal.Vector2D(0, 0), "", False)
    sequence = graph.add_unit_node(unreal.RigVMFunction_Sequence.static_struct(), "Execute", unreal.Vector2D(200, 0), "", False)
    for _letter in "CD":
        graph.add_aggregate_pin(sequence.get_node_path(), "", "", False)
    graph.add_link(begin.get_node_path() + ".ExecuteContext", sequence.get_node_path() + ".ExecuteContext", False)
    for index, letter in enumerate(linked_outputs):
        node = graph.add_unit_node(unreal.RigUnit_SetTransform.static_struct(), "Execute", unreal.Vector2D(500, 200 * index), "", False)
        graph.add_link(sequence.get_node_path() + "." + letter, node.get_node_path() + ".ExecuteContext", False)
    return graph, sequence.get_node_path()


@pytest.mark.parametrize("linked, hooked", [("D", "C"), ("ABCD", "D"), ("", "D"), ("AB", "D")])
def test_the_layer_hooks_to_the_highest_free_sequence_output(tool, editor, unreal, linked, hooked):
    unreal.load_module("ControlRigDeveloper")
    graph, sequence = sequence_graph(unreal, linked)
    assert tool["body_rig_hook_exec_pin"](graph) == sequence + "." + hooked


def test_a_graph_without_a_sequence_cannot_take_the_layer(tool, editor, unreal):
    rig = unreal.ControlRigBlueprintFactory.create_new_control_rig_asset(desired_package_path="/Game/Rigs/CR_Empty")
    with pytest.raises(RuntimeError, match="^Could not find the Mannequin Forward Solve Sequence node.$"):
        tool["body_rig_hook_exec_pin"](rig.get_controller(rig.get_model()))


# ---- the mannequin sample and its custom layer ----------------------------------------------------------

SAMPLE_DIR = os.path.join(ROOT, "Samples", "SampleManny")
SAMPLE_JSON = os.path.join(SAMPLE_DIR, "SampleManny_BodyRig.json")
SAMPLE_MESH = "/Game/SampleManny/SK_SampleManny"
SAMPLE_RIG = "/Game/SampleManny/SK_SampleManny_Body_CR"


@pytest.fixture
def sample(editor, unreal):
    content = os.path.join(unreal.Paths.project_content_dir(), "SampleManny")
    os.makedirs(content)
    for name in ("SK_SampleManny.uasset", "SK_SampleManny_Skeleton.uasset"):
        shutil.copy(os.path.join(SAMPLE_DIR, name), content)
    return unreal.load_asset(SAMPLE_MESH)


def sample_positions():
    sys.path.insert(0, os.path.join(ROOT, "Samples"))
    import sample_manny
    return sample_manny.mesh_positions()


@pytest.fixture
def sample_rig(tool, editor, unreal, sample):
    build(tool, sample, custom=True, body_json=SAMPLE_JSON)
    return editor.RigEvaluation(unreal.load_asset(SAMPLE_RIG))


def test_the_sample_gets_custom_controls_for_its_tail_and_weapon_only(tool, editor, unreal, sample, capsys):
    rig = build(tool, sample, custom=True, body_json=SAMPLE_JSON)
    lines = printed_lines(capsys)
    added = [line for line in lines if line.startswith("Mannequin custom controllers added:")]
    assert added == ["Mannequin custom controllers added: ['FKTail0_M', 'FKTail1_M', 'FKTail2_M', 'FKTail3_M', "
                     "'FKTail4_M', 'FKWeapon_R', 'IKTail1_M', 'IKTail2_M', 'FKIKTail_M', 'IKTail2_M_2']"]
    assert "Mannequin custom system omits non-deform endpoint helpers: Tail_M ['TailEnd_M']" in lines
    scale_lines = [line for line in lines if line.startswith("Mannequin custom JSON transform scale: ")]
    assert len(scale_lines) == 1 and float(scale_lines[0].rsplit(" ", 1)[1]) == pytest.approx(1.0, abs=1e-6)
    hierarchy = rig.hierarchy
    parents = {str(key.name): [str(p.name) for p in hierarchy.get_parents(key, False)]
               for key in hierarchy.get_all_keys(True) if "bone" not in str(key.type).lower()}
    assert parents["CustomControllers"] == []
    assert parents["VNMannequinParent_FKRoot_M"] == ["CustomControllers"]
    assert parents["FKTail0_M"] == ["VNMannequinParent_FKRoot_M"] and parents["FKTail1_M"] == ["FKTail0_M"]
    assert parents["FKWeapon_R"] == ["VNMannequinParent_FKWrist_R"]
    # The template's own controls stay as they were; the exported standard joints get none.
    assert "upperarm_l_fk_ctrl" in parents and "FKShoulder_L" not in parents and "FKRoot_M" not in parents


def test_the_sample_rests_on_its_mesh_with_the_custom_layer(sample_rig):
    sample_rig.run_forwards_solve(2)
    report = sample_rig.report()
    assert report["errors"] == []
    for name, position in sample_positions().items():
        if name != "TailEnd_M":
            assert bone_position(sample_rig, name) == pytest.approx(position, abs=1e-3), name


def test_a_custom_tail_control_turns_the_tail_below_it(sample_rig, unreal):
    positions = sample_positions()
    sample_rig.set_control_value("FKTail1_M", unreal.EulerTransform(rotation=unreal.Rotator(yaw=90.0)))
    sample_rig.run_forwards_solve(1)
    # A quarter turn about Z at Tail1_M: each joint below swings from -Y (behind) to +X, same height.
    pivot = positions["Tail1_M"]
    for name in ("Tail2_M", "Tail3_M", "Tail4_M"):
        x, y, z = positions[name]
        expected = (pivot[0] + (pivot[1] - y), pivot[1] + (x - pivot[0]), z)
        assert bone_position(sample_rig, name) == pytest.approx(expected, abs=1e-3), name
    assert bone_position(sample_rig, "Tail0_M") == pytest.approx(positions["Tail0_M"], abs=1e-4)


def test_the_tail_follows_the_template_pelvis_and_the_weapon_the_hand(sample_rig, unreal):
    positions = sample_positions()
    sample_rig.set_control_value("pelvis_ctrl", unreal.EulerTransform(location=unreal.Vector(0.0, 0.0, 10.0)))
    sample_rig.set_control_value("hand_r_fk_ctrl", unreal.EulerTransform(rotation=unreal.Rotator(yaw=180.0)))
    sample_rig.run_forwards_solve(1)
    for name in ("Tail0_M", "Tail4_M"):
        x, y, z = positions[name]
        assert bone_position(sample_rig, name) == pytest.approx((x, y, z + 10.0), abs=1e-3), name
    # Half a turn about Z at the hand puts the weapon on the hand's other side.
    hand, weapon = positions["hand_r"], positions["Weapon_R"]
    expected = (2 * hand[0] - weapon[0], 2 * hand[1] - weapon[1], weapon[2])
    assert bone_position(sample_rig, "Weapon_R") == pytest.approx(expected, abs=1e-3)


def test_a_json_of_standard_joints_only_adds_nothing_to_the_duplicate(tool, editor, unreal, sample, tmp_path, capsys):
    import json
    with open(SAMPLE_JSON, encoding="utf-8") as handle:
        document = json.load(handle)
    standard = [c for c in document["rig"]["controls"] if c["name"] == "Main" or (
        c.get("joint") and not c["joint"].startswith(("Tail", "Weapon")))]
    document["rig"]["controls"] = standard
    document["rig"]["ikSystems"] = []
    path = tmp_path / "Standard_BodyRig.json"
    path.write_text(json.dumps(document), encoding="utf-8")
    rig = build(tool, sample, custom=True, body_json=str(path))
    assert "Mannequin custom controllers: none found." in printed_lines(capsys)
    template = unreal.load_asset(TEMPLATE_PATH)
    names = lambda asset: sorted(str(key.name) for key in asset.hierarchy.get_all_keys(True) if "bone" not in str(key.type).lower())
    assert names(rig) == names(template)
    nodes = lambda asset: len(asset.get_controller(asset.get_model()).get_graph().get_nodes())
    assert nodes(rig) == nodes(template)


def test_the_spline_tail_is_solved_over_its_mesh_bones_without_the_fit_helper(sample_rig, unreal):
    positions = sample_positions()
    sample_rig.set_control_value("FKIKTail_M_FKIKBlend", 10.0)
    sample_rig.run_forwards_solve(2)
    report = sample_rig.report()
    assert report["errors"] == [] and report["warnings"] == []
    for name in ("Tail0_M", "Tail2_M", "Tail4_M"):
        assert bone_position(sample_rig, name) == pytest.approx(positions[name], abs=1e-3), name
    # The middle handle pulled 10 cm to the left bends the tail's middle that way; its ends stay with
    # the end handles, which did not move.
    sample_rig.set_control_value("IKTail2_M_2", unreal.EulerTransform(location=unreal.Vector(10.0, 0.0, 0.0)))
    sample_rig.run_forwards_solve(2)
    assert sample_rig.report()["errors"] == []
    tail = [bone_position(sample_rig, "Tail%d_M" % index) for index in range(5)]
    assert tail[0] == pytest.approx(positions["Tail0_M"], abs=1e-4)
    assert tail[4] == pytest.approx(positions["Tail4_M"], abs=1e-3)
    assert all(joint[0] > 3.0 for joint in tail[1:4])
    # The end handle, which sits on the fit helper past the last mesh bone, carries that bone with it.
    sample_rig.set_control_value("IKTail2_M_2", unreal.EulerTransform())
    sample_rig.set_control_value("IKTail2_M", unreal.EulerTransform(location=unreal.Vector(0.0, 0.0, 10.0)))
    sample_rig.run_forwards_solve(2)
    x, y, z = positions["Tail4_M"]
    assert bone_position(sample_rig, "Tail4_M") == pytest.approx((x, y, z + 10.0), abs=1e-3)


def test_a_template_without_a_forward_sequence_refuses_the_layer_and_leaves_no_asset(tool, editor, unreal, sample):
    content = os.path.join(unreal.Paths.project_content_dir(), "Characters", "Mannequins", "Rigs")
    os.makedirs(content)
    shutil.copy(TEMPLATE_FILE, content)
    template = unreal.load_asset(TEMPLATE_PATH)
    graph = template.get_controller(template.get_model())
    for node in list(graph.get_graph().get_nodes()):
        if "Sequence" in str(node.get_node_title()):
            graph.remove_node(node, False)
    with pytest.raises(RuntimeError, match="^Could not find the Mannequin Forward Solve Sequence node.$"):
        build(tool, sample, template_file=None, custom=True, body_json=SAMPLE_JSON)
    assert assets_in(unreal, "/Game/SampleManny") == ["SK_SampleManny", "SK_SampleManny_Skeleton"]


def rig_data(controls, joints=(), systems=()):
    return {"controls": list(controls), "joints": [{"name": name, "parent": parent} for name, parent in joints],
            "ikSystems": list(systems)}


def test_the_filtered_view_keeps_only_unowned_systems_on_mesh_bones(tool, capsys):
    joints = [("Root_M", ""), ("Tail0_M", "Root_M"), ("Tail1_M", "Tail0_M"), ("TailEnd_M", "Tail1_M"),
              ("Ear0_M", "Root_M"), ("EarEnd_M", "Ear0_M"), ("Spine1_M", "Root_M"), ("Chest_M", "Spine1_M")]
    systems = [
        {"name": "Tail_M", "solver": "ikSplineSolver", "joints": ["Tail0_M", "TailEnd_M"], "controls": ["IKTail1_M", "IKTail2_M"],
         "switchControl": "FKIKTail_M"},
        {"name": "Ear_M", "solver": "ikSplineSolver", "joints": ["Ear0_M", "EarEnd_M"], "controls": ["IKEar1_M"]},
        {"name": "Spine_M", "solver": "ikSplineSolver", "joints": ["Spine1_M", "Chest_M"], "controls": ["IKSpine1_M"]},
    ]
    controls = [{"name": "FKRoot_M", "joint": "Root_M"}, {"name": "FKTail0_M", "joint": "Tail0_M"},
                {"name": "IKTail2_M", "joint": "TailEnd_M"}, {"name": "FKIKTail_M", "joint": "Root_M"},
                {"name": "FKEarEnd_M", "joint": "EarEnd_M"}, {"name": "IKSpine1_M", "joint": "Spine1_M"}, {"name": "Main"}]
    bones = ["pelvis", "spine_01", "Tail0_M", "Tail1_M", "Ear0_M"]
    filtered = tool["body_rig_mannequin_filtered_rig_data"](rig_data(controls, joints, systems), ["Root_M", "Spine1_M"], bones)
    assert [system["name"] for system in filtered["ikSystems"]] == ["Tail_M"]
    assert filtered["ikSystems"][0]["joints"] == ["Tail0_M", "Tail1_M"]
    assert [c["name"] for c in filtered["controls"]] == ["FKTail0_M", "IKTail2_M", "FKIKTail_M"]
    assert "Root_M" not in [joint["name"] for joint in filtered["joints"]]
    assert printed_lines(capsys) == ["Mannequin custom system omits non-deform endpoint helpers: Tail_M ['TailEnd_M']",
                                     "Skipping custom system with fewer than two SkeletalMesh bones: Ear_M"]


def test_owned_joints_fall_back_to_the_standard_joints_when_no_template_bone_matches(tool, capsys):
    data = rig_data([{"name": "FKRoot_M", "joint": "Root_M"}, {"name": "FKKnee_L", "joint": "Knee_L"},
                     {"name": "FKTail0_M", "joint": "Tail0_M"}, {"name": "FKSpine1Part1_M", "joint": "Spine1Part1_M"}])
    assert tool["body_rig_mannequin_owned_joint_names"](data, ["Root_M", "Tail0_M"], ["root_bone_of_another_rig"]) == \
        ["Root_M", "Knee_L", "Spine1Part1_M"]
    assert printed_lines(capsys)[-1].startswith("Mannequin template owned joints (standard joints; no template bone matched): 3")
    assert tool["body_rig_mannequin_owned_joint_names"](data, ["Root_M", "Tail0_M"], ["PELVIS", "tail0_m"]) == ["Root_M", "Tail0_M"]


def test_control_data_is_brought_to_the_template_scale(tool):
    planned = tool["PlannedControl"]
    matrix = [1.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0, 4.0, 6.0, 8.0, 1.0]
    fk = planned(record={"name": "FKTail0_M", "type": "FK", "positionWorld": [1.0, 2.0, 3.0], "worldMatrix": matrix,
                         "diameter": 3.0, "curveShapes": [{"cvs": [[1.0, 1.0, 1.0]]}]})
    scaled = tool["body_rig_mannequin_scaled_control_data"](fk, 2.0)
    assert scaled.record["positionWorld"] == [2.0, 4.0, 6.0] and scaled.record["diameter"] == 6.0
    assert scaled.record["worldMatrix"][:12] == matrix[:12] and scaled.record["worldMatrix"][12:] == [8.0, 12.0, 16.0, 1.0]
    assert scaled.record["curveShapes"] == [{"cvs": [[1.0, 1.0, 1.0]]}] and scaled.shape_import_scale is None
    assert fk.record["positionWorld"] == [1.0, 2.0, 3.0] and fk.record["diameter"] == 3.0
    spline = tool["body_rig_mannequin_scaled_control_data"](planned(record={"name": "IKTail1_M", "type": "SplineIK", "diameter": 3.0}), 2.0)
    assert spline.shape_import_scale == 2.0 and spline.internal_shape_rotation == [90.0, 0.0, 0.0]
    assert spline.record["diameter"] == 3.0


def test_a_json_at_half_the_mesh_size_is_scaled_up_to_the_template(tool, editor, unreal, sample, tmp_path, capsys):
    import json
    with open(SAMPLE_JSON, encoding="utf-8") as handle:
        document = json.load(handle)
    for control in document["rig"]["controls"]:
        control["positionWorld"] = [value * 0.5 for value in control["positionWorld"]]
        control["worldMatrix"][12:15] = [value * 0.5 for value in control["worldMatrix"][12:15]]
    path = tmp_path / "Half_BodyRig.json"
    path.write_text(json.dumps(document), encoding="utf-8")
    build(tool, sample, custom=True, body_json=str(path))
    scale_lines = [line for line in printed_lines(capsys) if line.startswith("Mannequin custom JSON transform scale: ")]
    assert float(scale_lines[0].rsplit(" ", 1)[1]) == pytest.approx(2.0, abs=1e-5)
    rig = editor.RigEvaluation(unreal.load_asset(SAMPLE_RIG))
    rig.run_forwards_solve(1)
    positions = sample_positions()
    assert bone_position(rig, "Tail4_M") == pytest.approx(positions["Tail4_M"], abs=1e-3)


def test_the_headless_editor_builds_the_sample_from_the_template_and_evaluates_it(tmp_path):
    import subprocess
    from conftest import PYTHON_DIR
    host = os.path.join(os.path.dirname(PYTHON_DIR), "Binaries", "HostEditor-Cmd")
    project = tmp_path / "Project"
    shutil.copytree(SAMPLE_DIR, project / "Content" / "SampleManny")
    build_command = (
        'import builtins, unreal; builtins.vn_set_target_skeletal_mesh(unreal.load_asset("%s")); '
        'builtins.vn_set_body_control_rig_template_file("%s"); builtins.vn_set_body_json_file("%s"); '
        'builtins.vn_set_body_control_rig_source("Mannequin template"); builtins.vn_set_control_rig_mode("Body"); '
        'builtins.vn_set_include_custom_controllers(True); builtins.vn_run_create_control_rig()'
        % (SAMPLE_MESH, TEMPLATE_FILE, SAMPLE_JSON))
    turn = "FKTail1_M=(Location=(X=0,Y=0,Z=0),Rotation=(Pitch=0,Yaw=90,Roll=0),Scale=(X=1,Y=1,Z=1))"
    result = subprocess.run([host, str(project), "-OpenTools", "-ExecCmd=" + build_command, "-ControlValue=" + turn,
                             "-EvalRig=" + SAMPLE_RIG + ".SK_SampleManny_Body_CR"], capture_output=True, text=True, timeout=120)
    lines = result.stdout.splitlines()
    assert result.returncode == 0, result.stdout[-2000:]
    assert "[Vantorel] Create Control Rig complete." in lines
    positions = sample_positions()
    pivot, (x, y, z) = positions["Tail1_M"], positions["Tail4_M"]
    tail = [line for line in lines if line.strip().startswith("Tail4_M T=")]
    assert len(tail) == 1
    numbers = [float(value) for value in tail[0].split("T=(", 1)[1].split(")", 1)[0].split(",")]
    assert numbers == pytest.approx([pivot[0] + (pivot[1] - y), pivot[1] + (x - pivot[0]), z], abs=1e-3)
