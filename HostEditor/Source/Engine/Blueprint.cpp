// Blueprints and the classes they generate: the generated class is made again whenever a blueprint
// loads or compiles; the class defaults that differ from the parent class's travel in the blueprint.

#include "Engine/Blueprint.h"

#include "Components/ActorComponent.h"
#include "EdGraph/EdGraph.h"
#include "EdGraph/EdGraphNode.h"
#include "Engine/BlueprintGeneratedClass.h"
#include "Engine/SCS_Node.h"
#include "Engine/SimpleConstructionScript.h"
#include "Misc/FeedbackContext.h"
#include "UObject/Package.h"
#include "UObject/UnrealType.h"
#include "UObject/WeakObjectPtr.h"
#include "UObject/UObjectGlobals.h"

DEFINE_LOG_CATEGORY_STATIC(LogBlueprint, Log, All);

namespace
{
	/** Collects the lines written to it. */
	class FLineCollector : public FOutputDevice
	{
	public:
		virtual void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) override
		{
			(void)Verbosity;
			(void)Category;
			Lines.Add(FString(V));
		}
		TArray<FString> Lines;
	};

	const TCHAR* const GeneratedClassTag = TEXT("GeneratedClass");
	const TCHAR* const ClassDefaultTag = TEXT("ClassDefault");
	/** Stands for the class default object itself in a class default line. */
	const TCHAR* const SelfPath = TEXT(".");

	/** The object at RelativePath below Root ("." is Root itself; "A.B" nests). */
	UObject* FindRelative(UObject* Root, const FString& RelativePath)
	{
		if (RelativePath == SelfPath)
		{
			return Root;
		}
		TArray<FString> Parts;
		RelativePath.ParseIntoArray(Parts, TEXT("."), true);
		UObject* Current = Root;
		for (const FString& Part : Parts)
		{
			Current = Current ? StaticFindObjectFast(nullptr, Current, FName(*Part)) : nullptr;
		}
		return Current;
	}

	FString RelativePathOf(const UObject* Object, const UObject* Root)
	{
		if (Object == Root)
		{
			return SelfPath;
		}
		FString Path = Object->GetName();
		for (const UObject* Outer = Object->GetOuter(); Outer && Outer != Root; Outer = Outer->GetOuter())
		{
			Path = Outer->GetName() + TEXT(".") + Path;
		}
		return Path;
	}

	bool IsSavedProperty(const FProperty* Property)
	{
		return !Property->HasAnyPropertyFlags(EPropertyFlags(CPF_Transient | CPF_Parm));
	}

	/** A reference from an object to one of its own inner objects (a default subobject): its constructor makes it again. */
	bool IsOwnSubobjectReference(const FProperty* Property, const UObject* Object, int32 ArrayIndex)
	{
		const FObjectPropertyBase* ObjectProperty = CastField<FObjectPropertyBase>(Property);
		if (!ObjectProperty)
		{
			return false;
		}
		const UObject* Value = ObjectProperty->GetObjectPropertyValue(ObjectProperty->ContainerPtrToValuePtr<void>(Object, ArrayIndex));
		for (const UObject* Outer = Value ? Value->GetOuter() : nullptr; Outer; Outer = Outer->GetOuter())
		{
			if (Outer == Object)
			{
				return true;
			}
		}
		return false;
	}

	/** Writes the saved properties of Object that differ from those of Defaults, as class default lines. */
	void ExportDifferences(FOutputDevice& Out, const FString& Pad, UObject* Object, UObject* Defaults, const FString& RelativePath)
	{
		for (TFieldIterator<FProperty> It(Object->GetClass()); It; ++It)
		{
			if (!IsSavedProperty(*It))
			{
				continue;
			}
			for (int32 ArrayIndex = 0; ArrayIndex < It->ArrayDim; ++ArrayIndex)
			{
				if (IsOwnSubobjectReference(*It, Object, ArrayIndex))
				{
					continue;
				}
				const void* Value = It->ContainerPtrToValuePtr<void>(Object, ArrayIndex);
				if (Defaults && Defaults->GetClass()->IsChildOf(It->GetOwnerStruct()) && It->Identical(Value, It->ContainerPtrToValuePtr<void>(Defaults, ArrayIndex)))
				{
					continue;
				}
				FString Text;
				It->ExportText_InContainer(ArrayIndex, Text, Object, nullptr, Object, PPF_Delimited);
				int32 Break = INDEX_NONE;
				if (Text.FindChar('\n', Break) || Text.FindChar('\r', Break))
				{
					UE_LOG(LogBlueprint, Warning, TEXT("%s: the class default %s.%s holds a line break and is not saved"), *Object->GetPathName(), *RelativePath, *It->GetName());
					continue;
				}
				Out.Log(FString::Printf(TEXT("%s%s %s %s(%d)=%s"), *Pad, ClassDefaultTag, *RelativePath, *It->GetName(), ArrayIndex, *Text));
			}
		}
	}

	enum class EDefaultResult
	{
		Applied,
		Failed,
		/** It names a blueprint's class that is read but not set up yet (the two packages refer to each other). */
		WaitsForClass,
	};

	/** The generated class a value names that its blueprint has not set up yet, or null. */
	bool NamesClassNotSetUp(const FString& Value)
	{
		FString Path = Value.TrimStartAndEnd();
		int32 Quote = INDEX_NONE;
		if (Path.EndsWith(TEXT("'")) && Path.FindChar('\'', Quote) && Quote < Path.Len() - 1)
		{
			Path = Path.Mid(Quote + 1, Path.Len() - Quote - 2);
		}
		const UBlueprintGeneratedClass* Class = Cast<UBlueprintGeneratedClass>(StaticFindObject(UClass::StaticClass(), nullptr, *Path));
		return Class && !Class->GetSuperClass();
	}

	/** Applies one "ClassDefault <path> <Property>(<index>)=<value>" line to the class default object. */
	EDefaultResult ApplyClassDefault(UObject* DefaultObject, const FString& Line, const FString& Where)
	{
		FString Rest = Line.Mid(FCString::Strlen(ClassDefaultTag)).TrimStart();
		FString RelativePath;
		FString Assignment;
		FString Key;
		FString Value;
		int32 Open = INDEX_NONE;
		if (!Rest.Split(TEXT(" "), &RelativePath, &Assignment) || !Assignment.Split(TEXT("="), &Key, &Value) || !Key.EndsWith(TEXT(")")) || !Key.FindChar('(', Open))
		{
			UE_LOG(LogBlueprint, Warning, TEXT("%s: cannot read the class default '%s'"), *Where, *Line);
			return EDefaultResult::Failed;
		}
		const FString PropertyName = Key.Left(Open);
		const int32 ArrayIndex = FCString::Atoi(*Key.Mid(Open + 1, Key.Len() - Open - 2));
		UObject* Target = FindRelative(DefaultObject, RelativePath);
		FProperty* Property = Target ? Target->GetClass()->FindPropertyByName(FName(*PropertyName)) : nullptr;
		if (!Property || ArrayIndex < 0 || ArrayIndex >= Property->ArrayDim)
		{
			UE_LOG(LogBlueprint, Warning, TEXT("%s: the class default %s %s is not a property of the class; it is ignored"), *Where, *RelativePath, *Key);
			return EDefaultResult::Failed;
		}
		if (CastField<FObjectPropertyBase>(Property) && NamesClassNotSetUp(Value))
		{
			return EDefaultResult::WaitsForClass;
		}
		if (!Property->ImportText_Direct(*Value, Property->ContainerPtrToValuePtr<void>(Target, ArrayIndex), Target, PPF_Delimited))
		{
			UE_LOG(LogBlueprint, Warning, TEXT("%s: cannot read the class default %s %s from '%s'"), *Where, *RelativePath, *Key, *Value);
			return EDefaultResult::Failed;
		}
		return EDefaultResult::Applied;
	}

	/** Class defaults that wait for another blueprint's class, applied once that class is set up. */
	struct FWaitingDefault
	{
		TWeakObjectPtr<UObject> DefaultObject;
		FString Line;
		FString Where;
	};

	TArray<FWaitingDefault>& WaitingDefaults()
	{
		static TArray<FWaitingDefault> Waiting;
		return Waiting;
	}

	void ApplyOrWait(UObject* DefaultObject, const FString& Line, const FString& Where)
	{
		if (ApplyClassDefault(DefaultObject, Line, Where) == EDefaultResult::WaitsForClass)
		{
			WaitingDefaults().Add({DefaultObject, Line, Where});
		}
	}

	/** Tries the waiting class defaults again; those still waiting stay. */
	void ApplyWaitingDefaults()
	{
		TArray<FWaitingDefault> Waiting = MoveTemp(WaitingDefaults());
		WaitingDefaults().Empty();
		for (const FWaitingDefault& Entry : Waiting)
		{
			if (UObject* DefaultObject = Entry.DefaultObject.Get())
			{
				ApplyOrWait(DefaultObject, Entry.Line, Entry.Where);
			}
		}
	}
}

