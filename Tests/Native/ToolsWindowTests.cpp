// The tools window without Python: its sections and controls, their enable rules, the state kept
// for the editor run and reset on each opening, the persisted settings on disk and the dialogs.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "CoreGlobals.h"
#include "CoreMinimal.h"
#include "Framework/Docking/TabManager.h"
#include "HAL/FileManager.h"
#include "HAL/PlatformMisc.h"
#include "HostEditorSupport/DesktopDialogs.h"
#include "HostEditorSupport/ExternalLaunches.h"
#include "HostEditorSupport/HostEditorSession.h"
#include "HostEditorSupport/MessageDialogLog.h"
#include "HostEditorSupport/SlateUser.h"
#include "Misc/ConfigCacheIni.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"
#include "Engine/Blueprint.h"
#include "Engine/SkeletalMesh.h"
#include "FileHelpers.h"
#include "Misc/PackageName.h"
#include "UObject/Package.h"
#include "VNFaceSDKImportLibrary.h"
#include "Widgets/Docking/SDockTab.h"
#include "VantorelToolsWindowState.h"
#include "Widgets/SWidget.h"

namespace
{
	std::string Narrow(const FString& Text)
	{
		return std::string(TCHAR_TO_UTF8(*Text));
	}

	FString Wide(const std::filesystem::path& Path)
	{
		return FString(UTF8_TO_TCHAR(Path.generic_string().c_str()));
	}

	const FName ToolsTab(TEXT("VantorelTools"));

	class ToolsWindowTest : public ::testing::Test
	{
	protected:
		void SetUp() override
		{
			ProjectDir = std::filesystem::temp_directory_path() / "vn_tools_window_tests" / ::testing::UnitTest::GetInstance()->current_test_info()->name();
			std::filesystem::remove_all(ProjectDir);
			Start();
		}

		void TearDown() override
		{
			HostEditor::ShutdownEditor();
			std::filesystem::remove_all(ProjectDir);
		}

		void Start()
		{
			FString Error;
			ASSERT_TRUE(HostEditor::StartEditor(Wide(ProjectDir), {TEXT(VN_SOURCE_DIR "/Plugins")}, Error)) << Narrow(Error);
		}

		/** Ends the editor run and starts a new one on the same project, as relaunching the editor does. */
		void Relaunch()
		{
			HostEditor::ShutdownEditor();
			Start();
		}

		static void Open(const FString& SourceFile = FString(), bool bFaceSolver = true, const FString& MeshPath = FString(), const FString& FaceJson = FString())
		{
			UVNFaceSDKImportLibrary::OpenVantorelTools(SourceFile, bFaceSolver, true, MeshPath, FaceJson);
		}

		static TSharedRef<SWidget> Root()
		{
			const TSharedPtr<SWidget> Content = HostEditor::FSlateUser::FindTabContent(ToolsTab);
			check(Content);
			return Content.ToSharedRef();
		}

		static HostEditor::FSlateUserControl Control(const FString& Query)
		{
			HostEditor::FSlateUserControl Found;
			FString Error;
			EXPECT_TRUE(HostEditor::FSlateUser::FindControl(Root(), Query, Found, Error)) << Narrow(Error);
			return Found;
		}

		static void Do(bool bDone, const FString& Error) { EXPECT_TRUE(bDone) << Narrow(Error); }
		static void Expand(const FString& Query)
		{
			FString Error;
			Do(HostEditor::FSlateUser::SetExpanded(Root(), Query, true, Error), Error);
		}
		static void Click(const FString& Query)
		{
			FString Error;
			Do(HostEditor::FSlateUser::Click(Root(), Query, Error), Error);
		}
		static void Pick(const FString& Query, const FString& Item)
		{
			FString Error;
			Do(HostEditor::FSlateUser::Pick(Root(), Query, Item, Error), Error);
		}
		static void Type(const FString& Query, const FString& Text)
		{
			FString Error;
			Do(HostEditor::FSlateUser::Type(Root(), Query, Text, Error), Error);
		}
		static void Tick(const FString& Query, bool bChecked = true)
		{
			FString Error;
			Do(HostEditor::FSlateUser::SetChecked(Root(), Query, bChecked, Error), Error);
		}

		/** A small skeletal mesh with a right leg of the given length (hip to knee to ankle, in cm). */
		static FString MakeMesh(const FString& Path, double Leg)
		{
			FString Error;
			const USkeletalMesh* Mesh = HostEditor::CreateSkeletalMesh(Path, {
				{TEXT("Root_M"), NAME_None, FTransform::Identity},
				{TEXT("Hip_R"), TEXT("Root_M"), FTransform(FVector(0, -10, 100))},
				{TEXT("Knee_R"), TEXT("Hip_R"), FTransform(FVector(0, 0, -Leg / 2))},
				{TEXT("Ankle_R"), TEXT("Knee_R"), FTransform(FVector(0, 0, -Leg / 2))},
			}, 1.0f, Error);
			EXPECT_NE(Mesh, nullptr) << Narrow(Error);
			return Mesh ? Mesh->GetPathName() : FString();
		}

