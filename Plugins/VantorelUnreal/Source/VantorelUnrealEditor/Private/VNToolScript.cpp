#include "VNToolScript.h"

#include "Misc/Base64.h"

FString VantorelToolScript::DecodeStreams(const ANSICHAR* const* const* Streams)
{
	FString Script;
	for (; *Streams; ++Streams)
	{
		FString Encoded;
		for (const ANSICHAR* const* Literal = *Streams; *Literal; ++Literal)
		{
			Encoded += ANSI_TO_TCHAR(*Literal);
		}
		// Each stream is a whole UTF-8 text of its own, so each converts on its own.
		TArray<uint8> Bytes;
		if (!FBase64::Decode(Encoded, Bytes, EBase64Mode::Standard))
		{
			return FString();
		}
		const FUTF8ToTCHAR Converted(reinterpret_cast<const ANSICHAR*>(Bytes.GetData()), Bytes.Num());
		Script += FString(Converted.Length(), Converted.Get());
	}
	return Script;
}

FString VantorelToolScript::DecodeScript()
{
	return DecodeStreams(EmbeddedBase64Streams);
}
