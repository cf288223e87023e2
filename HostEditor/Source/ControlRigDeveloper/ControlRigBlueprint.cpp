#include "ControlRigBlueprint.h"

#include "ControlRig.h"
#include "Units/RigUnitContext.h"
#include "UObject/UObjectGlobals.h"

void UControlRigBlueprint::InitializeRig()
{
	if (!Hierarchy)
	{
		Hierarchy = NewObject<URigHierarchy>(this, FName(TEXT("Hierarchy")), RF_Transactional);
	}
	if (!ParentClass)
	{
		ParentClass = UControlRig::StaticClass();
	}
	InitializeModels();
}

void UControlRigBlueprint::PostLoad()
{
	Super::PostLoad();
	InitializeRig();
}

UScriptStruct* UControlRigBlueprint::GetExecuteContextStruct() const
{
	return FControlRigExecuteContext::StaticStruct();
}

URigHierarchyController* UControlRigBlueprint::GetHierarchyController()
{
	InitializeRig();
	return Hierarchy->GetController(true);
}

void UControlRigBlueprint::SetPreviewMesh(USkeletalMesh* PreviewMesh, bool bMarkAsDirty)
{
	if (bMarkAsDirty)
	{
		Modify();
	}
	PreviewSkeletalMesh = PreviewMesh;
}

USkeletalMesh* UControlRigBlueprint::GetPreviewMesh() const
{
	return PreviewSkeletalMesh.LoadSynchronous();
}

void UControlRigBlueprint::PropagateHierarchyFromBPToInstances() const
{
	++HierarchyPropagationCount;
}
