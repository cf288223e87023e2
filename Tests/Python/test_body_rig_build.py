"""The body build driver on the sample character: the asset it saves, the bones it keeps, the
forward graph's start and section boxes, the progress window, rebuilding, and the failures that stop
a build before anything is made."""

import json
import os

import pytest

from conftest import SAMPLE_HERO as SAMPLE, SAMPLE_HERO_RIG as RIG

ALWAYS_PRESENT_SECTIONS = ("Inbetween Distribution", "Forward FK Loop", "Global Orientation", "Forward IK & Controls",
                           "Twist Solutions", "FKIK Follow Constraints", "DrivingSystem Follow Constraints",
                           "Inbetween Visibility")
TOP_GROUPS = ("Main", "MainSystem", "MotionSystem")


def graph_nodes(rig):
    return list(rig.get_controller(rig.get_model()).get_graph().get_nodes())


def comment_titles(unreal, rig):
    return [node.get_comment_text() for node in graph_nodes(rig) if isinstance(node, unreal.RigVMCommentNode)]


def struct_name(node):
    """The unit struct's name of a unit node, empty for other nodes."""
    struct = getattr(node, "get_script_struct", lambda: None)()
    return struct.get_name() if struct is not None else ""


def element_names(rig):
    return [(str(key.type), str(key.name)) for key in rig.hierarchy.get_all_keys(True)]


def test_the_sample_builds_into_a_saved_rig_with_its_bones_and_the_forward_graph_start(editor, unreal, tool_script, hero, capsys):
    rig = tool_script["create_body_control_rig_from_json"]()
    out = capsys.readouterr().out
    assert rig.get_path_name() == RIG + ".SK_SampleHero_Body_CR"
    assert unreal.EditorAssetLibrary.does_asset_exist(RIG)
    assert "Created Body Control Rig from JSON: " + rig.get_path_name() in out
    assert "Body rig VM compiled; the saved rig can be used directly in levels and sequences." in out

    # Every bone of the mesh except the three top groups, which the exporter adds above the skeleton.
    fresh = unreal.ControlRigBlueprintFactory.create_control_rig_from_skeletal_mesh_or_skeleton(hero)
    mesh_bones = [str(key.name) for key in fresh.hierarchy.get_all_keys(True) if key.type == unreal.RigElementType.BONE]
    assert set(TOP_GROUPS) <= set(mesh_bones)
    bones = [str(key.name) for key in rig.hierarchy.get_all_keys(True) if key.type == unreal.RigElementType.BONE]
    assert sorted(bones) == sorted(name for name in mesh_bones if name not in TOP_GROUPS)

    nodes = {str(node.get_node_path()): node for node in graph_nodes(rig)}
    assert "RigUnit_BeginExecution" in nodes and "BodyForwardSequence" in nodes
    begin = nodes["RigUnit_BeginExecution"].find_pin("ExecuteContext")
    assert "BodyForwardSequence.ExecuteContext" in [str(pin.get_pin_path()) for pin in begin.get_linked_target_pins()]
    titles = comment_titles(unreal, rig)
    for section in ALWAYS_PRESENT_SECTIONS:
        assert titles.count(section) == 1, section
    description = rig.get_editor_property("blueprint_description")
    assert description.startswith("Vantorel 1.4.2 | VantorelUnreal ")


def test_the_progress_window_never_passes_100_and_closes(editor, unreal, tool_script, hero, monkeypatch):
    library = unreal.VNFaceSDKImportLibrary
    shown, messages = [], []
    original = library.update_body_rig_progress
    monkeypatch.setattr(library, "update_body_rig_progress",
                        lambda percent, message: (shown.append(percent), messages.append(message), original(percent, message))[2],
                        raising=False)
    tool_script["create_body_control_rig_from_json"]()
    assert shown and max(shown) <= 100.0 and shown == sorted(shown) and shown[-1] == 100.0
    assert "Generating Twist Solver Nodes..." in messages
    assert messages.index("Building Forward FK / IK graph...") < messages.index("Generating Twist Solver Nodes...")
    windows = editor.slate_windows()
    assert windows and all(window["destroyed"] for window in windows)


