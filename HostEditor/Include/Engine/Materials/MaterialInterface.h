// UMaterialInterface: what a mesh's material slot holds (a material or a material instance).
#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"

#include "MaterialInterface.generated.h"

UCLASS(Abstract, BlueprintType)
class ENGINE_API UMaterialInterface : public UObject
{
	GENERATED_BODY()
};
