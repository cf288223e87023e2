// UBlueprint: an asset that defines a class by its graphs and settings.
#pragma once

#include "CoreMinimal.h"
#include "Engine/BlueprintCore.h"
#include "Templates/SubclassOf.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"
#include "UObject/ObjectPtr.h"

#include "Blueprint.generated.h"

class UEdGraph;
class USimpleConstructionScript;

/** Where a blueprint stands with its compiler. */
enum EBlueprintStatus : int
{
	BS_Unknown,
	BS_Dirty,
	BS_Error,
	BS_UpToDate,
	BS_BeingCreated,
	BS_UpToDateWithWarnings,
	BS_MAX,
};

/** What kind of blueprint it is. */
enum EBlueprintType : int
{
	BPTYPE_Normal,
	BPTYPE_Const,
	BPTYPE_MacroLibrary,
	BPTYPE_Interface,
	BPTYPE_LevelScript,
	BPTYPE_FunctionLibrary,
	BPTYPE_MAX,
};

UCLASS()
class ENGINE_API UBlueprint : public UBlueprintCore
{
	GENERATED_BODY()

public:
	/** The class this blueprint's class derives from. */
	UPROPERTY(AssetRegistrySearchable)
	TSubclassOf<UObject> ParentClass;

	/** Shown in the class picker tooltip for the Blueprint. */
	UPROPERTY(EditAnywhere, AssetRegistrySearchable, Category = BlueprintOptions)
	FString BlueprintDescription;

	/** The category of the Blueprint, used to organise it in the class picker. */
	UPROPERTY(EditAnywhere, AssetRegistrySearchable, Category = BlueprintOptions)
	FString BlueprintCategory;

	/** The components the class's actors are made with, beyond those of the native parent. */
	UPROPERTY()
	TObjectPtr<USimpleConstructionScript> SimpleConstructionScript;

	/** The event graphs. */
	UPROPERTY()
	TArray<TObjectPtr<UEdGraph>> UbergraphPages;

	/** The function graphs. */
	UPROPERTY()
	TArray<TObjectPtr<UEdGraph>> FunctionGraphs;

	/** The compiler's last verdict (not saved). */
	TEnumAsByte<EBlueprintStatus> Status = BS_Unknown;

	TEnumAsByte<EBlueprintType> BlueprintType = BPTYPE_Normal;

	/** Every graph of the blueprint, the graphs nested in its graphs' nodes included. */
	virtual void GetAllGraphs(TArray<UEdGraph*>& Graphs) const;

	/** The blueprint that made a generated class, or null. */
	static UBlueprint* GetBlueprintFromClass(const UClass* InClass);

	/** The class a blueprint of this kind generates. */
	virtual UClass* GetBlueprintClass() const;

	virtual void PostLoad() override;
	virtual void ExportCustomProperties(FOutputDevice& Out, uint32 Indent) override;
	virtual void ImportCustomProperties(const TCHAR* SourceText, FFeedbackContext* Warn) override;

private:
	/** The class defaults read from the package, applied once the class is made again. */
	TArray<FString> PendingClassDefaults;
	bool bHadGeneratedClass = false;
};
