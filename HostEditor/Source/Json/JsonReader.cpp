#include "Serialization/JsonReader.h"

namespace
{
	bool IsSurrogate(TCHAR Char) { return (Char & 0xF800) == 0xD800; }
	bool IsHighSurrogate(TCHAR Char) { return (Char & 0xFC00) == 0xD800; }
	bool IsLowSurrogate(TCHAR Char) { return (Char & 0xFC00) == 0xDC00; }

	/**
	 * Returns the index of the first character that no JSON text may hold: a NUL, or a surrogate
	 * without its partner. INDEX_NONE when there is none.
	 */
	int32 FindUnreadableCharacter(const TCHAR* Chars, int32 Length)
	{
		for (int32 Index = 0; Index < Length; ++Index)
		{
			const TCHAR Char = Chars[Index];
			if (Char != 0 && !IsSurrogate(Char))
			{
				continue;
			}
			if (IsHighSurrogate(Char) && Index + 1 < Length && IsLowSurrogate(Chars[Index + 1]))
			{
				++Index;
				continue;
			}
			return Index;
		}
		return INDEX_NONE;
	}
}

TJsonReader<TCHAR>::TJsonReader(const FString& JsonText)
{
	const TCHAR* const Chars = *JsonText;
	const int32 Length = JsonText.Len();
	const int32 BadIndex = FindUnreadableCharacter(Chars, Length);
	if (BadIndex == INDEX_NONE)
	{
		Utf8Text = StringConv::TCharToUtf8(Chars, Length);
		return;
	}

	uint32 Line = 1;
	int32 LineStart = 0;
	for (int32 Index = 0; Index < BadIndex; ++Index)
	{
		if (Chars[Index] == TCHAR('\n'))
		{
			++Line;
			LineStart = Index + 1;
		}
	}
	const TCHAR* const Problem = Chars[BadIndex] == 0 ? TEXT("NUL character") : TEXT("Unpaired UTF-16 surrogate");
	SetError(FString::Printf(TEXT("%s in the text."), Problem), Line, (uint32)(BadIndex - LineStart + 1));
	bConsumed = true;
}

void TJsonReader<TCHAR>::SetError(const FString& Message, uint32 InLineNumber, uint32 InCharacterNumber)
{
	LineNumber = InLineNumber;
	CharacterNumber = InCharacterNumber;
	ErrorMessage = (InLineNumber > 0)
		? FString::Printf(TEXT("%s Line: %u Ch: %u"), *Message, InLineNumber, InCharacterNumber)
		: Message;
}
