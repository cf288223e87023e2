// FCachedRigElement: a rig unit's remembered lookup of a hierarchy element.
#pragma once

#include "CoreMinimal.h"
#include "Rigs/RigHierarchyDefines.h"
#include "UObject/ObjectMacros.h"

#include "RigHierarchyCache.generated.h"

class URigHierarchy;

/**
 * The key of an element together with the index it had in the hierarchy when it was last looked
 * up, and the hierarchy topology version that index belongs to.
 */
USTRUCT()
struct CONTROLRIG_API FCachedRigElement
{
	GENERATED_BODY()

	FCachedRigElement() = default;

	/**
	 * Looks InKey up in InHierarchy. An element it does not hold leaves the cache invalid, and its key
	 * empty unless bForceStoreKey keeps it.
	 */
	FCachedRigElement(const FRigElementKey& InKey, const URigHierarchy* InHierarchy, bool bForceStoreKey = false);

	/** Returns true when the lookup found its element. */
	bool IsValid() const { return Index != INDEX_NONE && Key.IsValid(); }

	/** The element key this cache entry stands for. */
	const FRigElementKey& GetKey() const { return Key; }
	/** The cached element index, or INDEX_NONE before the first lookup. */
	int32 GetIndex() const { return Index; }
	/** Forgets the lookup, keeping nothing. */
	void Reset()
	{
		Key = FRigElementKey();
		Index = INDEX_NONE;
		ContainerVersion = INDEX_NONE;
	}

private:
	UPROPERTY()
	FRigElementKey Key;

	UPROPERTY()
	int32 Index = INDEX_NONE;

	UPROPERTY()
	int32 ContainerVersion = INDEX_NONE;
};
