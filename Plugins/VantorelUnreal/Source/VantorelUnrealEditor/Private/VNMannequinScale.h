// The mannequin scale factor: a character's leg length over the engine mannequin's.
#pragma once

#include "CoreMinimal.h"

class USkeletalMesh;

namespace VantorelMannequinScale
{
	/** The mannequin's leg length, hip to knee to ankle in its reference pose, in centimetres. */
	extern const float MannequinLegLength;

	struct FMeasurement
	{
		bool bSuccess = false;
		/** 1 when the measurement failed. */
		float Factor = 1.0f;
		/** How the factor was found, or why it could not be. */
		FString Detail;
	};

	/** Measures the leg of the mesh's reference pose (Hip_R/Knee_R/Ankle_R, else thigh_r/calf_r/foot_r). */
	FMeasurement Measure(const USkeletalMesh* Mesh);

	/** "Mannequin scale factor :  1.000", or "... unavailable" when it cannot be measured. */
	FString FactorText(const FMeasurement& Measurement);
}
