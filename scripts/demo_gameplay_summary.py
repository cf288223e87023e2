# Run inside the headless editor by scripts/demo (MESH_PATH is set before this runs): prints the
# gameplay setup the tools window made next to the character's mesh, as saved.
import unreal

folder = MESH_PATH.rsplit("/", 1)[0]
base = MESH_PATH.rsplit("/", 1)[1].split(".")[0]
if base.lower().startswith("sk_"):
    base = base[3:]
print("== Gameplay setup")


def defaults(name):
    blueprint = unreal.load_asset("%s/%s" % (folder, name))
    if blueprint is None:
        print("%s: none" % name)
        return None
    return unreal.get_default_object(unreal.BlueprintEditorLibrary.generated_class(blueprint))


character = defaults("BP_" + base)
if character is not None:
    mesh = character.get_editor_property("mesh")
    capsule = character.get_editor_property("capsule_component")
    movement = character.get_editor_property("character_movement")
    print("BP_%s: mesh %s, animation %s, scale %.3f, capsule %.1f x %.1f, walk %.1f cm/s" % (
        base, mesh.get_editor_property("skeletal_mesh_asset").get_name(), mesh.get_editor_property("anim_class").get_name(),
        mesh.get_editor_property("relative_scale3d").x, capsule.get_editor_property("capsule_radius"),
        capsule.get_editor_property("capsule_half_height"), movement.get_editor_property("max_walk_speed")))
game_mode = defaults("BP_%s_GameMode" % base)
if game_mode is not None:
    print("BP_%s_GameMode: pawn %s, controller %s" % (base, game_mode.get_editor_property("default_pawn_class").get_name(),
                                                     game_mode.get_editor_property("player_controller_class").get_name()))
for name in ("ABP_" + base, "BS_%s_Idle_Walk_Run" % base):
    asset = unreal.load_asset("%s/%s" % (folder, name))
    print("%s: %s" % (name, "saved" if asset is not None else "none"))
clips = [path for path in unreal.EditorAssetLibrary.list_assets(folder + "/Anims", True, False)]
print("clips:", ", ".join(path.rsplit(".", 1)[-1] for path in clips))
