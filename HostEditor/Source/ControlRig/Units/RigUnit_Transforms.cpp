// The transform units: read, write and offset one element's transform.
#include "Units/Hierarchy/RigUnit_GetTransform.h"
#include "Units/Hierarchy/RigUnit_OffsetTransform.h"
#include "Units/Hierarchy/RigUnit_SetTransform.h"

#include "RigUnitRunContext.h"
#include "RigUnitTransformAccess.h"

namespace
{
	/** The event a rig's construction runs in: initial transforms written then become current ones too. */
	const FName ConstructionEvent(TEXT("Construction"));

	/**
	 * Writes Value as the transform of Item in Space, blended with the present one by Weight (nothing
	 * is written for a weight of about zero). An initial write to a control moves its offset there
	 * instead (unweighted); in the construction event the control's value then goes back to identity,
	 * and any other initial write is made current as well.
	 */
	void WriteTransform(URigHierarchy& Hierarchy, const FRigElementKey& Item, ERigVMTransformSpace Space, bool bInitial, const FTransform& Value, float Weight, bool bPropagateToChildren, const FName& EventName)
	{
		if (Weight < UE_SMALL_NUMBER)
		{
			return;
		}
		const bool bConstruction = EventName == ConstructionEvent;
		if (bInitial && Item.Type == ERigElementType::Control)
		{
			const FTransform OffsetLocal = Space == ERigVMTransformSpace::GlobalSpace
				? Value.GetRelativeTransform(RigUnitTransformAccess::ParentGlobal(Hierarchy, Item, true))
				: Value;
			Hierarchy.SetControlOffsetTransform(Item, OffsetLocal, true, bPropagateToChildren);
			if (bConstruction)
			{
				const FRigControlValue Identity = Hierarchy.Find<FRigControlElement>(Item)->Settings.GetIdentityValue();
				Hierarchy.SetControlValue(Item, Identity, ERigControlValueType::Initial);
				Hierarchy.SetControlValue(Item, Identity, ERigControlValueType::Current);
			}
			return;
		}
		FTransform Weighted = Value;
		if (Weight < 1.f - UE_SMALL_NUMBER)
		{
			const FTransform Previous = RigUnitTransformAccess::Get(Hierarchy, Item, Space, bInitial);
			Weighted = RigUnitTransformAccess::Lerp(Previous, Value, FMath::Clamp(Weight, 0.f, 1.f));
		}
		RigUnitTransformAccess::Set(Hierarchy, Item, Space, bInitial, Weighted, bPropagateToChildren);
		if (bInitial && bConstruction)
		{
			RigUnitTransformAccess::Set(Hierarchy, Item, Space, false, Weighted, bPropagateToChildren);
		}
	}
}

void FRigUnit_GetTransform::Execute()
{
	// For an element that is not there the output keeps what it holds (its identity default).
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
	WriteTransform(*Hierarchy, Item, Space, bInitial, Value, Weight, bPropagateToChildren, ExecuteContext.GetEventName());
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
	WriteTransform(*Hierarchy, Item, Space, bInitial, Transform, Weight, bPropagateToChildren, ExecuteContext.GetEventName());
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
	Transform.SetRotation(Value);
	WriteTransform(*Hierarchy, Item, Space, bInitial, Transform, Weight, bPropagateToChildren, ExecuteContext.GetEventName());
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
	FTransform Global = OffsetTransform * Hierarchy->GetGlobalTransform(Item, false);
	Global.NormalizeRotation();
	WriteTransform(*Hierarchy, Item, ERigVMTransformSpace::GlobalSpace, false, Global, Weight, bPropagateToChildren, ExecuteContext.GetEventName());
}
