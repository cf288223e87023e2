#include "ControlRigGraphExecutor.h"

#include "../ControlRig/Units/RigUnitRunContext.h"
#include "../RigVMDeveloper/RigVMPinTypes.h"
#include "UObject/NoExportTypes.h"
#include "Rigs/RigHierarchy.h"
#include "RigVMCore/RigVMDispatchFactory.h"
#include "RigVMFunctions/Execution/RigVMFunction_Sequence.h"
#include "RigVMFunctions/RigVMDispatch_Array.h"
#include "RigVMFunctions/RigVMDispatch_If.h"
#include "RigVMFunctions/RigVMFunction_ControlFlow.h"
#include "RigVMModel/Nodes/RigVMCommentNode.h"
#include "RigVMModel/Nodes/RigVMDispatchNode.h"
#include "RigVMModel/Nodes/RigVMUnitNode.h"
#include "RigVMModel/RigVMGraph.h"
#include "RigVMModel/RigVMLink.h"
#include "Units/Execution/RigUnit_Collection.h"
#include "Units/RigUnitContext.h"

DEFINE_LOG_CATEGORY_STATIC(LogControlRigExecution, Log, All);

namespace
{
	/** What a node does when it runs. */
	enum class ENodeKind : uint8
	{
		Unit,
		Event,
		Sequence,
		Branch,
		CollectionLoop,
		If,
		ArrayIterator,
		ArrayGetNum,
		ArrayGetAtIndex,
		ArrayAdd,
	};

	/** Chains deeper than this (control flow nested in control flow) are taken for a runaway graph. */
	constexpr int32 MaxChainDepth = 256;

	const FName ExecuteContextPin(TEXT("ExecuteContext"));
	const FName CompletedPin(TEXT("Completed"));

	/** Splits a pin path at its first separator ("Node.Pin.Sub" -> "Node", "Pin.Sub"); false for a single segment. */
	bool SplitFirst(const FString& Path, FString& OutFirst, FString& OutRest)
	{
		int32 Dot = INDEX_NONE;
		if (!Path.FindChar(TEXT('.'), Dot))
		{
			OutFirst = Path;
			OutRest.Reset();
			return false;
		}
		OutFirst = Path.Left(Dot);
		OutRest = Path.Mid(Dot + 1);
		return true;
	}

	bool IsDigits(const FString& Text)
	{
		if (Text.IsEmpty())
		{
			return false;
		}
		for (const TCHAR Character : Text)
		{
			if (Character < TEXT('0') || Character > TEXT('9'))
			{
				return false;
			}
		}
		return true;
	}

	/** The array operations of the element types an array pin of a dispatch node may hold. */
	const FScriptArrayOps* ArrayOpsFor(const FProperty* Element)
	{
		if (const FStructProperty* Struct = dynamic_cast<const FStructProperty*>(Element))
		{
			if (Struct->Struct == FRigElementKey::StaticStruct()) { return TScriptArrayOps<FRigElementKey>::Get(); }
			if (Struct->Struct == TBaseStructure<FVector>::Get()) { return TScriptArrayOps<FVector>::Get(); }
			if (Struct->Struct == TBaseStructure<FQuat>::Get()) { return TScriptArrayOps<FQuat>::Get(); }
			if (Struct->Struct == TBaseStructure<FTransform>::Get()) { return TScriptArrayOps<FTransform>::Get(); }
			if (Struct->Struct == TBaseStructure<FRotator>::Get()) { return TScriptArrayOps<FRotator>::Get(); }
			if (Struct->Struct == TBaseStructure<FLinearColor>::Get()) { return TScriptArrayOps<FLinearColor>::Get(); }
			return nullptr;
		}
		if (dynamic_cast<const FBoolProperty*>(Element)) { return TScriptArrayOps<bool>::Get(); }
		if (dynamic_cast<const FIntProperty*>(Element)) { return TScriptArrayOps<int32>::Get(); }
		if (dynamic_cast<const FFloatProperty*>(Element)) { return TScriptArrayOps<float>::Get(); }
		if (dynamic_cast<const FDoubleProperty*>(Element)) { return TScriptArrayOps<double>::Get(); }
		if (dynamic_cast<const FNameProperty*>(Element)) { return TScriptArrayOps<FName>::Get(); }
		if (dynamic_cast<const FStrProperty*>(Element)) { return TScriptArrayOps<FString>::Get(); }
		return nullptr;
	}

	/** A property that holds one value of a pin's type (arrays included); null when there is none. */
	TUniquePtr<FProperty> MakePinProperty(const FString& CPPType, UObject* TypeObject)
	{
		if (!RigVMPinTypes::IsArrayType(CPPType))
		{
			return RigVMPinTypes::MakeValueProperty(CPPType, TypeObject);
		}
		TUniquePtr<FProperty> Element = RigVMPinTypes::MakeValueProperty(RigVMPinTypes::BaseTypeFromArrayType(CPPType), TypeObject);
		const FScriptArrayOps* Ops = Element ? ArrayOpsFor(Element.Get()) : nullptr;
		if (!Ops)
		{
			return nullptr;
		}
		return TUniquePtr<FProperty>(new FArrayProperty(nullptr, FName(TEXT("Value")), 0, CPF_None, Element.Release(), Ops));
	}

