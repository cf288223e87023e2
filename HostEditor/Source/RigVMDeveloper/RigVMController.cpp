#include "RigVMModel/RigVMController.h"

#include "RigVMCore/RigVMDispatchFactory.h"
#include "RigVMCore/RigVMExecuteContext.h"
#include "RigVMCore/RigVMStruct.h"
#include "RigVMCore/RigVMUnknownType.h"
#include "RigVMPinTypes.h"
#include "UObject/UnrealType.h"
#include "UObject/UObjectGlobals.h"

DEFINE_LOG_CATEGORY(LogRigVMDeveloper);

namespace
{
	const TCHAR* const CommentNodeName = TEXT("CommentNode");
	const TCHAR* const LinkObjectName = TEXT("RigVMLink");
	const TCHAR* const BranchStructPath = TEXT("/Script/RigVM.RigVMFunction_ControlFlowBranch");
	const TCHAR* const DefaultMethodName = TEXT("Execute");

	constexpr double MinNodeWidth = 160.0;
	constexpr double NodeWidthPadding = 40.0;
	constexpr double NodeWidthPerCharacter = 7.0;
	constexpr int32 IndentPerSubPinLevel = 2;
	constexpr double NodeHeaderHeight = 40.0;
	constexpr double PinRowHeight = 24.0;

	/** Takes a removed object out of its outer, so that its name is free again, and destroys it. */
	void DiscardObject(UObject* Object)
	{
		Object->Rename(nullptr, GetTransientPackage(), REN_DoNotDirty);
		Object->MarkAsGarbage();
	}

	/** The direction a unit struct member's metadata gives its pin. */
	ERigVMPinDirection DirectionFromMetaData(const FProperty* Property)
	{
		const bool bInput = Property->HasMetaData(TEXT("Input"));
		const bool bOutput = Property->HasMetaData(TEXT("Output"));
		if (bInput && bOutput)
		{
			return ERigVMPinDirection::IO;
		}
		if (bInput)
		{
			return ERigVMPinDirection::Input;
		}
		if (bOutput)
		{
			return ERigVMPinDirection::Output;
		}
		if (Property->HasMetaData(TEXT("Visible")))
		{
			return ERigVMPinDirection::Visible;
		}
		return ERigVMPinDirection::Hidden;
	}

	/** Parses a NodeColor metadata value: three or four numbers separated by blanks or commas. */
	FLinearColor ParseNodeColor(const FString& Text, const FLinearColor& Fallback)
	{
		TArray<FString> Parts;
		Text.Replace(TEXT(","), TEXT(" ")).ParseIntoArrayWS(Parts);
		if (Parts.Num() < 3 || Parts.Num() > 4)
		{
			return Fallback;
		}
		float Channels[4] = {0.f, 0.f, 0.f, 1.f};
		for (int32 Index = 0; Index < Parts.Num(); ++Index)
		{
			Channels[Index] = (float)FCString::Atod(*Parts[Index]);
		}
		return FLinearColor(Channels[0], Channels[1], Channels[2], Channels[3]);
	}

	/** The methods a unit struct declares as node entries. */
	TArray<FString> GetStructMethods(const UScriptStruct* Struct)
	{
		TArray<FString> Methods;
		for (const UStruct* Current = Struct; Current; Current = Current->GetSuperStruct())
		{
			if (Current->HasMetaData(TEXT("RigVMMethods")))
			{
				Current->GetMetaData(TEXT("RigVMMethods")).ParseIntoArray(Methods, TEXT(","));
				break;
			}
		}
		return Methods;
	}

	bool IsAllowedPinStruct(const UScriptStruct* Struct, TArray<const UScriptStruct*>& Visiting);

	/**
	 * Whether RigVM carries values of a property's type: booleans, numbers, enumerations, names,
	 * strings, arrays of those and structs made only of those. Object, soft object, class, interface
	 * and text properties are refused (no object class is registered with the RigVM here).
	 */
	bool IsAllowedPinProperty(const FProperty* Property, TArray<const UScriptStruct*>& Visiting)
	{
		if (CastField<FBoolProperty>(Property) || CastField<FNumericProperty>(Property) || CastField<FEnumProperty>(Property)
			|| CastField<FNameProperty>(Property) || CastField<FStrProperty>(Property))
		{
			return true;
		}
		if (const FArrayProperty* Array = CastField<FArrayProperty>(Property))
		{
			return IsAllowedPinProperty(Array->Inner, Visiting);
		}
		if (const FStructProperty* StructProperty = CastField<FStructProperty>(Property))
		{
			return IsAllowedPinStruct(StructProperty->Struct, Visiting);
		}
		return false;
	}

	bool IsAllowedPinStruct(const UScriptStruct* Struct, TArray<const UScriptStruct*>& Visiting)
	{
		if (Struct->IsChildOf(FRigVMExecuteContext::StaticStruct()))
		{
			return true;
		}
		if (Struct->IsChildOf(FRigVMStruct::StaticStruct()) || Struct->IsChildOf(FRigVMUnknownType::StaticStruct()))
		{
			return false;
		}
		if (Visiting.Contains(Struct))
		{
			return true;
		}
		Visiting.Add(Struct);
		for (TFieldIterator<FProperty> It(Struct); It; ++It)
		{
			if (!IsAllowedPinProperty(*It, Visiting))
			{
				Visiting.Pop();
				return false;
			}
		}
		Visiting.Pop();
		return true;
	}

	/** The first member of a unit struct whose type RigVM does not carry, or null. */
	const FProperty* FindUnsupportedMember(const UScriptStruct* Struct)
	{
		for (TFieldIterator<FProperty> It(Struct); It; ++It)
		{
			TArray<const UScriptStruct*> Visiting;
			Visiting.Add(Struct);
			if (!IsAllowedPinProperty(*It, Visiting))
			{
				return *It;
			}
		}
		return nullptr;
	}

	bool IsConcreteUnitStruct(const UScriptStruct* Struct)
	{
		return Struct && Struct->IsChildOf(FRigVMStruct::StaticStruct()) && !Struct->HasMetaData(TEXT("Abstract"));
	}

	bool IsStringPinType(const FString& CPPType)
	{
		return CPPType == TEXT("FString") || CPPType == TEXT("FName");
	}

	/** A value for a string-typed pin: quoted text loses its quotes, other text is taken as it is. */
	FString UnquoteIfQuoted(const FString& Text)
	{
		const FString Trimmed = Text.TrimStartAndEnd();
		if (Trimmed.Len() >= 2 && Trimmed.StartsWith(TEXT("\""), ESearchCase::CaseSensitive))
		{
			FString Token;
			const TCHAR* End = PropertyTextUtils::ReadToken(*Trimmed, Token);
			if (End && *PropertyTextUtils::SkipWhitespace(End) == 0)
			{
				return Token;
			}
		}
		return Text;
	}

	/** The argument of a template notation's list: "in Value" -> ("in", "Value"). */
	FString NotationDirection(ERigVMPinDirection Direction)
	{
		switch (Direction)
		{
		case ERigVMPinDirection::Output:
			return TEXT("out");
		case ERigVMPinDirection::IO:
			return TEXT("io");
		default:
			return TEXT("in");
		}
	}

	/** The members of a unit struct that are arguments of its template: visible, not execution pins. */
	TArray<FProperty*> GetTemplateArguments(const UScriptStruct* Struct)
	{
		TArray<FProperty*> Result;
		for (FProperty* Property : RigVMPinTypes::GetOrderedProperties(Struct))
		{
			FString CPPType;
			UObject* TypeObject = nullptr;
			RigVMPinTypes::GetPropertyPinType(Property, CPPType, TypeObject);
			if (DirectionFromMetaData(Property) != ERigVMPinDirection::Hidden && !RigVMPinTypes::IsExecuteType(TypeObject))
			{
				Result.Add(Property);
			}
		}
		return Result;
	}

	/** Every (struct, method) whose template notation is Notation. */
	TArray<TPair<UScriptStruct*, FName>> FindTemplatePermutations(const FName& Notation)
	{
		TArray<TPair<UScriptStruct*, FName>> Result;
		TArray<UObject*> Structs;
		GetObjectsOfClass(UScriptStruct::StaticClass(), Structs, false);
		for (UObject* Object : Structs)
		{
			UScriptStruct* Struct = static_cast<UScriptStruct*>(Object);
			if (!IsConcreteUnitStruct(Struct))
			{
				continue;
			}
			for (const FString& Method : GetStructMethods(Struct))
			{
				// The member check walks the struct's types, so it waits for a struct that matches.
				if (FName(*URigVMController::GetTemplateNotationForStruct(Struct, FName(*Method))) == Notation && !FindUnsupportedMember(Struct))
				{
					Result.Add(TPair<UScriptStruct*, FName>(Struct, FName(*Method)));
				}
			}
		}
		return Result;
	}

	const FRigVMTemplateArgumentInfo* FindFactoryArgument(const FRigVMDispatchFactory& Factory, const FName& Name)
	{
		for (const FRigVMTemplateArgumentInfo& Argument : Factory.GetArgumentInfos())
		{
			if (Argument.Name == Name)
			{
				return &Argument;
			}
		}
		return nullptr;
	}
}

FString URigVMController::GetTemplateNotationForStruct(const UScriptStruct* InStruct, const FName& InMethodName)
{
	if (!InStruct)
	{
		return FString();
	}
	FString TemplateName = InStruct->GetMetaData(TEXT("TemplateName"));
	if (TemplateName.IsEmpty())
	{
		TemplateName = InStruct->GetName();
	}
	TArray<FString> Arguments;
	for (const FProperty* Property : GetTemplateArguments(InStruct))
	{
		Arguments.Add(NotationDirection(DirectionFromMetaData(Property)) + TEXT(" ") + Property->GetName());
	}
	return FString::Printf(TEXT("%s::%s(%s)"), *TemplateName, *InMethodName.ToString(), *FString::Join(Arguments, TEXT(",")));
}

