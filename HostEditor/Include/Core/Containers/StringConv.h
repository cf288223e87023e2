// Conversions between TCHAR (UTF-16) text and UTF-8 or ANSI byte strings.
#pragma once

#include <string>

#include "CoreTypes.h"

namespace StringConv
{
	/** Decodes UTF-8 bytes into UTF-16; an invalid sequence becomes U+FFFD. */
	CORE_API std::u16string Utf8ToTChar(const ANSICHAR* Source, int32 Length);
	/** Encodes UTF-16 as UTF-8; an unpaired surrogate becomes U+FFFD. */
	CORE_API std::string TCharToUtf8(const TCHAR* Source, int32 Length);
	/** Widens ANSI bytes one by one. */
	CORE_API std::u16string AnsiToTChar(const ANSICHAR* Source, int32 Length);
	/** Narrows to ANSI; characters beyond one byte become '?'. */
	CORE_API std::string TCharToAnsi(const TCHAR* Source, int32 Length);
	/** Returns the length of a NUL-terminated string. */
	template <typename CharType>
	int32 Strlen(const CharType* Source)
	{
		int32 Length = 0;
		if (Source)
		{
			while (Source[Length])
			{
				++Length;
			}
		}
		return Length;
	}
}

/** Converts TCHAR text to UTF-8 for the lifetime of the object. */
class FTCHARToUTF8
{
public:
	explicit FTCHARToUTF8(const TCHAR* Source)
		: Converted(StringConv::TCharToUtf8(Source, StringConv::Strlen(Source)))
	{
	}
	FTCHARToUTF8(const TCHAR* Source, int32 SourceLength)
		: Converted(StringConv::TCharToUtf8(Source, SourceLength))
	{
	}
	const ANSICHAR* Get() const { return Converted.c_str(); }
	/** Returns the number of bytes, without the terminator. */
	int32 Length() const { return (int32)Converted.size(); }

private:
	std::string Converted;
};

/** Converts UTF-8 to TCHAR text for the lifetime of the object. */
class FUTF8ToTCHAR
{
public:
	explicit FUTF8ToTCHAR(const ANSICHAR* Source)
		: Converted(StringConv::Utf8ToTChar(Source, StringConv::Strlen(Source)))
	{
	}
	FUTF8ToTCHAR(const ANSICHAR* Source, int32 SourceLength)
		: Converted(StringConv::Utf8ToTChar(Source, SourceLength))
	{
	}
	const TCHAR* Get() const { return Converted.c_str(); }
	/** Returns the number of characters, without the terminator. */
	int32 Length() const { return (int32)Converted.size(); }

private:
	std::u16string Converted;
};

/** Converts TCHAR text to ANSI for the lifetime of the object. */
class FTCHARToANSI
{
public:
	explicit FTCHARToANSI(const TCHAR* Source)
		: Converted(StringConv::TCharToAnsi(Source, StringConv::Strlen(Source)))
	{
	}
	const ANSICHAR* Get() const { return Converted.c_str(); }
	int32 Length() const { return (int32)Converted.size(); }

private:
	std::string Converted;
};

/** Converts ANSI to TCHAR text for the lifetime of the object. */
class FANSIToTCHAR
{
public:
	explicit FANSIToTCHAR(const ANSICHAR* Source)
		: Converted(StringConv::AnsiToTChar(Source, StringConv::Strlen(Source)))
	{
	}
	const TCHAR* Get() const { return Converted.c_str(); }
	int32 Length() const { return (int32)Converted.size(); }

private:
	std::u16string Converted;
};

#define TCHAR_TO_UTF8(str) (ANSICHAR*)FTCHARToUTF8((const TCHAR*)(str)).Get()
#define UTF8_TO_TCHAR(str) (TCHAR*)FUTF8ToTCHAR((const ANSICHAR*)(str)).Get()
#define TCHAR_TO_ANSI(str) (ANSICHAR*)FTCHARToANSI((const TCHAR*)(str)).Get()
#define ANSI_TO_TCHAR(str) (TCHAR*)FANSIToTCHAR((const ANSICHAR*)(str)).Get()
