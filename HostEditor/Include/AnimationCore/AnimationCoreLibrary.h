// Conversions between quaternions and Euler angles in any rotation order.
#pragma once

#include "CoreMinimal.h"
#include "EulerTransform.h"

namespace AnimationCore
{
	/**
	 * Returns the rotation of Euler angles in degrees, X about the forward axis (as a rotator's roll),
	 * Y about the right axis (as its pitch) and Z about the up axis (as its yaw), applied in
	 * RotationOrder. With XYZ the result equals FRotator::MakeFromEuler(Angles).Quaternion().
	 */
	ANIMATIONCORE_API FQuat QuatFromEuler(const FVector& XYZAnglesInDegrees, EEulerRotationOrder RotationOrder);

	/** Returns Euler angles in degrees, in the sense of QuatFromEuler, that give Rotation in RotationOrder. */
	ANIMATIONCORE_API FVector EulerFromQuat(const FQuat& Rotation, EEulerRotationOrder RotationOrder);
}
