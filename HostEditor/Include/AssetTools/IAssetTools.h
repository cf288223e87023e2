// IAssetTools: creating, duplicating and renaming assets. Scripts reach it through
// UAssetToolsHelpers::GetAssetTools(); native code through FAssetToolsModule.
#pragma once

#include "CoreMinimal.h"
#include "Kismet/BlueprintFunctionLibrary.h"
#include "UObject/Object.h"
#include "UObject/ObjectPtr.h"

#include "IAssetTools.generated.h"

class UAssetImportTask;
class UFactory;

/** One asset to move: the asset, the folder it moves to and its new name. */
USTRUCT(BlueprintType)
struct FAssetRenameData
{
	GENERATED_BODY()

	FAssetRenameData() = default;
	FAssetRenameData(UObject* InAsset, const FString& InNewPackagePath, const FString& InNewName)
		: Asset(InAsset)
		, NewPackagePath(InNewPackagePath)
		, NewName(InNewName)
	{
	}

	/** The asset to move. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = AssetRenameData)
	TObjectPtr<UObject> Asset = nullptr;

	/** The folder the asset moves to ("/Game/Folder"), without the package name. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = AssetRenameData)
	FString NewPackagePath;

	/** The asset's new name; its object path becomes NewPackagePath/NewName.NewName. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = AssetRenameData)
	FString NewName;
};

/**
 * The native interface of the asset tools. The engine declares it as a UINTERFACE; here the
 * reflected half is UAssetTools (the class scripts see as unreal.AssetTools) and this is the
 * C++ half that native callers use.
 */
class ASSETTOOLS_API IAssetTools
{
public:
	virtual ~IAssetTools() = default;

	/** Returns the asset tools of the running editor. */
	static IAssetTools& Get();

	/**
	 * Creates a new asset of AssetClass named AssetName in the folder PackagePath with Factory
	 * (a factory that can create the class when null). Returns null when an asset already exists
	 * there, the name is invalid or the factory creates nothing. The new package is left unsaved.
	 */
	virtual UObject* CreateAsset(const FString& AssetName, const FString& PackagePath, UClass* AssetClass, UFactory* Factory, FName CallingContext = NAME_None) = 0;
	/** Moves assets to new folders and names; false when any of them could not be moved. */
	virtual bool RenameAssets(const TArray<FAssetRenameData>& AssetsAndNames) = 0;
	/** Copies OriginalObject to a new asset AssetName in PackagePath; null when that exists. */
	virtual UObject* DuplicateAsset(const FString& AssetName, const FString& PackagePath, UObject* OriginalObject) = 0;

	/**
	 * Imports files into the content folder DestinationPath ("/Game/Folder"), as dropping them on
	 * the Content Browser does: each file becomes the asset DestinationPath/<file base name>, made by
	 * ChosenFactory or else by the import factory of the file's extension that claims the file
	 * (factories asked by import priority, highest first; when none claims it, the first of them
	 * imports it and reports why it cannot). An existing asset the factory supports is made anew;
	 * an asset of another class at that path is kept and the file not imported. Failures are logged
	 * and leave no asset or new package behind. Returns the assets made, in file order; they are left
	 * unsaved. With bSyncToBrowser the Content Browser selects them. FilesAndDestinations,
	 * bAllowAsyncImport and bSceneImport select import paths this editor does not have and are ignored.
	 */
	virtual TArray<UObject*> ImportAssets(const TArray<FString>& Files, const FString& DestinationPath, UFactory* ChosenFactory = nullptr, bool bSyncToBrowser = true, TArray<TPair<FString, FString>>* FilesAndDestinations = nullptr, bool bAllowAsyncImport = false, bool bSceneImport = false) const = 0;

	/**
	 * Imports each task's file into its DestinationPath, under its DestinationName (the file's base
	 * name when empty), with its Factory or else the factory of the file's extension; an FBX factory
	 * takes the task's UFbxImportUI Options. An existing asset is replaced only with bReplaceExisting
	 * (otherwise the file is skipped); bSave saves what was made. Each task's result (its objects and
	 * ImportedObjectPaths) is set; a file that fails leaves nothing behind and the others still import.
	 * No dialog is shown: this editor has nobody to ask, as in an automated import.
	 */
	virtual void ImportAssetTasks(const TArray<UAssetImportTask*>& ImportTasks) const = 0;
};

/** The reflected face of IAssetTools, under the name scripts know it by. */
UCLASS(Abstract, meta = (ScriptName = "AssetTools"))
class ASSETTOOLS_API UAssetTools : public UObject
{
	GENERATED_BODY()

public:
	/** Creates a new asset; see IAssetTools::CreateAsset. */
	UFUNCTION(BlueprintCallable, Category = "Editor Scripting | Asset Tools")
	UObject* CreateAsset(const FString& AssetName, const FString& PackagePath, UClass* AssetClass, UFactory* Factory, FName CallingContext = NAME_None);

	/** Moves assets; see IAssetTools::RenameAssets. */
	UFUNCTION(BlueprintCallable, Category = "Editor Scripting | Asset Tools")
	bool RenameAssets(const TArray<FAssetRenameData>& AssetsAndNames);

	/** Copies an asset; see IAssetTools::DuplicateAsset. */
	UFUNCTION(BlueprintCallable, Category = "Editor Scripting | Asset Tools")
	UObject* DuplicateAsset(const FString& AssetName, const FString& PackagePath, UObject* OriginalObject);

	/** Imports files as the tasks say; see IAssetTools::ImportAssetTasks. */
	UFUNCTION(BlueprintCallable, Category = "Editor Scripting | Asset Tools")
	void ImportAssetTasks(const TArray<UAssetImportTask*>& ImportTasks);
};

/** Gives scripts the asset tools. */
UCLASS(MinimalAPI)
class ASSETTOOLS_API UAssetToolsHelpers : public UBlueprintFunctionLibrary
{
	GENERATED_BODY()

public:
	/** Returns the editor's asset tools. */
	UFUNCTION(BlueprintCallable, Category = "Editor Scripting | Asset Tools")
	static UAssetTools* GetAssetTools();
};
