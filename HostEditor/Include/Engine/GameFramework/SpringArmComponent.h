// USpringArmComponent: keeps its children at a distance behind it (a camera boom).
#pragma once

#include "CoreMinimal.h"
#include "Components/SceneComponent.h"

#include "SpringArmComponent.generated.h"

UCLASS(BlueprintType)
class ENGINE_API USpringArmComponent : public USceneComponent
{
	GENERATED_BODY()

public:
	USpringArmComponent();

	/** The arm's length when nothing is in the way. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Camera)
	float TargetArmLength;
};
