// UK2Node_DynamicCast: "Cast To <Class>": passes its object on as that class, or takes the failed path.
#pragma once

#include "CoreMinimal.h"
#include "K2Node.h"
#include "Templates/SubclassOf.h"

#include "K2Node_DynamicCast.generated.h"

UCLASS()
class BLUEPRINTGRAPH_API UK2Node_DynamicCast : public UK2Node
{
	GENERATED_BODY()

public:
	/** The class the node casts to. */
	UPROPERTY()
	TSubclassOf<UObject> TargetType;

	/** Pins: "execute" in; "then" and "CastFailed" out; "Object" in; "As<Class name>" out. */
	virtual void AllocateDefaultPins() override;
	virtual FText GetNodeTitle(int32 TitleType) const override;

	UEdGraphPin* GetCastSourcePin() const;
	UEdGraphPin* GetCastResultPin() const;
};
