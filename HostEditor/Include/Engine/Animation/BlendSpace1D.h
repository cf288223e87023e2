// UBlendSpace1D: a BlendSpace with one axis.
#pragma once

#include "CoreMinimal.h"
#include "Animation/BlendSpace.h"

#include "BlendSpace1D.generated.h"

UCLASS(BlueprintType)
class ENGINE_API UBlendSpace1D : public UBlendSpace
{
	GENERATED_BODY()

public:
	virtual int32 GetNumberOfAxes() const override { return 1; }
};
