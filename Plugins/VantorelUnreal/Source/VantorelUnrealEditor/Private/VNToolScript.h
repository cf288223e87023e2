// The tool script that the editor module carries inside itself and runs in the editor's Python.
#pragma once

#include "CoreMinimal.h"

namespace VantorelToolScript
{
	/**
	 * The script's parts, in the order their texts join into the script, ending in nullptr. Each part is
	 * one stream of its UTF-8 text in standard Base64 ("+", "/", "=" padding): an array of string
	 * literals that join into the stream, ending in nullptr.
	 */
	extern const ANSICHAR* const* const EmbeddedBase64Streams[];

	/** The text of Streams (laid out as EmbeddedBase64Streams): each stream decoded, joined in order; empty when any stream does not decode. */
	FString DecodeStreams(const ANSICHAR* const* const* Streams);

	/** The script text decoded from EmbeddedBase64Streams; empty when the carriage does not decode. */
	FString DecodeScript();
}
