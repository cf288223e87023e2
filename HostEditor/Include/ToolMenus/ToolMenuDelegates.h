// The delegates that fill menus when they open, and the choices of what an entry does.
#pragma once

#include "CoreMinimal.h"
#include "Delegates/Delegate.h"
#include "Framework/Commands/UIAction.h"

class UToolMenu;

DECLARE_DELEGATE_OneParam(FNewToolMenuDelegate, UToolMenu*);

/** How a sub-menu is made when it opens. */
struct TOOLMENUS_API FNewToolMenuChoice
{
	FNewToolMenuChoice() = default;
	FNewToolMenuChoice(const FNewToolMenuDelegate& InNewToolMenuDelegate) : NewToolMenuDelegate(InNewToolMenuDelegate) {}

	FNewToolMenuDelegate NewToolMenuDelegate;
};

/** What an entry does when chosen. */
struct TOOLMENUS_API FToolUIActionChoice
{
	FToolUIActionChoice() = default;
	FToolUIActionChoice(const FUIAction& InAction) : Action(InAction), bHasAction(true) {}
	FToolUIActionChoice(const FExecuteAction& InExecuteAction) : Action(InExecuteAction), bHasAction(true) {}

	/** The action, or null when the choice holds none. */
	const FUIAction* GetUIAction() const { return bHasAction ? &Action : nullptr; }

private:
	FUIAction Action;
	bool bHasAction = false;
};
