// The object system: the list of live objects, lookup by outer and name, construction and paths.

#include <unordered_map>
#include <vector>

#include "UObject/Class.h"
#include "UObject/Object.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"
#include "UObject/UnrealType.h"
#include "UObjectSystemInternal.h"

ITransaction* GUndo = nullptr;

namespace
{
	struct FOuterNameKey
	{
		const UObject* Outer;
		uint32 NameIndex;
		bool operator==(const FOuterNameKey& Other) const { return Outer == Other.Outer && NameIndex == Other.NameIndex; }
	};

	struct FOuterNameKeyHash
	{
		SIZE_T operator()(const FOuterNameKey& Key) const { return std::hash<const void*>()(Key.Outer) ^ ((SIZE_T)Key.NameIndex * 0x9E3779B97F4A7C15ull); }
	};

	/** Every object ever made, and the live ones by (outer, name). */
	struct FObjectRegistry
	{
		std::vector<UObject*> Objects;
		std::unordered_multimap<FOuterNameKey, UObject*, FOuterNameKeyHash> ByOuterAndName;
		/** Per outer and base name, a number below which every MakeUniqueObjectName candidate is
		 * taken; an outer's entries go when an object under it leaves the index (its name is free). */
		std::unordered_map<const UObject*, TMap<FString, int32>> UniqueNameHints;

		static FObjectRegistry& Get()
		{
			static FObjectRegistry Registry;
			return Registry;
		}
	};

	/** The records of the objects under construction, innermost last. */
	std::vector<FObjectInitializer>& ConstructionStack()
	{
		static thread_local std::vector<FObjectInitializer> Stack;
		return Stack;
	}

	/** Set while a constructor runs and its base UObject has not yet taken its record. */
	thread_local bool GPendingConstruction = false;
}

void FUObjectSystem::Register(UObject* Object)
{
	FObjectRegistry& Registry = FObjectRegistry::Get();
	if (Object->InternalIndex == INDEX_NONE)
	{
		Object->InternalIndex = (int32)Registry.Objects.size();
		Registry.Objects.push_back(Object);
	}
	Registry.ByOuterAndName.emplace(FOuterNameKey{Object->OuterPrivate, Object->NamePrivate.GetComparisonIndex()}, Object);
}

void FUObjectSystem::Unhash(UObject* Object)
{
	FObjectRegistry& Registry = FObjectRegistry::Get();
	auto Range = Registry.ByOuterAndName.equal_range(FOuterNameKey{Object->OuterPrivate, Object->NamePrivate.GetComparisonIndex()});
	for (auto It = Range.first; It != Range.second; ++It)
	{
		if (It->second == Object)
		{
			Registry.ByOuterAndName.erase(It);
			Registry.UniqueNameHints.erase(Object->OuterPrivate);
			return;
		}
	}
}

void FUObjectSystem::SetIdentity(UObject* Object, UClass* Class, FName Name, UObject* Outer, EObjectFlags Flags)
{
	Object->ClassPrivate = Class;
	Object->NamePrivate = Name;
	Object->OuterPrivate = Outer;
	Object->ObjectFlags = Flags;
}

void FUObjectSystem::SetClass(UObject* Object, UClass* Class)
{
	Object->ClassPrivate = Class;
}

void FUObjectSystem::SetOuterAndRegister(UObject* Object, UObject* Outer)
{
	Object->OuterPrivate = Outer;
	Register(Object);
}

int32& FUObjectSystem::UniqueNameHint(const UObject* Outer, const FString& Base)
{
	return FObjectRegistry::Get().UniqueNameHints[Outer].FindOrAdd(Base, 0);
}

