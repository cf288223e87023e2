#include "RigUnitRunContext.h"

DEFINE_LOG_CATEGORY_STATIC(LogControlRigUnits, Log, All);

namespace
{
	thread_local URigHierarchy* RunningHierarchy = nullptr;
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
		PendingWarnings.Add(Message);
	}

	void ReportError(const FString& Message)
	{
		UE_LOG(LogControlRigUnits, Error, TEXT("%s"), *Message);
		PendingErrors.Add(Message);
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
	}

	FScope::~FScope()
	{
		RunningHierarchy = Previous;
	}
}
