// UStaticMesh: a mesh asset without skinning.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"

#include "StaticMesh.generated.h"

UCLASS(BlueprintType)
class ENGINE_API UStaticMesh : public UObject
{
	GENERATED_BODY()
};
