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
};