UObject* FUObjectSystem::FindFast(const UObject* Outer, FName Name, const UClass* Class, bool bExactClass)
{
	FObjectRegistry& Registry = FObjectRegistry::Get();
	auto Range = Registry.ByOuterAndName.equal_range(FOuterNameKey{Outer, Name.GetComparisonIndex()});
	UObject* Found = nullptr;
	for (auto It = Range.first; It != Range.second; ++It)
	{
		UObject* Candidate = It->second;
		if (Candidate->IsGarbage())
		{
			continue;
		}
		if (Class && (bExactClass ? Candidate->GetClass() != Class : !Candidate->IsA(Class)))
		{
			continue;
		}
		// Several matches can only differ in class; the oldest object wins, as lookups are stable.
		if (!Found || Candidate->GetUniqueID() < Found->GetUniqueID())
		{
			Found = Candidate;
		}
	}
	return Found;
}

void FUObjectSystem::ForEachObject(const TFunction<void(UObject*)>& Visitor)
{
	const std::vector<UObject*> Snapshot = FObjectRegistry::Get().Objects;
	for (UObject* Object : Snapshot)
	{
		if (!Object->IsGarbage())
		{
			Visitor(Object);
		}
	}
}

void FUObjectSystem::PurgeGarbage()
{
	FObjectRegistry& Registry = FObjectRegistry::Get();
	std::vector<UObject*> Kept;
	Kept.reserve(Registry.Objects.size());
	for (UObject* Object : Registry.Objects)
	{
		if (Object->IsGarbage())
		{
			// The memory stays: the stand-in does not trace references, and a stale pointer must not
			// reach freed memory. The object only leaves the list.
			Object->SetFlags(RF_FinishDestroyed);
			Object->InternalIndex = INDEX_NONE;
			continue;
		}
		Object->InternalIndex = (int32)Kept.size();
		Kept.push_back(Object);
	}
	Registry.Objects.swap(Kept);
}

UObject* FUObjectSystem::TakePendingIdentity(UObject* Object)
{
	if (!GPendingConstruction || ConstructionStack().empty())
	{
		return nullptr;
	}
	GPendingConstruction = false;
	FObjectInitializer& Initializer = ConstructionStack().back();
	Initializer = FObjectInitializer(Object, Initializer.GetClass(), Initializer.GetName(), Initializer.GetOuter(), Initializer.GetFlags());
	SetIdentity(Object, Initializer.GetClass(), Initializer.GetName(), Initializer.GetOuter(), Initializer.GetFlags());
	return Object;
}

FObjectInitializer& FObjectInitializer::Get()
{
	// Outside a construction there is no object being made; callers get an empty initializer.
	static FObjectInitializer Empty;
	if (ConstructionStack().empty())
	{
		Empty = FObjectInitializer();
		return Empty;
	}
	return ConstructionStack().back();
}

UObject::UObject()
{
	FUObjectSystem::TakePendingIdentity(this);
}

UObject::UObject(const FObjectInitializer& ObjectInitializer)
{
	(void)ObjectInitializer;
	FUObjectSystem::TakePendingIdentity(this);
}

UObject::~UObject() = default;

UObject* StaticConstructObject_Internal(const FStaticConstructObjectParameters& Params)
{
	UClass* Class = const_cast<UClass*>(Params.Class);
	check(Class);
	UObject* Outer = Params.Outer;
	checkf(Outer || Class->IsChildOf(UPackage::StaticClass()), TEXT("Only packages may have no outer"));
	if (Class->HasAnyClassFlags(CLASS_Abstract) || !Class->ClassConstructor)
	{
		UE_LOG(LogCore, Error, TEXT("Class %s is abstract and cannot be instantiated"), *Class->GetName());
		return nullptr;
	}

	FName Name = Params.Name;
	if (Name.IsNone())
	{
		Name = MakeUniqueObjectName(Outer, Class);
	}
	else if (UObject* Existing = FUObjectSystem::FindFast(Outer, Name, nullptr, false))
	{
		if (!Existing->GetClass()->IsChildOf(Class) && !Class->IsChildOf(Existing->GetClass()))
		{
			UE_LOG(LogCore, Fatal, TEXT("Cannot replace existing object of a different class: %s"), *Existing->GetFullName());
		}
		// Making an object where one of that name lives replaces it, as the engine reuses the slot.
		Existing->MarkAsGarbage();
	}

	ConstructionStack().push_back(FObjectInitializer(nullptr, Class, Name, Outer, Params.SetFlags));
	GPendingConstruction = true;
	UObject* Object = Class->ClassConstructor();
	GPendingConstruction = false;
	ConstructionStack().pop_back();
	check(Object);
	FUObjectSystem::Register(Object);
	Object->PostInitProperties();
	return Object;
}

