// The body rig progress window: its layout and texts, the clamped bar, the pump that ticks and paints
// the user interface after every call (never in a headless run), its place above the tools window's
// host window or on its own, and an end that stays safe however the window went.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "CoreMinimal.h"
#include "Framework/Application/SlateApplication.h"
#include "Framework/Docking/TabManager.h"
#include "HostEditorSupport/SlateRecord.h"
#include "VNFaceSDKImportLibrary.h"
#include "VantorelToolsTab.h"
#include "VantorelToolsWindowState.h"
#include "Widgets/Docking/SDockTab.h"
#include "Widgets/Notifications/SProgressBar.h"
#include "Widgets/SBoxPanel.h"
#include "Widgets/SWindow.h"

namespace
{
	std::string Narrow(const FString& Text)
	{
		return std::string(TCHAR_TO_UTF8(*Text));
	}

	FText Text(const TCHAR* Literal)
	{
		return FText::FromString(Literal);
	}

	const TCHAR* const ProgressTitle = TEXT("Vantorel Body Control Rig");

	/** The records of the progress windows the application was given, oldest first. */
	TArray<const HostEditor::FSlateWindowRecord*> ProgressWindows()
	{
		TArray<const HostEditor::FSlateWindowRecord*> Found;
		for (const HostEditor::FSlateWindowRecord& Record : HostEditor::GetSlateWindows())
		{
			if (Record.Window->GetTitle().ToString() == ProgressTitle)
			{
				Found.Add(&Record);
			}
		}
		return Found;
	}

	/** The one open progress window's record; fails the test when there is not exactly one. */
	const HostEditor::FSlateWindowRecord* OpenProgressWindow()
	{
		const HostEditor::FSlateWindowRecord* Open = nullptr;
		int32 Count = 0;
		for (const HostEditor::FSlateWindowRecord* Record : ProgressWindows())
		{
			if (!Record->bDestroyed)
			{
				Open = Record;
				++Count;
			}
		}
		EXPECT_EQ(Count, 1);
		return Count == 1 ? Open : nullptr;
	}

	/** The progress bar inside a progress window: border, vertical box, second slot. */
	const SProgressBar& BarOf(const SWindow& Window)
	{
		const SWidget& Border = Window.GetContent().Get();
		const SBoxPanel& Box = static_cast<const SBoxPanel&>(const_cast<SWidget&>(Border).GetChildren()->GetChildAt(0).Get());
		return static_cast<const SProgressBar&>(Box.GetSlot(1).GetWidget().Get());
	}

	TSharedRef<SWindow> AddHostWindow()
	{
		return FSlateApplication::Get().AddWindow(SNew(SWindow).Title(Text(TEXT("Vantorel Tools Host"))).ClientSize(FVector2D(800.0, 600.0)));
	}

	class BodyRigProgressTest : public ::testing::Test
	{
	protected:
		void SetUp() override
		{
			GUsingNullRHI = false;
			FVantorelToolsWindowState::Get().HostWindow = nullptr;
			HostEditor::ResetSlate();
		}

		void TearDown() override
		{
			UVNFaceSDKImportLibrary::EndBodyRigProgress();
			GUsingNullRHI = false;
			FVantorelToolsWindowState::Get().HostWindow = nullptr;
			HostEditor::ResetSlate();
		}
	};
}

