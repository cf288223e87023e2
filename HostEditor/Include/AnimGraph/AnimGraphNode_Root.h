// UAnimGraphNode_Root: "Output Pose", the pose the animation graph gives.
#pragma once

#include "CoreMinimal.h"
#include "AnimGraphNode_Base.h"
#include "Animation/AnimNode_Root.h"

#include "AnimGraphNode_Root.generated.h"

UCLASS()
class ANIMGRAPH_API UAnimGraphNode_Root : public UAnimGraphNode_Base
{
	GENERATED_BODY()

public:
	UPROPERTY(EditAnywhere, Category = Settings)
	FAnimNode_Root Node;

protected:
	virtual TArray<FName> GetPoseInputPinNames() const override { return {TEXT("Result")}; }
	virtual bool HasPoseOutput() const override { return false; }
};
