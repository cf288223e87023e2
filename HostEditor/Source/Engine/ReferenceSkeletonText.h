// The text lines a reference skeleton is saved as: one "Bone" line per bone, parents first.
#pragma once

#include "CoreMinimal.h"
#include "ReferenceSkeleton.h"

class FFeedbackContext;
class FOutputDevice;

namespace ReferenceSkeletonText
{
	/** Writes one line per bone: its name, parent index and local reference pose. */
	void Export(const FReferenceSkeleton& RefSkeleton, FOutputDevice& Out);
	/**
	 * Reads the bone lines into OutRefSkeleton, replacing what it held. A malformed line, or a
	 * parent that does not come before its child, is reported to Warn and leaves the skeleton empty.
	 */
	void Import(const TCHAR* SourceText, FReferenceSkeleton& OutRefSkeleton, FFeedbackContext* Warn);
}
