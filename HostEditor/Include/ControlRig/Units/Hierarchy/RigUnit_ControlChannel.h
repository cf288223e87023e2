// Reads the animation channels that hang below controls.
#pragma once

#include "CoreMinimal.h"
#include "Rigs/RigHierarchyDefines.h"
#include "Units/RigUnit.h"
#include "UObject/ObjectMacros.h"

#include "RigUnit_ControlChannel.generated.h"

/**
 * Get Animation Channel is used to retrieve a control's animation channel value
 */
USTRUCT(meta = (Abstract, Category = "Controls", DocumentationPolicy = "Strict", NodeColor = "0.462745, 1,0, 0.329412", Varying))
struct CONTROLRIG_API FRigUnit_GetAnimationChannelBase : public FRigUnit
{
	GENERATED_BODY()

	/** The name of the Control to retrieve the value for. */
	UPROPERTY(meta = (Input, CustomWidget = "ControlName"))
	FName Control;

	/** The name of the animation channel to retrieve the value for. */
	UPROPERTY(meta = (Input, CustomWidget = "AnimationChannelName"))
	FName Channel;

	/** If set to true the initial value will be returned */
	UPROPERTY(meta = (Input))
	bool bInitial = false;

	/** Used to cache the internally used bone index */
	UPROPERTY()
	FRigElementKey CachedChannelKey;

	/** A hash combining the control, channel and topology identifiers */
	UPROPERTY()
	int32 CachedChannelHash = INDEX_NONE;
};

/**
 * Get Bool Channel is used to retrieve a control's animation channel value
 */
USTRUCT(meta = (DisplayName = "Get Bool Channel", Keywords = "Animation,Channel", TemplateName = "GetAnimationChannel"))
struct CONTROLRIG_API FRigUnit_GetBoolAnimationChannel : public FRigUnit_GetAnimationChannelBase
{
	GENERATED_BODY()

	RIGVM_METHOD()
	virtual void Execute() override;

	/** The current value of the animation channel */
	UPROPERTY(meta = (Output))
	bool Value = false;
};

/**
 * Get Float Channel is used to retrieve a control's animation channel value
 */
USTRUCT(meta = (DisplayName = "Get Float Channel", Keywords = "Animation,Channel", TemplateName = "GetAnimationChannel"))
struct CONTROLRIG_API FRigUnit_GetFloatAnimationChannel : public FRigUnit_GetAnimationChannelBase
{
	GENERATED_BODY()

	RIGVM_METHOD()
	virtual void Execute() override;

	/** The current value of the animation channel */
	UPROPERTY(meta = (Output))
	float Value = 0.f;
};
