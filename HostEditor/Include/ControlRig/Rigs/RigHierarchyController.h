// URigHierarchyController: adds, removes, renames and re-parents the elements of a rig hierarchy.
#pragma once

#include "Animation/Skeleton.h"
#include "CoreMinimal.h"
#include "Rigs/RigHierarchy.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"

#include "RigHierarchyController.generated.h"

UCLASS(BlueprintType)
class CONTROLRIG_API URigHierarchyController : public UObject
{
	GENERATED_BODY()

public:
	/** Returns the hierarchy this controller edits. */
	UFUNCTION(BlueprintCallable, Category = URigHierarchyController)
	URigHierarchy* GetHierarchy() const { return Hierarchy; }

	/** Sets the hierarchy this controller edits. */
	UFUNCTION(BlueprintCallable, Category = URigHierarchyController)
	void SetHierarchy(URigHierarchy* InHierarchy) { Hierarchy = InHierarchy; }

	/**
	 * Each add returns the new element's key, or an empty key when the name is None or the parent
	 * does not exist. The name is a suggestion: a taken one gets the first free suffix "_1", "_2",
	 * ... The transform is global when bTransformInGlobal, else relative to the parent; it sets the
	 * initial and the current pose.
	 */
	UFUNCTION(BlueprintCallable, Category = URigHierarchyController)
	FRigElementKey AddBone(FName InName, FRigElementKey InParent, FTransform InTransform, bool bTransformInGlobal = true, ERigBoneType InBoneType = ERigBoneType::User, bool bSetupUndo = false, bool bPrintPythonCommand = false);

	/** Adds a null (a space); see AddBone. */
	UFUNCTION(BlueprintCallable, Category = URigHierarchyController)
	FRigElementKey AddNull(FName InName, FRigElementKey InParent, FTransform InTransform, bool bTransformInGlobal = true, bool bSetupUndo = false, bool bPrintPythonCommand = false);

	/**
	 * Adds a control whose offset (relative to the parent) and shape (relative to the control) are the
	 * given transforms and whose initial and current value is InValue; a value that holds nothing
	 * becomes the identity value of the control's type.
	 */
	FRigElementKey AddControl(FName InName, FRigElementKey InParent, FRigControlSettings InSettings, FRigControlValue InValue, FTransform InOffsetTransform = FTransform::Identity, FTransform InShapeTransform = FTransform::Identity, bool bSetupUndo = true, bool bPrintPythonCommand = false);

	/** Adds a control at the parent with identity offset and shape. */
	UFUNCTION(BlueprintCallable, Category = URigHierarchyController, meta = (DisplayName = "Add Control", ScriptName = "AddControl"))
	FRigElementKey AddControl_ForBlueprint(FName InName, FRigElementKey InParent, FRigControlSettings InSettings, FRigControlValue InValue, bool bSetupUndo = true, bool bPrintPythonCommand = false)
	{
		return AddControl(InName, InParent, InSettings, InValue, FTransform::Identity, FTransform::Identity, bSetupUndo, bPrintPythonCommand);
	}

	/**
	 * Adds an animation channel: a control of animation type AnimationChannel below a parent control,
	 * listed with it. Returns an empty key when the parent is not a control.
	 */
	FRigElementKey AddAnimationChannel(FName InName, FRigElementKey InParentControl, FRigControlSettings InSettings, bool bSetupUndo = true, bool bPrintPythonCommand = false);

	/** Adds an animation channel; see AddAnimationChannel. */
	UFUNCTION(BlueprintCallable, Category = URigHierarchyController, meta = (DisplayName = "Add Animation Channel", ScriptName = "AddAnimationChannel"))
	FRigElementKey AddAnimationChannel_ForBlueprint(FName InName, FRigElementKey InParentControl, FRigControlSettings InSettings, bool bSetupUndo = true, bool bPrintPythonCommand = false)
	{
		return AddAnimationChannel(InName, InParentControl, InSettings, bSetupUndo, bPrintPythonCommand);
	}

	/** Returns a control's settings, or default settings when the key names no control. */
	UFUNCTION(BlueprintCallable, Category = URigHierarchyController)
	FRigControlSettings GetControlSettings(FRigElementKey InKey) const;

	/** Replaces a control's settings. Returns false when the key names no control. */
	UFUNCTION(BlueprintCallable, Category = URigHierarchyController)
	bool SetControlSettings(FRigElementKey InKey, FRigControlSettings InSettings, bool bSetupUndo = false) const;

	/**
	 * Removes an element. Its children move to the removed element's parent and keep their global
	 * transforms. Returns false when there is no such element.
	 */
	UFUNCTION(BlueprintCallable, Category = URigHierarchyController)
	bool RemoveElement(FRigElementKey InElement, bool bSetupUndo = false, bool bPrintPythonCommand = false);

	/**
	 * Re-parents Child (an empty parent key makes it a root); with bMaintainGlobalTransform it stays
	 * where it is, else its local transform is kept. Refuses to move an element below itself.
	 */
	UFUNCTION(BlueprintCallable, Category = URigHierarchyController)
	bool SetParent(FRigElementKey InChild, FRigElementKey InParent, bool bMaintainGlobalTransform = true, bool bSetupUndo = false, bool bPrintPythonCommand = false);

	/** Renames an element; returns its new key, or an empty key when the name is taken or invalid. */
	UFUNCTION(BlueprintCallable, Category = URigHierarchyController)
	FRigElementKey RenameElement(FRigElementKey InElement, FName InName, bool bSetupUndo = false, bool bPrintPythonCommand = false, bool bClearSelection = true);

	/**
	 * Sets a control's display name (and with bRenameElement its name too). Returns the display name
	 * set, or None when the key names no control.
	 */
	UFUNCTION(BlueprintCallable, Category = URigHierarchyController)
	FName SetDisplayName(FRigElementKey InControl, FName InDisplayName, bool bRenameElement = false, bool bSetupUndo = false, bool bPrintPythonCommand = false);

	/**
	 * Adds the skeleton's bones as imported bones at their reference pose, parents first. A bone that
	 * exists is updated when bReplaceExistingBones, else kept as it is; with bRemoveObsoleteBones the
	 * imported bones the skeleton does not have are removed. A name space prefixes the bone names.
	 * Returns the keys of the skeleton's bones.
	 */
	UFUNCTION(BlueprintCallable, Category = URigHierarchyController)
	TArray<FRigElementKey> ImportBones(USkeleton* InSkeleton, FName InNameSpace = NAME_None, bool bReplaceExistingBones = true, bool bRemoveObsoleteBones = true, bool bSelectBones = false, bool bSetupUndo = false, bool bPrintPythonCommand = false);

	/** Imports the bones of a reference skeleton (its final bone list and pose); see the USkeleton overload. */
	TArray<FRigElementKey> ImportBones(const FReferenceSkeleton& InSkeleton, const FName& InNameSpace, bool bReplaceExistingBones = true, bool bRemoveObsoleteBones = true, bool bSelectBones = false, bool bSetupUndo = false);

private:
	/** InName when no element of InType has it, else the first free "<InName>_<N>". */
	FName SafeNewName(const FName& InName, ERigElementType InType) const;
	FRigElementKey AddElement(FName InName, ERigElementType InType, FRigElementKey InParent, const FTransform& InTransform, bool bTransformInGlobal);

	URigHierarchy* Hierarchy = nullptr;
};
