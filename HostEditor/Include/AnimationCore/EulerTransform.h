// FEulerTransform: a transform whose rotation is kept as a rotator; EEulerRotationOrder: the order
// in which three Euler angles are applied.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"

#include "EulerTransform.generated.h"

/** The order in which rotations about the X, Y and Z axes are applied: XYZ turns about X first. */
UENUM(BlueprintType)
enum class EEulerRotationOrder : uint8
{
	XYZ,
	XZY,
	YXZ,
	YZX,
	ZXY,
	ZYX,
};

USTRUCT(BlueprintType)
struct ANIMATIONCORE_API FEulerTransform
{
	GENERATED_BODY()

	/** The identity: no translation, no rotation, unit scale. */
	static const FEulerTransform Identity;

	FEulerTransform()
		: Location(ForceInitToZero)
		, Rotation(ForceInitToZero)
		, Scale(FVector::OneVector)
	{
	}

	FEulerTransform(const FVector& InLocation, const FRotator& InRotation, const FVector& InScale)
		: Location(InLocation)
		, Rotation(InRotation)
		, Scale(InScale)
	{
	}

	explicit FEulerTransform(const FTransform& InTransform)
		: Location(InTransform.GetLocation())
		, Rotation(InTransform.Rotator())
		, Scale(InTransform.GetScale3D())
	{
	}

	/** The translation of this transform. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Transform")
	FVector Location;

	/** The rotation of this transform. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Transform")
	FRotator Rotation;

	/** The scale of this transform. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Transform")
	FVector Scale;

	/** Returns the same placement as a quaternion transform. */
	FTransform ToFTransform() const { return FTransform(Rotation.Quaternion(), Location, Scale); }
	/** Takes the placement of a quaternion transform; the rotator is the quaternion's normalised one. */
	void FromFTransform(const FTransform& InTransform)
	{
		Location = InTransform.GetLocation();
		Rotation = InTransform.Rotator();
		Scale = InTransform.GetScale3D();
	}

	FVector GetLocation() const { return Location; }
	FRotator Rotator() const { return Rotation; }
	FVector GetScale3D() const { return Scale; }
	void SetLocation(const FVector& InLocation) { Location = InLocation; }
	void SetRotator(const FRotator& InRotation) { Rotation = InRotation; }
	void SetScale3D(const FVector& InScale) { Scale = InScale; }

	bool operator==(const FEulerTransform& Other) const
	{
		return Location == Other.Location && Rotation == Other.Rotation && Scale == Other.Scale;
	}
	bool operator!=(const FEulerTransform& Other) const { return !(*this == Other); }
};