		FString WriteFile(const std::string& Name, const std::string& Text = "{}") const
		{
			const std::filesystem::path File = ProjectDir / "Files" / Name;
			std::filesystem::create_directories(File.parent_path());
			std::ofstream(File) << Text;
			return Wide(File);
		}

		FString SettingsText() const
		{
			FString Text;
			FFileHelper::LoadFileToString(Text, *GEditorPerProjectIni);
			return Text;
		}

		std::filesystem::path ProjectDir;
	};
}

TEST_F(ToolsWindowTest, EverySectionAndControlIsThereInItsOrder)
{
	Open();
	std::string Paths;
	for (const HostEditor::FSlateUserControl& Shown : HostEditor::FSlateUser::ListControls(Root()))
	{
		if (Shown.bInLayout && Shown.Kind != TEXT("Text"))
		{
			Paths += Narrow(Shown.Kind + TEXT(" ") + Shown.GetPath()) + "\n";
		}
	}
	const std::string RigSection = R"(Section {S}
AssetPicker {S}>SkeletalMesh
Section {S}>Game Play
{GAMEPLAY}Section {S}>Control Rig
ComboBox {S}>Control Rig>Create ControlRig for:
TextBox {S}>Control Rig>{BODYROW}
Button {S}>Control Rig>{BODYROW}>Browse
{MANNEQUINROWS}TextBox {S}>Control Rig>Face JSON File
Button {S}>Control Rig>Face JSON File>Browse
{STANDARDROWS}Button {S}>Control Rig>Create Control Rig
)";
	const auto Fill = [&RigSection](const std::string& Section, const std::string& GamePlay, const std::string& BodyRow, const std::string& MannequinRows, const std::string& StandardRows)
	{
		std::string Text = RigSection;
		for (const auto& [Key, Value] : {std::pair<std::string, std::string>{"{GAMEPLAY}", GamePlay}, {"{BODYROW}", BodyRow}, {"{MANNEQUINROWS}", MannequinRows}, {"{STANDARDROWS}", StandardRows}})
		{
			for (size_t At = Text.find(Key); At != std::string::npos; At = Text.find(Key))
			{
				Text.replace(At, Key.size(), Value);
			}
		}
		for (size_t At = Text.find("{S}"); At != std::string::npos; At = Text.find("{S}"))
		{
			Text.replace(At, 3, Section);
		}
		return Text;
	};
	const std::string Expected =
		Fill("Mannequin Exported", "Button Mannequin Exported>Game Play>Set Character\nButton Mannequin Exported>Game Play>Set retarget options\n", "Body Control Rig Template",
			"CheckBox Mannequin Exported>Control Rig>Include Custom Controllers\nTextBox Mannequin Exported>Control Rig>Body JSON File\nButton Mannequin Exported>Control Rig>Body JSON File>Browse\n", "")
		+ Fill("Standard Exported",
			"TextBox Standard Exported>Game Play>FBX Anims folder:\nButton Standard Exported>Game Play>FBX Anims folder:>Browse\n"
			"RadioButton Standard Exported>Game Play>Keep character size - adjust gameplay values\nRadioButton Standard Exported>Game Play>Match mannequin size - scale character\n"
			"RadioButton Standard Exported>Game Play>No size compensation\nButton Standard Exported>Game Play>Create Blueprint Class, Animation Blueprint and BlendSpace\n",
			"Body JSON File", "",
			"CheckBox Standard Exported>Control Rig>Body rig options:>Backwards Solve\nCheckBox Standard Exported>Control Rig>Body rig options:>Driving Systems\nCheckBox Standard Exported>Control Rig>Body rig options:>Twist Solution\n")
		+ "Section Demo\nButton Demo>Check Online for Demo Updates\nComboBox Demo>Online demos\nButton Demo>Download Selected Demo\nButton Demo>Cancel\n"
		  "TextBox Demo>Folder\nButton Demo>Folder>Browse\nComboBox Demo>File\nButton Demo>File>Refresh\nButton Demo>Open Demo File\n"
		  "Section About\nButton About>Check for Update\nButton About>Update\nButton About>Visit What's New\nButton About>See EULA\n";
	EXPECT_EQ(Paths, Expected);

	// The texts the sections show, and the tool tips the Part's choices carry.
	EXPECT_EQ(Narrow(Control(TEXT("Standard Exported>No size compensation")).ToolTip), "Keep both the character size and the original template gameplay values unchanged.");
	EXPECT_EQ(Narrow(Control(TEXT("Include Custom Controllers")).ToolTip), "Adds character-specific controllers described by the Body JSON to the Mannequin Control Rig.");
	EXPECT_EQ(Narrow(Control(TEXT("Backwards Solve")).ToolTip), "Adds the Backwards Solve section so FK and IK controls follow posed bones. Uncheck for a faster build.");
	EXPECT_EQ(Narrow(Control(TEXT("Refresh Demo Files")).Label), "Refresh");
	EXPECT_EQ(Control(TEXT("Standard Exported>Create ControlRig for:")).Options, (TArray<FString>{TEXT("Body"), TEXT("Face"), TEXT("Body+Face")}));
	// There is no developer section outside the developers' own workstation.
	FString Error;
	HostEditor::FSlateUserControl Developer;
	EXPECT_FALSE(HostEditor::FSlateUser::FindControl(Root(), TEXT("Developer"), Developer, Error));
	EXPECT_FALSE(HostEditor::FSlateUser::FindControl(Root(), TEXT("FastTest"), Developer, Error));
}

