#include "Rigs/RigHierarchy.h"

#include "AnimationCoreLibrary.h"
#include "Rigs/RigHierarchyController.h"
#include "UObject/UObjectGlobals.h"

DEFINE_LOG_CATEGORY_STATIC(LogRigHierarchy, Log, All);

namespace
{
	/** Winds Angle by whole turns to lie within half a turn of Reference. */
	double WindToward(double Angle, double Reference)
	{
		return Angle + FMath::RoundToDouble((Reference - Angle) / 360.0) * 360.0;
	}

	FVector ConvertEulerAngles(const FVector& Angles, EEulerRotationOrder From, EEulerRotationOrder To)
	{
		if (From == To)
		{
			return Angles;
		}
		return AnimationCore::EulerFromQuat(AnimationCore::QuatFromEuler(Angles, From), To);
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

int32 URigHierarchy::CheckedControlIndex(const FRigElementKey& InKey, const TCHAR* Operation) const
{
	const int32 Index = CheckedIndex(InKey, Operation);
	if (Index != INDEX_NONE && Elements[Index].Key.Type != ERigElementType::Control)
	{
		UE_LOG(LogRigHierarchy, Warning, TEXT("%s: element %s is not a control."), Operation, *InKey.ToString());
		return INDEX_NONE;
	}
	return Index;
}

URigHierarchy::FElement::FElement(const FElement& Other)
{
	*this = Other;
}

URigHierarchy::FElement& URigHierarchy::FElement::operator=(const FElement& Other)
{
	if (this == &Other)
	{
		return *this;
	}
	Key = Other.Key;
	ParentIndex = Other.ParentIndex;
	for (int32 Pose = 0; Pose < 2; ++Pose)
	{
		Local[Pose] = Other.Local[Pose];
		Offset[Pose] = Other.Offset[Pose];
		Shape[Pose] = Other.Shape[Pose];
		Value[Pose] = Other.Value[Pose];
		PreferredAngles[Pose] = Other.PreferredAngles[Pose];
	}
	PreferredOrder = Other.PreferredOrder;
	// A copy owns a record of its own, so that two hierarchies never share an element.
	MakeRecord(Other.SettingsOrDefault());
	if (Bone() && Other.Bone())
	{
		Bone()->BoneType = Other.Bone()->BoneType;
	}
	if (Record && Other.Record)
	{
		Record->Index = Other.Record->Index;
	}
	return *this;
}

void URigHierarchy::FElement::MakeRecord(const FRigControlSettings& InSettings)
{
	switch (Key.Type)
	{
	case ERigElementType::Bone:
		Record = MakeShared<FRigBoneElement>();
		break;
	case ERigElementType::Control:
	{
		TSharedPtr<FRigControlElement> ControlRecord = MakeShared<FRigControlElement>();
		ControlRecord->Settings = InSettings;
		Record = ControlRecord;
		break;
	}
	default:
		Record = MakeShared<FRigNullElement>();
		break;
	}
	Record->Key = Key;
}

FRigControlElement* URigHierarchy::FElement::Control() const
{
	return Key.Type == ERigElementType::Control ? static_cast<FRigControlElement*>(Record.Get()) : nullptr;
}

FRigBoneElement* URigHierarchy::FElement::Bone() const
{
	return Key.Type == ERigElementType::Bone ? static_cast<FRigBoneElement*>(Record.Get()) : nullptr;
}

const FRigControlSettings& URigHierarchy::FElement::SettingsOrDefault() const
{
	static const FRigControlSettings DefaultSettings;
	const FRigControlElement* ControlRecord = Control();
	return ControlRecord ? ControlRecord->Settings : DefaultSettings;
}

void URigHierarchy::RebuildLookup()
{
	IndexLookup.Reset();
	for (int32 Index = 0; Index < Elements.Num(); ++Index)
	{
		FElement& Element = Elements[Index];
		IndexLookup.Add(Element.Key, Index);
		if (!Element.Record || Element.Record->Key.Type != Element.Key.Type)
		{
			Element.MakeRecord();
		}
		Element.Record->Key = Element.Key;
		Element.Record->Index = Index;
	}
}

FRigControlElement* URigHierarchy::FindControlElement(const FRigElementKey& InKey)
{
	const int32 Index = GetIndex(InKey);
	return Index == INDEX_NONE ? nullptr : Elements[Index].Control();
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

FRigElementKey URigHierarchy::GetFirstParent(FRigElementKey InKey) const
{
	const int32 Index = GetIndex(InKey);
	if (Index == INDEX_NONE || Elements[Index].ParentIndex == INDEX_NONE)
	{
		return FRigElementKey();
	}
	return Elements[Elements[Index].ParentIndex].Key;
}

TArray<FRigElementKey> URigHierarchy::GetParents(FRigElementKey InKey, bool bRecursive) const
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

TArray<FRigElementKey> URigHierarchy::GetChildren(FRigElementKey InKey, bool bRecursive) const
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

FTransform URigHierarchy::GlobalOf(int32 Index, bool bInitial) const
{
	FTransform Global = Elements[Index].Local[PoseIndex(bInitial)] * ParentGlobal(Index, bInitial);
	// A product of unit rotations drifts off unit length by rounding, and a local taken back against a
	// drifted parent (whose inverse is its conjugate) doubles the drift: down a chain of some fifty
	// levels it would grow to a visible error. Globals stay unit; within rounding they are left alone.
	if (FMath::Abs(1.0 - Global.GetRotation().SizeSquared()) > 1e-12)
	{
		Global.NormalizeRotation();
	}
	return Global;
}

FTransform URigHierarchy::ParentGlobal(int32 Index, bool bInitial) const
{
	const int32 Parent = Elements[Index].ParentIndex;
	return Parent == INDEX_NONE ? FTransform::Identity : GlobalOf(Parent, bInitial);
}

FTransform URigHierarchy::GetLocalTransform(FRigElementKey InKey, bool bInitial) const
{
	const int32 Index = CheckedIndex(InKey, TEXT("GetLocalTransform"));
	return Index == INDEX_NONE ? FTransform::Identity : Elements[Index].Local[PoseIndex(bInitial)];
}

FTransform URigHierarchy::GetGlobalTransform(FRigElementKey InKey, bool bInitial) const
{
	const int32 Index = CheckedIndex(InKey, TEXT("GetGlobalTransform"));
	return Index == INDEX_NONE ? FTransform::Identity : GlobalOf(Index, bInitial);
}

TArray<TPair<int32, FTransform>> URigHierarchy::CaptureChildren(int32 Index, bool bInitial) const
{
	TArray<TPair<int32, FTransform>> Captured;
	for (int32 Child = 0; Child < Elements.Num(); ++Child)
	{
		if (Elements[Child].ParentIndex == Index)
		{
			Captured.Add(TPair<int32, FTransform>(Child, GlobalOf(Child, bInitial)));
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
		FRigControlValue Value = Element.Value[Pose];
		Value.SetFromTransform(Local.GetRelativeTransform(Element.Offset[Pose]), Element.Settings().ControlType, Element.Settings().PrimaryAxis);
		SetControlValueInternal(Index, Value, bInitial);
	}
	else
	{
		Element.Local[Pose] = Local;
	}
}

void URigHierarchy::SetControlValueInternal(int32 Index, const FRigControlValue& InValue, bool bInitial)
{
	FElement& Element = Elements[Index];
	const int32 Pose = PoseIndex(bInitial);
	FRigControlValue Value = InValue;
	Element.Settings().ApplyLimits(Value);
	Element.Value[Pose] = Value;
	Element.Local[Pose] = Value.GetAsTransform(Element.Settings().ControlType, Element.Settings().PrimaryAxis) * Element.Offset[Pose];
	UpdatePreferredAngles(Index, bInitial);
}

void URigHierarchy::UpdatePreferredAngles(int32 Index, bool bInitial)
{
	FElement& Element = Elements[Index];
	const int32 Pose = PoseIndex(bInitial);
	const ERigControlType Type = Element.Settings().ControlType;
	FVector Angles;
	if ((Type == ERigControlType::Rotator || Type == ERigControlType::EulerTransform) && Element.PreferredOrder == EEulerRotationOrder::XYZ)
	{
		// These values keep a rotator's angles, which are the XYZ angles: taken as they are, they
		// keep their winding beyond half a turn.
		const FRotator Rotator = Type == ERigControlType::Rotator
			? FRotator::MakeFromEuler(FVector(Element.Value[Pose].Get<FVector3f>()))
			: Element.Value[Pose].Get<FRigControlValue::FEulerTransform_Float>().GetRotator();
		Element.PreferredAngles[Pose] = Rotator.Euler();
		return;
	}
	if (Type == ERigControlType::Rotator || Type == ERigControlType::EulerTransform || Type == ERigControlType::Transform || Type == ERigControlType::TransformNoScale)
	{
		// Converted angles lie within half a turn; wind them toward the previous ones.
		Angles = AnimationCore::EulerFromQuat(Element.Value[Pose].GetAsTransform(Type, Element.Settings().PrimaryAxis).GetRotation(), Element.PreferredOrder);
		for (int32 Axis = 0; Axis < 3; ++Axis)
		{
			Angles[Axis] = WindToward(Angles[Axis], Element.PreferredAngles[Pose][Axis]);
		}
		Element.PreferredAngles[Pose] = Angles;
	}
}

void URigHierarchy::SetLocalTransform(FRigElementKey InKey, FTransform InTransform, bool bInitial, bool bAffectChildren, bool bSetupUndo, bool bPrintPythonCommands)
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

void URigHierarchy::SetGlobalTransform(FRigElementKey InKey, FTransform InTransform, bool bInitial, bool bAffectChildren, bool bSetupUndo, bool bPrintPythonCommand)
{
	const int32 Index = CheckedIndex(InKey, TEXT("SetGlobalTransform"));
	if (Index == INDEX_NONE)
	{
		return;
	}
	SetLocalTransform(InKey, InTransform.GetRelativeTransform(ParentGlobal(Index, bInitial)), bInitial, bAffectChildren);
}

FTransform URigHierarchy::GetControlOffsetTransform(FRigControlElement* InControlElement, const ERigTransformType::Type InTransformType) const
{
	const int32 Index = InControlElement ? InControlElement->GetIndex() : INDEX_NONE;
	if (!Elements.IsValidIndex(Index) || Elements[Index].Record.Get() != InControlElement)
	{
		UE_LOG(LogRigHierarchy, Warning, TEXT("GetControlOffsetTransform: the control element is not one of this hierarchy's."));
		return FTransform::Identity;
	}
	const bool bInitial = ERigTransformType::IsInitial(InTransformType);
	const FTransform& Offset = Elements[Index].Offset[PoseIndex(bInitial)];
	return ERigTransformType::IsLocal(InTransformType) ? Offset : Offset * ParentGlobal(Index, bInitial);
}

FTransform URigHierarchy::GetGlobalControlOffsetTransform(FRigElementKey InKey, bool bInitial) const
{
	const int32 Index = CheckedControlIndex(InKey, TEXT("GetGlobalControlOffsetTransform"));
	return Index == INDEX_NONE ? FTransform::Identity : GetControlOffsetTransform(Elements[Index].Control(), bInitial ? ERigTransformType::InitialGlobal : ERigTransformType::CurrentGlobal);
}

void URigHierarchy::SetControlOffsetTransform(FRigElementKey InKey, FTransform InTransform, bool bInitial, bool bAffectChildren, bool bSetupUndo, bool bPrintPythonCommands)
{
	const int32 Index = CheckedControlIndex(InKey, TEXT("SetControlOffsetTransform"));
	if (Index == INDEX_NONE)
	{
		return;
	}
	// The initial offset is the current one too: both poses share the control's offset.
	auto SetPose = [this, Index, &InTransform, bAffectChildren](bool bPose) {
		const TArray<TPair<int32, FTransform>> Children = bAffectChildren ? TArray<TPair<int32, FTransform>>() : CaptureChildren(Index, bPose);
		FElement& Element = Elements[Index];
		const int32 Pose = PoseIndex(bPose);
		Element.Offset[Pose] = InTransform;
		Element.Local[Pose] = Element.Value[Pose].GetAsTransform(Element.Settings().ControlType, Element.Settings().PrimaryAxis) * InTransform;
		RestoreChildren(Children, bPose);
	};
	if (bInitial)
	{
		SetPose(true);
	}
	SetPose(false);
}

void URigHierarchy::SetControlShapeTransform(FRigElementKey InKey, FTransform InTransform, bool bInitial, bool bSetupUndo)
{
	const int32 Index = CheckedControlIndex(InKey, TEXT("SetControlShapeTransform"));
	if (Index == INDEX_NONE)
	{
		return;
	}
	Elements[Index].Shape[PoseIndex(false)] = InTransform;
	if (bInitial)
	{
		Elements[Index].Shape[PoseIndex(true)] = InTransform;
	}
}

FTransform URigHierarchy::GetGlobalControlShapeTransform(FRigElementKey InKey, bool bInitial) const
{
	const int32 Index = CheckedControlIndex(InKey, TEXT("GetGlobalControlShapeTransform"));
	return Index == INDEX_NONE ? FTransform::Identity : Elements[Index].Shape[PoseIndex(bInitial)] * GlobalOf(Index, bInitial);
}

FTransform URigHierarchy::GetLocalControlShapeTransform(FRigElementKey InKey, bool bInitial) const
{
	const int32 Index = CheckedControlIndex(InKey, TEXT("GetLocalControlShapeTransform"));
	return Index == INDEX_NONE ? FTransform::Identity : Elements[Index].Shape[PoseIndex(bInitial)];
}

FRigControlValue URigHierarchy::GetControlValue(FRigElementKey InKey, ERigControlValueType InValueType) const
{
	const int32 Index = CheckedControlIndex(InKey, TEXT("GetControlValue"));
	if (Index == INDEX_NONE)
	{
		return FRigControlValue();
	}
	const FElement& Element = Elements[Index];
	switch (InValueType)
	{
	case ERigControlValueType::Initial:
		return Element.Value[PoseIndex(true)];
	case ERigControlValueType::Minimum:
		return Element.Settings().MinimumValue;
	case ERigControlValueType::Maximum:
		return Element.Settings().MaximumValue;
	default:
		return Element.Value[PoseIndex(false)];
	}
}

void URigHierarchy::SetControlValue(FRigElementKey InKey, FRigControlValue InValue, ERigControlValueType InValueType, bool bSetupUndo, bool bPrintPythonCommands)
{
	const int32 Index = CheckedControlIndex(InKey, TEXT("SetControlValue"));
	if (Index == INDEX_NONE)
	{
		return;
	}
	switch (InValueType)
	{
	case ERigControlValueType::Minimum:
		Elements[Index].Settings().MinimumValue = InValue;
		break;
	case ERigControlValueType::Maximum:
		Elements[Index].Settings().MaximumValue = InValue;
		break;
	default:
		SetControlValueInternal(Index, InValue, InValueType == ERigControlValueType::Initial);
		break;
	}
}

void URigHierarchy::SetControlSettings(FRigElementKey InKey, FRigControlSettings InSettings, bool bSetupUndo, bool bForce, bool bPrintPythonCommands)
{
	const int32 Index = CheckedControlIndex(InKey, TEXT("SetControlSettings"));
	if (Index == INDEX_NONE)
	{
		return;
	}
	FElement& Element = Elements[Index];
	if (InSettings.LimitEnabled.Num() != FRigControlSettings::NumLimitChannels(InSettings.ControlType))
	{
		InSettings.SetupLimitArrayForType();
	}
	for (int32 Pose = 0; Pose < 2; ++Pose)
	{
		Element.PreferredAngles[Pose] = ConvertEulerAngles(Element.PreferredAngles[Pose], Element.PreferredOrder, InSettings.PreferredRotationOrder);
	}
	Element.PreferredOrder = InSettings.PreferredRotationOrder;
	Element.Settings() = InSettings;
	// The values stay; the new type reads them, and the new limits apply.
	for (const bool bInitial : {true, false})
	{
		SetControlValueInternal(Index, Element.Value[PoseIndex(bInitial)], bInitial);
	}
}

void URigHierarchy::SetControlVisibility(FRigElementKey InKey, bool bVisibility)
{
	const int32 Index = CheckedControlIndex(InKey, TEXT("SetControlVisibility"));
	if (Index != INDEX_NONE)
	{
		Elements[Index].Settings().SetVisible(bVisibility);
	}
}

void URigHierarchy::SetControlPreferredEulerAngles(FRigElementKey InKey, const FVector& InEulerAngles, EEulerRotationOrder InRotationOrder, bool bInitial, bool bFixEulerFlips)
{
	const int32 Index = CheckedControlIndex(InKey, TEXT("SetControlPreferredEulerAngles"));
	if (Index == INDEX_NONE)
	{
		return;
	}
	FElement& Element = Elements[Index];
	const int32 Pose = PoseIndex(bInitial);
	FVector Angles = ConvertEulerAngles(InEulerAngles, InRotationOrder, Element.PreferredOrder);
	if (bFixEulerFlips)
	{
		for (int32 Axis = 0; Axis < 3; ++Axis)
		{
			Angles[Axis] = WindToward(Angles[Axis], Element.PreferredAngles[Pose][Axis]);
		}
	}
	Element.PreferredAngles[Pose] = Angles;
}

FVector URigHierarchy::GetControlPreferredEulerAngles(FRigElementKey InKey, EEulerRotationOrder InRotationOrder, bool bInitial) const
{
	const int32 Index = CheckedControlIndex(InKey, TEXT("GetControlPreferredEulerAngles"));
	if (Index == INDEX_NONE)
	{
		return FVector::ZeroVector;
	}
	const FElement& Element = Elements[Index];
	return ConvertEulerAngles(Element.PreferredAngles[PoseIndex(bInitial)], Element.PreferredOrder, InRotationOrder);
}

EEulerRotationOrder URigHierarchy::GetControlPreferredEulerRotationOrder(FRigElementKey InKey, bool bFromSettings) const
{
	const int32 Index = CheckedControlIndex(InKey, TEXT("GetControlPreferredEulerRotationOrder"));
	if (Index == INDEX_NONE)
	{
		return EEulerRotationOrder::YZX;
	}
	return bFromSettings ? Elements[Index].Settings().PreferredRotationOrder : Elements[Index].PreferredOrder;
}

void URigHierarchy::ResetPoseToInitial(ERigElementType InTypeFilter)
{
	for (FElement& Element : Elements)
	{
		if (EnumHasAnyFlags(InTypeFilter, Element.Key.Type))
		{
			Element.Local[1] = Element.Local[0];
			Element.Offset[1] = Element.Offset[0];
			Element.Shape[1] = Element.Shape[0];
			Element.Value[1] = Element.Value[0];
			Element.PreferredAngles[1] = Element.PreferredAngles[0];
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
