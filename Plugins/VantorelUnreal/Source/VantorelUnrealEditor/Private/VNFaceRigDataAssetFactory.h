// The Content Browser importer of Face rig JSON files: a face rig data asset from the file's drivers.
#pragma once

#include "CoreMinimal.h"
#include "Factories/Factory.h"

#include "VNFaceRigDataAssetFactory.generated.h"

/**
 * Imports a Face rig JSON file (a ".json" whose root object holds a "drivers" array) into a new face
 * rig data asset through the native importer. It only imports: empty face rig data assets are not
 * offered for creation. Other JSON files are left to the other importers of "json".
 */
UCLASS()
class UVNFaceRigDataAssetFactory : public UFactory
{
	GENERATED_BODY()

public:
	UVNFaceRigDataAssetFactory(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	/** True only when the file reads as a JSON object with an array member "drivers". */
	virtual bool FactoryCanImport(const FString& Filename) override;

	/** True for the base object class and for exactly the face rig data asset class. */
	virtual bool DoesSupportClass(UClass* Class) override;

	/** "Vantorel Face SDK JSON". */
	virtual FText GetDisplayName() const override;

	/**
	 * Makes the face rig data asset InName in InParent, filled from the file's drivers. Returns null
	 * when the file does not import, after writing the importer's message to Warn as an error.
	 */
	virtual UObject* FactoryCreateFile(UClass* InClass, UObject* InParent, FName InName, EObjectFlags Flags, const FString& Filename, const TCHAR* Parms, FFeedbackContext* Warn, bool& bOutOperationCanceled) override;
};
