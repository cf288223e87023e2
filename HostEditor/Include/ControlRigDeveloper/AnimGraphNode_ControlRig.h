// UAnimGraphNode_ControlRig: "Control Rig": runs a Control Rig class on its "Source" pose.
#pragma once

#include "CoreMinimal.h"
#include "AnimGraphNode_CustomProperty.h"
#include "AnimNode_ControlRig.h"

#include "AnimGraphNode_ControlRig.generated.h"

UCLASS()
class CONTROLRIGDEVELOPER_API UAnimGraphNode_ControlRig : public UAnimGraphNode_CustomProperty
{
	GENERATED_BODY()

protected:
	virtual TArray<FName> GetPoseInputPinNames() const override { return {TEXT("Source")}; }

private:
	UPROPERTY(EditAnywhere, Category = Settings)
	FAnimNode_ControlRig Node;
};
