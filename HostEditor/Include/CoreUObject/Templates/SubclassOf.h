// TSubclassOf: a class limited to T and its subclasses.
#pragma once

#include "UObject/Class.h"

template <typename T>
class TSubclassOf
{
public:
	TSubclassOf() = default;
	TSubclassOf(std::nullptr_t) {}
	TSubclassOf(UClass* InClass)
		: Class(InClass && InClass->IsChildOf(T::StaticClass()) ? InClass : nullptr)
	{
	}

	UClass* Get() const { return Class; }
	operator UClass*() const { return Class; }
	UClass* operator->() const { return Class; }
	UClass& operator*() const { return *Class; }
	T* GetDefaultObject() const { return Class ? static_cast<T*>(Class->GetDefaultObject()) : nullptr; }
	bool operator==(const TSubclassOf& Other) const { return Class == Other.Class; }

private:
	UClass* Class = nullptr;
};
