// SExpandableArea: a titled area whose body the user shows or hides by clicking its header.
#pragma once

#include "CoreMinimal.h"
#include "Fonts/SlateFontInfo.h"
#include "Framework/SlateDelegates.h"
#include "Layout/Margin.h"
#include "Widgets/DeclarativeSyntaxSupport.h"
#include "Widgets/SCompoundWidget.h"

class SLATE_API SExpandableArea : public SCompoundWidget
{
public:
	SLATE_BEGIN_ARGS(SExpandableArea) : _HeaderContent(), _BodyContent(), _AreaTitle(), _InitiallyCollapsed(false), _AreaTitleFont(), _Padding(FMargin(1.0f)) {}
		/** The header's content, shown instead of the title when given. */
		SLATE_NAMED_SLOT(FArguments, HeaderContent)
		SLATE_NAMED_SLOT(FArguments, BodyContent)
		SLATE_ATTRIBUTE(FText, AreaTitle)
		SLATE_ARGUMENT(bool, InitiallyCollapsed)
		SLATE_ATTRIBUTE(FSlateFontInfo, AreaTitleFont)
		SLATE_ATTRIBUTE(FMargin, Padding)
		/** Told the new state each time the user expands or collapses the area. */
		SLATE_EVENT(FOnBooleanValueChanged, OnAreaExpansionChanged)
	SLATE_END_ARGS()

	void Construct(const FArguments& InArgs);

	bool IsExpanded() const { return !bAreaCollapsed; }
	/** Sets the state at once, without telling OnAreaExpansionChanged. */
	virtual void SetExpanded(bool bExpanded) { bAreaCollapsed = !bExpanded; }

private:
	/** The header's button: toggles the area and tells OnAreaExpansionChanged. */
	FReply OnHeaderClicked();

	bool bAreaCollapsed = false;
	FOnBooleanValueChanged OnAreaExpansionChanged;
};
