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

/** A module with no start-up or shut-down work of its own. */
class FDefaultModuleImpl : public IModuleInterface
{
};

class FDefaultGameModuleImpl : public FDefaultModuleImpl
{
public:
	virtual bool IsGameModule() const override { return true; }
};
