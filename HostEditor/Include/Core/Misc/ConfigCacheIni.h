// FConfigCacheIni: the engine's configuration, ini files kept in memory by file name. Values are
// read from the file on first use of a file, changed in memory, and written back by Flush.
#pragma once

#include "CoreMinimal.h"

class CORE_API FConfigCacheIni
{
public:
	FConfigCacheIni();
	~FConfigCacheIni();

	FConfigCacheIni(const FConfigCacheIni&) = delete;
	FConfigCacheIni& operator=(const FConfigCacheIni&) = delete;

	/** The value of Key in Section of the file; false (Value unchanged) when the file, section or key is missing. */
	bool GetString(const TCHAR* Section, const TCHAR* Key, FString& Value, const FString& Filename);
	void SetString(const TCHAR* Section, const TCHAR* Key, const TCHAR* Value, const FString& Filename);

	/** Reads a bool as the engine does: "True", "Yes", "On" and "1" (any case) are true, any other text false. */
	bool GetBool(const TCHAR* Section, const TCHAR* Key, bool& Value, const FString& Filename);
	/** Writes "True" or "False". */
	void SetBool(const TCHAR* Section, const TCHAR* Key, bool Value, const FString& Filename);

	/** Removes a key; true when it was there. */
	bool RemoveKey(const TCHAR* Section, const TCHAR* Key, const FString& Filename);

	/** Writes the file (every changed file when Filename is empty) to disk; bRemoveFromCache drops it from memory. */
	void Flush(bool bRemoveFromCache, const FString& Filename = FString());

private:
	struct FImpl;
	FImpl* Impl;
};

/** The engine's configuration; null before the engine has started it. */
extern CORE_API FConfigCacheIni* GConfig;