TEST_F(BodyRigProgressTest, BeginShowsTheTitledFixedWindowWithTheMessageAboveAnEmptyBar)
{
	UVNFaceSDKImportLibrary::BeginBodyRigProgress(Text(TEXT("Waking up the procedural rig builder...")));

	const HostEditor::FSlateWindowRecord* Record = OpenProgressWindow();
	ASSERT_NE(Record, nullptr);
	const SWindow& Window = *Record->Window;
	EXPECT_TRUE(Window.IsVisible());
	EXPECT_FALSE(Record->NativeParent.IsValid());
	EXPECT_TRUE(FSlateApplication::Get().GetTopLevelWindows().Contains(Record->Window.ToSharedRef()));
	EXPECT_EQ(Window.GetClientSizeInScreen(), FVector2D(560.0, 112.0));
	EXPECT_EQ(Window.GetSizingRule(), ESizingRule::FixedSize);
	// Nothing on the title bar could stop a build that runs on, so there is nothing there to press.
	EXPECT_FALSE(Window.HasCloseBox());
	EXPECT_FALSE(Window.HasMinimizeBox());
	EXPECT_FALSE(Window.HasMaximizeBox());
	EXPECT_FALSE(HostEditor::CloseWindowAsUser(Record->Window.ToSharedRef()));

	EXPECT_EQ(Narrow(HostEditor::DescribeWidgetTree(Window.GetContent())),
		"SBorder Padding=(18 18 18 18)\n"
		"  SVerticalBox\n"
		"    Slot Auto Padding=(0 0 0 12)\n"
		"      STextBlock \"Waking up the procedural rig builder...\"\n"
		"    Slot Auto Padding=(0 0 0 0)\n"
		"      SProgressBar Percent=0\n");

	// Two pumps: the end of any earlier window, then one tick of every kind that painted the new
	// window, each followed by a flush of the renderer.
	ASSERT_EQ(HostEditor::GetSlateTicks().Num(), 2);
	EXPECT_TRUE(HostEditor::GetSlateTicks()[0].PaintedWindows.IsEmpty());
	const HostEditor::FSlateTickRecord& Tick = HostEditor::GetSlateTicks()[1];
	EXPECT_EQ(Tick.TickType, ESlateTickType::All);
	ASSERT_EQ(Tick.PaintedWindows.Num(), 1);
	EXPECT_NE(Tick.PaintedWindows[0].Find(TEXT("Waking up the procedural rig builder...")), INDEX_NONE);
	EXPECT_EQ(HostEditor::GetRendererFlushCount(), 2);
}

struct FClampCase
{
	float Percent;
	float ExpectedFraction;
};

void PrintTo(const FClampCase& Case, std::ostream* Out)
{
	*Out << Case.Percent << "%";
}

class BodyRigProgressClampTest : public BodyRigProgressTest, public ::testing::WithParamInterface<FClampCase>
{
};

TEST_P(BodyRigProgressClampTest, UpdateSetsTheMessageAndTheBarClampedToTheWholeBar)
{
	UVNFaceSDKImportLibrary::BeginBodyRigProgress(Text(TEXT("Start")));
	UVNFaceSDKImportLibrary::UpdateBodyRigProgress(GetParam().Percent, Text(TEXT("Building Forward FK / IK graph...")));

	const HostEditor::FSlateWindowRecord* Record = OpenProgressWindow();
	ASSERT_NE(Record, nullptr);
	const TOptional<float> Fraction = BarOf(*Record->Window).GetPercent();
	ASSERT_TRUE(Fraction.IsSet());
	EXPECT_FLOAT_EQ(Fraction.GetValue(), GetParam().ExpectedFraction);

	// The update was painted at once: the last frame shows the new message and bar.
	ASSERT_EQ(HostEditor::GetSlateTicks().Num(), 3);
	ASSERT_EQ(HostEditor::GetSlateTicks().Last().PaintedWindows.Num(), 1);
	const FString& Painted = HostEditor::GetSlateTicks().Last().PaintedWindows[0];
	EXPECT_NE(Painted.Find(TEXT("\"Building Forward FK / IK graph...\"")), INDEX_NONE) << Narrow(Painted);
	EXPECT_NE(Painted.Find(FString::Printf(TEXT("Percent=%g"), GetParam().ExpectedFraction)), INDEX_NONE) << Narrow(Painted);
	EXPECT_EQ(HostEditor::GetRendererFlushCount(), 3);
}

INSTANTIATE_TEST_SUITE_P(Percentages, BodyRigProgressClampTest,
	::testing::Values(FClampCase{-5.0f, 0.0f}, FClampCase{250.0f, 1.0f}, FClampCase{42.5f, 0.425f}, FClampCase{100.0f, 1.0f},
		// A percentage that is not a number shows an empty bar, not a full one.
		FClampCase{std::numeric_limits<float>::quiet_NaN(), 0.0f}));

