// UEdGraph: an editor graph shown in a graph panel.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"

#include "EdGraph.generated.h"

UCLASS()
class ENGINE_API UEdGraph : public UObject
{
	GENERATED_BODY()
};
