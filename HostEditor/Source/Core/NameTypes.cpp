#include "UObject/NameTypes.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace
{
	/**
	 * The process-wide name table. Comparison entries are keyed by the ASCII-lower-cased text, display
	 * entries by the exact text; index 0 of both is the empty name, spelled "None".
	 */
	struct FNameTable
	{
		std::vector<std::u16string> DisplayStrings{u"None"};
		std::unordered_map<std::u16string, uint32> ComparisonIndices{{u"none", 0}};
		std::unordered_map<std::u16string, uint32> DisplayIndices{{u"None", 0}};
		std::vector<uint32> DisplayToComparison{0};

		static FNameTable& Get()
		{
			static FNameTable Table;
			return Table;
		}
	};

	std::u16string AsciiLower(const std::u16string& Text)
	{
		std::u16string Result(Text);
		for (char16_t& Char : Result)
		{
			if (Char >= 'A' && Char <= 'Z')
			{
				Char = (char16_t)(Char + ('a' - 'A'));
			}
		}
		return Result;
	}
}

FName::FName(const TCHAR* Name, EFindName FindType)
{
	Init(FString(Name), FindType);
}

FName::FName(const ANSICHAR* Name, EFindName FindType)
{
	Init(FString(Name), FindType);
}

FName::FName(const FString& Name, EFindName FindType)
{
	Init(Name, FindType);
}

void FName::Init(const FString& Name, EFindName FindType)
{
	if (Name.IsEmpty())
	{
		return;
	}
	FNameTable& Table = FNameTable::Get();
	const std::u16string& Exact = Name.GetStdString();
	const auto DisplayIt = Table.DisplayIndices.find(Exact);
	if (DisplayIt != Table.DisplayIndices.end())
	{
		DisplayIndex = DisplayIt->second;
		ComparisonIndex = Table.DisplayToComparison[DisplayIndex];
		return;
	}
	const std::u16string Folded = AsciiLower(Exact);
	const auto ComparisonIt = Table.ComparisonIndices.find(Folded);
	if (ComparisonIt == Table.ComparisonIndices.end() && FindType == FNAME_Find)
	{
		return;
	}
	uint32 NewComparison = 0;
	if (ComparisonIt != Table.ComparisonIndices.end())
	{
		NewComparison = ComparisonIt->second;
	}
	else
	{
		NewComparison = (uint32)Table.ComparisonIndices.size();
		Table.ComparisonIndices.emplace(Folded, NewComparison);
	}
	const uint32 NewDisplay = (uint32)Table.DisplayStrings.size();
	Table.DisplayStrings.push_back(Exact);
	Table.DisplayToComparison.push_back(NewComparison);
	Table.DisplayIndices.emplace(Exact, NewDisplay);
	ComparisonIndex = NewComparison;
	DisplayIndex = NewDisplay;
}

FString FName::ToString() const
{
	return FString(std::u16string(FNameTable::Get().DisplayStrings[DisplayIndex]));
}

int32 FName::Compare(const FName& Other) const
{
	if (ComparisonIndex == Other.ComparisonIndex)
	{
		return 0;
	}
	return ToString().Compare(Other.ToString(), ESearchCase::IgnoreCase);
}

bool FName::IsEqual(const FName& Other, ESearchCase::Type SearchCase) const
{
	return SearchCase == ESearchCase::IgnoreCase ? *this == Other : DisplayIndex == Other.DisplayIndex;
}