UBlueprint* UBlueprint::GetBlueprintFromClass(const UClass* InClass)
{
	const UBlueprintGeneratedClass* Generated = Cast<UBlueprintGeneratedClass>(InClass);
	return Generated ? Cast<UBlueprint>(Generated->ClassGeneratedBy) : nullptr;
}

UClass* UBlueprint::GetBlueprintClass() const
{
	return UBlueprintGeneratedClass::StaticClass();
}

void UBlueprint::GetAllGraphs(TArray<UEdGraph*>& Graphs) const
{
	TArray<UEdGraph*> Pending;
	for (UEdGraph* Graph : UbergraphPages)
	{
		Pending.Add(Graph);
	}
	for (UEdGraph* Graph : FunctionGraphs)
	{
		Pending.Add(Graph);
	}
	while (!Pending.IsEmpty())
	{
		UEdGraph* Graph = Pending[0];
		Pending.RemoveAt(0);
		if (!Graph || Graphs.Contains(Graph))
		{
			continue;
		}
		Graphs.Add(Graph);
		for (UEdGraph* Sub : Graph->SubGraphs)
		{
			Pending.Add(Sub);
		}
	}
}

void UBlueprint::ExportCustomProperties(FOutputDevice& Out, uint32 Indent)
{
	UClass* Class = GeneratedClass;
	if (!Class)
	{
		return;
	}
	const FString Pad = FString::ChrN((int32)Indent, TEXT(' '));
	Out.Log(Pad + GeneratedClassTag);
	UObject* DefaultObject = Class->GetDefaultObject();
	UClass* Super = Class->GetSuperClass();
	UObject* SuperDefaults = Super ? Super->GetDefaultObject() : nullptr;
	if (!DefaultObject)
	{
		return;
	}
	ExportDifferences(Out, Pad, DefaultObject, SuperDefaults, SelfPath);
	TArray<UObject*> Inner;
	GetObjectsWithOuter(DefaultObject, Inner, true);
	for (UObject* Object : Inner)
	{
		const FString RelativePath = RelativePathOf(Object, DefaultObject);
		UObject* InnerDefaults = SuperDefaults ? FindRelative(SuperDefaults, RelativePath) : nullptr;
		ExportDifferences(Out, Pad, Object, InnerDefaults && InnerDefaults->GetClass() == Object->GetClass() ? InnerDefaults : nullptr, RelativePath);
	}
}

