// UEdGraphSchema_K2: the rules of blueprint graphs, and the names of their pin categories.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"

#include "EdGraphSchema_K2.generated.h"

UCLASS()
class BLUEPRINTGRAPH_API UEdGraphSchema_K2 : public UObject
{
	GENERATED_BODY()

public:
	static const FName PC_Exec;
	static const FName PC_Object;
	static const FName PC_Class;
	static const FName PC_Struct;
	static const FName PC_Boolean;
	static const FName PC_Float;
	static const FName PN_Execute;
	static const FName PN_Then;
	static const FName PN_ReturnValue;
};
