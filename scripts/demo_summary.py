# Run inside the headless editor by scripts/demo (RIG_PATH is set before this runs): prints a summary
# of the Control Rig the build saved.
import unreal

rig = unreal.load_asset(RIG_PATH)
print("== Saved Control Rig")
if rig is None:
    print("none at", RIG_PATH)
else:
    keys = list(rig.hierarchy.get_all_keys(True))
    def count(kind):
        return sum(1 for key in keys if key.type == kind)
    settings = rig.get_hierarchy_controller().get_control_settings
    channels = sum(1 for key in keys if key.type == unreal.RigElementType.CONTROL
                   and settings(key).animation_type == unreal.RigControlAnimationType.ANIMATION_CHANNEL)
    graph = rig.get_controller(rig.get_model()).get_graph()
    nodes = list(graph.get_nodes())
    sections = [node for node in nodes if isinstance(node, unreal.RigVMCommentNode)]
    print("asset:", rig.get_path_name())
    print("bones:", count(unreal.RigElementType.BONE))
    print("controls:", count(unreal.RigElementType.CONTROL) - channels)
    print("channels:", channels)
    print("nulls:", count(unreal.RigElementType.NULL))
    print("graph nodes:", len(nodes) - len(sections))
    print("links:", len(list(graph.get_links())))
    print("sections:", len(sections))
