#include "Containers/UnrealString.h"

#include <cstdio>
#include <string>

#include "Misc/CString.h"

namespace
{
	TCHAR AsciiLower(TCHAR Char)
	{
		return (Char >= 'A' && Char <= 'Z') ? (TCHAR)(Char + ('a' - 'A')) : Char;
	}

	bool CharsEqual(TCHAR A, TCHAR B, ESearchCase::Type SearchCase)
	{
		return SearchCase == ESearchCase::CaseSensitive ? A == B : AsciiLower(A) == AsciiLower(B);
	}

	bool MatchesAt(const std::u16string& Text, SIZE_T Position, const std::u16string& Pattern, ESearchCase::Type SearchCase)
	{
		if (Position + Pattern.size() > Text.size())
		{
			return false;
		}
		for (SIZE_T Index = 0; Index < Pattern.size(); ++Index)
		{
			if (!CharsEqual(Text[Position + Index], Pattern[Index], SearchCase))
			{
				return false;
			}
		}
		return true;
	}

	void AppendNarrow(FString& Out, const char* Text)
	{
		for (; *Text; ++Text)
		{
			Out.AppendChar((TCHAR)(uint8)*Text);
		}
	}

	/** Pads Piece to Width with blanks, on the left unless the '-' flag asks for the right. */
	void AppendPadded(FString& Out, const FString& Piece, int32 Width, bool bLeftAlign)
	{
		const int32 Padding = Width > Piece.Len() ? Width - Piece.Len() : 0;
		if (!bLeftAlign)
		{
			for (int32 Index = 0; Index < Padding; ++Index)
			{
				Out.AppendChar(' ');
			}
		}
		Out += Piece;
		if (bLeftAlign)
		{
			for (int32 Index = 0; Index < Padding; ++Index)
			{
				Out.AppendChar(' ');
			}
		}
	}

	/** The pieces of one conversion directive, %[flags][width][.precision][length]type. */
	struct FFormatSpec
	{
		std::string Flags;
		int32 Width = -1;
		int32 Precision = -1;
		std::string Length;
		TCHAR Type = 0;
	};

	int64 ReadSignedArg(const FPrintfArg& Arg)
	{
		switch (Arg.Kind)
		{
		case FPrintfArg::EKind::Signed: return Arg.Signed;
		case FPrintfArg::EKind::Unsigned: return (int64)Arg.Unsigned;
		case FPrintfArg::EKind::Floating: return (int64)Arg.Floating;
		default: return 0;
		}
	}

	double ReadFloatingArg(const FPrintfArg& Arg)
	{
		switch (Arg.Kind)
		{
		case FPrintfArg::EKind::Signed: return (double)Arg.Signed;
		case FPrintfArg::EKind::Unsigned: return (double)Arg.Unsigned;
		case FPrintfArg::EKind::Floating: return Arg.Floating;
		default: return 0.0;
		}
	}

	std::string NarrowSpec(const FFormatSpec& Spec, const char* LengthOverride, char Type)
	{
		std::string Result = "%" + Spec.Flags;
		if (Spec.Width >= 0)
		{
			Result += std::to_string(Spec.Width);
		}
		if (Spec.Precision >= 0)
		{
			Result += "." + std::to_string(Spec.Precision);
		}
		Result += LengthOverride;
		Result.push_back(Type);
		return Result;
	}

	template <typename ValueType>
	void AppendFormattedNumber(FString& Out, const std::string& NarrowFormat, ValueType Value)
	{
		char Buffer[512];
		const int Written = std::snprintf(Buffer, sizeof(Buffer), NarrowFormat.c_str(), Value);
		if (Written >= 0 && Written < (int)sizeof(Buffer))
		{
			AppendNarrow(Out, Buffer);
			return;
		}
		std::string Large((SIZE_T)(Written > 0 ? Written : 0) + 1, '\0');
		std::snprintf(Large.data(), Large.size(), NarrowFormat.c_str(), Value);
		AppendNarrow(Out, Large.c_str());
	}

