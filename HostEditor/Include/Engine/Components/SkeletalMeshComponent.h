// USkeletalMeshComponent: draws a skeletal mesh, animated by an animation blueprint or one asset.
#pragma once

#include "CoreMinimal.h"
#include "Components/SkinnedMeshComponent.h"
#include "Templates/SubclassOf.h"
#include "UObject/ObjectPtr.h"

#include "SkeletalMeshComponent.generated.h"

class UAnimInstance;
class USkeletalMesh;

namespace EAnimationMode
{
	enum Type : int
	{
		AnimationBlueprint,
		AnimationSingleNode,
		AnimationCustomMode,
	};
}

UCLASS(BlueprintType)
class ENGINE_API USkeletalMeshComponent : public USkinnedMeshComponent
{
	GENERATED_BODY()

public:
	UFUNCTION(BlueprintCallable, Category = "Components|SkeletalMesh")
	void SetSkeletalMeshAsset(USkeletalMesh* NewMesh) { SkeletalMeshAsset = NewMesh; }
	UFUNCTION(BlueprintPure, Category = "Components|SkeletalMesh")
	USkeletalMesh* GetSkeletalMeshAsset() const { return SkeletalMeshAsset; }

	/** How the mesh is animated. */
	void SetAnimationMode(EAnimationMode::Type InAnimationMode, bool bForceInitAnimScriptInstance = true)
	{
		(void)bForceInitAnimScriptInstance;
		AnimationMode = InAnimationMode;
	}
	EAnimationMode::Type GetAnimationMode() const { return AnimationMode; }

	/** The animation blueprint class that animates the mesh in the AnimationBlueprint mode. */
	void SetAnimInstanceClass(UClass* NewClass);
	UFUNCTION(BlueprintCallable, Category = "Components|Animation", meta = (DisplayName = "Set Anim Instance Class"))
	virtual void SetAnimClass(UClass* NewClass);

	UPROPERTY(EditAnywhere, BlueprintReadOnly, Category = Animation)
	TSubclassOf<UAnimInstance> AnimClass;

	/** The engine keeps this as a reflected TEnumAsByte; the stand-in's reflection has no namespaced enums. */
	EAnimationMode::Type AnimationMode = EAnimationMode::AnimationBlueprint;

private:
	UPROPERTY(EditAnywhere, Category = Mesh, BlueprintGetter = GetSkeletalMeshAsset, BlueprintSetter = SetSkeletalMeshAsset, meta = (AllowPrivateAccess = "true"))
	TObjectPtr<USkeletalMesh> SkeletalMeshAsset;
};
