// FSlateApplication: the application that owns the editor's windows and ticks and paints them. The
// headless editor paints nothing to a screen; ticking the widgets takes a snapshot of what every shown
// window would show, which the session keeps for tests to read.
#pragma once

#include "CoreMinimal.h"
#include "Application/SlateApplicationBase.h"
#include "Misc/EnumClassFlags.h"
#include "Widgets/SWindow.h"

/** What one tick of the application does. */
enum class ESlateTickType : uint8
{
	/** Advances the application's time. */
	Time = 1 << 0,
	/** Processes the platform's messages and input. */
	PlatformAndInput = 1 << 1,
	/** Ticks and paints the widgets. */
	Widgets = 1 << 2,
	TimeAndWidgets = Time | Widgets,
	All = Time | PlatformAndInput | Widgets,
};
ENUM_CLASS_FLAGS(ESlateTickType)

/** Where FindBestParentWindowHandleForDialogs looks when the widget has no window. */
enum class ESlateParentWindowSearchMethod
{
	ActiveWindow,
	MainWindow,
};

class SLATE_API FSlateApplication : public FSlateApplicationBase
{
public:
	/** Creates the application; does nothing when it exists already. */
	static void Create();
	/** Destroys every window and the application. */
	static void Shutdown();

	static bool IsInitialized() { return CurrentApplication != nullptr; }
	static FSlateApplication& Get()
	{
		check(CurrentApplication);
		return *CurrentApplication;
	}

	/** Adds a top-level window; shows it when bShowImmediately. Returns the window. */
	TSharedRef<SWindow> AddWindow(TSharedRef<SWindow> InSlateWindow, const bool bShowImmediately = true);

	/**
	 * Adds a window as the native child of InParentWindow, which must be a window of the application:
	 * the child stays above its parent and is destroyed with it. Shows it when bShowImmediately.
	 */
	TSharedRef<SWindow> AddWindowAsNativeChild(TSharedRef<SWindow> InSlateWindow, TSharedRef<SWindow> InParentWindow, const bool bShowImmediately = true);

	virtual void RequestDestroyWindow(TSharedRef<SWindow> WindowToDestroy) override;

	/** The top-level windows, in the order they were added. */
	const TArray<TSharedRef<SWindow>>& GetTopLevelWindows() const { return SlateWindows; }

	/** The window of the application that holds InWidget (a window holds itself); null when none does. */
	TSharedPtr<SWindow> FindWidgetWindow(TSharedRef<const SWidget> InWidget) const;

	/**
	 * The native handle of the window a dialog for InWidget should be parented to: the widget's own
	 * window, else the active (last shown) top-level window; null when there is none.
	 */
	const void* FindBestParentWindowHandleForDialogs(const TSharedPtr<SWidget>& InWidget, const ESlateParentWindowSearchMethod ParentWindowSearchMethod = ESlateParentWindowSearchMethod::ActiveWindow);

	/** Ticks the application: time, platform messages and input, and the widgets (ticked and painted). */
	void Tick(ESlateTickType TickType = ESlateTickType::All);

private:
	FSlateApplication();

	static FSlateApplication* CurrentApplication;

	TArray<TSharedRef<SWindow>> SlateWindows;
};
