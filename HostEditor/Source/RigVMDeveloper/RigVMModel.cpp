#include "RigVMCore/RigVMDispatchFactory.h"
#include "RigVMCore/RigVMExecuteContext.h"
#include "RigVMCore/RigVMUnknownType.h"
#include "RigVMModel/Nodes/RigVMCommentNode.h"
#include "RigVMModel/Nodes/RigVMDispatchNode.h"
#include "RigVMModel/Nodes/RigVMTemplateNode.h"
#include "RigVMModel/Nodes/RigVMUnitNode.h"
#include "RigVMModel/RigVMGraph.h"
#include "RigVMModel/RigVMLink.h"
#include "RigVMModel/RigVMNode.h"
#include "RigVMModel/RigVMPin.h"
#include "RigVMPinTypes.h"
#include "UObject/UnrealType.h"
#include "UObject/UObjectGlobals.h"

// ---- URigVMPin ----

const TCHAR URigVMPin::PathSeparator = TEXT('.');

bool URigVMPin::SplitPinPathAtStart(const FString& InPinPath, FString& LeftMost, FString& Right)
{
	return InPinPath.Split(TEXT("."), &LeftMost, &Right, ESearchCase::CaseSensitive, ESearchDir::FromStart);
}

bool URigVMPin::SplitPinPathAtEnd(const FString& InPinPath, FString& Left, FString& RightMost)
{
	return InPinPath.Split(TEXT("."), &Left, &RightMost, ESearchCase::CaseSensitive, ESearchDir::FromEnd);
}

FString URigVMPin::GetPinPath(bool bUseNodePath) const
{
	const URigVMNode* Node = GetNode();
	const FString NodePart = Node ? Node->GetNodePath(bUseNodePath) : FString();
	return NodePart + PathSeparator + GetSegmentPath(true);
}

FString URigVMPin::GetSegmentPath(bool bIncludeRootPin) const
{
	const URigVMPin* Parent = GetParentPin();
	if (!Parent)
	{
		return bIncludeRootPin ? GetName() : FString();
	}
	const FString ParentPath = Parent->GetSegmentPath(bIncludeRootPin);
	return ParentPath.IsEmpty() ? GetName() : ParentPath + PathSeparator + GetName();
}

FName URigVMPin::GetDisplayName() const
{
	return DisplayName.IsNone() ? GetFName() : DisplayName;
}

bool URigVMPin::IsArray() const
{
	return RigVMPinTypes::IsArrayType(CPPType);
}

bool URigVMPin::IsArrayElement() const
{
	const URigVMPin* Parent = GetParentPin();
	return Parent && Parent->IsArray();
}

bool URigVMPin::IsStruct() const
{
	return !IsArray() && GetScriptStruct() != nullptr && !IsExecuteContext() && !IsWildCard();
}

bool URigVMPin::IsExecuteContext() const
{
	return RigVMPinTypes::IsExecuteType(GetCPPTypeObject());
}

bool URigVMPin::IsWildCard() const
{
	return RigVMPinTypes::IsWildCardType(CPPType);
}

int32 URigVMPin::GetPinIndex() const
{
	if (const URigVMPin* Parent = GetParentPin())
	{
		return Parent->SubPins.IndexOfByKey(TObjectPtr<URigVMPin>(const_cast<URigVMPin*>(this)));
	}
	if (const URigVMNode* Node = GetNode())
	{
		return Node->GetPins().IndexOfByKey(const_cast<URigVMPin*>(this));
	}
	return INDEX_NONE;
}

int32 URigVMPin::GetArraySize() const
{
	return IsArray() ? SubPins.Num() : 0;
}

UObject* URigVMPin::GetCPPTypeObject() const
{
	return CPPTypeObject;
}

UScriptStruct* URigVMPin::GetScriptStruct() const
{
	return dynamic_cast<UScriptStruct*>(GetCPPTypeObject());
}

bool URigVMPin::IsStringType() const
{
	return CPPType == TEXT("FString") || CPPType == TEXT("FName");
}

