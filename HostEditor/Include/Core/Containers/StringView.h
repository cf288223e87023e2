// TStringView: a view of characters someone else keeps: a pointer and a length, no terminator needed.
#pragma once

#include <type_traits>

#include "Containers/StringFwd.h"
#include "Containers/UnrealString.h"
#include "HAL/Platform.h"

template <typename CharType>
class TStringView
{
public:
	using ElementType = CharType;

	constexpr TStringView() = default;

	/** Views a zero-terminated string. */
	TStringView(const CharType* InData)
		: DataPtr(InData)
		, Size(InData ? Length(InData) : 0)
	{
	}

	constexpr TStringView(const CharType* InData, int32 InSize)
		: DataPtr(InData)
		, Size(InSize)
	{
	}

	/** Views the characters of a string, which must outlive the view. */
	template <typename StringType>
		requires std::is_same_v<StringType, FString> && std::is_same_v<CharType, TCHAR>
	TStringView(const StringType& InString)
		: DataPtr(*InString)
		, Size(InString.Len())
	{
	}

	const CharType* GetData() const { return DataPtr; }
	int32 Len() const { return Size; }
	bool IsEmpty() const { return Size == 0; }
	const CharType& operator[](int32 Index) const { return DataPtr[Index]; }

private:
	static int32 Length(const CharType* InData)
	{
		int32 Count = 0;
		while (InData[Count] != 0)
		{
			++Count;
		}
		return Count;
	}

	const CharType* DataPtr = nullptr;
	int32 Size = 0;
};
