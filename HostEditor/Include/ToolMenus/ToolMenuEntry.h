// FToolMenuEntry: one block of a menu section, such as a menu entry or a sub-menu.
#pragma once

#include "CoreMinimal.h"
#include "Framework/Commands/UICommandInfo.h"
#include "Framework/MultiBox/MultiBoxDefs.h"
#include "Misc/Attribute.h"
#include "Textures/SlateIcon.h"
#include "ToolMenuDelegates.h"
#include "ToolMenuOwner.h"

struct TOOLMENUS_API FToolMenuEntrySubMenuData
{
	bool bIsSubMenu = false;
	bool bOpenSubMenuOnClick = false;
	FNewToolMenuChoice ConstructMenu;
};

struct TOOLMENUS_API FToolMenuEntry
{
	FToolMenuEntry() = default;

	static FToolMenuEntry InitMenuEntry(const FName InName, const TAttribute<FText>& InLabel, const TAttribute<FText>& InToolTip, const TAttribute<FSlateIcon>& InIcon,
		const FToolUIActionChoice& InAction, const EUserInterfaceActionType UserInterfaceActionType = EUserInterfaceActionType::Button, const FName InTutorialHighlightName = NAME_None);

	static FToolMenuEntry InitSubMenu(const FName InName, const TAttribute<FText>& InLabel, const TAttribute<FText>& InToolTip, const FNewToolMenuChoice& InMakeMenu,
		bool bInOpenSubMenuOnClick = false, const TAttribute<FSlateIcon>& InIcon = TAttribute<FSlateIcon>(), const bool bShouldCloseWindowAfterMenuSelection = true,
		const FName InTutorialHighlightName = NAME_None);

	bool IsSubMenu() const { return SubMenuData.bIsSubMenu; }
	/** The action the entry runs when chosen, or null. */
	const FUIAction* GetActionForCommand() const { return Action.GetUIAction(); }

	FName Name;
	FToolMenuOwner Owner;
	EMultiBlockType Type = EMultiBlockType::None;
	EUserInterfaceActionType UserInterfaceActionType = EUserInterfaceActionType::Button;
	FName TutorialHighlightName;
	TAttribute<FText> Label;
	TAttribute<FText> ToolTip;
	TAttribute<FSlateIcon> Icon;
	FToolUIActionChoice Action;
	FToolMenuEntrySubMenuData SubMenuData;
	bool bShouldCloseWindowAfterMenuSelection = true;
};
