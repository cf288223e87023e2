// The message box types and answers of the platform's modal dialogs.
#pragma once

#include "CoreTypes.h"
#include "Containers/UnrealString.h"

namespace EAppMsgType
{
	/** Which buttons a message box offers. */
	enum Type
	{
		Ok,
		YesNo,
		OkCancel,
		YesNoCancel,
		CancelRetryContinue,
		YesNoYesAllNoAll,
		YesNoYesAllNoAllCancel,
		YesNoYesAll,
	};
}

namespace EAppReturnType
{
	/** The button a message box was closed with. */
	enum Type
	{
		No,
		Yes,
		YesAll,
		NoAll,
		Cancel,
		Ok,
		Retry,
		Continue,
	};
}

/** How a message box presents its message. */
enum class EAppMsgCategory : uint8
{
	Warning,
	Error,
	Success,
	Info,
};

/** The platform's process environment and small services. */
struct CORE_API FGenericPlatformMisc
{
	/** The value of an environment variable of the process; empty when it is not set. */
	static FString GetEnvironmentVariable(const TCHAR* VariableName);
};
