// The item units: existence, children, animation channels and control visibility.
#include "Units/Execution/RigUnit_Collection.h"
#include "Units/Execution/RigUnit_Item.h"
#include "Units/Hierarchy/RigUnit_ControlChannel.h"
#include "Units/Hierarchy/RigUnit_SetControlVisibility.h"

#include "RigUnitRunContext.h"
#include "RigUnitTransformAccess.h"

namespace
{
	/**
	 * The animation channel named Channel below Control: the channel whose display name is Channel,
	 * else the one whose element name is; an empty key when there is none.
	 */
	FRigElementKey FindChannel(const URigHierarchy& Hierarchy, const FName& Control, const FName& Channel)
	{
		const FRigElementKey ControlKey(Control, ERigElementType::Control);
		if (!Hierarchy.Contains(ControlKey))
		{
			return FRigElementKey();
		}
		FRigElementKey ByName;
		for (const FRigElementKey& Child : Hierarchy.GetChildren(ControlKey))
		{
			const FRigControlElement* Element = Hierarchy.Find<FRigControlElement>(Child);
			if (!Element || Element->Settings.AnimationType != ERigControlAnimationType::AnimationChannel)
			{
				continue;
			}
			if (Element->Settings.DisplayName == Channel)
			{
				return Child;
			}
			if (Child.Name == Channel && !ByName.IsValid())
			{
				ByName = Child;
			}
		}
		return ByName;
	}

	/** Reads a channel's value, or reports it missing; false when it is missing. */
	bool ReadChannel(const TCHAR* UnitName, const FName& Control, const FName& Channel, bool bInitial, FRigControlValue& OutValue)
	{
		const URigHierarchy* Hierarchy = RigUnitRunContext::GetHierarchy();
		if (!Hierarchy)
		{
			return false;
		}
		const FRigElementKey Key = FindChannel(*Hierarchy, Control, Channel);
		if (!Key.IsValid())
		{
			RigUnitRunContext::ReportWarning(FString::Printf(TEXT("%s: Channel %s of control %s is not valid."), UnitName, *Channel.ToString(), *Control.ToString()));
			return false;
		}
		OutValue = Hierarchy->GetControlValue(Key, bInitial ? ERigControlValueType::Initial : ERigControlValueType::Current);
		return true;
	}
}

void FRigUnit_ItemExists::Execute()
{
	const URigHierarchy* Hierarchy = RigUnitRunContext::GetHierarchy();
	Exists = Hierarchy && Hierarchy->Contains(Item);
}

void FRigUnit_CollectionChildrenArray::Execute()
{
	Items.Reset();
	const URigHierarchy* Hierarchy = RigUnitRunContext::GetHierarchy();
	if (!Hierarchy || !Hierarchy->Contains(Parent))
	{
		return;
	}
	if (bIncludeParent && EnumHasAnyFlags(TypeToSearch, Parent.Type))
	{
		Items.Add(Parent);
	}
	// Breadth first: the direct children, then theirs, so that every parent comes before its children.
	TArray<FRigElementKey> Parents = {Parent};
	for (int32 Index = 0; Index < Parents.Num(); ++Index)
	{
		for (const FRigElementKey& Child : Hierarchy->GetChildren(Parents[Index]))
		{
			if (EnumHasAnyFlags(TypeToSearch, Child.Type))
			{
				Items.AddUnique(Child);
			}
			if (bRecursive)
			{
				Parents.AddUnique(Child);
			}
		}
	}
}

void FRigUnit_CollectionItems::Execute()
{
	TArray<FRigElementKey> Keys;
	for (const FRigElementKey& Item : Items)
	{
		if (bAllowDuplicates)
		{
			Keys.Add(Item);
		}
		else
		{
			Keys.AddUnique(Item);
		}
	}
	Collection = FRigElementKeyCollection(Keys);
}

void FRigUnit_CollectionLoop::Execute()
{
	// The executor runs the loop: it sets Item, Index, Count and Ratio for each pass of the body.
	Count = Collection.GetKeys().Num();
}

void FRigUnit_GetFloatAnimationChannel::Execute()
{
	FRigControlValue ChannelValue;
	Value = ReadChannel(TEXT("Get Float Channel"), Control, Channel, bInitial, ChannelValue) ? ChannelValue.Get<float>() : 0.f;
}

void FRigUnit_GetBoolAnimationChannel::Execute()
{
	FRigControlValue ChannelValue;
	Value = ReadChannel(TEXT("Get Bool Channel"), Control, Channel, bInitial, ChannelValue) ? ChannelValue.Get<bool>() : false;
}

void FRigUnit_SetControlVisibility::Execute()
{
	URigHierarchy* Hierarchy = ExecuteContext.Hierarchy;
	if (!Hierarchy)
	{
		return;
	}
	TArray<FRigElementKey> Controls;
	if (Item.IsValid())
	{
		if (!Hierarchy->Contains(Item) || Item.Type != ERigElementType::Control)
		{
			RigUnitTransformAccess::ReportMissingItem(TEXT("Set Control Visibility"), Item);
			return;
		}
		Controls.Add(Item);
	}
	else if (!Pattern.IsEmpty())
	{
		// Without an item, every control whose name holds the pattern.
		for (const FRigElementKey& Key : Hierarchy->GetControlKeys(false))
		{
			if (Key.Name.ToString().Contains(Pattern))
			{
				Controls.Add(Key);
			}
		}
	}
	for (const FRigElementKey& Key : Controls)
	{
		Hierarchy->SetControlVisibility(Key, bVisible);
	}
}
