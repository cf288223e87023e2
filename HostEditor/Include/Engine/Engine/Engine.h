// UEngine: the engine object; FWorldContext: one world the engine runs and what it is for.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"

#include "Engine.generated.h"

class UWorld;

namespace EWorldType
{
	enum Type
	{
		None,
		Game,
		Editor,
		PIE,
		EditorPreview,
		GamePreview,
		GameRPC,
		Inactive,
	};
}

struct ENGINE_API FWorldContext
{
	EWorldType::Type WorldType = EWorldType::None;

	UWorld* World() const { return ThisCurrentWorld; }
	void SetCurrentWorld(UWorld* World) { ThisCurrentWorld = World; }

private:
	UWorld* ThisCurrentWorld = nullptr;
};

UCLASS(Abstract)
class ENGINE_API UEngine : public UObject
{
	GENERATED_BODY()
};
