// Creating and finding objects.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Class.h"
#include "UObject/Object.h"
#include "UObject/Package.h"

/** What an object's constructor is given: the object being made and how. */
class COREUOBJECT_API FObjectInitializer
{
public:
	FObjectInitializer() = default;
	FObjectInitializer(UObject* InObj, UClass* InClass, FName InName, UObject* InOuter, EObjectFlags InFlags)
		: Obj(InObj)
		, Class(InClass)
		, Name(InName)
		, Outer(InOuter)
		, Flags(InFlags)
	{
	}

	/** Returns the initializer of the object under construction. */
	static FObjectInitializer& Get();

	UObject* GetObj() const { return Obj; }
	UClass* GetClass() const { return Class; }
	FName GetName() const { return Name; }
	UObject* GetOuter() const { return Outer; }
	EObjectFlags GetFlags() const { return Flags; }

private:
	UObject* Obj = nullptr;
	UClass* Class = nullptr;
	FName Name;
	UObject* Outer = nullptr;
	EObjectFlags Flags = RF_NoFlags;
};

/** Parameters of StaticConstructObject_Internal. */
struct FStaticConstructObjectParameters
{
	explicit FStaticConstructObjectParameters(const UClass* InClass)
		: Class(InClass)
	{
	}

	const UClass* Class;
	UObject* Outer = nullptr;
	FName Name;
	EObjectFlags SetFlags = RF_NoFlags;
};

/** Returns the package that holds objects which are never saved. */
COREUOBJECT_API UPackage* GetTransientPackage();

/** Creates an object; an object of the same name and class in the same outer is replaced. */
COREUOBJECT_API UObject* StaticConstructObject_Internal(const FStaticConstructObjectParameters& Params);

class FObjectInstancingGraph;

/**
 * Creates an object of Class in Outer. This host copies no template object and keeps no instancing
 * graph or external package: passing one stops the program rather than being ignored.
 */
template <typename T>
T* NewObject(UObject* Outer, const UClass* Class, FName Name = NAME_None, EObjectFlags Flags = RF_NoFlags, UObject* Template = nullptr, bool bCopyTransientsFromClassDefaults = false, FObjectInstancingGraph* InInstanceGraph = nullptr, UPackage* InExternalPackage = nullptr)
{
	check(Class && Class->IsChildOf(T::StaticClass()));
	check(Template == nullptr && InInstanceGraph == nullptr && InExternalPackage == nullptr);
	FStaticConstructObjectParameters Params(Class);
	Params.Outer = Outer;
	Params.Name = Name;
	Params.SetFlags = Flags;
	return static_cast<T*>(StaticConstructObject_Internal(Params));
}

template <typename T>
T* NewObject(UObject* Outer = (UObject*)GetTransientPackage())
{
	return NewObject<T>(Outer, T::StaticClass());
}

template <typename T>
T* NewObject(UObject* Outer, FName Name, EObjectFlags Flags = RF_NoFlags, UObject* Template = nullptr, bool bCopyTransientsFromClassDefaults = false, FObjectInstancingGraph* InInstanceGraph = nullptr)
{
	return NewObject<T>(Outer, T::StaticClass(), Name, Flags, Template, bCopyTransientsFromClassDefaults, InInstanceGraph);
}

/** Returns the package of that name, creating it when missing. */
COREUOBJECT_API UPackage* CreatePackage(const TCHAR* PackageName);
COREUOBJECT_API UPackage* FindPackage(UObject* InOuter, const TCHAR* PackageName);

/**
 * Finds an object by name inside InOuter, or by its path ("/Game/Folder/Asset.Asset",
 * "/Script/Module.Type") when InOuter is null. ExactClass refuses subclasses of Class.
 */
COREUOBJECT_API UObject* StaticFindObject(UClass* Class, UObject* InOuter, const TCHAR* Name, bool ExactClass = false);
COREUOBJECT_API UObject* StaticFindObjectFast(UClass* Class, UObject* InOuter, FName InName, bool ExactClass = false);

template <typename T>
T* FindObject(UObject* Outer, const TCHAR* Name, bool ExactClass = false)
{
	return static_cast<T*>(StaticFindObject(T::StaticClass(), Outer, Name, ExactClass));
}

