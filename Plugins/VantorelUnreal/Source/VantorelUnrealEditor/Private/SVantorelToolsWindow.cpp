#include "SVantorelToolsWindow.h"

#include "DesktopPlatformModule.h"
#include "Engine/SkeletalMesh.h"
#include "Framework/Application/SlateApplication.h"
#include "HAL/FileManager.h"
#include "HAL/PlatformMisc.h"
#include "HAL/PlatformProcess.h"
#include "IDesktopPlatform.h"
#include "Interfaces/IPluginManager.h"
#include "Misc/MessageDialog.h"
#include "Misc/Paths.h"
#include "PropertyCustomizationHelpers.h"
#include "Styling/AppStyle.h"
#include "Styling/CoreStyle.h"
#include "Templates/Casts.h"
#include "UnrealEdMisc.h"
#include "VNDemoCharacters.h"
#include "VNGameplayAssets.h"
#include "VNMannequinScale.h"
#include "VNPluginUpdater.h"
#include "VNToolScriptHost.h"
#include "VantorelToolsSettings.h"
#include "VantorelToolsWindowState.h"
#include "VantorelUnrealEditorLog.h"
#include "Widgets/Input/SButton.h"
#include "Widgets/Input/SCheckBox.h"
#include "Widgets/Input/SComboBox.h"
#include "Widgets/Input/SEditableTextBox.h"
#include "Widgets/Layout/SExpandableArea.h"
#include "Widgets/Layout/SScrollBox.h"
#include "Widgets/Layout/SSeparator.h"
#include "Widgets/Notifications/SProgressBar.h"
#include "Widgets/SBoxPanel.h"
#include "Widgets/Text/STextBlock.h"

#define LOCTEXT_NAMESPACE "SVantorelToolsWindow"

namespace
{
	const TCHAR* const SetCharacterBuiltin = TEXT("vn_run_set_third_person_character");
	const TCHAR* const SetRetargetOptionsBuiltin = TEXT("vn_run_set_retarget_options");
	const TCHAR* const JsonFileTypes = TEXT("JSON files (*.json)|*.json");

	FSlateFontInfo BoldFont()
	{
		return FCoreStyle::GetDefaultFontStyle(FName(TEXT("Bold")), 10.0f);
	}

	TSharedRef<SWidget> BoldText(const FText& Text)
	{
		return SNew(STextBlock).Text(Text).Font(BoldFont());
	}

	/** A collapsible area whose state is persisted under Key; it starts collapsed unless the key says expanded. */
	TSharedRef<SWidget> PersistedArea(const FText& Title, const TCHAR* Key, const TSharedRef<SWidget>& Body)
	{
		const FString KeyName(Key);
		return SNew(SExpandableArea)
			.AreaTitle(Title)
			.AreaTitleFont(BoldFont())
			.InitiallyCollapsed(!VantorelToolsSettings::ReadBool(Key, false))
			.OnAreaExpansionChanged(FOnBooleanValueChanged::CreateLambda([KeyName](bool bExpanded) { VantorelToolsSettings::WriteBool(*KeyName, bExpanded); }))
			.BodyContent()
			[
				Body
			];
	}

	bool ContainsMode(const FString& Mode, const TCHAR* Part)
	{
		return Mode.Equals(Part, ESearchCase::IgnoreCase) || Mode.Equals(TEXT("Body+Face"), ESearchCase::IgnoreCase);
	}

	bool FileExistsAbsolute(const FString& Path)
	{
		return !Path.IsEmpty() && FPaths::FileExists(FPaths::ConvertRelativePathToFull(Path));
	}

	/** The folder a dialog starts in for a file value: the file's folder, made absolute. */
	FString FolderOf(const FString& File)
	{
		return File.IsEmpty() ? FString() : FPaths::ConvertRelativePathToFull(FPaths::GetPath(File));
	}

	/** How the file drop-down names a demo project: its base name without a trailing "Unreal" (HeroUnreal.uproject is Hero). */
	FString DemoFileLabel(const FString& File)
	{
		FString Name = FPaths::GetBaseFilename(File);
		Name.RemoveFromEnd(TEXT("Unreal"), ESearchCase::IgnoreCase);
		return Name;
	}

	/** The demo folder: the stored one, unless it is the old downloads folder or unset; then the default, stored. */
	FString ResolveDemoFolder()
	{
		const FString Stored = VantorelToolsSettings::ReadString(TEXT("DemoFolder"), FString());
		if (!Stored.IsEmpty())
		{
			FString Normalised = FPaths::ConvertRelativePathToFull(Stored);
			FPaths::NormalizeFilename(Normalised);
			if (!Normalised.EndsWith(TEXT("/VantorelFiles/exampleFiles/downloads"), ESearchCase::IgnoreCase))
			{
				return Stored;
			}
		}
		FString Base = FPlatformMisc::GetEnvironmentVariable(TEXT("LOCALAPPDATA"));
		if (Base.IsEmpty())
		{
			Base = FPaths::ProjectSavedDir();
		}
		const FString Folder = FPaths::ConvertRelativePathToFull(FPaths::Combine(Base, TEXT("Vantorel"), TEXT("VantorelFiles"), TEXT("exampleFilesUnreal")));
		VantorelToolsSettings::WriteString(TEXT("DemoFolder"), Folder);
		return Folder;
	}
}

FVantorelRigSectionState& SVantorelToolsWindow::Section(bool bMannequin)
{
	FVantorelToolsWindowState& State = FVantorelToolsWindowState::Get();
	return bMannequin ? State.Mannequin : State.Standard;
}

void SVantorelToolsWindow::Construct(const FArguments& InArgs)
{
	for (const TCHAR* Mode : {TEXT("Body"), TEXT("Face"), TEXT("Body+Face")})
	{
		ModeOptions.Add(MakeShared<FString>(Mode));
	}
	InstalledVersion = VantorelUpdater::InstalledVersion();

	ChildSlot
	[
		SNew(SScrollBox)
		.Orientation(Orient_Vertical)
		+ SScrollBox::Slot().Padding(4.0f)[MakeRigSection(true)]
		+ SScrollBox::Slot().Padding(4.0f)[MakeRigSection(false)]
		+ SScrollBox::Slot().Padding(4.0f)[MakeDemoSection()]
		+ SScrollBox::Slot().Padding(4.0f)[MakeAboutSection()]
	];
}

