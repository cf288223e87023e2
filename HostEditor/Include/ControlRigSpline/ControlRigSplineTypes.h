// FControlRigSpline: a spline curve that Control Rig nodes pass between them.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"

#include "ControlRigSplineTypes.generated.h"

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
 * A spline value on a node pin. Its curve is built when the rig runs; the value itself carries no
 * editable members.
 */
USTRUCT(BlueprintType)
struct FControlRigSpline
{
	GENERATED_BODY()
};
