// Rig element data: control types, control values and control settings.
#pragma once

#include "CoreMinimal.h"
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
	Transform,
	TransformNoScale,
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

/**
 * The value of a control. The engine keeps it as raw float storage read according to the control's
 * type: a float, bool or integer sits in the first component, a vector in the first three, a
 * transform as translation, rotation and scale.
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
		if constexpr (std::is_same_v<T, float>) { return (float)Storage.GetTranslation().X; }
		else if constexpr (std::is_same_v<T, bool>) { return Storage.GetTranslation().X != 0.0; }
		else if constexpr (std::is_same_v<T, int32>) { return (int32)Storage.GetTranslation().X; }
		else if constexpr (std::is_same_v<T, FVector>) { return Storage.GetTranslation(); }
		else if constexpr (std::is_same_v<T, FVector2D>) { return FVector2D(Storage.GetTranslation().X, Storage.GetTranslation().Y); }
		else if constexpr (std::is_same_v<T, FRotator>) { return Storage.Rotator(); }
		else { static_assert(std::is_same_v<T, FTransform>, "Unsupported control value type"); return Storage; }
	}

	template <typename T>
	void Set(const T& Value)
	{
		if constexpr (std::is_same_v<T, float>) { Storage = FTransform(FVector((double)Value, 0.0, 0.0)); }
		else if constexpr (std::is_same_v<T, bool>) { Storage = FTransform(FVector(Value ? 1.0 : 0.0, 0.0, 0.0)); }
		else if constexpr (std::is_same_v<T, int32>) { Storage = FTransform(FVector((double)Value, 0.0, 0.0)); }
		else if constexpr (std::is_same_v<T, FVector>) { Storage = FTransform(Value); }
		else if constexpr (std::is_same_v<T, FVector2D>) { Storage = FTransform(FVector(Value.X, Value.Y, 0.0)); }
		else if constexpr (std::is_same_v<T, FRotator>) { Storage = FTransform(Value); }
		else { static_assert(std::is_same_v<T, FTransform>, "Unsupported control value type"); Storage = Value; }
	}

	/** The value as a transform of a control of type ControlType, relative to its offset. */
	FTransform GetAsTransform(ERigControlType ControlType) const;
	/** Sets the value from a transform relative to the offset, keeping what the type can hold. */
	void SetFromTransform(const FTransform& Transform, ERigControlType ControlType);

private:
	FTransform Storage = FTransform::Identity;
};

USTRUCT(BlueprintType)
struct FRigControlSettings
{
	GENERATED_BODY()

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Control)
	ERigControlType ControlType = ERigControlType::EulerTransform;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Control)
	FName DisplayName;

	/** Whether the control's shape is drawn in the viewport. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Shape)
	bool bShapeVisible = true;
};
