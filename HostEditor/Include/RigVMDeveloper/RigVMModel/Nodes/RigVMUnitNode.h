// URigVMUnitNode: a node that runs a method of a unit struct; its pins are the struct's members.
#pragma once

#include "CoreMinimal.h"
#include "RigVMModel/Nodes/RigVMTemplateNode.h"

#include "RigVMUnitNode.generated.h"

/** A node of a unit struct (a USTRUCT derived from FRigVMStruct) and one of its RIGVM_METHODs. */
UCLASS(BlueprintType)
class RIGVMDEVELOPER_API URigVMUnitNode : public URigVMTemplateNode
{
	GENERATED_BODY()

public:
	/** Returns the name of the method the node runs ("Execute"). */
	UFUNCTION(BlueprintCallable, Category = RigVMUnitNode)
	FName GetMethodName() const { return ResolvedMethodName; }

	/** Returns the whole unit struct in the engine's text form, its members set from the pins' values. */
	UFUNCTION(BlueprintCallable, Category = RigVMUnitNode)
	FString GetStructDefaultValue() const;

	virtual bool IsResolved() const override { return GetScriptStruct() != nullptr; }
};
