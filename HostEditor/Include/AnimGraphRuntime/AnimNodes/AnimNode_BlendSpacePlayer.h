// FAnimNode_BlendSpacePlayer: plays a BlendSpace at the blend input it is given.
#pragma once

#include "CoreMinimal.h"
#include "Animation/AnimNode_AssetPlayerBase.h"
#include "UObject/ObjectPtr.h"

#include "AnimNode_BlendSpacePlayer.generated.h"

class UBlendSpace;

USTRUCT(BlueprintInternalUseOnly)
struct ANIMGRAPHRUNTIME_API FAnimNode_BlendSpacePlayerBase : public FAnimNode_AssetPlayerBase
{
	GENERATED_BODY()
};

USTRUCT(BlueprintInternalUseOnly)
struct ANIMGRAPHRUNTIME_API FAnimNode_BlendSpacePlayer : public FAnimNode_BlendSpacePlayerBase
{
	GENERATED_BODY()

	UBlendSpace* GetBlendSpace() const { return BlendSpace; }
	bool SetBlendSpace(UBlendSpace* InBlendSpace)
	{
		BlendSpace = InBlendSpace;
		return true;
	}

private:
	UPROPERTY(EditAnywhere, Category = Settings, meta = (PinHiddenByDefault))
	TObjectPtr<UBlendSpace> BlendSpace;
};
