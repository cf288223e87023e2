// FToolMenuSection: a named, optionally headed group of entries in a menu.
#pragma once

#include "CoreMinimal.h"
#include "ToolMenuEntry.h"
#include "ToolMenuOwner.h"

struct TOOLMENUS_API FToolMenuSection
{
	FToolMenuSection() = default;

	/** Adds the entry, or replaces the section's entry of the same name. */
	FToolMenuEntry& AddEntry(const FToolMenuEntry& Args);

	FToolMenuEntry& AddMenuEntry(const FName InName, const TAttribute<FText>& InLabel, const TAttribute<FText>& InToolTip, const TAttribute<FSlateIcon>& InIcon,
		const FToolUIActionChoice& InAction, const EUserInterfaceActionType UserInterfaceActionType = EUserInterfaceActionType::Button, const FName InTutorialHighlightName = NAME_None);

	FToolMenuEntry& AddSubMenu(const FName InName, const TAttribute<FText>& InLabel, const TAttribute<FText>& InToolTip, const FNewToolMenuChoice& InMakeMenu,
		bool bInOpenSubMenuOnClick = false, const TAttribute<FSlateIcon>& InIcon = TAttribute<FSlateIcon>(), const bool bShouldCloseWindowAfterMenuSelection = true,
		const FName InTutorialHighlightName = NAME_None);

	FToolMenuEntry* FindEntry(const FName InName);
	const FToolMenuEntry* FindEntry(const FName InName) const;

	FName Name;
	TAttribute<FText> Label;
	FToolMenuOwner Owner;
	TArray<FToolMenuEntry> Blocks;
};
