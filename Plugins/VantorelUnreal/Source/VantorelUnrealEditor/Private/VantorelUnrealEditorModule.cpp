// The editor module. Its reflected classes register with the object system as it loads.

#include "Modules/ModuleManager.h"

IMPLEMENT_MODULE(FDefaultModuleImpl, VantorelUnrealEditor)