	/** The structs that are execution contexts, of which units receive the running rig. */
	bool IsExecuteContextProperty(const FProperty* Property)
	{
		const FStructProperty* Struct = dynamic_cast<const FStructProperty*>(Property);
		return Struct && Struct->Struct->IsChildOf(FRigVMExecuteContext::StaticStruct());
	}

	double ReadNumber(const FProperty* Property, const void* Data)
	{
		return static_cast<const FNumericProperty*>(Property)->GetFloatingPointPropertyValue(Data);
	}
}

/** One value the executor reads or writes: its property (its type) and its address. */
struct FControlRigGraphExecutor::FSlot
{
	const FProperty* Property = nullptr;
	void* Data = nullptr;
};

/** A data link into a node: the source node and pin path below it, the pin path below the target. */
struct FDataLink
{
	int32 SourceNode = INDEX_NONE;
	FString SourcePath;
	FString TargetPath;
	FString Text;
};

struct FControlRigGraphExecutor::FNode
{
	FString Name;
	/** The unit struct's name or the dispatch factory's, as the run report counts them. */
	FString TypeName;
	ENodeKind Kind = ENodeKind::Unit;
	bool bMutable = false;
	FName EventName;

	/** A unit node's struct instance, as a value of a struct property of the unit's struct. */
	TUniquePtr<FStructProperty> UnitProperty;
	TUniquePtr<RigVMPinTypes::FScopedValue> UnitInstance;
	/** The unit's members that are execution contexts: they receive the running rig. */
	TArray<const FStructProperty*> ContextProperties;

	/** The inputs added to an aggregate unit node, in pin order, and the unit's first two aggregate inputs. */
	TArray<FString> AggregateInputs;
	const FProperty* AggregateA = nullptr;
	const FProperty* AggregateB = nullptr;
	const FProperty* AggregateResult = nullptr;

	/** A dispatch node's pin values (and an aggregate node's added inputs), by pin name. */
	TMap<FString, TUniquePtr<FProperty>> PinProperties;
	TMap<FString, TUniquePtr<RigVMPinTypes::FScopedValue>> PinValues;

	/** Execution output pins in pin order, and the nodes each one's links lead to, in link order. */
	TArray<FName> ExecuteOutputs;
	TMap<FName, TArray<int32>> ExecuteTargets;
	/** Data links into the node: whole pins before their sub-pins, so that a sub-pin link wins. */
	TArray<FDataLink> Inputs;

	int32 RunsThisEvent = 0;
	int32 TotalRuns = 0;
	int32 EvaluatedStamp = 0;
	bool bEvaluating = false;

	FRigVMStruct* Unit() const { return UnitInstance ? static_cast<FRigVMStruct*>(UnitInstance->Get()) : nullptr; }
};

FControlRigGraphExecutor::FControlRigGraphExecutor(const URigVMGraph& Graph, URigHierarchy& InHierarchy, int32 InNodeRunLimit)
	: Hierarchy(&InHierarchy)
	, NodeRunLimit(InNodeRunLimit)
{
	Prepare(Graph);
}

FControlRigGraphExecutor::~FControlRigGraphExecutor() = default;

void FControlRigGraphExecutor::AddError(const FString& Message)
{
	UE_LOG(LogControlRigExecution, Error, TEXT("%s"), *Message);
	Report.Errors.Add(Message);
}

int32 FControlRigGraphExecutor::FindNode(const FString& Name) const
{
	const int32* Found = NodeIndices.Find(Name);
	return Found ? *Found : INDEX_NONE;
}

