// UAssetRegistryImpl: the editor's asset registry object.
#pragma once

#include "CoreMinimal.h"
#include "AssetRegistry/IAssetRegistry.h"

#include "AssetRegistryImpl.generated.h"

UCLASS(Transient)
class ASSETREGISTRY_API UAssetRegistryImpl : public UAssetRegistry, public IAssetRegistry
{
	GENERATED_BODY()

public:
	/** The one instance, made on first use and kept for the life of the editor. */
	static UAssetRegistryImpl& Get();

	virtual void ScanFilesSynchronous(const TArray<FString>& InFilePaths, bool bForceRescan = false) override;
	virtual bool GetAssetsByClass(FTopLevelAssetPath ClassPathName, TArray<FAssetData>& OutAssetData, bool bSearchSubClasses = false) const override;
};
