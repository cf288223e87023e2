#include "Factories/Factory.h"

#include "Factories/DataAssetFactory.h"
#include "UObject/UObjectGlobals.h"

UFactory::UFactory(const FObjectInitializer& ObjectInitializer)
	: UObject(ObjectInitializer)
{
}

UObject* UFactory::FactoryCreateNew(UClass* InClass, UObject* InParent, FName InName, EObjectFlags Flags, UObject* Context, FFeedbackContext* Warn)
{
	return nullptr;
}

UObject* UFactory::FactoryCreateNew(UClass* InClass, UObject* InParent, FName InName, EObjectFlags Flags, UObject* Context, FFeedbackContext* Warn, FName CallingContext)
{
	return FactoryCreateNew(InClass, InParent, InName, Flags, Context, Warn);
}

bool UFactory::DoesSupportClass(UClass* Class) const
{
	UClass* Supported = GetSupportedClass();
	return Class && Supported && (Class == Supported || Class->IsChildOf(Supported));
}

UDataAssetFactory::UDataAssetFactory(const FObjectInitializer& ObjectInitializer)
	: UFactory(ObjectInitializer)
{
	SupportedClass = UDataAsset::StaticClass();
	bCreateNew = true;
	bEditAfterNew = true;
}

UObject* UDataAssetFactory::FactoryCreateNew(UClass* InClass, UObject* InParent, FName InName, EObjectFlags Flags, UObject* Context, FFeedbackContext* Warn)
{
	UClass* const Class = DataAssetClass ? DataAssetClass.Get() : InClass;
	if (!Class || !Class->IsChildOf(UDataAsset::StaticClass()) || Class->HasAnyClassFlags(CLASS_Abstract))
	{
		return nullptr;
	}
	return NewObject<UObject>(InParent, Class, InName, Flags);
}
