#include "Rigs/RigHierarchyController.h"

#include "ReferenceSkeleton.h"

DEFINE_LOG_CATEGORY_STATIC(LogRigHierarchyController, Log, All);

FName URigHierarchyController::SafeNewName(const FName& InName, ERigElementType InType) const
{
	if (!Hierarchy->Contains(FRigElementKey(InName, InType)))
	{
		return InName;
	}
	const FString Base = InName.ToString();
	for (int32 Suffix = 1;; ++Suffix)
	{
		const FName Candidate(*FString::Printf(TEXT("%s_%d"), *Base, Suffix));
		if (!Hierarchy->Contains(FRigElementKey(Candidate, InType)))
		{
			return Candidate;
		}
	}
}

FRigElementKey URigHierarchyController::AddElement(FName InName, ERigElementType InType, FRigElementKey InParent, const FTransform& InTransform, bool bTransformInGlobal)
{
	if (!Hierarchy || InName.IsNone())
	{
		return FRigElementKey();
	}
	// A taken name is a suggestion: the element gets the first free "<Name>_<N>", as the engine's
	// safe new name gives it.
	const FRigElementKey Key(SafeNewName(InName, InType), InType);
	int32 ParentIndex = INDEX_NONE;
	if (InParent.IsValid())
	{
		ParentIndex = Hierarchy->GetIndex(InParent);
		if (ParentIndex == INDEX_NONE)
		{
			UE_LOG(LogRigHierarchyController, Error, TEXT("Cannot add %s: parent %s not found."), *Key.ToString(), *InParent.ToString());
			return FRigElementKey();
		}
	}
	URigHierarchy::FElement Element;
	Element.Key = Key;
	Element.ParentIndex = ParentIndex;
	Element.MakeRecord();
	const int32 Index = Hierarchy->Elements.Add(MoveTemp(Element));
	Hierarchy->Elements[Index].Record->Index = Index;
	Hierarchy->IndexLookup.Add(Key, Index);
	for (const bool bInitial : {true, false})
	{
		const FTransform Local = bTransformInGlobal ? InTransform.GetRelativeTransform(Hierarchy->ParentGlobal(Index, bInitial)) : InTransform;
		Hierarchy->Elements[Index].Local[URigHierarchy::PoseIndex(bInitial)] = Local;
	}
	return Key;
}

FRigElementKey URigHierarchyController::AddBone(FName InName, FRigElementKey InParent, FTransform InTransform, bool bTransformInGlobal, ERigBoneType InBoneType, bool bSetupUndo, bool bPrintPythonCommand)
{
	const FRigElementKey Key = AddElement(InName, ERigElementType::Bone, InParent, InTransform, bTransformInGlobal);
	if (Key.IsValid())
	{
		Hierarchy->Elements[Hierarchy->GetIndex(Key)].Bone()->BoneType = InBoneType;
	}
	return Key;
}

FRigElementKey URigHierarchyController::AddNull(FName InName, FRigElementKey InParent, FTransform InTransform, bool bTransformInGlobal, bool bSetupUndo, bool bPrintPythonCommand)
{
	return AddElement(InName, ERigElementType::Null, InParent, InTransform, bTransformInGlobal);
}

FRigElementKey URigHierarchyController::AddControl(FName InName, FRigElementKey InParent, FRigControlSettings InSettings, FRigControlValue InValue, FTransform InOffsetTransform, FTransform InShapeTransform, bool bSetupUndo, bool bPrintPythonCommand)
{
	const FRigElementKey Key = AddElement(InName, ERigElementType::Control, InParent, FTransform::Identity, false);
	if (!Key.IsValid())
	{
		return Key;
	}
	const int32 Index = Hierarchy->GetIndex(Key);
	URigHierarchy::FElement& Element = Hierarchy->Elements[Index];
	if (InSettings.LimitEnabled.Num() != FRigControlSettings::NumLimitChannels(InSettings.ControlType))
	{
		InSettings.SetupLimitArrayForType();
	}
	Element.Settings() = InSettings;
	Element.PreferredOrder = InSettings.PreferredRotationOrder;
	const FRigControlValue Value = InValue.IsSet() ? InValue : InSettings.GetIdentityValue();
	for (const bool bInitial : {true, false})
	{
		const int32 Pose = URigHierarchy::PoseIndex(bInitial);
		Element.Offset[Pose] = InOffsetTransform;
		Element.Shape[Pose] = InShapeTransform;
	}
	for (const bool bInitial : {true, false})
	{
		Hierarchy->SetControlValueInternal(Index, Value, bInitial);
	}
	return Key;
}

FRigElementKey URigHierarchyController::AddAnimationChannel(FName InName, FRigElementKey InParentControl, FRigControlSettings InSettings, bool bSetupUndo, bool bPrintPythonCommand)
{
	if (!Hierarchy || InParentControl.Type != ERigElementType::Control || !Hierarchy->Contains(InParentControl))
	{
		UE_LOG(LogRigHierarchyController, Error, TEXT("Cannot add animation channel %s: parent %s is not a control."), *InName.ToString(), *InParentControl.ToString());
		return FRigElementKey();
	}
	InSettings.AnimationType = ERigControlAnimationType::AnimationChannel;
	InSettings.bGroupWithParentControl = true;
	return AddControl(InName, InParentControl, InSettings, InSettings.GetIdentityValue(), FTransform::Identity, FTransform::Identity, bSetupUndo, bPrintPythonCommand);
}

