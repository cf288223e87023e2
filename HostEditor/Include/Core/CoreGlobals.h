// Process-wide engine state: the log, the editor flags and the always-present log categories.
#pragma once

#include "CoreTypes.h"
#include "Containers/UnrealString.h"
#include "Logging/LogMacros.h"
#include "Misc/OutputDeviceRedirector.h"

#define GLog (FOutputDeviceRedirector::Get())

class FFeedbackContext;

/** The editor's feedback context for long operations such as imports: its lines go to the log. */
extern CORE_API FFeedbackContext* GWarn;

/** True in the editor. The stand-in is always the editor. */
extern CORE_API bool GIsEditor;

/** True when the editor runs on the null renderer (-nullrhi): nothing can be drawn or shown. */
extern CORE_API bool GUsingNullRHI;

/** The editor's per-project user settings file (EditorPerProjectUserSettings.ini under the project's Saved/Config). */
extern CORE_API FString GEditorPerProjectIni;

CORE_API DECLARE_LOG_CATEGORY_EXTERN(LogTemp, Log, All);
CORE_API DECLARE_LOG_CATEGORY_EXTERN(LogCore, Log, All);
