// UShapeComponent: a primitive of a simple collision shape.
#pragma once

#include "CoreMinimal.h"
#include "Components/PrimitiveComponent.h"

#include "ShapeComponent.generated.h"

UCLASS(Abstract)
class ENGINE_API UShapeComponent : public UPrimitiveComponent
{
	GENERATED_BODY()
};
