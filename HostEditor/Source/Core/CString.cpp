#include "Misc/CString.h"

#include <cstdlib>
#include <string>

namespace
{
	/** Copies ASCII as is and any other character as DEL, which ends every number the C library reads. */
	template <typename CharType>
	std::string NarrowForNumberParsing(const CharType* String)
	{
		std::string Buffer;
		for (const CharType* Cursor = String; *Cursor; ++Cursor)
		{
			Buffer.push_back((uint32)(std::make_unsigned_t<CharType>)*Cursor < 128 ? (char)*Cursor : '\x7f');
		}
		return Buffer;
	}
}

template <typename CharType>
int64 TCString<CharType>::Strtoi64(const CharType* String, CharType** End, int32 Base)
{
	const std::string Buffer = NarrowForNumberParsing(String);
	char* NarrowEnd = nullptr;
	const long long Value = std::strtoll(Buffer.c_str(), &NarrowEnd, Base);
	if (End)
	{
		*End = const_cast<CharType*>(String + (NarrowEnd - Buffer.c_str()));
	}
	return (int64)Value;
}

template <typename CharType>
double TCString<CharType>::Atod(const CharType* String)
{
	const std::string Buffer = NarrowForNumberParsing(String);
	return std::strtod(Buffer.c_str(), nullptr);
}

template <typename CharType>
bool TCString<CharType>::ToBool(const CharType* String)
{
	static const CharType TrueWords[3][5] = {{'t', 'r', 'u', 'e', 0}, {'y', 'e', 's', 0, 0}, {'o', 'n', 0, 0, 0}};
	static const CharType FalseWords[3][6] = {{'f', 'a', 'l', 's', 'e', 0}, {'n', 'o', 0, 0, 0, 0}, {'o', 'f', 'f', 0, 0, 0}};
	for (const auto& Word : TrueWords)
	{
		if (Stricmp(String, Word) == 0)
		{
			return true;
		}
	}
	for (const auto& Word : FalseWords)
	{
		if (Stricmp(String, Word) == 0)
		{
			return false;
		}
	}
	return Atoi(String) != 0;
}

template <typename CharType>
bool TCString<CharType>::IsNumeric(const CharType* String)
{
	if (*String == '-' || *String == '+')
	{
		++String;
	}
	bool bHasDot = false;
	for (; *String; ++String)
	{
		if (*String == '.')
		{
			if (bHasDot)
			{
				return false;
			}
			bHasDot = true;
		}
		else if (!TChar<CharType>::IsDigit(*String))
		{
			return false;
		}
	}
	return true;
}

template struct TCString<TCHAR>;
template struct TCString<ANSICHAR>;
