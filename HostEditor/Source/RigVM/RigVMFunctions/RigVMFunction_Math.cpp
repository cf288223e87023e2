// The math functions on floats, booleans, vectors, quaternions and transforms.
#include "AnimationCoreLibrary.h"
#include "RigVMFunctions/Math/RigVMFunction_MathBool.h"
#include "RigVMFunctions/Math/RigVMFunction_MathFloat.h"
#include "RigVMFunctions/Math/RigVMFunction_MathQuaternion.h"
#include "RigVMFunctions/Math/RigVMFunction_MathTransform.h"
#include "RigVMFunctions/Math/RigVMFunction_MathVector.h"

DEFINE_LOG_CATEGORY_STATIC(LogRigVMFunctions, Log, All);

void FRigVMFunction_MathFloatAdd::Execute()
{
	Result = A + B;
}

void FRigVMFunction_MathFloatMul::Execute()
{
	Result = A * B;
}

void FRigVMFunction_MathFloatDiv::Execute()
{
	if (FMath::IsNearlyZero(B))
	{
		UE_LOG(LogRigVMFunctions, Warning, TEXT("Divide: B is nearly 0.f"));
		Result = 0.f;
		return;
	}
	Result = A / B;
}

void FRigVMFunction_MathFloatGreaterEqual::Execute()
{
	Result = A >= B;
}

void FRigVMFunction_MathBoolNot::Execute()
{
	Result = !Value;
}

void FRigVMFunction_MathVectorAdd::Execute()
{
	Result = A + B;
}

void FRigVMFunction_MathVectorSub::Execute()
{
	Result = A - B;
}

void FRigVMFunction_MathQuaternionFromEuler::Execute()
{
	Result = AnimationCore::QuatFromEuler(Euler, RotationOrder);
}

void FRigVMFunction_MathQuaternionMul::Execute()
{
	Result = A * B;
}

void FRigVMFunction_MathQuaternionInverse::Execute()
{
	Result = Value.Inverse();
}

void FRigVMFunction_MathQuaternionScaleV2::Execute()
{
	FVector Axis = FVector::ZeroVector;
	float Angle = 0.f;
	Value.ToAxisAndAngle(Axis, Angle);
	Result = FQuat(Axis, Angle * Factor);
}

void FRigVMFunction_MathQuaternionSlerp::Execute()
{
	Result = FQuat::Slerp(A, B, (double)T);
}

void FRigVMFunction_MathQuaternionSwingTwist::Execute()
{
	Swing = FQuat::Identity;
	Twist = FQuat::Identity;
	if (TwistAxis.IsNearlyZero())
	{
		return;
	}
	// The twist is the rotation's part about the axis; the swing is what is left once it is undone.
	const FVector Axis = TwistAxis.GetSafeNormal();
	const FVector Imaginary(Input.X, Input.Y, Input.Z);
	const FVector Projected = Axis * (Imaginary | Axis);
	const FQuat Candidate(Projected.X, Projected.Y, Projected.Z, Input.W);
	Twist = Candidate.SizeSquared() < UE_SMALL_NUMBER ? FQuat::Identity : Candidate.GetNormalized();
	Swing = Input * Twist.Inverse();
}

void FRigVMFunction_MathTransformMul::Execute()
{
	Result = A * B;
}

void FRigVMFunction_MathTransformMakeRelative::Execute()
{
	Local = Global.GetRelativeTransform(Parent);
	Local.NormalizeRotation();
}

void FRigVMFunction_MathTransformMakeAbsolute::Execute()
{
	Global = Local * Parent;
	Global.NormalizeRotation();
}

void FRigVMFunction_MathTransformLerp::Execute()
{
	Result.SetTranslation(FMath::Lerp(A.GetTranslation(), B.GetTranslation(), (double)T));
	Result.SetRotation(FQuat::Slerp(A.GetRotation(), B.GetRotation(), (double)T).GetNormalized());
	Result.SetScale3D(FMath::Lerp(A.GetScale3D(), B.GetScale3D(), (double)T));
}
