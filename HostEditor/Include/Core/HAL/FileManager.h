// IFileManager: the file system operations the engine's code uses.
#pragma once

#include "Containers/Array.h"
#include "Containers/UnrealString.h"
#include "CoreTypes.h"

class CORE_API IFileManager
{
public:
	virtual ~IFileManager() = default;

	/** Returns the process-wide file manager. */
	static IFileManager& Get();

	bool FileExists(const TCHAR* Filename);
	bool DirectoryExists(const TCHAR* Directory);
	/** Creates a folder; with Tree, creates its missing parents too. */
	bool MakeDirectory(const TCHAR* Path, bool Tree = false);
	bool DeleteDirectory(const TCHAR* Path, bool RequireExists = false, bool Tree = false);
	bool Delete(const TCHAR* Filename, bool RequireExists = false, bool EvenReadOnly = false, bool Quiet = false);
	bool Move(const TCHAR* Dest, const TCHAR* Src, bool Replace = true, bool EvenIfReadOnly = false, bool Attributes = false, bool bDoNotRetryOrError = false);
	/** Copies a file; returns 0 (COPY_OK) on success. */
	uint32 Copy(const TCHAR* Dest, const TCHAR* Src, bool Replace = true, bool EvenIfReadOnly = false, bool Attributes = false);
	/** Returns the size in bytes, or -1 when the file does not exist. */
	int64 FileSize(const TCHAR* Filename);
	/** Lists the files (or folders) of one folder matching a wildcard in the last part, such as "Folder/" followed by "*.json". */
	void FindFiles(TArray<FString>& FileNames, const TCHAR* Filename, bool Files, bool Directories);
	void FindFilesRecursive(TArray<FString>& FileNames, const TCHAR* StartDirectory, const TCHAR* Filename, bool Files, bool Directories, bool bClearFileNames = true);
	FString ConvertToAbsolutePathForExternalAppForRead(const TCHAR* Filename);
};

enum
{
	COPY_OK = 0,
	COPY_Fail = 1,
	COPY_Canceled = 2,
};
