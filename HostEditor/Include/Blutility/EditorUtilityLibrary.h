// UEditorUtilityLibrary: what editor utility scripts read from the editor, such as the Content
// Browser's selection.
#pragma once

#include "CoreMinimal.h"
#include "Kismet/BlueprintFunctionLibrary.h"

#include "EditorUtilityLibrary.generated.h"

UCLASS(MinimalAPI)
class BLUTILITY_API UEditorUtilityLibrary : public UBlueprintFunctionLibrary
{
	GENERATED_BODY()

public:
	/** Returns the assets selected in the Content Browser, loading them when needed. */
	UFUNCTION(BlueprintCallable, Category = "Development|Editor")
	static TArray<UObject*> GetSelectedAssets();
};
