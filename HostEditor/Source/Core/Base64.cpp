#include "Misc/Base64.h"

namespace
{
	const char* Alphabet(EBase64Mode Mode)
	{
		return Mode == EBase64Mode::UrlSafe ? "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_"
											: "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
	}

	/** Returns the 6-bit value of a Base64 character, or -1. */
	int32 DecodeChar(TCHAR Char, EBase64Mode Mode)
	{
		if (Char >= 'A' && Char <= 'Z') { return Char - 'A'; }
		if (Char >= 'a' && Char <= 'z') { return Char - 'a' + 26; }
		if (Char >= '0' && Char <= '9') { return Char - '0' + 52; }
		if (Mode == EBase64Mode::UrlSafe) { return Char == '-' ? 62 : (Char == '_' ? 63 : -1); }
		return Char == '+' ? 62 : (Char == '/' ? 63 : -1);
	}
}

FString FBase64::Encode(const FString& Source, EBase64Mode Mode)
{
	TArray<uint8> Bytes;
	Bytes.Reserve(Source.Len());
	for (const TCHAR Char : Source)
	{
		Bytes.Add((uint8)Char);
	}
	return Encode(Bytes, Mode);
}

FString FBase64::Encode(const TArray<uint8>& Source, EBase64Mode Mode)
{
	return Encode(Source.GetData(), (uint32)Source.Num(), Mode);
}

FString FBase64::Encode(const uint8* Source, uint32 Length, EBase64Mode Mode)
{
	const char* Table = Alphabet(Mode);
	FString Result;
	Result.Reserve((int32)GetEncodedDataSize(Length));
	uint32 Index = 0;
	for (; Index + 3 <= Length; Index += 3)
	{
		const uint32 Triple = (Source[Index] << 16) | (Source[Index + 1] << 8) | Source[Index + 2];
		Result.AppendChar(Table[(Triple >> 18) & 63]);
		Result.AppendChar(Table[(Triple >> 12) & 63]);
		Result.AppendChar(Table[(Triple >> 6) & 63]);
		Result.AppendChar(Table[Triple & 63]);
	}
	const uint32 Remaining = Length - Index;
	if (Remaining > 0)
	{
		const uint32 Triple = (Source[Index] << 16) | (Remaining == 2 ? Source[Index + 1] << 8 : 0);
		Result.AppendChar(Table[(Triple >> 18) & 63]);
		Result.AppendChar(Table[(Triple >> 12) & 63]);
		Result.AppendChar(Remaining == 2 ? Table[(Triple >> 6) & 63] : '=');
		Result.AppendChar('=');
	}
	return Result;
}

uint32 FBase64::GetDecodedDataSize(const FString& Source)
{
	return GetDecodedDataSize(*Source, (uint32)Source.Len());
}

uint32 FBase64::GetDecodedDataSize(const TCHAR* Source, uint32 Length)
{
	uint32 Size = Length / 4 * 3;
	if (Length >= 1 && Source[Length - 1] == '=') { --Size; }
	if (Length >= 2 && Source[Length - 2] == '=') { --Size; }
	return Size;
}

bool FBase64::Decode(const TCHAR* Source, uint32 Length, uint8* Dest, EBase64Mode Mode)
{
	if (Length % 4 != 0)
	{
		return false;
	}
	uint32 Out = 0;
	for (uint32 Index = 0; Index < Length; Index += 4)
	{
		int32 Values[4];
		int32 Padding = 0;
		for (int32 Part = 0; Part < 4; ++Part)
		{
			const TCHAR Char = Source[Index + Part];
			if (Char == '=' && Index + 4 == Length && Part >= 2)
			{
				Values[Part] = 0;
				++Padding;
				continue;
			}
			if (Padding > 0)
			{
				return false;
			}
			Values[Part] = DecodeChar(Char, Mode);
			if (Values[Part] < 0)
			{
				return false;
			}
		}
		const uint32 Triple = ((uint32)Values[0] << 18) | ((uint32)Values[1] << 12) | ((uint32)Values[2] << 6) | (uint32)Values[3];
		Dest[Out++] = (uint8)(Triple >> 16);
		if (Padding < 2) { Dest[Out++] = (uint8)(Triple >> 8); }
		if (Padding < 1) { Dest[Out++] = (uint8)Triple; }
	}
	return true;
}

bool FBase64::Decode(const FString& Source, TArray<uint8>& OutDest, EBase64Mode Mode)
{
	OutDest.Reset();
	if (Source.Len() % 4 != 0)
	{
		return false;
	}
	OutDest.SetNumUninitialized((int32)GetDecodedDataSize(Source));
	if (!Decode(*Source, (uint32)Source.Len(), OutDest.GetData(), Mode))
	{
		OutDest.Reset();
		return false;
	}
	return true;
}

bool FBase64::Decode(const FString& Source, FString& OutDest, EBase64Mode Mode)
{
	TArray<uint8> Bytes;
	if (!Decode(Source, Bytes, Mode))
	{
		return false;
	}
	OutDest = FString(Bytes.Num(), reinterpret_cast<const ANSICHAR*>(Bytes.GetData()));
	return true;
}
