#include "VNMannequinScale.h"

#include "Engine/SkeletalMesh.h"
#include "ReferenceSkeleton.h"

const float VantorelMannequinScale::MannequinLegLength = 85.55921f;

namespace
{
	/** A bone's transform in the component's space, from the reference pose. */
	FTransform ComponentSpaceTransform(const FReferenceSkeleton& Skeleton, int32 BoneIndex)
	{
		FTransform Transform = Skeleton.GetRefBonePose()[BoneIndex];
		for (int32 Parent = Skeleton.GetParentIndex(BoneIndex); Parent != INDEX_NONE; Parent = Skeleton.GetParentIndex(Parent))
		{
			Transform = Transform * Skeleton.GetRefBonePose()[Parent];
		}
		return Transform;
	}
}

VantorelMannequinScale::FMeasurement VantorelMannequinScale::Measure(const USkeletalMesh* Mesh)
{
	FMeasurement Result;
	if (!Mesh)
	{
		Result.Detail = TEXT("choose a SkeletalMesh");
		return Result;
	}
	const FReferenceSkeleton& Skeleton = Mesh->GetRefSkeleton();
	static const TCHAR* const Legs[2][3] = {{TEXT("Hip_R"), TEXT("Knee_R"), TEXT("Ankle_R")}, {TEXT("thigh_r"), TEXT("calf_r"), TEXT("foot_r")}};
	int32 Bones[3] = {INDEX_NONE, INDEX_NONE, INDEX_NONE};
	bool bFound = false;
	for (const auto& Leg : Legs)
	{
		for (int32 Index = 0; Index < 3; ++Index)
		{
			Bones[Index] = Skeleton.FindBoneIndex(FName(Leg[Index]));
		}
		if (Bones[0] != INDEX_NONE && Bones[1] != INDEX_NONE && Bones[2] != INDEX_NONE)
		{
			bFound = true;
			break;
		}
	}
	if (!bFound)
	{
		Result.Detail = TEXT("missing Hip_R, Knee_R or Ankle_R");
		return Result;
	}
	const FVector Hip = ComponentSpaceTransform(Skeleton, Bones[0]).GetLocation();
	const FVector Knee = ComponentSpaceTransform(Skeleton, Bones[1]).GetLocation();
	const FVector Ankle = ComponentSpaceTransform(Skeleton, Bones[2]).GetLocation();
	const double Leg = FVector::Dist(Hip, Knee) + FVector::Dist(Knee, Ankle);
	const float Factor = static_cast<float>(Leg / MannequinLegLength);
	if (!FMath::IsFinite(Factor) || Factor <= 0.0001f)
	{
		Result.Detail = TEXT("invalid reference-pose leg length");
		return Result;
	}
	Result.bSuccess = true;
	Result.Factor = Factor;
	Result.Detail = FString::Printf(TEXT("leg %.2f cm / mannequin %.2f cm"), Leg, MannequinLegLength);
	return Result;
}

FString VantorelMannequinScale::FactorText(const FMeasurement& Measurement)
{
	return Measurement.bSuccess ? FString::Printf(TEXT("Mannequin scale factor :  %.3f"), Measurement.Factor) : FString(TEXT("Mannequin scale factor :  unavailable"));
}
