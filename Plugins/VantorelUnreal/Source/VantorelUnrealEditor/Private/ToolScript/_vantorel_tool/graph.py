"""The body rig's graph operations and layout: adding unit and template nodes, pin values and links,
node placement, section groups with their comment boxes, pin collapsing and graph bounds."""

import math

import unreal

from _vantorel_tool.engine import call_first_accepted
from _vantorel_tool.graph_queries import (
    call_first_returning, find_execute_input_pin, graph_node_path, graph_node_position, graph_nodes, pin_path,
)
from _vantorel_tool.names import error_text


# ---- fixed texts and names ---------------------------------------------------------------------------

BODY_RIG_EXECUTE_METHOD = "Execute"

BODY_RIG_TYPE_UNAVAILABLE_TEXT = "Unreal Python type is unavailable: "
BODY_RIG_UNIT_NOT_ADDED_TEXT = "Could not add Control Rig unit node "
BODY_RIG_TEMPLATE_NOT_ADDED_TEXT = "Could not add Control Rig template node "
BODY_RIG_NO_TEMPLATE_NODE_TEXT = "the graph returned no node"
BODY_RIG_LINK_SKIPPED_TEXT = "Body JSON link skipped:"
BODY_RIG_LINK_REFUSED_TEXT = "the graph refused the link"
BODY_RIG_PINS_COLLAPSED_DETAIL_TEXT = "(pins that were expanded)"
BODY_RIG_PINS_COLLAPSED_TEXT = "Collapsed Control Rig graph pins:"

BODY_RIG_TRUE_TEXT = "True"
BODY_RIG_FALSE_TEXT = "False"

# A node whose size reads smaller than this has not been measured; the defaults stand in for it.
BODY_RIG_MIN_MEASURED_WIDTH = 80.0
BODY_RIG_MIN_MEASURED_HEIGHT = 60.0
BODY_RIG_DEFAULT_NODE_WIDTH = 320.0
BODY_RIG_DEFAULT_NODE_HEIGHT = 160.0

# Section comment boxes: padding around the nodes, extra room above for the title, and more room to
# the right and below, where wide set-transform nodes reach past their measured size.
BODY_RIG_GROUP_PADDING = 90.0
BODY_RIG_GROUP_TITLE_PAD = 50.0
BODY_RIG_GROUP_MIN_WIDTH = 400.0
BODY_RIG_GROUP_MIN_HEIGHT = 180.0
BODY_RIG_GROUP_RIGHT_PAD_FACTOR = 1.8
BODY_RIG_GROUP_RIGHT_PAD_MIN = 160.0
BODY_RIG_GROUP_BOTTOM_PAD_FACTOR = 1.6
BODY_RIG_GROUP_BOTTOM_PAD_MIN = 140.0

# The engine's default comment colour, passed because the node name and undo flag follow it.
BODY_RIG_COMMENT_COLOR = (0.0, 0.0, 0.0, 1.0)

# ---- one build's graph ---------------------------------------------------------------------------

class RigGraph:
    """The graph one build edits: its controller, and what the build records about the nodes it adds.

    - Section groups: the group that is open, and the nodes each group holds, for its comment box.
    - Pin expansion: a new node shows expanded the pins its type expands by default, and the editor
      expands the parents of a linked sub-pin so that the link shows. Tidying collapses exactly those
      pins, so it never has to read every pin of the graph.
    - Where the build put each node it placed, so that section boxes need not read positions back, and
      each node's path, so that it need not be read again.
    """

    def __init__(self, controller):
        self.controller = controller
        self.open_group = None
        self.group_nodes = {}
        self.registered_nodes = set()
        self.node_kinds = {}
        self.node_paths = {}
        self.node_positions = {}
        self.linked_pin_parents = set()


# Type (unit struct path or template notation) -> the pins below a node's path that a new node of that
# type shows expanded; an engine fact, read from the first node of each type and kept for the process.
body_rig_default_expanded_pins = {}


def body_rig_begin_section_group(graph, group_name):
    """Opens the section group group_name: nodes placed without a group name go to it from now on. An
    empty name closes tracking. A group opened again keeps the nodes it already holds."""
    if not group_name:
        graph.open_group = None
        return None
    graph.open_group = group_name
    graph.group_nodes.setdefault(group_name, [])
    return group_name


def body_rig_node_identity(node):
    """What tells two references to one graph node apart from references to another: the node itself
    where the engine's objects hash, else its path."""
    try:
        hash(node)
        return node
    except TypeError:
        return graph_node_path(node)


