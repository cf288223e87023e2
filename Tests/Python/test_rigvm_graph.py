"""The RigVM graph model and controller, the Control Rig blueprint and its factory, as the tool script
drives them through the editor's Python."""

import itertools

import pytest

_asset_numbers = itertools.count()

SET_TRANSFORM = "/Script/ControlRig.RigUnit_SetTransform"
PARENT_CONSTRAINT = "/Script/ControlRig.RigUnit_ParentConstraint"
FACE_SOLVER = "/Script/VantorelUnreal.RigUnit_VNFaceSDKSolver"
BENDY_SOLVER = "/Script/VantorelUnreal.RigUnit_VNBendySolver"
IF_NOTATION = "DISPATCH_RigVMDispatch_If(in Condition,in True,in False,out Result)"


@pytest.fixture
def rig(unreal):
    unreal.load_module("ControlRigDeveloper")
    path = "/Game/Tests/GraphRig%d" % next(_asset_numbers)
    return unreal.ControlRigBlueprintFactory.create_new_control_rig_asset(desired_package_path=path)


@pytest.fixture
def controller(rig):
    return rig.get_controller()


def origin(unreal):
    return unreal.Vector2D(0.0, 0.0)


def add_unit(unreal, controller, path, name=""):
    return controller.add_unit_node_from_struct_path(path, "Execute", origin(unreal), name)


# ---- pins ----

@pytest.mark.parametrize("path, cpp_type", [
    ("Value", "FTransform"),
    ("Value.Translation", "FVector"),
    ("Value.Translation.X", "double"),
    ("Value.Rotation.W", "double"),
    ("Value.Scale3D.Z", "double"),
    ("Item", "FRigElementKey"),
    ("Item.Type", "ERigElementType"),
    ("Item.Name", "FName"),
])
def test_struct_pins_have_sub_pins_by_path(unreal, controller, path, cpp_type):
    node = add_unit(unreal, controller, SET_TRANSFORM)
    pin = node.find_pin(path)
    assert pin is not None
    assert pin.get_cpp_type() == cpp_type
    assert pin.get_pin_path() == "RigUnit_SetTransform." + path
    assert controller.get_graph().find_pin("RigUnit_SetTransform." + path) == pin


def test_sub_pin_knows_its_parent_root_and_node(unreal, controller):
    node = add_unit(unreal, controller, SET_TRANSFORM)
    x = node.find_pin("Value.Translation.X")
    assert x.get_parent_pin() == node.find_pin("Value.Translation")
    assert x.get_root_pin() == node.find_pin("Value")
    assert x.get_node() == node
    assert x.get_segment_path() == "Translation.X"
    assert x.get_segment_path(include_root_pin=True) == "Value.Translation.X"
    assert node.find_pin("Value").find_sub_pin("Translation.X") == x
    assert [p.get_name() for p in node.find_pin("Item").get_sub_pins()] == ["Type", "Name"]


def test_unit_pins_take_direction_and_defaults_from_the_struct(unreal, controller):
    node = add_unit(unreal, controller, FACE_SOLVER)
    assert [p.get_name() for p in node.get_pins()] == ["ExecuteContext", "FaceRigDataAsset", "FaceJoint", "CtrlBoxAttach", "FaceScaler"]
    execute = node.find_pin("ExecuteContext")
    assert execute.get_direction() == unreal.RigVMPinDirection.IO
    assert execute.get_cpp_type() == "FControlRigExecuteContext"
    assert node.find_pin("FaceScaler").get_direction() == unreal.RigVMPinDirection.INPUT
    assert node.find_pin("FaceJoint").get_default_value() == '(Type=Bone,Name="FaceJoint_M")'
    assert node.find_pin("FaceJoint.Name").get_default_value() == "FaceJoint_M"
    assert node.find_pin("FaceScaler").get_default_value() == "1.000000"
    assert node.get_node_title() == "VN Face SDK Solver"


def test_unknown_pin_paths_find_nothing(unreal, controller):
    node = add_unit(unreal, controller, SET_TRANSFORM)
    assert node.find_pin("Value.Nope") is None
    assert controller.get_graph().find_pin("NoSuchNode.Value") is None
    assert controller.get_graph().find_pin("RigUnit_SetTransform") is None


# ---- defaults ----

@pytest.mark.parametrize("path, text, expected", [
    ("FaceScaler", "2.5", "2.500000"),
    ("FaceJoint", '(Type=Bone,Name="Head")', '(Type=Bone,Name="Head")'),
    ("FaceJoint.Name", "Neck", "Neck"),
    ("FaceJoint.Type", "Null", "Null"),
    ("FaceJoint", "(Name=\"Jaw\")", '(Type=Bone,Name="Jaw")'),
])
def test_defaults_set_and_read_back_in_text_form(unreal, controller, path, text, expected):
    add_unit(unreal, controller, FACE_SOLVER)
    assert controller.set_pin_default_value("RigUnit_VNFaceSDKSolver." + path, text) is True
    assert controller.get_pin_default_value("RigUnit_VNFaceSDKSolver." + path) == expected


def test_setting_a_sub_pin_changes_the_composed_parent_value(unreal, controller):
    add_unit(unreal, controller, SET_TRANSFORM)
    assert controller.set_pin_default_value("RigUnit_SetTransform.Value.Translation.Y", "7")
    value = controller.get_pin_default_value("RigUnit_SetTransform.Value.Translation")
    assert value == "(X=0.000000,Y=7.000000,Z=0.000000)"


@pytest.mark.parametrize("path, text", [
    ("FaceScaler", "abc"),
    ("FaceScaler", ""),
    ("FaceJoint", "(Type=Bone,Name=\"Head\""),
    ("FaceJoint", "(Colour=Red)"),
    ("FaceJoint.Type", "NotAType"),
    ("ExecuteContext", "()"),
])
def test_bad_default_text_is_refused_and_the_pin_keeps_its_value(unreal, controller, path, text):
    add_unit(unreal, controller, FACE_SOLVER)
    before = controller.get_pin_default_value("RigUnit_VNFaceSDKSolver." + path)
    assert controller.set_pin_default_value("RigUnit_VNFaceSDKSolver." + path, text) is False
    assert controller.get_pin_default_value("RigUnit_VNFaceSDKSolver." + path) == before


