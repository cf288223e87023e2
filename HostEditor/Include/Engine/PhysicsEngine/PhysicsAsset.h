// UPhysicsAsset: the rigid bodies and constraints of a skeletal mesh's ragdoll. The stand-in keeps
// none of them; it loads and saves the asset so that content referring to one resolves.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"

#include "PhysicsAsset.generated.h"

UCLASS(HideCategories = Object, BlueprintType, MinimalAPI)
class UPhysicsAsset : public UObject
{
	GENERATED_BODY()
};
