// UAnimationGraph: the animation graph of an animation blueprint ("AnimGraph").
#pragma once

#include "CoreMinimal.h"
#include "EdGraph/EdGraph.h"

#include "AnimationGraph.generated.h"

UCLASS()
class ANIMGRAPH_API UAnimationGraph : public UEdGraph
{
	GENERATED_BODY()
};
