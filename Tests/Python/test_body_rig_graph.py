"""The body builder's graph operations and layout on a real Control Rig graph: adding nodes with their
fallbacks, pin values and links, placement in section groups and their comment boxes, pin collapsing,
graph bounds and the template graph queries."""

import itertools

import pytest

GET_TRANSFORM = "RigUnit_GetTransform"
SET_TRANSFORM_PATH = "/Script/ControlRig.RigUnit_SetTransform"
SEQUENCE_PATH = "/Script/RigVM.RigVMFunction_Sequence"
NOT_NOTATION = "Not::Execute(in Value,out Result)"

_rig_numbers = itertools.count()


@pytest.fixture
def rig(editor, unreal):
    unreal.load_module("ControlRigDeveloper")
    return unreal.ControlRigBlueprintFactory.create_new_control_rig_asset(
        desired_package_path="/Game/Rigs/Graph%d" % next(_rig_numbers))


@pytest.fixture
def controller(rig):
    return rig.get_controller()


@pytest.fixture
def empty_controller(controller):
    for node in list(controller.get_graph().get_nodes()):
        controller.remove_node(node)
    return controller


@pytest.fixture
def script(tool_script):
    return tool_script


@pytest.fixture
def graph(script, controller):
    """One build's graph over the rig's controller."""
    return script["RigGraph"](controller)


class ControllerView:
    """The graph controller with some operations replaced, as another engine version offers them."""

    def __init__(self, real, **replaced):
        self._real, self._replaced, self.calls = real, replaced, []

    def __getattr__(self, name):
        if name in self._replaced:
            replacement = self._replaced[name]
            if replacement is None:
                raise AttributeError(name)

            def recorded(*args):
                self.calls.append((name, args))
                return replacement(*args)
            return recorded
        return getattr(self._real, name)


def refuse(*_):
    raise TypeError("this form is not offered")


def comments(controller):
    return [node for node in controller.get_graph().get_nodes() if node.get_class().get_name() == "RigVMCommentNode"]


def position_of(node):
    return node.get_position().x, node.get_position().y


def box_of(comment):
    return position_of(comment) + (comment.get_size().x, comment.get_size().y)


# ---- adding nodes ----

def test_unit_by_type_name_is_placed_named_by_the_graph_and_registered(script, unreal, controller, graph):
    script["body_rig_begin_section_group"](graph, "Arms")
    node = script["body_rig_add_unit"](graph, GET_TRANSFORM, "GetArm", 300.0, -40.0)
    assert node.get_script_struct().get_name() == GET_TRANSFORM
    assert node.get_node_path() == GET_TRANSFORM
    assert position_of(node) == (300.0, -40.0)
    assert graph.group_nodes["Arms"] == [node]


def test_unit_falls_back_to_the_controlrig_struct_path_with_the_node_name(script, unreal, controller):
    view = ControllerView(controller, add_unit_node=lambda *args: None, add_struct_node=refuse)
    node = script["body_rig_add_unit"](script["RigGraph"](view), GET_TRANSFORM, "GetArm", 10.0, 20.0)
    assert node.get_node_path() == "GetArm"
    assert [name for name, _ in view.calls] == ["add_unit_node"] * 3 + ["add_struct_node"] * 3
    assert position_of(node) == (10.0, 20.0)


def test_unit_creation_that_takes_no_position_is_moved_to_it(script, unreal, controller):
    origin = unreal.Vector2D(0.0, 0.0)

    def add_without_position(struct, method, *rest):
        if len(rest) != 1:
            raise TypeError("this engine version adds a unit node by struct, method and name")
        return controller.add_unit_node(struct, method, origin, rest[0], False)
    view = ControllerView(controller, add_unit_node=add_without_position)
    node = script["body_rig_add_unit"](script["RigGraph"](view), GET_TRANSFORM, "GetArm", 700.0, 150.0)
    assert position_of(node) == (700.0, 150.0)


@pytest.mark.parametrize("add, arguments, message", [
    ("body_rig_add_unit", ("RigUnit_NoSuchUnit", "N"), "Unreal Python type is unavailable: RigUnit_NoSuchUnit"),
    ("body_rig_add_unit_from_struct_path", ("/Script/ControlRig.RigUnit_NoSuchUnit", "N"),
     "Could not add Control Rig unit node /Script/ControlRig.RigUnit_NoSuchUnit"),
])
def test_unknown_units_stop_with_their_message(script, graph, add, arguments, message):
    with pytest.raises(RuntimeError) as raised:
        script[add](graph, *arguments, 0.0, 0.0)
    assert str(raised.value) == message