def body_rig_register_node(graph, node, group_name=None, position=None):
    """Adds node to group_name, or without a name to the open group, with the (x, y) it was placed at
    when known (else its position is read when the group's box is made); a node already registered to
    a group stays where it is. Returns the group it is in, or None."""
    if node is None:
        return None
    identity = body_rig_node_identity(node)
    if position is not None:
        graph.node_positions[identity] = position
    name = group_name or graph.open_group
    if not name:
        return None
    if identity in graph.registered_nodes:
        return name
    graph.registered_nodes.add(identity)
    graph.group_nodes.setdefault(name, []).append(node)
    return name


# ---- node placement ----------------------------------------------------------------------------------

def body_rig_position(x, y):
    """A graph position in the form engine calls take for a Vector2D argument."""
    return (float(x), float(y))


def body_rig_ensure_node_position(graph, node, x, y):
    """Moves node to (x, y): node creation may ignore the position asked for. Tries the move by node and
    then by node path, each without undo first. Returns whether the node was moved."""
    position = body_rig_position(x, y)
    graph.node_positions[body_rig_node_identity(node)] = position
    path = body_rig_node_path(graph, node, "")
    return call_first_returning(
        lambda: graph.controller.set_node_position(node, position, False, False, False),
        lambda: graph.controller.set_node_position(node, position),
        lambda: graph.controller.set_node_position_by_name(path, position, False, False, False),
        lambda: graph.controller.set_node_position_by_name(path, position)) is not None


def body_rig_place_in_group(graph, node, group_name=None, x=None, y=None):
    """Moves node to (x, y) when both are given and registers it in group_name (or the open group).
    Returns the node."""
    position = None
    if x is not None and y is not None:
        body_rig_ensure_node_position(graph, node, x, y)
        position = (float(x), float(y))
    body_rig_register_node(graph, node, group_name, position)
    return node


def body_rig_record_node_kind(graph, node, kind):
    """Notes a new node's path and type for tidying; the first node of a type tells which pins the
    type shows expanded."""
    path = graph_node_path(node)
    if not path:
        return
    graph.node_paths[body_rig_node_identity(node)] = path
    graph.node_kinds[path] = kind
    if kind not in body_rig_default_expanded_pins:
        expanded = []
        try:
            for pin in node.get_all_pins_recursively():
                if pin.is_expanded():
                    expanded.append(pin_path(pin)[len(path) + 1:])
        except Exception:  # a node that cannot list its pins shows none expanded
            pass
        body_rig_default_expanded_pins[kind] = tuple(expanded)


def body_rig_rename_node(graph, node, name):
    """Renames a node this build added to name, without undo, keeping the record of its path; returns
    its path afterwards."""
    old_path = body_rig_node_path(graph, node, "")
    graph.controller.rename_node(node, name, False)
    new_path = graph_node_path(node) or name
    graph.node_paths[body_rig_node_identity(node)] = new_path
    if old_path in graph.node_kinds:
        graph.node_kinds[new_path] = graph.node_kinds.pop(old_path)
    return new_path


def body_rig_node_path(graph, node, fallback):
    """The node's path (as noted when this build added it), or fallback when it cannot be read."""
    known = graph.node_paths.get(body_rig_node_identity(node)) if node is not None else None
    return known or graph_node_path(node) or fallback


# ---- adding nodes ------------------------------------------------------------------------------------

# Unit type name -> (its struct, the struct's path): engine facts, looked up once per type.
body_rig_unit_structs = {}


def body_rig_unit_struct(struct_name):
    """The struct of the engine unit type struct_name and its path; raises RuntimeError when the type
    is unknown."""
    found = body_rig_unit_structs.get(struct_name)
    if found is None:
        unit_type = getattr(unreal, struct_name, None)
        if unit_type is None:
            raise RuntimeError(BODY_RIG_TYPE_UNAVAILABLE_TEXT + struct_name)
        struct = unit_type.static_struct()
        found = body_rig_unit_structs[struct_name] = (struct, struct.get_path_name())
    return found


def body_rig_first_added(attempts):
    """Runs (add, takes_position) attempts until one adds a node; returns (node, whether that form of
    the call placed it), (None, False) when none does."""
    for add, takes_position in attempts:
        try:
            node = add()
        except Exception:  # this engine version does not offer this form of the call
            continue
        if node is not None and node is not False:
            return node, takes_position
    return None, False


