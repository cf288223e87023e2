"""Graph queries shared by the body and face builders: node titles, positions and paths, pins and their
links, and the forward-solve and sequence nodes of an existing graph."""

from _vantorel_tool.engine import call_first_accepted


# ---- fixed texts and names ---------------------------------------------------------------------------

GRAPH_EXECUTE_PIN_NAMES = ("ExecuteContext", "Execute", "ExecutePin")
GRAPH_FORWARD_SOLVE_TITLES = ("Forwards Solve", "Forward Solve", "BeginExecution")
GRAPH_SEQUENCE_TITLE = "Sequence"
# A sequence node's outputs are named by letters; later letters are added to the end.
GRAPH_SEQUENCE_OUTPUT_NAMES = tuple(chr(code) for code in range(ord("Z"), ord("A") - 1, -1))
GRAPH_PIN_PATH_SEPARATOR = "."

GRAPH_DEFAULT_NODE_X = 220.0
GRAPH_DEFAULT_NODE_Y = 0.0


# ---- helpers ----------------------------------------------------------------------------------------

def graph_require_result(result):
    """result itself; raises LookupError when it is None or False, so that an engine call that answers
    with nothing counts as a failed form of the call."""
    if result is None or result is False:
        raise LookupError("the call returned nothing")
    return result


def call_first_returning(*attempts):
    """The result of the first of attempts (callables without arguments) that neither raises nor
    returns None or False; None when every attempt fails. Used for engine calls whose argument list
    differs between engine versions and that answer a refusal with an empty result."""
    try:
        return call_first_accepted(*[lambda attempt=attempt: graph_require_result(attempt()) for attempt in attempts],
                                   accepted_errors=(Exception,))
    except Exception:
        return None


# ---- nodes ------------------------------------------------------------------------------------------

def graph_node_title(node):
    """The title a node shows, else the name of its unit struct, else the empty text."""
    try:
        title = str(node.get_node_title())
        if title:
            return title
    except Exception:  # nodes without a title in this engine version; the struct name stands in
        pass
    try:
        return str(node.get_script_struct().get_name())
    except Exception:
        return ""


def graph_node_position(node, default_x=GRAPH_DEFAULT_NODE_X, default_y=GRAPH_DEFAULT_NODE_Y):
    """A node's position as (x, y); the defaults when it cannot be read."""
    try:
        position = node.get_position()
        return float(position.x), float(position.y)
    except Exception:
        return float(default_x), float(default_y)


def graph_node_path(node):
    """A node's path (what its pins' paths start with), else its object name, else the empty text."""
    for read in (lambda: node.get_node_path(), lambda: node.get_name()):
        try:
            path = str(read())
            if path:
                return path
        except Exception:
            continue
    return ""


def graph_nodes(controller):
    """The nodes of the controller's graph in graph order; an empty list when there is no graph."""
    try:
        return list(controller.get_graph().get_nodes())
    except Exception:
        return []


# ---- pins -------------------------------------------------------------------------------------------

def pin_path(pin):
    """A pin's path: the text itself for a pin already given as a path, else the pin's own path (the
    empty text when it cannot be read)."""
    if isinstance(pin, str):
        return pin
    try:
        return str(pin.get_pin_path())
    except Exception:
        return ""


def linked_pin_paths(pin):
    """The paths of the pins linked into and out of a pin."""
    paths = []
    for read in (lambda: pin.get_linked_source_pins(), lambda: pin.get_linked_target_pins()):
        try:
            paths.extend(pin_path(linked) for linked in read())
        except Exception:
            continue
    return [path for path in paths if path]


def pin_has_links(pin):
    """Whether any link starts or ends at a pin."""
    try:
        return len(pin.get_links()) > 0
    except Exception:
        return bool(linked_pin_paths(pin))


def find_execute_input_pin(node):
    """A node's execution input: the first of its pins "ExecuteContext", "Execute" and "ExecutePin"
    that exists; None when it has none."""
    for name in GRAPH_EXECUTE_PIN_NAMES:
        try:
            pin = node.find_pin(name)
        except Exception:
            pin = None
        if pin is not None:
            return pin
    return None


# ---- the forward solve of an existing graph --------------------------------------------------------------

def find_forward_solve_node(controller):
    """The first node of the graph whose title names the forward solve event; None when there is none."""
    for node in graph_nodes(controller):
        title = graph_node_title(node)
        if any(text in title for text in GRAPH_FORWARD_SOLVE_TITLES):
            return node
    return None


def graph_node_path_of_pin_path(path):
    return path.split(GRAPH_PIN_PATH_SEPARATOR, 1)[0]


def find_sequence_node(controller, forward_node=None):
    """The sequence node that the forward solve runs: among the nodes titled with "Sequence", the one
    linked to the forward solve node's execution pin, else the first of them; None when the graph has
    no sequence node. forward_node defaults to the graph's forward solve node."""
    sequences = [node for node in graph_nodes(controller) if GRAPH_SEQUENCE_TITLE in graph_node_title(node)]
    if not sequences:
        return None
    if forward_node is None:
        forward_node = find_forward_solve_node(controller)
    execute_pin = find_execute_input_pin(forward_node) if forward_node is not None else None
    if execute_pin is not None:
        linked_nodes = {graph_node_path_of_pin_path(path) for path in linked_pin_paths(execute_pin)}
        for node in sequences:
            if graph_node_path(node) in linked_nodes:
                return node
    return sequences[0]


def find_sequence_output_pin(sequence_node):
    """The path of a sequence node's output to run more work from: scanning its outputs from "Z" down
    to "A", the first without links; when every output is linked, the highest letter. None when the
    node has no lettered outputs."""
    highest = None
    for name in GRAPH_SEQUENCE_OUTPUT_NAMES:
        try:
            pin = sequence_node.find_pin(name)
        except Exception:
            pin = None
        if pin is None:
            continue
        if highest is None:
            highest = pin
        if not pin_has_links(pin):
            return pin_path(pin)
    return pin_path(highest) if highest is not None else None


def face_graph_controller(control_rig):
    """The graph controller of a Control Rig blueprint: the controller of its model, else its default
    controller; None when it has neither."""
    return call_first_returning(
        lambda: control_rig.get_controller(control_rig.get_model()),
        lambda: control_rig.get_controller())
