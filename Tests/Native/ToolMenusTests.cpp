// The menu system's sections: where a new section goes among those a menu has.

#include <gtest/gtest.h>

#include "CoreMinimal.h"
#include "ToolMenus.h"

namespace
{
	TArray<FString> SectionNames(UToolMenu* Menu)
	{
		TArray<FString> Names;
		for (const FToolMenuSection& Section : Menu->GetSections())
		{
			Names.Add(Section.Name.ToString());
		}
		return Names;
	}
}

TEST(ToolMenuSections, ANewSectionGoesWhereItsInsertPositionSays)
{
	UToolMenu* Menu = UToolMenus::Get()->ExtendMenu(TEXT("ToolMenusTests.Sections"));
	Menu->AddSection(TEXT("Middle"));
	Menu->AddSection(TEXT("Top"), TAttribute<FText>(), FToolMenuInsert(NAME_None, EToolMenuInsertType::First));
	Menu->AddSection(TEXT("End"));
	Menu->AddSection(TEXT("BeforeEnd"), TAttribute<FText>(), FToolMenuInsert(TEXT("End"), EToolMenuInsertType::Before));
	Menu->AddSection(TEXT("AfterTop"), TAttribute<FText>(), FToolMenuInsert(TEXT("Top"), EToolMenuInsertType::After));
	Menu->AddSection(TEXT("Orphan"), TAttribute<FText>(), FToolMenuInsert(TEXT("Missing"), EToolMenuInsertType::Before));
	EXPECT_EQ(SectionNames(Menu), TArray<FString>({TEXT("Top"), TEXT("AfterTop"), TEXT("Middle"), TEXT("BeforeEnd"), TEXT("End"), TEXT("Orphan")}));

	// An existing section stays where it is.
	FToolMenuSection& Again = Menu->AddSection(TEXT("Middle"), TAttribute<FText>(), FToolMenuInsert(NAME_None, EToolMenuInsertType::First));
	EXPECT_EQ(Again.Name, FName(TEXT("Middle")));
	EXPECT_EQ(SectionNames(Menu)[2], TEXT("Middle"));
}
