// TCString: C-string helpers with the engine's names.
#pragma once

#include "Containers/StringConv.h"
#include "CoreTypes.h"
#include "Misc/Char.h"

template <typename CharType>
struct TCString
{
	static int32 Strlen(const CharType* String) { return StringConv::Strlen(String); }

	static int32 Strcmp(const CharType* A, const CharType* B)
	{
		for (;; ++A, ++B)
		{
			if (*A != *B)
			{
				return (int32)(uint32)*A - (int32)(uint32)*B;
			}
			if (*A == 0)
			{
				return 0;
			}
		}
	}

	/** Compares ignoring the case of ASCII letters, as the engine does. */
	static int32 Stricmp(const CharType* A, const CharType* B)
	{
		for (;; ++A, ++B)
		{
			const CharType LowerA = AsciiLower(*A);
			const CharType LowerB = AsciiLower(*B);
			if (LowerA != LowerB)
			{
				return (int32)(uint32)LowerA - (int32)(uint32)LowerB;
			}
			if (LowerA == 0)
			{
				return 0;
			}
		}
	}

	static int32 Strncmp(const CharType* A, const CharType* B, SIZE_T Count)
	{
		for (SIZE_T Index = 0; Index < Count; ++Index)
		{
			if (A[Index] != B[Index])
			{
				return (int32)(uint32)A[Index] - (int32)(uint32)B[Index];
			}
			if (A[Index] == 0)
			{
				return 0;
			}
		}
		return 0;
	}

	static int32 Strnicmp(const CharType* A, const CharType* B, SIZE_T Count)
	{
		for (SIZE_T Index = 0; Index < Count; ++Index)
		{
			const CharType LowerA = AsciiLower(A[Index]);
			const CharType LowerB = AsciiLower(B[Index]);
			if (LowerA != LowerB)
			{
				return (int32)(uint32)LowerA - (int32)(uint32)LowerB;
			}
			if (LowerA == 0)
			{
				return 0;
			}
		}
		return 0;
	}

	static const CharType* Strstr(const CharType* String, const CharType* Find)
	{
		const int32 FindLength = Strlen(Find);
		for (; *String; ++String)
		{
			if (Strncmp(String, Find, (SIZE_T)FindLength) == 0)
			{
				return String;
			}
		}
		return FindLength == 0 ? String : nullptr;
	}

	static const CharType* Stristr(const CharType* String, const CharType* Find)
	{
		const int32 FindLength = Strlen(Find);
		for (; *String; ++String)
		{
			if (Strnicmp(String, Find, (SIZE_T)FindLength) == 0)
			{
				return String;
			}
		}
		return FindLength == 0 ? String : nullptr;
	}

	static const CharType* Strchr(const CharType* String, CharType Char)
	{
		for (; *String; ++String)
		{
			if (*String == Char)
			{
				return String;
			}
		}
		return Char == 0 ? String : nullptr;
	}

	/** Reads a leading integer as strtol does: blanks, a sign, then decimal digits. */
	static int32 Atoi(const CharType* String) { return (int32)Strtoi64(String, nullptr, 10); }
	static int64 Atoi64(const CharType* String) { return Strtoi64(String, nullptr, 10); }
	static int32 Strtoi(const CharType* String, CharType** End, int32 Base) { return (int32)Strtoi64(String, End, Base); }
	static int64 Strtoi64(const CharType* String, CharType** End, int32 Base);
	static uint64 Strtoui64(const CharType* String, CharType** End, int32 Base) { return (uint64)Strtoi64(String, End, Base); }
	/** Reads a leading number as strtod does. */
	static float Atof(const CharType* String) { return (float)Atod(String); }
	static double Atod(const CharType* String);
	static bool ToBool(const CharType* String);
	static bool IsNumeric(const CharType* String);

private:
	static CharType AsciiLower(CharType Char) { return (Char >= 'A' && Char <= 'Z') ? (CharType)(Char + ('a' - 'A')) : Char; }
};

typedef TCString<TCHAR> FCString;
typedef TCString<ANSICHAR> FCStringAnsi;
