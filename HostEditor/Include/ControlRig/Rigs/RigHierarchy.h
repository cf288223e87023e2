// URigHierarchy: the bones, nulls and controls of a Control Rig with their initial and current poses.
#pragma once

#include <type_traits>

#include "CoreMinimal.h"
#include "EulerTransform.h"
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
	/** Returns the number of elements. */
	UFUNCTION(BlueprintCallable, Category = URigHierarchy)
	int32 Num() const { return Elements.Num(); }

	/** Returns true when the hierarchy has an element with that key. */
	UFUNCTION(BlueprintCallable, Category = URigHierarchy, meta = (DisplayName = "Contains", ScriptName = "Contains"))
	bool Contains_ForBlueprint(FRigElementKey InKey) const { return Contains(InKey); }

	/** Returns true when the hierarchy has an element with that key. */
	bool Contains(const FRigElementKey& InKey) const { return GetIndex(InKey) != INDEX_NONE; }

	/** Returns the index of an element, or INDEX_NONE. */
	UFUNCTION(BlueprintCallable, Category = URigHierarchy, meta = (DisplayName = "Get Index", ScriptName = "GetIndex"))
	int32 GetIndex_ForBlueprint(FRigElementKey InKey) const { return GetIndex(InKey); }

	/** Returns the index of an element, or INDEX_NONE. */
	int32 GetIndex(const FRigElementKey& InKey) const;

	/** Every key of the given types: in the order the elements were added, or parents before children. */
	TArray<FRigElementKey> GetAllKeys(bool bTraverse = false, ERigElementType InElementType = ERigElementType::All) const;

	/** Every key, parents before their children when bTraverse. */
	UFUNCTION(BlueprintCallable, Category = URigHierarchy, meta = (DisplayName = "Get All Keys", ScriptName = "GetAllKeys"))
	TArray<FRigElementKey> GetAllKeys_ForBlueprint(bool bTraverse = true) const { return GetAllKeys(bTraverse); }

	/** Returns the keys of all bones. */
	UFUNCTION(BlueprintCallable, Category = URigHierarchy, meta = (ScriptName = "GetBones"))
	TArray<FRigElementKey> GetBoneKeys(bool bTraverse = true) const { return GetAllKeys(bTraverse, ERigElementType::Bone); }

	/** Returns the keys of all nulls. */
	UFUNCTION(BlueprintCallable, Category = URigHierarchy, meta = (ScriptName = "GetNulls"))
	TArray<FRigElementKey> GetNullKeys(bool bTraverse = true) const { return GetAllKeys(bTraverse, ERigElementType::Null); }

	/** Returns the keys of all controls, animation channels included. */
	UFUNCTION(BlueprintCallable, Category = URigHierarchy, meta = (ScriptName = "GetControls"))
	TArray<FRigElementKey> GetControlKeys(bool bTraverse = true) const { return GetAllKeys(bTraverse, ERigElementType::Control); }

	/** Returns the parent of an element, or an empty key for a root or an unknown element. */
	UFUNCTION(BlueprintCallable, Category = URigHierarchy)
	FRigElementKey GetFirstParent(FRigElementKey InKey) const;

	/** Returns the parent of an element, and with bRecursive all its ancestors, nearest first. */
	UFUNCTION(BlueprintCallable, Category = URigHierarchy)
	TArray<FRigElementKey> GetParents(FRigElementKey InKey, bool bRecursive = false) const;

	/** Returns the children of an element, and with bRecursive their descendants (depth first). */
	UFUNCTION(BlueprintCallable, Category = URigHierarchy)
	TArray<FRigElementKey> GetChildren(FRigElementKey InKey, bool bRecursive = false) const;

	/** Returns the transform relative to the parent (for a control: its value on top of its offset). */
	UFUNCTION(BlueprintCallable, Category = URigHierarchy)
	FTransform GetLocalTransform(FRigElementKey InKey, bool bInitial = false) const;

	/** Returns the transform in the rig's space. */
	UFUNCTION(BlueprintCallable, Category = URigHierarchy)
	FTransform GetGlobalTransform(FRigElementKey InKey, bool bInitial = false) const;

	/**
	 * Sets a transform of one pose. With bAffectChildren the children keep their local transforms
	 * and move along; without it they keep their global transforms.
	 */
	UFUNCTION(BlueprintCallable, Category = URigHierarchy)
	void SetLocalTransform(FRigElementKey InKey, FTransform InTransform, bool bInitial = false, bool bAffectChildren = true, bool bSetupUndo = false, bool bPrintPythonCommands = false);

	/** Sets the global transform of one pose; children behave as with SetLocalTransform. */
	UFUNCTION(BlueprintCallable, Category = URigHierarchy)
	void SetGlobalTransform(FRigElementKey InKey, FTransform InTransform, bool bInitial = false, bool bAffectChildren = true, bool bSetupUndo = false, bool bPrintPythonCommand = false);

	/** Returns a control's offset transform, local (relative to the parent) or global. */
	FTransform GetControlOffsetTransform(FRigControlElement* InControlElement, const ERigTransformType::Type InTransformType) const;

	/** Returns a control's offset transform in the rig's space. */
	UFUNCTION(BlueprintCallable, Category = URigHierarchy)
	FTransform GetGlobalControlOffsetTransform(FRigElementKey InKey, bool bInitial = false) const;

	/**
	 * Sets a control's offset transform, relative to its parent. Setting the initial offset sets the
	 * current one too, so that both poses keep the same offset.
	 */
	UFUNCTION(BlueprintCallable, Category = URigHierarchy)
	void SetControlOffsetTransform(FRigElementKey InKey, FTransform InTransform, bool bInitial = false, bool bAffectChildren = true, bool bSetupUndo = false, bool bPrintPythonCommands = false);

	/** Sets a control's shape transform, relative to the control; the initial one sets the current one too. */
	UFUNCTION(BlueprintCallable, Category = URigHierarchy)
	void SetControlShapeTransform(FRigElementKey InKey, FTransform InTransform, bool bInitial = false, bool bSetupUndo = false);

	/** Returns a control's shape transform in the rig's space. */
	UFUNCTION(BlueprintCallable, Category = URigHierarchy)
	FTransform GetGlobalControlShapeTransform(FRigElementKey InKey, bool bInitial = false) const;

	/** Returns a control's shape transform relative to the control. */
	UFUNCTION(BlueprintCallable, Category = URigHierarchy)
	FTransform GetLocalControlShapeTransform(FRigElementKey InKey, bool bInitial = false) const;

	/** Returns a control's value; the minimum and maximum are its settings' limits. */
	UFUNCTION(BlueprintCallable, Category = URigHierarchy)
	FRigControlValue GetControlValue(FRigElementKey InKey, ERigControlValueType InValueType = ERigControlValueType::Current) const;

	/** Sets a control's value; initial and current values are clamped to the enabled limits. */
	UFUNCTION(BlueprintCallable, Category = URigHierarchy)
	void SetControlValue(FRigElementKey InKey, FRigControlValue InValue, ERigControlValueType InValueType = ERigControlValueType::Current, bool bSetupUndo = false, bool bPrintPythonCommands = false);

	/** Replaces a control's settings; the control keeps its values, read as the new type. */
	UFUNCTION(BlueprintCallable, Category = URigHierarchy)
	void SetControlSettings(FRigElementKey InKey, FRigControlSettings InSettings, bool bSetupUndo = false, bool bForce = false, bool bPrintPythonCommands = false);

	/** Shows or hides a control's shape. */
	UFUNCTION(BlueprintCallable, Category = URigHierarchy)
	void SetControlVisibility(FRigElementKey InKey, bool bVisibility);

	/**
	 * Sets a control's preferred Euler angles, given in InRotationOrder and kept in the control's own
	 * order. With bFixEulerFlips each angle is wound to lie within half a turn of the one it replaces.
	 */
	UFUNCTION(BlueprintCallable, Category = URigHierarchy)
	void SetControlPreferredEulerAngles(FRigElementKey InKey, const FVector& InEulerAngles, EEulerRotationOrder InRotationOrder, bool bInitial = false, bool bFixEulerFlips = false);

	/** Returns a control's preferred Euler angles in InRotationOrder. */
	UFUNCTION(BlueprintCallable, Category = URigHierarchy)
	FVector GetControlPreferredEulerAngles(FRigElementKey InKey, EEulerRotationOrder InRotationOrder, bool bInitial = false) const;

	/** Returns the rotation order of a control: the one of its settings, or the one its angles are kept in. */
	UFUNCTION(BlueprintCallable, Category = URigHierarchy)
	EEulerRotationOrder GetControlPreferredEulerRotationOrder(FRigElementKey InKey, bool bFromSettings = true) const;

	/**
	 * Returns the element with that key as a T, or null when there is none or it is not a T. The
	 * element stays where it is until it is removed.
	 */
	template<typename T>
	T* Find(const FRigElementKey& InKey)
	{
		static_assert(std::is_same_v<T, FRigControlElement>, "only control elements are found by key here");
		return FindControlElement(InKey);
	}

	template<typename T>
	const T* Find(const FRigElementKey& InKey) const
	{
		static_assert(std::is_same_v<T, FRigControlElement>, "only control elements are found by key here");
		return const_cast<URigHierarchy*>(this)->FindControlElement(InKey);
	}

	/** Returns the hierarchy's controller, making it when asked to. */
	UFUNCTION(BlueprintCallable, Category = URigHierarchy)
	URigHierarchyController* GetController(bool bCreateIfNeeded = true);

	/** Returns every current transform and control value to its initial one. */
	void ResetPoseToInitial(ERigElementType InTypeFilter = ERigElementType::All);

	UFUNCTION(BlueprintPure, Category = URigHierarchy)
	static FRigControlValue MakeControlValueFromBool(bool InValue) { return FRigControlValue::Make<bool>(InValue); }
	UFUNCTION(BlueprintPure, Category = URigHierarchy)
	static FRigControlValue MakeControlValueFromFloat(float InValue) { return FRigControlValue::Make<float>(InValue); }
	UFUNCTION(BlueprintPure, Category = URigHierarchy)
	static FRigControlValue MakeControlValueFromInt(int32 InValue) { return FRigControlValue::Make<int32>(InValue); }
	UFUNCTION(BlueprintPure, Category = URigHierarchy)
	static FRigControlValue MakeControlValueFromVector2D(FVector2D InValue) { return FRigControlValue::Make<FVector3f>(FVector3f((float)InValue.X, (float)InValue.Y, 0.f)); }
	UFUNCTION(BlueprintPure, Category = URigHierarchy)
	static FRigControlValue MakeControlValueFromVector(FVector InValue) { return FRigControlValue::Make<FVector3f>(FVector3f(InValue)); }
	UFUNCTION(BlueprintPure, Category = URigHierarchy)
	static FRigControlValue MakeControlValueFromRotator(FRotator InValue) { return FRigControlValue::Make<FVector3f>(FVector3f(InValue.Euler())); }
	UFUNCTION(BlueprintPure, Category = URigHierarchy)
	static FRigControlValue MakeControlValueFromTransform(FTransform InValue) { return FRigControlValue::Make<FTransform>(InValue); }
	UFUNCTION(BlueprintPure, Category = URigHierarchy)
	static FRigControlValue MakeControlValueFromEulerTransform(FEulerTransform InValue) { return FRigControlValue::Make<FEulerTransform>(InValue); }

	UFUNCTION(BlueprintPure, Category = URigHierarchy)
	static float GetFloatFromControlValue(FRigControlValue InValue) { return InValue.Get<float>(); }
	UFUNCTION(BlueprintPure, Category = URigHierarchy)
	static int32 GetIntFromControlValue(FRigControlValue InValue) { return InValue.Get<int32>(); }
	UFUNCTION(BlueprintPure, Category = URigHierarchy)
	static FVector2D GetVector2DFromControlValue(FRigControlValue InValue)
	{
		const FVector3f Vector = InValue.Get<FVector3f>();
		return FVector2D(Vector.X, Vector.Y);
	}
	UFUNCTION(BlueprintPure, Category = URigHierarchy)
	static FVector GetVectorFromControlValue(FRigControlValue InValue) { return FVector(InValue.Get<FVector3f>()); }
	UFUNCTION(BlueprintPure, Category = URigHierarchy)
	static FRotator GetRotatorFromControlValue(FRigControlValue InValue) { return FRotator::MakeFromEuler(FVector(InValue.Get<FVector3f>())); }
	UFUNCTION(BlueprintPure, Category = URigHierarchy)
	static FTransform GetTransformFromControlValue(FRigControlValue InValue) { return InValue.Get<FRigControlValue::FTransform_Float>().ToTransform(); }
	UFUNCTION(BlueprintPure, Category = URigHierarchy)
	static FEulerTransform GetEulerTransformFromControlValue(FRigControlValue InValue) { return InValue.Get<FRigControlValue::FEulerTransform_Float>().ToTransform(); }

	/** Writes every element as one text line: key, parent, both poses, offsets, shapes, settings and values. */
	virtual void ExportCustomProperties(FOutputDevice& Out, uint32 Indent) override;
	/** Replaces the elements with the ones in the text ExportCustomProperties writes; bad lines are reported to Warn. */
	virtual void ImportCustomProperties(const TCHAR* SourceText, FFeedbackContext* Warn) override;

