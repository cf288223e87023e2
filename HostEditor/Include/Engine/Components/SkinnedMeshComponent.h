// USkinnedMeshComponent: a mesh component skinned to a skeleton.
#pragma once

#include "CoreMinimal.h"
#include "Components/MeshComponent.h"

#include "SkinnedMeshComponent.generated.h"

UCLASS(Abstract)
class ENGINE_API USkinnedMeshComponent : public UMeshComponent
{
	GENERATED_BODY()
};
