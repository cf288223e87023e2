// FAssetData: what the asset registry knows of one asset: its package, name and class.
#pragma once

#include "CoreMinimal.h"
#include "UObject/TopLevelAssetPath.h"

class UObject;

struct COREUOBJECT_API FAssetData
{
	/** The package holding the asset ("/Game/Chars/Hero/Hero"). */
	FName PackageName;
	/** The package's folder ("/Game/Chars/Hero"). */
	FName PackagePath;
	FName AssetName;
	FTopLevelAssetPath AssetClassPath;

	FAssetData() = default;
	/** The data of a loaded asset. */
	explicit FAssetData(const UObject* InAsset);

	bool IsValid() const { return !AssetName.IsNone(); }
	/** "/Game/Chars/Hero/Hero.Hero". */
	FString GetObjectPathString() const;
	/** The asset, loading it when it is not in memory; null when there is none. This host keeps no load tags. */
	UObject* GetAsset(TSet<FName> LoadTags = {}) const;
};
