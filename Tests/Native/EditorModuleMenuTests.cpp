// The editor module's start-up: its "Vantorel" menu in the level editor's main menu bar, the entry
// that opens the tools, the tools tab registered once, and shut-down removing only its own menus.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "CoreMinimal.h"
#include "Framework/Docking/TabManager.h"
#include "Interfaces/IPluginManager.h"
#include "HostEditorSupport/HostEditorSession.h"
#include "Modules/ModuleManager.h"
#include "ToolMenus.h"
#include "Widgets/Docking/SDockTab.h"
#include "Widgets/Text/STextBlock.h"

namespace
{
	std::string Narrow(const FString& Text)
	{
		return std::string(TCHAR_TO_UTF8(*Text));
	}

	std::string Narrow(const FText& Text)
	{
		return Narrow(Text.ToString());
	}

	const FName MainMenu(TEXT("LevelEditor.MainMenu"));
	const FName ToolsTab(TEXT("VantorelTools"));

	/** The localisation namespace and key of a text, as "Namespace/Key". */
	std::string SourceOf(const FText& Text)
	{
		return Narrow(FTextInspector::GetNamespace(Text).Get(FString())) + "/" + Narrow(FTextInspector::GetKey(Text).Get(FString()));
	}

	bool LogHas(const FString& Needle)
	{
		for (const HostEditor::FLogLine& Line : HostEditor::GetLogLines())
		{
			if (Line.Text.Contains(Needle))
			{
				return true;
			}
		}
		return false;
	}

	class EditorModuleMenuTest : public ::testing::Test
	{
	protected:
		void SetUp() override
		{
			// Each test begins a new editor run (EditorRunPerTest.cpp): no menus, tabs or modules left
			// by earlier tests. No Python here: opening the tools then logs that Python is missing and
			// runs no script.
			ASSERT_EQ(FModuleManager::Get().GetModule(TEXT("PythonScriptPlugin")), nullptr);
			ProjectDir = std::filesystem::temp_directory_path() / "vn_menu_tests" / ::testing::UnitTest::GetInstance()->current_test_info()->name();
			std::filesystem::remove_all(ProjectDir);
			FString Error;
			ASSERT_TRUE(HostEditor::StartEditor(FString(UTF8_TO_TCHAR(ProjectDir.string().c_str())), {TEXT(VN_SOURCE_DIR "/Plugins")}, Error)) << Narrow(Error);
		}

		void TearDown() override { std::filesystem::remove_all(ProjectDir); }

		static FToolMenuSection* VantorelSection()
		{
			UToolMenu* Menu = UToolMenus::Get()->FindMenu(MainMenu);
			return Menu ? Menu->FindSection(TEXT("Vantorel")) : nullptr;
		}

		static void* EditorModule() { return FModuleManager::Get().GetModule(TEXT("VantorelUnrealEditor")); }

		static void OpenFromMenu()
		{
			FString Error;
			ASSERT_TRUE(HostEditor::InvokeMenuEntry(MainMenu, {TEXT("Vantorel"), TEXT("VantorelFunctions")}, Error)) << Narrow(Error);
		}

		std::filesystem::path ProjectDir;
	};
}

