// Moves one hierarchy element by an offset in its own space.
#pragma once

#include "CoreMinimal.h"
#include "Rigs/RigHierarchyCache.h"
#include "Units/RigUnit.h"
#include "UObject/ObjectMacros.h"

#include "RigUnit_OffsetTransform.generated.h"

/**
 * Offset Transform is used to add an offset to an existing transform in the hierarchy. The offset is post multiplied.
 */
USTRUCT(meta = (DisplayName = "Offset Transform", Category = "Transforms", DocumentationPolicy = "Strict", Keywords = "Offset,Relative,AddBoneTransform", NodeColor = "0, 0.364706, 1.0", Varying))
struct CONTROLRIG_API FRigUnit_OffsetTransformForItem : public FRigUnitMutable
{
	GENERATED_BODY()

	FRigUnit_OffsetTransformForItem()
		: Item(NAME_None, ERigElementType::Bone)
	{
	}

	RIGVM_METHOD()
	virtual void Execute() override;

	/** The item to offset the transform for */
	UPROPERTY(meta = (Input))
	FRigElementKey Item;

	/** The transform of the item relative to its previous transform */
	UPROPERTY(meta = (Input))
	FTransform OffsetTransform = FTransform::Identity;

	/** Defines how much the change will be applied */
	UPROPERTY(meta = (Input, UIMin = "0.0", UIMax = "1.0"))
	float Weight = 1.f;

	/** If set to true children of affected items in the hierarchy will follow the transform change - otherwise only the parent will move. */
	UPROPERTY(meta = (Input))
	bool bPropagateToChildren = true;

	/** Used to cache the internally used index */
	UPROPERTY()
	FCachedRigElement CachedIndex;
};