def test_default_for_an_unknown_pin_is_refused(unreal, controller):
    add_unit(unreal, controller, FACE_SOLVER)
    assert controller.set_pin_default_value("RigUnit_VNFaceSDKSolver.Nope", "1") is False
    assert controller.set_pin_default_value("Nobody.FaceScaler", "1") is False


def test_reset_returns_a_pin_to_the_struct_default(unreal, controller):
    add_unit(unreal, controller, FACE_SOLVER)
    controller.set_pin_default_value("RigUnit_VNFaceSDKSolver.FaceJoint.Name", "Other")
    assert controller.reset_pin_default_value("RigUnit_VNFaceSDKSolver.FaceJoint.Name")
    assert controller.get_pin_default_value("RigUnit_VNFaceSDKSolver.FaceJoint.Name") == "FaceJoint_M"


def test_unit_node_struct_default_follows_its_pins(unreal, controller):
    node = add_unit(unreal, controller, FACE_SOLVER)
    controller.set_pin_default_value("RigUnit_VNFaceSDKSolver.FaceScaler", "3")
    assert "FaceScaler=3.000000" in node.get_struct_default_value()


def test_a_unit_node_can_start_from_a_struct_text_and_a_text_that_does_not_read_adds_nothing(unreal, controller):
    struct = unreal.RigUnit_VNFaceSDKSolver.static_struct()
    node = controller.add_unit_node_with_defaults(struct, '(FaceRigDataAsset="/Game/A.A",FaceScaler=2.5)', "Execute",
                                                  origin(unreal), "Solver")
    assert controller.get_pin_default_value("Solver.FaceRigDataAsset") == "/Game/A.A"
    assert controller.get_pin_default_value("Solver.FaceScaler") == "2.500000"
    assert controller.get_pin_default_value("Solver.FaceJoint.Name") == "FaceJoint_M", "members the text leaves out keep their default"
    assert node is not None
    assert controller.add_unit_node_with_defaults(struct, "(FaceScaler=lots)", "Execute", origin(unreal), "Broken") is None
    assert [str(n.get_name()) for n in controller.get_graph().get_nodes()].count("Broken") == 0


# ---- arrays ----

def test_array_pins_grow_with_element_sub_pins(unreal, controller):
    add_unit(unreal, controller, PARENT_CONSTRAINT)
    assert controller.add_array_pin("RigUnit_ParentConstraint.Parents") == "RigUnit_ParentConstraint.Parents.0"
    assert controller.add_array_pin("RigUnit_ParentConstraint.Parents", "(Item=(Type=Bone,Name=\"B\"),Weight=0.5)") == "RigUnit_ParentConstraint.Parents.1"
    graph = controller.get_graph()
    parents = graph.find_pin("RigUnit_ParentConstraint.Parents")
    assert parents.is_array() and parents.get_array_size() == 2
    assert graph.find_pin("RigUnit_ParentConstraint.Parents.1.Weight").get_default_value() == "0.500000"
    assert graph.find_pin("RigUnit_ParentConstraint.Parents.0.Item.Name") is not None
    assert controller.set_pin_default_value("RigUnit_ParentConstraint.Parents.0.Weight", "0.25")
    assert controller.get_pin_default_value("RigUnit_ParentConstraint.Parents.0.Weight") == "0.250000"


def test_array_text_resizes_the_array_pin(unreal, controller):
    add_unit(unreal, controller, BENDY_SOLVER)
    assert controller.set_pin_default_value("RigUnit_VNBendySolver.SnapshotBones", "(A,\"B\",C)")
    pin = controller.get_graph().find_pin("RigUnit_VNBendySolver.SnapshotBones")
    assert pin.get_array_size() == 3
    assert pin.get_default_value() == '("A","B","C")'
    assert controller.set_pin_default_value("RigUnit_VNBendySolver.SnapshotBones", "()")
    assert pin.get_array_size() == 0


@pytest.mark.parametrize("size", [0, 1, 4])
def test_set_array_pin_size(unreal, controller, size):
    add_unit(unreal, controller, PARENT_CONSTRAINT)
    controller.add_array_pin("RigUnit_ParentConstraint.Parents")
    assert controller.set_array_pin_size("RigUnit_ParentConstraint.Parents", size)
    assert controller.get_graph().find_pin("RigUnit_ParentConstraint.Parents").get_array_size() == size


def test_inserting_an_element_moves_later_values_and_links(unreal, controller):
    add_unit(unreal, controller, BENDY_SOLVER)
    controller.set_pin_default_value("RigUnit_VNBendySolver.SnapshotBones", "(A,B)")
    assert controller.insert_array_pin("RigUnit_VNBendySolver.SnapshotBones", 0, "Z") == "RigUnit_VNBendySolver.SnapshotBones.0"
    assert controller.get_pin_default_value("RigUnit_VNBendySolver.SnapshotBones") == '("Z","A","B")'
    assert controller.remove_array_pin("RigUnit_VNBendySolver.SnapshotBones.1")
    assert controller.get_pin_default_value("RigUnit_VNBendySolver.SnapshotBones") == '("Z","B")'


@pytest.mark.parametrize("path", ["RigUnit_ParentConstraint.Child", "RigUnit_ParentConstraint.Nope"])
def test_array_operations_refuse_pins_that_are_not_arrays(unreal, controller, path):
    add_unit(unreal, controller, PARENT_CONSTRAINT)
    assert controller.add_array_pin(path) == ""
    assert controller.set_array_pin_size(path, 2) is False


def test_array_pin_size_cannot_go_negative(unreal, controller):
    add_unit(unreal, controller, PARENT_CONSTRAINT)
    assert controller.set_array_pin_size("RigUnit_ParentConstraint.Parents", -1) is False


