// ACharacter: a walking pawn: a capsule, a skeletal mesh and character movement.
#pragma once

#include "CoreMinimal.h"
#include "GameFramework/Pawn.h"
#include "UObject/ObjectPtr.h"

#include "Character.generated.h"

class UCapsuleComponent;
class UCharacterMovementComponent;
class USkeletalMeshComponent;

UCLASS(BlueprintType, Blueprintable)
class ENGINE_API ACharacter : public APawn
{
	GENERATED_BODY()

public:
	ACharacter();

	/** The names of the default subobjects, as the engine names them. */
	static FName MeshComponentName;
	static FName CharacterMovementComponentName;
	static FName CapsuleComponentName;

	USkeletalMeshComponent* GetMesh() const { return Mesh; }
	UCharacterMovementComponent* GetCharacterMovement() const { return CharacterMovement; }
	UCapsuleComponent* GetCapsuleComponent() const { return CapsuleComponent; }

private:
	UPROPERTY(Category = Character, VisibleAnywhere, BlueprintReadOnly, meta = (AllowPrivateAccess = "true"))
	TObjectPtr<USkeletalMeshComponent> Mesh;

	UPROPERTY(Category = Character, VisibleAnywhere, BlueprintReadOnly, meta = (AllowPrivateAccess = "true"))
	TObjectPtr<UCharacterMovementComponent> CharacterMovement;

	UPROPERTY(Category = Character, VisibleAnywhere, BlueprintReadOnly, meta = (AllowPrivateAccess = "true"))
	TObjectPtr<UCapsuleComponent> CapsuleComponent;
};
