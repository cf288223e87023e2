// The children of a widget, and the one-child slot that compound widgets and borders hold.
#pragma once

#include "CoreMinimal.h"

class SWidget;

/** A widget's children, in order. */
class SLATECORE_API FChildren
{
public:
	virtual ~FChildren() = default;
	virtual int32 Num() const = 0;
	virtual TSharedRef<SWidget> GetChildAt(int32 Index) = 0;
};

/** For widgets that have no children. */
class SLATECORE_API FNoChildren : public FChildren
{
public:
	virtual int32 Num() const override { return 0; }
	virtual TSharedRef<SWidget> GetChildAt(int32 Index) override;
};

/** A slot holding exactly one widget (the null widget when empty). */
class SLATECORE_API FSimpleSlot : public FChildren
{
public:
	FSimpleSlot();

	/** Puts a widget in the slot, replacing what was there. */
	FSimpleSlot& operator[](const TSharedRef<SWidget>& InWidget)
	{
		AttachWidget(InWidget);
		return *this;
	}

	void AttachWidget(const TSharedRef<SWidget>& InWidget);
	const TSharedRef<SWidget>& GetWidget() const { return Widget; }
	void DetachWidget();

	virtual int32 Num() const override { return 1; }
	virtual TSharedRef<SWidget> GetChildAt(int32 Index) override;

private:
	TSharedRef<SWidget> Widget;
};
