// The kinds of user interface that an action can appear as.
#pragma once

#include "CoreMinimal.h"

enum class EUserInterfaceActionType : uint8
{
	None,
	/** Momentary buttons or menu items: execute a delegate when clicked. */
	Button,
	ToggleButton,
	RadioButton,
	Check,
	CollapsedButton,
};
