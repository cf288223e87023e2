// The tool script that the editor module carries inside itself and runs in the editor's Python.
#pragma once

#include "CoreMinimal.h"

namespace VantorelToolScript
{
	/** The script's UTF-8 text in standard Base64 ("+", "/", "=" padding, no line breaks), zero-terminated. */
	extern const ANSICHAR* const EmbeddedBase64;

	/** The script text decoded from EmbeddedBase64; empty when the carriage does not decode. */
	FString DecodeScript();
}
