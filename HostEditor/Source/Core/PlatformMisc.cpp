#include "HAL/PlatformMisc.h"

#include "Containers/StringConv.h"

#include <cstdlib>

FString FGenericPlatformMisc::GetEnvironmentVariable(const TCHAR* VariableName)
{
	const char* Value = std::getenv(TCHAR_TO_UTF8(VariableName));
	return Value ? FString(UTF8_TO_TCHAR(Value)) : FString();
}
