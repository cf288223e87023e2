// FCoreStyle: the core style, including the default font in its typefaces.
#pragma once

#include "CoreMinimal.h"
#include "Fonts/SlateFontInfo.h"

class SLATECORE_API FCoreStyle
{
public:
	/** The default font in a typeface ("Regular", "Bold", ...) at a size. */
	static FSlateFontInfo GetDefaultFontStyle(const FName TypefaceFontName, const float Size, const FFontOutlineSettings& InOutline = FFontOutlineSettings());
};
