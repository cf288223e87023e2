// Rig element data: control types, control values and control settings.
#pragma once

#include <type_traits>

#include "CoreMinimal.h"
#include "EulerTransform.h"
#include "Rigs/RigHierarchyDefines.h"
#include "UObject/ObjectMacros.h"

#include "RigHierarchyElements.generated.h"

UENUM(BlueprintType)
enum class ERigControlType : uint8
{
	Bool,
	Float,
	Integer,
	Vector2D,
	Position,
	Scale,
	Rotator,
	Transform UMETA(Hidden),
	TransformNoScale UMETA(Hidden),
	EulerTransform,
	ScaleFloat,
};

UENUM(BlueprintType)
enum class ERigControlValueType : uint8
{
	Initial,
	Current,
	Minimum,
	Maximum,
};

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

/** The axis a one- or two-dimensional control moves along. */
UENUM(BlueprintType)
enum class ERigControlAxis : uint8
{
	X,
	Y,
	Z,
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

/** The raw storage of a control value: sixteen numbers read according to the control's type. */
USTRUCT()
struct FRigControlValueStorage
{
	GENERATED_BODY()

	UPROPERTY()
	double Float00 = 0.0;
	UPROPERTY()
	double Float01 = 0.0;
	UPROPERTY()
	double Float02 = 0.0;
	UPROPERTY()
	double Float03 = 0.0;
	UPROPERTY()
	double Float10 = 0.0;
	UPROPERTY()
	double Float11 = 0.0;
	UPROPERTY()
	double Float12 = 0.0;
	UPROPERTY()
	double Float13 = 0.0;
	UPROPERTY()
	double Float20 = 0.0;
	UPROPERTY()
	double Float21 = 0.0;
	UPROPERTY()
	double Float22 = 0.0;
	UPROPERTY()
	double Float23 = 0.0;
	UPROPERTY()
	double Float30 = 0.0;
	UPROPERTY()
	double Float31 = 0.0;
	UPROPERTY()
	double Float32 = 0.0;
	UPROPERTY()
	double Float33 = 0.0;

	static constexpr int32 Num = 16;

	double& operator[](int32 Index);
	double operator[](int32 Index) const { return const_cast<FRigControlValueStorage&>(*this)[Index]; }
	bool operator==(const FRigControlValueStorage& Other) const;
};

/**
 * The value of a control, kept as raw numbers read according to the control's type: a float, bool
 * or integer in the first number, a vector, a two-dimensional vector or a rotator's Euler angles
 * (roll, pitch, yaw) in the first three, a transform as translation, rotation quaternion and scale,
 * an Euler transform as translation, pitch, yaw, roll and scale. Reading a value as another type
 * than it was made from reinterprets the numbers, as the engine does.
 */
USTRUCT(BlueprintType)
struct FRigControlValue
{
	GENERATED_BODY()

	FRigControlValue() = default;

	template <typename T>
	static FRigControlValue Make(const T& Value)
	{
		FRigControlValue Result;
		Result.Set<T>(Value);
		return Result;
	}

	template <typename T>
	T Get() const
	{
		if constexpr (std::is_same_v<T, float>) { return (float)FloatStorage[0]; }
		else if constexpr (std::is_same_v<T, bool>) { return FloatStorage[0] != 0.0; }
		else if constexpr (std::is_same_v<T, int32>) { return (int32)FloatStorage[0]; }
		else if constexpr (std::is_same_v<T, FVector>) { return ReadVector(0); }
		else if constexpr (std::is_same_v<T, FVector2D>) { return FVector2D(FloatStorage[0], FloatStorage[1]); }
		else if constexpr (std::is_same_v<T, FRotator>) { return FRotator::MakeFromEuler(ReadVector(0)); }
		else if constexpr (std::is_same_v<T, FEulerTransform>) { return FEulerTransform(ReadVector(0), FRotator(FloatStorage[3], FloatStorage[4], FloatStorage[5]), ReadVector(6)); }
		else { static_assert(std::is_same_v<T, FTransform>, "Unsupported control value type"); return FTransform(FQuat(FloatStorage[3], FloatStorage[4], FloatStorage[5], FloatStorage[6]), ReadVector(0), ReadVector(7)); }
	}

	template <typename T>
	void Set(const T& Value)
	{
		FloatStorage = FRigControlValueStorage();
		if constexpr (std::is_same_v<T, float> || std::is_same_v<T, double>) { FloatStorage[0] = (double)Value; }
		else if constexpr (std::is_same_v<T, bool>) { FloatStorage[0] = Value ? 1.0 : 0.0; }
		else if constexpr (std::is_same_v<T, int32>) { FloatStorage[0] = (double)Value; }
		else if constexpr (std::is_same_v<T, FVector>) { WriteVector(0, Value); }
		else if constexpr (std::is_same_v<T, FVector2D>) { FloatStorage[0] = Value.X; FloatStorage[1] = Value.Y; }
		else if constexpr (std::is_same_v<T, FRotator>) { WriteVector(0, Value.Euler()); }
		else if constexpr (std::is_same_v<T, FEulerTransform>)
		{
			WriteVector(0, Value.Location);
			FloatStorage[3] = Value.Rotation.Pitch;
			FloatStorage[4] = Value.Rotation.Yaw;
			FloatStorage[5] = Value.Rotation.Roll;
			WriteVector(6, Value.Scale);
		}
		else
		{
			static_assert(std::is_same_v<T, FTransform>, "Unsupported control value type");
			WriteVector(0, Value.GetTranslation());
			const FQuat Rotation = Value.GetRotation();
			FloatStorage[3] = Rotation.X;
			FloatStorage[4] = Rotation.Y;
			FloatStorage[5] = Rotation.Z;
			FloatStorage[6] = Rotation.W;
			WriteVector(7, Value.GetScale3D());
		}
	}

	/** The value as a transform of a control of type ControlType, relative to its offset. */
	FTransform GetAsTransform(ERigControlType ControlType) const;
	/** Sets the value from a transform relative to the offset, keeping what the type can hold. */
	void SetFromTransform(const FTransform& Transform, ERigControlType ControlType);
	/** True when any number of the storage is set; a default-made value holds none. */
	bool IsSet() const { return !(FloatStorage == FRigControlValueStorage()); }

	bool operator==(const FRigControlValue& Other) const { return FloatStorage == Other.FloatStorage; }

	FRigControlValueStorage& GetStorage() { return FloatStorage; }
	const FRigControlValueStorage& GetStorage() const { return FloatStorage; }

private:
	FVector ReadVector(int32 First) const { return FVector(FloatStorage[First], FloatStorage[First + 1], FloatStorage[First + 2]); }
	void WriteVector(int32 First, const FVector& Value)
	{
		FloatStorage[First] = Value.X;
		FloatStorage[First + 1] = Value.Y;
		FloatStorage[First + 2] = Value.Z;
	}

	UPROPERTY(meta = (ScriptNoExport))
	FRigControlValueStorage FloatStorage;
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
