// UK2Node: a node of a blueprint graph.
#pragma once

#include "CoreMinimal.h"
#include "EdGraph/EdGraphNode.h"

#include "K2Node.generated.h"

UCLASS(Abstract)
class BLUEPRINTGRAPH_API UK2Node : public UEdGraphNode
{
	GENERATED_BODY()
};
