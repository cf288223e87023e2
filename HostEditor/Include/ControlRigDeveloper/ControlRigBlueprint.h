// UControlRigBlueprint: a Control Rig asset: its rig hierarchy, its graphs and its preview mesh.
#pragma once

#include "CoreMinimal.h"
#include "ControlRigGizmoLibrary.h"
#include "Engine/SkeletalMesh.h"
#include "RigVMBlueprint.h"
#include "Rigs/RigHierarchy.h"
#include "Rigs/RigHierarchyController.h"
#include "UObject/ObjectMacros.h"
#include "UObject/ObjectPtr.h"
#include "UObject/SoftObjectPtr.h"

#include "ControlRigBlueprint.generated.h"

/** A Control Rig blueprint. Its hierarchy and graphs are subobjects of the asset. */
UCLASS(BlueprintType, meta = (IgnoreClassThumbnail))
class CONTROLRIGDEVELOPER_API UControlRigBlueprint : public URigVMBlueprint
{
	GENERATED_BODY()

public:
	/** Returns the controller of the rig's hierarchy. */
	UFUNCTION(BlueprintCallable, Category = "Control Rig Blueprint")
	URigHierarchyController* GetHierarchyController();

	/** Sets the skeletal mesh the rig previews on. */
	UFUNCTION(BlueprintCallable, Category = "Control Rig Blueprint")
	void SetPreviewMesh(USkeletalMesh* PreviewMesh, bool bMarkAsDirty = true);

	/** Returns the skeletal mesh the rig previews on, or null. */
	UFUNCTION(BlueprintCallable, Category = "Control Rig Blueprint")
	USkeletalMesh* GetPreviewMesh() const;

	/**
	 * Copies the blueprint's hierarchy to the rig instances running from it, so that open editors and
	 * previews show an edit made to the blueprint.
	 */
	void PropagateHierarchyFromBPToInstances() const;

	/** How often the hierarchy was pushed to the instances; no rig instances run here, so this is what can be seen of it. */
	int32 GetHierarchyPropagationCount() const { return HierarchyPropagationCount; }

	/** Makes the hierarchy and the default graph when the blueprint has none yet. */
	void InitializeRig();

	virtual void PostLoad() override;

	UPROPERTY(BlueprintReadOnly, Category = "Hierarchy")
	TObjectPtr<URigHierarchy> Hierarchy;

	UPROPERTY(EditAnywhere, Category = Shapes)
	TArray<TSoftObjectPtr<UControlRigShapeLibrary>> ShapeLibraries;

protected:
	virtual UScriptStruct* GetExecuteContextStruct() const override;

private:
	UPROPERTY(AssetRegistrySearchable)
	TSoftObjectPtr<USkeletalMesh> PreviewSkeletalMesh;

	mutable int32 HierarchyPropagationCount = 0;
};
