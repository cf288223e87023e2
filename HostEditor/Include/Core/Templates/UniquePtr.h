// TUniquePtr: single ownership with the engine's interface.
#pragma once

#include <memory>

#include "CoreTypes.h"
#include "Templates/UnrealTemplate.h"

template <typename T>
class TUniquePtr
{
public:
	TUniquePtr() = default;
	TUniquePtr(std::nullptr_t) {}
	explicit TUniquePtr(T* InPtr)
		: Ptr(InPtr)
	{
	}
	template <typename U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
	TUniquePtr(TUniquePtr<U>&& Other)
		: Ptr(Other.Release())
	{
	}
	TUniquePtr(TUniquePtr&&) noexcept = default;
	TUniquePtr& operator=(TUniquePtr&&) noexcept = default;
	TUniquePtr& operator=(std::nullptr_t)
	{
		Ptr.reset();
		return *this;
	}

	T* Get() const { return Ptr.get(); }
	T* operator->() const { return Ptr.get(); }
	T& operator*() const { return *Ptr; }
	bool IsValid() const { return Ptr != nullptr; }
	explicit operator bool() const { return Ptr != nullptr; }
	T* Release() { return Ptr.release(); }
	void Reset(T* InPtr = nullptr) { Ptr.reset(InPtr); }
	bool operator==(std::nullptr_t) const { return Ptr == nullptr; }
	bool operator!=(std::nullptr_t) const { return Ptr != nullptr; }

private:
	std::unique_ptr<T> Ptr;
};

template <typename T, typename... ArgTypes>
TUniquePtr<T> MakeUnique(ArgTypes&&... Args)
{
	return TUniquePtr<T>(new T(Forward<ArgTypes>(Args)...));
}
