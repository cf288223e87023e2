// UBlueprintGeneratedClass: the class a blueprint compiles to (BP_Name_C).
#pragma once

#include "CoreMinimal.h"
#include "UObject/Class.h"
#include "UObject/ObjectMacros.h"

#include "BlueprintGeneratedClass.generated.h"

UCLASS()
class ENGINE_API UBlueprintGeneratedClass : public UClass
{
	GENERATED_BODY()

public:
	/** The blueprint the class was compiled from. */
	UObject* ClassGeneratedBy = nullptr;

	/**
	 * Stand-in: the blueprint's compile (and its load) sets the class up again in place, so references
	 * to it stay good: its parent, how its objects are made, and a new class default object when the
	 * parent changed or none was made yet. Returns the class default object.
	 */
	UObject* SetUpFromBlueprint(UObject* Blueprint, UClass* ParentClass);
};