TEST_F(BodyRigProgressTest, EndWithoutBeginAndUpdateWithoutAWindowOnlyPump)
{
	UVNFaceSDKImportLibrary::EndBodyRigProgress();
	UVNFaceSDKImportLibrary::UpdateBodyRigProgress(50.0f, Text(TEXT("Nobody sees this")));

	EXPECT_TRUE(HostEditor::GetSlateWindows().IsEmpty());
	ASSERT_EQ(HostEditor::GetSlateTicks().Num(), 2);
	for (const HostEditor::FSlateTickRecord& Tick : HostEditor::GetSlateTicks())
	{
		EXPECT_EQ(Tick.TickType, ESlateTickType::All);
		EXPECT_TRUE(Tick.PaintedWindows.IsEmpty());
	}
	EXPECT_EQ(HostEditor::GetRendererFlushCount(), 2);
}

TEST_F(BodyRigProgressTest, EndDestroysTheWindowOnceAndASecondBeginReplacesTheFirstWindow)
{
	UVNFaceSDKImportLibrary::BeginBodyRigProgress(Text(TEXT("First build")));
	UVNFaceSDKImportLibrary::BeginBodyRigProgress(Text(TEXT("Second build")));

	TArray<const HostEditor::FSlateWindowRecord*> Windows = ProgressWindows();
	ASSERT_EQ(Windows.Num(), 2);
	EXPECT_TRUE(Windows[0]->bDestroyed);
	EXPECT_FALSE(Windows[0]->Window->IsVisible());
	EXPECT_FALSE(Windows[1]->bDestroyed);
	EXPECT_EQ(FSlateApplication::Get().GetTopLevelWindows().Num(), 1);

	UVNFaceSDKImportLibrary::EndBodyRigProgress();
	UVNFaceSDKImportLibrary::EndBodyRigProgress();
	UVNFaceSDKImportLibrary::UpdateBodyRigProgress(10.0f, Text(TEXT("After the end")));

	Windows = ProgressWindows();
	EXPECT_TRUE(Windows[1]->bDestroyed);
	EXPECT_EQ(Windows[1]->DestroyRequests, 1);
	EXPECT_EQ(Windows[0]->DestroyRequests, 1);
	EXPECT_TRUE(FSlateApplication::Get().GetTopLevelWindows().IsEmpty());
	// The update after the end reached no widget of the closed window.
	EXPECT_FLOAT_EQ(BarOf(*Windows[1]->Window).GetPercent().GetValue(), 0.0f);
	// Each begin pumps twice (its own end, then the new window), each end and the update once.
	ASSERT_EQ(HostEditor::GetSlateTicks().Num(), 7);
	EXPECT_TRUE(HostEditor::GetSlateTicks().Last().PaintedWindows.IsEmpty());
}

TEST_F(BodyRigProgressTest, AHeadlessEditorKeepsTheWindowStateButNeverTicks)
{
	GUsingNullRHI = true;

	UVNFaceSDKImportLibrary::BeginBodyRigProgress(Text(TEXT("Headless")));
	const HostEditor::FSlateWindowRecord* Record = OpenProgressWindow();
	ASSERT_NE(Record, nullptr);
	UVNFaceSDKImportLibrary::UpdateBodyRigProgress(42.5f, Text(TEXT("Halfway")));
	EXPECT_FLOAT_EQ(BarOf(*Record->Window).GetPercent().GetValue(), 0.425f);
	UVNFaceSDKImportLibrary::EndBodyRigProgress();

	EXPECT_TRUE(ProgressWindows()[0]->bDestroyed);
	EXPECT_TRUE(HostEditor::GetSlateTicks().IsEmpty());
	EXPECT_EQ(HostEditor::GetRendererFlushCount(), 0);
}