def body_rig_finish_added_node(graph, node, kind, placed, x, y, group_name):
    """A new node moved to (x, y) when its creation could not place it, noted for tidying and
    registered in group_name (or the open group)."""
    if not placed:
        body_rig_ensure_node_position(graph, node, x, y)
    body_rig_record_node_kind(graph, node, kind)
    body_rig_register_node(graph, node, group_name, (float(x), float(y)))
    return node


def body_rig_add_unit(graph, struct_name, node_name, x, y, group_name=None):
    """Adds a rig unit node of the engine type struct_name ("RigUnit_GetTransform",
    "RigVMFunction_MathFloatDiv") at (x, y), lets the graph name it when it can, and registers it in
    group_name (or the open group). Raises RuntimeError when the type is unknown or no form of the
    call adds the node. Returns the node."""
    struct, struct_path = body_rig_unit_struct(struct_name)
    position = body_rig_position(x, y)
    attempts = []
    for operation_name in ("add_unit_node", "add_struct_node"):
        operation = getattr(graph.controller, operation_name, None)
        if operation is not None:
            attempts += [(lambda operation=operation: operation(struct, BODY_RIG_EXECUTE_METHOD, position, "", False), True),
                         (lambda operation=operation: operation(struct, BODY_RIG_EXECUTE_METHOD, position, node_name, False), True),
                         (lambda operation=operation: operation(struct, BODY_RIG_EXECUTE_METHOD, node_name), False)]
    # The struct's own path: rig units live in /Script/ControlRig, RigVM functions in /Script/RigVM.
    attempts += [(lambda: graph.controller.add_unit_node_from_struct_path(struct_path, BODY_RIG_EXECUTE_METHOD, position, node_name), True),
                 (lambda: graph.controller.add_unit_node_from_struct_path(struct_path, BODY_RIG_EXECUTE_METHOD, node_name), False)]
    node, placed = body_rig_first_added(attempts)
    if node is None:
        raise RuntimeError(BODY_RIG_UNIT_NOT_ADDED_TEXT + struct_name)
    return body_rig_finish_added_node(graph, node, struct_path, placed, x, y, group_name)


def body_rig_add_unit_from_struct_path(graph, struct_path, node_name, x, y, group_name=None):
    """Adds a rig unit node by struct path ("/Script/ControlRigSpline.RigUnit_ControlRigSplineFromPoints")
    named node_name at (x, y) and registers it. Raises RuntimeError when the graph adds no node.
    Returns the node."""
    position = body_rig_position(x, y)
    node, placed = body_rig_first_added([
        (lambda: graph.controller.add_unit_node_from_struct_path(struct_path, BODY_RIG_EXECUTE_METHOD, position, node_name), True),
        (lambda: graph.controller.add_unit_node_from_struct_path(struct_path, BODY_RIG_EXECUTE_METHOD, position, node_name, False), True)])
    if node is None:
        raise RuntimeError(BODY_RIG_UNIT_NOT_ADDED_TEXT + struct_path)
    return body_rig_finish_added_node(graph, node, struct_path, placed, x, y, group_name)


def body_rig_add_template(graph, notation, node_name, x, y, group_name=None):
    """Adds a template node of a notation ("Not::Execute(in Value,out Result)") named node_name at
    (x, y) and registers it. Raises RuntimeError with the graph's reason when it adds no node.
    Returns the node."""
    try:
        node = graph.controller.add_template_node(notation, body_rig_position(x, y), node_name)
        if node is None:
            raise LookupError(BODY_RIG_NO_TEMPLATE_NODE_TEXT)
    except Exception as error:
        raise RuntimeError(BODY_RIG_TEMPLATE_NOT_ADDED_TEXT + node_name + ": " + error_text(error)) from error
    return body_rig_finish_added_node(graph, node, notation, True, x, y, group_name)


# ---- pins and links ----------------------------------------------------------------------------------

def body_rig_pin_text(value):
    """The engine's text form of a pin value: "True" / "False" for booleans, the plain form of a
    number, other text as the caller formatted it. None for a number that is not finite, which no
    pin may hold."""
    if isinstance(value, bool):
        return BODY_RIG_TRUE_TEXT if value else BODY_RIG_FALSE_TEXT
    if isinstance(value, (int, float)):
        return str(value) if math.isfinite(value) else None
    return str(value)


def body_rig_set_pin(graph, pin, value):
    """Sets the default of pin (a pin path, or a pin) from value's text form, resizing arrays to the
    value. Returns whether the graph took the value; a refusal prints nothing, callers that cannot go
    on without the value check the result."""
    text = body_rig_pin_text(value)
    path = pin_path(pin)
    if text is None or not path:
        return False
    try:
        return bool(call_first_accepted(
            lambda: graph.controller.set_pin_default_value(path, text, True),
            lambda: graph.controller.set_pin_default_value(path, text)))
    except Exception:
        return False


