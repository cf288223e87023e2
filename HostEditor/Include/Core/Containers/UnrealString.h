// FString: the engine's mutable text. Comparison with == and < ignores case, as in the engine.
#pragma once

#include <string>
#include <type_traits>

#include "Containers/Array.h"
#include "Containers/StringConv.h"
#include "CoreTypes.h"
#include "Misc/Char.h"
#include "Templates/TypeHash.h"

/** One argument of FString::Printf, captured by kind. */
struct FPrintfArg
{
	enum class EKind : uint8
	{
		Signed,
		Unsigned,
		Floating,
		WideText,
		AnsiText,
		Pointer,
	};

	EKind Kind;
	union
	{
		int64 Signed;
		uint64 Unsigned;
		double Floating;
		const TCHAR* WideText;
		const ANSICHAR* AnsiText;
		const void* Pointer;
	};

	template <typename T>
	static FPrintfArg Make(T Value)
	{
		FPrintfArg Arg;
		if constexpr (std::is_same_v<T, bool>)
		{
			Arg.Kind = EKind::Signed;
			Arg.Signed = Value ? 1 : 0;
		}
		else if constexpr (std::is_integral_v<T> && std::is_signed_v<T>)
		{
			Arg.Kind = EKind::Signed;
			Arg.Signed = (int64)Value;
		}
		else if constexpr (std::is_integral_v<T>)
		{
			Arg.Kind = EKind::Unsigned;
			Arg.Unsigned = (uint64)Value;
		}
		else if constexpr (std::is_enum_v<T>)
		{
			static_assert(std::is_convertible_v<T, int64>, "Printf takes scoped enumerations only after a cast to an integer");
			Arg.Kind = EKind::Signed;
			Arg.Signed = (int64)Value;
		}
		else if constexpr (std::is_floating_point_v<T>)
		{
			Arg.Kind = EKind::Floating;
			Arg.Floating = (double)Value;
		}
		else if constexpr (std::is_same_v<T, const TCHAR*> || std::is_same_v<T, TCHAR*>)
		{
			Arg.Kind = EKind::WideText;
			Arg.WideText = Value;
		}
		else if constexpr (std::is_same_v<T, const ANSICHAR*> || std::is_same_v<T, ANSICHAR*>)
		{
			Arg.Kind = EKind::AnsiText;
			Arg.AnsiText = Value;
		}
		else if constexpr (std::is_pointer_v<T> || std::is_null_pointer_v<T>)
		{
			Arg.Kind = EKind::Pointer;
			Arg.Pointer = (const void*)Value;
		}
		else
		{
			static_assert(std::is_pointer_v<T>, "Printf takes numbers and const TCHAR*; pass *String for an FString");
		}
		return Arg;
	}
};

class CORE_API FString
{
public:
	FString() = default;
	FString(const FString&) = default;
	FString(FString&&) noexcept = default;
	FString& operator=(const FString&) = default;
	FString& operator=(FString&&) noexcept = default;

	FString(const TCHAR* Source)
		: Data(Source ? Source : u"")
	{
	}

	FString(const ANSICHAR* Source)
		: Data(StringConv::AnsiToTChar(Source, StringConv::Strlen(Source)))
	{
	}

	/** Makes a string of the first InCount characters of Source. */
	FString(int32 InCount, const TCHAR* Source)
		: Data(Source ? std::u16string(Source, (SIZE_T)(InCount > 0 ? InCount : 0)) : std::u16string())
	{
	}

	FString(int32 InCount, const ANSICHAR* Source)
		: Data(StringConv::AnsiToTChar(Source, InCount))
	{
	}

	explicit FString(std::u16string&& Source)
		: Data(MoveTemp(Source))
	{
	}

	FString& operator=(const TCHAR* Source)
	{
		Data = Source ? Source : u"";
		return *this;
	}

	/** Returns the text as a NUL-terminated character array; never null. */
	const TCHAR* operator*() const { return Data.c_str(); }

	TCHAR& operator[](int32 Index)
	{
		check(IsValidIndex(Index));
		return Data[(SIZE_T)Index];
	}

	const TCHAR& operator[](int32 Index) const
	{
		check(IsValidIndex(Index));
		return Data[(SIZE_T)Index];
	}

	int32 Len() const { return (int32)Data.size(); }
	bool IsEmpty() const { return Data.empty(); }
	bool IsValidIndex(int32 Index) const { return Index >= 0 && Index < Len(); }
	void Empty(int32 Slack = 0);
	void Reset(int32 NewReservedSize = 0);
	void Reserve(int32 CharacterCount) { Data.reserve((SIZE_T)(CharacterCount > 0 ? CharacterCount : 0)); }
	void Shrink() { Data.shrink_to_fit(); }

