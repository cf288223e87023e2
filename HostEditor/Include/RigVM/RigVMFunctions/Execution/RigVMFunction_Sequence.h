// The sequence node: one execution pulse runs its outputs in order.
#pragma once

#include "CoreMinimal.h"
#include "RigVMCore/RigVMExecuteContext.h"
#include "RigVMCore/RigVMStruct.h"
#include "UObject/ObjectMacros.h"

#include "RigVMFunction_Sequence.generated.h"

/**
 * Allows for a single execution pulse to trigger a series of events in order.
 */
USTRUCT(meta = (DisplayName = "Sequence", Category = "Execution", TitleColor = "1 0 0", NodeColor = "1 1 1", Icon = "EditorStyle|GraphEditor.Sequence_16x"))
struct RIGVM_API FRigVMFunction_Sequence : public FRigVMStruct
{
	GENERATED_BODY()

	RIGVM_METHOD()
	virtual void Execute() override;

	/** The execution input */
	UPROPERTY(EditAnywhere, Transient, DisplayName = "Execute", Category = "Sequence", meta = (Input))
	FRigVMExecuteContext ExecuteContext;

	/** The execution result A */
	UPROPERTY(EditAnywhere, Transient, Category = "Sequence", meta = (Output, Aggregate))
	FRigVMExecuteContext A;

	/** The execution result B */
	UPROPERTY(EditAnywhere, Transient, Category = "Sequence", meta = (Output, Aggregate))
	FRigVMExecuteContext B;
};
