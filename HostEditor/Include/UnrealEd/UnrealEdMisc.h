// FUnrealEdMisc: the editor's miscellaneous singleton; here, switching to another project.
#pragma once

#include "CoreMinimal.h"
#include "Misc/Optional.h"

class UNREALED_API FUnrealEdMisc
{
public:
	/** The editor's instance. */
	static FUnrealEdMisc& Get();

	/**
	 * Opens the project file: the editor closes and starts again on it, with NewCommandLine added to
	 * its command line when set. bWarn asks to save changed assets first. The headless editor does
	 * not restart: it logs and records the command it would restart with.
	 */
	void SwitchProject(const FString& GameOrProjectFileName, bool bWarn = true, const TOptional<FString>& NewCommandLine = TOptional<FString>());

	/** The project the editor will open when it restarts (empty when no switch is pending). */
	const FString& GetPendingProjectName() const { return PendingProjectName; }

private:
	FUnrealEdMisc() = default;

	FString PendingProjectName;
};
