// ISlateStyle: a named set of widget styles and fonts that widgets look up by name.
#pragma once

#include "CoreMinimal.h"
#include "Fonts/SlateFontInfo.h"
#include "Styling/SlateTypes.h"

class SLATECORE_API ISlateStyle
{
public:
	virtual ~ISlateStyle() = default;

	/** The style of this type registered under the name; DefaultValue, else the type's default style, when there is none. */
	template <typename WidgetStyleType>
	const WidgetStyleType& GetWidgetStyle(const FName PropertyName, const ANSICHAR* Specifier = nullptr, const WidgetStyleType* DefaultValue = nullptr) const;

	/** The font registered under the name; the default font when there is none. */
	virtual FSlateFontInfo GetFontStyle(const FName PropertyName, const ANSICHAR* Specifier = nullptr) const = 0;

protected:
	virtual const FCheckBoxStyle* FindCheckBoxStyle(const FName PropertyName) const = 0;
};

template <>
inline const FCheckBoxStyle& ISlateStyle::GetWidgetStyle<FCheckBoxStyle>(const FName PropertyName, const ANSICHAR* Specifier, const FCheckBoxStyle* DefaultValue) const
{
	const FName Name = Specifier ? FName(*(PropertyName.ToString() + UTF8_TO_TCHAR(Specifier))) : PropertyName;
	const FCheckBoxStyle* Style = FindCheckBoxStyle(Name);
	return Style ? *Style : DefaultValue ? *DefaultValue : FCheckBoxStyle::GetDefault();
}