bool FControlRigGraphExecutor::HasDispatchPins(const FNode& Node)
{
	// The pins each dispatch kind reads and writes, and their types: a node saved without one of
	// them (or with another type) cannot run.
	struct FExpected
	{
		const TCHAR* Name;
		const TCHAR* CPPType;
	};
	TArray<FExpected> Expected;
	switch (Node.Kind)
	{
	case ENodeKind::If: Expected = {{TEXT("Condition"), TEXT("bool")}, {TEXT("True"), nullptr}, {TEXT("False"), nullptr}, {TEXT("Result"), nullptr}}; break;
	case ENodeKind::ArrayIterator: Expected = {{TEXT("Array"), nullptr}, {TEXT("Element"), nullptr}, {TEXT("Index"), TEXT("int32")}, {TEXT("Count"), TEXT("int32")}, {TEXT("Ratio"), TEXT("float")}}; break;
	case ENodeKind::ArrayGetNum: Expected = {{TEXT("Array"), nullptr}, {TEXT("Num"), TEXT("int32")}}; break;
	case ENodeKind::ArrayGetAtIndex: Expected = {{TEXT("Array"), nullptr}, {TEXT("Index"), TEXT("int32")}, {TEXT("Element"), nullptr}}; break;
	case ENodeKind::ArrayAdd: Expected = {{TEXT("Array"), nullptr}, {TEXT("Element"), nullptr}, {TEXT("Index"), TEXT("int32")}}; break;
	default: return true;
	}
	for (const FExpected& Pin : Expected)
	{
		const TUniquePtr<FProperty>* Property = Node.PinProperties.Find(Pin.Name);
		if (!Property || (Pin.CPPType && (*Property)->GetCPPType() != Pin.CPPType))
		{
			AddError(FString::Printf(TEXT("Node '%s': %s needs a pin %s%s%s; the node cannot run."), *Node.Name, *Node.TypeName, Pin.Name, Pin.CPPType ? TEXT(" of type ") : TEXT(""), Pin.CPPType ? Pin.CPPType : TEXT("")));
			return false;
		}
	}
	// Array pins hold arrays, and the element and value pins hold what the array or the choice holds.
	const TUniquePtr<FProperty>* Array = Node.PinProperties.Find(TEXT("Array"));
	if (Array && !dynamic_cast<const FArrayProperty*>(Array->Get()))
	{
		AddError(FString::Printf(TEXT("Node '%s': its Array pin does not hold an array; the node cannot run."), *Node.Name));
		return false;
	}
	const TUniquePtr<FProperty>* Element = Node.PinProperties.Find(TEXT("Element"));
	if (Array && Element && static_cast<const FArrayProperty*>(Array->Get())->Inner->GetCPPType() != (*Element)->GetCPPType())
	{
		AddError(FString::Printf(TEXT("Node '%s': its Element pin is not of its array's element type; the node cannot run."), *Node.Name));
		return false;
	}
	if (Node.Kind == ENodeKind::If)
	{
		const FString Type = Node.PinProperties[TEXT("Result")]->GetCPPType();
		if (Node.PinProperties[TEXT("True")]->GetCPPType() != Type || Node.PinProperties[TEXT("False")]->GetCPPType() != Type)
		{
			AddError(FString::Printf(TEXT("Node '%s': its True, False and Result pins are not of one type; the node cannot run."), *Node.Name));
			return false;
		}
	}
	return true;
}

