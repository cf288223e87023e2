// TSoftObjectPtr: a typed asset path that resolves to the object on demand.
#pragma once

#include "CoreMinimal.h"
#include "Templates/Casts.h"
#include "UObject/SoftObjectPath.h"

/** The untyped soft pointer: an asset path. */
struct FSoftObjectPtr
{
	FSoftObjectPtr() = default;
	explicit FSoftObjectPtr(const FSoftObjectPath& InPath)
		: Path(InPath)
	{
	}
	explicit FSoftObjectPtr(const UObject* Object)
		: Path(Object)
	{
	}

	const FSoftObjectPath& GetUniqueID() const { return Path; }
	const FSoftObjectPath& ToSoftObjectPath() const { return Path; }
	UObject* Get() const { return Path.ResolveObject(); }
	UObject* LoadSynchronous() const { return Path.TryLoad(); }
	bool IsNull() const { return Path.IsNull(); }
	bool IsValid() const { return Get() != nullptr; }
	bool IsPending() const { return !IsNull() && !IsValid(); }
	void Reset() { Path.Reset(); }
	bool operator==(const FSoftObjectPtr& Other) const { return Path == Other.Path; }

private:
	FSoftObjectPath Path;
};

template <typename T>
struct TSoftObjectPtr
{
	TSoftObjectPtr() = default;
	TSoftObjectPtr(std::nullptr_t) {}
	TSoftObjectPtr(const FSoftObjectPath& InPath)
		: SoftObjectPtr(InPath)
	{
	}
	TSoftObjectPtr(const T* Object)
		: SoftObjectPtr(static_cast<const UObject*>(Object))
	{
	}

	/** Returns the object when it is loaded, else null. */
	T* Get() const { return Cast<T>(SoftObjectPtr.Get()); }
	T* operator->() const { return Get(); }
	/** Returns the object, loading it when needed. */
	T* LoadSynchronous() const { return Cast<T>(SoftObjectPtr.LoadSynchronous()); }
	bool IsNull() const { return SoftObjectPtr.IsNull(); }
	bool IsValid() const { return Get() != nullptr; }
	bool IsPending() const { return SoftObjectPtr.IsPending(); }
	void Reset() { SoftObjectPtr.Reset(); }
	const FSoftObjectPath& ToSoftObjectPath() const { return SoftObjectPtr.ToSoftObjectPath(); }
	FString ToString() const { return ToSoftObjectPath().ToString(); }
	FString GetAssetName() const { return ToSoftObjectPath().GetAssetName(); }
	FString GetLongPackageName() const { return ToSoftObjectPath().GetLongPackageName(); }
	bool operator==(const TSoftObjectPtr& Other) const { return SoftObjectPtr == Other.SoftObjectPtr; }

private:
	FSoftObjectPtr SoftObjectPtr;
};

static_assert(sizeof(TSoftObjectPtr<UObject>) == sizeof(FSoftObjectPtr), "A soft pointer is its path");
