#include "Rigs/RigHierarchy.h"

#include "Rigs/RigHierarchyController.h"
#include "UObject/UObjectGlobals.h"

DEFINE_LOG_CATEGORY_STATIC(LogRigHierarchy, Log, All);

FTransform FRigControlValue::GetAsTransform(ERigControlType ControlType) const
{
	const FVector Vector = Storage.GetTranslation();
	switch (ControlType)
	{
	case ERigControlType::Position:
		return FTransform(Vector);
	case ERigControlType::Vector2D:
		return FTransform(FVector(Vector.X, Vector.Y, 0.0));
	case ERigControlType::Rotator:
		return FTransform(Storage.GetRotation());
	case ERigControlType::Scale:
		// A scale control keeps its scale in the vector components.
		return FTransform(FQuat::Identity, FVector::ZeroVector, Vector);
	case ERigControlType::TransformNoScale:
		return FTransform(Storage.GetRotation(), Vector);
	case ERigControlType::Transform:
	case ERigControlType::EulerTransform:
		return Storage;
	default:
		// Scalar controls do not move their shape.
		return FTransform::Identity;
	}
}

void FRigControlValue::SetFromTransform(const FTransform& Transform, ERigControlType ControlType)
{
	switch (ControlType)
	{
	case ERigControlType::Position:
		Storage = FTransform(Transform.GetTranslation());
		break;
	case ERigControlType::Vector2D:
		Storage = FTransform(FVector(Transform.GetTranslation().X, Transform.GetTranslation().Y, 0.0));
		break;
	case ERigControlType::Rotator:
		Storage = FTransform(Transform.GetRotation());
		break;
	case ERigControlType::Scale:
		Storage = FTransform(Transform.GetScale3D());
		break;
	case ERigControlType::TransformNoScale:
		Storage = FTransform(Transform.GetRotation(), Transform.GetTranslation());
		break;
	case ERigControlType::Transform:
	case ERigControlType::EulerTransform:
		Storage = Transform;
		break;
	default:
		// A scalar control's value is not a placement; moving it changes nothing.
		break;
	}
}

int32 URigHierarchy::GetIndex(const FRigElementKey& InKey) const
{
	const int32* Found = IndexLookup.Find(InKey);
	return Found ? *Found : INDEX_NONE;
}

int32 URigHierarchy::CheckedIndex(const FRigElementKey& InKey, const TCHAR* Operation) const
{
	const int32 Index = GetIndex(InKey);
	if (Index == INDEX_NONE)
	{
		UE_LOG(LogRigHierarchy, Warning, TEXT("%s: element %s not found."), Operation, *InKey.ToString());
	}
	return Index;
}

TArray<FRigElementKey> URigHierarchy::GetAllKeys(bool bTraverse, ERigElementType InElementType) const
{
	TArray<FRigElementKey> Keys;
	auto Matches = [InElementType](const FElement& Element) { return EnumHasAnyFlags(InElementType, Element.Key.Type); };
	if (!bTraverse)
	{
		for (const FElement& Element : Elements)
		{
			if (Matches(Element))
			{
				Keys.Add(Element.Key);
			}
		}
		return Keys;
	}
	// Depth first from the roots, parents before their children.
	TFunction<void(int32)> Visit = [&](int32 Parent) {
		for (int32 Index = 0; Index < Elements.Num(); ++Index)
		{
			if (Elements[Index].ParentIndex == Parent)
			{
				if (Matches(Elements[Index]))
				{
					Keys.Add(Elements[Index].Key);
				}
				Visit(Index);
			}
		}
	};
	Visit(INDEX_NONE);
	return Keys;
}

FRigElementKey URigHierarchy::GetFirstParent(const FRigElementKey& InKey) const
{
	const int32 Index = GetIndex(InKey);
	if (Index == INDEX_NONE || Elements[Index].ParentIndex == INDEX_NONE)
	{
		return FRigElementKey();
	}
	return Elements[Elements[Index].ParentIndex].Key;
}

