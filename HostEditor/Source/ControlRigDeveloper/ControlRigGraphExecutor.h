// FControlRigGraphExecutor: runs a Control Rig graph over a rig hierarchy, node by node, as the
// engine's VM runs the graph's compiled form: an event starts its execution chain, mutable nodes run
// in chain order (sequences, branches and loops choose which outputs follow), and before a node runs
// its linked inputs are brought in, running the pure nodes they come from.
#pragma once

#include "CoreMinimal.h"
#include "Templates/UniquePtr.h"

class URigHierarchy;
class URigVMGraph;

/** What the runs of an executor did. */
struct FControlRigRunReport
{
	/** How many events ran. */
	int32 EventsRun = 0;
	/** How many node bodies ran (events, control flow, units and dispatch nodes, pure ones each time they ran). */
	int32 NodesExecuted = 0;
	/** Per unit struct ("RigUnit_SetTransform") or dispatch factory ("DISPATCH_RigVMDispatch_If"), how many times it ran. */
	TMap<FString, int32> UnitsPerType;
	/** What could not be run or went wrong, each naming its node. */
	TArray<FString> Errors;
	/** What the units reported as warnings, and nodes that ran more often than the node run limit. */
	TArray<FString> Warnings;
};

class FControlRigGraphExecutor
{
public:
	/**
	 * Prepares Graph for running over Hierarchy: every unit node gets an instance of its struct with
	 * its pins' values, every dispatch node storage for its pins, and the links are resolved. What
	 * cannot be run (a struct that is not loaded, a node kind or dispatch factory the executor has no
	 * behaviour for, a default value that does not read) is an error in the report. NodeRunLimit is
	 * the blueprint's: a node that runs more often than that in one event is reported as a warning
	 * after the run (a limit of one or less: never).
	 */
	FControlRigGraphExecutor(const URigVMGraph& Graph, URigHierarchy& Hierarchy, int32 NodeRunLimit);
	~FControlRigGraphExecutor();
	FControlRigGraphExecutor(const FControlRigGraphExecutor&) = delete;
	FControlRigGraphExecutor& operator=(const FControlRigGraphExecutor&) = delete;

	/** True when the graph has an event node for EventName ("Forwards Solve", "Backwards Solve", "Construction"). */
	bool HasEvent(const FName& EventName) const;

	/**
	 * Runs the chain of the event EventName once. Returns false when the graph could not be prepared,
	 * has no such event, or an error happened during the run (the report says which).
	 */
	bool RunEvent(const FName& EventName);

	/** What the runs so far did, preparation errors included. */
	const FControlRigRunReport& GetReport() const { return Report; }

	/** The unit and dispatch nodes that have not run in any run so far, in graph order. */
	TArray<FString> GetNodesNeverRun() const;

private:
	struct FNode;
	struct FSlot;

	void Prepare(const URigVMGraph& Graph);
	void AddError(const FString& Message);
	/** Whether a dispatch node has the pins its kind reads and writes, with their types; an error when not. */
	bool HasDispatchPins(const FNode& Node);
	int32 FindNode(const FString& Name) const;
	/** The value at a pin path below a node ("Transform.Translation"); false with an error when there is none. */
	bool ResolveSlot(int32 NodeIndex, const FString& PinPath, FSlot& OutSlot);
	bool CopySlot(const FSlot& Target, const FSlot& Source, const FString& LinkText);
	void PullInputs(int32 NodeIndex, int32 Stamp);
	void EvaluatePure(int32 NodeIndex, int32 Stamp);
	void RunBody(int32 NodeIndex);
	void RunChain(int32 NodeIndex, const FName& ExecutePin);
	void RunMutable(int32 NodeIndex);
	void RunLoop(int32 NodeIndex);
	void NoteRun(int32 NodeIndex);

	URigHierarchy* Hierarchy;
	int32 NodeRunLimit;
	TArray<TUniquePtr<FNode>> Nodes;
	TMap<FString, int32> NodeIndices;
	FControlRigRunReport Report;
	bool bPrepared = false;
	FName RunningEvent;
	int32 NextStamp = 1;
	int32 ChainDepth = 0;
};
