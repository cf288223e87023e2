// The global log: forwards every line to the output devices attached to it.
#pragma once

#include "Containers/Array.h"
#include "Misc/OutputDevice.h"

class CORE_API FOutputDeviceRedirector : public FOutputDevice
{
public:
	/** Returns the process-wide redirector that GLog points at. */
	static FOutputDeviceRedirector* Get();

	void AddOutputDevice(FOutputDevice* OutputDevice);
	void RemoveOutputDevice(FOutputDevice* OutputDevice);
	bool IsRedirectingTo(FOutputDevice* OutputDevice) const;

	virtual void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) override;
	virtual void Flush() override;

private:
	TArray<FOutputDevice*> OutputDevices;
};
