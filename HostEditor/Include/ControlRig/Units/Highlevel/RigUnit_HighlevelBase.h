// The abstract bases of the high-level Control Rig units.
#pragma once

#include "CoreMinimal.h"
#include "Units/RigUnit.h"
#include "UObject/ObjectMacros.h"

#include "RigUnit_HighlevelBase.generated.h"

USTRUCT(meta = (Abstract, Category = "Hierarchy", NodeColor = "0.462745, 0.0, 0.462745"))
struct CONTROLRIG_API FRigUnit_HighlevelBase : public FRigUnit
{
	GENERATED_BODY()
};

USTRUCT(meta = (Abstract, Category = "Hierarchy", NodeColor = "0.462745, 0.0, 0.462745"))
struct CONTROLRIG_API FRigUnit_HighlevelBaseMutable : public FRigUnitMutable
{
	GENERATED_BODY()
};
