// `_unreal_core` as an extension module, so that a plain Python (pytest) can import `unreal`.
#include "PyCore.h"
#include "PyHostEditor.h"

#include "Modules/ModuleManager.h"

PYBIND11_MODULE(_unreal_core, Module)
{
	HostEditorPython::DefineCore(Module);
	HostEditorPython::DefineHostEditor(Module);
	// The editor loads module libraries from its binaries folder.
	FModuleManager::Get().AddBinariesDirectory(TEXT(VN_MODULE_BINARIES_DIR), false);
}
