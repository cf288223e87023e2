// UStaticMeshDescription: a mesh description with the attributes a static mesh needs.
#pragma once

#include "CoreMinimal.h"
#include "MeshDescriptionBase.h"
#include "UObject/ObjectMacros.h"

#include "StaticMeshDescription.generated.h"

UCLASS(BlueprintType)
class STATICMESHDESCRIPTION_API UStaticMeshDescription : public UMeshDescriptionBase
{
	GENERATED_BODY()

public:
	/** Names the material slot a polygon group's triangles are drawn with. */
	UFUNCTION(BlueprintCallable, Category = "MeshDescription")
	void SetPolygonGroupMaterialSlotName(FPolygonGroupID PolygonGroupID, const FName& SlotName);
};
