// The headless editor's Slate application and the record of what it did.

#include "Framework/Application/SlateApplication.h"

#include "HostEditorSupport/SlateRecord.h"
#include "Layout/Children.h"
#include "Rendering/SlateRenderer.h"
#include "Widgets/Layout/SBorder.h"
#include "Widgets/Notifications/SProgressBar.h"
#include "Widgets/SBoxPanel.h"
#include "Widgets/Text/STextBlock.h"

FSlateApplication* FSlateApplication::CurrentApplication = nullptr;

namespace
{
	struct FSlateActivity
	{
		TArray<HostEditor::FSlateTickRecord> Ticks;
		TArray<HostEditor::FSlateWindowRecord> Windows;
		int32 FlushCountAtReset = 0;
	};

	FSlateActivity& Activity()
	{
		static FSlateActivity Instance;
		return Instance;
	}

	HostEditor::FSlateWindowRecord& RecordOf(const TSharedRef<SWindow>& Window)
	{
		for (HostEditor::FSlateWindowRecord& Record : Activity().Windows)
		{
			if (Record.Window.Get() == &Window.Get())
			{
				return Record;
			}
		}
		HostEditor::FSlateWindowRecord& Record = Activity().Windows.AddDefaulted_GetRef();
		Record.Window = Window;
		return Record;
	}

	FString DescribeMargin(const FMargin& Margin)
	{
		return FString::Printf(TEXT("(%g %g %g %g)"), Margin.Left, Margin.Top, Margin.Right, Margin.Bottom);
	}

	/** The first line of a widget's description: its type and what it shows. */
	FString DescribeWidget(const SWidget& Widget)
	{
		const FString Type = Widget.GetTypeAsString();
		if (Type == TEXT("STextBlock"))
		{
			return FString::Printf(TEXT("STextBlock \"%s\""), *static_cast<const STextBlock&>(Widget).GetText().ToString());
		}
		if (Type == TEXT("SProgressBar"))
		{
			const TOptional<float> Percent = static_cast<const SProgressBar&>(Widget).GetPercent();
			return Percent.IsSet() ? FString::Printf(TEXT("SProgressBar Percent=%g"), Percent.GetValue()) : FString(TEXT("SProgressBar Marquee"));
		}
		if (Type == TEXT("SBorder"))
		{
			return TEXT("SBorder Padding=") + DescribeMargin(static_cast<const SBorder&>(Widget).GetPadding());
		}
		if (Type == TEXT("SWindow"))
		{
			const SWindow& Window = static_cast<const SWindow&>(Widget);
			const FVector2D Size = Window.GetClientSizeInScreen();
			return FString::Printf(TEXT("SWindow \"%s\" %gx%g"), *Window.GetTitle().ToString(), Size.X, Size.Y);
		}
		return Type;
	}

	void DescribeInto(const SWidget& Widget, int32 Depth, FString& Out)
	{
		const FString Indent = FString::ChrN(Depth * 2, TEXT(' '));
		Out += Indent + DescribeWidget(Widget) + TEXT("\n");
		if (Widget.GetTypeAsString() == TEXT("SVerticalBox"))
		{
			const SBoxPanel& Panel = static_cast<const SBoxPanel&>(Widget);
			for (int32 Index = 0; Index < Panel.NumSlots(); ++Index)
			{
				const SBoxPanel::FSlot& Slot = Panel.GetSlot(Index);
				const FString Size = Slot.GetSizeRule() == FSizeParam::SizeRule_Auto ? FString(TEXT("Auto")) : FString::Printf(TEXT("Fill=%g"), Slot.GetSizeValue());
				Out += Indent + TEXT("  Slot ") + Size + TEXT(" Padding=") + DescribeMargin(Slot.GetPadding()) + TEXT("\n");
				DescribeInto(Slot.GetWidget().Get(), Depth + 2, Out);
			}
			return;
		}
		FChildren* Children = const_cast<SWidget&>(Widget).GetChildren();
		for (int32 Index = 0; Index < Children->Num(); ++Index)
		{
			DescribeInto(Children->GetChildAt(Index).Get(), Depth + 1, Out);
		}
	}

