// TArrayView: the engine's non-owning view of a contiguous run of elements.
#pragma once

#include <type_traits>

#include "CoreTypes.h"
#include "Containers/Array.h"
#include "Misc/AssertionMacros.h"

/**
 * A pointer and a count over elements someone else owns; it stays valid only as long as they do.
 * A view of const elements is made from any array of the same element type.
 */
template <typename InElementType, typename InSizeType = int32>
class TArrayView
{
public:
	typedef InElementType ElementType;
	typedef InSizeType SizeType;

	TArrayView() = default;

	/** A view of Count elements starting at InData. */
	TArrayView(ElementType* InData, SizeType InCount)
		: DataPtr(InData)
		, ArrayNum(InCount)
	{
		check(ArrayNum >= 0);
	}

	/** A view of every element of Other. */
	template <typename OtherElementType, typename = std::enable_if_t<std::is_convertible_v<OtherElementType (*)[], ElementType (*)[]>>>
	TArrayView(TArray<OtherElementType>& Other)
		: DataPtr(Other.GetData())
		, ArrayNum(Other.Num())
	{
	}

	/** A view of every element of Other, for a view of const elements. */
	template <typename OtherElementType, typename = std::enable_if_t<std::is_convertible_v<const OtherElementType (*)[], ElementType (*)[]>>>
	TArrayView(const TArray<OtherElementType>& Other)
		: DataPtr(Other.GetData())
		, ArrayNum(Other.Num())
	{
	}

	/** Returns the number of elements in view. */
	SizeType Num() const { return ArrayNum; }

	/** Returns true when Index addresses an element of the view. */
	bool IsValidIndex(SizeType Index) const { return Index >= 0 && Index < ArrayNum; }

	/** Returns the first element's address (null for an empty view). */
	ElementType* GetData() const { return DataPtr; }

	ElementType& operator[](SizeType Index) const
	{
		check(IsValidIndex(Index));
		return DataPtr[Index];
	}

	ElementType* begin() const { return DataPtr; }
	ElementType* end() const { return DataPtr + ArrayNum; }

private:
	ElementType* DataPtr = nullptr;
	SizeType ArrayNum = 0;
};
