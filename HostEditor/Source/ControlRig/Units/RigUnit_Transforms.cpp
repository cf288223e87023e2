// The transform units: read, write and offset one element's transform.
#include "Units/Hierarchy/RigUnit_GetTransform.h"
#include "Units/Hierarchy/RigUnit_OffsetTransform.h"
#include "Units/Hierarchy/RigUnit_SetTransform.h"

#include "RigUnitRunContext.h"
#include "RigUnitTransformAccess.h"

namespace
{
	/**
	 * Writes Value as the transform of Item in Space, blended with the present one by Weight. An
	 * initial write to a control moves its offset there and sets its value back to identity.
	 */
	void WriteTransform(URigHierarchy& Hierarchy, const FRigElementKey& Item, ERigVMTransformSpace Space, bool bInitial, const FTransform& Value, float Weight, bool bPropagateToChildren)
	{
		FTransform Weighted = Value;
		if (Weight < 1.f - UE_SMALL_NUMBER)
		{
			const FTransform Previous = RigUnitTransformAccess::Get(Hierarchy, Item, Space, bInitial);
			Weighted = RigUnitTransformAccess::Lerp(Previous, Value, FMath::Clamp(Weight, 0.f, 1.f));
		}
		if (bInitial && Item.Type == ERigElementType::Control)
		{
			const FTransform OffsetLocal = Space == ERigVMTransformSpace::GlobalSpace
				? Weighted.GetRelativeTransform(RigUnitTransformAccess::ParentGlobal(Hierarchy, Item, true))
				: Weighted;
			Hierarchy.SetControlOffsetTransform(Item, OffsetLocal, true, bPropagateToChildren);
			const FRigControlElement* Control = Hierarchy.Find<FRigControlElement>(Item);
			const FRigControlValue Identity = Control->Settings.GetIdentityValue();
			Hierarchy.SetControlValue(Item, Identity, ERigControlValueType::Initial);
			Hierarchy.SetControlValue(Item, Identity, ERigControlValueType::Current);
			return;
		}
		RigUnitTransformAccess::Set(Hierarchy, Item, Space, bInitial, Weighted, bPropagateToChildren);
	}
}

void FRigUnit_GetTransform::Execute()
{
	Transform = FTransform::Identity;
	URigHierarchy* Hierarchy = RigUnitRunContext::GetHierarchy();
	if (!Hierarchy)
	{
		return;
	}
	if (!Hierarchy->Contains(Item))
	{
		RigUnitTransformAccess::ReportMissingItem(TEXT("Get Transform"), Item);
		return;
	}
	Transform = RigUnitTransformAccess::Get(*Hierarchy, Item, Space, bInitial);
}

void FRigUnit_SetTransform::Execute()
{
	URigHierarchy* Hierarchy = ExecuteContext.Hierarchy;
	if (!Hierarchy)
	{
		return;
	}
	if (!Hierarchy->Contains(Item))
	{
		RigUnitTransformAccess::ReportMissingItem(TEXT("Set Transform"), Item);
		return;
	}
	WriteTransform(*Hierarchy, Item, Space, bInitial, Value, Weight, bPropagateToChildren);
}

void FRigUnit_SetTranslation::Execute()
{
	URigHierarchy* Hierarchy = ExecuteContext.Hierarchy;
	if (!Hierarchy)
	{
		return;
	}
	if (!Hierarchy->Contains(Item))
	{
		RigUnitTransformAccess::ReportMissingItem(TEXT("Set Translation"), Item);
		return;
	}
	FTransform Transform = RigUnitTransformAccess::Get(*Hierarchy, Item, Space, bInitial);
	Transform.SetTranslation(Value);
	WriteTransform(*Hierarchy, Item, Space, bInitial, Transform, Weight, bPropagateToChildren);
}

void FRigUnit_SetRotation::Execute()
{
	URigHierarchy* Hierarchy = ExecuteContext.Hierarchy;
	if (!Hierarchy)
	{
		return;
	}
	if (!Hierarchy->Contains(Item))
	{
		RigUnitTransformAccess::ReportMissingItem(TEXT("Set Rotation"), Item);
		return;
	}
	FTransform Transform = RigUnitTransformAccess::Get(*Hierarchy, Item, Space, bInitial);
	Transform.SetRotation(Value.GetNormalized());
	WriteTransform(*Hierarchy, Item, Space, bInitial, Transform, Weight, bPropagateToChildren);
}

void FRigUnit_OffsetTransformForItem::Execute()
{
	URigHierarchy* Hierarchy = ExecuteContext.Hierarchy;
	if (!Hierarchy)
	{
		return;
	}
	if (!Hierarchy->Contains(Item))
	{
		RigUnitTransformAccess::ReportMissingItem(TEXT("Offset Transform"), Item);
		return;
	}
	// The offset acts in the item's own space: it is applied before the item's global transform.
	const FTransform Previous = Hierarchy->GetGlobalTransform(Item, false);
	WriteTransform(*Hierarchy, Item, ERigVMTransformSpace::GlobalSpace, false, OffsetTransform * Previous, Weight, bPropagateToChildren);
}
