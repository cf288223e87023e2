// The runtime module has no start-up work: its types register with the object system as it loads.

#include "Modules/ModuleManager.h"

IMPLEMENT_MODULE(FDefaultModuleImpl, VantorelUnreal)
