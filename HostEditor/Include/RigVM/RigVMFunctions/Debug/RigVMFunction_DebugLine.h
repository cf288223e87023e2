// Draws a debug line between two points.
#pragma once

#include "CoreMinimal.h"
#include "RigVMFunctions/Debug/RigVMFunction_DebugBase.h"
#include "UObject/ObjectMacros.h"

#include "RigVMFunction_DebugLine.generated.h"

/**
 * Draws a line in the viewport given a start and end vector
 */
USTRUCT(meta = (DisplayName = "Draw Line"))
struct FRigVMFunction_DebugLineNoSpace : public FRigVMFunction_DebugBaseMutable
{
	GENERATED_BODY()

	RIGVM_METHOD()
	virtual void Execute() override;

	/** The global start position of the line */
	UPROPERTY(meta = (Input))
	FVector A = FVector::ZeroVector;

	/** The global end position of the line */
	UPROPERTY(meta = (Input))
	FVector B = FVector::ZeroVector;

	/** The color to use for the drawing */
	UPROPERTY(meta = (Input))
	FLinearColor Color = FLinearColor::Red;

	/** The line thickness to use for the drawing */
	UPROPERTY(meta = (Input))
	float Thickness = 0.f;

	/** The world offset to pre-multiply the positions with */
	UPROPERTY(meta = (Input))
	FTransform WorldOffset = FTransform::Identity;

	/** If set to False the debug drawing will be skipped */
	UPROPERTY(meta = (Input))
	bool bEnabled = true;
};
