// Starting programs and waiting for them (POSIX), and the calendar time.

#include "HAL/PlatformProcess.h"
#include "HostEditorSupport/ExternalLaunches.h"
#include "Misc/DateTime.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <ctime>
#include <map>
#include <mutex>
#include <string>
#include <vector>

extern char** environ;

namespace
{
	/** The exit codes of processes that ended before their handle was asked. */
	std::map<int64, int32>& EndedProcesses()
	{
		static std::map<int64, int32> Ended;
		return Ended;
	}

	std::mutex& ProcessMutex()
	{
		static std::mutex Mutex;
		return Mutex;
	}

	std::vector<std::string> SplitParms(const std::string& Parms)
	{
		std::vector<std::string> Arguments;
		std::string Current;
		bool bQuoted = false;
		bool bAny = false;
		for (const char Char : Parms)
		{
			if (Char == '"')
			{
				bQuoted = !bQuoted;
				bAny = true;
			}
			else if ((Char == ' ' || Char == '\t') && !bQuoted)
			{
				if (bAny)
				{
					Arguments.push_back(Current);
				}
				Current.clear();
				bAny = false;
			}
			else
			{
				Current.push_back(Char);
				bAny = true;
			}
		}
		if (bAny)
		{
			Arguments.push_back(Current);
		}
		return Arguments;
	}

	bool Reap(int64 Pid, bool bWait, int32& OutCode)
	{
		std::lock_guard<std::mutex> Lock(ProcessMutex());
		const auto Found = EndedProcesses().find(Pid);
		if (Found != EndedProcesses().end())
		{
			OutCode = Found->second;
			return true;
		}
		int Status = 0;
		const pid_t Result = waitpid((pid_t)Pid, &Status, bWait ? 0 : WNOHANG);
		if (Result != (pid_t)Pid)
		{
			return false;
		}
		OutCode = WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
		EndedProcesses()[Pid] = OutCode;
		return true;
	}
}

namespace
{
	/** Starts URL with Parms; the child's standard output and error go to the given descriptors when not -1. */
	pid_t Spawn(const TCHAR* URL, const TCHAR* Parms, const TCHAR* OptionalWorkingDirectory, int StdOut, int StdErr)
	{
		const std::string Program(TCHAR_TO_UTF8(URL ? URL : TEXT("")));
		std::vector<std::string> Arguments = SplitParms(std::string(TCHAR_TO_UTF8(Parms ? Parms : TEXT(""))));
		Arguments.insert(Arguments.begin(), Program);
		std::vector<char*> Argv;
		for (std::string& Argument : Arguments)
		{
			Argv.push_back(Argument.data());
		}
		Argv.push_back(nullptr);
		posix_spawn_file_actions_t Actions;
		posix_spawn_file_actions_init(&Actions);
		const std::string Directory(TCHAR_TO_UTF8(OptionalWorkingDirectory ? OptionalWorkingDirectory : TEXT("")));
		if (!Directory.empty())
		{
			posix_spawn_file_actions_addchdir_np(&Actions, Directory.c_str());
		}
		if (StdOut >= 0)
		{
			posix_spawn_file_actions_adddup2(&Actions, StdOut, STDOUT_FILENO);
		}
		if (StdErr >= 0)
		{
			posix_spawn_file_actions_adddup2(&Actions, StdErr, STDERR_FILENO);
		}
		pid_t Pid = 0;
		const int Result = posix_spawnp(&Pid, Program.c_str(), &Actions, nullptr, Argv.data(), environ);
		posix_spawn_file_actions_destroy(&Actions);
		return Result == 0 ? Pid : 0;
	}
}