@pytest.mark.parametrize("unit, path", [
    (GET_TRANSFORM, "/Script/ControlRig.RigUnit_GetTransform"),
    ("RigVMFunction_MathFloatDiv", "/Script/RigVM.RigVMFunction_MathFloatDiv"),
])
def test_unit_that_no_form_adds_stops_with_the_type_name_after_trying_its_own_struct_path(script, controller, unit, path):
    view = ControllerView(controller, add_unit_node=refuse, add_struct_node=None,
                          add_unit_node_from_struct_path=lambda *args: None)
    with pytest.raises(RuntimeError, match="^Could not add Control Rig unit node %s$" % unit):
        script["body_rig_add_unit"](script["RigGraph"](view), unit, "Node", 0.0, 0.0)
    paths = {args[0] for name, args in view.calls if name == "add_unit_node_from_struct_path"}
    assert paths == {path}


def test_a_rigvm_function_falls_back_to_its_own_struct_path(script, controller):
    view = ControllerView(controller, add_unit_node=lambda *args: None, add_struct_node=refuse)
    node = script["body_rig_add_unit"](script["RigGraph"](view), "RigVMFunction_MathFloatDiv", "Ratio", 0.0, 0.0)
    assert node.get_script_struct().get_path_name() == "/Script/RigVM.RigVMFunction_MathFloatDiv"
    assert node.get_node_path() == "Ratio"


def test_struct_path_and_template_nodes_carry_the_requested_names(script, controller, graph):
    unit = script["body_rig_add_unit_from_struct_path"](graph, SET_TRANSFORM_PATH, "SetArm", 5.0, 6.0, "Arms")
    template = script["body_rig_add_template"](graph, NOT_NOTATION, "NotVisible", 7.0, 8.0, "Arms")
    assert (unit.get_node_path(), template.get_node_path()) == ("SetArm", "NotVisible")
    assert graph.group_nodes["Arms"] == [unit, template]


def test_refused_template_stops_with_the_node_name_and_reason(script, controller, graph):
    with pytest.raises(RuntimeError, match="^Could not add Control Rig template node Broken: "):
        script["body_rig_add_template"](graph, "NoSuchTemplate::Execute(in Value)", "Broken", 0.0, 0.0)


# ---- pins and links ----

@pytest.mark.parametrize("pin, value, expected", [
    ("Value.Translation.X", 2.5, "2.500000"),
    ("Value.Translation.Y", 3, "3.000000"),
    ("Value.Translation.Z", "%.6f" % 1.25, "1.250000"),
    ("bPropagateToChildren", False, "False"),
    ("Item", '(Type=Bone,Name="pelvis")', '(Type=Bone,Name="pelvis")'),
])
def test_pin_values_are_set_from_their_text_form(script, controller, capsys, pin, value, expected, graph):
    node = controller.add_unit_node_from_struct_path(SET_TRANSFORM_PATH, "Execute", controller.get_graph().get_nodes()[0].get_position(), "Set")
    assert script["body_rig_set_pin"](graph, "Set." + pin, value) is True
    assert controller.get_pin_default_value("Set." + pin) == expected
    assert node.find_pin(pin).get_default_value() == expected
    assert capsys.readouterr().out == ""


@pytest.mark.parametrize("pin, value", [
    ("Set.NoSuchPin", 1.0),
    ("Set.Value.Translation.X", "not a number"),
])
def test_refused_pin_values_return_false_without_output(script, controller, capsys, pin, value, graph):
    controller.add_unit_node_from_struct_path(SET_TRANSFORM_PATH, "Execute", controller.get_graph().get_nodes()[0].get_position(), "Set")
    assert script["body_rig_set_pin"](graph, pin, value) is False
    assert controller.get_pin_default_value("Set.Value.Translation.X") == "0.000000"
    assert capsys.readouterr().out == ""


@pytest.mark.parametrize("value", [float("nan"), float("inf"), -float("inf")])
def test_numbers_that_are_not_finite_never_reach_the_graph(script, controller, value):
    # The engine's text import would read "nan" and "inf" into the rig.
    accepting = ControllerView(controller, set_pin_default_value=lambda *args: True)
    assert script["body_rig_set_pin"](script["RigGraph"](accepting), "Set.Value.Translation.X", value) is False
    assert accepting.calls == []


