// FRigVMExecuteContext: what a RigVM node receives when it runs.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"

#include "RigVMExecuteContext.generated.h"

USTRUCT(BlueprintType)
struct FRigVMExecuteContext
{
	GENERATED_BODY()

	virtual ~FRigVMExecuteContext() = default;

	/** The event that is running ("Forwards Solve", "Backwards Solve", ...). */
	FName GetEventName() const { return EventName; }
	void SetEventName(const FName& InEventName) { EventName = InEventName; }
	/** Seconds since the previous evaluation. */
	double GetDeltaTime() const { return DeltaTime; }
	void SetDeltaTime(double InDeltaTime) { DeltaTime = InDeltaTime; }

private:
	FName EventName;
	double DeltaTime = 0.0;
};
