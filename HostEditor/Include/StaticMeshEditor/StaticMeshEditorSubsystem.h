// UStaticMeshEditorSubsystem: the editor's static mesh utilities for scripts.
#pragma once

#include "CoreMinimal.h"
#include "EditorSubsystem.h"
#include "Engine/EngineTypes.h"
#include "Engine/StaticMesh.h"
#include "UObject/ObjectMacros.h"

#include "StaticMeshEditorSubsystem.generated.h"

UCLASS(BlueprintType)
class STATICMESHEDITOR_API UStaticMeshEditorSubsystem : public UEditorSubsystem
{
	GENERATED_BODY()

public:
	/** The mesh's Nanite settings; the defaults for a null mesh. */
	UFUNCTION(BlueprintPure, Category = "Static Mesh Utilities")
	FMeshNaniteSettings GetNaniteSettings(UStaticMesh* StaticMesh);

	/** Replaces the mesh's Nanite settings; a null mesh is logged and left alone. */
	UFUNCTION(BlueprintCallable, Category = "Static Mesh Utilities")
	void SetNaniteSettings(UStaticMesh* StaticMesh, FMeshNaniteSettings NaniteSettings, bool bApplyChanges = true);

	/**
	 * Draws a section of a LOD with a material slot; a null mesh, or a slot, LOD or section the mesh
	 * does not have, is logged and changes nothing.
	 */
	UFUNCTION(BlueprintCallable, Category = "Static Mesh Utilities")
	void SetLODMaterialSlot(UStaticMesh* StaticMesh, int32 MaterialSlotIndex, int32 LODIndex, int32 SectionIndex);

	/** The material slot a section of a LOD draws with; INDEX_NONE for a null mesh or a missing LOD or section. */
	UFUNCTION(BlueprintCallable, Category = "Static Mesh Utilities")
	int32 GetLODMaterialSlot(UStaticMesh* StaticMesh, int32 LODIndex, int32 SectionIndex);
};
