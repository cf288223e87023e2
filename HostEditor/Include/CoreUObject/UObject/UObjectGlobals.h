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
	static const FObjectInitializer& Get();

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

template <typename T>
T* NewObject(UObject* Outer, const UClass* Class, FName Name = NAME_None, EObjectFlags Flags = RF_NoFlags)
{
	check(Class && Class->IsChildOf(T::StaticClass()));
	FStaticConstructObjectParameters Params(Class);
	Params.Outer = Outer;
	Params.Name = Name;
	Params.SetFlags = Flags;
	return static_cast<T*>(StaticConstructObject_Internal(Params));
}

template <typename T>
T* NewObject(UObject* Outer = (UObject*)GetTransientPackage(), FName Name = NAME_None, EObjectFlags Flags = RF_NoFlags)
{
	return NewObject<T>(Outer, T::StaticClass(), Name, Flags);
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
