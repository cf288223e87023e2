// Rig elements and their data: bone types, control settings and the element records a hierarchy
// holds (bones, nulls and controls).
#pragma once

#include "CoreMinimal.h"
#include "EulerTransform.h"
#include "Rigs/RigHierarchyDefines.h"
#include "UObject/ObjectMacros.h"

#include "RigHierarchyElements.generated.h"

namespace ERigTransformType
{
	enum Type : uint8
	{
		InitialLocal,
		CurrentLocal,
		InitialGlobal,
		CurrentGlobal,
		NumTransformTypes
	};

	inline bool IsInitial(Type InType) { return InType == InitialLocal || InType == InitialGlobal; }
	inline bool IsLocal(Type InType) { return InType == InitialLocal || InType == CurrentLocal; }
}

/** Whether a bone came from a skeleton or was added by the user. */
UENUM()
enum class ERigBoneType : uint8
{
	Imported,
	User,
};

/** What a control is for: an animatable control, a channel on another control, a proxy or a visual cue. */
UENUM(BlueprintType)
enum class ERigControlAnimationType : uint8
{
	AnimationControl,
	AnimationChannel,
	ProxyControl,
	VisualCue,
};

/** Whether a control's shape is shown as the user set it or only while the control is selected. */
UENUM(BlueprintType)
enum class ERigControlVisibility : uint8
{
	UserDefined,
	BasedOnSelection,
};

/** Whether the minimum and the maximum limit of one channel of a control apply. */
USTRUCT(BlueprintType)
struct FRigControlLimitEnabled
{
	GENERATED_BODY()

	FRigControlLimitEnabled() = default;
	FRigControlLimitEnabled(bool bInValue)
		: bMinimum(bInValue)
		, bMaximum(bInValue)
	{
	}
	FRigControlLimitEnabled(bool bInMinimum, bool bInMaximum)
		: bMinimum(bInMinimum)
		, bMaximum(bInMaximum)
	{
	}

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Limits)
	bool bMinimum = false;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Limits)
	bool bMaximum = false;

	bool IsOn() const { return bMinimum || bMaximum; }
	bool IsOff() const { return !IsOn(); }

	/** Clamps Value to the enabled limits. */
	double GetLimitedValue(double InValue, double InMinimum, double InMaximum) const;

	bool operator==(const FRigControlLimitEnabled& Other) const { return bMinimum == Other.bMinimum && bMaximum == Other.bMaximum; }
};

USTRUCT(BlueprintType)
struct CONTROLRIG_API FRigControlSettings
{
	GENERATED_BODY()

	/** What the control is for; animation channels are controls of type AnimationChannel. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Control)
	ERigControlAnimationType AnimationType = ERigControlAnimationType::AnimationControl;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Control)
	ERigControlType ControlType = ERigControlType::EulerTransform;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Control)
	FName DisplayName;

	/** The axis of a float, integer or two-dimensional control. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Control)
	ERigControlAxis PrimaryAxis = ERigControlAxis::X;

	/** One entry per channel of the control's type: whether its minimum and maximum apply. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Limits)
	TArray<FRigControlLimitEnabled> LimitEnabled;

	/** Whether the limits are drawn in the viewport. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Limits)
	bool bDrawLimits = true;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Limits)
	FRigControlValue MinimumValue;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Limits)
	FRigControlValue MaximumValue;

	/** Whether the control's shape is drawn in the viewport. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Shape)
	bool bShapeVisible = true;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Shape)
	ERigControlVisibility ShapeVisibility = ERigControlVisibility::UserDefined;

	/** The name of the shape in the rig's shape libraries. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Shape)
	FName ShapeName = FName(TEXT("Default"));

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Shape)
	FLinearColor ShapeColor = FLinearColor::Red;

	/** A transient control is not saved with the rig. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Control)
	bool bIsTransientControl = false;

	/** Controls whose values this control drives. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Interaction)
	TArray<FRigElementKey> DrivenControls;

	/** Whether the control is listed under its parent control rather than on its own. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Control)
	bool bGroupWithParentControl = false;

	/** Whether animators may switch the control's space. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Control)
	bool bRestrictSpaceSwitching = false;

	/** The rotation order of the control's Euler angles, when bUsePreferredRotationOrder. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Control)
	EEulerRotationOrder PreferredRotationOrder = EEulerRotationOrder::YZX;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Control)
	bool bUsePreferredRotationOrder = false;

	/** The number of limit channels of a control type: one per number the type animates. */
	static int32 NumLimitChannels(ERigControlType InControlType);
	/** Resizes LimitEnabled to the channels of the control type, keeping the entries it has. */
	void SetupLimitArrayForType();
	/** Clamps the channels of Value whose limits are enabled to MinimumValue and MaximumValue. */
	void ApplyLimits(FRigControlValue& InOutValue) const;
	/** The value that leaves a control of this type at its offset. */
	FRigControlValue GetIdentityValue() const;
	/** Sets whether the control's shape is drawn. */
	void SetVisible(bool bVisible) { bShapeVisible = bVisible; }
	bool IsVisible() const { return bShapeVisible; }

	bool operator==(const FRigControlSettings& Other) const;
};

/**
 * The record of one element of a hierarchy: its key and its index there. The hierarchy owns its
 * elements; pointers to them stay valid until the element is removed.
 */
struct CONTROLRIG_API FRigBaseElement
{
	virtual ~FRigBaseElement() = default;

	const FRigElementKey& GetKey() const { return Key; }
	const FName& GetFName() const { return Key.Name; }
	ERigElementType GetType() const { return Key.Type; }
	int32 GetIndex() const { return Index; }

protected:
	explicit FRigBaseElement(ERigElementType InType) { Key.Type = InType; }

	FRigElementKey Key;
	int32 Index = INDEX_NONE;

	friend class URigHierarchy;
	friend class URigHierarchyController;
};

/** An element with a transform. */
struct CONTROLRIG_API FRigTransformElement : public FRigBaseElement
{
protected:
	using FRigBaseElement::FRigBaseElement;
};

/** A transform element with one parent (bones). */
struct CONTROLRIG_API FRigSingleParentElement : public FRigTransformElement
{
protected:
	using FRigTransformElement::FRigTransformElement;
};

/** A transform element that may have several weighted parents (nulls and controls). */
struct CONTROLRIG_API FRigMultiParentElement : public FRigTransformElement
{
protected:
	using FRigTransformElement::FRigTransformElement;
};

struct CONTROLRIG_API FRigBoneElement : public FRigSingleParentElement
{
	FRigBoneElement()
		: FRigSingleParentElement(ERigElementType::Bone)
	{
	}

	/** Whether the bone came from a skeleton or was added by the user. */
	ERigBoneType BoneType = ERigBoneType::User;
};

struct CONTROLRIG_API FRigNullElement : public FRigMultiParentElement
{
	FRigNullElement()
		: FRigMultiParentElement(ERigElementType::Null)
	{
	}
};

struct CONTROLRIG_API FRigControlElement : public FRigMultiParentElement
{
	FRigControlElement()
		: FRigMultiParentElement(ERigElementType::Control)
	{
	}

	/** The control's settings: its type, limits, shape and how animators see it. */
	FRigControlSettings Settings;
};