def jointless_body_json(tmp_path):
    """A copy of the sample's Body rig JSON none of whose joints is a bone of the mesh; returns its path."""
    document = json.load(open(os.path.join(SAMPLE, "SampleHero_BodyRig.json")))
    for joint in document["rig"]["joints"]:
        joint["name"] = "Ghost" + joint["name"]
    broken = tmp_path / "NoBones_BodyRig.json"
    broken.write_text(json.dumps(document))
    return str(broken)


def test_a_refused_build_leaves_the_previous_rig_as_it_was_and_closes_the_progress_window(editor, unreal, tool_script, hero, tmp_path):
    previous = tool_script["create_body_control_rig_from_json"]()
    elements, nodes = element_names(previous), sorted(str(node.get_node_path()) for node in graph_nodes(previous))
    saved = tmp_path / "Project" / "Content" / "SampleHero" / "SK_SampleHero_Body_CR.uasset"
    saved_text = saved.read_text()
    tool_script["set_body_json_file"](jointless_body_json(tmp_path))
    with pytest.raises(RuntimeError, match="The target SkeletalMesh skeleton has none of the Body JSON joints."):
        tool_script["create_body_control_rig_from_json"]()
    # On disk, in memory, and after saving everything the editor holds: the previous rig, and no
    # half-made rig beside it.
    rig = unreal.load_asset(RIG)
    assert element_names(rig) == elements
    assert sorted(str(node.get_node_path()) for node in graph_nodes(rig)) == nodes
    unreal.EditorAssetLibrary.save_directory("/Game", only_if_is_dirty=True, recursive=True)
    assert saved.read_text() == saved_text
    assert [path for path in unreal.EditorAssetLibrary.list_assets("/Game", True, False) if "CtrlRig" in path] == []
    assert all(window["destroyed"] for window in editor.slate_windows())


def test_a_refused_first_build_makes_no_asset(editor, unreal, tool_script, hero, tmp_path):
    tool_script["set_body_json_file"](jointless_body_json(tmp_path))
    before = sorted(unreal.EditorAssetLibrary.list_assets("/Game", True, False))
    with pytest.raises(RuntimeError, match="none of the Body JSON joints"):
        tool_script["create_body_control_rig_from_json"]()
    assert sorted(unreal.EditorAssetLibrary.list_assets("/Game", True, False)) == before


def test_rebuilding_onto_the_same_target_gives_the_same_elements_and_nodes(editor, unreal, tool_script, hero):
    first = tool_script["create_body_control_rig_from_json"]()
    first_elements = element_names(first)
    first_nodes = sorted(str(node.get_node_path()) for node in graph_nodes(first))
    second = tool_script["create_body_control_rig_from_json"]()
    assert element_names(second) == first_elements
    assert sorted(str(node.get_node_path()) for node in graph_nodes(second)) == first_nodes


def test_the_create_control_rig_action_reports_completion(editor, unreal, tool_script, hero):
    tool_script["vn_run_create_control_rig"]()
    assert editor.message_boxes()[-1][1] == "Create Control Rig complete."


# ---- the controls of the sample ---------------------------------------------------------------------

def sample_document():
    return json.load(open(os.path.join(SAMPLE, "SampleHero_BodyRig.json")))


def records_by_name(document):
    return {record["name"]: record for record in document["rig"]["controls"]}


def key_of(unreal, kind, name):
    return unreal.RigElementKey(type=getattr(unreal.RigElementType, kind), name=name)


def close(vector, expected, tolerance=1e-3):
    return [vector.x, vector.y, vector.z] == pytest.approx(list(expected), abs=tolerance)


@pytest.fixture
def built_variant(editor, unreal, tool_script, hero, tmp_path):
    """The sample built from a copy of its Body rig JSON in which one FK control has "diameter" 0 and
    another a "shapeRotationOverride"; returns (rig, document)."""
    document = sample_document()
    records = records_by_name(document)
    records["FKToes_R"]["diameter"] = 0
    records["FKChest_M"]["shapeRotationOverride"] = [0.0, 0.0, 90.0]
    variant = tmp_path / "Variant_BodyRig.json"
    variant.write_text(json.dumps(document))
    tool_script["set_body_json_file"](str(variant))
    return tool_script["create_body_control_rig_from_json"](), document


