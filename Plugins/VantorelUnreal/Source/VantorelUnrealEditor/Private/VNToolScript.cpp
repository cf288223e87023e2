#include "VNToolScript.h"

#include "Misc/Base64.h"

FString VantorelToolScript::DecodeScript()
{
	TArray<uint8> Bytes;
	if (!FBase64::Decode(FString(ANSI_TO_TCHAR(EmbeddedBase64)), Bytes, EBase64Mode::Standard))
	{
		return FString();
	}
	const FUTF8ToTCHAR Converted(reinterpret_cast<const ANSICHAR*>(Bytes.GetData()), Bytes.Num());
	return FString(Converted.Length(), Converted.Get());
}