TSharedRef<SWidget> SVantorelToolsWindow::MakeRigSection(bool bMannequin)
{
	const TSharedRef<SWidget> Body = SNew(SVerticalBox)
		+ SVerticalBox::Slot()
		.AutoHeight()
		.Padding(0.0f, 2.0f)
		[
			SNew(SHorizontalBox)
			+ SHorizontalBox::Slot().AutoWidth().VAlign(VAlign_Center).Padding(0.0f, 0.0f, 8.0f, 0.0f)
			[
				BoldText(LOCTEXT("SkeletalMeshLabel", "SkeletalMesh"))
			]
			+ SHorizontalBox::Slot().FillWidth(1.0f)
			[
				SNew(SObjectPropertyEntryBox)
				.AllowedClass(USkeletalMesh::StaticClass())
				.ObjectPath(TAttribute<FString>::CreateLambda([bMannequin]() { return Section(bMannequin).Mesh.ToString(); }))
				.OnObjectChanged(FOnSetObject::CreateLambda([bMannequin](const FAssetData& Asset)
				{
					Section(bMannequin).Mesh = Asset.IsValid() ? FSoftObjectPath(Asset.GetObjectPathString()) : FSoftObjectPath();
				}))
				.AllowClear(true)
				.DisplayThumbnail(false)
			]
		]
		+ SVerticalBox::Slot()
		.AutoHeight()
		[
			PersistedArea(LOCTEXT("GamePlaySubsection", "Game Play"),
				bMannequin ? TEXT("MannequinGamePlaySubsectionExpanded") : TEXT("StandardGamePlaySubsectionExpanded"),
				bMannequin ? MakeMannequinGamePlay() : MakeStandardGamePlay())
		]
		+ SVerticalBox::Slot()
		.AutoHeight()
		[
			PersistedArea(LOCTEXT("ControlRigSubsection", "Control Rig"),
				bMannequin ? TEXT("MannequinControlRigSubsectionExpanded") : TEXT("StandardControlRigSubsectionExpanded"),
				MakeControlRigSubsection(bMannequin))
		];

	return PersistedArea(bMannequin ? LOCTEXT("MannequinSection", "Mannequin Exported") : LOCTEXT("StandardSection", "Standard Exported"),
		bMannequin ? TEXT("MannequinSectionExpanded") : TEXT("StandardSectionExpanded"), Body);
}

TSharedRef<SWidget> SVantorelToolsWindow::MakeMannequinGamePlay()
{
	return SNew(SHorizontalBox)
		+ SHorizontalBox::Slot().AutoWidth().Padding(0.0f, 2.0f, 4.0f, 2.0f)
		[
			SNew(SButton)
			.Text(LOCTEXT("SetCharacter", "Set Character"))
			.IsEnabled(TAttribute<bool>::CreateSP(this, &SVantorelToolsWindow::CanSetCharacter))
			.OnClicked(FOnClicked::CreateSP(this, &SVantorelToolsWindow::OnMeshAction, SetCharacterBuiltin))
		]
		+ SHorizontalBox::Slot().AutoWidth().Padding(0.0f, 2.0f)
		[
			SNew(SButton)
			.Text(LOCTEXT("SetRetargetOptions", "Set retarget options"))
			.IsEnabled(TAttribute<bool>::CreateSP(this, &SVantorelToolsWindow::CanSetRetargetOptions))
			.OnClicked(FOnClicked::CreateSP(this, &SVantorelToolsWindow::OnMeshAction, SetRetargetOptionsBuiltin))
		];
}

TSharedRef<SWidget> SVantorelToolsWindow::MakeStandardGamePlay()
{
	const auto Choice = [this](int32 Mode, const FText& Label, const FText& ToolTip) -> TSharedRef<SWidget>
	{
		return SNew(SCheckBox)
			.Style(&FAppStyle::Get().GetWidgetStyle<FCheckBoxStyle>("RadioButton"))
			.ToolTipText(ToolTip)
			.IsEnabled(TAttribute<bool>::CreateSP(this, &SVantorelToolsWindow::IsScaleFactorAvailable))
			.IsChecked(TAttribute<ECheckBoxState>::CreateLambda([Mode]() { return FVantorelToolsWindowState::Get().SizeCompensationMode == Mode ? ECheckBoxState::Checked : ECheckBoxState::Unchecked; }))
			.OnCheckStateChanged(FOnCheckStateChanged::CreateLambda([Mode](ECheckBoxState NewState)
			{
				if (NewState == ECheckBoxState::Checked)
				{
					FVantorelToolsWindowState::Get().SizeCompensationMode = Mode;
				}
			}))
			[
				SNew(STextBlock).Text(Label)
			];
	};

	return SNew(SVerticalBox)
		+ SVerticalBox::Slot()
		.AutoHeight()
		.Padding(0.0f, 2.0f)
		[
			SNew(SHorizontalBox)
			+ SHorizontalBox::Slot().AutoWidth().VAlign(VAlign_Center).Padding(0.0f, 0.0f, 8.0f, 0.0f)
			[
				BoldText(LOCTEXT("FbxAnimsFolder", "FBX Anims folder:"))
			]
			+ SHorizontalBox::Slot().FillWidth(1.0f)
			[
				SNew(SEditableTextBox)
				.Text(TAttribute<FText>::CreateLambda([]() { return FText::FromString(FVantorelToolsWindowState::Get().FbxAnimationsFolder); }))
				.OnTextChanged(FOnTextChanged::CreateLambda([](const FText& Text) { FVantorelToolsWindowState::Get().FbxAnimationsFolder = Text.ToString(); }))
				.OnTextCommitted(FOnTextCommitted::CreateLambda([](const FText& Text, ETextCommit::Type) { FVantorelToolsWindowState::Get().FbxAnimationsFolder = Text.ToString(); }))
			]
			+ SHorizontalBox::Slot().AutoWidth().Padding(4.0f, 0.0f, 0.0f, 0.0f)
			[
				SNew(SButton)
				.Text(LOCTEXT("Browse", "Browse"))
				.OnClicked(FOnClicked::CreateSP(this, &SVantorelToolsWindow::OnBrowseFbxFolder))
			]
		]
		+ SVerticalBox::Slot()
		.AutoHeight()
		.Padding(0.0f, 2.0f)
		[
			SNew(STextBlock).Text(TAttribute<FText>::CreateSP(this, &SVantorelToolsWindow::GetScaleFactorText))
		]
		+ SVerticalBox::Slot()
		.AutoHeight()
		.Padding(0.0f, 2.0f)
		[
			SNew(STextBlock).Text(LOCTEXT("CompensateFor", "Compensate for this size difference:"))
		]
		+ SVerticalBox::Slot()
		.AutoHeight()
		.Padding(8.0f, 1.0f)
		[
			Choice(0, LOCTEXT("KeepSize", "Keep character size - adjust gameplay values"),
				LOCTEXT("KeepSizeTip", "Keep the SkeletalMesh at its authored size and scale capsule, camera, movement and BlendSpace speed values to match."))
		]
		+ SVerticalBox::Slot()
		.AutoHeight()
		.Padding(8.0f, 1.0f)
		[
			Choice(1, LOCTEXT("MatchSize", "Match mannequin size - scale character"),
				LOCTEXT("MatchSizeTip", "Scale the Mesh component by the inverse size difference so the character plays at mannequin size. Keep template gameplay values unchanged."))
		]
		+ SVerticalBox::Slot()
		.AutoHeight()
		.Padding(8.0f, 1.0f)
		[
			Choice(2, LOCTEXT("NoCompensation", "No size compensation"),
				LOCTEXT("NoCompensationTip", "Keep both the character size and the original template gameplay values unchanged."))
		]
		+ SVerticalBox::Slot()
		.AutoHeight()
		.Padding(0.0f, 4.0f)
		[
			SNew(SButton)
			.Text(LOCTEXT("CreateGameplay", "Create Blueprint Class, Animation Blueprint and BlendSpace"))
			.IsEnabled(TAttribute<bool>::CreateSP(this, &SVantorelToolsWindow::CanCreateGameplayAssets))
			.OnClicked(FOnClicked::CreateSP(this, &SVantorelToolsWindow::OnCreateGameplayAssets))
		];
}

