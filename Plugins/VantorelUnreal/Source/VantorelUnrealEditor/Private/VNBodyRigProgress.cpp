// The body rig progress window: a small window with a message and a bar that the body rig build keeps
// up to date. The build runs on the main thread inside one script call, so each change ticks and paints
// the user interface itself.

#include "Framework/Application/SlateApplication.h"
#include "Misc/App.h"
#include "Rendering/SlateRenderer.h"
#include "VNFaceSDKImportLibrary.h"
#include "VantorelToolsWindowState.h"
#include "Widgets/Layout/SBorder.h"
#include "Widgets/Notifications/SProgressBar.h"
#include "Widgets/SBoxPanel.h"
#include "Widgets/SWindow.h"
#include "Widgets/Text/STextBlock.h"

#define LOCTEXT_NAMESPACE "VNBodyRigProgress"

namespace
{
	const FVector2D ProgressWindowClientSize(560.0, 112.0);
	const float ProgressWindowPadding = 18.0f;
	const float MessageBottomPadding = 12.0f;

	/** The one progress window and the widgets in it that change; all empty while it is closed. */
	struct FBodyRigProgressWindow
	{
		TSharedPtr<SWindow> Window;
		TSharedPtr<STextBlock> MessageText;
		TSharedPtr<SProgressBar> ProgressBar;

		void Reset()
		{
			ProgressBar.Reset();
			MessageText.Reset();
			Window.Reset();
		}
	};

	FBodyRigProgressWindow& ProgressWindow()
	{
		static FBodyRigProgressWindow State;
		return State;
	}

	/** Ticks the application once with every tick type and draws the result now; nothing in a headless run. */
	void PumpUserInterface()
	{
		if (!FSlateApplication::IsInitialized() || !FApp::CanEverRender())
		{
			return;
		}
		FSlateApplication& Application = FSlateApplication::Get();
		Application.Tick(ESlateTickType::All);
		if (FSlateRenderer* Renderer = Application.GetRenderer())
		{
			Renderer->FlushCommands();
		}
	}

	/** The bar's fill for a percentage on a 0 to 100 scale; a percentage that is not a number shows empty. */
	float ProgressFraction(float Percent)
	{
		if (FMath::IsNaN(Percent))
		{
			return 0.0f;
		}
		return FMath::Clamp(Percent / 100.0f, 0.0f, 1.0f);
	}

	/**
	 * Forgets the window once it is gone, however it went (closed with the tools window it sits above,
	 * or by the user), so that later updates and the end never reach a destroyed window.
	 */
	void OnProgressWindowClosed(const TSharedRef<SWindow>& ClosedWindow)
	{
		FBodyRigProgressWindow& State = ProgressWindow();
		if (State.Window.Get() == &ClosedWindow.Get())
		{
			State.Reset();
		}
	}

	/** The tools window's host window while it is still a window of the application. */
	TSharedPtr<SWindow> LiveToolsHostWindow()
	{
		const TSharedPtr<SWindow> Host = FVantorelToolsWindowState::Get().HostWindow.Pin();
		if (!Host.IsValid() || FSlateApplication::Get().FindWidgetWindow(Host.ToSharedRef()) != Host)
		{
			return nullptr;
		}
		return Host;
	}

	void ShowProgressWindow(const TSharedRef<SWindow>& Window)
	{
		if (!FSlateApplication::IsInitialized())
		{
			return;
		}
		if (const TSharedPtr<SWindow> Host = LiveToolsHostWindow())
		{
			FSlateApplication::Get().AddWindowAsNativeChild(Window, Host.ToSharedRef(), true);
		}
		else
		{
			FSlateApplication::Get().AddWindow(Window, true);
		}
	}
}

void UVNFaceSDKImportLibrary::BeginBodyRigProgress(const FText& Message)
{
	EndBodyRigProgress();

	TSharedPtr<STextBlock> MessageText;
	TSharedPtr<SProgressBar> ProgressBar;
	// A fixed window without title-bar buttons: the build cannot be stopped from here, and the window
	// goes when the build ends it.
	const TSharedRef<SWindow> Window = SNew(SWindow)
		.Title(LOCTEXT("BodyRigProgressTitle", "Vantorel Body Control Rig"))
		.ClientSize(ProgressWindowClientSize)
		.SizingRule(ESizingRule::FixedSize)
		.AutoCenter(EAutoCenter::PreferredWorkArea)
		.SupportsMaximize(false)
		.SupportsMinimize(false)
		.HasCloseButton(false)
		[
			SNew(SBorder)
			.Padding(ProgressWindowPadding)
			[
				SNew(SVerticalBox)
				+ SVerticalBox::Slot()
				.AutoHeight()
				.Padding(0.0f, 0.0f, 0.0f, MessageBottomPadding)
				[
					SAssignNew(MessageText, STextBlock)
					.Text(Message)
				]
				+ SVerticalBox::Slot()
				.AutoHeight()
				[
					SAssignNew(ProgressBar, SProgressBar)
					.Percent(0.0f)
				]
			]
		];
	Window->SetOnWindowClosed(FOnWindowClosed::CreateStatic(&OnProgressWindowClosed));

	FBodyRigProgressWindow& State = ProgressWindow();
	State.Window = Window;
	State.MessageText = MessageText;
	State.ProgressBar = ProgressBar;
	ShowProgressWindow(Window);
	PumpUserInterface();
}

void UVNFaceSDKImportLibrary::UpdateBodyRigProgress(float Percent, const FText& Message)
{
	FBodyRigProgressWindow& State = ProgressWindow();
	if (State.MessageText.IsValid())
	{
		State.MessageText->SetText(Message);
	}
	if (State.ProgressBar.IsValid())
	{
		State.ProgressBar->SetPercent(TOptional<float>(ProgressFraction(Percent)));
	}
	PumpUserInterface();
}

void UVNFaceSDKImportLibrary::EndBodyRigProgress()
{
	FBodyRigProgressWindow& State = ProgressWindow();
	if (const TSharedPtr<SWindow> Window = State.Window)
	{
		Window->RequestDestroyWindow();
	}
	State.Reset();
	PumpUserInterface();
}

#undef LOCTEXT_NAMESPACE
