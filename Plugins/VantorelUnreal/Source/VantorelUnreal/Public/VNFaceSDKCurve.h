// Evaluation of set-driven-key curves, as the face solver applies them.
#pragma once

#include "CoreMinimal.h"
#include "VNFaceSDKTypes.h"

namespace VNFaceSDKCurve
{
	/**
	 * Returns the curve's value at driver value X: linear between the two keys around X, and the value
	 * of the nearest end key outside them. A curve without keys gives 0.
	 */
	VANTORELUNREAL_API float Evaluate(const TArray<FVNSDKKey>& Keys, float X);

	/**
	 * Returns the rotation curve's value at driver value X: spherical interpolation between the two
	 * keys around X, the nearest end key outside them, and the identity for a curve without keys.
	 */
	VANTORELUNREAL_API FQuat EvaluateRotation(const TArray<FVNSDKQuaternionKey>& Keys, float X);
}
