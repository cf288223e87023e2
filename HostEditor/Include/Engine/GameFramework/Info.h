// AInfo: an actor that holds information and is not placed for its looks.
#pragma once

#include "CoreMinimal.h"
#include "GameFramework/Actor.h"

#include "Info.generated.h"

UCLASS(Abstract)
class ENGINE_API AInfo : public AActor
{
	GENERATED_BODY()
};
