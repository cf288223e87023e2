// FFileHelper: whole-file reads and writes of text and bytes.
#pragma once

#include "Containers/Array.h"
#include "Containers/StringView.h"
#include "Containers/UnrealString.h"
#include "CoreTypes.h"
#include "HAL/FileManager.h"

struct CORE_API FFileHelper
{
	enum class EHashOptions
	{
		None = 0,
		EnableVerify = 1 << 0,
		ErrorMissingHash = 1 << 1,
	};

	enum class EEncodingOptions
	{
		AutoDetect,
		ForceAnsi,
		ForceUnicode,
		ForceUTF8,
		ForceUTF8WithoutBOM,
	};

	/** Reads a whole file into bytes; false when it cannot be read. */
	static bool LoadFileToArray(TArray<uint8>& Result, const TCHAR* Filename, uint32 Flags = 0);
	/**
	 * Reads a whole text file. A UTF-16 byte-order mark selects UTF-16, a UTF-8 mark is skipped, and
	 * text without a mark is read as UTF-8.
	 */
	static bool LoadFileToString(FString& Result, const TCHAR* Filename, EHashOptions VerifyFlags = EHashOptions::None, uint32 ReadFlags = 0);
	static bool LoadFileToStringArray(TArray<FString>& Result, const TCHAR* Filename);
	/** Turns file bytes into text by the rules of LoadFileToString. */
	static void BufferToString(FString& Result, const uint8* Buffer, int32 Size);
	static bool SaveArrayToFile(const TArray<uint8>& Array, const TCHAR* Filename, uint32 WriteFlags = 0);
	/**
	 * Writes text to a file, creating missing folders. AutoDetect writes ANSI when every character fits
	 * one byte, else UTF-16 with a byte-order mark, as the engine does. This host has the one file
	 * manager, which writes to disk.
	 */
	static bool SaveStringToFile(FStringView String, const TCHAR* Filename, EEncodingOptions EncodingOptions = EEncodingOptions::AutoDetect, IFileManager* FileManager = &IFileManager::Get(), uint32 WriteFlags = 0);
	static bool SaveStringArrayToFile(const TArray<FString>& Lines, const TCHAR* Filename, EEncodingOptions EncodingOptions = EEncodingOptions::AutoDetect, IFileManager* FileManager = &IFileManager::Get(), uint32 WriteFlags = 0);
};
