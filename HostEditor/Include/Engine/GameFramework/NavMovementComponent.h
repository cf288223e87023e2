// UNavMovementComponent: a movement component that can follow navigation paths.
#pragma once

#include "CoreMinimal.h"
#include "GameFramework/MovementComponent.h"

#include "NavMovementComponent.generated.h"

UCLASS(Abstract)
class ENGINE_API UNavMovementComponent : public UMovementComponent
{
	GENERATED_BODY()
};
