// What the tools window keeps for the whole editor run: the values it was opened with and its choices.
#pragma once

#include "CoreMinimal.h"
#include "UObject/WeakObjectPtr.h"

class SWindow;
class USkeletalMesh;

struct FVantorelToolsWindowState
{
	/** The source file and flags of the latest opening of the tools. */
	FString SourceFile;
	bool bIncludeFaceSolver = true;
	bool bIncludeRetargetingOptions = true;

	/** The skeletal mesh the window's mesh pickers show; empty when none is chosen. */
	TWeakObjectPtr<USkeletalMesh> ChosenMesh;

	/** The window that holds the tools tab, registered when the tab is built; empty when it has none. */
	TWeakPtr<SWindow> HostWindow;

	/** The process-wide state; it outlives the tab. */
	static FVantorelToolsWindowState& Get()
	{
		static FVantorelToolsWindowState State;
		return State;
	}
};
