// UMovementComponent: moves the component it updates.
#pragma once

#include "CoreMinimal.h"
#include "Components/ActorComponent.h"

#include "MovementComponent.generated.h"

UCLASS(Abstract)
class ENGINE_API UMovementComponent : public UActorComponent
{
	GENERATED_BODY()
};
