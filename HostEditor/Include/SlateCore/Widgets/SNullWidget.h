// The widget that stands for "nothing here".
#pragma once

#include "CoreMinimal.h"

class SWidget;

class SLATECORE_API SNullWidget
{
public:
	static TSharedRef<SWidget> NullWidget;
};
