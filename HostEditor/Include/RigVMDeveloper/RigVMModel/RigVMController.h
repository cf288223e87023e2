// URigVMController: the only way to change a RigVM graph; it keeps the graph consistent.
#pragma once

#include "CoreMinimal.h"
#include "RigVMCore/RigVMByteCode.h"
#include "RigVMCore/RigVMFunction.h"
#include "RigVMModel/Nodes/RigVMCommentNode.h"
#include "RigVMModel/Nodes/RigVMDispatchNode.h"
#include "RigVMModel/Nodes/RigVMUnitNode.h"
#include "RigVMModel/RigVMGraph.h"
#include "Templates/Function.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"
#include "UObject/ObjectPtr.h"

#include "RigVMController.generated.h"

class FProperty;
struct FRigVMDispatchFactory;

DECLARE_LOG_CATEGORY_EXTERN(LogRigVMDeveloper, Log, All);

/**
 * Edits one graph: adds and removes nodes, sets pin values, links pins. Every edit checks its input
 * and refuses what the graph cannot hold, returning false (or null / an empty string) and writing
 * the reason to the log as an error.
 *
 * Node names: a node added without a name is named after its struct ("RigUnit_SetTransform"), its
 * template ("DISPATCH_RigVMDispatch_If", "Not") or "CommentNode"; a name that is taken gets the
 * first free suffix "_1", "_2", ...
 *
 * Node sizes: a node's size follows its pins. Its width is the larger of 160 and 40 plus 7 per
 * character of the longest of its title and its shown pin names (each sub-pin level indents two
 * characters); its height is 40 plus 24 for each shown pin row (the root pins, and the sub-pins of
 * expanded pins).
 */
UCLASS(BlueprintType)
class RIGVMDEVELOPER_API URigVMController : public UObject
{
	GENERATED_BODY()

public:
	/** Returns the graph the controller edits. */
	UFUNCTION(BlueprintCallable, Category = RigVMController)
	URigVMGraph* GetGraph() const { return Graph; }

	/** Sets the graph the controller edits. */
	UFUNCTION(BlueprintCallable, Category = RigVMController)
	void SetGraph(URigVMGraph* InGraph) { Graph = InGraph; }

	/** Adds a node of a unit struct. Returns null for a struct that is not a concrete unit or a method it lacks. */
	UFUNCTION(BlueprintCallable, Category = RigVMController)
	URigVMUnitNode* AddUnitNode(const UScriptStruct* InScriptStruct, const FName& InMethodName = TEXT("Execute"), const FVector2D& InPosition = FVector2D::ZeroVector, const FString& InNodeName = TEXT(""), bool bSetupUndoRedo = true, bool bPrintPythonCommand = false);

	/**
	 * Adds a node of a unit struct whose pins start at the values of a struct text ("(Member=Value,...)"),
	 * the struct's own defaults for members the text leaves out. Returns null as AddUnitNode does, and for
	 * a text that does not read as the struct.
	 */
	UFUNCTION(BlueprintCallable, Category = RigVMController)
	URigVMUnitNode* AddUnitNodeWithDefaults(UScriptStruct* InScriptStruct, const FString& InDefaults, const FName& InMethodName = TEXT("Execute"), const FVector2D& InPosition = FVector2D::ZeroVector, const FString& InNodeName = TEXT(""), bool bSetupUndoRedo = true, bool bPrintPythonCommand = false);

	/** Adds a node of the unit struct at a path ("/Script/ControlRig.RigUnit_SetTransform"). */
	UFUNCTION(BlueprintCallable, Category = RigVMController)
	URigVMUnitNode* AddUnitNodeFromStructPath(const FString& InScriptStructPath, const FName& InMethodName = TEXT("Execute"), const FVector2D& InPosition = FVector2D::ZeroVector, const FString& InNodeName = TEXT(""), bool bSetupUndoRedo = true, bool bPrintPythonCommand = false);

	/**
	 * Adds a node of a template notation: a dispatch factory's ("DISPATCH_RigVMDispatch_If(in Condition,...)")
	 * or the unit structs' that share a TemplateName ("Not::Execute(in Value,out Result)").
	 */
	UFUNCTION(BlueprintCallable, Category = RigVMController)
	URigVMTemplateNode* AddTemplateNode(const FName& InNotation, const FVector2D& InPosition = FVector2D::ZeroVector, const FString& InNodeName = TEXT(""), bool bSetupUndoRedo = true, bool bPrintPythonCommand = false);

