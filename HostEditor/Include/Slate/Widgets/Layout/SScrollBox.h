// SScrollBox: a list of slots that scrolls when it is longer than the space it is given.
#pragma once

#include "CoreMinimal.h"
#include "Layout/Children.h"
#include "Layout/Margin.h"
#include "Misc/Attribute.h"
#include "Types/SlateEnums.h"
#include "Widgets/DeclarativeSyntaxSupport.h"
#include "Widgets/SCompoundWidget.h"

class SLATE_API SScrollBox : public SCompoundWidget
{
public:
	struct FSlotArguments;

	class SLATE_API FSlot
	{
	public:
		using FSlotArguments = SScrollBox::FSlotArguments;

		const TSharedRef<SWidget>& GetWidget() const { return Widget; }
		FMargin GetPadding() const { return SlotPadding.Get(FMargin()); }

	private:
		friend struct SScrollBox::FSlotArguments;
		friend class SScrollBox;

		TAttribute<FMargin> SlotPadding;
		TSharedRef<SWidget> Widget = SNullWidget::NullWidget;
	};

	/** What SScrollBox::Slot() returns: the slot being declared. */
	struct FSlotArguments
	{
		FSlotArguments& Padding(const TAttribute<FMargin>& InPadding)
		{
			Slot.SlotPadding = InPadding;
			return *this;
		}
		FSlotArguments& Padding(float Uniform) { return Padding(TAttribute<FMargin>(FMargin(Uniform))); }
		FSlotArguments& Padding(float Horizontal, float Vertical) { return Padding(TAttribute<FMargin>(FMargin(Horizontal, Vertical))); }
		FSlotArguments& Padding(float Left, float Top, float Right, float Bottom) { return Padding(TAttribute<FMargin>(FMargin(Left, Top, Right, Bottom))); }

		FSlotArguments& operator[](const TSharedRef<SWidget>& InWidget)
		{
			Slot.Widget = InWidget;
			return *this;
		}

		FSlot Slot;
	};

	static FSlotArguments Slot() { return FSlotArguments(); }

	SLATE_BEGIN_ARGS(SScrollBox) : _Orientation(Orient_Vertical) {}
		WidgetArgsType& operator+(const FSlotArguments& SlotToAdd)
		{
			_Slots.Add(SlotToAdd.Slot);
			return this->Me();
		}
		TArray<FSlot> _Slots;
		SLATE_ARGUMENT(EOrientation, Orientation)
	SLATE_END_ARGS()

	SScrollBox() : Children(Slots) {}

	void Construct(const FArguments& InArgs);

	virtual FChildren* GetChildren() override { return &Children; }

	EOrientation GetOrientation() const { return Orientation; }
	void ClearChildren() { Slots.Empty(); }

private:
	class FScrollChildren : public FChildren
	{
	public:
		explicit FScrollChildren(const TArray<FSlot>& InSlots) : SlotsRef(InSlots) {}
		virtual int32 Num() const override { return SlotsRef.Num(); }
		virtual TSharedRef<SWidget> GetChildAt(int32 Index) override { return SlotsRef[Index].GetWidget(); }

	private:
		const TArray<FSlot>& SlotsRef;
	};

	TArray<FSlot> Slots;
	FScrollChildren Children;
	EOrientation Orientation = Orient_Vertical;
};
