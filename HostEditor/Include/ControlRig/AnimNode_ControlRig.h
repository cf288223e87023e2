// FAnimNode_ControlRig: runs a Control Rig on the pose it is given.
#pragma once

#include "CoreMinimal.h"
#include "Animation/AnimNode_CustomProperty.h"
#include "Templates/SubclassOf.h"

#include "AnimNode_ControlRig.generated.h"

class UControlRig;

USTRUCT()
struct CONTROLRIG_API FAnimNode_ControlRigBase : public FAnimNode_CustomProperty
{
	GENERATED_BODY()

protected:
	/** The pose the rig runs on. */
	UPROPERTY(EditAnywhere, Category = Links)
	FPoseLink Source;
};

USTRUCT()
struct CONTROLRIG_API FAnimNode_ControlRig : public FAnimNode_ControlRigBase
{
	GENERATED_BODY()

	UClass* GetControlRigClass() const { return ControlRigClass; }

protected:
	UPROPERTY(EditAnywhere, Category = ControlRig, meta = (NotConnectable))
	TSubclassOf<UControlRig> ControlRigClass;
};
