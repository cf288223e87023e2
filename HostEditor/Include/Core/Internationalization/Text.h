// FText: display text, either localisable (namespace and key) or culture-invariant.
#pragma once

#include "Containers/Array.h"
#include "Containers/Map.h"
#include "Containers/UnrealString.h"
#include "CoreTypes.h"
#include "Misc/Optional.h"
#include "Templates/SharedPointer.h"
#include "UObject/NameTypes.h"

class FText;

/** One value substituted into an FText::Format pattern. */
class CORE_API FFormatArgumentValue
{
public:
	FFormatArgumentValue(const FText& Value);
	FFormatArgumentValue(int32 Value);
	FFormatArgumentValue(int64 Value);
	FFormatArgumentValue(uint32 Value);
	FFormatArgumentValue(float Value);
	FFormatArgumentValue(double Value);

	FString ToFormattedString() const { return Formatted; }

private:
	FString Formatted;
};

typedef TArray<FFormatArgumentValue> FFormatOrderedArguments;
typedef TMap<FString, FFormatArgumentValue> FFormatNamedArguments;

class CORE_API FText
{
public:
	/** The empty text. */
	FText();

	static const FText& GetEmpty();
	static FText FromString(const FString& String);
	static FText FromString(FString&& String);
	static FText FromName(const FName& Name);
	static FText AsCultureInvariant(const FString& String);
	static FText AsNumber(int32 Value);
	static FText AsNumber(int64 Value);
	static FText AsNumber(float Value);
	static FText AsNumber(double Value);
	/** Makes localisable text as LOCTEXT and NSLOCTEXT do. */
	static FText AsLocalizable_Advanced(const TCHAR* Namespace, const TCHAR* Key, const TCHAR* Source);

	/** Replaces {0}, {1}, ... in Pattern with the arguments in order. */
	static FText Format(const FText& Pattern, const FFormatOrderedArguments& Arguments);
	/** Replaces {Name} in Pattern with the named arguments. */
	static FText Format(const FText& Pattern, const FFormatNamedArguments& Arguments);
	template <typename... ArgTypes>
		requires(sizeof...(ArgTypes) > 0 && (std::is_constructible_v<FFormatArgumentValue, ArgTypes&&> && ...))
	static FText Format(const FText& Pattern, ArgTypes&&... Args)
	{
		FFormatOrderedArguments Arguments;
		(Arguments.Add(FFormatArgumentValue(Forward<ArgTypes>(Args))), ...);
		return Format(Pattern, Arguments);
	}

	const FString& ToString() const;
	bool IsEmpty() const;
	bool IsEmptyOrWhitespace() const;
	bool IsCultureInvariant() const;
	bool EqualTo(const FText& Other) const { return ToString().Equals(Other.ToString()); }
	bool IdenticalTo(const FText& Other) const { return Data == Other.Data; }

private:
	friend class FTextInspector;

	struct FTextData
	{
		FString Display;
		TOptional<FString> Namespace;
		TOptional<FString> Key;
		bool bCultureInvariant = false;
	};

	explicit FText(TSharedRef<FTextData> InData);

	TSharedRef<FTextData> Data;
};

/** Reads the localisation identity of a text. */
class CORE_API FTextInspector
{
public:
	static TOptional<FString> GetNamespace(const FText& Text);
	static TOptional<FString> GetKey(const FText& Text);
	static const FString* GetSourceString(const FText& Text);
};

#define NSLOCTEXT(InNamespace, InKey, InTextLiteral) FText::AsLocalizable_Advanced(TEXT(InNamespace), TEXT(InKey), TEXT(InTextLiteral))
#define LOCTEXT(InKey, InTextLiteral) NSLOCTEXT(LOCTEXT_NAMESPACE, InKey, InTextLiteral)
#define INVTEXT(InTextLiteral) FText::AsCultureInvariant(TEXT(InTextLiteral))
