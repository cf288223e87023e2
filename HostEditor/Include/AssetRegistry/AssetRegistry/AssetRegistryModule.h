// The asset registry module: hands out the editor's asset registry.
#pragma once

#include "CoreMinimal.h"
#include "AssetRegistry/IAssetRegistry.h"
#include "Modules/ModuleInterface.h"

class ASSETREGISTRY_API FAssetRegistryModule : public IModuleInterface
{
public:
	/** The editor's asset registry. */
	virtual IAssetRegistry& Get() const;
};
