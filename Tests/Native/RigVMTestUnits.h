// Test-only rig units whose members RigVM carries or refuses: the registry takes a unit only when
// every member is a value RigVM can hold.
#pragma once

#include "CoreMinimal.h"
#include "RigVMCore/RigVMStruct.h"
#include "UObject/Object.h"
#include "UObject/SoftObjectPtr.h"

#include "RigVMTestUnits.generated.h"

/** Plain values, arrays and structs of them: all carried. */
USTRUCT(meta = (DisplayName = "Test Plain Values"))
struct FRigVMTestUnit_PlainValues : public FRigVMStructMutable
{
	GENERATED_BODY()

	RIGVM_METHOD()
	virtual void Execute() override {}

	UPROPERTY(meta = (Input))
	FString AssetPath;

	UPROPERTY(meta = (Input))
	TArray<FName> Names;

	UPROPERTY(meta = (Input))
	FTransform Transform;

	UPROPERTY(meta = (Output))
	double Result = 0.0;
};

/** An asset as a soft object pointer: not a value RigVM carries. */
USTRUCT(meta = (DisplayName = "Test Soft Object"))
struct FRigVMTestUnit_SoftObject : public FRigVMStructMutable
{
	GENERATED_BODY()

	RIGVM_METHOD()
	virtual void Execute() override {}

	UPROPERTY(meta = (Input))
	float Weight = 1.0f;

	UPROPERTY(meta = (Input))
	TSoftObjectPtr<UObject> Asset;
};

/** An object pointer inside an array: refused as well. */
USTRUCT(meta = (DisplayName = "Test Object Array"))
struct FRigVMTestUnit_ObjectArray : public FRigVMStructMutable
{
	GENERATED_BODY()

	RIGVM_METHOD()
	virtual void Execute() override {}

	UPROPERTY(meta = (Input))
	TArray<TObjectPtr<UObject>> Objects;
};
