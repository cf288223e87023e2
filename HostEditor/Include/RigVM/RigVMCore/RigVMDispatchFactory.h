// FRigVMDispatchFactory: the base of the structs that describe dispatch templates, whose nodes take
// their pins from the factory's argument list rather than from reflected members.
#pragma once

#include "CoreMinimal.h"
#include "RigVMCore/RigVMByteCode.h"
#include "RigVMCore/RigVMFunction.h"
#include "UObject/ObjectMacros.h"

#include "RigVMDispatchFactory.generated.h"

class UScriptStruct;

/** What kind of type one argument of a dispatch template takes. */
enum class ERigVMTemplateArgumentTypeKind : uint8
{
	/** One fixed type (CPPType, CPPTypeObjectPath). */
	Fixed,
	/** The execute context of the graph the node lives in. */
	Execute,
	/** The factory's type variable: any single value type, the same for every argument of this kind. */
	TypeVariable,
	/** An array of the factory's type variable. */
	ArrayOfTypeVariable,
};

/** One argument of a dispatch template: a pin of every node made from it. */
struct FRigVMTemplateArgumentInfo
{
	FName Name;
	ERigVMPinDirection Direction = ERigVMPinDirection::Input;
	ERigVMTemplateArgumentTypeKind TypeKind = ERigVMTemplateArgumentTypeKind::Fixed;
	/** The C++ type and its type object of a Fixed argument ("int32" and None, "FVector" and "/Script/CoreUObject.Vector"). */
	FString CPPType;
	FName CPPTypeObjectPath;
	/** The default value of a Fixed argument in text form. */
	FString DefaultValue;
};

USTRUCT(meta = (Abstract))
struct RIGVM_API FRigVMDispatchFactory
{
	GENERATED_BODY()

	virtual ~FRigVMDispatchFactory() = default;

	/** The name of the template the factory stands for: "DISPATCH_" and the struct's name. */
	FName GetFactoryName() const;
	/** The struct that declares the factory. */
	UScriptStruct* GetScriptStruct() const { return FactoryScriptStruct; }
	/** The arguments of the template, in pin order. */
	virtual const TArray<FRigVMTemplateArgumentInfo>& GetArgumentInfos() const;
	/** The notation of the template: "DISPATCH_RigVMDispatch_If(in Condition,in True,in False,out Result)". */
	FName GetTemplateNotation() const;
	/** The node title: the struct's DisplayName metadata, else its name. */
	FString GetNodeTitle() const;
	/** The op code of the array operation the factory stands for; Invalid for other factories. */
	virtual ERigVMOpCode GetOpCode() const { return ERigVMOpCode::Invalid; }

	/** Every dispatch factory registered with the object system (one instance per factory struct). */
	static const TArray<const FRigVMDispatchFactory*>& GetAllFactories();
	/** The factory whose name or notation is given, or null. */
	static const FRigVMDispatchFactory* FindFactory(const FName& InFactoryNameOrNotation);
	/** The array factory for an op code, or null. */
	static const FRigVMDispatchFactory* FindArrayFactory(ERigVMOpCode InOpCode);

	/** The prefix of every dispatch template's name. */
	static const TCHAR* DispatchPrefix;

private:
	UScriptStruct* FactoryScriptStruct = nullptr;
};
