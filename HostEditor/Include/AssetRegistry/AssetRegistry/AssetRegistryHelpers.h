// UAssetRegistryHelpers: the script-facing access to the asset registry.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"

#include "AssetRegistryHelpers.generated.h"

class UAssetRegistry;

UCLASS(Transient)
class ASSETREGISTRY_API UAssetRegistryHelpers : public UObject
{
	GENERATED_BODY()

public:
	/** Returns the editor's asset registry. */
	UFUNCTION(BlueprintPure, Category = "Asset Registry")
	static UAssetRegistry* GetAssetRegistry();
};
