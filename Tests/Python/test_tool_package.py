"""The tool script's package as a codebase: every name a module uses is its own, imported or built in;
no module looks a function up by name; the body driver's not-built steps are exactly the steps that no
module defines; the builtins table names the fourteen builtins. Reads the sources only."""

import ast
import builtins
import os
import symtable

import pytest

from conftest import TOOL_PACKAGE, TOOL_SCRIPT_DIR, package_definitions

PACKAGE_DIR = os.path.join(TOOL_SCRIPT_DIR, TOOL_PACKAGE)

# Every step the body driver runs, built or not, by the name of its function.
BODY_DRIVER_STEPS = (
    "body_rig_prepare_fkik_controls", "body_rig_make_poles", "body_rig_prepare_spline_ik", "body_rig_prepare_reverse_foot",
    "body_rig_apply_iklocal_addctrl", "body_rig_attach_controls_after_fkik", "body_rig_plan_hip_swinger",
    "body_rig_is_omitted_hip_swinger_control", "body_rig_make_fkik_result_parent_spaces", "body_rig_make_leg_lock_space",
    "body_rig_plan_bendy", "body_rig_install_control_shape_library", "body_rig_make_control",
    "body_rig_parent_main_to_motion_system", "body_rig_align_iklocal_controls", "body_rig_repair_control_parents",
    "body_rig_make_vantorel_global_groups", "body_rig_make_spline_end_follow_spaces", "body_rig_make_inbetween_offset_spaces",
    "body_rig_make_hip_swinger_spaces", "body_rig_make_vantorel_fit_channels", "body_rig_make_driving_system_attachments",
    "body_rig_make_sdk_control_spaces", "body_rig_make_fit_channels", "body_rig_make_fkik_channels",
    "body_rig_make_pole_parent_space", "body_rig_make_spline_parent_spaces", "body_rig_make_spline_fk_snapshot_spaces",
    "body_rig_make_standard_twist_snapshot_spaces", "body_rig_make_bendy_spaces", "body_rig_make_reverse_foot_roll_systems",
    "body_rig_make_reverse_foot_target", "body_rig_add_bendy_node", "body_rig_add_reverse_foot_roll",
    "body_rig_add_forward_control", "body_rig_add_inbetween_control_distribution", "body_rig_add_hip_swinger",
    "body_rig_add_forward_fk_loop", "body_rig_capture_spline_fk_pose", "body_rig_add_spline_ik",
    "body_rig_add_spline_end_fk_pin", "body_rig_add_vantorel_global", "body_rig_add_fkik_result_parent_constraints",
    "body_rig_add_leg_lock", "body_rig_add_fkik_reader", "body_rig_add_reverse_foot_toes", "add_standard_twist_solution",
    "body_rig_add_fkik_follow_constraints", "body_rig_add_driving_system_follow_constraints",
    "body_rig_add_final_inbetween_visibility", "body_rig_add_backward_solve", "body_rig_finalize_reverse_foot_hierarchy",
)


def package_sources():
    for folder, _dirs, files in os.walk(PACKAGE_DIR):
        for file_name in sorted(files):
            if file_name.endswith(".py"):
                path = os.path.join(folder, file_name)
                yield os.path.relpath(path, TOOL_SCRIPT_DIR), open(path, encoding="utf-8").read()


def undefined_globals(source, file_name):
    """Names the module reads as globals that it neither defines, imports nor gets from builtins."""
    tree = ast.parse(source, file_name)
    bound = set(vars(builtins)) | {"__name__", "__file__", "__doc__", "__spec__", "__package__", "__path__"}
    for node in ast.walk(tree):
        if isinstance(node, (ast.Import, ast.ImportFrom)):
            bound.update((alias.asname or alias.name).split(".")[0] for alias in node.names)
    module = symtable.symtable(source, file_name, "exec")
    bound.update(symbol.get_name() for symbol in module.get_symbols() if symbol.is_assigned() or symbol.is_imported())
    missing = set()

    def walk(table):
        for symbol in table.get_symbols():
            if symbol.is_referenced() and (symbol.is_global() or table is module) and symbol.get_name() not in bound:
                missing.add(symbol.get_name())
        for child in table.get_children():
            walk(child)
    walk(module)
    return missing


def test_every_name_a_module_uses_is_defined_imported_or_built_in():
    found = {name: sorted(undefined_globals(source, name)) for name, source in package_sources()}
    assert {name: names for name, names in found.items() if names} == {}
    assert len(found) >= 20, "the package's modules were found"


