// FUIAction: what a button or menu entry does when used, and whether it can be used.
#pragma once

#include "CoreMinimal.h"
#include "Delegates/Delegate.h"

DECLARE_DELEGATE(FExecuteAction);
DECLARE_DELEGATE_RetVal(bool, FCanExecuteAction);
DECLARE_DELEGATE_RetVal(bool, FIsActionButtonVisible);

struct SLATE_API FUIAction
{
	FUIAction() = default;
	FUIAction(FExecuteAction InitExecuteAction) : ExecuteAction(MoveTemp(InitExecuteAction)) {}
	FUIAction(FExecuteAction InitExecuteAction, FCanExecuteAction InitCanExecuteAction)
		: ExecuteAction(MoveTemp(InitExecuteAction)), CanExecuteAction(MoveTemp(InitCanExecuteAction))
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
};
