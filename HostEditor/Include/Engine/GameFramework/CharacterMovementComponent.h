// UCharacterMovementComponent: walking, falling, swimming and flying for a Character.
#pragma once

#include "CoreMinimal.h"
#include "GameFramework/PawnMovementComponent.h"

#include "CharacterMovementComponent.generated.h"

UCLASS(BlueprintType)
class ENGINE_API UCharacterMovementComponent : public UPawnMovementComponent
{
	GENERATED_BODY()

public:
	UCharacterMovementComponent();

	/** Sets the capsule half height while crouched (clamped at 0). */
	UFUNCTION(BlueprintCallable, Category = "Pawn|Components|CharacterMovement")
	void SetCrouchedHalfHeight(const float NewValue) { CrouchedHalfHeight = FMath::Max(0.0f, NewValue); }
	UFUNCTION(BlueprintCallable, Category = "Pawn|Components|CharacterMovement")
	float GetCrouchedHalfHeight() const { return CrouchedHalfHeight; }

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Character Movement (General Settings)")
	float GravityScale;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Character Movement: Walking", meta = (ClampMin = "0", UIMin = "0", ForceUnits = "cm"))
	float MaxStepHeight;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Character Movement: Jumping / Falling", meta = (DisplayName = "Jump Z Velocity", ClampMin = "0", UIMin = "0", ForceUnits = "cm/s"))
	float JumpZVelocity;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Character Movement: Walking", meta = (ClampMin = "0", UIMin = "0", ForceUnits = "cm/s"))
	float MaxWalkSpeed;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Character Movement: Walking", meta = (ClampMin = "0", UIMin = "0", ForceUnits = "cm/s"))
	float MaxWalkSpeedCrouched;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Character Movement: Swimming", meta = (ClampMin = "0", UIMin = "0", ForceUnits = "cm/s"))
	float MaxSwimSpeed;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Character Movement: Flying", meta = (ClampMin = "0", UIMin = "0", ForceUnits = "cm/s"))
	float MaxFlySpeed;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Character Movement (General Settings)", meta = (ClampMin = "0", UIMin = "0"))
	float MaxAcceleration;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Character Movement: Walking", meta = (ClampMin = "0", UIMin = "0", ForceUnits = "cm/s"))
	float MinAnalogWalkSpeed;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Character Movement: Walking", meta = (ClampMin = "0", UIMin = "0"))
	float BrakingDecelerationWalking;

private:
	UPROPERTY(EditAnywhere, BlueprintGetter = GetCrouchedHalfHeight, BlueprintSetter = SetCrouchedHalfHeight, Category = "Character Movement (General Settings)", meta = (ClampMin = "0", UIMin = "0", ForceUnits = "cm", AllowPrivateAccess = "true"))
	float CrouchedHalfHeight;
};
