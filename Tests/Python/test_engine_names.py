"""Every name the stand-in's `unreal` module offers is one the engine's Python offers: each must stand in
HostEditor/Python/ENGINE_API.md, the record of the engine's Python API that the stand-in follows."""

import os
import re

import pytest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
ENGINE_MODULES = ("ControlRig", "ControlRigDeveloper", "ControlRigEditor", "ControlRigSpline", "RigVM",
                  "AnimationCore", "AssetTools", "EditorScriptingUtilities", "Blutility")
PLUGIN_PACKAGE = "/Script/Vantorel"


@pytest.fixture(scope="module")
def recorded_names():
    with open(os.path.join(ROOT, "HostEditor", "Python", "ENGINE_API.md"), encoding="utf-8") as record:
        return set(re.findall(r"[A-Za-z_][A-Za-z0-9_]*", record.read()))


@pytest.fixture(scope="module")
def engine_types(unreal):
    for module in ENGINE_MODULES:
        unreal.load_module(module)
    core = unreal._core
    return [(name, core.type_info(core.find_type(name)))
            for name, package in core.type_names() if not package.startswith(PLUGIN_PACKAGE)]


def test_the_editor_modules_scripts_load_by_name_exist(unreal):
    for module in ENGINE_MODULES:
        unreal.load_module(module)
    with pytest.raises(RuntimeError):
        unreal.load_module("NoSuchEditorModule")


def test_every_engine_type_is_a_recorded_engine_name(engine_types, recorded_names):
    assert len(engine_types) > 150
    assert [name for name, _ in engine_types if name not in recorded_names] == []


def test_every_function_of_an_engine_class_is_a_recorded_engine_name(engine_types, recorded_names):
    unrecorded = ["%s.%s" % (name, function) for name, info in engine_types if info["kind"] == "class"
                  for function, _, _ in info["functions"] if function not in recorded_names]
    assert unrecorded == []


def test_every_module_level_name_is_a_recorded_engine_name(unreal, recorded_names):
    plugin_types = {name for name, package in unreal._core.type_names() if package.startswith(PLUGIN_PACKAGE)}
    offered = [name for name, value in vars(unreal).items()
               if not name.startswith("_") and name not in plugin_types
               and (callable(value) or isinstance(value, type))
               and getattr(value, "__module__", "unreal") == "unreal"]
    assert "load_asset" in offered and "ScopedSlowTask" in offered
    assert [name for name in offered if name not in recorded_names] == []
