// FUIAction: what a button or menu entry does when used, and whether it can be used.
#pragma once

#include "CoreMinimal.h"
#include "Delegates/Delegate.h"

DECLARE_DELEGATE(FExecuteAction);
DECLARE_DELEGATE_RetVal(bool, FCanExecuteAction);
DECLARE_DELEGATE_RetVal(bool, FIsActionButtonVisible);

/** Whether holding a key down repeats an action. */
enum class EUIActionRepeatMode
{
	RepeatDisabled,
	RepeatEnabled,
};

struct SLATE_API FUIAction
{
	FUIAction() = default;
	FUIAction(FExecuteAction InitExecuteAction, EUIActionRepeatMode InitRepeatMode = EUIActionRepeatMode::RepeatDisabled)
		: ExecuteAction(MoveTemp(InitExecuteAction)), RepeatMode(InitRepeatMode)
	{
	}
	FUIAction(FExecuteAction InitExecuteAction, FCanExecuteAction InitCanExecuteAction, EUIActionRepeatMode InitRepeatMode = EUIActionRepeatMode::RepeatDisabled)
		: ExecuteAction(MoveTemp(InitExecuteAction)), CanExecuteAction(MoveTemp(InitCanExecuteAction)), RepeatMode(InitRepeatMode)
	{
	}

	/** True unless a can-execute delegate says no. */
	bool CanExecute() const { return !CanExecuteAction.IsBound() || CanExecuteAction.Execute(); }

	/** Runs the action when it can execute; true when it ran. */
	bool Execute() const
	{
		if (CanExecute())
		{
			return ExecuteAction.ExecuteIfBound();
		}
		return false;
	}

	bool IsBound() const { return ExecuteAction.IsBound(); }

	FExecuteAction ExecuteAction;
	FCanExecuteAction CanExecuteAction;
	EUIActionRepeatMode RepeatMode = EUIActionRepeatMode::RepeatDisabled;
};