TEST_F(ToolsWindowTest, AFreshEditorStartsCollapsedWithTheDefaultOptions)
{
	Open();
	const FString Outline = HostEditor::FSlateUser::Outline(Root());
	EXPECT_EQ(Narrow(Outline.Left(Outline.Find(TEXT("[-] About")))), "[+] Mannequin Exported\n[+] Standard Exported\n[+] Demo\n");
	EXPECT_TRUE(Outline.Contains(TEXT("Installed plugin version: ")));
	EXPECT_EQ(Control(TEXT("Backwards Solve")).Value, TEXT("true"));
	EXPECT_EQ(Control(TEXT("Driving Systems")).Value, TEXT("true"));
	EXPECT_EQ(Control(TEXT("Twist Solution")).Value, TEXT("true"));
	EXPECT_EQ(Control(TEXT("Include Custom Controllers")).Value, TEXT("false"));
	EXPECT_EQ(Control(TEXT("Keep character size - adjust gameplay values")).Value, TEXT("true"));
	EXPECT_EQ(Control(TEXT("No size compensation")).Value, TEXT("false"));
	// Nothing is chosen: no rig button, no scale factor, no compensation choice.
	EXPECT_FALSE(Control(TEXT("Mannequin Exported>Create Control Rig")).bEnabled);
	EXPECT_FALSE(Control(TEXT("Standard Exported>Create Control Rig")).bEnabled);
	EXPECT_FALSE(Control(TEXT("Set Character")).bEnabled);
	EXPECT_FALSE(Control(TEXT("Set retarget options")).bEnabled);
	EXPECT_TRUE(HostEditor::FSlateUser::ListControls(Root()).ContainsByPredicate([](const HostEditor::FSlateUserControl& Shown) { return Shown.Label == TEXT("Mannequin scale factor :  unavailable"); }));
	EXPECT_FALSE(Control(TEXT("Keep character size - adjust gameplay values")).bEnabled);
	EXPECT_FALSE(Control(TEXT("Create Blueprint Class, Animation Blueprint and BlendSpace")).bEnabled);
}

TEST_F(ToolsWindowTest, TheOpeningDerivesTheJsonFilesAndTheTemplate)
{
	Open(TEXT("C:/Proj/Hero.fbx"));
	const FVantorelToolsWindowState& State = FVantorelToolsWindowState::Get();
	EXPECT_EQ(Narrow(State.Mannequin.FaceJsonFile), "C:/Proj/Hero_FaceRig.json");
	EXPECT_EQ(Narrow(State.Standard.FaceJsonFile), "C:/Proj/Hero_FaceRig.json");
	EXPECT_EQ(Narrow(State.BodyJsonFile), "C:/Proj/Hero_BodyRig.json");
	EXPECT_TRUE(State.BodyTemplateFile.EndsWith(TEXT("/Templates/TemplateResources/High/Characters/Content/Mannequins/Rigs/CR_Mannequin_Body.uasset")));
	EXPECT_TRUE(FPaths::FileExists(State.BodyTemplateFile)) << Narrow(State.BodyTemplateFile);

	// The face JSON given wins; "_FaceRig" becomes "_BodyRig" in any letter case.
	Open(TEXT("C:/Proj/Hero.fbx"), true, FString(), TEXT("D:/Faces/hero_facerig.json"));
	EXPECT_EQ(Narrow(State.Standard.FaceJsonFile), "D:/Faces/hero_facerig.json");
	EXPECT_EQ(Narrow(State.BodyJsonFile), "D:/Faces/hero_BodyRig.json");
	Open(FString(), true, FString(), TEXT("D:/Faces/Hero.json"));
	EXPECT_EQ(Narrow(State.BodyJsonFile), "D:/Faces/Hero_BodyRig.json");
	Open();
	EXPECT_TRUE(State.Standard.FaceJsonFile.IsEmpty());
	EXPECT_TRUE(State.BodyJsonFile.IsEmpty());
}

