// TArray: the engine's contiguous, growable array of values.
#pragma once

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <new>
#include <type_traits>

#include "CoreTypes.h"
#include "Templates/TypeHash.h"
#include "Templates/UnrealTemplate.h"

namespace EAllowShrinking
{
	enum Type
	{
		No,
		Yes,
	};
}

/** Wraps a pointer so that sorting compares what it points to, as the engine's TArray::Sort does. */
template <typename T, typename PredicateType>
struct TDereferenceWrapper
{
	const PredicateType& Predicate;
	bool operator()(const T& A, const T& B) const { return Predicate(A, B); }
};

template <typename T, typename PredicateType>
struct TDereferenceWrapper<T*, PredicateType>
{
	const PredicateType& Predicate;
	bool operator()(T* A, T* B) const { return Predicate(*A, *B); }
};

template <typename InElementType>
class TArray
{
public:
	typedef InElementType ElementType;
	typedef int32 SizeType;

	TArray() = default;

	TArray(std::initializer_list<ElementType> InitList)
	{
		Reserve((int32)InitList.size());
		for (const ElementType& Element : InitList)
		{
			Emplace(Element);
		}
	}

	TArray(const ElementType* Ptr, int32 Count)
	{
		Append(Ptr, Count);
	}

	TArray(const TArray& Other)
	{
		Append(Other);
	}

	TArray(TArray&& Other) noexcept
		: Data(Other.Data)
		, ArrayNum(Other.ArrayNum)
		, ArrayMax(Other.ArrayMax)
	{
		Other.Data = nullptr;
		Other.ArrayNum = 0;
		Other.ArrayMax = 0;
	}

	~TArray()
	{
		DestructRange(0, ArrayNum);
		::operator delete(Data);
	}

	TArray& operator=(const TArray& Other)
	{
		if (this != &Other)
		{
			Reset(Other.ArrayNum);
			Append(Other);
		}
		return *this;
	}

	TArray& operator=(TArray&& Other) noexcept
	{
		if (this != &Other)
		{
			DestructRange(0, ArrayNum);
			::operator delete(Data);
			Data = Other.Data;
			ArrayNum = Other.ArrayNum;
			ArrayMax = Other.ArrayMax;
			Other.Data = nullptr;
			Other.ArrayNum = 0;
			Other.ArrayMax = 0;
		}
		return *this;
	}

	TArray& operator=(std::initializer_list<ElementType> InitList)
	{
		Reset((int32)InitList.size());
		for (const ElementType& Element : InitList)
		{
			Emplace(Element);
		}
		return *this;
	}

	/** Returns the number of elements. */
	int32 Num() const { return ArrayNum; }
	/** Returns the number of elements the current allocation holds. */
	int32 Max() const { return ArrayMax; }
	/** Returns true when the array holds no element. */
	bool IsEmpty() const { return ArrayNum == 0; }
	/** Returns true when Index addresses an element. */
	bool IsValidIndex(int32 Index) const { return Index >= 0 && Index < ArrayNum; }

	ElementType* GetData() { return Data; }
	const ElementType* GetData() const { return Data; }
	/** Returns the size in bytes of one element. */
	static constexpr uint32 GetTypeSize() { return sizeof(ElementType); }

	ElementType& operator[](int32 Index)
	{
		RangeCheck(Index);
		return Data[Index];
	}

	const ElementType& operator[](int32 Index) const
	{
		RangeCheck(Index);
		return Data[Index];
	}

	/** Returns the element IndexFromTheEnd places before the end (0 is the last). */
	ElementType& Last(int32 IndexFromTheEnd = 0)
	{
		RangeCheck(ArrayNum - IndexFromTheEnd - 1);
		return Data[ArrayNum - IndexFromTheEnd - 1];
	}

	const ElementType& Last(int32 IndexFromTheEnd = 0) const
	{
		RangeCheck(ArrayNum - IndexFromTheEnd - 1);
		return Data[ArrayNum - IndexFromTheEnd - 1];
	}

	ElementType& Top() { return Last(); }
	const ElementType& Top() const { return Last(); }

