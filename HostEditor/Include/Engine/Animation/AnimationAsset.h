// UAnimationAsset: the base of every animation asset; each plays on one Skeleton.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"
#include "UObject/ObjectPtr.h"

#include "AnimationAsset.generated.h"

class USkeleton;

UCLASS(Abstract, BlueprintType)
class ENGINE_API UAnimationAsset : public UObject
{
	GENERATED_BODY()

public:
	/** The Skeleton the animation plays on. */
	USkeleton* GetSkeleton() const { return Skeleton; }
	void SetSkeleton(USkeleton* NewSkeleton) { Skeleton = NewSkeleton; }

	/** How long the animation plays at a rate of 1, in seconds. */
	UFUNCTION(BlueprintPure, Category = "Animation")
	virtual float GetPlayLength() const { return 0.0f; }

private:
	UPROPERTY(AssetRegistrySearchable, Category = Animation, VisibleAnywhere)
	TObjectPtr<USkeleton> Skeleton;
};
