#include "AnimPose.h"

#include "Animation/Skeleton.h"

DEFINE_LOG_CATEGORY_STATIC(LogAnimationPoseScripting, Log, All);

namespace
{
	FTransform PoseOf(const FAnimPose& Pose, FName BoneName, EAnimPoseSpaces Space, bool bReference)
	{
		const int32 Index = Pose.BoneNames.IndexOfByKey(BoneName);
		if (Index == INDEX_NONE)
		{
			UE_LOG(LogAnimationPoseScripting, Warning, TEXT("No bone with name %s was found"), *BoneName.ToString());
			return FTransform::Identity;
		}
		const TArray<FTransform>& Poses = Space == EAnimPoseSpaces::World ? (bReference ? Pose.RefWorldSpacePoses : Pose.WorldSpacePoses) : (bReference ? Pose.RefLocalSpacePoses : Pose.LocalSpacePoses);
		return Poses[Index];
	}
}

void UAnimPoseExtensions::GetReferencePose(USkeleton* Skeleton, FAnimPose& OutPose)
{
	OutPose = FAnimPose();
	if (!Skeleton)
	{
		UE_LOG(LogAnimationPoseScripting, Error, TEXT("Invalid skeleton provided"));
		return;
	}
	const FReferenceSkeleton& RefSkeleton = Skeleton->GetReferenceSkeleton();
	for (int32 Index = 0; Index < RefSkeleton.GetNum(); ++Index)
	{
		const int32 Parent = RefSkeleton.GetParentIndex(Index);
		const FTransform& Local = RefSkeleton.GetRefBonePose()[Index];
		// A child's world transform applies its local transform, then its parent's world transform.
		const FTransform World = Parent == INDEX_NONE ? Local : Local * OutPose.WorldSpacePoses[Parent];
		OutPose.BoneNames.Add(RefSkeleton.GetBoneName(Index));
		OutPose.ParentBoneIndices.Add(Parent);
		OutPose.LocalSpacePoses.Add(Local);
		OutPose.WorldSpacePoses.Add(World);
	}
	OutPose.RefLocalSpacePoses = OutPose.LocalSpacePoses;
	OutPose.RefWorldSpacePoses = OutPose.WorldSpacePoses;
}

bool UAnimPoseExtensions::IsValid(const FAnimPose& Pose)
{
	return Pose.BoneNames.Num() > 0;
}

void UAnimPoseExtensions::GetBoneNames(const FAnimPose& Pose, TArray<FName>& Bones)
{
	Bones = Pose.BoneNames;
}

FTransform UAnimPoseExtensions::GetBonePose(const FAnimPose& Pose, FName BoneName, EAnimPoseSpaces Space)
{
	return PoseOf(Pose, BoneName, Space, false);
}

FTransform UAnimPoseExtensions::GetRefBonePose(const FAnimPose& Pose, FName BoneName, EAnimPoseSpaces Space)
{
	return PoseOf(Pose, BoneName, Space, true);
}
