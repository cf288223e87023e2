// The delegates Slate's widgets call back through.
#pragma once

#include "CoreMinimal.h"
#include "Delegates/Delegate.h"
#include "Input/Reply.h"
#include "Types/SlateEnums.h"

class SWidget;

/** A widget was clicked. */
DECLARE_DELEGATE_RetVal(FReply, FOnClicked);
/** A bool value changed. */
DECLARE_DELEGATE_OneParam(FOnBooleanValueChanged, bool);
/** An editable text's text changed (each keystroke). */
DECLARE_DELEGATE_OneParam(FOnTextChanged, const FText&);
/** An editable text's text was committed (Enter, focus moved away, cleared). */
DECLARE_DELEGATE_TwoParams(FOnTextCommitted, const FText&, ETextCommit::Type);

/** The delegates of the widgets that list items of one type (combo boxes, list views). */
template <typename ArgumentType>
class TSlateDelegates
{
public:
	/** Makes the widget that shows an item. */
	DECLARE_DELEGATE_RetVal_OneParam(TSharedRef<SWidget>, FOnGenerateWidget, ArgumentType);
	/** The selected item changed, and how. */
	DECLARE_DELEGATE_TwoParams(FOnSelectionChanged, ArgumentType, ESelectInfo::Type);
};
