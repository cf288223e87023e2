// FSlateColor: a colour for a widget: given as is (the stand-in has no style-driven colours).
#pragma once

#include "CoreMinimal.h"

struct SLATECORE_API FSlateColor
{
	FSlateColor() = default;
	FSlateColor(const FLinearColor& InColor)
		: SpecifiedColor(InColor)
	{
	}

	const FLinearColor& GetSpecifiedColor() const { return SpecifiedColor; }
	bool operator==(const FSlateColor& Other) const { return SpecifiedColor == Other.SpecifiedColor; }

private:
	FLinearColor SpecifiedColor = FLinearColor::White;
};
