// UAnimGraphNode_BlendSpacePlayer: "Blendspace Player <BlendSpace>".
#pragma once

#include "CoreMinimal.h"
#include "AnimGraphNode_BlendSpaceBase.h"
#include "AnimNodes/AnimNode_BlendSpacePlayer.h"

#include "AnimGraphNode_BlendSpacePlayer.generated.h"

UCLASS()
class ANIMGRAPH_API UAnimGraphNode_BlendSpacePlayer : public UAnimGraphNode_BlendSpaceBase
{
	GENERATED_BODY()

public:
	UPROPERTY(EditAnywhere, Category = Settings)
	FAnimNode_BlendSpacePlayer Node;

	virtual void GetAllAnimationSequencesReferred(TArray<UAnimationAsset*>& AnimationAssets) const override;
	virtual void ReplaceReferredAnimations(const TMap<UAnimationAsset*, UAnimationAsset*>& AnimAssetReplacementMap) override;
};