	/** Removes and returns the last element. */
	ElementType Pop(bool bAllowShrinking = true)
	{
		RangeCheck(0);
		ElementType Result = MoveTemp(Data[ArrayNum - 1]);
		RemoveAt(ArrayNum - 1, 1, bAllowShrinking);
		return Result;
	}

	void Push(const ElementType& Item) { Add(Item); }
	void Push(ElementType&& Item) { Add(MoveTemp(Item)); }

	/** Constructs an element at the end from the arguments and returns its index. */
	template <typename... ArgsType>
	int32 Emplace(ArgsType&&... Args)
	{
		const int32 Index = AddUninitializedSlots(1);
		new (Data + Index) ElementType(Forward<ArgsType>(Args)...);
		return Index;
	}

	/** Constructs an element at the end from the arguments and returns it. */
	template <typename... ArgsType>
	ElementType& Emplace_GetRef(ArgsType&&... Args)
	{
		// The index first: emplacing may move the storage that Data points at.
		const int32 Index = Emplace(Forward<ArgsType>(Args)...);
		return Data[Index];
	}

	int32 Add(const ElementType& Item) { return Emplace(Item); }
	int32 Add(ElementType&& Item) { return Emplace(MoveTemp(Item)); }
	ElementType& Add_GetRef(const ElementType& Item) { return Emplace_GetRef(Item); }
	ElementType& Add_GetRef(ElementType&& Item) { return Emplace_GetRef(MoveTemp(Item)); }

	/** Adds Item unless an equal element is present; returns the index of the element. */
	int32 AddUnique(const ElementType& Item)
	{
		const int32 Existing = Find(Item);
		return Existing != INDEX_NONE ? Existing : Add(Item);
	}

	/** Adds Count value-initialised elements and returns the index of the first. */
	int32 AddDefaulted(int32 Count = 1)
	{
		const int32 Index = AddUninitializedSlots(Count);
		for (int32 I = 0; I < Count; ++I)
		{
			new (Data + Index + I) ElementType();
		}
		return Index;
	}

	ElementType& AddDefaulted_GetRef()
	{
		const int32 Index = AddDefaulted(1);
		return Data[Index];
	}

	/** Adds Count zeroed elements and returns the index of the first. */
	int32 AddZeroed(int32 Count = 1)
	{
		static_assert(std::is_trivially_copyable_v<ElementType>, "AddZeroed needs a trivially copyable type");
		const int32 Index = AddUninitializedSlots(Count);
		std::memset((void*)(Data + Index), 0, sizeof(ElementType) * Count);
		return Index;
	}

	/** Adds Count elements without constructing them (trivial types only). */
	int32 AddUninitialized(int32 Count = 1)
	{
		static_assert(std::is_trivially_copyable_v<ElementType>, "AddUninitialized needs a trivially copyable type");
		return AddUninitializedSlots(Count);
	}

	void Append(const ElementType* Ptr, int32 Count)
	{
		Reserve(ArrayNum + Count);
		for (int32 I = 0; I < Count; ++I)
		{
			new (Data + ArrayNum) ElementType(Ptr[I]);
			++ArrayNum;
		}
	}

	template <typename OtherElementType>
	void Append(const TArray<OtherElementType>& Source)
	{
		Reserve(ArrayNum + Source.Num());
		for (const OtherElementType& Element : Source)
		{
			Emplace(Element);
		}
	}

	void Append(TArray&& Source)
	{
		Reserve(ArrayNum + Source.Num());
		for (ElementType& Element : Source)
		{
			Emplace(MoveTemp(Element));
		}
		Source.Empty();
	}

	void Append(std::initializer_list<ElementType> InitList)
	{
		for (const ElementType& Element : InitList)
		{
			Emplace(Element);
		}
	}

	TArray& operator+=(const TArray& Other)
	{
		Append(Other);
		return *this;
	}

	/** Inserts Item before Index and returns Index. */
	int32 Insert(const ElementType& Item, int32 Index) { return EmplaceAt(Index, Item); }
	int32 Insert(ElementType&& Item, int32 Index) { return EmplaceAt(Index, MoveTemp(Item)); }

