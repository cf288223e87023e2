// SCheckBox: a box the user ticks or clears; styled "RadioButton" it is one choice of several.
#pragma once

#include "CoreMinimal.h"
#include "Delegates/Delegate.h"
#include "Styling/SlateTypes.h"
#include "Widgets/DeclarativeSyntaxSupport.h"
#include "Widgets/SCompoundWidget.h"

/** The check box's state changed, to the state given. */
DECLARE_DELEGATE_OneParam(FOnCheckStateChanged, ECheckBoxState);

class SLATE_API SCheckBox : public SCompoundWidget
{
public:
	SLATE_BEGIN_ARGS(SCheckBox) : _Content(), _Style(&FCheckBoxStyle::GetDefault()), _IsChecked(ECheckBoxState::Unchecked) {}
		SLATE_DEFAULT_SLOT(FArguments, Content)
		SLATE_STYLE_ARGUMENT(FCheckBoxStyle, Style)
		SLATE_ATTRIBUTE(ECheckBoxState, IsChecked)
		SLATE_EVENT(FOnCheckStateChanged, OnCheckStateChanged)
	SLATE_END_ARGS()

	void Construct(const FArguments& InArgs);

	/** Whether the box is checked now. */
	bool IsChecked() const { return GetCheckedState() == ECheckBoxState::Checked; }
	ECheckBoxState GetCheckedState() const { return IsCheckboxChecked.Get(ECheckBoxState::Unchecked); }

	/** Toggles as a click on the box does: the new state is set (unless bound) and OnCheckStateChanged told. */
	void ToggleCheckedState();

	void SetIsChecked(TAttribute<ECheckBoxState> InIsChecked) { IsCheckboxChecked = InIsChecked; }

	/** The style the box was made with. */
	const FCheckBoxStyle* GetStyle() const { return Style; }

private:
	const FCheckBoxStyle* Style = nullptr;
	TAttribute<ECheckBoxState> IsCheckboxChecked;
	FOnCheckStateChanged OnCheckStateChanged;
};