TEST_F(EditorModuleMenuTest, TheMainMenuBarGetsTheVantorelSubMenuAndItsEntry)
{
	FToolMenuSection* Section = VantorelSection();
	ASSERT_NE(Section, nullptr);
	ASSERT_EQ(Section->Blocks.Num(), 1);
	const FToolMenuEntry& SubMenu = Section->Blocks[0];
	EXPECT_EQ(SubMenu.Name, FName(TEXT("Vantorel")));
	EXPECT_TRUE(SubMenu.IsSubMenu());
	EXPECT_FALSE(SubMenu.SubMenuData.bOpenSubMenuOnClick);
	EXPECT_TRUE(SubMenu.bShouldCloseWindowAfterMenuSelection);
	EXPECT_FALSE(SubMenu.Icon.Get().IsSet());
	EXPECT_EQ(Narrow(SubMenu.Label.Get()), "Vantorel");
	EXPECT_EQ(SourceOf(SubMenu.Label.Get()), "FVantorelUnrealEditorModule/VantorelMenuLabel");
	EXPECT_EQ(Narrow(SubMenu.ToolTip.Get()), "Vantorel Unreal tools.");
	EXPECT_EQ(SourceOf(SubMenu.ToolTip.Get()), "FVantorelUnrealEditorModule/VantorelMenuTooltip");
	// Added while the module was the menu owner, so that it can be removed by owner.
	EXPECT_TRUE(SubMenu.Owner == FToolMenuOwner(EditorModule()));
	EXPECT_TRUE(Section->Owner == FToolMenuOwner(EditorModule()));
	EXPECT_FALSE(UToolMenus::Get()->CurrentOwner().IsSet());

	// The sub-menu is filled when it opens, and afresh each time.
	for (int32 Opening = 0; Opening < 2; ++Opening)
	{
		UToolMenu* Generated = UToolMenus::Get()->GenerateMenu(MainMenu, FToolMenuContext());
		UToolMenu* Opened = UToolMenus::Get()->GenerateSubMenu(Generated, TEXT("Vantorel"));
		ASSERT_NE(Opened, nullptr);
		ASSERT_EQ(Opened->Sections.Num(), 1);
		const FToolMenuSection& Functions = Opened->Sections[0];
		EXPECT_EQ(Functions.Name, FName(TEXT("VantorelFunctions")));
		EXPECT_EQ(Narrow(Functions.Label.Get()), "Vantorel");
		EXPECT_EQ(SourceOf(Functions.Label.Get()), "FVantorelUnrealEditorModule/VantorelFunctionsSection");
		ASSERT_EQ(Functions.Blocks.Num(), 1);
		const FToolMenuEntry& Entry = Functions.Blocks[0];
		EXPECT_EQ(Entry.Name, FName(TEXT("VantorelFunctions")));
		EXPECT_EQ(Narrow(Entry.Label.Get()), "Vantorel Functions");
		EXPECT_EQ(SourceOf(Entry.Label.Get()), "FVantorelUnrealEditorModule/VantorelFunctionsLabel");
		EXPECT_EQ(Narrow(Entry.ToolTip.Get()), "Open Vantorel tools for Unreal.");
		EXPECT_EQ(SourceOf(Entry.ToolTip.Get()), "FVantorelUnrealEditorModule/VantorelFunctionsTooltip");
		EXPECT_EQ(Entry.UserInterfaceActionType, EUserInterfaceActionType::Button);
		EXPECT_FALSE(Entry.IsSubMenu());
		EXPECT_FALSE(Entry.Icon.Get().IsSet());
		ASSERT_NE(Entry.GetActionForCommand(), nullptr);
		EXPECT_TRUE(Entry.GetActionForCommand()->IsBound());
	}
	// Nothing is opened until the entry is chosen.
	EXPECT_FALSE(FGlobalTabmanager::Get()->FindExistingLiveTab(FTabId(ToolsTab)).IsValid());
}

TEST_F(EditorModuleMenuTest, TheEntryOpensTheToolsWithNoPresetInTheirNomadTab)
{
	EXPECT_FALSE(FGlobalTabmanager::Get()->HasTabSpawner(ToolsTab));
	OpenFromMenu();
	EXPECT_TRUE(LogHas(TEXT("Vantorel tools target SkeletalMesh path: '' resolved: no")));
	EXPECT_TRUE(LogHas(TEXT("Vantorel: Python script plugin not available")));
	EXPECT_TRUE(FGlobalTabmanager::Get()->HasTabSpawner(ToolsTab));
	const TSharedPtr<SDockTab> Tab = FGlobalTabmanager::Get()->FindExistingLiveTab(FTabId(ToolsTab));
	ASSERT_TRUE(Tab.IsValid());
	EXPECT_EQ(Tab->GetTabRole(), ETabRole::NomadTab);
	// The label carries the plug-in's version name.
	const TSharedPtr<IPlugin> Plugin = IPluginManager::Get().FindPlugin(TEXT("VantorelUnreal"));
	ASSERT_TRUE(Plugin.IsValid());
	ASSERT_FALSE(Plugin->GetDescriptor().VersionName.IsEmpty());
	EXPECT_EQ(Narrow(Tab->GetTabLabel()), "Vantorel " + Narrow(Plugin->GetDescriptor().VersionName));
	EXPECT_TRUE(Tab->IsForeground());
	EXPECT_TRUE(Tab->IsActive());
	EXPECT_EQ(Tab->GetContent()->GetType(), FName(TEXT("SVantorelToolsWindow")));
}