def test_links_are_made_and_refused_links_print_one_skip_line(script, controller, capsys, graph):
    begin = controller.get_graph().get_nodes()[0].get_node_path()
    controller.add_unit_node_from_struct_path(SET_TRANSFORM_PATH, "Execute", controller.get_graph().get_nodes()[0].get_position(), "Set")
    assert script["body_rig_link"](graph, begin + ".ExecuteContext", "Set.ExecuteContext") is True
    assert capsys.readouterr().out == ""
    assert script["body_rig_link"](graph, "Set.Value", "Nowhere.Value") is False
    lines = capsys.readouterr().out.splitlines()
    assert len(lines) == 1
    assert lines[0].startswith("Body JSON link skipped: Set.Value -> Nowhere.Value ")
    assert len(controller.get_graph().get_links()) == 1


# ---- section groups and comment boxes ----

def test_single_small_node_gets_the_minimum_box_with_its_title_room(script, unreal, empty_controller, graph):
    script["body_rig_begin_section_group"](graph, "Global Orientation")
    node = script["body_rig_add_unit"](graph, GET_TRANSFORM, "Get", 0.0, 0.0)
    assert empty_controller.set_node_size(node, unreal.Vector2D(100.0, 50.0))
    assert script["body_rig_node_size"](node) == (100.0, 160.0)
    comment = script["body_rig_finalize_section_group"](graph)
    assert comment.get_comment_text() == "Global Orientation"
    assert box_of(comment) == (-90.0, -140.0, 400.0, 444.0)
    assert graph.open_group is None


def test_box_spans_several_nodes_at_their_live_positions(script, unreal, empty_controller, graph):
    script["body_rig_begin_section_group"](graph, "Spline IK")
    first = script["body_rig_add_unit"](graph, GET_TRANSFORM, "A", 100.0, 0.0)
    second = script["body_rig_add_unit_from_struct_path"](graph, SET_TRANSFORM_PATH, "B", 600.0, 400.0)
    empty_controller.set_node_size(first, unreal.Vector2D(200.0, 100.0))
    empty_controller.set_node_size(second, unreal.Vector2D(300.0, 80.0))
    assert script["body_rig_ensure_node_position"](graph, first, 100.0, -20.0)
    # Left 100 - 90, top -20 - 140; right edge 900 + 162, bottom edge 480 + 144.
    assert script["body_rig_section_group_bounds"](graph, "Spline IK") == (10.0, -160.0, 1052.0, 784.0)
    assert script["body_rig_graph_bounds"](graph) == (100.0, -20.0, 900.0, 480.0)
    comment = script["body_rig_end_section_group"](graph, "Spline IK")
    assert box_of(comment) == (10.0, -160.0, 1052.0, 784.0)


def test_group_without_nodes_gets_no_comment(script, empty_controller, graph):
    script["body_rig_begin_section_group"](graph, "Hip Swinger")
    assert script["body_rig_finalize_section_group"](graph) is None
    assert comments(empty_controller) == []
    assert graph.open_group is None
    assert script["body_rig_graph_bounds"](graph) is None


def test_nodes_register_once_and_only_while_a_group_is_open(script, empty_controller, graph):
    script["body_rig_begin_section_group"](graph, "")
    loose = script["body_rig_add_unit"](graph, GET_TRANSFORM, "Loose", 0.0, 0.0)
    script["body_rig_begin_section_group"](graph, "Forward IK & Controls")
    node = script["body_rig_add_unit"](graph, GET_TRANSFORM, "Get", 0.0, 0.0)
    lock = script["body_rig_add_unit"](graph, GET_TRANSFORM, "Lock", 0.0, 900.0, "Leg Lock")
    script["body_rig_place_in_group"](graph, node)
    script["body_rig_place_in_group"](graph, lock)
    assert graph.group_nodes["Forward IK & Controls"] == [node]
    assert graph.group_nodes["Leg Lock"] == [lock]
    assert loose not in sum(graph.group_nodes.values(), [])
    script["body_rig_begin_section_group"](graph, "Forward IK & Controls")
    assert graph.group_nodes["Forward IK & Controls"] == [node]


def test_comment_falls_back_to_the_short_call_and_fails_quietly(script, unreal, empty_controller, graph):
    short = ControllerView(empty_controller, add_comment_node=lambda title, position, size, *rest:
                           refuse() if rest else empty_controller.add_comment_node(title, position, size))
    comment = script["body_rig_add_comment_group"](script["RigGraph"](short), "Twist Solutions", 1.0, 2.0, 500.0, 300.0)
    assert box_of(comment) == (1.0, 2.0, 500.0, 300.0)
    assert len(short.calls) == 3
    named = script["body_rig_add_comment_group"](graph, "Reverse Foot Roll", 0.0, 0.0, 400.0, 200.0)
    assert named.get_node_path() == "ReverseFootRoll"
    broken = ControllerView(empty_controller, add_comment_node=refuse)
    assert script["body_rig_add_comment_group"](script["RigGraph"](broken), "Twist Solutions", 1.0, 2.0, 500.0, 300.0) is None
    assert len(comments(empty_controller)) == 2