FString URigVMPin::GetDefaultValue() const
{
	if (IsArray() || (IsStruct() && SubPins.Num() > 0))
	{
		TArray<FString> Parts;
		for (const URigVMPin* SubPin : SubPins)
		{
			FString Value = SubPin->GetDefaultValue();
			if (SubPin->IsStringType())
			{
				Value = PropertyTextUtils::QuoteString(Value);
			}
			else if (Value.IsEmpty() && !IsArray())
			{
				// A member without a value (an unset object reference) is left out, so the text reads back.
				continue;
			}
			Parts.Add(IsArray() ? Value : SubPin->GetName() + TEXT("=") + Value);
		}
		return TEXT("(") + FString::Join(Parts, TEXT(",")) + TEXT(")");
	}
	return DefaultValue;
}

URigVMPin* URigVMPin::GetParentPin() const
{
	return dynamic_cast<URigVMPin*>(GetOuter());
}

URigVMPin* URigVMPin::GetRootPin() const
{
	URigVMPin* Pin = const_cast<URigVMPin*>(this);
	while (URigVMPin* Parent = Pin->GetParentPin())
	{
		Pin = Parent;
	}
	return Pin;
}

TArray<URigVMPin*> URigVMPin::GetSubPins() const
{
	TArray<URigVMPin*> Result;
	for (URigVMPin* SubPin : SubPins)
	{
		Result.Add(SubPin);
	}
	return Result;
}

TArray<URigVMPin*> URigVMPin::GetAllSubPinsRecursively() const
{
	TArray<URigVMPin*> Result;
	for (URigVMPin* SubPin : SubPins)
	{
		Result.Add(SubPin);
		Result.Append(SubPin->GetAllSubPinsRecursively());
	}
	return Result;
}

URigVMPin* URigVMPin::FindSubPin(const FString& InPinPath) const
{
	FString Head = InPinPath;
	FString Rest;
	const bool bHasRest = SplitPinPathAtStart(InPinPath, Head, Rest);
	for (URigVMPin* SubPin : SubPins)
	{
		if (SubPin->GetFName() == FName(*Head))
		{
			return bHasRest ? SubPin->FindSubPin(Rest) : SubPin;
		}
	}
	return nullptr;
}

URigVMNode* URigVMPin::GetNode() const
{
	return dynamic_cast<URigVMNode*>(GetRootPin()->GetOuter());
}

URigVMGraph* URigVMPin::GetGraph() const
{
	const URigVMNode* Node = GetNode();
	return Node ? Node->GetGraph() : nullptr;
}

bool URigVMPin::IsLinkedTo(URigVMPin* InPin) const
{
	for (const URigVMLink* Link : GetLinks())
	{
		if (Link->GetSourcePin() == InPin || Link->GetTargetPin() == InPin)
		{
			return true;
		}
	}
	return false;
}

TArray<URigVMLink*> URigVMPin::GetLinks() const
{
	const URigVMGraph* Graph = GetGraph();
	return Graph ? Graph->FindLinksOfPinPath(GetPinPath()) : TArray<URigVMLink*>();
}

TArray<URigVMLink*> URigVMPin::GetSourceLinks(bool bRecursive) const
{
	TArray<URigVMLink*> Result;
	const FString Path = GetPinPath();
	for (URigVMLink* Link : GetLinks())
	{
		if (Link->GetTargetPinPath() == Path)
		{
			Result.Add(Link);
		}
	}
	if (bRecursive)
	{
		for (const URigVMPin* SubPin : SubPins)
		{
			Result.Append(SubPin->GetSourceLinks(true));
		}
	}
	return Result;
}

TArray<URigVMLink*> URigVMPin::GetTargetLinks(bool bRecursive) const
{
	TArray<URigVMLink*> Result;
	const FString Path = GetPinPath();
	for (URigVMLink* Link : GetLinks())
	{
		if (Link->GetSourcePinPath() == Path)
		{
			Result.Add(Link);
		}
	}
	if (bRecursive)
	{
		for (const URigVMPin* SubPin : SubPins)
		{
			Result.Append(SubPin->GetTargetLinks(true));
		}
	}
	return Result;
}

