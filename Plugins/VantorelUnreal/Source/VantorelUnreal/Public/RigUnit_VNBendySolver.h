// The bendy-limb solver: bends the bones of limb segments by their bend handles.
#pragma once

#include "CoreMinimal.h"
#include "Units/RigUnit.h"

#include "RigUnit_VNBendySolver.generated.h"

class URigHierarchy;

/** One bend handle of a segment: a control inside its space null, at a place along the segment. */
USTRUCT(BlueprintType)
struct VANTORELUNREAL_API FVNBendyHandle
{
	GENERATED_BODY()

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Bendy")
	FName Control;

	/** The null the control rests in; the control's offset from it is the bend. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Bendy")
	FName Space;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Bendy")
	FName ParentControl;

	/** Where along the segment the handle sits, 0 at the first bone and 1 at the last. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Bendy")
	float Parameter = 0.0f;
};

/** One bendy segment: its bones with their places along it, its handles and its master handle. */
USTRUCT(BlueprintType)
struct VANTORELUNREAL_API FVNBendySegment
{
	GENERATED_BODY()

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Bendy")
	TArray<FName> Bones;

	/** Per bone, where along the segment it sits. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Bendy")
	TArray<float> Parameters;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Bendy")
	TArray<FVNBendyHandle> Handles;

	/** The handle that bends the whole segment; none when the segment has none. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Bendy")
	FName Master;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Bendy")
	FName MasterSpace;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Bendy")
	float MasterParameter = 0.5f;
};

/**
 * Restores or bends limb segments.
 *
 * Restore (bRestore): every snapshot bone gets back the local transform kept in its "VNBendBase_"
 * null, so that bends never pile up from one evaluation to the next.
 *
 * Solve: first every handle's space null travels with the limb: it keeps its place relative to the
 * segment bone nearest its place along the segment (a handle with a parent control keeps its place
 * relative to that control instead, which itself travels with the limb). Each handle's bend is then how
 * far its control has moved from its space null. A bone's displacement is the handles' bends
 * interpolated linearly at the bone's place along the segment, plus the master's bend weighted by a
 * tent that is 1 at the master's place and 0 at both ends. Displacements are worked out from the pose
 * the limb came in with; a bone two segments share moves by their mean. Bones move in world space,
 * parents first, and keep their rotations; the bones below a segment go along with its last bone.
 */
USTRUCT(meta = (DisplayName = "VN Bendy Solver", Category = "Vantorel"))
struct VANTORELUNREAL_API FRigUnit_VNBendySolver : public FRigUnitMutable
{
	GENERATED_BODY()

	RIGVM_METHOD()
	virtual void Execute() override;

	UPROPERTY(meta = (Input))
	bool bRestore = false;

	UPROPERTY(meta = (Input))
	TArray<FVNBendySegment> Segments;

	/** The bones whose initial local transforms the "VNBendBase_" nulls keep. */
	UPROPERTY(meta = (Input))
	TArray<FName> SnapshotBones;

	/** The displacement at Parameter along Segment, given each handle's bend and the master's. */
	static FVector BendAt(const FVNBendySegment& Segment, const TArray<FVector>& HandleBends, const FVector& MasterBend, float Parameter);

	void Solve(URigHierarchy* Hierarchy) const;
};
