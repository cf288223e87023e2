#include "Rigs/RigHierarchyElements.h"

double FRigControlLimitEnabled::GetLimitedValue(double InValue, double InMinimum, double InMaximum) const
{
	double Result = InValue;
	if (bMinimum)
	{
		Result = FMath::Max(Result, InMinimum);
	}
	if (bMaximum)
	{
		Result = FMath::Min(Result, InMaximum);
	}
	return Result;
}

namespace
{
	/** The storage numbers that hold the limit channels of a control type, in channel order. */
	TArray<int32> LimitStorageIndices(ERigControlType InControlType)
	{
		switch (InControlType)
		{
		case ERigControlType::Float:
		case ERigControlType::Integer:
		case ERigControlType::ScaleFloat:
			return {0};
		case ERigControlType::Vector2D:
			return {0, 1};
		case ERigControlType::Position:
		case ERigControlType::Scale:
		case ERigControlType::Rotator:
			return {0, 1, 2};
		case ERigControlType::EulerTransform:
			return {0, 1, 2, 3, 4, 5, 6, 7, 8};
		case ERigControlType::TransformNoScale:
			// Translation channels only: a quaternion's components are not angles to clamp.
			return {0, 1, 2, INDEX_NONE, INDEX_NONE, INDEX_NONE};
		case ERigControlType::Transform:
			return {0, 1, 2, INDEX_NONE, INDEX_NONE, INDEX_NONE, 7, 8, 9};
		default:
			return {};
		}
	}
}

int32 FRigControlSettings::NumLimitChannels(ERigControlType InControlType)
{
	return LimitStorageIndices(InControlType).Num();
}

void FRigControlSettings::SetupLimitArrayForType()
{
	LimitEnabled.SetNum(NumLimitChannels(ControlType));
}

void FRigControlSettings::ApplyLimits(FRigControlValue& InOutValue) const
{
	if (ControlType == ERigControlType::Integer)
	{
		// An integer is kept as an integer in the first number, not as a float.
		if (LimitEnabled.Num() > 0 && LimitEnabled[0].IsOn())
		{
			const double Limited = LimitEnabled[0].GetLimitedValue(InOutValue.Get<int32>(), MinimumValue.Get<int32>(), MaximumValue.Get<int32>());
			InOutValue.Set<int32>((int32)Limited);
		}
		return;
	}
	const TArray<int32> Indices = LimitStorageIndices(ControlType);
	for (int32 Channel = 0; Channel < Indices.Num() && Channel < LimitEnabled.Num(); ++Channel)
	{
		const int32 Index = Indices[Channel];
		if (Index != INDEX_NONE && LimitEnabled[Channel].IsOn())
		{
			InOutValue[Index] = (float)LimitEnabled[Channel].GetLimitedValue(InOutValue[Index], MinimumValue[Index], MaximumValue[Index]);
		}
	}
}

FRigControlValue FRigControlSettings::GetIdentityValue() const
{
	switch (ControlType)
	{
	case ERigControlType::Scale:
		return FRigControlValue::Make<FVector3f>(FVector3f::OneVector);
	case ERigControlType::ScaleFloat:
		return FRigControlValue::Make<float>(1.0f);
	case ERigControlType::Transform:
	case ERigControlType::TransformNoScale:
		return FRigControlValue::Make<FTransform>(FTransform::Identity);
	case ERigControlType::EulerTransform:
		return FRigControlValue::Make<FEulerTransform>(FEulerTransform::Identity);
	default:
		return FRigControlValue();
	}
}

bool FRigControlSettings::operator==(const FRigControlSettings& Other) const
{
	return AnimationType == Other.AnimationType && ControlType == Other.ControlType && DisplayName == Other.DisplayName
		&& PrimaryAxis == Other.PrimaryAxis && LimitEnabled == Other.LimitEnabled && bDrawLimits == Other.bDrawLimits
		&& MinimumValue == Other.MinimumValue && MaximumValue == Other.MaximumValue && bShapeVisible == Other.bShapeVisible
		&& ShapeVisibility == Other.ShapeVisibility && ShapeName == Other.ShapeName && ShapeColor == Other.ShapeColor
		&& bIsTransientControl == Other.bIsTransientControl && DrivenControls == Other.DrivenControls
		&& bGroupWithParentControl == Other.bGroupWithParentControl && bRestrictSpaceSwitching == Other.bRestrictSpaceSwitching
		&& PreferredRotationOrder == Other.PreferredRotationOrder && bUsePreferredRotationOrder == Other.bUsePreferredRotationOrder;
}
