// The native functions behind the test-facing `hosteditor` module and the asset helpers of
// `unreal` that need the object system directly.
#pragma once

#include <pybind11/pybind11.h>

namespace HostEditorPython
{
	/** Adds the `hosteditor` submodule and the asset helpers to Module. */
	void DefineHostEditor(pybind11::module_& Module);
}
