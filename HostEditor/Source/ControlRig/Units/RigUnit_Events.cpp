// The event units. An event node only starts its execution chain; the executor follows the chain.
#include "Units/Execution/RigUnit_BeginExecution.h"
#include "Units/Execution/RigUnit_InverseExecution.h"

void FRigUnit_BeginExecution::Execute()
{
}

void FRigUnit_InverseExecution::Execute()
{
}
