// FReferenceSkeleton: bone names, parent indices and the reference pose of a skeleton or mesh, and
// FReferenceSkeletonModifier, the one way to add bones to it.
#pragma once

#include "CoreMinimal.h"

class USkeleton;

/** One bone of a reference skeleton. */
struct FMeshBoneInfo
{
	FName Name;
	/** The bone's name in the file it was imported from. */
	FString ExportName;
	int32 ParentIndex;

	FMeshBoneInfo()
		: Name(NAME_None)
		, ParentIndex(INDEX_NONE)
	{
	}

	FMeshBoneInfo(const FName& InName, const FString& InExportName, int32 InParentIndex)
		: Name(InName)
		, ExportName(InExportName)
		, ParentIndex(InParentIndex)
	{
	}

	bool operator==(const FMeshBoneInfo& B) const { return Name == B.Name; }
};

/**
 * The bones of a skeleton with their local (parent-relative) reference pose. The raw bone list is
 * what was added; the final list, which the rest of the engine reads, is rebuilt from it when a
 * modifier finishes (a skeleton's virtual bones would join it there).
 */
struct ENGINE_API FReferenceSkeleton
{
public:
	/** The number of bones of the final list. */
	int32 GetNum() const { return FinalRefBoneInfo.Num(); }
	int32 GetRawBoneNum() const { return RawRefBoneInfo.Num(); }
	const TArray<FMeshBoneInfo>& GetRefBoneInfo() const { return FinalRefBoneInfo; }
	const TArray<FMeshBoneInfo>& GetRawRefBoneInfo() const { return RawRefBoneInfo; }
	/** Local (parent-relative) reference-pose transforms of the final list, one per bone. */
	const TArray<FTransform>& GetRefBonePose() const { return FinalRefBonePose; }
	const TArray<FTransform>& GetRawRefBonePose() const { return RawRefBonePose; }
	FName GetBoneName(const int32 BoneIndex) const { return FinalRefBoneInfo[BoneIndex].Name; }
	int32 GetParentIndex(const int32 BoneIndex) const { return FinalRefBoneInfo[BoneIndex].ParentIndex; }
	/** The index of a bone of the final list, or INDEX_NONE. */
	int32 FindBoneIndex(const FName& BoneName) const { return FindIn(FinalRefBoneInfo, BoneName); }
	/** The index of a bone of the raw list, or INDEX_NONE. */
	int32 FindRawBoneIndex(const FName& BoneName) const { return FindIn(RawRefBoneInfo, BoneName); }
	bool IsValidIndex(int32 Index) const { return FinalRefBoneInfo.IsValidIndex(Index); }
	/** Removes every bone. */
	void Empty(int32 Size = 0);
	/** Rebuilds the final list from the raw one (with Skeleton's virtual bones, which this host has none of). */
	void RebuildRefSkeleton(const USkeleton* Skeleton, bool bRebuildNameMap);

private:
	friend struct FReferenceSkeletonModifier;

	static int32 FindIn(const TArray<FMeshBoneInfo>& BoneInfo, const FName& BoneName);
	/** Adds a bone to the raw list: its name must be new and its parent an earlier bone. */
	void Add(const FMeshBoneInfo& BoneInfo, const FTransform& BonePose, const bool bAllowMultipleRoots);

	TArray<FMeshBoneInfo> RawRefBoneInfo;
	TArray<FTransform> RawRefBonePose;
	TArray<FMeshBoneInfo> FinalRefBoneInfo;
	TArray<FTransform> FinalRefBonePose;
};

/** Adds bones to a reference skeleton; the skeleton's final bone list is rebuilt when it goes. */
struct ENGINE_API FReferenceSkeletonModifier
{
	FReferenceSkeletonModifier(FReferenceSkeleton& InRefSkel, const USkeleton* InSkeleton)
		: RefSkeleton(InRefSkel)
		, Skeleton(InSkeleton)
	{
	}

	~FReferenceSkeletonModifier();

	FReferenceSkeletonModifier(const FReferenceSkeletonModifier&) = delete;
	FReferenceSkeletonModifier& operator=(const FReferenceSkeletonModifier&) = delete;

	/**
	 * Adds a new bone. BoneName must not already exist and ParentIndex must be an earlier bone, or
	 * INDEX_NONE for the root (for any number of roots with bAllowMultipleRoots); anything else stops
	 * the program, as the engine's check does.
	 */
	void Add(const FMeshBoneInfo& BoneInfo, const FTransform& BonePose, const bool bAllowMultipleRoots = false);

	/** The index of a bone added so far, or INDEX_NONE. */
	int32 FindBoneIndex(const FName& BoneName) const { return RefSkeleton.FindRawBoneIndex(BoneName); }

	const TArray<FMeshBoneInfo>& GetRefBoneInfo() const { return RefSkeleton.GetRawRefBoneInfo(); }
	const FReferenceSkeleton& GetReferenceSkeleton() const { return RefSkeleton; }

protected:
	FReferenceSkeleton& RefSkeleton;
	const USkeleton* Skeleton;
};

inline int32 FReferenceSkeleton::FindIn(const TArray<FMeshBoneInfo>& BoneInfo, const FName& BoneName)
{
	for (int32 Index = 0; Index < BoneInfo.Num(); ++Index)
	{
		if (BoneInfo[Index].Name == BoneName)
		{
			return Index;
		}
	}
	return INDEX_NONE;
}

inline void FReferenceSkeleton::Empty(int32 Size)
{
	RawRefBoneInfo.Empty(Size);
	RawRefBonePose.Empty(Size);
	FinalRefBoneInfo.Empty(Size);
	FinalRefBonePose.Empty(Size);
}

inline void FReferenceSkeleton::RebuildRefSkeleton(const USkeleton* Skeleton, bool bRebuildNameMap)
{
	FinalRefBoneInfo = RawRefBoneInfo;
	FinalRefBonePose = RawRefBonePose;
}

inline void FReferenceSkeleton::Add(const FMeshBoneInfo& BoneInfo, const FTransform& BonePose, const bool bAllowMultipleRoots)
{
	check(FindRawBoneIndex(BoneInfo.Name) == INDEX_NONE);
	const int32 BoneIndex = RawRefBoneInfo.Add(BoneInfo);
	FTransform Pose = BonePose;
	Pose.NormalizeRotation();
	RawRefBonePose.Add(Pose);
	const bool bIsRoot = BoneInfo.ParentIndex == INDEX_NONE;
	check((bIsRoot && (BoneIndex == 0 || bAllowMultipleRoots)) || (!bIsRoot && BoneInfo.ParentIndex >= 0 && BoneInfo.ParentIndex < BoneIndex));
}

inline FReferenceSkeletonModifier::~FReferenceSkeletonModifier()
{
	RefSkeleton.RebuildRefSkeleton(Skeleton, true);
}

inline void FReferenceSkeletonModifier::Add(const FMeshBoneInfo& BoneInfo, const FTransform& BonePose, const bool bAllowMultipleRoots)
{
	RefSkeleton.Add(BoneInfo, BonePose, bAllowMultipleRoots);
}
