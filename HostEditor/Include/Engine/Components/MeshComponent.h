// UMeshComponent: a primitive that draws a mesh.
#pragma once

#include "CoreMinimal.h"
#include "Components/PrimitiveComponent.h"

#include "MeshComponent.generated.h"

UCLASS(Abstract)
class ENGINE_API UMeshComponent : public UPrimitiveComponent
{
	GENERATED_BODY()
};
