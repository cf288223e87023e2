// The abstract bases of the RigVM math functions.
#pragma once

#include "CoreMinimal.h"
#include "RigVMCore/RigVMStruct.h"
#include "UObject/ObjectMacros.h"

#include "RigVMFunction_MathBase.generated.h"

/** The base of the pure math functions. */
USTRUCT(meta = (Abstract, Category = "Math", NodeColor = "0.05 0.25 0.05"))
struct RIGVM_API FRigVMFunction_MathBase : public FRigVMStruct
{
	GENERATED_BODY()
};

/** The base of the math functions that run on the execution chain. */
USTRUCT(meta = (Abstract, Category = "Math", NodeColor = "0.05 0.25 0.05"))
struct RIGVM_API FRigVMFunction_MathMutableBase : public FRigVMStructMutable
{
	GENERATED_BODY()
};