def test_the_sample_rig_has_the_clean_controller_hierarchy(unreal, built_variant):
    rig, document = built_variant
    hierarchy = rig.hierarchy
    parent = lambda kind, name: hierarchy.get_first_parent(key_of(unreal, kind, name))
    assert parent("NULL", "MotionSystem") == unreal.RigElementKey()
    assert parent("CONTROL", "Main") == key_of(unreal, "NULL", "MotionSystem")
    assert parent("NULL", "FKSystem") == key_of(unreal, "NULL", "MotionSystem")
    assert parent("NULL", "Helpers") == key_of(unreal, "CONTROL", "Main")
    helpers = [str(key.name) for key in hierarchy.get_children(key_of(unreal, "NULL", "Helpers"), False)]
    assert {"PoleLeg_R_Space", "PoleLeg_L_Space", "PoleArm_R_Space", "PoleArm_L_Space"} <= set(helpers)
    assert all(key.type == unreal.RigElementType.NULL for key in hierarchy.get_children(key_of(unreal, "NULL", "Helpers"), False))

    controls = [key for key in hierarchy.get_all_keys(True) if key.type == unreal.RigElementType.CONTROL]
    bone_parented = [str(key.name) for key in controls if hierarchy.get_first_parent(key).type == unreal.RigElementType.BONE]
    assert bone_parented == []
    names = {str(key.name) for key in controls}
    # Every file control is made, but for bendy handles and the hip swinger's legacy companions.
    legacy = {record["name"] for record in document["rig"]["controls"]
              if record["name"].startswith("HipSwinger") and record["type"] in ("IKLocal", "IKLocalOffset")}
    planned = {record["name"] for record in document["rig"]["controls"] if record["type"] not in ("Bend", "BendMid")}
    assert legacy and planned - legacy <= names and not legacy & names
    # The limbs' generated poles exist alongside the exported ones.
    assert {"PoleArm_R", "PoleArm_L", "IKLocalLeg_R"} <= names


def test_every_sample_control_is_where_its_maya_data_puts_it(unreal, built_variant):
    rig, document = built_variant
    hierarchy = rig.hierarchy
    records = records_by_name(document)
    control = lambda name: key_of(unreal, "CONTROL", name)
    bone_global = lambda name: hierarchy.get_global_transform(key_of(unreal, "BONE", name), True)
    world = lambda name: hierarchy.get_global_transform(control(name), True)
    shape = lambda name: hierarchy.get_local_control_shape_transform(control(name), True)

    # An FK control sits on its bone; its shape is 0.1 x diameter wide, 2.5 times as deep, offset in
    # control axes (Maya's Y becomes -Y).
    head = records["FKHead_M"]
    assert world("FKHead_M") == bone_global(head["joint"])
    v = 0.1 * head["diameter"]
    assert close(shape("FKHead_M").scale3d, (v, v, 2.5 * v))
    assert close(shape("FKHead_M").translation, (head["offset"][0], -head["offset"][1], head["offset"][2]))

    # A world-space IK control sits at its bone's location in world axes.
    leg = records["IKLeg_R"]
    assert leg["worldSpace"] is True
    assert close(world("IKLeg_R").translation, [getattr(bone_global(leg["joint"]).translation, a) for a in "xyz"])
    assert close(world("IKLeg_R").transform_direction(unreal.Vector(1.0, 0.0, 0.0)), (1.0, 0.0, 0.0))
    # Its exported curve is drawn as its own tube shape, whose mesh is already at the curve's size: the
    # shape transform only carries the import scale (1 here).
    assert str(rig.get_hierarchy_controller().get_control_settings(control("IKLeg_R")).shape_name).startswith("VN_")
    assert close(shape("IKLeg_R").scale3d, (1.0, 1.0, 1.0))

    # Poles: the exported one and the generated arm pole at their Maya pole positions, unrotated.
    for name, ik_name in (("PoleLeg_R", "IKLeg_R"), ("PoleArm_R", "IKArm_R")):
        x, y, z = records[ik_name]["ik"]["polePositionWorld"]
        assert close(world(name).translation, (x, z, y)), name
        assert close(world(name).transform_direction(unreal.Vector(0.0, 1.0, 0.0)), (0.0, 1.0, 0.0)), name
    generated = 0.1 * max(0.2 * records["IKArm_R"]["diameter"], 0.01)
    assert close(shape("PoleArm_R").scale3d, (generated,) * 3)

    # A zero diameter still leaves a visible shape; a shape rotation override turns the shape as shown
    # in the editor (Z 90 is a yaw of 90).
    assert close(shape("FKToes_R").scale3d, (0.001, 0.001, 0.0025), 1e-6)
    assert close(shape("FKChest_M").transform_direction(unreal.Vector(1.0, 0.0, 0.0)), (0.0, 1.0, 0.0))

    # The hip swinger: at its Maya matrix translation in the FK root's orientation.
    swinger = records["HipSwinger_M"]
    mx, my, mz = swinger["worldMatrix"][12:15]
    assert close(world("HipSwinger_M").translation, (mx, mz, my))
    root = world("FKRoot_M")
    for direction in ((1.0, 0.0, 0.0), (0.0, 0.0, 1.0)):
        expected = root.transform_direction(unreal.Vector(*direction))
        assert close(world("HipSwinger_M").transform_direction(unreal.Vector(*direction)), (expected.x, expected.y, expected.z))
    assert hierarchy.get_first_parent(control("HipSwinger_M")) == key_of(unreal, "NULL", "HipSwingerOffset_M")


