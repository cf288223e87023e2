// UControlRigBlueprintFactory: makes new Control Rig blueprint assets.
#pragma once

#include "CoreMinimal.h"
#include "ControlRig.h"
#include "ControlRigBlueprint.h"
#include "Factories/Factory.h"
#include "Templates/SubclassOf.h"
#include "UObject/ObjectMacros.h"

#include "ControlRigBlueprintFactory.generated.h"

UCLASS(hidecategories = Object)
class CONTROLRIGEDITOR_API UControlRigBlueprintFactory : public UFactory
{
	GENERATED_BODY()

public:
	UControlRigBlueprintFactory();

	/** The parent class of the blueprints the factory makes. */
	UPROPERTY(EditAnywhere, Category = ControlRigBlueprintFactory, meta = (AllowAbstract = ""))
	TSubclassOf<UControlRig> ParentClass;

	/** Makes a blueprint with its hierarchy and a default graph that holds the begin-execution node. */
	virtual UObject* FactoryCreateNew(UClass* InClass, UObject* InParent, FName InName, EObjectFlags Flags, UObject* Context, FFeedbackContext* Warn, FName CallingContext) override;
	using UFactory::FactoryCreateNew;

	/**
	 * Makes a Control Rig asset in a new package at a path ("/Game/Rigs/MyRig"). Returns null, and
	 * logs why, for an invalid path, a path that already holds an asset, or a modular rig.
	 */
	UFUNCTION(BlueprintCallable, Category = "Control Rig Blueprint Factory")
	static UControlRigBlueprint* CreateNewControlRigAsset(const FString& InDesiredPackagePath, const bool bModularRig = false);

	/**
	 * Makes a Control Rig asset next to a skeletal mesh or skeleton ("<Name>_CtrlRig") whose hierarchy
	 * holds the bones of its reference skeleton, posed globally; a mesh becomes the preview mesh.
	 */
	UFUNCTION(BlueprintCallable, Category = "Control Rig Blueprint Factory")
	static UControlRigBlueprint* CreateControlRigFromSkeletalMeshOrSkeleton(UObject* InSelectedObject, const bool bModularRig = false);
};
