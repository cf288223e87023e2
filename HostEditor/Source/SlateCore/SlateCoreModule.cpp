// The SlateCore module: widget base classes, slots and styles.

#include "Modules/ModuleManager.h"

IMPLEMENT_MODULE(FDefaultModuleImpl, SlateCore)
