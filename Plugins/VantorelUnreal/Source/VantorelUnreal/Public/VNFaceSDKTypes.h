// The face rig's set-driven-key records: drivers, the bone channels they drive and their key curves,
// and the control records the face builder writes for the solver.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"

#include "VNFaceSDKTypes.generated.h"

/** Which transform or value channel a driver reads or a driven row writes. */
UENUM(BlueprintType)
enum class EVNFaceSDKChannel : uint8
{
	TranslationX,
	TranslationY,
	TranslationZ,
	RotationX,
	RotationY,
	RotationZ,
	/** The whole rotation of a bone, driven through quaternion keys. */
	Rotation,
	ScaleX,
	ScaleY,
	ScaleZ,
	ValueX,
	ValueY,
	ValueZ,
	ValueFloat,
};

/** How a driven row's curve value is applied to the bone channel. */
UENUM(BlueprintType)
enum class EVNFaceSDKApplyMode : uint8
{
	Additive,
	Absolute,
};

/** In which space a driven row's value is applied. */
UENUM(BlueprintType)
enum class EVNFaceSDKTransformSpace : uint8
{
	Local,
	World,
};

/** One key of a driven curve. */
USTRUCT(BlueprintType)
struct VANTORELUNREAL_API FVNSDKKey
{
	GENERATED_BODY()

	/** The driver's value at the key (curve input). */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Vantorel Face")
	float X = 0.0f;

	/** The driven channel's value at the key (curve output), in the channel's unit. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Vantorel Face")
	float Y = 0.0f;
};

/** One key of a whole-rotation curve. */
USTRUCT(BlueprintType)
struct VANTORELUNREAL_API FVNSDKQuaternionKey
{
	GENERATED_BODY()

	/** The driver's value at the key. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Vantorel Face")
	float X = 0.0f;

	/** The bone's rotation at the key. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Vantorel Face")
	FQuat Value = FQuat::Identity;
};

/** One bone channel moved by a driver. */
USTRUCT(BlueprintType)
struct VANTORELUNREAL_API FVNDrivenSDKChannel
{
	GENERATED_BODY()

	/** The driven bone, or a face rig null that stands between controls and bones. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Vantorel Face")
	FName BoneName;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Vantorel Face")
	EVNFaceSDKChannel Channel = EVNFaceSDKChannel::TranslationX;

	/** Factor applied to the curve output. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Vantorel Face")
	float Multiplier = 1.0f;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Vantorel Face")
	EVNFaceSDKApplyMode ApplyMode = EVNFaceSDKApplyMode::Additive;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Vantorel Face")
	EVNFaceSDKTransformSpace TransformSpace = EVNFaceSDKTransformSpace::Local;

	/** The scalar curve, in file order. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Vantorel Face")
	TArray<FVNSDKKey> Keys;

	/** True when the row drives the whole rotation through QuaternionKeys instead of Keys. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Vantorel Face")
	bool bQuaternionRotation = false;

	/** The rotation curve, in file order. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Vantorel Face")
	TArray<FVNSDKQuaternionKey> QuaternionKeys;
};

/** One driver (a face control's channel) and everything it moves. */
USTRUCT(BlueprintType)
struct VANTORELUNREAL_API FVNFaceSDKDriver
{
	GENERATED_BODY()

	/** The face control that drives. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Vantorel Face")
	FName ControlName;

	/** The driving channel of that control. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Vantorel Face")
	EVNFaceSDKChannel Channel = EVNFaceSDKChannel::TranslationX;

	/** The control's custom attribute, when the driver reads one; then Channel is ValueFloat. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Vantorel Face")
	FName CustomChannelName;

	/** The driven rows, in file order. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Vantorel Face")
	TArray<FVNDrivenSDKChannel> Driven;
};

/** A face control that moves a bone directly, through a follow null. */
USTRUCT(BlueprintType)
struct VANTORELUNREAL_API FVNFaceSDKDirectControl
{
	GENERATED_BODY()

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Vantorel Face")
	FName ControlName;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Vantorel Face")
	FName BoneName;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Vantorel Face")
	FName FollowNullName;
};

/** A face control that follows a bone through a follow null. */
USTRUCT(BlueprintType)
struct VANTORELUNREAL_API FVNFaceSDKFollowControl
{
	GENERATED_BODY()

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Vantorel Face")
	FName ControlName;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Vantorel Face")
	FName BoneName;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Vantorel Face")
	FName FollowNullName;

	/** True when the control follows the bone's rotation as well as its position. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Vantorel Face")
	bool bFollowRotation = false;
};

/** The chain that carries an eye: the set-driven-key null, the final control and the eye joint. */
USTRUCT(BlueprintType)
struct VANTORELUNREAL_API FVNFaceSDKEyeChain
{
	GENERATED_BODY()

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Vantorel Face")
	FName SDKNullName;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Vantorel Face")
	FName FinalControlName;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Vantorel Face")
	FName EyeJointName;
};

/** An eye that aims at a look-at control. */
USTRUCT(BlueprintType)
struct VANTORELUNREAL_API FVNFaceSDKAimBinding
{
	GENERATED_BODY()

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Vantorel Face")
	FName EyeAimNullName;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Vantorel Face")
	FName TargetControlName;

	/** The eye's aim direction in its local basis. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Vantorel Face")
	FVector AimAxis = FVector(0.0, 1.0, 0.0);

	/** The eye's up direction in its local basis. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Vantorel Face")
	FVector UpAxis = FVector(0.0, 0.0, 1.0);
};

/** Controls shown or hidden together by a switch channel. */
USTRUCT(BlueprintType)
struct VANTORELUNREAL_API FVNFaceSDKVisibilityGroup
{
	GENERATED_BODY()

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Vantorel Face")
	FName SwitchControlName;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Vantorel Face")
	bool bDefaultVisible = true;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Vantorel Face")
	TArray<FName> Members;
};
