// URigVMNode: a node of a RigVM graph, with its pins, placement and look.
#pragma once

#include "CoreMinimal.h"
#include "RigVMModel/RigVMPin.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"
#include "UObject/ObjectPtr.h"

#include "RigVMNode.generated.h"

class URigVMGraph;
class URigVMLink;

/** A node of a graph. Its name is unique within the graph and starts each of its pins' paths. */
UCLASS(BlueprintType)
class RIGVMDEVELOPER_API URigVMNode : public UObject
{
	GENERATED_BODY()

public:
	/** Returns the node's path: its name (the graph's node path before it with bRecursive for a sub-graph). */
	UFUNCTION(BlueprintCallable, Category = RigVMNode)
	FString GetNodePath(bool bRecursive = false) const;

	/** Returns the index of the node in its graph. */
	UFUNCTION(BlueprintCallable, Category = RigVMNode)
	int32 GetNodeIndex() const;

	/** Returns the top-level pins, in order. */
	UFUNCTION(BlueprintCallable, Category = RigVMNode)
	TArray<URigVMPin*> GetPins() const;

	/** Returns every pin of the node, each root pin followed by its sub-pins, depth first. */
	UFUNCTION(BlueprintCallable, Category = RigVMNode)
	TArray<URigVMPin*> GetAllPinsRecursively() const;

	/** Returns the pin at a path below the node ("Transform.Translation.X"), or null. */
	UFUNCTION(BlueprintCallable, Category = RigVMNode)
	URigVMPin* FindPin(const FString& InPinPath) const;

	/** Returns the graph the node is in. */
	UFUNCTION(BlueprintCallable, Category = RigVMNode)
	URigVMGraph* GetGraph() const;

	/** Returns the title the node shows. */
	UFUNCTION(BlueprintCallable, Category = RigVMNode)
	virtual FString GetNodeTitle() const;

	/** Returns the node's position in the graph. */
	UFUNCTION(BlueprintCallable, Category = RigVMNode)
	FVector2D GetPosition() const { return Position; }

	/**
	 * Returns the node's size. The controller gives each node a size from its pins when it makes or
	 * reshapes it (the rule is in URigVMController's class comment); set_node_size changes it.
	 */
	UFUNCTION(BlueprintCallable, Category = RigVMNode)
	FVector2D GetSize() const { return Size; }

	/** Returns the node's colour. */
	UFUNCTION(BlueprintCallable, Category = RigVMNode)
	FLinearColor GetNodeColor() const { return NodeColor; }

	/** Returns true when the node has an execution input or output. */
	UFUNCTION(BlueprintCallable, Category = RigVMNode)
	bool IsMutable() const;

	/** Returns true when the node has no execution pins. */
	UFUNCTION(BlueprintCallable, Category = RigVMNode)
	bool IsPure() const;

	/** Returns true when the node starts an execution chain (an execution output and no execution input). */
	UFUNCTION(BlueprintCallable, Category = RigVMNode)
	bool IsEvent() const;

	/** Returns the links that start or end at any of the node's pins. */
	UFUNCTION(BlueprintCallable, Category = RigVMNode)
	TArray<URigVMLink*> GetLinks() const;

	/** Returns the nodes linked into this node's pins, each once, in link order. */
	UFUNCTION(BlueprintCallable, Category = RigVMNode)
	TArray<URigVMNode*> GetLinkedSourceNodes() const;

	/** Returns the nodes this node's pins are linked to, each once, in link order. */
	UFUNCTION(BlueprintCallable, Category = RigVMNode)
	TArray<URigVMNode*> GetLinkedTargetNodes() const;

protected:
	friend class URigVMController;

	UPROPERTY()
	FString NodeTitle;

	UPROPERTY()
	FVector2D Position = FVector2D::ZeroVector;

	UPROPERTY()
	FVector2D Size = FVector2D::ZeroVector;

	UPROPERTY()
	FLinearColor NodeColor = FLinearColor::White;

	UPROPERTY()
	TArray<TObjectPtr<URigVMPin>> Pins;
};
