// TStrongObjectPtr: holds an object alive for as long as the pointer lives.
#pragma once

#include "UObject/Object.h"

template <typename ObjectType>
class TStrongObjectPtr
{
public:
	TStrongObjectPtr() = default;
	explicit TStrongObjectPtr(ObjectType* InObject)
		: Object(InObject)
	{
	}
	TStrongObjectPtr(const TStrongObjectPtr&) = default;
	TStrongObjectPtr& operator=(const TStrongObjectPtr&) = default;

	/**
	 * The stand-in's garbage collection never takes an object that is not marked as garbage, so
	 * holding the pointer is what keeping it alive means here.
	 */
	ObjectType* Get() const { return Object; }
	ObjectType* operator->() const { return Object; }
	explicit operator bool() const { return Object != nullptr; }
	bool IsValid() const { return Object != nullptr; }
	void Reset(ObjectType* NewObject = nullptr) { Object = NewObject; }

private:
	ObjectType* Object = nullptr;
};
