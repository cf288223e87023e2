#include "RigUnit_VNFaceSDKSolver.h"

#include "Rigs/RigHierarchy.h"
#include "Templates/Casts.h"
#include "UObject/SoftObjectPath.h"
#include "VNFaceSDKCurve.h"

DEFINE_LOG_CATEGORY_STATIC(LogVNFaceSDKSolver, Log, All);

namespace
{
	FRigElementKey ControlKey(const FName& Name)
	{
		return FRigElementKey(Name, ERigElementType::Control);
	}

	/** The element a driven row names: a bone, else a null of the face rig. */
	FRigElementKey FindDrivenElement(const URigHierarchy& Hierarchy, const FName& Name)
	{
		const FRigElementKey Bone(Name, ERigElementType::Bone);
		if (Hierarchy.Contains(Bone))
		{
			return Bone;
		}
		const FRigElementKey Null(Name, ERigElementType::Null);
		return Hierarchy.Contains(Null) ? Null : FRigElementKey();
	}

	/** Component 0, 1 or 2 of a per-axis channel, or -1. */
	int32 AxisOf(EVNFaceSDKChannel Channel)
	{
		switch (Channel)
		{
		case EVNFaceSDKChannel::TranslationX: case EVNFaceSDKChannel::RotationX: case EVNFaceSDKChannel::ScaleX: case EVNFaceSDKChannel::ValueX:
			return 0;
		case EVNFaceSDKChannel::TranslationY: case EVNFaceSDKChannel::RotationY: case EVNFaceSDKChannel::ScaleY: case EVNFaceSDKChannel::ValueY:
			return 1;
		case EVNFaceSDKChannel::TranslationZ: case EVNFaceSDKChannel::RotationZ: case EVNFaceSDKChannel::ScaleZ: case EVNFaceSDKChannel::ValueZ:
			return 2;
		default:
			return -1;
		}
	}

	enum class EChannelGroup : uint8 { Translation, Rotation, Scale, Other };

	EChannelGroup GroupOf(EVNFaceSDKChannel Channel)
	{
		switch (Channel)
		{
		case EVNFaceSDKChannel::TranslationX: case EVNFaceSDKChannel::TranslationY: case EVNFaceSDKChannel::TranslationZ:
			return EChannelGroup::Translation;
		case EVNFaceSDKChannel::RotationX: case EVNFaceSDKChannel::RotationY: case EVNFaceSDKChannel::RotationZ: case EVNFaceSDKChannel::Rotation:
			return EChannelGroup::Rotation;
		case EVNFaceSDKChannel::ScaleX: case EVNFaceSDKChannel::ScaleY: case EVNFaceSDKChannel::ScaleZ:
			return EChannelGroup::Scale;
		default:
			return EChannelGroup::Other;
		}
	}

	/** Rotation angles in degrees about X, Y and Z, as the rig's rotation channels count them. */
	FVector EulerOf(const FQuat& Rotation)
	{
		const FRotator Rotator = Rotation.Rotator();
		return FVector(Rotator.Roll, Rotator.Pitch, Rotator.Yaw);
	}

	FQuat QuatOfEuler(const FVector& Euler)
	{
		return FRotator(Euler.Y, Euler.Z, Euler.X).Quaternion();
	}

	/** What the driven rows of one element and one space add up to. */
	struct FSpaceContribution
	{
		FVector Translation = FVector::ZeroVector;
		FVector Rotation = FVector::ZeroVector;
		FVector Scale = FVector::ZeroVector;
		FQuat WholeRotation = FQuat::Identity;
		TOptional<double> AbsoluteTranslation[3];
		TOptional<double> AbsoluteRotation[3];
		TOptional<double> AbsoluteScale[3];
		TOptional<FQuat> AbsoluteWholeRotation;
		bool bAny = false;

