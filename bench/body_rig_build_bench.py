#!/usr/bin/python3
"""Builds body rigs for generated characters of growing size (by default 1, 4 and 16 times the
sample character's body controls) in the headless editor and prints, per size, the wall time of the
build, the time per control and the calls the tool script makes into `unreal` per element it
creates (hierarchy elements, graph nodes and links), as the stand-in counts them. The control shape
library's meshes are counted apart: their calls per mesh element made (vertex, vertex instance,
triangle), which the mesh description takes one call each for.

    /usr/bin/python3 bench/body_rig_build_bench.py [--sizes 1,4,16] [--profile N]

--profile N prints the 25 most expensive functions of the build at size N instead."""

import argparse
import os
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PYTHON_DIR = os.environ.get("VN_PYTHON_DIR", os.path.join(ROOT, os.environ.get("VN_BUILD_DIR", "build"), "python"))
TOOL_SCRIPT_DIR = os.path.join(ROOT, "Plugins", "VantorelUnreal", "Source", "VantorelUnrealEditor", "Private", "ToolScript")
for folder in (PYTHON_DIR, os.path.join(ROOT, "HostEditor", "Tools", "ScriptBundler"), os.path.join(ROOT, "Samples")):
    sys.path.insert(0, folder)


def load_tool_script():
    """Runs the bundled tool script as the host does; returns its state module and body driver."""
    import bundle_tool_script
    namespace = {"__name__": "__main__", "SOURCE_FILE": "", "INCLUDE_VN_FACE_SOLVER": True, "json_file": ""}
    exec(compile(bundle_tool_script.bundle(TOOL_SCRIPT_DIR), "vn_tool_check.py", "exec"), namespace)
    from _vantorel_tool import state
    from _vantorel_tool.body import driver, shapes
    return state, driver, shapes


def counting_shape_library(shapes, hosteditor, tally):
    """Counts, into tally, the engine calls of the shape library's installation and the mesh elements
    it makes, by wrapping the two functions of the shapes module that do them."""
    install, describe = shapes.body_rig_install_control_shape_library, shapes.body_rig_build_mesh_description

    def counted_install(*args, **kwargs):
        before = hosteditor.engine_call_counts()
        try:
            return install(*args, **kwargs)
        finally:
            after = hosteditor.engine_call_counts()
            tally["calls"] += sum(after[kind] - before[kind] for kind in after)

    def counted_describe(vertices, indices):
        tally["mesh elements"] += 2 * len(vertices) + len(indices) // 3
        return describe(vertices, indices)

    return counted_install, counted_describe


def created_elements(rig):
    graph = rig.get_controller(rig.get_model()).get_graph()
    nodes = list(graph.get_nodes())
    links = sum(len(pin.get_linked_source_pins()) for node in nodes for pin in all_pins(node))
    return len(rig.hierarchy.get_all_keys(True)), len(nodes), links


def all_pins(node):
    pending, pins = list(node.get_pins()), []
    while pending:
        pin = pending.pop()
        pins.append(pin)
        pending.extend(pin.get_sub_pins())
    return pins


def build(factor, workspace, quiet=True):
    """Builds the body rig of the factor-sized character; returns its figures."""
    import generate_sample
    import hosteditor
    import unreal
    hosteditor.start(os.path.join(workspace, "Project%d" % factor))
    unreal.load_module("VantorelUnreal")
    unreal.load_module("VantorelUnrealEditor")
    state, driver, shapes = load_tool_script()
    tally = {"calls": 0, "mesh elements": 0}
    driver.body_rig_install_control_shape_library, shapes.body_rig_build_mesh_description = \
        counting_shape_library(shapes, hosteditor, tally)
    mesh, body_json, controls = generate_sample.create_in_editor(generate_sample.sized_parameters(factor),
                                                                 os.path.join(workspace, "Characters"))
    state.set_target_skeletal_mesh(mesh)
    state.set_body_json_file(body_json)
    state.set_body_control_rig_source("Generate from JSON")
    state.set_control_rig_mode("Body")
    before = hosteditor.engine_call_counts()
    started = time.perf_counter()
    if quiet:
        with open(os.devnull, "w") as sink:
            saved, sys.stdout = sys.stdout, sink
            try:
                rig = driver.create_body_control_rig_from_json()
            finally:
                sys.stdout = saved
    else:
        rig = driver.create_body_control_rig_from_json()
    seconds = time.perf_counter() - started
    after = hosteditor.engine_call_counts()
    calls = sum(after[kind] - before[kind] for kind in after)
    elements, nodes, links = created_elements(rig)
    return {"factor": factor, "controls": controls, "seconds": seconds, "elements": elements, "nodes": nodes,
            "links": links, "calls": calls - tally["calls"], "shape calls": tally["calls"],
            "mesh elements": tally["mesh elements"]}


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--sizes", default="1,4,16", help="size factors, comma-separated (default %(default)s)")
    parser.add_argument("--profile", type=int, default=0, help="profile the build at this size instead")
    arguments = parser.parse_args(argv)
    workspace = tempfile.mkdtemp(prefix="vn_body_bench_")
    if arguments.profile:
        import cProfile
        import pstats
        profile = cProfile.Profile()
        profile.enable()
        build(arguments.profile, workspace)
        profile.disable()
        pstats.Stats(profile).sort_stats("cumulative").print_stats(25)
        pstats.Stats(profile).sort_stats("tottime").print_stats(25)
        return 0
    rows = [build(int(size), workspace) for size in arguments.sizes.split(",")]
    print("%6s %9s %10s %14s %10s %8s %8s %10s %16s %12s %14s" % (
        "size", "controls", "wall s", "ms per control", "elements", "nodes", "links", "calls", "calls per created",
        "shape calls", "per mesh elem"))
    for row in rows:
        created = row["elements"] + row["nodes"] + row["links"]
        print("%5dx %9d %10.2f %14.2f %10d %8d %8d %10d %16.2f %12d %14.2f" % (
            row["factor"], row["controls"], row["seconds"], 1000.0 * row["seconds"] / row["controls"], row["elements"],
            row["nodes"], row["links"], row["calls"], row["calls"] / float(created), row["shape calls"],
            row["shape calls"] / float(max(row["mesh elements"], 1))))
    first, last = rows[0], rows[-1]
    ratio = (last["seconds"] / last["controls"]) / (first["seconds"] / first["controls"])
    print("time per control at %dx is %.2f times that at %dx" % (last["factor"], ratio, first["factor"]))
    return 0


if __name__ == "__main__":
    sys.exit(main())
