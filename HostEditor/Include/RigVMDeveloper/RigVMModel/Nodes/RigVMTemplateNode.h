// URigVMTemplateNode: a node of a template, whose pins may take one of several types.
#pragma once

#include "CoreMinimal.h"
#include "RigVMModel/RigVMNode.h"
#include "UObject/ObjectPtr.h"

#include "RigVMTemplateNode.generated.h"

class UScriptStruct;

/**
 * A node made from a template notation ("Not::Execute(in Value,out Result)"). Arguments whose type
 * differs between the template's permutations are wild-card pins until a type is chosen for them;
 * the node is resolved once a single permutation fits its pins.
 */
UCLASS(BlueprintType)
class RIGVMDEVELOPER_API URigVMTemplateNode : public URigVMNode
{
	GENERATED_BODY()

public:
	/** Returns the notation of the node's template. */
	UFUNCTION(BlueprintCallable, Category = Template)
	virtual FName GetNotation() const { return TemplateNotation; }

	/** Returns the unit struct of the permutation the node is resolved to, or null. */
	UFUNCTION(BlueprintCallable, Category = Template)
	virtual UScriptStruct* GetScriptStruct() const;

	/** Returns true when the node's pins fit exactly one permutation of its template. */
	UFUNCTION(BlueprintCallable, Category = Template)
	virtual bool IsResolved() const;

	virtual FString GetNodeTitle() const override;
	virtual void PostLoad() override;

protected:
	friend class URigVMController;

	UPROPERTY()
	FName TemplateNotation;

	/** The struct of the resolved permutation (of the node itself for a unit node). */
	UPROPERTY()
	TObjectPtr<UScriptStruct> ResolvedScriptStruct;

	UPROPERTY()
	FName ResolvedMethodName;

	UPROPERTY()
	FString ResolvedStructPath;
};
