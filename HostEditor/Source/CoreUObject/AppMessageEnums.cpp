// The reflected forms of the message box enumerations, which scripts see as unreal.AppMsgType,
// unreal.AppReturnType and unreal.AppMsgCategory.

#include "GenericPlatform/GenericPlatformMisc.h"
#include "UObject/GeneratedCppIncludes.h"

namespace
{
	UEnum* MakeEnum(UEnum*& Enum, const TCHAR* Name, const TCHAR* ScriptName, UEnum::ECppForm Form, const UECodeGen_Private::FEnumeratorParam* Enumerators, int32 Count)
	{
		if (!Enum)
		{
			const UECodeGen_Private::FEnumParams Params = {TEXT("/Script/CoreUObject"), Name, ScriptName, Form, Enumerators, Count, nullptr, 0};
			UECodeGen_Private::ConstructUEnum(Enum, Params);
		}
		return Enum;
	}
}

template <>
UEnum* StaticEnum<EAppMsgType::Type>()
{
	static UEnum* Enum = nullptr;
	static const UECodeGen_Private::FEnumeratorParam Enumerators[] = {
		{TEXT("EAppMsgType::Ok"), EAppMsgType::Ok, TEXT("OK"), nullptr, 0},
		{TEXT("EAppMsgType::YesNo"), EAppMsgType::YesNo, TEXT("YES_NO"), nullptr, 0},
		{TEXT("EAppMsgType::OkCancel"), EAppMsgType::OkCancel, TEXT("OK_CANCEL"), nullptr, 0},
		{TEXT("EAppMsgType::YesNoCancel"), EAppMsgType::YesNoCancel, TEXT("YES_NO_CANCEL"), nullptr, 0},
		{TEXT("EAppMsgType::CancelRetryContinue"), EAppMsgType::CancelRetryContinue, TEXT("CANCEL_RETRY_CONTINUE"), nullptr, 0},
		{TEXT("EAppMsgType::YesNoYesAllNoAll"), EAppMsgType::YesNoYesAllNoAll, TEXT("YES_NO_YES_ALL_NO_ALL"), nullptr, 0},
		{TEXT("EAppMsgType::YesNoYesAllNoAllCancel"), EAppMsgType::YesNoYesAllNoAllCancel, TEXT("YES_NO_YES_ALL_NO_ALL_CANCEL"), nullptr, 0},
		{TEXT("EAppMsgType::YesNoYesAll"), EAppMsgType::YesNoYesAll, TEXT("YES_NO_YES_ALL"), nullptr, 0},
	};
	return MakeEnum(Enum, TEXT("EAppMsgType"), TEXT("AppMsgType"), UEnum::ECppForm::Namespaced, Enumerators, UE_ARRAY_COUNT(Enumerators));
}

template <>
UEnum* StaticEnum<EAppReturnType::Type>()
{
	static UEnum* Enum = nullptr;
	static const UECodeGen_Private::FEnumeratorParam Enumerators[] = {
		{TEXT("EAppReturnType::No"), EAppReturnType::No, TEXT("NO"), nullptr, 0},
		{TEXT("EAppReturnType::Yes"), EAppReturnType::Yes, TEXT("YES"), nullptr, 0},
		{TEXT("EAppReturnType::YesAll"), EAppReturnType::YesAll, TEXT("YES_ALL"), nullptr, 0},
		{TEXT("EAppReturnType::NoAll"), EAppReturnType::NoAll, TEXT("NO_ALL"), nullptr, 0},
		{TEXT("EAppReturnType::Cancel"), EAppReturnType::Cancel, TEXT("CANCEL"), nullptr, 0},
		{TEXT("EAppReturnType::Ok"), EAppReturnType::Ok, TEXT("OK"), nullptr, 0},
		{TEXT("EAppReturnType::Retry"), EAppReturnType::Retry, TEXT("RETRY"), nullptr, 0},
		{TEXT("EAppReturnType::Continue"), EAppReturnType::Continue, TEXT("CONTINUE"), nullptr, 0},
	};
	return MakeEnum(Enum, TEXT("EAppReturnType"), TEXT("AppReturnType"), UEnum::ECppForm::Namespaced, Enumerators, UE_ARRAY_COUNT(Enumerators));
}

template <>
UEnum* StaticEnum<EAppMsgCategory>()
{
	static UEnum* Enum = nullptr;
	static const UECodeGen_Private::FEnumeratorParam Enumerators[] = {
		{TEXT("EAppMsgCategory::Warning"), (int64)EAppMsgCategory::Warning, TEXT("WARNING"), nullptr, 0},
		{TEXT("EAppMsgCategory::Error"), (int64)EAppMsgCategory::Error, TEXT("ERROR"), nullptr, 0},
		{TEXT("EAppMsgCategory::Success"), (int64)EAppMsgCategory::Success, TEXT("SUCCESS"), nullptr, 0},
		{TEXT("EAppMsgCategory::Info"), (int64)EAppMsgCategory::Info, TEXT("INFO"), nullptr, 0},
	};
	return MakeEnum(Enum, TEXT("EAppMsgCategory"), TEXT("AppMsgCategory"), UEnum::ECppForm::EnumClass, Enumerators, UE_ARRAY_COUNT(Enumerators));
}

namespace
{
	/** Registers the enumerations at start, so scripts find them by name before any use. */
	struct FRegisterAppMessageEnums
	{
		FRegisterAppMessageEnums()
		{
			StaticEnum<EAppMsgType::Type>();
			StaticEnum<EAppReturnType::Type>();
			StaticEnum<EAppMsgCategory>();
		}
	} GRegisterAppMessageEnums;
}
