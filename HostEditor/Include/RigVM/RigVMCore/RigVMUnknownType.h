// FRigVMUnknownType: the type of a wild-card pin, before a concrete type is chosen for it.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"

#include "RigVMUnknownType.generated.h"

/** Stands for any type on a pin whose type is not yet resolved. */
USTRUCT()
struct FRigVMUnknownType
{
	GENERATED_BODY()

	FRigVMUnknownType() = default;

	uint32 Hash = 0;
};
