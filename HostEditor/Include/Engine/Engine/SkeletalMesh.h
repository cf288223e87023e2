// USkeletalMesh: a skinned mesh asset with its skeleton and reference skeleton.
#pragma once

#include "CoreMinimal.h"
#include "ReferenceSkeleton.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"
#include "UObject/ObjectPtr.h"

#include "SkeletalMesh.generated.h"

class UAssetImportData;
class USkeleton;

UCLASS(BlueprintType)
class ENGINE_API USkeletalMesh : public UObject
{
	GENERATED_BODY()

public:
	USkeleton* GetSkeleton() { return Skeleton; }
	const USkeleton* GetSkeleton() const { return Skeleton; }
	void SetSkeleton(USkeleton* InSkeleton) { Skeleton = InSkeleton; }

	/** The mesh's own bones and reference pose (local transforms, centimetres). */
	const FReferenceSkeleton& GetRefSkeleton() const { return RefSkeleton; }
	FReferenceSkeleton& GetRefSkeleton() { return RefSkeleton; }

	/** The mesh's bounds: its imported bounds (the stand-in offers no bounds extensions). */
	UFUNCTION(BlueprintCallable, Category = Mesh)
	FBoxSphereBounds GetBounds() const { return ImportedBounds; }

	/** The bounds of the mesh as it was imported. */
	UFUNCTION(BlueprintCallable, Category = Mesh)
	FBoxSphereBounds GetImportedBounds() const { return ImportedBounds; }

	/** Sets the imported bounds, as an import does once it has read the mesh's vertices. */
	void SetImportedBounds(const FBoxSphereBounds& InBounds) { ImportedBounds = InBounds; }

	UAssetImportData* GetAssetImportData() const { return AssetImportData; }
	void SetAssetImportData(UAssetImportData* InAssetImportData) { AssetImportData = InAssetImportData; }

	/** Writes the reference skeleton, which is not a reflected property, as text lines. */
	virtual void ExportCustomProperties(FOutputDevice& Out, uint32 Indent) override;
	/** Reads the reference skeleton written by ExportCustomProperties. */
	virtual void ImportCustomProperties(const TCHAR* SourceText, FFeedbackContext* Warn) override;

private:
	UPROPERTY(EditAnywhere, AssetRegistrySearchable, Category = Mesh)
	TObjectPtr<USkeleton> Skeleton;

	/** How the mesh was imported, for reimports. */
	UPROPERTY(VisibleAnywhere, Instanced, Category = ImportSettings)
	TObjectPtr<UAssetImportData> AssetImportData;

	/** The bounds as imported; saved and loaded with the package. */
	UPROPERTY()
	FBoxSphereBounds ImportedBounds;

	FReferenceSkeleton RefSkeleton;
};
