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

double& FRigControlValueStorage::operator[](int32 Index)
{
	static double FRigControlValueStorage::* const Members[Num] = {
		&FRigControlValueStorage::Float00, &FRigControlValueStorage::Float01, &FRigControlValueStorage::Float02, &FRigControlValueStorage::Float03,
		&FRigControlValueStorage::Float10, &FRigControlValueStorage::Float11, &FRigControlValueStorage::Float12, &FRigControlValueStorage::Float13,
		&FRigControlValueStorage::Float20, &FRigControlValueStorage::Float21, &FRigControlValueStorage::Float22, &FRigControlValueStorage::Float23,
		&FRigControlValueStorage::Float30, &FRigControlValueStorage::Float31, &FRigControlValueStorage::Float32, &FRigControlValueStorage::Float33};
	check(Index >= 0 && Index < Num);
	return this->*Members[Index];
}

bool FRigControlValueStorage::operator==(const FRigControlValueStorage& Other) const
{
	for (int32 Index = 0; Index < Num; ++Index)
	{
		if ((*this)[Index] != Other[Index])
		{
			return false;
		}
	}
	return true;
}

FTransform FRigControlValue::GetAsTransform(ERigControlType ControlType) const
{
	switch (ControlType)
	{
	case ERigControlType::Position:
		return FTransform(Get<FVector>());
	case ERigControlType::Vector2D:
		return FTransform(FVector(FloatStorage[0], FloatStorage[1], 0.0));
	case ERigControlType::Rotator:
		return FTransform(Get<FRotator>().Quaternion());
	case ERigControlType::Scale:
		// A scale control keeps its scale in the vector components.
		return FTransform(FQuat::Identity, FVector::ZeroVector, Get<FVector>());
	case ERigControlType::TransformNoScale:
	{
		const FTransform Transform = Get<FTransform>();
		return FTransform(Transform.GetRotation(), Transform.GetTranslation());
	}
	case ERigControlType::Transform:
		return Get<FTransform>();
	case ERigControlType::EulerTransform:
		return Get<FEulerTransform>().ToFTransform();
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
		Set<FVector>(Transform.GetTranslation());
		break;
	case ERigControlType::Vector2D:
		Set<FVector2D>(FVector2D(Transform.GetTranslation().X, Transform.GetTranslation().Y));
		break;
	case ERigControlType::Rotator:
		Set<FRotator>(Transform.Rotator());
		break;
	case ERigControlType::Scale:
		Set<FVector>(Transform.GetScale3D());
		break;
	case ERigControlType::TransformNoScale:
		Set<FTransform>(FTransform(Transform.GetRotation(), Transform.GetTranslation()));
		break;
	case ERigControlType::Transform:
		Set<FTransform>(Transform);
		break;
	case ERigControlType::EulerTransform:
		Set<FEulerTransform>(FEulerTransform(Transform));
		break;
	default:
		// A scalar control's value is not a placement; moving it changes nothing.
		break;
	}
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
	const TArray<int32> Indices = LimitStorageIndices(ControlType);
	FRigControlValueStorage& Storage = InOutValue.GetStorage();
	for (int32 Channel = 0; Channel < Indices.Num() && Channel < LimitEnabled.Num(); ++Channel)
	{
		const int32 Index = Indices[Channel];
		if (Index != INDEX_NONE && LimitEnabled[Channel].IsOn())
		{
			Storage[Index] = LimitEnabled[Channel].GetLimitedValue(Storage[Index], MinimumValue.GetStorage()[Index], MaximumValue.GetStorage()[Index]);
		}
	}
	if (ControlType == ERigControlType::Integer)
	{
		Storage[0] = (double)(int32)Storage[0];
	}
}

FRigControlValue FRigControlSettings::GetIdentityValue() const
{
	switch (ControlType)
	{
	case ERigControlType::Scale:
		return FRigControlValue::Make<FVector>(FVector::OneVector);
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