def test_every_limb_placeholder_carries_its_switch_channels(unreal, built_variant):
    rig, document = built_variant
    hierarchy, controller = rig.hierarchy, rig.get_hierarchy_controller()
    records = records_by_name(document)
    limbs = [record for record in document["rig"]["controls"] if record["type"] == "IK" and record.get("ik", {}).get("middleJoint")]
    assert len(limbs) == 4
    for limb in limbs:
        placeholder = "FKIK" + limb["name"][2:]
        attributes = {item["name"]: item["value"] for item in records[placeholder].get("controlAttributes", [])}
        ik = limb["ik"]
        default_ik = ik.get("defaultIK", ik.get("defaultMode", True))
        default_ik = default_ik if isinstance(default_ik, bool) else str(default_ik).lower() not in ("fk", "0", "false")
        expected = [("FKIKBlend", attributes.get("FKIKBlend", 10.0 if default_ik else 0.0))] + \
                   [(name, attributes.get(name, True)) for name in ("autoVis", "FKVis", "IKVis")]
        for attribute, value in expected:
            key = key_of(unreal, "CONTROL", placeholder + "_" + attribute)
            assert hierarchy.get_first_parent(key) == key_of(unreal, "CONTROL", placeholder), key
            settings = controller.get_control_settings(key)
            assert settings.animation_type == unreal.RigControlAnimationType.ANIMATION_CHANNEL
            initial = hierarchy.get_control_value(key, unreal.RigControlValueType.INITIAL)
            if attribute == "FKIKBlend":
                assert unreal.RigHierarchy.get_float_from_control_value(initial) == value
                limits = [unreal.RigHierarchy.get_float_from_control_value(hierarchy.get_control_value(key, value_type))
                          for value_type in (unreal.RigControlValueType.MINIMUM, unreal.RigControlValueType.MAXIMUM)]
                assert limits == [0.0, 10.0] and settings.draw_limits
            else:
                assert initial == unreal.RigHierarchy.make_control_value_from_bool(value), key


def test_with_driving_systems_off_no_driving_control_or_its_spaces_exist(editor, unreal, tool_script, hero, capsys):
    tool_script["set_body_rig_options"](driving_systems=False)
    rig = tool_script["create_body_control_rig_from_json"]()
    driving = [record["name"] for record in sample_document()["rig"]["controls"] if record["type"] == "DrivingSystem"]
    assert driving
    names = {str(key.name) for key in rig.hierarchy.get_all_keys(True)}
    assert not names & set(driving)
    assert not [name for name in names if name.endswith("_Attach") or name.startswith("SDK")]
    assert "Omitted DrivingSystem controls: %d" % len(driving) in capsys.readouterr().out


