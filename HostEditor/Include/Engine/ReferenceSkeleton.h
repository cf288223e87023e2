// FReferenceSkeleton: bone names, parent indices and the reference pose of a skeleton or mesh.
#pragma once

#include "CoreMinimal.h"

/** One bone of a reference skeleton. */
struct FMeshBoneInfo
{
	FName Name;
	int32 ParentIndex = INDEX_NONE;

	FMeshBoneInfo() = default;
	FMeshBoneInfo(const FName& InName, int32 InParentIndex)
		: Name(InName)
		, ParentIndex(InParentIndex)
	{
	}
};

class FReferenceSkeleton;

/** Adds bones to a reference skeleton; parents must be added before their children. */
class FReferenceSkeletonModifier
{
public:
	explicit FReferenceSkeletonModifier(FReferenceSkeleton& InRefSkeleton)
		: RefSkeleton(InRefSkeleton)
	{
	}

	void Add(const FMeshBoneInfo& BoneInfo, const FTransform& BonePose);

private:
	FReferenceSkeleton& RefSkeleton;
};

class ENGINE_API FReferenceSkeleton
{
public:
	int32 GetNum() const { return BoneInfo.Num(); }
	int32 GetRawBoneNum() const { return BoneInfo.Num(); }
	const TArray<FMeshBoneInfo>& GetRefBoneInfo() const { return BoneInfo; }
	const TArray<FMeshBoneInfo>& GetRawRefBoneInfo() const { return BoneInfo; }
	/** Local (parent-relative) reference-pose transforms, one per bone. */
	const TArray<FTransform>& GetRefBonePose() const { return BonePose; }
	const TArray<FTransform>& GetRawRefBonePose() const { return BonePose; }
	FName GetBoneName(int32 BoneIndex) const { return BoneInfo[BoneIndex].Name; }
	int32 GetParentIndex(int32 BoneIndex) const { return BoneInfo[BoneIndex].ParentIndex; }
	int32 FindBoneIndex(const FName& BoneName) const;
	bool IsValidIndex(int32 Index) const { return BoneInfo.IsValidIndex(Index); }
	void Empty() { BoneInfo.Empty(); BonePose.Empty(); }

private:
	friend class FReferenceSkeletonModifier;

	TArray<FMeshBoneInfo> BoneInfo;
	TArray<FTransform> BonePose;
};

inline void FReferenceSkeletonModifier::Add(const FMeshBoneInfo& InBoneInfo, const FTransform& InBonePose)
{
	check(InBoneInfo.ParentIndex == INDEX_NONE || RefSkeleton.BoneInfo.IsValidIndex(InBoneInfo.ParentIndex));
	RefSkeleton.BoneInfo.Add(InBoneInfo);
	RefSkeleton.BonePose.Add(InBonePose);
}

inline int32 FReferenceSkeleton::FindBoneIndex(const FName& BoneName) const
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
