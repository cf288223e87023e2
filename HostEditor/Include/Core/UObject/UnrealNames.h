// EName: the names the engine makes before anything else, and their NAME_ constants.
#pragma once

#include "HAL/Platform.h"

enum class EName : uint32
{
	None = 0,
	MaxHardcodedNameIndex,
};

inline constexpr EName NAME_None = EName::None;