	/** Inserts the elements of Items before InIndex and returns InIndex. */
	int32 Insert(const TArray& Items, int32 InIndex)
	{
		check(InIndex >= 0 && InIndex <= ArrayNum);
		TArray Tail;
		Tail.Reserve(ArrayNum - InIndex);
		for (int32 I = InIndex; I < ArrayNum; ++I)
		{
			Tail.Emplace(MoveTemp(Data[I]));
		}
		SetNum(InIndex);
		Append(Items);
		Append(MoveTemp(Tail));
		return InIndex;
	}

	template <typename... ArgsType>
	int32 EmplaceAt(int32 Index, ArgsType&&... Args)
	{
		check(Index >= 0 && Index <= ArrayNum);
		ElementType NewElement(Forward<ArgsType>(Args)...);
		AddUninitializedSlots(1);
		if (Index == ArrayNum - 1)
		{
			new (Data + Index) ElementType(MoveTemp(NewElement));
			return Index;
		}
		new (Data + ArrayNum - 1) ElementType(MoveTemp(Data[ArrayNum - 2]));
		for (int32 I = ArrayNum - 2; I > Index; --I)
		{
			Data[I] = MoveTemp(Data[I - 1]);
		}
		Data[Index] = MoveTemp(NewElement);
		return Index;
	}

	/** Removes Count elements starting at Index, keeping the order of the rest. */
	void RemoveAt(int32 Index, int32 Count = 1, bool bAllowShrinking = true)
	{
		(void)bAllowShrinking;
		if (Count <= 0)
		{
			return;
		}
		check(Index >= 0 && Index + Count <= ArrayNum);
		for (int32 I = Index; I + Count < ArrayNum; ++I)
		{
			Data[I] = MoveTemp(Data[I + Count]);
		}
		DestructRange(ArrayNum - Count, ArrayNum);
		ArrayNum -= Count;
	}

	void RemoveAt(int32 Index, int32 Count, EAllowShrinking::Type AllowShrinking)
	{
		RemoveAt(Index, Count, AllowShrinking == EAllowShrinking::Yes);
	}

	/** Removes Count elements starting at Index by moving the last elements into the gap. */
	void RemoveAtSwap(int32 Index, int32 Count = 1, bool bAllowShrinking = true)
	{
		(void)bAllowShrinking;
		check(Index >= 0 && Count >= 0 && Index + Count <= ArrayNum);
		for (int32 I = 0; I < Count; ++I)
		{
			const int32 Target = Index + I;
			const int32 Source = ArrayNum - 1 - I;
			if (Source > Target && Source >= Index + Count)
			{
				Data[Target] = MoveTemp(Data[Source]);
			}
		}
		DestructRange(ArrayNum - Count, ArrayNum);
		ArrayNum -= Count;
	}

	/** Removes every element equal to Item and returns how many were removed. */
	int32 Remove(const ElementType& Item)
	{
		return RemoveAll([&Item](const ElementType& Element) { return Element == Item; });
	}

	/** Removes the first element equal to Item; returns 1 when one was removed. */
	int32 RemoveSingle(const ElementType& Item)
	{
		const int32 Index = Find(Item);
		if (Index == INDEX_NONE)
		{
			return 0;
		}
		RemoveAt(Index);
		return 1;
	}

	int32 RemoveSwap(const ElementType& Item)
	{
		return Remove(Item);
	}

	/** Removes every element that satisfies Predicate and returns how many were removed. */
	template <typename PredicateType>
	int32 RemoveAll(const PredicateType& Predicate)
	{
		int32 WriteIndex = 0;
		for (int32 ReadIndex = 0; ReadIndex < ArrayNum; ++ReadIndex)
		{
			if (!Predicate(Data[ReadIndex]))
			{
				if (WriteIndex != ReadIndex)
				{
					Data[WriteIndex] = MoveTemp(Data[ReadIndex]);
				}
				++WriteIndex;
			}
		}
		const int32 Removed = ArrayNum - WriteIndex;
		DestructRange(WriteIndex, ArrayNum);
		ArrayNum = WriteIndex;
		return Removed;
	}

	template <typename PredicateType>
	void RemoveAllSwap(const PredicateType& Predicate, bool bAllowShrinking = true)
	{
		(void)bAllowShrinking;
		RemoveAll(Predicate);
	}

