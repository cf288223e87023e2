// UEditorLoadingAndSavingUtils: saving packages to their files.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Package.h"

class UNREALED_API UEditorLoadingAndSavingUtils
{
public:
	/**
	 * Saves each package to the file its name maps to ("/Game/A/B" to Content/A/B.uasset); with
	 * bOnlyDirty, packages without unsaved changes are skipped. False when any save failed.
	 */
	static bool SavePackages(const TArray<UPackage*>& PackagesToSave, bool bOnlyDirty);

	/**
	 * Saves every package with unsaved changes, as File > Save All does; the headless editor has
	 * no map packages, so bSaveMapPackages changes nothing. False when any save failed.
	 */
	static bool SaveDirtyPackages(const bool bSaveMapPackages, const bool bSaveContentPackages);
};
