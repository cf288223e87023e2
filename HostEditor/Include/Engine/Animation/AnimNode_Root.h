// FAnimNode_Root: the output pose of an animation graph.
#pragma once

#include "CoreMinimal.h"
#include "Animation/AnimNodeBase.h"

#include "AnimNode_Root.generated.h"

USTRUCT(BlueprintInternalUseOnly)
struct ENGINE_API FAnimNode_Root : public FAnimNode_Base
{
	GENERATED_BODY()

	UPROPERTY(EditAnywhere, Category = Links)
	FPoseLink Result;
};
