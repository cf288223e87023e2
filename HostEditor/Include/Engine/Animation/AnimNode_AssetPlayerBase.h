// FAnimNode_AssetPlayerBase: the runtime base of the nodes that play an animation asset.
#pragma once

#include "CoreMinimal.h"
#include "Animation/AnimNodeBase.h"

#include "AnimNode_AssetPlayerBase.generated.h"

USTRUCT(BlueprintInternalUseOnly)
struct ENGINE_API FAnimNode_AssetPlayerRelevancyBase : public FAnimNode_Base
{
	GENERATED_BODY()
};

USTRUCT(BlueprintInternalUseOnly)
struct ENGINE_API FAnimNode_AssetPlayerBase : public FAnimNode_AssetPlayerRelevancyBase
{
	GENERATED_BODY()
};
