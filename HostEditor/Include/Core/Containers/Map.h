// TMap: key/value pairs with unique keys looked up by hash, kept in the order they were added.
#pragma once

#include "Containers/Set.h"
#include "Templates/Tuple.h"

/** A key and a value: the element type of a map. */
template <typename KeyType, typename ValueType>
using TPair = TTuple<KeyType, ValueType>;

template <typename InKeyType, typename InValueType>
class TMap
{
	struct FKeyFuncs
	{
		typedef InKeyType KeyType;
		static const KeyType& GetSetKey(const TPair<InKeyType, InValueType>& Element) { return Element.Key; }
		static bool Matches(const KeyType& A, const KeyType& B) { return A == B; }
		static uint32 GetKeyHash(const KeyType& Key) { return GetTypeHash(Key); }
	};

public:
	typedef InKeyType KeyType;
	typedef InValueType ValueType;
	typedef TPair<KeyType, ValueType> ElementType;

	TMap() = default;
	TMap(std::initializer_list<ElementType> InitList)
	{
		for (const ElementType& Element : InitList)
		{
			Add(Element.Key, Element.Value);
		}
	}

	/** Sets the value of Key, adding the pair when the key is new; returns the stored value. */
	ValueType& Add(const KeyType& Key, const ValueType& Value) { return Emplace(Key, Value); }
	ValueType& Add(const KeyType& Key, ValueType&& Value) { return Emplace(Key, MoveTemp(Value)); }
	ValueType& Add(KeyType&& Key, ValueType&& Value) { return Emplace(MoveTemp(Key), MoveTemp(Value)); }
	ValueType& Add(const KeyType& Key) { return Emplace(Key, ValueType()); }
	ValueType& Add(const ElementType& Pair) { return Emplace(Pair.Key, Pair.Value); }

	template <typename K, typename V>
	ValueType& Emplace(K&& Key, V&& Value)
	{
		const int32 Index = Table.FindIndex(Key);
		if (Index != INDEX_NONE)
		{
			Table.GetElements()[Index].Value = Forward<V>(Value);
			return Table.GetElements()[Index].Value;
		}
		return Table.GetElements()[Table.AddNew(Forward<K>(Key), Forward<V>(Value))].Value;
	}

	template <typename K>
	ValueType& Emplace(K&& Key)
	{
		return Emplace(Forward<K>(Key), ValueType());
	}

	/** Returns the value of Key, adding a default value when the key is new. */
	ValueType& FindOrAdd(const KeyType& Key)
	{
		const int32 Index = Table.FindIndex(Key);
		if (Index != INDEX_NONE)
		{
			return Table.GetElements()[Index].Value;
		}
		return Table.GetElements()[Table.AddNew(Key, ValueType())].Value;
	}

	ValueType& FindOrAdd(const KeyType& Key, const ValueType& Value)
	{
		const int32 Index = Table.FindIndex(Key);
		if (Index != INDEX_NONE)
		{
			return Table.GetElements()[Index].Value;
		}
		return Table.GetElements()[Table.AddNew(Key, Value)].Value;
	}

	ValueType* Find(const KeyType& Key)
	{
		const int32 Index = Table.FindIndex(Key);
		return Index == INDEX_NONE ? nullptr : &Table.GetElements()[Index].Value;
	}

	const ValueType* Find(const KeyType& Key) const
	{
		const int32 Index = Table.FindIndex(Key);
		return Index == INDEX_NONE ? nullptr : &Table.GetElements()[Index].Value;
	}

	/** Returns a copy of the value of Key, or a default value when the key is absent. */
	ValueType FindRef(const KeyType& Key) const
	{
		const ValueType* Value = Find(Key);
		return Value ? *Value : ValueType();
	}

	ValueType& FindChecked(const KeyType& Key)
	{
		ValueType* Value = Find(Key);
		check(Value != nullptr);
		return *Value;
	}

	const ValueType& FindChecked(const KeyType& Key) const
	{
		const ValueType* Value = Find(Key);
		check(Value != nullptr);
		return *Value;
	}

	/** Returns the first key whose value equals Value, or null. */
	const KeyType* FindKey(const ValueType& Value) const
	{
		for (const ElementType& Pair : Table.GetElements())
		{
			if (Pair.Value == Value)
			{
				return &Pair.Key;
			}
		}
		return nullptr;
	}

	ValueType& operator[](const KeyType& Key) { return FindChecked(Key); }
	const ValueType& operator[](const KeyType& Key) const { return FindChecked(Key); }

	bool Contains(const KeyType& Key) const { return Table.FindIndex(Key) != INDEX_NONE; }

	/** Removes the pair of Key; returns how many pairs were removed (0 or 1). */
	int32 Remove(const KeyType& Key)
	{
		const int32 Index = Table.FindIndex(Key);
		if (Index == INDEX_NONE)
		{
			return 0;
		}
		Table.RemoveAtIndex(Index);
		return 1;
	}

