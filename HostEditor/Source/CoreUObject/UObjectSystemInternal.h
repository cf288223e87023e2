// The object system's private operations on objects, used by the reflection code of this module.
#pragma once

#include "UObject/Object.h"

struct FUObjectSystem
{
	/** Lists the object and makes it findable by its outer and name. */
	static void Register(UObject* Object);
	/** Makes the object no longer findable by its outer and name. */
	static void Unhash(UObject* Object);
	static void SetIdentity(UObject* Object, UClass* Class, FName Name, UObject* Outer, EObjectFlags Flags);
	static void SetClass(UObject* Object, UClass* Class);
	static void SetOuterAndRegister(UObject* Object, UObject* Outer);
	/** Finds a live object by outer and name, optionally of a class. */
	static UObject* FindFast(const UObject* Outer, FName Name, const UClass* Class, bool bExactClass);
	/** MakeUniqueObjectName's memory for Outer and Base: every number below it is taken. */
	static int32& UniqueNameHint(const UObject* Outer, const FString& Base);
	static void ForEachObject(const TFunction<void(UObject*)>& Visitor);
	/** Takes the objects marked as garbage out of the object list. */
	static void PurgeGarbage();
	/** Gives an object under construction the identity NewObject chose for it. */
	static UObject* TakePendingIdentity(UObject* Object);
};
