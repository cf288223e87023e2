// UWorld: a level and what plays in it; the editor has one it shows.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"
#include "UObject/ObjectPtr.h"

#include "World.generated.h"

class AWorldSettings;

UCLASS()
class ENGINE_API UWorld : public UObject
{
	GENERATED_BODY()

public:
	/** The level's settings actor; made with the world when it has none. */
	AWorldSettings* GetWorldSettings(bool bCheckStreamingPersistent = false, bool bChecked = true) const;

private:
	UPROPERTY()
	mutable TObjectPtr<AWorldSettings> WorldSettings;
};