FRigControlSettings URigHierarchyController::GetControlSettings(FRigElementKey InKey) const
{
	const FRigControlElement* Control = Hierarchy ? Hierarchy->Find<FRigControlElement>(InKey) : nullptr;
	return Control ? Control->Settings : FRigControlSettings();
}

bool URigHierarchyController::SetControlSettings(FRigElementKey InKey, FRigControlSettings InSettings, bool bSetupUndo) const
{
	if (!Hierarchy || InKey.Type != ERigElementType::Control || !Hierarchy->Contains(InKey))
	{
		UE_LOG(LogRigHierarchyController, Error, TEXT("SetControlSettings: %s is not a control of the hierarchy."), *InKey.ToString());
		return false;
	}
	Hierarchy->SetControlSettings(InKey, InSettings, bSetupUndo);
	return true;
}

bool URigHierarchyController::RemoveElement(FRigElementKey InElement, bool bSetupUndo, bool bPrintPythonCommand)
{
	const int32 Index = Hierarchy ? Hierarchy->GetIndex(InElement) : INDEX_NONE;
	if (Index == INDEX_NONE)
	{
		UE_LOG(LogRigHierarchyController, Error, TEXT("RemoveElement: %s not found."), *InElement.ToString());
		return false;
	}
	const FRigElementKey NewParent = Hierarchy->GetFirstParent(InElement);
	for (const FRigElementKey& Child : Hierarchy->GetChildren(InElement, false))
	{
		SetParent(Child, NewParent, true);
	}
	Hierarchy->Elements.RemoveAt(Index);
	for (URigHierarchy::FElement& Element : Hierarchy->Elements)
	{
		if (Element.ParentIndex > Index)
		{
			--Element.ParentIndex;
		}
		if (FRigControlElement* Control = Element.Control())
		{
			Control->Settings.DrivenControls.Remove(InElement);
		}
	}
	Hierarchy->RebuildLookup();
	return true;
}

bool URigHierarchyController::SetParent(FRigElementKey InChild, FRigElementKey InParent, bool bMaintainGlobalTransform, bool bSetupUndo, bool bPrintPythonCommand)
{
	if (!Hierarchy)
	{
		return false;
	}
	const int32 Child = Hierarchy->GetIndex(InChild);
	const int32 Parent = InParent.IsValid() ? Hierarchy->GetIndex(InParent) : INDEX_NONE;
	if (Child == INDEX_NONE || (InParent.IsValid() && Parent == INDEX_NONE))
	{
		UE_LOG(LogRigHierarchyController, Error, TEXT("SetParent: %s or %s not found."), *InChild.ToString(), *InParent.ToString());
		return false;
	}
	// An element cannot move below itself or one of its descendants.
	for (int32 Ancestor = Parent; Ancestor != INDEX_NONE; Ancestor = Hierarchy->Elements[Ancestor].ParentIndex)
	{
		if (Ancestor == Child)
		{
			return false;
		}
	}
	const bool bIsControl = InChild.Type == ERigElementType::Control;
	FTransform Globals[2];
	for (const bool bInitial : {true, false})
	{
		// A control keeps its value; what stays in place is its offset.
		Globals[URigHierarchy::PoseIndex(bInitial)] = bIsControl ? Hierarchy->GetGlobalControlOffsetTransform(InChild, bInitial) : Hierarchy->GetGlobalTransform(InChild, bInitial);
	}
	Hierarchy->Elements[Child].ParentIndex = Parent;
	if (bMaintainGlobalTransform)
	{
		for (const bool bInitial : {true, false})
		{
			const int32 Pose = URigHierarchy::PoseIndex(bInitial);
			const FTransform Local = Globals[Pose].GetRelativeTransform(Hierarchy->ParentGlobal(Child, bInitial));
			URigHierarchy::FElement& Element = Hierarchy->Elements[Child];
			if (bIsControl)
			{
				Element.Offset[Pose] = Local;
				Element.Local[Pose] = Element.Value[Pose].GetAsTransform(Element.Settings().ControlType, Element.Settings().PrimaryAxis) * Local;
			}
			else
			{
				Element.Local[Pose] = Local;
			}
		}
	}
	return true;
}