void UBlueprint::ImportCustomProperties(const TCHAR* SourceText, FFeedbackContext* Warn)
{
	(void)Warn;
	TArray<FString> Lines;
	FString(SourceText ? SourceText : TEXT("")).ParseIntoArrayLines(Lines, true);
	for (const FString& Raw : Lines)
	{
		const FString Line = Raw.TrimStartAndEnd();
		if (Line == GeneratedClassTag)
		{
			bHadGeneratedClass = true;
		}
		else if (Line.StartsWith(FString(ClassDefaultTag) + TEXT(" ")))
		{
			PendingClassDefaults.Add(Line);
		}
		else if (Warn && !Line.IsEmpty())
		{
			Warn->Log(ELogVerbosity::Warning, FString::Printf(TEXT("unknown blueprint line '%s'"), *Line));
		}
	}
}

namespace BlueprintClassGeneration
{
	/** Makes the blueprint's class again, keeping the defaults of the class it replaces. */
	ENGINE_API UClass* RegenerateClass(UBlueprint* Blueprint, const TArray<FString>* LoadedDefaults);
}

void UBlueprint::PostLoad()
{
	Super::PostLoad();
	if (bHadGeneratedClass && ParentClass)
	{
		BlueprintClassGeneration::RegenerateClass(this, &PendingClassDefaults);
		Status = BS_UpToDate;
	}
	else if (bHadGeneratedClass)
	{
		UE_LOG(LogBlueprint, Warning, TEXT("%s has no parent class; its class is not made"), *GetPathName());
		Status = BS_Error;
	}
	PendingClassDefaults.Empty();
}

UObject* UBlueprintGeneratedClass::SetUpFromBlueprint(UObject* Blueprint, UClass* Parent)
{
	const bool bParentChanged = GetSuperClass() != Parent;
	SetSuperStruct(Parent);
	ClassConstructor = Parent->ClassConstructor;
	ClassFlags = EClassFlags(Parent->ClassFlags & ~(CLASS_Abstract | CLASS_Native | CLASS_Intrinsic));
	SetPrefixCPP(Parent->GetPrefixCPP());
	SetPropertiesSize(Parent->GetPropertiesSize(), Parent->GetMinAlignment());
	ClassGeneratedBy = Blueprint;
	bLinkedToPackage = true;
	if (bParentChanged && ClassDefaultObject)
	{
		// The old defaults are of the old parent's type: they go, and new ones are made.
		TArray<UObject*> Inner;
		GetObjectsWithOuter(ClassDefaultObject, Inner, true);
		for (UObject* Object : Inner)
		{
			Object->MarkAsGarbage();
		}
		ClassDefaultObject->MarkAsGarbage();
		ClassDefaultObject = nullptr;
	}
	return GetDefaultObject();
}

