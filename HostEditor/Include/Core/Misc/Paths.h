// FPaths: path text operations and the folders of the running project.
#pragma once

#include "Containers/UnrealString.h"
#include "CoreTypes.h"

class CORE_API FPaths
{
public:
	/** The project's folder, with a trailing slash. */
	static FString ProjectDir();
	static FString ProjectContentDir();
	static FString ProjectIntermediateDir();
	static FString ProjectSavedDir();
	static FString ProjectConfigDir();
	static FString ProjectPluginsDir();
	static FString ProjectLogDir();
	static FString EngineDir();
	/** The folder that holds the engine folder (and the project templates beside it). */
	static FString RootDir();
	static FString GetProjectFilePath();

	static bool FileExists(const FString& InPath);
	static bool DirectoryExists(const FString& InPath);

	/** Returns the extension without its dot, or with it when bIncludeDot. */
	static FString GetExtension(const FString& InPath, bool bIncludeDot = false);
	/** Returns the file name with its extension. */
	static FString GetCleanFilename(const FString& InPath);
	/** Returns the file name without extension; with bRemovePath false the folder stays. */
	static FString GetBaseFilename(const FString& InPath, bool bRemovePath = true);
	/** Returns the folder part of a path, without a trailing slash. */
	static FString GetPath(const FString& InPath);
	static FString GetPathLeaf(const FString& InPath);
	static FString ChangeExtension(const FString& InPath, const FString& InNewExtension);
	static FString SetExtension(const FString& InPath, const FString& InNewExtension);

	static bool IsRelative(const FString& InPath);
	static void NormalizeFilename(FString& InPath);
	static void NormalizeDirectoryName(FString& InPath);
	/** Removes "." and "folder/.." parts; false when ".." climbs above the root. */
	static bool CollapseRelativeDirectories(FString& InPath);
	static void RemoveDuplicateSlashes(FString& InPath);
	static FString ConvertRelativePathToFull(const FString& InPath);
	static FString ConvertRelativePathToFull(const FString& BasePath, const FString& InPath);
	static void MakeStandardFilename(FString& InPath);
	static void MakePlatformFilename(FString& InPath);
	static bool MakePathRelativeTo(FString& InPath, const TCHAR* InRelativeTo);
	static bool IsSamePath(const FString& PathA, const FString& PathB);

	/** Joins path parts with single slashes. */
	template <typename... PathTypes>
	static FString Combine(PathTypes&&... InPaths)
	{
		const FString Parts[] = {FString(InPaths)...};
		FString Result;
		for (const FString& Part : Parts)
		{
			if (Part.IsEmpty())
			{
				continue;
			}
			if (Result.IsEmpty())
			{
				Result = Part;
			}
			else
			{
				Result /= Part;
			}
		}
		return Result;
	}
};
