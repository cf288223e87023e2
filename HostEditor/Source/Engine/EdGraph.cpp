// Editor graphs: nodes, their pins and links. Links are saved by the linked node's name and pin name
// and resolved once the graph has loaded.

#include "EdGraph/EdGraph.h"

#include "EdGraph/EdGraphNode.h"
#include "EdGraph/EdGraphPin.h"
#include "Misc/FeedbackContext.h"
#include "UObject/UObjectGlobals.h"

DEFINE_LOG_CATEGORY_STATIC(LogEdGraph, Log, All);

namespace
{
	const TCHAR* const PinTag = TEXT("Pin");
	const TCHAR Separator = '|';

	/** Escapes the separator characters of a saved pin line (and the escape itself). */
	FString EscapeField(const FString& Text)
	{
		FString Result;
		for (const TCHAR Char : Text)
		{
			if (Char == '%' || Char == Separator || Char == ';' || Char == '/' || Char == '\n' || Char == '\r')
			{
				Result += FString::Printf(TEXT("%%%02X"), (uint32)Char);
			}
			else
			{
				Result.AppendChar(Char);
			}
		}
		return Result;
	}

	FString UnescapeField(const FString& Text)
	{
		FString Result;
		for (int32 Index = 0; Index < Text.Len(); ++Index)
		{
			if (Text[Index] == '%' && Index + 2 < Text.Len())
			{
				Result.AppendChar((TCHAR)FCString::Strtoi64(*Text.Mid(Index + 1, 2), nullptr, 16));
				Index += 2;
			}
			else
			{
				Result.AppendChar(Text[Index]);
			}
		}
		return Result;
	}

	const TCHAR* DirectionText(EEdGraphPinDirection Direction)
	{
		return Direction == EGPD_Output ? TEXT("Output") : TEXT("Input");
	}
}

UEdGraphPin* UEdGraphPin::CreatePin(UEdGraphNode* InOwningNode)
{
	return new UEdGraphPin(InOwningNode);
}

void UEdGraphPin::DestroyPin(UEdGraphPin* Pin)
{
	if (Pin)
	{
		Pin->BreakAllPinLinks();
		delete Pin;
	}
}

void UEdGraphPin::MakeLinkTo(UEdGraphPin* ToPin)
{
	if (!ToPin || ToPin == this || LinkedTo.Contains(ToPin))
	{
		return;
	}
	LinkedTo.Add(ToPin);
	ToPin->LinkedTo.AddUnique(this);
}

void UEdGraphPin::BreakLinkTo(UEdGraphPin* ToPin)
{
	if (!ToPin)
	{
		return;
	}
	LinkedTo.Remove(ToPin);
	ToPin->LinkedTo.Remove(this);
}

void UEdGraphPin::BreakAllPinLinks(bool bNotifyNodes)
{
	(void)bNotifyNodes;
	const TArray<UEdGraphPin*> Links = LinkedTo;
	for (UEdGraphPin* Other : Links)
	{
		BreakLinkTo(Other);
	}
}

UEdGraphNode::~UEdGraphNode()
{
	for (UEdGraphPin* Pin : Pins)
	{
		UEdGraphPin::DestroyPin(Pin);
	}
	Pins.Empty();
}

UEdGraph* UEdGraphNode::GetGraph() const
{
	return Cast<UEdGraph>(GetOuter());
}

UEdGraphPin* UEdGraphNode::CreatePin(EEdGraphPinDirection Dir, const FName PinCategory, const FName PinName, int32 Index)
{
	UEdGraphPin* Pin = UEdGraphPin::CreatePin(this);
	Pin->PinName = PinName;
	Pin->Direction = Dir;
	Pin->PinType.PinCategory = PinCategory;
	if (Index == INDEX_NONE || Index > Pins.Num())
	{
		Pins.Add(Pin);
	}
	else
	{
		Pins.Insert(Pin, Index);
	}
	return Pin;
}

UEdGraphPin* UEdGraphNode::CreatePin(EEdGraphPinDirection Dir, const FName PinCategory, UObject* PinSubCategoryObject, const FName PinName)
{
	UEdGraphPin* Pin = CreatePin(Dir, PinCategory, PinName);
	Pin->PinType.PinSubCategoryObject = PinSubCategoryObject;
	return Pin;
}