void FControlRigGraphExecutor::Prepare(const URigVMGraph& Graph)
{
	const int32 ErrorsBefore = Report.Errors.Num();
	for (URigVMNode* ModelNode : Graph.GetNodes())
	{
		if (dynamic_cast<URigVMCommentNode*>(ModelNode))
		{
			continue;
		}
		TUniquePtr<FNode> Node = MakeUnique<FNode>();
		Node->Name = ModelNode->GetName();
		if (URigVMUnitNode* UnitNode = dynamic_cast<URigVMUnitNode*>(ModelNode))
		{
			UScriptStruct* Struct = UnitNode->GetScriptStruct();
			if (!Struct || !Struct->IsChildOf(FRigVMStruct::StaticStruct()))
			{
				AddError(FString::Printf(TEXT("Node '%s': its unit struct is not loaded or is not a RigVM struct; the node cannot run."), *Node->Name));
				continue;
			}
			Node->TypeName = Struct->GetName();
			TArray<FString> Methods;
			RigVMPinTypes::GetStructMetaDataHierarchical(Struct, TEXT("RigVMMethods")).ParseIntoArray(Methods, TEXT(","));
			if (Struct->HasMetaData(TEXT("Abstract")) || !Methods.Contains(UnitNode->GetMethodName().ToString()))
			{
				AddError(FString::Printf(TEXT("Node '%s': %s has no method %s to run."), *Node->Name, *Node->TypeName, *UnitNode->GetMethodName().ToString()));
				continue;
			}
			Node->UnitProperty = MakeUnique<FStructProperty>(nullptr, FName(TEXT("Unit")), 0, CPF_None, Struct);
			Node->UnitInstance = MakeUnique<RigVMPinTypes::FScopedValue>(Node->UnitProperty.Get());
			for (FProperty* Property : RigVMPinTypes::GetOrderedProperties(Struct))
			{
				if (IsExecuteContextProperty(Property))
				{
					Node->ContextProperties.Add(static_cast<const FStructProperty*>(Property));
				}
			}
			Node->EventName = Node->Unit()->GetEventName();
			if (!Node->EventName.IsNone())
			{
				Node->Kind = ENodeKind::Event;
			}
			else if (Struct == FRigVMFunction_Sequence::StaticStruct())
			{
				Node->Kind = ENodeKind::Sequence;
			}
			else if (Struct == FRigVMFunction_ControlFlowBranch::StaticStruct())
			{
				Node->Kind = ENodeKind::Branch;
			}
			else if (Struct == FRigUnit_CollectionLoop::StaticStruct())
			{
				Node->Kind = ENodeKind::CollectionLoop;
			}
		}
		else if (URigVMDispatchNode* DispatchNode = dynamic_cast<URigVMDispatchNode*>(ModelNode))
		{
			const FRigVMDispatchFactory* Factory = DispatchNode->GetFactory();
			if (!Factory)
			{
				AddError(FString::Printf(TEXT("Node '%s': its dispatch factory %s is not registered; the node cannot run."), *Node->Name, *DispatchNode->GetNotation().ToString()));
				continue;
			}
			Node->TypeName = Factory->GetFactoryName().ToString();
			const UScriptStruct* FactoryStruct = Factory->GetScriptStruct();
			if (FactoryStruct == FRigVMDispatch_If::StaticStruct()) { Node->Kind = ENodeKind::If; }
			else if (FactoryStruct == FRigVMDispatch_ArrayIterator::StaticStruct()) { Node->Kind = ENodeKind::ArrayIterator; }
			else if (FactoryStruct == FRigVMDispatch_ArrayGetNum::StaticStruct()) { Node->Kind = ENodeKind::ArrayGetNum; }
			else if (FactoryStruct == FRigVMDispatch_ArrayGetAtIndex::StaticStruct()) { Node->Kind = ENodeKind::ArrayGetAtIndex; }
			else if (FactoryStruct == FRigVMDispatch_ArrayAdd::StaticStruct()) { Node->Kind = ENodeKind::ArrayAdd; }
			else
			{
				AddError(FString::Printf(TEXT("Node '%s': the executor has no behaviour for %s; the node cannot run."), *Node->Name, *Node->TypeName));
				continue;
			}
			if (!DispatchNode->IsResolved())
			{
				AddError(FString::Printf(TEXT("Node '%s': %s has pins of unresolved type; the node cannot run."), *Node->Name, *Node->TypeName));
				continue;
			}
		}
		else
		{
			AddError(FString::Printf(TEXT("Node '%s': nodes of class %s cannot run."), *Node->Name, *ModelNode->GetClass()->GetName()));
			continue;
		}

		// Pin values and execution outputs.
		bool bPinsRead = true;
		for (URigVMPin* Pin : ModelNode->GetPins())
		{
			const FString PinName = Pin->GetName();
			if (Pin->IsExecuteContext())
			{
				Node->bMutable = true;
				if (Pin->GetDirection() == ERigVMPinDirection::Output || Pin->GetDirection() == ERigVMPinDirection::IO)
				{
					Node->ExecuteOutputs.Add(FName(*PinName));
				}
				continue;
			}
			const FProperty* Property = nullptr;
			void* Data = nullptr;
			if (Node->UnitInstance)
			{
				Property = Node->UnitProperty->Struct->FindPropertyByName(FName(*PinName));
				Data = Property ? Property->ContainerPtrToValuePtr<void>(Node->UnitInstance->Get()) : nullptr;
			}
			if (Node->UnitInstance && !Property && Pin->GetDirection() == ERigVMPinDirection::Input)
			{
				// An input added to an aggregate node ("C" after "A" and "B") folds into the result.
				Node->AggregateInputs.Add(PinName);
			}
			if (!Node->UnitInstance || (!Property && Node->AggregateInputs.Contains(PinName)))
			{
				TUniquePtr<FProperty> PinProperty = MakePinProperty(Pin->GetCPPType(), Pin->GetCPPTypeObject());
				if (PinProperty)
				{
					TUniquePtr<RigVMPinTypes::FScopedValue> Value = MakeUnique<RigVMPinTypes::FScopedValue>(PinProperty.Get());
					Property = PinProperty.Get();
					Data = Value->Get();
					Node->PinValues.Add(PinName, MoveTemp(Value));
					Node->PinProperties.Add(PinName, MoveTemp(PinProperty));
				}
			}
			if (!Property)
			{
				AddError(FString::Printf(TEXT("Node '%s': pin %s of type %s has no value the executor can hold."), *Node->Name, *PinName, *Pin->GetCPPType()));
				bPinsRead = false;
				continue;
			}
			const FString Default = Pin->GetDefaultValue();
			if (!Default.IsEmpty() && !RigVMPinTypes::ImportWhole(Property, Default, Data))
			{
				AddError(FString::Printf(TEXT("Node '%s': the default value '%s' of pin %s does not read as %s."), *Node->Name, *Default, *PinName, *Pin->GetCPPType()));
				bPinsRead = false;
			}
		}
		if (!bPinsRead || !HasDispatchPins(*Node))
		{
			continue;
		}
		if (Node->AggregateInputs.Num() > 0)
		{
			for (const FProperty* Property : RigVMPinTypes::GetOrderedProperties(Node->UnitProperty->Struct))
			{
				if (!Property->HasMetaData(TEXT("Aggregate")))
				{
					continue;
				}
				const bool bOutput = Property->HasMetaData(TEXT("Output"));
				const FProperty*& Slot = bOutput ? Node->AggregateResult : (Node->AggregateA ? Node->AggregateB : Node->AggregateA);
				Slot = Slot ? Slot : Property;
			}
			if (!Node->AggregateA || !Node->AggregateB || !Node->AggregateResult)
			{
				AddError(FString::Printf(TEXT("Node '%s': %s has inputs its struct does not declare and is no aggregate node."), *Node->Name, *Node->TypeName));
				continue;
			}
		}
		NodeIndices.Add(Node->Name, Nodes.Num());
		Nodes.Add(MoveTemp(Node));
	}

	for (const URigVMLink* Link : Graph.GetLinks())
	{
		FString SourceNodeName, SourcePath, TargetNodeName, TargetPath;
		SplitFirst(Link->GetSourcePinPath(), SourceNodeName, SourcePath);
		SplitFirst(Link->GetTargetPinPath(), TargetNodeName, TargetPath);
		const int32 Source = FindNode(SourceNodeName);
		const int32 Target = FindNode(TargetNodeName);
		if (Source == INDEX_NONE || Target == INDEX_NONE)
		{
			// The node's own error says why it is missing; a link to a node that is not there at all is one more.
			if (!Graph.FindNodeByName(FName(*SourceNodeName)) || !Graph.FindNodeByName(FName(*TargetNodeName)))
			{
				AddError(FString::Printf(TEXT("Link '%s' joins a node that does not exist."), *Link->GetPinPathRepresentation()));
			}
			continue;
		}
		const URigVMPin* SourcePin = Link->GetSourcePin();
		if (SourcePin && SourcePin->IsExecuteContext())
		{
			Nodes[Source]->ExecuteTargets.FindOrAdd(FName(*SourcePath)).Add(Target);
			continue;
		}
		FDataLink Data;
		Data.SourceNode = Source;
		Data.SourcePath = SourcePath;
		Data.TargetPath = TargetPath;
		Data.Text = Link->GetPinPathRepresentation();
		Nodes[Target]->Inputs.Add(Data);
	}
	for (const TUniquePtr<FNode>& Node : Nodes)
	{
		Node->Inputs.StableSort([](const FDataLink& A, const FDataLink& B) {
			int32 DepthA = 0;
			int32 DepthB = 0;
			for (const TCHAR Character : A.TargetPath) { DepthA += Character == TEXT('.'); }
			for (const TCHAR Character : B.TargetPath) { DepthB += Character == TEXT('.'); }
			return DepthA < DepthB;
		});
	}
	// An event starts one chain: a graph with two nodes of one event could not say which runs.
	TMap<FName, FString> EventNodes;
	for (const TUniquePtr<FNode>& Node : Nodes)
	{
		if (Node->Kind != ENodeKind::Event)
		{
			continue;
		}
		if (const FString* First = EventNodes.Find(Node->EventName))
		{
			AddError(FString::Printf(TEXT("Nodes '%s' and '%s' both start the '%s' event; a graph holds one node per event."), **First, *Node->Name, *Node->EventName.ToString()));
			continue;
		}
		EventNodes.Add(Node->EventName, Node->Name);
	}
	bPrepared = Report.Errors.Num() == ErrorsBefore;
}

