// SButton: a button that runs its OnClicked when clicked; its content is its Text or its slot.
#pragma once

#include "CoreMinimal.h"
#include "Framework/SlateDelegates.h"
#include "Layout/Margin.h"
#include "Types/SlateEnums.h"
#include "Widgets/DeclarativeSyntaxSupport.h"
#include "Widgets/SCompoundWidget.h"

class SLATE_API SButton : public SCompoundWidget
{
public:
	SLATE_BEGIN_ARGS(SButton) : _Content(), _Text(), _HAlign(HAlign_Fill), _VAlign(VAlign_Fill), _ContentPadding(FMargin(4.0f, 2.0f)) {}
		SLATE_DEFAULT_SLOT(FArguments, Content)
		/** Shown as the button's content when no content is given. */
		SLATE_ATTRIBUTE(FText, Text)
		SLATE_EVENT(FOnClicked, OnClicked)
		SLATE_ARGUMENT(EHorizontalAlignment, HAlign)
		SLATE_ARGUMENT(EVerticalAlignment, VAlign)
		SLATE_ATTRIBUTE(FMargin, ContentPadding)
	SLATE_END_ARGS()

	void Construct(const FArguments& InArgs);

	/** Runs OnClicked as a click on the button does, and returns its reply. */
	void SimulateClick();

	void SetOnClicked(FOnClicked InOnClicked) { OnClicked = InOnClicked; }

private:
	FReply ExecuteOnClick();

	FOnClicked OnClicked;
};
