// USubsystem: an object the engine makes and keeps for the lifetime of what it belongs to.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"

#include "Subsystem.generated.h"

UCLASS(Abstract)
class ENGINE_API USubsystem : public UObject
{
	GENERATED_BODY()
};

/** A subsystem made for every module that declares one of its kind. */
UCLASS(Abstract)
class ENGINE_API UDynamicSubsystem : public USubsystem
{
	GENERATED_BODY()
};