	/** Adds a branch node (a unit node of RigVMFunction_ControlFlowBranch). */
	UFUNCTION(BlueprintCallable, Category = RigVMController)
	URigVMNode* AddBranchNode(const FVector2D& InPosition = FVector2D::ZeroVector, const FString& InNodeName = TEXT(""), bool bSetupUndoRedo = true, bool bPrintPythonCommand = false);

	/** Adds an array node of an op code for elements of a type ("FRigElementKey", "/Script/ControlRig.RigElementKey"). */
	UFUNCTION(BlueprintCallable, Category = RigVMController)
	URigVMNode* AddArrayNodeFromObjectPath(ERigVMOpCode InOpCode, const FString& InCPPType, const FString& InCPPTypeObjectPath, const FVector2D& InPosition = FVector2D::ZeroVector, const FString& InNodeName = TEXT(""), bool bSetupUndoRedo = true, bool bPrintPythonCommand = false, bool bIsPatching = false);

	/** Adds a comment node. */
	UFUNCTION(BlueprintCallable, Category = RigVMController)
	URigVMCommentNode* AddCommentNode(const FString& InCommentText, const FVector2D& InPosition = FVector2D::ZeroVector, const FVector2D& InSize = FVector2D(400.f, 300.f), const FLinearColor& InColor = FLinearColor::Black, const FString& InNodeName = TEXT(""), bool bSetupUndoRedo = true, bool bPrintPythonCommand = false);

	/**
	 * Sets a pin's default value from the engine's text form ("1.5", "(X=1,Y=2,Z=3)", "(Type=Bone,Name=\"Root\")",
	 * "(A,B)" for arrays). With bResizeArrays an array pin takes as many elements as the text has.
	 * Refuses unknown pins and text that is not a value of the pin's type, leaving the pin unchanged.
	 */
	UFUNCTION(BlueprintCallable, Category = RigVMController)
	bool SetPinDefaultValue(const FString& InPinPath, const FString& InDefaultValue, bool bResizeArrays = true, bool bSetupUndoRedo = true, bool bMergeUndoAction = false, bool bPrintPythonCommand = false, bool bSetValueOnLinkedPins = true);

	/** Returns a pin's default value in text form; an empty string for an unknown pin. */
	UFUNCTION(BlueprintCallable, Category = RigVMController)
	FString GetPinDefaultValue(const FString& InPinPath);

	/** Returns a pin to the default value of its node's struct or template. */
	UFUNCTION(BlueprintCallable, Category = RigVMController)
	bool ResetPinDefaultValue(const FString& InPinPath, bool bSetupUndoRedo = true, bool bPrintPythonCommand = false);

	/**
	 * Links an output (or IO) pin to an input (or IO) pin of another node. Links into an input that
	 * already has one (or whose sub-pins or parents have one) replace those; an execution output keeps
	 * one link only. Refuses unknown pins, wrong directions, types that do not match and cycles.
	 */
	UFUNCTION(BlueprintCallable, Category = RigVMController)
	bool AddLink(const FString& InOutputPinPath, const FString& InInputPinPath, bool bSetupUndoRedo = true, bool bPrintPythonCommand = false, ERigVMPinDirection InUserDirection = ERigVMPinDirection::Output, bool bCreateCastNode = false);

	/** Removes the link between two pins. */
	UFUNCTION(BlueprintCallable, Category = RigVMController)
	bool BreakLink(const FString& InOutputPinPath, const FString& InInputPinPath, bool bSetupUndoRedo = true, bool bPrintPythonCommand = false);

	/** Removes every link into (bAsInput) or out of a pin. */
	UFUNCTION(BlueprintCallable, Category = RigVMController)
	bool BreakAllLinks(const FString& InPinPath, bool bAsInput = true, bool bSetupUndoRedo = true, bool bPrintPythonCommand = false);

	/** Adds an element to an array pin; returns the new element's pin path, or an empty string. */
	UFUNCTION(BlueprintCallable, Category = RigVMController)
	FString AddArrayPin(const FString& InArrayPinPath, const FString& InDefaultValue = TEXT(""), bool bSetupUndoRedo = true, bool bPrintPythonCommand = false);

	/** Inserts an element into an array pin at an index (-1 appends); returns its pin path, or an empty string. */
	UFUNCTION(BlueprintCallable, Category = RigVMController)
	FString InsertArrayPin(const FString& InArrayPinPath, int32 InIndex = -1, const FString& InDefaultValue = TEXT(""), bool bSetupUndoRedo = true, bool bPrintPythonCommand = false);

	/** Removes an element pin of an array pin, with its links. */
	UFUNCTION(BlueprintCallable, Category = RigVMController)
	bool RemoveArrayPin(const FString& InArrayElementPinPath, bool bSetupUndoRedo = true, bool bPrintPythonCommand = false);

