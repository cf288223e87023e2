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
};
