// FToolMenuContext: what a menu is generated for (the headless editor passes no context objects).
#pragma once

#include "CoreMinimal.h"

struct TOOLMENUS_API FToolMenuContext
{
	FToolMenuContext() = default;
};