UEdGraphPin* UEdGraphNode::FindPin(const FName PinName, const EEdGraphPinDirection Direction) const
{
	for (UEdGraphPin* Pin : Pins)
	{
		if ((Direction == EGPD_MAX || Pin->Direction == Direction) && Pin->PinName.ToString().Equals(PinName.ToString(), ESearchCase::IgnoreCase))
		{
			return Pin;
		}
	}
	return nullptr;
}

UEdGraphPin* UEdGraphNode::FindPinChecked(const FName PinName, const EEdGraphPinDirection Direction) const
{
	UEdGraphPin* Pin = FindPin(PinName, Direction);
	check(Pin);
	return Pin;
}

bool UEdGraphNode::RemovePin(UEdGraphPin* Pin)
{
	if (!Pin || !Pins.Contains(Pin))
	{
		return false;
	}
	Pins.Remove(Pin);
	UEdGraphPin::DestroyPin(Pin);
	return true;
}

void UEdGraphNode::ReconstructNode()
{
	// The new pins take over the links of the old pins of the same name and direction.
	TArray<UEdGraphPin*> OldPins = Pins;
	Pins.Empty();
	AllocateDefaultPins();
	for (UEdGraphPin* Old : OldPins)
	{
		if (UEdGraphPin* New = FindPin(Old->PinName, Old->Direction))
		{
			New->DefaultValue = Old->DefaultValue;
			New->DefaultObject = Old->DefaultObject;
			const TArray<UEdGraphPin*> Links = Old->LinkedTo;
			for (UEdGraphPin* Other : Links)
			{
				New->MakeLinkTo(Other);
			}
		}
		UEdGraphPin::DestroyPin(Old);
	}
}

void UEdGraphNode::BreakAllNodeLinks()
{
	for (UEdGraphPin* Pin : Pins)
	{
		Pin->BreakAllPinLinks();
	}
}

void UEdGraphNode::DestroyNode()
{
	if (UEdGraph* Graph = GetGraph())
	{
		Graph->RemoveNode(this);
	}
	BreakAllNodeLinks();
	MarkAsGarbage();
}

FText UEdGraphNode::GetNodeTitle(int32 TitleType) const
{
	(void)TitleType;
	return FText::FromString(GetClass()->GetName());
}

void UEdGraphNode::ExportCustomProperties(FOutputDevice& Out, uint32 Indent)
{
	const FString Pad = FString::ChrN((int32)Indent, TEXT(' '));
	for (const UEdGraphPin* Pin : Pins)
	{
		FString Links;
		for (const UEdGraphPin* Other : Pin->LinkedTo)
		{
			const UEdGraphNode* OtherNode = Other->GetOwningNode();
			if (!OtherNode || OtherNode->GetOuter() != GetOuter())
			{
				continue;
			}
			if (!Links.IsEmpty())
			{
				Links += TEXT(";");
			}
			Links += EscapeField(OtherNode->GetName()) + TEXT("/") + EscapeField(Other->PinName.ToString());
		}
		const FString SubObject = Pin->PinType.PinSubCategoryObject ? Pin->PinType.PinSubCategoryObject->GetPathName() : FString(TEXT("None"));
		const FString DefaultObject = Pin->DefaultObject ? Pin->DefaultObject->GetPathName() : FString(TEXT("None"));
		Out.Log(FString::Printf(TEXT("%s%s %s|%s|%s|%s|%s|%s|%s|%s"), *Pad, PinTag, *EscapeField(Pin->PinName.ToString()), DirectionText(Pin->Direction),
			*EscapeField(Pin->PinType.PinCategory.ToString()), *EscapeField(Pin->PinType.PinSubCategory.ToString()), *EscapeField(SubObject),
			*EscapeField(Pin->DefaultValue), *EscapeField(DefaultObject), *Links));
	}
}

