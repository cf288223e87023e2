// UPackageTools: editor operations on whole packages.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Package.h"

class UNREALED_API UPackageTools
{
public:
	/**
	 * Unloads packages and every object in them, so a later load reads them from disk again.
	 * Dirty packages are kept (and named in OutErrorMessage) unless bUnloadDirtyPackages.
	 * Returns false when a package was kept.
	 */
	static bool UnloadPackages(const TArray<UPackage*>& PackagesToUnload, FText& OutErrorMessage, bool bUnloadDirtyPackages = false);
};