TArray<URigVMPin*> URigVMPin::GetLinkedSourcePins(bool bRecursive) const
{
	TArray<URigVMPin*> Result;
	for (const URigVMLink* Link : GetSourceLinks(bRecursive))
	{
		if (URigVMPin* Source = Link->GetSourcePin())
		{
			Result.AddUnique(Source);
		}
	}
	return Result;
}

TArray<URigVMPin*> URigVMPin::GetLinkedTargetPins(bool bRecursive) const
{
	TArray<URigVMPin*> Result;
	for (const URigVMLink* Link : GetTargetLinks(bRecursive))
	{
		if (URigVMPin* Target = Link->GetTargetPin())
		{
			Result.AddUnique(Target);
		}
	}
	return Result;
}

void URigVMPin::PostLoad()
{
	Super::PostLoad();
	if (!CPPTypeObject && !CPPTypeObjectPath.IsNone())
	{
		CPPTypeObject = StaticFindObject(nullptr, nullptr, *CPPTypeObjectPath.ToString());
	}
}

// ---- URigVMLink ----

URigVMGraph* URigVMLink::GetGraph() const
{
	return dynamic_cast<URigVMGraph*>(GetOuter());
}

int32 URigVMLink::GetLinkIndex() const
{
	const URigVMGraph* Graph = GetGraph();
	return Graph ? Graph->GetLinks().IndexOfByKey(const_cast<URigVMLink*>(this)) : INDEX_NONE;
}

URigVMPin* URigVMLink::GetSourcePin() const
{
	const URigVMGraph* Graph = GetGraph();
	return Graph ? Graph->FindPin(SourcePinPath) : nullptr;
}

URigVMPin* URigVMLink::GetTargetPin() const
{
	const URigVMGraph* Graph = GetGraph();
	return Graph ? Graph->FindPin(TargetPinPath) : nullptr;
}

FString URigVMLink::GetPinPathRepresentation() const
{
	return GetPinPathRepresentation(SourcePinPath, TargetPinPath);
}

FString URigVMLink::GetPinPathRepresentation(const FString& InSourcePinPath, const FString& InTargetPinPath)
{
	return InSourcePinPath + TEXT(" -> ") + InTargetPinPath;
}

// ---- URigVMNode ----

FString URigVMNode::GetNodePath(bool bRecursive) const
{
	return GetName();
}

int32 URigVMNode::GetNodeIndex() const
{
	const URigVMGraph* Graph = GetGraph();
	return Graph ? Graph->GetNodes().IndexOfByKey(const_cast<URigVMNode*>(this)) : INDEX_NONE;
}

TArray<URigVMPin*> URigVMNode::GetPins() const
{
	TArray<URigVMPin*> Result;
	for (URigVMPin* Pin : Pins)
	{
		Result.Add(Pin);
	}
	return Result;
}

TArray<URigVMPin*> URigVMNode::GetAllPinsRecursively() const
{
	TArray<URigVMPin*> Result;
	for (URigVMPin* Pin : Pins)
	{
		Result.Add(Pin);
		Result.Append(Pin->GetAllSubPinsRecursively());
	}
	return Result;
}

URigVMPin* URigVMNode::FindPin(const FString& InPinPath) const
{
	FString Head = InPinPath;
	FString Rest;
	const bool bHasRest = URigVMPin::SplitPinPathAtStart(InPinPath, Head, Rest);
	for (URigVMPin* Pin : Pins)
	{
		if (Pin->GetFName() == FName(*Head))
		{
			return bHasRest ? Pin->FindSubPin(Rest) : Pin;
		}
	}
	return nullptr;
}

URigVMGraph* URigVMNode::GetGraph() const
{
	return dynamic_cast<URigVMGraph*>(GetOuter());
}