TArray<FRigElementKey> URigHierarchy::GetParents(const FRigElementKey& InKey, bool bRecursive) const
{
	TArray<FRigElementKey> Parents;
	int32 Index = GetIndex(InKey);
	while (Index != INDEX_NONE && Elements[Index].ParentIndex != INDEX_NONE)
	{
		Index = Elements[Index].ParentIndex;
		Parents.Add(Elements[Index].Key);
		if (!bRecursive)
		{
			break;
		}
	}
	return Parents;
}

TArray<FRigElementKey> URigHierarchy::GetChildren(const FRigElementKey& InKey, bool bRecursive) const
{
	TArray<FRigElementKey> Children;
	const int32 Parent = GetIndex(InKey);
	if (Parent == INDEX_NONE)
	{
		return Children;
	}
	for (int32 Index = 0; Index < Elements.Num(); ++Index)
	{
		if (Elements[Index].ParentIndex == Parent)
		{
			Children.Add(Elements[Index].Key);
			if (bRecursive)
			{
				Children.Append(GetChildren(Elements[Index].Key, true));
			}
		}
	}
	return Children;
}

FTransform URigHierarchy::ParentGlobal(int32 Index, bool bInitial) const
{
	const int32 Parent = Elements[Index].ParentIndex;
	if (Parent == INDEX_NONE)
	{
		return FTransform::Identity;
	}
	return GetGlobalTransform(Elements[Parent].Key, bInitial);
}

FTransform URigHierarchy::GetLocalTransform(const FRigElementKey& InKey, bool bInitial) const
{
	const int32 Index = CheckedIndex(InKey, TEXT("GetLocalTransform"));
	return Index == INDEX_NONE ? FTransform::Identity : Elements[Index].Local[PoseIndex(bInitial)];
}

FTransform URigHierarchy::GetGlobalTransform(const FRigElementKey& InKey, bool bInitial) const
{
	const int32 Index = CheckedIndex(InKey, TEXT("GetGlobalTransform"));
	if (Index == INDEX_NONE)
	{
		return FTransform::Identity;
	}
	return Elements[Index].Local[PoseIndex(bInitial)] * ParentGlobal(Index, bInitial);
}

TArray<TPair<int32, FTransform>> URigHierarchy::CaptureChildren(int32 Index, bool bInitial) const
{
	TArray<TPair<int32, FTransform>> Captured;
	for (int32 Child = 0; Child < Elements.Num(); ++Child)
	{
		if (Elements[Child].ParentIndex == Index)
		{
			Captured.Add(TPair<int32, FTransform>(Child, GetGlobalTransform(Elements[Child].Key, bInitial)));
		}
	}
	return Captured;
}

void URigHierarchy::RestoreChildren(const TArray<TPair<int32, FTransform>>& Captured, bool bInitial)
{
	for (const TPair<int32, FTransform>& Child : Captured)
	{
		SetLocalInternal(Child.Key, Child.Value.GetRelativeTransform(ParentGlobal(Child.Key, bInitial)), bInitial);
	}
}

void URigHierarchy::SetLocalInternal(int32 Index, const FTransform& Local, bool bInitial)
{
	FElement& Element = Elements[Index];
	const int32 Pose = PoseIndex(bInitial);
	if (Element.Key.Type == ERigElementType::Control)
	{
		// A control's local transform is its value on top of its offset; the offset stays.
		const ERigControlValueType ValueType = bInitial ? ERigControlValueType::Initial : ERigControlValueType::Current;
		Element.Value[(int32)ValueType].SetFromTransform(Local.GetRelativeTransform(Element.Offset[Pose]), Element.Settings.ControlType);
		Element.Local[Pose] = Element.Value[(int32)ValueType].GetAsTransform(Element.Settings.ControlType) * Element.Offset[Pose];
	}
	else
	{
		Element.Local[Pose] = Local;
	}
}

void URigHierarchy::SetLocalTransform(const FRigElementKey& InKey, const FTransform& InTransform, bool bInitial, bool bAffectChildren, bool bSetupUndo, bool bPrintPythonCommands)
{
	const int32 Index = CheckedIndex(InKey, TEXT("SetLocalTransform"));
	if (Index == INDEX_NONE)
	{
		return;
	}
	const TArray<TPair<int32, FTransform>> Children = bAffectChildren ? TArray<TPair<int32, FTransform>>() : CaptureChildren(Index, bInitial);
	SetLocalInternal(Index, InTransform, bInitial);
	RestoreChildren(Children, bInitial);
}