TSharedRef<SWidget> SVantorelToolsWindow::MakeControlRigSubsection(bool bMannequin)
{
	FVantorelToolsWindowState& State = FVantorelToolsWindowState::Get();
	const TAttribute<bool> BodyEnabled = TAttribute<bool>::CreateSP(this, &SVantorelToolsWindow::ModeContainsBody, bMannequin);
	const TAttribute<bool> FaceEnabled = TAttribute<bool>::CreateSP(this, &SVantorelToolsWindow::ModeContainsFace, bMannequin);
	// Value points into the process-wide window state, which outlives every tab.
	const auto FileRow = [](const FText& Label, FString* Value, FOnClicked OnBrowse, const TAttribute<bool>& Enabled, EVisibility Visibility = EVisibility::Visible) -> TSharedRef<SWidget>
	{
		return SNew(SHorizontalBox)
			.IsEnabled(Enabled)
			.Visibility(Visibility)
			+ SHorizontalBox::Slot().AutoWidth().VAlign(VAlign_Center).Padding(0.0f, 0.0f, 8.0f, 0.0f)
			[
				BoldText(Label)
			]
			+ SHorizontalBox::Slot().FillWidth(1.0f)
			[
				SNew(SEditableTextBox)
				.Text(TAttribute<FText>::CreateLambda([Value]() { return FText::FromString(*Value); }))
				.OnTextChanged(FOnTextChanged::CreateLambda([Value](const FText& Text) { *Value = Text.ToString(); }))
				.OnTextCommitted(FOnTextCommitted::CreateLambda([Value](const FText& Text, ETextCommit::Type) { *Value = Text.ToString(); }))
			]
			+ SHorizontalBox::Slot().AutoWidth().Padding(4.0f, 0.0f, 0.0f, 0.0f)
			[
				SNew(SButton)
				.Text(LOCTEXT("Browse", "Browse"))
				.OnClicked(OnBrowse)
			];
	};
	const auto OptionBox = [this](const FText& Label, const FText& ToolTip, bool* Option) -> TSharedRef<SWidget>
	{
		return SNew(SCheckBox)
			.ToolTipText(ToolTip)
			.IsChecked(TAttribute<ECheckBoxState>::CreateLambda([Option]() { return *Option ? ECheckBoxState::Checked : ECheckBoxState::Unchecked; }))
			.OnCheckStateChanged(FOnCheckStateChanged::CreateSP(this, &SVantorelToolsWindow::OnOptionChanged, Option))
			[
				SNew(STextBlock).Text(Label)
			];
	};
	const EVisibility MannequinOnly = bMannequin ? EVisibility::Visible : EVisibility::Collapsed;
	const EVisibility StandardOnly = bMannequin ? EVisibility::Collapsed : EVisibility::Visible;

	return SNew(SVerticalBox)
		+ SVerticalBox::Slot()
		.AutoHeight()
		.Padding(0.0f, 2.0f)
		[
			SNew(SHorizontalBox)
			+ SHorizontalBox::Slot().AutoWidth().VAlign(VAlign_Center).Padding(0.0f, 0.0f, 8.0f, 0.0f)
			[
				BoldText(LOCTEXT("CreateControlRigFor", "Create ControlRig for:"))
			]
			+ SHorizontalBox::Slot().AutoWidth()
			[
				SNew(SComboBox<TSharedPtr<FString>>)
				.OptionsSource(&ModeOptions)
				.OnGenerateWidget(SComboBox<TSharedPtr<FString>>::FOnGenerateWidget::CreateLambda([](TSharedPtr<FString> Option) -> TSharedRef<SWidget>
				{
					return SNew(STextBlock).Text(FText::FromString(*Option));
				}))
				.OnSelectionChanged(SComboBox<TSharedPtr<FString>>::FOnSelectionChanged::CreateLambda([bMannequin](TSharedPtr<FString> Option, ESelectInfo::Type)
				{
					if (Option)
					{
						Section(bMannequin).Mode = *Option;
					}
				}))
				[
					SNew(STextBlock).Text(TAttribute<FText>::CreateLambda([bMannequin]() { return FText::FromString(Section(bMannequin).Mode); }))
				]
			]
		]
		+ SVerticalBox::Slot()
		.AutoHeight()
		.Padding(0.0f, 2.0f)
		[
			bMannequin
				? FileRow(LOCTEXT("BodyTemplateLabel", "Body Control Rig Template"), &State.BodyTemplateFile,
					FOnClicked::CreateSP(this, &SVantorelToolsWindow::OnBrowseBodyTemplate), BodyEnabled)
				: FileRow(LOCTEXT("BodyJsonLabel", "Body JSON File"), &State.BodyJsonFile,
					FOnClicked::CreateSP(this, &SVantorelToolsWindow::OnBrowseBodyJson), BodyEnabled)
		]
		+ SVerticalBox::Slot()
		.AutoHeight()
		.Padding(0.0f, 2.0f)
		[
			SNew(SHorizontalBox)
			.Visibility(MannequinOnly)
			.IsEnabled(BodyEnabled)
			+ SHorizontalBox::Slot().AutoWidth()
			[
				OptionBox(LOCTEXT("IncludeCustomControllers", "Include Custom Controllers"),
					LOCTEXT("IncludeCustomControllersTip", "Adds character-specific controllers described by the Body JSON to the Mannequin Control Rig."), &State.bIncludeCustomControllers)
			]
		]
		+ SVerticalBox::Slot()
		.AutoHeight()
		.Padding(0.0f, 2.0f)
		[
			FileRow(LOCTEXT("BodyJsonLabel", "Body JSON File"), &State.BodyJsonFile,
				FOnClicked::CreateSP(this, &SVantorelToolsWindow::OnBrowseBodyJson),
				TAttribute<bool>::CreateLambda([this, bMannequin]() { return ModeContainsBody(bMannequin) && FVantorelToolsWindowState::Get().bIncludeCustomControllers; }),
				MannequinOnly)
		]
		+ SVerticalBox::Slot()
		.AutoHeight()
		.Padding(0.0f, 2.0f)
		[
			FileRow(LOCTEXT("FaceJsonLabel", "Face JSON File"), &Section(bMannequin).FaceJsonFile,
				FOnClicked::CreateSP(this, &SVantorelToolsWindow::OnBrowseFaceJson, bMannequin), FaceEnabled)
		]
		+ SVerticalBox::Slot()
		.AutoHeight()
		.Padding(0.0f, 2.0f)
		[
			SNew(SHorizontalBox)
			.Visibility(StandardOnly)
			.IsEnabled(BodyEnabled)
			+ SHorizontalBox::Slot().AutoWidth().VAlign(VAlign_Center).Padding(0.0f, 0.0f, 8.0f, 0.0f)
			[
				BoldText(LOCTEXT("BodyRigOptions", "Body rig options:"))
			]
			+ SHorizontalBox::Slot().AutoWidth().Padding(0.0f, 0.0f, 8.0f, 0.0f)
			[
				OptionBox(LOCTEXT("BackwardsSolve", "Backwards Solve"),
					LOCTEXT("BackwardsSolveTip", "Adds the Backwards Solve section so FK and IK controls follow posed bones. Uncheck for a faster build."), &State.bIncludeBackwardsSolve)
			]
			+ SHorizontalBox::Slot().AutoWidth().Padding(0.0f, 0.0f, 8.0f, 0.0f)
			[
				OptionBox(LOCTEXT("DrivingSystems", "Driving Systems"),
					LOCTEXT("DrivingSystemsTip", "Builds SDK DrivingSystem channels (twist/roll drivers from Maya attributes)."), &State.bIncludeDrivingSystems)
			]
			+ SHorizontalBox::Slot().AutoWidth()
			[
				OptionBox(LOCTEXT("TwistSolution", "Twist Solution"),
					LOCTEXT("TwistSolutionTip", "Builds the standard twist solution for arm and leg twist chains."), &State.bIncludeTwistSolution)
			]
		]
		+ SVerticalBox::Slot()
		.AutoHeight()
		.Padding(0.0f, 4.0f)
		[
			SNew(SButton)
			.Text(LOCTEXT("CreateControlRig", "Create Control Rig"))
			.IsEnabled(TAttribute<bool>::CreateSP(this, &SVantorelToolsWindow::CanCreateControlRig, bMannequin))
			.OnClicked(FOnClicked::CreateSP(this, &SVantorelToolsWindow::OnCreateControlRig, bMannequin))
		];
}

