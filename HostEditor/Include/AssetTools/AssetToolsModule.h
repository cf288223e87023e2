// FAssetToolsModule: the module that owns the editor's asset tools.
#pragma once

#include "CoreMinimal.h"
#include "IAssetTools.h"
#include "Modules/ModuleInterface.h"

class ASSETTOOLS_API FAssetToolsModule : public IModuleInterface
{
public:
	virtual void StartupModule() override;
	virtual void ShutdownModule() override;

	/** Returns the asset tools. */
	IAssetTools& Get() const;

	/** Loads the module when needed and returns it. */
	static FAssetToolsModule& GetModule();
};
