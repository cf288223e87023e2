#include "VNMannequinScale.h"

#include "Animation/BlendSpace.h"
#include "Components/CapsuleComponent.h"
#include "Components/SkeletalMeshComponent.h"
#include "Engine/Blueprint.h"
#include "Engine/SCS_Node.h"
#include "Engine/SimpleConstructionScript.h"
#include "Engine/SkeletalMesh.h"
#include "GameFramework/Character.h"
#include "GameFramework/CharacterMovementComponent.h"
#include "GameFramework/SpringArmComponent.h"
#include "ReferenceSkeleton.h"
#include "Templates/Casts.h"
#include "UObject/UnrealType.h"
#include "VantorelUnrealEditorLog.h"

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

namespace
{
	/** The factor when it can scale anything: measured, finite and above 0.0001. */
	bool UsableFactor(const USkeletalMesh* Mesh, float& OutFactor)
	{
		const VantorelMannequinScale::FMeasurement Measurement = VantorelMannequinScale::Measure(Mesh);
		OutFactor = Measurement.Factor;
		return Measurement.bSuccess && FMath::IsFinite(OutFactor) && OutFactor > 0.0001f;
	}

	ACharacter* CharacterDefaults(UBlueprint* CharacterBlueprint)
	{
		UClass* Class = CharacterBlueprint ? CharacterBlueprint->GeneratedClass.Get() : nullptr;
		return Class ? Cast<ACharacter>(Class->GetDefaultObject()) : nullptr;
	}

	/** The BlendSpace's axes: its engine member is protected, so edits go through its reflected property. */
	FBlendParameter* AxisOf(UBlendSpace* BlendSpace, int32 Index)
	{
		FProperty* Axes = UBlendSpace::StaticClass()->FindPropertyByName(FName(TEXT("BlendParameters")));
		return Axes && Index < Axes->ArrayDim ? Axes->ContainerPtrToValuePtr<FBlendParameter>(BlendSpace, Index) : nullptr;
	}

	double& Component(FVector& Value, int32 Axis)
	{
		return Axis == 0 ? Value.X : (Axis == 1 ? Value.Y : Value.Z);
	}
}

void VantorelMannequinScale::ScaleBlendSpaceSpeeds(const USkeletalMesh* Mesh, const UBlendSpace* Template, UBlendSpace* BlendSpace)
{
	float Factor = 1.0f;
	if (!Template || !BlendSpace || !UsableFactor(Mesh, Factor))
	{
		return;
	}
	int32 SpeedAxis = INDEX_NONE;
	for (int32 Axis = 0; Axis < 3 && SpeedAxis == INDEX_NONE; ++Axis)
	{
		SpeedAxis = Template->GetBlendParameter(Axis).DisplayName.Equals(TEXT("Speed"), ESearchCase::IgnoreCase) ? Axis : INDEX_NONE;
	}
	if (SpeedAxis == INDEX_NONE)
	{
		UE_LOG(LogVantorelUnrealEditor, Warning, TEXT("Vantorel Scale to Fit: no BlendSpace axis named Speed was found."));
		return;
	}
	const FBlendParameter& Old = Template->GetBlendParameter(SpeedAxis);
	FBlendParameter* Axis = AxisOf(BlendSpace, SpeedAxis);
	if (!Axis)
	{
		return;
	}
	BlendSpace->Modify();
	*Axis = Old;
	Axis->Min = Old.Min * Factor;
	Axis->Max = Old.Max * Factor;
	UE_LOG(LogVantorelUnrealEditor, Display, TEXT("Vantorel Scale to Fit: factor %.6f, BlendSpace Speed range %.3f..%.3f -> %.3f..%.3f"), Factor, Old.Min, Old.Max, Axis->Min, Axis->Max);
	const int32 Samples = FMath::Min(Template->GetNumberOfBlendSamples(), BlendSpace->GetNumberOfBlendSamples());
	for (int32 Index = 0; Index < Samples; ++Index)
	{
		FVector Value = Template->GetBlendSample(Index).SampleValue;
		const double OldSpeed = Component(Value, SpeedAxis);
		Component(Value, SpeedAxis) = OldSpeed * Factor;
		const bool bUpdated = BlendSpace->EditSampleValue(Index, Value);
		UE_LOG(LogVantorelUnrealEditor, Display, TEXT("Vantorel Scale to Fit: BlendSpace sample %d Speed %.3f -> %.3f (%s)"), Index, OldSpeed, Component(Value, SpeedAxis),
			bUpdated ? TEXT("updated") : TEXT("update rejected"));
	}
	BlendSpace->PostEditChange();
}

void VantorelMannequinScale::ScaleCharacterGameplayValues(const USkeletalMesh* Mesh, UBlueprint* CharacterBlueprint)
{
	float Factor = 1.0f;
	ACharacter* Character = CharacterDefaults(CharacterBlueprint);
	if (!Character || !UsableFactor(Mesh, Factor))
	{
		return;
	}
	if (UCapsuleComponent* Capsule = Character->GetCapsuleComponent())
	{
		Capsule->Modify();
		Capsule->SetCapsuleSize(35.0f * Factor, 90.0f * Factor, true);
		Capsule->MarkPackageDirty();
	}
	if (USkeletalMeshComponent* MeshComponent = Character->GetMesh())
	{
		MeshComponent->Modify();
		MeshComponent->SetRelativeLocation(FVector(0.0, 0.0, -89.0 * Factor));
		MeshComponent->MarkPackageDirty();
	}
	if (USimpleConstructionScript* Script = CharacterBlueprint->SimpleConstructionScript)
	{
		for (USCS_Node* Node : Script->GetAllNodes())
		{
			if (USpringArmComponent* Arm = Node ? Cast<USpringArmComponent>(Node->ComponentTemplate) : nullptr)
			{
				Arm->Modify();
				Arm->TargetArmLength = 400.0f * Factor;
				Arm->MarkPackageDirty();
			}
		}
	}
	if (UCharacterMovementComponent* Movement = Character->GetCharacterMovement())
	{
		Movement->Modify();
		Movement->GravityScale = 1.0f;
		Movement->MaxStepHeight = 45.0f * Factor;
		Movement->JumpZVelocity = 500.0f * FMath::Sqrt(Factor);
		Movement->SetCrouchedHalfHeight(40.0f * Factor);
		Movement->MaxWalkSpeed = 600.0f * Factor;
		Movement->MaxWalkSpeedCrouched = 300.0f * Factor;
		Movement->MaxSwimSpeed = 300.0f * Factor;
		Movement->MaxFlySpeed = 600.0f * Factor;
		Movement->MaxAcceleration = 1500.0f * Factor;
		Movement->MinAnalogWalkSpeed = 20.0f * Factor;
		Movement->BrakingDecelerationWalking = 2000.0f * Factor;
		Movement->MarkPackageDirty();
	}
}

void VantorelMannequinScale::MatchMannequinSize(const USkeletalMesh* Mesh, UBlueprint* CharacterBlueprint)
{
	float Factor = 1.0f;
	ACharacter* Character = CharacterDefaults(CharacterBlueprint);
	USkeletalMeshComponent* MeshComponent = Character ? Character->GetMesh() : nullptr;
	if (!MeshComponent || !UsableFactor(Mesh, Factor))
	{
		return;
	}
	MeshComponent->Modify();
	MeshComponent->SetRelativeScale3D(FVector(1.0 / Factor));
	MeshComponent->MarkPackageDirty();
	UE_LOG(LogVantorelUnrealEditor, Display, TEXT("Vantorel Match Mannequin Size: character %.6fx, Mesh component scale %.6f"), Factor, 1.0f / Factor);
}