UScriptStruct* URigVMController::GetExecuteContextStruct() const
{
	return ExecuteContextStruct ? ExecuteContextStruct.Get() : FRigVMExecuteContext::StaticStruct();
}

bool URigVMController::CheckGraph() const
{
	if (!Graph)
	{
		ReportError(TEXT("The controller has no graph."));
		return false;
	}
	return true;
}

bool URigVMController::CheckNodeOfGraph(const URigVMNode* InNode, const TCHAR* Operation) const
{
	if (!CheckGraph())
	{
		return false;
	}
	if (!InNode || InNode->GetGraph() != Graph.Get() || !Graph->ContainsNode(InNode))
	{
		ReportError(FString::Printf(TEXT("Cannot %s: the node is not in the controller's graph."), Operation));
		return false;
	}
	return true;
}

URigVMNode* URigVMController::FindNodeChecked(const FName& InNodeName) const
{
	if (!CheckGraph())
	{
		return nullptr;
	}
	URigVMNode* Node = Graph->FindNodeByName(InNodeName);
	if (!Node)
	{
		ReportError(FString::Printf(TEXT("Cannot find node '%s'."), *InNodeName.ToString()));
	}
	return Node;
}

void URigVMController::ReportError(const FString& Message) const
{
	UE_LOG(LogRigVMDeveloper, Error, TEXT("%s"), *Message);
}

void URigVMController::Notify()
{
	if (Graph)
	{
		Graph->MarkPackageDirty();
	}
	if (OnModified)
	{
		OnModified(Graph);
	}
}

// ---- Names ----

bool URigVMController::IsValidNodeName(const FString& InName) const
{
	if (InName.IsEmpty() || InName == TEXT("None"))
	{
		return false;
	}
	for (int32 Index = 0; Index < InName.Len(); ++Index)
	{
		const TCHAR Char = InName[Index];
		if (!FChar::IsAlnum(Char) && Char != '_' && Char != '-' && Char != ' ')
		{
			return false;
		}
	}
	return true;
}

FName URigVMController::MakeUniqueNodeName(const FString& InDesiredName) const
{
	// Characters that would break pin paths ('.', ':', ...) become '_'.
	FString Base;
	for (int32 Index = 0; Index < InDesiredName.Len(); ++Index)
	{
		const TCHAR Char = InDesiredName[Index];
		Base.AppendChar(FChar::IsAlnum(Char) || Char == '_' || Char == '-' || Char == ' ' ? Char : TCHAR('_'));
	}
	Base = Base.TrimStartAndEnd();
	if (Base.IsEmpty() || Base == TEXT("None"))
	{
		Base = TEXT("Node");
	}
	if (!Graph->FindNodeByName(FName(*Base)) && !StaticFindObjectFast(nullptr, Graph, FName(*Base)))
	{
		return FName(*Base);
	}
	// The lowest free suffix; the graph remembers where the taken ones end until a name is freed.
	int32& Hint = Graph->NodeNameSuffixHints.FindOrAdd(Base, 1);
	for (int32 Suffix = Hint;; ++Suffix)
	{
		const FString Candidate = FString::Printf(TEXT("%s_%d"), *Base, Suffix);
		if (!Graph->FindNodeByName(FName(*Candidate)) && !StaticFindObjectFast(nullptr, Graph, FName(*Candidate)))
		{
			Hint = Suffix;
			return FName(*Candidate);
		}
	}
}

void URigVMController::AddNodeToGraph(URigVMNode* Node, const FVector2D& InPosition)
{
	Node->Position = InPosition;
	Graph->Nodes.Add(Node);
	Graph->NoteNodeAdded(Node);
	UpdateNodeSize(Node);
	Notify();
}

// ---- Pins ----

URigVMPin* URigVMController::MakePin(UObject* Outer, const FName& Name, ERigVMPinDirection Direction, const FString& InCPPType, UObject* TypeObject)
{
	URigVMPin* Pin = NewObject<URigVMPin>(Outer, Name);
	Pin->Direction = Direction;
	if (RigVMPinTypes::IsExecuteType(TypeObject))
	{
		// Execution pins take the execute context of the graph they are in.
		SetPinType(Pin, GetExecuteContextStruct()->GetStructCPPName(), GetExecuteContextStruct());
		return Pin;
	}
	SetPinType(Pin, InCPPType, TypeObject);
	return Pin;
}

void URigVMController::SetPinType(URigVMPin* Pin, const FString& InCPPType, UObject* TypeObject)
{
	RemoveLinksOf(Pin, true);
	for (URigVMPin* SubPin : Pin->SubPins)
	{
		DiscardObject(SubPin);
	}
	Pin->SubPins.Reset();
	Pin->CPPType = InCPPType;
	Pin->CPPTypeObject = TypeObject;
	Pin->CPPTypeObjectPath = TypeObject ? FName(*TypeObject->GetPathName()) : FName();
	Pin->DefaultValue.Reset();
	MakeSubPins(Pin);
	if (Pin->IsArray() || Pin->IsExecuteContext() || Pin->IsWildCard())
	{
		return;
	}
	// A pin of a new type starts at the type's default value.
	if (TUniquePtr<FProperty> ValueProperty = RigVMPinTypes::MakeValueProperty(InCPPType, TypeObject))
	{
		RigVMPinTypes::FScopedValue Value(ValueProperty.Get());
		SetDefaultFromMemory(Pin, ValueProperty.Get(), Value.Get());
	}
}

void URigVMController::MakeSubPins(URigVMPin* Pin)
{
	if (!Pin->IsStruct())
	{
		return;
	}
	for (const FProperty* Member : RigVMPinTypes::GetOrderedProperties(Pin->GetScriptStruct()))
	{
		FString MemberType;
		UObject* MemberObject = nullptr;
		RigVMPinTypes::GetPropertyPinType(Member, MemberType, MemberObject);
		URigVMPin* SubPin = MakePin(Pin, Member->GetFName(), Pin->Direction, MemberType, MemberObject);
		Pin->SubPins.Add(SubPin);
	}
}

void URigVMController::ApplyMetaData(URigVMPin* Pin, const FProperty* Property) const
{
	if (Property->HasMetaData(TEXT("DisplayName")))
	{
		Pin->DisplayName = FName(*Property->GetMetaData(TEXT("DisplayName")));
	}
	Pin->bIsConstant = Property->HasMetaData(TEXT("Constant"));
	Pin->bIsExpanded = Property->HasMetaData(TEXT("ExpandByDefault"));
}

void URigVMController::MakePinsForStruct(URigVMNode* Node, const UScriptStruct* InStruct)
{
	const FStructProperty StructProperty(nullptr, NAME_None, 0, CPF_None, const_cast<UScriptStruct*>(InStruct));
	RigVMPinTypes::FScopedValue Defaults(&StructProperty);
	for (const FProperty* Property : RigVMPinTypes::GetOrderedProperties(InStruct))
	{
		FString PinType;
		UObject* TypeObject = nullptr;
		RigVMPinTypes::GetPropertyPinType(Property, PinType, TypeObject);
		URigVMPin* Pin = MakePin(Node, Property->GetFName(), DirectionFromMetaData(Property), PinType, TypeObject);
		ApplyMetaData(Pin, Property);
		Node->Pins.Add(Pin);
		if (!Pin->IsExecuteContext())
		{
			SetDefaultFromMemory(Pin, Property, Property->ContainerPtrToValuePtr<void>(Defaults.Get()));
		}
	}
}

void URigVMController::MakePinsForFactory(URigVMDispatchNode* Node, const FRigVMDispatchFactory& Factory, const FPinTypeRef* TypeVariable)
{
	for (const FRigVMTemplateArgumentInfo& Argument : Factory.GetArgumentInfos())
	{
		FString PinType;
		UObject* TypeObject = nullptr;
		switch (Argument.TypeKind)
		{
		case ERigVMTemplateArgumentTypeKind::Execute:
			TypeObject = GetExecuteContextStruct();
			PinType = GetExecuteContextStruct()->GetStructCPPName();
			break;
		case ERigVMTemplateArgumentTypeKind::TypeVariable:
			PinType = TypeVariable ? TypeVariable->CPPType : FString(RigVMPinTypes::WildCardCPPType);
			TypeObject = TypeVariable ? TypeVariable->TypeObject : FRigVMUnknownType::StaticStruct();
			break;
		case ERigVMTemplateArgumentTypeKind::ArrayOfTypeVariable:
			PinType = TypeVariable ? RigVMPinTypes::ArrayTypeFromBaseType(TypeVariable->CPPType) : FString(RigVMPinTypes::WildCardArrayCPPType);
			TypeObject = TypeVariable ? TypeVariable->TypeObject : FRigVMUnknownType::StaticStruct();
			break;
		default:
			PinType = Argument.CPPType;
			TypeObject = Argument.CPPTypeObjectPath.IsNone() ? nullptr : StaticFindObject(nullptr, nullptr, *Argument.CPPTypeObjectPath.ToString());
			break;
		}
		URigVMPin* Pin = MakePin(Node, Argument.Name, Argument.Direction, PinType, TypeObject);
		Node->Pins.Add(Pin);
		if (!Argument.DefaultValue.IsEmpty() && CanImportDefault(Pin, Argument.DefaultValue))
		{
			ImportDefault(Pin, Argument.DefaultValue, true);
		}
	}
}

