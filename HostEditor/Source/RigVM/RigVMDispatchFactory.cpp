#include "RigVMCore/RigVMDispatchFactory.h"

#include "RigVMFunctions/RigVMDispatch_Array.h"
#include "RigVMFunctions/RigVMDispatch_If.h"
#include "UObject/UObjectGlobals.h"

const TCHAR* FRigVMDispatchFactory::DispatchPrefix = TEXT("DISPATCH_");

namespace
{
	FRigVMTemplateArgumentInfo MakeArgument(const FName& Name, ERigVMPinDirection Direction, ERigVMTemplateArgumentTypeKind Kind, const TCHAR* CPPType = TEXT(""), const TCHAR* DefaultValue = TEXT(""))
	{
		FRigVMTemplateArgumentInfo Argument;
		Argument.Name = Name;
		Argument.Direction = Direction;
		Argument.TypeKind = Kind;
		Argument.CPPType = CPPType;
		Argument.DefaultValue = DefaultValue;
		return Argument;
	}

	const TCHAR* NotationDirection(ERigVMPinDirection Direction)
	{
		switch (Direction)
		{
		case ERigVMPinDirection::Output:
			return TEXT("out");
		case ERigVMPinDirection::IO:
			return TEXT("io");
		default:
			return TEXT("in");
		}
	}
}

FName FRigVMDispatchFactory::GetFactoryName() const
{
	return FName(*(FString(DispatchPrefix) + (FactoryScriptStruct ? FactoryScriptStruct->GetName() : FString())));
}

const TArray<FRigVMTemplateArgumentInfo>& FRigVMDispatchFactory::GetArgumentInfos() const
{
	static const TArray<FRigVMTemplateArgumentInfo> None;
	return None;
}

FName FRigVMDispatchFactory::GetTemplateNotation() const
{
	// Execution arguments are not part of a template's notation.
	TArray<FString> Arguments;
	for (const FRigVMTemplateArgumentInfo& Argument : GetArgumentInfos())
	{
		if (Argument.TypeKind != ERigVMTemplateArgumentTypeKind::Execute)
		{
			Arguments.Add(FString(NotationDirection(Argument.Direction)) + TEXT(" ") + Argument.Name.ToString());
		}
	}
	return FName(*FString::Printf(TEXT("%s(%s)"), *GetFactoryName().ToString(), *FString::Join(Arguments, TEXT(","))));
}

FString FRigVMDispatchFactory::GetNodeTitle() const
{
	if (!FactoryScriptStruct)
	{
		return GetFactoryName().ToString();
	}
	const FString DisplayName = FactoryScriptStruct->GetMetaData(TEXT("DisplayName"));
	return DisplayName.IsEmpty() ? FactoryScriptStruct->GetName() : DisplayName;
}

const TArray<const FRigVMDispatchFactory*>& FRigVMDispatchFactory::GetAllFactories()
{
	// One instance per concrete factory struct, made on first use and kept for the process.
	static TArray<const FRigVMDispatchFactory*> Factories;
	static TArray<UScriptStruct*> Seen;
	TArray<UObject*> Structs;
	GetObjectsOfClass(UScriptStruct::StaticClass(), Structs, false);
	for (UObject* Object : Structs)
	{
		UScriptStruct* Struct = static_cast<UScriptStruct*>(Object);
		if (Seen.Contains(Struct) || Struct == StaticStruct() || !Struct->IsChildOf(StaticStruct()) || Struct->HasMetaData(TEXT("Abstract")))
		{
			continue;
		}
		Seen.Add(Struct);
		void* Memory = ::operator new((size_t)Struct->GetStructureSize(), std::align_val_t(16));
		Struct->InitializeStruct(Memory);
		FRigVMDispatchFactory* Factory = static_cast<FRigVMDispatchFactory*>(Memory);
		Factory->FactoryScriptStruct = Struct;
		Factories.Add(Factory);
	}
	return Factories;
}

const FRigVMDispatchFactory* FRigVMDispatchFactory::FindFactory(const FName& InFactoryNameOrNotation)
{
	for (const FRigVMDispatchFactory* Factory : GetAllFactories())
	{
		if (Factory->GetFactoryName() == InFactoryNameOrNotation || Factory->GetTemplateNotation() == InFactoryNameOrNotation)
		{
			return Factory;
		}
	}
	return nullptr;
}

const FRigVMDispatchFactory* FRigVMDispatchFactory::FindArrayFactory(ERigVMOpCode InOpCode)
{
	if (InOpCode == ERigVMOpCode::Invalid)
	{
		return nullptr;
	}
	for (const FRigVMDispatchFactory* Factory : GetAllFactories())
	{
		if (Factory->GetOpCode() == InOpCode)
		{
			return Factory;
		}
	}
	return nullptr;
}

// ---- Factories ----

