// FRigVMStruct: the base of the structs whose methods are RigVM nodes; FRigVMStructMutable: those on the execution chain.
#pragma once

#include "CoreMinimal.h"
#include "RigVMCore/RigVMExecuteContext.h"
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

	/** The event an event node starts ("Forwards Solve", ...); none for other nodes. */
	virtual FName GetEventName() const { return NAME_None; }

	/** True for nodes of which a graph holds at most one, such as events. */
	virtual bool CanOnlyExistOnce() const { return false; }
};

/** A RigVM node on the execution chain: it runs in order and may change state. */
USTRUCT(meta = (Abstract))
struct RIGVM_API FRigVMStructMutable : public FRigVMStruct
{
	GENERATED_BODY()

	/** The execution link in and out of the node. */
	UPROPERTY(DisplayName = "Execute", Transient, meta = (Input, Output))
	FRigVMExecuteContext ExecuteContext;
};
