// URigVMPin: one pin of a RigVM node, with its type, default value and sub-pins.
#pragma once

#include "CoreMinimal.h"
#include "RigVMCore/RigVMFunction.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"
#include "UObject/ObjectPtr.h"

#include "RigVMPin.generated.h"

class URigVMGraph;
class URigVMLink;
class URigVMNode;
class UEnum;
class UScriptStruct;

/**
 * A pin of a node. Struct pins have a sub-pin per member and array pins a sub-pin per element
 * (named "0", "1", ...); a pin's path is its node's name and its segments joined by '.'
 * ("Node.Parents.0.Weight").
 */
UCLASS(BlueprintType)
class RIGVMDEVELOPER_API URigVMPin : public UObject
{
	GENERATED_BODY()

public:
	/** The separator between the segments of a pin path. */
	static const TCHAR PathSeparator;

	/** Returns the pin's full path, "Node.Pin.SubPin". */
	UFUNCTION(BlueprintCallable, Category = RigVMPin)
	FString GetPinPath(bool bUseNodePath = false) const;

	/** Returns the path below the node ("Pin.SubPin"); without bIncludeRootPin, the path below the root pin. */
	UFUNCTION(BlueprintCallable, Category = RigVMPin)
	FString GetSegmentPath(bool bIncludeRootPin = false) const;

	/** Returns the name the pin shows (its DisplayName metadata, else its name). */
	UFUNCTION(BlueprintCallable, Category = RigVMPin)
	FName GetDisplayName() const;

	/** Returns the direction of the pin. */
	UFUNCTION(BlueprintCallable, Category = RigVMPin)
	ERigVMPinDirection GetDirection() const { return Direction; }

	/** Returns true when the pin's sub-pins are shown. */
	UFUNCTION(BlueprintCallable, Category = RigVMPin)
	bool IsExpanded() const { return bIsExpanded; }

	/** Returns true when the pin takes a constant value only. */
	UFUNCTION(BlueprintCallable, Category = RigVMPin)
	bool IsDefinedAsConstant() const { return bIsConstant; }

	/** Returns true when the pin holds an array. */
	UFUNCTION(BlueprintCallable, Category = RigVMPin)
	bool IsArray() const;

	/** Returns true when the pin is an element of an array pin. */
	UFUNCTION(BlueprintCallable, Category = RigVMPin)
	bool IsArrayElement() const;

	/** Returns true when the pin holds a struct (and has a sub-pin per member). */
	UFUNCTION(BlueprintCallable, Category = RigVMPin)
	bool IsStruct() const;

	/** Returns true when the pin is part of the execution chain. */
	UFUNCTION(BlueprintCallable, Category = RigVMPin)
	bool IsExecuteContext() const;

	/** Returns true when the pin's type is not resolved yet. */
	UFUNCTION(BlueprintCallable, Category = RigVMPin)
	bool IsWildCard() const;

	/** Returns the index of the pin among its siblings. */
	UFUNCTION(BlueprintCallable, Category = RigVMPin)
	int32 GetPinIndex() const;

	/** Returns the number of elements of an array pin (0 for other pins). */
	UFUNCTION(BlueprintCallable, Category = RigVMPin)
	int32 GetArraySize() const;

	/** Returns the C++ type of the pin ("float", "FTransform", "TArray<FName>"). */
	UFUNCTION(BlueprintCallable, Category = RigVMPin)
	FString GetCPPType() const { return CPPType; }

	/** Returns the struct, enum or class of the pin's type, or null for plain types. */
	UFUNCTION(BlueprintCallable, Category = RigVMPin)
	UObject* GetCPPTypeObject() const;

	/** Returns the struct of the pin's type, or null. */
	UFUNCTION(BlueprintCallable, Category = RigVMPin)
	UScriptStruct* GetScriptStruct() const;

	/** Returns the pin's default value in the engine's text form, composed from the sub-pins' values. */
	UFUNCTION(BlueprintCallable, Category = RigVMPin)
	FString GetDefaultValue() const;