const TArray<FRigVMTemplateArgumentInfo>& FRigVMDispatch_If::GetArgumentInfos() const
{
	static const TArray<FRigVMTemplateArgumentInfo> Arguments = {
		MakeArgument(TEXT("Condition"), ERigVMPinDirection::Input, ERigVMTemplateArgumentTypeKind::Fixed, TEXT("bool"), TEXT("False")),
		MakeArgument(TEXT("True"), ERigVMPinDirection::Input, ERigVMTemplateArgumentTypeKind::TypeVariable),
		MakeArgument(TEXT("False"), ERigVMPinDirection::Input, ERigVMTemplateArgumentTypeKind::TypeVariable),
		MakeArgument(TEXT("Result"), ERigVMPinDirection::Output, ERigVMTemplateArgumentTypeKind::TypeVariable),
	};
	return Arguments;
}

const FName FRigVMDispatch_ArrayBase::ArrayName(TEXT("Array"));
const FName FRigVMDispatch_ArrayBase::NumName(TEXT("Num"));
const FName FRigVMDispatch_ArrayBase::IndexName(TEXT("Index"));
const FName FRigVMDispatch_ArrayBase::ElementName(TEXT("Element"));
const FName FRigVMDispatch_ArrayBase::CountName(TEXT("Count"));
const FName FRigVMDispatch_ArrayBase::RatioName(TEXT("Ratio"));
const FName FRigVMDispatch_ArrayBase::CompletedName(TEXT("Completed"));
const FName FRigVMDispatch_ArrayBase::ExecuteContextName(TEXT("ExecuteContext"));

const TArray<FRigVMTemplateArgumentInfo>& FRigVMDispatch_ArrayGetNum::GetArgumentInfos() const
{
	static const TArray<FRigVMTemplateArgumentInfo> Arguments = {
		MakeArgument(ArrayName, ERigVMPinDirection::Input, ERigVMTemplateArgumentTypeKind::ArrayOfTypeVariable),
		MakeArgument(NumName, ERigVMPinDirection::Output, ERigVMTemplateArgumentTypeKind::Fixed, TEXT("int32")),
	};
	return Arguments;
}

const TArray<FRigVMTemplateArgumentInfo>& FRigVMDispatch_ArrayGetAtIndex::GetArgumentInfos() const
{
	static const TArray<FRigVMTemplateArgumentInfo> Arguments = {
		MakeArgument(ArrayName, ERigVMPinDirection::Input, ERigVMTemplateArgumentTypeKind::ArrayOfTypeVariable),
		MakeArgument(IndexName, ERigVMPinDirection::Input, ERigVMTemplateArgumentTypeKind::Fixed, TEXT("int32"), TEXT("0")),
		MakeArgument(ElementName, ERigVMPinDirection::Output, ERigVMTemplateArgumentTypeKind::TypeVariable),
	};
	return Arguments;
}

const TArray<FRigVMTemplateArgumentInfo>& FRigVMDispatch_ArrayAdd::GetArgumentInfos() const
{
	static const TArray<FRigVMTemplateArgumentInfo> Arguments = {
		MakeArgument(ExecuteContextName, ERigVMPinDirection::IO, ERigVMTemplateArgumentTypeKind::Execute),
		MakeArgument(ArrayName, ERigVMPinDirection::IO, ERigVMTemplateArgumentTypeKind::ArrayOfTypeVariable),
		MakeArgument(ElementName, ERigVMPinDirection::Input, ERigVMTemplateArgumentTypeKind::TypeVariable),
		MakeArgument(IndexName, ERigVMPinDirection::Output, ERigVMTemplateArgumentTypeKind::Fixed, TEXT("int32")),
	};
	return Arguments;
}

const TArray<FRigVMTemplateArgumentInfo>& FRigVMDispatch_ArrayIterator::GetArgumentInfos() const
{
	static const TArray<FRigVMTemplateArgumentInfo> Arguments = {
		MakeArgument(ExecuteContextName, ERigVMPinDirection::IO, ERigVMTemplateArgumentTypeKind::Execute),
		MakeArgument(ArrayName, ERigVMPinDirection::Input, ERigVMTemplateArgumentTypeKind::ArrayOfTypeVariable),
		MakeArgument(ElementName, ERigVMPinDirection::Output, ERigVMTemplateArgumentTypeKind::TypeVariable),
		MakeArgument(IndexName, ERigVMPinDirection::Output, ERigVMTemplateArgumentTypeKind::Fixed, TEXT("int32")),
		MakeArgument(CountName, ERigVMPinDirection::Output, ERigVMTemplateArgumentTypeKind::Fixed, TEXT("int32")),
		MakeArgument(RatioName, ERigVMPinDirection::Output, ERigVMTemplateArgumentTypeKind::Fixed, TEXT("float")),
		MakeArgument(CompletedName, ERigVMPinDirection::Output, ERigVMTemplateArgumentTypeKind::Execute),
	};
	return Arguments;
}
