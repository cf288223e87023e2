// The tools window's persisted settings: one section of the editor's per-project user settings.
#pragma once

#include "CoreMinimal.h"

struct FVantorelToolsWindowState;

namespace VantorelToolsSettings
{
	/** The settings section, as the engine names a class's config section. */
	extern const TCHAR* const Section;

	/**
	 * A persisted bool; Default when the key, the section, the file or the configuration system is
	 * missing, or the stored text is not a bool ("True"/"False", "Yes"/"No", "On"/"Off", "1"/"0", any case).
	 */
	bool ReadBool(const TCHAR* Key, bool Default);
	/** Writes a bool and flushes the settings file at once. */
	void WriteBool(const TCHAR* Key, bool Value);

	/** A persisted text; Default when missing. */
	FString ReadString(const TCHAR* Key, const FString& Default);
	/** Writes a text and flushes the settings file at once. */
	void WriteString(const TCHAR* Key, const FString& Value);

	/** Reads the four build options into the state. */
	void LoadBuildOptions(FVantorelToolsWindowState& State);
	/** Writes the four build options together, in their order, and flushes. */
	void SaveBuildOptions(const FVantorelToolsWindowState& State);
}
