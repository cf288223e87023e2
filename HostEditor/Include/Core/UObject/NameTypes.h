// FName: interned names compared without regard to case. Each name keeps the spelling it was made with.
#pragma once

#include "Containers/UnrealString.h"
#include "CoreTypes.h"
#include "UObject/UnrealNames.h"


enum EFindName
{
	FNAME_Find,
	FNAME_Add,
};

class CORE_API FName
{
public:
	FName() = default;
	FName(EName) {}
	FName(const TCHAR* Name, EFindName FindType = FNAME_Add);
	FName(const ANSICHAR* Name, EFindName FindType = FNAME_Add);
	FName(const FString& Name, EFindName FindType = FNAME_Add);

	/** Returns the name's own spelling; "None" for the empty name. */
	FString ToString() const;
	void ToString(FString& Out) const { Out = ToString(); }
	void AppendString(FString& Out) const { Out += ToString(); }
	FString GetPlainNameString() const { return ToString(); }

	bool IsNone() const { return ComparisonIndex == 0; }
	bool IsValid() const { return true; }
	uint32 GetComparisonIndex() const { return ComparisonIndex; }
	uint32 GetDisplayIndex() const { return DisplayIndex; }

	bool operator==(FName Other) const { return ComparisonIndex == Other.ComparisonIndex; }
	bool operator!=(FName Other) const { return ComparisonIndex != Other.ComparisonIndex; }
	bool operator==(EName Other) const { return Other == NAME_None ? IsNone() : false; }
	bool operator!=(EName Other) const { return !(*this == Other); }
	/** Compares the text of two names, ignoring case. */
	int32 Compare(const FName& Other) const;
	bool LexicalLess(const FName& Other) const { return Compare(Other) < 0; }
	bool FastLess(const FName& Other) const { return ComparisonIndex < Other.ComparisonIndex; }
	bool IsEqual(const FName& Other, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase) const;

private:
	void Init(const FString& Name, EFindName FindType);

	uint32 ComparisonIndex = 0;
	uint32 DisplayIndex = 0;
};

inline uint32 GetTypeHash(const FName& Name)
{
	return Name.GetComparisonIndex() * 2654435761u;
}

inline FString LexToString(const FName& Name)
{
	return Name.ToString();
}

inline void LexFromString(FName& OutValue, const TCHAR* Buffer)
{
	OutValue = FName(Buffer);
}

/** Orders names by their text, ignoring case. */
struct FNameLexicalLess
{
	bool operator()(const FName& A, const FName& B) const { return A.LexicalLess(B); }
};

struct FNameFastLess
{
	bool operator()(const FName& A, const FName& B) const { return A.FastLess(B); }
};
