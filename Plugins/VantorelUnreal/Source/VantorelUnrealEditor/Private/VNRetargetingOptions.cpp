// The mannequin's retargeting options on a Skeleton: translations from the Skeleton, except the IK
// helper bones, which follow the animation.

#include "Animation/Skeleton.h"
#include "Engine/SkeletalMesh.h"
#include "ReferenceSkeleton.h"
#include "VNFaceSDKImportLibrary.h"

namespace
{
	/** The mannequin's IK helper bones; FName compares them without regard to case. */
	const TSet<FName>& MannequinIkBones()
	{
		static const TSet<FName> Bones = {
			FName(TEXT("ik_foot_root")), FName(TEXT("ik_foot_l")), FName(TEXT("ik_foot_r")), FName(TEXT("ik_hand_root")),
			FName(TEXT("ik_hand_gun")), FName(TEXT("ik_hand_l")), FName(TEXT("ik_hand_r")),
		};
		return Bones;
	}
}

int32 UVNFaceSDKImportLibrary::SetMannequinRetargetingOptions(USkeletalMesh* SkeletalMesh)
{
	if (!SkeletalMesh)
	{
		UE_LOG(LogTemp, Warning, TEXT("Vantorel retargeting failed: SkeletalMesh is null."));
		return 0;
	}
	USkeleton* Skeleton = SkeletalMesh->GetSkeleton();
	if (!Skeleton)
	{
		UE_LOG(LogTemp, Warning, TEXT("Vantorel retargeting failed: SkeletalMesh '%s' has no Skeleton."), *SkeletalMesh->GetName());
		return 0;
	}
	Skeleton->Modify();
	const FReferenceSkeleton& Bones = Skeleton->GetReferenceSkeleton();
	int32 Changed = 0;
	for (int32 BoneIndex = 0; BoneIndex < Bones.GetNum(); ++BoneIndex)
	{
		const EBoneTranslationRetargetingMode::Type Wanted = MannequinIkBones().Contains(Bones.GetBoneName(BoneIndex))
			? EBoneTranslationRetargetingMode::Animation : EBoneTranslationRetargetingMode::Skeleton;
		if (Skeleton->GetBoneTranslationRetargetingMode(BoneIndex) != Wanted)
		{
			Skeleton->SetBoneTranslationRetargetingMode(BoneIndex, Wanted, false);
			++Changed;
		}
	}
	Skeleton->MarkPackageDirty();
	UE_LOG(LogTemp, Display, TEXT("Vantorel retargeting applied to '%s': %d bones changed."), *Skeleton->GetName(), Changed);
	return Changed;
}
