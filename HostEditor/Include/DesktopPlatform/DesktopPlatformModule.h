// The desktop platform module: hands out the platform's IDesktopPlatform.
#pragma once

#include "CoreMinimal.h"
#include "IDesktopPlatform.h"
#include "Modules/ModuleInterface.h"

class DESKTOPPLATFORM_API FDesktopPlatformModule : public IModuleInterface
{
public:
	/** The platform's dialogs; null when the module is not available. */
	static IDesktopPlatform* Get();

	virtual void StartupModule() override;
	virtual void ShutdownModule() override;
};
