// SWidget: the base of every Slate widget. The headless editor never paints; widgets keep their
// structure (children), their type name, where they were declared, and the attributes Slate reads
// each frame (enabled state, visibility, tool tip), evaluated whenever they are asked for.
#pragma once

#include "CoreMinimal.h"
#include "Layout/Children.h"
#include "Layout/Visibility.h"
#include "Misc/Attribute.h"

namespace HostEditor
{
	class FSlateUser;
}

class SLATECORE_API SWidget : public TSharedFromThis<SWidget>
{
public:
	SWidget();
	virtual ~SWidget();

	SWidget(const SWidget&) = delete;
	SWidget& operator=(const SWidget&) = delete;

	/** The widget's class name, as SNew gave it (for example "STextBlock"). */
	FName GetType() const { return TypeOfWidget; }
	FString GetTypeAsString() const { return TypeOfWidget.ToString(); }
	/** Where the widget was created with SNew: "File(Line)". */
	FString GetReadableLocation() const;

	/** The widget's children; widgets without any return an empty list. */
	virtual FChildren* GetChildren();

	/** The widget's own enabled state (its parents' is not included), read afresh from its attribute. */
	bool IsEnabled() const { return EnabledState.Get(true); }
	void SetEnabled(TAttribute<bool> InEnabledState) { EnabledState = InEnabledState; }

	/** The widget's visibility, read afresh from its attribute. */
	EVisibility GetVisibility() const { return Visibility.Get(EVisibility::Visible); }
	void SetVisibility(TAttribute<EVisibility> InVisibility) { Visibility = InVisibility; }

	/** The text of the tool tip shown when the pointer rests on the widget. */
	void SetToolTipText(const TAttribute<FText>& ToolTipText) { ToolTipTextAttribute = ToolTipText; }

	/** Set by SNew: records the widget's declaration. */
	void SWidgetConstruct(FName InType, const ANSICHAR* InFile, int32 InLine);

private:
	friend class HostEditor::FSlateUser;

	FName TypeOfWidget;
	FString CreatedInLocation;
	TAttribute<bool> EnabledState;
	TAttribute<EVisibility> Visibility;
	TAttribute<FText> ToolTipTextAttribute;
};
