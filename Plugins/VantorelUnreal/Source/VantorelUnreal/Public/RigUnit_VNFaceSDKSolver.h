// The face solver: evaluates a face rig data asset on the rig each evaluation.
#pragma once

#include "CoreMinimal.h"
#include "Rigs/RigHierarchyDefines.h"
#include "Units/RigUnit.h"
#include "VNFaceRigDataAsset.h"

#include "RigUnit_VNFaceSDKSolver.generated.h"

class URigHierarchy;

/**
 * Drives the face from its set-driven-key data. Each evaluation it
 * - keeps the control box attach null on the face joint,
 * - poses every driven bone or null from its initial local transform plus what its drivers give:
 *   each driver reads its control's channel, every driven row evaluates its curve there, and the
 *   rows of one element add up (absolute rows replace the initial value of their channel, additive
 *   rows add to it; local rows act in the element's parent space, world rows in world space;
 *   translations are scaled by FaceScaler),
 * - keeps follow nulls on their bones' driven pose, then moves directly driven bones by what their
 *   controls have moved under their parents since rest, turns the eyes with their final controls, aims the eye aim nulls at their targets and shows or hides
 *   the visibility groups by their switches.
 */
USTRUCT(meta = (DisplayName = "VN Face SDK Solver", Category = "Vantorel"))
struct VANTORELUNREAL_API FRigUnit_VNFaceSDKSolver : public FRigUnitMutable
{
	GENERATED_BODY()

	RIGVM_METHOD()
	virtual void Execute() override;

	/**
	 * The object path of the face rig data asset to evaluate ("/Game/Hero/DA_Hero_VNFaceSDK.DA_Hero_VNFaceSDK").
	 * A path rather than an object pointer, because RigVM pins carry plain values, not object references.
	 */
	UPROPERTY(meta = (Input))
	FString FaceRigDataAsset;

	/** The bone the face hangs from. */
	UPROPERTY(meta = (Input))
	FRigElementKey FaceJoint = FRigElementKey(TEXT("FaceJoint_M"), ERigElementType::Bone);

	/** The null the control box hangs from; it follows the face joint. */
	UPROPERTY(meta = (Input))
	FRigElementKey CtrlBoxAttach = FRigElementKey(TEXT("ctrlBoxAttach"), ERigElementType::Null);

	/** The character's face size relative to the Maya face the curves were keyed on. */
	UPROPERTY(meta = (Input))
	float FaceScaler = 1.0f;

	/** Evaluates Data on Hierarchy's current pose; the Execute entry calls it with the loaded asset. */
	static void Solve(URigHierarchy* Hierarchy, const UVNFaceRigDataAsset& Data, const FRigElementKey& InFaceJoint, const FRigElementKey& InCtrlBoxAttach, float InFaceScaler);
};
