// ERigVMPinDirection: how a pin of a RigVM node takes part in the data flow.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"

#include "RigVMFunction.generated.h"

/** The Pin Direction is used to differentiate different kinds of pins in the data flow graph - inputs, outputs etc. */
UENUM(BlueprintType)
enum class ERigVMPinDirection : uint8
{
	/** A const input value */
	Input,
	/** A mutable output value */
	Output,
	/** A mutable input and output value */
	IO,
	/** A const value that cannot be connected to */
	Visible,
	/** A mutable hidden value (used for interal state) */
	Hidden,
	Invalid,
};
