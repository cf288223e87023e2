// Box panels and their slots.

#include "Widgets/SBoxPanel.h"

#include "Widgets/SNullWidget.h"

SBoxPanel::FSlot::FSlot() : Widget(SNullWidget::NullWidget)
{
}

void SVerticalBox::Construct(const FArguments& InArgs)
{
	Slots.Empty();
	for (const FSlot& Declared : InArgs._Slots)
	{
		Slots.Add(Declared);
	}
}

void SHorizontalBox::Construct(const FArguments& InArgs)
{
	Slots.Empty();
	for (const FSlot& Declared : InArgs._Slots)
	{
		Slots.Add(Declared);
	}
}
