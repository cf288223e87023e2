// Small template utilities with the engine's names.
#pragma once

#include <type_traits>
#include <utility>

#include "HAL/Platform.h"

template <typename T>
constexpr std::remove_reference_t<T>&& MoveTemp(T&& Value)
{
	static_assert(!std::is_const_v<std::remove_reference_t<T>>, "MoveTemp called on a const object");
	return static_cast<std::remove_reference_t<T>&&>(Value);
}

template <typename T>
constexpr std::remove_reference_t<T>&& MoveTempIfPossible(T&& Value)
{
	return static_cast<std::remove_reference_t<T>&&>(Value);
}

template <typename T>
constexpr T&& Forward(std::remove_reference_t<T>& Value)
{
	return static_cast<T&&>(Value);
}

template <typename T>
constexpr T&& Forward(std::remove_reference_t<T>&& Value)
{
	return static_cast<T&&>(Value);
}

template <typename T>
inline void Swap(T& A, T& B)
{
	T Temp = MoveTemp(A);
	A = MoveTemp(B);
	B = MoveTemp(Temp);
}

template <typename T>
T CopyTemp(const T& Value)
{
	return Value;
}

template <typename T, typename ArgType>
T ReplaceTemp(T& Value, ArgType&& NewValue)
{
	T OldValue = MoveTemp(Value);
	Value = Forward<ArgType>(NewValue);
	return OldValue;
}

template <typename T, uint32 N>
char (&UE4ArrayCountHelper(const T (&)[N]))[N + 1];
#define UE_ARRAY_COUNT(array) (sizeof(UE4ArrayCountHelper(array)) - 1)

#define STRUCT_OFFSET(struc, member) offsetof(struc, member)

/** Compares with operator<, as the engine's sort predicates do by default. */
template <typename T = void>
struct TLess
{
	bool operator()(const T& A, const T& B) const { return A < B; }
};

template <>
struct TLess<void>
{
	template <typename T, typename U>
	bool operator()(const T& A, const U& B) const { return A < B; }
};

template <typename T = void>
struct TGreater
{
	bool operator()(const T& A, const T& B) const { return B < A; }
};

class FNoncopyable
{
protected:
	FNoncopyable() = default;
	~FNoncopyable() = default;

public:
	FNoncopyable(const FNoncopyable&) = delete;
	FNoncopyable& operator=(const FNoncopyable&) = delete;
};

/** Restores a variable's value when the guard goes out of scope. */
template <typename T>
struct TGuardValue : private FNoncopyable
{
	TGuardValue(T& InReference, const T& NewValue)
		: Reference(InReference)
		, OldValue(InReference)
	{
		Reference = NewValue;
	}
	~TGuardValue() { Reference = OldValue; }

private:
	T& Reference;
	T OldValue;
};
