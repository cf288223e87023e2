// Delegate handles and the engine's global delegates.

#include "Delegates/IDelegateInstance.h"
#include "Misc/CoreDelegates.h"

#include <atomic>

uint64 FDelegateHandle::GenerateNewID()
{
	// Never 0, which stands for "no handle".
	static std::atomic<uint64> NextID{1};
	return NextID.fetch_add(1);
}

FSimpleMulticastDelegate FCoreDelegates::OnPostEngineInit;
FSimpleMulticastDelegate FCoreDelegates::OnEnginePreExit;
