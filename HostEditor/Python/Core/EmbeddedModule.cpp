// `_unreal_core` as a module built into a host program: the program's own interpreter imports it
// without loading the extension from the build folder, so `unreal` works on the very objects the
// program's native code holds.
#include "PyCore.h"
#include "PyHostEditor.h"

#include <pybind11/embed.h>

PYBIND11_EMBEDDED_MODULE(_unreal_core, Module)
{
	HostEditorPython::DefineCore(Module);
	HostEditorPython::DefineHostEditor(Module);
}
