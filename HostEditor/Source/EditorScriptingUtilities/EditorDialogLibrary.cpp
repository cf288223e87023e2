#include "EditorDialogLibrary.h"

#include "Misc/MessageDialog.h"

TEnumAsByte<EAppReturnType::Type> UEditorDialogLibrary::ShowMessage(const FText& Title, const FText& Message, TEnumAsByte<EAppMsgType::Type> MessageType, TEnumAsByte<EAppReturnType::Type> DefaultValue, EAppMsgCategory MessageCategory)
{
	return FMessageDialog::Open(MessageCategory, MessageType.GetValue(), DefaultValue.GetValue(), Message, Title);
}