void URigVMController::SetDefaultFromMemory(URigVMPin* Pin, const FProperty* Property, const void* Value)
{
	if (const FArrayProperty* Array = CastField<FArrayProperty>(Property))
	{
		const FScriptArrayHelper Helper(Array, Value);
		ResizeArrayPin(Pin, Helper.Num());
		for (int32 Index = 0; Index < Helper.Num(); ++Index)
		{
			SetDefaultFromMemory(Pin->SubPins[Index], Array->Inner, Helper.GetRawPtr(Index));
		}
		return;
	}
	if (const FStructProperty* Struct = CastField<FStructProperty>(Property); Struct && Pin->IsStruct())
	{
		for (URigVMPin* SubPin : Pin->SubPins)
		{
			if (const FProperty* Member = Struct->Struct->FindPropertyByName(SubPin->GetFName()))
			{
				SetDefaultFromMemory(SubPin, Member, Member->ContainerPtrToValuePtr<void>(Value));
			}
		}
		return;
	}
	if (Pin->IsExecuteContext())
	{
		return;
	}
	FString Text;
	Property->ExportTextItem_Direct(Text, Value, nullptr, nullptr, PPF_None);
	Pin->DefaultValue = Text;
}

void URigVMController::ResizeArrayPin(URigVMPin* ArrayPin, int32 NewSize)
{
	while (ArrayPin->SubPins.Num() > NewSize)
	{
		URigVMPin* Removed = ArrayPin->SubPins.Pop();
		RemoveLinksOf(Removed, true);
		DiscardObject(Removed);
	}
	const FString ElementType = RigVMPinTypes::BaseTypeFromArrayType(ArrayPin->CPPType);
	while (ArrayPin->SubPins.Num() < NewSize)
	{
		const FName ElementName(*FString::FromInt(ArrayPin->SubPins.Num()));
		ArrayPin->SubPins.Add(MakePin(ArrayPin, ElementName, ArrayPin->Direction, ElementType, ArrayPin->CPPTypeObject));
	}
}

bool URigVMController::CanImportDefault(const URigVMPin* Pin, const FString& Text) const
{
	if (Pin->IsExecuteContext() || Pin->IsWildCard())
	{
		return false;
	}
	if (Pin->IsArray())
	{
		TArray<FString> Elements;
		if (!RigVMPinTypes::SplitArrayText(Text, Elements))
		{
			return false;
		}
		const FString ElementType = RigVMPinTypes::BaseTypeFromArrayType(Pin->CPPType);
		if (IsStringPinType(ElementType))
		{
			return true;
		}
		const TUniquePtr<FProperty> ElementProperty = RigVMPinTypes::MakeValueProperty(ElementType, Pin->CPPTypeObject);
		if (!ElementProperty)
		{
			return false;
		}
		for (const FString& Element : Elements)
		{
			RigVMPinTypes::FScopedValue Value(ElementProperty.Get());
			if (!RigVMPinTypes::ImportWhole(ElementProperty.Get(), Element, Value.Get()))
			{
				return false;
			}
		}
		return true;
	}
	if (IsStringPinType(Pin->CPPType))
	{
		return true;
	}
	const TUniquePtr<FProperty> ValueProperty = RigVMPinTypes::MakeValueProperty(Pin->CPPType, Pin->CPPTypeObject);
	if (!ValueProperty)
	{
		return false;
	}
	RigVMPinTypes::FScopedValue Value(ValueProperty.Get());
	return RigVMPinTypes::ImportWhole(ValueProperty.Get(), Text, Value.Get());
}

void URigVMController::ImportDefault(URigVMPin* Pin, const FString& Text, bool bResizeArrays)
{
	if (Pin->IsArray())
	{
		TArray<FString> Elements;
		RigVMPinTypes::SplitArrayText(Text, Elements);
		if (bResizeArrays)
		{
			ResizeArrayPin(Pin, Elements.Num());
		}
		for (int32 Index = 0; Index < FMath::Min(Elements.Num(), Pin->SubPins.Num()); ++Index)
		{
			ImportDefault(Pin->SubPins[Index], Elements[Index], bResizeArrays);
		}
		return;
	}
	if (IsStringPinType(Pin->CPPType))
	{
		Pin->DefaultValue = UnquoteIfQuoted(Text);
		return;
	}
	const TUniquePtr<FProperty> ValueProperty = RigVMPinTypes::MakeValueProperty(Pin->CPPType, Pin->CPPTypeObject);
	RigVMPinTypes::FScopedValue Value(ValueProperty.Get());
	if (Pin->IsStruct())
	{
		// Members the text does not name keep the pin's current values.
		RigVMPinTypes::ImportWhole(ValueProperty.Get(), Pin->GetDefaultValue(), Value.Get());
	}
	if (RigVMPinTypes::ImportWhole(ValueProperty.Get(), Text, Value.Get()))
	{
		SetDefaultFromMemory(Pin, ValueProperty.Get(), Value.Get());
	}
}

FString URigVMController::GetPinDefaultFromOrigin(const URigVMPin* Pin) const
{
	// The path from the root pin down to Pin.
	TArray<const URigVMPin*> Chain;
	for (const URigVMPin* Current = Pin; Current; Current = Current->GetParentPin())
	{
		Chain.Insert(Current, 0);
	}
	const URigVMTemplateNode* TemplateNode = dynamic_cast<const URigVMTemplateNode*>(Pin->GetNode());
	const UScriptStruct* Struct = TemplateNode ? TemplateNode->GetScriptStruct() : nullptr;
	const FProperty* RootProperty = Struct ? Struct->FindPropertyByName(Chain[0]->GetFName()) : nullptr;
	if (!RootProperty)
	{
		// Pins without a struct member start at their type's default value.
		if (Pin->IsArray())
		{
			return TEXT("()");
		}
		const TUniquePtr<FProperty> ValueProperty = RigVMPinTypes::MakeValueProperty(Pin->CPPType, Pin->CPPTypeObject);
		if (!ValueProperty)
		{
			return FString();
		}
		RigVMPinTypes::FScopedValue Value(ValueProperty.Get());
		FString Text;
		ValueProperty->ExportTextItem_Direct(Text, Value.Get(), nullptr, nullptr, PPF_None);
		return Text;
	}
	const FStructProperty StructProperty(nullptr, NAME_None, 0, CPF_None, const_cast<UScriptStruct*>(Struct));
	RigVMPinTypes::FScopedValue Defaults(&StructProperty);
	const FProperty* Property = RootProperty;
	const void* Value = RootProperty->ContainerPtrToValuePtr<void>(Defaults.Get());
	for (int32 Level = 1; Level < Chain.Num() && Property; ++Level)
	{
		if (const FArrayProperty* Array = CastField<FArrayProperty>(Property))
		{
			const FScriptArrayHelper Helper(Array, Value);
			const int32 Index = FCString::Atoi(*Chain[Level]->GetName());
			if (!Helper.IsValidIndex(Index))
			{
				// An element the struct's default does not have starts at the element type's default.
				Property = nullptr;
				break;
			}
			Property = Array->Inner;
			Value = Helper.GetRawPtr(Index);
		}
		else if (const FStructProperty* StructMember = CastField<FStructProperty>(Property))
		{
			const FProperty* Member = StructMember->Struct->FindPropertyByName(Chain[Level]->GetFName());
			Value = Member ? Member->ContainerPtrToValuePtr<void>(Value) : nullptr;
			Property = Member;
		}
		else
		{
			Property = nullptr;
		}
	}
	if (!Property)
	{
		const TUniquePtr<FProperty> ValueProperty = RigVMPinTypes::MakeValueProperty(Pin->CPPType, Pin->CPPTypeObject);
		if (!ValueProperty)
		{
			return Pin->IsArray() ? FString(TEXT("()")) : FString();
		}
		RigVMPinTypes::FScopedValue Fresh(ValueProperty.Get());
		FString Text;
		ValueProperty->ExportTextItem_Direct(Text, Fresh.Get(), nullptr, nullptr, PPF_None);
		return Text;
	}
	FString Text;
	Property->ExportTextItem_Direct(Text, Value, nullptr, nullptr, PPF_None);
	return Text;
}

// ---- Adding nodes ----

void URigVMController::SetupUnitNode(URigVMTemplateNode* Node, const UScriptStruct* InStruct, const FName& InMethodName)
{
	Node->ResolvedScriptStruct = const_cast<UScriptStruct*>(InStruct);
	Node->ResolvedMethodName = InMethodName;
	Node->ResolvedStructPath = InStruct->GetPathName();
	Node->TemplateNotation = FName(*GetTemplateNotationForStruct(InStruct, InMethodName));
	Node->NodeTitle = RigVMPinTypes::GetStructNodeTitle(InStruct);
	Node->NodeColor = ParseNodeColor(RigVMPinTypes::GetStructMetaDataHierarchical(InStruct, TEXT("NodeColor")), FLinearColor::White);
	MakePinsForStruct(Node, InStruct);
}

