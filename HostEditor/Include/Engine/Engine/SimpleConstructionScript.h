// USimpleConstructionScript: the tree of components a blueprint adds to its actors.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"
#include "UObject/ObjectPtr.h"

#include "SimpleConstructionScript.generated.h"

class UBlueprint;
class USCS_Node;

UCLASS()
class ENGINE_API USimpleConstructionScript : public UObject
{
	GENERATED_BODY()

public:
	/** Makes a node with a new component template of ComponentClass (not yet in the tree). */
	USCS_Node* CreateNode(UClass* NewComponentClass, FName NewComponentVariableName = NAME_None);
	/** Adds a node at the top of the tree. */
	void AddNode(USCS_Node* Node);
	/** Every node of the tree, parents before their children. */
	TArray<USCS_Node*> GetAllNodes() const;
	const TArray<USCS_Node*>& GetRootNodes() const { return reinterpret_cast<const TArray<USCS_Node*>&>(RootNodes); }
	UBlueprint* GetBlueprint() const;

private:
	friend class USCS_Node;

	UPROPERTY()
	TArray<TObjectPtr<USCS_Node>> RootNodes;

	UPROPERTY()
	TArray<TObjectPtr<USCS_Node>> AllNodes;
};
