// FAnimNode_CustomProperty: the runtime base of nodes that run an instance of a class with its properties as pins.
#pragma once

#include "CoreMinimal.h"
#include "Animation/AnimNodeBase.h"

#include "AnimNode_CustomProperty.generated.h"

USTRUCT()
struct ENGINE_API FAnimNode_CustomProperty : public FAnimNode_Base
{
	GENERATED_BODY()
};
