// UAnimInstance: the instance of an animation blueprint's class that animates a skeletal mesh component.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"

#include "AnimInstance.generated.h"

UCLASS(Transient, Blueprintable)
class ENGINE_API UAnimInstance : public UObject
{
	GENERATED_BODY()
};