		/** Applies the contribution to a base transform (local or global, as the space says). */
		FTransform Apply(const FTransform& Base, bool bWorld) const
		{
			FVector BaseTranslation = Base.GetTranslation();
			FVector BaseScale = Base.GetScale3D();
			FVector BaseEuler = EulerOf(Base.GetRotation());
			bool bEulerReplaced = false;
			for (int32 Axis = 0; Axis < 3; ++Axis)
			{
				if (AbsoluteTranslation[Axis]) { BaseTranslation[Axis] = *AbsoluteTranslation[Axis]; }
				if (AbsoluteScale[Axis]) { BaseScale[Axis] = *AbsoluteScale[Axis]; }
				if (AbsoluteRotation[Axis]) { BaseEuler[Axis] = *AbsoluteRotation[Axis]; bEulerReplaced = true; }
			}
			FQuat BaseRotation = AbsoluteWholeRotation ? *AbsoluteWholeRotation
				: (bEulerReplaced ? QuatOfEuler(BaseEuler) : Base.GetRotation());
			const FQuat Delta = WholeRotation * QuatOfEuler(Rotation);
			// World rows turn about world axes; local rows about the element's own.
			const FQuat Rotated = bWorld ? Delta * BaseRotation : BaseRotation * Delta;
			FTransform Result(Rotated.GetNormalized(), BaseTranslation + Translation, BaseScale + Scale);
			return Result;
		}
	};

	struct FElementContribution
	{
		FRigElementKey Key;
		FSpaceContribution Local;
		FSpaceContribution World;
	};

	float ReadDriver(const URigHierarchy& Hierarchy, const FVNFaceSDKDriver& Driver)
	{
		const FRigElementKey Control = ControlKey(Driver.ControlName);
		if (!Driver.CustomChannelName.IsNone())
		{
			// A custom attribute lives on a float channel of the control.
			const FRigElementKey Channel = ControlKey(Driver.CustomChannelName);
			return Hierarchy.Contains(Channel) ? Hierarchy.GetControlValue(Channel).Get<float>() : 0.0f;
		}
		const FRigControlElement* ControlElement = Hierarchy.Find<FRigControlElement>(Control);
		if (!ControlElement)
		{
			return 0.0f;
		}
		const FRigControlValue Value = Hierarchy.GetControlValue(Control);
		const FRigControlSettings& Settings = ControlElement->Settings;
		const FTransform Transform = Value.GetAsTransform(Settings.ControlType, Settings.PrimaryAxis);
		const int32 Axis = AxisOf(Driver.Channel);
		switch (GroupOf(Driver.Channel))
		{
		case EChannelGroup::Translation:
			return (float)Transform.GetTranslation()[Axis];
		case EChannelGroup::Rotation:
			return Axis >= 0 ? (float)EulerOf(Transform.GetRotation())[Axis] : 0.0f;
		case EChannelGroup::Scale:
			return (float)Transform.GetScale3D()[Axis];
		default:
			break;
		}
		if (Driver.Channel == EVNFaceSDKChannel::ValueFloat)
		{
			return Value.Get<float>();
		}
		// Vector values are kept in floats.
		return Value.Get<FVector3f>()[Axis];
	}

	void AddRow(FSpaceContribution& Space, const FVNDrivenSDKChannel& Row, float DriverValue, float FaceScaler)
	{
		const bool bAbsolute = Row.ApplyMode == EVNFaceSDKApplyMode::Absolute;
		if (Row.bQuaternionRotation || Row.Channel == EVNFaceSDKChannel::Rotation)
		{
			FQuat Rotation = VNFaceSDKCurve::EvaluateRotation(Row.QuaternionKeys, DriverValue);
			if (Row.Multiplier != 1.0f)
			{
				Rotation = FQuat::Slerp(FQuat::Identity, Rotation, Row.Multiplier);
			}
			if (bAbsolute)
			{
				Space.AbsoluteWholeRotation = Rotation;
			}
			else
			{
				Space.WholeRotation = Rotation * Space.WholeRotation;
			}
			Space.bAny = true;
			return;
		}
		const int32 Axis = AxisOf(Row.Channel);
		const EChannelGroup Group = GroupOf(Row.Channel);
		if (Axis < 0 || Group == EChannelGroup::Other)
		{
			return;
		}
		double Value = (double)VNFaceSDKCurve::Evaluate(Row.Keys, DriverValue) * Row.Multiplier;
		FVector* Sum = nullptr;
		TOptional<double>* Absolute = nullptr;
		switch (Group)
		{
		case EChannelGroup::Translation:
			// The curves were keyed on the Maya face; the character's face is FaceScaler times as big.
			Value *= FaceScaler;
			Sum = &Space.Translation;
			Absolute = Space.AbsoluteTranslation;
			break;
		case EChannelGroup::Rotation:
			Sum = &Space.Rotation;
			Absolute = Space.AbsoluteRotation;
			break;
		default:
			Sum = &Space.Scale;
			Absolute = Space.AbsoluteScale;
			break;
		}
		if (bAbsolute)
		{
			Absolute[Axis] = Value;
		}
		else
		{
			(*Sum)[Axis] += Value;
		}
		Space.bAny = true;
	}

