// STextBlock: a line of read-only text.
#pragma once

#include "CoreMinimal.h"
#include "Widgets/DeclarativeSyntaxSupport.h"
#include "Widgets/SWidget.h"

class SLATE_API STextBlock : public SWidget
{
public:
	SLATE_BEGIN_ARGS(STextBlock) : _Text(), _ToolTipText(), _AutoWrapText(false) {}
		SLATE_ATTRIBUTE(FText, Text)
		SLATE_ATTRIBUTE(FText, ToolTipText)
		SLATE_ATTRIBUTE(bool, AutoWrapText)
	SLATE_END_ARGS()

	void Construct(const FArguments& InArgs);

	/** The text as shown now (a bound attribute is read afresh). */
	const FText& GetText() const { return BoundText.Get(); }
	void SetText(const TAttribute<FText>& InText) { BoundText = InText; }
	FText GetToolTipText() const { return ToolTipText.Get(); }
	bool GetAutoWrapText() const { return AutoWrapText.Get(false); }

private:
	TAttribute<FText> BoundText;
	TAttribute<FText> ToolTipText;
	TAttribute<bool> AutoWrapText;
};
