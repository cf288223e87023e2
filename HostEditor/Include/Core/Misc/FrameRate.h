// FFrameRate: frames per second as a ratio, Numerator / Denominator.
#pragma once

#include "CoreTypes.h"

struct CORE_API FFrameRate
{
	FFrameRate() : Numerator(60000), Denominator(1001) {}
	FFrameRate(uint32 InNumerator, uint32 InDenominator) : Numerator(InNumerator), Denominator(InDenominator) {}

	int32 Numerator;
	int32 Denominator;

	bool IsValid() const { return Denominator > 0; }
	/** Frames per second. */
	double AsDecimal() const { return double(Numerator) / double(Denominator); }
	/** Seconds per frame. */
	double AsInterval() const { return double(Denominator) / double(Numerator); }

	bool operator==(const FFrameRate& Other) const { return int64(Numerator) * Other.Denominator == int64(Other.Numerator) * Denominator; }
	bool operator!=(const FFrameRate& Other) const { return !(*this == Other); }
};
