// The Vantorel download server: demos, plug-in updates and the web pages all live under one address.
#pragma once

#include "CoreMinimal.h"

namespace VantorelServer
{
	/** The environment variable that points the downloads at another server (a mirror or a test server). */
	extern const TCHAR* const ServerEnvironmentVariable;

	/** The server's address, ending with "/": the mirror when one is set, else the Vantorel server. */
	FString ServerUrl();
}
