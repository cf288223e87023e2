// The dispatch factories of the array nodes: each stands for one array op code.
#pragma once

#include "CoreMinimal.h"
#include "RigVMCore/RigVMDispatchFactory.h"

#include "RigVMDispatch_Array.generated.h"

/** The base of the array factories; its pins are named by the constants below. */
USTRUCT(meta = (Abstract, Category = "Array", Keywords = "List,Collection"))
struct RIGVM_API FRigVMDispatch_ArrayBase : public FRigVMDispatchFactory
{
	GENERATED_BODY()

	static const FName ArrayName;
	static const FName NumName;
	static const FName IndexName;
	static const FName ElementName;
	static const FName CountName;
	static const FName RatioName;
	static const FName CompletedName;
	static const FName ExecuteContextName;
};

/** The base of the array factories that sit on the execution chain. */
USTRUCT(meta = (Abstract))
struct RIGVM_API FRigVMDispatch_ArrayBaseMutable : public FRigVMDispatch_ArrayBase
{
	GENERATED_BODY()
};

/** Returns the number of elements of an array. */
USTRUCT(meta = (DisplayName = "Num", Keywords = "Count,Length,Size"))
struct RIGVM_API FRigVMDispatch_ArrayGetNum : public FRigVMDispatch_ArrayBase
{
	GENERATED_BODY()

	virtual ERigVMOpCode GetOpCode() const override { return ERigVMOpCode::ArrayGetNum; }
	virtual const TArray<FRigVMTemplateArgumentInfo>& GetArgumentInfos() const override;
};

/** Returns the element of an array at an index. */
USTRUCT(meta = (DisplayName = "At", Keywords = "Get,Index"))
struct RIGVM_API FRigVMDispatch_ArrayGetAtIndex : public FRigVMDispatch_ArrayBase
{
	GENERATED_BODY()

	virtual ERigVMOpCode GetOpCode() const override { return ERigVMOpCode::ArrayGetAtIndex; }
	virtual const TArray<FRigVMTemplateArgumentInfo>& GetArgumentInfos() const override;
};

/** Adds an element to an array and returns its index. */
USTRUCT(meta = (DisplayName = "Add", Keywords = "Push,Append"))
struct RIGVM_API FRigVMDispatch_ArrayAdd : public FRigVMDispatch_ArrayBaseMutable
{
	GENERATED_BODY()

	virtual ERigVMOpCode GetOpCode() const override { return ERigVMOpCode::ArrayAdd; }
	virtual const TArray<FRigVMTemplateArgumentInfo>& GetArgumentInfos() const override;
};

/** Loops over the elements in an array. */
USTRUCT(meta = (DisplayName = "For Each", Icon = "EditorStyle|GraphEditor.Macro.ForEach_16x"))
struct RIGVM_API FRigVMDispatch_ArrayIterator : public FRigVMDispatch_ArrayBaseMutable
{
	GENERATED_BODY()

	virtual ERigVMOpCode GetOpCode() const override { return ERigVMOpCode::ArrayIterator; }
	virtual const TArray<FRigVMTemplateArgumentInfo>& GetArgumentInfos() const override;
};
