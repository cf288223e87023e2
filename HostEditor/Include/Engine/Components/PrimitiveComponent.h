// UPrimitiveComponent: a scene component with geometry (rendered or collided with).
#pragma once

#include "CoreMinimal.h"
#include "Components/SceneComponent.h"

#include "PrimitiveComponent.generated.h"

UCLASS(Abstract)
class ENGINE_API UPrimitiveComponent : public USceneComponent
{
	GENERATED_BODY()
};