URigVMUnitNode* URigVMController::AddUnitNode(const UScriptStruct* InScriptStruct, const FName& InMethodName, const FVector2D& InPosition, const FString& InNodeName, bool bSetupUndoRedo, bool bPrintPythonCommand)
{
	if (!CheckGraph())
	{
		return nullptr;
	}
	if (!InScriptStruct)
	{
		ReportError(TEXT("InScriptStruct is null."));
		return nullptr;
	}
	if (!IsConcreteUnitStruct(InScriptStruct))
	{
		ReportError(FString::Printf(TEXT("Cannot add unit node: '%s' is not a concrete RigVM struct."), *InScriptStruct->GetPathName()));
		return nullptr;
	}
	if (const FProperty* Unsupported = FindUnsupportedMember(InScriptStruct))
	{
		// The registry never takes such a struct, so there is no function to make a node of.
		ReportError(FString::Printf(TEXT("Cannot add unit node: member '%s' of '%s' has type '%s', which RigVM does not support."),
			*Unsupported->GetName(), *InScriptStruct->GetName(), *Unsupported->GetCPPType()));
		return nullptr;
	}
	const TArray<FString> Methods = GetStructMethods(InScriptStruct);
	if (!Methods.Contains(InMethodName.ToString()))
	{
		ReportError(FString::Printf(TEXT("Cannot add unit node: '%s' has no method '%s'."), *InScriptStruct->GetName(), *InMethodName.ToString()));
		return nullptr;
	}
	if (URigVMUnitNode* Existing = FindNodeThatCanOnlyExistOnce(InScriptStruct))
	{
		// A graph holds one node of such a struct (an event): the one it has is what the caller gets.
		const FString DisplayName = InScriptStruct->GetMetaData(TEXT("DisplayName"));
		ReportError(FString::Printf(TEXT("Rig Graph can only contain one single %s node."), DisplayName.IsEmpty() ? *InScriptStruct->GetName() : *DisplayName));
		return Existing;
	}
	URigVMUnitNode* Node = NewObject<URigVMUnitNode>(Graph, MakeUniqueNodeName(InNodeName.IsEmpty() ? InScriptStruct->GetName() : InNodeName));
	SetupUnitNode(Node, InScriptStruct, InMethodName);
	AddNodeToGraph(Node, InPosition);
	return Node;
}

URigVMUnitNode* URigVMController::AddUnitNodeWithDefaults(UScriptStruct* InScriptStruct, const FString& InDefaults, const FName& InMethodName, const FVector2D& InPosition, const FString& InNodeName, bool bSetupUndoRedo, bool bPrintPythonCommand)
{
	if (!CheckGraph() || !InScriptStruct)
	{
		return AddUnitNode(InScriptStruct, InMethodName, InPosition, InNodeName, bSetupUndoRedo, bPrintPythonCommand);
	}
	const FStructProperty StructProperty(nullptr, NAME_None, 0, CPF_None, InScriptStruct);
	RigVMPinTypes::FScopedValue Defaults(&StructProperty);
	if (!InDefaults.IsEmpty() && !StructProperty.ImportText_Direct(*InDefaults, Defaults.Get(), nullptr, PPF_None))
	{
		ReportError(FString::Printf(TEXT("Cannot add unit node: the defaults '%s' do not read as '%s'."), *InDefaults, *InScriptStruct->GetName()));
		return nullptr;
	}
	URigVMUnitNode* Node = AddUnitNode(InScriptStruct, InMethodName, InPosition, InNodeName, bSetupUndoRedo, bPrintPythonCommand);
	if (!Node)
	{
		return nullptr;
	}
	for (URigVMPin* Pin : Node->GetPins())
	{
		const FProperty* Member = InScriptStruct->FindPropertyByName(Pin->GetFName());
		if (Member && !Pin->IsExecuteContext())
		{
			SetDefaultFromMemory(Pin, Member, Member->ContainerPtrToValuePtr<void>(Defaults.Get()));
		}
	}
	return Node;
}

URigVMUnitNode* URigVMController::FindNodeThatCanOnlyExistOnce(const UScriptStruct* InScriptStruct) const
{
	const FStructProperty Property(nullptr, NAME_None, 0, CPF_None, const_cast<UScriptStruct*>(InScriptStruct));
	const RigVMPinTypes::FScopedValue Instance(&Property);
	if (!static_cast<const FRigVMStruct*>(Instance.Get())->CanOnlyExistOnce())
	{
		return nullptr;
	}
	for (URigVMNode* Node : Graph->GetNodes())
	{
		URigVMUnitNode* UnitNode = dynamic_cast<URigVMUnitNode*>(Node);
		if (UnitNode && UnitNode->GetScriptStruct() == InScriptStruct)
		{
			return UnitNode;
		}
	}
	return nullptr;
}

URigVMUnitNode* URigVMController::AddUnitNodeFromStructPath(const FString& InScriptStructPath, const FName& InMethodName, const FVector2D& InPosition, const FString& InNodeName, bool bSetupUndoRedo, bool bPrintPythonCommand)
{
	if (!CheckGraph())
	{
		return nullptr;
	}
	const UScriptStruct* Struct = dynamic_cast<UScriptStruct*>(StaticFindObject(UScriptStruct::StaticClass(), nullptr, *InScriptStructPath));
	if (!Struct)
	{
		ReportError(FString::Printf(TEXT("Cannot find struct for path '%s'."), *InScriptStructPath));
		return nullptr;
	}
	return AddUnitNode(Struct, InMethodName, InPosition, InNodeName, bSetupUndoRedo, bPrintPythonCommand);
}

URigVMTemplateNode* URigVMController::AddTemplateNode(const FName& InNotation, const FVector2D& InPosition, const FString& InNodeName, bool bSetupUndoRedo, bool bPrintPythonCommand)
{
	if (!CheckGraph())
	{
		return nullptr;
	}
	const FString Notation = InNotation.ToString();
	if (Notation.StartsWith(FRigVMDispatchFactory::DispatchPrefix, ESearchCase::CaseSensitive))
	{
		const FRigVMDispatchFactory* Factory = FRigVMDispatchFactory::FindFactory(InNotation);
		if (!Factory || Factory->GetTemplateNotation() != InNotation)
		{
			ReportError(FString::Printf(TEXT("Template '%s' cannot be found."), *Notation));
			return nullptr;
		}
		URigVMDispatchNode* Node = NewObject<URigVMDispatchNode>(Graph, MakeUniqueNodeName(InNodeName.IsEmpty() ? Factory->GetFactoryName().ToString() : InNodeName));
		Node->TemplateNotation = Factory->GetTemplateNotation();
		Node->NodeTitle = Factory->GetNodeTitle();
		Node->NodeColor = ParseNodeColor(RigVMPinTypes::GetStructMetaDataHierarchical(Factory->GetScriptStruct(), TEXT("NodeColor")), FLinearColor::White);
		MakePinsForFactory(Node, *Factory, nullptr);
		AddNodeToGraph(Node, InPosition);
		return Node;
	}

	const TArray<TPair<UScriptStruct*, FName>> Permutations = FindTemplatePermutations(InNotation);
	if (Permutations.Num() == 0)
	{
		ReportError(FString::Printf(TEXT("Template '%s' cannot be found."), *Notation));
		return nullptr;
	}
	FString TemplateName;
	Notation.Split(TEXT("::"), &TemplateName, nullptr, ESearchCase::CaseSensitive);
	const FString NodeName = InNodeName.IsEmpty() ? TemplateName : InNodeName;
	if (Permutations.Num() == 1)
	{
		URigVMUnitNode* Node = NewObject<URigVMUnitNode>(Graph, MakeUniqueNodeName(NodeName));
		SetupUnitNode(Node, Permutations[0].Key, Permutations[0].Value);
		AddNodeToGraph(Node, InPosition);
		return Node;
	}

	// Several permutations: arguments whose type differs between them become wild cards.
	URigVMTemplateNode* Node = NewObject<URigVMTemplateNode>(Graph, MakeUniqueNodeName(NodeName));
	Node->TemplateNotation = InNotation;
	Node->NodeTitle = TemplateName;
	const UScriptStruct* First = Permutations[0].Key;
	Node->NodeColor = ParseNodeColor(RigVMPinTypes::GetStructMetaDataHierarchical(First, TEXT("NodeColor")), FLinearColor::White);
	const FStructProperty StructProperty(nullptr, NAME_None, 0, CPF_None, const_cast<UScriptStruct*>(First));
	RigVMPinTypes::FScopedValue Defaults(&StructProperty);
	for (const FProperty* Property : RigVMPinTypes::GetOrderedProperties(First))
	{
		FString PinType;
		UObject* TypeObject = nullptr;
		RigVMPinTypes::GetPropertyPinType(Property, PinType, TypeObject);
		const bool bExecute = RigVMPinTypes::IsExecuteType(TypeObject);
		if (!bExecute && !GetTemplateArguments(First).Contains(const_cast<FProperty*>(Property)))
		{
			continue;
		}
		bool bSameType = true;
		bool bAllArrays = RigVMPinTypes::IsArrayType(PinType);
		for (const TPair<UScriptStruct*, FName>& Permutation : Permutations)
		{
			const FProperty* Other = Permutation.Key->FindPropertyByName(Property->GetFName());
			FString OtherType;
			UObject* OtherObject = nullptr;
			if (Other)
			{
				RigVMPinTypes::GetPropertyPinType(Other, OtherType, OtherObject);
			}
			bSameType &= Other && OtherType == PinType && OtherObject == TypeObject;
			bAllArrays &= RigVMPinTypes::IsArrayType(OtherType);
		}
		URigVMPin* Pin = nullptr;
		if (bSameType || bExecute)
		{
			Pin = MakePin(Node, Property->GetFName(), DirectionFromMetaData(Property), PinType, TypeObject);
			if (!Pin->IsExecuteContext())
			{
				SetDefaultFromMemory(Pin, Property, Property->ContainerPtrToValuePtr<void>(Defaults.Get()));
			}
		}
		else
		{
			Pin = MakePin(Node, Property->GetFName(), DirectionFromMetaData(Property), bAllArrays ? RigVMPinTypes::WildCardArrayCPPType : RigVMPinTypes::WildCardCPPType, FRigVMUnknownType::StaticStruct());
		}
		ApplyMetaData(Pin, Property);
		Node->Pins.Add(Pin);
	}
	AddNodeToGraph(Node, InPosition);
	return Node;
}

