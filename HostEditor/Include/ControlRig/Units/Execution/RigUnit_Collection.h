// Units that gather hierarchy items into lists and walk over them.
#pragma once

#include "CoreMinimal.h"
#include "Rigs/RigHierarchyDefines.h"
#include "Units/RigUnit.h"
#include "UObject/ObjectMacros.h"

#include "RigUnit_Collection.generated.h"

/** An ordered list of element keys without repeats. */
USTRUCT(BlueprintType)
struct CONTROLRIG_API FRigElementKeyCollection
{
	GENERATED_BODY()

	FRigElementKeyCollection() = default;
	explicit FRigElementKeyCollection(const TArray<FRigElementKey>& InKeys)
		: Keys(InKeys)
	{
	}

	/** The keys, in order. */
	const TArray<FRigElementKey>& GetKeys() const { return Keys; }

private:
	UPROPERTY()
	TArray<FRigElementKey> Keys;
};

USTRUCT(meta = (Abstract, Category = "Items|Collections", NodeColor = "0.4 0.627451 0.8"))
struct CONTROLRIG_API FRigUnit_CollectionBase : public FRigUnit
{
	GENERATED_BODY()
};

USTRUCT(meta = (Abstract, Category = "Items|Collections", NodeColor = "0.4 0.627451 0.8"))
struct CONTROLRIG_API FRigUnit_CollectionBaseMutable : public FRigUnitMutable
{
	GENERATED_BODY()
};

/**
 * Creates an item array based on the direct or recursive children of a provided parent item. Returns an empty array for an invalid parent item.
 */
USTRUCT(meta = (DisplayName = "Get Children", Category = "Hierarchy", Keywords = "Bone,Joint,Collection,Filter,Parent", Varying))
struct CONTROLRIG_API FRigUnit_CollectionChildrenArray : public FRigUnit_CollectionBase
{
	GENERATED_BODY()

	FRigUnit_CollectionChildrenArray()
		: Parent(NAME_None, ERigElementType::Bone)
	{
	}

	RIGVM_METHOD()
	virtual void Execute() override;

	/** The parent to search the children for */
	UPROPERTY(meta = (Input, ExpandByDefault))
	FRigElementKey Parent;

	/** If True the parent will be included in the list of results */
	UPROPERTY(meta = (Input))
	bool bIncludeParent = false;

	/** If True children of children will be included */
	UPROPERTY(meta = (Input))
	bool bRecursive = false;

	/**
	 * When true, it will return all children, regardless of whether the parent is active or not.
	 * When false, will return only the children which are influenced by this parent
	 */
	UPROPERTY(meta = (Input))
	bool bDefaultChildren = true;

	/** The type of children to look for */
	UPROPERTY(meta = (Input))
	ERigElementType TypeToSearch = ERigElementType::All;

	/** The resulting array of children */
	UPROPERTY(meta = (Output))
	TArray<FRigElementKey> Items;
};

/**
 * Returns a collection provided a specific array of items.
 */
USTRUCT(meta = (DisplayName = "Collection from Items", Category = "Items|Collections", Keywords = "Collection,Array", Varying))
struct CONTROLRIG_API FRigUnit_CollectionItems : public FRigUnit_CollectionBase
{
	GENERATED_BODY()

	RIGVM_METHOD()
	virtual void Execute() override;

	/** The input array of items */
	UPROPERTY(meta = (Input))
	TArray<FRigElementKey> Items;

	/** If True the collection may contain duplicates */
	UPROPERTY(meta = (Input))
	bool bAllowDuplicates = false;

	/** The resulting collection */
	UPROPERTY(meta = (Output))
	FRigElementKeyCollection Collection;
};

/**
 * Given a collection of items, execute iteratively across all items in a given collection
 */
USTRUCT(meta = (DisplayName = "For Each Item", Keywords = "Collection,Loop,Iterate", Icon = "EditorStyle|GraphEditor.Macro.ForEach_16x", Deprecated = "5.0"))
struct CONTROLRIG_API FRigUnit_CollectionLoop : public FRigUnit_CollectionBaseMutable
{
	GENERATED_BODY()

	RIGVM_METHOD()
	virtual void Execute() override;

	/** The sub-block of the loop to run next ("Completed" once every item has run). */
	UPROPERTY(meta = (Singleton))
	FName BlockToRun;

	UPROPERTY(meta = (Input))
	FRigElementKeyCollection Collection;

	UPROPERTY(meta = (Singleton, Output))
	FRigElementKey Item;

	UPROPERTY(meta = (Singleton, Output))
	int32 Index = 0;

	UPROPERTY(meta = (Output))
	int32 Count = 0;

	/**
	 * Ranging from 0.0 (first item) and 1.0 (last item)
	 * This is useful to drive a consecutive node with a
	 * curve or an ease to distribute a value.
	 */
	UPROPERTY(meta = (Singleton, Output))
	float Ratio = 0.f;

	UPROPERTY(meta = (Output))
	FControlRigExecuteContext Completed;
};