UClass* BlueprintClassGeneration::RegenerateClass(UBlueprint* Blueprint, const TArray<FString>* LoadedDefaults)
{
	UClass* Parent = Blueprint->ParentClass;
	if (!Parent || Parent->HasAnyClassFlags(CLASS_Interface) || !Parent->ClassConstructor)
	{
		return nullptr;
	}
	UPackage* Package = Blueprint->GetPackage();
	const FName ClassName(*(Blueprint->GetName() + TEXT("_C")));
	UClass* ClassType = Blueprint->GetBlueprintClass();

	// The class object is kept across compiles and loads, so every reference to it stays good.
	UBlueprintGeneratedClass* Class = Cast<UBlueprintGeneratedClass>(StaticFindObjectFast(nullptr, Package, ClassName));
	if (Class && !Class->IsA(ClassType))
	{
		Class->MarkAsGarbage();
		Class = nullptr;
	}
	TArray<FString> Defaults;
	bool bKeepDefaults = false;
	if (Class && Class->GetDefaultObject(false))
	{
		bKeepDefaults = Class->GetSuperClass() == Parent;
		if (!bKeepDefaults)
		{
			FLineCollector Text;
			UClass* const Saved = Blueprint->GeneratedClass;
			Blueprint->GeneratedClass = Class;
			Blueprint->ExportCustomProperties(Text, 0);
			Blueprint->GeneratedClass = Saved;
			for (const FString& Line : Text.Lines)
			{
				if (Line.TrimStart().StartsWith(ClassDefaultTag))
				{
					Defaults.Add(Line.TrimStart());
				}
			}
		}
	}
	else if (LoadedDefaults)
	{
		Defaults = *LoadedDefaults;
	}
	if (!Class)
	{
		Class = static_cast<UBlueprintGeneratedClass*>(NewObject<UObject>(Package, ClassType, ClassName, EObjectFlags(RF_Public | RF_Transactional)));
	}
	UObject* DefaultObject = Class->SetUpFromBlueprint(Blueprint, Parent);
	Blueprint->GeneratedClass = Class;
	if (!bKeepDefaults)
	{
		const FString Where = Blueprint->GetPathName();
		for (const FString& Line : Defaults)
		{
			ApplyOrWait(DefaultObject, Line, Where);
		}
	}
	// This class may be what other blueprints' defaults were waiting for.
	ApplyWaitingDefaults();
	return Class;
}

void USCS_Node::AddChildNode(USCS_Node* InNode, bool bAddToAllNodes)
{
	if (!InNode || ChildNodes.Contains(InNode))
	{
		return;
	}
	ChildNodes.Add(InNode);
	USimpleConstructionScript* Script = Cast<USimpleConstructionScript>(GetOuter());
	if (bAddToAllNodes && Script && !Script->AllNodes.Contains(InNode))
	{
		Script->AllNodes.Add(InNode);
	}
}

USCS_Node* USimpleConstructionScript::CreateNode(UClass* NewComponentClass, FName NewComponentVariableName)
{
	if (!NewComponentClass)
	{
		return nullptr;
	}
	const FName VariableName = NewComponentVariableName.IsNone() ? MakeUniqueObjectName(this, NewComponentClass, FName(*NewComponentClass->GetName())) : NewComponentVariableName;
	USCS_Node* Node = NewObject<USCS_Node>(this, MakeUniqueObjectName(this, USCS_Node::StaticClass(), FName(TEXT("SCS_Node"))), RF_Transactional);
	Node->InternalVariableName = VariableName;
	// The engine names a construction script's templates <Variable>_GEN_VARIABLE.
	Node->ComponentTemplate = Cast<UActorComponent>(NewObject<UObject>(Node, NewComponentClass, FName(*(VariableName.ToString() + TEXT("_GEN_VARIABLE"))), EObjectFlags(RF_ArchetypeObject | RF_Public | RF_Transactional)));
	return Node;
}

void USimpleConstructionScript::AddNode(USCS_Node* Node)
{
	if (Node && !RootNodes.Contains(Node))
	{
		RootNodes.Add(Node);
		if (!AllNodes.Contains(Node))
		{
			AllNodes.Add(Node);
		}
	}
}

TArray<USCS_Node*> USimpleConstructionScript::GetAllNodes() const
{
	TArray<USCS_Node*> Result;
	TArray<USCS_Node*> Pending;
	for (USCS_Node* Root : RootNodes)
	{
		Pending.Add(Root);
	}
	while (!Pending.IsEmpty())
	{
		USCS_Node* Node = Pending[0];
		Pending.RemoveAt(0);
		if (!Node || Result.Contains(Node))
		{
			continue;
		}
		Result.Add(Node);
		for (USCS_Node* Child : Node->GetChildNodes())
		{
			Pending.Add(Child);
		}
	}
	return Result;
}

UBlueprint* USimpleConstructionScript::GetBlueprint() const
{
	return Cast<UBlueprint>(GetOuter());
}
