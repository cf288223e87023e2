// URigHierarchyController: adds, removes and re-parents the elements of a rig hierarchy.
#pragma once

#include "CoreMinimal.h"
#include "Rigs/RigHierarchy.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"

#include "RigHierarchyController.generated.h"

UENUM()
enum class ERigBoneType : uint8
{
	Imported,
	User,
};

UCLASS(BlueprintType)
class CONTROLRIG_API URigHierarchyController : public UObject
{
	GENERATED_BODY()

public:
	URigHierarchy* GetHierarchy() const { return Hierarchy; }
	void SetHierarchy(URigHierarchy* InHierarchy) { Hierarchy = InHierarchy; }

	/**
	 * Each add returns the new element's key, or an empty key when the name is taken or the parent
	 * does not exist. The transform is global when bTransformInGlobal, else relative to the parent;
	 * it sets the initial and the current pose.
	 */
	FRigElementKey AddBone(FName InName, FRigElementKey InParent, FTransform InTransform, bool bTransformInGlobal = true, ERigBoneType InBoneType = ERigBoneType::User, bool bSetupUndo = false, bool bPrintPythonCommand = false);
	FRigElementKey AddNull(FName InName, FRigElementKey InParent, FTransform InTransform, bool bTransformInGlobal = false, bool bSetupUndo = false, bool bPrintPythonCommand = false);
	/** Adds a control whose offset is the given transform (relative to the parent) and whose value is Value. */
	FRigElementKey AddControl(FName InName, FRigElementKey InParent, FRigControlSettings InSettings, FRigControlValue InValue, FTransform InOffsetTransform = FTransform::Identity, FTransform InShapeTransform = FTransform::Identity, bool bSetupUndo = false, bool bPrintPythonCommand = false);

	/** Re-parents Child; with bMaintainGlobalTransform it stays where it is, else its local transform is kept. */
	bool SetParent(FRigElementKey InChild, FRigElementKey InParent, bool bMaintainGlobalTransform = true, bool bSetupUndo = false, bool bPrintPythonCommand = false);

private:
	FRigElementKey AddElement(FName InName, ERigElementType InType, FRigElementKey InParent, const FTransform& InTransform, bool bTransformInGlobal);

	URigHierarchy* Hierarchy = nullptr;
};
