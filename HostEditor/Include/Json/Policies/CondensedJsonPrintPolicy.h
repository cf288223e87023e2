// TCondensedJsonPrintPolicy: JSON output without any whitespace.
#pragma once

#include "Policies/JsonPrintPolicy.h"

/** Writes JSON as compactly as possible: no line breaks, indentation or spaces. */
template <class CharType>
struct TCondensedJsonPrintPolicy : public TJsonPrintPolicy<CharType>
{
	/** Writes nothing: condensed output has no line breaks. */
	static inline void WriteLineTerminator(FString& Stream) {}

	/** Writes nothing: condensed output has no indentation. */
	static inline void WriteTabs(FString& Stream, int32 Count) {}

	/** Writes nothing: condensed output has no spaces. */
	static inline void WriteSpace(FString& Stream) {}
};
