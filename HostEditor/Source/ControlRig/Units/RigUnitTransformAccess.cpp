#include "RigUnitTransformAccess.h"

#include "RigUnitRunContext.h"

namespace RigUnitTransformAccess
{
	FTransform ParentGlobal(const URigHierarchy& Hierarchy, const FRigElementKey& Key, bool bInitial)
	{
		const FRigElementKey Parent = Hierarchy.GetFirstParent(Key);
		return Parent.IsValid() ? Hierarchy.GetGlobalTransform(Parent, bInitial) : FTransform::Identity;
	}

	FTransform Get(const URigHierarchy& Hierarchy, const FRigElementKey& Key, ERigVMTransformSpace Space, bool bInitial)
	{
		if (Space == ERigVMTransformSpace::GlobalSpace)
		{
			return Hierarchy.GetGlobalTransform(Key, bInitial);
		}
		if (Key.Type == ERigElementType::Control)
		{
			return Hierarchy.GetGlobalTransform(Key, bInitial).GetRelativeTransform(Hierarchy.GetGlobalControlOffsetTransform(Key, bInitial));
		}
		return Hierarchy.GetLocalTransform(Key, bInitial);
	}

	void Set(URigHierarchy& Hierarchy, const FRigElementKey& Key, ERigVMTransformSpace Space, bool bInitial, const FTransform& Transform, bool bPropagateToChildren)
	{
		if (Space == ERigVMTransformSpace::GlobalSpace)
		{
			Hierarchy.SetGlobalTransform(Key, Transform, bInitial, bPropagateToChildren);
		}
		else if (Key.Type == ERigElementType::Control)
		{
			Hierarchy.SetGlobalTransform(Key, Transform * Hierarchy.GetGlobalControlOffsetTransform(Key, bInitial), bInitial, bPropagateToChildren);
		}
		else
		{
			Hierarchy.SetLocalTransform(Key, Transform, bInitial, bPropagateToChildren);
		}
	}

	FTransform Lerp(const FTransform& A, const FTransform& B, float T)
	{
		FTransform Result;
		Result.SetTranslation(FMath::Lerp(A.GetTranslation(), B.GetTranslation(), (double)T));
		Result.SetRotation(FQuat::Slerp(A.GetRotation(), B.GetRotation(), (double)T).GetNormalized());
		Result.SetScale3D(FMath::Lerp(A.GetScale3D(), B.GetScale3D(), (double)T));
		return Result;
	}

	void ReportMissingItem(const TCHAR* UnitName, const FRigElementKey& Key)
	{
		RigUnitRunContext::ReportWarning(FString::Printf(TEXT("%s: Item %s is not valid."), UnitName, *Key.ToString()));
	}
}
