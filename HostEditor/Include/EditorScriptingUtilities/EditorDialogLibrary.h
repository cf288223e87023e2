// UEditorDialogLibrary: modal message boxes for scripts (unreal.EditorDialog).
#pragma once

#include "CoreMinimal.h"
#include "Containers/EnumAsByte.h"
#include "GenericPlatform/GenericPlatformMisc.h"
#include "Kismet/BlueprintFunctionLibrary.h"

#include "EditorDialogLibrary.generated.h"

template <> COREUOBJECT_API UEnum* StaticEnum<EAppMsgType::Type>();
template <> COREUOBJECT_API UEnum* StaticEnum<EAppReturnType::Type>();
template <> COREUOBJECT_API UEnum* StaticEnum<EAppMsgCategory>();

UCLASS(MinimalAPI, meta = (ScriptName = "EditorDialog"))
class EDITORSCRIPTINGUTILITIES_API UEditorDialogLibrary : public UBlueprintFunctionLibrary
{
	GENERATED_BODY()

public:
	/**
	 * Shows a modal message box and returns the button it was closed with; when no user can
	 * answer (unattended runs) it returns DefaultValue at once.
	 */
	UFUNCTION(BlueprintCallable, Category = "Editor Scripting | Message Dialog")
	static TEnumAsByte<EAppReturnType::Type> ShowMessage(const FText& Title, const FText& Message, TEnumAsByte<EAppMsgType::Type> MessageType, TEnumAsByte<EAppReturnType::Type> DefaultValue = EAppReturnType::No, EAppMsgCategory MessageCategory = EAppMsgCategory::Warning);
};
