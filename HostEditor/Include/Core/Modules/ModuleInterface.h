// IModuleInterface: what every module implements.
#pragma once

#include "CoreTypes.h"

class IModuleInterface
{
public:
	virtual ~IModuleInterface() = default;
	/** Called after the module is loaded. */
	virtual void StartupModule() {}
	/** Called before the module is unloaded. */
	virtual void ShutdownModule() {}
	virtual bool SupportsDynamicReloading() { return true; }
	virtual bool IsGameModule() const { return false; }
};