FString URigVMNode::GetNodeTitle() const
{
	return NodeTitle.IsEmpty() ? GetName() : NodeTitle;
}

bool URigVMNode::IsMutable() const
{
	for (const URigVMPin* Pin : Pins)
	{
		if (Pin->IsExecuteContext() && Pin->GetDirection() != ERigVMPinDirection::Hidden)
		{
			return true;
		}
	}
	return false;
}

bool URigVMNode::IsPure() const
{
	return !IsMutable();
}

bool URigVMNode::IsEvent() const
{
	bool bHasExecuteOutput = false;
	for (const URigVMPin* Pin : Pins)
	{
		if (!Pin->IsExecuteContext())
		{
			continue;
		}
		if (Pin->GetDirection() == ERigVMPinDirection::Input || Pin->GetDirection() == ERigVMPinDirection::IO)
		{
			return false;
		}
		bHasExecuteOutput |= Pin->GetDirection() == ERigVMPinDirection::Output;
	}
	return bHasExecuteOutput;
}

TArray<URigVMLink*> URigVMNode::GetLinks() const
{
	TArray<URigVMLink*> Result;
	if (const URigVMGraph* Graph = GetGraph())
	{
		const FString Prefix = GetName() + URigVMPin::PathSeparator;
		for (URigVMLink* Link : Graph->GetLinks())
		{
			if (Link->GetSourcePinPath().StartsWith(Prefix, ESearchCase::CaseSensitive) || Link->GetTargetPinPath().StartsWith(Prefix, ESearchCase::CaseSensitive))
			{
				Result.Add(Link);
			}
		}
	}
	return Result;
}

TArray<URigVMNode*> URigVMNode::GetLinkedSourceNodes() const
{
	TArray<URigVMNode*> Result;
	const FString Prefix = GetName() + URigVMPin::PathSeparator;
	for (const URigVMLink* Link : GetLinks())
	{
		if (Link->GetTargetPinPath().StartsWith(Prefix, ESearchCase::CaseSensitive))
		{
			if (const URigVMPin* Source = Link->GetSourcePin())
			{
				Result.AddUnique(Source->GetNode());
			}
		}
	}
	return Result;
}

TArray<URigVMNode*> URigVMNode::GetLinkedTargetNodes() const
{
	TArray<URigVMNode*> Result;
	const FString Prefix = GetName() + URigVMPin::PathSeparator;
	for (const URigVMLink* Link : GetLinks())
	{
		if (Link->GetSourcePinPath().StartsWith(Prefix, ESearchCase::CaseSensitive))
		{
			if (const URigVMPin* Target = Link->GetTargetPin())
			{
				Result.AddUnique(Target->GetNode());
			}
		}
	}
	return Result;
}

// ---- URigVMTemplateNode, URigVMUnitNode, URigVMDispatchNode ----

UScriptStruct* URigVMTemplateNode::GetScriptStruct() const
{
	return ResolvedScriptStruct;
}

bool URigVMTemplateNode::IsResolved() const
{
	return GetScriptStruct() != nullptr;
}

FString URigVMTemplateNode::GetNodeTitle() const
{
	if (const UScriptStruct* Struct = GetScriptStruct())
	{
		return RigVMPinTypes::GetStructNodeTitle(Struct);
	}
	return Super::GetNodeTitle();
}

void URigVMTemplateNode::PostLoad()
{
	Super::PostLoad();
	if (!ResolvedScriptStruct && !ResolvedStructPath.IsEmpty())
	{
		ResolvedScriptStruct = dynamic_cast<UScriptStruct*>(StaticFindObject(UScriptStruct::StaticClass(), nullptr, *ResolvedStructPath));
	}
}