	FString& Append(const TCHAR* Text, int32 Count);
	FString& Append(const TCHAR* Text) { return Append(Text, StringConv::Strlen(Text)); }
	FString& Append(const FString& Text) { Data.append(Text.Data); return *this; }
	FString& AppendChar(TCHAR InChar) { Data.push_back(InChar); return *this; }
	FString& AppendChars(const TCHAR* Text, int32 Count) { return Append(Text, Count); }
	void AppendInt(int32 InNum);
	void InsertAt(int32 Index, TCHAR Character);
	void InsertAt(int32 Index, const FString& Characters);
	void RemoveAt(int32 Index, int32 Count = 1, bool bAllowShrinking = true);

	FString& operator+=(const FString& Other) { return Append(Other); }
	FString& operator+=(const TCHAR* Other) { return Append(Other); }
	FString& operator+=(TCHAR Other) { return AppendChar(Other); }

	/** Appends Other with exactly one path separator between. */
	FString& operator/=(const FString& Other) { PathAppend(*Other, Other.Len()); return *this; }
	FString& operator/=(const TCHAR* Other) { PathAppend(Other, StringConv::Strlen(Other)); return *this; }
	void PathAppend(const TCHAR* Str, int32 StrLength);

	/** Compares with Other; the engine's default for Equals is case-sensitive. */
	bool Equals(const FString& Other, ESearchCase::Type SearchCase = ESearchCase::CaseSensitive) const;
	/** Returns <0, 0 or >0 as this string sorts before, with or after Other. */
	int32 Compare(const FString& Other, ESearchCase::Type SearchCase = ESearchCase::CaseSensitive) const;

	bool operator==(const FString& Other) const { return Equals(Other, ESearchCase::IgnoreCase); }
	bool operator!=(const FString& Other) const { return !Equals(Other, ESearchCase::IgnoreCase); }
	bool operator==(const TCHAR* Other) const { return Equals(FString(Other), ESearchCase::IgnoreCase); }
	bool operator!=(const TCHAR* Other) const { return !(*this == Other); }
	bool operator<(const FString& Other) const { return Compare(Other, ESearchCase::IgnoreCase) < 0; }
	bool operator<=(const FString& Other) const { return Compare(Other, ESearchCase::IgnoreCase) <= 0; }
	bool operator>(const FString& Other) const { return Compare(Other, ESearchCase::IgnoreCase) > 0; }
	bool operator>=(const FString& Other) const { return Compare(Other, ESearchCase::IgnoreCase) >= 0; }

	/** Returns the position of SubStr, or INDEX_NONE. StartPosition INDEX_NONE searches the whole string. */
	int32 Find(const FString& SubStr, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase, ESearchDir::Type SearchDir = ESearchDir::FromStart, int32 StartPosition = INDEX_NONE) const;
	int32 Find(const TCHAR* SubStr, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase, ESearchDir::Type SearchDir = ESearchDir::FromStart, int32 StartPosition = INDEX_NONE) const
	{
		return Find(FString(SubStr), SearchCase, SearchDir, StartPosition);
	}
	bool Contains(const FString& SubStr, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase, ESearchDir::Type SearchDir = ESearchDir::FromStart) const
	{
		return Find(SubStr, SearchCase, SearchDir) != INDEX_NONE;
	}
	bool Contains(const TCHAR* SubStr, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase, ESearchDir::Type SearchDir = ESearchDir::FromStart) const
	{
		return Find(FString(SubStr), SearchCase, SearchDir) != INDEX_NONE;
	}
	bool FindChar(TCHAR InChar, int32& Index) const;
	bool FindLastChar(TCHAR InChar, int32& Index) const;
	bool StartsWith(const FString& Prefix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase) const;
	bool StartsWith(const TCHAR* Prefix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase) const { return StartsWith(FString(Prefix), SearchCase); }
	bool EndsWith(const FString& Suffix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase) const;
	bool EndsWith(const TCHAR* Suffix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase) const { return EndsWith(FString(Suffix), SearchCase); }
	bool RemoveFromStart(const FString& Prefix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase);
	bool RemoveFromEnd(const FString& Suffix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase);
	bool MatchesWildcard(const FString& Wildcard, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase) const;

	FString Left(int32 Count) const;
	FString LeftChop(int32 Count) const;
	FString Right(int32 Count) const;
	FString RightChop(int32 Count) const;
	FString Mid(int32 Start, int32 Count = MAX_int32) const;
	void LeftInline(int32 Count) { *this = Left(Count); }
	void LeftChopInline(int32 Count) { *this = LeftChop(Count); }
	void RightInline(int32 Count) { *this = Right(Count); }
	void RightChopInline(int32 Count) { *this = RightChop(Count); }
	void MidInline(int32 Start, int32 Count = MAX_int32) { *this = Mid(Start, Count); }

	/** Splits at the first (or last) occurrence of InS; false when it does not occur. */
	bool Split(const FString& InS, FString* LeftS, FString* RightS, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase, ESearchDir::Type SearchDir = ESearchDir::FromStart) const;
	/** Splits at every occurrence of Delim (compared case-sensitively) and returns the number of parts. */
	int32 ParseIntoArray(TArray<FString>& OutArray, const TCHAR* Delim, bool bCullEmpty = true) const;
	int32 ParseIntoArrayLines(TArray<FString>& OutArray, bool bCullEmpty = true) const;
	int32 ParseIntoArrayWS(TArray<FString>& OutArray, const TCHAR* ExtraDelim = nullptr, bool bCullEmpty = true) const;

