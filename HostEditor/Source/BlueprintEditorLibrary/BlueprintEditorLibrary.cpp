#include "BlueprintEditorLibrary.h"

#include "Engine/Blueprint.h"
#include "Kismet2/KismetEditorUtilities.h"

void UBlueprintEditorLibrary::CompileBlueprint(UBlueprint* Blueprint)
{
	if (Blueprint)
	{
		FKismetEditorUtilities::CompileBlueprint(Blueprint);
	}
}

UClass* UBlueprintEditorLibrary::GeneratedClass(UBlueprint* BlueprintObj)
{
	return BlueprintObj ? BlueprintObj->GeneratedClass.Get() : nullptr;
}

void UBlueprintEditorLibrary::RefreshOpenEditorsForBlueprint(const UBlueprint* BP)
{
	(void)BP;
}
