// UBlueprintEditorLibrary: blueprint operations for editor scripts.
#pragma once

#include "CoreMinimal.h"
#include "Kismet/BlueprintFunctionLibrary.h"

#include "BlueprintEditorLibrary.generated.h"

class UBlueprint;

UCLASS()
class BLUEPRINTEDITORLIBRARY_API UBlueprintEditorLibrary : public UBlueprintFunctionLibrary
{
	GENERATED_BODY()

public:
	/** Compiles the blueprint. */
	UFUNCTION(BlueprintCallable, Category = "Blueprint Upgrade Tools")
	static void CompileBlueprint(UBlueprint* Blueprint);

	/** The class the blueprint generates, or null. */
	UFUNCTION(BlueprintPure, Category = "Blueprint Upgrade Tools")
	static UClass* GeneratedClass(UBlueprint* BlueprintObj);

	/** Refreshes the editors open on the blueprint (the headless editor draws none). */
	UFUNCTION(BlueprintCallable, Category = "Blueprint Upgrade Tools")
	static void RefreshOpenEditorsForBlueprint(const UBlueprint* BP);
};