	FString ToLower() const;
	FString ToUpper() const;
	void ToLowerInline();
	void ToUpperInline();

	FString TrimStart() const;
	FString TrimEnd() const;
	FString TrimStartAndEnd() const;
	void TrimStartInline();
	void TrimEndInline();
	void TrimStartAndEndInline();
	FString TrimQuotes(bool* bQuotesRemoved = nullptr) const;
	FString TrimChar(TCHAR CharacterToTrim, bool* bCharRemoved = nullptr) const;

	/** Returns a copy with every occurrence of From replaced by To. */
	FString Replace(const TCHAR* From, const TCHAR* To, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase) const;
	/** Replaces every occurrence of From by To and returns how many were replaced. */
	int32 ReplaceInline(const TCHAR* From, const TCHAR* To, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase);
	void ReplaceCharInline(TCHAR From, TCHAR To, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase);
	FString ReplaceQuotesWithEscapedQuotes() const;
	FString Reverse() const;
	FString LeftPad(int32 ChCount) const;
	FString RightPad(int32 ChCount) const;

	/** True for an optional sign followed by digits with at most one decimal point. */
	bool IsNumeric() const;
	/** "True", "Yes" and "On" (any case) are true; otherwise the text read as an integer is tested. */
	bool ToBool() const;

	/** Formats like printf: %s takes a const TCHAR*, %hs a const ANSICHAR*. */
	template <typename FmtType, typename... Types>
	static FString Printf(const FmtType& Format, Types... Args)
	{
		const FPrintfArg PackedArgs[sizeof...(Types) + 1] = {FPrintfArg::Make(Args)..., FPrintfArg::Make(0)};
		return PrintfImpl(Format, PackedArgs, (int32)sizeof...(Types));
	}

	static FString PrintfImpl(const TCHAR* Format, const FPrintfArg* Args, int32 NumArgs);
	static FString FromInt(int32 Num);
	/** Formats a number with %f, drops trailing zeros and keeps at least InMinFractionalDigits. */
	static FString SanitizeFloat(double InFloat, int32 InMinFractionalDigits = 1);
	static FString Chr(TCHAR Ch) { return FString(1, &Ch); }
	static FString ChrN(int32 NumCharacters, TCHAR Char);

	template <typename RangeType>
	static FString Join(const RangeType& Range, const TCHAR* Separator)
	{
		FString Result;
		bool bFirst = true;
		for (const auto& Element : Range)
		{
			if (!bFirst)
			{
				Result += Separator;
			}
			Result += Element;
			bFirst = false;
		}
		return Result;
	}

	/** Returns the characters as a standard UTF-16 string (stand-in conversions use it). */
	const std::u16string& GetStdString() const { return Data; }

	TCHAR* begin() { return Data.data(); }
	TCHAR* end() { return Data.data() + Data.size(); }
	const TCHAR* begin() const { return Data.data(); }
	const TCHAR* end() const { return Data.data() + Data.size(); }

private:
	std::u16string Data;
};

CORE_API FString operator+(const FString& Lhs, const FString& Rhs);
CORE_API FString operator+(const FString& Lhs, const TCHAR* Rhs);
CORE_API FString operator+(const TCHAR* Lhs, const FString& Rhs);
CORE_API FString operator+(const FString& Lhs, TCHAR Rhs);
CORE_API FString operator/(const FString& Lhs, const FString& Rhs);
CORE_API FString operator/(const FString& Lhs, const TCHAR* Rhs);

inline bool operator==(const TCHAR* Lhs, const FString& Rhs) { return Rhs == Lhs; }
inline bool operator!=(const TCHAR* Lhs, const FString& Rhs) { return !(Rhs == Lhs); }

/** Hashes ignoring case, matching FString's comparison. */
CORE_API uint32 GetTypeHash(const FString& S);

inline FString LexToString(const FString& Value) { return Value; }
inline FString LexToString(const TCHAR* Value) { return FString(Value); }
inline FString LexToString(bool Value) { return Value ? FString(TEXT("true")) : FString(TEXT("false")); }
CORE_API FString LexToString(int32 Value);
CORE_API FString LexToString(int64 Value);
CORE_API FString LexToString(uint32 Value);
CORE_API FString LexToString(uint64 Value);
CORE_API FString LexToString(float Value);
CORE_API FString LexToString(double Value);
CORE_API void LexFromString(int32& OutValue, const TCHAR* Buffer);
CORE_API void LexFromString(int64& OutValue, const TCHAR* Buffer);
CORE_API void LexFromString(float& OutValue, const TCHAR* Buffer);
CORE_API void LexFromString(double& OutValue, const TCHAR* Buffer);
CORE_API void LexFromString(bool& OutValue, const TCHAR* Buffer);
CORE_API void LexFromString(FString& OutValue, const TCHAR* Buffer);
