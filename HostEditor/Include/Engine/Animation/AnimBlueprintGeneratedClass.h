// UAnimBlueprintGeneratedClass: the class an animation blueprint compiles to.
#pragma once

#include "CoreMinimal.h"
#include "Engine/BlueprintGeneratedClass.h"

#include "AnimBlueprintGeneratedClass.generated.h"

UCLASS()
class ENGINE_API UAnimBlueprintGeneratedClass : public UBlueprintGeneratedClass
{
	GENERATED_BODY()
};
