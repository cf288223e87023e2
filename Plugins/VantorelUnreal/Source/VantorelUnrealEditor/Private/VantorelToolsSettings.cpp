#include "VantorelToolsSettings.h"

#include "CoreGlobals.h"
#include "Misc/ConfigCacheIni.h"
#include "VantorelToolsWindowState.h"
#include "VantorelUnrealEditorLog.h"

const TCHAR* const VantorelToolsSettings::Section = TEXT("/Script/VantorelUnrealEditor.VantorelTools");

namespace
{
	const TCHAR* const IncludeBackwardsSolveKey = TEXT("IncludeBackwardsSolve");
	const TCHAR* const IncludeDrivingSystemsKey = TEXT("IncludeDrivingSystems");
	const TCHAR* const IncludeTwistSolutionKey = TEXT("IncludeTwistSolution");
	const TCHAR* const IncludeCustomControllersKey = TEXT("IncludeCustomControllers");

	/** The bool a stored text spells; unset for anything else, so a hand-edited value cannot flip an option. */
	TOptional<bool> ParseBool(const FString& Text)
	{
		const FString Trimmed = Text.TrimStartAndEnd();
		for (const TCHAR* True : {TEXT("True"), TEXT("Yes"), TEXT("On"), TEXT("1")})
		{
			if (Trimmed.Equals(True, ESearchCase::IgnoreCase))
			{
				return true;
			}
		}
		for (const TCHAR* False : {TEXT("False"), TEXT("No"), TEXT("Off"), TEXT("0")})
		{
			if (Trimmed.Equals(False, ESearchCase::IgnoreCase))
			{
				return false;
			}
		}
		return TOptional<bool>();
	}
}

bool VantorelToolsSettings::ReadBool(const TCHAR* Key, bool Default)
{
	FString Text;
	if (!GConfig || !GConfig->GetString(Section, Key, Text, GEditorPerProjectIni))
	{
		return Default;
	}
	const TOptional<bool> Value = ParseBool(Text);
	if (!Value.IsSet())
	{
		UE_LOG(LogVantorelUnrealEditor, Warning, TEXT("Vantorel: setting %s='%s' is not True or False; using %s"), Key, *Text, Default ? TEXT("True") : TEXT("False"));
		return Default;
	}
	return Value.GetValue();
}

void VantorelToolsSettings::WriteBool(const TCHAR* Key, bool Value)
{
	if (GConfig)
	{
		GConfig->SetBool(Section, Key, Value, GEditorPerProjectIni);
		GConfig->Flush(false, GEditorPerProjectIni);
	}
}

FString VantorelToolsSettings::ReadString(const TCHAR* Key, const FString& Default)
{
	FString Text;
	return GConfig && GConfig->GetString(Section, Key, Text, GEditorPerProjectIni) ? Text : Default;
}

void VantorelToolsSettings::WriteString(const TCHAR* Key, const FString& Value)
{
	if (GConfig)
	{
		GConfig->SetString(Section, Key, *Value, GEditorPerProjectIni);
		GConfig->Flush(false, GEditorPerProjectIni);
	}
}

void VantorelToolsSettings::LoadBuildOptions(FVantorelToolsWindowState& State)
{
	State.bIncludeBackwardsSolve = ReadBool(IncludeBackwardsSolveKey, true);
	State.bIncludeDrivingSystems = ReadBool(IncludeDrivingSystemsKey, true);
	State.bIncludeTwistSolution = ReadBool(IncludeTwistSolutionKey, true);
	State.bIncludeCustomControllers = ReadBool(IncludeCustomControllersKey, false);
}

void VantorelToolsSettings::SaveBuildOptions(const FVantorelToolsWindowState& State)
{
	if (!GConfig)
	{
		return;
	}
	GConfig->SetBool(Section, IncludeBackwardsSolveKey, State.bIncludeBackwardsSolve, GEditorPerProjectIni);
	GConfig->SetBool(Section, IncludeDrivingSystemsKey, State.bIncludeDrivingSystems, GEditorPerProjectIni);
	GConfig->SetBool(Section, IncludeTwistSolutionKey, State.bIncludeTwistSolution, GEditorPerProjectIni);
	GConfig->SetBool(Section, IncludeCustomControllersKey, State.bIncludeCustomControllers, GEditorPerProjectIni);
	GConfig->Flush(false, GEditorPerProjectIni);
}
