// AWorldSettings: the settings of a level, among them the game mode it plays with.
#pragma once

#include "CoreMinimal.h"
#include "GameFramework/Info.h"
#include "Templates/SubclassOf.h"

#include "WorldSettings.generated.h"

class AGameModeBase;

UCLASS(BlueprintType)
class ENGINE_API AWorldSettings : public AInfo
{
	GENERATED_BODY()

public:
	/** The game mode the level plays with instead of the project's default ("GameMode Override"). */
	UPROPERTY(EditAnywhere, Category = GameMode, meta = (DisplayName = "GameMode Override"))
	TSubclassOf<AGameModeBase> DefaultGameMode;
};