	/** Removes every element of an array pin. */
	UFUNCTION(BlueprintCallable, Category = RigVMController)
	bool ClearArrayPin(const FString& InArrayPinPath, bool bSetupUndoRedo = true, bool bPrintPythonCommand = false);

	/** Grows or shrinks an array pin to Size elements; new elements take InDefaultValue when given. */
	UFUNCTION(BlueprintCallable, Category = RigVMController)
	bool SetArrayPinSize(const FString& InArrayPinPath, int32 InSize, const FString& InDefaultValue = TEXT(""), bool bSetupUndoRedo = true, bool bPrintPythonCommand = false);

	/**
	 * Adds a pin to the aggregate side of a unit node: the inputs of a node with two or more inputs
	 * marked Aggregate ("A", "B" of an Add), else its aggregate outputs (the "A", "B" of a Sequence).
	 * The new pin takes the type of that side's last pin and goes after it; without a name it is named
	 * by the letter after the last one ("C" after "B"). Returns the new pin's path, or an empty string
	 * for an unknown node, a node without aggregate pins, a name that is taken or a bad default value.
	 * (The engine moves the node into an aggregate node whose outer pins are these; the stand-in keeps
	 * the unit node and grows its pins.)
	 */
	UFUNCTION(BlueprintCallable, Category = RigVMController)
	FString AddAggregatePin(const FString& InNodeName, const FString& InPinName, const FString& InDefaultValue = TEXT(""), bool bSetupUndoRedo = true, bool bPrintPythonCommand = false);

	/** Gives a wild-card pin (and the pins that share its type) a type; the node resolves when one permutation fits. */
	UFUNCTION(BlueprintCallable, Category = RigVMController)
	bool ResolveWildCardPin(const FString& InPinPath, const FString& InCPPType, const FName& InCPPTypeObjectPath, bool bSetupUndoRedo = true, bool bPrintPythonCommand = false);

	/** Shows or hides a pin's sub-pins. */
	UFUNCTION(BlueprintCallable, Category = RigVMController)
	bool SetPinExpansion(const FString& InPinPath, bool bIsExpanded, bool bSetupUndoRedo = true, bool bPrintPythonCommand = false);

	/** Moves a node. */
	UFUNCTION(BlueprintCallable, Category = RigVMController)
	bool SetNodePosition(URigVMNode* InNode, const FVector2D& InPosition, bool bSetupUndoRedo = true, bool bMergeUndoAction = false, bool bPrintPythonCommand = false);

	/** Moves the node of that name. */
	UFUNCTION(BlueprintCallable, Category = RigVMController)
	bool SetNodePositionByName(const FName& InNodeName, const FVector2D& InPosition, bool bSetupUndoRedo = true, bool bMergeUndoAction = false, bool bPrintPythonCommand = false);

	/** Resizes a node. */
	UFUNCTION(BlueprintCallable, Category = RigVMController)
	bool SetNodeSize(URigVMNode* InNode, const FVector2D& InSize, bool bSetupUndoRedo = true, bool bMergeUndoAction = false, bool bPrintPythonCommand = false);

	/** Resizes the node of that name. */
	UFUNCTION(BlueprintCallable, Category = RigVMController)
	bool SetNodeSizeByName(const FName& InNodeName, const FVector2D& InSize, bool bSetupUndoRedo = true, bool bMergeUndoAction = false, bool bPrintPythonCommand = false);

	/** Changes a node's colour. */
	UFUNCTION(BlueprintCallable, Category = RigVMController)
	bool SetNodeColor(URigVMNode* InNode, const FLinearColor& InColor, bool bSetupUndoRedo = true, bool bMergeUndoAction = false, bool bPrintPythonCommand = false);

	/** Removes a node with its links. */
	UFUNCTION(BlueprintCallable, Category = RigVMController)
	bool RemoveNode(URigVMNode* InNode, bool bSetupUndoRedo = true, bool bPrintPythonCommand = false);

	/** Removes the node of that name with its links. */
	UFUNCTION(BlueprintCallable, Category = RigVMController)
	bool RemoveNodeByName(const FName& InNodeName, bool bSetupUndoRedo = true, bool bPrintPythonCommand = false);

	/** Renames a node; its links follow. Refuses a name another node has. */
	UFUNCTION(BlueprintCallable, Category = RigVMController)
	bool RenameNode(URigVMNode* InNode, const FName& InNewName, bool bSetupUndoRedo = true, bool bPrintPythonCommand = false);