def test_the_checker_finds_a_name_that_crosses_modules_unseen():
    source = "import re\n\ndef f(text):\n    return body_json_float(re.sub('a', '', text))\n"
    assert undefined_globals(source, "probe.py") == {"body_json_float"}


def test_no_module_looks_a_function_up_by_name():
    calls = []
    for name, source in package_sources():
        for node in ast.walk(ast.parse(source)):
            if isinstance(node, ast.Call) and isinstance(node.func, ast.Name) and node.func.id in ("globals", "eval", "exec"):
                calls.append((name, node.lineno, node.func.id))
    assert calls == []


def test_every_driver_step_is_defined_and_called_by_the_body_builder():
    definitions = package_definitions()
    assert [step for step in BODY_DRIVER_STEPS if step not in definitions] == []
    body_calls = set()
    for name, source in package_sources():
        if os.sep + "body" + os.sep in name:
            body_calls.update(node.func.id for node in ast.walk(ast.parse(source))
                              if isinstance(node, ast.Call) and isinstance(node.func, ast.Name))
    assert [step for step in BODY_DRIVER_STEPS if step not in body_calls] == []


def test_the_builtins_table_names_the_fourteen_builtins_once():
    actions = dict(package_sources())[os.path.join(TOOL_PACKAGE, "actions.py")]
    table = next(node.value for node in ast.parse(actions).body
                 if isinstance(node, ast.Assign) and [target.id for target in node.targets] == ["VANTOREL_BUILTINS"])
    names = [key.value for key in table.keys]
    assert names == ["vn_set_target_skeletal_mesh", "vn_set_body_control_rig_template", "vn_set_body_control_rig_template_file",
                     "vn_set_body_json_file", "vn_set_body_control_rig_source", "vn_set_face_json_file",
                     "vn_set_control_rig_mode", "vn_set_body_rig_options", "vn_set_include_custom_controllers",
                     "vn_run_set_retarget_options", "vn_run_set_third_person_character", "vn_run_create_body_control_rig",
                     "vn_run_create_face_control_rig", "vn_run_create_control_rig"]


@pytest.mark.parametrize("module", ["state", "names", "body_json", "body.common", "body.planning", "body.nurbs"])
def test_the_pure_modules_import_without_the_engine(source_package, module):
    import sys
    assert source_package.module(module) is not None
    assert "unreal" not in vars(source_package.module(module))
    assert all(not name.startswith(TOOL_PACKAGE) or "unreal" not in vars(sys.modules[name])
               for name in sys.modules if name.startswith(TOOL_PACKAGE))


# The tool's session state (the selection and options the window sets) and the face data types resolved
# from the engine live in their own modules; the engine facts the graph helpers learn once per type are
# kept for the process. Nothing else keeps state between builds.
SESSION_STATE_MODULES = (os.path.join(TOOL_PACKAGE, "state.py"), os.path.join(TOOL_PACKAGE, "face_types.py"))
PROCESS_CACHES = {(os.path.join(TOOL_PACKAGE, "graph.py"), "body_rig_default_expanded_pins"),
                  (os.path.join(TOOL_PACKAGE, "graph.py"), "body_rig_unit_structs")}


def module_state(source):
    """(global statements, names bound at module level to a dict, list or set) of a module; names in
    capitals are constants and not counted."""
    tree = ast.parse(source)
    global_statements = [node.lineno for node in ast.walk(tree) if isinstance(node, ast.Global)]
    containers = []
    for node in tree.body:
        if isinstance(node, (ast.Assign, ast.AnnAssign)) and node.value is not None:
            value = node.value
            mutable = isinstance(value, (ast.Dict, ast.List, ast.Set, ast.DictComp, ast.ListComp, ast.SetComp)) or (
                isinstance(value, ast.Call) and isinstance(value.func, ast.Name) and value.func.id in ("dict", "list", "set"))
            if mutable:
                targets = node.targets if isinstance(node, ast.Assign) else [node.target]
                containers += [target.id for target in targets if isinstance(target, ast.Name) and not target.id.isupper()]
    return global_statements, containers


def test_no_module_keeps_build_state_between_calls():
    found = []
    for name, source in package_sources():
        if name in SESSION_STATE_MODULES:
            continue
        global_statements, containers = module_state(source)
        found += [(name, "global", line) for line in global_statements]
        found += [(name, "container", container) for container in containers if (name, container) not in PROCESS_CACHES]
    assert found == []


def test_the_state_check_sees_globals_and_module_containers():
    assert module_state("seen = {}\nTEXT = 'a'\nNAMES = ['a']\ndef f():\n    global seen\n    seen = set()\n") == ([5], ["seen"])
