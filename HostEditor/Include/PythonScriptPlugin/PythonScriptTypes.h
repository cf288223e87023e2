// The kinds of Python command the editor's Python can run, and a command with its results.
#pragma once

#include "CoreMinimal.h"

/** How a command text is run. */
enum class EPythonCommandExecutionMode : uint8
{
	/** A file (with optional arguments) or a literal script of any number of statements. */
	ExecuteFile,
	/** One or more statements; expression results are not printed. */
	ExecuteStatement,
	/** One expression, whose value becomes the command's result. */
	EvaluateStatement,
};

/** In which globals a file or script runs. */
enum class EPythonFileExecutionScope : uint8
{
	/** Its own globals, so that what it defines or imports does not leak into the console. */
	Private,
	/** The console's globals. */
	Public,
};

enum class EPythonCommandFlags : uint8
{
	None = 0,
	/** Run without the "Running Python" notification. */
	Unattended = 1 << 0,
};
ENUM_CLASS_FLAGS(EPythonCommandFlags)

enum class EPythonLogOutputType : uint8
{
	Info,
	Warning,
	Error,
};

/** One line the command wrote. */
struct FPythonLogOutputEntry
{
	EPythonLogOutputType Type = EPythonLogOutputType::Info;
	FString Output;
};

/** A command to run, and what running it gave. */
struct FPythonCommandEx
{
	EPythonCommandExecutionMode ExecutionMode = EPythonCommandExecutionMode::ExecuteFile;
	EPythonFileExecutionScope FileExecutionScope = EPythonFileExecutionScope::Private;
	EPythonCommandFlags Flags = EPythonCommandFlags::None;
	FString Command;
	/** The evaluated value, or the error when the command failed. */
	FString CommandResult;
	TArray<FPythonLogOutputEntry> LogOutput;
};
