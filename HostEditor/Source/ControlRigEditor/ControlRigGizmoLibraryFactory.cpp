#include "ControlRigGizmoLibraryFactory.h"

#include "UObject/UObjectGlobals.h"

UControlRigShapeLibraryFactory::UControlRigShapeLibraryFactory(const FObjectInitializer& ObjectInitializer)
	: UFactory(ObjectInitializer)
{
	SupportedClass = UControlRigShapeLibrary::StaticClass();
	bCreateNew = true;
	bEditAfterNew = true;
}

UObject* UControlRigShapeLibraryFactory::FactoryCreateNew(UClass* InClass, UObject* InParent, FName InName, EObjectFlags Flags, UObject* Context, FFeedbackContext* Warn)
{
	return NewObject<UControlRigShapeLibrary>(InParent, InName, Flags);
}
