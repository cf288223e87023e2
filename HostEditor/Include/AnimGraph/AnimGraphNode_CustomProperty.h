// UAnimGraphNode_CustomProperty: the editor base of nodes that run a class instance with its properties as pins.
#pragma once

#include "CoreMinimal.h"
#include "AnimGraphNode_Base.h"

#include "AnimGraphNode_CustomProperty.generated.h"

UCLASS(Abstract)
class ANIMGRAPH_API UAnimGraphNode_CustomProperty : public UAnimGraphNode_Base
{
	GENERATED_BODY()
};
