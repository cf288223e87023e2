// TTuple. A two-element tuple names its members Key and Value, as the engine's does; the map header
// names it TPair.
#pragma once

#include <tuple>

#include "Templates/TypeHash.h"
#include "Templates/UnrealTemplate.h"

template <typename... Types>
struct TTuple
{
	TTuple() = default;
	template <typename... ArgTypes>
	explicit TTuple(ArgTypes&&... Args)
		: Elements(Forward<ArgTypes>(Args)...)
	{
	}

	template <int32 Index>
	auto& Get() { return std::get<Index>(Elements); }
	template <int32 Index>
	const auto& Get() const { return std::get<Index>(Elements); }

	bool operator==(const TTuple& Other) const { return Elements == Other.Elements; }
	bool operator!=(const TTuple& Other) const { return !(*this == Other); }

private:
	std::tuple<Types...> Elements;
};

template <typename KeyType, typename ValueType>
struct TTuple<KeyType, ValueType>
{
	KeyType Key;
	ValueType Value;

	TTuple() = default;
	template <typename K, typename V>
	TTuple(K&& InKey, V&& InValue)
		: Key(Forward<K>(InKey))
		, Value(Forward<V>(InValue))
	{
	}

	template <int32 Index>
	auto& Get()
	{
		if constexpr (Index == 0) { return Key; }
		else { return Value; }
	}
	template <int32 Index>
	const auto& Get() const
	{
		if constexpr (Index == 0) { return Key; }
		else { return Value; }
	}

	bool operator==(const TTuple& Other) const { return Key == Other.Key && Value == Other.Value; }
	bool operator!=(const TTuple& Other) const { return !(*this == Other); }
	bool operator<(const TTuple& Other) const { return Key < Other.Key || (!(Other.Key < Key) && Value < Other.Value); }
};

template <typename... Types>
TTuple<std::decay_t<Types>...> MakeTuple(Types&&... Args)
{
	return TTuple<std::decay_t<Types>...>(Forward<Types>(Args)...);
}

template <typename KeyType, typename ValueType>
uint32 GetTypeHash(const TTuple<KeyType, ValueType>& Pair)
{
	return HashCombine(GetTypeHash(Pair.Key), GetTypeHash(Pair.Value));
}
