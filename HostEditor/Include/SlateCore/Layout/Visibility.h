// EVisibility: whether a widget is shown, takes space and takes clicks.
#pragma once

#include "CoreMinimal.h"

struct SLATECORE_API EVisibility
{
	/** Shown, takes space, takes clicks. */
	static const EVisibility Visible;
	/** Not shown and takes no space. */
	static const EVisibility Collapsed;
	/** Not shown but takes space. */
	static const EVisibility Hidden;
	/** Shown, takes space; neither it nor its children take clicks. */
	static const EVisibility HitTestInvisible;
	/** Shown, takes space; it takes no clicks, its children may. */
	static const EVisibility SelfHitTestInvisible;

	EVisibility() : Value(VIS_Visible) {}

	bool operator==(const EVisibility& Other) const { return Value == Other.Value; }
	bool operator!=(const EVisibility& Other) const { return Value != Other.Value; }

	/** Whether the widget is drawn. */
	bool IsVisible() const { return Value != VIS_Collapsed && Value != VIS_Hidden; }
	/** Whether the widget can be clicked. */
	bool AreChildrenHitTestVisible() const { return Value == VIS_Visible || Value == VIS_SelfHitTestInvisible; }
	bool IsHitTestVisible() const { return Value == VIS_Visible; }

	FString ToString() const;

private:
	enum Private
	{
		VIS_Visible,
		VIS_Collapsed,
		VIS_Hidden,
		VIS_HitTestInvisible,
		VIS_SelfHitTestInvisible,
	};

	explicit EVisibility(Private InValue) : Value(InValue) {}

	Private Value;
};
