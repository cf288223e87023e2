// UFactory: the base of the editor's asset factories, which make new assets of a class.
#pragma once

#include "CoreMinimal.h"
#include "Templates/SubclassOf.h"
#include "UObject/Object.h"
#include "UObject/UObjectGlobals.h"

#include "Factory.generated.h"

class FFeedbackContext;

UCLASS(Abstract)
class UNREALED_API UFactory : public UObject
{
	GENERATED_BODY()

public:
	UFactory(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	/**
	 * Creates a new object of InClass named InName in InParent. The base class creates nothing;
	 * each factory that can create new assets overrides this.
	 */
	virtual UObject* FactoryCreateNew(UClass* InClass, UObject* InParent, FName InName, EObjectFlags Flags, UObject* Context, FFeedbackContext* Warn);
	/** As FactoryCreateNew, told who asked; the base class forwards to the form without a calling context. */
	virtual UObject* FactoryCreateNew(UClass* InClass, UObject* InParent, FName InName, EObjectFlags Flags, UObject* Context, FFeedbackContext* Warn, FName CallingContext);

	/** The class of the objects this factory makes. */
	virtual UClass* GetSupportedClass() const { return SupportedClass; }
	/** True when the factory can make objects of the class (or of a class derived from it). */
	virtual bool DoesSupportClass(UClass* Class) const;
	/** True when the factory makes new assets rather than importing files. */
	virtual bool CanCreateNew() const { return bCreateNew; }
	virtual bool ShouldShowInNewMenu() const { return CanCreateNew(); }

	/** The class of the objects this factory makes. */
	UPROPERTY(BlueprintReadWrite, Category = Misc)
	TSubclassOf<UObject> SupportedClass;

	/** True when the factory makes new assets from nothing. */
	UPROPERTY(BlueprintReadWrite, Category = Misc)
	bool bCreateNew = false;

	/** True when the editor opens the new asset after making it. */
	UPROPERTY(BlueprintReadWrite, Category = Misc)
	bool bEditAfterNew = false;

	/** True when the factory imports files. */
	UPROPERTY(BlueprintReadWrite, Category = Misc)
	bool bEditorImport = false;

	/** True when the factory imports text rather than binary files. */
	UPROPERTY(BlueprintReadWrite, Category = Misc)
	bool bText = false;

	/** The file formats the factory imports ("fbx;FBX meshes"). */
	UPROPERTY(BlueprintReadWrite, Category = Misc)
	TArray<FString> Formats;
};
