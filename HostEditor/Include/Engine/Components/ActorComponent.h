// UActorComponent: a reusable part of an actor.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"

#include "ActorComponent.generated.h"

UCLASS(Abstract, BlueprintType)
class ENGINE_API UActorComponent : public UObject
{
	GENERATED_BODY()
};
