// UControlRig: the class a Control Rig blueprint generates; its instances run the rig.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"

#include "ControlRig.generated.h"

UCLASS(Blueprintable, Abstract)
class CONTROLRIG_API UControlRig : public UObject
{
	GENERATED_BODY()
};
