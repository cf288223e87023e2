// FPlatformProcess: the platform's processes and threads.
#pragma once

#include "CoreTypes.h"

struct CORE_API FPlatformProcess
{
	/** Makes the calling thread wait for Seconds. */
	static void Sleep(float Seconds);
};
