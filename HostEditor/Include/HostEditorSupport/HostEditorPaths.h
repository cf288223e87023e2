// Stand-in only: tells the engine's path functions which project and engine folders are in use.
#pragma once

#include "Containers/UnrealString.h"

namespace HostEditor
{
	/** Sets the folder FPaths::ProjectDir and the folders below it refer to. */
	CORE_API void SetProjectDir(const FString& ProjectDir);
	/** Sets the folder FPaths::EngineDir refers to. */
	CORE_API void SetEngineDir(const FString& EngineDir);
}
