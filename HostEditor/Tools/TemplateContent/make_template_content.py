"""Makes the stand-in's copy of the engine's third-person template content (beside the stand-in's
engine folder): in Templates/TemplateResources/High/Characters/Content/Mannequins, what the body rig
builder reads (the shared skeleton SK_Mannequin, the physics asset PA_Mannequin, the comparison
meshes SKM_Manny_Simple and SKM_Quinn_Simple on that skeleton, and the body Control Rig
CR_Mannequin_Body, whose FK controls carry the template's control names and drive the mannequin's
bones in its forward solve) and the locomotion assets the gameplay setup copies (Anims/Unarmed: the
clips, BS_Idle_Walk_Run and ABP_Unarmed); in Templates/TP_ThirdPersonBP/Content/ThirdPerson/Blueprints,
the template's character, player controller and game mode blueprints.

The packages are made by the headless editor itself, on a scratch project, from the engine's
documented mannequin bone and control names and the proportions of mannequin_proportions.py, so the
committed files are exactly what the stand-in saves and loads. The output is deterministic; a test
regenerates it and fails when the committed copy is stale.

    /usr/bin/python3 HostEditor/Tools/TemplateContent/make_template_content.py [--python-dir build/python]
"""

import argparse
import os
import shutil
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
HOST_EDITOR_DIR = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, HERE)

from mannequin_proportions import SIDES, local_translations, mannequin_bones, side_name  # noqa: E402

TEMPLATE_CONTENT_DIR = os.path.join("Templates", "TemplateResources", "High", "Characters", "Content", "Mannequins")
THIRD_PERSON_CONTENT_DIR = os.path.join("Templates", "TP_ThirdPersonBP", "Content", "ThirdPerson")
GAME_FOLDER = "/Game/Characters/Mannequins"
MESHES_FOLDER = GAME_FOLDER + "/Meshes"
RIGS_FOLDER = GAME_FOLDER + "/Rigs"
SKELETON_NAME = "SK_Mannequin"
PHYSICS_ASSET_NAME = "PA_Mannequin"
MESH_NAMES = ("SKM_Manny_Simple", "SKM_Quinn_Simple")
BODY_RIG_NAME = "CR_Mannequin_Body"

# (control, parent control or None, bone it sits on, bone it drives or None), parents first. The body
# control carries everything above the legs and arms' roots without driving a bone itself; the
# pelvis control turns the pelvis alone.
CENTRE_CONTROLS = (
    ("root_ctrl", None, "root", "root"),
    ("body_ctrl", "root_ctrl", "pelvis", None),
    ("pelvis_ctrl", "body_ctrl", "pelvis", "pelvis"),
    ("spine_01_ctrl", "body_ctrl", "spine_01", "spine_01"),
    ("spine_02_ctrl", "spine_01_ctrl", "spine_02", "spine_02"),
    ("spine_03_ctrl", "spine_02_ctrl", "spine_03", "spine_03"),
    ("spine_04_ctrl", "spine_03_ctrl", "spine_04", "spine_04"),
    ("spine_05_ctrl", "spine_04_ctrl", "spine_05", "spine_05"),
    ("neck_01_ctrl", "spine_05_ctrl", "neck_01", "neck_01"),
    ("neck_02_ctrl", "neck_01_ctrl", "neck_02", "neck_02"),
    ("head_ctrl", "neck_02_ctrl", "head", "head"),
)
ARM_STEMS = (("clavicle", "%s_%s_ctrl", None), ("upperarm", "%s_%s_fk_ctrl", "clavicle"),
             ("lowerarm", "%s_%s_fk_ctrl", "upperarm"), ("hand", "%s_%s_fk_ctrl", "lowerarm"))
FINGER_STEMS = ("thumb", "index")
LEG_STEMS = (("thigh", None), ("calf", "thigh"), ("foot", "calf"), ("ball", "foot"))


def control_name(stem, side, pattern="%s_%s_ctrl"):
    return pattern % (stem, side)


def template_controls():
    """Every control of the template as (name, parent, bone it sits on, bone it drives), parents first;
    each list of controls that runs in one chain of the forward solve: the body and arms first, then
    the legs."""
    upper = list(CENTRE_CONTROLS)
    legs = []
    for side, _mirror in SIDES:
        names = {}
        for stem, pattern, parent_stem in ARM_STEMS:
            name = names[stem] = control_name(stem, side, pattern)
            parent = names[parent_stem] if parent_stem else "spine_05_ctrl"
            upper.append((name, parent, side_name(stem, side), side_name(stem, side)))
        for finger in FINGER_STEMS:
            parent = names["hand"]
            for index in (1, 2, 3):
                bone = side_name("%s_%02d" % (finger, index), side)
                name = bone + "_ctrl"
                upper.append((name, parent, bone, bone))
                parent = name
        for stem, parent_stem in LEG_STEMS:
            name = names[stem] = control_name(stem, side, "%s_%s_fk_ctrl")
            parent = names[parent_stem] if parent_stem else "pelvis_ctrl"
            legs.append((name, parent, side_name(stem, side), side_name(stem, side)))
    return upper, legs