	/** Keeps Child where it sat relative to Anchor in the initial pose, on the current pose. */
	void FollowInitialOffset(URigHierarchy& Hierarchy, const FRigElementKey& Child, const FRigElementKey& Anchor)
	{
		if (!Hierarchy.Contains(Child) || !Hierarchy.Contains(Anchor))
		{
			return;
		}
		const FTransform Offset = Hierarchy.GetGlobalTransform(Child, true).GetRelativeTransform(Hierarchy.GetGlobalTransform(Anchor, true));
		Hierarchy.SetGlobalTransform(Child, Offset * Hierarchy.GetGlobalTransform(Anchor, false), false, true);
	}

	void SolveDrivers(URigHierarchy& Hierarchy, const UVNFaceRigDataAsset& Data, float FaceScaler)
	{
		TArray<FElementContribution> Contributions;
		TMap<FRigElementKey, int32> ContributionIndex;
		for (const FVNFaceSDKDriver& Driver : Data.Drivers)
		{
			const float DriverValue = ReadDriver(Hierarchy, Driver);
			for (const FVNDrivenSDKChannel& Row : Driver.Driven)
			{
				const FRigElementKey Key = FindDrivenElement(Hierarchy, Row.BoneName);
				if (!Key.IsValid())
				{
					continue;
				}
				int32* Found = ContributionIndex.Find(Key);
				if (!Found)
				{
					FElementContribution Contribution;
					Contribution.Key = Key;
					Found = &ContributionIndex.Add(Key, Contributions.Add(Contribution));
				}
				FElementContribution& Contribution = Contributions[*Found];
				AddRow(Row.TransformSpace == EVNFaceSDKTransformSpace::World ? Contribution.World : Contribution.Local, Row, DriverValue, FaceScaler);
			}
		}
		// Parents before children, so that world rows see their parents' final pose.
		Contributions.Sort([&Hierarchy](const FElementContribution& A, const FElementContribution& B) {
			return Hierarchy.GetIndex(A.Key) < Hierarchy.GetIndex(B.Key);
		});
		for (const FElementContribution& Contribution : Contributions)
		{
			// Every evaluation starts from the element's initial local pose under its current parent.
			FTransform Local = Contribution.Local.Apply(Hierarchy.GetLocalTransform(Contribution.Key, true), false);
			Hierarchy.SetLocalTransform(Contribution.Key, Local, false, true);
			if (Contribution.World.bAny)
			{
				const FTransform Global = Contribution.World.Apply(Hierarchy.GetGlobalTransform(Contribution.Key, false), true);
				Hierarchy.SetGlobalTransform(Contribution.Key, Global, false, true);
			}
		}
	}

