// APlayerController: the controller of a human player.
#pragma once

#include "CoreMinimal.h"
#include "GameFramework/Controller.h"

#include "PlayerController.generated.h"

UCLASS(BlueprintType, Blueprintable)
class ENGINE_API APlayerController : public AController
{
	GENERATED_BODY()
};
