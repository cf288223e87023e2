// APawn: an actor that a player or an AI controller can possess.
#pragma once

#include "CoreMinimal.h"
#include "GameFramework/Actor.h"

#include "Pawn.generated.h"

UCLASS(BlueprintType, Blueprintable)
class ENGINE_API APawn : public AActor
{
	GENERATED_BODY()
};
