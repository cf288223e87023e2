// FSlateFontInfo: a font face and size, as text widgets take it.
#pragma once

#include "CoreMinimal.h"

struct SLATECORE_API FSlateFontInfo
{
	FSlateFontInfo() = default;
	FSlateFontInfo(FName InTypefaceFontName, float InSize) : TypefaceFontName(InTypefaceFontName), Size(InSize) {}

	/** The typeface within the font family: "Regular", "Bold", "Italic" ... */
	FName TypefaceFontName = FName(TEXT("Regular"));
	float Size = 10.0f;

	bool IsLegacyIdenticalTo(const FSlateFontInfo& Other) const { return TypefaceFontName == Other.TypefaceFontName && Size == Other.Size; }
};
