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
