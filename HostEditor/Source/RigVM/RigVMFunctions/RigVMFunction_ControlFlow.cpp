// The control-flow functions. Which of their execution outputs run, and in what order, is decided by
// the executor that walks the graph; their own entries pick nothing more.
#include "RigVMFunctions/Execution/RigVMFunction_Sequence.h"
#include "RigVMFunctions/RigVMFunction_ControlFlow.h"

void FRigVMFunction_Sequence::Execute()
{
}

void FRigVMFunction_ControlFlowBranch::Execute()
{
	BlockToRun = Condition ? FName(TEXT("True")) : FName(TEXT("False"));
}
