// The editor's globals.
#pragma once

#include "CoreMinimal.h"
#include "Editor/EditorEngine.h"

/** The running editor; null when no editor runs. */
extern UNREALED_API UEditorEngine* GEditor;