	/** Narrows a signed value to the size that the length modifier declares, as printf would read it. */
	int64 NarrowSignedToLength(int64 Value, const std::string& Length)
	{
		if (Length == "hh") { return (int8)Value; }
		if (Length == "h") { return (int16)Value; }
		if (Length.empty()) { return (int32)Value; }
		return Value;
	}

	uint64 NarrowUnsignedToLength(uint64 Value, const std::string& Length)
	{
		if (Length == "hh") { return (uint8)Value; }
		if (Length == "h") { return (uint16)Value; }
		if (Length.empty()) { return (uint32)Value; }
		return Value;
	}
}

void FString::Empty(int32 Slack)
{
	Data.clear();
	if (Slack == 0)
	{
		Data.shrink_to_fit();
	}
	else
	{
		Reserve(Slack);
	}
}

void FString::Reset(int32 NewReservedSize)
{
	Data.clear();
	Reserve(NewReservedSize);
}

FString& FString::Append(const TCHAR* Text, int32 Count)
{
	if (Text && Count > 0)
	{
		Data.append(Text, (SIZE_T)Count);
	}
	return *this;
}

void FString::AppendInt(int32 InNum)
{
	*this += FromInt(InNum);
}

void FString::InsertAt(int32 Index, TCHAR Character)
{
	check(Index >= 0 && Index <= Len());
	Data.insert(Data.begin() + Index, Character);
}

void FString::InsertAt(int32 Index, const FString& Characters)
{
	check(Index >= 0 && Index <= Len());
	Data.insert((SIZE_T)Index, Characters.Data);
}

void FString::RemoveAt(int32 Index, int32 Count, bool bAllowShrinking)
{
	(void)bAllowShrinking;
	check(Index >= 0 && Count >= 0 && Index + Count <= Len());
	Data.erase((SIZE_T)Index, (SIZE_T)Count);
}

void FString::PathAppend(const TCHAR* Str, int32 StrLength)
{
	if (StrLength == 0)
	{
		if (!Data.empty() && Data.back() != '/' && Data.back() != '\\')
		{
			Data.push_back('/');
		}
		return;
	}
	if (!Data.empty() && Data.back() != '/' && Data.back() != '\\' && Str[0] != '/')
	{
		Data.push_back('/');
	}
	Data.append(Str, (SIZE_T)StrLength);
}

bool FString::Equals(const FString& Other, ESearchCase::Type SearchCase) const
{
	if (Data.size() != Other.Data.size())
	{
		return false;
	}
	return SearchCase == ESearchCase::CaseSensitive ? Data == Other.Data : MatchesAt(Data, 0, Other.Data, SearchCase);
}

int32 FString::Compare(const FString& Other, ESearchCase::Type SearchCase) const
{
	return SearchCase == ESearchCase::CaseSensitive ? FCString::Strcmp(**this, *Other) : FCString::Stricmp(**this, *Other);
}

int32 FString::Find(const FString& SubStr, ESearchCase::Type SearchCase, ESearchDir::Type SearchDir, int32 StartPosition) const
{
	const int32 TextLength = Len();
	const int32 PatternLength = SubStr.Len();
	if (SubStr.IsEmpty() || PatternLength > TextLength)
	{
		return INDEX_NONE;
	}
	if (SearchDir == ESearchDir::FromStart)
	{
		const int32 First = StartPosition == INDEX_NONE ? 0 : (StartPosition < 0 ? 0 : StartPosition);
		for (int32 Position = First; Position + PatternLength <= TextLength; ++Position)
		{
			if (MatchesAt(Data, (SIZE_T)Position, SubStr.Data, SearchCase))
			{
				return Position;
			}
		}
		return INDEX_NONE;
	}
	int32 Last = TextLength - PatternLength;
	if (StartPosition != INDEX_NONE && StartPosition - PatternLength < Last)
	{
		Last = StartPosition - PatternLength;
	}
	for (int32 Position = Last; Position >= 0; --Position)
	{
		if (MatchesAt(Data, (SIZE_T)Position, SubStr.Data, SearchCase))
		{
			return Position;
		}
	}
	return INDEX_NONE;
}

