// Quaternion math functions.
#pragma once

#include "CoreMinimal.h"
#include "EulerTransform.h"
#include "RigVMFunctions/Math/RigVMFunction_MathBase.h"
#include "UObject/ObjectMacros.h"

#include "RigVMFunction_MathQuaternion.generated.h"

USTRUCT(meta = (Abstract, Category = "Math|Quaternion", MenuDescSuffix = "(Quaternion)"))
struct RIGVM_API FRigVMFunction_MathQuaternionBase : public FRigVMFunction_MathBase
{
	GENERATED_BODY()
};

USTRUCT(meta = (Abstract))
struct RIGVM_API FRigVMFunction_MathQuaternionBinaryOp : public FRigVMFunction_MathQuaternionBase
{
	GENERATED_BODY()

	UPROPERTY(meta = (Input))
	FQuat A = FQuat::Identity;

	UPROPERTY(meta = (Input))
	FQuat B = FQuat::Identity;

	UPROPERTY(meta = (Output))
	FQuat Result = FQuat::Identity;
};

USTRUCT(meta = (Abstract))
struct RIGVM_API FRigVMFunction_MathQuaternionUnaryOp : public FRigVMFunction_MathQuaternionBase
{
	GENERATED_BODY()

	UPROPERTY(meta = (Input))
	FQuat Value = FQuat::Identity;

	UPROPERTY(meta = (Output))
	FQuat Result = FQuat::Identity;
};

/** A binary operation that takes further operands as added pins. */
USTRUCT(meta = (Abstract))
struct RIGVM_API FRigVMFunction_MathQuaternionBinaryAggregateOp : public FRigVMFunction_MathQuaternionBase
{
	GENERATED_BODY()

	UPROPERTY(meta = (Input, Aggregate))
	FQuat A = FQuat::Identity;

	UPROPERTY(meta = (Input, Aggregate))
	FQuat B = FQuat::Identity;

	UPROPERTY(meta = (Output, Aggregate))
	FQuat Result = FQuat::Identity;
};

/**
 * Makes a quaternion from euler values in degrees
 */
USTRUCT(meta = (DisplayName = "From Euler", TemplateName = "FromEuler", Keywords = "Make,Construct"))
struct FRigVMFunction_MathQuaternionFromEuler : public FRigVMFunction_MathQuaternionBase
{
	GENERATED_BODY()

	RIGVM_METHOD()
	virtual void Execute() override;

	UPROPERTY(meta = (Input))
	FVector Euler = FVector::ZeroVector;

	UPROPERTY(meta = (Input))
	EEulerRotationOrder RotationOrder = EEulerRotationOrder::ZYX;

	UPROPERTY(meta = (Output))
	FQuat Result = FQuat::Identity;
};

/**
 * Returns the product of the two values
 */
USTRUCT(meta = (DisplayName = "Multiply", TemplateName = "Multiply", Keywords = "Product,*"))
struct FRigVMFunction_MathQuaternionMul : public FRigVMFunction_MathQuaternionBinaryAggregateOp
{
	GENERATED_BODY()

	RIGVM_METHOD()
	virtual void Execute() override;
};

/**
 * Returns the negative value
 */
USTRUCT(meta = (DisplayName = "Inverse", TemplateName = "Inverse"))
struct FRigVMFunction_MathQuaternionInverse : public FRigVMFunction_MathQuaternionUnaryOp
{
	GENERATED_BODY()

	RIGVM_METHOD()
	virtual void Execute() override;
};

/**
 * Scales a quaternion's angle
 */
USTRUCT(meta = (DisplayName = "Scale", TemplateName = "Scale", Keywords = "Multiply,Angle,Scale", Constant))
struct FRigVMFunction_MathQuaternionScaleV2 : public FRigVMFunction_MathQuaternionBase
{
	GENERATED_BODY()

	RIGVM_METHOD()
	virtual void Execute() override;

	/** The input quaternion */
	UPROPERTY(meta = (Input))
	FQuat Value = FQuat::Identity;

	/** The scale factor to scale the input by */
	UPROPERTY(meta = (Input))
	float Factor = 1.f;

	/** The resulting scaled quaternion */
	UPROPERTY(meta = (Output))
	FQuat Result = FQuat::Identity;
};

/**
 * Linearly interpolates between A and B using the ratio T
 */
USTRUCT(meta = (DisplayName = "Interpolate", TemplateName = "Interpolate", Keywords = "Lerp,Mix,Blend"))
struct FRigVMFunction_MathQuaternionSlerp : public FRigVMFunction_MathQuaternionBase
{
	GENERATED_BODY()

	RIGVM_METHOD()
	virtual void Execute() override;

	UPROPERTY(meta = (Input))
	FQuat A = FQuat::Identity;

	UPROPERTY(meta = (Input))
	FQuat B = FQuat::Identity;

	UPROPERTY(meta = (Input))
	float T = 0.f;

	UPROPERTY(meta = (Output))
	FQuat Result = FQuat::Identity;
};

/**
 * Computes the swing and twist components of a quaternion
 */
USTRUCT(meta = (DisplayName = "To Swing & Twist"))
struct FRigVMFunction_MathQuaternionSwingTwist : public FRigVMFunction_MathQuaternionBase
{
	GENERATED_BODY()

	RIGVM_METHOD()
	virtual void Execute() override;

	/** The input quaternion */
	UPROPERTY(meta = (Input))
	FQuat Input = FQuat::Identity;

	/** The axis to treat as the twist axis */
	UPROPERTY(meta = (Input))
	FVector TwistAxis = FVector(1.f, 0.f, 0.f);

	/** The resulting swing quaternion of the input quaternion */
	UPROPERTY(meta = (Output))
	FQuat Swing = FQuat::Identity;

	/** The resulting twist quaternion of the input quaternion */
	UPROPERTY(meta = (Output))
	FQuat Twist = FQuat::Identity;
};
