#include "Misc/FileHelper.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "Containers/StringConv.h"

namespace
{
	std::filesystem::path ToPath(const TCHAR* Filename)
	{
		return std::filesystem::path(FTCHARToUTF8(Filename).Get());
	}

	bool WriteBytes(const TCHAR* Filename, const uint8* Bytes, SIZE_T Size)
	{
		const std::filesystem::path Path = ToPath(Filename);
		std::error_code Error;
		if (Path.has_parent_path())
		{
			std::filesystem::create_directories(Path.parent_path(), Error);
		}
		std::ofstream Stream(Path, std::ios::binary | std::ios::trunc);
		if (!Stream)
		{
			return false;
		}
		Stream.write(reinterpret_cast<const char*>(Bytes), (std::streamsize)Size);
		return (bool)Stream;
	}
}

bool FFileHelper::LoadFileToArray(TArray<uint8>& Result, const TCHAR* Filename, uint32 Flags)
{
	(void)Flags;
	const std::filesystem::path Path = ToPath(Filename);
	std::error_code Error;
	if (!std::filesystem::is_regular_file(Path, Error))
	{
		return false;
	}
	std::ifstream Stream(Path, std::ios::binary);
	if (!Stream)
	{
		return false;
	}
	const std::string Bytes((std::istreambuf_iterator<char>(Stream)), std::istreambuf_iterator<char>());
	if (Stream.bad())
	{
		return false;
	}
	Result.Reset((int32)Bytes.size());
	Result.Append(reinterpret_cast<const uint8*>(Bytes.data()), (int32)Bytes.size());
	return true;
}

void FFileHelper::BufferToString(FString& Result, const uint8* Buffer, int32 Size)
{
	if (Size >= 2 && !(Size & 1) && Buffer[0] == 0xff && Buffer[1] == 0xfe)
	{
		std::u16string Text;
		for (int32 Index = 2; Index + 1 < Size; Index += 2)
		{
			Text.push_back((char16_t)(Buffer[Index] | (Buffer[Index + 1] << 8)));
		}
		Result = FString(MoveTemp(Text));
	}
	else if (Size >= 2 && !(Size & 1) && Buffer[0] == 0xfe && Buffer[1] == 0xff)
	{
		std::u16string Text;
		for (int32 Index = 2; Index + 1 < Size; Index += 2)
		{
			Text.push_back((char16_t)((Buffer[Index] << 8) | Buffer[Index + 1]));
		}
		Result = FString(MoveTemp(Text));
	}
	else if (Size >= 3 && Buffer[0] == 0xef && Buffer[1] == 0xbb && Buffer[2] == 0xbf)
	{
		Result = FString(StringConv::Utf8ToTChar(reinterpret_cast<const ANSICHAR*>(Buffer + 3), Size - 3));
	}
	else
	{
		Result = FString(StringConv::Utf8ToTChar(reinterpret_cast<const ANSICHAR*>(Buffer), Size));
	}
}

bool FFileHelper::LoadFileToString(FString& Result, const TCHAR* Filename, EHashOptions VerifyFlags, uint32 ReadFlags)
{
	(void)VerifyFlags;
	TArray<uint8> Bytes;
	if (!LoadFileToArray(Bytes, Filename, ReadFlags))
	{
		return false;
	}
	BufferToString(Result, Bytes.GetData(), Bytes.Num());
	return true;
}

bool FFileHelper::LoadFileToStringArray(TArray<FString>& Result, const TCHAR* Filename)
{
	FString Text;
	if (!LoadFileToString(Text, Filename))
	{
		return false;
	}
	Text.ParseIntoArrayLines(Result, false);
	return true;
}

bool FFileHelper::SaveArrayToFile(const TArray<uint8>& Array, const TCHAR* Filename, uint32 WriteFlags)
{
	(void)WriteFlags;
	return WriteBytes(Filename, Array.GetData(), (SIZE_T)Array.Num());
}

bool FFileHelper::SaveStringToFile(FStringView Text, const TCHAR* Filename, EEncodingOptions EncodingOptions, IFileManager* FileManager, uint32 WriteFlags)
{
	const FString String(Text.Len(), Text.GetData());
	if (EncodingOptions == EEncodingOptions::AutoDetect)
	{
		bool bAllAnsi = true;
		for (const TCHAR Char : String)
		{
			bAllAnsi &= Char < 0x80;
		}
		EncodingOptions = bAllAnsi ? EEncodingOptions::ForceAnsi : EEncodingOptions::ForceUnicode;
	}
	switch (EncodingOptions)
	{
	case EEncodingOptions::ForceAnsi:
	{
		const std::string Bytes = StringConv::TCharToAnsi(*String, String.Len());
		return WriteBytes(Filename, reinterpret_cast<const uint8*>(Bytes.data()), Bytes.size());
	}
	case EEncodingOptions::ForceUnicode:
	{
		std::string Bytes = "\xff\xfe";
		for (const TCHAR Char : String)
		{
			Bytes.push_back((char)(Char & 0xff));
			Bytes.push_back((char)(Char >> 8));
		}
		return WriteBytes(Filename, reinterpret_cast<const uint8*>(Bytes.data()), Bytes.size());
	}
	case EEncodingOptions::ForceUTF8:
	case EEncodingOptions::ForceUTF8WithoutBOM:
	default:
	{
		std::string Bytes = EncodingOptions == EEncodingOptions::ForceUTF8 ? "\xef\xbb\xbf" : "";
		Bytes += StringConv::TCharToUtf8(*String, String.Len());
		return WriteBytes(Filename, reinterpret_cast<const uint8*>(Bytes.data()), Bytes.size());
	}
	}
}

bool FFileHelper::SaveStringArrayToFile(const TArray<FString>& Lines, const TCHAR* Filename, EEncodingOptions EncodingOptions, IFileManager* FileManager, uint32 WriteFlags)
{
	FString Joined;
	for (const FString& Line : Lines)
	{
		Joined += Line;
		Joined += LINE_TERMINATOR;
	}
	return SaveStringToFile(Joined, Filename, EncodingOptions, FileManager, WriteFlags);
}
