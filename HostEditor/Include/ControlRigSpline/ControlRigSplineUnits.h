// Control Rig units that build splines from points and fit chains of items onto them.
#pragma once

#include "ControlRigSplineTypes.h"
#include "CoreMinimal.h"
#include "RigVMFunctions/Math/RigVMMathLibrary.h"
#include "Rigs/RigHierarchyCache.h"
#include "Units/Highlevel/Hierarchy/RigUnit_FitChainToCurve.h"
#include "Units/Highlevel/RigUnit_HighlevelBase.h"
#include "Units/RigUnit.h"
#include "UObject/ObjectMacros.h"

#include "ControlRigSplineUnits.generated.h"

USTRUCT(meta = (Abstract, NodeColor = "0.737911 0.099899 0.099899"))
struct FRigUnit_ControlRigSplineBase : public FRigUnit
{
	GENERATED_BODY()
};

/**
 * Creates a Spline curve from an array of positions
 */
USTRUCT(meta = (DisplayName = "Spline From Points", Keywords = "Spline From Positions", Category = "Splines", Varying, NodeColor = "0.737911 0.099899 0.099899"))
struct FRigUnit_ControlRigSplineFromPoints : public FRigUnit_ControlRigSplineBase
{
	GENERATED_BODY()

	RIGVM_METHOD()
	virtual void Execute() override;

	/** The input points to form the spline */
	UPROPERTY(meta = (Input))
	TArray<FVector> Points;

	/** The mode to use for the spline */
	UPROPERTY(meta = (Input))
	ESplineType SplineMode = ESplineType::Hermite;

	/** If True the spline will be closed */
	UPROPERTY(meta = (Input))
	bool bClosed = false;

	/** Specifies the detail per segment of the spline */
	UPROPERTY(meta = (Input))
	int32 SamplesPerSegment = 16;

	/** The amount of compression to apply */
	UPROPERTY(meta = (Input))
	float Compression = 0.f;

	/** The amount of stretch to allow for the spline */
	UPROPERTY(meta = (Input))
	float Stretch = 0.f;

	/** The resulting spline */
	UPROPERTY(meta = (Output))
	FControlRigSpline Spline;
};

/**
 * Fits a given chain to a spline curve.
 * Additionally provides rotational control matching the features of the Distribute Rotation node.
 */
USTRUCT(meta = (DisplayName = "Fit Chain on Spline Curve", Category = "Splines", Keywords = "Fit,Resample,Spline"))
struct FRigUnit_FitChainToSplineCurveItemArray : public FRigUnit_HighlevelBaseMutable
{
	GENERATED_BODY()

	RIGVM_METHOD()
	virtual void Execute() override;

	/** The items to align */
	UPROPERTY(meta = (Input))
	TArray<FRigElementKey> Items;

	/** The curve to align to */
	UPROPERTY(meta = (Input))
	FControlRigSpline Spline;

	/** Specifies how to align the chain on the curve */
	UPROPERTY(meta = (Input, Constant))
	EControlRigCurveAlignment Alignment = EControlRigCurveAlignment::Stretched;

	/** The minimum U value to use on the curve */
	UPROPERTY(meta = (Input, Constant))
	float Minimum = 0.f;

	/** The maximum U value to use on the curve */
	UPROPERTY(meta = (Input, Constant))
	float Maximum = 1.f;

	/** The number of samples to use on the curve. Clamped at 64. */
	UPROPERTY(meta = (Input, Constant))
	int32 SamplingPrecision = 12;

	/** The major axis being aligned - along the bone */
	UPROPERTY(meta = (Input))
	FVector PrimaryAxis = FVector(1.f, 0.f, 0.f);

	/** The minor axis being aligned - towards the pole vector. You can use (0.0, 0.0, 0.0) to disable it. */
	UPROPERTY(meta = (Input))
	FVector SecondaryAxis = FVector::ZeroVector;

	/** The the position of the pole vector used for aligning the secondary axis. Only has an effect if the secondary axis is set. */
	UPROPERTY(meta = (Input))
	FVector PoleVectorPosition = FVector::ZeroVector;

	/** The list of rotations to be applied along the curve */
	UPROPERTY(meta = (Input))
	TArray<FRigUnit_FitChainToCurve_Rotation> Rotations;

	/** The easing to use between to rotations. */
	UPROPERTY(meta = (Input, Constant))
	ERigVMAnimEasingType RotationEaseType = ERigVMAnimEasingType::Linear;

	/** The weight of the solver - how much the rotation should be applied */
	UPROPERTY(meta = (Input))
	float Weight = 1.f;

	/** If set to true all of the global transforms of the children of this bone will be recalculated based on their local transforms. */
	UPROPERTY(meta = (Input))
	bool bPropagateToChildren = true;

	UPROPERTY(meta = (Input, DetailsOnly))
	FRigUnit_FitChainToCurve_DebugSettings DebugSettings;

	UPROPERTY(transient)
	FRigUnit_FitChainToCurve_WorkData WorkData;
};
