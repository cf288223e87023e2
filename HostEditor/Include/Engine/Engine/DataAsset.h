// UDataAsset: an asset that holds data and no behaviour.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"
#include "UObject/UObjectGlobals.h"

#include "DataAsset.generated.h"

UCLASS(abstract, MinimalAPI)
class UDataAsset : public UObject
{
	GENERATED_BODY()

public:
	UDataAsset(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());
};

UCLASS(abstract, MinimalAPI)
class UPrimaryDataAsset : public UDataAsset
{
	GENERATED_BODY()

public:
	UPrimaryDataAsset(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());
};
