// Transform math functions.
#pragma once

#include "CoreMinimal.h"
#include "RigVMFunctions/Math/RigVMFunction_MathBase.h"
#include "UObject/ObjectMacros.h"

#include "RigVMFunction_MathTransform.generated.h"

USTRUCT(meta = (Abstract, Category = "Math|Transform", MenuDescSuffix = "(Transform)"))
struct RIGVM_API FRigVMFunction_MathTransformBase : public FRigVMFunction_MathBase
{
	GENERATED_BODY()
};

USTRUCT(meta = (Abstract))
struct RIGVM_API FRigVMFunction_MathTransformBinaryOp : public FRigVMFunction_MathTransformBase
{
	GENERATED_BODY()

	UPROPERTY(meta = (Input))
	FTransform A = FTransform::Identity;

	UPROPERTY(meta = (Input))
	FTransform B = FTransform::Identity;

	UPROPERTY(meta = (Output))
	FTransform Result = FTransform::Identity;
};

/** A binary operation that takes further operands as added pins. */
USTRUCT(meta = (Abstract))
struct RIGVM_API FRigVMFunction_MathTransformBinaryAggregateOp : public FRigVMFunction_MathTransformBase
{
	GENERATED_BODY()

	UPROPERTY(meta = (Input, Aggregate))
	FTransform A = FTransform::Identity;

	UPROPERTY(meta = (Input, Aggregate))
	FTransform B = FTransform::Identity;

	UPROPERTY(meta = (Output, Aggregate))
	FTransform Result = FTransform::Identity;
};

/**
 * Returns the product of the two values
 */
USTRUCT(meta = (DisplayName = "Multiply", TemplateName = "Multiply", Keywords = "Product,*,Global"))
struct FRigVMFunction_MathTransformMul : public FRigVMFunction_MathTransformBinaryAggregateOp
{
	GENERATED_BODY()

	RIGVM_METHOD()
	virtual void Execute() override;
};

/**
 * Returns the relative local transform within a parent's transform
 */
USTRUCT(meta = (DisplayName = "Make Relative", TemplateName = "Make Relative", Keywords = "Local,Global,Absolute"))
struct FRigVMFunction_MathTransformMakeRelative : public FRigVMFunction_MathTransformBase
{
	GENERATED_BODY()

	RIGVM_METHOD()
	virtual void Execute() override;

	UPROPERTY(meta = (Input))
	FTransform Global = FTransform::Identity;

	UPROPERTY(meta = (Input))
	FTransform Parent = FTransform::Identity;

	UPROPERTY(meta = (Output))
	FTransform Local = FTransform::Identity;
};

/**
 * Returns the absolute global transform within a parent's transform
 */
USTRUCT(meta = (DisplayName = "Make Absolute", TemplateName = "Make Absolute", Keywords = "Local,Global,Relative"))
struct FRigVMFunction_MathTransformMakeAbsolute : public FRigVMFunction_MathTransformBase
{
	GENERATED_BODY()

	RIGVM_METHOD()
	virtual void Execute() override;

	UPROPERTY(meta = (Input))
	FTransform Local = FTransform::Identity;

	UPROPERTY(meta = (Input))
	FTransform Parent = FTransform::Identity;

	UPROPERTY(meta = (Output))
	FTransform Global = FTransform::Identity;
};

/**
 * Linearly interpolates between A and B using the ratio T
 */
USTRUCT(meta = (DisplayName = "Interpolate", TemplateName = "Interpolate", Keywords = "Lerp,Mix,Blend"))
struct FRigVMFunction_MathTransformLerp : public FRigVMFunction_MathTransformBase
{
	GENERATED_BODY()

	RIGVM_METHOD()
	virtual void Execute() override;

	UPROPERTY(meta = (Input))
	FTransform A = FTransform::Identity;

	UPROPERTY(meta = (Input))
	FTransform B = FTransform::Identity;

	UPROPERTY(meta = (Input))
	float T = 0.f;

	UPROPERTY(meta = (Output))
	FTransform Result = FTransform::Identity;
};