	void SolveDirectControls(URigHierarchy& Hierarchy, const UVNFaceRigDataAsset& Data)
	{
		for (const FVNFaceSDKDirectControl& Direct : Data.DirectControls)
		{
			const FRigElementKey Control = ControlKey(Direct.ControlName);
			const FRigElementKey Bone(Direct.BoneName, ERigElementType::Bone);
			if (!Hierarchy.Contains(Control) || !Hierarchy.Contains(Bone))
			{
				continue;
			}
			// The control's move is what it has moved under its parent since rest (its parent may be a
			// follow null that the bone itself carries, so the control's world pose is no measure of
			// it); the bone makes the same move in the control's frame, on top of what the drivers gave it.
			const FTransform LocalRest = Hierarchy.GetLocalTransform(Control, true);
			const FTransform Move = Hierarchy.GetLocalTransform(Control, false).GetRelativeTransform(LocalRest);
			const FRigElementKey Parent = Hierarchy.GetFirstParent(Control);
			const FTransform Frame = LocalRest * (Parent.IsValid() ? Hierarchy.GetGlobalTransform(Parent, false) : FTransform::Identity);
			const FTransform BoneInControl = Hierarchy.GetGlobalTransform(Bone, false).GetRelativeTransform(Frame);
			Hierarchy.SetGlobalTransform(Bone, BoneInControl * Move * Frame, false, true);
		}
	}

	void SolveFollowControls(URigHierarchy& Hierarchy, const UVNFaceRigDataAsset& Data, float FaceScaler)
	{
		for (const FVNFaceSDKFollowControl& Follow : Data.FollowControls)
		{
			const FRigElementKey Null(Follow.FollowNullName, ERigElementType::Null);
			const FRigElementKey Bone(Follow.BoneName, ERigElementType::Bone);
			if (!Hierarchy.Contains(Null) || !Hierarchy.Contains(Bone))
			{
				continue;
			}
			// The null's stored place is the bone's bind position over FaceScaler; scaled back, plus
			// how far the bone has moved since, it lands on the bone.
			const FTransform NullLocal = Hierarchy.GetLocalTransform(Null, true);
			const FRigElementKey Parent = Hierarchy.GetFirstParent(Null);
			const FTransform ParentNow = Parent.IsValid() ? Hierarchy.GetGlobalTransform(Parent, false) : FTransform::Identity;
			const FVector Bind = ParentNow.TransformPosition(NullLocal.GetTranslation() * (double)FMath::Max(FaceScaler, 0.001f));
			const FTransform BoneRest = Hierarchy.GetGlobalTransform(Bone, true);
			const FTransform BoneNow = Hierarchy.GetGlobalTransform(Bone, false);
			FTransform Global = NullLocal * ParentNow;
			Global.SetTranslation(Bind + (BoneNow.GetTranslation() - BoneRest.GetTranslation()));
			if (Follow.bFollowRotation)
			{
				const FQuat Turn = BoneNow.GetRotation() * BoneRest.GetRotation().Inverse();
				Global.SetRotation((Turn * Hierarchy.GetGlobalTransform(Null, true).GetRotation()).GetNormalized());
			}
			Hierarchy.SetGlobalTransform(Null, Global, false, true);
		}
	}

