// The headless editor's session as native code and the host program use it: starting on a
// project, plug-in discovery, message boxes answered as in unattended runs, the selection, and
// ending a run so that the next start begins a new one.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "CoreMinimal.h"
#include "EditorUtilityLibrary.h"
#include "Framework/Docking/TabManager.h"
#include "HostEditorSupport/HostEditorSession.h"
#include "Interfaces/IPluginManager.h"
#include "Misc/MessageDialog.h"
#include "Misc/Paths.h"
#include "Modules/ModuleManager.h"
#include "PluginBlueprintLibrary.h"
#include "ToolMenus.h"
#include "VNFaceRigDataAsset.h"
#include "Widgets/Docking/SDockTab.h"
#include "AssetToolsModule.h"

namespace
{
	std::string Narrow(const FString& Text)
	{
		return std::string(TCHAR_TO_UTF8(*Text));
	}

	class HostEditorSessionTest : public ::testing::Test
	{
	protected:
		void SetUp() override
		{
			FModuleManager::Get().AddBinariesDirectory(TEXT(VN_MODULE_BINARIES_DIR), false);
			ProjectDir = std::filesystem::temp_directory_path() / "vn_session_tests" / ::testing::UnitTest::GetInstance()->current_test_info()->name();
			std::filesystem::remove_all(ProjectDir);
			FString Error;
			ASSERT_TRUE(HostEditor::StartEditor(Project(), {TEXT(VN_SOURCE_DIR "/Plugins")}, Error)) << Narrow(Error);
		}

		void TearDown() override
		{
			std::filesystem::remove_all(ProjectDir);
		}

		FString Project() const { return FString(UTF8_TO_TCHAR(ProjectDir.string().c_str())); }

		std::filesystem::path ProjectDir;
	};
}

TEST_F(HostEditorSessionTest, StartCreatesTheProjectFoldersAndFindsThePlugin)
{
	for (const char* Folder : {"Content", "Intermediate", "Saved", "Plugins"})
	{
		EXPECT_TRUE(std::filesystem::is_directory(ProjectDir / Folder)) << Folder;
	}
	EXPECT_EQ(Narrow(FPaths::ProjectContentDir()), ProjectDir.string() + "/Content/");
	const TSharedPtr<IPlugin> Plugin = IPluginManager::Get().FindPlugin(TEXT("VantorelUnreal"));
	ASSERT_TRUE(Plugin.IsValid());
	EXPECT_EQ(Plugin->GetDescriptor().Modules.Num(), 2);
	FString Version;
	EXPECT_TRUE(UPluginBlueprintLibrary::GetPluginVersionName(TEXT("VantorelUnreal"), Version));
	EXPECT_FALSE(Version.IsEmpty());
	EXPECT_TRUE(FModuleManager::Get().IsModuleLoaded(TEXT("VantorelUnrealEditor")));
}

struct FDialogCase
{
	EAppMsgType::Type Type;
	EAppReturnType::Type Expected;
};

class HostEditorDialogTest : public HostEditorSessionTest, public ::testing::WithParamInterface<FDialogCase>
{
};

