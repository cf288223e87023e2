// SVerticalBox: a panel that stacks its slots top to bottom. Slots are declared in the widget's
// arguments: SNew(SVerticalBox) + SVerticalBox::Slot().AutoHeight().Padding(0, 0, 0, 12)[ Child ].
#pragma once

#include "CoreMinimal.h"
#include "Layout/Children.h"
#include "Layout/Margin.h"
#include "Misc/Attribute.h"
#include "Types/SlateEnums.h"
#include "Types/SlateStructs.h"
#include "Widgets/DeclarativeSyntaxSupport.h"
#include "Widgets/SWidget.h"

/** A panel of slots laid out along one axis. */
class SLATECORE_API SBoxPanel : public SWidget
{
public:
	/** One slot of the panel: its content, its padding and how it takes its share of the length. */
	class SLATECORE_API FSlot
	{
	public:
		FSlot();

		FSizeParam::ESizeRule GetSizeRule() const { return SizeRule; }
		/** The slot's stretch share (a value of 1 for an auto-sized slot). */
		float GetSizeValue() const { return SizeValue.Get(1.0f); }
		FMargin GetPadding() const { return SlotPadding.Get(FMargin()); }
		const TSharedRef<SWidget>& GetWidget() const { return Widget; }
		EHorizontalAlignment GetHorizontalAlignment() const { return HAlignment; }
		EVerticalAlignment GetVerticalAlignment() const { return VAlignment; }

	protected:
		FSizeParam::ESizeRule SizeRule = FSizeParam::SizeRule_Stretch;
		EHorizontalAlignment HAlignment = HAlign_Fill;
		EVerticalAlignment VAlignment = VAlign_Fill;
		TAttribute<float> SizeValue;
		TAttribute<FMargin> SlotPadding;
		TSharedRef<SWidget> Widget;
	};

	virtual FChildren* GetChildren() override { return &Children; }

	int32 NumSlots() const { return Slots.Num(); }
	const FSlot& GetSlot(int32 SlotIndex) const { return Slots[SlotIndex]; }

	/** Removes every slot. */
	void ClearChildren() { Slots.Empty(); }

protected:
	SBoxPanel() : Children(Slots) {}

	/** The slots' widgets as the panel's children. */
	class SLATECORE_API FSlotChildren : public FChildren
	{
	public:
		explicit FSlotChildren(const TArray<FSlot>& InSlots) : SlotsRef(InSlots) {}
		virtual int32 Num() const override { return SlotsRef.Num(); }
		virtual TSharedRef<SWidget> GetChildAt(int32 Index) override { return SlotsRef[Index].GetWidget(); }

	private:
		const TArray<FSlot>& SlotsRef;
	};

	TArray<FSlot> Slots;
	FSlotChildren Children;
};

/** A box panel that stacks its slots vertically. */
class SLATECORE_API SVerticalBox : public SBoxPanel
{
public:
	struct FSlotArguments;

	class SLATECORE_API FSlot : public SBoxPanel::FSlot
	{
	public:
		using FSlotArguments = SVerticalBox::FSlotArguments;

	private:
		friend struct SVerticalBox::FSlotArguments;
	};

	/** What SVerticalBox::Slot() returns: the slot being declared. */
	struct FSlotArguments
	{
		/** The slot is as high as its content. */
		FSlotArguments& AutoHeight()
		{
			Slot.SizeRule = FSizeParam::SizeRule_Auto;
			return *this;
		}

		/** The slot takes StretchCoefficient shares of the height left over. */
		FSlotArguments& FillHeight(const TAttribute<float>& StretchCoefficient)
		{
			Slot.SizeRule = FSizeParam::SizeRule_Stretch;
			Slot.SizeValue = StretchCoefficient;
			return *this;
		}

		FSlotArguments& HAlign(EHorizontalAlignment InHAlignment)
		{
			Slot.HAlignment = InHAlignment;
			return *this;
		}

		FSlotArguments& VAlign(EVerticalAlignment InVAlignment)
		{
			Slot.VAlignment = InVAlignment;
			return *this;
		}

