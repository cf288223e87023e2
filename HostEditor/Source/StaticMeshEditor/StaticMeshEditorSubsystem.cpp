// The static mesh editor subsystem: Nanite settings and section material slots of static meshes.

#include "StaticMeshEditorSubsystem.h"

#include "Modules/ModuleManager.h"

IMPLEMENT_MODULE(FDefaultModuleImpl, StaticMeshEditor)

DEFINE_LOG_CATEGORY_STATIC(LogStaticMeshEditorSubsystem, Log, All);

FMeshNaniteSettings UStaticMeshEditorSubsystem::GetNaniteSettings(UStaticMesh* StaticMesh)
{
	return StaticMesh ? StaticMesh->NaniteSettings : FMeshNaniteSettings();
}

void UStaticMeshEditorSubsystem::SetNaniteSettings(UStaticMesh* StaticMesh, FMeshNaniteSettings NaniteSettings, bool bApplyChanges)
{
	if (!StaticMesh)
	{
		UE_LOG(LogStaticMeshEditorSubsystem, Error, TEXT("SetNaniteSettings: the StaticMesh is invalid."));
		return;
	}
	StaticMesh->NaniteSettings = NaniteSettings;
	StaticMesh->MarkPackageDirty();
}

void UStaticMeshEditorSubsystem::SetLODMaterialSlot(UStaticMesh* StaticMesh, int32 MaterialSlotIndex, int32 LODIndex, int32 SectionIndex)
{
	if (!StaticMesh)
	{
		UE_LOG(LogStaticMeshEditorSubsystem, Error, TEXT("SetLODMaterialSlot: the StaticMesh is invalid."));
		return;
	}
	if (!StaticMesh->GetStaticMaterials().IsValidIndex(MaterialSlotIndex))
	{
		UE_LOG(LogStaticMeshEditorSubsystem, Error, TEXT("SetLODMaterialSlot: %s has no material slot %d."), *StaticMesh->GetName(), MaterialSlotIndex);
		return;
	}
	if (!StaticMesh->LODs.IsValidIndex(LODIndex) || !StaticMesh->LODs[LODIndex].Sections.IsValidIndex(SectionIndex))
	{
		UE_LOG(LogStaticMeshEditorSubsystem, Error, TEXT("SetLODMaterialSlot: %s has no section %d in LOD %d."), *StaticMesh->GetName(), SectionIndex, LODIndex);
		return;
	}
	StaticMesh->LODs[LODIndex].Sections[SectionIndex].MaterialIndex = MaterialSlotIndex;
	StaticMesh->MarkPackageDirty();
}

int32 UStaticMeshEditorSubsystem::GetLODMaterialSlot(UStaticMesh* StaticMesh, int32 LODIndex, int32 SectionIndex)
{
	if (!StaticMesh || !StaticMesh->LODs.IsValidIndex(LODIndex) || !StaticMesh->LODs[LODIndex].Sections.IsValidIndex(SectionIndex))
	{
		return INDEX_NONE;
	}
	return StaticMesh->LODs[LODIndex].Sections[SectionIndex].MaterialIndex;
}