TSharedRef<SWidget> SVantorelToolsWindow::MakeDemoSection()
{
	FVantorelToolsWindowState& State = FVantorelToolsWindowState::Get();
	if (!State.bDemoFolderResolved)
	{
		State.DemoFolder = ResolveDemoFolder();
		State.bDemoFolderResolved = true;
	}
	RefreshLocalDemoFiles();

	using FStringCombo = SComboBox<TSharedPtr<FString>>;
	const TSharedRef<SWidget> Body = SNew(SVerticalBox)
		+ SVerticalBox::Slot().AutoHeight().Padding(0.0f, 2.0f)
		[
			BoldText(LOCTEXT("OnlineDemos", "Online demos"))
		]
		+ SVerticalBox::Slot().AutoHeight().Padding(0.0f, 2.0f)
		[
			SNew(STextBlock).Text(TAttribute<FText>::CreateLambda([]() { return FText::FromString(VantorelDemos::FDemoDownloads::Get().Status); }))
		]
		+ SVerticalBox::Slot().AutoHeight().Padding(0.0f, 2.0f)
		[
			SNew(SButton)
			.Text(LOCTEXT("CheckOnlineDemos", "Check Online for Demo Updates"))
			.IsEnabled(TAttribute<bool>::CreateLambda([]() { return !VantorelDemos::FDemoDownloads::Get().bBusy; }))
			.OnClicked(FOnClicked::CreateSP(this, &SVantorelToolsWindow::OnCheckOnlineDemos))
		]
		+ SVerticalBox::Slot().AutoHeight().Padding(0.0f, 2.0f)
		[
			SAssignNew(OnlineDemoCombo, FStringCombo)
			.ToolTipText(LOCTEXT("OnlineDemosTip", "Online demos"))
			.OptionsSource(&OnlineDemoItems)
			.OnGenerateWidget(FStringCombo::FOnGenerateWidget::CreateLambda([](TSharedPtr<FString> Item) -> TSharedRef<SWidget>
			{
				// An installed demo that is current shows in grey.
				const bool bCurrent = Item->Contains(TEXT("(Up to date)"));
				return SNew(STextBlock).Text(FText::FromString(*Item)).ColorAndOpacity(bCurrent ? FLinearColor(0.45f, 0.45f, 0.45f, 1.0f) : FLinearColor::White);
			}))
			.OnSelectionChanged(FStringCombo::FOnSelectionChanged::CreateLambda([](TSharedPtr<FString> Item, ESelectInfo::Type)
			{
				if (Item)
				{
					VantorelDemos::FDemoDownloads::Get().SelectedOnlineItem = *Item;
				}
			}))
			[
				SNew(STextBlock).Text(TAttribute<FText>::CreateLambda([this]()
				{
					const FString& Selected = VantorelDemos::FDemoDownloads::Get().SelectedOnlineItem;
					return OnlineDemoItems.IsEmpty() || Selected.IsEmpty() ? LOCTEXT("NoOnlineDemos", "No online demos found") : FText::FromString(Selected);
				}))
			]
		]
		+ SVerticalBox::Slot().AutoHeight().Padding(0.0f, 2.0f)
		[
			SNew(SHorizontalBox)
			+ SHorizontalBox::Slot().AutoWidth().Padding(0.0f, 0.0f, 4.0f, 0.0f)
			[
				SNew(SButton)
				.Text(LOCTEXT("DownloadDemo", "Download Selected Demo"))
				.IsEnabled(TAttribute<bool>::CreateLambda([]() { return VantorelDemos::FDemoDownloads::Get().CanDownload(); }))
				.OnClicked(FOnClicked::CreateSP(this, &SVantorelToolsWindow::OnDownloadDemo))
			]
			+ SHorizontalBox::Slot().AutoWidth()
			[
				SNew(SButton)
				.Text(LOCTEXT("CancelDownload", "Cancel"))
				.IsEnabled(TAttribute<bool>::CreateLambda([]() { return VantorelDemos::FDemoDownloads::Get().bBusy; }))
				.OnClicked(FOnClicked::CreateLambda([]() { VantorelDemos::FDemoDownloads::Get().Cancel(); return FReply::Handled(); }))
			]
		]
		+ SVerticalBox::Slot().AutoHeight().Padding(0.0f, 4.0f)
		[
			SNew(SSeparator)
		]
		+ SVerticalBox::Slot().AutoHeight().Padding(0.0f, 2.0f)
		[
			SNew(SHorizontalBox)
			+ SHorizontalBox::Slot().AutoWidth().VAlign(VAlign_Center).Padding(0.0f, 0.0f, 8.0f, 0.0f)
			[
				BoldText(LOCTEXT("DemoFolderLabel", "Folder"))
			]
			+ SHorizontalBox::Slot().FillWidth(1.0f)
			[
				SNew(SEditableTextBox)
				.Text(TAttribute<FText>::CreateLambda([]() { return FText::FromString(FVantorelToolsWindowState::Get().DemoFolder); }))
				.OnTextChanged(FOnTextChanged::CreateLambda([](const FText& Text) { FVantorelToolsWindowState::Get().DemoFolder = Text.ToString(); }))
				.OnTextCommitted(FOnTextCommitted::CreateLambda([this](const FText& Text, ETextCommit::Type)
				{
					FVantorelToolsWindowState::Get().DemoFolder = Text.ToString();
					VantorelToolsSettings::WriteString(TEXT("DemoFolder"), Text.ToString());
					RefreshLocalDemoFiles();
				}))
			]
			+ SHorizontalBox::Slot().AutoWidth().Padding(4.0f, 0.0f, 0.0f, 0.0f)
			[
				SNew(SButton)
				.Text(LOCTEXT("Browse", "Browse"))
				.OnClicked(FOnClicked::CreateSP(this, &SVantorelToolsWindow::OnBrowseDemoFolder))
			]
		]
		+ SVerticalBox::Slot().AutoHeight().Padding(0.0f, 2.0f)
		[
			SNew(SHorizontalBox)
			+ SHorizontalBox::Slot().AutoWidth().VAlign(VAlign_Center).Padding(0.0f, 0.0f, 8.0f, 0.0f)
			[
				BoldText(LOCTEXT("DemoFileLabel", "File"))
			]
			+ SHorizontalBox::Slot().FillWidth(1.0f)
			[
				SNew(FStringCombo)
				.OptionsSource(&LocalDemoFiles)
				.OnGenerateWidget(FStringCombo::FOnGenerateWidget::CreateLambda([this](TSharedPtr<FString> File) -> TSharedRef<SWidget>
				{
					return SNew(STextBlock).Text(FText::FromString(File->IsEmpty() ? LocalDemoStatus : DemoFileLabel(*File)));
				}))
				.OnSelectionChanged(FStringCombo::FOnSelectionChanged::CreateLambda([this](TSharedPtr<FString> File, ESelectInfo::Type)
				{
					SelectedLocalDemoFile = File ? *File : FString();
				}))
				[
					SNew(STextBlock).Text(TAttribute<FText>::CreateLambda([this]()
					{
						return FText::FromString(SelectedLocalDemoFile.IsEmpty() ? LocalDemoStatus : DemoFileLabel(SelectedLocalDemoFile));
					}))
				]
			]
			+ SHorizontalBox::Slot().AutoWidth().Padding(4.0f, 0.0f, 0.0f, 0.0f)
			[
				SNew(SButton)
				.Text(LOCTEXT("RefreshDemoFiles", "Refresh"))
				.ToolTipText(LOCTEXT("RefreshDemoFilesTip", "Refresh Demo Files"))
				.OnClicked(FOnClicked::CreateLambda([this]() { RefreshLocalDemoFiles(); return FReply::Handled(); }))
			]
		]
		+ SVerticalBox::Slot().AutoHeight().Padding(0.0f, 2.0f)
		[
			SNew(SButton)
			.Text(LOCTEXT("OpenDemoFile", "Open Demo File"))
			.IsEnabled(TAttribute<bool>::CreateSP(this, &SVantorelToolsWindow::CanOpenDemoFile))
			.OnClicked(FOnClicked::CreateSP(this, &SVantorelToolsWindow::OnOpenDemoFile))
		];

	return PersistedArea(LOCTEXT("DemoSection", "Demo"), TEXT("DemoSectionExpanded"), Body);
}

