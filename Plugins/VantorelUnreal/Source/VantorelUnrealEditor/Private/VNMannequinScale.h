// The mannequin scale factor: a character's leg length over the engine mannequin's.
#pragma once

#include "CoreMinimal.h"

class UBlendSpace;
class UBlueprint;
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

	/** How a character of another size than the mannequin's gets its gameplay setup. */
	enum class ESizeCompensation : int32
	{
		/** Keep the character's size and scale the template's gameplay values ("Scale to Fit"). */
		ScaleGameplayValues = 0,
		/** Scale the Mesh component to the mannequin's size ("Match Mannequin Size"). */
		MatchMannequinSize = 1,
		None = 2,
	};

	/**
	 * Scale to Fit on a BlendSpace copied from Template: the Speed axis's range and every sample's speed
	 * times the mesh's factor. Nothing when the factor cannot be measured; a warning when the template
	 * has no Speed axis.
	 */
	void ScaleBlendSpaceSpeeds(const USkeletalMesh* Mesh, const UBlendSpace* Template, UBlendSpace* BlendSpace);

	/**
	 * Scale to Fit on a character blueprint's defaults: capsule, Mesh offset, camera arm and movement
	 * values are the template's base values times the factor (jump speed times its square root).
	 */
	void ScaleCharacterGameplayValues(const USkeletalMesh* Mesh, UBlueprint* CharacterBlueprint);

	/** Match Mannequin Size: the character's Mesh component scaled by 1 / factor. */
	void MatchMannequinSize(const USkeletalMesh* Mesh, UBlueprint* CharacterBlueprint);
}