def mesh_bones(unreal):
    bones = []
    for name, parent, translation in local_translations(mannequin_bones()):
        transform = unreal.Transform()
        transform.translation = unreal.Vector(*translation)
        bones.append((name, parent, transform))
    return bones


def mesh_bounds(unreal):
    positions = [position for _name, _parent, position in mannequin_bones()]
    low = [min(p[i] for p in positions) for i in range(3)]
    high = [max(p[i] for p in positions) for i in range(3)]
    # The skin reaches past the bones: the head's top, the hands and feet.
    low = [low[0] - 10.0, low[1] - 15.0, 0.0]
    high = [high[0] + 10.0, high[1] + 15.0, 180.0]
    origin = [(a + b) / 2.0 for a, b in zip(low, high)]
    extent = [(b - a) / 2.0 for a, b in zip(low, high)]
    radius = round(sum(e * e for e in extent) ** 0.5, 6)
    return unreal.BoxSphereBounds(origin=unreal.Vector(*origin), box_extent=unreal.Vector(*extent), sphere_radius=radius)


def make_meshes(hosteditor, unreal):
    """The two comparison meshes on one shared skeleton: the first mesh's own skeleton becomes
    SK_Mannequin, the second mesh is given it and its own is deleted."""
    library = unreal.EditorAssetLibrary
    meshes = [hosteditor.create_skeletal_mesh(MESHES_FOLDER + "/" + name, mesh_bones(unreal), 1.0, mesh_bounds(unreal))
              for name in MESH_NAMES]
    skeleton_path = MESHES_FOLDER + "/" + SKELETON_NAME
    if not library.rename_asset(MESHES_FOLDER + "/" + MESH_NAMES[0] + "_Skeleton", skeleton_path):
        raise RuntimeError("could not name the shared skeleton " + skeleton_path)
    skeleton = unreal.load_asset(skeleton_path)
    for mesh in meshes:
        mesh.modify(True)
        mesh.set_editor_property("skeleton", skeleton)
    library.delete_asset(MESHES_FOLDER + "/" + MESH_NAMES[1] + "_Skeleton")
    for asset in [skeleton] + meshes:
        library.save_loaded_asset(asset, False)
    return skeleton, meshes[0]


def make_physics_asset(unreal):
    asset = unreal.AssetToolsHelpers.get_asset_tools().create_asset(PHYSICS_ASSET_NAME, RIGS_FOLDER, unreal.PhysicsAsset, None)
    unreal.EditorAssetLibrary.save_loaded_asset(asset, False)


def add_controls(unreal, rig, controls):
    hierarchy = rig.hierarchy
    controller = rig.get_hierarchy_controller()
    keys = {}
    for name, parent, bone, _driven in controls:
        settings = unreal.RigControlSettings()
        settings.control_type = unreal.RigControlType.EULER_TRANSFORM
        value = unreal.RigHierarchy.make_control_value_from_euler_transform(unreal.EulerTransform())
        parent_key = keys[parent] if parent else unreal.RigElementKey()
        key = keys[name] = controller.add_control(name, parent_key, settings, value, False)
        bone_global = hierarchy.get_global_transform(unreal.RigElementKey(type=unreal.RigElementType.BONE, name=bone), True)
        offset = bone_global.make_relative(hierarchy.get_global_transform(parent_key, True)) if parent else bone_global
        hierarchy.set_control_offset_transform(key, offset, True, True)
        hierarchy.set_control_offset_transform(key, offset, False, True)
    return keys


