// TSet: unique values looked up by hash. Elements keep the order in which they were added.
#pragma once

#include "Containers/Array.h"
#include "Templates/TypeHash.h"

/** How a set finds the key of an element: the element is its own key. */
template <typename ElementType>
struct DefaultKeyFuncs
{
	typedef ElementType KeyType;
	static const KeyType& GetSetKey(const ElementType& Element) { return Element; }
	static bool Matches(const KeyType& A, const KeyType& B) { return A == B; }
	static uint32 GetKeyHash(const KeyType& Key) { return GetTypeHash(Key); }
};

namespace HostEditorContainers
{
	/**
	 * Elements in insertion order plus an open-addressing index over them. Small collections are
	 * scanned linearly; the index is built the first time a lookup needs it and kept up to date on add.
	 */
	template <typename ElementType, typename KeyFuncs>
	class TOrderedHashTable
	{
	public:
		typedef typename KeyFuncs::KeyType KeyType;

		int32 Num() const { return Elements.Num(); }
		TArray<ElementType>& GetElements() { return Elements; }
		const TArray<ElementType>& GetElements() const { return Elements; }

		int32 FindIndex(const KeyType& Key) const
		{
			if (Elements.Num() <= LinearScanLimit)
			{
				for (int32 Index = 0; Index < Elements.Num(); ++Index)
				{
					if (KeyFuncs::Matches(KeyFuncs::GetSetKey(Elements[Index]), Key))
					{
						return Index;
					}
				}
				return INDEX_NONE;
			}
			EnsureIndex();
			const uint32 Mask = (uint32)Buckets.Num() - 1;
			for (uint32 Slot = KeyFuncs::GetKeyHash(Key) & Mask;; Slot = (Slot + 1) & Mask)
			{
				const int32 Index = Buckets[(int32)Slot];
				if (Index == INDEX_NONE)
				{
					return INDEX_NONE;
				}
				if (KeyFuncs::Matches(KeyFuncs::GetSetKey(Elements[Index]), Key))
				{
					return Index;
				}
			}
		}

		template <typename... ArgTypes>
		int32 AddNew(ArgTypes&&... Args)
		{
			const int32 Index = Elements.Emplace(Forward<ArgTypes>(Args)...);
			if (bIndexValid)
			{
				if (Elements.Num() * 2 > Buckets.Num())
				{
					bIndexValid = false;
				}
				else
				{
					InsertIntoIndex(Index);
				}
			}
			return Index;
		}

		void RemoveAtIndex(int32 Index)
		{
			Elements.RemoveAt(Index);
			bIndexValid = false;
		}

		void Empty(int32 Slack = 0)
		{
			Elements.Empty(Slack);
			Buckets.Empty();
			bIndexValid = false;
		}

		void Reset()
		{
			Elements.Reset();
			bIndexValid = false;
		}

		void Reserve(int32 Number) { Elements.Reserve(Number); }

		/** Call after reordering the elements in place. */
		void InvalidateIndex() { bIndexValid = false; }

	private:
		static constexpr int32 LinearScanLimit = 8;

		void EnsureIndex() const
		{
			if (bIndexValid)
			{
				return;
			}
			int32 BucketCount = 16;
			while (BucketCount < Elements.Num() * 4)
			{
				BucketCount *= 2;
			}
			Buckets.Init(INDEX_NONE, BucketCount);
			for (int32 Index = 0; Index < Elements.Num(); ++Index)
			{
				InsertIntoIndex(Index);
			}
			bIndexValid = true;
		}

		void InsertIntoIndex(int32 Index) const
		{
			const uint32 Mask = (uint32)Buckets.Num() - 1;
			uint32 Slot = KeyFuncs::GetKeyHash(KeyFuncs::GetSetKey(Elements[Index])) & Mask;
			while (Buckets[(int32)Slot] != INDEX_NONE)
			{
				Slot = (Slot + 1) & Mask;
			}
			Buckets[(int32)Slot] = Index;
		}

