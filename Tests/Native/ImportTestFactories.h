// Test-only import factory: a general importer of every ".json" file at the default import
// priority, as the editor's own JSON importers are, so that tests can see which importer the
// editor chose for a file.
#pragma once

#include "CoreMinimal.h"
#include "Factories/Factory.h"
#include "PackageTestTypes.h"

#include "ImportTestFactories.generated.h"

UCLASS()
class UAnyJsonTestFactory : public UFactory
{
	GENERATED_BODY()

public:
	UAnyJsonTestFactory(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get())
		: Super(ObjectInitializer)
	{
		Formats.Add(TEXT("json;Any JSON"));
		SupportedClass = UPackageTestNode::StaticClass();
		bEditorImport = true;
	}

	virtual bool FactoryCanImport(const FString& Filename) override { return true; }

	/** Makes a node labelled "any json" for every file. */
	virtual UObject* FactoryCreateFile(UClass* InClass, UObject* InParent, FName InName, EObjectFlags Flags, const FString& Filename, const TCHAR* Parms, FFeedbackContext* Warn, bool& bOutOperationCanceled) override
	{
		bOutOperationCanceled = false;
		UPackageTestNode* Node = NewObject<UPackageTestNode>(InParent, InName, Flags);
		Node->Label = TEXT("any json");
		return Node;
	}
};
