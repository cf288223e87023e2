// UFbxImportUI: the options of an FBX import, as its dialog (or an automated import) sets them.
#pragma once

#include "CoreMinimal.h"
#include "Containers/EnumAsByte.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"
#include "UObject/ObjectPtr.h"

#include "FbxImportUI.generated.h"

class USkeleton;

/** What an FBX file is imported as. */
enum EFBXImportType : int
{
	FBXIT_StaticMesh,
	FBXIT_SkeletalMesh,
	FBXIT_Animation,
	FBXIT_GeometryOnly,
	FBXIT_SkeletalMeshGeometry,
	FBXIT_MAX,
};

UCLASS(BlueprintType)
class UNREALED_API UFbxImportUI : public UObject
{
	GENERATED_BODY()

public:
	/** Import the file's meshes. */
	UPROPERTY(BlueprintReadWrite, EditAnywhere, Category = Mesh)
	bool bImportMesh = true;

	/** Import its animation clips. */
	UPROPERTY(BlueprintReadWrite, EditAnywhere, Category = Animation)
	bool bImportAnimations = true;

	/** Import meshes as skeletal meshes. */
	UPROPERTY(BlueprintReadWrite, EditAnywhere, Category = Mesh)
	bool bImportAsSkeletal = false;

	UPROPERTY(BlueprintReadWrite, EditAnywhere, Category = Material)
	bool bImportMaterials = true;

	UPROPERTY(BlueprintReadWrite, EditAnywhere, Category = Material)
	bool bImportTextures = true;

	/** In an automated import, tell the file's type from its content instead of MeshTypeToImport. */
	UPROPERTY(BlueprintReadWrite, EditAnywhere, Category = Misc)
	bool bAutomatedImportShouldDetectType = true;

	/** The Skeleton the animations are imported for. */
	UPROPERTY(BlueprintReadWrite, EditAnywhere, Category = Mesh)
	TObjectPtr<USkeleton> Skeleton;

	/** What the file is imported as. */
	TEnumAsByte<EFBXImportType> MeshTypeToImport = FBXIT_StaticMesh;
	TEnumAsByte<EFBXImportType> OriginalImportType = FBXIT_StaticMesh;
};
