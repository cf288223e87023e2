// USkeleton: the bone hierarchy that skeletal meshes and animations share.
#pragma once

#include "CoreMinimal.h"
#include "Containers/EnumAsByte.h"
#include "ReferenceSkeleton.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"

#include "Skeleton.generated.h"

/** Where a bone's translation comes from when an animation made for another skeleton plays. */
namespace EBoneTranslationRetargetingMode
{
	enum Type : int
	{
		/** From the animation data. */
		Animation,
		/** Fixed, from the skeleton's reference pose. */
		Skeleton,
		/** From the animation, its length scaled by the skeleton's proportions. */
		AnimationScaled,
		/** From the animation, with the difference from the retargeting pose added. */
		AnimationRelative,
		/** The delta orientation and scale from the reference pose. */
		OrientAndScale,
	};
}

/** A bone of the skeleton's bone tree: its retargeting settings, by the reference skeleton's index. */
struct FBoneNode
{
	TEnumAsByte<EBoneTranslationRetargetingMode::Type> TranslationRetargetingMode = EBoneTranslationRetargetingMode::Animation;
};

UCLASS(BlueprintType)
class ENGINE_API USkeleton : public UObject
{
	GENERATED_BODY()

public:
	/** The skeleton's bones with their parents and reference pose. */
	const FReferenceSkeleton& GetReferenceSkeleton() const { return ReferenceSkeleton; }
	FReferenceSkeleton& GetMutableReferenceSkeleton() { return ReferenceSkeleton; }

	/** A bone's translation retargeting mode; Animation for an index outside the bone tree or with bDisableRetargeting. */
	EBoneTranslationRetargetingMode::Type GetBoneTranslationRetargetingMode(const int32 BoneTreeIdx, bool bDisableRetargeting = false) const;
	/** Sets a bone's translation retargeting mode, and with bChildrenToo every bone below it. */
	void SetBoneTranslationRetargetingMode(const int32 BoneIndex, EBoneTranslationRetargetingMode::Type NewRetargetingMode, bool bChildrenToo = false);

	/** Writes the reference skeleton and the bone tree, which are not reflected properties here, as text lines. */
	virtual void ExportCustomProperties(FOutputDevice& Out, uint32 Indent) override;
	/** Reads what ExportCustomProperties wrote. */
	virtual void ImportCustomProperties(const TCHAR* SourceText, FFeedbackContext* Warn) override;

private:
	FReferenceSkeleton ReferenceSkeleton;
	/** One node per bone of the reference skeleton; bones past its end read as Animation. */
	TArray<FBoneNode> BoneTree;
};