FProcHandle FPlatformProcess::CreateProc(const TCHAR* URL, const TCHAR* Parms, bool bLaunchDetached, bool bLaunchHidden, bool bLaunchReallyHidden, uint32* OutProcessID,
	int32 PriorityModifier, const TCHAR* OptionalWorkingDirectory, void* PipeWriteChild, void* PipeReadChild)
{
	(void)bLaunchDetached;
	(void)bLaunchHidden;
	(void)bLaunchReallyHidden;
	(void)PriorityModifier;
	(void)PipeWriteChild;
	(void)PipeReadChild;
	const pid_t Pid = Spawn(URL, Parms, OptionalWorkingDirectory, -1, -1);
	if (Pid <= 0)
	{
		return FProcHandle();
	}
	if (OutProcessID)
	{
		*OutProcessID = (uint32)Pid;
	}
	return FProcHandle((int64)Pid);
}

void FPlatformProcess::WaitForProc(FProcHandle& ProcessHandle)
{
	int32 Code = 0;
	if (ProcessHandle.IsValid())
	{
		Reap(ProcessHandle.Get(), true, Code);
	}
}

bool FPlatformProcess::IsProcRunning(FProcHandle& ProcessHandle)
{
	int32 Code = 0;
	return ProcessHandle.IsValid() && !Reap(ProcessHandle.Get(), false, Code);
}

bool FPlatformProcess::GetProcReturnCode(FProcHandle& ProcHandle, int32* ReturnCode)
{
	int32 Code = 0;
	if (!ProcHandle.IsValid() || !Reap(ProcHandle.Get(), false, Code))
	{
		return false;
	}
	if (ReturnCode)
	{
		*ReturnCode = Code;
	}
	return true;
}

void FPlatformProcess::CloseProc(FProcHandle& ProcessHandle)
{
	if (ProcessHandle.IsValid())
	{
		std::lock_guard<std::mutex> Lock(ProcessMutex());
		EndedProcesses().erase(ProcessHandle.Get());
	}
	ProcessHandle.Reset();
}

bool FPlatformProcess::ExecProcess(const TCHAR* URL, const TCHAR* Params, int32* OutReturnCode, FString* OutStdOut, FString* OutStdErr,
	const TCHAR* OptionalWorkingDirectory, bool bShouldEndWithParentProcess)
{
	(void)bShouldEndWithParentProcess;
	int OutPipe[2] = {-1, -1};
	int ErrPipe[2] = {-1, -1};
	if (pipe2(OutPipe, O_CLOEXEC) != 0 || pipe2(ErrPipe, O_CLOEXEC) != 0)
	{
		for (const int Descriptor : {OutPipe[0], OutPipe[1], ErrPipe[0], ErrPipe[1]})
		{
			if (Descriptor >= 0)
			{
				close(Descriptor);
			}
		}
		return false;
	}
	const pid_t Pid = Spawn(URL, Params, OptionalWorkingDirectory, OutPipe[1], ErrPipe[1]);
	close(OutPipe[1]);
	close(ErrPipe[1]);

	// Both streams are read together so that a child filling one pipe never blocks on it.
	std::string Output[2];
	pollfd Streams[2] = {{OutPipe[0], POLLIN, 0}, {ErrPipe[0], POLLIN, 0}};
	int Open = 2;
	while (Pid > 0 && Open > 0)
	{
		if (poll(Streams, 2, -1) < 0)
		{
			break;
		}
		for (int Index = 0; Index < 2; ++Index)
		{
			if (Streams[Index].fd < 0 || !(Streams[Index].revents & (POLLIN | POLLHUP | POLLERR)))
			{
				continue;
			}
			char Buffer[4096];
			const ssize_t Read = read(Streams[Index].fd, Buffer, sizeof(Buffer));
			if (Read > 0)
			{
				Output[Index].append(Buffer, (size_t)Read);
			}
			else
			{
				Streams[Index].fd = -1;
				--Open;
			}
		}
	}
	close(OutPipe[0]);
	close(ErrPipe[0]);
	if (Pid <= 0)
	{
		return false;
	}
	int32 Code = -1;
	Reap((int64)Pid, true, Code);
	{
		std::lock_guard<std::mutex> Lock(ProcessMutex());
		EndedProcesses().erase((int64)Pid);
	}
	if (OutReturnCode)
	{
		*OutReturnCode = Code;
	}
	if (OutStdOut)
	{
		*OutStdOut = UTF8_TO_TCHAR(Output[0].c_str());
	}
	if (OutStdErr)
	{
		*OutStdErr = UTF8_TO_TCHAR(Output[1].c_str());
	}
	return true;
}

