// USkeleton: the bone hierarchy that skeletal meshes and animations share.
#pragma once

#include "CoreMinimal.h"
#include "ReferenceSkeleton.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"

#include "Skeleton.generated.h"

UCLASS(BlueprintType)
class ENGINE_API USkeleton : public UObject
{
	GENERATED_BODY()

public:
	/** The skeleton's bones with their parents and reference pose. */
	const FReferenceSkeleton& GetReferenceSkeleton() const { return ReferenceSkeleton; }
	FReferenceSkeleton& GetMutableReferenceSkeleton() { return ReferenceSkeleton; }

private:
	FReferenceSkeleton ReferenceSkeleton;
};