		TArray<ElementType> Elements;
		mutable TArray<int32> Buckets;
		mutable bool bIndexValid = false;
	};
}

template <typename InElementType, typename KeyFuncs = DefaultKeyFuncs<InElementType>>
class TSet
{
public:
	typedef InElementType ElementType;

	TSet() = default;
	TSet(std::initializer_list<ElementType> InitList)
	{
		for (const ElementType& Element : InitList)
		{
			Add(Element);
		}
	}
	explicit TSet(const TArray<ElementType>& InArray)
	{
		Append(InArray);
	}

	/** Adds Element unless an equal one is present. bIsAlreadyInSet, when given, says which happened. */
	void Add(const ElementType& Element, bool* bIsAlreadyInSet = nullptr)
	{
		const bool bFound = Table.FindIndex(KeyFuncs::GetSetKey(Element)) != INDEX_NONE;
		if (!bFound)
		{
			Table.AddNew(Element);
		}
		if (bIsAlreadyInSet)
		{
			*bIsAlreadyInSet = bFound;
		}
	}

	void Emplace(const ElementType& Element, bool* bIsAlreadyInSet = nullptr) { Add(Element, bIsAlreadyInSet); }

	template <typename ContainerType>
	void Append(const ContainerType& Elements)
	{
		for (const ElementType& Element : Elements)
		{
			Add(Element);
		}
	}

	/** Removes the element equal to Key and returns how many were removed (0 or 1). */
	int32 Remove(const typename KeyFuncs::KeyType& Key)
	{
		const int32 Index = Table.FindIndex(Key);
		if (Index == INDEX_NONE)
		{
			return 0;
		}
		Table.RemoveAtIndex(Index);
		return 1;
	}

	bool Contains(const typename KeyFuncs::KeyType& Key) const { return Table.FindIndex(Key) != INDEX_NONE; }

	ElementType* Find(const typename KeyFuncs::KeyType& Key)
	{
		const int32 Index = Table.FindIndex(Key);
		return Index == INDEX_NONE ? nullptr : &Table.GetElements()[Index];
	}

	const ElementType* Find(const typename KeyFuncs::KeyType& Key) const
	{
		const int32 Index = Table.FindIndex(Key);
		return Index == INDEX_NONE ? nullptr : &Table.GetElements()[Index];
	}

	int32 Num() const { return Table.Num(); }
	bool IsEmpty() const { return Table.Num() == 0; }
	void Empty(int32 Slack = 0) { Table.Empty(Slack); }
	void Reset() { Table.Reset(); }
	void Reserve(int32 Number) { Table.Reserve(Number); }

	/** Returns the elements as an array, in the set's order. */
	TArray<ElementType> Array() const { return Table.GetElements(); }

	TSet Union(const TSet& Other) const
	{
		TSet Result = *this;
		Result.Append(Other);
		return Result;
	}

	TSet Intersect(const TSet& Other) const
	{
		TSet Result;
		for (const ElementType& Element : *this)
		{
			if (Other.Contains(KeyFuncs::GetSetKey(Element)))
			{
				Result.Add(Element);
			}
		}
		return Result;
	}

	TSet Difference(const TSet& Other) const
	{
		TSet Result;
		for (const ElementType& Element : *this)
		{
			if (!Other.Contains(KeyFuncs::GetSetKey(Element)))
			{
				Result.Add(Element);
			}
		}
		return Result;
	}

	bool Includes(const TSet& Other) const
	{
		for (const ElementType& Element : Other)
		{
			if (!Contains(KeyFuncs::GetSetKey(Element)))
			{
				return false;
			}
		}
		return true;
	}

	const ElementType* begin() const { return Table.GetElements().begin(); }
	const ElementType* end() const { return Table.GetElements().end(); }

private:
	HostEditorContainers::TOrderedHashTable<ElementType, KeyFuncs> Table;
};
