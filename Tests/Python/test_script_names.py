"""The engine's Python names of function parameters, as the header tool gives them: a bool's "b" and an
"In" prefix go, an "Out" prefix stays (the engine's Python generator strips only those two)."""

import os
import sys

import pytest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "HostEditor", "Tools", "HeaderTool"))

import script_names  # noqa: E402


@pytest.mark.parametrize("name, cpp_type, python_name", [
    ("InKey", "FRigElementKey", "key"),
    ("bInitial", "bool", "initial"),
    ("bSetupUndoRedo", "bool", "setup_undo_redo"),
    ("InDesiredPackagePath", "const FString&", "desired_package_path"),
    ("OutError", "FString&", "out_error"),
    ("OutVersionName", "FString&", "out_version_name"),
    ("Index", "int32", "index"),
    ("Input", "float", "input"),
    ("Outer", "UObject*", "outer"),
])
def test_parameters_lose_b_and_in_but_keep_out(name, cpp_type, python_name):
    assert script_names.parameter_script_name(name, cpp_type) == python_name