		FSlotArguments& Padding(const TAttribute<FMargin>& InPadding)
		{
			Slot.SlotPadding = InPadding;
			return *this;
		}
		FSlotArguments& Padding(float Uniform) { return Padding(TAttribute<FMargin>(FMargin(Uniform))); }
		FSlotArguments& Padding(float Horizontal, float Vertical) { return Padding(TAttribute<FMargin>(FMargin(Horizontal, Vertical))); }
		FSlotArguments& Padding(float Left, float Top, float Right, float Bottom) { return Padding(TAttribute<FMargin>(FMargin(Left, Top, Right, Bottom))); }

		/** The slot's content. */
		FSlotArguments& operator[](const TSharedRef<SWidget>& InWidget)
		{
			Slot.Widget = InWidget;
			return *this;
		}

		FSlot Slot;
	};

	/** Starts the declaration of a slot. */
	static FSlotArguments Slot() { return FSlotArguments(); }

	SLATE_BEGIN_ARGS(SVerticalBox) {}
		/** Adds a declared slot, in order. */
		WidgetArgsType& operator+(const FSlotArguments& SlotToAdd)
		{
			_Slots.Add(SlotToAdd.Slot);
			return this->Me();
		}
		TArray<FSlot> _Slots;
	SLATE_END_ARGS()

	void Construct(const FArguments& InArgs);
};

/** A box panel that lays its slots out left to right. */
class SLATECORE_API SHorizontalBox : public SBoxPanel
{
public:
	struct FSlotArguments;

	class SLATECORE_API FSlot : public SBoxPanel::FSlot
	{
	public:
		using FSlotArguments = SHorizontalBox::FSlotArguments;

	private:
		friend struct SHorizontalBox::FSlotArguments;
	};

	/** What SHorizontalBox::Slot() returns: the slot being declared. */
	struct FSlotArguments
	{
		/** The slot is as wide as its content. */
		FSlotArguments& AutoWidth()
		{
			Slot.SizeRule = FSizeParam::SizeRule_Auto;
			return *this;
		}

		/** The slot takes StretchCoefficient shares of the width left over. */
		FSlotArguments& FillWidth(const TAttribute<float>& StretchCoefficient)
		{
			Slot.SizeRule = FSizeParam::SizeRule_Stretch;
			Slot.SizeValue = StretchCoefficient;
			return *this;
		}

		FSlotArguments& HAlign(EHorizontalAlignment InHAlignment)
		{
			Slot.HAlignment = InHAlignment;
			return *this;
		}

		FSlotArguments& VAlign(EVerticalAlignment InVAlignment)
		{
			Slot.VAlignment = InVAlignment;
			return *this;
		}

		FSlotArguments& Padding(const TAttribute<FMargin>& InPadding)
		{
			Slot.SlotPadding = InPadding;
			return *this;
		}
		FSlotArguments& Padding(float Uniform) { return Padding(TAttribute<FMargin>(FMargin(Uniform))); }
		FSlotArguments& Padding(float Horizontal, float Vertical) { return Padding(TAttribute<FMargin>(FMargin(Horizontal, Vertical))); }
		FSlotArguments& Padding(float Left, float Top, float Right, float Bottom) { return Padding(TAttribute<FMargin>(FMargin(Left, Top, Right, Bottom))); }

		/** The slot's content. */
		FSlotArguments& operator[](const TSharedRef<SWidget>& InWidget)
		{
			Slot.Widget = InWidget;
			return *this;
		}

		FSlot Slot;
	};

	/** Starts the declaration of a slot. */
	static FSlotArguments Slot() { return FSlotArguments(); }

	SLATE_BEGIN_ARGS(SHorizontalBox) {}
		/** Adds a declared slot, in order. */
		WidgetArgsType& operator+(const FSlotArguments& SlotToAdd)
		{
			_Slots.Add(SlotToAdd.Slot);
			return this->Me();
		}
		TArray<FSlot> _Slots;
	SLATE_END_ARGS()

	void Construct(const FArguments& InArgs);
};
