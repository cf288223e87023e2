// UControlRigBlueprintEditorLibrary: script functions on Control Rig blueprints.
#pragma once

#include "CoreMinimal.h"
#include "ControlRigBlueprint.h"
#include "Kismet/BlueprintFunctionLibrary.h"
#include "UObject/ObjectMacros.h"

#include "ControlRigBlueprintEditorLibrary.generated.h"

UCLASS(BlueprintType, meta = (ScriptName = "ControlRigBlueprintLibrary"))
class CONTROLRIGEDITOR_API UControlRigBlueprintEditorLibrary : public UBlueprintFunctionLibrary
{
	GENERATED_BODY()

public:
	/** Returns the rig's hierarchy, or null without a blueprint. */
	UFUNCTION(BlueprintCallable, BlueprintPure, Category = "Control Rig Blueprint")
	static URigHierarchy* GetHierarchy(UControlRigBlueprint* InRigBlueprint);

	/** Returns the controller of the rig's hierarchy, or null without a blueprint. */
	UFUNCTION(BlueprintCallable, BlueprintPure, Category = "Control Rig Blueprint")
	static URigHierarchyController* GetHierarchyController(UControlRigBlueprint* InRigBlueprint);

	/** Sets the rig's preview mesh. */
	UFUNCTION(BlueprintCallable, Category = "Control Rig Blueprint")
	static void SetPreviewMesh(UControlRigBlueprint* InRigBlueprint, USkeletalMesh* PreviewMesh, bool bMarkAsDirty = true);

	/** Returns the rig's preview mesh, or null. */
	UFUNCTION(BlueprintCallable, BlueprintPure, Category = "Control Rig Blueprint")
	static USkeletalMesh* GetPreviewMesh(UControlRigBlueprint* InRigBlueprint);

	/** Compiles the rig's VM. */
	UFUNCTION(BlueprintCallable, Category = "Control Rig Blueprint")
	static void RecompileVM(UControlRigBlueprint* InRigBlueprint);

	/** Compiles the rig's VM when a change waits for it. */
	UFUNCTION(BlueprintCallable, Category = "Control Rig Blueprint")
	static void RecompileVMIfRequired(UControlRigBlueprint* InRigBlueprint);

	/** Marks the rig's VM as needing a recompilation. */
	UFUNCTION(BlueprintCallable, Category = "Control Rig Blueprint")
	static void RequestAutoVMRecompilation(UControlRigBlueprint* InRigBlueprint);
};
