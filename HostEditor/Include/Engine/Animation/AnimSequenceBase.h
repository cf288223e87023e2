// UAnimSequenceBase: an animation asset that plays over time, sampled at a frame rate.
#pragma once

#include "CoreMinimal.h"
#include "Animation/AnimationAsset.h"
#include "Misc/FrameRate.h"

#include "AnimSequenceBase.generated.h"

UCLASS(Abstract, BlueprintType)
class ENGINE_API UAnimSequenceBase : public UAnimationAsset
{
	GENERATED_BODY()

public:
	/** The rate its keys are sampled at. */
	virtual FFrameRate GetSamplingFrameRate() const { return FFrameRate(30, 1); }

	/** How many keys each of its tracks holds (frames plus one). */
	virtual int32 GetNumberOfSampledKeys() const { return 0; }
};
