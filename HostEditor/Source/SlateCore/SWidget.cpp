// The widget base, its slots and the null widget.

#include "Widgets/SWidget.h"

#include "Layout/Children.h"
#include "Widgets/SNullWidget.h"

namespace
{
	/** What SNullWidget::NullWidget is: a widget with no children that stands for "nothing". */
	class SNullWidgetContent : public SWidget
	{
	};

	TSharedRef<SWidget> MakeNullWidget()
	{
		TSharedRef<SWidget> Widget = MakeShared<SNullWidgetContent>();
		Widget->SWidgetConstruct(FName(TEXT("SNullWidget")), __FILE__, __LINE__);
		return Widget;
	}
}

TSharedRef<SWidget> SNullWidget::NullWidget = MakeNullWidget();

SWidget::SWidget() = default;
SWidget::~SWidget() = default;

FString SWidget::GetReadableLocation() const
{
	return CreatedInLocation;
}

FChildren* SWidget::GetChildren()
{
	static FNoChildren NoChildren;
	return &NoChildren;
}

void SWidget::SWidgetConstruct(FName InType, const ANSICHAR* InFile, int32 InLine)
{
	TypeOfWidget = InType;
	CreatedInLocation = FString::Printf(TEXT("%s(%d)"), UTF8_TO_TCHAR(InFile), InLine);
}

TSharedRef<SWidget> FNoChildren::GetChildAt(int32 Index)
{
	checkf(false, TEXT("A widget without children has no child %d"), Index);
	return SNullWidget::NullWidget;
}

FSimpleSlot::FSimpleSlot() : Widget(SNullWidget::NullWidget)
{
}

void FSimpleSlot::AttachWidget(const TSharedRef<SWidget>& InWidget)
{
	Widget = InWidget;
}

void FSimpleSlot::DetachWidget()
{
	Widget = SNullWidget::NullWidget;
}

TSharedRef<SWidget> FSimpleSlot::GetChildAt(int32 Index)
{
	check(Index == 0);
	return Widget;
}
