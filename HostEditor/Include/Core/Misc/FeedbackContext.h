// FFeedbackContext: an output device that also collects the warnings and errors of a long operation.
#pragma once

#include "Misc/OutputDevice.h"

class CORE_API FFeedbackContext : public FOutputDevice
{
public:
	virtual void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) override
	{
		if (Verbosity == ELogVerbosity::Warning)
		{
			Warnings.Add(FString(V));
		}
		else if (Verbosity <= ELogVerbosity::Error)
		{
			Errors.Add(FString(V));
		}
	}

	TArray<FString> Warnings;
	TArray<FString> Errors;
};
