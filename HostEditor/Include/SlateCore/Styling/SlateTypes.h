// The styles and states of Slate's standard widgets.
#pragma once

#include "CoreMinimal.h"

/** The state of a check box. */
enum class ECheckBoxState : uint8
{
	Unchecked,
	Checked,
	Undetermined,
};

namespace ESlateCheckBoxType
{
	enum Type : int
	{
		/** A box with a tick. */
		CheckBox,
		/** A button that stays pressed while checked. */
		ToggleButton,
	};
}

/** How a check box looks (the headless editor draws nothing, so only its kind is kept). */
struct SLATECORE_API FCheckBoxStyle
{
	ESlateCheckBoxType::Type CheckBoxType = ESlateCheckBoxType::CheckBox;

	FCheckBoxStyle& SetCheckBoxType(ESlateCheckBoxType::Type InCheckBoxType)
	{
		CheckBoxType = InCheckBoxType;
		return *this;
	}

	static const FCheckBoxStyle& GetDefault();
};
