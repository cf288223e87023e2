// AController: what possesses a pawn and directs it.
#pragma once

#include "CoreMinimal.h"
#include "GameFramework/Actor.h"

#include "Controller.generated.h"

UCLASS(Abstract, BlueprintType, Blueprintable)
class ENGINE_API AController : public AActor
{
	GENERATED_BODY()
};