	/** Destroys every element and, unless Slack asks to keep it, the allocation. */
	void Empty(int32 Slack = 0)
	{
		DestructRange(0, ArrayNum);
		ArrayNum = 0;
		if (Slack == 0)
		{
			::operator delete(Data);
			Data = nullptr;
			ArrayMax = 0;
		}
		else
		{
			Reserve(Slack);
		}
	}

	/** Destroys every element and keeps the allocation, growing it to NewSize when needed. */
	void Reset(int32 NewSize = 0)
	{
		DestructRange(0, ArrayNum);
		ArrayNum = 0;
		Reserve(NewSize);
	}

	void Reserve(int32 Number)
	{
		if (Number > ArrayMax)
		{
			Reallocate(Number);
		}
	}

	void Shrink()
	{
		if (ArrayMax != ArrayNum)
		{
			Reallocate(ArrayNum);
		}
	}

	/** Resizes to NewNum elements, value-initialising new ones. */
	void SetNum(int32 NewNum, bool bAllowShrinking = true)
	{
		(void)bAllowShrinking;
		check(NewNum >= 0);
		if (NewNum > ArrayNum)
		{
			AddDefaulted(NewNum - ArrayNum);
		}
		else if (NewNum < ArrayNum)
		{
			RemoveAt(NewNum, ArrayNum - NewNum);
		}
	}

	void SetNumZeroed(int32 NewNum, bool bAllowShrinking = true)
	{
		SetNum(NewNum, bAllowShrinking);
	}

	void SetNumUninitialized(int32 NewNum, bool bAllowShrinking = true)
	{
		static_assert(std::is_trivially_copyable_v<ElementType>, "SetNumUninitialized needs a trivially copyable type");
		if (NewNum > ArrayNum)
		{
			AddUninitializedSlots(NewNum - ArrayNum);
		}
		else
		{
			SetNum(NewNum, bAllowShrinking);
		}
	}

	void Init(const ElementType& Element, int32 Number)
	{
		Reset(Number);
		for (int32 I = 0; I < Number; ++I)
		{
			Add(Element);
		}
	}

	/** Returns the index of the first element equal to Item, or INDEX_NONE. */
	int32 Find(const ElementType& Item) const
	{
		for (int32 I = 0; I < ArrayNum; ++I)
		{
			if (Data[I] == Item)
			{
				return I;
			}
		}
		return INDEX_NONE;
	}

	bool Find(const ElementType& Item, int32& Index) const
	{
		Index = Find(Item);
		return Index != INDEX_NONE;
	}

	/** Returns the index of the last element equal to Item, or INDEX_NONE. */
	int32 FindLast(const ElementType& Item) const
	{
		for (int32 I = ArrayNum - 1; I >= 0; --I)
		{
			if (Data[I] == Item)
			{
				return I;
			}
		}
		return INDEX_NONE;
	}

	bool FindLast(const ElementType& Item, int32& Index) const
	{
		Index = FindLast(Item);
		return Index != INDEX_NONE;
	}

	template <typename KeyType>
	int32 IndexOfByKey(const KeyType& Key) const
	{
		for (int32 I = 0; I < ArrayNum; ++I)
		{
			if (Data[I] == Key)
			{
				return I;
			}
		}
		return INDEX_NONE;
	}

	template <typename PredicateType>
	int32 IndexOfByPredicate(const PredicateType& Predicate) const
	{
		for (int32 I = 0; I < ArrayNum; ++I)
		{
			if (Predicate(Data[I]))
			{
				return I;
			}
		}
		return INDEX_NONE;
	}

	template <typename KeyType>
	ElementType* FindByKey(const KeyType& Key)
	{
		const int32 Index = IndexOfByKey(Key);
		return Index == INDEX_NONE ? nullptr : Data + Index;
	}

	template <typename KeyType>
	const ElementType* FindByKey(const KeyType& Key) const
	{
		const int32 Index = IndexOfByKey(Key);
		return Index == INDEX_NONE ? nullptr : Data + Index;
	}

	template <typename PredicateType>
	ElementType* FindByPredicate(const PredicateType& Predicate)
	{
		const int32 Index = IndexOfByPredicate(Predicate);
		return Index == INDEX_NONE ? nullptr : Data + Index;
	}