TSharedRef<SWidget> SVantorelToolsWindow::MakeAboutSection()
{
	using VantorelUpdater::FPluginUpdates;
	return SNew(SExpandableArea)
		.AreaTitle(LOCTEXT("AboutSection", "About"))
		.AreaTitleFont(BoldFont())
		.InitiallyCollapsed(false)
		.BodyContent()
		[
			SNew(SVerticalBox)
			+ SVerticalBox::Slot().AutoHeight().Padding(0.0f, 2.0f)
			[
				SNew(STextBlock).Text(FText::FromString(FString(TEXT("Installed plugin version: ")) + InstalledVersion))
			]
			+ SVerticalBox::Slot().AutoHeight().Padding(0.0f, 2.0f)
			[
				SNew(STextBlock).Text(TAttribute<FText>::CreateLambda([]() { return FText::FromString(FPluginUpdates::Get().Status); }))
			]
			+ SVerticalBox::Slot().AutoHeight().Padding(0.0f, 2.0f)
			[
				// Shown only while an update downloads; a marquee until the size is known.
				SNew(SProgressBar)
				.Percent(TAttribute<TOptional<float>>::CreateLambda([]() {
					const FPluginUpdates& Updates = FPluginUpdates::Get();
					return Updates.TotalBytes > 0 ? TOptional<float>(Updates.Progress) : TOptional<float>();
				}))
				.Visibility(TAttribute<EVisibility>::CreateLambda([]() { return FPluginUpdates::Get().bDownloading ? EVisibility::Visible : EVisibility::Collapsed; }))
			]
			+ SVerticalBox::Slot().AutoHeight().Padding(0.0f, 2.0f)
			[
				SNew(SHorizontalBox)
				+ SHorizontalBox::Slot().AutoWidth().Padding(0.0f, 0.0f, 4.0f, 0.0f)
				[
					SNew(SButton)
					.Text(LOCTEXT("CheckForUpdate", "Check for Update"))
					.IsEnabled(TAttribute<bool>::CreateLambda([]() { return FPluginUpdates::Get().CanCheck(); }))
					.OnClicked(FOnClicked::CreateLambda([]() { FPluginUpdates::Get().Check(); return FReply::Handled(); }))
				]
				+ SHorizontalBox::Slot().AutoWidth()
				[
					SNew(SButton)
					.Text(LOCTEXT("Update", "Update"))
					.IsEnabled(TAttribute<bool>::CreateLambda([]() { return FPluginUpdates::Get().CanUpdate(); }))
					.OnClicked(FOnClicked::CreateLambda([]() { FPluginUpdates::Get().Download(); return FReply::Handled(); }))
				]
			]
			+ SVerticalBox::Slot().AutoHeight().Padding(0.0f, 2.0f)
			[
				SNew(SHorizontalBox)
				+ SHorizontalBox::Slot().AutoWidth().Padding(0.0f, 0.0f, 4.0f, 0.0f)
				[
					SNew(SButton)
					.Text(LOCTEXT("WhatsNew", "Visit What's New"))
					.OnClicked(FOnClicked::CreateStatic(&SVantorelToolsWindow::OnOpenServerPage, TEXT("newsUnreal.html")))
				]
				+ SHorizontalBox::Slot().AutoWidth()
				[
					SNew(SButton)
					.Text(LOCTEXT("SeeEula", "See EULA"))
					.OnClicked(FOnClicked::CreateStatic(&SVantorelToolsWindow::OnOpenServerPage, TEXT("EULA.html")))
				]
			]
		];
}