	bool RemoveAndCopyValue(const KeyType& Key, ValueType& OutRemovedValue)
	{
		const int32 Index = Table.FindIndex(Key);
		if (Index == INDEX_NONE)
		{
			return false;
		}
		OutRemovedValue = MoveTemp(Table.GetElements()[Index].Value);
		Table.RemoveAtIndex(Index);
		return true;
	}

	int32 Num() const { return Table.Num(); }
	bool IsEmpty() const { return Table.Num() == 0; }
	void Empty(int32 Slack = 0) { Table.Empty(Slack); }
	void Reset() { Table.Reset(); }
	void Reserve(int32 Number) { Table.Reserve(Number); }

	int32 GenerateKeyArray(TArray<KeyType>& OutArray) const
	{
		OutArray.Reset(Num());
		for (const ElementType& Pair : Table.GetElements())
		{
			OutArray.Add(Pair.Key);
		}
		return OutArray.Num();
	}

	int32 GetKeys(TArray<KeyType>& OutKeys) const { return GenerateKeyArray(OutKeys); }

	int32 GetKeys(TSet<KeyType>& OutKeys) const
	{
		OutKeys.Reset();
		for (const ElementType& Pair : Table.GetElements())
		{
			OutKeys.Add(Pair.Key);
		}
		return OutKeys.Num();
	}

	void GenerateValueArray(TArray<ValueType>& OutArray) const
	{
		OutArray.Reset(Num());
		for (const ElementType& Pair : Table.GetElements())
		{
			OutArray.Add(Pair.Value);
		}
	}

	void Append(const TMap& Other)
	{
		for (const ElementType& Pair : Other)
		{
			Add(Pair.Key, Pair.Value);
		}
	}

	template <typename PredicateType>
	void KeySort(const PredicateType& Predicate)
	{
		Table.GetElements().StableSort([&Predicate](const ElementType& A, const ElementType& B) { return Predicate(A.Key, B.Key); });
		Table.InvalidateIndex();
	}

	template <typename PredicateType>
	void ValueSort(const PredicateType& Predicate)
	{
		Table.GetElements().StableSort([&Predicate](const ElementType& A, const ElementType& B) { return Predicate(A.Value, B.Value); });
		Table.InvalidateIndex();
	}

	bool OrderIndependentCompareEqual(const TMap& Other) const
	{
		if (Num() != Other.Num())
		{
			return false;
		}
		for (const ElementType& Pair : Table.GetElements())
		{
			const ValueType* OtherValue = Other.Find(Pair.Key);
			if (!OtherValue || !(*OtherValue == Pair.Value))
			{
				return false;
			}
		}
		return true;
	}

	ElementType* begin() { return Table.GetElements().begin(); }
	ElementType* end() { return Table.GetElements().end(); }
	const ElementType* begin() const { return Table.GetElements().begin(); }
	const ElementType* end() const { return Table.GetElements().end(); }

	/** An iterator with the engine's Key()/Value()/RemoveCurrent() interface. */
	template <bool bConst>
	class TBaseIterator
	{
		typedef std::conditional_t<bConst, const TMap, TMap> MapType;

	public:
		explicit TBaseIterator(MapType& InMap)
			: Map(InMap)
		{
		}

		TBaseIterator& operator++()
		{
			if (bRemovedCurrent)
			{
				bRemovedCurrent = false;
			}
			else
			{
				++Index;
			}
			return *this;
		}

		explicit operator bool() const { return Index < Map.Num(); }

		const KeyType& Key() const { return Map.Table.GetElements()[Index].Key; }
		std::conditional_t<bConst, const ValueType&, ValueType&> Value() const { return Map.Table.GetElements()[Index].Value; }
		std::conditional_t<bConst, const ElementType&, ElementType&> operator*() const { return Map.Table.GetElements()[Index]; }
		auto* operator->() const { return &Map.Table.GetElements()[Index]; }

		/** Removes the current pair; the next increment moves to the pair after it. */
		void RemoveCurrent()
		{
			static_assert(!bConst, "RemoveCurrent needs a mutable iterator");
			Map.Table.RemoveAtIndex(Index);
			bRemovedCurrent = true;
		}

	private:
		MapType& Map;
		int32 Index = 0;
		bool bRemovedCurrent = false;
	};

	typedef TBaseIterator<false> TIterator;
	typedef TBaseIterator<true> TConstIterator;

	TIterator CreateIterator() { return TIterator(*this); }
	TConstIterator CreateConstIterator() const { return TConstIterator(*this); }

	bool operator==(const TMap& Other) const { return OrderIndependentCompareEqual(Other); }
	bool operator!=(const TMap& Other) const { return !(*this == Other); }

private:
	HostEditorContainers::TOrderedHashTable<ElementType, FKeyFuncs> Table;
};
