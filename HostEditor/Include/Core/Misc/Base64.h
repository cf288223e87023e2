// FBase64: Base64 text for bytes, as the engine encodes it.
#pragma once

#include "Containers/Array.h"
#include "Containers/UnrealString.h"
#include "CoreTypes.h"

enum class EBase64Mode : uint8
{
	Standard,
	UrlSafe,
};

struct CORE_API FBase64
{
	/** Encodes the characters of Source, each narrowed to one byte. */
	static FString Encode(const FString& Source, EBase64Mode Mode = EBase64Mode::Standard);
	static FString Encode(const TArray<uint8>& Source, EBase64Mode Mode = EBase64Mode::Standard);
	static FString Encode(const uint8* Source, uint32 Length, EBase64Mode Mode = EBase64Mode::Standard);

	/** Decodes into bytes each widened to one character; false on invalid text. */
	static bool Decode(const FString& Source, FString& OutDest, EBase64Mode Mode = EBase64Mode::Standard);
	/** Decodes into bytes; false on invalid text. */
	static bool Decode(const FString& Source, TArray<uint8>& OutDest, EBase64Mode Mode = EBase64Mode::Standard);
	static bool Decode(const TCHAR* Source, uint32 Length, uint8* Dest, EBase64Mode Mode = EBase64Mode::Standard);

	/** Returns how many bytes the Base64 text of Length characters decodes to. */
	static uint32 GetDecodedDataSize(const FString& Source);
	static uint32 GetDecodedDataSize(const TCHAR* Source, uint32 Length);
	static uint32 GetEncodedDataSize(uint32 Length) { return ((Length + 2) / 3) * 4; }
};
