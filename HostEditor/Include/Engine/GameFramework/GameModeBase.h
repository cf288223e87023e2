// AGameModeBase: the rules of a game: which pawn and controller classes players get.
#pragma once

#include "CoreMinimal.h"
#include "GameFramework/Info.h"
#include "Templates/SubclassOf.h"

#include "GameModeBase.generated.h"

class APawn;
class APlayerController;

UCLASS(BlueprintType, Blueprintable)
class ENGINE_API AGameModeBase : public AInfo
{
	GENERATED_BODY()

public:
	AGameModeBase();

	/** The class of the controller each player gets. */
	UPROPERTY(EditAnywhere, NoClear, BlueprintReadOnly, Category = Classes)
	TSubclassOf<APlayerController> PlayerControllerClass;

	/** The class of the pawn each player gets at the start. */
	UPROPERTY(EditAnywhere, NoClear, BlueprintReadOnly, Category = Classes)
	TSubclassOf<APawn> DefaultPawnClass;
};
