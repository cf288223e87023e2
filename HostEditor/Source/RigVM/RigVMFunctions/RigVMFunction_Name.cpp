#include "RigVMFunctions/RigVMFunction_Name.h"

void FRigVMFunction_NameConcat::Execute()
{
	// An empty side leaves the other as it is, so that None never shows up as text.
	if (A.IsNone())
	{
		Result = B;
	}
	else if (B.IsNone())
	{
		Result = A;
	}
	else
	{
		Result = FName(*(A.ToString() + B.ToString()));
	}
}
