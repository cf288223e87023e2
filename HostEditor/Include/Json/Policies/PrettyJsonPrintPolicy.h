// TPrettyJsonPrintPolicy: JSON output laid out on indented lines.
#pragma once

#include "Policies/JsonPrintPolicy.h"

/** Writes JSON for people to read: a line per field or element, indented with one tab per level. */
template <class CharType>
struct TPrettyJsonPrintPolicy : public TJsonPrintPolicy<CharType>
{
	/** Ends the line. */
	static inline void WriteLineTerminator(FString& Stream)
	{
		TJsonPrintPolicy<CharType>::WriteString(Stream, LINE_TERMINATOR);
	}

	/** Indents by Count tabs. */
	static inline void WriteTabs(FString& Stream, int32 Count)
	{
		for (int32 Index = 0; Index < Count; ++Index)
		{
			TJsonPrintPolicy<CharType>::WriteChar(Stream, CharType('\t'));
		}
	}

	/** Writes one space. */
	static inline void WriteSpace(FString& Stream)
	{
		TJsonPrintPolicy<CharType>::WriteChar(Stream, CharType(' '));
	}
};