TEST_F(ToolsWindowTest, TheCreateControlRigRuleFollowsModeFilesAndFaceSolver)
{
	const FString Mesh = MakeMesh(TEXT("/Game/Rule/SK_Rule"), 85.55921);
	const FString BodyJson = WriteFile("Rule_BodyRig.json");
	Open(FString(), false, Mesh);
	Expand(TEXT("Mannequin Exported"));
	Expand(TEXT("Mannequin Exported>Control Rig"));
	Expand(TEXT("Standard Exported"));
	Expand(TEXT("Standard Exported>Control Rig"));
	EXPECT_EQ(Control(TEXT("Standard Exported>SkeletalMesh")).Value, Mesh);

	// Mannequin, Body: the template exists. Custom controllers need the body JSON too.
	EXPECT_TRUE(Control(TEXT("Mannequin Exported>Create Control Rig")).bEnabled);
	Tick(TEXT("Include Custom Controllers"));
	EXPECT_FALSE(Control(TEXT("Mannequin Exported>Create Control Rig")).bEnabled);
	Type(TEXT("Mannequin Exported>Body JSON File"), BodyJson);
	EXPECT_TRUE(Control(TEXT("Mannequin Exported>Create Control Rig")).bEnabled);
	Type(TEXT("Mannequin Exported>Body JSON File"), BodyJson + TEXT(".missing"));
	EXPECT_FALSE(Control(TEXT("Mannequin Exported>Create Control Rig")).bEnabled);
	Tick(TEXT("Include Custom Controllers"), false);
	EXPECT_TRUE(Control(TEXT("Mannequin Exported>Create Control Rig")).bEnabled);
	// The body JSON row follows the custom controllers box; switching the mode disables rows, hides none.
	EXPECT_FALSE(Control(TEXT("Mannequin Exported>Body JSON File")).bEnabled);
	Pick(TEXT("Mannequin Exported>Create ControlRig for:"), TEXT("Face"));
	EXPECT_FALSE(Control(TEXT("Mannequin Exported>Body Control Rig Template")).bEnabled);
	EXPECT_TRUE(Control(TEXT("Mannequin Exported>Body Control Rig Template")).bVisible);
	EXPECT_TRUE(Control(TEXT("Mannequin Exported>Face JSON File")).bEnabled);

	// Face modes need the face solver: disabled whatever the files.
	Type(TEXT("Mannequin Exported>Face JSON File"), WriteFile("Rule_FaceRig.json"));
	EXPECT_FALSE(Control(TEXT("Mannequin Exported>Create Control Rig")).bEnabled);

	// Standard: the body JSON must exist; a face JSON is only required to be named.
	Open(FString(), true, Mesh);
	Pick(TEXT("Standard Exported>Create ControlRig for:"), TEXT("Body+Face"));
	EXPECT_FALSE(Control(TEXT("Standard Exported>Create Control Rig")).bEnabled);
	Type(TEXT("Standard Exported>Body JSON File"), BodyJson);
	EXPECT_FALSE(Control(TEXT("Standard Exported>Create Control Rig")).bEnabled);
	Type(TEXT("Standard Exported>Face JSON File"), TEXT("/nowhere/Rule_FaceRig.json"));
	EXPECT_TRUE(Control(TEXT("Standard Exported>Create Control Rig")).bEnabled);
	EXPECT_TRUE(Control(TEXT("Standard Exported>Body rig options:>Backwards Solve")).bEnabled);
	Pick(TEXT("Standard Exported>Create ControlRig for:"), TEXT("Face"));
	EXPECT_FALSE(Control(TEXT("Standard Exported>Body rig options:>Backwards Solve")).bEnabled);
	EXPECT_TRUE(Control(TEXT("Standard Exported>Create Control Rig")).bEnabled);
	// Clearing the picker takes the mesh away again.
	Pick(TEXT("Standard Exported>SkeletalMesh"), TEXT("None"));
	EXPECT_FALSE(Control(TEXT("Standard Exported>Create Control Rig")).bEnabled);
	EXPECT_EQ(Control(TEXT("Standard Exported>SkeletalMesh")).Value, TEXT("None"));
	// A user cannot pick what the picker does not list.
	FString Error;
	EXPECT_FALSE(HostEditor::FSlateUser::Pick(Root(), TEXT("Standard Exported>SkeletalMesh"), TEXT("/Game/Rule/SK_Rule_Skeleton"), Error));
	EXPECT_TRUE(Error.Contains(TEXT("SkeletalMesh"))) << Narrow(Error);
	EXPECT_FALSE(HostEditor::FSlateUser::Pick(Root(), TEXT("Standard Exported>Create ControlRig for:"), TEXT("Arms"), Error));
	// Nor use what is disabled.
	EXPECT_FALSE(HostEditor::FSlateUser::Click(Root(), TEXT("Standard Exported>Create Control Rig"), Error));
	EXPECT_TRUE(Error.Contains(TEXT("disabled"))) << Narrow(Error);
}

