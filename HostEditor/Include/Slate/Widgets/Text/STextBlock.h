// STextBlock: a line of read-only text.
#pragma once

#include "CoreMinimal.h"
#include "Fonts/SlateFontInfo.h"
#include "Styling/SlateColor.h"
#include "Widgets/DeclarativeSyntaxSupport.h"
#include "Widgets/SWidget.h"

namespace HostEditor
{
	class FSlateUser;
}

class SLATE_API STextBlock : public SWidget
{
public:
	SLATE_BEGIN_ARGS(STextBlock) : _Text(), _Font(), _ColorAndOpacity(FLinearColor::White), _AutoWrapText(false) {}
		SLATE_ATTRIBUTE(FText, Text)
		SLATE_ATTRIBUTE(FSlateFontInfo, Font)
		SLATE_ATTRIBUTE(FSlateColor, ColorAndOpacity)
		SLATE_ATTRIBUTE(bool, AutoWrapText)
	SLATE_END_ARGS()

	void Construct(const FArguments& InArgs);

	/** The text as shown now (a bound attribute is read afresh). */
	const FText& GetText() const { return BoundText.Get(); }
	void SetText(const TAttribute<FText>& InText) { BoundText = InText; }
	void SetFont(const TAttribute<FSlateFontInfo>& InFont) { Font = InFont; }
	void SetColorAndOpacity(const TAttribute<FSlateColor>& InColorAndOpacity) { ColorAndOpacity = InColorAndOpacity; }

private:
	friend class HostEditor::FSlateUser;

	TAttribute<FText> BoundText;
	TAttribute<FSlateFontInfo> Font;
	TAttribute<FSlateColor> ColorAndOpacity;
	TAttribute<bool> AutoWrapText;
};
