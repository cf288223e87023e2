// FSlateFontInfo: a font face and size, as text widgets take it.
#pragma once

#include "CoreMinimal.h"

/** The outline drawn around a font's glyphs; none by default. */
struct SLATECORE_API FFontOutlineSettings
{
	int32 OutlineSize = 0;
};

struct SLATECORE_API FSlateFontInfo
{
	FSlateFontInfo() = default;
	FSlateFontInfo(FName InTypefaceFontName, float InSize, const FFontOutlineSettings& InOutlineSettings = FFontOutlineSettings())
		: TypefaceFontName(InTypefaceFontName), Size(InSize), OutlineSettings(InOutlineSettings) {}

	/** The typeface within the font family: "Regular", "Bold", "Italic" ... */
	FName TypefaceFontName = FName(TEXT("Regular"));
	float Size = 10.0f;
	FFontOutlineSettings OutlineSettings;

	bool IsLegacyIdenticalTo(const FSlateFontInfo& Other) const { return TypefaceFontName == Other.TypefaceFontName && Size == Other.Size; }
};
