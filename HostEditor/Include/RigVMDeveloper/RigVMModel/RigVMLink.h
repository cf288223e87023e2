// URigVMLink: a link from an output pin to an input pin, kept as the two pin paths.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"

#include "RigVMLink.generated.h"

class URigVMGraph;
class URigVMPin;

/** A link of a graph: data (or execution) flows from its source pin to its target pin. */
UCLASS(BlueprintType)
class RIGVMDEVELOPER_API URigVMLink : public UObject
{
	GENERATED_BODY()

public:
	/** Returns the graph of the link. */
	UFUNCTION(BlueprintCallable, Category = RigVMLink)
	URigVMGraph* GetGraph() const;

	/** Returns the index of the link in its graph. */
	UFUNCTION(BlueprintCallable, Category = RigVMLink)
	int32 GetLinkIndex() const;

	/** Returns the pin the link starts at, or null when the path no longer names a pin. */
	UFUNCTION(BlueprintCallable, Category = RigVMLink)
	URigVMPin* GetSourcePin() const;

	/** Returns the pin the link ends at, or null when the path no longer names a pin. */
	UFUNCTION(BlueprintCallable, Category = RigVMLink)
	URigVMPin* GetTargetPin() const;

	/** Returns "Source.Pin -> Target.Pin". */
	UFUNCTION(BlueprintCallable, Category = RigVMLink)
	FString GetPinPathRepresentation() const;

	/** Returns the path of the source pin. */
	const FString& GetSourcePinPath() const { return SourcePinPath; }
	/** Returns the path of the target pin. */
	const FString& GetTargetPinPath() const { return TargetPinPath; }

	/** Makes the representation of a link between two pin paths. */
	static FString GetPinPathRepresentation(const FString& InSourcePinPath, const FString& InTargetPinPath);

private:
	friend class URigVMController;

	UPROPERTY()
	FString SourcePinPath;

	UPROPERTY()
	FString TargetPinPath;
};
