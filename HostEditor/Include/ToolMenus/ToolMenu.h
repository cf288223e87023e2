// UToolMenu: a menu (or menu bar) made of sections; registered menus are extended by modules, and a
// generated copy of one is what the user sees when it opens.
#pragma once

#include "CoreMinimal.h"
#include "Framework/MultiBox/MultiBoxDefs.h"
#include "ToolMenuContext.h"
#include "ToolMenuMisc.h"
#include "ToolMenuSection.h"
#include "UObject/Object.h"
#include "UObject/UObjectGlobals.h"

#include "ToolMenu.generated.h"

UCLASS()
class TOOLMENUS_API UToolMenu : public UObject
{
	GENERATED_BODY()

public:
	UToolMenu(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	/**
	 * Adds a section at InPosition, or returns the one of that name (giving it the label when one is
	 * given). A position relative to a section the menu does not have adds the section at the end.
	 */
	FToolMenuSection& AddSection(const FName SectionName, const TAttribute<FText>& InLabel = TAttribute<FText>(), const FToolMenuInsert InPosition = FToolMenuInsert());
	FToolMenuSection& FindOrAddSection(const FName SectionName);
	FToolMenuSection& FindOrAddSection(const FName SectionName, const TAttribute<FText>& InLabel, const FToolMenuInsert InPosition = FToolMenuInsert());
	FToolMenuSection* FindSection(const FName SectionName);
	void RemoveSection(const FName SectionName);

	FName GetMenuName() const { return MenuName; }
	const TArray<FToolMenuSection>& GetSections() const { return Sections; }

	FName MenuName;
	FName MenuParent;
	EMultiBoxType MenuType = EMultiBoxType::Menu;
	FToolMenuContext Context;
	/** True for a menu registered by its owner rather than only extended by others. */
	bool bRegistered = false;
	TArray<FToolMenuSection> Sections;
};
