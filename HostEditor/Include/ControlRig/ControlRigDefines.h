// Enumerations shared by Control Rig units.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"

#include "ControlRigDefines.generated.h"

/** Whether a vector stands for a direction or for a location. */
UENUM()
enum class EControlRigVectorKind : uint8
{
	Direction,
	Location,
};

/** The space a bone transform is read or written in (the older form of ERigVMTransformSpace). */
UENUM()
enum class EBoneGetterSetterMode : uint8
{
	/** Apply in parent space */
	LocalSpace,

	/** Apply in rig space */
	GlobalSpace,

	/** MAX - invalid */
	Max UMETA(Hidden),
};
