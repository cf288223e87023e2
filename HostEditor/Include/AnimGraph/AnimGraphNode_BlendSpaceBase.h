// UAnimGraphNode_BlendSpaceBase: the editor base of the nodes that play a BlendSpace.
#pragma once

#include "CoreMinimal.h"
#include "AnimGraphNode_AssetPlayerBase.h"

#include "AnimGraphNode_BlendSpaceBase.generated.h"

UCLASS(Abstract)
class ANIMGRAPH_API UAnimGraphNode_BlendSpaceBase : public UAnimGraphNode_AssetPlayerBase
{
	GENERATED_BODY()
};
