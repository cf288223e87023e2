// UEdGraph: an editor graph shown in a graph panel.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"
#include "Templates/Casts.h"
#include "UObject/ObjectPtr.h"

#include "EdGraph.generated.h"

class UEdGraphNode;

UCLASS()
class ENGINE_API UEdGraph : public UObject
{
	GENERATED_BODY()

public:
	/** The nodes of the graph; each is an object inside the graph. */
	UPROPERTY()
	TArray<TObjectPtr<UEdGraphNode>> Nodes;

	/** The graphs shown inside this one's nodes (a state machine's states). */
	UPROPERTY()
	TArray<TObjectPtr<UEdGraph>> SubGraphs;

	/** Adds a node made inside the graph. */
	void AddNode(UEdGraphNode* NodeToAdd, bool bUserAction = false, bool bSelectNewNode = true);
	/** Takes a node out of the graph, breaking its links. True when it was in the graph. */
	bool RemoveNode(UEdGraphNode* NodeToRemove, bool bBreakAllLinks = true);

	/** The nodes of the class MinRequiredType. */
	template <typename MinRequiredType>
	void GetNodesOfClass(TArray<MinRequiredType*>& OutNodes) const
	{
		for (UEdGraphNode* Node : Nodes)
		{
			if (MinRequiredType* Typed = Cast<MinRequiredType>(Node))
			{
				OutNodes.Add(Typed);
			}
		}
	}

	/** Links saved by name are resolved when the graph has loaded. */
	virtual void PostLoad() override;
};
