// The forwards-solve event: where a rig's main execution chain starts.
#pragma once

#include "CoreMinimal.h"
#include "Units/RigUnit.h"
#include "UObject/ObjectMacros.h"

#include "RigUnit_BeginExecution.generated.h"

/**
 * Event for driving the skeleton hierarchy with variables and rig elements
 */
USTRUCT(meta = (DisplayName = "Forwards Solve", Category = "Events", NodeColor = "1, 0, 0", Keywords = "Begin,Update,Tick,Forward,Event"))
struct CONTROLRIG_API FRigUnit_BeginExecution : public FRigUnit
{
	GENERATED_BODY()

	RIGVM_METHOD()
	virtual void Execute() override;

	virtual FName GetEventName() const override { return FName(TEXT("Forwards Solve")); }
	virtual bool CanOnlyExistOnce() const override { return true; }

	/** The execution result */
	UPROPERTY(EditAnywhere, Transient, DisplayName = "Execute", Category = "BeginExecution", meta = (Output))
	FControlRigExecuteContext ExecuteContext;
};
