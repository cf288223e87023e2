// Control-flow nodes: they pick which of their execution outputs run.
#pragma once

#include "CoreMinimal.h"
#include "RigVMCore/RigVMExecuteContext.h"
#include "RigVMCore/RigVMStruct.h"
#include "UObject/ObjectMacros.h"

#include "RigVMFunction_ControlFlow.generated.h"

USTRUCT(meta = (Abstract, Category = "Execution", NodeColor = "0,1,0,1"))
struct RIGVM_API FRigVMFunction_ControlFlowBase : public FRigVMStruct
{
	GENERATED_BODY()
};

/**
 * Executes either the True or False branch based on the condition
 */
USTRUCT(meta = (DisplayName = "Branch", Keywords = "If"))
struct RIGVM_API FRigVMFunction_ControlFlowBranch : public FRigVMFunction_ControlFlowBase
{
	GENERATED_BODY()

	RIGVM_METHOD()
	virtual void Execute() override;

	/** The input execution pin to hook up to the graph */
	UPROPERTY(EditAnywhere, Transient, DisplayName = "Execute", Category = "ControlFlow", meta = (Input))
	FRigVMExecuteContext ExecuteContext;

	/** The condition based on which to pick between the True and False branches */
	UPROPERTY(EditAnywhere, Category = "ControlFlow", meta = (Input))
	bool Condition = false;

	/** The branch to run if the condition is True */
	UPROPERTY(EditAnywhere, Transient, Category = "ControlFlow", meta = (Output))
	FRigVMExecuteContext True;

	/** The branch to run if the condition is False */
	UPROPERTY(EditAnywhere, Transient, Category = "ControlFlow", meta = (Output))
	FRigVMExecuteContext False;

	/** The execute flow to run when the True or False branch is complete */
	UPROPERTY(EditAnywhere, Transient, Category = "ControlFlow", meta = (Output))
	FRigVMExecuteContext Completed;

	/** The internal block to run as the node progresses */
	UPROPERTY(meta = (Singleton))
	FName BlockToRun;
};