TEST_P(HostEditorDialogTest, MessageDialogIsRecordedAndAnsweredWithTheChoiceThatChangesNothing)
{
	const EAppReturnType::Type Result = FMessageDialog::Open(GetParam().Type, FText::FromString(TEXT("Body")), FText::FromString(TEXT("Title")));
	EXPECT_EQ(Result, GetParam().Expected);
	ASSERT_EQ(HostEditor::GetMessageDialogs().Num(), 1);
	EXPECT_EQ(Narrow(HostEditor::GetMessageDialogs()[0].Title), "Title");
	EXPECT_EQ(Narrow(HostEditor::GetMessageDialogs()[0].Message), "Body");
	EXPECT_EQ(HostEditor::GetMessageDialogs()[0].Result, GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Types, HostEditorDialogTest,
	::testing::Values(
		FDialogCase{EAppMsgType::Ok, EAppReturnType::Ok},
		FDialogCase{EAppMsgType::YesNo, EAppReturnType::No},
		FDialogCase{EAppMsgType::OkCancel, EAppReturnType::Cancel},
		FDialogCase{EAppMsgType::YesNoCancel, EAppReturnType::Cancel},
		FDialogCase{EAppMsgType::CancelRetryContinue, EAppReturnType::Cancel}));

TEST_F(HostEditorSessionTest, MessageDialogWithADefaultAnswersTheDefault)
{
	EXPECT_EQ(FMessageDialog::Open(EAppMsgType::YesNo, EAppReturnType::Yes, FText::FromString(TEXT("Replace?"))), EAppReturnType::Yes);
	EXPECT_EQ(HostEditor::GetMessageDialogs().Last().Result, EAppReturnType::Yes);
}

TEST_F(HostEditorSessionTest, RestartForgetsMessageBoxesAndSelection)
{
	FMessageDialog::Open(EAppMsgType::Ok, FText::FromString(TEXT("Hello")));
	HostEditor::SelectAssets({TEXT("/Game/A/B")});
	FString Error;
	ASSERT_TRUE(HostEditor::StartEditor(Project(), {}, Error));
	EXPECT_EQ(HostEditor::GetMessageDialogs().Num(), 0);
	EXPECT_EQ(UEditorUtilityLibrary::GetSelectedAssets().Num(), 0);
}

TEST_F(HostEditorSessionTest, ShutdownEndsTheRunAndTheNextStartBeginsANewOne)
{
	const FName MainMenu(TEXT("LevelEditor.MainMenu"));
	const auto VantorelSections = [&MainMenu]()
	{
		int32 Found = 0;
		if (UToolMenu* Menu = UToolMenus::Get()->FindMenu(MainMenu))
		{
			for (const FToolMenuSection& Section : Menu->Sections)
			{
				Found += Section.Name == FName(TEXT("Vantorel")) ? 1 : 0;
			}
		}
		return Found;
	};
	ASSERT_EQ(VantorelSections(), 1);
	FGlobalTabmanager::Get()->RegisterNomadTabSpawner(TEXT("LeftOver"), FOnSpawnTab::CreateLambda([](const FSpawnTabArgs&) { return SNew(SDockTab).TabRole(ETabRole::NomadTab); }));
	ASSERT_TRUE(FGlobalTabmanager::Get()->TryInvokeTab(FTabId(TEXT("LeftOver"))).IsValid());
	FMessageDialog::Open(EAppMsgType::Ok, FText::FromString(TEXT("Hello")));
	HostEditor::SelectAssets({TEXT("/Game/A/B")});

	HostEditor::ShutdownEditor();
	EXPECT_FALSE(HostEditor::IsEditorStarted());
	EXPECT_FALSE(FModuleManager::Get().IsModuleLoaded(TEXT("VantorelUnrealEditor")));
	EXPECT_FALSE(FModuleManager::Get().IsModuleLoaded(TEXT("ToolMenus")));
	EXPECT_FALSE(IPluginManager::Get().FindPlugin(TEXT("VantorelUnreal")).IsValid());
	EXPECT_TRUE(IPluginManager::Get().GetAdditionalPluginSearchPaths().IsEmpty());
	EXPECT_FALSE(FGlobalTabmanager::Get()->HasTabSpawner(TEXT("LeftOver")));
	EXPECT_FALSE(FGlobalTabmanager::Get()->FindExistingLiveTab(FTabId(TEXT("LeftOver"))).IsValid());
	EXPECT_EQ(UToolMenus::Get()->FindMenu(MainMenu), nullptr);
	EXPECT_EQ(HostEditor::GetMessageDialogs().Num(), 0);
	EXPECT_EQ(UEditorUtilityLibrary::GetSelectedAssets().Num(), 0);
	EXPECT_EQ(HostEditor::GetLogLines().Num(), 0);

	// The new run starts as the first did: the plug-in is found again, its module starts and its
	// menu is added once the engine has started.
	FString Error;
	ASSERT_TRUE(HostEditor::StartEditor(Project(), {TEXT(VN_SOURCE_DIR "/Plugins")}, Error)) << Narrow(Error);
	EXPECT_TRUE(FModuleManager::Get().IsModuleLoaded(TEXT("VantorelUnrealEditor")));
	EXPECT_EQ(VantorelSections(), 1);
}

TEST_F(HostEditorSessionTest, SelectionGivesTheSelectedAssetsThatExist)
{
	UObject* Asset = FAssetToolsModule::GetModule().Get().CreateAsset(TEXT("Rig"), TEXT("/Game/Sel"), UVNFaceRigDataAsset::StaticClass(), nullptr);
	ASSERT_NE(Asset, nullptr);
	HostEditor::SelectAssets({TEXT("/Game/Sel/Missing"), TEXT("/Game/Sel/Rig")});
	const TArray<UObject*> Selected = UEditorUtilityLibrary::GetSelectedAssets();
	ASSERT_EQ(Selected.Num(), 1);
	EXPECT_EQ(Selected[0], Asset);
}
