// Vector math functions.
#pragma once

#include "CoreMinimal.h"
#include "RigVMFunctions/Math/RigVMFunction_MathBase.h"
#include "UObject/ObjectMacros.h"

#include "RigVMFunction_MathVector.generated.h"

USTRUCT(meta = (Abstract, Category = "Math|Vector", MenuDescSuffix = "(Vector)"))
struct RIGVM_API FRigVMFunction_MathVectorBase : public FRigVMFunction_MathBase
{
	GENERATED_BODY()
};

USTRUCT(meta = (Abstract))
struct RIGVM_API FRigVMFunction_MathVectorBinaryOp : public FRigVMFunction_MathVectorBase
{
	GENERATED_BODY()

	UPROPERTY(meta = (Input))
	FVector A = FVector::ZeroVector;

	UPROPERTY(meta = (Input))
	FVector B = FVector::ZeroVector;

	UPROPERTY(meta = (Output))
	FVector Result = FVector::ZeroVector;
};

/** A binary operation that takes further operands as added pins. */
USTRUCT(meta = (Abstract))
struct RIGVM_API FRigVMFunction_MathVectorBinaryAggregateOp : public FRigVMFunction_MathVectorBase
{
	GENERATED_BODY()

	UPROPERTY(meta = (Input, Aggregate))
	FVector A = FVector::ZeroVector;

	UPROPERTY(meta = (Input, Aggregate))
	FVector B = FVector::ZeroVector;

	UPROPERTY(meta = (Output, Aggregate))
	FVector Result = FVector::ZeroVector;
};

/**
 * Returns the sum of the two values
 */
USTRUCT(meta = (DisplayName = "Add", TemplateName = "Add", Keywords = "Sum,+"))
struct FRigVMFunction_MathVectorAdd : public FRigVMFunction_MathVectorBinaryAggregateOp
{
	GENERATED_BODY()

	RIGVM_METHOD()
	virtual void Execute() override;
};

/**
 * Returns the difference of the two values
 */
USTRUCT(meta = (DisplayName = "Subtract", TemplateName = "Subtract", Keywords = "-"))
struct FRigVMFunction_MathVectorSub : public FRigVMFunction_MathVectorBinaryOp
{
	GENERATED_BODY()

	RIGVM_METHOD()
	virtual void Execute() override;
};