def body_rig_link(graph, source, target):
    """Links pin source to pin target (paths, or pins). A refused link is printed as skipped and the
    build goes on. Returns whether the link was made."""
    source_path, target_path = pin_path(source), pin_path(target)
    for path in (source_path, target_path):
        parts = path.split(".")
        for end in range(2, len(parts)):
            graph.linked_pin_parents.add(".".join(parts[:end]))
    try:
        linked = bool(graph.controller.add_link(source_path, target_path))
        reason = BODY_RIG_LINK_REFUSED_TEXT
    except Exception as error:
        linked, reason = False, error_text(error)
    if not linked:
        print(BODY_RIG_LINK_SKIPPED_TEXT, source_path, "->", target_path, reason)
    return linked


def body_rig_struct_text_string(text):
    """text as a quoted string inside the engine's struct text form."""
    return '"%s"' % str(text).replace("\\", "\\\\").replace('"', '\\"')


def body_rig_set_item(graph, pin, element_type, name):
    """Sets a rig element key pin ("Child", "Parents.0.Item") to the element of type element_type
    ("Bone", "Control", "Null") named name, with one call in the key's text form. Returns whether it
    took."""
    return body_rig_set_pin(graph, pin, "(Type=%s,Name=%s)" % (element_type, body_rig_struct_text_string(name)))


def body_rig_set_vector(graph, pin, values):
    """Sets a vector pin to three numbers with one call in the vector's text form."""
    x, y, z = (float(value) for value in values)
    return body_rig_set_pin(graph, pin, "(X=%.6f,Y=%.6f,Z=%.6f)" % (x, y, z))


def body_rig_ensure_array_element(graph, array_pin, index=0):
    """Makes sure the array pin has an element at index, adding elements when it is shorter; returns
    the element's pin path."""
    path = pin_path(array_pin)
    element = "%s.%d" % (path, index)
    model = None
    try:
        model = graph.controller.get_graph()
    except Exception:  # a controller without a graph accessor in this engine version; add blindly below
        pass
    for _attempt in range(index + 1):
        try:
            if model is not None and model.find_pin(element) is not None:
                break
        except Exception:  # a graph without find_pin in this engine version; add blindly
            pass
        try:
            graph.controller.add_array_pin(path, "", False)
        except Exception:
            break
    return element


def body_rig_node_execute_pin(node, node_path):
    """The path of a node's execution pin (in and out for mutable units)."""
    pin = find_execute_input_pin(node) if node is not None else None
    return pin_path(pin) if pin is not None else node_path + ".ExecuteContext"


def body_rig_chain_node(graph, previous_exec, node, node_path):
    """Puts a mutable node on the execution chain after previous_exec; returns its execution pin, the
    pin the next node links from."""
    execute = body_rig_node_execute_pin(node, node_path)
    if previous_exec:
        body_rig_link(graph, previous_exec, execute)
    return execute


# ---- sizes and bounds --------------------------------------------------------------------------------

def body_rig_node_size(node, default_w=BODY_RIG_DEFAULT_NODE_WIDTH, default_h=BODY_RIG_DEFAULT_NODE_HEIGHT):
    """A node's size as (width, height) read from the graph; a width below 80 counts as default_w and a
    height below 60 as default_h, as does a size that cannot be read."""
    try:
        size = node.get_size()
        width, height = float(size.x), float(size.y)
    except Exception:
        return float(default_w), float(default_h)
    if not math.isfinite(width) or width < BODY_RIG_MIN_MEASURED_WIDTH:
        width = float(default_w)
    if not math.isfinite(height) or height < BODY_RIG_MIN_MEASURED_HEIGHT:
        height = float(default_h)
    return width, height


def body_rig_nodes_extent(graph, nodes):
    """(min x, min y, max x, max y) over the nodes' positions (where this build placed them, else as
    the graph reads them, 0, 0 when unreadable) and sizes; None for no nodes or an extent without area."""
    corners = []
    for node in nodes:
        position = graph.node_positions.get(body_rig_node_identity(node))
        x, y = position if position is not None else graph_node_position(node, 0.0, 0.0)
        width, height = body_rig_node_size(node)
        corners.append((x, y, x + width, y + height))
    if not corners:
        return None
    extent = (min(c[0] for c in corners), min(c[1] for c in corners),
              max(c[2] for c in corners), max(c[3] for c in corners))
    if not all(math.isfinite(value) for value in extent) or extent[2] <= extent[0] or extent[3] <= extent[1]:
        return None
    return extent


