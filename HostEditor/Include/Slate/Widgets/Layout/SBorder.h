// SBorder: a frame around one content widget, with padding between the frame and the content.
#pragma once

#include "CoreMinimal.h"
#include "Layout/Margin.h"
#include "Widgets/DeclarativeSyntaxSupport.h"
#include "Widgets/SCompoundWidget.h"

class SLATE_API SBorder : public SCompoundWidget
{
public:
	SLATE_BEGIN_ARGS(SBorder) : _Content(), _Padding(FMargin(2.0f)) {}
		SLATE_DEFAULT_SLOT(FArguments, Content)
		SLATE_ATTRIBUTE(FMargin, Padding)
	SLATE_END_ARGS()

	void Construct(const FArguments& InArgs);

	void SetContent(TSharedRef<SWidget> InContent);
	const TSharedRef<SWidget>& GetContent() const { return ChildSlot.GetWidget(); }
	void ClearContent() { ChildSlot.DetachWidget(); }

	void SetPadding(TAttribute<FMargin> InPadding) { Padding = InPadding; }
	/** The padding as laid out now. */
	FMargin GetPadding() const { return Padding.Get(FMargin()); }

private:
	TAttribute<FMargin> Padding;
};
