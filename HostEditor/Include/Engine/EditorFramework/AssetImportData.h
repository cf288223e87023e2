// UAssetImportData: how an asset was imported, kept with the asset for reimports.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/UObjectGlobals.h"

#include "AssetImportData.generated.h"

UCLASS(EditInlineNew, MinimalAPI)
class ENGINE_API UAssetImportData : public UObject
{
	GENERATED_BODY()

public:
	UAssetImportData(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());
};