# ---- links ----

def test_links_join_output_to_input_and_read_back(unreal, controller, rig):
    begin = rig.get_default_model().find_node_by_name("RigUnit_BeginExecution")
    add_unit(unreal, controller, SET_TRANSFORM)
    assert controller.add_link("RigUnit_BeginExecution.ExecuteContext", "RigUnit_SetTransform.ExecuteContext")
    graph = controller.get_graph()
    [link] = graph.get_links()
    assert link.get_source_pin() == begin.find_pin("ExecuteContext")
    assert link.get_target_pin().get_pin_path() == "RigUnit_SetTransform.ExecuteContext"
    target = graph.find_pin("RigUnit_SetTransform.ExecuteContext")
    assert target.get_linked_source_pins() == [begin.find_pin("ExecuteContext")]
    assert begin.find_pin("ExecuteContext").is_linked_to(target)
    assert graph.find_node_by_name("RigUnit_SetTransform").get_linked_source_nodes() == [begin]
    assert graph.find_link("RigUnit_BeginExecution.ExecuteContext -> RigUnit_SetTransform.ExecuteContext") == link


@pytest.mark.parametrize("source, target", [
    ("RigUnit_VNFaceSDKSolver.Nope", "RigUnit_SetTransform.Item"),
    ("RigUnit_VNFaceSDKSolver.FaceJoint", "Nobody.Item"),
    ("RigUnit_SetTransform.Item", "RigUnit_VNFaceSDKSolver.FaceJoint"),  # input to input
    ("RigUnit_VNFaceSDKSolver.FaceScaler", "RigUnit_SetTransform.Item"),  # float into a key
    ("RigUnit_SetTransform.ExecuteContext", "RigUnit_SetTransform.Item"),  # same node
    ("RigUnit_VNFaceSDKSolver.ExecuteContext", "RigUnit_SetTransform.Item"),  # execution into data
])
def test_refused_links_return_false_and_add_nothing(unreal, controller, source, target):
    add_unit(unreal, controller, FACE_SOLVER)
    add_unit(unreal, controller, SET_TRANSFORM)
    before = len(controller.get_graph().get_links())
    assert controller.add_link(source, target) is False
    assert len(controller.get_graph().get_links()) == before


def test_links_that_would_make_a_cycle_are_refused(unreal, controller):
    add_unit(unreal, controller, SET_TRANSFORM, "A")
    add_unit(unreal, controller, SET_TRANSFORM, "B")
    assert controller.add_link("A.ExecuteContext", "B.ExecuteContext")
    assert controller.add_link("B.ExecuteContext", "A.ExecuteContext") is False


def test_a_new_link_into_an_input_replaces_the_old_one(unreal, controller):
    add_unit(unreal, controller, FACE_SOLVER, "F1")
    add_unit(unreal, controller, FACE_SOLVER, "F2")
    add_unit(unreal, controller, "/Script/ControlRig.RigUnit_GetTransform", "Get")
    add_unit(unreal, controller, SET_TRANSFORM, "Set")
    graph = controller.get_graph()
    assert controller.add_link("Get.Transform", "Set.Value")
    assert controller.add_link("Get.Transform.Translation", "Set.Value.Translation") is True
    assert [l.get_pin_path_representation() for l in graph.get_links()] == ["Get.Transform.Translation -> Set.Value.Translation"]
    assert controller.add_link("Get.Transform", "Set.Value")
    assert [l.get_pin_path_representation() for l in graph.get_links()] == ["Get.Transform -> Set.Value"]


def test_an_execution_output_keeps_one_link(unreal, controller):
    add_unit(unreal, controller, SET_TRANSFORM, "A")
    add_unit(unreal, controller, SET_TRANSFORM, "B")
    assert controller.add_link("RigUnit_BeginExecution.ExecuteContext", "A.ExecuteContext")
    assert controller.add_link("RigUnit_BeginExecution.ExecuteContext", "B.ExecuteContext")
    assert [l.get_target_pin().get_pin_path() for l in controller.get_graph().get_links()] == ["B.ExecuteContext"]


def test_break_link_removes_only_that_link(unreal, controller):
    add_unit(unreal, controller, SET_TRANSFORM, "A")
    assert controller.add_link("RigUnit_BeginExecution.ExecuteContext", "A.ExecuteContext")
    assert controller.break_link("RigUnit_BeginExecution.ExecuteContext", "A.Item") is False
    assert controller.break_link("RigUnit_BeginExecution.ExecuteContext", "A.ExecuteContext")
    assert controller.get_graph().get_links() == []


# ---- wild cards and templates ----

def test_if_dispatch_has_wild_cards_that_resolve_together(unreal, controller):
    node = controller.add_template_node(IF_NOTATION, origin(unreal), "")
    assert node.get_name() == "DISPATCH_RigVMDispatch_If"
    assert isinstance(node, unreal.RigVMDispatchNode)
    assert node.get_notation() == IF_NOTATION
    assert [p.is_wild_card() for p in node.get_pins()] == [False, True, True, True]
    assert not node.is_resolved()
    assert controller.resolve_wild_card_pin(node.get_name() + ".Result", "FVector", "/Script/CoreUObject.Vector")
    assert [p.get_cpp_type() for p in node.get_pins()] == ["bool", "FVector", "FVector", "FVector"]
    assert node.is_resolved()
    assert node.find_pin("True.X") is not None


def test_linking_into_a_wild_card_resolves_it(unreal, controller):
    add_unit(unreal, controller, "/Script/ControlRig.RigUnit_GetTransform", "Get")
    node = controller.add_template_node(IF_NOTATION, origin(unreal), "")
    assert controller.add_link("Get.Transform", node.get_name() + ".True")
    assert node.find_pin("Result").get_cpp_type() == "FTransform"
    assert node.find_pin("True").get_linked_source_pins()[0].get_pin_path() == "Get.Transform"


