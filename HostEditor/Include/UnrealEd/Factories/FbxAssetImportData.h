// UFbxAssetImportData: the FBX import options every FBX-imported asset keeps.
#pragma once

#include "CoreMinimal.h"
#include "EditorFramework/AssetImportData.h"

#include "FbxAssetImportData.generated.h"

UCLASS(BlueprintType, config = EditorPerProjectUserSettings, HideCategories = Object, abstract, MinimalAPI)
class UNREALED_API UFbxAssetImportData : public UAssetImportData
{
	GENERATED_BODY()

public:
	UFbxAssetImportData(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	/** Offset applied to the imported geometry. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Transform)
	FVector ImportTranslation = FVector::ZeroVector;

	/** Rotation applied to the imported geometry. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Transform)
	FRotator ImportRotation = FRotator::ZeroRotator;

	/** Uniform scale applied to the imported geometry and skeleton. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Transform)
	float ImportUniformScale = 1.0f;

	/** Whether the FBX scene's axes were converted to the engine's. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Miscellaneous)
	bool bConvertScene = true;

	/** Whether the model's front was made the X axis instead of -Y. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Miscellaneous)
	bool bForceFrontXAxis = false;

	/** Whether the FBX scene's units were converted to centimetres. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Miscellaneous)
	bool bConvertSceneUnit = false;
};