UObject* UObject::CreateDefaultSubobject(FName SubobjectFName, UClass* ReturnType, UClass* ClassToCreateByDefault, bool bIsRequired, bool bIsTransient)
{
	(void)bIsRequired;
	UClass* const Class = ClassToCreateByDefault ? ClassToCreateByDefault : ReturnType;
	checkf(Class && (!ReturnType || Class->IsChildOf(ReturnType)), TEXT("CreateDefaultSubobject %s: the class does not derive from the return type"), *SubobjectFName.ToString());
	EObjectFlags Flags = EObjectFlags(RF_DefaultSubObject | (GetFlags() & (RF_Public | RF_Transactional)));
	if (IsTemplate())
	{
		Flags |= EObjectFlags(RF_ArchetypeObject | RF_Public);
	}
	if (bIsTransient)
	{
		Flags |= RF_Transient;
	}
	FStaticConstructObjectParameters Params(Class);
	Params.Outer = this;
	Params.Name = SubobjectFName;
	Params.SetFlags = Flags;
	return StaticConstructObject_Internal(Params);
}

void UObject::PostEditChange()
{
	FPropertyChangedEvent Event(nullptr);
	PostEditChangeProperty(Event);
}

void CollectGarbage(EObjectFlags KeepFlags, bool bPerformFullPurge)
{
	(void)KeepFlags;
	(void)bPerformFullPurge;
	FUObjectSystem::PurgeGarbage();
}

FName MakeUniqueObjectName(UObject* Outer, const UClass* Class, FName BaseName)
{
	const FString Base = BaseName.IsNone() ? Class->GetName() : BaseName.ToString();
	int32& Hint = FUObjectSystem::UniqueNameHint(Outer, Base);
	for (int32 Number = Hint;; ++Number)
	{
		const FName Candidate(*FString::Printf(TEXT("%s_%d"), *Base, Number));
		if (!FUObjectSystem::FindFast(Outer, Candidate, nullptr, false))
		{
			Hint = Number;
			return Candidate;
		}
	}
}

UPackage* GetTransientPackage()
{
	static UPackage* TransientPackage = nullptr;
	if (!TransientPackage)
	{
		TransientPackage = NewObject<UPackage>(nullptr, FName(TEXT("/Engine/Transient")), RF_Transient);
	}
	return TransientPackage;
}

UPackage* FindPackage(UObject* InOuter, const TCHAR* PackageName)
{
	return static_cast<UPackage*>(FUObjectSystem::FindFast(InOuter, FName(PackageName), UPackage::StaticClass(), false));
}

UPackage* CreatePackage(const TCHAR* PackageName)
{
	if (UPackage* Existing = FindPackage(nullptr, PackageName))
	{
		return Existing;
	}
	UPackage* Package = NewObject<UPackage>(nullptr, FName(PackageName), RF_Public);
	Package->SetPackageFlags(PKG_NewlyCreated);
	return Package;
}

UObject* StaticFindObjectFast(UClass* Class, UObject* InOuter, FName InName, bool ExactClass)
{
	return FUObjectSystem::FindFast(InOuter, InName, Class, ExactClass);
}

