// FAnimNode_SequencePlayer: plays one animation sequence.
#pragma once

#include "CoreMinimal.h"
#include "Animation/AnimNode_AssetPlayerBase.h"
#include "UObject/ObjectPtr.h"

#include "AnimNode_SequencePlayer.generated.h"

class UAnimSequenceBase;

USTRUCT(BlueprintInternalUseOnly)
struct ENGINE_API FAnimNode_SequencePlayerBase : public FAnimNode_AssetPlayerBase
{
	GENERATED_BODY()
};

USTRUCT(BlueprintInternalUseOnly)
struct ENGINE_API FAnimNode_SequencePlayer : public FAnimNode_SequencePlayerBase
{
	GENERATED_BODY()

	UAnimSequenceBase* GetSequence() const { return Sequence; }
	bool SetSequence(UAnimSequenceBase* InSequence)
	{
		Sequence = InSequence;
		return true;
	}

private:
	/** The sequence to play. */
	UPROPERTY(EditAnywhere, Category = Settings, meta = (PinHiddenByDefault, DisallowedClasses = "/Script/Engine.AnimMontage"))
	TObjectPtr<UAnimSequenceBase> Sequence;
};
