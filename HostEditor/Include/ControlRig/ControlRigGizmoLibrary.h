// UControlRigShapeLibrary: the shapes controls are drawn with.
#pragma once

#include "CoreMinimal.h"
#include "Engine/StaticMesh.h"
#include "Materials/Material.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"
#include "UObject/SoftObjectPtr.h"

#include "ControlRigGizmoLibrary.generated.h"

/** One shape: a static mesh placed by a transform, under a name controls refer to. */
USTRUCT(BlueprintType, meta = (DisplayName = "Shape"))
struct CONTROLRIG_API FControlRigShapeDefinition
{
	GENERATED_BODY()

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Shape")
	FName ShapeName = TEXT("Default");

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Shape")
	TSoftObjectPtr<UStaticMesh> StaticMesh;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Shape")
	FTransform Transform = FTransform::Identity;
};

UCLASS(BlueprintType, meta = (DisplayName = "Control Rig Shape Library"))
class CONTROLRIG_API UControlRigShapeLibrary : public UObject
{
	GENERATED_BODY()

public:
	/** Returns the shape of that name, the default shape when none has it and bUseDefaultIfNotFound. */
	const FControlRigShapeDefinition* GetShapeByName(const FName& InName, bool bUseDefaultIfNotFound = false) const;

	UPROPERTY(EditAnywhere, Category = "ShapeLibrary")
	FControlRigShapeDefinition DefaultShape;

	UPROPERTY(EditAnywhere, Category = "ShapeLibrary")
	TSoftObjectPtr<UMaterial> DefaultMaterial;

	UPROPERTY(EditAnywhere, Category = "ShapeLibrary")
	TSoftObjectPtr<UMaterial> XRayMaterial;

	UPROPERTY(EditAnywhere, Category = "ShapeLibrary")
	FName MaterialColorParameter = TEXT("Color");

	UPROPERTY(EditAnywhere, Category = "ShapeLibrary")
	TArray<FControlRigShapeDefinition> Shapes;
};