	bool TreeHolds(const SWidget& Root, const SWidget* Wanted)
	{
		if (&Root == Wanted)
		{
			return true;
		}
		FChildren* Children = const_cast<SWidget&>(Root).GetChildren();
		for (int32 Index = 0; Index < Children->Num(); ++Index)
		{
			if (TreeHolds(Children->GetChildAt(Index).Get(), Wanted))
			{
				return true;
			}
		}
		return false;
	}

	/** The window among Windows and their child windows that holds Wanted, innermost first. */
	TSharedPtr<SWindow> FindHoldingWindow(const TArray<TSharedRef<SWindow>>& Windows, const SWidget* Wanted)
	{
		for (const TSharedRef<SWindow>& Window : Windows)
		{
			if (TSharedPtr<SWindow> InChild = FindHoldingWindow(Window->GetChildWindows(), Wanted))
			{
				return InChild;
			}
			if (TreeHolds(Window.Get(), Wanted))
			{
				return Window;
			}
		}
		return nullptr;
	}

	void PaintShownWindows(const TArray<TSharedRef<SWindow>>& Windows, TArray<FString>& OutPainted)
	{
		for (const TSharedRef<SWindow>& Window : Windows)
		{
			if (Window->IsVisible())
			{
				OutPainted.Add(HostEditor::DescribeWidgetTree(Window));
			}
			PaintShownWindows(Window->GetChildWindows(), OutPainted);
		}
	}

	/** Destroys a window's children, then the window, and unlinks it from its parent. */
	void DestroyWindowTree(const TSharedRef<SWindow>& Window, TArray<TSharedRef<SWindow>>& TopLevelWindows)
	{
		const TArray<TSharedRef<SWindow>> Children = Window->GetChildWindows();
		for (const TSharedRef<SWindow>& Child : Children)
		{
			DestroyWindowTree(Child, TopLevelWindows);
		}
		RecordOf(Window).bDestroyed = true;
		Window->NotifyWindowBeingDestroyed();
		if (const TSharedPtr<SWindow> Parent = Window->GetParentWindow())
		{
			Parent->RemoveDescendantWindow(Window);
		}
		TopLevelWindows.RemoveAll([&Window](const TSharedRef<SWindow>& Other) { return Other == Window; });
	}
}

FSlateApplication::FSlateApplication()
{
	Renderer = MakeShared<FSlateRenderer>();
}

void FSlateApplication::Create()
{
	if (!CurrentApplication)
	{
		CurrentApplication = new FSlateApplication();
		CurrentBaseApplication = CurrentApplication;
		Activity().FlushCountAtReset = 0;
	}
}

void FSlateApplication::Shutdown()
{
	if (CurrentApplication)
	{
		const TArray<TSharedRef<SWindow>> Windows = CurrentApplication->SlateWindows;
		for (const TSharedRef<SWindow>& Window : Windows)
		{
			CurrentApplication->RequestDestroyWindow(Window);
		}
		delete CurrentApplication;
		CurrentApplication = nullptr;
		CurrentBaseApplication = nullptr;
	}
}

TSharedRef<SWindow> FSlateApplication::AddWindow(TSharedRef<SWindow> InSlateWindow, const bool bShowImmediately)
{
	RecordOf(InSlateWindow);
	SlateWindows.AddUnique(InSlateWindow);
	if (bShowImmediately)
	{
		InSlateWindow->ShowWindow();
	}
	return InSlateWindow;
}

