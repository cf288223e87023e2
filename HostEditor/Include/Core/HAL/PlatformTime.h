// FPlatformTime: the platform's clock.
#pragma once

#include "CoreTypes.h"

struct CORE_API FPlatformTime
{
	/** Seconds since an arbitrary start, from a steady clock. */
	static double Seconds();
};
