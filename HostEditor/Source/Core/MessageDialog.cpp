// Modal message boxes in the headless editor: nobody can press a button, so each box is logged,
// recorded and answered at once, as the engine answers them in unattended runs.

#include "Misc/MessageDialog.h"

#include "HostEditorSupport/MessageDialogLog.h"

namespace
{
	TArray<HostEditor::FMessageDialogRecord>& Records()
	{
		static TArray<HostEditor::FMessageDialogRecord> List;
		return List;
	}

	/** The answer an unattended run gives when the caller names none: the choice that changes nothing. */
	EAppReturnType::Type UnattendedAnswer(EAppMsgType::Type MessageType)
	{
		switch (MessageType)
		{
		case EAppMsgType::YesNo:
		case EAppMsgType::YesNoYesAllNoAll:
		case EAppMsgType::YesNoYesAll:
			return EAppReturnType::No;
		case EAppMsgType::OkCancel:
		case EAppMsgType::YesNoCancel:
		case EAppMsgType::CancelRetryContinue:
		case EAppMsgType::YesNoYesAllNoAllCancel:
			return EAppReturnType::Cancel;
		case EAppMsgType::Ok:
		default:
			return EAppReturnType::Ok;
		}
	}

	EAppReturnType::Type Show(EAppMsgCategory Category, EAppMsgType::Type MessageType, EAppReturnType::Type Answer, const FText& Message, const FText& Title)
	{
		HostEditor::FMessageDialogRecord Record;
		Record.Category = Category;
		Record.Type = MessageType;
		Record.Title = Title.ToString();
		Record.Message = Message.ToString();
		Record.Result = Answer;
		Records().Add(Record);
		UE_LOG(LogCore, Display, TEXT("Message dialog: %s: %s"), *Record.Title, *Record.Message);
		return Answer;
	}
}

namespace HostEditor
{
	const TArray<FMessageDialogRecord>& GetMessageDialogs()
	{
		return Records();
	}

	void ResetMessageDialogs()
	{
		Records().Reset();
	}
}

EAppReturnType::Type FMessageDialog::Open(EAppMsgType::Type MessageType, const FText& Message)
{
	return Show(EAppMsgCategory::Warning, MessageType, UnattendedAnswer(MessageType), Message, FText::FromString(TEXT("Message")));
}

EAppReturnType::Type FMessageDialog::Open(EAppMsgType::Type MessageType, const FText& Message, const FText& Title)
{
	return Show(EAppMsgCategory::Warning, MessageType, UnattendedAnswer(MessageType), Message, Title);
}

EAppReturnType::Type FMessageDialog::Open(EAppMsgCategory MessageCategory, EAppMsgType::Type MessageType, const FText& Message, const FText& Title)
{
	return Show(MessageCategory, MessageType, UnattendedAnswer(MessageType), Message, Title);
}

EAppReturnType::Type FMessageDialog::Open(EAppMsgType::Type MessageType, EAppReturnType::Type DefaultValue, const FText& Message)
{
	return Show(EAppMsgCategory::Warning, MessageType, DefaultValue, Message, FText::FromString(TEXT("Message")));
}

EAppReturnType::Type FMessageDialog::Open(EAppMsgType::Type MessageType, EAppReturnType::Type DefaultValue, const FText& Message, const FText& Title)
{
	return Show(EAppMsgCategory::Warning, MessageType, DefaultValue, Message, Title);
}

EAppReturnType::Type FMessageDialog::Open(EAppMsgCategory MessageCategory, EAppMsgType::Type MessageType, EAppReturnType::Type DefaultValue, const FText& Message, const FText& Title)
{
	return Show(MessageCategory, MessageType, DefaultValue, Message, Title);
}

void FMessageDialog::Debugf(const FText& Message)
{
	Open(EAppMsgType::Ok, Message);
}

void FMessageDialog::Debugf(const FText& Message, const FText& Title)
{
	Open(EAppMsgType::Ok, Message, Title);
}
