// UFactory: makes new assets of a class.
#pragma once

#include "CoreMinimal.h"
#include "Templates/SubclassOf.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"

#include "Factory.generated.h"

class FFeedbackContext;

UCLASS(Abstract)
class UNREALED_API UFactory : public UObject
{
	GENERATED_BODY()

public:
	/** Creates a new object of InClass named InName inside InParent. */
	virtual UObject* FactoryCreateNew(UClass* InClass, UObject* InParent, FName InName, EObjectFlags Flags, UObject* Context, FFeedbackContext* Warn)
	{
		return nullptr;
	}

	/** Creates a new object; by default the same as the form without a calling context. */
	virtual UObject* FactoryCreateNew(UClass* InClass, UObject* InParent, FName InName, EObjectFlags Flags, UObject* Context, FFeedbackContext* Warn, FName CallingContext)
	{
		return FactoryCreateNew(InClass, InParent, InName, Flags, Context, Warn);
	}

	/** The class of the objects the factory makes. */
	UPROPERTY()
	TSubclassOf<UObject> SupportedClass;

	/** True when the factory makes new objects from nothing. */
	UPROPERTY()
	bool bCreateNew = false;

	/** True when the new object opens in an editor once made. */
	UPROPERTY()
	bool bEditAfterNew = false;
};
