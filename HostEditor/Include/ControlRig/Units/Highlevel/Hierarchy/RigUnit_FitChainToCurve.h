// The types that chain-fitting units share: curve alignment, rotation keys, debug drawing and the
// state a fitting unit keeps between runs.
#pragma once

#include "CoreMinimal.h"
#include "Rigs/RigHierarchyCache.h"
#include "UObject/ObjectMacros.h"

#include "RigUnit_FitChainToCurve.generated.h"

/** How a chain is laid out along a curve. */
UENUM()
enum class EControlRigCurveAlignment : uint8
{
	Front,
	Stretched,
};

/** A rotation applied at a place along the chain. */
USTRUCT()
struct FRigUnit_FitChainToCurve_Rotation
{
	GENERATED_BODY()

	/** The rotation to be applied */
	UPROPERTY(EditAnywhere, meta = (Input), Category = "Rotation")
	FQuat Rotation = FQuat::Identity;

	/** The ratio of where this rotation sits along the chain */
	UPROPERTY(EditAnywhere, meta = (Input, Constant), Category = "Rotation")
	float Ratio = 0.f;
};

USTRUCT()
struct FRigUnit_FitChainToCurve_DebugSettings
{
	GENERATED_BODY()

	/** If enabled debug information will be drawn */
	UPROPERTY(EditAnywhere, meta = (Input), Category = "DebugSettings")
	bool bEnabled = false;

	/** The size of the debug drawing information */
	UPROPERTY(EditAnywhere, meta = (Input, EditCondition = "bEnabled"), Category = "DebugSettings")
	float Scale = 1.f;

	/** The color to use for debug drawing */
	UPROPERTY(EditAnywhere, meta = (Input, EditCondition = "bEnabled"), Category = "DebugSettings")
	FLinearColor CurveColor = FLinearColor::Yellow;

	/** The color to use for debug drawing */
	UPROPERTY(EditAnywhere, meta = (Input, EditCondition = "bEnabled"), Category = "DebugSettings")
	FLinearColor SegmentsColor = FLinearColor::Red;

	/** The offset at which to draw the debug information in the world */
	UPROPERTY(EditAnywhere, meta = (Input, EditCondition = "bEnabled"), Category = "DebugSettings")
	FTransform WorldOffset = FTransform::Identity;
};

/** What a chain-fitting unit keeps between runs: the chain as first seen, and its working arrays. */
USTRUCT()
struct FRigUnit_FitChainToCurve_WorkData
{
	GENERATED_BODY()

	/** The chain's length: the sum of its segments. */
	UPROPERTY()
	float ChainLength = 0.f;

	/** Where each item goes on the curve. */
	UPROPERTY()
	TArray<FVector> ItemPositions;

	/** Each item's distance from the one before it (0 for the first), as first seen. */
	UPROPERTY()
	TArray<float> ItemSegments;

	/** The positions sampled along the curve. */
	UPROPERTY()
	TArray<FVector> CurvePositions;

	/** The distances between consecutive curve positions. */
	UPROPERTY()
	TArray<float> CurveSegments;

	/** The chain's items, looked up in the hierarchy on the first run. */
	UPROPERTY()
	TArray<FCachedRigElement> CachedItems;

	/** For each item, the rotation keys it lies between and where it lies between them. */
	UPROPERTY()
	TArray<int32> ItemRotationA;

	UPROPERTY()
	TArray<int32> ItemRotationB;

	UPROPERTY()
	TArray<float> ItemRotationT;

	/** The items' local transforms, read before the rotation keys apply. */
	UPROPERTY()
	TArray<FTransform> ItemLocalTransforms;
};
