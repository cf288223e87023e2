// TWeakObjectPtr: a pointer to an object that reads as null once the object is destroyed.
#pragma once

#include "UObject/Object.h"
#include "UObject/UObjectGlobals.h"

template <typename T>
struct TWeakObjectPtr
{
	TWeakObjectPtr() = default;
	TWeakObjectPtr(std::nullptr_t) {}
	TWeakObjectPtr(const T* Object)
		: ObjectPtr(const_cast<T*>(Object))
		, ObjectIndex(Object ? Object->GetUniqueID() : INDEX_NONE)
	{
	}

	/** Returns the object, or null when it has been destroyed. */
	T* Get() const { return ::IsValid(ObjectPtr) ? ObjectPtr : nullptr; }
	T* operator->() const { return Get(); }
	T& operator*() const { return *Get(); }
	bool IsValid() const { return Get() != nullptr; }
	bool IsStale() const { return ObjectPtr && !Get(); }
	void Reset() { ObjectPtr = nullptr; ObjectIndex = INDEX_NONE; }
	bool operator==(const TWeakObjectPtr& Other) const { return ObjectPtr == Other.ObjectPtr; }
	explicit operator bool() const { return IsValid(); }

private:
	T* ObjectPtr = nullptr;
	int32 ObjectIndex = INDEX_NONE;
};