URigVMNode* URigVMController::AddBranchNode(const FVector2D& InPosition, const FString& InNodeName, bool bSetupUndoRedo, bool bPrintPythonCommand)
{
	return AddUnitNodeFromStructPath(BranchStructPath, DefaultMethodName, InPosition, InNodeName, bSetupUndoRedo, bPrintPythonCommand);
}

URigVMNode* URigVMController::AddArrayNodeFromObjectPath(ERigVMOpCode InOpCode, const FString& InCPPType, const FString& InCPPTypeObjectPath, const FVector2D& InPosition, const FString& InNodeName, bool bSetupUndoRedo, bool bPrintPythonCommand, bool bIsPatching)
{
	if (!CheckGraph())
	{
		return nullptr;
	}
	const FRigVMDispatchFactory* Factory = FRigVMDispatchFactory::FindArrayFactory(InOpCode);
	if (!Factory)
	{
		ReportError(FString::Printf(TEXT("Cannot add array node: op code %d is not an array operation this editor knows."), (int32)InOpCode));
		return nullptr;
	}
	UObject* TypeObject = nullptr;
	if (!InCPPTypeObjectPath.IsEmpty() && InCPPTypeObjectPath != TEXT("None"))
	{
		TypeObject = StaticFindObject(nullptr, nullptr, *InCPPTypeObjectPath);
		if (!TypeObject)
		{
			ReportError(FString::Printf(TEXT("Cannot find type object for path '%s'."), *InCPPTypeObjectPath));
			return nullptr;
		}
	}
	FPinTypeRef ElementType{RigVMPinTypes::BaseTypeFromArrayType(InCPPType), TypeObject};
	if (RigVMPinTypes::IsArrayType(ElementType.CPPType) || RigVMPinTypes::IsExecuteType(TypeObject) || !RigVMPinTypes::IsValidPinType(ElementType.CPPType, TypeObject))
	{
		ReportError(FString::Printf(TEXT("Cannot add array node: '%s' is not a valid element type."), *InCPPType));
		return nullptr;
	}
	URigVMDispatchNode* Node = NewObject<URigVMDispatchNode>(Graph, MakeUniqueNodeName(InNodeName.IsEmpty() ? Factory->GetFactoryName().ToString() : InNodeName));
	Node->TemplateNotation = Factory->GetTemplateNotation();
	Node->NodeTitle = Factory->GetNodeTitle();
	MakePinsForFactory(Node, *Factory, &ElementType);
	AddNodeToGraph(Node, InPosition);
	return Node;
}

URigVMCommentNode* URigVMController::AddCommentNode(const FString& InCommentText, const FVector2D& InPosition, const FVector2D& InSize, const FLinearColor& InColor, const FString& InNodeName, bool bSetupUndoRedo, bool bPrintPythonCommand)
{
	if (!CheckGraph())
	{
		return nullptr;
	}
	URigVMCommentNode* Node = NewObject<URigVMCommentNode>(Graph, MakeUniqueNodeName(InNodeName.IsEmpty() ? FString(CommentNodeName) : InNodeName));
	Node->CommentText = InCommentText;
	Node->NodeTitle = InCommentText;
	Node->NodeColor = InColor;
	Node->Position = InPosition;
	Node->Size = InSize;
	Graph->Nodes.Add(Node);
	Graph->NoteNodeAdded(Node);
	Notify();
	return Node;
}

// ---- Pin values ----

bool URigVMController::SetPinDefaultValue(const FString& InPinPath, const FString& InDefaultValue, bool bResizeArrays, bool bSetupUndoRedo, bool bMergeUndoAction, bool bPrintPythonCommand, bool bSetValueOnLinkedPins)
{
	if (!CheckGraph())
	{
		return false;
	}
	URigVMPin* Pin = Graph->FindPin(InPinPath);
	if (!Pin)
	{
		ReportError(FString::Printf(TEXT("Cannot find pin '%s'."), *InPinPath));
		return false;
	}
	if (!CanImportDefault(Pin, InDefaultValue))
	{
		ReportError(FString::Printf(TEXT("The default value '%s' is not valid for pin '%s' (%s)."), *InDefaultValue, *InPinPath, *Pin->GetCPPType()));
		return false;
	}
	ImportDefault(Pin, InDefaultValue, bResizeArrays);
	UpdateNodeSize(Pin->GetNode());
	Notify();
	return true;
}

FString URigVMController::GetPinDefaultValue(const FString& InPinPath)
{
	if (!CheckGraph())
	{
		return FString();
	}
	const URigVMPin* Pin = Graph->FindPin(InPinPath);
	if (!Pin)
	{
		ReportError(FString::Printf(TEXT("Cannot find pin '%s'."), *InPinPath));
		return FString();
	}
	return Pin->GetDefaultValue();
}

bool URigVMController::ResetPinDefaultValue(const FString& InPinPath, bool bSetupUndoRedo, bool bPrintPythonCommand)
{
	if (!CheckGraph())
	{
		return false;
	}
	URigVMPin* Pin = Graph->FindPin(InPinPath);
	if (!Pin)
	{
		ReportError(FString::Printf(TEXT("Cannot find pin '%s'."), *InPinPath));
		return false;
	}
	if (Pin->IsExecuteContext() || Pin->IsWildCard())
	{
		return false;
	}
	const FString Origin = GetPinDefaultFromOrigin(Pin);
	if (!CanImportDefault(Pin, Origin))
	{
		return false;
	}
	ImportDefault(Pin, Origin, true);
	UpdateNodeSize(Pin->GetNode());
	Notify();
	return true;
}

// ---- Links ----

void URigVMController::RemoveLink(URigVMLink* Link)
{
	Graph->Links.Remove(TObjectPtr<URigVMLink>(Link));
	Graph->NoteLinkRemoved(Link);
	DiscardObject(Link);
}

void URigVMController::RemoveLinksOf(URigVMPin* Pin, bool bIncludeSubPins)
{
	if (!Graph || !Pin->GetNode() || !Graph->ContainsNode(Pin->GetNode()))
	{
		return;
	}
	for (URigVMLink* Link : Pin->GetLinks())
	{
		RemoveLink(Link);
	}
	if (bIncludeSubPins)
	{
		for (URigVMPin* SubPin : Pin->SubPins)
		{
			RemoveLinksOf(SubPin, true);
		}
	}
}

bool URigVMController::ArePinTypesCompatible(const URigVMPin* Source, const URigVMPin* Target) const
{
	if (Source->IsExecuteContext() || Target->IsExecuteContext())
	{
		return Source->IsExecuteContext() && Target->IsExecuteContext();
	}
	if (Source->CPPType == Target->CPPType && Source->GetCPPTypeObject() == Target->GetCPPTypeObject())
	{
		return true;
	}
	// Single and double precision floats convert into each other.
	const auto IsFloat = [](const FString& Type) { return Type == TEXT("float") || Type == TEXT("double"); };
	return IsFloat(Source->CPPType) && IsFloat(Target->CPPType);
}

bool URigVMController::IsNodeReachable(const URigVMNode* From, const URigVMNode* To) const
{
	return Graph->IsNodeReachable(From, To);
}

bool URigVMController::CanLink(URigVMPin* Source, URigVMPin* Target, FString& OutFailureReason) const
{
	if (Source->GetNode() == Target->GetNode())
	{
		OutFailureReason = TEXT("Source and target pins are on the same node.");
		return false;
	}
	if (Source->GetDirection() != ERigVMPinDirection::Output && Source->GetDirection() != ERigVMPinDirection::IO)
	{
		OutFailureReason = TEXT("Source pin is not an output.");
		return false;
	}
	if (Target->GetDirection() != ERigVMPinDirection::Input && Target->GetDirection() != ERigVMPinDirection::IO)
	{
		OutFailureReason = TEXT("Target pin is not an input.");
		return false;
	}
	if (Source->IsLinkedTo(Target))
	{
		OutFailureReason = TEXT("Pins are already linked.");
		return false;
	}
	if (Source->IsWildCard() && Target->IsWildCard())
	{
		OutFailureReason = TEXT("Both pins are unresolved wild cards.");
		return false;
	}
	if (!Source->IsWildCard() && !Target->IsWildCard() && !ArePinTypesCompatible(Source, Target))
	{
		OutFailureReason = FString::Printf(TEXT("Source and target pins have incompatible types (%s and %s)."), *Source->GetCPPType(), *Target->GetCPPType());
		return false;
	}
	if (IsNodeReachable(Target->GetNode(), Source->GetNode()))
	{
		OutFailureReason = TEXT("Cycles are not allowed.");
		return false;
	}
	return true;
}

