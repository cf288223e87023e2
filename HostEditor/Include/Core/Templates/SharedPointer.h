// TSharedPtr, TSharedRef, TWeakPtr and TSharedFromThis: reference-counted ownership with the engine's interface.
#pragma once

#include <memory>

#include "CoreTypes.h"
#include "Templates/TypeHash.h"
#include "Templates/UnrealTemplate.h"

enum class ESPMode : uint8
{
	NotThreadSafe = 0,
	ThreadSafe = 1,
};

template <typename ObjectType, ESPMode Mode = ESPMode::ThreadSafe>
class TSharedRef;
template <typename ObjectType, ESPMode Mode = ESPMode::ThreadSafe>
class TSharedPtr;
template <typename ObjectType, ESPMode Mode = ESPMode::ThreadSafe>
class TWeakPtr;

/** What MakeShareable returns: a raw pointer waiting to be owned by a shared pointer. */
template <typename ObjectType>
struct TRawPtrProxy
{
	ObjectType* Object;
};

template <typename ObjectType>
TRawPtrProxy<ObjectType> MakeShareable(ObjectType* Object)
{
	return TRawPtrProxy<ObjectType>{Object};
}

template <typename ObjectType, ESPMode Mode>
class TSharedRef
{
public:
	typedef ObjectType ElementType;

	template <typename OtherType, typename = std::enable_if_t<std::is_convertible_v<OtherType*, ObjectType*>>>
	TSharedRef(const TSharedRef<OtherType, Mode>& Other)
		: Ptr(Other.GetStdPointer())
	{
	}

	template <typename OtherType, typename = std::enable_if_t<std::is_convertible_v<OtherType*, ObjectType*>>>
	TSharedRef(TRawPtrProxy<OtherType> Proxy)
		: Ptr(Proxy.Object)
	{
		check(Ptr);
	}

	ObjectType* operator->() const { return Ptr.get(); }
	ObjectType& operator*() const { return *Ptr; }
	ObjectType& Get() const { return *Ptr; }
	bool IsValid() const { return true; }
	int32 GetSharedReferenceCount() const { return (int32)Ptr.use_count(); }
	bool IsUnique() const { return Ptr.use_count() == 1; }
	TSharedPtr<ObjectType, Mode> ToSharedPtr() const { return TSharedPtr<ObjectType, Mode>(*this); }
	TWeakPtr<ObjectType, Mode> ToWeakPtr() const { return TWeakPtr<ObjectType, Mode>(*this); }

	const std::shared_ptr<ObjectType>& GetStdPointer() const { return Ptr; }
	static TSharedRef FromStdPointer(std::shared_ptr<ObjectType> InPtr)
	{
		check(InPtr);
		return TSharedRef(MoveTemp(InPtr));
	}

private:
	explicit TSharedRef(std::shared_ptr<ObjectType> InPtr)
		: Ptr(MoveTemp(InPtr))
	{
	}

	std::shared_ptr<ObjectType> Ptr;
};

template <typename ObjectType, ESPMode Mode>
class TSharedPtr
{
public:
	typedef ObjectType ElementType;

	TSharedPtr() = default;
	TSharedPtr(std::nullptr_t) {}

	template <typename OtherType, typename = std::enable_if_t<std::is_convertible_v<OtherType*, ObjectType*>>>
	TSharedPtr(const TSharedPtr<OtherType, Mode>& Other)
		: Ptr(Other.GetStdPointer())
	{
	}

	template <typename OtherType, typename = std::enable_if_t<std::is_convertible_v<OtherType*, ObjectType*>>>
	TSharedPtr(const TSharedRef<OtherType, Mode>& Other)
		: Ptr(Other.GetStdPointer())
	{
	}

	template <typename OtherType, typename = std::enable_if_t<std::is_convertible_v<OtherType*, ObjectType*>>>
	TSharedPtr(TRawPtrProxy<OtherType> Proxy)
		: Ptr(Proxy.Object)
	{
	}

	ObjectType* Get() const { return Ptr.get(); }
	ObjectType* operator->() const
	{
		check(Ptr);
		return Ptr.get();
	}
	ObjectType& operator*() const
	{
		check(Ptr);
		return *Ptr;
	}
	bool IsValid() const { return Ptr != nullptr; }
	explicit operator bool() const { return Ptr != nullptr; }
	void Reset() { Ptr.reset(); }
	int32 GetSharedReferenceCount() const { return (int32)Ptr.use_count(); }
	bool IsUnique() const { return Ptr.use_count() == 1; }

	/** Returns a reference to the object; the pointer must be valid. */
	TSharedRef<ObjectType, Mode> ToSharedRef() const
	{
		check(Ptr);
		return TSharedRef<ObjectType, Mode>::FromStdPointer(Ptr);
	}

	const std::shared_ptr<ObjectType>& GetStdPointer() const { return Ptr; }
	static TSharedPtr FromStdPointer(std::shared_ptr<ObjectType> InPtr)
	{
		TSharedPtr Result;
		Result.Ptr = MoveTemp(InPtr);
		return Result;
	}

private:
	std::shared_ptr<ObjectType> Ptr;
};

template <typename ObjectType, ESPMode Mode>
class TWeakPtr
{
public:
	TWeakPtr() = default;
	TWeakPtr(std::nullptr_t) {}

	template <typename OtherType, typename = std::enable_if_t<std::is_convertible_v<OtherType*, ObjectType*>>>
	TWeakPtr(const TSharedPtr<OtherType, Mode>& Other)
		: Ptr(Other.GetStdPointer())
	{
	}