bool FString::FindChar(TCHAR InChar, int32& Index) const
{
	const SIZE_T Position = Data.find(InChar);
	Index = Position == std::u16string::npos ? INDEX_NONE : (int32)Position;
	return Index != INDEX_NONE;
}

bool FString::FindLastChar(TCHAR InChar, int32& Index) const
{
	const SIZE_T Position = Data.rfind(InChar);
	Index = Position == std::u16string::npos ? INDEX_NONE : (int32)Position;
	return Index != INDEX_NONE;
}

bool FString::StartsWith(const FString& Prefix, ESearchCase::Type SearchCase) const
{
	return !Prefix.IsEmpty() && MatchesAt(Data, 0, Prefix.Data, SearchCase);
}

bool FString::EndsWith(const FString& Suffix, ESearchCase::Type SearchCase) const
{
	return !Suffix.IsEmpty() && Suffix.Len() <= Len() && MatchesAt(Data, (SIZE_T)(Len() - Suffix.Len()), Suffix.Data, SearchCase);
}

bool FString::RemoveFromStart(const FString& Prefix, ESearchCase::Type SearchCase)
{
	if (!StartsWith(Prefix, SearchCase))
	{
		return false;
	}
	Data.erase(0, (SIZE_T)Prefix.Len());
	return true;
}

bool FString::RemoveFromEnd(const FString& Suffix, ESearchCase::Type SearchCase)
{
	if (!EndsWith(Suffix, SearchCase))
	{
		return false;
	}
	Data.resize(Data.size() - (SIZE_T)Suffix.Len());
	return true;
}

bool FString::MatchesWildcard(const FString& Wildcard, ESearchCase::Type SearchCase) const
{
	// Iterative glob matching of '*' (any run) and '?' (any one character).
	SIZE_T TextIndex = 0;
	SIZE_T PatternIndex = 0;
	SIZE_T StarPattern = std::u16string::npos;
	SIZE_T StarText = 0;
	const std::u16string& Pattern = Wildcard.Data;
	while (TextIndex < Data.size())
	{
		if (PatternIndex < Pattern.size() && (Pattern[PatternIndex] == '?' || CharsEqual(Pattern[PatternIndex], Data[TextIndex], SearchCase)))
		{
			++TextIndex;
			++PatternIndex;
		}
		else if (PatternIndex < Pattern.size() && Pattern[PatternIndex] == '*')
		{
			StarPattern = PatternIndex++;
			StarText = TextIndex;
		}
		else if (StarPattern != std::u16string::npos)
		{
			PatternIndex = StarPattern + 1;
			TextIndex = ++StarText;
		}
		else
		{
			return false;
		}
	}
	while (PatternIndex < Pattern.size() && Pattern[PatternIndex] == '*')
	{
		++PatternIndex;
	}
	return PatternIndex == Pattern.size();
}

FString FString::Left(int32 Count) const
{
	const int32 Clamped = Count < 0 ? 0 : (Count > Len() ? Len() : Count);
	return FString(Data.substr(0, (SIZE_T)Clamped));
}

FString FString::LeftChop(int32 Count) const
{
	return Left(Len() - (Count < 0 ? 0 : Count));
}

FString FString::Right(int32 Count) const
{
	const int32 Clamped = Count < 0 ? 0 : (Count > Len() ? Len() : Count);
	return FString(Data.substr((SIZE_T)(Len() - Clamped)));
}

FString FString::RightChop(int32 Count) const
{
	return Mid(Count < 0 ? 0 : Count);
}

FString FString::Mid(int32 Start, int32 Count) const
{
	if (Count < 0)
	{
		return FString();
	}
	int64 End = (int64)Start + (int64)Count;
	const int64 First = Start < 0 ? 0 : (Start > Len() ? Len() : Start);
	End = End < First ? First : (End > Len() ? Len() : End);
	return FString(Data.substr((SIZE_T)First, (SIZE_T)(End - First)));
}

