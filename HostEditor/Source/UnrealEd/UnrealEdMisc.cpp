// Switching projects. A real editor closes and starts again on the new project; the headless editor
// runs on, and keeps the restart command for its host to read.

#include "UnrealEdMisc.h"

#include "HostEditorSupport/ExternalLaunches.h"
#include "Misc/Paths.h"

DEFINE_LOG_CATEGORY_STATIC(LogUnrealEdMisc, Log, All);

FUnrealEdMisc& FUnrealEdMisc::Get()
{
	static FUnrealEdMisc Instance;
	return Instance;
}

void FUnrealEdMisc::SwitchProject(const FString& GameOrProjectFileName, bool bWarn, const TOptional<FString>& NewCommandLine)
{
	(void)bWarn;
	PendingProjectName = FPaths::ConvertRelativePathToFull(GameOrProjectFileName);
	HostEditor::FProjectSwitchRecord Record;
	Record.ProjectFile = PendingProjectName;
	Record.CommandLine = NewCommandLine.IsSet() ? NewCommandLine.GetValue() : FString();
	Record.RestartCommand = FString::Printf(TEXT("UnrealEditor \"%s\""), *PendingProjectName);
	if (!Record.CommandLine.IsEmpty())
	{
		Record.RestartCommand += TEXT(" ") + Record.CommandLine;
	}
	HostEditor::RecordProjectSwitch(Record);
	UE_LOG(LogUnrealEdMisc, Display, TEXT("SwitchProject: the editor would restart as: %s (the headless editor keeps running)"), *Record.RestartCommand);
}