	template <typename OtherType, typename = std::enable_if_t<std::is_convertible_v<OtherType*, ObjectType*>>>
	TWeakPtr(const TSharedRef<OtherType, Mode>& Other)
		: Ptr(Other.GetStdPointer())
	{
	}

	/** Returns a shared pointer to the object, or an invalid one when it is gone. */
	TSharedPtr<ObjectType, Mode> Pin() const { return TSharedPtr<ObjectType, Mode>::FromStdPointer(Ptr.lock()); }
	bool IsValid() const { return !Ptr.expired(); }
	void Reset() { Ptr.reset(); }
	bool HasSameObject(const void* Other) const { return Pin().Get() == Other; }

private:
	std::weak_ptr<ObjectType> Ptr;
};

/** Lets an object hand out shared references to itself. */
template <typename ObjectType, ESPMode Mode = ESPMode::ThreadSafe>
class TSharedFromThis : public std::enable_shared_from_this<ObjectType>
{
public:
	TSharedRef<ObjectType, Mode> AsShared()
	{
		return TSharedRef<ObjectType, Mode>::FromStdPointer(this->shared_from_this());
	}

	TSharedRef<const ObjectType, Mode> AsShared() const
	{
		return TSharedRef<const ObjectType, Mode>::FromStdPointer(this->shared_from_this());
	}

	bool DoesSharedInstanceExist() const { return !this->weak_from_this().expired(); }
};

template <typename ObjectType, ESPMode Mode = ESPMode::ThreadSafe, typename... ArgTypes>
TSharedRef<ObjectType, Mode> MakeShared(ArgTypes&&... Args)
{
	return TSharedRef<ObjectType, Mode>::FromStdPointer(std::make_shared<ObjectType>(Forward<ArgTypes>(Args)...));
}

template <typename CastToType, typename CastFromType, ESPMode Mode>
TSharedPtr<CastToType, Mode> StaticCastSharedPtr(const TSharedPtr<CastFromType, Mode>& InSharedPtr)
{
	return TSharedPtr<CastToType, Mode>::FromStdPointer(std::static_pointer_cast<CastToType>(InSharedPtr.GetStdPointer()));
}

template <typename CastToType, typename CastFromType, ESPMode Mode>
TSharedRef<CastToType, Mode> StaticCastSharedRef(const TSharedRef<CastFromType, Mode>& InSharedRef)
{
	return TSharedRef<CastToType, Mode>::FromStdPointer(std::static_pointer_cast<CastToType>(InSharedRef.GetStdPointer()));
}

template <typename CastToType, typename CastFromType, ESPMode Mode>
TSharedPtr<CastToType, Mode> ConstCastSharedPtr(const TSharedPtr<CastFromType, Mode>& InSharedPtr)
{
	return TSharedPtr<CastToType, Mode>::FromStdPointer(std::const_pointer_cast<CastToType>(InSharedPtr.GetStdPointer()));
}

template <typename CastToType, typename CastFromType, ESPMode Mode>
TSharedRef<CastToType, Mode> ConstCastSharedRef(const TSharedRef<CastFromType, Mode>& InSharedRef)
{
	return TSharedRef<CastToType, Mode>::FromStdPointer(std::const_pointer_cast<CastToType>(InSharedRef.GetStdPointer()));
}

template <typename A, typename B, ESPMode Mode>
bool operator==(const TSharedPtr<A, Mode>& Lhs, const TSharedPtr<B, Mode>& Rhs) { return Lhs.Get() == Rhs.Get(); }
template <typename A, typename B, ESPMode Mode>
bool operator!=(const TSharedPtr<A, Mode>& Lhs, const TSharedPtr<B, Mode>& Rhs) { return Lhs.Get() != Rhs.Get(); }
template <typename A, typename B, ESPMode Mode>
bool operator==(const TSharedRef<A, Mode>& Lhs, const TSharedRef<B, Mode>& Rhs) { return &Lhs.Get() == &Rhs.Get(); }
template <typename A, typename B, ESPMode Mode>
bool operator!=(const TSharedRef<A, Mode>& Lhs, const TSharedRef<B, Mode>& Rhs) { return &Lhs.Get() != &Rhs.Get(); }
template <typename A, typename B, ESPMode Mode>
bool operator==(const TSharedPtr<A, Mode>& Lhs, const TSharedRef<B, Mode>& Rhs) { return Lhs.Get() == &Rhs.Get(); }
template <typename A, typename B, ESPMode Mode>
bool operator==(const TSharedRef<A, Mode>& Lhs, const TSharedPtr<B, Mode>& Rhs) { return &Lhs.Get() == Rhs.Get(); }
template <typename A, ESPMode Mode>
bool operator==(const TSharedPtr<A, Mode>& Lhs, std::nullptr_t) { return !Lhs.IsValid(); }
template <typename A, ESPMode Mode>
bool operator!=(const TSharedPtr<A, Mode>& Lhs, std::nullptr_t) { return Lhs.IsValid(); }

template <typename ObjectType, ESPMode Mode>
uint32 GetTypeHash(const TSharedPtr<ObjectType, Mode>& Pointer) { return GetTypeHash((const void*)Pointer.Get()); }
template <typename ObjectType, ESPMode Mode>
uint32 GetTypeHash(const TSharedRef<ObjectType, Mode>& Reference) { return GetTypeHash((const void*)&Reference.Get()); }

/** A shared reference to an object that shares itself (TSharedFromThis), as its own type. */
template <typename OtherType>
auto SharedThis(OtherType* ThisPtr)
{
	return StaticCastSharedRef<OtherType>(ThisPtr->AsShared());
}

template <typename OtherType>
auto SharedThis(const OtherType* ThisPtr)
{
	return StaticCastSharedRef<const OtherType>(ThisPtr->AsShared());
}
