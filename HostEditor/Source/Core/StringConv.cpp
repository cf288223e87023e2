#include "Containers/StringConv.h"

namespace StringConv
{
	namespace
	{
		constexpr char16_t ReplacementCharacter = 0xFFFD;

		void AppendCodePoint(std::u16string& Out, uint32 CodePoint)
		{
			if (CodePoint < 0x10000)
			{
				Out.push_back((char16_t)CodePoint);
			}
			else
			{
				CodePoint -= 0x10000;
				Out.push_back((char16_t)(0xD800 + (CodePoint >> 10)));
				Out.push_back((char16_t)(0xDC00 + (CodePoint & 0x3FF)));
			}
		}

		void AppendUtf8(std::string& Out, uint32 CodePoint)
		{
			if (CodePoint < 0x80)
			{
				Out.push_back((char)CodePoint);
			}
			else if (CodePoint < 0x800)
			{
				Out.push_back((char)(0xC0 | (CodePoint >> 6)));
				Out.push_back((char)(0x80 | (CodePoint & 0x3F)));
			}
			else if (CodePoint < 0x10000)
			{
				Out.push_back((char)(0xE0 | (CodePoint >> 12)));
				Out.push_back((char)(0x80 | ((CodePoint >> 6) & 0x3F)));
				Out.push_back((char)(0x80 | (CodePoint & 0x3F)));
			}
			else
			{
				Out.push_back((char)(0xF0 | (CodePoint >> 18)));
				Out.push_back((char)(0x80 | ((CodePoint >> 12) & 0x3F)));
				Out.push_back((char)(0x80 | ((CodePoint >> 6) & 0x3F)));
				Out.push_back((char)(0x80 | (CodePoint & 0x3F)));
			}
		}
	}

	std::u16string Utf8ToTChar(const ANSICHAR* Source, int32 Length)
	{
		std::u16string Out;
		if (!Source || Length <= 0)
		{
			return Out;
		}
		Out.reserve((SIZE_T)Length);
		const uint8* Bytes = reinterpret_cast<const uint8*>(Source);
		int32 Index = 0;
		while (Index < Length)
		{
			const uint8 Lead = Bytes[Index];
			if (Lead < 0x80)
			{
				Out.push_back((char16_t)Lead);
				++Index;
				continue;
			}
			int32 Extra = 0;
			uint32 CodePoint = 0;
			uint32 Minimum = 0;
			if ((Lead & 0xE0) == 0xC0) { Extra = 1; CodePoint = Lead & 0x1F; Minimum = 0x80; }
			else if ((Lead & 0xF0) == 0xE0) { Extra = 2; CodePoint = Lead & 0x0F; Minimum = 0x800; }
			else if ((Lead & 0xF8) == 0xF0) { Extra = 3; CodePoint = Lead & 0x07; Minimum = 0x10000; }
			else
			{
				Out.push_back(ReplacementCharacter);
				++Index;
				continue;
			}
			int32 Consumed = 1;
			bool bValid = true;
			for (; Consumed <= Extra; ++Consumed)
			{
				if (Index + Consumed >= Length || (Bytes[Index + Consumed] & 0xC0) != 0x80)
				{
					bValid = false;
					break;
				}
				CodePoint = (CodePoint << 6) | (Bytes[Index + Consumed] & 0x3F);
			}
			if (!bValid || CodePoint < Minimum || CodePoint > 0x10FFFF || (CodePoint >= 0xD800 && CodePoint <= 0xDFFF))
			{
				Out.push_back(ReplacementCharacter);
				Index += bValid ? Consumed : Consumed;
				continue;
			}
			AppendCodePoint(Out, CodePoint);
			Index += Consumed;
		}
		return Out;
	}

	std::string TCharToUtf8(const TCHAR* Source, int32 Length)
	{
		std::string Out;
		if (!Source || Length <= 0)
		{
			return Out;
		}
		Out.reserve((SIZE_T)Length);
		for (int32 Index = 0; Index < Length; ++Index)
		{
			const uint32 Unit = Source[Index];
			if (Unit < 0x80)
			{
				Out.push_back((char)Unit);
			}
			else if (Unit >= 0xD800 && Unit <= 0xDBFF && Index + 1 < Length && Source[Index + 1] >= 0xDC00 && Source[Index + 1] <= 0xDFFF)
			{
				AppendUtf8(Out, 0x10000 + ((Unit - 0xD800) << 10) + ((uint32)Source[Index + 1] - 0xDC00));
				++Index;
			}
			else if (Unit >= 0xD800 && Unit <= 0xDFFF)
			{
				AppendUtf8(Out, ReplacementCharacter);
			}
			else
			{
				AppendUtf8(Out, Unit);
			}
		}
		return Out;
	}

	std::u16string AnsiToTChar(const ANSICHAR* Source, int32 Length)
	{
		std::u16string Out;
		if (!Source || Length <= 0)
		{
			return Out;
		}
		Out.resize((SIZE_T)Length);
		for (int32 Index = 0; Index < Length; ++Index)
		{
			Out[(SIZE_T)Index] = (char16_t)(uint8)Source[Index];
		}
		return Out;
	}

	std::string TCharToAnsi(const TCHAR* Source, int32 Length)
	{
		std::string Out;
		if (!Source || Length <= 0)
		{
			return Out;
		}
		Out.resize((SIZE_T)Length);
		for (int32 Index = 0; Index < Length; ++Index)
		{
			Out[(SIZE_T)Index] = Source[Index] < 0x100 ? (char)(uint8)Source[Index] : '?';
		}
		return Out;
	}
}
