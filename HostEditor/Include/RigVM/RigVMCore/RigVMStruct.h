// FRigVMStruct: the base of the structs whose methods are RigVM nodes.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"

#include "RigVMStruct.generated.h"

/** Marks a struct method as a node entry; the header tool records it on the struct. */
#define RIGVM_METHOD(...)

USTRUCT(meta = (Abstract))
struct FRigVMStruct
{
	GENERATED_BODY()

	virtual ~FRigVMStruct() = default;

	/** Runs the node once. */
	virtual void Execute() {}
};
