// UAssetToolsImpl: the editor's asset tools object.
#pragma once

#include "CoreMinimal.h"
#include "IAssetTools.h"

#include "AssetToolsImpl.generated.h"

UCLASS(Transient)
class ASSETTOOLS_API UAssetToolsImpl : public UAssetTools, public IAssetTools
{
	GENERATED_BODY()

public:
	/** The one instance, made on first use and kept for the life of the editor. */
	static UAssetToolsImpl& Get();

	virtual UObject* CreateAsset(const FString& AssetName, const FString& PackagePath, UClass* AssetClass, UFactory* Factory, FName CallingContext = NAME_None) override;
	virtual bool RenameAssets(const TArray<FAssetRenameData>& AssetsAndNames) override;
	virtual UObject* DuplicateAsset(const FString& AssetName, const FString& PackagePath, UObject* OriginalObject) override;
	virtual TArray<UObject*> ImportAssets(const TArray<FString>& Files, const FString& DestinationPath, UFactory* ChosenFactory = nullptr, bool bSyncToBrowser = true, TArray<TPair<FString, FString>>* FilesAndDestinations = nullptr, bool bAllowAsyncImport = false, bool bSceneImport = false) const override;
	virtual void ImportAssetTasks(const TArray<UAssetImportTask*>& ImportTasks) const override;
};