def body_rig_section_group_bounds(graph, group_name, padding=BODY_RIG_GROUP_PADDING, title_pad=BODY_RIG_GROUP_TITLE_PAD,
                                  min_width=BODY_RIG_GROUP_MIN_WIDTH, min_height=BODY_RIG_GROUP_MIN_HEIGHT,
                                  right_pad=None, bottom_pad=None):
    """The comment box (left, top, width, height) around the nodes registered to group_name, at their
    positions now: padding on the left, padding + title_pad on top, right_pad (default
    max(1.8 x padding, 160)) and bottom_pad (default max(1.6 x padding, 140)), at least min_width by
    min_height. None when the group holds no nodes or they span no area."""
    extent = body_rig_nodes_extent(graph, graph.group_nodes.get(group_name, ()))
    if extent is None:
        return None
    if right_pad is None:
        right_pad = max(BODY_RIG_GROUP_RIGHT_PAD_FACTOR * padding, BODY_RIG_GROUP_RIGHT_PAD_MIN)
    if bottom_pad is None:
        bottom_pad = max(BODY_RIG_GROUP_BOTTOM_PAD_FACTOR * padding, BODY_RIG_GROUP_BOTTOM_PAD_MIN)
    min_x, min_y, max_x, max_y = extent
    left = min_x - padding
    top = min_y - (padding + title_pad)
    width = max(min_width, (max_x + right_pad) - left)
    height = max(min_height, (max_y + bottom_pad) - top)
    return left, top, width, height


def body_rig_graph_bounds(graph):
    """(left, top, right, bottom) over every node of the graph; None when it has no nodes or they span
    no area."""
    return body_rig_nodes_extent(graph, graph_nodes(graph.controller))


# ---- comment boxes -----------------------------------------------------------------------------------

def body_rig_add_comment_group(graph, title, x, y, width, height):
    """Adds a comment box titled title at (x, y) of width by height, named after the title without
    spaces where the graph takes a name. Returns the comment node, or None when the graph adds none."""
    position, size = body_rig_position(x, y), unreal.Vector2D(float(width), float(height))
    color = unreal.LinearColor(*BODY_RIG_COMMENT_COLOR)
    name = str(title).replace(" ", "")
    return call_first_returning(
        lambda: graph.controller.add_comment_node(title, position, size, color, name, False),
        lambda: graph.controller.add_comment_node(title, position, size, color, name),
        lambda: graph.controller.add_comment_node(title, position, size))


def body_rig_finalize_section_group(graph, group_name=None, padding=BODY_RIG_GROUP_PADDING):
    """Puts a comment box titled with the group's name around the nodes of group_name (by default the
    open group) and closes the group when it is the open one. Returns the comment node, or None when
    the group has no bounds or the graph adds no comment."""
    name = group_name or graph.open_group
    if not name:
        return None
    if name == graph.open_group:
        graph.open_group = None
    bounds = body_rig_section_group_bounds(graph, name, padding=padding)
    if bounds is None:
        return None
    return body_rig_add_comment_group(graph, name, *bounds)


def body_rig_end_section_group(graph, group_name=None):
    """Ends a section group: finalises it (see body_rig_finalize_section_group)."""
    return body_rig_finalize_section_group(graph, group_name)


# ---- tidying -----------------------------------------------------------------------------------------

def body_rig_collapse_pin(graph, path):
    """Collapses the pin at path without undo; returns whether it was expanded."""
    try:
        return bool(graph.controller.set_pin_expansion(path, False, False))
    except Exception:  # a pin the graph no longer has
        return False


def body_rig_collapse_all_pins(graph):
    """Collapses every expanded pin of the nodes this build added so the generated graph stays
    readable: the pins their types show expanded and the parents of linked sub-pins. Prints and returns
    how many pins were expanded."""
    collapsed = 0
    for path, kind in graph.node_kinds.items():
        for relative in body_rig_default_expanded_pins.get(kind, ()):
            collapsed += body_rig_collapse_pin(graph, path + "." + relative)
    for path in sorted(graph.linked_pin_parents):
        collapsed += body_rig_collapse_pin(graph, path)
    print(BODY_RIG_PINS_COLLAPSED_TEXT, collapsed, BODY_RIG_PINS_COLLAPSED_DETAIL_TEXT)
    return collapsed
