"""Makes the built `unreal` module importable and loads the plug-in's modules once."""

import os
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
    """The headless editor started on a fresh project folder; yields the `hosteditor` module."""
    import hosteditor
    hosteditor.start(str(tmp_path / "Project"))
    return hosteditor


TOOL_SCRIPT_DIR = os.path.join(ROOT, "Plugins", "VantorelUnreal", "Source", "VantorelUnrealEditor", "Private", "ToolScript")
sys.path.insert(0, os.path.join(ROOT, "HostEditor", "Tools", "ScriptBundler"))


@pytest.fixture
def tool_script(unreal):
    """A fresh namespace in which the bundled tool script has run, with the host's start values set
    beforehand as the host's bootstrap sets them."""
    import bundle_tool_script
    namespace = {"__name__": "__main__", "SOURCE_FILE": "", "INCLUDE_VN_FACE_SOLVER": True, "json_file": ""}
    exec(compile(bundle_tool_script.bundle(TOOL_SCRIPT_DIR), "vn_tool_check.py", "exec"), namespace)
    return namespace