bool FControlRigGraphExecutor::ResolveSlot(int32 NodeIndex, const FString& PinPath, FSlot& OutSlot)
{
	FNode& Node = *Nodes[NodeIndex];
	FString Segment, Rest;
	SplitFirst(PinPath, Segment, Rest);
	if (Node.UnitInstance && Node.UnitProperty->Struct->FindPropertyByName(FName(*Segment)))
	{
		OutSlot.Property = Node.UnitProperty->Struct->FindPropertyByName(FName(*Segment));
		OutSlot.Data = OutSlot.Property->ContainerPtrToValuePtr<void>(Node.UnitInstance->Get());
	}
	else if (const TUniquePtr<FProperty>* Property = Node.PinProperties.Find(Segment))
	{
		OutSlot.Property = Property->Get();
		OutSlot.Data = Node.PinValues[Segment]->Get();
	}
	else
	{
		OutSlot = FSlot();
	}
	while (OutSlot.Property && !Rest.IsEmpty())
	{
		const FString Path = Rest;
		SplitFirst(Path, Segment, Rest);
		if (const FArrayProperty* Array = dynamic_cast<const FArrayProperty*>(OutSlot.Property))
		{
			const FScriptArrayHelper Helper(Array, OutSlot.Data);
			const int32 Index = IsDigits(Segment) ? FCString::Atoi(*Segment) : INDEX_NONE;
			if (!Helper.IsValidIndex(Index))
			{
				AddError(FString::Printf(TEXT("Node '%s': pin %s has no element %s."), *Node.Name, *PinPath, *Segment));
				return false;
			}
			OutSlot.Data = Helper.GetRawPtr(Index);
			OutSlot.Property = Array->Inner;
		}
		else if (const FStructProperty* Struct = dynamic_cast<const FStructProperty*>(OutSlot.Property))
		{
			const FProperty* Member = Struct->Struct->FindPropertyByName(FName(*Segment));
			OutSlot.Data = Member ? Member->ContainerPtrToValuePtr<void>(OutSlot.Data) : nullptr;
			OutSlot.Property = Member;
		}
		else
		{
			OutSlot.Property = nullptr;
		}
	}
	if (!OutSlot.Property)
	{
		AddError(FString::Printf(TEXT("Node '%s' has no pin %s."), *Node.Name, *PinPath));
		return false;
	}
	return true;
}

