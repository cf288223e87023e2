#include "RigUnitRunContext.h"

DEFINE_LOG_CATEGORY_STATIC(LogControlRigUnits, Log, All);

namespace
{
	thread_local URigHierarchy* RunningHierarchy = nullptr;
	/** How many scopes are open: reports are kept for a run's report only while one is. */
	thread_local int32 OpenScopes = 0;
	thread_local TArray<FString> PendingWarnings;
	thread_local TArray<FString> PendingErrors;
}

namespace RigUnitRunContext
{
	URigHierarchy* GetHierarchy()
	{
		return RunningHierarchy;
	}

	void ReportWarning(const FString& Message)
	{
		UE_LOG(LogControlRigUnits, Warning, TEXT("%s"), *Message);
		// Outside a run no report takes it: kept, it would be blamed on the next run's first node.
		if (OpenScopes > 0)
		{
			PendingWarnings.Add(Message);
		}
	}

	void ReportError(const FString& Message)
	{
		UE_LOG(LogControlRigUnits, Error, TEXT("%s"), *Message);
		if (OpenScopes > 0)
		{
			PendingErrors.Add(Message);
		}
	}

	TArray<FString> TakeErrors()
	{
		TArray<FString> Errors = MoveTemp(PendingErrors);
		PendingErrors.Reset();
		return Errors;
	}

	TArray<FString> TakeWarnings()
	{
		TArray<FString> Warnings = MoveTemp(PendingWarnings);
		PendingWarnings.Reset();
		return Warnings;
	}

	FScope::FScope(URigHierarchy* InHierarchy)
		: Previous(RunningHierarchy)
	{
		RunningHierarchy = InHierarchy;
		++OpenScopes;
	}

	FScope::~FScope()
	{
		RunningHierarchy = Previous;
		--OpenScopes;
	}
}