@pytest.mark.parametrize("cpp_type, object_path", [
    ("FVector", "/Script/CoreUObject.NoSuchStruct"),
    ("NotAType", ""),
    ("FControlRigExecuteContext", "/Script/ControlRig.ControlRigExecuteContext"),
])
def test_wild_cards_refuse_types_they_cannot_take(unreal, controller, cpp_type, object_path):
    node = controller.add_template_node(IF_NOTATION, origin(unreal), "")
    assert controller.resolve_wild_card_pin(node.get_name() + ".Result", cpp_type, object_path) is False
    assert node.find_pin("Result").is_wild_card()


def test_template_of_several_units_resolves_to_one_of_them(unreal, controller):
    node = controller.add_template_node("Add::Execute(in A,in B,out Result)", origin(unreal), "")
    assert [p.is_wild_card() for p in node.get_pins()] == [True, True, True]
    assert node.get_script_struct() is None
    assert controller.resolve_wild_card_pin("Add.A", "FVector", "/Script/CoreUObject.Vector")
    assert node.is_resolved()
    assert node.get_script_struct().get_name() == "RigVMFunction_MathVectorAdd"
    assert controller.resolve_wild_card_pin("Add.B", "float", "") is False


@pytest.mark.parametrize("notation, pins", [
    ("Not::Execute(in Value,out Result)", ["Value", "Result"]),
    ("SetControlVisibility::Execute(in Item,in Pattern,in bVisible)", ["ExecuteContext", "Item", "Pattern", "bVisible"]),
])
def test_template_with_one_unit_becomes_a_resolved_unit_node(unreal, controller, notation, pins):
    node = controller.add_template_node(notation, origin(unreal), "")
    assert isinstance(node, unreal.RigVMUnitNode)
    assert node.is_resolved()
    assert node.get_notation() == notation
    assert [p.get_name() for p in node.get_pins()][:len(pins)] == pins


def test_unknown_templates_are_refused(unreal, controller):
    assert controller.add_template_node("Nope::Execute(in A)", origin(unreal), "") is None
    assert controller.add_template_node("DISPATCH_Nope()", origin(unreal), "") is None


def test_array_iterator_node_has_the_iterator_pins(unreal, controller):
    node = controller.add_array_node_from_object_path(unreal.RigVMOpCode.ARRAY_ITERATOR, "FRigElementKey", "/Script/ControlRig.RigElementKey", origin(unreal), "")
    pins = {p.get_name(): (p.get_cpp_type(), p.get_direction()) for p in node.get_pins()}
    direction = unreal.RigVMPinDirection
    assert pins == {
        "ExecuteContext": ("FControlRigExecuteContext", direction.IO),
        "Array": ("TArray<FRigElementKey>", direction.INPUT),
        "Element": ("FRigElementKey", direction.OUTPUT),
        "Index": ("int32", direction.OUTPUT),
        "Count": ("int32", direction.OUTPUT),
        "Ratio": ("float", direction.OUTPUT),
        "Completed": ("FControlRigExecuteContext", direction.OUTPUT),
    }
    assert node.get_node_title() == "For Each"


def test_array_node_refuses_an_unknown_element_type(unreal, controller):
    assert controller.add_array_node_from_object_path(unreal.RigVMOpCode.ARRAY_ITERATOR, "FRigElementKey", "/Script/ControlRig.Nope", origin(unreal), "") is None


def test_branch_node_is_a_control_flow_unit(unreal, controller):
    node = controller.add_branch_node(origin(unreal), "")
    assert node.get_script_struct().get_name() == "RigVMFunction_ControlFlowBranch"
    assert node.find_pin("Condition").get_cpp_type() == "bool"
    assert node.find_pin("True").get_cpp_type() == "FControlRigExecuteContext"


# ---- nodes ----

def test_nodes_are_named_uniquely_after_their_struct(unreal, controller):
    names = [add_unit(unreal, controller, SET_TRANSFORM).get_name() for _ in range(3)]
    assert names == ["RigUnit_SetTransform", "RigUnit_SetTransform_1", "RigUnit_SetTransform_2"]
    assert add_unit(unreal, controller, SET_TRANSFORM, "My.Node").get_name() == "My_Node"
    assert add_unit(unreal, controller, SET_TRANSFORM, "RigUnit_SetTransform").get_name() == "RigUnit_SetTransform_3"


def test_removing_a_node_removes_its_links(unreal, controller):
    add_unit(unreal, controller, SET_TRANSFORM, "A")
    add_unit(unreal, controller, SET_TRANSFORM, "B")
    controller.add_link("RigUnit_BeginExecution.ExecuteContext", "A.ExecuteContext")
    controller.add_link("A.ExecuteContext", "B.ExecuteContext")
    assert controller.remove_node_by_name("A")
    graph = controller.get_graph()
    assert graph.get_links() == []
    assert graph.find_node_by_name("A") is None
    assert controller.remove_node_by_name("A") is False
    # The freed name can be used again.
    assert add_unit(unreal, controller, SET_TRANSFORM, "A").get_name() == "A"


def test_renaming_a_node_keeps_its_links(unreal, controller):
    node = add_unit(unreal, controller, SET_TRANSFORM, "A")
    controller.add_link("RigUnit_BeginExecution.ExecuteContext", "A.ExecuteContext")
    assert controller.rename_node(node, "Renamed")
    [link] = controller.get_graph().get_links()
    assert link.get_target_pin().get_pin_path() == "Renamed.ExecuteContext"
    assert controller.rename_node(node, "RigUnit_BeginExecution") is False
    assert controller.rename_node(node, "bad.name") is False


