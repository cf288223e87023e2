// The body rig's bone import: the Control Rig's bones become the skeletal mesh's bones, without the
// top groups a Maya rig exports as bones ("MotionSystem", "MainSystem", "Main"), whose names the body
// builder gives to elements of its own.

#include "VNFaceSDKImportLibrary.h"

#include "ControlRigBlueprint.h"
#include "Engine/SkeletalMesh.h"
#include "ReferenceSkeleton.h"
#include "Rigs/RigHierarchyController.h"

namespace
{
	// The import's warnings and its summary line log to LogTemp, not the module's category: users and
	// the docs look for them there.
	const TCHAR* const BoneImportFailedPrefix = TEXT("Vantorel body bone import failed: ");

	/** Compared as engine names, so any letter case matches. */
	bool IsExcludedTopGroup(const FName& BoneName)
	{
		static const FName ExcludedNames[] = {FName(TEXT("MotionSystem")), FName(TEXT("MainSystem")), FName(TEXT("Main"))};
		for (const FName& Excluded : ExcludedNames)
		{
			if (BoneName == Excluded)
			{
				return true;
			}
		}
		return false;
	}

	/** The mesh's bones without the excluded groups, each linked to its nearest kept ancestor. */
	struct FKeptBones
	{
		TArray<FMeshBoneInfo> BoneInfos;
		/** Local transforms relative to the new parents. */
		TArray<FTransform> BoneTransforms;
	};

	FKeptBones KeepBodyBones(const FReferenceSkeleton& RefSkeleton)
	{
		const TArray<FMeshBoneInfo>& BoneInfos = RefSkeleton.GetRawRefBoneInfo();
		const TArray<FTransform>& BonePose = RefSkeleton.GetRawRefBonePose();
		auto LocalPose = [&BonePose](int32 Index) { return BonePose.IsValidIndex(Index) ? BonePose[Index] : FTransform::Identity; };
		// Parents come before their children; any other parent index is treated as a root.
		auto ParentOf = [&BoneInfos](int32 Index) {
			const int32 Parent = BoneInfos[Index].ParentIndex;
			return Parent >= 0 && Parent < Index ? Parent : INDEX_NONE;
		};

		FKeptBones Kept;
		TArray<int32> NewIndexOf;
		NewIndexOf.Init(INDEX_NONE, BoneInfos.Num());
		for (int32 Index = 0; Index < BoneInfos.Num(); ++Index)
		{
			if (!IsExcludedTopGroup(BoneInfos[Index].Name))
			{
				NewIndexOf[Index] = Kept.BoneInfos.Add(BoneInfos[Index]);
				Kept.BoneTransforms.Add(LocalPose(Index));
			}
		}

		for (int32 Index = 0; Index < BoneInfos.Num(); ++Index)
		{
			const int32 NewIndex = NewIndexOf[Index];
			if (NewIndex == INDEX_NONE)
			{
				continue;
			}
			// The skipped groups' own transforms are folded into the bone's local transform, so that
			// the bone keeps its place in the mesh's component space below its new parent.
			FTransform& Local = Kept.BoneTransforms[NewIndex];
			int32 Ancestor = ParentOf(Index);
			while (Ancestor != INDEX_NONE && IsExcludedTopGroup(BoneInfos[Ancestor].Name))
			{
				Local = Local * LocalPose(Ancestor);
				Ancestor = ParentOf(Ancestor);
			}
			Kept.BoneInfos[NewIndex].ParentIndex = Ancestor == INDEX_NONE ? INDEX_NONE : NewIndexOf[Ancestor];
		}
		return Kept;
	}
}

bool UVNFaceSDKImportLibrary::ImportBodyControlRigBones(UControlRigBlueprint* ControlRigBlueprint, USkeletalMesh* SkeletalMesh)
{
	if (!ControlRigBlueprint || !SkeletalMesh)
	{
		UE_LOG(LogTemp, Warning, TEXT("%sControl Rig or SkeletalMesh is null."), BoneImportFailedPrefix);
		return false;
	}
	URigHierarchyController* Controller = ControlRigBlueprint->GetHierarchyController();
	if (!Controller)
	{
		UE_LOG(LogTemp, Warning, TEXT("%shierarchy controller is null."), BoneImportFailedPrefix);
		return false;
	}

	const FKeptBones Kept = KeepBodyBones(SkeletalMesh->GetRefSkeleton());
	// The kept bones become a reference skeleton of their own, which the controller imports as it
	// would a mesh's. A skipped top group can leave several roots.
	FReferenceSkeleton BodySkeleton;
	{
		FReferenceSkeletonModifier Modifier(BodySkeleton, nullptr);
		for (int32 Index = 0; Index < Kept.BoneInfos.Num(); ++Index)
		{
			Modifier.Add(Kept.BoneInfos[Index], Kept.BoneTransforms[Index], true);
		}
	}
	const TArray<FRigElementKey> Imported = Controller->ImportBones(BodySkeleton, NAME_None, true, true, false, false);

	ControlRigBlueprint->PropagateHierarchyFromBPToInstances();
	ControlRigBlueprint->MarkPackageDirty();
	UE_LOG(LogTemp, Display, TEXT("Vantorel body import: %d bones imported; removed legacy MotionSystem/MainSystem/Main; no replacement MotionSystem was created."), Imported.Num());
	return true;
}
