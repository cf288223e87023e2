// URigVMDispatchNode: a node of a dispatch factory, whose pins come from the factory's arguments.
#pragma once

#include "CoreMinimal.h"
#include "RigVMModel/Nodes/RigVMTemplateNode.h"

#include "RigVMDispatchNode.generated.h"

struct FRigVMDispatchFactory;

/** A node of a dispatch template ("DISPATCH_RigVMDispatch_If"); resolved once no pin is a wild card. */
UCLASS(BlueprintType)
class RIGVMDEVELOPER_API URigVMDispatchNode : public URigVMTemplateNode
{
	GENERATED_BODY()

public:
	/** Returns the factory of the node, or null when it is not registered. */
	const FRigVMDispatchFactory* GetFactory() const;

	virtual UScriptStruct* GetScriptStruct() const override { return nullptr; }
	virtual bool IsResolved() const override;
	virtual FString GetNodeTitle() const override;
};
