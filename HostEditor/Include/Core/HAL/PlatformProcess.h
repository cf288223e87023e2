// FPlatformProcess: the platform's processes and threads.
#pragma once

#include "CoreTypes.h"

class FString;

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

	/**
	 * Runs the program URL with Params (split as CreateProc splits them) and waits for it to end.
	 * OutReturnCode, OutStdOut and OutStdErr (each may be null) receive its exit code and what it
	 * wrote, read as UTF-8. False when the program cannot be started.
	 */
	static bool ExecProcess(const TCHAR* URL, const TCHAR* Params, int32* OutReturnCode, FString* OutStdOut, FString* OutStdErr,
		const TCHAR* OptionalWorkingDirectory = nullptr, bool bShouldEndWithParentProcess = false);

	/**
	 * Opens URL with the system's handler for it (a web page in the browser), with Parms appended.
	 * The headless editor has no browser: it logs and records the address. Error receives why it
	 * could not be opened.
	 */
	static void LaunchURL(const TCHAR* URL, const TCHAR* Parms, FString* Error);

	/** The running process's identifier. */
	static uint32 GetCurrentProcessId();
};
