// TChar: character classification and case conversion.
#pragma once

#include <cwctype>

#include "CoreTypes.h"

template <typename CharType>
struct TChar
{
	/** Lower-cases a character; ASCII by table, the rest by the C library's wide-character rules. */
	static CharType ToLower(CharType Char)
	{
		if (Char >= 'A' && Char <= 'Z')
		{
			return (CharType)(Char + ('a' - 'A'));
		}
		if ((uint32)Char < 128)
		{
			return Char;
		}
		return (CharType)std::towlower((wint_t)Char);
	}

	/** Upper-cases a character. */
	static CharType ToUpper(CharType Char)
	{
		if (Char >= 'a' && Char <= 'z')
		{
			return (CharType)(Char - ('a' - 'A'));
		}
		if ((uint32)Char < 128)
		{
			return Char;
		}
		return (CharType)std::towupper((wint_t)Char);
	}

	static bool IsUpper(CharType Char) { return (uint32)Char < 128 ? (Char >= 'A' && Char <= 'Z') : std::iswupper((wint_t)Char) != 0; }
	static bool IsLower(CharType Char) { return (uint32)Char < 128 ? (Char >= 'a' && Char <= 'z') : std::iswlower((wint_t)Char) != 0; }
	static bool IsAlpha(CharType Char) { return (uint32)Char < 128 ? ((Char >= 'A' && Char <= 'Z') || (Char >= 'a' && Char <= 'z')) : std::iswalpha((wint_t)Char) != 0; }
	static bool IsDigit(CharType Char) { return Char >= '0' && Char <= '9'; }
	static bool IsAlnum(CharType Char) { return IsAlpha(Char) || IsDigit(Char); }
	static bool IsHexDigit(CharType Char) { return IsDigit(Char) || (Char >= 'a' && Char <= 'f') || (Char >= 'A' && Char <= 'F'); }
	static bool IsPunct(CharType Char) { return (uint32)Char < 128 && Char > ' ' && Char < 127 && !IsAlnum(Char); }
	static bool IsLinebreak(CharType Char) { return Char == '\n' || Char == '\r' || Char == 0x0b || Char == 0x0c || Char == 0x85 || Char == 0x2028 || Char == 0x2029; }

	/** True for the characters the engine trims: blanks, tabs, line breaks and the Unicode spaces. */
	static bool IsWhitespace(CharType Char)
	{
		switch ((uint32)Char)
		{
		case ' ': case '\t': case '\n': case '\r': case 0x0b: case 0x0c:
		case 0x85: case 0xa0: case 0x1680: case 0x2028: case 0x2029: case 0x202f: case 0x205f: case 0x3000:
			return true;
		default:
			return (uint32)Char >= 0x2000 && (uint32)Char <= 0x200a;
		}
	}

	static int32 ConvertCharDigitToInt(CharType Char) { return (int32)Char - '0'; }
};

typedef TChar<TCHAR> FChar;
typedef TChar<ANSICHAR> FCharAnsi;
typedef TChar<WIDECHAR> FCharWide;
