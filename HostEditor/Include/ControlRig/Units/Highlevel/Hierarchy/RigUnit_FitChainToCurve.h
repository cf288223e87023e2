// The types that chain-fitting units share: curve alignment, rotation keys and debug drawing.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"

#include "RigUnit_FitChainToCurve.generated.h"

/** How a chain is laid out along a curve. */
UENUM()
enum class EControlRigCurveAlignment : uint8
{
	Front,
	Stretched,
};

/** A rotation applied at a place along the chain. */
USTRUCT()
struct FRigUnit_FitChainToCurve_Rotation
{
	GENERATED_BODY()

	/** The rotation to be applied */
	UPROPERTY(EditAnywhere, meta = (Input), Category = "Rotation")
	FQuat Rotation = FQuat::Identity;

	/** The ratio of where this rotation sits along the chain */
	UPROPERTY(EditAnywhere, meta = (Input, Constant), Category = "Rotation")
	float Ratio = 0.f;
};

USTRUCT()
struct FRigUnit_FitChainToCurve_DebugSettings
{
	GENERATED_BODY()

	/** If enabled debug information will be drawn */
	UPROPERTY(EditAnywhere, meta = (Input), Category = "DebugSettings")
	bool bEnabled = false;

	/** The size of the debug drawing information */
	UPROPERTY(EditAnywhere, meta = (Input, EditCondition = "bEnabled"), Category = "DebugSettings")
	float Scale = 1.f;

	/** The color to use for debug drawing */
	UPROPERTY(EditAnywhere, meta = (Input, EditCondition = "bEnabled"), Category = "DebugSettings")
	FLinearColor CurveColor = FLinearColor::Yellow;

	/** The color to use for debug drawing */
	UPROPERTY(EditAnywhere, meta = (Input, EditCondition = "bEnabled"), Category = "DebugSettings")
	FLinearColor SegmentsColor = FLinearColor::Red;

	/** The offset at which to draw the debug information in the world */
	UPROPERTY(EditAnywhere, meta = (Input, EditCondition = "bEnabled"), Category = "DebugSettings")
	FTransform WorldOffset = FTransform::Identity;
};
