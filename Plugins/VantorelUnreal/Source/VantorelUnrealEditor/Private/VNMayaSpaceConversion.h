// The fixed rules that turn Maya's Y-up data (positions, 4x4 world matrices, Euler angles) into
// Unreal's Z-up frame. No rule changes units; callers apply the mesh's import scale where they need it.
#pragma once

#include "CoreMinimal.h"

namespace VNMayaSpaceConversion
{
	/** A magnitude at or below this counts as a zero scale component. */
	constexpr double ZeroScaleTolerance = 1.0e-8;

	/** The number of values of a Maya world matrix. */
	constexpr int32 MayaMatrixValueCount = 16;

	/** Converts a Maya position or direction (x, y, z) to Unreal's (x, z, y); no sign changes. */
	FVector MayaPositionToUnreal(const FVector& MayaPosition);

	/**
	 * Converts a Maya world matrix (16 row-major values, row-vector convention, translation in values
	 * 12 to 14) by swapping columns 1 and 2 of every row and decomposing the result as the engine does.
	 * A proper Maya frame gives scale (-1, 1, 1): local Y and Z are the converted Maya Y and Z axes and
	 * local X is the negated converted Maya X axis. Returns false, leaving OutTransform untouched,
	 * unless exactly 16 values are given.
	 */
	bool MayaWorldMatrixToUnrealTransform(const TArray<float>& MayaMatrix, FTransform& OutTransform);

	/**
	 * The placement used when no world matrix is available: rotation with pitch 0, yaw -ry and roll 90
	 * (rx and rz are not used), the position converted by MayaPositionToUnreal, unit scale.
	 */
	FTransform MayaEulerFallbackToUnrealTransform(const FVector& MayaPosition, const FVector& MayaRotationDegrees);

	/**
	 * Divides each component of Value by that component of Scale; a scale component of magnitude at
	 * most ZeroScaleTolerance gives 0 instead of a division.
	 */
	FVector DivideByScaleSafely(const FVector& Value, const FVector& Scale);

	/**
	 * Returns a world point in the local space of a world transform: the translation subtracted, the
	 * rotation undone, then each component divided by the scale, where a scale component of magnitude
	 * at most ZeroScaleTolerance gives 0 instead of a division.
	 */
	FVector WorldPointToLocal(const FTransform& WorldTransform, const FVector& WorldPoint);
}
