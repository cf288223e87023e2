// Animation blueprints.

#include "Animation/AnimBlueprint.h"

#include "Animation/AnimBlueprintGeneratedClass.h"
#include "Engine/SkeletalMesh.h"

void UAnimBlueprint::SetPreviewMesh(USkeletalMesh* PreviewMesh, bool bMarkAsDirty)
{
	if (bMarkAsDirty)
	{
		Modify();
	}
	PreviewSkeletalMesh = PreviewMesh;
}

USkeletalMesh* UAnimBlueprint::GetPreviewMesh(bool bFindIfNotSet)
{
	(void)bFindIfNotSet;
	return PreviewSkeletalMesh.LoadSynchronous();
}

UClass* UAnimBlueprint::GetBlueprintClass() const
{
	return UAnimBlueprintGeneratedClass::StaticClass();
}
