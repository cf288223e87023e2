// What the tools window keeps for the whole editor run: the values the tools were opened with, the
// user's choices in each section, and the options persisted in the per-project user settings.
#pragma once

#include "CoreMinimal.h"
#include "UObject/SoftObjectPath.h"
#include "UObject/WeakObjectPtr.h"

class SWindow;
class USkeletalMesh;

/** One rig section's choices: "Mannequin Exported" or "Standard Exported". */
struct FVantorelRigSectionState
{
	/** The skeletal mesh chosen in the section's picker; empty when none. */
	FSoftObjectPath Mesh;
	/** "Body", "Face" or "Body+Face". */
	FString Mode = TEXT("Body");
	FString FaceJsonFile;
};

struct FVantorelToolsWindowState
{
	/** The source file and flags of the latest opening of the tools. */
	FString SourceFile;
	bool bIncludeFaceSolver = true;
	bool bIncludeRetargetingOptions = true;

	FVantorelRigSectionState Mannequin;
	FVantorelRigSectionState Standard;

	/** The Mannequin section's body Control Rig template file, and the body JSON both sections share. */
	FString BodyTemplateFile;
	FString BodyJsonFile;

	/** The build options, persisted. */
	bool bIncludeCustomControllers = false;
	bool bIncludeBackwardsSolve = true;
	bool bIncludeDrivingSystems = true;
	bool bIncludeTwistSolution = true;

	/** The Standard section's FBX animation folder; kept for the run, never reset or persisted. */
	FString FbxAnimationsFolder;
	/** 0 keeps the character's size and adjusts gameplay values, 1 scales the character, 2 does neither. */
	int32 SizeCompensationMode = 0;

	/** The third-person character blueprint found when the tools were last opened; empty when none. */
	FSoftObjectPath CharacterBlueprint;

	/** The Demo section's folder, read from the settings when the section is first built. */
	FString DemoFolder;
	bool bDemoFolderResolved = false;

	/** The window that holds the tools tab, registered when the tab is built; empty when it has none. */
	TWeakPtr<SWindow> HostWindow;

	/** The process-wide state; it outlives the tab and is forgotten when the editor module shuts down. */
	static FVantorelToolsWindowState& Get()
	{
		static FVantorelToolsWindowState State;
		return State;
	}
};
