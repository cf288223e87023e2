// Reads the transform of one hierarchy element.
#pragma once

#include "CoreMinimal.h"
#include "RigVMFunctions/RigVMFunctionDefines.h"
#include "Rigs/RigHierarchyCache.h"
#include "Units/RigUnit.h"
#include "UObject/ObjectMacros.h"

#include "RigUnit_GetTransform.generated.h"

/**
 * GetTransform is used to retrieve a single transform from a hierarchy.
 */
USTRUCT(meta = (DisplayName = "Get Transform", Category = "Transforms", DocumentationPolicy = "Strict", Keywords = "GetBoneTransform,GetControlTransform,GetInitialTransform,GetSpaceTransform,GetTransform", NodeColor = "0.462745, 1,0, 0.329412", Varying))
struct CONTROLRIG_API FRigUnit_GetTransform : public FRigUnit
{
	GENERATED_BODY()

	FRigUnit_GetTransform()
		: Item(NAME_None, ERigElementType::Bone)
	{
	}

	RIGVM_METHOD()
	virtual void Execute() override;

	/** The item to retrieve the transform for */
	UPROPERTY(meta = (Input, ExpandByDefault))
	FRigElementKey Item;

	/** Defines if the transform should be retrieved in local or global space */
	UPROPERTY(meta = (Input))
	ERigVMTransformSpace Space = ERigVMTransformSpace::GlobalSpace;

	/**
	 * Defines if the transform should be retrieved as current (false) or initial (true).
	 * Initial transforms for bones and other elements in the hierarchy represent the reference pose's value.
	 */
	UPROPERTY(meta = (Input))
	bool bInitial = false;

	/** The current transform of the given item - or identity in case it wasn't found. */
	UPROPERTY(meta = (Output))
	FTransform Transform = FTransform::Identity;

	/** Used to cache the internally used index */
	UPROPERTY()
	FCachedRigElement CachedIndex;
};
