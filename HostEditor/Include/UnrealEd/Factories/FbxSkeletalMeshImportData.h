// UFbxSkeletalMeshImportData: the FBX import options of a skeletal mesh.
#pragma once

#include "CoreMinimal.h"
#include "Factories/FbxMeshImportData.h"

#include "FbxSkeletalMeshImportData.generated.h"

UCLASS(BlueprintType, config = EditorPerProjectUserSettings, MinimalAPI)
class UNREALED_API UFbxSkeletalMeshImportData : public UFbxMeshImportData
{
	GENERATED_BODY()

public:
	UFbxSkeletalMeshImportData(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	/** Whether morph targets were imported. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Mesh)
	bool bImportMorphTargets = false;

	/** Whether meshes nested in the bone hierarchy were imported as meshes rather than bones. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Mesh)
	bool bImportMeshesInBoneHierarchy = true;
};
