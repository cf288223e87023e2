// FPlatformProcess: the platform's processes and threads.
#pragma once

#include "CoreTypes.h"

/** A started process, until CloseProc. */
struct FProcHandle
{
	FProcHandle() = default;
	explicit FProcHandle(int64 InHandle)
		: Handle(InHandle)
	{
	}
	bool IsValid() const { return Handle > 0; }
	void Reset() { Handle = 0; }
	int64 Get() const { return Handle; }

private:
	int64 Handle = 0;
};

struct CORE_API FPlatformProcess
{
	/** Makes the calling thread wait for Seconds. */
	static void Sleep(float Seconds);

	/**
	 * Starts the program URL with the command-line text Parms (split on blanks; double quotes keep
	 * blanks and are removed). A URL without a folder is looked up on the program search path. The
	 * working folder is OptionalWorkingDirectory when given. Returns an invalid handle when the
	 * program cannot be started.
	 */
	static FProcHandle CreateProc(const TCHAR* URL, const TCHAR* Parms, bool bLaunchDetached, bool bLaunchHidden, bool bLaunchReallyHidden, uint32* OutProcessID,
		int32 PriorityModifier, const TCHAR* OptionalWorkingDirectory, void* PipeWriteChild, void* PipeReadChild = nullptr);
	/** Waits until the process has ended. */
	static void WaitForProc(FProcHandle& ProcessHandle);
	static bool IsProcRunning(FProcHandle& ProcessHandle);
	/** The exit code of an ended process; false while it runs. */
	static bool GetProcReturnCode(FProcHandle& ProcHandle, int32* ReturnCode);
	static void CloseProc(FProcHandle& ProcessHandle);
};
