// UPawnMovementComponent: moves a pawn.
#pragma once

#include "CoreMinimal.h"
#include "GameFramework/NavMovementComponent.h"

#include "PawnMovementComponent.generated.h"

UCLASS(Abstract)
class ENGINE_API UPawnMovementComponent : public UNavMovementComponent
{
	GENERATED_BODY()
};
