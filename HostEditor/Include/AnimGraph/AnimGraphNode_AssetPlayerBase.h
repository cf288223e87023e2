// UAnimGraphNode_AssetPlayerBase: the editor base of the nodes that play an animation asset.
#pragma once

#include "CoreMinimal.h"
#include "AnimGraphNode_Base.h"

#include "AnimGraphNode_AssetPlayerBase.generated.h"

UCLASS(Abstract)
class ANIMGRAPH_API UAnimGraphNode_AssetPlayerBase : public UAnimGraphNode_Base
{
	GENERATED_BODY()
};
