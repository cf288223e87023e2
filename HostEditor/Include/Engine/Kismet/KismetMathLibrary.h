// UKismetMathLibrary: the math functions of blueprints and scripts; scripts also see many of them as
// methods and operators of the math structs.
#pragma once

#include "CoreMinimal.h"
#include "Kismet/BlueprintFunctionLibrary.h"
#include "UObject/ObjectMacros.h"

#include "KismetMathLibrary.generated.h"

UCLASS(meta = (BlueprintThreadSafe, ScriptName = "MathLibrary"))
class ENGINE_API UKismetMathLibrary : public UBlueprintFunctionLibrary
{
	GENERATED_BODY()

public:
	UKismetMathLibrary(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	/** Vector addition. */
	UFUNCTION(BlueprintPure, Category = "Math|Vector", meta = (DisplayName = "vector + vector", CompactNodeTitle = "+", ScriptMethod = "Add", ScriptOperator = "+;+="))
	static FVector Add_VectorVector(FVector A, FVector B);

	/** Adds a number to each component of a vector. */
	UFUNCTION(BlueprintPure, Category = "Math|Vector", meta = (DisplayName = "vector + float", CompactNodeTitle = "+", ScriptMethod = "AddFloat", ScriptOperator = "+;+="))
	static FVector Add_VectorFloat(FVector A, double B);

	/** Vector subtraction. */
	UFUNCTION(BlueprintPure, Category = "Math|Vector", meta = (DisplayName = "vector - vector", CompactNodeTitle = "-", ScriptMethod = "Subtract", ScriptOperator = "-;-="))
	static FVector Subtract_VectorVector(FVector A, FVector B);

	/** Subtracts a number from each component of a vector. */
	UFUNCTION(BlueprintPure, Category = "Math|Vector", meta = (DisplayName = "vector - float", CompactNodeTitle = "-", ScriptMethod = "SubtractFloat", ScriptOperator = "-;-="))
	static FVector Subtract_VectorFloat(FVector A, double B);

	/** Element-wise vector multiplication. */
	UFUNCTION(BlueprintPure, Category = "Math|Vector", meta = (DisplayName = "vector * vector", CompactNodeTitle = "*", ScriptMethod = "Multiply", ScriptOperator = "*;*="))
	static FVector Multiply_VectorVector(FVector A, FVector B);

	/** Scales a vector by a number. */
	UFUNCTION(BlueprintPure, Category = "Math|Vector", meta = (DisplayName = "vector * float", CompactNodeTitle = "*", ScriptMethod = "MultiplyFloat", ScriptOperator = "*;*="))
	static FVector Multiply_VectorFloat(FVector A, double B);

	/** Element-wise vector division. */
	UFUNCTION(BlueprintPure, Category = "Math|Vector", meta = (DisplayName = "vector / vector", CompactNodeTitle = "/", ScriptMethod = "Divide", ScriptOperator = "/;/="))
	static FVector Divide_VectorVector(FVector A, FVector B = FVector(1.f, 1.f, 1.f));

	/** Divides each component of a vector by a number. */
	UFUNCTION(BlueprintPure, Category = "Math|Vector", meta = (DisplayName = "vector / float", CompactNodeTitle = "/", ScriptMethod = "DivideFloat", ScriptOperator = "/;/="))
	static FVector Divide_VectorFloat(FVector A, double B = 1.f);

	/** Negates a vector. */
	UFUNCTION(BlueprintPure, Category = "Math|Vector", meta = (ScriptMethod = "Negated", ScriptOperator = "neg"))
	static FVector NegateVector(FVector A);

	/** True when A and B are exactly equal. */
	UFUNCTION(BlueprintPure, Category = "Math|Vector", meta = (DisplayName = "Equal Exactly (Vector)", CompactNodeTitle = "===", ScriptOperator = "=="))
	static bool EqualExactly_VectorVector(FVector A, FVector B);

	/** True when A and B are not exactly equal. */
	UFUNCTION(BlueprintPure, Category = "Math|Vector", meta = (DisplayName = "Not Equal Exactly (Vector)", CompactNodeTitle = "!==", ScriptOperator = "!="))
	static bool NotEqualExactly_VectorVector(FVector A, FVector B);

	/** True when A and B are equal within ErrorTolerance. */
	UFUNCTION(BlueprintPure, Category = "Math|Vector", meta = (DisplayName = "Equal (Vector)", CompactNodeTitle = "==", ScriptMethod = "IsNearEqual"))
	static bool EqualEqual_VectorVector(FVector A, FVector B, float ErrorTolerance = 1.e-4f);

	/** The dot product of two vectors. */
	UFUNCTION(BlueprintPure, Category = "Math|Vector", meta = (DisplayName = "Dot Product", CompactNodeTitle = "dot", ScriptMethod = "Dot", ScriptOperator = "|"))
	static double Dot_VectorVector(FVector A, FVector B);

	/** The cross product of two vectors. */
	UFUNCTION(BlueprintPure, Category = "Math|Vector", meta = (DisplayName = "Cross Product", CompactNodeTitle = "cross", ScriptMethod = "Cross", ScriptOperator = "^"))
	static FVector Cross_VectorVector(FVector A, FVector B);

	/** The length of a vector. */
	UFUNCTION(BlueprintPure, Category = "Math|Vector", meta = (DisplayName = "Vector Length", ScriptMethod = "Length"))
	static double VSize(FVector A);

	/** The squared length of a vector. */
	UFUNCTION(BlueprintPure, Category = "Math|Vector", meta = (DisplayName = "Vector Length Squared", ScriptMethod = "LengthSquared"))
	static double VSizeSquared(FVector A);

	/** The unit vector in the direction of A, or the zero vector when A is shorter than Tolerance allows. */
	UFUNCTION(BlueprintPure, Category = "Math|Vector", meta = (DisplayName = "Normalize", ScriptMethod = "Normal"))
	static FVector Normal(FVector A, float Tolerance = 1.e-4f);

	/** Makes a rotator from rotations about the X (roll), Y (pitch) and Z (yaw) axes, in degrees. */
	UFUNCTION(BlueprintPure, Category = "Math|Rotator", meta = (Keywords = "construct build rotation rotate rotator makerotator", NativeMakeFunc))
	static FRotator MakeRotator(float Roll, float Pitch, float Yaw);

	/** True when A and B are equal within ErrorTolerance. */
	UFUNCTION(BlueprintPure, Category = "Math|Rotator", meta = (DisplayName = "Equal (Rotator)", CompactNodeTitle = "==", ScriptMethod = "IsNearEqual", ScriptOperator = "=="))
	static bool EqualEqual_RotatorRotator(FRotator A, FRotator B, float ErrorTolerance = 1.e-4f);

	/** True when A and B differ by more than ErrorTolerance. */
	UFUNCTION(BlueprintPure, Category = "Math|Rotator", meta = (DisplayName = "Not Equal (Rotator)", CompactNodeTitle = "!=", ScriptMethod = "IsNotNearEqual", ScriptOperator = "!="))
	static bool NotEqual_RotatorRotator(FRotator A, FRotator B, float ErrorTolerance = 1.e-4f);

	/** The rotation of first applying A, then B. */
	UFUNCTION(BlueprintPure, Category = "Math|Rotator", meta = (DisplayName = "Combine Rotators", ScriptMethod = "Combine"))
	static FRotator ComposeRotators(FRotator A, FRotator B);

	/** The rotator as a quaternion. */
	UFUNCTION(BlueprintPure, Category = "Math|Conversions", meta = (DisplayName = "To Quaternion (Rotator)", CompactNodeTitle = "->", ScriptMethod = "Quaternion", BlueprintAutocast))
	static FQuat Conv_RotatorToQuaternion(FRotator InRot);

	/** The rotation of first applying B, then A (as quaternions compose). */
	UFUNCTION(BlueprintPure, Category = "Math|Quat", meta = (DisplayName = "Multiply (Quat)", CompactNodeTitle = "*", ScriptMethod = "Multiply", ScriptOperator = "*;*="))
	static FQuat Multiply_QuatQuat(const FQuat& A, const FQuat& B);

	/** The quaternion as a rotator. */
	UFUNCTION(BlueprintPure, Category = "Math|Quat", meta = (DisplayName = "Rotator (Quat)", ScriptMethod = "Rotator"))
	static FRotator Quat_Rotator(const FQuat& Q);

	/** The inverse rotation. */
	UFUNCTION(BlueprintPure, Category = "Math|Quat", meta = (DisplayName = "Inversed (Quat)", ScriptMethod = "Inversed"))
	static FQuat Quat_Inversed(const FQuat& Q);

	/** Rotates V by Q. */
	UFUNCTION(BlueprintPure, Category = "Math|Quat", meta = (DisplayName = "Rotate Vector (Quat)", ScriptMethod = "RotateVector"))
	static FVector Quat_RotateVector(const FQuat& Q, const FVector& V);

	/** Makes a transform from a translation, a rotation and a scale. */
	UFUNCTION(BlueprintPure, Category = "Math|Transform", meta = (Keywords = "construct build", NativeMakeFunc))
	static FTransform MakeTransform(FVector Location, FRotator Rotation, FVector Scale = FVector(1, 1, 1));

	/** Composes two transforms: A * B applies A first, then B. */
	UFUNCTION(BlueprintPure, Category = "Math|Transform", meta = (CompactNodeTitle = "*", Keywords = "multiply *", ScriptMethod = "Multiply", ScriptOperator = "*;*="))
	static FTransform ComposeTransforms(const FTransform& A, const FTransform& B);

	/** A relative to RelativeTo: the transform that, applied before RelativeTo, gives A. */
	UFUNCTION(BlueprintPure, Category = "Math|Transform", meta = (ScriptMethod = "MakeRelative", Keywords = "convert torelative"))
	static FTransform MakeRelativeTransform(const FTransform& A, const FTransform& RelativeTo);

	/** The inverse of a transform. */
	UFUNCTION(BlueprintPure, Category = "Math|Transform", meta = (ScriptMethod = "Inverse", Keywords = "inverse"))
	static FTransform InvertTransform(const FTransform& T);

	/** Transforms a position by T. */
	UFUNCTION(BlueprintPure, Category = "Math|Transform", meta = (ScriptMethod = "TransformLocation", Keywords = "location"))
	static FVector TransformLocation(const FTransform& T, FVector Location);

	/** Transforms a direction by T's rotation and scale. */
	UFUNCTION(BlueprintPure, Category = "Math|Transform", meta = (ScriptMethod = "TransformDirection"))
	static FVector TransformDirection(const FTransform& T, FVector Direction);

	/** Transforms a position by the inverse of T. */
	UFUNCTION(BlueprintPure, Category = "Math|Transform", meta = (ScriptMethod = "InverseTransformLocation", Keywords = "location"))
	static FVector InverseTransformLocation(const FTransform& T, FVector Location);

	/** Transforms a direction by the inverse of T's rotation and scale. */
	UFUNCTION(BlueprintPure, Category = "Math|Transform", meta = (ScriptMethod = "InverseTransformDirection"))
	static FVector InverseTransformDirection(const FTransform& T, FVector Direction);

	/** Transforms a rotation by T. */
	UFUNCTION(BlueprintPure, Category = "Math|Transform", meta = (ScriptMethod = "TransformRotation"))
	static FRotator TransformRotation(const FTransform& T, FRotator Rotation);

	/** True when A and B are equal within the engine's small tolerance. */
	UFUNCTION(BlueprintPure, Category = "Math|Transform", meta = (DisplayName = "Equal (Transform)", CompactNodeTitle = "==", ScriptOperator = "=="))
	static bool EqualEqual_TransformTransform(const FTransform& A, const FTransform& B);
};
