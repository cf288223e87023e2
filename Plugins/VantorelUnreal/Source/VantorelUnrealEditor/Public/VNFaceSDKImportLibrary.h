// The editor module's native function library: what the tool script, the tools window and the import
// factory call for work that needs native code.
#pragma once

#include "CoreMinimal.h"
#include "Kismet/BlueprintFunctionLibrary.h"

#include "VNFaceSDKImportLibrary.generated.h"

class UVNFaceRigDataAsset;

UCLASS()
class VANTORELUNREALEDITOR_API UVNFaceSDKImportLibrary : public UBlueprintFunctionLibrary
{
	GENERATED_BODY()

public:
	/**
	 * Replaces the drivers of a face rig data asset with the drivers of a Face rig JSON file, as written.
	 * Returns false with OutError ("Import failed: ...") when the asset is missing, the file cannot be
	 * read or its drivers are malformed; the asset is then unchanged. The asset is marked dirty, not saved.
	 */
	UFUNCTION(BlueprintCallable, CallInEditor, Category = "Vantorel Face")
	static bool ImportVNFaceSDKJson(UVNFaceRigDataAsset* TargetAsset, const FString& JsonFilePath, FString& OutError);

	/** Replaces the drivers of a face rig data asset with the drivers of Face rig JSON text; see ImportVNFaceSDKJson. */
	static bool ImportVNFaceSDKJsonText(UVNFaceRigDataAsset* TargetAsset, const FString& JsonText, FString& OutError);

	/**
	 * Opens the Vantorel tools for a source file: chooses the target skeletal mesh (by object path, else
	 * the Content Browser's selected skeletal mesh), loads the tool script into the editor's Python the
	 * first time in this editor run, and brings up the tools.
	 */
	UFUNCTION(BlueprintCallable, CallInEditor, Category = "Vantorel Unreal")
	static void OpenVantorelTools(const FString& SourceFile, bool bIncludeFaceSolver, bool bIncludeRetargetingOptions, const FString& TargetSkeletalMeshPath, const FString& FaceJsonFile);
};
