// Enumerations shared by the RigVM function library.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"

#include "RigVMFunctionDefines.generated.h"

/** The space a transform is read or written in. */
UENUM()
enum class ERigVMTransformSpace : uint8
{
	/** Apply in parent space */
	LocalSpace,

	/** Apply in rig space */
	GlobalSpace,

	/** MAX - invalid */
	Max UMETA(Hidden),
};

/** The shape a position is clamped to. */
UENUM()
enum class ERigVMClampSpatialMode : uint8
{
	Plane,
	Cylinder,
	Sphere,
	Capsule,
	Max UMETA(Hidden),
};
