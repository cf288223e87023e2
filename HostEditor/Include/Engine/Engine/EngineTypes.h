// Engine-wide value types a mesh asset carries.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"

#include "EngineTypes.generated.h"

/** Whether and how a mesh is built for Nanite. */
USTRUCT(BlueprintType)
struct ENGINE_API FMeshNaniteSettings
{
	GENERATED_BODY()

	/** Whether the mesh is built and drawn as Nanite geometry. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = General)
	bool bEnabled = false;
};

/** Whether moving a physics-simulated component carries its velocity along or resets it. */
enum class ETeleportType : uint8
{
	None,
	TeleportPhysics,
	ResetPhysics,
};