def test_lookups_follow_removals_renames_and_moved_array_elements(unreal, controller):
    graph = controller.get_graph()
    names = [add_unit(unreal, controller, SET_TRANSFORM).get_name() for _ in range(4)]
    assert controller.remove_node_by_name(names[1])
    # The lowest free name comes back once it is freed, and only then.
    assert add_unit(unreal, controller, SET_TRANSFORM).get_name() == names[1]
    assert add_unit(unreal, controller, SET_TRANSFORM).get_name() == "RigUnit_SetTransform_4"
    renamed = graph.find_node_by_name(names[2])
    assert controller.rename_node(renamed, "Moved")
    assert graph.find_node_by_name(names[2]) is None and graph.find_node_by_name("Moved") == renamed
    assert add_unit(unreal, controller, SET_TRANSFORM).get_name() == names[2]

    # Links are found from either pin, and go with a removed link or node.
    assert controller.add_link("RigUnit_BeginExecution.ExecuteContext", "Moved.ExecuteContext")
    assert controller.add_link("Moved.ExecuteContext", names[0] + ".ExecuteContext")
    begin = graph.find_pin("RigUnit_BeginExecution.ExecuteContext")
    assert [str(p.get_pin_path()) for p in begin.get_linked_target_pins()] == ["Moved.ExecuteContext"]
    # Relinking an execution output moves its link; a cycle is refused.
    assert controller.add_link("RigUnit_BeginExecution.ExecuteContext", names[3] + ".ExecuteContext")
    assert graph.find_pin("Moved.ExecuteContext").get_linked_source_pins() == []
    assert controller.add_link(names[0] + ".ExecuteContext", "Moved.ExecuteContext") is False
    assert controller.remove_node_by_name(names[0])
    assert graph.find_pin("Moved.ExecuteContext").get_linked_target_pins() == []

    # Links on array elements follow the elements when one is removed before them.
    constraint = add_unit(unreal, controller, PARENT_CONSTRAINT, "C")
    assert controller.set_pin_default_value("C.Parents", "((),(),())", True)
    getter = add_unit(unreal, controller, "/Script/ControlRig.RigUnit_GetTransform", "G")
    assert controller.add_link("G.Transform.Translation.X", "C.Parents.2.Weight")
    assert controller.remove_array_pin("C.Parents.0")
    weight = graph.find_pin("C.Parents.1.Weight")
    assert [str(p.get_pin_path()) for p in weight.get_linked_source_pins()] == ["G.Transform.Translation.X"]
    assert graph.find_pin("G.Transform.Translation.X").get_linked_target_pins() == [weight]
    assert constraint.find_pin("Parents").get_array_size() == 2


def test_position_size_colour_and_expansion(unreal, controller):
    node = add_unit(unreal, controller, SET_TRANSFORM)
    assert controller.set_node_position_by_name(node.get_fname(), unreal.Vector2D(10.0, 20.0))
    assert node.get_position() == unreal.Vector2D(10.0, 20.0)
    collapsed = node.get_size()
    assert controller.set_pin_expansion("RigUnit_SetTransform.Value", True)
    assert node.find_pin("Value").is_expanded()
    assert node.get_size().y == collapsed.y + 3 * 24.0
    assert controller.set_node_size(node, unreal.Vector2D(500.0, 90.0))
    assert node.get_size() == unreal.Vector2D(500.0, 90.0)
    assert controller.set_node_position_by_name("Nobody", unreal.Vector2D(0.0, 0.0)) is False


def test_comment_node_keeps_text_size_and_colour(unreal, controller):
    node = controller.add_comment_node("Arms", unreal.Vector2D(1.0, 2.0), unreal.Vector2D(300.0, 200.0), unreal.LinearColor(1.0, 0.0, 0.0, 1.0), "")
    assert node.get_name() == "CommentNode"
    assert node.get_comment_text() == "Arms"
    assert node.get_size() == unreal.Vector2D(300.0, 200.0)
    assert node.get_node_color() == unreal.LinearColor(1.0, 0.0, 0.0, 1.0)
    assert node.get_pins() == []


def test_add_unit_node_refuses_missing_and_abstract_structs(unreal, controller):
    assert controller.add_unit_node_from_struct_path("/Script/ControlRig.Nope", "Execute", origin(unreal), "") is None
    assert controller.add_unit_node(unreal.RigUnit.static_struct(), "Execute", origin(unreal), "") is None
    assert controller.add_unit_node_from_struct_path(SET_TRANSFORM, "Nope", origin(unreal), "") is None


# ---- blueprint and factory ----

def test_new_rig_is_a_public_asset_with_begin_execution(unreal, rig):
    model = rig.get_default_model()
    assert rig.get_path_name().startswith("/Game/Tests/GraphRig")
    [begin] = model.get_nodes()
    assert begin.get_node_title() == "Forwards Solve"
    assert begin.is_event()
    assert model.get_graph_name() == "RigVMModel"
    assert rig.get_model() == model
    assert rig.get_all_models() == [model]


def test_blueprint_controllers_are_per_graph_and_stable(unreal, rig):
    controller = rig.get_controller()
    assert controller.get_graph() == rig.get_default_model()
    assert rig.get_controller(rig.get_default_model()) == controller
    assert rig.get_controller_by_name("") == controller
    assert rig.get_controller_by_name("RigVMModel") == controller
    assert rig.get_controller_by_name("NoSuchGraph") is None


def test_blueprint_hierarchy_and_its_controller(unreal, rig):
    hierarchy = rig.hierarchy
    assert hierarchy is not None and hierarchy.get_outer() == rig
    controller = rig.get_hierarchy_controller()
    assert unreal.ControlRigBlueprintLibrary.get_hierarchy(rig) == hierarchy
    assert unreal.ControlRigBlueprintLibrary.get_hierarchy_controller(rig) == controller


def test_blueprint_editor_properties(unreal, rig):
    settings = rig.get_editor_property("rig_graph_display_settings")
    settings.node_run_limit = 1
    rig.set_editor_property("rig_graph_display_settings", settings)
    assert rig.get_editor_property("rig_graph_display_settings").node_run_limit == 1
    rig.set_editor_property("blueprint_description", "Body rig")
    assert rig.get_editor_property("blueprint_description") == "Body rig"
    assert list(rig.get_editor_property("shape_libraries")) == []


