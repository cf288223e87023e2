// Enumerations shared by the Slate widgets: alignment, orientation, how a selection or a text
// commit came about.
#pragma once

#include "CoreMinimal.h"

enum EHorizontalAlignment : int
{
	HAlign_Fill,
	HAlign_Left,
	HAlign_Center,
	HAlign_Right,
};

enum EVerticalAlignment : int
{
	VAlign_Fill,
	VAlign_Top,
	VAlign_Center,
	VAlign_Bottom,
};

enum EOrientation : int
{
	Orient_Horizontal,
	Orient_Vertical,
};

namespace ESelectInfo
{
	enum Type : int
	{
		OnKeyPress,
		OnNavigation,
		OnMouseClick,
		Direct,
	};
}

namespace ETextCommit
{
	enum Type : int
	{
		Default,
		OnEnter,
		OnUserMovedFocus,
		OnCleared,
	};
}
