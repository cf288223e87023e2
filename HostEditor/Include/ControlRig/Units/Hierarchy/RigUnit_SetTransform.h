// Writes the transform, translation or rotation of one hierarchy element.
#pragma once

#include "CoreMinimal.h"
#include "RigVMFunctions/RigVMFunctionDefines.h"
#include "Rigs/RigHierarchyCache.h"
#include "Units/RigUnit.h"
#include "UObject/ObjectMacros.h"

#include "RigUnit_SetTransform.generated.h"

/**
 * SetTransform is used to set a single transform on hierarchy.
 *
 * Note: For Controls when setting the initial transform this node actually sets the Control's offset transform and resets the local values to (0, 0, 0).
 */
USTRUCT(meta = (DisplayName = "Set Transform", Category = "Transforms", TemplateName = "Set Transform", DocumentationPolicy = "Strict", Keywords = "SetBoneTransform,SetControlTransform,SetInitialTransform,SetSpaceTransform", NodeColor = "0, 0.364706, 1.0", Varying))
struct CONTROLRIG_API FRigUnit_SetTransform : public FRigUnitMutable
{
	GENERATED_BODY()

	FRigUnit_SetTransform()
		: Item(NAME_None, ERigElementType::Bone)
	{
	}

	RIGVM_METHOD()
	virtual void Execute() override;

	/** The item to set the transform for */
	UPROPERTY(meta = (Input, ExpandByDefault))
	FRigElementKey Item;

	/** Defines if the transform should be set in local or global space */
	UPROPERTY(meta = (Input))
	ERigVMTransformSpace Space = ERigVMTransformSpace::GlobalSpace;

	/**
	 * Defines if the transform should be set as current (false) or initial (true).
	 * Initial transforms for bones and other elements in the hierarchy represent the reference pose's value.
	 */
	UPROPERTY(meta = (Input))
	bool bInitial = false;

	/** The new transform of the given item */
	UPROPERTY(meta = (Input))
	FTransform Value = FTransform::Identity;

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

/**
 * SetTranslation is used to set a single translation on hierarchy.
 */
USTRUCT(meta = (DisplayName = "Set Translation", Category = "Transforms", TemplateName = "Set Transform", DocumentationPolicy = "Strict", Keywords = "SetBoneTranslation,SetControlTranslation,SetInitialTranslation,SetSpaceTranslation,SetBoneLocation,SetControlLocation,SetInitialLocation,SetSpaceLocation,SetBonePosition,SetControlPosition,SetInitialPosition,SetSpacePosition,SetTranslation,SetLocation,SetPosition", NodeColor = "0, 0.364706, 1.0", Varying))
struct CONTROLRIG_API FRigUnit_SetTranslation : public FRigUnitMutable
{
	GENERATED_BODY()

	FRigUnit_SetTranslation()
		: Item(NAME_None, ERigElementType::Bone)
	{
	}

	RIGVM_METHOD()
	virtual void Execute() override;

	/** The item to set the translation for */
	UPROPERTY(meta = (Input, ExpandByDefault))
	FRigElementKey Item;

	/** Defines if the translation should be set in local or global space */
	UPROPERTY(meta = (Input))
	ERigVMTransformSpace Space = ERigVMTransformSpace::GlobalSpace;

	/**
	 * Defines if the transform should be set as current (false) or initial (true).
	 * Initial transforms for bones and other elements in the hierarchy represent the reference pose's value.
	 */
	UPROPERTY(meta = (Input))
	bool bInitial = false;

	/** The new translation of the given item */
	UPROPERTY(meta = (Input))
	FVector Value = FVector::ZeroVector;

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

/**
 * SetRotation is used to set a single rotation on hierarchy.
 */
USTRUCT(meta = (DisplayName = "Set Rotation", Category = "Transforms", TemplateName = "Set Transform", DocumentationPolicy = "Strict", Keywords = "SetBoneRotation,SetControlRotation,SetInitialRotation,SetSpaceRotation,SetBoneOrientation,SetControlOrientation,SetInitialOrientation,SetSpaceOrientation,SetRotation,SetOrientation", NodeColor = "0, 0.364706, 1.0", Varying))
struct CONTROLRIG_API FRigUnit_SetRotation : public FRigUnitMutable
{
	GENERATED_BODY()

	FRigUnit_SetRotation()
		: Item(NAME_None, ERigElementType::Bone)
	{
	}

	RIGVM_METHOD()
	virtual void Execute() override;

	/** The item to set the rotation for */
	UPROPERTY(meta = (Input, ExpandByDefault))
	FRigElementKey Item;

	/** Defines if the rotation should be set in local or global space */
	UPROPERTY(meta = (Input))
	ERigVMTransformSpace Space = ERigVMTransformSpace::GlobalSpace;

	/**
	 * Defines if the transform should be set as current (false) or initial (true).
	 * Initial transforms for bones and other elements in the hierarchy represent the reference pose's value.
	 */
	UPROPERTY(meta = (Input))
	bool bInitial = false;

	/** The new rotation of the given item */
	UPROPERTY(meta = (Input))
	FQuat Value = FQuat::Identity;

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
