// Functions on names.
#pragma once

#include "CoreMinimal.h"
#include "RigVMCore/RigVMStruct.h"
#include "UObject/ObjectMacros.h"

#include "RigVMFunction_Name.generated.h"

USTRUCT(meta = (Abstract, Category = "Core|Name", NodeColor = "0.462745, 1,0, 0.329412"))
struct RIGVM_API FRigVMFunction_NameBase : public FRigVMStruct
{
	GENERATED_BODY()
};

/**
 * Concatenates two strings together to make a new string
 */
USTRUCT(meta = (DisplayName = "Concat", TemplateName = "Concat", Keywords = "Add,+,Combine,Merge,Append"))
struct FRigVMFunction_NameConcat : public FRigVMFunction_NameBase
{
	GENERATED_BODY()

	RIGVM_METHOD()
	virtual void Execute() override;

	UPROPERTY(meta = (Input))
	FName A;

	UPROPERTY(meta = (Input))
	FName B;

	UPROPERTY(meta = (Output))
	FName Result;
};
