"""Makes the built `unreal` module importable and loads the plug-in's modules once."""

import os
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


@pytest.fixture
def tool_script(unreal):
    """A fresh namespace in which the bundled tool script has run, with the host's start values set
    beforehand as the host's bootstrap sets them."""
    import bundle_tool_script
    namespace = {"__name__": "__main__", "SOURCE_FILE": "", "INCLUDE_VN_FACE_SOLVER": True, "json_file": ""}
    exec(compile(bundle_tool_script.bundle(TOOL_SCRIPT_DIR), "vn_tool_check.py", "exec"), namespace)
    return namespace


SAMPLE_HERO = os.path.join(ROOT, "Samples", "SampleHero")
SAMPLE_HERO_MESH = "/Game/SampleHero/SK_SampleHero"
SAMPLE_HERO_RIG = "/Game/SampleHero/SK_SampleHero_Body_CR"


@pytest.fixture
def hero(editor, unreal, tool_script, tmp_path):
    """The sample character's mesh in a fresh project, made the tool script's target for a Body build
    from its Body rig JSON."""
    content = tmp_path / "Project" / "Content" / "SampleHero"
    content.mkdir(parents=True, exist_ok=True)
    for name in os.listdir(SAMPLE_HERO):
        if name.endswith(".uasset"):
            shutil.copy(os.path.join(SAMPLE_HERO, name), content / name)
    mesh = unreal.load_asset(SAMPLE_HERO_MESH)
    assert mesh is not None
    tool_script["set_target_skeletal_mesh"](mesh)
    tool_script["set_body_json_file"](os.path.join(SAMPLE_HERO, "SampleHero_BodyRig.json"))
    tool_script["set_body_control_rig_source"]("Generate from JSON")
    tool_script["set_control_rig_mode"]("Body")
    return mesh
