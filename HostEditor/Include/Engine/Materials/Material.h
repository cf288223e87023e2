// UMaterial: a material asset.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"

#include "Material.generated.h"

UCLASS(BlueprintType)
class ENGINE_API UMaterial : public UObject
{
	GENERATED_BODY()
};
