#include "ControlRigBlueprintEditorLibrary.h"

URigHierarchy* UControlRigBlueprintEditorLibrary::GetHierarchy(UControlRigBlueprint* InRigBlueprint)
{
	return InRigBlueprint ? InRigBlueprint->Hierarchy.Get() : nullptr;
}

URigHierarchyController* UControlRigBlueprintEditorLibrary::GetHierarchyController(UControlRigBlueprint* InRigBlueprint)
{
	return InRigBlueprint ? InRigBlueprint->GetHierarchyController() : nullptr;
}

void UControlRigBlueprintEditorLibrary::SetPreviewMesh(UControlRigBlueprint* InRigBlueprint, USkeletalMesh* PreviewMesh, bool bMarkAsDirty)
{
	if (InRigBlueprint)
	{
		InRigBlueprint->SetPreviewMesh(PreviewMesh, bMarkAsDirty);
	}
}

USkeletalMesh* UControlRigBlueprintEditorLibrary::GetPreviewMesh(UControlRigBlueprint* InRigBlueprint)
{
	return InRigBlueprint ? InRigBlueprint->GetPreviewMesh() : nullptr;
}

void UControlRigBlueprintEditorLibrary::RecompileVM(UControlRigBlueprint* InRigBlueprint)
{
	if (InRigBlueprint)
	{
		InRigBlueprint->RecompileVM();
	}
}

void UControlRigBlueprintEditorLibrary::RecompileVMIfRequired(UControlRigBlueprint* InRigBlueprint)
{
	if (InRigBlueprint)
	{
		InRigBlueprint->RecompileVMIfRequired();
	}
}

void UControlRigBlueprintEditorLibrary::RequestAutoVMRecompilation(UControlRigBlueprint* InRigBlueprint)
{
	if (InRigBlueprint)
	{
		InRigBlueprint->RequestAutoVMRecompilation();
	}
}