bool URigVMController::AddLink(const FString& InOutputPinPath, const FString& InInputPinPath, bool bSetupUndoRedo, bool bPrintPythonCommand, ERigVMPinDirection InUserDirection, bool bCreateCastNode)
{
	if (!CheckGraph())
	{
		return false;
	}
	URigVMPin* Source = Graph->FindPin(InOutputPinPath);
	if (!Source)
	{
		ReportError(FString::Printf(TEXT("Cannot find pin '%s'."), *InOutputPinPath));
		return false;
	}
	URigVMPin* Target = Graph->FindPin(InInputPinPath);
	if (!Target)
	{
		ReportError(FString::Printf(TEXT("Cannot find pin '%s'."), *InInputPinPath));
		return false;
	}
	FString Reason;
	if (!CanLink(Source, Target, Reason))
	{
		ReportError(FString::Printf(TEXT("Cannot link '%s' to '%s': %s"), *InOutputPinPath, *InInputPinPath, *Reason));
		return false;
	}
	// A link to a wild card gives it the type of the other side.
	if (Target->IsWildCard() && !ResolvePinType(Target, Source->GetCPPType(), Source->GetCPPTypeObject()))
	{
		ReportError(FString::Printf(TEXT("Cannot link '%s' to '%s': the wild card cannot take type %s."), *InOutputPinPath, *InInputPinPath, *Source->GetCPPType()));
		return false;
	}
	if (Source->IsWildCard() && !ResolvePinType(Source, Target->GetCPPType(), Target->GetCPPTypeObject()))
	{
		ReportError(FString::Printf(TEXT("Cannot link '%s' to '%s': the wild card cannot take type %s."), *InOutputPinPath, *InInputPinPath, *Target->GetCPPType()));
		return false;
	}
	// An input takes one link: links into it, into its sub-pins or into pins above it go.
	RemoveLinksOf(Target, true);
	for (URigVMPin* Parent = Target->GetParentPin(); Parent; Parent = Parent->GetParentPin())
	{
		for (URigVMLink* Link : Parent->GetSourceLinks(false))
		{
			RemoveLink(Link);
		}
	}
	if (Source->IsExecuteContext())
	{
		for (URigVMLink* Link : Source->GetTargetLinks(false))
		{
			RemoveLink(Link);
		}
	}
	URigVMLink* Link = NewObject<URigVMLink>(Graph, MakeUniqueObjectName(Graph, URigVMLink::StaticClass(), FName(LinkObjectName)));
	Link->SourcePinPath = Source->GetPinPath();
	Link->TargetPinPath = Target->GetPinPath();
	Graph->Links.Add(Link);
	Graph->NoteLinkAdded(Link);
	Notify();
	return true;
}

bool URigVMController::BreakLink(const FString& InOutputPinPath, const FString& InInputPinPath, bool bSetupUndoRedo, bool bPrintPythonCommand)
{
	if (!CheckGraph())
	{
		return false;
	}
	const URigVMPin* Source = Graph->FindPin(InOutputPinPath);
	const URigVMPin* Target = Graph->FindPin(InInputPinPath);
	if (!Source || !Target)
	{
		ReportError(FString::Printf(TEXT("Cannot find pin '%s'."), *(Source ? InInputPinPath : InOutputPinPath)));
		return false;
	}
	for (URigVMLink* Link : Source->GetTargetLinks(false))
	{
		if (Link->GetTargetPin() == Target)
		{
			RemoveLink(Link);
			Notify();
			return true;
		}
	}
	ReportError(FString::Printf(TEXT("Cannot break link: '%s' is not linked to '%s'."), *InOutputPinPath, *InInputPinPath));
	return false;
}

bool URigVMController::BreakAllLinks(const FString& InPinPath, bool bAsInput, bool bSetupUndoRedo, bool bPrintPythonCommand)
{
	if (!CheckGraph())
	{
		return false;
	}
	const URigVMPin* Pin = Graph->FindPin(InPinPath);
	if (!Pin)
	{
		ReportError(FString::Printf(TEXT("Cannot find pin '%s'."), *InPinPath));
		return false;
	}
	const TArray<URigVMLink*> Links = bAsInput ? Pin->GetSourceLinks(false) : Pin->GetTargetLinks(false);
	for (URigVMLink* Link : Links)
	{
		RemoveLink(Link);
	}
	if (Links.Num() > 0)
	{
		Notify();
	}
	return Links.Num() > 0;
}

// ---- Arrays ----

FString URigVMController::AddArrayPin(const FString& InArrayPinPath, const FString& InDefaultValue, bool bSetupUndoRedo, bool bPrintPythonCommand)
{
	return InsertArrayPin(InArrayPinPath, INDEX_NONE, InDefaultValue, bSetupUndoRedo, bPrintPythonCommand);
}

FString URigVMController::AddAggregatePin(const FString& InNodeName, const FString& InPinName, const FString& InDefaultValue, bool bSetupUndoRedo, bool bPrintPythonCommand)
{
	URigVMUnitNode* Node = dynamic_cast<URigVMUnitNode*>(FindNodeChecked(FName(*InNodeName)));
	const UScriptStruct* Struct = Node ? Node->GetScriptStruct() : nullptr;
	if (!Struct)
	{
		ReportError(FString::Printf(TEXT("Cannot add an aggregate pin: '%s' is not a unit node."), *InNodeName));
		return FString();
	}
	int32 AggregateInputs = 0;
	int32 AggregateOutputs = 0;
	for (const FProperty* Property : RigVMPinTypes::GetOrderedProperties(Struct))
	{
		if (Property->HasMetaData(TEXT("Aggregate")))
		{
			const ERigVMPinDirection Direction = DirectionFromMetaData(Property);
			AggregateInputs += Direction == ERigVMPinDirection::Input ? 1 : 0;
			AggregateOutputs += Direction == ERigVMPinDirection::Output ? 1 : 0;
		}
	}
	const ERigVMPinDirection Side = AggregateInputs >= 2 ? ERigVMPinDirection::Input : ERigVMPinDirection::Output;
	if ((Side == ERigVMPinDirection::Input ? AggregateInputs : AggregateOutputs) < 2)
	{
		ReportError(FString::Printf(TEXT("Cannot add an aggregate pin: '%s' has no aggregate pins."), *InNodeName));
		return FString();
	}
	// The last pin of the aggregate side: a struct member marked Aggregate, or a pin added before.
	int32 LastIndex = INDEX_NONE;
	for (int32 Index = 0; Index < Node->Pins.Num(); ++Index)
	{
		const URigVMPin* Pin = Node->Pins[Index];
		const FProperty* Member = Struct->FindPropertyByName(Pin->GetFName());
		if (Pin->GetDirection() == Side && (!Member || Member->HasMetaData(TEXT("Aggregate"))))
		{
			LastIndex = Index;
		}
	}
	if (LastIndex == INDEX_NONE)
	{
		ReportError(FString::Printf(TEXT("Cannot add an aggregate pin: '%s' has no aggregate pins."), *InNodeName));
		return FString();
	}
	const URigVMPin* LastPin = Node->Pins[LastIndex];
	FString PinName = InPinName;
	if (PinName.IsEmpty())
	{
		const FString LastName = LastPin->GetName();
		if (LastName.Len() == 1 && LastName[0] >= TEXT('A') && LastName[0] < TEXT('Z'))
		{
			PinName = FString::Chr(static_cast<TCHAR>(LastName[0] + 1));
		}
	}
	if (PinName.IsEmpty() || PinName.Contains(TEXT(".")) || Node->FindPin(PinName))
	{
		ReportError(FString::Printf(TEXT("Cannot add aggregate pin '%s' to node '%s'."), *PinName, *InNodeName));
		return FString();
	}
	URigVMPin* Pin = MakePin(Node, FName(*PinName), Side, LastPin->GetCPPType(), LastPin->GetCPPTypeObject());
	if (!InDefaultValue.IsEmpty())
	{
		if (!CanImportDefault(Pin, InDefaultValue))
		{
			ReportError(FString::Printf(TEXT("The default value '%s' is not valid for pin '%s' (%s)."), *InDefaultValue, *PinName, *Pin->GetCPPType()));
			DiscardObject(Pin);
			return FString();
		}
		ImportDefault(Pin, InDefaultValue, true);
	}
	Node->Pins.Insert(Pin, LastIndex + 1);
	UpdateNodeSize(Node);
	Notify();
	return Pin->GetPinPath();
}

FString URigVMController::InsertArrayPin(const FString& InArrayPinPath, int32 InIndex, const FString& InDefaultValue, bool bSetupUndoRedo, bool bPrintPythonCommand)
{
	if (!CheckGraph())
	{
		return FString();
	}
	URigVMPin* ArrayPin = Graph->FindPin(InArrayPinPath);
	if (!ArrayPin)
	{
		ReportError(FString::Printf(TEXT("Cannot find pin '%s'."), *InArrayPinPath));
		return FString();
	}
	if (!ArrayPin->IsArray() || ArrayPin->IsWildCard())
	{
		ReportError(FString::Printf(TEXT("Pin '%s' is not an array."), *InArrayPinPath));
		return FString();
	}
	const int32 Count = ArrayPin->SubPins.Num();
	const int32 Index = InIndex == INDEX_NONE ? Count : InIndex;
	if (Index < 0 || Index > Count)
	{
		ReportError(FString::Printf(TEXT("Cannot insert into '%s' at index %d: the array has %d elements."), *InArrayPinPath, InIndex, Count));
		return FString();
	}
	// Validate the element value against a scratch element before changing anything.
	if (!InDefaultValue.IsEmpty())
	{
		const FString ElementType = RigVMPinTypes::BaseTypeFromArrayType(ArrayPin->CPPType);
		const TUniquePtr<FProperty> ElementProperty = RigVMPinTypes::MakeValueProperty(ElementType, ArrayPin->CPPTypeObject);
		RigVMPinTypes::FScopedValue Scratch(ElementProperty.Get());
		if (!IsStringPinType(ElementType) && !RigVMPinTypes::ImportWhole(ElementProperty.Get(), InDefaultValue, Scratch.Get()))
		{
			ReportError(FString::Printf(TEXT("The default value '%s' is not valid for an element of '%s'."), *InDefaultValue, *InArrayPinPath));
			return FString();
		}
	}
	// Elements after the index move up one: shift their values (and links) by growing at the end.
	TArray<FString> Values;
	for (const URigVMPin* Element : ArrayPin->SubPins)
	{
		Values.Add(Element->GetDefaultValue());
	}
	TArray<TPair<FString, FString>> MovedLinks;
	for (int32 Moved = Count - 1; Moved >= Index; --Moved)
	{
		const URigVMPin* Element = ArrayPin->SubPins[Moved];
		const FString OldPrefix = Element->GetPinPath();
		const FString NewPrefix = ArrayPin->GetPinPath() + URigVMPin::PathSeparator + FString::FromInt(Moved + 1);
		for (URigVMLink* Link : Graph->Links)
		{
			for (FString* Path : {&Link->SourcePinPath, &Link->TargetPinPath})
			{
				if (*Path == OldPrefix || Path->StartsWith(OldPrefix + URigVMPin::PathSeparator, ESearchCase::CaseSensitive))
				{
					*Path = NewPrefix + Path->Mid(OldPrefix.Len());
				}
			}
		}
	}
	Graph->ResetIndices();
	ResizeArrayPin(ArrayPin, Count + 1);
	Values.Insert(FString(), Index);
	for (int32 Element = 0; Element <= Count; ++Element)
	{
		if (Element == Index)
		{
			const FString Origin = GetPinDefaultFromOrigin(ArrayPin->SubPins[Element]);
			if (CanImportDefault(ArrayPin->SubPins[Element], Origin))
			{
				ImportDefault(ArrayPin->SubPins[Element], Origin, true);
			}
			if (!InDefaultValue.IsEmpty())
			{
				ImportDefault(ArrayPin->SubPins[Element], InDefaultValue, true);
			}
		}
		else if (Element > Index)
		{
			ImportDefault(ArrayPin->SubPins[Element], Values[Element], true);
		}
	}
	UpdateNodeSize(ArrayPin->GetNode());
	Notify();
	return ArrayPin->SubPins[Index]->GetPinPath();
}

