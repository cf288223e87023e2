// Constraints that drive one element from a weighted set of parents.
#pragma once

#include "Constraint.h"
#include "CoreMinimal.h"
#include "EulerTransform.h"
#include "Rigs/RigHierarchyCache.h"
#include "Units/Highlevel/RigUnit_HighlevelBase.h"
#include "UObject/ObjectMacros.h"

#include "RigUnit_TransformConstraint.generated.h"

/** How the rotations of several parents are blended. */
UENUM()
enum class EConstraintInterpType : uint8
{
	/** Weighted Average of Quaternions, result is independent of the parent order */
	Average UMETA(DisplayName = "Average (Order Independent)"),
	/** Perform Slerp Operation from one parent to the next, result depends on the parent order */
	Shortest UMETA(DisplayName = "Shortest (Order Dependent)"),
	/** MAX - invalid */
	Max UMETA(Hidden),
};

/** One parent of a constraint with its weight. */
USTRUCT()
struct FConstraintParent
{
	GENERATED_BODY()

	FConstraintParent()
		: Item(NAME_None, ERigElementType::Bone)
	{
	}

	FConstraintParent(const FRigElementKey InItem, const float InWeight)
		: Item(InItem)
		, Weight(InWeight)
	{
	}

	UPROPERTY(EditAnywhere, Category = "FConstraintParent", meta = (Input))
	FRigElementKey Item;

	UPROPERTY(EditAnywhere, Category = "FConstraintParent", meta = (Input))
	float Weight = 1.f;
};

USTRUCT()
struct FRigUnit_ParentConstraint_AdvancedSettings
{
	GENERATED_BODY()

	/** Options for interpolating rotations */
	UPROPERTY(EditAnywhere, Category = "Constraint", meta = (Input))
	EConstraintInterpType InterpolationType = EConstraintInterpType::Average;

	/** Rotation channels are filtered in this order of Euler angles */
	UPROPERTY(EditAnywhere, Category = "Constraint", meta = (Input))
	EEulerRotationOrder RotationOrderForFilter = EEulerRotationOrder::XZY;
};

USTRUCT()
struct FRigUnit_RotationConstraint_AdvancedSettings
{
	GENERATED_BODY()

	/** Options for interpolating rotations */
	UPROPERTY(EditAnywhere, Category = "Constraint", meta = (Input))
	EConstraintInterpType InterpolationType = EConstraintInterpType::Average;

	/** Rotation channels are filtered in this order of Euler angles */
	UPROPERTY(EditAnywhere, Category = "Constraint", meta = (Input))
	EEulerRotationOrder RotationOrderForFilter = EEulerRotationOrder::XZY;
};

/**
 * Constrains an item's transform to multiple items' transforms
 */
USTRUCT(meta = (DisplayName = "Parent Constraint", Category = "Constraints", Keywords = "Parent,Orient,Scale"))
struct FRigUnit_ParentConstraint : public FRigUnit_HighlevelBaseMutable
{
	GENERATED_BODY()

	FRigUnit_ParentConstraint()
		: Child(NAME_None, ERigElementType::Bone)
	{
	}

	RIGVM_METHOD()
	virtual void Execute() override;

	/** The child to constrain */
	UPROPERTY(meta = (Input, ExpandByDefault))
	FRigElementKey Child;

	/** If True the offset will be computed based on the current delta between each child and parent */
	UPROPERTY(meta = (Input))
	bool bMaintainOffset = true;

	/** The filter to apply on the transform */
	UPROPERTY(meta = (Input))
	FTransformFilter Filter;

	/** The array of parents to constrain the child to */
	UPROPERTY(EditAnywhere, Category = "Constraint", meta = (Input, ExpandByDefault, DefaultArraySize = 1))
	TArray<FConstraintParent> Parents;

	/** The advanced settings of the constraint operation */
	UPROPERTY(meta = (Input))
	FRigUnit_ParentConstraint_AdvancedSettings AdvancedSettings;

	/** The weight to use when applying the resulting transform to the child */
	UPROPERTY(meta = (Input))
	float Weight = 1.f;

	UPROPERTY()
	FCachedRigElement ChildCache;

	UPROPERTY()
	TArray<FCachedRigElement> ParentCaches;
};

/**
 * Constrains an item's rotation to multiple items' rotations
 */
USTRUCT(meta = (DisplayName = "Rotation Constraint", Category = "Constraints", Keywords = "Parent,Orientation,Orient,Rotate"))
struct FRigUnit_RotationConstraintLocalSpaceOffset : public FRigUnit_HighlevelBaseMutable
{
	GENERATED_BODY()

	FRigUnit_RotationConstraintLocalSpaceOffset()
		: Child(NAME_None, ERigElementType::Bone)
	{
	}

	RIGVM_METHOD()
	virtual void Execute() override;

	/** The child to constrain */
	UPROPERTY(meta = (Input, ExpandByDefault))
	FRigElementKey Child;

	/** If True the offset will be computed based on the current delta between each child and parent */
	UPROPERTY(meta = (Input))
	bool bMaintainOffset = true;

	/** The filter to apply on the rotation */
	UPROPERTY(meta = (Input))
	FFilterOptionPerAxis Filter;

	/** The array of parents to constrain the child to */
	UPROPERTY(EditAnywhere, Category = "Constraint", meta = (Input, ExpandByDefault, DefaultArraySize = 1))
	TArray<FConstraintParent> Parents;

	/** The advanced settings of the constraint operation */
	UPROPERTY(meta = (Input))
	FRigUnit_RotationConstraint_AdvancedSettings AdvancedSettings;

	/** The weight to use when applying the resulting transform to the child */
	UPROPERTY(meta = (Input))
	float Weight = 1.f;

	UPROPERTY()
	FCachedRigElement ChildCache;

	UPROPERTY()
	TArray<FCachedRigElement> ParentCaches;
};
