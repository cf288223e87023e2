#include "Engine/DataAsset.h"

#include "Kismet/BlueprintFunctionLibrary.h"
#include "UObject/UObjectGlobals.h"

UDataAsset::UDataAsset(const FObjectInitializer& ObjectInitializer)
	: UObject(ObjectInitializer)
{
}

UPrimaryDataAsset::UPrimaryDataAsset(const FObjectInitializer& ObjectInitializer)
	: UDataAsset(ObjectInitializer)
{
}

UBlueprintFunctionLibrary::UBlueprintFunctionLibrary(const FObjectInitializer& ObjectInitializer)
	: UObject(ObjectInitializer)
{
}