bool URigVMController::RemoveArrayPin(const FString& InArrayElementPinPath, bool bSetupUndoRedo, bool bPrintPythonCommand)
{
	if (!CheckGraph())
	{
		return false;
	}
	URigVMPin* Element = Graph->FindPin(InArrayElementPinPath);
	if (!Element || !Element->IsArrayElement())
	{
		ReportError(FString::Printf(TEXT("Cannot find array element pin '%s'."), *InArrayElementPinPath));
		return false;
	}
	URigVMPin* ArrayPin = Element->GetParentPin();
	const int32 Index = Element->GetPinIndex();
	TArray<FString> Values;
	for (const URigVMPin* Other : ArrayPin->SubPins)
	{
		Values.Add(Other->GetDefaultValue());
	}
	Values.RemoveAt(Index);
	RemoveLinksOf(Element, true);
	// Elements after the removed one move down one, with their links.
	for (int32 Moved = Index + 1; Moved < ArrayPin->SubPins.Num(); ++Moved)
	{
		const FString OldPrefix = ArrayPin->SubPins[Moved]->GetPinPath();
		const FString NewPrefix = ArrayPin->GetPinPath() + URigVMPin::PathSeparator + FString::FromInt(Moved - 1);
		for (URigVMLink* Link : Graph->Links)
		{
			for (FString* Path : {&Link->SourcePinPath, &Link->TargetPinPath})
			{
				if (*Path == OldPrefix || Path->StartsWith(OldPrefix + URigVMPin::PathSeparator, ESearchCase::CaseSensitive))
				{
					*Path = NewPrefix + Path->Mid(OldPrefix.Len());
				}
			}
		}
	}
	Graph->ResetIndices();
	// Drop the last element object without touching the moved links, then re-apply the values.
	URigVMPin* Last = ArrayPin->SubPins.Pop();
	DiscardObject(Last);
	for (int32 Other = 0; Other < ArrayPin->SubPins.Num(); ++Other)
	{
		ImportDefault(ArrayPin->SubPins[Other], Values[Other], true);
	}
	UpdateNodeSize(ArrayPin->GetNode());
	Notify();
	return true;
}

bool URigVMController::ClearArrayPin(const FString& InArrayPinPath, bool bSetupUndoRedo, bool bPrintPythonCommand)
{
	return SetArrayPinSize(InArrayPinPath, 0, FString(), bSetupUndoRedo, bPrintPythonCommand);
}

bool URigVMController::SetArrayPinSize(const FString& InArrayPinPath, int32 InSize, const FString& InDefaultValue, bool bSetupUndoRedo, bool bPrintPythonCommand)
{
	if (!CheckGraph())
	{
		return false;
	}
	URigVMPin* ArrayPin = Graph->FindPin(InArrayPinPath);
	if (!ArrayPin)
	{
		ReportError(FString::Printf(TEXT("Cannot find pin '%s'."), *InArrayPinPath));
		return false;
	}
	if (!ArrayPin->IsArray() || ArrayPin->IsWildCard())
	{
		ReportError(FString::Printf(TEXT("Pin '%s' is not an array."), *InArrayPinPath));
		return false;
	}
	if (InSize < 0)
	{
		ReportError(FString::Printf(TEXT("Cannot set the size of '%s' to %d."), *InArrayPinPath, InSize));
		return false;
	}
	while (ArrayPin->SubPins.Num() < InSize)
	{
		if (AddArrayPin(InArrayPinPath, InDefaultValue, bSetupUndoRedo, false).IsEmpty())
		{
			return false;
		}
	}
	ResizeArrayPin(ArrayPin, InSize);
	UpdateNodeSize(ArrayPin->GetNode());
	Notify();
	return true;
}

// ---- Wild cards ----

bool URigVMController::ResolvePinType(URigVMPin* Pin, const FString& InCPPType, UObject* TypeObject)
{
	URigVMPin* RootPin = Pin->GetRootPin();
	if (RootPin != Pin || !Pin->IsWildCard())
	{
		return false;
	}
	if (RigVMPinTypes::IsExecuteType(TypeObject) || RigVMPinTypes::IsWildCardType(InCPPType) || !RigVMPinTypes::IsValidPinType(InCPPType, TypeObject))
	{
		return false;
	}
	if (Pin->IsArray() && !RigVMPinTypes::IsArrayType(InCPPType))
	{
		return false;
	}
	URigVMNode* Node = Pin->GetNode();
	if (URigVMDispatchNode* DispatchNode = dynamic_cast<URigVMDispatchNode*>(Node))
	{
		const FRigVMDispatchFactory* Factory = DispatchNode->GetFactory();
		const FRigVMTemplateArgumentInfo* Argument = Factory ? FindFactoryArgument(*Factory, Pin->GetFName()) : nullptr;
		if (!Argument)
		{
			return false;
		}
		const FString TypeVariable = Argument->TypeKind == ERigVMTemplateArgumentTypeKind::ArrayOfTypeVariable ? RigVMPinTypes::BaseTypeFromArrayType(InCPPType) : InCPPType;
		if (RigVMPinTypes::IsArrayType(TypeVariable))
		{
			for (const FRigVMTemplateArgumentInfo& Other : Factory->GetArgumentInfos())
			{
				// Arrays of arrays are not pin types.
				if (Other.TypeKind == ERigVMTemplateArgumentTypeKind::ArrayOfTypeVariable)
				{
					return false;
				}
			}
		}
		for (URigVMPin* Other : DispatchNode->Pins)
		{
			const FRigVMTemplateArgumentInfo* OtherArgument = FindFactoryArgument(*Factory, Other->GetFName());
			if (!OtherArgument || !Other->IsWildCard())
			{
				continue;
			}
			if (OtherArgument->TypeKind == ERigVMTemplateArgumentTypeKind::TypeVariable)
			{
				SetPinType(Other, TypeVariable, TypeObject);
			}
			else if (OtherArgument->TypeKind == ERigVMTemplateArgumentTypeKind::ArrayOfTypeVariable)
			{
				SetPinType(Other, RigVMPinTypes::ArrayTypeFromBaseType(TypeVariable), TypeObject);
			}
		}
		UpdateNodeSize(Node);
		return true;
	}
	URigVMTemplateNode* TemplateNode = dynamic_cast<URigVMTemplateNode*>(Node);
	if (!TemplateNode || dynamic_cast<URigVMUnitNode*>(Node))
	{
		return false;
	}
	// The permutations that fit every typed pin and the new type.
	TArray<TPair<UScriptStruct*, FName>> Remaining;
	for (const TPair<UScriptStruct*, FName>& Permutation : FindTemplatePermutations(TemplateNode->TemplateNotation))
	{
		bool bFits = true;
		for (const URigVMPin* Other : TemplateNode->Pins)
		{
			const FProperty* Property = Permutation.Key->FindPropertyByName(Other->GetFName());
			if (!Property)
			{
				bFits = false;
				break;
			}
			FString PropertyType;
			UObject* PropertyObject = nullptr;
			RigVMPinTypes::GetPropertyPinType(Property, PropertyType, PropertyObject);
			if (Other == Pin)
			{
				bFits &= PropertyType == InCPPType && PropertyObject == TypeObject;
			}
			else if (!Other->IsWildCard() && !Other->IsExecuteContext())
			{
				bFits &= PropertyType == Other->CPPType && PropertyObject == Other->GetCPPTypeObject();
			}
		}
		if (bFits)
		{
			Remaining.Add(Permutation);
		}
	}
	if (Remaining.Num() == 0)
	{
		return false;
	}
	const UScriptStruct* First = Remaining[0].Key;
	const FStructProperty StructProperty(nullptr, NAME_None, 0, CPF_None, const_cast<UScriptStruct*>(First));
	RigVMPinTypes::FScopedValue Defaults(&StructProperty);
	for (URigVMPin* Other : TemplateNode->Pins)
	{
		if (!Other->IsWildCard())
		{
			continue;
		}
		const FProperty* Property = First->FindPropertyByName(Other->GetFName());
		FString PropertyType;
		UObject* PropertyObject = nullptr;
		RigVMPinTypes::GetPropertyPinType(Property, PropertyType, PropertyObject);
		bool bAgreed = true;
		for (const TPair<UScriptStruct*, FName>& Permutation : Remaining)
		{
			FString OtherType;
			UObject* OtherObject = nullptr;
			RigVMPinTypes::GetPropertyPinType(Permutation.Key->FindPropertyByName(Other->GetFName()), OtherType, OtherObject);
			bAgreed &= OtherType == PropertyType && OtherObject == PropertyObject;
		}
		if (bAgreed)
		{
			SetPinType(Other, PropertyType, PropertyObject);
			SetDefaultFromMemory(Other, Property, Property->ContainerPtrToValuePtr<void>(Defaults.Get()));
		}
	}
	if (Remaining.Num() == 1)
	{
		TemplateNode->ResolvedScriptStruct = Remaining[0].Key;
		TemplateNode->ResolvedMethodName = Remaining[0].Value;
		TemplateNode->ResolvedStructPath = Remaining[0].Key->GetPathName();
	}
	UpdateNodeSize(Node);
	return true;
}

