// Blueprint graph nodes: the K2 pin categories and the cast node.

#include "EdGraphSchema_K2.h"
#include "K2Node_DynamicCast.h"

const FName UEdGraphSchema_K2::PC_Exec(TEXT("exec"));
const FName UEdGraphSchema_K2::PC_Object(TEXT("object"));
const FName UEdGraphSchema_K2::PC_Class(TEXT("class"));
const FName UEdGraphSchema_K2::PC_Struct(TEXT("struct"));
const FName UEdGraphSchema_K2::PC_Boolean(TEXT("bool"));
const FName UEdGraphSchema_K2::PC_Float(TEXT("float"));
const FName UEdGraphSchema_K2::PN_Execute(TEXT("execute"));
const FName UEdGraphSchema_K2::PN_Then(TEXT("then"));
const FName UEdGraphSchema_K2::PN_ReturnValue(TEXT("ReturnValue"));

namespace
{
	const FName CastFailedPinName(TEXT("CastFailed"));
	const FName ObjectPinName(TEXT("Object"));

	/** "As <Class>", the cast result's pin name, from the class's name without a blueprint's "_C". */
	FName CastResultPinName(const UClass* TargetType)
	{
		FString Name = TargetType ? TargetType->GetName() : FString(TEXT("None"));
		Name.RemoveFromEnd(TEXT("_C"));
		return FName(*(TEXT("As") + Name));
	}
}

void UK2Node_DynamicCast::AllocateDefaultPins()
{
	CreatePin(EGPD_Input, UEdGraphSchema_K2::PC_Exec, UEdGraphSchema_K2::PN_Execute);
	CreatePin(EGPD_Output, UEdGraphSchema_K2::PC_Exec, UEdGraphSchema_K2::PN_Then);
	CreatePin(EGPD_Output, UEdGraphSchema_K2::PC_Exec, CastFailedPinName);
	CreatePin(EGPD_Input, UEdGraphSchema_K2::PC_Object, UObject::StaticClass(), ObjectPinName);
	CreatePin(EGPD_Output, UEdGraphSchema_K2::PC_Object, TargetType.Get(), CastResultPinName(TargetType));
}

FText UK2Node_DynamicCast::GetNodeTitle(int32 TitleType) const
{
	(void)TitleType;
	FString Name = TargetType ? TargetType->GetName() : FString(TEXT("None"));
	Name.RemoveFromEnd(TEXT("_C"));
	return FText::FromString(TEXT("Cast To ") + Name);
}

UEdGraphPin* UK2Node_DynamicCast::GetCastSourcePin() const
{
	return FindPin(ObjectPinName, EGPD_Input);
}

UEdGraphPin* UK2Node_DynamicCast::GetCastResultPin() const
{
	for (UEdGraphPin* Pin : Pins)
	{
		if (Pin->Direction == EGPD_Output && Pin->PinType.PinCategory == UEdGraphSchema_K2::PC_Object)
		{
			return Pin;
		}
	}
	return nullptr;
}