def test_auto_recompile_switches(unreal, rig):
    assert rig.get_auto_vm_recompile() is True
    rig.set_auto_vm_recompile(False)
    assert rig.get_auto_vm_recompile() is False
    rig.recompile_vm()
    rig.set_auto_vm_recompile(True)


def test_preview_mesh_round_trips(unreal, rig):
    mesh = unreal.new_object(unreal.SkeletalMesh, None, "PreviewMesh")
    rig.set_preview_mesh(mesh)
    assert rig.get_preview_mesh() == mesh
    assert unreal.ControlRigBlueprintLibrary.get_preview_mesh(rig) == mesh


@pytest.mark.parametrize("path", ["", "Game/NoRoot", "/Game/", "/Game/Bad Name", "/Game/With.Dot", "/OnlyRoot"])
def test_factory_refuses_invalid_package_paths(unreal, path):
    unreal.load_module("ControlRigDeveloper")
    assert unreal.ControlRigBlueprintFactory.create_new_control_rig_asset(desired_package_path=path) is None


def test_factory_refuses_a_path_that_holds_an_asset(unreal, rig):
    path = rig.get_path_name().split(".")[0]
    assert unreal.ControlRigBlueprintFactory.create_new_control_rig_asset(desired_package_path=path) is None
    assert rig.get_default_model() is not None


def test_factory_refuses_modular_rigs_and_other_objects(unreal, rig):
    assert unreal.ControlRigBlueprintFactory.create_new_control_rig_asset("/Game/Tests/Modular", True) is None
    assert unreal.ControlRigBlueprintFactory.create_control_rig_from_skeletal_mesh_or_skeleton(rig) is None


# ---- more on pins and links ----

def test_pin_queries_describe_the_pin(unreal, controller):
    node = add_unit(unreal, controller, PARENT_CONSTRAINT)
    controller.add_array_pin("RigUnit_ParentConstraint.Parents")
    graph = controller.get_graph()
    parents = graph.find_pin("RigUnit_ParentConstraint.Parents")
    element = graph.find_pin("RigUnit_ParentConstraint.Parents.0")
    assert parents.is_array() and not parents.is_struct()
    assert element.is_array_element() and element.is_struct()
    assert element.get_cpp_type() == "FConstraintParent"
    assert element.get_cpp_type_object().get_name() == "ConstraintParent"
    assert node.find_pin("ExecuteContext").is_execute_context()
    assert node.find_pin("Child").get_pin_index() == 1
    assert node.find_pin("Child.Name").get_pin_index() == 1
    paths = [p.get_segment_path(True) for p in node.get_all_pins_recursively()]
    assert paths.index("Parents") < paths.index("Parents.0") < paths.index("Parents.0.Item") < paths.index("Parents.0.Item.Type")


def test_node_and_graph_indices_and_paths(unreal, controller, rig):
    node = add_unit(unreal, controller, SET_TRANSFORM)
    graph = rig.get_default_model()
    assert node.get_node_index() == 1
    assert node.get_graph() == graph
    assert node.get_node_path() == "RigUnit_SetTransform"
    assert graph.find_node("RigUnit_SetTransform") == node
    assert node.is_mutable() and not node.is_pure() and not node.is_event()
    getter = add_unit(unreal, controller, "/Script/ControlRig.RigUnit_GetTransform", "Get")
    assert getter.is_pure()
    assert controller.add_link("Get.Transform", "RigUnit_SetTransform.Value")
    [link] = graph.get_links()
    assert link.get_link_index() == 0
    assert link.get_graph() == graph


def test_links_of_sub_pins_show_on_recursive_queries(unreal, controller):
    add_unit(unreal, controller, "/Script/ControlRig.RigUnit_GetTransform", "Get")
    add_unit(unreal, controller, SET_TRANSFORM, "Set")
    assert controller.add_link("Get.Transform.Translation", "Set.Value.Translation")
    graph = controller.get_graph()
    value = graph.find_pin("Set.Value")
    assert value.get_source_links() == []
    assert len(value.get_source_links(True)) == 1
    assert value.get_linked_source_pins(True) == [graph.find_pin("Get.Transform.Translation")]
    assert graph.find_pin("Get.Transform").get_linked_target_pins(True) == [graph.find_pin("Set.Value.Translation")]
    assert len(graph.find_pin("Set.Value.Translation").get_links()) == 1


def test_double_and_float_pins_link(unreal, controller):
    add_unit(unreal, controller, "/Script/ControlRig.RigUnit_GetTransform", "Get")
    add_unit(unreal, controller, FACE_SOLVER, "Face")
    assert controller.add_link("Get.Transform.Translation.X", "Face.FaceScaler")


def test_break_all_links_of_an_input(unreal, controller):
    add_unit(unreal, controller, SET_TRANSFORM, "A")
    add_unit(unreal, controller, SET_TRANSFORM, "B")
    controller.add_link("RigUnit_BeginExecution.ExecuteContext", "A.ExecuteContext")
    controller.add_link("A.ExecuteContext", "B.ExecuteContext")
    assert controller.break_all_links("B.ExecuteContext", True)
    assert [l.get_target_pin().get_pin_path() for l in controller.get_graph().get_links()] == ["A.ExecuteContext"]
    assert controller.break_all_links("B.ExecuteContext", True) is False


def test_removing_an_array_element_moves_the_links_of_later_elements(unreal, controller):
    add_unit(unreal, controller, "/Script/ControlRig.RigUnit_GetTransform", "Get")
    add_unit(unreal, controller, PARENT_CONSTRAINT, "Constraint")
    controller.set_array_pin_size("Constraint.Parents", 3)
    assert controller.add_link("Get.Transform.Translation.X", "Constraint.Parents.2.Weight")
    assert controller.add_link("Get.Transform.Translation.Y", "Constraint.Parents.0.Weight")
    assert controller.remove_array_pin("Constraint.Parents.0")
    assert [l.get_pin_path_representation() for l in controller.get_graph().get_links()] == ["Get.Transform.Translation.X -> Constraint.Parents.1.Weight"]
    assert controller.get_graph().find_pin("Constraint.Parents").get_array_size() == 2


