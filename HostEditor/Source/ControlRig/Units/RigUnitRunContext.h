// What a running unit can reach beyond its own members: the hierarchy of the rig whose graph is
// running and the place to report warnings. The engine hands units their execute context as an
// argument of the generated entry; here the graph executor makes it current for the time a node runs,
// so that units without an execute context member (the pure ones) see the same hierarchy.
#pragma once

#include "CoreMinimal.h"

class URigHierarchy;

namespace RigUnitRunContext
{
	/** The hierarchy of the graph running on this thread, or null outside a run. */
	URigHierarchy* GetHierarchy();

	/** Reports a unit warning: it is logged and, while a scope is open, kept for the run's report. */
	void ReportWarning(const FString& Message);

	/** Reports that a unit could not do its work: it is logged as an error and, while a scope is open, kept for the run's report. */
	void ReportError(const FString& Message);

	/** The warnings reported since the last call, oldest first; the list is emptied. */
	TArray<FString> TakeWarnings();

	/** The errors reported since the last call, oldest first; the list is emptied. */
	TArray<FString> TakeErrors();

	/** Makes a hierarchy current for its lifetime and keeps the reports made meanwhile; scopes nest. */
	class FScope
	{
	public:
		explicit FScope(URigHierarchy* InHierarchy);
		~FScope();
		FScope(const FScope&) = delete;
		FScope& operator=(const FScope&) = delete;

	private:
		URigHierarchy* Previous;
	};
}
