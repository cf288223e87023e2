// Actors and components the gameplay classes are made of, with the engine's default values.

#include "Animation/AnimInstance.h"
#include "Components/CapsuleComponent.h"
#include "Components/SceneComponent.h"
#include "Components/SkeletalMeshComponent.h"
#include "Engine/World.h"
#include "GameFramework/Character.h"
#include "GameFramework/CharacterMovementComponent.h"
#include "GameFramework/GameModeBase.h"
#include "GameFramework/Pawn.h"
#include "GameFramework/PlayerController.h"
#include "GameFramework/SpringArmComponent.h"
#include "GameFramework/WorldSettings.h"
#include "UObject/UObjectGlobals.h"

USceneComponent::USceneComponent()
	: RelativeLocation(FVector::ZeroVector)
	, RelativeRotation(FRotator::ZeroRotator)
	, RelativeScale3D(FVector::OneVector)
{
}

UCapsuleComponent::UCapsuleComponent()
	: CapsuleHalfHeight(44.0f)
	, CapsuleRadius(22.0f)
{
}

void UCapsuleComponent::SetCapsuleSize(float InRadius, float InHalfHeight, bool bUpdateOverlaps)
{
	(void)bUpdateOverlaps;
	CapsuleRadius = FMath::Max(0.0f, InRadius);
	CapsuleHalfHeight = FMath::Max3(0.0f, InHalfHeight, CapsuleRadius);
}

UCharacterMovementComponent::UCharacterMovementComponent()
	: GravityScale(1.0f)
	, MaxStepHeight(45.0f)
	, JumpZVelocity(420.0f)
	, MaxWalkSpeed(600.0f)
	, MaxWalkSpeedCrouched(300.0f)
	, MaxSwimSpeed(300.0f)
	, MaxFlySpeed(600.0f)
	, MaxAcceleration(2048.0f)
	, MinAnalogWalkSpeed(0.0f)
	, BrakingDecelerationWalking(2048.0f)
	, CrouchedHalfHeight(40.0f)
{
}

USpringArmComponent::USpringArmComponent()
	: TargetArmLength(300.0f)
{
}

void USkeletalMeshComponent::SetAnimInstanceClass(UClass* NewClass)
{
	AnimClass = NewClass;
}

void USkeletalMeshComponent::SetAnimClass(UClass* NewClass)
{
	SetAnimInstanceClass(NewClass);
}

FName ACharacter::MeshComponentName(TEXT("CharacterMesh0"));
FName ACharacter::CharacterMovementComponentName(TEXT("CharMoveComp"));
FName ACharacter::CapsuleComponentName(TEXT("CollisionCylinder"));

ACharacter::ACharacter()
{
	CapsuleComponent = CreateDefaultSubobject<UCapsuleComponent>(CapsuleComponentName);
	CapsuleComponent->SetCapsuleSize(34.0f, 88.0f);
	CharacterMovement = CreateDefaultSubobject<UCharacterMovementComponent>(CharacterMovementComponentName);
	Mesh = CreateDefaultSubobject<USkeletalMeshComponent>(MeshComponentName);
}

AGameModeBase::AGameModeBase()
	: PlayerControllerClass(APlayerController::StaticClass())
	, DefaultPawnClass(APawn::StaticClass())
{
}

AWorldSettings* UWorld::GetWorldSettings(bool bCheckStreamingPersistent, bool bChecked) const
{
	(void)bCheckStreamingPersistent;
	if (!WorldSettings)
	{
		WorldSettings = NewObject<AWorldSettings>(const_cast<UWorld*>(this), FName(TEXT("WorldSettings")), RF_Transactional);
	}
	check(!bChecked || WorldSettings);
	return WorldSettings;
}