namespace
{
	TArray<FString>& LaunchedURLs()
	{
		static TArray<FString> List;
		return List;
	}

	TArray<HostEditor::FProjectSwitchRecord>& ProjectSwitches()
	{
		static TArray<HostEditor::FProjectSwitchRecord> List;
		return List;
	}
}

void FPlatformProcess::LaunchURL(const TCHAR* URL, const TCHAR* Parms, FString* Error)
{
	const FString Address = FString(URL ? URL : TEXT("")) + (Parms && *Parms ? FString(TEXT(" ")) + Parms : FString());
	if (Error)
	{
		Error->Reset();
	}
	LaunchedURLs().Add(Address);
	UE_LOG(LogCore, Display, TEXT("LaunchURL: %s (the headless editor opens no browser)"), *Address);
}

uint32 FPlatformProcess::GetCurrentProcessId()
{
	return (uint32)getpid();
}

namespace HostEditor
{
	const TArray<FString>& GetLaunchedURLs()
	{
		return LaunchedURLs();
	}

	const TArray<FProjectSwitchRecord>& GetProjectSwitches()
	{
		return ProjectSwitches();
	}

	void RecordProjectSwitch(const FProjectSwitchRecord& Record)
	{
		ProjectSwitches().Add(Record);
	}

	void ResetExternalLaunches()
	{
		LaunchedURLs().Reset();
		ProjectSwitches().Reset();
	}
}

namespace
{
	/** The calendar time of now, in UTC or in the local time zone. */
	std::tm CalendarNow(bool bUtc)
	{
		const std::time_t Now = std::time(nullptr);
		std::tm Time{};
		if (bUtc)
		{
			gmtime_r(&Now, &Time);
		}
		else
		{
			localtime_r(&Now, &Time);
		}
		return Time;
	}
}

FDateTime FDateTime::UtcNow()
{
	return FromCalendar(CalendarNow(true));
}

FDateTime FDateTime::Now()
{
	return FromCalendar(CalendarNow(false));
}

FDateTime FDateTime::FromCalendar(const std::tm& Time)
{
	FDateTime Result;
	Result.Year = Time.tm_year + 1900;
	Result.Month = Time.tm_mon + 1;
	Result.Day = Time.tm_mday;
	Result.Hour = Time.tm_hour;
	Result.Minute = Time.tm_min;
	Result.Second = Time.tm_sec;
	return Result;
}

FString FDateTime::ToString(const TCHAR* Format) const
{
	FString Result;
	for (const TCHAR* Cursor = Format; Cursor && *Cursor; ++Cursor)
	{
		if (*Cursor != '%' || !Cursor[1])
		{
			Result.AppendChar(*Cursor);
			continue;
		}
		switch (*++Cursor)
		{
			case 'Y': Result += FString::Printf(TEXT("%04d"), Year); break;
			case 'm': Result += FString::Printf(TEXT("%02d"), Month); break;
			case 'd': Result += FString::Printf(TEXT("%02d"), Day); break;
			case 'H': Result += FString::Printf(TEXT("%02d"), Hour); break;
			case 'M': Result += FString::Printf(TEXT("%02d"), Minute); break;
			case 'S': Result += FString::Printf(TEXT("%02d"), Second); break;
			case '%': Result.AppendChar('%'); break;
			default: Result.AppendChar('%'); Result.AppendChar(*Cursor); break;
		}
	}
	return Result;
}