TEST_F(ToolsWindowTest, TheScaleFactorLineAndTheCompensationChoices)
{
	Open(FString(), true, MakeMesh(TEXT("/Game/Big/SK_Big"), 2.0 * 85.55921));
	Expand(TEXT("Standard Exported"));
	Expand(TEXT("Standard Exported>Game Play"));
	EXPECT_TRUE(HostEditor::FSlateUser::Outline(Root()).Contains(TEXT("Mannequin scale factor :  2.000\n")));
	EXPECT_TRUE(Control(TEXT("Match mannequin size - scale character")).bEnabled);
	Tick(TEXT("Match mannequin size - scale character"));
	EXPECT_EQ(FVantorelToolsWindowState::Get().SizeCompensationMode, 1);
	EXPECT_EQ(Control(TEXT("Match mannequin size - scale character")).Value, TEXT("true"));
	EXPECT_EQ(Control(TEXT("Keep character size - adjust gameplay values")).Value, TEXT("false"));
	// Without the leg bones there is no factor.
	FString Error;
	const USkeletalMesh* Legless = HostEditor::CreateSkeletalMesh(TEXT("/Game/Big/SK_Legless"), {{TEXT("root"), NAME_None, FTransform::Identity}}, 1.0f, Error);
	ASSERT_NE(Legless, nullptr);
	Pick(TEXT("Standard Exported>SkeletalMesh"), Legless->GetPathName());
	EXPECT_TRUE(HostEditor::FSlateUser::Outline(Root()).Contains(TEXT("Mannequin scale factor :  unavailable")));
	EXPECT_FALSE(Control(TEXT("No size compensation")).bEnabled);

	// The gameplay button needs a folder holding an FBX file somewhere below it (any letter case).
	EXPECT_FALSE(Control(TEXT("Create Blueprint Class, Animation Blueprint and BlendSpace")).bEnabled);
	const FString Clip = WriteFile("Anims/Sub/Walk.FBX", "not read here");
	Type(TEXT("FBX Anims folder:"), FPaths::GetPath(FPaths::GetPath(Clip)));
	EXPECT_TRUE(Control(TEXT("Create Blueprint Class, Animation Blueprint and BlendSpace")).bEnabled);
	Type(TEXT("FBX Anims folder:"), FPaths::GetPath(FPaths::GetPath(Clip)) + TEXT("/none"));
	EXPECT_FALSE(Control(TEXT("Create Blueprint Class, Animation Blueprint and BlendSpace")).bEnabled);
}

TEST_F(ToolsWindowTest, TheRunKeepsChoicesAndEachOpeningResetsItsOwn)
{
	const FString Mesh = MakeMesh(TEXT("/Game/Keep/SK_Keep"), 85.55921);
	Open(FString(), true, Mesh);
	Expand(TEXT("Standard Exported"));
	Expand(TEXT("Standard Exported>Game Play"));
	Expand(TEXT("Standard Exported>Control Rig"));
	Type(TEXT("FBX Anims folder:"), TEXT("/Clips"));
	Tick(TEXT("No size compensation"));
	Pick(TEXT("Standard Exported>Create ControlRig for:"), TEXT("Face"));
	Pick(TEXT("Standard Exported>SkeletalMesh"), TEXT("None"));

	// Closing and reopening the tab shows the same choices.
	FGlobalTabmanager::Get()->FindExistingLiveTab(FTabId(ToolsTab))->RequestCloseTab();
	EXPECT_FALSE(HostEditor::FSlateUser::FindTabContent(ToolsTab).IsValid());
	FGlobalTabmanager::Get()->TryInvokeTab(FTabId(ToolsTab));
	EXPECT_EQ(Control(TEXT("FBX Anims folder:")).Value, TEXT("/Clips"));
	EXPECT_EQ(Control(TEXT("Standard Exported>Create ControlRig for:")).Value, TEXT("Face"));
	EXPECT_EQ(Control(TEXT("Standard Exported>SkeletalMesh")).Value, TEXT("None"));

	// Opening the tools again resets the modes and meshes, and keeps the folder and the compensation.
	Open(FString(), true, Mesh);
	EXPECT_EQ(Control(TEXT("Standard Exported>Create ControlRig for:")).Value, TEXT("Body"));
	EXPECT_EQ(Control(TEXT("Standard Exported>SkeletalMesh")).Value, Mesh);
	EXPECT_EQ(Control(TEXT("FBX Anims folder:")).Value, TEXT("/Clips"));
	EXPECT_EQ(Control(TEXT("No size compensation")).Value, TEXT("true"));
	// A new editor run forgets them.
	Relaunch();
	Open();
	EXPECT_EQ(Control(TEXT("FBX Anims folder:")).Value, TEXT(""));
	EXPECT_EQ(Control(TEXT("Keep character size - adjust gameplay values")).Value, TEXT("true"));
}

