// Stand-in only: the message boxes shown so far. The headless editor answers each one at once,
// as the engine does when it runs unattended, and keeps it here for tests and the host to read.
#pragma once

#include "CoreMinimal.h"
#include "GenericPlatform/GenericPlatformMisc.h"

namespace HostEditor
{
	/** One message box as it was shown and answered. */
	struct FMessageDialogRecord
	{
		EAppMsgCategory Category = EAppMsgCategory::Warning;
		EAppMsgType::Type Type = EAppMsgType::Ok;
		FString Title;
		FString Message;
		EAppReturnType::Type Result = EAppReturnType::Ok;
	};

	/** Every message box shown since the last reset, oldest first. */
	CORE_API const TArray<FMessageDialogRecord>& GetMessageDialogs();
	CORE_API void ResetMessageDialogs();
}