bool FControlRigGraphExecutor::CopySlot(const FSlot& Target, const FSlot& Source, const FString& LinkText)
{
	if (Target.Property->GetCPPType() == Source.Property->GetCPPType())
	{
		Target.Property->CopySingleValue(Target.Data, Source.Data);
		return true;
	}
	// Single and double precision numbers link both ways, as the engine's float and double pins do.
	const bool bTargetReal = dynamic_cast<const FFloatProperty*>(Target.Property) || dynamic_cast<const FDoubleProperty*>(Target.Property);
	const bool bSourceReal = dynamic_cast<const FFloatProperty*>(Source.Property) || dynamic_cast<const FDoubleProperty*>(Source.Property);
	if (bTargetReal && bSourceReal)
	{
		const double Value = ReadNumber(Source.Property, Source.Data);
		if (dynamic_cast<const FFloatProperty*>(Target.Property))
		{
			*static_cast<float*>(Target.Data) = (float)Value;
		}
		else
		{
			*static_cast<double*>(Target.Data) = Value;
		}
		return true;
	}
	AddError(FString::Printf(TEXT("Link '%s' joins a %s to a %s."), *LinkText, *Source.Property->GetCPPType(), *Target.Property->GetCPPType()));
	return false;
}

void FControlRigGraphExecutor::PullInputs(int32 NodeIndex, int32 Stamp)
{
	for (const FDataLink& Link : Nodes[NodeIndex]->Inputs)
	{
		EvaluatePure(Link.SourceNode, Stamp);
		FSlot Source, Target;
		if (ResolveSlot(Link.SourceNode, Link.SourcePath, Source) && ResolveSlot(NodeIndex, Link.TargetPath, Target))
		{
			CopySlot(Target, Source, Link.Text);
		}
	}
}

void FControlRigGraphExecutor::EvaluatePure(int32 NodeIndex, int32 Stamp)
{
	FNode& Node = *Nodes[NodeIndex];
	// A mutable node's outputs are what its last run left; a pure node runs once per stamp.
	if (Node.bMutable || Node.EvaluatedStamp == Stamp)
	{
		return;
	}
	if (Node.bEvaluating)
	{
		AddError(FString::Printf(TEXT("Node '%s' depends on its own result."), *Node.Name));
		return;
	}
	Node.bEvaluating = true;
	PullInputs(NodeIndex, Stamp);
	RunBody(NodeIndex);
	Node.EvaluatedStamp = Stamp;
	Node.bEvaluating = false;
}

void FControlRigGraphExecutor::NoteRun(int32 NodeIndex)
{
	FNode& Node = *Nodes[NodeIndex];
	++Report.NodesExecuted;
	++Report.UnitsPerType.FindOrAdd(Node.TypeName);
	++Node.TotalRuns;
	++Node.RunsThisEvent;
}