	template <typename PredicateType>
	const ElementType* FindByPredicate(const PredicateType& Predicate) const
	{
		const int32 Index = IndexOfByPredicate(Predicate);
		return Index == INDEX_NONE ? nullptr : Data + Index;
	}

	template <typename PredicateType>
	TArray FilterByPredicate(const PredicateType& Predicate) const
	{
		TArray Result;
		for (const ElementType& Element : *this)
		{
			if (Predicate(Element))
			{
				Result.Add(Element);
			}
		}
		return Result;
	}

	template <typename ComparisonType>
	bool Contains(const ComparisonType& Item) const
	{
		for (int32 I = 0; I < ArrayNum; ++I)
		{
			if (Data[I] == Item)
			{
				return true;
			}
		}
		return false;
	}

	template <typename PredicateType>
	bool ContainsByPredicate(const PredicateType& Predicate) const
	{
		return IndexOfByPredicate(Predicate) != INDEX_NONE;
	}

	/** Sorts with operator<; arrays of pointers are sorted by what they point to. */
	void Sort()
	{
		Sort(TLess<>());
	}

	template <typename PredicateType>
	void Sort(const PredicateType& Predicate)
	{
		std::sort(Data, Data + ArrayNum, TDereferenceWrapper<ElementType, PredicateType>{Predicate});
	}

	void StableSort()
	{
		StableSort(TLess<>());
	}

	template <typename PredicateType>
	void StableSort(const PredicateType& Predicate)
	{
		std::stable_sort(Data, Data + ArrayNum, TDereferenceWrapper<ElementType, PredicateType>{Predicate});
	}

	void Swap(int32 A, int32 B)
	{
		RangeCheck(A);
		RangeCheck(B);
		::Swap(Data[A], Data[B]);
	}

	bool operator==(const TArray& Other) const
	{
		if (ArrayNum != Other.ArrayNum)
		{
			return false;
		}
		for (int32 I = 0; I < ArrayNum; ++I)
		{
			if (!(Data[I] == Other.Data[I]))
			{
				return false;
			}
		}
		return true;
	}

	bool operator!=(const TArray& Other) const { return !(*this == Other); }

	ElementType* begin() { return Data; }
	ElementType* end() { return Data + ArrayNum; }
	const ElementType* begin() const { return Data; }
	const ElementType* end() const { return Data + ArrayNum; }

	/** Returns the bytes the allocation takes. */
	SIZE_T GetAllocatedSize() const { return (SIZE_T)ArrayMax * sizeof(ElementType); }

private:
	void RangeCheck(int32 Index) const
	{
		check(Index >= 0 && Index < ArrayNum);
	}

	int32 AddUninitializedSlots(int32 Count)
	{
		check(Count >= 0);
		const int32 OldNum = ArrayNum;
		if (OldNum + Count > ArrayMax)
		{
			Reallocate(std::max(OldNum + Count, ArrayMax < 4 ? 4 : ArrayMax + ArrayMax / 2));
		}
		ArrayNum += Count;
		return OldNum;
	}

	void Reallocate(int32 NewMax)
	{
		ElementType* NewData = NewMax > 0 ? static_cast<ElementType*>(::operator new(sizeof(ElementType) * (SIZE_T)NewMax)) : nullptr;
		for (int32 I = 0; I < ArrayNum; ++I)
		{
			new (NewData + I) ElementType(MoveTemp(Data[I]));
			Data[I].~ElementType();
		}
		::operator delete(Data);
		Data = NewData;
		ArrayMax = NewMax;
	}

	void DestructRange(int32 From, int32 To)
	{
		if constexpr (!std::is_trivially_destructible_v<ElementType>)
		{
			for (int32 I = From; I < To; ++I)
			{
				Data[I].~ElementType();
			}
		}
	}

	ElementType* Data = nullptr;
	int32 ArrayNum = 0;
	int32 ArrayMax = 0;
};

template <typename T>
uint32 GetTypeHash(const TArray<T>& Array)
{
	uint32 Hash = 0;
	for (const T& Element : Array)
	{
		Hash = HashCombine(Hash, GetTypeHash(Element));
	}
	return Hash;
}
