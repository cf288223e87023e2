// FPackageName: conversions between long package names ("/Game/Folder/Asset"), object paths and files.
#pragma once

#include "CoreMinimal.h"

class COREUOBJECT_API FPackageName
{
public:
	/** The extension of asset package files, with its dot. */
	static FString GetAssetPackageExtension() { return TEXT(".uasset"); }

	/**
	 * True when the name is a long package name under a mounted root: it starts with a root such
	 * as "/Game/", has no empty folder, no trailing slash and none of the characters a package
	 * name may not hold. OutReason says why not.
	 */
	static bool IsValidLongPackageName(const FString& InLongPackageName, bool bIncludeReadOnlyRoots = false, FText* OutReason = nullptr);
	/** True when the text is a valid object path: a valid package name, '.', a valid object name. */
	static bool IsValidObjectPath(const FString& InObjectPath, FText* OutReason = nullptr);

	/** Converts "/Game/A/B" to the file below the root's content folder, with InExtension appended. */
	static bool TryConvertLongPackageNameToFilename(const FString& InLongPackageName, FString& OutFilename, const FString& InExtension = TEXT(""));
	static FString LongPackageNameToFilename(const FString& InLongPackageName, const FString& InExtension = TEXT(""));
	/** Converts a file or folder below a mounted content folder to its long package name. */
	static bool TryConvertFilenameToLongPackageName(const FString& InFilename, FString& OutPackageName, FString* OutFailureReason = nullptr);

	/** True when the package's file exists on disk. */
	static bool DoesPackageExist(const FString& LongPackageName, FString* OutFilename = nullptr);

	/** "/Game/A/B.B:Sub" to "/Game/A/B". */
	static FString ObjectPathToPackageName(const FString& InObjectPath);
	/** "/Game/A/B.B:Sub" to "B:Sub"; the whole text when there is no '.'. */
	static FString ObjectPathToObjectName(const FString& InObjectPath);
	/** "/Game/A/B" to "B". */
	static FString GetLongPackageAssetName(const FString& InLongPackageName);
	/** "/Game/A/B" to "/Game/A". */
	static FString GetLongPackagePath(const FString& InLongPackageName);

	/** Mounts a content folder under a root ("/MyPlugin/"). "/Game/" is always the project's Content folder. */
	static void RegisterMountPoint(const FString& RootPath, const FString& ContentPath);
	static void UnRegisterMountPoint(const FString& RootPath, const FString& ContentPath);
	/** The mounted roots, each with its leading and trailing slash. */
	static void QueryRootContentPaths(TArray<FString>& OutRootContentPaths);
};
