// FAppStyle: the application's style, where the editor's widget styles and fonts are looked up.
#pragma once

#include "CoreMinimal.h"
#include "Styling/ISlateStyle.h"

class SLATECORE_API FAppStyle
{
public:
	static const ISlateStyle& Get();
	static FName GetAppStyleSetName();

	static FSlateFontInfo GetFontStyle(const FName PropertyName, const ANSICHAR* Specifier = nullptr) { return Get().GetFontStyle(PropertyName, Specifier); }
};
