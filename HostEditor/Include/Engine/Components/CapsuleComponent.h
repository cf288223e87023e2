// UCapsuleComponent: a capsule collision shape, the root of a Character.
#pragma once

#include "CoreMinimal.h"
#include "Components/ShapeComponent.h"

#include "CapsuleComponent.generated.h"

UCLASS(BlueprintType)
class ENGINE_API UCapsuleComponent : public UShapeComponent
{
	GENERATED_BODY()

public:
	UCapsuleComponent();

	/** Sets both sizes; the half height is kept at least the radius, as the engine keeps it. */
	UFUNCTION(BlueprintCallable, Category = "Components|Capsule")
	void SetCapsuleSize(float InRadius, float InHalfHeight, bool bUpdateOverlaps = true);

	float GetUnscaledCapsuleRadius() const { return CapsuleRadius; }
	float GetUnscaledCapsuleHalfHeight() const { return CapsuleHalfHeight; }

private:
	/** Half the capsule's height, its hemispheres included. */
	UPROPERTY(EditAnywhere, BlueprintReadOnly, Category = Shape, meta = (ClampMin = "0", AllowPrivateAccess = "true"))
	float CapsuleHalfHeight;

	UPROPERTY(EditAnywhere, BlueprintReadOnly, Category = Shape, meta = (ClampMin = "0", AllowPrivateAccess = "true"))
	float CapsuleRadius;
};
