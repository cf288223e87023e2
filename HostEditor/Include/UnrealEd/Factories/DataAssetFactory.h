// UDataAssetFactory: makes new data assets of a chosen data asset class.
#pragma once

#include "CoreMinimal.h"
#include "Engine/DataAsset.h"
#include "Factories/Factory.h"

#include "DataAssetFactory.generated.h"

UCLASS(hidecategories = Object, MinimalAPI)
class UNREALED_API UDataAssetFactory : public UFactory
{
	GENERATED_BODY()

public:
	UDataAssetFactory(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	/** Makes an object of DataAssetClass when it is set, otherwise of InClass. */
	virtual UObject* FactoryCreateNew(UClass* InClass, UObject* InParent, FName InName, EObjectFlags Flags, UObject* Context, FFeedbackContext* Warn) override;
	using UFactory::FactoryCreateNew;

	/** The class of data asset to make. */
	UPROPERTY(EditAnywhere, Category = DataAsset)
	TSubclassOf<UDataAsset> DataAssetClass;
};
