// UFbxMeshImportData: the FBX import options shared by static and skeletal meshes.
#pragma once

#include "CoreMinimal.h"
#include "Factories/FbxAssetImportData.h"

#include "FbxMeshImportData.generated.h"

UCLASS(BlueprintType, config = EditorPerProjectUserSettings, abstract, MinimalAPI)
class UNREALED_API UFbxMeshImportData : public UFbxAssetImportData
{
	GENERATED_BODY()

public:
	UFbxMeshImportData(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	/** Whether the mesh's LODs were imported from the file. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Mesh)
	bool bImportMeshLODs = false;
};
