// The native half of the editor's Python: reflection-driven access to the stand-in's objects,
// structs, enums and functions. The `unreal` module (unreal.py) builds its Python types on it.
#pragma once

#include <pybind11/pybind11.h>

namespace HostEditorPython
{
	/** Defines the `_unreal_core` module's types and functions in Module. */
	void DefineCore(pybind11::module_& Module);
}
