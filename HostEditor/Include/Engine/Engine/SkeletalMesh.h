// USkeletalMesh: a skinned mesh asset with its skeleton and reference skeleton.
#pragma once

#include "CoreMinimal.h"
#include "ReferenceSkeleton.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"

#include "SkeletalMesh.generated.h"

class USkeleton;

UCLASS(BlueprintType)
class ENGINE_API USkeletalMesh : public UObject
{
	GENERATED_BODY()

public:
	USkeleton* GetSkeleton() const { return Skeleton; }
	void SetSkeleton(USkeleton* InSkeleton) { Skeleton = InSkeleton; }

	/** The mesh's own bones and reference pose (local transforms, centimetres). */
	const FReferenceSkeleton& GetRefSkeleton() const { return RefSkeleton; }
	FReferenceSkeleton& GetRefSkeleton() { return RefSkeleton; }

private:
	UPROPERTY(EditAnywhere, AssetRegistrySearchable, Category = Mesh)
	TObjectPtr<USkeleton> Skeleton;

	FReferenceSkeleton RefSkeleton;
};
