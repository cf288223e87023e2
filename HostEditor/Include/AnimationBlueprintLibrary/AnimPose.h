// FAnimPose and UAnimPoseExtensions: a skeleton's bones and poses as scripts read them.
#pragma once

#include "CoreMinimal.h"
#include "Kismet/BlueprintFunctionLibrary.h"

#include "AnimPose.generated.h"

class USkeleton;

/** In which space a bone transform is given. */
UENUM(BlueprintType)
enum class EAnimPoseSpaces : uint8
{
	/** Relative to the parent bone. */
	Local,
	/** Relative to the skeleton's root (component space). */
	World,
};

/** An evaluated pose: bone names, parents, and local and world transforms for the pose and the reference pose. */
USTRUCT(BlueprintType)
struct FAnimPose
{
	GENERATED_BODY()

	TArray<FName> BoneNames;
	TArray<int32> ParentBoneIndices;
	TArray<FTransform> LocalSpacePoses;
	TArray<FTransform> WorldSpacePoses;
	TArray<FTransform> RefLocalSpacePoses;
	TArray<FTransform> RefWorldSpacePoses;

	bool operator==(const FAnimPose& Other) const
	{
		return BoneNames == Other.BoneNames && ParentBoneIndices == Other.ParentBoneIndices;
	}
};

UCLASS(MinimalAPI)
class ANIMATIONBLUEPRINTLIBRARY_API UAnimPoseExtensions : public UBlueprintFunctionLibrary
{
	GENERATED_BODY()

public:
	/** Fills a pose with the reference pose of the skeleton. */
	UFUNCTION(BlueprintCallable, Category = "Animation|Pose")
	static void GetReferencePose(USkeleton* Skeleton, FAnimPose& OutPose);

	/** True when the pose holds bones. */
	UFUNCTION(BlueprintPure, Category = "Animation|Pose")
	static bool IsValid(const FAnimPose& Pose);

	/** The names of the pose's bones, parents before children. */
	UFUNCTION(BlueprintPure, Category = "Animation|Pose")
	static void GetBoneNames(const FAnimPose& Pose, TArray<FName>& Bones);

	/** The bone's transform in the pose; identity when there is no such bone. */
	UFUNCTION(BlueprintPure, Category = "Animation|Pose")
	static FTransform GetBonePose(const FAnimPose& Pose, FName BoneName, EAnimPoseSpaces Space = EAnimPoseSpaces::Local);

	/** The bone's transform in the reference pose; identity when there is no such bone. */
	UFUNCTION(BlueprintPure, Category = "Animation|Pose")
	static FTransform GetRefBonePose(const FAnimPose& Pose, FName BoneName, EAnimPoseSpaces Space = EAnimPoseSpaces::Local);
};