	/** Returns the pin this pin is a sub-pin of, or null for a root pin. */
	UFUNCTION(BlueprintCallable, Category = RigVMPin)
	URigVMPin* GetParentPin() const;

	/** Returns the top-most pin above this one (the pin itself for a root pin). */
	UFUNCTION(BlueprintCallable, Category = RigVMPin)
	URigVMPin* GetRootPin() const;

	/** Returns the direct sub-pins. */
	UFUNCTION(BlueprintCallable, Category = RigVMPin)
	TArray<URigVMPin*> GetSubPins() const;

	/** Returns every pin below this one, depth first. */
	UFUNCTION(BlueprintCallable, Category = RigVMPin)
	TArray<URigVMPin*> GetAllSubPinsRecursively() const;

	/** Returns the sub-pin at a path below this pin ("Translation.X"), or null. */
	UFUNCTION(BlueprintCallable, Category = RigVMPin)
	URigVMPin* FindSubPin(const FString& InPinPath) const;

	/** Returns the node of the pin. */
	UFUNCTION(BlueprintCallable, Category = RigVMPin)
	URigVMNode* GetNode() const;

	/** Returns the graph of the pin's node. */
	UFUNCTION(BlueprintCallable, Category = RigVMPin)
	URigVMGraph* GetGraph() const;

	/** Returns true when a link joins this pin and InPin (in either direction). */
	UFUNCTION(BlueprintCallable, Category = RigVMPin)
	bool IsLinkedTo(URigVMPin* InPin) const;

	/** Returns the links that end or start at this pin. */
	UFUNCTION(BlueprintCallable, Category = RigVMPin)
	TArray<URigVMLink*> GetLinks() const;

	/** Returns the pins linked into this pin (with bRecursive, also those linked into its sub-pins). */
	UFUNCTION(BlueprintCallable, Category = RigVMPin)
	TArray<URigVMPin*> GetLinkedSourcePins(bool bRecursive = false) const;

	/** Returns the pins this pin is linked to (with bRecursive, also those its sub-pins are linked to). */
	UFUNCTION(BlueprintCallable, Category = RigVMPin)
	TArray<URigVMPin*> GetLinkedTargetPins(bool bRecursive = false) const;

	/** Returns the links into this pin (with bRecursive, also into its sub-pins). */
	UFUNCTION(BlueprintCallable, Category = RigVMPin)
	TArray<URigVMLink*> GetSourceLinks(bool bRecursive = false) const;

	/** Returns the links out of this pin (with bRecursive, also out of its sub-pins). */
	UFUNCTION(BlueprintCallable, Category = RigVMPin)
	TArray<URigVMLink*> GetTargetLinks(bool bRecursive = false) const;

	/** Re-finds the type object by its path when a loaded pin lost the reference. */
	virtual void PostLoad() override;

	/** Splits "A.B.C" into "A" and "B.C"; false when there is no separator. */
	static bool SplitPinPathAtStart(const FString& InPinPath, FString& LeftMost, FString& Right);
	/** Splits "A.B.C" into "A.B" and "C"; false when there is no separator. */
	static bool SplitPinPathAtEnd(const FString& InPinPath, FString& Left, FString& RightMost);

private:
	friend class URigVMController;

	/** Returns the pin's own stored value (the value of a pin without sub-pins). */
	const FString& GetStoredDefaultValue() const { return DefaultValue; }
	/** True for the types whose values are quoted inside a composed value (FString, FName). */
	bool IsStringType() const;

	UPROPERTY()
	FName DisplayName;

	UPROPERTY()
	ERigVMPinDirection Direction = ERigVMPinDirection::Invalid;

	UPROPERTY()
	bool bIsExpanded = false;

	UPROPERTY()
	bool bIsConstant = false;

	UPROPERTY()
	FString CPPType;

	UPROPERTY()
	TObjectPtr<UObject> CPPTypeObject;

	UPROPERTY()
	FName CPPTypeObjectPath;

	UPROPERTY()
	FString DefaultValue;

	UPROPERTY()
	TArray<TObjectPtr<URigVMPin>> SubPins;
};