TEST_F(ToolsWindowTest, OptionsAndSectionsArePersistedOnDiskForTheNextRun)
{
	Open();
	Expand(TEXT("Standard Exported"));
	Expand(TEXT("Standard Exported>Control Rig"));
	Tick(TEXT("Driving Systems"), false);
	// Written and flushed at once: the file on disk already holds the four options in order.
	const FString Text = SettingsText();
	EXPECT_TRUE(GEditorPerProjectIni.StartsWith(FPaths::ProjectSavedDir() + TEXT("Config/"))) << Narrow(GEditorPerProjectIni);
	EXPECT_TRUE(Text.Contains(TEXT("[/Script/VantorelUnrealEditor.VantorelTools]"))) << Narrow(Text);
	EXPECT_TRUE(Text.Contains(TEXT("IncludeBackwardsSolve=True\nIncludeDrivingSystems=False\nIncludeTwistSolution=True\nIncludeCustomControllers=False\n"))) << Narrow(Text);
	EXPECT_TRUE(Text.Contains(TEXT("StandardSectionExpanded=True"))) << Narrow(Text);
	EXPECT_TRUE(Text.Contains(TEXT("StandardControlRigSubsectionExpanded=True"))) << Narrow(Text);

	Relaunch();
	Open();
	EXPECT_EQ(Control(TEXT("Driving Systems")).Value, TEXT("false"));
	EXPECT_EQ(Control(TEXT("Standard Exported")).Value, TEXT("true"));
	EXPECT_EQ(Control(TEXT("Standard Exported>Control Rig")).Value, TEXT("true"));
	EXPECT_EQ(Control(TEXT("Standard Exported>Game Play")).Value, TEXT("false"));
	EXPECT_EQ(Control(TEXT("Mannequin Exported")).Value, TEXT("false"));
	// "About" is always expanded and not persisted.
	EXPECT_EQ(Control(TEXT("About")).Value, TEXT("true"));
	EXPECT_FALSE(SettingsText().Contains(TEXT("About")));
}

TEST_F(ToolsWindowTest, AHandBrokenSettingsFileGivesTheDefaults)
{
	const FString Ini = FPaths::ProjectSavedDir() / TEXT("Config/LinuxEditor/EditorPerProjectUserSettings.ini");
	IFileManager::Get().MakeDirectory(*FPaths::GetPath(Ini), true);
	// Bad values, unknown keys, lines that are not settings, and the options under another section.
	FFileHelper::SaveStringToFile(FString(TEXT(
		"garbage line without equals\n"
		"[/Script/VantorelUnrealEditor.VantorelTools]\n"
		"IncludeBackwardsSolve=banana\n"
		"IncludeTwistSolution=\n"
		"StandardSectionExpanded=maybe\n"
		"UnknownKey=42\n"
		"=no key\n"
		"[Some.Other.Section]\n"
		"IncludeDrivingSystems=False\n"
		"[unterminated\n")), *Ini);
	Relaunch();
	Open();
	EXPECT_EQ(Control(TEXT("Backwards Solve")).Value, TEXT("true"));
	EXPECT_EQ(Control(TEXT("Driving Systems")).Value, TEXT("true"));
	EXPECT_EQ(Control(TEXT("Twist Solution")).Value, TEXT("true"));
	EXPECT_EQ(Control(TEXT("Standard Exported")).Value, TEXT("false"));

	// A file with no section at all, or none at all, gives the defaults as well.
	FFileHelper::SaveStringToFile(FString(TEXT("IncludeTwistSolution=False\n")), *Ini);
	Relaunch();
	Open();
	EXPECT_EQ(Control(TEXT("Twist Solution")).Value, TEXT("true"));
	IFileManager::Get().Delete(*Ini);
	Relaunch();
	Open();
	EXPECT_EQ(Control(TEXT("Include Custom Controllers")).Value, TEXT("false"));
}

