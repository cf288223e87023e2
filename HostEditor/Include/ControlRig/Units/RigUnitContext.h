// FControlRigExecuteContext: what a Control Rig unit receives when it runs.
#pragma once

#include "CoreMinimal.h"
#include "RigVMCore/RigVMExecuteContext.h"
#include "UObject/ObjectMacros.h"

#include "RigUnitContext.generated.h"

class URigHierarchy;

USTRUCT(BlueprintType)
struct FControlRigExecuteContext : public FRigVMExecuteContext
{
	GENERATED_BODY()

	/** The hierarchy the running rig edits. */
	URigHierarchy* Hierarchy = nullptr;
};