def test_shrinking_an_array_drops_the_links_of_removed_elements(unreal, controller):
    add_unit(unreal, controller, "/Script/ControlRig.RigUnit_GetTransform", "Get")
    add_unit(unreal, controller, PARENT_CONSTRAINT, "Constraint")
    controller.set_array_pin_size("Constraint.Parents", 2)
    controller.add_link("Get.Transform.Translation.X", "Constraint.Parents.1.Weight")
    assert controller.clear_array_pin("Constraint.Parents")
    assert controller.get_graph().get_links() == []


@pytest.mark.parametrize("index", [-2, 3])
def test_insert_array_pin_refuses_indices_outside_the_array(unreal, controller, index):
    add_unit(unreal, controller, BENDY_SOLVER)
    controller.set_pin_default_value("RigUnit_VNBendySolver.SnapshotBones", "(A,B)")
    assert controller.insert_array_pin("RigUnit_VNBendySolver.SnapshotBones", index, "") == ""
    assert controller.get_graph().find_pin("RigUnit_VNBendySolver.SnapshotBones").get_array_size() == 2


def test_add_array_pin_refuses_a_bad_element_value_and_keeps_the_size(unreal, controller):
    add_unit(unreal, controller, PARENT_CONSTRAINT)
    assert controller.add_array_pin("RigUnit_ParentConstraint.Parents", "(Weight=heavy)") == ""
    assert controller.get_graph().find_pin("RigUnit_ParentConstraint.Parents").get_array_size() == 0


def test_array_default_without_resizing_sets_only_existing_elements(unreal, controller):
    add_unit(unreal, controller, BENDY_SOLVER)
    controller.set_pin_default_value("RigUnit_VNBendySolver.SnapshotBones", "(A,B)")
    assert controller.set_pin_default_value("RigUnit_VNBendySolver.SnapshotBones", "(X,Y,Z)", False)
    assert controller.get_pin_default_value("RigUnit_VNBendySolver.SnapshotBones") == '("X","Y")'


# ---- more on templates and dispatch nodes ----

@pytest.mark.parametrize("op_code, pins", [
    ("ARRAY_GET_NUM", {"Array": "TArray<FName>", "Num": "int32"}),
    ("ARRAY_GET_AT_INDEX", {"Array": "TArray<FName>", "Index": "int32", "Element": "FName"}),
    ("ARRAY_ADD", {"ExecuteContext": "FControlRigExecuteContext", "Array": "TArray<FName>", "Element": "FName", "Index": "int32"}),
])
def test_array_nodes_of_other_op_codes(unreal, controller, op_code, pins):
    node = controller.add_array_node_from_object_path(getattr(unreal.RigVMOpCode, op_code), "FName", "", origin(unreal), "")
    assert {p.get_name(): p.get_cpp_type() for p in node.get_pins()} == pins
    assert node.is_resolved()


@pytest.mark.parametrize("op_code, cpp_type, path", [
    ("ARRAY_REVERSE", "FName", ""),
    ("COPY", "FName", ""),
    ("ARRAY_ITERATOR", "TArray<TArray<FName>>", ""),
    ("ARRAY_ITERATOR", "NotAType", ""),
])
def test_array_nodes_refuse_unknown_op_codes_and_element_types(unreal, controller, op_code, cpp_type, path):
    assert controller.add_array_node_from_object_path(getattr(unreal.RigVMOpCode, op_code), cpp_type, path, origin(unreal), "") is None
    assert len(controller.get_graph().get_nodes()) == 1


def test_array_node_takes_the_array_type_as_well_as_the_element_type(unreal, controller):
    node = controller.add_array_node_from_object_path(unreal.RigVMOpCode.ARRAY_ITERATOR, "TArray<FRigElementKey>", "/Script/ControlRig.RigElementKey", origin(unreal), "")
    assert node.find_pin("Element").get_cpp_type() == "FRigElementKey"


def test_if_can_pick_between_arrays(unreal, controller):
    node = controller.add_template_node(IF_NOTATION, origin(unreal), "")
    assert controller.resolve_wild_card_pin(node.get_name() + ".True", "TArray<FName>", "")
    assert node.find_pin("Result").get_cpp_type() == "TArray<FName>"
    assert controller.add_array_pin(node.get_name() + ".True", "Spine") == node.get_name() + ".True.0"


def test_resolving_a_pin_that_is_not_a_wild_card_is_refused(unreal, controller):
    node = controller.add_template_node(IF_NOTATION, origin(unreal), "")
    assert controller.resolve_wild_card_pin(node.get_name() + ".Condition", "float", "") is False
    assert controller.resolve_wild_card_pin(node.get_name() + ".Nope", "float", "") is False


def test_linking_a_concrete_type_resolves_a_template_permutation(unreal, controller):
    add_unit(unreal, controller, "/Script/ControlRig.RigUnit_GetTransform", "Get")
    node = controller.add_template_node("Add::Execute(in A,in B,out Result)", origin(unreal), "")
    assert controller.add_link("Get.Transform.Translation", "Add.A")
    assert node.is_resolved()
    assert node.find_pin("Result").get_cpp_type() == "FVector"
    assert controller.add_link("Get.Transform.Rotation", "Add.B") is False


def test_wild_card_pins_take_no_default(unreal, controller):
    node = controller.add_template_node(IF_NOTATION, origin(unreal), "")
    assert controller.set_pin_default_value(node.get_name() + ".True", "1.0") is False
    assert controller.set_pin_default_value(node.get_name() + ".Condition", "True")
    assert node.find_pin("Condition").get_default_value() == "True"


# ---- more on nodes ----