void UEdGraphNode::ImportCustomProperties(const TCHAR* SourceText, FFeedbackContext* Warn)
{
	for (UEdGraphPin* Pin : Pins)
	{
		UEdGraphPin::DestroyPin(Pin);
	}
	Pins.Empty();
	PendingLinks.Empty();
	TArray<FString> Lines;
	FString(SourceText ? SourceText : TEXT("")).ParseIntoArrayLines(Lines, true);
	for (const FString& Raw : Lines)
	{
		const FString Line = Raw.TrimStartAndEnd();
		TArray<FString> Fields;
		if (Line.StartsWith(FString(PinTag) + TEXT(" ")))
		{
			Line.Mid(FCString::Strlen(PinTag) + 1).ParseIntoArray(Fields, TEXT("|"), false);
		}
		if (Fields.Num() != 8)
		{
			if (Warn && !Line.IsEmpty())
			{
				Warn->Log(ELogVerbosity::Warning, FString::Printf(TEXT("cannot read the pin line '%s'"), *Line));
			}
			continue;
		}
		const EEdGraphPinDirection Direction = Fields[1] == TEXT("Output") ? EGPD_Output : EGPD_Input;
		UEdGraphPin* Pin = CreatePin(Direction, FName(*UnescapeField(Fields[2])), FName(*UnescapeField(Fields[0])));
		Pin->PinType.PinSubCategory = FName(*UnescapeField(Fields[3]));
		const FString SubObject = UnescapeField(Fields[4]);
		if (SubObject != TEXT("None"))
		{
			Pin->PinType.PinSubCategoryObject = StaticFindObject(UObject::StaticClass(), nullptr, *SubObject);
			if (!Pin->PinType.PinSubCategoryObject)
			{
				Pin->PinType.PinSubCategoryObject = StaticLoadObject(UObject::StaticClass(), nullptr, *SubObject, nullptr, LOAD_NoWarn);
			}
		}
		Pin->DefaultValue = UnescapeField(Fields[5]);
		const FString DefaultObject = UnescapeField(Fields[6]);
		if (DefaultObject != TEXT("None"))
		{
			Pin->DefaultObject = StaticLoadObject(UObject::StaticClass(), nullptr, *DefaultObject, nullptr, LOAD_NoWarn);
		}
		TArray<FString> Links;
		Fields[7].ParseIntoArray(Links, TEXT(";"), true);
		for (const FString& Link : Links)
		{
			FString NodeName;
			FString PinName;
			if (Link.Split(TEXT("/"), &NodeName, &PinName))
			{
				PendingLinks.Add({Pin->PinName, Direction, FName(*UnescapeField(NodeName)), FName(*UnescapeField(PinName))});
			}
		}
	}
}

void UEdGraph::AddNode(UEdGraphNode* NodeToAdd, bool bUserAction, bool bSelectNewNode)
{
	(void)bUserAction;
	(void)bSelectNewNode;
	if (NodeToAdd && !Nodes.Contains(NodeToAdd))
	{
		check(NodeToAdd->GetOuter() == this);
		Nodes.Add(NodeToAdd);
	}
}

bool UEdGraph::RemoveNode(UEdGraphNode* NodeToRemove, bool bBreakAllLinks)
{
	if (!NodeToRemove || !Nodes.Contains(NodeToRemove))
	{
		return false;
	}
	Modify();
	Nodes.Remove(NodeToRemove);
	if (bBreakAllLinks)
	{
		NodeToRemove->BreakAllNodeLinks();
	}
	return true;
}

void UEdGraph::PostLoad()
{
	Super::PostLoad();
	for (UEdGraphNode* Node : Nodes)
	{
		if (!Node)
		{
			continue;
		}
		for (const UEdGraphNode::FPendingLink& Link : Node->PendingLinks)
		{
			UEdGraphPin* Pin = Node->FindPin(Link.PinName, Link.Direction);
			UEdGraphNode* Other = Cast<UEdGraphNode>(StaticFindObjectFast(nullptr, this, Link.NodeName));
			UEdGraphPin* OtherPin = Other ? Other->FindPin(Link.OtherPinName, Link.Direction == EGPD_Output ? EGPD_Input : EGPD_Output) : nullptr;
			if (Pin && OtherPin)
			{
				Pin->MakeLinkTo(OtherPin);
			}
			else
			{
				UE_LOG(LogEdGraph, Warning, TEXT("%s: the link of %s.%s to %s.%s is lost: the pin is gone"), *GetPathName(), *Node->GetName(), *Link.PinName.ToString(),
					*Link.NodeName.ToString(), *Link.OtherPinName.ToString());
			}
		}
		Node->PendingLinks.Empty();
	}
}