bool FString::Split(const FString& InS, FString* LeftS, FString* RightS, ESearchCase::Type SearchCase, ESearchDir::Type SearchDir) const
{
	const int32 Position = Find(InS, SearchCase, SearchDir);
	if (Position == INDEX_NONE)
	{
		return false;
	}
	if (LeftS)
	{
		*LeftS = Left(Position);
	}
	if (RightS)
	{
		*RightS = Mid(Position + InS.Len());
	}
	return true;
}

int32 FString::ParseIntoArray(TArray<FString>& OutArray, const TCHAR* Delim, bool bCullEmpty) const
{
	OutArray.Reset();
	const std::u16string Delimiter(Delim ? Delim : u"");
	if (Delimiter.empty())
	{
		if (!IsEmpty() || !bCullEmpty)
		{
			OutArray.Add(*this);
		}
		return OutArray.Num();
	}
	SIZE_T Start = 0;
	for (;;)
	{
		const SIZE_T Position = Data.find(Delimiter, Start);
		const SIZE_T End = Position == std::u16string::npos ? Data.size() : Position;
		if (!bCullEmpty || End > Start)
		{
			OutArray.Add(FString(Data.substr(Start, End - Start)));
		}
		if (Position == std::u16string::npos)
		{
			break;
		}
		Start = Position + Delimiter.size();
	}
	return OutArray.Num();
}

int32 FString::ParseIntoArrayLines(TArray<FString>& OutArray, bool bCullEmpty) const
{
	OutArray.Reset();
	SIZE_T Start = 0;
	for (SIZE_T Index = 0; Index <= Data.size(); ++Index)
	{
		if (Index == Data.size() || Data[Index] == '\n' || Data[Index] == '\r')
		{
			if (!bCullEmpty || Index > Start)
			{
				OutArray.Add(FString(Data.substr(Start, Index - Start)));
			}
			if (Index + 1 < Data.size() && Data[Index] == '\r' && Data[Index + 1] == '\n')
			{
				++Index;
			}
			Start = Index + 1;
		}
	}
	return OutArray.Num();
}

int32 FString::ParseIntoArrayWS(TArray<FString>& OutArray, const TCHAR* ExtraDelim, bool bCullEmpty) const
{
	OutArray.Reset();
	FString Current;
	auto Flush = [&]()
	{
		if (!bCullEmpty || !Current.IsEmpty())
		{
			OutArray.Add(Current);
		}
		Current.Reset();
	};
	for (const TCHAR Char : Data)
	{
		const bool bExtra = ExtraDelim && ExtraDelim[0] && FCString::Strchr(ExtraDelim, Char) != nullptr;
		if (FChar::IsWhitespace(Char) || bExtra)
		{
			Flush();
		}
		else
		{
			Current.AppendChar(Char);
		}
	}
	Flush();
	return OutArray.Num();
}

FString FString::ToLower() const
{
	FString Result(*this);
	Result.ToLowerInline();
	return Result;
}

FString FString::ToUpper() const
{
	FString Result(*this);
	Result.ToUpperInline();
	return Result;
}

void FString::ToLowerInline()
{
	for (TCHAR& Char : Data)
	{
		Char = FChar::ToLower(Char);
	}
}

void FString::ToUpperInline()
{
	for (TCHAR& Char : Data)
	{
		Char = FChar::ToUpper(Char);
	}
}

FString FString::TrimStart() const
{
	SIZE_T First = 0;
	while (First < Data.size() && FChar::IsWhitespace(Data[First]))
	{
		++First;
	}
	return FString(Data.substr(First));
}

FString FString::TrimEnd() const
{
	SIZE_T End = Data.size();
	while (End > 0 && FChar::IsWhitespace(Data[End - 1]))
	{
		--End;
	}
	return FString(Data.substr(0, End));
}

FString FString::TrimStartAndEnd() const
{
	return TrimStart().TrimEnd();
}

void FString::TrimStartInline()
{
	*this = TrimStart();
}

void FString::TrimEndInline()
{
	*this = TrimEnd();
}

