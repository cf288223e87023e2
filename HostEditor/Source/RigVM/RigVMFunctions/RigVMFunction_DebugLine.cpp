#include "RigVMFunctions/Debug/RigVMFunction_DebugLine.h"

void FRigVMFunction_DebugLineNoSpace::Execute()
{
	// Debug lines go to the viewport's draw interface; a headless editor has no viewport to draw in,
	// so the line is not kept anywhere.
}
