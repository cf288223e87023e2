// UAnimGraphNode_Base: the editor node of an animation graph; its runtime node is its "Node" member.
#pragma once

#include "CoreMinimal.h"
#include "K2Node.h"
#include "Templates/Casts.h"

#include "AnimGraphNode_Base.generated.h"

class UAnimationAsset;

UCLASS(Abstract)
class ANIMGRAPH_API UAnimGraphNode_Base : public UK2Node
{
	GENERATED_BODY()

public:
	/** The animation assets the node plays or refers to. */
	virtual void GetAllAnimationSequencesReferred(TArray<UAnimationAsset*>& AnimationAssets) const {}
	/** Replaces the assets the node refers to that are keys of the map by their values. */
	virtual void ReplaceReferredAnimations(const TMap<UAnimationAsset*, UAnimationAsset*>& AnimAssetReplacementMap) {}

	/** The pose pins: "Pose" out, and the node's pose inputs. */
	virtual void AllocateDefaultPins() override;

protected:
	/** The names of the node's pose inputs, none by default. */
	virtual TArray<FName> GetPoseInputPinNames() const { return TArray<FName>(); }
	/** Whether the node gives a pose (the output node does not). */
	virtual bool HasPoseOutput() const { return true; }

	/** Adds Asset to AnimationAssets when it is set and not listed yet. */
	void HandleAnimReferenceCollection(UAnimationAsset* AnimAsset, TArray<UAnimationAsset*>& AnimationAssets) const;
	/** Replaces OriginalAsset through the map, when it is one of its keys. */
	template <class AssetType>
	void HandleAnimReferenceReplacement(AssetType*& OriginalAsset, const TMap<UAnimationAsset*, UAnimationAsset*>& AnimAssetReplacementMap)
	{
		if (UAnimationAsset* const* Replacement = AnimAssetReplacementMap.Find(OriginalAsset))
		{
			OriginalAsset = Cast<AssetType>(*Replacement);
		}
	}
};