void FString::TrimStartAndEndInline()
{
	*this = TrimStartAndEnd();
}

FString FString::TrimQuotes(bool* bQuotesRemoved) const
{
	return TrimChar('"', bQuotesRemoved);
}

FString FString::TrimChar(TCHAR CharacterToTrim, bool* bCharRemoved) const
{
	SIZE_T First = 0;
	SIZE_T End = Data.size();
	if (First < End && Data[First] == CharacterToTrim)
	{
		++First;
	}
	if (End > First && Data[End - 1] == CharacterToTrim)
	{
		--End;
	}
	if (bCharRemoved)
	{
		*bCharRemoved = First != 0 || End != Data.size();
	}
	return FString(Data.substr(First, End - First));
}

FString FString::Replace(const TCHAR* From, const TCHAR* To, ESearchCase::Type SearchCase) const
{
	FString Result(*this);
	Result.ReplaceInline(From, To, SearchCase);
	return Result;
}

int32 FString::ReplaceInline(const TCHAR* From, const TCHAR* To, ESearchCase::Type SearchCase)
{
	const std::u16string Pattern(From ? From : u"");
	const std::u16string Replacement(To ? To : u"");
	if (Pattern.empty() || Data.empty())
	{
		return 0;
	}
	std::u16string Result;
	Result.reserve(Data.size());
	int32 Count = 0;
	SIZE_T Index = 0;
	while (Index < Data.size())
	{
		if (MatchesAt(Data, Index, Pattern, SearchCase))
		{
			Result += Replacement;
			Index += Pattern.size();
			++Count;
		}
		else
		{
			Result.push_back(Data[Index++]);
		}
	}
	Data = MoveTemp(Result);
	return Count;
}

void FString::ReplaceCharInline(TCHAR From, TCHAR To, ESearchCase::Type SearchCase)
{
	for (TCHAR& Char : Data)
	{
		if (CharsEqual(Char, From, SearchCase))
		{
			Char = To;
		}
	}
}

FString FString::ReplaceQuotesWithEscapedQuotes() const
{
	FString Result;
	for (const TCHAR Char : Data)
	{
		if (Char == '"')
		{
			Result.AppendChar('\\');
		}
		Result.AppendChar(Char);
	}
	return Result;
}

FString FString::Reverse() const
{
	return FString(std::u16string(Data.rbegin(), Data.rend()));
}

FString FString::LeftPad(int32 ChCount) const
{
	const int32 Padding = ChCount - Len();
	return Padding > 0 ? ChrN(Padding, ' ') + *this : *this;
}

FString FString::RightPad(int32 ChCount) const
{
	const int32 Padding = ChCount - Len();
	return Padding > 0 ? *this + ChrN(Padding, ' ') : *this;
}

bool FString::IsNumeric() const
{
	return !IsEmpty() && FCString::IsNumeric(**this);
}

bool FString::ToBool() const
{
	return FCString::ToBool(**this);
}

FString FString::FromInt(int32 Num)
{
	return Printf(TEXT("%d"), Num);
}

FString FString::ChrN(int32 NumCharacters, TCHAR Char)
{
	return FString(std::u16string((SIZE_T)(NumCharacters > 0 ? NumCharacters : 0), Char));
}

FString FString::SanitizeFloat(double InFloat, int32 InMinFractionalDigits)
{
	if (InFloat == 0)
	{
		InFloat = 0;
	}
	FString Text = Printf(TEXT("%f"), InFloat);
	if (!Text.IsNumeric())
	{
		return Text;
	}
	int32 DecimalSeparator = INDEX_NONE;
	int32 TrimIndex = INDEX_NONE;
	for (int32 Index = Text.Len() - 1; Index >= 0; --Index)
	{
		const TCHAR Char = Text[Index];
		if (Char == '.')
		{
			DecimalSeparator = Index;
			TrimIndex = TrimIndex > DecimalSeparator ? TrimIndex : DecimalSeparator;
			break;
		}
		if (TrimIndex == INDEX_NONE && Char != '0')
		{
			TrimIndex = Index + 1;
		}
	}
	if (DecimalSeparator == INDEX_NONE)
	{
		return Text;
	}
	Text.RemoveAt(TrimIndex, Text.Len() - TrimIndex);
	if (InMinFractionalDigits > 0)
	{
		if (TrimIndex == DecimalSeparator)
		{
			Text.AppendChar('.');
		}
		const int32 FractionalDigits = Text.Len() - DecimalSeparator - 1;
		for (int32 Pad = FractionalDigits; Pad < InMinFractionalDigits; ++Pad)
		{
			Text.AppendChar('0');
		}
	}
	return Text;
}

