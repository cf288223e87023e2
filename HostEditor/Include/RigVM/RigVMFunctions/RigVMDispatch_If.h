// FRigVMDispatch_If: picks one of two values of any type by a condition.
#pragma once

#include "CoreMinimal.h"
#include "RigVMCore/RigVMDispatchFactory.h"

#include "RigVMDispatch_If.generated.h"

/** Returns True when Condition holds, else False. */
USTRUCT(meta = (DisplayName = "If", Category = "Execution", Keywords = "Branch,Condition"))
struct RIGVM_API FRigVMDispatch_If : public FRigVMDispatchFactory
{
	GENERATED_BODY()

	virtual const TArray<FRigVMTemplateArgumentInfo>& GetArgumentInfos() const override;
};
