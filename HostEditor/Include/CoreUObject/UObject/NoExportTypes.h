// Reflection of the engine's core value types, which are declared natively in Core. The declarations
// below are read by the header tool only; C++ sees the TBaseStructure specialisations it writes.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Class.h"
#include "UObject/ObjectMacros.h"

#include "NoExportTypes.generated.h"

#if !CPP

USTRUCT(immutable, noexport, BlueprintType)
struct FVector
{
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Vector, SaveGame)
	double X;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Vector, SaveGame)
	double Y;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Vector, SaveGame)
	double Z;
};

USTRUCT(immutable, noexport, BlueprintType)
struct FVector2D
{
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Vector2D, SaveGame)
	double X;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Vector2D, SaveGame)
	double Y;
};

USTRUCT(immutable, noexport, BlueprintType)
struct FVector4
{
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Vector4, SaveGame)
	double X;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Vector4, SaveGame)
	double Y;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Vector4, SaveGame)
	double Z;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Vector4, SaveGame)
	double W;
};

USTRUCT(immutable, noexport, BlueprintType)
struct FQuat
{
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Quat, SaveGame)
	double X;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Quat, SaveGame)
	double Y;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Quat, SaveGame)
	double Z;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Quat, SaveGame)
	double W;
};

USTRUCT(immutable, noexport, BlueprintType, meta = (HasNativeMake = "/Script/Engine.KismetMathLibrary.MakeRotator"))
struct FRotator
{
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Rotator, SaveGame)
	double Pitch;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Rotator, SaveGame)
	double Yaw;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Rotator, SaveGame)
	double Roll;
};

USTRUCT(immutable, noexport, BlueprintType, meta = (HasNativeMake = "/Script/Engine.KismetMathLibrary.MakeTransform"))
struct FTransform
{
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Transform, SaveGame)
	FQuat Rotation;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Transform, SaveGame)
	FVector Translation;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Transform, SaveGame)
	FVector Scale3D;
};

USTRUCT(immutable, noexport, BlueprintType)
struct FBoxSphereBounds
{
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = BoxSphereBounds, SaveGame)
	FVector Origin;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = BoxSphereBounds, SaveGame)
	FVector BoxExtent;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = BoxSphereBounds, SaveGame)
	double SphereRadius;
};

USTRUCT(immutable, noexport, BlueprintType)
struct FLinearColor
{
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = LinearColor, SaveGame)
	float R;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = LinearColor, SaveGame)
	float G;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = LinearColor, SaveGame)
	float B;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = LinearColor, SaveGame)
	float A;
};

USTRUCT(immutable, noexport, BlueprintType)
struct FColor
{
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Color, SaveGame)
	uint8 B;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Color, SaveGame)
	uint8 G;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Color, SaveGame)
	uint8 R;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Color, SaveGame)
	uint8 A;
};

USTRUCT(immutable, noexport, BlueprintType)
struct FIntPoint
{
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = IntPoint, SaveGame)
	int32 X;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = IntPoint, SaveGame)
	int32 Y;
};

USTRUCT(immutable, noexport, BlueprintType)
struct FIntVector
{
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = IntVector, SaveGame)
	int32 X;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = IntVector, SaveGame)
	int32 Y;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = IntVector, SaveGame)
	int32 Z;
};

#endif