def test_node_colour_comes_from_the_nearest_struct_metadata(unreal, controller):
    node = add_unit(unreal, controller, FACE_SOLVER)
    assert node.get_node_color() == unreal.LinearColor(0.1, 0.1, 0.1, 1.0)
    assert controller.set_node_color(node, unreal.LinearColor(0.0, 1.0, 0.0, 1.0))
    assert node.get_node_color() == unreal.LinearColor(0.0, 1.0, 0.0, 1.0)


def test_node_edits_refuse_unknown_nodes(unreal, controller, rig):
    other = unreal.ControlRigBlueprintFactory.create_new_control_rig_asset("/Game/Tests/OtherRig%d" % next(_asset_numbers))
    foreign = other.get_default_model().get_nodes()[0]
    size = unreal.Vector2D(1.0, 1.0)
    assert controller.set_node_size_by_name("Nobody", size) is False
    assert controller.set_node_size(foreign, size) is False
    assert controller.remove_node(foreign) is False
    assert controller.rename_node(foreign, "Stolen") is False
    assert other.get_default_model().get_nodes() == [foreign]


def test_expansion_needs_sub_pins_and_a_change(unreal, controller):
    add_unit(unreal, controller, SET_TRANSFORM)
    assert controller.set_pin_expansion("RigUnit_SetTransform.Weight", True) is False
    assert controller.set_pin_expansion("RigUnit_SetTransform.Value", False) is False
    assert controller.set_pin_expansion("RigUnit_SetTransform.Nope", True) is False


def test_undo_brackets_must_balance(unreal, controller):
    assert controller.close_undo_bracket() is False
    assert controller.open_undo_bracket("Build")
    assert controller.open_undo_bracket("Inner")
    assert controller.close_undo_bracket()
    assert controller.cancel_undo_bracket()
    assert controller.close_undo_bracket() is False


def test_node_width_follows_the_longest_title_or_pin_name(unreal, controller):
    node = add_unit(unreal, controller, FACE_SOLVER)
    # "VN Face SDK Solver" (18) and "FaceRigDataAsset" (16): the title is longest.
    assert node.get_size().x == max(160.0, 40.0 + 7.0 * 18)
    assert node.get_size().y == 40.0 + 24.0 * 5


def test_object_pins_take_asset_paths(unreal, controller):
    node = add_unit(unreal, controller, FACE_SOLVER)
    pin = node.find_pin("FaceRigDataAsset")
    assert pin.get_default_value() == ""
    assert controller.set_pin_default_value("RigUnit_VNFaceSDKSolver.FaceRigDataAsset", "/Game/Chars/DA_Face.DA_Face")
    assert pin.get_default_value() == "/Game/Chars/DA_Face.DA_Face"
    assert 'FaceRigDataAsset="/Game/Chars/DA_Face.DA_Face"' in node.get_struct_default_value()


def test_composed_struct_value_with_an_unset_object_reads_back(unreal, controller):
    node = controller.add_template_node(IF_NOTATION, origin(unreal), "")
    path = node.get_name() + ".True"
    assert controller.resolve_wild_card_pin(path, "FControlRigShapeDefinition", "/Script/ControlRig.ControlRigShapeDefinition")
    value = controller.get_pin_default_value(path)
    assert "StaticMesh" not in value and 'ShapeName="Default"' in value
    assert controller.set_pin_default_value(path, value)
    assert controller.get_pin_default_value(path) == value


@pytest.mark.parametrize("module", ["RigVMDeveloper", "ControlRigDeveloper", "ControlRigEditor"])
def test_graph_modules_load_by_name(unreal, module):
    unreal.load_module(module)


# ---- aggregate pins ----

@pytest.mark.parametrize("path, name, default, pins, added", [
    ("/Script/RigVM.RigVMFunction_Sequence", "", "", ["ExecuteContext", "A", "B", "C"], "Seq.C"),
    ("/Script/RigVM.RigVMFunction_MathFloatAdd", "", "2.5", ["A", "B", "C", "Result"], "Seq.C"),
    ("/Script/RigVM.RigVMFunction_MathFloatAdd", "Extra", "", ["A", "B", "Extra", "Result"], "Seq.Extra"),
])
def test_aggregate_pins_grow_the_aggregate_side_after_its_last_pin(unreal, controller, path, name, default, pins, added):
    node = controller.add_unit_node_from_struct_path(path, "Execute", origin(unreal), "Seq")
    before = node.get_size().y
    assert controller.add_aggregate_pin("Seq", name, default) == added
    assert [p.get_name() for p in node.get_pins()] == pins
    new_pin = controller.get_graph().find_pin(added)
    last = node.get_pins()[pins.index(added.split(".")[1]) - 1]
    assert (new_pin.get_direction(), new_pin.get_cpp_type()) == (last.get_direction(), last.get_cpp_type())
    assert node.get_size().y == before + 24.0
    if default:
        assert new_pin.get_default_value() == "2.500000"


@pytest.mark.parametrize("node_path, name, default", [
    ("NoSuchNode", "", ""),
    (SET_TRANSFORM, "", ""),
    ("Seq", "B", ""),
    ("Seq", "Bad.Name", ""),
])
def test_aggregate_pins_are_refused_where_they_do_not_fit(unreal, controller, node_path, name, default):
    controller.add_unit_node_from_struct_path("/Script/RigVM.RigVMFunction_Sequence", "Execute", origin(unreal), "Seq")
    add_unit(unreal, controller, SET_TRANSFORM)
    assert controller.add_aggregate_pin(node_path, name, default) == ""
    assert [p.get_name() for p in controller.get_graph().find_node("Seq").get_pins()] == ["ExecuteContext", "A", "B"]


def test_aggregate_pin_with_a_bad_default_is_not_added(unreal, controller):
    node = controller.add_unit_node_from_struct_path("/Script/RigVM.RigVMFunction_MathFloatAdd", "Execute", origin(unreal), "Add")
    assert controller.add_aggregate_pin("Add", "", "not a number") == ""
    assert [p.get_name() for p in node.get_pins()] == ["A", "B", "Result"]
    assert controller.add_aggregate_pin("Add", "", "") == "Add.C"
