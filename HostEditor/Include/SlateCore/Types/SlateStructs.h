// How a slot of a box panel takes its share of the panel's length.
#pragma once

#include "CoreMinimal.h"

struct SLATECORE_API FSizeParam
{
	enum ESizeRule
	{
		/** The slot is as long as its content wants. */
		SizeRule_Auto,
		/** The slot takes a share of the length left over, in proportion to its value. */
		SizeRule_Stretch,
	};
};
