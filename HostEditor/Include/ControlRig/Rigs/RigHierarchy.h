// URigHierarchy: the bones, nulls and controls of a Control Rig with their initial and current poses.
#pragma once

#include "CoreMinimal.h"
#include "Rigs/RigHierarchyDefines.h"
#include "Rigs/RigHierarchyElements.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"

#include "RigHierarchy.generated.h"

class URigHierarchyController;

UCLASS(BlueprintType)
class CONTROLRIG_API URigHierarchy : public UObject
{
	GENERATED_BODY()

public:
	int32 Num() const { return Elements.Num(); }
	bool Contains(const FRigElementKey& InKey) const { return GetIndex(InKey) != INDEX_NONE; }
	int32 GetIndex(const FRigElementKey& InKey) const;
	/** Every key of the given types, in the order the elements were added. */
	TArray<FRigElementKey> GetAllKeys(bool bTraverse = false, ERigElementType InElementType = ERigElementType::All) const;

	FRigElementKey GetFirstParent(const FRigElementKey& InKey) const;
	TArray<FRigElementKey> GetParents(const FRigElementKey& InKey, bool bRecursive = false) const;
	TArray<FRigElementKey> GetChildren(const FRigElementKey& InKey, bool bRecursive = false) const;

	/** Transforms relative to the parent (for a control: its offset and value together). */
	FTransform GetLocalTransform(const FRigElementKey& InKey, bool bInitial = false) const;
	FTransform GetGlobalTransform(const FRigElementKey& InKey, bool bInitial = false) const;
	/**
	 * Sets a transform of one pose. With bAffectChildren the children keep their local transforms
	 * and move along; without it they keep their global transforms.
	 */
	void SetLocalTransform(const FRigElementKey& InKey, const FTransform& InTransform, bool bInitial = false, bool bAffectChildren = true, bool bSetupUndo = false, bool bPrintPythonCommands = false);
	void SetGlobalTransform(const FRigElementKey& InKey, const FTransform& InTransform, bool bInitial = false, bool bAffectChildren = true, bool bSetupUndo = false, bool bPrintPythonCommands = false);

	FTransform GetControlOffsetTransform(const FRigElementKey& InKey, ERigTransformType::Type InTransformType) const;
	void SetControlOffsetTransform(const FRigElementKey& InKey, const FTransform& InTransform, bool bInitial = false, bool bAffectChildren = true, bool bSetupUndo = false, bool bPrintPythonCommands = false);
	FRigControlValue GetControlValue(const FRigElementKey& InKey, ERigControlValueType InValueType = ERigControlValueType::Current) const;
	void SetControlValue(const FRigElementKey& InKey, const FRigControlValue& InValue, ERigControlValueType InValueType = ERigControlValueType::Current, bool bSetupUndo = false, bool bPrintPythonCommands = false);
	FRigControlSettings GetControlSettings(const FRigElementKey& InKey) const;
	void SetControlSettings(const FRigElementKey& InKey, const FRigControlSettings& InSettings, bool bSetupUndo = false);
	void SetControlVisibility(const FRigElementKey& InKey, bool bVisibility);

	/** Returns every current transform and control value to its initial one. */
	void ResetPoseToInitial(ERigElementType InTypeFilter = ERigElementType::All);

	URigHierarchyController* GetController(bool bCreateIfNeeded = true);

private:
	friend class URigHierarchyController;

	struct FElement
	{
		FRigElementKey Key;
		int32 ParentIndex = INDEX_NONE;
		/** Relative to the parent; for a control, relative to the parent through its offset. */
		FTransform Local[2];
		FTransform Offset[2];
		FRigControlSettings Settings;
		FRigControlValue Value[4];
	};

	static int32 PoseIndex(bool bInitial) { return bInitial ? 0 : 1; }
	FTransform ParentGlobal(int32 Index, bool bInitial) const;
	/** Remembers the children's global transforms, to restore them after their parent moves. */
	TArray<TPair<int32, FTransform>> CaptureChildren(int32 Index, bool bInitial) const;
	void RestoreChildren(const TArray<TPair<int32, FTransform>>& Captured, bool bInitial);
	void SetLocalInternal(int32 Index, const FTransform& Local, bool bInitial);
	int32 CheckedIndex(const FRigElementKey& InKey, const TCHAR* Operation) const;

	TArray<FElement> Elements;
	TMap<FRigElementKey, int32> IndexLookup;
	URigHierarchyController* Controller = nullptr;
};
