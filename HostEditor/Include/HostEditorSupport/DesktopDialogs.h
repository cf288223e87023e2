// Stand-in only: the desktop platform's file and folder dialogs in a headless run. Nobody sits at
// the screen, so a dialog takes the next answer the test or the host queued for it; a dialog with
// no queued answer is cancelled, as a user closing it would. Every dialog shown is recorded.
#pragma once

#include "CoreMinimal.h"
#include "Misc/Optional.h"

namespace HostEditor
{
	/** One dialog the plug-in opened, and how it was answered. */
	struct FDesktopDialogRecord
	{
		/** "OpenFile" or "OpenDirectory". */
		FString Kind;
		FString Title;
		FString DefaultPath;
		FString DefaultFile;
		FString FileTypes;
		uint32 Flags = 0;
		/** Whether the parent window handle was given. */
		bool bHasParentWindow = false;
		/** The chosen file or folder; unset when the dialog was cancelled. */
		TOptional<FString> Answer;
	};

	/** Queues the answer for the next dialog: a file or folder path, or unset to cancel it. */
	DESKTOPPLATFORM_API void QueueDesktopDialogAnswer(const TOptional<FString>& Answer);

	/** How many queued answers no dialog has taken yet. */
	DESKTOPPLATFORM_API int32 NumPendingDesktopDialogAnswers();

	/** The dialogs shown since the last reset, oldest first. */
	DESKTOPPLATFORM_API const TArray<FDesktopDialogRecord>& GetDesktopDialogs();

	/** Forgets the queued answers and the shown dialogs. */
	DESKTOPPLATFORM_API void ResetDesktopDialogs();
}
