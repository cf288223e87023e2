// SWidget: the base of every Slate widget. The headless editor never paints; widgets keep their
// structure (children), their type name and where they were declared, which is what tests look at.
#pragma once

#include "CoreMinimal.h"
#include "Layout/Children.h"

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

	bool IsEnabled() const { return bEnabled; }
	void SetEnabled(bool bInEnabled) { bEnabled = bInEnabled; }

	/** Set by SNew: records the widget's declaration. */
	void SWidgetConstruct(FName InType, const ANSICHAR* InFile, int32 InLine);

private:
	FName TypeOfWidget;
	FString CreatedInLocation;
	bool bEnabled = true;
};