private:
	friend class URigHierarchyController;

	struct FElement
	{
		FElement() = default;
		FElement(const FElement& Other);
		FElement& operator=(const FElement& Other);
		FElement(FElement&&) = default;
		FElement& operator=(FElement&&) = default;

		FRigElementKey Key;
		int32 ParentIndex = INDEX_NONE;
		/** The engine's record of the element: a bone, null or control element of Key's type. */
		TSharedPtr<FRigBaseElement> Record;
		/** Relative to the parent; for a control, its value on top of its offset. */
		FTransform Local[2];
		FTransform Offset[2];
		/** Relative to the control. */
		FTransform Shape[2];
		/** The initial and the current value; minimum and maximum live in the settings. */
		FRigControlValue Value[2];
		/** Preferred Euler angles of both poses, kept in PreferredOrder. */
		FVector PreferredAngles[2] = {FVector(0.0, 0.0, 0.0), FVector(0.0, 0.0, 0.0)};
		EEulerRotationOrder PreferredOrder = EEulerRotationOrder::YZX;

		/** Makes the record of Key's type; a control's gets InSettings. */
		void MakeRecord(const FRigControlSettings& InSettings = FRigControlSettings());
		/** The control record, or null when the element is not a control. */
		FRigControlElement* Control() const;
		/** The bone record, or null when the element is not a bone. */
		FRigBoneElement* Bone() const;
		/** A control's settings; default settings for other elements. */
		const FRigControlSettings& SettingsOrDefault() const;
		/** Settings of a control (the element must be one). */
		FRigControlSettings& Settings() const { return Control()->Settings; }
	};

	static int32 PoseIndex(bool bInitial) { return bInitial ? 0 : 1; }
	FTransform ParentGlobal(int32 Index, bool bInitial) const;
	FTransform GlobalOf(int32 Index, bool bInitial) const;
	/** Remembers the children's global transforms, to restore them after their parent moves. */
	TArray<TPair<int32, FTransform>> CaptureChildren(int32 Index, bool bInitial) const;
	void RestoreChildren(const TArray<TPair<int32, FTransform>>& Captured, bool bInitial);
	void SetLocalInternal(int32 Index, const FTransform& Local, bool bInitial);
	/** Stores a control's value of one pose and refreshes its local transform and preferred angles. */
	void SetControlValueInternal(int32 Index, const FRigControlValue& InValue, bool bInitial);
	void UpdatePreferredAngles(int32 Index, bool bInitial);
	int32 CheckedIndex(const FRigElementKey& InKey, const TCHAR* Operation) const;
	int32 CheckedControlIndex(const FRigElementKey& InKey, const TCHAR* Operation) const;
	/** Rebuilds the key lookup after elements were removed or renamed; the records learn their keys and indices. */
	void RebuildLookup();
	FRigControlElement* FindControlElement(const FRigElementKey& InKey);

	TArray<FElement> Elements;
	TMap<FRigElementKey, int32> IndexLookup;
	URigHierarchyController* Controller = nullptr;
};