FString URigVMUnitNode::GetStructDefaultValue() const
{
	const UScriptStruct* Struct = GetScriptStruct();
	if (!Struct)
	{
		return FString();
	}
	const FStructProperty StructProperty(nullptr, NAME_None, 0, CPF_None, const_cast<UScriptStruct*>(Struct));
	RigVMPinTypes::FScopedValue Value(&StructProperty);
	for (const URigVMPin* Pin : Pins)
	{
		const FProperty* Member = Struct->FindPropertyByName(Pin->GetFName());
		if (!Member || Pin->IsExecuteContext())
		{
			continue;
		}
		const FString PinValue = Pin->GetDefaultValue();
		// A pin value that does not read back leaves the member at the struct's default.
		RigVMPinTypes::ImportWhole(Member, PinValue, Member->ContainerPtrToValuePtr<void>(Value.Get()));
	}
	FString Text;
	StructProperty.ExportTextItem_Direct(Text, Value.Get(), nullptr, nullptr, PPF_None);
	return Text;
}

const FRigVMDispatchFactory* URigVMDispatchNode::GetFactory() const
{
	return FRigVMDispatchFactory::FindFactory(TemplateNotation);
}

bool URigVMDispatchNode::IsResolved() const
{
	for (const URigVMPin* Pin : Pins)
	{
		if (Pin->IsWildCard())
		{
			return false;
		}
	}
	return true;
}

FString URigVMDispatchNode::GetNodeTitle() const
{
	const FRigVMDispatchFactory* Factory = GetFactory();
	return Factory ? Factory->GetNodeTitle() : URigVMNode::GetNodeTitle();
}

// ---- URigVMGraph ----

TArray<URigVMNode*> URigVMGraph::GetNodes() const
{
	TArray<URigVMNode*> Result;
	for (URigVMNode* Node : Nodes)
	{
		Result.Add(Node);
	}
	return Result;
}

TArray<URigVMLink*> URigVMGraph::GetLinks() const
{
	TArray<URigVMLink*> Result;
	for (URigVMLink* Link : Links)
	{
		Result.Add(Link);
	}
	return Result;
}

URigVMNode* URigVMGraph::FindNode(const FString& InNodePath) const
{
	return FindNodeByName(FName(*InNodePath));
}

URigVMNode* URigVMGraph::FindNodeByName(const FName& InNodeName) const
{
	EnsureNodeIndex();
	URigVMNode* const* Found = NodeIndex.Find(InNodeName);
	return Found ? *Found : nullptr;
}

bool URigVMGraph::ContainsNode(const URigVMNode* InNode) const
{
	return InNode && FindNodeByName(InNode->GetFName()) == InNode;
}

TArray<URigVMLink*> URigVMGraph::FindLinksOfPinPath(const FString& InPinPath) const
{
	EnsureLinkIndex();
	const TArray<URigVMLink*>* Found = LinksByPinPath.Find(InPinPath);
	return Found ? *Found : TArray<URigVMLink*>();
}

bool URigVMGraph::IsNodeReachable(const URigVMNode* From, const URigVMNode* To) const
{
	EnsureLinkIndex();
	const FString Goal = To->GetName();
	TArray<FString> Pending = {From->GetName()};
	TSet<FString> Visited;
	while (Pending.Num() > 0)
	{
		const FString Node = Pending.Pop();
		if (Node == Goal)
		{
			return true;
		}
		if (Visited.Contains(Node))
		{
			continue;
		}
		Visited.Add(Node);
		if (const TArray<FString>* Next = DownstreamNodeNames.Find(Node))
		{
			Pending.Append(*Next);
		}
	}
	return false;
}

namespace
{
	bool SplitLinkNodeNames(const URigVMLink* Link, FString& OutSource, FString& OutTarget)
	{
		FString Rest;
		return URigVMPin::SplitPinPathAtStart(Link->GetSourcePinPath(), OutSource, Rest)
			&& URigVMPin::SplitPinPathAtStart(Link->GetTargetPinPath(), OutTarget, Rest);
	}
}

void URigVMGraph::EnsureNodeIndex() const
{
	if (IndexedNodes == Nodes.Num())
	{
		return;
	}
	NodeIndex.Reset();
	NodeNameSuffixHints.Reset();
	for (URigVMNode* Node : Nodes)
	{
		NodeIndex.FindOrAdd(Node->GetFName(), Node);
	}
	IndexedNodes = Nodes.Num();
}