FString FString::PrintfImpl(const TCHAR* Format, const FPrintfArg* Args, int32 NumArgs)
{
	FString Out;
	int32 NextArg = 0;
	auto TakeArg = [&]() -> const FPrintfArg*
	{
		return NextArg < NumArgs ? &Args[NextArg++] : nullptr;
	};

	for (const TCHAR* Cursor = Format; *Cursor; ++Cursor)
	{
		if (*Cursor != '%')
		{
			Out.AppendChar(*Cursor);
			continue;
		}
		++Cursor;
		if (*Cursor == '%')
		{
			Out.AppendChar('%');
			continue;
		}

		FFormatSpec Spec;
		while (*Cursor == '-' || *Cursor == '+' || *Cursor == ' ' || *Cursor == '#' || *Cursor == '0')
		{
			Spec.Flags.push_back((char)*Cursor++);
		}
		if (*Cursor == '*')
		{
			const FPrintfArg* WidthArg = TakeArg();
			Spec.Width = WidthArg ? (int32)ReadSignedArg(*WidthArg) : 0;
			++Cursor;
		}
		else if (FChar::IsDigit(*Cursor))
		{
			Spec.Width = 0;
			while (FChar::IsDigit(*Cursor))
			{
				Spec.Width = Spec.Width * 10 + (*Cursor++ - '0');
			}
		}
		if (*Cursor == '.')
		{
			++Cursor;
			Spec.Precision = 0;
			if (*Cursor == '*')
			{
				const FPrintfArg* PrecisionArg = TakeArg();
				Spec.Precision = PrecisionArg ? (int32)ReadSignedArg(*PrecisionArg) : 0;
				++Cursor;
			}
			else
			{
				while (FChar::IsDigit(*Cursor))
				{
					Spec.Precision = Spec.Precision * 10 + (*Cursor++ - '0');
				}
			}
		}
		while (*Cursor == 'h' || *Cursor == 'l' || *Cursor == 'L' || *Cursor == 'z' || *Cursor == 'j' || *Cursor == 't' || *Cursor == 'I' || *Cursor == '6' || *Cursor == '4')
		{
			Spec.Length.push_back((char)*Cursor++);
		}
		if (Spec.Length == "I64" || Spec.Length == "l" || Spec.Length == "L" || Spec.Length == "z" || Spec.Length == "j" || Spec.Length == "t")
		{
			Spec.Length = "ll";
		}
		Spec.Type = *Cursor;
		if (Spec.Type == 0)
		{
			break;
		}

		const FPrintfArg* Arg = TakeArg();
		const bool bLeftAlign = Spec.Flags.find('-') != std::string::npos;
		switch (Spec.Type)
		{
		case 'd':
		case 'i':
			AppendFormattedNumber(Out, NarrowSpec(Spec, "ll", 'd'), (long long)NarrowSignedToLength(Arg ? ReadSignedArg(*Arg) : 0, Spec.Length));
			break;
		case 'u':
		case 'x':
		case 'X':
		case 'o':
			AppendFormattedNumber(Out, NarrowSpec(Spec, "ll", (char)Spec.Type), (unsigned long long)NarrowUnsignedToLength(Arg ? (uint64)ReadSignedArg(*Arg) : 0, Spec.Length));
			break;
		case 'f':
		case 'F':
		case 'e':
		case 'E':
		case 'g':
		case 'G':
		case 'a':
		case 'A':
			AppendFormattedNumber(Out, NarrowSpec(Spec, "", (char)Spec.Type), Arg ? ReadFloatingArg(*Arg) : 0.0);
			break;
		case 'c':
			AppendPadded(Out, FString::Chr(Arg ? (TCHAR)ReadSignedArg(*Arg) : (TCHAR)' '), Spec.Width, bLeftAlign);
			break;
		case 'p':
			AppendFormattedNumber(Out, std::string("0x%016llx"), (unsigned long long)(Arg && Arg->Kind == FPrintfArg::EKind::Pointer ? (UPTRINT)Arg->Pointer : 0));
			break;
		case 's':
		case 'S':
		{
			FString Piece;
			if (Arg && Arg->Kind == FPrintfArg::EKind::WideText)
			{
				Piece = Arg->WideText ? FString(Arg->WideText) : FString(TEXT("(null)"));
			}
			else if (Arg && Arg->Kind == FPrintfArg::EKind::AnsiText)
			{
				Piece = Arg->AnsiText ? FString(FUTF8ToTCHAR(Arg->AnsiText).Get()) : FString(TEXT("(null)"));
			}
			else
			{
				Piece = TEXT("(null)");
			}
			if (Spec.Precision >= 0 && Piece.Len() > Spec.Precision)
			{
				Piece = Piece.Left(Spec.Precision);
			}
			AppendPadded(Out, Piece, Spec.Width, bLeftAlign);
			break;
		}
		default:
			Out.AppendChar('%');
			Out.AppendChar(Spec.Type);
			break;
		}
	}
	return Out;
}

