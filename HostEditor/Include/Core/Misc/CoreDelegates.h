// FCoreDelegates: the engine-wide events that modules subscribe to.
#pragma once

#include "CoreTypes.h"
#include "Delegates/Delegate.h"

class CORE_API FCoreDelegates
{
public:
	/** Broadcast once the engine (here: the editor session) has finished starting and loading its modules. */
	static FSimpleMulticastDelegate OnPostEngineInit;
	/** Broadcast when the editor begins to exit, before modules shut down. */
	static FSimpleMulticastDelegate OnEnginePreExit;
};
