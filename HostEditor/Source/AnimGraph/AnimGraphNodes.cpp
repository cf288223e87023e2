// Animation graph nodes: their pose pins and the animation assets they refer to.

#include "AnimGraphNode_Base.h"
#include "AnimGraphNode_BlendSpacePlayer.h"
#include "AnimGraphNode_SequencePlayer.h"
#include "Animation/AnimNodeBase.h"
#include "Animation/AnimSequence.h"
#include "Animation/AnimSequenceBase.h"
#include "Animation/BlendSpace.h"
#include "EdGraphSchema_K2.h"

namespace
{
	const FName PosePinName(TEXT("Pose"));
}

void UAnimGraphNode_Base::AllocateDefaultPins()
{
	for (const FName& Input : GetPoseInputPinNames())
	{
		CreatePin(EGPD_Input, UEdGraphSchema_K2::PC_Struct, FPoseLink::StaticStruct(), Input);
	}
	if (HasPoseOutput())
	{
		CreatePin(EGPD_Output, UEdGraphSchema_K2::PC_Struct, FPoseLink::StaticStruct(), PosePinName);
	}
}

void UAnimGraphNode_Base::HandleAnimReferenceCollection(UAnimationAsset* AnimAsset, TArray<UAnimationAsset*>& AnimationAssets) const
{
	if (AnimAsset && !AnimationAssets.Contains(AnimAsset))
	{
		AnimationAssets.Add(AnimAsset);
	}
}

void UAnimGraphNode_SequencePlayer::GetAllAnimationSequencesReferred(TArray<UAnimationAsset*>& AnimationAssets) const
{
	HandleAnimReferenceCollection(Node.GetSequence(), AnimationAssets);
}

void UAnimGraphNode_SequencePlayer::ReplaceReferredAnimations(const TMap<UAnimationAsset*, UAnimationAsset*>& AnimAssetReplacementMap)
{
	UAnimSequenceBase* Sequence = Node.GetSequence();
	HandleAnimReferenceReplacement(Sequence, AnimAssetReplacementMap);
	Node.SetSequence(Sequence);
}

void UAnimGraphNode_BlendSpacePlayer::GetAllAnimationSequencesReferred(TArray<UAnimationAsset*>& AnimationAssets) const
{
	UBlendSpace* BlendSpace = Node.GetBlendSpace();
	HandleAnimReferenceCollection(BlendSpace, AnimationAssets);
	if (BlendSpace)
	{
		for (const FBlendSample& Sample : BlendSpace->GetBlendSamples())
		{
			HandleAnimReferenceCollection(Sample.Animation.Get(), AnimationAssets);
		}
	}
}

void UAnimGraphNode_BlendSpacePlayer::ReplaceReferredAnimations(const TMap<UAnimationAsset*, UAnimationAsset*>& AnimAssetReplacementMap)
{
	UBlendSpace* BlendSpace = Node.GetBlendSpace();
	HandleAnimReferenceReplacement(BlendSpace, AnimAssetReplacementMap);
	Node.SetBlendSpace(BlendSpace);
}
