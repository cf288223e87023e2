// UEditorSubsystem: a subsystem that lives as long as the editor.
#pragma once

#include "CoreMinimal.h"
#include "Subsystems/Subsystem.h"
#include "UObject/ObjectMacros.h"

#include "EditorSubsystem.generated.h"

UCLASS(Abstract)
class EDITORSUBSYSTEM_API UEditorSubsystem : public UDynamicSubsystem
{
	GENERATED_BODY()
};
