// UEdGraphNode: a node of an editor graph, with its pins.
#pragma once

#include "CoreMinimal.h"
#include "EdGraph/EdGraphPin.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"

#include "EdGraphNode.generated.h"

class UEdGraph;

UCLASS(Abstract)
class ENGINE_API UEdGraphNode : public UObject
{
	GENERATED_BODY()

public:
	virtual ~UEdGraphNode() override;

	/** The node's pins; the node owns them. */
	TArray<UEdGraphPin*> Pins;

	UPROPERTY()
	int32 NodePosX = 0;

	UPROPERTY()
	int32 NodePosY = 0;

	UPROPERTY()
	FString NodeComment;

	/** The graph the node is in. */
	UEdGraph* GetGraph() const;

	/** Makes a pin on the node. */
	UEdGraphPin* CreatePin(EEdGraphPinDirection Dir, const FName PinCategory, const FName PinName, int32 Index = INDEX_NONE);
	UEdGraphPin* CreatePin(EEdGraphPinDirection Dir, const FName PinCategory, UObject* PinSubCategoryObject, const FName PinName);
	/** The pin called PinName (compared without case), in Direction or either. */
	UEdGraphPin* FindPin(const FName PinName, const EEdGraphPinDirection Direction = EGPD_MAX) const;
	UEdGraphPin* FindPinChecked(const FName PinName, const EEdGraphPinDirection Direction = EGPD_MAX) const;
	bool RemovePin(UEdGraphPin* Pin);

	/** Makes the node's pins for what the node is now. */
	virtual void AllocateDefaultPins() {}
	/** Makes the pins again for what the node is now, keeping the links of pins that stay. */
	virtual void ReconstructNode();
	/** Takes the node out of its graph and destroys it. */
	virtual void DestroyNode();
	/** Breaks every link of every pin. */
	void BreakAllNodeLinks();
	/** The node's title. */
	virtual FText GetNodeTitle(int32 TitleType) const;

	/** The graphs the node holds (a state machine's states), none by default. */
	virtual TArray<UEdGraph*> GetSubGraphs() const { return TArray<UEdGraph*>(); }

	virtual void ExportCustomProperties(FOutputDevice& Out, uint32 Indent) override;
	virtual void ImportCustomProperties(const TCHAR* SourceText, FFeedbackContext* Warn) override;

	/** Stand-in: links read from the package, by the linked node's name and pin name, until the graph resolves them. */
	struct FPendingLink
	{
		FName PinName;
		EEdGraphPinDirection Direction = EGPD_Input;
		FName NodeName;
		FName OtherPinName;
	};
	TArray<FPendingLink> PendingLinks;
};