bool SVantorelToolsWindow::IsMeshChosen(bool bMannequin) const
{
	const FSoftObjectPath& Mesh = Section(bMannequin).Mesh;
	return !Mesh.GetLongPackageName().IsEmpty() && !Mesh.GetAssetName().IsEmpty();
}

bool SVantorelToolsWindow::ModeContainsBody(bool bMannequin) const
{
	return ContainsMode(Section(bMannequin).Mode, TEXT("Body"));
}

bool SVantorelToolsWindow::ModeContainsFace(bool bMannequin) const
{
	return ContainsMode(Section(bMannequin).Mode, TEXT("Face"));
}

bool SVantorelToolsWindow::CanCreateControlRig(bool bMannequin) const
{
	const FVantorelToolsWindowState& State = FVantorelToolsWindowState::Get();
	if (!IsMeshChosen(bMannequin))
	{
		return false;
	}
	if (ModeContainsBody(bMannequin))
	{
		if (bMannequin)
		{
			if (!FileExistsAbsolute(State.BodyTemplateFile) || (State.bIncludeCustomControllers && !FileExistsAbsolute(State.BodyJsonFile)))
			{
				return false;
			}
		}
		else if (!FileExistsAbsolute(State.BodyJsonFile))
		{
			return false;
		}
	}
	if (ModeContainsFace(bMannequin) && (!State.bIncludeFaceSolver || Section(bMannequin).FaceJsonFile.IsEmpty()))
	{
		return false;
	}
	return true;
}

bool SVantorelToolsWindow::CanSetCharacter() const
{
	return IsMeshChosen(true) && FVantorelToolsWindowState::Get().CharacterBlueprint.IsValid();
}

bool SVantorelToolsWindow::CanSetRetargetOptions() const
{
	return FVantorelToolsWindowState::Get().bIncludeRetargetingOptions && IsMeshChosen(true);
}

