// FControlRigSpline: a spline curve that Control Rig nodes pass between them.
#pragma once

#include "Containers/ArrayView.h"
#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"

#include "ControlRigSplineTypes.generated.h"

class ControlRigBaseSpline;

/** The kind of curve a spline is built as. */
UENUM()
enum class ESplineType : uint8
{
	/** A B-spline through the control points' hull */
	BSpline,
	/** A Hermite spline through the control points */
	Hermite,
	/** MAX - invalid */
	Max UMETA(Hidden),
};

/**
 * The built curve of a spline value: the settings it was built with, the curve itself and the
 * positions sampled along it, which every query of the spline reads.
 */
struct CONTROLRIGSPLINE_API FControlRigSplineImpl
{
	FControlRigSplineImpl() = default;
	virtual ~FControlRigSplineImpl();

	/** The curve belongs to this object alone. */
	FControlRigSplineImpl(const FControlRigSplineImpl&) = delete;
	FControlRigSplineImpl& operator=(const FControlRigSplineImpl&) = delete;

	/** Spline type. */
	ESplineType SplineMode = ESplineType::BSpline;

	/** Whether or not the curve is closed. */
	bool bClosed = false;

	/** Samples per segment, where a segment is the portion between two control points. */
	int32 SamplesPerSegment = 16;

	/** The allowed length compression when the points move (1 allows none); 0 applies no limit. */
	float Compression = 1.f;

	/** The allowed length stretch when the points move (1 allows none); 0 applies no limit. */
	float Stretch = 1.f;

	/** The samples along the curve, evenly spaced in its parameter. */
	TArray<FTransform> SamplesArray;

	/** The length along the samples up to each of them. */
	TArray<float> AccumulatedLenth;

	/** The distances between consecutive samples when the curve was first built. */
	TArray<float> InitialLengths;

	/** The actual spline. */
	ControlRigBaseSpline* Spline = nullptr;
};

/**
 * A spline value on a node pin. Copies of a value share one built curve; the value carries no
 * editable members.
 */
USTRUCT(BlueprintType)
struct CONTROLRIGSPLINE_API FControlRigSpline
{
	GENERATED_BODY()

	/** The built curve, shared by the copies of this value; empty until control points are set. */
	TSharedPtr<FControlRigSplineImpl> SplineData;

	/**
	 * Sets the control points, building the curve as SplineMode says. A curve built the same way
	 * over as many points is moved instead, its sample distances then kept within Compression and
	 * Stretch of their first lengths. Fewer than four points or fewer than one sample per segment
	 * change nothing.
	 */
	void SetControlPoints(const TArrayView<const FVector>& InPoints, const ESplineType SplineMode, const bool bInClosed, const int32 SamplesPerSegment, const float Compression, const float Stretch);

	/** Returns the position at InParam in [0, 1] (clamped), or the origin for a spline without points. */
	FVector PositionAtParam(const float InParam) const;

	/**
	 * Returns the direction of the curve at InParam in [0, 1] (clamped): the step from the sample at
	 * that place to the next one, not normalised. A spline without points returns the zero vector.
	 */
	FVector TangentAtParam(const float InParam) const;
};
