# Run inside the headless editor by scripts/demo (RIG_PATH, BODY_JSON and SCRIPTS_DIR are set before
# this runs): prints a summary of the Control Rig the build saved and draws its picture and writes its
# shapes next to it.
import re

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
    element_names = {str(key.name) for key in keys}
    feet = sorted(name[:-len("_ReverseFootTarget")] for name in element_names if name.endswith("_ReverseFootTarget"))
    rocking = [foot for foot in feet if foot + "_rock" in element_names]
    print("  reverse feet: %d (%s; rolling %d, rocking %d), toe rotations: %d, leg lock: %s" % (
        len(feet), ", ".join(feet) or "none", units("RigUnit_VNReverseFootRoll"), len(rocking), units("RigUnit_SetRotation"),
        "yes" if "LegLockConstrained" in element_names else "no"))
    fits = [node for name, node in sorted(by_name.items()) if name in forward and getattr(node, "get_script_struct", None)
            and node.get_script_struct() and node.get_script_struct().get_name() == "RigUnit_FitChainToSplineCurveItemArray"]
    chains = []
    for fit in fits:
        chain_id = str(fit.get_node_path())[:-len("_FitChainToSpline")]
        bone_count = str(fit.find_pin("Items").get_default_value()).count("Type=Bone")
        # The spline's points are the handles' places, an end or middle handle doubled.
        spline = by_name.get(chain_id + "_SplineFromPoints")
        readers = {node_of(source) for pin in (all_pins(spline) if spline is not None else [])
                   for source in pin.get_linked_source_pins()}
        handle_count = len({str(by_name[reader].find_pin("Item").get_default_value()) for reader in readers if reader in by_name})
        chains.append("%s: %d bones on %d handles" % (chain_id, bone_count, handle_count))
    print("  spline chains: %d (%s)" % (len(chains), "; ".join(chains) or "none"))
    swingers = sorted(name[len("FKX"):] for name in element_names if name.startswith("FKX") and "HipSwinger_M" in element_names)
    print("  hip swinger: %s" % ("turns " + ", ".join(swingers) + " about the first spine joint" if swingers else "none"))
    bendy = by_name.get("VNBendSolve")
    segments = str(bendy.find_pin("Segments").get_default_value()) if bendy is not None else ""
    bent = ["%s (%d bones, %d handles)" % (bones.split(",")[0].strip('"'), bones.count(",") + 1, handles.count("(Control="))
            for bones, handles in re.findall(r"Bones=\(([^)]*)\),Parameters=\([^)]*\),Handles=\(((?:\([^)]*\),?)*)\)", segments)]
    print("  bendy segments: %d (%s)" % (len(bent), "; ".join(bent) or "none"))

    # The rig run as the editor runs it: at rest every bone must stay where the mesh has it; posed,
    # the right arm in IK reaches for its moved control, the left elbow turns, the right fingers curl
    # and the right foot rolls onto its ball.
    import math
    import os
    import sys
    sys.path.insert(0, SCRIPTS_DIR)
    import hosteditor
    import rig_picture

    def vector(value):
        return (float(value.x), float(value.y), float(value.z))

    def angle(a, b):
        """The angle in degrees of the turn from rotation a to rotation b (well conditioned near 0)."""
        a, b = (a.x, a.y, a.z, a.w), (b.x, b.y, b.z, b.w)
        # The conjugate of a times b, whose vector part is sin(half the angle) times the axis.
        w = a[3] * b[3] + a[0] * b[0] + a[1] * b[1] + a[2] * b[2]
        x = a[3] * b[0] - a[0] * b[3] - a[1] * b[2] + a[2] * b[1]
        y = a[3] * b[1] + a[0] * b[2] - a[1] * b[3] - a[2] * b[0]
        z = a[3] * b[2] - a[0] * b[1] + a[1] * b[0] - a[2] * b[3]
        return math.degrees(2.0 * math.atan2(math.sqrt(x * x + y * y + z * z), abs(w)))

    bones = [key for key in keys if key.type == unreal.RigElementType.BONE]
    shapes = [key for key in keys if key.type == unreal.RigElementType.CONTROL
              and settings(key).animation_type != unreal.RigControlAnimationType.ANIMATION_CHANNEL]

    def evaluate(values):
        evaluation = hosteditor.RigEvaluation(rig)
        for name, value in values.items():
            evaluation.set_control_value(name, value)
        evaluation.run_forwards_solve(3)
        return evaluation

    import json
    from _vantorel_tool.body import nurbs
    with open(BODY_JSON, encoding="utf-8") as source:
        records = {record.get("name"): record for record in json.load(source)["rig"]["controls"] if isinstance(record, dict)}
    # The control-local lines of every control drawn with a tube of the rig's own shape library.
    shape_lines = {}
    for key in shapes:
        record = records.get(str(key.name))
        if record is not None and str(settings(key).shape_name).startswith("VN_"):
            shape_lines[str(key.name)] = (key, nurbs.vn_nurbs_control_polylines(record))

    def pose_of(evaluation):
        pose = rig_picture.RigPose()
        for key in bones:
            parent = rig.hierarchy.get_first_parent(key)
            has_parent = parent is not None and str(parent.name) not in ("", "None")
            pose.bones.append((str(key.name), vector(evaluation.global_transform(str(key.name)).translation),
                               vector(evaluation.global_transform(str(parent.name)).translation) if has_parent else None))
        for key in shapes:
            if evaluation.control_shape_visible(str(key.name)):
                colour = settings(key).shape_color
                pose.controls.append((str(key.name), vector(evaluation.global_transform(str(key.name), "Control").translation),
                                      (colour.r, colour.g, colour.b)))
                if str(key.name) in shape_lines:
                    placed = rig.hierarchy.get_local_control_shape_transform(key, True) * evaluation.global_transform(str(key.name), "Control")
                    pose.shapes.append((str(key.name), [[vector(placed.transform_location(unreal.Vector(*point))) for point in line]
                                                        for line in shape_lines[str(key.name)][1]], (colour.r, colour.g, colour.b)))
        return pose

    rest = evaluate({})
    report = rest.report()
    # Deviations in centimetres and degrees, compared as they are (the tolerance is 1e-3 of each).
    deviations = []
    for key in bones:
        reference, solved = rig.hierarchy.get_global_transform(key, True), rest.global_transform(str(key.name))
        deviations.append((math.dist(vector(reference.translation), vector(solved.translation)),
                           angle(reference.rotation, solved.rotation), str(key.name)))
    worst = max(deviations, key=lambda deviation: max(deviation[0], deviation[1]), default=(0.0, 0.0, "none"))
    print("rig run at rest: %d nodes executed, %d errors; largest deviation from the mesh's pose: %s %.6f cm, %.6f deg"
          % (report["nodes_executed"], len(report["errors"]), worst[2], worst[0], worst[1]))

    names = {str(key.name) for key in keys}
    posed = None
    if {"IKArm_R", "FKIKArm_R_FKIKBlend", "Wrist_R", "FKElbow_L", "Elbow_L"} <= names:
        wrist = rig.hierarchy.get_global_transform(unreal.RigElementKey(type=unreal.RigElementType.BONE, name="Wrist_R"), True)
        values = {"FKIKArm_R_FKIKBlend": 10.0,
                  "IKArm_R": unreal.EulerTransform(location=unreal.Vector(8.0, 10.0, -12.0), rotation=wrist.rotation.rotator()),
                  "FKElbow_L": unreal.EulerTransform(rotation=unreal.Rotator(roll=30.0))}
        if "Fingers_R_curl" in names:
            values["Fingers_R_curl"] = 5.0
        if "IKLeg_R_roll" in names:
            values["IKLeg_R_roll"] = 20.0
        spine = {"FKIKSpine_M_FKIKBlend", "IKSpine3_M", "Chest_M", "Spine1_M"} <= names
        if spine:
            values["FKIKSpine_M_FKIKBlend"] = 10.0
            values["IKSpine3_M"] = unreal.EulerTransform(location=unreal.Vector(0.0, 12.0, -4.0))
        bendy = {"BendShoulder_L", "ShoulderPart1_L", "Shoulder_L"} <= names
        posed = evaluate(values)
        reach = math.dist(vector(posed.global_transform("Wrist_R").translation),
                          vector(posed.global_transform("IKArm_R", "Control").translation))
        elbow = rig.hierarchy.get_global_transform(unreal.RigElementKey(type=unreal.RigElementType.BONE, name="Elbow_L"), True)
        print("IK reach test: Wrist_R within %.4f cm of its control" % reach)
        print("FK test: FKElbow_L turned 30 degrees, Elbow_L turned %.4f degrees"
              % angle(elbow.rotation, posed.global_transform("Elbow_L").rotation))
        if spine:
            start = rig.hierarchy.get_global_transform(unreal.RigElementKey(type=unreal.RigElementType.BONE, name="Spine1_M"), True)
            print("Spline IK test: chest handle moved 12.6 cm, Chest_M within %.4f cm of it, Spine1_M moved %.4f cm"
                  % (math.dist(vector(posed.global_transform("Chest_M").translation),
                               vector(posed.global_transform("IKSpine3_M", "Control").translation)),
                     math.dist(vector(start.translation), vector(posed.global_transform("Spine1_M").translation))))

        if bendy:
            bent = evaluate({"BendShoulder_L": unreal.EulerTransform(location=unreal.Vector(0.0, 0.0, 5.0))})

            def moved(bone):
                rest_place = rig.hierarchy.get_global_transform(unreal.RigElementKey(type=unreal.RigElementType.BONE, name=bone), True)
                return math.dist(vector(rest_place.translation), vector(bent.global_transform(bone).translation))
            print("Bendy test: BendShoulder_L moved 5 cm in its space, ShoulderPart1_L moved %.4f cm, Shoulder_L %.4f cm"
                  % (moved("ShoulderPart1_L"), moved("Shoulder_L")))

    # The face, when the rig has one: its sliders and handles, and the jaw pull opening the jaw.
    if "ctrlBox" in names and "JawPull_M" in names and "lowerLipJoint0_M" in names:
        box = unreal.RigElementKey(type=unreal.RigElementType.CONTROL, name="ctrlBox")
        sliders = [key for key in rig.hierarchy.get_children(box, False)
                   if settings(key).animation_type == unreal.RigControlAnimationType.ANIMATION_CONTROL]
        on_face = rig.hierarchy.get_children(unreal.RigElementKey(type=unreal.RigElementType.NULL, name="OnFacecontrols"), True)
        solver = next((node for node in nodes if str(node.get_name()) == "VNFaceSDKSolver"), None)
        asset = unreal.load_asset(str(solver.find_pin("FaceRigDataAsset").get_default_value())) if solver is not None else None
        drivers = list(asset.get_editor_property("drivers")) if asset is not None else []
        print("face: %d sliders in the control box, %d on-face handles; the solver reads %s: %d drivers, %d driven rows" % (
            len(sliders), sum(1 for key in on_face if key.type == unreal.RigElementType.CONTROL),
            asset.get_path_name() if asset is not None else "no asset", len(drivers),
            sum(len(list(driver.get_editor_property("driven"))) for driver in drivers)))
        opened = evaluate({"JawPull_M": unreal.Vector2D(0.0, -1.0)})
        lip = rig.hierarchy.get_global_transform(unreal.RigElementKey(type=unreal.RigElementType.BONE, name="lowerLipJoint0_M"), True)
        print("Face test: JawPull_M pulled down, lowerLipJoint0_M dropped %.4f cm"
              % (lip.translation.z - opened.global_transform("lowerLipJoint0_M").translation.z))

    # The rig's own shapes: the library the build made next to it, and its tubes as one Wavefront OBJ
    # with every shape where its control sits at rest, for any viewer.
    rig_name = rig.get_name()
    library_path = "%s/%s_VNShapes/%s_VNShapes" % (RIG_PATH.rsplit("/", 1)[0], rig_name, rig_name)
    library = unreal.load_asset(library_path)
    shape_count = len(library.get_editor_property("shapes")) if library is not None else 0
    obj_lines, offset, tubes = ["# the tube shapes of %s at rest" % rig_name], 0, 0
    for key, polylines in shape_lines.values():
        record = records[str(key.name)]
        vertices, indices = nurbs.vn_nurbs_build_tube_mesh(polylines, nurbs.vn_nurbs_tube_radius(polylines, nurbs.vn_nurbs_control_line_width(record)))
        placed = rig.hierarchy.get_global_control_shape_transform(key, True)
        obj_lines.append("o %s" % key.name)
        for x, y, z in vertices:
            point = placed.transform_location(unreal.Vector(x, y, z))
            obj_lines.append("v %.5f %.5f %.5f" % (point.x, point.y, point.z))
        obj_lines.extend("f %d %d %d" % tuple(offset + index + 1 for index in indices[i:i + 3]) for i in range(0, len(indices), 3))
        offset += len(vertices)
        tubes += 1
    package = RIG_PATH.split(".", 1)[0]
    obj_path = os.path.join(unreal.Paths.project_content_dir(), package[len("/Game/"):] + "_Shapes.obj")
    with open(obj_path, "w", encoding="utf-8") as stream:
        stream.write("\n".join(obj_lines) + "\n")
    print("shape library: %s, %d shapes; %d controls drawn with tubes, written to %s"
          % (library_path if library is not None else "none", shape_count, tubes, os.path.normpath(obj_path)))

    # A picture of the rig, front and side, at rest and posed, next to the saved rig.
    package = RIG_PATH.split(".", 1)[0]
    picture = os.path.join(unreal.Paths.project_content_dir(), package[len("/Game/"):] + "_Picture.svg")
    rows = [("at rest", pose_of(rest))] + ([("posed", pose_of(posed))] if posed is not None else [])
    rig_picture.write_rig_picture(picture, rows, rig.get_name())
    print("picture:", os.path.normpath(picture))
