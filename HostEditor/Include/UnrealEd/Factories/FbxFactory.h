// UFbxFactory: imports FBX files. The headless editor reads them with a real FBX reader and imports
// their animation clips, each as an animation sequence for the Skeleton the import options name;
// mesh import is not part of the stand-in and fails with a message.
#pragma once

#include "CoreMinimal.h"
#include "Factories/Factory.h"
#include "UObject/ObjectPtr.h"

#include "FbxFactory.generated.h"

class UFbxImportUI;

UCLASS(HideCategories = Object)
class UNREALED_API UFbxFactory : public UFactory
{
	GENERATED_BODY()

public:
	UFbxFactory(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	/** The import's options; made with their defaults at the first import when none were given. */
	UPROPERTY()
	TObjectPtr<UFbxImportUI> ImportUI;

	virtual UObject* FactoryCreateFile(UClass* InClass, UObject* InParent, FName InName, EObjectFlags Flags, const FString& Filename, const TCHAR* Parms, FFeedbackContext* Warn, bool& bOutOperationCanceled) override;
	virtual bool FactoryCanImport(const FString& Filename) override;
	virtual bool DoesSupportClass(UClass* Class) override;
};