	/** Opens a bracket that groups the edits up to its closing. */
	UFUNCTION(BlueprintCallable, Category = RigVMController)
	bool OpenUndoBracket(const FString& InTitle);

	/** Closes the innermost open bracket; false when none is open. */
	UFUNCTION(BlueprintCallable, Category = RigVMController)
	bool CloseUndoBracket();

	/** Cancels the innermost open bracket; false when none is open. */
	UFUNCTION(BlueprintCallable, Category = RigVMController)
	bool CancelUndoBracket();

	/** The struct that execution pins of dispatch nodes take (FRigVMExecuteContext unless set). */
	void SetExecuteContextStruct(UScriptStruct* InExecuteContextStruct) { ExecuteContextStruct = InExecuteContextStruct; }
	UScriptStruct* GetExecuteContextStruct() const;

	/** Called after every change to the graph. */
	void SetOnModified(TFunction<void(URigVMGraph*)> InOnModified) { OnModified = MoveTemp(InOnModified); }

	/** The notation of a unit struct's template ("Not::Execute(in Value,out Result)"). */
	static FString GetTemplateNotationForStruct(const UScriptStruct* InStruct, const FName& InMethodName);

private:
	struct FPinTypeRef
	{
		FString CPPType;
		UObject* TypeObject = nullptr;
	};

	bool CheckGraph() const;
	/** True when InNode belongs to this controller's graph; otherwise reports that Operation cannot be done. */
	bool CheckNodeOfGraph(const URigVMNode* InNode, const TCHAR* Operation) const;
	/** The graph's node of that name, or null with an error. */
	URigVMNode* FindNodeChecked(const FName& InNodeName) const;
	void ReportError(const FString& Message) const;
	/** The graph's node of a struct of which a graph holds one (an event), or null. */
	URigVMUnitNode* FindNodeThatCanOnlyExistOnce(const UScriptStruct* InScriptStruct) const;
	void Notify();

	FName MakeUniqueNodeName(const FString& InDesiredName) const;
	bool IsValidNodeName(const FString& InName) const;
	void AddNodeToGraph(URigVMNode* Node, const FVector2D& InPosition);
	void SetupUnitNode(URigVMTemplateNode* Node, const UScriptStruct* InStruct, const FName& InMethodName);

	URigVMPin* MakePin(UObject* Outer, const FName& Name, ERigVMPinDirection Direction, const FString& InCPPType, UObject* TypeObject);
	void MakeSubPins(URigVMPin* Pin);
	void SetPinType(URigVMPin* Pin, const FString& InCPPType, UObject* TypeObject);
	void MakePinsForStruct(URigVMNode* Node, const UScriptStruct* InStruct);
	void MakePinsForFactory(URigVMDispatchNode* Node, const FRigVMDispatchFactory& Factory, const FPinTypeRef* TypeVariable);
	void ApplyMetaData(URigVMPin* Pin, const FProperty* Property) const;

	/** Checks that Text is a value of the pin's type (all of it, for arrays each element). */
	bool CanImportDefault(const URigVMPin* Pin, const FString& Text) const;
	/** Sets the pin's value (and its sub-pins'); the text must have passed CanImportDefault. */
	void ImportDefault(URigVMPin* Pin, const FString& Text, bool bResizeArrays);
	/** Sets the pin's value (and its sub-pins') from a value in memory described by Property. */
	void SetDefaultFromMemory(URigVMPin* Pin, const FProperty* Property, const void* Value);
	void ResizeArrayPin(URigVMPin* ArrayPin, int32 NewSize);
	FString GetPinDefaultFromOrigin(const URigVMPin* Pin) const;

	void RemoveLinksOf(URigVMPin* Pin, bool bIncludeSubPins);
	void RemoveLink(URigVMLink* Link);
	bool CanLink(URigVMPin* Source, URigVMPin* Target, FString& OutFailureReason) const;
	bool ArePinTypesCompatible(const URigVMPin* Source, const URigVMPin* Target) const;
	bool IsNodeReachable(const URigVMNode* From, const URigVMNode* To) const;
	bool ResolvePinType(URigVMPin* Pin, const FString& InCPPType, UObject* TypeObject);
	void UpdateNodeSize(URigVMNode* Node) const;
	void RenamePinPathsInLinks(const FString& OldNodeName, const FString& NewNodeName);

	UPROPERTY(Transient)
	TObjectPtr<URigVMGraph> Graph;

	UPROPERTY(Transient)
	TObjectPtr<UScriptStruct> ExecuteContextStruct;

	TFunction<void(URigVMGraph*)> OnModified;
	int32 UndoBracketDepth = 0;
};
