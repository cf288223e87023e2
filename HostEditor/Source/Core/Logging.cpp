#include <cstdio>
#include <cstdlib>

#include "CoreGlobals.h"
#include "Logging/LogMacros.h"
#include "Misc/FeedbackContext.h"
#include "Misc/OutputDeviceRedirector.h"

bool GIsEditor = true;
bool GUsingNullRHI = false;

namespace
{
	/** The editor's feedback context: every line it is given is a line of the log. */
	class FFeedbackContextEditorLog : public FFeedbackContext
	{
	public:
		virtual void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) override
		{
			GLog->Serialize(V, Verbosity, Category);
		}
	};

	FFeedbackContextEditorLog GEditorFeedback;
}

FFeedbackContext* GWarn = &GEditorFeedback;

DEFINE_LOG_CATEGORY(LogTemp);
DEFINE_LOG_CATEGORY(LogCore);

const TCHAR* ToString(ELogVerbosity::Type Verbosity)
{
	switch (Verbosity & ELogVerbosity::VerbosityMask)
	{
	case ELogVerbosity::NoLogging: return TEXT("NoLogging");
	case ELogVerbosity::Fatal: return TEXT("Fatal");
	case ELogVerbosity::Error: return TEXT("Error");
	case ELogVerbosity::Warning: return TEXT("Warning");
	case ELogVerbosity::Display: return TEXT("Display");
	case ELogVerbosity::Log: return TEXT("Log");
	case ELogVerbosity::Verbose: return TEXT("Verbose");
	case ELogVerbosity::VeryVerbose: return TEXT("VeryVerbose");
	default: return TEXT("Unknown");
	}
}

FLogCategoryBase::FLogCategoryBase(const TCHAR* CategoryName, ELogVerbosity::Type InDefaultVerbosity, ELogVerbosity::Type InCompileTimeVerbosity)
	: Verbosity(InDefaultVerbosity)
	, DefaultVerbosity(InDefaultVerbosity)
	, CompileTimeVerbosity(InCompileTimeVerbosity)
	, CategoryFName(CategoryName)
{
}

void FLogCategoryBase::SetVerbosity(ELogVerbosity::Type NewVerbosity)
{
	const ELogVerbosity::Type Masked = (ELogVerbosity::Type)(NewVerbosity & ELogVerbosity::VerbosityMask);
	Verbosity = Masked > CompileTimeVerbosity ? CompileTimeVerbosity : Masked;
}

FOutputDeviceRedirector* FOutputDeviceRedirector::Get()
{
	static FOutputDeviceRedirector Singleton;
	return &Singleton;
}

void FOutputDeviceRedirector::AddOutputDevice(FOutputDevice* OutputDevice)
{
	if (OutputDevice)
	{
		OutputDevices.AddUnique(OutputDevice);
	}
}

void FOutputDeviceRedirector::RemoveOutputDevice(FOutputDevice* OutputDevice)
{
	OutputDevices.Remove(OutputDevice);
}

bool FOutputDeviceRedirector::IsRedirectingTo(FOutputDevice* OutputDevice) const
{
	return OutputDevices.Contains(OutputDevice);
}

void FOutputDeviceRedirector::Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category)
{
	// A device may detach itself (or another) while a line is delivered; deliver to a snapshot.
	const TArray<FOutputDevice*> Snapshot = OutputDevices;
	for (FOutputDevice* Device : Snapshot)
	{
		if (OutputDevices.Contains(Device))
		{
			Device->Serialize(V, Verbosity, Category);
		}
	}
}

void FOutputDeviceRedirector::Flush()
{
	for (FOutputDevice* Device : OutputDevices)
	{
		Device->Flush();
	}
}

void FMsg::LogfImpl(const ANSICHAR* File, int32 Line, const FName& Category, ELogVerbosity::Type Verbosity, const FString& Message)
{
	GLog->Serialize(*Message, Verbosity, Category);
	if ((Verbosity & ELogVerbosity::VerbosityMask) == ELogVerbosity::Fatal)
	{
		std::fprintf(stderr, "Fatal error: [File:%s] [Line: %d]\n%s\n", File, (int)Line, TCHAR_TO_UTF8(*Message));
		GLog->Flush();
		std::abort();
	}
}

namespace HostEditorAssertion
{
	void Fail(const char* Expression, const char* File, int Line, const char* Message)
	{
		std::fprintf(stderr, "Assertion failed: %s [File:%s] [Line: %d] %s\n", Expression, File, Line, Message);
		std::fflush(stderr);
		std::abort();
	}

	bool EnsureFailed(const char* Expression, const char* File, int Line, const char* Message)
	{
		std::fprintf(stderr, "Ensure condition failed: %s [File:%s] [Line: %d] %s\n", Expression, File, Line, Message);
		const FString Text = FString::Printf(TEXT("Ensure condition failed: %hs [File:%hs] [Line: %d]"), Expression, File, Line);
		GLog->Serialize(*Text, ELogVerbosity::Error, FName(TEXT("LogOutputDevice")));
		return false;
	}
}
