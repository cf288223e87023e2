// FCompilerResultsLog: the errors and warnings of one blueprint compile.
#pragma once

#include "CoreMinimal.h"

class UNREALED_API FCompilerResultsLog
{
public:
	int32 NumErrors = 0;
	int32 NumWarnings = 0;
	/** The messages, in the order they were reported. */
	TArray<FString> Messages;

	void Error(const TCHAR* Message);
	void Warning(const TCHAR* Message);
	void Note(const TCHAR* Message);
};
