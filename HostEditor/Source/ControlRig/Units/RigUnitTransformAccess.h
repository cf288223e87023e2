// The transform reads and writes the hierarchy units share, in the units' terms: a local transform is
// relative to the parent, except for a control, whose local transform is its value relative to its
// offset (the control's parent space is its offset).
#pragma once

#include "CoreMinimal.h"
#include "RigVMFunctions/RigVMFunctionDefines.h"
#include "Rigs/RigHierarchy.h"

namespace RigUnitTransformAccess
{
	/** The transform of an existing element in Space, current or initial. */
	FTransform Get(const URigHierarchy& Hierarchy, const FRigElementKey& Key, ERigVMTransformSpace Space, bool bInitial);

	/** Sets the transform of an existing element in Space; children follow with bPropagateToChildren. */
	void Set(URigHierarchy& Hierarchy, const FRigElementKey& Key, ERigVMTransformSpace Space, bool bInitial, const FTransform& Transform, bool bPropagateToChildren);

	/** The global transform of an element's parent (identity for a root), current or initial. */
	FTransform ParentGlobal(const URigHierarchy& Hierarchy, const FRigElementKey& Key, bool bInitial);

	/** A's and B's blend at T: translation and scale linearly, rotation by the shortest arc, normalised. */
	FTransform Lerp(const FTransform& A, const FTransform& B, float T);

	/** Reports that a unit was given an element that is not in the hierarchy. */
	void ReportMissingItem(const TCHAR* UnitName, const FRigElementKey& Key);
}
