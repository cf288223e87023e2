// FRigUnit and FRigUnitMutable: the bases of Control Rig nodes.
#pragma once

#include "CoreMinimal.h"
#include "RigVMCore/RigVMStruct.h"
#include "Units/RigUnitContext.h"
#include "UObject/ObjectMacros.h"

#include "RigUnit.generated.h"

/** A node that computes outputs from inputs. */
USTRUCT(BlueprintType, meta = (Abstract, NodeColor = "0.1 0.1 0.1"))
struct FRigUnit : public FRigVMStruct
{
	GENERATED_BODY()
};

/** A node on the execution chain: it runs in order and may change the hierarchy. */
USTRUCT(meta = (Abstract))
struct FRigUnitMutable : public FRigUnit
{
	GENERATED_BODY()

	/** The execution link in and out of the node. */
	UPROPERTY(DisplayName = "Execute", Transient, meta = (Input, Output))
	FControlRigExecuteContext ExecuteContext;
};