def test_section_boxes_stack_down_the_graph_and_hold_their_nodes(unreal, tool_script, hero):
    rig = tool_script["create_body_control_rig_from_json"]()
    nodes = graph_nodes(rig)
    boxes = {node.get_comment_text(): node for node in nodes if isinstance(node, unreal.RigVMCommentNode)}
    box = lambda title: (boxes[title].get_position().x, boxes[title].get_position().y,
                         boxes[title].get_size().x, boxes[title].get_size().y)
    document = sample_document()
    controls = document["rig"]["controls"]

    # The inbetween distribution's rows start at its section's top, each base 650 below the one before;
    # the section advances by max(360, 650 per base + 120) and the next starts 160 below.
    inbetween = sum(1 for c in controls if any(a["name"] == "inbetweenJoints" and a["value"] > 0
                                               for a in c.get("fitAttributes", []) + c.get("controlAttributes", [])))
    # (The backwards solve, above the forward solve, reads the same nulls to undo the distribution.)
    references = sorted(node.get_position().y for node in nodes if struct_name(node) == "RigUnit_GetTransform"
                        and node.get_position().x == 1700 and node.get_position().y > 0 and node.find_pin("Item.Name").get_default_value().startswith("FKOffset")
                        and node.find_pin("bInitial").get_default_value() == "False")
    assert len(references) == inbetween and references == [references[0] + 650 * row for row in range(inbetween)]
    inbetween_top = references[0]
    # The twist section holds its limbs' solvers, each limb 1080 below the one before (two chains
    # each), starting 260 below the section's top; the next section starts 160 below the height it
    # reports plus 160.
    twist_limbs = 4
    twist_nodes = [node for node in nodes if not isinstance(node, unreal.RigVMCommentNode)
                   and box("Twist Solutions")[1] < node.get_position().y < sum(box("Twist Solutions")[1::2])]
    splits = sorted(node.get_position().y for node in twist_nodes
                    if struct_name(node) == "RigVMFunction_MathQuaternionSwingTwist")
    assert len(splits) == 2 * twist_limbs
    twist_top = splits[0] - 260
    assert splits == sorted(twist_top + 260 + 1080 * limb + lower for limb in range(twist_limbs) for lower in (0, 390))
    follow_top = twist_top + (260 + 1080 * twist_limbs + 160) + 160
    follow_setters = [node for node in nodes if not isinstance(node, unreal.RigVMCommentNode)
                      and struct_name(node) == "RigUnit_ParentConstraint" and node.get_position().y >= follow_top]
    assert follow_setters and min(node.get_position().y for node in follow_setters) == follow_top
    # The hip swinger's rows start 160 below the rows above (100 below their fixed box) and take 900;
    # the forward FK loop's row starts 160 below them; the loop's control reader sits 120 above it.
    swinger_row = inbetween_top + max(360, 650 * inbetween + 120) + 160
    assert "Hip Swinger" in boxes
    loop_row = swinger_row + 900 + 160
    assert box("Forward FK Loop")[:2] == (-700 - 90, loop_row - 120 - 140)

    # A section with nodes gets its box from their extent: 90 to the left, 140 above for the title,
    # at least 162 to the right of and 144 below the furthest node.
    # (The first limb's pole constraint of the next section sits 330 above that section's top, which
    # reaches into this box; only this section's own units are counted.)
    own = ("RigUnit_GetFloatAnimationChannel", "RigVMFunction_MathFloatDiv", "RigUnit_RotationConstraintLocalSpaceOffset")
    globals_ = [node for node in nodes if not isinstance(node, unreal.RigVMCommentNode)
                and box("Global Orientation")[1] < node.get_position().y < sum(box("Global Orientation")[1::2])
                and node.get_script_struct().get_name() in own]
    wanted = [c for c in controls if any(a["name"] == "global" for a in c.get("fitAttributes", []) + c.get("controlAttributes", []))]
    assert len(globals_) == 3 * len(wanted) > 0
    left, top, width, height = box("Global Orientation")
    assert left == min(node.get_position().x for node in globals_) - 90
    assert top == min(node.get_position().y for node in globals_) - 140
    assert left + width >= max(node.get_position().x + node.get_size().x for node in globals_) + 162
    assert top + height >= max(node.get_position().y + node.get_size().y for node in globals_) + 144


@pytest.mark.parametrize("json_name, message", [
    ("Missing_BodyRig.json", "Choose an existing Body JSON file first."),
    ("SampleHero_BodyRig.json", "Select exactly one SkeletalMesh in the Content Browser before running this script."),
])
@pytest.mark.parametrize("mode", ["Body", "Body+Face"])
def test_the_body_json_is_read_before_the_mesh_is_looked_up(editor, unreal, tool_script, json_name, message, mode):
    tool_script["set_body_json_file"](os.path.join(SAMPLE, json_name))
    tool_script["set_body_control_rig_source"]("Generate from JSON")
    tool_script["set_control_rig_mode"](mode)
    tool_script["vn_run_create_control_rig"]()
    assert editor.message_boxes() == [("Vantorel", "Create Control Rig failed:\n" + message)]
