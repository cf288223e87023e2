"""Makes the built `unreal` module importable and loads the plug-in's modules once."""

import os
import pathlib
import shutil
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
PYTHON_DIR = os.environ.get("VN_PYTHON_DIR", os.path.join(ROOT, "build", "python"))
if PYTHON_DIR not in sys.path:
    sys.path.insert(0, PYTHON_DIR)

import pytest  # noqa: E402


@pytest.fixture(scope="session")
def unreal():
    import unreal as module
    module.load_module("VantorelUnreal")
    module.load_module("VantorelUnrealEditor")
    return module


@pytest.fixture
def editor(unreal, tmp_path):
    """A new run of the headless editor on a fresh project folder, ended when the test ends (as a
    newly launched editor: nothing is left of earlier tests' runs); yields the `hosteditor` module."""
    import hosteditor
    hosteditor.shutdown()
    hosteditor.start(str(tmp_path / "Project"))
    yield hosteditor
    hosteditor.shutdown()


TOOL_SCRIPT_DIR = os.path.join(ROOT, "Plugins", "VantorelUnreal", "Source", "VantorelUnrealEditor", "Private", "ToolScript")
sys.path.insert(0, os.path.join(ROOT, "HostEditor", "Tools", "ScriptBundler"))
sys.path.insert(0, os.path.join(ROOT, "Samples"))


TOOL_PACKAGE = "_vantorel_tool"


def package_definitions():
    """Name -> the package module that defines it at its top level, read from the sources."""
    import ast
    definitions = {}
    package_dir = os.path.join(TOOL_SCRIPT_DIR, TOOL_PACKAGE)
    for folder, _dirs, files in os.walk(package_dir):
        for file_name in files:
            if not file_name.endswith(".py"):
                continue
            path = os.path.join(folder, file_name)
            module = os.path.relpath(path, TOOL_SCRIPT_DIR)[:-3].replace(os.sep, ".")
            module = module[:-len(".__init__")] if module.endswith(".__init__") else module
            for node in ast.parse(open(path, encoding="utf-8").read()).body:
                targets = []
                if isinstance(node, (ast.FunctionDef, ast.ClassDef)):
                    targets = [node.name]
                elif isinstance(node, (ast.Assign, ast.AnnAssign)):
                    nodes = node.targets if isinstance(node, ast.Assign) else [node.target]
                    targets = [name.id for target in nodes for name in ast.walk(target) if isinstance(name, ast.Name)]
                for name in targets:
                    definitions.setdefault(name, module)
    return definitions


class ToolScript:
    """The tool script after a run, as tests read it: tool["name"] is the value of name in the package
    module that defines it (the run's namespace for what only the namespace holds), tool["name"] = value
    replaces it in every module of the package that holds that same object, as patching the name
    there would, so that code calling it from another module sees the replacement too."""

    definitions = None

    def __init__(self, namespace):
        if ToolScript.definitions is None:
            ToolScript.definitions = package_definitions()
        self.namespace = namespace
        self.modules = {name: module for name, module in sys.modules.items()
                        if name == TOOL_PACKAGE or name.startswith(TOOL_PACKAGE + ".")}

    def module(self, name):
        """The package module called name ("body.fkik", "state", ...)."""
        return self.modules[TOOL_PACKAGE + "." + name]

    def _holders(self, name):
        defining = self.definitions.get(name)
        if defining is not None:
            return [self.modules[defining]]
        return [module for module in self.modules.values() if name in vars(module)]

    def __getitem__(self, name):
        holders = self._holders(name)
        if holders:
            return getattr(holders[0], name)
        return self.namespace[name]

    def __contains__(self, name):
        return bool(self._holders(name)) or name in self.namespace

    def __setitem__(self, name, value):
        holders = self._holders(name)
        if not holders:
            self.namespace[name] = value
            return
        old = getattr(holders[0], name, None)
        for module in self.modules.values():
            if name in vars(module) and (vars(module)[name] is old or module is holders[0]):
                setattr(module, name, value)
        setattr(holders[0], name, value)

    def get(self, name, default=None):
        return self[name] if name in self else default

    def __delitem__(self, name):
        self.namespace.pop(name, None)
        for module in self._holders(name):
            delattr(module, name)

    def update(self, **values):
        for name, value in values.items():
            self[name] = value


def run_tool_script(**host_values):
    """Runs the bundled tool script as the host does, in a fresh namespace holding host_values first;
    returns the ToolScript of the run."""
    import bundle_tool_script
    namespace = dict(host_values, __name__="__main__")
    exec(compile(bundle_tool_script.bundle(TOOL_SCRIPT_DIR), "vn_tool_check.py", "exec"), namespace)
    return ToolScript(namespace)


@pytest.fixture
def source_package():
    """The package's modules imported from their source files as plain Python, without the editor or
    the built `unreal` module: for the modules of pure logic (readers, coercion rules, names)."""
    for name in [name for name in sys.modules if name == TOOL_PACKAGE or name.startswith(TOOL_PACKAGE + ".")]:
        del sys.modules[name]
    # A bundled run before this one leaves its import hook for the carried modules; these come from files.
    saved_hooks = list(sys.meta_path)
    sys.meta_path[:] = [hook for hook in sys.meta_path if getattr(hook, "carried_package", None) != TOOL_PACKAGE]
    sys.path.insert(0, TOOL_SCRIPT_DIR)
    try:
        import importlib
        for module in ("state", "names", "body_json", "body.common", "body.planning", "body.nurbs"):
            importlib.import_module(TOOL_PACKAGE + "." + module)
        yield ToolScript({})
    finally:
        sys.path.remove(TOOL_SCRIPT_DIR)
        sys.meta_path[:] = saved_hooks
        for name in [name for name in sys.modules if name == TOOL_PACKAGE or name.startswith(TOOL_PACKAGE + ".")]:
            del sys.modules[name]


@pytest.fixture
def tool_script(unreal):
    """A fresh run of the bundled tool script, with the host's start values set beforehand as the
    host's bootstrap sets them."""
    return run_tool_script(SOURCE_FILE="", INCLUDE_VN_FACE_SOLVER=True, json_file="")


SAMPLE_HERO = os.path.join(ROOT, "Samples", "SampleHero")
SAMPLE_HERO_MESH = "/Game/SampleHero/SK_SampleHero"
SAMPLE_HERO_RIG = "/Game/SampleHero/SK_SampleHero_Body_CR"


def install_sample_hero(unreal, project):
    """Copies the sample character's packages into the running editor's project folder and returns
    its mesh, loaded."""
    content = pathlib.Path(project) / "Content" / "SampleHero"
    content.mkdir(parents=True, exist_ok=True)
    for name in os.listdir(SAMPLE_HERO):
        if name.endswith(".uasset"):
            shutil.copy(os.path.join(SAMPLE_HERO, name), content / name)
    mesh = unreal.load_asset(SAMPLE_HERO_MESH)
    assert mesh is not None
    return mesh


@pytest.fixture
def hero(editor, unreal, tool_script, tmp_path):
    """The sample character's mesh in a fresh project, made the tool script's target for a Body build
    from its Body rig JSON."""
    mesh = install_sample_hero(unreal, tmp_path / "Project")
    tool_script["set_target_skeletal_mesh"](mesh)
    tool_script["set_body_json_file"](os.path.join(SAMPLE_HERO, "SampleHero_BodyRig.json"))
    tool_script["set_body_control_rig_source"]("Generate from JSON")
    tool_script["set_control_rig_mode"]("Body")
    return mesh
