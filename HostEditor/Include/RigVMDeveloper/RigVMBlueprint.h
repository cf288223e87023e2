// URigVMBlueprint: a blueprint whose logic is a RigVM graph, edited through controllers.
#pragma once

#include "CoreMinimal.h"
#include "Engine/Blueprint.h"
#include "RigVMModel/RigVMController.h"
#include "RigVMModel/RigVMGraph.h"
#include "UObject/ObjectMacros.h"
#include "UObject/ObjectPtr.h"

#include "RigVMBlueprint.generated.h"

class UEdGraph;

USTRUCT()
struct RIGVMDEVELOPER_API FRigVMEdGraphDisplaySettings
{
	GENERATED_BODY()

	/** When enabled shows the node counts both in the graph view as we as in the execution stack window. */
	UPROPERTY(EditAnywhere, Category = "Graph Display Settings")
	bool bShowNodeRunCounts = false;

	/** A lower limit for counts for nodes used for debugging. Any node lower than this count won't show the run count. */
	UPROPERTY(EditAnywhere, Category = "Graph Display Settings")
	int32 NodeRunLowerBound = 2;

	/**
	 * A upper limit for counts for nodes used for debugging. If a node reaches this count a warning will be
	 * issued for the node and displayed both in the execution stack as well as in the graph. Setting this
	 * to <= 1 disables the warning.
	 */
	UPROPERTY(EditAnywhere, Category = "Graph Display Settings")
	int32 NodeRunLimit = 256;

	/** When enabled shows the first node instruction index matching the execution stack window. */
	UPROPERTY(EditAnywhere, Category = "Graph Display Settings")
	bool bShowNodeInstructionIndex = false;

	UPROPERTY(EditAnywhere, Category = "Graph Display Settings")
	bool bAutoDetermineRange = true;

	/** The duration in microseconds of the fastest instruction / node. */
	UPROPERTY(EditAnywhere, Category = "Graph Display Settings")
	double MinMicroSeconds = 0.0;

	/** The duration in microseconds of the slowest instruction / node. */
	UPROPERTY(EditAnywhere, Category = "Graph Display Settings")
	double MaxMicroSeconds = 1.0;

	/** The color of the fastest instruction / node. */
	UPROPERTY(EditAnywhere, Category = "Graph Display Settings")
	FLinearColor MinDurationColor = FLinearColor(0.f, 1.f, 0.f, 1.f);

	/** The color of the slowest instruction / node. */
	UPROPERTY(EditAnywhere, Category = "Graph Display Settings")
	FLinearColor MaxDurationColor = FLinearColor(1.f, 0.f, 0.f, 1.f);

	/** If you set this to more than 1 the results will be averaged across multiple frames. */
	UPROPERTY(EditAnywhere, Category = "Graph Display Settings")
	int32 AverageFrames = 16;
};

/**
 * A blueprint with RigVM graphs. Its default graph is named "RigVMModel". Controllers are made on
 * demand, one per graph, and are not saved. Changes made through a controller mark the VM as
 * needing a recompilation, which happens on RecompileVM, RecompileVMIfRequired, or when automatic
 * recompilation is switched back on.
 */
UCLASS(BlueprintType)
class RIGVMDEVELOPER_API URigVMBlueprint : public UBlueprint
{
	GENERATED_BODY()

public:
	/** The name of the default graph. */
	static const TCHAR* DefaultModelName;

	/** Returns the controller of a graph (of the default graph when none is given), or null for a graph of another blueprint. */
	UFUNCTION(BlueprintCallable, Category = "VM")
	URigVMController* GetController(const URigVMGraph* InGraph = nullptr) const;

	/** Returns the controller of the graph of that name (of the default graph for an empty name), or null. */
	UFUNCTION(BlueprintCallable, Category = "VM")
	URigVMController* GetControllerByName(const FString InGraphName = TEXT("")) const;

	/** Returns the controller of a graph, making it when needed. */
	UFUNCTION(BlueprintCallable, Category = "VM")
	URigVMController* GetOrCreateController(URigVMGraph* InGraph = nullptr);

	/** Returns the model of an editor graph; the default graph (the only one there is) for none. */
	UFUNCTION(BlueprintCallable, Category = "VM")
	URigVMGraph* GetModel(const UEdGraph* InEdGraph = nullptr) const;

	/** Returns the default graph. */
	UFUNCTION(BlueprintCallable, Category = "VM")
	URigVMGraph* GetDefaultModel() const;

	/** Returns every graph of the blueprint. */
	UFUNCTION(BlueprintCallable, Category = "VM")
	TArray<URigVMGraph*> GetAllModels() const;

	/** Compiles the graphs now; problems are written to the log as errors. */
	UFUNCTION(BlueprintCallable, Category = "VM")
	void RecompileVM();

	/** Compiles when a change is waiting for it. */
	UFUNCTION(BlueprintCallable, Category = "VM")
	void RecompileVMIfRequired();

	/** Marks the VM as needing a recompilation, when automatic recompilation is on. */
	UFUNCTION(BlueprintCallable, Category = "VM")
	void RequestAutoVMRecompilation();

	/** Switches automatic recompilation on or off; switching it on compiles a waiting change. */
	UFUNCTION(BlueprintCallable, Category = "VM")
	void SetAutoVMRecompile(bool bAutoRecompile);

	/** Returns true when changes recompile the VM automatically. */
	UFUNCTION(BlueprintCallable, Category = "VM")
	bool GetAutoVMRecompile() const { return bAutoRecompileVM; }

	UPROPERTY(EditAnywhere, Category = "User Interface")
	FRigVMEdGraphDisplaySettings RigGraphDisplaySettings;

	/** Makes the default graph when the blueprint has none yet. */
	void InitializeModels();

	/** How often the VM was compiled, whether the last compilation succeeded, whether a change waits for one. */
	int32 GetVMCompileCount() const { return VMCompileCount; }
	bool GetLastCompileSucceeded() const { return bLastCompileSucceeded; }
	bool IsVMRecompilationRequired() const { return bVMRecompilationRequired; }

	virtual void PostLoad() override;

protected:
	/** The execution context the blueprint's graphs run with. */
	virtual UScriptStruct* GetExecuteContextStruct() const;
	/** Checks the graphs for what the VM could not run; returns the number of problems found (each logged). */
	virtual int32 ValidateModels() const;

private:
	void HandleModelModified(URigVMGraph* InGraph);

	UPROPERTY()
	TArray<TObjectPtr<URigVMGraph>> Models;

	UPROPERTY(Transient)
	mutable TArray<TObjectPtr<URigVMController>> Controllers;

	bool bAutoRecompileVM = true;
	bool bVMRecompilationRequired = false;
	bool bLastCompileSucceeded = false;
	int32 VMCompileCount = 0;
};
