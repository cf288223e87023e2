#include "Rigs/RigHierarchyDefines.h"

#include "UObject/Class.h"

FString FRigElementKey::ToString() const
{
	const FString TypeName = StaticEnum<ERigElementType>()->GetNameStringByValue((int64)Type);
	return FString::Printf(TEXT("(Type=%s,Name=\"%s\")"), *TypeName, *Name.ToString());
}

FRigControlValue::FTransform_Float::FTransform_Float(const FTransform& InTransform)
{
	const FVector Translation = InTransform.GetTranslation();
	const FQuat Rotation = InTransform.GetRotation();
	const FVector Scale = InTransform.GetScale3D();
	TranslationX = (float)Translation.X;
	TranslationY = (float)Translation.Y;
	TranslationZ = (float)Translation.Z;
	RotationX = (float)Rotation.X;
	RotationY = (float)Rotation.Y;
	RotationZ = (float)Rotation.Z;
	RotationW = (float)Rotation.W;
	ScaleX = (float)Scale.X;
	ScaleY = (float)Scale.Y;
	ScaleZ = (float)Scale.Z;
}

FTransform FRigControlValue::FTransform_Float::ToTransform() const
{
	return FTransform(GetRotation(), FVector(GetTranslation()), FVector(GetScale3D()));
}

FRigControlValue::FEulerTransform_Float::FEulerTransform_Float(const FEulerTransform& InTransform)
	: TranslationX((float)InTransform.Location.X)
	, TranslationY((float)InTransform.Location.Y)
	, TranslationZ((float)InTransform.Location.Z)
	, RotationPitch((float)InTransform.Rotation.Pitch)
	, RotationYaw((float)InTransform.Rotation.Yaw)
	, RotationRoll((float)InTransform.Rotation.Roll)
	, ScaleX((float)InTransform.Scale.X)
	, ScaleY((float)InTransform.Scale.Y)
	, ScaleZ((float)InTransform.Scale.Z)
{
}

FEulerTransform FRigControlValue::FEulerTransform_Float::ToTransform() const
{
	return FEulerTransform(FVector(GetTranslation()), GetRotator(), FVector(GetScale3D()));
}

namespace
{
	/** The translation a one- or two-dimensional control's value gives along its primary axis. */
	FVector AlongAxis(double Value, ERigControlAxis Axis)
	{
		switch (Axis)
		{
		case ERigControlAxis::Y:
			return FVector(0.0, Value, 0.0);
		case ERigControlAxis::Z:
			return FVector(0.0, 0.0, Value);
		default:
			return FVector(Value, 0.0, 0.0);
		}
	}

	/** A two-dimensional control's value spans the plane across its primary axis. */
	FVector AcrossAxis(const FVector3f& Value, ERigControlAxis Axis)
	{
		switch (Axis)
		{
		case ERigControlAxis::Y:
			return FVector(Value.X, 0.0, Value.Y);
		case ERigControlAxis::Z:
			return FVector(Value.X, Value.Y, 0.0);
		default:
			return FVector(0.0, Value.X, Value.Y);
		}
	}

	double ComponentAlong(const FVector& Translation, ERigControlAxis Axis)
	{
		return Axis == ERigControlAxis::Y ? Translation.Y : (Axis == ERigControlAxis::Z ? Translation.Z : Translation.X);
	}

	FVector3f ComponentsAcross(const FVector& Translation, ERigControlAxis Axis)
	{
		switch (Axis)
		{
		case ERigControlAxis::Y:
			return FVector3f((float)Translation.X, (float)Translation.Z, 0.f);
		case ERigControlAxis::Z:
			return FVector3f((float)Translation.X, (float)Translation.Y, 0.f);
		default:
			return FVector3f((float)Translation.Y, (float)Translation.Z, 0.f);
		}
	}
}

FTransform FRigControlValue::GetAsTransform(ERigControlType InControlType, ERigControlAxis InPrimaryAxis) const
{
	switch (InControlType)
	{
	case ERigControlType::Float:
		return FTransform(AlongAxis(Get<float>(), InPrimaryAxis));
	case ERigControlType::Integer:
		return FTransform(AlongAxis(Get<int32>(), InPrimaryAxis));
	case ERigControlType::ScaleFloat:
	{
		const double Scale = Get<float>();
		return FTransform(FQuat::Identity, FVector::ZeroVector, FVector(Scale, Scale, Scale));
	}
	case ERigControlType::Vector2D:
		return FTransform(AcrossAxis(Get<FVector3f>(), InPrimaryAxis));
	case ERigControlType::Position:
		return FTransform(FVector(Get<FVector3f>()));
	case ERigControlType::Scale:
		return FTransform(FQuat::Identity, FVector::ZeroVector, FVector(Get<FVector3f>()));
	case ERigControlType::Rotator:
		return FTransform(FRotator::MakeFromEuler(FVector(Get<FVector3f>())).Quaternion());
	case ERigControlType::TransformNoScale:
	{
		// The translation and rotation lead the storage as they do a full transform's.
		const FTransform_Float Stored = Get<FTransform_Float>();
		return FTransform(Stored.GetRotation(), FVector(Stored.GetTranslation()));
	}
	case ERigControlType::Transform:
		return Get<FTransform_Float>().ToTransform();
	case ERigControlType::EulerTransform:
		return Get<FEulerTransform_Float>().ToTransform().ToFTransform();
	default:
		// A bool does not place its control.
		return FTransform::Identity;
	}
}

void FRigControlValue::SetFromTransform(const FTransform& InTransform, ERigControlType InControlType, ERigControlAxis InPrimaryAxis)
{
	switch (InControlType)
	{
	case ERigControlType::Float:
		Set<float>((float)ComponentAlong(InTransform.GetTranslation(), InPrimaryAxis));
		break;
	case ERigControlType::Integer:
		Set<int32>((int32)FMath::RoundToInt(ComponentAlong(InTransform.GetTranslation(), InPrimaryAxis)));
		break;
	case ERigControlType::ScaleFloat:
		Set<float>((float)InTransform.GetScale3D().X);
		break;
	case ERigControlType::Vector2D:
		Set<FVector3f>(ComponentsAcross(InTransform.GetTranslation(), InPrimaryAxis));
		break;
	case ERigControlType::Position:
		Set<FVector3f>(FVector3f(InTransform.GetTranslation()));
		break;
	case ERigControlType::Scale:
		Set<FVector3f>(FVector3f(InTransform.GetScale3D()));
		break;
	case ERigControlType::Rotator:
		Set<FVector3f>(FVector3f(InTransform.Rotator().Euler()));
		break;
	case ERigControlType::TransformNoScale:
		Set<FTransform_Float>(FTransform_Float(FTransform(InTransform.GetRotation(), InTransform.GetTranslation())));
		break;
	case ERigControlType::Transform:
		Set<FTransform_Float>(FTransform_Float(InTransform));
		break;
	case ERigControlType::EulerTransform:
		Set<FEulerTransform_Float>(FEulerTransform_Float(FEulerTransform(InTransform)));
		break;
	default:
		// A bool's value is not a placement; moving the control changes nothing.
		break;
	}
}

float& FRigControlValue::operator[](int32 Index)
{
	check(Index >= 0 && Index < 16);
	return (&FloatStorage.Float00)[Index];
}

bool FRigControlValue::IsSet() const
{
	return !(*this == FRigControlValue());
}

bool FRigControlValue::operator==(const FRigControlValue& Other) const
{
	// Compared number by number as stored, so that values read as integers or bools compare too.
	return std::memcmp(&FloatStorage, &Other.FloatStorage, sizeof(FloatStorage)) == 0;
}
