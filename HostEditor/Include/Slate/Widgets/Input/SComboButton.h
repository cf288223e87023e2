// SComboButton: a button that opens a menu of content below it; SComboBox builds on it.
#pragma once

#include "CoreMinimal.h"
#include "Widgets/DeclarativeSyntaxSupport.h"
#include "Widgets/SCompoundWidget.h"

namespace HostEditor
{
	class FSlateUser;
}

class SLATE_API SComboButton : public SCompoundWidget
{
public:
	SLATE_BEGIN_ARGS(SComboButton) : _ButtonContent() {}
		SLATE_NAMED_SLOT(FArguments, ButtonContent)
	SLATE_END_ARGS()

	void Construct(const FArguments& InArgs);

protected:
	SComboButton() = default;

private:
	friend class HostEditor::FSlateUser;

	/** The rows its menu shows when the user opens it, made afresh; none for a plain combo button. */
	virtual TArray<TSharedRef<SWidget>> GenerateMenuRowsForUser() { return {}; }
	/** The user clicks row Index of the open menu. */
	virtual void PickMenuRowForUser(int32 Index) {}
};