TEST_F(EditorModuleMenuTest, OpeningTwiceRegistersTheSpawnerOnceAndBringsTheOneTabToFront)
{
	OpenFromMenu();
	const TSharedPtr<SDockTab> First = FGlobalTabmanager::Get()->FindExistingLiveTab(FTabId(ToolsTab));
	ASSERT_TRUE(First.IsValid());

	// Another tab comes to front in between.
	FGlobalTabmanager::Get()->RegisterNomadTabSpawner(TEXT("OtherTab"), FOnSpawnTab::CreateLambda([](const FSpawnTabArgs&) { return SNew(SDockTab).TabRole(ETabRole::NomadTab); }));
	const TSharedPtr<SDockTab> Other = FGlobalTabmanager::Get()->TryInvokeTab(FTabId(TEXT("OtherTab")));
	ASSERT_TRUE(Other.IsValid());
	EXPECT_FALSE(First->IsForeground());

	OpenFromMenu();
	EXPECT_EQ(FGlobalTabmanager::Get()->FindExistingLiveTab(FTabId(ToolsTab)), First);
	EXPECT_TRUE(First->IsForeground());
	EXPECT_TRUE(First->IsActive());
	EXPECT_FALSE(Other->IsForeground());
	EXPECT_FALSE(LogHas(TEXT("already registered")));
	// Python was looked for once only, at the first opening.
	int32 PythonLines = 0;
	for (const HostEditor::FLogLine& Line : HostEditor::GetLogLines())
	{
		PythonLines += Line.Text.Contains(TEXT("Python script plugin not available")) ? 1 : 0;
	}
	EXPECT_EQ(PythonLines, 1);

	// A closed tab is spawned anew by the one registered spawner.
	First->RequestCloseTab();
	EXPECT_FALSE(FGlobalTabmanager::Get()->FindExistingLiveTab(FTabId(ToolsTab)).IsValid());
	OpenFromMenu();
	const TSharedPtr<SDockTab> Reopened = FGlobalTabmanager::Get()->FindExistingLiveTab(FTabId(ToolsTab));
	ASSERT_TRUE(Reopened.IsValid());
	EXPECT_NE(Reopened, First);
	EXPECT_FALSE(LogHas(TEXT("already registered")));
}

TEST_F(EditorModuleMenuTest, RegisteringTheMenusAgainFindsTheSectionAndSubMenuByName)
{
	IModuleInterface* Module = FModuleManager::Get().GetModule(TEXT("VantorelUnrealEditor"));
	ASSERT_NE(Module, nullptr);
	// A second start-up callback runs at once, since the menu system is ready.
	Module->StartupModule();
	UToolMenu* Menu = UToolMenus::Get()->FindMenu(MainMenu);
	ASSERT_NE(Menu, nullptr);
	int32 VantorelSections = 0;
	for (const FToolMenuSection& Section : Menu->Sections)
	{
		VantorelSections += Section.Name == FName(TEXT("Vantorel")) ? 1 : 0;
	}
	EXPECT_EQ(VantorelSections, 1);
	ASSERT_NE(VantorelSection(), nullptr);
	EXPECT_EQ(VantorelSection()->Blocks.Num(), 1);
	Module->ShutdownModule();
	EXPECT_EQ(VantorelSection(), nullptr);
	Module->StartupModule();
	EXPECT_NE(VantorelSection(), nullptr);
}