TSharedRef<SWindow> FSlateApplication::AddWindowAsNativeChild(TSharedRef<SWindow> InSlateWindow, TSharedRef<SWindow> InParentWindow, const bool bShowImmediately)
{
	// A native child needs its parent's native window, which only a live window of the application has.
	const HostEditor::FSlateWindowRecord* ParentRecord = HostEditor::FindSlateWindow(&InParentWindow.Get());
	checkf(ParentRecord && !ParentRecord->bDestroyed, TEXT("AddWindowAsNativeChild: the parent window '%s' is not a window of the application"), *InParentWindow->GetTitle().ToString());
	RecordOf(InSlateWindow).NativeParent = InParentWindow;
	InParentWindow->AddChildWindow(InSlateWindow);
	if (bShowImmediately)
	{
		InSlateWindow->ShowWindow();
	}
	return InSlateWindow;
}

void FSlateApplication::RequestDestroyWindow(TSharedRef<SWindow> WindowToDestroy)
{
	HostEditor::FSlateWindowRecord& Record = RecordOf(WindowToDestroy);
	++Record.DestroyRequests;
	if (!Record.bDestroyed)
	{
		DestroyWindowTree(WindowToDestroy, SlateWindows);
	}
}

TSharedPtr<SWindow> FSlateApplication::FindWidgetWindow(TSharedRef<const SWidget> InWidget) const
{
	return FindHoldingWindow(SlateWindows, &InWidget.Get());
}

void FSlateApplication::Tick(ESlateTickType TickType)
{
	HostEditor::FSlateTickRecord& Record = Activity().Ticks.AddDefaulted_GetRef();
	Record.TickType = TickType;
	if (EnumHasAnyFlags(TickType, ESlateTickType::Widgets))
	{
		PaintShownWindows(SlateWindows, Record.PaintedWindows);
	}
}

namespace HostEditor
{
	const TArray<FSlateTickRecord>& GetSlateTicks()
	{
		return Activity().Ticks;
	}

	int32 GetRendererFlushCount()
	{
		const FSlateRenderer* Renderer = FSlateApplication::IsInitialized() ? FSlateApplication::Get().GetRenderer() : nullptr;
		return Renderer ? Renderer->GetFlushCount() - Activity().FlushCountAtReset : 0;
	}

	const TArray<FSlateWindowRecord>& GetSlateWindows()
	{
		return Activity().Windows;
	}

	const FSlateWindowRecord* FindSlateWindow(const SWindow* Window)
	{
		for (const FSlateWindowRecord& Record : Activity().Windows)
		{
			if (Record.Window.Get() == Window)
			{
				return &Record;
			}
		}
		return nullptr;
	}

	FString DescribeWidgetTree(const TSharedRef<const SWidget>& Root)
	{
		FString Out;
		DescribeInto(Root.Get(), 0, Out);
		return Out;
	}

	bool CloseWindowAsUser(const TSharedRef<SWindow>& Window)
	{
		if (!Window->HasCloseBox() || !Window->IsVisible())
		{
			return false;
		}
		Window->RequestDestroyWindow();
		return true;
	}

	void ResetSlate()
	{
		FSlateApplication::Create();
		FSlateApplication& Application = FSlateApplication::Get();
		const TArray<TSharedRef<SWindow>> Windows = Application.GetTopLevelWindows();
		for (const TSharedRef<SWindow>& Window : Windows)
		{
			Application.RequestDestroyWindow(Window);
		}
		Activity().Ticks.Empty();
		Activity().Windows.Empty();
		Activity().FlushCountAtReset = Application.GetRenderer()->GetFlushCount();
	}
}

const void* FSlateApplication::FindBestParentWindowHandleForDialogs(const TSharedPtr<SWidget>& InWidget, const ESlateParentWindowSearchMethod ParentWindowSearchMethod)
{
	TSharedPtr<SWindow> Window = InWidget ? FindWidgetWindow(InWidget.ToSharedRef()) : TSharedPtr<SWindow>();
	if (!Window)
	{
		for (int32 Index = SlateWindows.Num() - 1; Index >= 0; --Index)
		{
			if (SlateWindows[Index]->IsVisible())
			{
				Window = SlateWindows[Index];
				break;
			}
		}
	}
	// The headless editor's windows have no operating-system window; the window itself stands for its handle.
	return Window.Get();
}
