// FMessageDialog: modal message boxes.
#pragma once

#include "CoreMinimal.h"
#include "GenericPlatform/GenericPlatformMisc.h"

struct CORE_API FMessageDialog
{
	/** Shows a modal message box and returns the button it was closed with. */
	static EAppReturnType::Type Open(EAppMsgType::Type MessageType, const FText& Message);
	static EAppReturnType::Type Open(EAppMsgType::Type MessageType, const FText& Message, const FText& Title);
	static EAppReturnType::Type Open(EAppMsgCategory MessageCategory, EAppMsgType::Type MessageType, const FText& Message, const FText& Title);
	/** As Open, answering DefaultValue when no user can answer (unattended runs). */
	static EAppReturnType::Type Open(EAppMsgType::Type MessageType, EAppReturnType::Type DefaultValue, const FText& Message);
	static EAppReturnType::Type Open(EAppMsgType::Type MessageType, EAppReturnType::Type DefaultValue, const FText& Message, const FText& Title);
	static EAppReturnType::Type Open(EAppMsgCategory MessageCategory, EAppMsgType::Type MessageType, EAppReturnType::Type DefaultValue, const FText& Message, const FText& Title);
	/** Shows a message box with an OK button. */
	static void Debugf(const FText& Message);
	static void Debugf(const FText& Message, const FText& Title);
};
