// UStaticMesh: a mesh asset without skinning, built from mesh descriptions, with its material slots.
#pragma once

#include "CoreMinimal.h"
#include "Engine/EngineTypes.h"
#include "Materials/MaterialInterface.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"
#include "UObject/ObjectPtr.h"

#include "StaticMesh.generated.h"

class UStaticMeshDescription;

/** One material slot of a static mesh. */
USTRUCT(BlueprintType)
struct ENGINE_API FStaticMaterial
{
	GENERATED_BODY()

	FStaticMaterial() = default;
	FStaticMaterial(UMaterialInterface* InMaterialInterface, FName InMaterialSlotName = NAME_None, FName InImportedMaterialSlotName = NAME_None)
		: MaterialInterface(InMaterialInterface)
		, MaterialSlotName(InMaterialSlotName)
		, ImportedMaterialSlotName(InImportedMaterialSlotName)
	{
	}

	UPROPERTY(EditAnywhere, BlueprintReadOnly, Category = StaticMesh)
	TObjectPtr<UMaterialInterface> MaterialInterface;

	/** The name the slot is known by. */
	UPROPERTY(VisibleAnywhere, BlueprintReadOnly, Category = StaticMesh)
	FName MaterialSlotName;

	/** The slot's name in the file the mesh was imported from. */
	UPROPERTY(VisibleAnywhere, BlueprintReadOnly, Category = StaticMesh)
	FName ImportedMaterialSlotName;
};

UCLASS(BlueprintType)
class ENGINE_API UStaticMesh : public UObject
{
	GENERATED_BODY()

public:
	/** Makes an empty static mesh description inside Outer (the transient package when null). */
	UFUNCTION(BlueprintCallable, Category = "StaticMesh")
	static UStaticMeshDescription* CreateStaticMeshDescription(UObject* Outer = nullptr);

	/**
	 * Builds the mesh from one description per LOD, replacing what it held: each polygon group is one
	 * section, drawn with the material slot its slot name names (slot 0 when none does). A description
	 * that is missing or holds no triangle builds nothing and is logged.
	 */
	UFUNCTION(BlueprintCallable, Category = "StaticMesh")
	void BuildFromStaticMeshDescriptions(const TArray<UStaticMeshDescription*>& StaticMeshDescriptions, bool bBuildSimpleCollision = false, bool bFastBuild = false);

	/** Adds a material slot holding Material and returns its slot name; None when Material is null. */
	UFUNCTION(BlueprintCallable, Category = "StaticMesh")
	FName AddMaterial(UMaterialInterface* Material);

	/** Sets the material of a slot; an index outside the slots changes nothing. */
	UFUNCTION(BlueprintCallable, Category = "StaticMesh")
	void SetMaterial(int32 MaterialIndex, UMaterialInterface* NewMaterial);

	/** The material of a slot, null outside the slots. */
	UFUNCTION(BlueprintCallable, Category = "StaticMesh")
	UMaterialInterface* GetMaterial(int32 MaterialIndex) const;

	/** The material slots. */
	UFUNCTION(BlueprintGetter)
	const TArray<FStaticMaterial>& GetStaticMaterials() const { return StaticMaterials; }

	/** Replaces the material slots. */
	UFUNCTION(BlueprintSetter)
	void SetStaticMaterials(const TArray<FStaticMaterial>& InStaticMaterials);

	/** The number of sections of a LOD; 0 for a LOD the mesh does not have. */
	UFUNCTION(BlueprintCallable, Category = "StaticMesh")
	int32 GetNumSections(int32 InLOD) const;

	/** The number of vertices of a LOD; 0 for a LOD the mesh does not have. */
	UFUNCTION(BlueprintCallable, Category = "StaticMesh")
	int32 GetNumVertices(int32 LODIndex) const;

	/** The number of triangles of a LOD; 0 for a LOD the mesh does not have. */
	UFUNCTION(BlueprintCallable, Category = "StaticMesh")
	int32 GetNumTriangles(int32 LODIndex) const;

	/** The bounds of the built mesh (LOD 0); zero for a mesh not built yet. */
	UFUNCTION(BlueprintCallable, Category = "StaticMesh")
	FBoxSphereBounds GetBounds() const;

	/** Writes the built geometry, which is not a reflected property, as text lines. */
	virtual void ExportCustomProperties(FOutputDevice& Out, uint32 Indent) override;
	/** Reads the built geometry written by ExportCustomProperties. */
	virtual void ImportCustomProperties(const TCHAR* SourceText, FFeedbackContext* Warn) override;

	UPROPERTY(EditAnywhere, Category = NaniteSettings)
	FMeshNaniteSettings NaniteSettings;

private:
	friend class UStaticMeshEditorSubsystem;

	UPROPERTY(EditAnywhere, BlueprintGetter = GetStaticMaterials, BlueprintSetter = SetStaticMaterials, Category = StaticMesh)
	TArray<FStaticMaterial> StaticMaterials;

	/** One section of a built LOD: its first triangle, its triangle count and its material slot. */
	struct FSection
	{
		int32 FirstTriangle = 0;
		int32 NumTriangles = 0;
		int32 MaterialIndex = 0;
	};

	/** A built LOD: vertex positions, three vertex indices per triangle (sorted by section) and sections. */
	struct FLOD
	{
		TArray<FVector> Positions;
		TArray<int32> Indices;
		TArray<FSection> Sections;
	};

	TArray<FLOD> LODs;
};
