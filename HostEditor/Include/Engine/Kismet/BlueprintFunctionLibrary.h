// UBlueprintFunctionLibrary: the base of classes that only hold static functions for blueprints and scripts.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"
#include "UObject/UObjectGlobals.h"

#include "BlueprintFunctionLibrary.generated.h"

UCLASS(abstract, MinimalAPI)
class UBlueprintFunctionLibrary : public UObject
{
	GENERATED_BODY()

public:
	UBlueprintFunctionLibrary(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());
};
