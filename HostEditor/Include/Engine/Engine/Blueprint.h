// UBlueprint: an asset that defines a class by its graphs and settings.
#pragma once

#include "CoreMinimal.h"
#include "Templates/SubclassOf.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"

#include "Blueprint.generated.h"

UCLASS()
class ENGINE_API UBlueprint : public UObject
{
	GENERATED_BODY()

public:
	/** The class this blueprint's class derives from. */
	UPROPERTY(AssetRegistrySearchable)
	TSubclassOf<UObject> ParentClass;

	/** Shown in the class picker tooltip for the Blueprint. */
	UPROPERTY(EditAnywhere, AssetRegistrySearchable, Category = BlueprintOptions)
	FString BlueprintDescription;

	/** The category of the Blueprint, used to organise it in the class picker. */
	UPROPERTY(EditAnywhere, AssetRegistrySearchable, Category = BlueprintOptions)
	FString BlueprintCategory;
};
