// USCS_Node: one component of a blueprint's construction script, with its template.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"
#include "UObject/ObjectPtr.h"

#include "SCS_Node.generated.h"

class UActorComponent;

UCLASS()
class ENGINE_API USCS_Node : public UObject
{
	GENERATED_BODY()

public:
	/** The component each actor of the class gets a copy of. */
	UPROPERTY()
	TObjectPtr<UActorComponent> ComponentTemplate;

	/** The component's variable name in the blueprint. */
	UPROPERTY()
	FName InternalVariableName;

	/** The nodes attached below this one. */
	UPROPERTY()
	TArray<TObjectPtr<USCS_Node>> ChildNodes;

	FName GetVariableName() const { return InternalVariableName; }
	const TArray<USCS_Node*>& GetChildNodes() const { return reinterpret_cast<const TArray<USCS_Node*>&>(ChildNodes); }
	void AddChildNode(USCS_Node* InNode, bool bAddToAllNodes = true);
};
