// The EditorSubsystem module: nothing to start; loading it by name succeeds as in the editor.
#include "Modules/ModuleManager.h"

IMPLEMENT_MODULE(FDefaultModuleImpl, EditorSubsystem)
