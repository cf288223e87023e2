# Run inside the headless editor by scripts/demo (RIG_PATH and SCRIPTS_DIR are set before this runs):
# prints a summary of the Control Rig the build saved and draws its picture next to it.
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

    # The forward solve: the nodes its execution chain runs from the begin node, the nodes that feed
    # them data, and the links into all of those.
    by_name = {str(node.get_node_path()): node for node in nodes}

    def all_pins(node):
        pending, found = list(node.get_pins()), []
        while pending:
            pin = pending.pop()
            found.append(pin)
            pending.extend(pin.get_sub_pins())
        return found

    def node_of(pin):
        return str(pin.get_pin_path()).split(".", 1)[0]

    executed, pending = set(), ["RigUnit_BeginExecution"] if "RigUnit_BeginExecution" in by_name else []
    while pending:
        name = pending.pop()
        if name in executed:
            continue
        executed.add(name)
        for pin in all_pins(by_name[name]):
            if pin.get_cpp_type() in ("FControlRigExecuteContext", "FRigVMExecuteContext"):
                pending.extend(node_of(target) for target in pin.get_linked_target_pins())
    forward, pending = set(), list(executed)
    while pending:
        name = pending.pop()
        if name in forward or name not in by_name:
            continue
        forward.add(name)
        for pin in all_pins(by_name[name]):
            pending.extend(node_of(source) for source in pin.get_linked_source_pins())
    forward_links = sum(1 for link in graph.get_links() if str(link.get_target_pin().get_pin_path()).split(".", 1)[0] in forward)

    def units(struct_name):
        return sum(1 for name in forward if getattr(by_name[name], "get_script_struct", None)
                   and by_name[name].get_script_struct() and by_name[name].get_script_struct().get_name() == struct_name)
    print("forward solve: %d nodes (%d on its execution chain), %d links" % (len(forward), len(executed), forward_links))
    print("  two-bone IK solves: %d, driven offsets: %d, parent constraints: %d, FK loop: %s" % (
        units("RigUnit_TwoBoneIKSimplePerItem"), units("RigUnit_OffsetTransformForItem"), units("RigUnit_ParentConstraint"),
        "yes" if units("RigUnit_CollectionChildrenArray") else "no"))

    # A picture of the saved rig: bones and controls at their initial transforms, front and side.
    import os
    import sys
    sys.path.insert(0, SCRIPTS_DIR)
    import rig_picture

    def position(key):
        translation = rig.hierarchy.get_global_transform(key, True).translation
        return (float(translation.x), float(translation.y), float(translation.z))

    def rest_pose():
        pose = rig_picture.RigPose()
        for key in keys:
            if key.type == unreal.RigElementType.BONE:
                parent = rig.hierarchy.get_first_parent(key)
                has_parent = parent is not None and str(parent.name) not in ("", "None")
                pose.bones.append((str(key.name), position(key), position(parent) if has_parent else None))
            elif key.type == unreal.RigElementType.CONTROL:
                control = settings(key)
                if control.animation_type != unreal.RigControlAnimationType.ANIMATION_CHANNEL:
                    colour = control.shape_color
                    pose.controls.append((str(key.name), position(key), (colour.r, colour.g, colour.b)))
        return pose

    package = RIG_PATH.split(".", 1)[0]
    picture = os.path.join(unreal.Paths.project_content_dir(), package[len("/Game/"):] + "_Picture.svg")
    rig_picture.write_rig_picture(picture, [("at rest", rest_pose())], rig.get_name())
    print("picture:", os.path.normpath(picture))
