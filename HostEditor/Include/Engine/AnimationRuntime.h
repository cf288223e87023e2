// FAnimationRuntime: pose helpers shared by the animation system.
#pragma once

#include "CoreMinimal.h"
#include "ReferenceSkeleton.h"

class ENGINE_API FAnimationRuntime
{
public:
	/**
	 * Returns a bone's reference-pose transform in component space: its local reference pose composed
	 * with those of all its ancestors. An invalid index gives the identity.
	 */
	static FTransform GetComponentSpaceTransformRefPose(const FReferenceSkeleton& InRefSkeleton, int32 BoneIndex);
};
