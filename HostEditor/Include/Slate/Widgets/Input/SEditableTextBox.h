// SEditableTextBox: a one-line text the user edits; it tells OnTextChanged as the text changes and
// OnTextCommitted when the edit is committed.
#pragma once

#include "CoreMinimal.h"
#include "Framework/SlateDelegates.h"
#include "Misc/Optional.h"
#include "Widgets/DeclarativeSyntaxSupport.h"
#include "Widgets/SCompoundWidget.h"

namespace HostEditor
{
	class FSlateUser;
}

class SLATE_API SEditableTextBox : public SCompoundWidget
{
public:
	SLATE_BEGIN_ARGS(SEditableTextBox) : _Text(), _HintText(), _IsReadOnly(false) {}
		SLATE_ATTRIBUTE(FText, Text)
		SLATE_ATTRIBUTE(FText, HintText)
		SLATE_ATTRIBUTE(bool, IsReadOnly)
		SLATE_EVENT(FOnTextChanged, OnTextChanged)
		SLATE_EVENT(FOnTextCommitted, OnTextCommitted)
	SLATE_END_ARGS()

	void Construct(const FArguments& InArgs);

	/** The text shown now: the text being edited, else the Text attribute read afresh. */
	FText GetText() const;
	void SetText(const TAttribute<FText>& InNewText) { BoundText = InNewText; }
	void SetHintText(const TAttribute<FText>& InHintText) { HintText = InHintText; }

private:
	friend class HostEditor::FSlateUser;

	TAttribute<FText> BoundText;
	TAttribute<FText> HintText;
	TAttribute<bool> bIsReadOnly;
	FOnTextChanged OnTextChanged;
	FOnTextCommitted OnTextCommitted;
	/** What the user has typed and not yet committed. */
	TOptional<FText> EditedText;
};
