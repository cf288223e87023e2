// FKismetEditorUtilities: making and compiling blueprints.
#pragma once

#include "CoreMinimal.h"
#include "Engine/Blueprint.h"

class FCompilerResultsLog;
class UBlueprintGeneratedClass;

enum class EBlueprintCompileOptions
{
	None = 0x0,
	IsRegeneratingOnLoad = 0x1,
	SkipGarbageCollection = 0x2,
	SaveIntermediateProducts = 0x4,
	SkeletonUpToDate = 0x8,
	BatchCompile = 0x10,
	SkipSave = 0x20,
	SkipReinstancing = 0x40,
	RegenerateSkeletonOnly = 0x80,
	SkipDefaultObjectValidation = 0x100,
	SkipFiBSearchMetaUpdate = 0x200,
	UseDeltaSerializationDuringReinstancing = 0x400,
	SkipNewVariableDefaultsDetection = 0x800,
	IncludeCDOInReferenceReplacement = 0x1000,
};
ENUM_CLASS_FLAGS(EBlueprintCompileOptions)

class UNREALED_API FKismetEditorUtilities
{
public:
	/**
	 * Makes a blueprint of BlueprintClassType named NewBPName in Outer (a package) whose class derives
	 * from ParentClass, and compiles it once so its generated class exists. Null when the parent
	 * cannot be a blueprint's parent.
	 */
	static UBlueprint* CreateBlueprint(UClass* ParentClass, UObject* Outer, const FName NewBPName, enum EBlueprintType BlueprintType, FName CallingContext = NAME_None);
	static UBlueprint* CreateBlueprint(UClass* ParentClass, UObject* Outer, const FName NewBPName, enum EBlueprintType BlueprintType, TSubclassOf<UBlueprint> BlueprintClassType, TSubclassOf<UBlueprintGeneratedClass> BlueprintGeneratedClassType, FName CallingContext = NAME_None);

	/**
	 * Compiles the blueprint: makes its generated class again (keeping the class defaults), checks its
	 * graphs and sets Status to BS_UpToDate, or BS_Error with the errors in the results log.
	 */
	static void CompileBlueprint(UBlueprint* BlueprintObj, EBlueprintCompileOptions CompileFlags = EBlueprintCompileOptions::None, FCompilerResultsLog* pResults = nullptr);

	/** Whether a class can be the parent of a blueprint. */
	static bool CanCreateBlueprintOfClass(const UClass* Class);
};