TEST_F(ToolsWindowTest, DialogsSetTheirValueOnlyWhenAnswered)
{
	Open(TEXT("/Proj/Hero.fbx"));
	Expand(TEXT("Mannequin Exported"));
	Expand(TEXT("Mannequin Exported>Control Rig"));
	Expand(TEXT("Standard Exported"));
	Expand(TEXT("Standard Exported>Game Play"));
	Expand(TEXT("Standard Exported>Control Rig"));
	FVantorelToolsWindowState& State = FVantorelToolsWindowState::Get();

	HostEditor::QueueDesktopDialogAnswer(TOptional<FString>(TEXT("/Chosen/Other_BodyRig.json")));
	Click(TEXT("Standard Exported>Body JSON File>Browse"));
	EXPECT_EQ(Narrow(State.BodyJsonFile), "/Chosen/Other_BodyRig.json");
	// Cancelled, answered with nothing, or not answered at all: the value stays.
	HostEditor::QueueDesktopDialogAnswer(TOptional<FString>());
	Click(TEXT("Standard Exported>Body JSON File>Browse"));
	HostEditor::QueueDesktopDialogAnswer(TOptional<FString>(FString()));
	Click(TEXT("Standard Exported>Body JSON File>Browse"));
	Click(TEXT("Standard Exported>Body JSON File>Browse"));
	EXPECT_EQ(Narrow(State.BodyJsonFile), "/Chosen/Other_BodyRig.json");

	HostEditor::QueueDesktopDialogAnswer(TOptional<FString>(TEXT("/T/CR_Mannequin_Body.uasset")));
	Click(TEXT("Mannequin Exported>Body Control Rig Template>Browse"));
	// The face row is enabled once the mode holds the face.
	FString Error;
	EXPECT_FALSE(HostEditor::FSlateUser::Click(Root(), TEXT("Mannequin Exported>Face JSON File>Browse"), Error));
	Pick(TEXT("Mannequin Exported>Create ControlRig for:"), TEXT("Body+Face"));
	HostEditor::QueueDesktopDialogAnswer(TOptional<FString>(TEXT("/F/Hero_FaceRig.json")));
	Click(TEXT("Mannequin Exported>Face JSON File>Browse"));
	HostEditor::QueueDesktopDialogAnswer(TOptional<FString>(TEXT("/Anims")));
	Click(TEXT("FBX Anims folder:>Browse"));
	EXPECT_EQ(Narrow(State.BodyTemplateFile), "/T/CR_Mannequin_Body.uasset");
	EXPECT_EQ(Narrow(State.Mannequin.FaceJsonFile), "/F/Hero_FaceRig.json");
	EXPECT_EQ(Narrow(State.Standard.FaceJsonFile), "/Proj/Hero_FaceRig.json");
	EXPECT_EQ(Narrow(State.FbxAnimationsFolder), "/Anims");

	// Each dialog as the user saw it: its title, filter, proposed name and start folder.
	const TArray<HostEditor::FDesktopDialogRecord>& Dialogs = HostEditor::GetDesktopDialogs();
	ASSERT_EQ(Dialogs.Num(), 7);
	EXPECT_EQ(Narrow(Dialogs[0].Title), "Choose Vantorel Body JSON");
	EXPECT_EQ(Narrow(Dialogs[0].FileTypes), "JSON files (*.json)|*.json");
	EXPECT_EQ(Narrow(Dialogs[0].DefaultPath), "/Proj");
	EXPECT_EQ(Narrow(Dialogs[1].DefaultPath), "/Chosen");
	EXPECT_FALSE(Dialogs[3].Answer.IsSet());
	EXPECT_EQ(Narrow(Dialogs[4].Title), "Choose CR_Mannequin_Body.uasset");
	EXPECT_EQ(Narrow(Dialogs[4].FileTypes), "Unreal assets (*.uasset)|*.uasset");
	EXPECT_EQ(Narrow(Dialogs[4].DefaultFile), "CR_Mannequin_Body.uasset");
	EXPECT_EQ(Narrow(Dialogs[5].Title), "Choose Vantorel Face JSON");
	EXPECT_EQ(Narrow(Dialogs[5].DefaultPath), "/Proj");
	EXPECT_EQ(Narrow(Dialogs[6].Kind), "OpenDirectory");
	EXPECT_EQ(Narrow(Dialogs[6].Title), "Choose FBX Animations Folder");
	// No FBX folder yet: it starts in the source file's folder.
	EXPECT_EQ(Narrow(Dialogs[6].DefaultPath), "/Proj");
}

