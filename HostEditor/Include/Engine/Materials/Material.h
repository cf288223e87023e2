// UMaterial: a material asset.
#pragma once

#include "CoreMinimal.h"
#include "Materials/MaterialInterface.h"
#include "UObject/ObjectMacros.h"

#include "Material.generated.h"

UCLASS(BlueprintType)
class ENGINE_API UMaterial : public UMaterialInterface
{
	GENERATED_BODY()
};
