// UAnimGraphNode_SequencePlayer: "Play <Sequence>".
#pragma once

#include "CoreMinimal.h"
#include "AnimGraphNode_AssetPlayerBase.h"
#include "Animation/AnimNode_SequencePlayer.h"

#include "AnimGraphNode_SequencePlayer.generated.h"

UCLASS()
class ANIMGRAPH_API UAnimGraphNode_SequencePlayer : public UAnimGraphNode_AssetPlayerBase
{
	GENERATED_BODY()

public:
	UPROPERTY(EditAnywhere, Category = Settings)
	FAnimNode_SequencePlayer Node;

	virtual void GetAllAnimationSequencesReferred(TArray<UAnimationAsset*>& AnimationAssets) const override;
	virtual void ReplaceReferredAnimations(const TMap<UAnimationAsset*, UAnimationAsset*>& AnimAssetReplacementMap) override;
};
