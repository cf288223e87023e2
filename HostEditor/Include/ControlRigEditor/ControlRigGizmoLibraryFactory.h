// UControlRigShapeLibraryFactory: makes new Control Rig shape library assets.
#pragma once

#include "CoreMinimal.h"
#include "ControlRigGizmoLibrary.h"
#include "Factories/Factory.h"
#include "UObject/ObjectMacros.h"

#include "ControlRigGizmoLibraryFactory.generated.h"

UCLASS(hidecategories = Object)
class CONTROLRIGEDITOR_API UControlRigShapeLibraryFactory : public UFactory
{
	GENERATED_BODY()

public:
	UControlRigShapeLibraryFactory(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	/** Makes an empty shape library. */
	virtual UObject* FactoryCreateNew(UClass* InClass, UObject* InParent, FName InName, EObjectFlags Flags, UObject* Context, FFeedbackContext* Warn) override;
	using UFactory::FactoryCreateNew;
};
