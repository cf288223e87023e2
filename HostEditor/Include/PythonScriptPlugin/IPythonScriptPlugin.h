// The editor's Python, as other modules reach it: through the "PythonScriptPlugin" module.
#pragma once

#include "CoreMinimal.h"
#include "Modules/ModuleInterface.h"
#include "Modules/ModuleManager.h"
#include "PythonScriptTypes.h"

class IPythonScriptPlugin : public IModuleInterface
{
public:
	/** The loaded plug-in, or null when Python is not part of this editor. */
	static IPythonScriptPlugin* Get()
	{
		static const FName ModuleName = TEXT("PythonScriptPlugin");
		return FModuleManager::GetModulePtr<IPythonScriptPlugin>(ModuleName);
	}

	/** True when the interpreter is up and commands can run. */
	virtual bool IsPythonAvailable() const = 0;

	/** Runs a command text (a literal script, or a .py file with arguments); false when it failed. */
	virtual bool ExecPythonCommand(const TCHAR* InPythonCommand) = 0;

	/** Runs a command as it says and records its result and output; false when it failed. */
	virtual bool ExecPythonCommandEx(FPythonCommandEx& InOutPythonCommand) = 0;
};