void FControlRigGraphExecutor::RunBody(int32 NodeIndex)
{
	FNode& Node = *Nodes[NodeIndex];
	NoteRun(NodeIndex);
	switch (Node.Kind)
	{
	case ENodeKind::If:
	{
		const bool bCondition = *static_cast<const bool*>(Node.PinValues[TEXT("Condition")]->Get());
		const FString Chosen = bCondition ? TEXT("True") : TEXT("False");
		Node.PinProperties[TEXT("Result")]->CopySingleValue(Node.PinValues[TEXT("Result")]->Get(), Node.PinValues[Chosen]->Get());
		return;
	}
	case ENodeKind::ArrayGetNum:
	{
		const FScriptArrayHelper Array(static_cast<const FArrayProperty*>(Node.PinProperties[TEXT("Array")].Get()), Node.PinValues[TEXT("Array")]->Get());
		*static_cast<int32*>(Node.PinValues[TEXT("Num")]->Get()) = Array.Num();
		return;
	}
	case ENodeKind::ArrayGetAtIndex:
	{
		const FArrayProperty* ArrayProperty = static_cast<const FArrayProperty*>(Node.PinProperties[TEXT("Array")].Get());
		const FScriptArrayHelper Array(ArrayProperty, Node.PinValues[TEXT("Array")]->Get());
		const int32 Index = *static_cast<const int32*>(Node.PinValues[TEXT("Index")]->Get());
		if (!Array.IsValidIndex(Index))
		{
			AddError(FString::Printf(TEXT("Node '%s': index %d is out of the array's range (%d elements)."), *Node.Name, Index, Array.Num()));
			return;
		}
		ArrayProperty->Inner->CopySingleValue(Node.PinValues[TEXT("Element")]->Get(), Array.GetRawPtr(Index));
		return;
	}
	case ENodeKind::ArrayAdd:
	{
		const FArrayProperty* ArrayProperty = static_cast<const FArrayProperty*>(Node.PinProperties[TEXT("Array")].Get());
		const FScriptArrayHelper Array(ArrayProperty, Node.PinValues[TEXT("Array")]->Get());
		const int32 Index = Array.AddValue();
		ArrayProperty->Inner->CopySingleValue(Array.GetRawPtr(Index), Node.PinValues[TEXT("Element")]->Get());
		*static_cast<int32*>(Node.PinValues[TEXT("Index")]->Get()) = Index;
		return;
	}
	case ENodeKind::ArrayIterator:
		return;
	default:
		break;
	}

	// A unit: it gets the running rig through its execution contexts and runs its own entry.
	for (const FStructProperty* Context : Node.ContextProperties)
	{
		FRigVMExecuteContext* Value = Context->ContainerPtrToValuePtr<FRigVMExecuteContext>(Node.UnitInstance->Get());
		Value->SetEventName(RunningEvent);
		if (Context->Struct->IsChildOf(FControlRigExecuteContext::StaticStruct()))
		{
			static_cast<FControlRigExecuteContext*>(Value)->Hierarchy = Hierarchy;
		}
	}
	{
		RigUnitRunContext::FScope Scope(Hierarchy);
		Node.Unit()->Execute();
		if (Node.AggregateInputs.Num() > 0)
		{
			// An aggregate node folds its added inputs in, one at a time: the result so far becomes the
			// first operand and the next input the second, as the engine's chain of two-input nodes
			// does. The operands' own values come back afterwards.
			void* Instance = Node.UnitInstance->Get();
			const RigVMPinTypes::FScopedValue SavedA(Node.AggregateA);
			const RigVMPinTypes::FScopedValue SavedB(Node.AggregateB);
			Node.AggregateA->CopySingleValue(SavedA.Get(), Node.AggregateA->ContainerPtrToValuePtr<void>(Instance));
			Node.AggregateB->CopySingleValue(SavedB.Get(), Node.AggregateB->ContainerPtrToValuePtr<void>(Instance));
			for (const FString& Input : Node.AggregateInputs)
			{
				Node.AggregateA->CopySingleValue(Node.AggregateA->ContainerPtrToValuePtr<void>(Instance), Node.AggregateResult->ContainerPtrToValuePtr<void>(Instance));
				Node.AggregateB->CopySingleValue(Node.AggregateB->ContainerPtrToValuePtr<void>(Instance), Node.PinValues[Input]->Get());
				Node.Unit()->Execute();
			}
			Node.AggregateA->CopySingleValue(Node.AggregateA->ContainerPtrToValuePtr<void>(Instance), SavedA.Get());
			Node.AggregateB->CopySingleValue(Node.AggregateB->ContainerPtrToValuePtr<void>(Instance), SavedB.Get());
		}
	}
	for (const FString& Warning : RigUnitRunContext::TakeWarnings())
	{
		Report.Warnings.Add(FString::Printf(TEXT("Node '%s': %s"), *Node.Name, *Warning));
	}
	for (const FString& Error : RigUnitRunContext::TakeErrors())
	{
		Report.Errors.Add(FString::Printf(TEXT("Node '%s': %s"), *Node.Name, *Error));
	}
}

void FControlRigGraphExecutor::RunChain(int32 NodeIndex, const FName& ExecutePin)
{
	const TArray<int32>* Targets = Nodes[NodeIndex]->ExecuteTargets.Find(ExecutePin);
	if (!Targets)
	{
		return;
	}
	if (ChainDepth >= MaxChainDepth)
	{
		AddError(FString::Printf(TEXT("Node '%s': control flow is nested more than %d deep; the run stops there."), *Nodes[NodeIndex]->Name, MaxChainDepth));
		return;
	}
	++ChainDepth;
	for (const int32 Target : *Targets)
	{
		RunMutable(Target);
	}
	--ChainDepth;
}

void FControlRigGraphExecutor::RunMutable(int32 NodeIndex)
{
	// A plain chain (each node leading on to one next node) is walked here rather than by recursion,
	// so that a long chain does not grow the stack.
	for (int32 Current = NodeIndex; Current != INDEX_NONE;)
	{
		FNode& Node = *Nodes[Current];
		PullInputs(Current, NextStamp++);
		switch (Node.Kind)
		{
		case ENodeKind::Sequence:
			RunBody(Current);
			for (const FName& Output : Node.ExecuteOutputs)
			{
				RunChain(Current, Output);
			}
			return;
		case ENodeKind::Branch:
		{
			RunBody(Current);
			const bool bCondition = static_cast<const FRigVMFunction_ControlFlowBranch*>(Node.Unit())->Condition;
			RunChain(Current, bCondition ? FName(TEXT("True")) : FName(TEXT("False")));
			RunChain(Current, CompletedPin);
			return;
		}
		case ENodeKind::ArrayIterator:
		case ENodeKind::CollectionLoop:
			RunLoop(Current);
			return;
		default:
			RunBody(Current);
			break;
		}
		const TArray<int32>* Next = Node.ExecuteTargets.Find(ExecuteContextPin);
		if (!Next)
		{
			return;
		}
		if (Next->Num() == 1)
		{
			Current = (*Next)[0];
			continue;
		}
		RunChain(Current, ExecuteContextPin);
		return;
	}
}

