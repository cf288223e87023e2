// UAnimBlueprint: a blueprint whose class animates a skeletal mesh of one Skeleton.
#pragma once

#include "CoreMinimal.h"
#include "Engine/Blueprint.h"
#include "UObject/ObjectPtr.h"
#include "UObject/SoftObjectPtr.h"

#include "AnimBlueprint.generated.h"

class USkeletalMesh;
class USkeleton;

UCLASS(BlueprintType)
class ENGINE_API UAnimBlueprint : public UBlueprint
{
	GENERATED_BODY()

public:
	/** The Skeleton the blueprint animates. */
	UPROPERTY(AssetRegistrySearchable, EditAnywhere, Category = ClassOptions)
	TObjectPtr<USkeleton> TargetSkeleton;

	/** Sets the mesh the blueprint's editor previews with. */
	void SetPreviewMesh(USkeletalMesh* PreviewMesh, bool bMarkAsDirty = true);
	USkeletalMesh* GetPreviewMesh(bool bFindIfNotSet = false);

	virtual UClass* GetBlueprintClass() const override;

private:
	UPROPERTY(duplicatetransient, AssetRegistrySearchable)
	TSoftObjectPtr<USkeletalMesh> PreviewSkeletalMesh;
};