TEST_F(BodyRigProgressTest, TheWindowIsANativeChildOfTheToolsHostWindowWhileThatWindowLives)
{
	const TSharedRef<SWindow> Host = AddHostWindow();
	FVantorelToolsWindowState::Get().HostWindow = Host;

	UVNFaceSDKImportLibrary::BeginBodyRigProgress(Text(TEXT("Above the tools")));
	const HostEditor::FSlateWindowRecord* Record = OpenProgressWindow();
	ASSERT_NE(Record, nullptr);
	EXPECT_EQ(Record->NativeParent.Pin(), Host.ToSharedPtr());
	EXPECT_EQ(Record->Window->GetParentWindow(), Host.ToSharedPtr());
	ASSERT_EQ(Host->GetChildWindows().Num(), 1);
	EXPECT_EQ(FSlateApplication::Get().GetTopLevelWindows().Num(), 1);
	UVNFaceSDKImportLibrary::EndBodyRigProgress();
	EXPECT_TRUE(Host->GetChildWindows().IsEmpty());

	// Once the host window is gone, even while something still holds it, the window stands on its own.
	Host->RequestDestroyWindow();
	UVNFaceSDKImportLibrary::BeginBodyRigProgress(Text(TEXT("On its own")));
	Record = OpenProgressWindow();
	ASSERT_NE(Record, nullptr);
	EXPECT_FALSE(Record->NativeParent.IsValid());
	EXPECT_TRUE(FSlateApplication::Get().GetTopLevelWindows().Contains(Record->Window.ToSharedRef()));
}

TEST_F(BodyRigProgressTest, ClosingTheHostWindowTakesTheProgressWindowAndLeavesEndSafe)
{
	const TSharedRef<SWindow> Host = AddHostWindow();
	FVantorelToolsWindowState::Get().HostWindow = Host;
	UVNFaceSDKImportLibrary::BeginBodyRigProgress(Text(TEXT("Building")));
	ASSERT_TRUE(HostEditor::CloseWindowAsUser(Host));

	const HostEditor::FSlateWindowRecord* Progress = ProgressWindows()[0];
	EXPECT_TRUE(Progress->bDestroyed);
	UVNFaceSDKImportLibrary::UpdateBodyRigProgress(80.0f, Text(TEXT("Still building")));
	UVNFaceSDKImportLibrary::EndBodyRigProgress();

	// The window went with its host; nothing asked for it again, and the update reached nothing.
	EXPECT_EQ(Progress->DestroyRequests, 0);
	EXPECT_FLOAT_EQ(BarOf(*Progress->Window).GetPercent().GetValue(), 0.0f);
	EXPECT_TRUE(FSlateApplication::Get().GetTopLevelWindows().IsEmpty());
}

TEST_F(BodyRigProgressTest, TheToolsTabRegistersTheWindowItIsDockedInAsTheHost)
{
	const TSharedRef<SWindow> MainFrame = AddHostWindow();
	FGlobalTabmanager::Get()->SetRootWindow(MainFrame);
	if (const TSharedPtr<SDockTab> Open = FGlobalTabmanager::Get()->FindExistingLiveTab(FTabId(VantorelToolsTab::TabId)))
	{
		Open->RequestCloseTab();
	}
	VantorelToolsTab::RegisterTabSpawner();
	VantorelToolsTab::InvokeTab();
	const TSharedPtr<SDockTab> Tab = FGlobalTabmanager::Get()->FindExistingLiveTab(FTabId(VantorelToolsTab::TabId));
	ASSERT_TRUE(Tab.IsValid());
	EXPECT_EQ(Tab->GetParentWindow(), MainFrame.ToSharedPtr());

	UVNFaceSDKImportLibrary::BeginBodyRigProgress(Text(TEXT("Docked tools")));
	const HostEditor::FSlateWindowRecord* Record = OpenProgressWindow();
	ASSERT_NE(Record, nullptr);
	EXPECT_EQ(Record->NativeParent.Pin(), MainFrame.ToSharedPtr());

	Tab->RequestCloseTab();
}
