// The persistent face rig data of one character, evaluated by the face solver rig unit.
#pragma once

#include "CoreMinimal.h"
#include "Engine/DataAsset.h"
#include "VNFaceSDKTypes.h"

#include "VNFaceRigDataAsset.generated.h"

UCLASS(BlueprintType)
class VANTORELUNREAL_API UVNFaceRigDataAsset : public UDataAsset
{
	GENERATED_BODY()

public:
	/** The Face rig JSON's schema version as last imported. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Vantorel Face")
	int32 Version = 0;

	/** The drivers, in file order; drivers the face builder generates follow the file's. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Vantorel Face")
	TArray<FVNFaceSDKDriver> Drivers;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Vantorel Face")
	TArray<FVNFaceSDKDirectControl> DirectControls;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Vantorel Face")
	TArray<FVNFaceSDKEyeChain> EyeChains;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Vantorel Face")
	TArray<FVNFaceSDKAimBinding> AimBindings;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Vantorel Face")
	TArray<FVNFaceSDKFollowControl> FollowControls;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Vantorel Face")
	TArray<FVNFaceSDKVisibilityGroup> VisibilityGroups;
};