TEST_F(ToolsWindowTest, TheDemoFolderDefaultsBelowSavedAndListsItsProjects)
{
	Open();
	const FString Folder = FVantorelToolsWindowState::Get().DemoFolder;
	const FString LocalAppData = FPlatformMisc::GetEnvironmentVariable(TEXT("LOCALAPPDATA"));
	const FString Base = LocalAppData.IsEmpty() ? FPaths::ProjectSavedDir() : LocalAppData;
	EXPECT_EQ(Narrow(Folder), Narrow(FPaths::ConvertRelativePathToFull(FPaths::Combine(Base, TEXT("Vantorel/VantorelFiles/exampleFilesUnreal")))));
	EXPECT_TRUE(SettingsText().Contains(TEXT("DemoFolder=") + Folder)) << Narrow(SettingsText());
	Expand(TEXT("Demo"));
	EXPECT_EQ(Control(TEXT("Demo>File")).Value, TEXT("No Demo Characters Downloaded"));
	EXPECT_FALSE(Control(TEXT("Open Demo File")).bEnabled);

	const FString Project = WriteFile("Demos/Hero/HeroUnreal.uproject");
	Type(TEXT("Demo>Folder"), FPaths::GetPath(FPaths::GetPath(Project)));
	EXPECT_EQ(Control(TEXT("Demo>File")).Value, TEXT("Hero"));
	EXPECT_TRUE(Control(TEXT("Open Demo File")).bEnabled);
	EXPECT_TRUE(SettingsText().Contains(TEXT("DemoFolder=") + FPaths::GetPath(FPaths::GetPath(Project))));
	// The editor is asked to switch to the project, told where the plug-in is.
	Click(TEXT("Open Demo File"));
	const TArray<HostEditor::FProjectSwitchRecord>& Switches = HostEditor::GetProjectSwitches();
	ASSERT_EQ(Switches.Num(), 1);
	EXPECT_EQ(Narrow(Switches[0].ProjectFile), Narrow(FPaths::ConvertRelativePathToFull(Project)));
	EXPECT_TRUE(Switches[0].CommandLine.StartsWith(TEXT("-plugin=\"/"))) << Narrow(Switches[0].CommandLine);
	EXPECT_TRUE(Switches[0].CommandLine.EndsWith(TEXT("/VantorelUnreal/VantorelUnreal.uplugin\""))) << Narrow(Switches[0].CommandLine);
	EXPECT_TRUE(HostEditor::GetMessageDialogs().IsEmpty());
}

TEST_F(ToolsWindowTest, WithoutPythonTheRigButtonIsHandledAndDoesNothing)
{
	const FString Mesh = MakeMesh(TEXT("/Game/NoPython/SK_NoPython"), 85.55921);
	Open(FString(), true, Mesh);
	Expand(TEXT("Standard Exported"));
	Expand(TEXT("Standard Exported>Control Rig"));
	Type(TEXT("Standard Exported>Body JSON File"), WriteFile("NoPython_BodyRig.json"));
	ASSERT_TRUE(Control(TEXT("Standard Exported>Create Control Rig")).bEnabled);
	Click(TEXT("Standard Exported>Create Control Rig"));
	EXPECT_TRUE(HostEditor::GetMessageDialogs().IsEmpty());
	EXPECT_EQ(Control(TEXT("Standard Exported>Create ControlRig for:")).Value, TEXT("Body"));
}

namespace
{
	/** Saves a Blueprint asset at PackageName, as the editor saves a new one. */
	void SaveBlueprint(const FString& PackageName)
	{
		UPackage* Package = CreatePackage(*PackageName);
		UBlueprint* Blueprint = NewObject<UBlueprint>(Package, FName(*FPackageName::GetLongPackageAssetName(PackageName)), RF_Public | RF_Standalone);
		Blueprint->MarkPackageDirty();
		ASSERT_TRUE(UEditorLoadingAndSavingUtils::SavePackages({Package}, false));
	}
}

TEST_F(ToolsWindowTest, SetCharacterNeedsACharacterBlueprintFoundWhenTheToolsOpened)
{
	const FString Mesh = MakeMesh(TEXT("/Game/Hero/SK_Hero"), 85.55921);
	Open(FString(), true, Mesh);
	EXPECT_TRUE(FVantorelToolsWindowState::Get().CharacterBlueprint.IsNull());
	EXPECT_FALSE(Control(TEXT("Set Character")).bEnabled);

	// A blueprint made after the opening counts only once the tools are opened again.
	SaveBlueprint(TEXT("/Game/TopDown/Blueprints/BP_TopDownCharacter"));
	EXPECT_FALSE(Control(TEXT("Set Character")).bEnabled);
	Open(FString(), true, Mesh);
	EXPECT_EQ(Narrow(FVantorelToolsWindowState::Get().CharacterBlueprint.ToString()), "/Game/TopDown/Blueprints/BP_TopDownCharacter.BP_TopDownCharacter");
	EXPECT_TRUE(Control(TEXT("Set Character")).bEnabled);

	// The third-person character comes first, whatever the order of the folders; assets of another
	// class with its name do not count.
	SaveBlueprint(TEXT("/Game/ThirdPerson/Blueprints/BP_ThirdPersonCharacter"));
	FString Error;
	ASSERT_NE(HostEditor::CreateSkeletalMesh(TEXT("/Game/AAA/BP_FirstPersonCharacter"), {{TEXT("root"), NAME_None, FTransform::Identity}}, 1.0f, Error), nullptr);
	Open(FString(), true, Mesh);
	EXPECT_EQ(Narrow(FVantorelToolsWindowState::Get().CharacterBlueprint.ToString()), "/Game/ThirdPerson/Blueprints/BP_ThirdPersonCharacter.BP_ThirdPersonCharacter");
	// Without a Mannequin mesh the button stays off.
	Open();
	EXPECT_FALSE(Control(TEXT("Set Character")).bEnabled);
}
