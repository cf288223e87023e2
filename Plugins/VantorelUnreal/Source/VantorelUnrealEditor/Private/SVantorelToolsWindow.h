// The Vantorel tools window: the two rig sections, "Demo" and "About" in one vertical scroll box.
// Rig buttons hand one-line commands to the tool script; every value the window shows is read from
// the process-wide window state whenever the user interface asks.
#pragma once

#include "CoreMinimal.h"
#include "Input/Reply.h"
#include "Styling/SlateTypes.h"
#include "VNMannequinScale.h"
#include "Widgets/DeclarativeSyntaxSupport.h"
#include "Widgets/Input/SComboBox.h"
#include "Widgets/SCompoundWidget.h"

struct FVantorelRigSectionState;

class SVantorelToolsWindow : public SCompoundWidget
{
public:
	SLATE_BEGIN_ARGS(SVantorelToolsWindow) {}
	SLATE_END_ARGS()

	void Construct(const FArguments& InArgs);

private:
	/** One rig section; Mannequin and Standard differ only where the flag says. */
	TSharedRef<SWidget> MakeRigSection(bool bMannequin);
	TSharedRef<SWidget> MakeMannequinGamePlay();
	TSharedRef<SWidget> MakeStandardGamePlay();
	TSharedRef<SWidget> MakeControlRigSubsection(bool bMannequin);
	TSharedRef<SWidget> MakeDemoSection();
	TSharedRef<SWidget> MakeAboutSection();

	static FVantorelRigSectionState& Section(bool bMannequin);

	// Enable rules, read each frame.
	bool IsMeshChosen(bool bMannequin) const;
	bool ModeContainsBody(bool bMannequin) const;
	bool ModeContainsFace(bool bMannequin) const;
	bool CanCreateControlRig(bool bMannequin) const;
	bool CanSetCharacter() const;
	bool CanSetRetargetOptions() const;
	bool IsFbxFolderValid() const;
	bool CanCreateGameplayAssets() const;
	/** The mannequin scale factor of the Standard mesh; it loads the mesh, so only the scale text and choices use it. */
	static VantorelMannequinScale::FMeasurement MeasureStandardMesh();
	bool IsScaleFactorAvailable() const;
	FText GetScaleFactorText() const;

	// Actions.
	FReply OnCreateControlRig(bool bMannequin);
	FReply OnMeshAction(const TCHAR* ActionBuiltin);
	FReply OnBrowseFbxFolder();
	FReply OnBrowseBodyTemplate();
	FReply OnBrowseBodyJson();
	FReply OnBrowseFaceJson(bool bMannequin);
	FReply OnCreateGameplayAssets();
	void OnOptionChanged(ECheckBoxState NewState, bool* Option);

	// The Demo section's local part.
	void RefreshLocalDemoFiles();
	/** The online drop-down's rows from the demo downloads' items. */
	void SyncOnlineDemoItems();
	FReply OnCheckOnlineDemos();
	FReply OnDownloadDemo();
	void OnDemoInstalled();
	FReply OnBrowseDemoFolder();
	FReply OnOpenDemoFile();
	/** Opens a page of the download server in the system's browser. */
	static FReply OnOpenServerPage(const TCHAR* Page);
	bool CanOpenDemoFile() const;

	/** The parent window for dialogs: the native window that holds the tab, when there is one. */
	const void* DialogParentWindow();
	/** Opens a folder dialog and puts the chosen folder into Value; false when nothing was chosen. */
	bool BrowseFolderInto(FString& Value, const FString& Title, const FString& StartFolder);
	/** Opens a file dialog starting in Value's folder and puts the first chosen file into Value. */
	void BrowseFileInto(FString& Value, const FString& Title, const FString& ProposedName, const FString& FileTypes);

	TArray<TSharedPtr<FString>> ModeOptions;
	TArray<TSharedPtr<FString>> OnlineDemoItems;
	TSharedPtr<SComboBox<TSharedPtr<FString>>> OnlineDemoCombo;
	TArray<TSharedPtr<FString>> LocalDemoFiles;
	FString SelectedLocalDemoFile;
	FString LocalDemoStatus;
	FString InstalledVersion;
};