FRigElementKey URigHierarchyController::RenameElement(FRigElementKey InElement, FName InName, bool bSetupUndo, bool bPrintPythonCommand, bool bClearSelection)
{
	const int32 Index = Hierarchy ? Hierarchy->GetIndex(InElement) : INDEX_NONE;
	if (Index == INDEX_NONE || InName.IsNone())
	{
		UE_LOG(LogRigHierarchyController, Error, TEXT("RenameElement: cannot rename %s to '%s'."), *InElement.ToString(), *InName.ToString());
		return FRigElementKey();
	}
	const FRigElementKey NewKey(InName, InElement.Type);
	const int32 Existing = Hierarchy->GetIndex(NewKey);
	if (Existing != INDEX_NONE && Existing != Index)
	{
		UE_LOG(LogRigHierarchyController, Error, TEXT("RenameElement: %s is taken."), *NewKey.ToString());
		return FRigElementKey();
	}
	for (URigHierarchy::FElement& Element : Hierarchy->Elements)
	{
		if (FRigControlElement* Control = Element.Control())
		{
			for (FRigElementKey& Driven : Control->Settings.DrivenControls)
			{
				if (Driven == InElement)
				{
					Driven = NewKey;
				}
			}
		}
	}
	Hierarchy->Elements[Index].Key = NewKey;
	Hierarchy->RebuildLookup();
	return NewKey;
}

FName URigHierarchyController::SetDisplayName(FRigElementKey InControl, FName InDisplayName, bool bRenameElement, bool bSetupUndo, bool bPrintPythonCommand)
{
	if (!Hierarchy || InControl.Type != ERigElementType::Control || !Hierarchy->Contains(InControl))
	{
		UE_LOG(LogRigHierarchyController, Error, TEXT("SetDisplayName: %s is not a control of the hierarchy."), *InControl.ToString());
		return NAME_None;
	}
	FRigElementKey Key = InControl;
	if (bRenameElement)
	{
		Key = RenameElement(InControl, InDisplayName, bSetupUndo);
		if (!Key.IsValid())
		{
			return NAME_None;
		}
	}
	Hierarchy->Elements[Hierarchy->GetIndex(Key)].Settings().DisplayName = InDisplayName;
	return InDisplayName;
}

TArray<FRigElementKey> URigHierarchyController::ImportBones(USkeleton* InSkeleton, FName InNameSpace, bool bReplaceExistingBones, bool bRemoveObsoleteBones, bool bSelectBones, bool bSetupUndo, bool bPrintPythonCommand)
{
	if (!InSkeleton)
	{
		UE_LOG(LogRigHierarchyController, Error, TEXT("ImportBones: no skeleton given."));
		return TArray<FRigElementKey>();
	}
	return ImportBones(InSkeleton->GetReferenceSkeleton(), InNameSpace, bReplaceExistingBones, bRemoveObsoleteBones, bSelectBones, bSetupUndo);
}

TArray<FRigElementKey> URigHierarchyController::ImportBones(const FReferenceSkeleton& InSkeleton, const FName& InNameSpace, bool bReplaceExistingBones, bool bRemoveObsoleteBones, bool bSelectBones, bool bSetupUndo)
{
	TArray<FRigElementKey> Keys;
	if (!Hierarchy)
	{
		return Keys;
	}
	const TArray<FMeshBoneInfo>& BoneInfos = InSkeleton.GetRefBoneInfo();
	const TArray<FTransform>& BonePose = InSkeleton.GetRefBonePose();
	auto KeyOf = [&InNameSpace](const FName& BoneName) {
		const FName Name = InNameSpace.IsNone() ? BoneName : FName(*FString::Printf(TEXT("%s_%s"), *InNameSpace.ToString(), *BoneName.ToString()));
		return FRigElementKey(Name, ERigElementType::Bone);
	};
	TArray<FTransform> Globals;
	for (int32 Bone = 0; Bone < BoneInfos.Num(); ++Bone)
	{
		const int32 ParentBone = BoneInfos[Bone].ParentIndex;
		// A reference skeleton lists parents before their children.
		const bool bHasParent = ParentBone != INDEX_NONE && ParentBone < Bone;
		const FTransform Local = BonePose.IsValidIndex(Bone) ? BonePose[Bone] : FTransform::Identity;
		Globals.Add(bHasParent ? Local * Globals[ParentBone] : Local);
		const FRigElementKey Key = KeyOf(BoneInfos[Bone].Name);
		const FRigElementKey ParentKey = bHasParent ? Keys[ParentBone] : FRigElementKey();
		const int32 Existing = Hierarchy->GetIndex(Key);
		if (Existing == INDEX_NONE)
		{
			Keys.Add(AddBone(Key.Name, ParentKey, Globals[Bone], true, ERigBoneType::Imported));
		}
		else
		{
			Keys.Add(Key);
			if (bReplaceExistingBones)
			{
				SetParent(Key, ParentKey, false);
				for (const bool bInitial : {true, false})
				{
					Hierarchy->SetGlobalTransform(Key, Globals[Bone], bInitial, true);
				}
				Hierarchy->Elements[Existing].Bone()->BoneType = ERigBoneType::Imported;
			}
		}
	}
	if (bRemoveObsoleteBones)
	{
		for (const FRigElementKey& Bone : Hierarchy->GetBoneKeys(false))
		{
			const int32 Index = Hierarchy->GetIndex(Bone);
			if (Hierarchy->Elements[Index].Bone()->BoneType == ERigBoneType::Imported && !Keys.Contains(Bone))
			{
				RemoveElement(Bone);
			}
		}
	}
	return Keys;
}