FString operator+(const FString& Lhs, const FString& Rhs)
{
	FString Result(Lhs);
	Result += Rhs;
	return Result;
}

FString operator+(const FString& Lhs, const TCHAR* Rhs)
{
	FString Result(Lhs);
	Result += Rhs;
	return Result;
}

FString operator+(const TCHAR* Lhs, const FString& Rhs)
{
	FString Result(Lhs);
	Result += Rhs;
	return Result;
}

FString operator+(const FString& Lhs, TCHAR Rhs)
{
	FString Result(Lhs);
	Result.AppendChar(Rhs);
	return Result;
}

FString operator/(const FString& Lhs, const FString& Rhs)
{
	FString Result(Lhs);
	Result /= Rhs;
	return Result;
}

FString operator/(const FString& Lhs, const TCHAR* Rhs)
{
	FString Result(Lhs);
	Result /= Rhs;
	return Result;
}

uint32 GetTypeHash(const FString& S)
{
	// FNV-1a over the code units with ASCII letters folded, so equal-ignoring-case strings hash alike.
	uint32 Hash = 2166136261u;
	for (const TCHAR Char : S)
	{
		Hash ^= (uint32)AsciiLower(Char);
		Hash *= 16777619u;
	}
	return Hash;
}

FString LexToString(int32 Value) { return FString::Printf(TEXT("%d"), Value); }
FString LexToString(int64 Value) { return FString::Printf(TEXT("%lld"), Value); }
FString LexToString(uint32 Value) { return FString::Printf(TEXT("%u"), Value); }
FString LexToString(uint64 Value) { return FString::Printf(TEXT("%llu"), Value); }
FString LexToString(float Value) { return FString::SanitizeFloat(Value); }
FString LexToString(double Value) { return FString::SanitizeFloat(Value); }
void LexFromString(int32& OutValue, const TCHAR* Buffer) { OutValue = FCString::Atoi(Buffer); }
void LexFromString(int64& OutValue, const TCHAR* Buffer) { OutValue = FCString::Atoi64(Buffer); }
void LexFromString(float& OutValue, const TCHAR* Buffer) { OutValue = FCString::Atof(Buffer); }
void LexFromString(double& OutValue, const TCHAR* Buffer) { OutValue = FCString::Atod(Buffer); }
void LexFromString(bool& OutValue, const TCHAR* Buffer) { OutValue = FCString::ToBool(Buffer); }
void LexFromString(FString& OutValue, const TCHAR* Buffer) { OutValue = Buffer; }
