// Visibility values and the application's styles: the headless editor draws nothing, so a style
// is only its kind, and fonts are their typeface and size.

#include "Layout/Visibility.h"
#include "Styling/AppStyle.h"
#include "Styling/CoreStyle.h"
#include "Styling/ISlateStyle.h"
#include "Styling/SlateTypes.h"

const EVisibility EVisibility::Visible(EVisibility::VIS_Visible);
const EVisibility EVisibility::Collapsed(EVisibility::VIS_Collapsed);
const EVisibility EVisibility::Hidden(EVisibility::VIS_Hidden);
const EVisibility EVisibility::HitTestInvisible(EVisibility::VIS_HitTestInvisible);
const EVisibility EVisibility::SelfHitTestInvisible(EVisibility::VIS_SelfHitTestInvisible);

FString EVisibility::ToString() const
{
	switch (Value)
	{
	case VIS_Visible: return TEXT("Visible");
	case VIS_Collapsed: return TEXT("Collapsed");
	case VIS_Hidden: return TEXT("Hidden");
	case VIS_HitTestInvisible: return TEXT("HitTestInvisible");
	case VIS_SelfHitTestInvisible: return TEXT("SelfHitTestInvisible");
	}
	return TEXT("Visible");
}

const FCheckBoxStyle& FCheckBoxStyle::GetDefault()
{
	static const FCheckBoxStyle Default;
	return Default;
}

FSlateFontInfo FCoreStyle::GetDefaultFontStyle(const FName TypefaceFontName, const float Size, const FFontOutlineSettings& InOutline)
{
	return FSlateFontInfo(TypefaceFontName, Size, InOutline);
}

namespace
{
	/** The editor's style set: the check box styles and fonts the editor registers under these names. */
	class FHeadlessAppStyle final : public ISlateStyle
	{
	public:
		FHeadlessAppStyle()
		{
			CheckBoxStyles.Add(FName(TEXT("Checkbox")), FCheckBoxStyle());
			CheckBoxStyles.Add(FName(TEXT("RadioButton")), FCheckBoxStyle());
			CheckBoxStyles.Add(FName(TEXT("ToggleButtonCheckbox")), FCheckBoxStyle().SetCheckBoxType(ESlateCheckBoxType::ToggleButton));
			Fonts.Add(FName(TEXT("NormalFont")), FSlateFontInfo(FName(TEXT("Regular")), 10.0f));
			Fonts.Add(FName(TEXT("BoldFont")), FSlateFontInfo(FName(TEXT("Bold")), 10.0f));
			Fonts.Add(FName(TEXT("SmallFont")), FSlateFontInfo(FName(TEXT("Regular")), 8.0f));
		}

		virtual FSlateFontInfo GetFontStyle(const FName PropertyName, const ANSICHAR* Specifier) const override
		{
			const FName Name = Specifier ? FName(*(PropertyName.ToString() + UTF8_TO_TCHAR(Specifier))) : PropertyName;
			const FSlateFontInfo* Found = Fonts.Find(Name);
			return Found ? *Found : FSlateFontInfo();
		}

		/** The name a style is registered under; none for a style not from this set. */
		FName NameOf(const FCheckBoxStyle* Style) const
		{
			for (const TPair<FName, FCheckBoxStyle>& Entry : CheckBoxStyles)
			{
				if (&Entry.Value == Style)
				{
					return Entry.Key;
				}
			}
			return NAME_None;
		}

	protected:
		virtual const FCheckBoxStyle* FindCheckBoxStyle(const FName PropertyName) const override { return CheckBoxStyles.Find(PropertyName); }

	private:
		TMap<FName, FCheckBoxStyle> CheckBoxStyles;
		TMap<FName, FSlateFontInfo> Fonts;
	};

	FHeadlessAppStyle& AppStyle()
	{
		static FHeadlessAppStyle Style;
		return Style;
	}
}

const ISlateStyle& FAppStyle::Get()
{
	return AppStyle();
}

FName FAppStyle::GetAppStyleSetName()
{
	return FName(TEXT("EditorStyle"));
}

namespace HostEditor
{
	/** Stand-in only: the app style name of a check box style ("RadioButton"), none when it is not one. */
	SLATECORE_API FName GetCheckBoxStyleName(const FCheckBoxStyle* Style)
	{
		return AppStyle().NameOf(Style);
	}
}
