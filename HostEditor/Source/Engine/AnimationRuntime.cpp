#include "AnimationRuntime.h"

FTransform FAnimationRuntime::GetComponentSpaceTransformRefPose(const FReferenceSkeleton& InRefSkeleton, int32 BoneIndex)
{
	const TArray<FTransform>& Pose = InRefSkeleton.GetRefBonePose();
	FTransform ComponentSpace = FTransform::Identity;
	// Parents come before their children, so the walk up always ends at a root.
	for (int32 Index = BoneIndex; InRefSkeleton.IsValidIndex(Index); Index = InRefSkeleton.GetParentIndex(Index))
	{
		ComponentSpace = ComponentSpace * Pose[Index];
		if (InRefSkeleton.GetParentIndex(Index) >= Index)
		{
			break;
		}
	}
	return ComponentSpace;
}