void URigHierarchy::SetGlobalTransform(const FRigElementKey& InKey, const FTransform& InTransform, bool bInitial, bool bAffectChildren, bool bSetupUndo, bool bPrintPythonCommands)
{
	const int32 Index = CheckedIndex(InKey, TEXT("SetGlobalTransform"));
	if (Index == INDEX_NONE)
	{
		return;
	}
	SetLocalTransform(InKey, InTransform.GetRelativeTransform(ParentGlobal(Index, bInitial)), bInitial, bAffectChildren);
}

FTransform URigHierarchy::GetControlOffsetTransform(const FRigElementKey& InKey, ERigTransformType::Type InTransformType) const
{
	const int32 Index = CheckedIndex(InKey, TEXT("GetControlOffsetTransform"));
	if (Index == INDEX_NONE)
	{
		return FTransform::Identity;
	}
	const bool bInitial = ERigTransformType::IsInitial(InTransformType);
	const FTransform& Offset = Elements[Index].Offset[PoseIndex(bInitial)];
	return ERigTransformType::IsLocal(InTransformType) ? Offset : Offset * ParentGlobal(Index, bInitial);
}

void URigHierarchy::SetControlOffsetTransform(const FRigElementKey& InKey, const FTransform& InTransform, bool bInitial, bool bAffectChildren, bool bSetupUndo, bool bPrintPythonCommands)
{
	const int32 Index = CheckedIndex(InKey, TEXT("SetControlOffsetTransform"));
	if (Index == INDEX_NONE || Elements[Index].Key.Type != ERigElementType::Control)
	{
		return;
	}
	const TArray<TPair<int32, FTransform>> Children = bAffectChildren ? TArray<TPair<int32, FTransform>>() : CaptureChildren(Index, bInitial);
	FElement& Element = Elements[Index];
	const int32 Pose = PoseIndex(bInitial);
	const ERigControlValueType ValueType = bInitial ? ERigControlValueType::Initial : ERigControlValueType::Current;
	Element.Offset[Pose] = InTransform;
	Element.Local[Pose] = Element.Value[(int32)ValueType].GetAsTransform(Element.Settings.ControlType) * InTransform;
	RestoreChildren(Children, bInitial);
}

FRigControlValue URigHierarchy::GetControlValue(const FRigElementKey& InKey, ERigControlValueType InValueType) const
{
	const int32 Index = CheckedIndex(InKey, TEXT("GetControlValue"));
	return Index == INDEX_NONE ? FRigControlValue() : Elements[Index].Value[(int32)InValueType];
}

void URigHierarchy::SetControlValue(const FRigElementKey& InKey, const FRigControlValue& InValue, ERigControlValueType InValueType, bool bSetupUndo, bool bPrintPythonCommands)
{
	const int32 Index = CheckedIndex(InKey, TEXT("SetControlValue"));
	if (Index == INDEX_NONE || Elements[Index].Key.Type != ERigElementType::Control)
	{
		return;
	}
	FElement& Element = Elements[Index];
	Element.Value[(int32)InValueType] = InValue;
	if (InValueType == ERigControlValueType::Initial || InValueType == ERigControlValueType::Current)
	{
		const int32 Pose = PoseIndex(InValueType == ERigControlValueType::Initial);
		Element.Local[Pose] = InValue.GetAsTransform(Element.Settings.ControlType) * Element.Offset[Pose];
	}
}

FRigControlSettings URigHierarchy::GetControlSettings(const FRigElementKey& InKey) const
{
	const int32 Index = CheckedIndex(InKey, TEXT("GetControlSettings"));
	return Index == INDEX_NONE ? FRigControlSettings() : Elements[Index].Settings;
}

void URigHierarchy::SetControlSettings(const FRigElementKey& InKey, const FRigControlSettings& InSettings, bool bSetupUndo)
{
	const int32 Index = CheckedIndex(InKey, TEXT("SetControlSettings"));
	if (Index != INDEX_NONE && Elements[Index].Key.Type == ERigElementType::Control)
	{
		Elements[Index].Settings = InSettings;
	}
}