bool SVantorelToolsWindow::IsFbxFolderValid() const
{
	const FString& Folder = FVantorelToolsWindowState::Get().FbxAnimationsFolder;
	if (Folder.IsEmpty() || !FPaths::DirectoryExists(Folder))
	{
		return false;
	}
	TArray<FString> Files;
	IFileManager::Get().FindFilesRecursive(Files, *Folder, TEXT("*"), true, false);
	for (const FString& File : Files)
	{
		if (FPaths::GetExtension(File).Equals(TEXT("fbx"), ESearchCase::IgnoreCase))
		{
			return true;
		}
	}
	return false;
}

bool SVantorelToolsWindow::CanCreateGameplayAssets() const
{
	return IsMeshChosen(false) && IsFbxFolderValid();
}

VantorelMannequinScale::FMeasurement SVantorelToolsWindow::MeasureStandardMesh()
{
	return VantorelMannequinScale::Measure(Cast<USkeletalMesh>(Section(false).Mesh.TryLoad()));
}

bool SVantorelToolsWindow::IsScaleFactorAvailable() const
{
	return MeasureStandardMesh().bSuccess;
}

FText SVantorelToolsWindow::GetScaleFactorText() const
{
	return FText::FromString(VantorelMannequinScale::FactorText(MeasureStandardMesh()));
}

FReply SVantorelToolsWindow::OnCreateControlRig(bool bMannequin)
{
	const FVantorelToolsWindowState& State = FVantorelToolsWindowState::Get();
	VantorelToolScriptHost::FRigBuildValues Values;
	Values.MeshPath = IsMeshChosen(bMannequin) ? Section(bMannequin).Mesh.ToString() : FString();
	Values.BodyTemplateFile = State.BodyTemplateFile;
	Values.BodyJsonFile = State.BodyJsonFile;
	Values.BodySource = bMannequin ? TEXT("Mannequin template") : TEXT("Generate from JSON");
	Values.FaceJsonFile = Section(bMannequin).FaceJsonFile;
	Values.Mode = Section(bMannequin).Mode;
	Values.bIncludeBackwardsSolve = State.bIncludeBackwardsSolve;
	Values.bIncludeDrivingSystems = State.bIncludeDrivingSystems;
	Values.bIncludeTwistSolution = State.bIncludeTwistSolution;
	Values.bIncludeCustomControllers = bMannequin && State.bIncludeCustomControllers;
	VantorelToolScriptHost::SendCommand(VantorelToolScriptHost::MakeRigBuildCommand(Values));
	return FReply::Handled();
}

FReply SVantorelToolsWindow::OnMeshAction(const TCHAR* ActionBuiltin)
{
	const FString MeshPath = IsMeshChosen(true) ? Section(true).Mesh.ToString() : FString();
	VantorelToolScriptHost::SendCommand(VantorelToolScriptHost::MakeMeshActionCommand(MeshPath, ActionBuiltin));
	return FReply::Handled();
}

const void* SVantorelToolsWindow::DialogParentWindow()
{
	return FSlateApplication::IsInitialized() ? FSlateApplication::Get().FindBestParentWindowHandleForDialogs(AsShared()) : nullptr;
}

void SVantorelToolsWindow::BrowseFileInto(FString& Value, const FString& Title, const FString& ProposedName, const FString& FileTypes)
{
	// The dialog starts in the current file's folder; a cancelled dialog, or one that returns no file, changes nothing.
	IDesktopPlatform* DesktopPlatform = FDesktopPlatformModule::Get();
	TArray<FString> Chosen;
	if (DesktopPlatform && DesktopPlatform->OpenFileDialog(DialogParentWindow(), Title, FolderOf(Value), ProposedName, FileTypes, EFileDialogFlags::None, Chosen) && !Chosen.IsEmpty() && !Chosen[0].IsEmpty())
	{
		Value = Chosen[0];
	}
}

bool SVantorelToolsWindow::BrowseFolderInto(FString& Value, const FString& Title, const FString& StartFolder)
{
	// A cancelled dialog, or one that returns no folder, changes nothing.
	IDesktopPlatform* DesktopPlatform = FDesktopPlatformModule::Get();
	FString Folder;
	if (!DesktopPlatform || !DesktopPlatform->OpenDirectoryDialog(DialogParentWindow(), Title, StartFolder, Folder) || Folder.IsEmpty())
	{
		return false;
	}
	Value = Folder;
	return true;
}

FReply SVantorelToolsWindow::OnBrowseFbxFolder()
{
	FVantorelToolsWindowState& State = FVantorelToolsWindowState::Get();
	const FString Start = IsFbxFolderValid() ? State.FbxAnimationsFolder : FolderOf(State.SourceFile);
	BrowseFolderInto(State.FbxAnimationsFolder, TEXT("Choose FBX Animations Folder"), Start);
	return FReply::Handled();
}

FReply SVantorelToolsWindow::OnBrowseBodyTemplate()
{
	BrowseFileInto(FVantorelToolsWindowState::Get().BodyTemplateFile, TEXT("Choose CR_Mannequin_Body.uasset"), TEXT("CR_Mannequin_Body.uasset"), TEXT("Unreal assets (*.uasset)|*.uasset"));
	return FReply::Handled();
}

FReply SVantorelToolsWindow::OnBrowseBodyJson()
{
	BrowseFileInto(FVantorelToolsWindowState::Get().BodyJsonFile, TEXT("Choose Vantorel Body JSON"), FString(), JsonFileTypes);
	return FReply::Handled();
}

FReply SVantorelToolsWindow::OnBrowseFaceJson(bool bMannequin)
{
	BrowseFileInto(Section(bMannequin).FaceJsonFile, TEXT("Choose Vantorel Face JSON"), FString(), JsonFileTypes);
	return FReply::Handled();
}