template <typename T>
T* FindObjectChecked(UObject* Outer, const TCHAR* Name, bool ExactClass = false)
{
	T* Result = FindObject<T>(Outer, Name, ExactClass);
	check(Result);
	return Result;
}

/** Finds a reflected type by its path ("/Script/Module.Name"). */
template <typename T>
T* FindFirstObject(const TCHAR* Name)
{
	return FindObject<T>(nullptr, Name);
}

/** Returns a name of the form "BaseName_N" that no object in Outer uses. */
COREUOBJECT_API FName MakeUniqueObjectName(UObject* Outer, const UClass* Class, FName BaseName = NAME_None);

/** Returns every object of Class (and its subclasses unless bExactClass) that is not destroyed. */
COREUOBJECT_API void GetObjectsOfClass(const UClass* Class, TArray<UObject*>& Results, bool bIncludeDerivedClasses = true);
/** Returns the objects whose direct outer is Outer (all below it with bIncludeNestedObjects). */
/**
 * Purges the objects marked as garbage: they finish their destruction and leave the object list, so
 * no iteration finds them again. (The stand-in does not trace references, so unreferenced objects that
 * are not marked as garbage stay; KeepFlags is accepted for the engine's signature.)
 */
COREUOBJECT_API void CollectGarbage(EObjectFlags KeepFlags, bool bPerformFullPurge = true);
/** What the editor's garbage collection keeps: standalone objects (assets). */
#define GARBAGE_COLLECTION_KEEPFLAGS (GIsEditor ? RF_Standalone : RF_NoFlags)

COREUOBJECT_API void GetObjectsWithOuter(const UObject* Outer, TArray<UObject*>& Results, bool bIncludeNestedObjects = true);

template <typename T>
const T* GetDefault()
{
	return static_cast<const T*>(T::StaticClass()->GetDefaultObject());
}

template <typename T>
T* GetMutableDefault()
{
	return static_cast<T*>(T::StaticClass()->GetDefaultObject());
}

class UPackageMap;

/**
 * Loads a package by its long package name ("/Game/Folder/Asset") from its file, or returns it
 * when it is loaded already. Returns null, with a log line unless LOAD_NoWarn, when there is no
 * such file or the file cannot be read as a package.
 */
COREUOBJECT_API UPackage* LoadPackage(UPackage* InOuter, const TCHAR* InLongPackageName, uint32 LoadFlags);

/**
 * Finds an object by path, loading its package from disk when it is not in memory. Returns null
 * when the object does not exist or is not of Class.
 */
COREUOBJECT_API UObject* StaticLoadObject(UClass* Class, UObject* InOuter, const TCHAR* Name, const TCHAR* Filename = nullptr, uint32 LoadFlags = LOAD_None, UPackageMap* Sandbox = nullptr, bool bAllowObjectReconciliation = true);

struct FLinkerInstancingContext;

/** Loads an object of type T; see StaticLoadObject. This host remaps no packages: an instancing context stops the program. */
template <typename T>
T* LoadObject(UObject* Outer, const TCHAR* Name, const TCHAR* Filename = nullptr, uint32 LoadFlags = LOAD_None, UPackageMap* Sandbox = nullptr, const FLinkerInstancingContext* InstancingContext = nullptr)
{
	check(InstancingContext == nullptr);
	return static_cast<T*>(StaticLoadObject(T::StaticClass(), Outer, Name, Filename, LoadFlags, Sandbox));
}

/**
 * Copies SourceObject and every object inside it into DestOuter under DestName (a unique name
 * when none). References between the copied objects point at the copies.
 */
COREUOBJECT_API UObject* StaticDuplicateObject(UObject const* SourceObject, UObject* DestOuter, const FName DestName = NAME_None, EObjectFlags FlagMask = RF_AllFlags, UClass* DestClass = nullptr);

template <typename T>
T* DuplicateObject(T const* SourceObject, UObject* Outer, const FName Name = NAME_None)
{
	return static_cast<T*>(StaticDuplicateObject(SourceObject, Outer, Name));
}
