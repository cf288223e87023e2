// Materialising and running the tool script in the editor's Python, and the command texts sent to it.
#pragma once

#include "CoreMinimal.h"

namespace VantorelToolScriptHost
{
	/** The name of the script file written into the project's intermediate folder. */
	extern const TCHAR* const ScriptFileName;

	/**
	 * Escapes a value for a double-quoted Python string in a command text: backslashes doubled, double
	 * quotes escaped, and line breaks and other control characters written as escapes.
	 */
	FString EscapeCommandValue(const FString& Value);

	/** The values a "Create Control Rig" command hands to the tool script. */
	struct FRigBuildValues
	{
		/** The section's skeletal mesh as an object path; empty when none is chosen. */
		FString MeshPath;
		FString BodyTemplateFile;
		FString BodyJsonFile;
		/** "Mannequin template" or "Generate from JSON". */
		FString BodySource;
		FString FaceJsonFile;
		/** "Body", "Face" or "Body+Face". */
		FString Mode;
		bool bIncludeBackwardsSolve = true;
		bool bIncludeDrivingSystems = true;
		bool bIncludeTwistSolution = true;
		bool bIncludeCustomControllers = false;
	};

	/** The one-line command that sets the build's values in the tool script and runs "Create Control Rig". */
	FString MakeRigBuildCommand(const FRigBuildValues& Values);

	/** The one-line command that sets the target mesh and runs a mesh action builtin ("vn_run_set_retarget_options"). */
	FString MakeMeshActionCommand(const FString& MeshPath, const TCHAR* ActionBuiltin);

	/**
	 * A single-quoted Python string literal that evaluates to Value exactly, whatever it holds:
	 * backslashes, quotes and control characters are escaped, so no value can end the literal.
	 */
	FString ToPythonStringLiteral(const FString& Value);

	/** The bootstrap command: hands over the host values, runs the script file and registers its builtins. */
	FString MakeBootstrapCommand(const FString& SourceFile, bool bIncludeFaceSolver, const FString& FaceJsonFile, const FString& ScriptFile);

	/**
	 * Writes the tool script into the project's intermediate folder and runs it with the bootstrap,
	 * once per editor run: later calls do nothing, also when the first found no Python. A script that
	 * cannot be written is reported as an error and not run.
	 */
	void LoadToolScript(const FString& SourceFile, bool bIncludeFaceSolver, const FString& FaceJsonFile);

	/** Sends a command text to the editor's Python; does nothing when the editor has no Python. */
	void SendCommand(const FString& Command);
}
