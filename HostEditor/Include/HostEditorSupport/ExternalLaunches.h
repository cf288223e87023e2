// Stand-in only: what the editor handed to the desktop. The headless editor opens no browser and
// starts no second editor; it logs and keeps each web address launched and each project switch
// asked for, for tests and the host to read.
#pragma once

#include "CoreMinimal.h"

namespace HostEditor
{
	/** A project switch as the editor was asked for it, and the command line it would restart with. */
	struct FProjectSwitchRecord
	{
		FString ProjectFile;
		/** The extra command-line text asked for (empty when none). */
		FString CommandLine;
		/** The editor program, the project file in quotes, then the extra text. */
		FString RestartCommand;
	};

	/** Every address given to FPlatformProcess::LaunchURL since the last reset, oldest first (with its parameters after a blank). */
	CORE_API const TArray<FString>& GetLaunchedURLs();
	/** Every project switch asked for since the last reset, oldest first. */
	CORE_API const TArray<FProjectSwitchRecord>& GetProjectSwitches();
	CORE_API void RecordProjectSwitch(const FProjectSwitchRecord& Record);
	CORE_API void ResetExternalLaunches();
}