UObject* StaticFindObject(UClass* Class, UObject* InOuter, const TCHAR* Name, bool ExactClass)
{
	FString Path(Name);
	if (Path.IsEmpty())
	{
		return nullptr;
	}
	// "Class'/Path.Object'" export form: keep the quoted path.
	int32 Quote = INDEX_NONE;
	if (Path.EndsWith(TEXT("'")) && Path.FindChar('\'', Quote) && Quote < Path.Len() - 1)
	{
		Path = Path.Mid(Quote + 1, Path.Len() - Quote - 2);
	}
	UObject* Outer = InOuter;
	if (!Outer)
	{
		int32 Dot = INDEX_NONE;
		if (!Path.FindChar('.', Dot))
		{
			return FUObjectSystem::FindFast(nullptr, FName(*Path), Class, ExactClass);
		}
		Outer = FUObjectSystem::FindFast(nullptr, FName(*Path.Left(Dot)), UPackage::StaticClass(), false);
		if (!Outer)
		{
			return nullptr;
		}
		Path = Path.Mid(Dot + 1);
	}
	// Walk "A.B:C" below the outer: '.' and ':' both step into the next inner object.
	TArray<FString> Parts;
	Path.Replace(SUBOBJECT_DELIMITER, TEXT("."), ESearchCase::CaseSensitive).ParseIntoArray(Parts, TEXT("."), true);
	for (int32 Index = 0; Index < Parts.Num(); ++Index)
	{
		const bool bLast = Index == Parts.Num() - 1;
		Outer = FUObjectSystem::FindFast(Outer, FName(*Parts[Index]), bLast ? Class : nullptr, bLast && ExactClass);
		if (!Outer)
		{
			return nullptr;
		}
	}
	return Outer == InOuter ? nullptr : Outer;
}

void GetObjectsOfClass(const UClass* Class, TArray<UObject*>& Results, bool bIncludeDerivedClasses)
{
	FUObjectSystem::ForEachObject([&](UObject* Object)
	{
		if (bIncludeDerivedClasses ? Object->IsA(Class) : Object->GetClass() == Class)
		{
			Results.Add(Object);
		}
	});
}

void GetObjectsWithOuter(const UObject* Outer, TArray<UObject*>& Results, bool bIncludeNestedObjects)
{
	FUObjectSystem::ForEachObject([&](UObject* Object)
	{
		for (UObject* Current = Object->GetOuter(); Current; Current = bIncludeNestedObjects ? Current->GetOuter() : nullptr)
		{
			if (Current == Outer)
			{
				Results.Add(Object);
				return;
			}
		}
	});
}

UPackage* UObject::GetPackage() const
{
	const UObject* Top = this;
	while (Top->GetOuter())
	{
		Top = Top->GetOuter();
	}
	return Top->IsA(UPackage::StaticClass()) ? static_cast<UPackage*>(const_cast<UObject*>(Top)) : nullptr;
}

FString UObject::GetPathName(const UObject* StopOuter) const
{
	if (this == StopOuter)
	{
		return TEXT("None");
	}
	FString Result;
	if (OuterPrivate && OuterPrivate != StopOuter)
	{
		Result = OuterPrivate->GetPathName(StopOuter);
		// Objects directly in a package follow a '.', sub-objects of other objects a ':'.
		const bool bOuterIsPackage = OuterPrivate->IsA(UPackage::StaticClass());
		const bool bOuterOuterIsPackage = OuterPrivate->GetOuter() && OuterPrivate->GetOuter()->IsA(UPackage::StaticClass());
		Result += (!bOuterIsPackage && bOuterOuterIsPackage) ? SUBOBJECT_DELIMITER : TEXT(".");
	}
	Result += GetName();
	return Result;
}

FString UObject::GetFullName(const UObject* StopOuter) const
{
	return (ClassPrivate ? ClassPrivate->GetName() : FString(TEXT("None"))) + TEXT(" ") + GetPathName(StopOuter);
}

bool UObject::IsA(const UClass* SomeBase) const
{
	return ClassPrivate && SomeBase && ClassPrivate->IsChildOf(SomeBase);
}

