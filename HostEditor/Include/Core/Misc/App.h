// FApp: facts about the running application.
#pragma once

#include "CoreGlobals.h"
#include "CoreTypes.h"

class CORE_API FApp
{
public:
	/**
	 * Whether the application can render anything at all: false on the null renderer, as in a
	 * headless editor run, where windows cannot be shown.
	 */
	static bool CanEverRender() { return !GUsingNullRHI; }
};
