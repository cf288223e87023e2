// USceneComponent: a component with a transform relative to the component it is attached to.
#pragma once

#include "CoreMinimal.h"
#include "Components/ActorComponent.h"
#include "Engine/EngineTypes.h"

#include "SceneComponent.generated.h"

struct FHitResult;

UCLASS(BlueprintType)
class ENGINE_API USceneComponent : public UActorComponent
{
	GENERATED_BODY()

public:
	USceneComponent();

	FVector GetRelativeLocation() const { return RelativeLocation; }
	FRotator GetRelativeRotation() const { return RelativeRotation; }
	FVector GetRelativeScale3D() const { return RelativeScale3D; }

	/** Sets the location relative to the parent. Nothing moves in the stand-in, so there is no sweep to report. */
	void SetRelativeLocation(FVector NewLocation, bool bSweep = false, FHitResult* OutSweepHitResult = nullptr, ETeleportType Teleport = ETeleportType::None)
	{
		(void)bSweep;
		(void)OutSweepHitResult;
		(void)Teleport;
		RelativeLocation = NewLocation;
	}
	void SetRelativeRotation(FRotator NewRotation, bool bSweep = false, FHitResult* OutSweepHitResult = nullptr, ETeleportType Teleport = ETeleportType::None)
	{
		(void)bSweep;
		(void)OutSweepHitResult;
		(void)Teleport;
		RelativeRotation = NewRotation;
	}
	UFUNCTION(BlueprintCallable, Category = "Utilities|Transformation")
	void SetRelativeScale3D(FVector NewScale3D) { RelativeScale3D = NewScale3D; }

private:
	UPROPERTY(EditAnywhere, BlueprintReadOnly, Category = Transform, meta = (AllowPrivateAccess = "true"))
	FVector RelativeLocation;

	UPROPERTY(EditAnywhere, BlueprintReadOnly, Category = Transform, meta = (AllowPrivateAccess = "true"))
	FRotator RelativeRotation;

	UPROPERTY(EditAnywhere, BlueprintReadOnly, Category = Transform, meta = (AllowPrivateAccess = "true"))
	FVector RelativeScale3D;
};