TEST_F(EditorModuleMenuTest, ShutDownRemovesOnlyTheModulesMenusAndNothingOnceTheMenuSystemIsGone)
{
	// Another owner's entry in the same section stays, and so does the section it is in.
	{
		FToolMenuOwnerScoped OtherOwner(TEXT("SomeOtherPlugin"));
		UToolMenus::Get()->ExtendMenu(MainMenu)->FindOrAddSection(TEXT("Vantorel")).AddMenuEntry(TEXT("Other"), FText::FromString(TEXT("Other")), FText(), FSlateIcon(), FUIAction());
	}
	ASSERT_TRUE(FModuleManager::Get().UnloadModule(TEXT("VantorelUnrealEditor")));
	ASSERT_NE(VantorelSection(), nullptr);
	ASSERT_EQ(VantorelSection()->Blocks.Num(), 1);
	EXPECT_EQ(VantorelSection()->Blocks[0].Name, FName(TEXT("Other")));

	// Loading the module again after start-up adds its menu at once.
	ASSERT_NE(FModuleManager::Get().LoadModule(TEXT("VantorelUnrealEditor")), nullptr);
	ASSERT_NE(VantorelSection()->FindEntry(TEXT("Vantorel")), nullptr);

	ASSERT_TRUE(FModuleManager::Get().UnloadModule(TEXT("ToolMenus")));
	ASSERT_TRUE(FModuleManager::Get().UnloadModule(TEXT("VantorelUnrealEditor")));
	ASSERT_NE(VantorelSection(), nullptr);
	EXPECT_NE(VantorelSection()->FindEntry(TEXT("Vantorel")), nullptr);
}

TEST(ToolMenusAndTabs, DelegatesAndAttributesFollowTheirBindings)
{
	// A multicast delegate removes bindings by object and skips one removed during a broadcast.
	struct FListener
	{
		int32 Calls = 0;
		void OnEvent() { ++Calls; }
	};
	FListener A;
	FListener B;
	FSimpleMulticastDelegate Event;
	Event.AddRaw(&A, &FListener::OnEvent);
	const FDelegateHandle BHandle = Event.AddRaw(&B, &FListener::OnEvent);
	Event.AddLambda([&Event, BHandle]() { Event.Remove(BHandle); });
	Event.AddRaw(&A, &FListener::OnEvent);
	Event.Broadcast();
	EXPECT_EQ(A.Calls, 2);
	EXPECT_EQ(B.Calls, 1);
	EXPECT_EQ(Event.RemoveAll(&A), 2);
	Event.Broadcast();
	EXPECT_EQ(A.Calls, 2);
	EXPECT_EQ(B.Calls, 1);

	// Shared-pointer bindings lapse with their object.
	struct FShared : TSharedFromThis<FShared>
	{
		int32 Twice(int32 Value) { return 2 * Value; }
	};
	TDelegate<int32(int32)> Doubler;
	{
		TSharedRef<FShared> Object = MakeShared<FShared>();
		Doubler = TDelegate<int32(int32)>::CreateSP(Object, &FShared::Twice);
		EXPECT_EQ(Doubler.Execute(21), 42);
	}
	EXPECT_FALSE(Doubler.IsBound());

	int32 Source = 1;
	TAttribute<int32> Bound = TAttribute<int32>::CreateLambda([&Source]() { return Source * 10; });
	Source = 4;
	EXPECT_EQ(Bound.Get(), 40);
	TAttribute<int32> Unset;
	EXPECT_FALSE(Unset.IsSet());
	EXPECT_EQ(Unset.Get(7), 7);
}

TEST(ToolMenusAndTabs, TabsWithoutASpawnerOrRefusedByItAreNotOpened)
{
	EXPECT_FALSE(FGlobalTabmanager::Get()->TryInvokeTab(FTabId(TEXT("NoSuchTab"))).IsValid());
	FGlobalTabmanager::Get()->RegisterNomadTabSpawner(TEXT("Refused"), FOnSpawnTab::CreateLambda([](const FSpawnTabArgs&) { return SNew(SDockTab); }),
		FCanSpawnTab::CreateLambda([](const FSpawnTabArgs&) { return false; }));
	EXPECT_FALSE(FGlobalTabmanager::Get()->TryInvokeTab(FTabId(TEXT("Refused"))).IsValid());
}
