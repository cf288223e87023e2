// TJsonPrintPolicy: how a JSON writer puts characters and numbers into its output.
#pragma once

#include <cstdio>

#include "CoreMinimal.h"

/**
 * The output shared by every print policy: characters, strings and numbers appended to the
 * writer's text. Doubles are written with 17 significant digits, which reads back as the same
 * double and shows integral values without a fraction; floats with 9, the same for a float.
 */
template <class CharType>
struct TJsonPrintPolicy
{
	/** Appends one character. */
	static inline void WriteChar(FString& Stream, CharType Char)
	{
		Stream.AppendChar(Char);
	}

	/** Appends a string. */
	static inline void WriteString(FString& Stream, const FString& String)
	{
		Stream.Append(String);
	}

	/** Appends a NUL-terminated string. */
	static inline void WriteString(FString& Stream, const TCHAR* String)
	{
		Stream.Append(String);
	}

	/** Appends a float with enough digits to read back as the same float. */
	static inline void WriteFloat(FString& Stream, float Value)
	{
		WriteFormattedNumber(Stream, "%.9g", (double)Value);
	}

	/** Appends a double with enough digits to read back as the same double. */
	static inline void WriteDouble(FString& Stream, double Value)
	{
		WriteFormattedNumber(Stream, "%.17g", Value);
	}

private:
	static inline void WriteFormattedNumber(FString& Stream, const ANSICHAR* Format, double Value)
	{
		ANSICHAR Buffer[40];
		const int Length = std::snprintf(Buffer, sizeof(Buffer), Format, Value);
		for (int Index = 0; Index < Length && Index < (int)sizeof(Buffer) - 1; ++Index)
		{
			Stream.AppendChar((TCHAR)Buffer[Index]);
		}
	}
};