FReply SVantorelToolsWindow::OnCreateGameplayAssets()
{
	const FVantorelToolsWindowState& State = FVantorelToolsWindowState::Get();
	// Anything the picker holds that is not a skeletal mesh counts as none.
	USkeletalMesh* Mesh = Cast<USkeletalMesh>(Section(false).Mesh.TryLoad());
	const VantorelGameplayAssets::FCreationResult Result = VantorelGameplayAssets::CreateStandardGameplayAssets(Mesh, State.FbxAnimationsFolder, State.SizeCompensationMode, true);
	if (Result.bSuccess)
	{
		UE_LOG(LogVantorelUnrealEditor, Display, TEXT("Vantorel Standard Game Play: %s"), *Result.Message);
	}
	else
	{
		UE_LOG(LogVantorelUnrealEditor, Error, TEXT("Vantorel Standard Game Play failed: %s"), *Result.Message);
	}
	FMessageDialog::Open(EAppMsgType::Ok, FText::FromString(Result.Message),
		Result.bSuccess ? LOCTEXT("GameplayCreated", "Vantorel") : LOCTEXT("GameplayFailed", "Vantorel - Creation Failed"));
	return FReply::Handled();
}

void SVantorelToolsWindow::OnOptionChanged(ECheckBoxState NewState, bool* Option)
{
	*Option = NewState == ECheckBoxState::Checked;
	VantorelToolsSettings::SaveBuildOptions(FVantorelToolsWindowState::Get());
}

void SVantorelToolsWindow::RefreshLocalDemoFiles()
{
	LocalDemoFiles.Reset();
	LocalDemoStatus.Reset();
	const FString& Folder = FVantorelToolsWindowState::Get().DemoFolder;
	TArray<FString> Found;
	if (Folder.IsEmpty())
	{
		LocalDemoStatus = TEXT("No demo folder found");
	}
	else if (!FPaths::DirectoryExists(Folder))
	{
		LocalDemoStatus = TEXT("No Demo Characters Downloaded");
	}
	else
	{
		IFileManager::Get().FindFilesRecursive(Found, *Folder, TEXT("*.uproject"), true, false);
		Found.Sort([](const FString& A, const FString& B) { return A.Compare(B, ESearchCase::IgnoreCase) < 0; });
		if (Found.IsEmpty())
		{
			LocalDemoStatus = TEXT("No Unreal demo files found");
		}
	}
	if (Found.IsEmpty())
	{
		LocalDemoFiles.Add(MakeShared<FString>());
	}
	for (const FString& File : Found)
	{
		LocalDemoFiles.Add(MakeShared<FString>(File));
	}
	SelectedLocalDemoFile = *LocalDemoFiles[0];
}

FReply SVantorelToolsWindow::OnBrowseDemoFolder()
{
	FVantorelToolsWindowState& State = FVantorelToolsWindowState::Get();
	const FString Start = FPaths::DirectoryExists(State.DemoFolder) ? State.DemoFolder : FString();
	if (BrowseFolderInto(State.DemoFolder, TEXT("Choose Demo Folder"), Start))
	{
		VantorelToolsSettings::WriteString(TEXT("DemoFolder"), State.DemoFolder);
		RefreshLocalDemoFiles();
	}
	return FReply::Handled();
}

bool SVantorelToolsWindow::CanOpenDemoFile() const
{
	return FPaths::FileExists(SelectedLocalDemoFile) && FPaths::GetExtension(SelectedLocalDemoFile).Equals(TEXT("uproject"), ESearchCase::IgnoreCase);
}

void SVantorelToolsWindow::SyncOnlineDemoItems()
{
	OnlineDemoItems.Reset();
	for (const FString& Item : VantorelDemos::FDemoDownloads::Get().OnlineItems)
	{
		OnlineDemoItems.Add(MakeShared<FString>(Item));
	}
	if (OnlineDemoCombo)
	{
		OnlineDemoCombo->RefreshOptions();
	}
}

FReply SVantorelToolsWindow::OnCheckOnlineDemos()
{
	VantorelDemos::FDemoDownloads::Get().CheckOnline(FVantorelToolsWindowState::Get().DemoFolder,
		FSimpleDelegate::CreateSP(this, &SVantorelToolsWindow::SyncOnlineDemoItems));
	return FReply::Handled();
}

void SVantorelToolsWindow::OnDemoInstalled()
{
	RefreshLocalDemoFiles();
	SyncOnlineDemoItems();
}

FReply SVantorelToolsWindow::OnDownloadDemo()
{
	VantorelDemos::FDemoDownloads::Get().DownloadSelected(FVantorelToolsWindowState::Get().DemoFolder,
		FSimpleDelegate::CreateSP(this, &SVantorelToolsWindow::OnDemoInstalled));
	return FReply::Handled();
}

FReply SVantorelToolsWindow::OnOpenDemoFile()
{
	const FText Title = FText::FromString(TEXT("Vantorel"));
	if (SelectedLocalDemoFile.IsEmpty())
	{
		FMessageDialog::Open(EAppMsgType::Ok, FText::FromString(TEXT("Choose an Unreal demo file first")), Title);
		return FReply::Handled();
	}
	if (!CanOpenDemoFile())
	{
		FMessageDialog::Open(EAppMsgType::Ok, FText::FromString(TEXT("Selected demo file no longer exists")), Title);
		return FReply::Handled();
	}
	const TSharedPtr<IPlugin> Plugin = IPluginManager::Get().FindPlugin(VantorelUpdater::PluginName);
	const FString Descriptor = Plugin ? FPaths::ConvertRelativePathToFull(Plugin->GetDescriptorFileName()) : FString();
	if (Descriptor.IsEmpty() || !FPaths::FileExists(Descriptor))
	{
		FMessageDialog::Open(EAppMsgType::Ok,
			FText::FromString(TEXT("The loaded VantorelUnreal plugin could not be located. Reinstall the plugin, then try opening the demo again.")), Title);
		return FReply::Handled();
	}
	// The demo project does not hold the plug-in; the restarted editor is told where it is.
	FUnrealEdMisc::Get().SwitchProject(SelectedLocalDemoFile, true, FString::Printf(TEXT("-plugin=\"%s\""), *Descriptor));
	return FReply::Handled();
}

FReply SVantorelToolsWindow::OnOpenServerPage(const TCHAR* Page)
{
	FString Error;
	FPlatformProcess::LaunchURL(*VantorelUpdater::PageUrl(Page), nullptr, &Error);
	if (!Error.IsEmpty())
	{
		UE_LOG(LogVantorelUnrealEditor, Warning, TEXT("Vantorel: could not open %s: %s"), Page, *Error);
	}
	return FReply::Handled();
}

#undef LOCTEXT_NAMESPACE
