// Materialising and running the tool script in the editor's Python, and the command texts sent to it.
#pragma once

#include "CoreMinimal.h"

namespace VantorelToolScriptHost
{
	/** The name of the script file written into the project's intermediate folder. */
	extern const TCHAR* const ScriptFileName;

	/** Escapes a value for a double-quoted Python string in a command text: backslashes doubled, then double quotes escaped. */
	FString EscapeCommandValue(const FString& Value);

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
