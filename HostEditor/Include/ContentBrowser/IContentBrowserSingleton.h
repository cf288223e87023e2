// IContentBrowserSingleton: the Content Browser as other modules reach it.
#pragma once

#include "AssetRegistry/AssetData.h"
#include "CoreMinimal.h"

class IContentBrowserSingleton
{
public:
	virtual ~IContentBrowserSingleton() = default;

	/** The assets selected in the Content Browser, in selection order. */
	virtual void GetSelectedAssets(TArray<FAssetData>& SelectedAssets) = 0;

	/** Shows the assets in the Content Browser: their folder, with them selected. */
	virtual void SyncBrowserToAssets(const TArray<UObject*>& AssetList, bool bAllowLockedBrowsers = false, bool bFocusContentBrowser = true, const FName& InstanceName = FName(), bool bNewSpawnBrowser = false) = 0;
	virtual void SyncBrowserToAssets(const TArray<FAssetData>& AssetDataList, bool bAllowLockedBrowsers = false, bool bFocusContentBrowser = true, const FName& InstanceName = FName(), bool bNewSpawnBrowser = false) = 0;
};
