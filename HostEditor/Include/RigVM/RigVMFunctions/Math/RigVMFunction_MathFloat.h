// Single-precision float math functions.
#pragma once

#include "CoreMinimal.h"
#include "RigVMFunctions/Math/RigVMFunction_MathBase.h"
#include "UObject/ObjectMacros.h"

#include "RigVMFunction_MathFloat.generated.h"

USTRUCT(meta = (Abstract, Category = "Math|Float", MenuDescSuffix = "(Float)"))
struct RIGVM_API FRigVMFunction_MathFloatBase : public FRigVMFunction_MathBase
{
	GENERATED_BODY()
};

USTRUCT(meta = (Abstract))
struct RIGVM_API FRigVMFunction_MathFloatBinaryOp : public FRigVMFunction_MathFloatBase
{
	GENERATED_BODY()

	UPROPERTY(meta = (Input))
	float A = 0.f;

	UPROPERTY(meta = (Input))
	float B = 0.f;

	UPROPERTY(meta = (Output))
	float Result = 0.f;
};

/** A binary operation that takes further operands as added pins. */
USTRUCT(meta = (Abstract))
struct RIGVM_API FRigVMFunction_MathFloatBinaryAggregateOp : public FRigVMFunction_MathFloatBase
{
	GENERATED_BODY()

	UPROPERTY(meta = (Input, Aggregate))
	float A = 0.f;

	UPROPERTY(meta = (Input, Aggregate))
	float B = 0.f;

	UPROPERTY(meta = (Output, Aggregate))
	float Result = 0.f;
};

/**
 * Returns the sum of the two values
 */
USTRUCT(meta = (DisplayName = "Add", TemplateName = "Add", Keywords = "Sum,+"))
struct FRigVMFunction_MathFloatAdd : public FRigVMFunction_MathFloatBinaryAggregateOp
{
	GENERATED_BODY()

	RIGVM_METHOD()
	virtual void Execute() override;
};

/**
 * Returns the product of the two values
 */
USTRUCT(meta = (DisplayName = "Multiply", TemplateName = "Multiply", Keywords = "Product,*"))
struct FRigVMFunction_MathFloatMul : public FRigVMFunction_MathFloatBinaryAggregateOp
{
	GENERATED_BODY()

	FRigVMFunction_MathFloatMul()
	{
		A = 1.f;
		B = 1.f;
	}

	RIGVM_METHOD()
	virtual void Execute() override;
};

/**
 * Returns the division of the two values
 */
USTRUCT(meta = (DisplayName = "Divide", TemplateName = "Divide", Keywords = "Division,Divisor,/"))
struct FRigVMFunction_MathFloatDiv : public FRigVMFunction_MathFloatBinaryOp
{
	GENERATED_BODY()

	FRigVMFunction_MathFloatDiv()
	{
		B = 1.f;
	}

	RIGVM_METHOD()
	virtual void Execute() override;
};

/**
 * Returns true if the value A is greater than or equal to B
 */
USTRUCT(meta = (DisplayName = "Greater Equal", TemplateName = "GreaterEqual", Keywords = "Larger,Bigger,>="))
struct FRigVMFunction_MathFloatGreaterEqual : public FRigVMFunction_MathFloatBase
{
	GENERATED_BODY()

	RIGVM_METHOD()
	virtual void Execute() override;

	UPROPERTY(meta = (Input))
	float A = 0.f;

	UPROPERTY(meta = (Input))
	float B = 0.f;

	UPROPERTY(meta = (Output))
	bool Result = false;
};