void FControlRigGraphExecutor::RunLoop(int32 NodeIndex)
{
	FNode& Node = *Nodes[NodeIndex];
	RunBody(NodeIndex);
	// The loop's own element list is read once; the body runs per element with the element's
	// index, the count and the ratio (0 at the first element, 1 at the last).
	const bool bIterator = Node.Kind == ENodeKind::ArrayIterator;
	const FArrayProperty* ArrayProperty = bIterator ? static_cast<const FArrayProperty*>(Node.PinProperties[TEXT("Array")].Get()) : nullptr;
	FRigUnit_CollectionLoop* Loop = bIterator ? nullptr : static_cast<FRigUnit_CollectionLoop*>(Node.Unit());
	const int32 Count = bIterator ? FScriptArrayHelper(ArrayProperty, Node.PinValues[TEXT("Array")]->Get()).Num() : Loop->Collection.GetKeys().Num();
	for (int32 Index = 0; Index < Count; ++Index)
	{
		const float Ratio = Count > 1 ? (float)Index / (float)(Count - 1) : 0.f;
		if (bIterator)
		{
			const FScriptArrayHelper Array(ArrayProperty, Node.PinValues[TEXT("Array")]->Get());
			ArrayProperty->Inner->CopySingleValue(Node.PinValues[TEXT("Element")]->Get(), Array.GetRawPtr(Index));
			*static_cast<int32*>(Node.PinValues[TEXT("Index")]->Get()) = Index;
			*static_cast<int32*>(Node.PinValues[TEXT("Count")]->Get()) = Count;
			*static_cast<float*>(Node.PinValues[TEXT("Ratio")]->Get()) = Ratio;
		}
		else
		{
			Loop->Item = Loop->Collection.GetKeys()[Index];
			Loop->Index = Index;
			Loop->Count = Count;
			Loop->Ratio = Ratio;
		}
		RunChain(NodeIndex, ExecuteContextPin);
	}
	RunChain(NodeIndex, CompletedPin);
}

bool FControlRigGraphExecutor::HasEvent(const FName& EventName) const
{
	for (const TUniquePtr<FNode>& Node : Nodes)
	{
		if (Node->Kind == ENodeKind::Event && Node->EventName == EventName)
		{
			return true;
		}
	}
	return false;
}

bool FControlRigGraphExecutor::RunEvent(const FName& EventName)
{
	if (!bPrepared)
	{
		return false;
	}
	int32 EventNode = INDEX_NONE;
	for (int32 Index = 0; Index < Nodes.Num(); ++Index)
	{
		if (Nodes[Index]->Kind == ENodeKind::Event && Nodes[Index]->EventName == EventName)
		{
			EventNode = Index;
			break;
		}
	}
	if (EventNode == INDEX_NONE)
	{
		AddError(FString::Printf(TEXT("The graph has no '%s' event."), *EventName.ToString()));
		return false;
	}
	const int32 ErrorsBefore = Report.Errors.Num();
	for (const TUniquePtr<FNode>& Node : Nodes)
	{
		Node->RunsThisEvent = 0;
	}
	RunningEvent = EventName;
	++Report.EventsRun;
	RunBody(EventNode);
	for (const FName& Output : Nodes[EventNode]->ExecuteOutputs)
	{
		RunChain(EventNode, Output);
	}
	// As the editor does after each run: a node that ran more often than the limit is reported, once
	// per run; the run itself is not cut short. A limit of one or less turns the check off.
	if (NodeRunLimit > 1)
	{
		for (const TUniquePtr<FNode>& Node : Nodes)
		{
			if (Node->RunsThisEvent > NodeRunLimit)
			{
				Report.Warnings.Add(FString::Printf(TEXT("Node '%s' has hit the node run limit in '%s' (ran %d times, limit is %d)."), *Node->Name, *EventName.ToString(), Node->RunsThisEvent, NodeRunLimit));
			}
		}
	}
	RunningEvent = NAME_None;
	return Report.Errors.Num() == ErrorsBefore;
}

TArray<FString> FControlRigGraphExecutor::GetNodesNeverRun() const
{
	TArray<FString> Names;
	for (const TUniquePtr<FNode>& Node : Nodes)
	{
		if (Node->TotalRuns == 0)
		{
			Names.Add(Node->Name);
		}
	}
	return Names;
}
