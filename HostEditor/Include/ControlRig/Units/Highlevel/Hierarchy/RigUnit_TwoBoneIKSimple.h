// The two-bone IK solver unit for hierarchy items.
#pragma once

#include "ControlRigDefines.h"
#include "CoreMinimal.h"
#include "Rigs/RigHierarchyCache.h"
#include "Units/Highlevel/RigUnit_HighlevelBase.h"
#include "UObject/ObjectMacros.h"

#include "RigUnit_TwoBoneIKSimple.generated.h"

USTRUCT()
struct FRigUnit_TwoBoneIKSimple_DebugSettings
{
	GENERATED_BODY()

	/** If enabled debug information will be drawn */
	UPROPERTY(EditAnywhere, Category = DebugSettings, meta = (Input))
	bool bEnabled = false;

	/** The size of the debug drawing information */
	UPROPERTY(EditAnywhere, Category = DebugSettings, meta = (Input, EditCondition = "bEnabled"))
	float Scale = 10.f;

	/** The offset at which to draw the debug information in the world */
	UPROPERTY(EditAnywhere, Category = DebugSettings, meta = (Input, EditCondition = "bEnabled"))
	FTransform WorldOffset = FTransform::Identity;
};

/**
 * Solves the two bone IK given two bones.
 * Note: This node operates in world space!
 */
USTRUCT(meta = (DisplayName = "Basic IK", Category = "Hierarchy", Keywords = "TwoBone,IK", NodeColor = "0 1 1"))
struct FRigUnit_TwoBoneIKSimplePerItem : public FRigUnit_HighlevelBaseMutable
{
	GENERATED_BODY()

	FRigUnit_TwoBoneIKSimplePerItem()
		: ItemA(NAME_None, ERigElementType::Bone)
		, ItemB(NAME_None, ERigElementType::Bone)
		, EffectorItem(NAME_None, ERigElementType::Bone)
		, PoleVectorSpace(NAME_None, ERigElementType::Bone)
	{
	}

	RIGVM_METHOD()
	virtual void Execute() override;

	/** The name of first item */
	UPROPERTY(meta = (Input))
	FRigElementKey ItemA;

	/** The name of second item */
	UPROPERTY(meta = (Input))
	FRigElementKey ItemB;

	/** The name of the effector item (if exists) */
	UPROPERTY(meta = (Input))
	FRigElementKey EffectorItem;

	/** The transform of the effector */
	UPROPERTY(meta = (Input))
	FTransform Effector = FTransform::Identity;

	/** The major axis being aligned - along the item */
	UPROPERTY(meta = (Input))
	FVector PrimaryAxis = FVector(1.f, 0.f, 0.f);

	/** The minor axis being aligned - towards the polevector */
	UPROPERTY(meta = (Input))
	FVector SecondaryAxis = FVector(0.f, 1.f, 0.f);

	/** Determines how much the secondary axis roll is being applied */
	UPROPERTY(meta = (Input))
	float SecondaryAxisWeight = 1.f;

	/**
	 * The polevector to use for the IK solver
	 * This can be a location or direction.
	 */
	UPROPERTY(meta = (Input))
	FVector PoleVector = FVector(0.f, 0.f, 1.f);

	/** The kind of pole vector this is representing - can be a direction or a location */
	UPROPERTY(meta = (Input))
	EControlRigVectorKind PoleVectorKind = EControlRigVectorKind::Direction;

	/** The space in which the pole vector is expressed */
	UPROPERTY(meta = (Input))
	FRigElementKey PoleVectorSpace;

	/** If set to true the stretch feature of the solver will be enabled */
	UPROPERTY(meta = (Input))
	bool bEnableStretch = false;

	/** The ratio where the stretch starts */
	UPROPERTY(meta = (Input))
	float StretchStartRatio = 0.75f;

	/** The maximum allowed stretch ratio */
	UPROPERTY(meta = (Input))
	float StretchMaximumRatio = 1.25f;

	/** The weight of the solver - how much the IK should be applied. */
	UPROPERTY(meta = (Input))
	float Weight = 1.f;

	/** The length of the first item. If set to 0.0 it will be determined by the hierarchy */
	UPROPERTY(meta = (Input))
	float ItemALength = 0.f;

	/** The length of the second item. If set to 0.0 it will be determined by the hierarchy */
	UPROPERTY(meta = (Input))
	float ItemBLength = 0.f;

	/** If set to true all of the global transforms of the children of this bone will be recalculated based on their local transforms. */
	UPROPERTY(meta = (Input))
	bool bPropagateToChildren = true;

	/** The settings for debug drawing */
	UPROPERTY(meta = (Input, DetailsOnly))
	FRigUnit_TwoBoneIKSimple_DebugSettings DebugSettings;

	UPROPERTY()
	FCachedRigElement CachedItemAIndex;

	UPROPERTY()
	FCachedRigElement CachedItemBIndex;

	UPROPERTY()
	FCachedRigElement CachedEffectorItemIndex;

	UPROPERTY()
	FCachedRigElement CachedPoleVectorSpaceIndex;
};
