// URigVMGraph: the model of a RigVM graph, its nodes and links.
#pragma once

#include "CoreMinimal.h"
#include "RigVMModel/RigVMLink.h"
#include "RigVMModel/RigVMNode.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"
#include "UObject/ObjectPtr.h"

#include "RigVMGraph.generated.h"

/** A graph of nodes and links. Edit it through its URigVMController. */
UCLASS(BlueprintType)
class RIGVMDEVELOPER_API URigVMGraph : public UObject
{
	GENERATED_BODY()

public:
	/** Returns the nodes in the order they were added. */
	UFUNCTION(BlueprintCallable, Category = RigVMGraph)
	TArray<URigVMNode*> GetNodes() const;

	/** Returns the links in the order they were added. */
	UFUNCTION(BlueprintCallable, Category = RigVMGraph)
	TArray<URigVMLink*> GetLinks() const;

	/** Returns the node at a node path (for a root graph, the node's name), or null. */
	UFUNCTION(BlueprintCallable, Category = RigVMGraph)
	URigVMNode* FindNode(const FString& InNodePath) const;

	/** Returns the node of that name, or null. */
	UFUNCTION(BlueprintCallable, Category = RigVMGraph)
	URigVMNode* FindNodeByName(const FName& InNodeName) const;

	/** Returns the pin at a pin path ("Node.Color.R"), or null. */
	UFUNCTION(BlueprintCallable, Category = RigVMGraph)
	URigVMPin* FindPin(const FString& InPinPath) const;

	/** Returns the link of a representation "Source.Pin -> Target.Pin", or null. */
	UFUNCTION(BlueprintCallable, Category = RigVMGraph)
	URigVMLink* FindLink(const FString& InLinkPinPathRepresentation) const;

	/** Returns the name of the graph. */
	UFUNCTION(BlueprintCallable, Category = RigVMGraph)
	FString GetGraphName() const;

	/** Returns the path of the graph: its name for a root graph. */
	UFUNCTION(BlueprintCallable, Category = RigVMGraph)
	FString GetNodePath() const;

	/** Returns true for a graph that is not inside another graph. */
	UFUNCTION(BlueprintCallable, Category = RigVMGraph)
	bool IsRootGraph() const { return true; }

	/** The links whose source or target is the pin at InPinPath (not its sub-pins), in the order they were added. */
	TArray<URigVMLink*> FindLinksOfPinPath(const FString& InPinPath) const;

	/** Whether To can be reached from From by following links from outputs to inputs. */
	bool IsNodeReachable(const URigVMNode* From, const URigVMNode* To) const;

	/** Whether InNode is one of this graph's nodes. */
	bool ContainsNode(const URigVMNode* InNode) const;

private:
	friend class URigVMController;

	UPROPERTY()
	TArray<TObjectPtr<URigVMNode>> Nodes;

	UPROPERTY()
	TArray<TObjectPtr<URigVMLink>> Links;

	// Lookup indices over Nodes and Links, so that finding a node, a pin's links or a node's
	// downstream nodes does not walk the whole graph. The controller keeps them current as it adds
	// and removes; any other change to the arrays (a load) is noticed by their sizes and rebuilds them.
	void NoteNodeAdded(URigVMNode* Node) const;
	void NoteNodeRemoved(URigVMNode* Node) const;
	void NoteLinkAdded(URigVMLink* Link) const;
	void NoteLinkRemoved(URigVMLink* Link) const;
	/** Forgets both indices; called when node names or link pin paths change. */
	void ResetIndices() const;
	void EnsureNodeIndex() const;
	void EnsureLinkIndex() const;
	void IndexLink(URigVMLink* Link) const;

	mutable TMap<FName, URigVMNode*> NodeIndex;
	mutable int32 IndexedNodes = INDEX_NONE;
	mutable TMap<FString, TArray<URigVMLink*>> LinksByPinPath;
	mutable TMap<FString, TArray<FString>> DownstreamNodeNames;
	mutable int32 IndexedLinks = INDEX_NONE;
	/** Per base name, a suffix below which every generated node name is taken. */
	mutable TMap<FString, int32> NodeNameSuffixHints;
};
