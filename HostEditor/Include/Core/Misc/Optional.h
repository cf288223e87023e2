// TOptional: a value that may be unset.
#pragma once

#include <optional>

#include "CoreTypes.h"
#include "Templates/UnrealTemplate.h"

struct FNullOpt
{
	explicit constexpr FNullOpt(int) {}
};
inline constexpr FNullOpt NullOpt{0};

template <typename OptionalType>
struct TOptional
{
public:
	TOptional() = default;
	TOptional(FNullOpt) {}
	TOptional(const OptionalType& InValue)
		: Value(InValue)
	{
	}
	TOptional(OptionalType&& InValue)
		: Value(MoveTemp(InValue))
	{
	}
	template <typename... ArgTypes>
	explicit TOptional(EInPlace, ArgTypes&&... Args)
		: Value(std::in_place, Forward<ArgTypes>(Args)...)
	{
	}

	TOptional& operator=(const OptionalType& InValue)
	{
		Value = InValue;
		return *this;
	}
	TOptional& operator=(OptionalType&& InValue)
	{
		Value = MoveTemp(InValue);
		return *this;
	}

	template <typename... ArgTypes>
	OptionalType& Emplace(ArgTypes&&... Args) { return Value.emplace(Forward<ArgTypes>(Args)...); }

	bool IsSet() const { return Value.has_value(); }
	explicit operator bool() const { return Value.has_value(); }
	void Reset() { Value.reset(); }

	OptionalType& GetValue()
	{
		check(Value.has_value());
		return *Value;
	}
	const OptionalType& GetValue() const
	{
		check(Value.has_value());
		return *Value;
	}
	/** Returns the value, or DefaultValue when unset. */
	const OptionalType& Get(const OptionalType& DefaultValue) const { return Value.has_value() ? *Value : DefaultValue; }
	OptionalType* GetPtrOrNull() { return Value.has_value() ? &*Value : nullptr; }
	const OptionalType* GetPtrOrNull() const { return Value.has_value() ? &*Value : nullptr; }

	OptionalType* operator->() { return &GetValue(); }
	const OptionalType* operator->() const { return &GetValue(); }
	OptionalType& operator*() { return GetValue(); }
	const OptionalType& operator*() const { return GetValue(); }

	bool operator==(const TOptional& Other) const { return Value == Other.Value; }
	bool operator!=(const TOptional& Other) const { return !(*this == Other); }

private:
	std::optional<OptionalType> Value;
};
