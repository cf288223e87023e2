// FToolMenuOwner: who added a menu element, so that everything of one owner can be removed together.
#pragma once

#include "CoreMinimal.h"

struct TOOLMENUS_API FToolMenuOwner
{
	FToolMenuOwner() = default;
	FToolMenuOwner(void* InPointer) : Pointer(InPointer) {}
	FToolMenuOwner(const FName InName) : Name(InName) {}
	// Names given as text literals must not turn into pointer owners.
	FToolMenuOwner(const TCHAR* InName) : Name(InName) {}
	FToolMenuOwner(const ANSICHAR* InName) : Name(InName) {}

	bool IsSet() const { return Pointer != nullptr || !Name.IsNone(); }
	bool operator==(const FToolMenuOwner& Other) const { return Pointer == Other.Pointer && Name == Other.Name; }
	bool operator!=(const FToolMenuOwner& Other) const { return !(*this == Other); }

	const void* Pointer = nullptr;
	FName Name;
};
