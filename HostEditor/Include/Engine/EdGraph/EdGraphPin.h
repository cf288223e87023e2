// UEdGraphPin: a pin of a graph node and the pins it is linked to. Not an object: the node owns its pins.
#pragma once

#include "CoreMinimal.h"

class UEdGraphNode;
class UObject;

enum EEdGraphPinDirection : int
{
	EGPD_Input,
	EGPD_Output,
	EGPD_MAX,
};

/** What a pin carries. */
struct ENGINE_API FEdGraphPinType
{
	/** "exec", "object", "struct", ... */
	FName PinCategory;
	FName PinSubCategory;
	/** The class or struct an object or struct pin carries. */
	UObject* PinSubCategoryObject = nullptr;

	FEdGraphPinType() = default;
	FEdGraphPinType(FName InPinCategory, FName InPinSubCategory, UObject* InPinSubCategoryObject)
		: PinCategory(InPinCategory)
		, PinSubCategory(InPinSubCategory)
		, PinSubCategoryObject(InPinSubCategoryObject)
	{
	}
};

class ENGINE_API UEdGraphPin
{
public:
	FName PinName;
	FEdGraphPinType PinType;
	EEdGraphPinDirection Direction = EGPD_Input;
	FString DefaultValue;
	UObject* DefaultObject = nullptr;
	/** The pins this one is linked to; every link is held by both of its pins. */
	TArray<UEdGraphPin*> LinkedTo;
	bool bHidden = false;

	/** Makes a pin owned by InOwningNode (UEdGraphNode::CreatePin adds it to the node). */
	static UEdGraphPin* CreatePin(UEdGraphNode* InOwningNode);
	/** Frees a pin that is no longer in its node (its links are broken first). */
	static void DestroyPin(UEdGraphPin* Pin);

	UEdGraphNode* GetOwningNode() const { return OwningNode; }
	UEdGraphNode* GetOwningNodeUnchecked() const { return OwningNode; }

	/** Links the two pins both ways; nothing when they are linked already. */
	void MakeLinkTo(UEdGraphPin* ToPin);
	void BreakLinkTo(UEdGraphPin* ToPin);
	void BreakAllPinLinks(bool bNotifyNodes = false);
	/** The name the pin shows. */
	FText GetDisplayName() const { return FText::FromName(PinName); }

private:
	explicit UEdGraphPin(UEdGraphNode* InOwningNode)
		: OwningNode(InOwningNode)
	{
	}
	UEdGraphNode* OwningNode = nullptr;
};
