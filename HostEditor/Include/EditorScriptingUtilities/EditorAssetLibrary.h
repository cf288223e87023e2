// UEditorAssetLibrary: the Content Browser's asset operations for scripts.
#pragma once

#include "CoreMinimal.h"
#include "Kismet/BlueprintFunctionLibrary.h"

#include "EditorAssetLibrary.generated.h"

/**
 * Loads, saves, lists, duplicates, renames and deletes assets. Asset paths may be written as
 * "/Game/Folder/Asset", "/Game/Folder/Asset.Asset" or "Class'/Game/Folder/Asset.Asset'";
 * directory paths as "/Game/Folder" or "/Game/Folder/".
 */
UCLASS(MinimalAPI)
class EDITORSCRIPTINGUTILITIES_API UEditorAssetLibrary : public UBlueprintFunctionLibrary
{
	GENERATED_BODY()

public:
	/** Returns the asset at the path, loading it when needed; null (with an error) when there is none. */
	UFUNCTION(BlueprintCallable, Category = "Editor Scripting | Asset")
	static UObject* LoadAsset(const FString& AssetPath);

	/** True when an asset exists at the path, loaded or on disk. */
	UFUNCTION(BlueprintCallable, Category = "Editor Scripting | Asset")
	static bool DoesAssetExist(const FString& AssetPath);

	/** Saves the package of the asset at the path; with bOnlyIfIsDirty an unchanged package counts as saved. */
	UFUNCTION(BlueprintCallable, Category = "Editor Scripting | Asset")
	static bool SaveAsset(const FString& AssetToSave, bool bOnlyIfIsDirty = true);

	/** Saves the package of a loaded asset. */
	UFUNCTION(BlueprintCallable, Category = "Editor Scripting | Asset")
	static bool SaveLoadedAsset(UObject* AssetToSave, bool bOnlyIfIsDirty = true);

	/** Saves the packages of loaded assets; false when any of them could not be saved. */
	UFUNCTION(BlueprintCallable, Category = "Editor Scripting | Asset")
	static bool SaveLoadedAssets(const TArray<UObject*>& AssetsToSave, bool bOnlyIfIsDirty = true);

	/** Saves the loaded assets of a directory. */
	UFUNCTION(BlueprintCallable, Category = "Editor Scripting | Asset")
	static bool SaveDirectory(const FString& DirectoryPath, bool bOnlyIfIsDirty = true, bool bRecursive = true);

	/** Deletes the package of the asset at the path, in memory and on disk. */
	UFUNCTION(BlueprintCallable, Category = "Editor Scripting | Asset")
	static bool DeleteAsset(const FString& AssetPathToDelete);

	/** Deletes the package of a loaded asset, in memory and on disk. */
	UFUNCTION(BlueprintCallable, Category = "Editor Scripting | Asset")
	static bool DeleteLoadedAsset(UObject* AssetToDelete);

	/** Copies the asset at the source path to a new asset at the destination path; null when that exists. */
	UFUNCTION(BlueprintCallable, Category = "Editor Scripting | Asset")
	static UObject* DuplicateAsset(const FString& SourceAssetPath, const FString& DestinationAssetPath);

	/** Copies a loaded asset to a new asset at the destination path. */
	UFUNCTION(BlueprintCallable, Category = "Editor Scripting | Asset")
	static UObject* DuplicateLoadedAsset(UObject* SourceAsset, const FString& DestinationAssetPath);

	/** Moves the asset at the source path to the destination path. */
	UFUNCTION(BlueprintCallable, Category = "Editor Scripting | Asset")
	static bool RenameAsset(const FString& SourceAssetPath, const FString& DestinationAssetPath);

	/** Moves a loaded asset to the destination path. */
	UFUNCTION(BlueprintCallable, Category = "Editor Scripting | Asset")
	static bool RenameLoadedAsset(UObject* SourceAsset, const FString& DestinationAssetPath);

	/** Returns the object paths ("/Game/Folder/Asset.Asset") of the assets in a directory, and its folders ("/Game/Folder/Sub/") with bIncludeFolder. */
	UFUNCTION(BlueprintCallable, Category = "Editor Scripting | Asset")
	static TArray<FString> ListAssets(const FString& DirectoryPath, bool bRecursive = true, bool bIncludeFolder = false);

	/** True when the directory exists on disk or holds loaded assets. */
	UFUNCTION(BlueprintCallable, Category = "Editor Scripting | Directory")
	static bool DoesDirectoryExist(const FString& DirectoryPath);

	/** True when the directory (or a folder below it, with bRecursive) holds assets. */
	UFUNCTION(BlueprintCallable, Category = "Editor Scripting | Directory")
	static bool DoesDirectoryHaveAssets(const FString& DirectoryPath, bool bRecursive = true);

	/** Creates the directory (and the folders above it); true when it exists afterwards. */
	UFUNCTION(BlueprintCallable, Category = "Editor Scripting | Directory")
	static bool MakeDirectory(const FString& DirectoryPath);

	/** Deletes every asset in the directory and below, then the directory itself. */
	UFUNCTION(BlueprintCallable, Category = "Editor Scripting | Directory")
	static bool DeleteDirectory(const FString& DirectoryPath);

	/** Returns the object path of a loaded asset ("/Game/Folder/Asset.Asset"); empty when it is not an asset. */
	UFUNCTION(BlueprintCallable, Category = "Editor Scripting | Asset")
	static FString GetPathNameForLoadedAsset(UObject* LoadedAsset);
};