void URigVMGraph::EnsureLinkIndex() const
{
	if (IndexedLinks == Links.Num())
	{
		return;
	}
	LinksByPinPath.Reset();
	DownstreamNodeNames.Reset();
	for (URigVMLink* Link : Links)
	{
		IndexLink(Link);
	}
	IndexedLinks = Links.Num();
}

void URigVMGraph::IndexLink(URigVMLink* Link) const
{
	LinksByPinPath.FindOrAdd(Link->GetSourcePinPath()).Add(Link);
	LinksByPinPath.FindOrAdd(Link->GetTargetPinPath()).Add(Link);
	FString Source;
	FString Target;
	if (SplitLinkNodeNames(Link, Source, Target))
	{
		DownstreamNodeNames.FindOrAdd(Source).Add(Target);
	}
}

void URigVMGraph::NoteNodeAdded(URigVMNode* Node) const
{
	if (IndexedNodes == Nodes.Num() - 1)
	{
		NodeIndex.FindOrAdd(Node->GetFName(), Node);
		IndexedNodes = Nodes.Num();
	}
	else
	{
		IndexedNodes = INDEX_NONE;
	}
}

void URigVMGraph::NoteNodeRemoved(URigVMNode* Node) const
{
	// A freed name may be the lowest free one again.
	NodeNameSuffixHints.Reset();
	if (IndexedNodes == Nodes.Num() + 1)
	{
		NodeIndex.Remove(Node->GetFName());
		IndexedNodes = Nodes.Num();
	}
	else
	{
		IndexedNodes = INDEX_NONE;
	}
}

void URigVMGraph::NoteLinkAdded(URigVMLink* Link) const
{
	if (IndexedLinks != Links.Num() - 1)
	{
		IndexedLinks = INDEX_NONE;
		return;
	}
	IndexLink(Link);
	IndexedLinks = Links.Num();
}

void URigVMGraph::NoteLinkRemoved(URigVMLink* Link) const
{
	if (IndexedLinks != Links.Num() + 1)
	{
		IndexedLinks = INDEX_NONE;
		return;
	}
	for (const FString& Path : {Link->GetSourcePinPath(), Link->GetTargetPinPath()})
	{
		if (TArray<URigVMLink*>* Found = LinksByPinPath.Find(Path))
		{
			Found->RemoveSingle(Link);
		}
	}
	FString Source;
	FString Target;
	if (SplitLinkNodeNames(Link, Source, Target))
	{
		if (TArray<FString>* Found = DownstreamNodeNames.Find(Source))
		{
			Found->RemoveSingle(Target);
		}
	}
	IndexedLinks = Links.Num();
}

void URigVMGraph::ResetIndices() const
{
	IndexedNodes = INDEX_NONE;
	IndexedLinks = INDEX_NONE;
	NodeIndex.Reset();
	LinksByPinPath.Reset();
	DownstreamNodeNames.Reset();
	NodeNameSuffixHints.Reset();
}

URigVMPin* URigVMGraph::FindPin(const FString& InPinPath) const
{
	FString NodeName;
	FString PinPath;
	if (!URigVMPin::SplitPinPathAtStart(InPinPath, NodeName, PinPath))
	{
		return nullptr;
	}
	const URigVMNode* Node = FindNodeByName(FName(*NodeName));
	return Node ? Node->FindPin(PinPath) : nullptr;
}

URigVMLink* URigVMGraph::FindLink(const FString& InLinkPinPathRepresentation) const
{
	for (URigVMLink* Link : Links)
	{
		if (Link->GetPinPathRepresentation() == InLinkPinPathRepresentation)
		{
			return Link;
		}
	}
	return nullptr;
}

FString URigVMGraph::GetGraphName() const
{
	return GetName();
}

FString URigVMGraph::GetNodePath() const
{
	return GetName();
}
