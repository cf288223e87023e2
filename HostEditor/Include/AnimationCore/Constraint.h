// Per-axis filters that constraints apply to the parts of a transform.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"

#include "Constraint.generated.h"

/** Which of the three axes of a vector an operation affects. */
USTRUCT(BlueprintType)
struct FFilterOptionPerAxis
{
	GENERATED_BODY()

	FFilterOptionPerAxis() = default;
	FFilterOptionPerAxis(bool bInX, bool bInY, bool bInZ)
		: bX(bInX)
		, bY(bInY)
		, bZ(bInZ)
	{
	}

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = FFilterOptionPerAxis)
	bool bX = true;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = FFilterOptionPerAxis)
	bool bY = true;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = FFilterOptionPerAxis)
	bool bZ = true;
};

/** A filter for a whole transform */
USTRUCT(BlueprintType)
struct FTransformFilter
{
	GENERATED_BODY()

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = FTransformFilter)
	FFilterOptionPerAxis TranslationFilter;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = FTransformFilter)
	FFilterOptionPerAxis RotationFilter;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = FTransformFilter)
	FFilterOptionPerAxis ScaleFilter;
};