void URigHierarchy::SetControlVisibility(const FRigElementKey& InKey, bool bVisibility)
{
	const int32 Index = CheckedIndex(InKey, TEXT("SetControlVisibility"));
	if (Index != INDEX_NONE && Elements[Index].Key.Type == ERigElementType::Control)
	{
		Elements[Index].Settings.bShapeVisible = bVisibility;
	}
}

void URigHierarchy::ResetPoseToInitial(ERigElementType InTypeFilter)
{
	for (FElement& Element : Elements)
	{
		if (EnumHasAnyFlags(InTypeFilter, Element.Key.Type))
		{
			Element.Local[1] = Element.Local[0];
			Element.Offset[1] = Element.Offset[0];
			Element.Value[(int32)ERigControlValueType::Current] = Element.Value[(int32)ERigControlValueType::Initial];
		}
	}
}

URigHierarchyController* URigHierarchy::GetController(bool bCreateIfNeeded)
{
	if (!Controller && bCreateIfNeeded)
	{
		Controller = NewObject<URigHierarchyController>(this, TEXT("HierarchyController"));
		Controller->SetHierarchy(this);
	}
	return Controller;
}

FRigElementKey URigHierarchyController::AddElement(FName InName, ERigElementType InType, FRigElementKey InParent, const FTransform& InTransform, bool bTransformInGlobal)
{
	if (!Hierarchy || InName.IsNone())
	{
		return FRigElementKey();
	}
	const FRigElementKey Key(InName, InType);
	if (Hierarchy->Contains(Key))
	{
		UE_LOG(LogRigHierarchy, Error, TEXT("Cannot add %s: the name is taken."), *Key.ToString());
		return FRigElementKey();
	}
	int32 ParentIndex = INDEX_NONE;
	if (InParent.IsValid())
	{
		ParentIndex = Hierarchy->GetIndex(InParent);
		if (ParentIndex == INDEX_NONE)
		{
			UE_LOG(LogRigHierarchy, Error, TEXT("Cannot add %s: parent %s not found."), *Key.ToString(), *InParent.ToString());
			return FRigElementKey();
		}
	}
	URigHierarchy::FElement Element;
	Element.Key = Key;
	Element.ParentIndex = ParentIndex;
	const int32 Index = Hierarchy->Elements.Add(Element);
	Hierarchy->IndexLookup.Add(Key, Index);
	for (bool bInitial : {true, false})
	{
		const FTransform Local = bTransformInGlobal ? InTransform.GetRelativeTransform(Hierarchy->ParentGlobal(Index, bInitial)) : InTransform;
		Hierarchy->Elements[Index].Local[URigHierarchy::PoseIndex(bInitial)] = Local;
	}
	return Key;
}

FRigElementKey URigHierarchyController::AddBone(FName InName, FRigElementKey InParent, FTransform InTransform, bool bTransformInGlobal, ERigBoneType InBoneType, bool bSetupUndo, bool bPrintPythonCommand)
{
	return AddElement(InName, ERigElementType::Bone, InParent, InTransform, bTransformInGlobal);
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
	URigHierarchy::FElement& Element = Hierarchy->Elements[Hierarchy->GetIndex(Key)];
	Element.Settings = InSettings;
	for (int32 ValueType = 0; ValueType < 2; ++ValueType)
	{
		Element.Value[ValueType] = InValue;
	}
	for (int32 Pose = 0; Pose < 2; ++Pose)
	{
		Element.Offset[Pose] = InOffsetTransform;
		Element.Local[Pose] = InValue.GetAsTransform(InSettings.ControlType) * InOffsetTransform;
	}
	return Key;
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
	FTransform Globals[2];
	for (bool bInitial : {true, false})
	{
		Globals[URigHierarchy::PoseIndex(bInitial)] = Hierarchy->GetGlobalTransform(InChild, bInitial);
	}
	Hierarchy->Elements[Child].ParentIndex = Parent;
	if (bMaintainGlobalTransform)
	{
		for (bool bInitial : {true, false})
		{
			Hierarchy->SetGlobalTransform(InChild, Globals[URigHierarchy::PoseIndex(bInitial)], bInitial, true);
		}
	}
	return true;
}
