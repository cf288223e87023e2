// Queries on single hierarchy items.
#pragma once

#include "CoreMinimal.h"
#include "Rigs/RigHierarchyCache.h"
#include "Units/RigUnit.h"
#include "UObject/ObjectMacros.h"

#include "RigUnit_Item.generated.h"

USTRUCT(meta = (Abstract, NodeColor = "0.7 0.05 0.5", Category = "Items"))
struct CONTROLRIG_API FRigUnit_ItemBase : public FRigUnit
{
	GENERATED_BODY()
};

/**
 * Returns true or false if a given item exists
 */
USTRUCT(meta = (DisplayName = "Item Exists", Keywords = ""))
struct CONTROLRIG_API FRigUnit_ItemExists : public FRigUnit_ItemBase
{
	GENERATED_BODY()

	RIGVM_METHOD()
	virtual void Execute() override;

	/** The item to look up */
	UPROPERTY(meta = (Input))
	FRigElementKey Item;

	/** True if the item exists */
	UPROPERTY(meta = (Output))
	bool Exists = false;

	/** Used to cache the internally used index */
	UPROPERTY()
	FCachedRigElement CachedIndex;
};
