// UBlueprintCore: the base of blueprints: the class they generate.
#pragma once

#include "CoreMinimal.h"
#include "Templates/SubclassOf.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"

#include "BlueprintCore.generated.h"

UCLASS()
class ENGINE_API UBlueprintCore : public UObject
{
	GENERATED_BODY()

public:
	/**
	 * The class the blueprint's last compile made (BP_Name_C), in the blueprint's package. The stand-in
	 * sets it up again when the blueprint loads, with the class defaults the blueprint saved.
	 */
	UPROPERTY(nontransactional)
	TSubclassOf<UObject> GeneratedClass;
};
