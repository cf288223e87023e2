// FAnimNode_Base: the runtime part of an animation graph node; FPoseLink: a pose input of one.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"

#include "AnimNodeBase.generated.h"

USTRUCT()
struct ENGINE_API FAnimNode_Base
{
	GENERATED_BODY()
};

/** A link to the node whose pose feeds this input. */
USTRUCT(BlueprintInternalUseOnly)
struct ENGINE_API FPoseLink
{
	GENERATED_BODY()

	/** The index of the linked node in the compiled graph (INDEX_NONE: none). */
	UPROPERTY()
	int32 LinkID = INDEX_NONE;
};
