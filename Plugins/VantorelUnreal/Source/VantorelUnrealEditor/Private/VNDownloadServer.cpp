// The download server's address, with the override a user can point at a mirror.

#include "VNDownloadServer.h"

#include "HAL/PlatformMisc.h"

namespace VantorelServer
{
	const TCHAR* const ServerEnvironmentVariable = TEXT("VANTOREL_SERVER_URL");

	FString ServerUrl()
	{
		FString Url = FPlatformMisc::GetEnvironmentVariable(ServerEnvironmentVariable);
		if (Url.IsEmpty())
		{
			Url = TEXT("https://www.vantorel.com/");
		}
		if (!Url.EndsWith(TEXT("/")))
		{
			Url += TEXT("/");
		}
		return Url;
	}
}
