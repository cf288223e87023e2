#include "Rigs/RigHierarchyCache.h"

#include "Rigs/RigHierarchy.h"

FCachedRigElement::FCachedRigElement(const FRigElementKey& InKey, const URigHierarchy* InHierarchy, bool bForceStoreKey)
{
	Index = InHierarchy ? InHierarchy->GetIndex(InKey) : INDEX_NONE;
	if (Index != INDEX_NONE || bForceStoreKey)
	{
		Key = InKey;
	}
}
