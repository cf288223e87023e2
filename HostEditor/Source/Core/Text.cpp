#include "Internationalization/Text.h"

#include "Misc/CString.h"

FFormatArgumentValue::FFormatArgumentValue(const FText& Value) : Formatted(Value.ToString()) {}
FFormatArgumentValue::FFormatArgumentValue(int32 Value) : Formatted(FText::AsNumber(Value).ToString()) {}
FFormatArgumentValue::FFormatArgumentValue(int64 Value) : Formatted(FText::AsNumber(Value).ToString()) {}
FFormatArgumentValue::FFormatArgumentValue(uint32 Value) : Formatted(FText::AsNumber((int64)Value).ToString()) {}
FFormatArgumentValue::FFormatArgumentValue(float Value) : Formatted(FText::AsNumber(Value).ToString()) {}
FFormatArgumentValue::FFormatArgumentValue(double Value) : Formatted(FText::AsNumber(Value).ToString()) {}

namespace
{
	/** Groups the digits of an integer in threes with commas, as the invariant culture shows numbers. */
	FString GroupDigits(const FString& Digits)
	{
		const bool bNegative = Digits.StartsWith(TEXT("-"));
		const FString Body = bNegative ? Digits.Mid(1) : Digits;
		FString Result;
		for (int32 Index = 0; Index < Body.Len(); ++Index)
		{
			if (Index > 0 && (Body.Len() - Index) % 3 == 0)
			{
				Result.AppendChar(',');
			}
			Result.AppendChar(Body[Index]);
		}
		return bNegative ? TEXT("-") + Result : Result;
	}

	/** Formats a fraction with up to three decimals and grouped integer digits. */
	FString FormatFloating(double Value)
	{
		FString Text = FString::Printf(TEXT("%.3f"), Value);
		while (Text.EndsWith(TEXT("0")))
		{
			Text.LeftChopInline(1);
		}
		Text.RemoveFromEnd(TEXT("."));
		FString Whole;
		FString Fraction;
		if (Text.Split(TEXT("."), &Whole, &Fraction))
		{
			return GroupDigits(Whole) + TEXT(".") + Fraction;
		}
		return GroupDigits(Text);
	}

	/** Substitutes each {Argument} found in Pattern by Lookup; unknown arguments stay as written. */
	template <typename LookupType>
	FString SubstituteArguments(const FString& Pattern, const LookupType& Lookup)
	{
		FString Result;
		for (int32 Index = 0; Index < Pattern.Len(); ++Index)
		{
			const TCHAR Char = Pattern[Index];
			if (Char == '`' && Index + 1 < Pattern.Len() && (Pattern[Index + 1] == '{' || Pattern[Index + 1] == '}' || Pattern[Index + 1] == '`'))
			{
				Result.AppendChar(Pattern[++Index]);
				continue;
			}
			if (Char == '{')
			{
				const int32 Close = Pattern.Find(TEXT("}"), ESearchCase::CaseSensitive, ESearchDir::FromStart, Index);
				if (Close != INDEX_NONE)
				{
					const FString Argument = Pattern.Mid(Index + 1, Close - Index - 1);
					FString Value;
					if (Lookup(Argument, Value))
					{
						Result += Value;
						Index = Close;
						continue;
					}
				}
			}
			Result.AppendChar(Char);
		}
		return Result;
	}
}

FText::FText()
	: Data(MakeShared<FTextData>())
{
}

FText::FText(TSharedRef<FTextData> InData)
	: Data(MoveTemp(InData))
{
}

const FText& FText::GetEmpty()
{
	static const FText Empty;
	return Empty;
}

FText FText::FromString(const FString& String)
{
	TSharedRef<FTextData> NewData = MakeShared<FTextData>();
	NewData->Display = String;
	return FText(NewData);
}

FText FText::FromString(FString&& String)
{
	TSharedRef<FTextData> NewData = MakeShared<FTextData>();
	NewData->Display = MoveTemp(String);
	return FText(NewData);
}

FText FText::FromName(const FName& Name)
{
	return FromString(Name.ToString());
}

FText FText::AsCultureInvariant(const FString& String)
{
	TSharedRef<FTextData> NewData = MakeShared<FTextData>();
	NewData->Display = String;
	NewData->bCultureInvariant = true;
	return FText(NewData);
}

FText FText::AsNumber(int32 Value)
{
	return AsCultureInvariant(GroupDigits(FString::FromInt(Value)));
}

FText FText::AsNumber(int64 Value)
{
	return AsCultureInvariant(GroupDigits(LexToString(Value)));
}

FText FText::AsNumber(float Value)
{
	return AsCultureInvariant(FormatFloating(Value));
}

FText FText::AsNumber(double Value)
{
	return AsCultureInvariant(FormatFloating(Value));
}

FText FText::AsLocalizable_Advanced(const TCHAR* Namespace, const TCHAR* Key, const TCHAR* Source)
{
	TSharedRef<FTextData> NewData = MakeShared<FTextData>();
	NewData->Display = Source;
	NewData->Namespace = FString(Namespace);
	NewData->Key = FString(Key);
	return FText(NewData);
}

FText FText::Format(const FText& Pattern, const FFormatOrderedArguments& Arguments)
{
	return FromString(SubstituteArguments(Pattern.ToString(), [&Arguments](const FString& Argument, FString& OutValue)
	{
		if (!Argument.IsNumeric() || Argument.Contains(TEXT(".")) || Argument.StartsWith(TEXT("-")))
		{
			return false;
		}
		const int32 Index = FCString::Atoi(*Argument);
		if (!Arguments.IsValidIndex(Index))
		{
			return false;
		}
		OutValue = Arguments[Index].ToFormattedString();
		return true;
	}));
}

FText FText::Format(const FText& Pattern, const FFormatNamedArguments& Arguments)
{
	return FromString(SubstituteArguments(Pattern.ToString(), [&Arguments](const FString& Argument, FString& OutValue)
	{
		const FFormatArgumentValue* Value = Arguments.Find(Argument);
		if (!Value)
		{
			return false;
		}
		OutValue = Value->ToFormattedString();
		return true;
	}));
}

const FString& FText::ToString() const
{
	return Data->Display;
}

bool FText::IsEmpty() const
{
	return Data->Display.IsEmpty();
}

bool FText::IsEmptyOrWhitespace() const
{
	return Data->Display.TrimStartAndEnd().IsEmpty();
}

bool FText::IsCultureInvariant() const
{
	return Data->bCultureInvariant;
}

TOptional<FString> FTextInspector::GetNamespace(const FText& Text)
{
	return Text.Data->Namespace;
}

TOptional<FString> FTextInspector::GetKey(const FText& Text)
{
	return Text.Data->Key;
}

const FString* FTextInspector::GetSourceString(const FText& Text)
{
	return &Text.Data->Display;
}