bool URigVMController::ResolveWildCardPin(const FString& InPinPath, const FString& InCPPType, const FName& InCPPTypeObjectPath, bool bSetupUndoRedo, bool bPrintPythonCommand)
{
	if (!CheckGraph())
	{
		return false;
	}
	URigVMPin* Pin = Graph->FindPin(InPinPath);
	if (!Pin)
	{
		ReportError(FString::Printf(TEXT("Cannot find pin '%s'."), *InPinPath));
		return false;
	}
	if (!Pin->IsWildCard())
	{
		ReportError(FString::Printf(TEXT("Pin '%s' is not a wild card."), *InPinPath));
		return false;
	}
	UObject* TypeObject = nullptr;
	if (!InCPPTypeObjectPath.IsNone() && !InCPPTypeObjectPath.ToString().IsEmpty())
	{
		TypeObject = StaticFindObject(nullptr, nullptr, *InCPPTypeObjectPath.ToString());
		if (!TypeObject)
		{
			ReportError(FString::Printf(TEXT("Cannot find type object for path '%s'."), *InCPPTypeObjectPath.ToString()));
			return false;
		}
	}
	if (!ResolvePinType(Pin, InCPPType, TypeObject))
	{
		ReportError(FString::Printf(TEXT("Cannot resolve pin '%s' to type '%s'."), *InPinPath, *InCPPType));
		return false;
	}
	Notify();
	return true;
}

// ---- Node placement and look ----

void URigVMController::UpdateNodeSize(URigVMNode* Node) const
{
	if (!Node || dynamic_cast<URigVMCommentNode*>(Node))
	{
		return;
	}
	int32 Rows = 0;
	int32 WidestText = Node->GetNodeTitle().Len();
	TFunction<void(const URigVMPin*, int32)> CountPin = [&](const URigVMPin* Pin, int32 Depth) {
		++Rows;
		WidestText = FMath::Max(WidestText, Pin->GetDisplayName().ToString().Len() + Depth * IndentPerSubPinLevel);
		if (Pin->IsExpanded())
		{
			for (const URigVMPin* SubPin : Pin->SubPins)
			{
				CountPin(SubPin, Depth + 1);
			}
		}
	};
	for (const URigVMPin* Pin : Node->Pins)
	{
		if (Pin->GetDirection() != ERigVMPinDirection::Hidden)
		{
			CountPin(Pin, 0);
		}
	}
	Node->Size = FVector2D(FMath::Max(MinNodeWidth, NodeWidthPadding + NodeWidthPerCharacter * WidestText), NodeHeaderHeight + PinRowHeight * Rows);
}

bool URigVMController::SetPinExpansion(const FString& InPinPath, bool bIsExpanded, bool bSetupUndoRedo, bool bPrintPythonCommand)
{
	if (!CheckGraph())
	{
		return false;
	}
	URigVMPin* Pin = Graph->FindPin(InPinPath);
	if (!Pin)
	{
		ReportError(FString::Printf(TEXT("Cannot find pin '%s'."), *InPinPath));
		return false;
	}
	if (Pin->SubPins.Num() == 0 || Pin->bIsExpanded == bIsExpanded)
	{
		return false;
	}
	Pin->bIsExpanded = bIsExpanded;
	UpdateNodeSize(Pin->GetNode());
	Notify();
	return true;
}

bool URigVMController::SetNodePosition(URigVMNode* InNode, const FVector2D& InPosition, bool bSetupUndoRedo, bool bMergeUndoAction, bool bPrintPythonCommand)
{
	if (!CheckNodeOfGraph(InNode, TEXT("set the position")))
	{
		return false;
	}
	InNode->Position = InPosition;
	Notify();
	return true;
}

bool URigVMController::SetNodePositionByName(const FName& InNodeName, const FVector2D& InPosition, bool bSetupUndoRedo, bool bMergeUndoAction, bool bPrintPythonCommand)
{
	URigVMNode* Node = FindNodeChecked(InNodeName);
	if (!Node)
	{
		return false;
	}
	return SetNodePosition(Node, InPosition, bSetupUndoRedo, bMergeUndoAction, bPrintPythonCommand);
}

bool URigVMController::SetNodeSize(URigVMNode* InNode, const FVector2D& InSize, bool bSetupUndoRedo, bool bMergeUndoAction, bool bPrintPythonCommand)
{
	if (!CheckNodeOfGraph(InNode, TEXT("set the size")))
	{
		return false;
	}
	InNode->Size = InSize;
	Notify();
	return true;
}

bool URigVMController::SetNodeSizeByName(const FName& InNodeName, const FVector2D& InSize, bool bSetupUndoRedo, bool bMergeUndoAction, bool bPrintPythonCommand)
{
	URigVMNode* Node = FindNodeChecked(InNodeName);
	if (!Node)
	{
		return false;
	}
	return SetNodeSize(Node, InSize, bSetupUndoRedo, bMergeUndoAction, bPrintPythonCommand);
}

bool URigVMController::SetNodeColor(URigVMNode* InNode, const FLinearColor& InColor, bool bSetupUndoRedo, bool bMergeUndoAction, bool bPrintPythonCommand)
{
	if (!CheckNodeOfGraph(InNode, TEXT("set the colour")))
	{
		return false;
	}
	InNode->NodeColor = InColor;
	Notify();
	return true;
}

// ---- Removing and renaming ----

bool URigVMController::RemoveNode(URigVMNode* InNode, bool bSetupUndoRedo, bool bPrintPythonCommand)
{
	if (!CheckNodeOfGraph(InNode, TEXT("remove the node")))
	{
		return false;
	}
	for (URigVMLink* Link : InNode->GetLinks())
	{
		RemoveLink(Link);
	}
	Graph->Nodes.Remove(TObjectPtr<URigVMNode>(InNode));
	Graph->NoteNodeRemoved(InNode);
	DiscardObject(InNode);
	Notify();
	return true;
}

bool URigVMController::RemoveNodeByName(const FName& InNodeName, bool bSetupUndoRedo, bool bPrintPythonCommand)
{
	URigVMNode* Node = FindNodeChecked(InNodeName);
	if (!Node)
	{
		return false;
	}
	return RemoveNode(Node, bSetupUndoRedo, bPrintPythonCommand);
}

void URigVMController::RenamePinPathsInLinks(const FString& OldNodeName, const FString& NewNodeName)
{
	const FString OldPrefix = OldNodeName + URigVMPin::PathSeparator;
	for (URigVMLink* Link : Graph->Links)
	{
		for (FString* Path : {&Link->SourcePinPath, &Link->TargetPinPath})
		{
			if (Path->StartsWith(OldPrefix, ESearchCase::CaseSensitive))
			{
				*Path = NewNodeName + URigVMPin::PathSeparator + Path->Mid(OldPrefix.Len());
			}
		}
	}
}

bool URigVMController::RenameNode(URigVMNode* InNode, const FName& InNewName, bool bSetupUndoRedo, bool bPrintPythonCommand)
{
	if (!CheckNodeOfGraph(InNode, TEXT("rename the node")))
	{
		return false;
	}
	const FString NewName = InNewName.ToString();
	if (!IsValidNodeName(NewName))
	{
		ReportError(FString::Printf(TEXT("Cannot rename node '%s': '%s' is not a valid node name."), *InNode->GetName(), *NewName));
		return false;
	}
	if (InNode->GetFName() == InNewName)
	{
		return InNode->GetName() == NewName ? false : InNode->Rename(*NewName, nullptr, REN_None);
	}
	const URigVMNode* Existing = Graph->FindNodeByName(InNewName);
	if (Existing || StaticFindObjectFast(nullptr, Graph, InNewName))
	{
		ReportError(FString::Printf(TEXT("Cannot rename node '%s': the name '%s' is taken."), *InNode->GetName(), *NewName));
		return false;
	}
	const FString OldName = InNode->GetName();
	if (!InNode->Rename(*NewName, nullptr, REN_None))
	{
		return false;
	}
	RenamePinPathsInLinks(OldName, NewName);
	Graph->ResetIndices();
	Notify();
	return true;
}

// ---- Undo brackets ----

bool URigVMController::OpenUndoBracket(const FString& InTitle)
{
	++UndoBracketDepth;
	return true;
}

bool URigVMController::CloseUndoBracket()
{
	if (UndoBracketDepth == 0)
	{
		return false;
	}
	--UndoBracketDepth;
	return true;
}

bool URigVMController::CancelUndoBracket()
{
	return CloseUndoBracket();
}
