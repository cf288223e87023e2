"""Whether a rig graph runs as the builders emitted it, not only whether its nodes are there.

`PinRecorder` notes every pin path the tool script sets or links while it builds (by wrapping the
graph controller's two calls), and `graph_execution_faults` then reports, as readable lines:

- a recorded pin that is missing on its node, and every link the graph refused;
- a node with an execution input that nothing links, or that more than one pin links;
- an execution output linked to more than one input (one chain, no fan-out without a sequence; the
  graph itself moves an execution output's link when it is linked again, which leaves the first
  input unlinked, and that is reported as such);
- a node with an execution input that the begin node does not reach (a loop of execution links
  shows as such: each input takes one link, so nothing from the begin node can enter it).

Builder tests call `assert_graph_executes` on the whole graph or on the nodes of their sections."""

EXECUTE_TYPES = ("FControlRigExecuteContext", "FRigVMExecuteContext")


def is_execute_pin(pin):
    return str(pin.get_cpp_type()) in EXECUTE_TYPES


def direction_name(pin):
    direction = pin.get_direction()
    return str(getattr(direction, "name", direction)).upper()


def node_name_of(pin_path):
    return str(pin_path).split(".", 1)[0]


class PinRecorder:
    """Records what the tool script asks of every graph controller while installed."""

    def __init__(self, unreal, monkeypatch):
        self.links = []      # (source path, target path, whether the graph made the link)
        self.defaults = []   # pin paths given a default value
        controller_type = unreal.RigVMController
        add_link, set_default = controller_type.add_link, controller_type.set_pin_default_value
        recorder = self

        def recording_add_link(controller, source, target, *args, **kwargs):
            made = add_link(controller, source, target, *args, **kwargs)
            recorder.links.append((str(source), str(target), bool(made)))
            return made

        def recording_set_default(controller, path, *args, **kwargs):
            recorder.defaults.append(str(path))
            return set_default(controller, path, *args, **kwargs)

        monkeypatch.setattr(controller_type, "add_link", recording_add_link)
        monkeypatch.setattr(controller_type, "set_pin_default_value", recording_set_default)


OTHER_EVENTS = ("RigUnit_InverseExecution",)


def graph_execution_faults(graph, begin="RigUnit_BeginExecution", recorder=None, nodes=None):
    """The faults of graph (see the module's text); nodes (paths) limits the per-node checks to those
    nodes, e.g. one section's, while reachability is always judged from begin."""
    all_nodes = {str(node.get_node_path()): node for node in graph.get_nodes()}
    checked = set(all_nodes) if nodes is None else {str(name) for name in nodes}
    faults = []
    if begin not in all_nodes:
        return ["no begin node " + begin]

    def find_pin(path):
        node = all_nodes.get(node_name_of(path))
        rest = str(path).split(".", 1)[1] if "." in str(path) else ""
        return node.find_pin(rest) if node is not None and rest else None

    if recorder is not None:
        for source, target, made in recorder.links:
            if node_name_of(source) not in checked and node_name_of(target) not in checked:
                continue
            for path in (source, target):
                if find_pin(path) is None:
                    faults.append("linked pin missing: " + path)
            if not made and find_pin(source) is not None and find_pin(target) is not None:
                faults.append("link refused: %s -> %s" % (source, target))
        for path in recorder.defaults:
            if node_name_of(path) in checked and find_pin(path) is None:
                faults.append("set pin missing: " + path)

    # The execution edges, node to node, from every output side of an execution pin.
    successors = {}
    for name, node in all_nodes.items():
        for pin in node.get_pins():
            if not is_execute_pin(pin):
                continue
            targets = [str(target.get_pin_path()) for target in pin.get_linked_target_pins()]
            if len(targets) > 1 and name in checked:
                faults.append("execution fans out: %s -> %s" % (pin.get_pin_path(), ", ".join(targets)))
            successors.setdefault(name, []).extend(node_name_of(target) for target in targets)

    # Everything the begin node, or another event of the graph (the backwards solve), reaches along
    # the execution links.
    events = [begin] + [name for name in OTHER_EVENTS if name in all_nodes and name != begin]
    reached, pending = set(events), list(events)
    while pending:
        for step in successors.get(pending.pop(), []):
            if step not in reached:
                reached.add(step)
                pending.append(step)

    for name in sorted(checked):
        node = all_nodes.get(name)
        if node is None:
            faults.append("node missing: " + name)
            continue
        inputs = [pin for pin in node.get_pins() if is_execute_pin(pin) and direction_name(pin) in ("INPUT", "IO")]
        if not inputs or name in events:
            continue
        sources = [str(source.get_pin_path()) for source in inputs[0].get_linked_source_pins()]
        if not sources:
            faults.append("execution input unlinked: " + name)
        elif len(sources) > 1:
            faults.append("execution input linked %d times: %s" % (len(sources), name))
        if name not in reached:
            faults.append("not reached from %s: %s" % (begin, name))
    return faults


def assert_graph_executes(graph, begin="RigUnit_BeginExecution", recorder=None, nodes=None):
    faults = graph_execution_faults(graph, begin, recorder, nodes)
    assert not faults, "%d faults:\n  %s" % (len(faults), "\n  ".join(faults[:40]))


def executed_nodes(graph, begin="RigUnit_BeginExecution"):
    """The paths of the mutable nodes in execution order as the graph links them (a depth-first walk
    taking each node's execution outputs in pin order)."""
    all_nodes = {str(node.get_node_path()): node for node in graph.get_nodes()}
    order, seen, stack = [], set(), [begin]
    while stack:
        name = stack.pop()
        if name in seen or name not in all_nodes:
            continue
        seen.add(name)
        order.append(name)
        following = []
        for pin in all_nodes[name].get_pins():
            if is_execute_pin(pin):
                following += [node_name_of(target.get_pin_path()) for target in pin.get_linked_target_pins()]
        stack.extend(reversed(following))
    return order
