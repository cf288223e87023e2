// Stand-in only: what the headless editor's Slate application did, for tests and the host to read —
// every tick with a snapshot of the windows it painted, the renderer's flushes, and every window the
// application was given with its place (top level or native child) and whether it is gone.
#pragma once

#include "CoreMinimal.h"
#include "Framework/Application/SlateApplication.h"

class SWidget;
class SWindow;

namespace HostEditor
{
	/** One tick of the application. */
	struct FSlateTickRecord
	{
		ESlateTickType TickType = ESlateTickType::All;
		/** What each shown window showed when the widgets were painted, as DescribeWidgetTree writes it. */
		TArray<FString> PaintedWindows;
	};

	/** One window the application was given. */
	struct FSlateWindowRecord
	{
		TSharedPtr<SWindow> Window;
		/** The window it was added as a native child of; empty for a top-level window. */
		TWeakPtr<SWindow> NativeParent;
		bool bDestroyed = false;
		/** How often its destruction was asked for, counting requests after it was gone. */
		int32 DestroyRequests = 0;
	};

	/** The ticks since the last reset, oldest first. */
	SLATE_API const TArray<FSlateTickRecord>& GetSlateTicks();

	/** How often the renderer was flushed since the last reset. */
	SLATE_API int32 GetRendererFlushCount();

	/** Every window added or destroyed since the last reset, in the order the application met them. */
	SLATE_API const TArray<FSlateWindowRecord>& GetSlateWindows();

	/** The record of one window; null when the application never met it. */
	SLATE_API const FSlateWindowRecord* FindSlateWindow(const SWindow* Window);

	/**
	 * A widget and everything below it, one widget a line, children indented by two blanks: the type
	 * name, then what the widget shows ("STextBlock \"Text\"", "SProgressBar Percent=0.425",
	 * "SBorder Padding=(18 18 18 18)", "SWindow \"Title\" 560x112"); a box panel's slots are lines of
	 * their own ("Slot Auto Padding=(0 0 0 12)", "Slot Fill=1 Padding=(0 0 0 0)").
	 */
	SLATE_API FString DescribeWidgetTree(const TSharedRef<const SWidget>& Root);

	/**
	 * Closes a window as the user does with its title bar's close button; false, and nothing happens,
	 * when the window has no close button or is not shown.
	 */
	SLATE_API bool CloseWindowAsUser(const TSharedRef<SWindow>& Window);

	/** Creates the application when needed, destroys every window it holds and clears the record. */
	SLATE_API void ResetSlate();
}