# ---- tidying ----

def test_collapsing_folds_the_pins_a_new_node_shows_expanded_and_the_parents_of_linked_sub_pins(script, controller, capsys, graph):
    script["body_rig_add_unit_from_struct_path"](graph, SET_TRANSFORM_PATH, "Set", 0, 0)
    script["body_rig_add_unit_from_struct_path"](graph, SET_TRANSFORM_PATH, "Other", 0, 400)
    getter = script["body_rig_add_unit"](graph, "RigUnit_GetTransform", "Get", -400, 0)
    # "Item" shows expanded on a new node of either type; the editor expands the parents of a linked
    # sub-pin so that the link shows, as is done here by hand.
    assert script["body_rig_link"](graph, str(getter.get_node_path()) + ".Transform.Translation", "Set.Value.Translation")
    assert controller.set_pin_expansion("Set.Value", True)
    # The three "Item" pins and "Set.Value".
    assert script["body_rig_collapse_all_pins"](graph) == 4
    assert capsys.readouterr().out.strip() == "Collapsed Control Rig graph pins: 4 (pins that were expanded)"
    nodes = controller.get_graph().get_nodes()
    assert not any(pin.is_expanded() for node in nodes for root in node.get_pins()
                   for pin in [root] + list(root.get_all_sub_pins_recursively()))
    assert script["body_rig_collapse_all_pins"](graph) == 0


# ---- template graph queries ----

@pytest.fixture
def template_graph(unreal, controller):
    """A template-like graph: the forward solve, a loose sequence, and the sequence the solve runs."""
    begin = controller.get_graph().get_nodes()[0]
    loose = controller.add_unit_node_from_struct_path(SEQUENCE_PATH, "Execute", unreal.Vector2D(0.0, 300.0), "Loose")
    running = controller.add_unit_node_from_struct_path(SEQUENCE_PATH, "Execute", unreal.Vector2D(300.0, 0.0), "Running")
    assert controller.add_link(begin.get_node_path() + ".ExecuteContext", "Running.ExecuteContext")
    return begin, loose, running


def test_forward_solve_and_the_sequence_it_runs_are_found(script, controller, template_graph):
    begin, loose, running = template_graph
    assert script["find_forward_solve_node"](controller) == begin
    assert script["graph_node_title"](begin) == "Forwards Solve"
    assert script["find_execute_input_pin"](running).get_name() == "ExecuteContext"
    assert script["find_sequence_node"](controller) == running
    assert script["linked_pin_paths"](running.find_pin("ExecuteContext")) == [begin.get_node_path() + ".ExecuteContext"]
    controller.break_all_links("Running.ExecuteContext")
    assert script["find_sequence_node"](controller) == loose


def test_graph_without_sequence_or_solve_finds_none(script, empty_controller):
    assert script["find_forward_solve_node"](empty_controller) is None
    assert script["find_sequence_node"](empty_controller) is None
    assert script["graph_nodes"](empty_controller) == []


@pytest.mark.parametrize("linked, expected", [
    ("ABC", "Running.C"),
    ("AC", "Running.B"),
    ("", "Running.C"),
    ("AB", "Running.C"),
])
def test_free_sequence_output_is_the_highest_unlinked_letter(script, controller, template_graph, linked, expected):
    _, _, running = template_graph
    assert controller.add_aggregate_pin("Running", "", "") == "Running.C"
    for index, letter in enumerate(linked):
        target = controller.add_unit_node_from_struct_path(SET_TRANSFORM_PATH, "Execute", running.get_position(), "Set%d" % index)
        assert controller.add_link("Running." + letter, target.get_node_path() + ".ExecuteContext")
    assert script["find_sequence_output_pin"](running) == expected


def test_nodes_without_lettered_outputs_have_no_free_output(script, controller):
    assert script["find_sequence_output_pin"](controller.get_graph().get_nodes()[0]) is None


def test_face_graph_controller_edits_the_rig_model(script, rig):
    controller = script["face_graph_controller"](rig)
    assert controller.get_graph() == rig.get_model()
    assert script["face_graph_controller"](object()) is None