	void SolveEyes(URigHierarchy& Hierarchy, const UVNFaceRigDataAsset& Data)
	{
		for (const FVNFaceSDKAimBinding& Aim : Data.AimBindings)
		{
			const FRigElementKey Null(Aim.EyeAimNullName, ERigElementType::Null);
			const FRigElementKey Target = ControlKey(Aim.TargetControlName);
			if (!Hierarchy.Contains(Null) || !Hierarchy.Contains(Target) || Aim.AimAxis.IsNearlyZero() || Aim.UpAxis.IsNearlyZero())
			{
				continue;
			}
			FTransform Global = Hierarchy.GetGlobalTransform(Null, false);
			const FVector Direction = Hierarchy.GetGlobalTransform(Target, false).GetTranslation() - Global.GetTranslation();
			if (Direction.IsNearlyZero())
			{
				continue;
			}
			const FVector Aimed = Direction.GetSafeNormal();
			const FQuat Rest = Hierarchy.GetGlobalTransform(Null, true).GetRotation();
			const FVector AimNow = Rest.RotateVector(Aim.AimAxis.GetSafeNormal());
			const FQuat Swing = FQuat::FindBetweenNormals(AimNow, Aimed);
			// Twist about the aim so that the up axis stays as close to its rest direction as it can.
			const FVector UpRest = Rest.RotateVector(Aim.UpAxis.GetSafeNormal());
			const FVector UpSwung = Swing.RotateVector(UpRest);
			const FVector WantedUp = (UpRest - Aimed * FVector::DotProduct(UpRest, Aimed)).GetSafeNormal();
			const FVector HaveUp = (UpSwung - Aimed * FVector::DotProduct(UpSwung, Aimed)).GetSafeNormal();
			FQuat Twist = FQuat::Identity;
			if (!WantedUp.IsNearlyZero() && !HaveUp.IsNearlyZero())
			{
				const double Angle = FMath::Atan2(FVector::DotProduct(FVector::CrossProduct(HaveUp, WantedUp), Aimed), FVector::DotProduct(HaveUp, WantedUp));
				Twist = FQuat(Aimed, Angle);
			}
			Global.SetRotation((Twist * Swing * Rest).GetNormalized());
			Hierarchy.SetGlobalTransform(Null, Global, false, true);
		}
		for (const FVNFaceSDKEyeChain& Eye : Data.EyeChains)
		{
			const FRigElementKey Final = ControlKey(Eye.FinalControlName);
			const FRigElementKey Joint(Eye.EyeJointName, ERigElementType::Bone);
			if (!Hierarchy.Contains(Final) || !Hierarchy.Contains(Joint))
			{
				continue;
			}
			// The eye turns as its final control has turned from rest; it stays where it is.
			const FQuat Turn = Hierarchy.GetGlobalTransform(Final, false).GetRotation() * Hierarchy.GetGlobalTransform(Final, true).GetRotation().Inverse();
			FTransform Global = Hierarchy.GetGlobalTransform(Joint, false);
			Global.SetRotation((Turn * Hierarchy.GetGlobalTransform(Joint, true).GetRotation()).GetNormalized());
			Hierarchy.SetGlobalTransform(Joint, Global, false, true);
		}
	}

	void SolveVisibility(URigHierarchy& Hierarchy, const UVNFaceRigDataAsset& Data)
	{
		for (const FVNFaceSDKVisibilityGroup& Group : Data.VisibilityGroups)
		{
			const FRigElementKey Switch = ControlKey(Group.SwitchControlName);
			bool bVisible = Group.bDefaultVisible;
			if (const FRigControlElement* SwitchElement = Hierarchy.Find<FRigControlElement>(Switch))
			{
				const FRigControlValue Value = Hierarchy.GetControlValue(Switch);
				bVisible = SwitchElement->Settings.ControlType == ERigControlType::Bool ? Value.Get<bool>() : Value.Get<float>() > 0.5f;
			}
			for (const FName& Member : Group.Members)
			{
				if (Hierarchy.Contains(ControlKey(Member)))
				{
					Hierarchy.SetControlVisibility(ControlKey(Member), bVisible);
				}
			}
		}
	}
}

void FRigUnit_VNFaceSDKSolver::Solve(URigHierarchy* Hierarchy, const UVNFaceRigDataAsset& Data, const FRigElementKey& InFaceJoint, const FRigElementKey& InCtrlBoxAttach, float InFaceScaler)
{
	if (!Hierarchy)
	{
		return;
	}
	FollowInitialOffset(*Hierarchy, InCtrlBoxAttach, InFaceJoint);
	SolveDrivers(*Hierarchy, Data, InFaceScaler);
	// The follow nulls take the bones' driven pose first: a direct handle rides on the follow null of
	// its own joint, and its move then comes on top once, instead of the null following that move too.
	SolveFollowControls(*Hierarchy, Data, InFaceScaler);
	SolveDirectControls(*Hierarchy, Data);
	SolveEyes(*Hierarchy, Data);
	SolveVisibility(*Hierarchy, Data);
}

void FRigUnit_VNFaceSDKSolver::Execute()
{
	if (FaceRigDataAsset.IsEmpty())
	{
		return;
	}
	const UVNFaceRigDataAsset* Data = Cast<UVNFaceRigDataAsset>(FSoftObjectPath(FaceRigDataAsset).TryLoad());
	if (!Data)
	{
		UE_LOG(LogVNFaceSDKSolver, Warning, TEXT("Face rig data asset %s could not be loaded."), *FaceRigDataAsset);
		return;
	}
	Solve(ExecuteContext.Hierarchy, *Data, FaceJoint, CtrlBoxAttach, FaceScaler);
}
