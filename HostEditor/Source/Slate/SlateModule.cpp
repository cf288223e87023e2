// The Slate module: widgets, docking and the application.

#include "Modules/ModuleManager.h"

IMPLEMENT_MODULE(FDefaultModuleImpl, Slate)