UObject* UObject::GetTypedOuter(UClass* Target) const
{
	for (UObject* Current = OuterPrivate; Current; Current = Current->GetOuter())
	{
		if (Current->IsA(Target))
		{
			return Current;
		}
	}
	return nullptr;
}

bool UObject::Modify(bool bAlwaysMarkDirty)
{
	if (GUndo && HasAnyFlags(RF_Transactional))
	{
		if (bAlwaysMarkDirty)
		{
			MarkPackageDirty();
		}
		GUndo->SaveObject(this);
		return true;
	}
	if (bAlwaysMarkDirty)
	{
		MarkPackageDirty();
	}
	return false;
}

bool UObject::MarkPackageDirty() const
{
	// Transient objects are never saved, so their package is not dirtied by them.
	if (HasAnyFlags(RF_Transient))
	{
		return false;
	}
	UPackage* Package = GetPackage();
	if (!Package || Package->HasAnyFlags(RF_Transient))
	{
		return false;
	}
	Package->SetDirtyFlag(true);
	return true;
}

bool UObject::Rename(const TCHAR* NewName, UObject* NewOuter, ERenameFlags Flags)
{
	UObject* const TargetOuter = NewOuter ? NewOuter : OuterPrivate;
	const FName TargetName = NewName ? FName(NewName) : MakeUniqueObjectName(TargetOuter, ClassPrivate);
	UObject* const Existing = FUObjectSystem::FindFast(TargetOuter, TargetName, nullptr, false);
	if (Existing && Existing != this)
	{
		return false;
	}
	if (Flags & REN_Test)
	{
		return true;
	}
	if (!(Flags & REN_DoNotDirty))
	{
		MarkPackageDirty();
	}
	UObject* const OldOuter = OuterPrivate;
	const FName OldName = NamePrivate;
	FUObjectSystem::Unhash(this);
	NamePrivate = TargetName;
	OuterPrivate = TargetOuter;
	FUObjectSystem::Register(this);
	if (!(Flags & REN_DoNotDirty))
	{
		MarkPackageDirty();
	}
	PostRename(OldOuter, OldName);
	return true;
}

UFunction* UObject::FindFunction(FName InName) const
{
	return ClassPrivate ? ClassPrivate->FindFunctionByName(InName) : nullptr;
}

UFunction* UObject::FindFunctionChecked(FName InName) const
{
	UFunction* Function = FindFunction(InName);
	check(Function);
	return Function;
}

void UObject::ProcessEvent(UFunction* Function, void* Parms)
{
	check(Function);
	Function->Invoke(Function->HasAnyFunctionFlags(FUNC_Static) ? nullptr : this, Parms);
}

bool UObject::IsAsset() const
{
	return !HasAnyFlags(EObjectFlags(RF_Transient | RF_ClassDefaultObject | RF_ArchetypeObject)) && OuterPrivate && OuterPrivate->IsA(UPackage::StaticClass()) && GetPackage() != GetTransientPackage();
}

bool UObject::IsTemplate(EObjectFlags TemplateTypes) const
{
	for (const UObject* Current = this; Current; Current = Current->GetOuter())
	{
		if (Current->HasAnyFlags(TemplateTypes))
		{
			return true;
		}
	}
	return false;
}

bool UObject::IsValidLowLevel() const
{
	return ClassPrivate != nullptr && InternalIndex != INDEX_NONE;
}

void UObject::MarkAsGarbage()
{
	if (!bGarbage)
	{
		BeginDestroy();
		bGarbage = true;
		FUObjectSystem::Unhash(this);
	}
}

bool IsValid(const UObject* Test)
{
	return Test && !Test->IsGarbage();
}

UPackage::UPackage() = default;

UPackage::UPackage(const FObjectInitializer& ObjectInitializer)
	: UObject(ObjectInitializer)
{
}