def add_fk_chain(unreal, graph, chain, exec_pin, column_x, top_y):
    """Per control that drives a bone: a Get Transform of the control and a Set Transform of its bone,
    both in global space, chained from exec_pin."""
    row = 0
    for name, _parent, _bone, driven in chain:
        if not driven:
            continue
        y = top_y + 180.0 * row
        row += 1
        get = graph.add_unit_node(unreal.RigUnit_GetTransform.static_struct(), "Execute",
                                  unreal.Vector2D(column_x, y), name + "_Get", False)
        set_ = graph.add_unit_node(unreal.RigUnit_SetTransform.static_struct(), "Execute",
                                   unreal.Vector2D(column_x + 320.0, y), driven + "_Set", False)
        get_path, set_path = get.get_node_path(), set_.get_node_path()
        graph.set_pin_default_value(get_path + ".Item", '(Type=Control,Name="%s")' % name, True, False)
        graph.set_pin_default_value(get_path + ".Space", "GlobalSpace", True, False)
        graph.set_pin_default_value(set_path + ".Item", '(Type=Bone,Name="%s")' % driven, True, False)
        graph.set_pin_default_value(set_path + ".Space", "GlobalSpace", True, False)
        graph.set_pin_default_value(set_path + ".bPropagateToChildren", "True", True, False)
        graph.add_link(get_path + ".Transform", set_path + ".Value", False)
        graph.add_link(exec_pin, set_path + ".ExecuteContext", False)
        exec_pin = set_path + ".ExecuteContext"
    return exec_pin


def make_body_rig(unreal, skeleton, preview_mesh):
    rig = unreal.ControlRigBlueprintFactory.create_new_control_rig_asset(desired_package_path=RIGS_FOLDER + "/" + BODY_RIG_NAME)
    rig.get_hierarchy_controller().import_bones(skeleton, "None", True, True, False, False)
    rig.set_preview_mesh(preview_mesh)
    upper, legs = template_controls()
    add_controls(unreal, rig, upper + legs)

    graph = rig.get_controller(rig.get_model())
    for node in list(graph.get_graph().get_nodes()):
        graph.remove_node(node, False)
    begin = graph.add_unit_node(unreal.RigUnit_BeginExecution.static_struct(), "Execute", unreal.Vector2D(-400.0, 0.0), "", False)
    sequence = graph.add_unit_node(unreal.RigVMFunction_Sequence.static_struct(), "Execute", unreal.Vector2D(-150.0, 0.0), "", False)
    sequence_path = sequence.get_node_path()
    graph.add_aggregate_pin(sequence_path, "", "", False)
    graph.add_link(begin.get_node_path() + ".ExecuteContext", sequence_path + ".ExecuteContext", False)
    # The body and arms run from the sequence's first output, the legs from its second; its third is
    # left for what a project adds.
    add_fk_chain(unreal, graph, upper, sequence_path + ".A", 200.0, 0.0)
    add_fk_chain(unreal, graph, legs, sequence_path + ".B", 200.0, 180.0 * len(upper) + 200.0)
    rig.recompile_vm()
    unreal.EditorAssetLibrary.save_loaded_asset(rig, False)
    return rig


def make_content(output_dir):
    """Makes the template content in a scratch project of the headless editor and copies the saved
    packages into output_dir/<the template content folder>. Returns that folder."""
    import hosteditor
    import unreal
    project = tempfile.mkdtemp(prefix="vn_template_content_")
    try:
        hosteditor.start(project, plugin_dirs=[])
        for module in ("ControlRigDeveloper", "ControlRigEditor"):
            unreal.load_module(module)
        skeleton, manny = make_meshes(hosteditor, unreal)
        make_physics_asset(unreal)
        make_body_rig(unreal, skeleton, manny)
        hosteditor.make_third_person_gameplay_templates(manny.get_path_name())
        copies = ((os.path.join(project, "Content", "Characters", "Mannequins"), os.path.join(output_dir, TEMPLATE_CONTENT_DIR),
                   ("Meshes", "Rigs", os.path.join("Anims", "Unarmed"))),
                  (os.path.join(project, "Content", "ThirdPerson"), os.path.join(output_dir, THIRD_PERSON_CONTENT_DIR), ("Blueprints",)))
        for saved, target, folders in copies:
            for folder in folders:
                os.makedirs(os.path.join(target, folder), exist_ok=True)
                for name in sorted(os.listdir(os.path.join(saved, folder))):
                    shutil.copyfile(os.path.join(saved, folder, name), os.path.join(target, folder, name))
        return os.path.join(output_dir, "Templates")
    finally:
        shutil.rmtree(project, ignore_errors=True)


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--python-dir", help="folder of the built unreal module (default: build/python)")
    parser.add_argument("--output", default=HOST_EDITOR_DIR, help="folder that receives Templates/ (default: HostEditor/)")
    arguments = parser.parse_args(sys.argv[1:] if argv is None else argv)
    sys.path.insert(0, arguments.python_dir or os.path.join(os.path.dirname(HOST_EDITOR_DIR), "build", "python"))
    print("Wrote %s" % make_content(arguments.output))
    return 0


if __name__ == "__main__":
    sys.exit(main())
