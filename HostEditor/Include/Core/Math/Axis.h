// EAxis: names one of the three coordinate axes.
#pragma once

namespace EAxis
{
	/** One of the coordinate axes, or none. */
	enum Type
	{
		None,
		X,
		Y,
		Z,
	};
}
