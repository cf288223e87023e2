// The fundamental types and macros every engine header relies on.
#pragma once

#include "HAL/Platform.h"
#include "Misc/CoreMiscDefines.h"
#include "Misc/AssertionMacros.h"

namespace ESearchCase
{
	/** Whether a string search distinguishes upper and lower case. */
	enum Type
	{
		CaseSensitive,
		IgnoreCase,
	};
}

namespace ESearchDir
{
	/** Which end of a string a search starts from. */
	enum Type
	{
		FromStart,
		FromEnd,
	};
}

namespace EForceInit
{
	enum Type
	{
		ForceInit,
		ForceInitToZero,
	};
}
using EForceInit::ForceInit;
using EForceInit::ForceInitToZero;

enum ENoInit
{
	NoInit
};

enum EInPlace
{
	InPlace
};
