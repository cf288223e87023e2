// Boolean math functions.
#pragma once

#include "CoreMinimal.h"
#include "RigVMFunctions/Math/RigVMFunction_MathBase.h"
#include "UObject/ObjectMacros.h"

#include "RigVMFunction_MathBool.generated.h"

USTRUCT(meta = (Abstract, Category = "Math|Boolean", MenuDescSuffix = "(Bool)"))
struct RIGVM_API FRigVMFunction_MathBoolBase : public FRigVMFunction_MathBase
{
	GENERATED_BODY()
};

USTRUCT(meta = (Abstract))
struct RIGVM_API FRigVMFunction_MathBoolUnaryOp : public FRigVMFunction_MathBoolBase
{
	GENERATED_BODY()

	UPROPERTY(meta = (Input))
	bool Value = false;

	UPROPERTY(meta = (Output))
	bool Result = false;
};

/**
 * Returns true if the condition is false
 */
USTRUCT(meta = (DisplayName = "Not", TemplateName = "Not", Keywords = "!"))
struct RIGVM_API FRigVMFunction_MathBoolNot : public FRigVMFunction_MathBoolUnaryOp
{
	GENERATED_BODY()

	RIGVM_METHOD()
	virtual void Execute() override;
};
