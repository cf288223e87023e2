// SCompoundWidget: a widget made of one child, filled through ChildSlot in Construct.
#pragma once

#include "CoreMinimal.h"
#include "Layout/Children.h"
#include "Widgets/SWidget.h"

class SLATECORE_API SCompoundWidget : public SWidget
{
public:
	virtual FChildren* GetChildren() override { return &ChildSlot; }

protected:
	SCompoundWidget() = default;

	FSimpleSlot ChildSlot;
};
