// USkeleton: the bone hierarchy that skeletal meshes and animations share.
#pragma once

#include "CoreMinimal.h"
#include "ReferenceSkeleton.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"

#include "Skeleton.generated.h"

UCLASS(BlueprintType)
class ENGINE_API USkeleton : public UObject
{
	GENERATED_BODY()

public:
	/** The skeleton's bones with their parents and reference pose. */
	const FReferenceSkeleton& GetReferenceSkeleton() const { return ReferenceSkeleton; }
	FReferenceSkeleton& GetMutableReferenceSkeleton() { return ReferenceSkeleton; }

	/** Writes the reference skeleton, which is not a reflected property, as text lines. */
	virtual void ExportCustomProperties(FOutputDevice& Out, uint32 Indent) override;
	/** Reads the reference skeleton written by ExportCustomProperties. */
	virtual void ImportCustomProperties(const TCHAR* SourceText, FFeedbackContext* Warn) override;

private:
	FReferenceSkeleton ReferenceSkeleton;
};
