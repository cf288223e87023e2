// Stand-in only: a Control Rig blueprint evaluated as a rig instance of it is, for tests and the host
// program: set control values, run the forwards and backwards solve, read the resulting pose.
#pragma once

#include "CoreMinimal.h"
#include "Rigs/RigHierarchyDefines.h"
#include "Templates/UniquePtr.h"

class FControlRigGraphExecutor;
class UControlRigBlueprint;
class URigHierarchy;

namespace HostEditor
{
	/** What the runs of an evaluation did. */
	struct FRigRunReport
	{
		/** How many events ran (the construction event, forwards and backwards solves). */
		int32 EventsRun = 0;
		/** How many node bodies ran, pure nodes counted each time they ran. */
		int32 NodesExecuted = 0;
		/** Per unit struct ("RigUnit_SetTransform") or dispatch factory, how many times it ran. */
		TMap<FString, int32> UnitsPerType;
		/** What could not run or went wrong, each naming its node; empty for a clean run. */
		TArray<FString> Errors;
		/** Unit warnings and nodes that ran more often than the blueprint's node run limit in one event. */
		TArray<FString> Warnings;
		/** The unit and dispatch nodes that have not run yet, in graph order. */
		TArray<FString> NodesNeverRun;
	};

	/**
	 * A rig instance of a Control Rig blueprint: a copy of the blueprint's hierarchy and its graph,
	 * prepared to run. Creating it runs the construction event when the graph has one. Each forwards
	 * solve starts from the reference pose of the bones, as a rig previewed on its mesh receives it;
	 * controls, nulls and channels keep what they hold. The blueprint itself is never changed.
	 */
	class UNREALED_API FRigEvaluation
	{
	public:
		explicit FRigEvaluation(UControlRigBlueprint& Blueprint);
		~FRigEvaluation();
		FRigEvaluation(const FRigEvaluation&) = delete;
		FRigEvaluation& operator=(const FRigEvaluation&) = delete;

		/** The instance's own hierarchy. */
		URigHierarchy& GetHierarchy() const { return *Hierarchy; }

		/**
		 * Sets the current value of the control or animation channel named Control. False with
		 * OutError when there is no such control.
		 */
		bool SetControlValue(const FName& Control, const FRigControlValue& Value, FString& OutError);

		/**
		 * Sets a control's current value from text in the form of the control's type: "true" or
		 * "false", a number, or the engine's text of a vector, rotator, transform or Euler transform
		 * ("(X=0,Y=10,Z=0)"). False with OutError when there is no such control or the text does not read.
		 */
		bool SetControlValueFromText(const FName& Control, const FString& Text, FString& OutError);

		/** Runs the forwards solve Count times; false when a run had an error or the graph cannot run. */
		bool RunForwardsSolve(int32 Count = 1);

		/**
		 * Poses the bone named Bone as an animation does before a backwards solve: its current local
		 * transform, the bones below it keeping theirs. The next forwards solve starts from the
		 * reference pose again. False with OutError when there is no such bone.
		 */
		bool SetBoneLocalTransform(const FName& Bone, const FTransform& LocalTransform, FString& OutError);
		/** True when the graph has a backwards solve. */
		bool HasBackwardsSolve() const;

		/** Runs the backwards solve once; false when there is none or the run had an error. */
		bool RunBackwardsSolve();

		/** The global transform of an element of the instance; false when there is no such element. */
		bool GetGlobalTransform(const FRigElementKey& Key, FTransform& OutTransform) const;

		/** Whether a control's shape is shown now; false when there is no such control. */
		bool GetControlShapeVisible(const FName& Control, bool& bOutVisible) const;

		/** What the runs so far did. */
		FRigRunReport GetReport() const;

	private:
		URigHierarchy* Hierarchy = nullptr;
		TUniquePtr<FControlRigGraphExecutor> Executor;
	};

	/** The report as text: the counts, the units per type, then every error and warning on its own line. */
	UNREALED_API FString DescribeRigRunReport(const FRigRunReport& Report);
}
