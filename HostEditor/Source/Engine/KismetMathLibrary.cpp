#include "Kismet/KismetMathLibrary.h"

UKismetMathLibrary::UKismetMathLibrary(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
{
}

FVector UKismetMathLibrary::Add_VectorVector(FVector A, FVector B) { return A + B; }
FVector UKismetMathLibrary::Add_VectorFloat(FVector A, double B) { return A + B; }
FVector UKismetMathLibrary::Subtract_VectorVector(FVector A, FVector B) { return A - B; }
FVector UKismetMathLibrary::Subtract_VectorFloat(FVector A, double B) { return A - B; }
FVector UKismetMathLibrary::Multiply_VectorVector(FVector A, FVector B) { return A * B; }
FVector UKismetMathLibrary::Multiply_VectorFloat(FVector A, double B) { return A * B; }
FVector UKismetMathLibrary::Divide_VectorVector(FVector A, FVector B) { return A / B; }
FVector UKismetMathLibrary::Divide_VectorFloat(FVector A, double B) { return A / B; }
FVector UKismetMathLibrary::NegateVector(FVector A) { return -A; }
bool UKismetMathLibrary::EqualExactly_VectorVector(FVector A, FVector B) { return A == B; }
bool UKismetMathLibrary::NotEqualExactly_VectorVector(FVector A, FVector B) { return A != B; }
bool UKismetMathLibrary::EqualEqual_VectorVector(FVector A, FVector B, float ErrorTolerance) { return A.Equals(B, ErrorTolerance); }
double UKismetMathLibrary::Dot_VectorVector(FVector A, FVector B) { return FVector::DotProduct(A, B); }
FVector UKismetMathLibrary::Cross_VectorVector(FVector A, FVector B) { return FVector::CrossProduct(A, B); }
double UKismetMathLibrary::VSize(FVector A) { return A.Size(); }
double UKismetMathLibrary::VSizeSquared(FVector A) { return A.SizeSquared(); }
FVector UKismetMathLibrary::Normal(FVector A, float Tolerance) { return A.GetSafeNormal(Tolerance); }

FRotator UKismetMathLibrary::MakeRotator(float Roll, float Pitch, float Yaw) { return FRotator(Pitch, Yaw, Roll); }
bool UKismetMathLibrary::EqualEqual_RotatorRotator(FRotator A, FRotator B, float ErrorTolerance) { return A.Equals(B, ErrorTolerance); }
bool UKismetMathLibrary::NotEqual_RotatorRotator(FRotator A, FRotator B, float ErrorTolerance) { return !A.Equals(B, ErrorTolerance); }
FRotator UKismetMathLibrary::ComposeRotators(FRotator A, FRotator B) { return (B.Quaternion() * A.Quaternion()).Rotator(); }
FQuat UKismetMathLibrary::Conv_RotatorToQuaternion(FRotator InRot) { return InRot.Quaternion(); }

FQuat UKismetMathLibrary::Multiply_QuatQuat(const FQuat& A, const FQuat& B) { return A * B; }
FRotator UKismetMathLibrary::Quat_Rotator(const FQuat& Q) { return Q.Rotator(); }
FQuat UKismetMathLibrary::Quat_Inversed(const FQuat& Q) { return Q.Inverse(); }
FVector UKismetMathLibrary::Quat_RotateVector(const FQuat& Q, const FVector& V) { return Q.RotateVector(V); }

FTransform UKismetMathLibrary::MakeTransform(FVector Location, FRotator Rotation, FVector Scale) { return FTransform(Rotation, Location, Scale); }
FTransform UKismetMathLibrary::ComposeTransforms(const FTransform& A, const FTransform& B) { return A * B; }
FTransform UKismetMathLibrary::MakeRelativeTransform(const FTransform& A, const FTransform& RelativeTo) { return A.GetRelativeTransform(RelativeTo); }
FTransform UKismetMathLibrary::InvertTransform(const FTransform& T) { return T.Inverse(); }
FVector UKismetMathLibrary::TransformLocation(const FTransform& T, FVector Location) { return T.TransformPosition(Location); }
FVector UKismetMathLibrary::TransformDirection(const FTransform& T, FVector Direction) { return T.TransformVectorNoScale(Direction); }
FVector UKismetMathLibrary::InverseTransformLocation(const FTransform& T, FVector Location) { return T.InverseTransformPosition(Location); }
FVector UKismetMathLibrary::InverseTransformDirection(const FTransform& T, FVector Direction) { return T.InverseTransformVectorNoScale(Direction); }
FRotator UKismetMathLibrary::TransformRotation(const FTransform& T, FRotator Rotation) { return T.TransformRotation(Rotation.Quaternion()).Rotator(); }
bool UKismetMathLibrary::EqualEqual_TransformTransform(const FTransform& A, const FTransform& B) { return A.Equals(B); }
