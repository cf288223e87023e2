// The basic two-bone IK: places a limb's middle joint in the plane of its pole and aims both bones.
#include "Units/Highlevel/Hierarchy/RigUnit_TwoBoneIKSimple.h"

#include "RigUnitRunContext.h"
#include "RigUnitTransformAccess.h"

namespace
{
	/** A unit vector at right angles to the unit vector Dir, the same one for the same Dir. */
	FVector PerpendicularOf(const FVector& Dir)
	{
		const FVector Seed = FMath::Abs(Dir.Z) > FMath::Abs(Dir.X) && FMath::Abs(Dir.Z) > FMath::Abs(Dir.Y) ? FVector(1.0, 0.0, 0.0) : FVector(0.0, 0.0, 1.0);
		const FVector First = (Seed - Dir * (Seed | Dir)).GetSafeNormal();
		return FVector::CrossProduct(First, Dir);
	}

	/**
	 * Where the middle joint and the end go so that the end reaches Effector with the given bone
	 * lengths, the joint bending toward JointTarget; a goal out of reach stretches the limb straight
	 * toward it (and, with stretching, the bones lengthen once the reach passes StartStretchRatio).
	 */
	void SolveJointPositions(const FVector& Root, const FVector& Joint, const FVector& JointTarget, const FVector& Effector, double UpperLength, double LowerLength,
		bool bAllowStretching, double StartStretchRatio, double MaxStretchScale, FVector& OutJoint, FVector& OutEnd)
	{
		const FVector DesiredDelta = Effector - Root;
		double DesiredLength = DesiredDelta.Size();
		double MaxLength = UpperLength + LowerLength;

		FVector DesiredDir;
		if (DesiredLength < UE_KINDA_SMALL_NUMBER)
		{
			DesiredLength = UE_KINDA_SMALL_NUMBER;
			DesiredDir = FVector(1.0, 0.0, 0.0);
		}
		else
		{
			DesiredDir = DesiredDelta / DesiredLength;
		}

		// The bend direction: the pole's offset from the root, without its part along the reach.
		const FVector TargetDelta = JointTarget - Root;
		FVector BendDir(0.0, 1.0, 0.0);
		if (TargetDelta.SizeSquared() >= FMath::Square(UE_KINDA_SMALL_NUMBER))
		{
			const FVector PlaneNormal = FVector::CrossProduct(DesiredDir, TargetDelta);
			if (PlaneNormal.SizeSquared() < FMath::Square(UE_KINDA_SMALL_NUMBER))
			{
				BendDir = PerpendicularOf(DesiredDir);
			}
			else
			{
				BendDir = (TargetDelta - (TargetDelta | DesiredDir) * DesiredDir).GetSafeNormal();
			}
		}

		if (bAllowStretching)
		{
			const double ScaleRange = MaxStretchScale - StartStretchRatio;
			if (ScaleRange > UE_KINDA_SMALL_NUMBER && MaxLength > UE_KINDA_SMALL_NUMBER)
			{
				const double ReachRatio = DesiredLength / MaxLength;
				const double Scaling = (MaxStretchScale - 1.0) * FMath::Clamp((ReachRatio - StartStretchRatio) / ScaleRange, 0.0, 1.0);
				if (Scaling > UE_KINDA_SMALL_NUMBER)
				{
					UpperLength *= 1.0 + Scaling;
					LowerLength *= 1.0 + Scaling;
					MaxLength *= 1.0 + Scaling;
				}
			}
		}

		OutEnd = Effector;
		OutJoint = Joint;
		if (DesiredLength >= MaxLength)
		{
			OutEnd = Root + MaxLength * DesiredDir;
			OutJoint = Root + UpperLength * DesiredDir;
			return;
		}
		// The triangle of the two bones and the reach: the law of cosines gives the upper bone's angle.
		const double TwoAB = 2.0 * UpperLength * DesiredLength;
		const double CosAngle = TwoAB != 0.0 ? (UpperLength * UpperLength + DesiredLength * DesiredLength - LowerLength * LowerLength) / TwoAB : 0.0;
		const double Angle = FMath::Acos(FMath::Clamp(CosAngle, -1.0, 1.0));
		const double JointLineDist = UpperLength * FMath::Sin(Angle);
		const double ProjectedSquared = UpperLength * UpperLength - JointLineDist * JointLineDist;
		double Projected = ProjectedSquared > 0.0 ? FMath::Sqrt(ProjectedSquared) : 0.0;
		if (CosAngle < 0.0)
		{
			Projected = -Projected;
		}
		OutJoint = Root + Projected * DesiredDir + JointLineDist * BendDir;
	}

	/** Turns Bone so that its Axis (in its own space) points along Target; false when either is zero. */
	bool Aim(FTransform& Bone, const FVector& Axis, const FVector& Target)
	{
		const FVector WorldAxis = Bone.TransformVectorNoScale(Axis);
		if (Target.IsNearlyZero() || WorldAxis.IsNearlyZero())
		{
			return false;
		}
		Bone.SetRotation((FQuat::FindBetweenNormals(WorldAxis.GetSafeNormal(), Target.GetSafeNormal()) * Bone.GetRotation()).GetNormalized());
		return true;
	}

	/**
	 * Rolls Bone about its primary direction so that its SecondaryAxis points at the bend: from the
	 * middle of root and end toward the middle joint, without its part along the bone. Weight below one
	 * turns only that part of the way.
	 */
	void RollTowardBend(FTransform& Bone, const FVector& SecondaryAxis, float Weight, const FVector& Primary, const FVector& BendFrom, const FVector& Joint)
	{
		const FVector Axis = Bone.TransformVectorNoScale(SecondaryAxis);
		FVector Target = Joint - BendFrom;
		if (Target.IsNearlyZero() || Axis.IsNearlyZero())
		{
			return;
		}
		Target = (Target - (Target | Primary) * Primary).GetSafeNormal();
		FQuat Rotation = FQuat::FindBetweenNormals(Axis.GetSafeNormal(), Target);
		if (!FMath::IsNearlyEqual(Weight, 1.f))
		{
			Rotation = FQuat(Rotation.GetRotationAxis(), Rotation.GetAngle() * FMath::Clamp((double)Weight, 0.0, 1.0));
		}
		Bone.SetRotation((Rotation * Bone.GetRotation()).GetNormalized());
	}

	/** Solves the limb of BoneA, BoneB and the end at Effector, and orients both bones. */
	void SolveBasicTwoBoneIK(FTransform& BoneA, FTransform& BoneB, FTransform& Effector, const FVector& PoleVector, const FVector& PrimaryAxis, const FVector& SecondaryAxis,
		float SecondaryAxisWeight, double LengthA, double LengthB, bool bEnableStretch, float StretchStartRatio, float StretchMaxRatio)
	{
		const FVector RootPos = BoneA.GetLocation();
		FVector JointPos;
		FVector EndPos;
		SolveJointPositions(RootPos, BoneB.GetLocation(), PoleVector, Effector.GetLocation(), LengthA, LengthB, bEnableStretch, StretchStartRatio, StretchMaxRatio, JointPos, EndPos);
		BoneB.SetLocation(JointPos);
		Effector.SetLocation(EndPos);

		// A fully stretched limb has no bend: the joint is nudged toward the pole to find the roll.
		FVector BendJoint = JointPos;
		const FVector UpperDir = (JointPos - RootPos).GetSafeNormal();
		if (FMath::Abs(((EndPos - RootPos).GetSafeNormal() | UpperDir) - 1.0) < UE_KINDA_SMALL_NUMBER)
		{
			BendJoint += (PoleVector - BendJoint).GetSafeNormal() * (UE_KINDA_SMALL_NUMBER * 2.0);
		}
		const FVector BendFrom = (EndPos + RootPos) * 0.5;

		const FVector UpperTarget = (BendJoint - RootPos).GetSafeNormal();
		if (Aim(BoneA, PrimaryAxis, UpperTarget) && SecondaryAxisWeight > UE_SMALL_NUMBER)
		{
			RollTowardBend(BoneA, SecondaryAxis, SecondaryAxisWeight, UpperTarget, BendFrom, BendJoint);
		}
		const FVector LowerTarget = (EndPos - BendJoint).GetSafeNormal();
		if (Aim(BoneB, PrimaryAxis, EndPos - BendJoint) && SecondaryAxisWeight > UE_SMALL_NUMBER)
		{
			RollTowardBend(BoneB, SecondaryAxis, SecondaryAxisWeight, LowerTarget, BendFrom, BendJoint);
		}
	}

	/** The initial distance of two elements, scaled as From's current scale differs from its initial one. */
	double InitialLength(const URigHierarchy& Hierarchy, const FRigElementKey& From, const FRigElementKey& To, const FTransform& FromCurrent)
	{
		const FTransform FromInitial = Hierarchy.GetGlobalTransform(From, true);
		FVector Scale = FVector::OneVector;
		if (FromInitial.GetScale3D().SizeSquared() > UE_SMALL_NUMBER)
		{
			Scale = FromCurrent.GetScale3D() / FromInitial.GetScale3D();
		}
		return ((FromInitial.GetLocation() - Hierarchy.GetGlobalTransform(To, true).GetLocation()) * Scale).Size();
	}
}

void FRigUnit_TwoBoneIKSimplePerItem::Execute()
{
	URigHierarchy* Hierarchy = ExecuteContext.Hierarchy;
	if (!Hierarchy)
	{
		return;
	}
	if (!Hierarchy->Contains(ItemA) || !Hierarchy->Contains(ItemB))
	{
		RigUnitTransformAccess::ReportMissingItem(TEXT("Basic IK"), Hierarchy->Contains(ItemA) ? ItemB : ItemA);
		return;
	}
	const bool bHasEffectorItem = Hierarchy->Contains(EffectorItem);
	if (Weight <= UE_SMALL_NUMBER)
	{
		return;
	}

	FVector PoleTarget = PoleVector;
	if (Hierarchy->Contains(PoleVectorSpace))
	{
		const FTransform Space = Hierarchy->GetGlobalTransform(PoleVectorSpace, false);
		PoleTarget = PoleVectorKind == EControlRigVectorKind::Direction ? Space.TransformVectorNoScale(PoleTarget) : Space.TransformPositionNoScale(PoleTarget);
	}

	const FTransform CurrentA = Hierarchy->GetGlobalTransform(ItemA, false);
	const FTransform CurrentB = Hierarchy->GetGlobalTransform(ItemB, false);
	FTransform TransformA = CurrentA;
	// The middle bone starts from the upper bone's orientation at its own place.
	FTransform TransformB = TransformA;
	TransformB.SetLocation(CurrentB.GetLocation());
	FTransform TransformC = Effector;

	double LengthA = ItemALength;
	double LengthB = ItemBLength;
	if (LengthA < UE_SMALL_NUMBER)
	{
		LengthA = InitialLength(*Hierarchy, ItemA, ItemB, TransformA);
	}
	if (LengthB < UE_SMALL_NUMBER && bHasEffectorItem)
	{
		LengthB = InitialLength(*Hierarchy, ItemB, EffectorItem, TransformB);
	}
	if (LengthA < UE_SMALL_NUMBER || LengthB < UE_SMALL_NUMBER)
	{
		RigUnitRunContext::ReportWarning(TEXT("Basic IK: Item Lengths are not provided. Either set item length(s) or set effector item."));
		return;
	}

	SolveBasicTwoBoneIK(TransformA, TransformB, TransformC, PoleTarget, PrimaryAxis, SecondaryAxis, SecondaryAxisWeight, LengthA, LengthB, bEnableStretch, StretchStartRatio, StretchMaximumRatio);

	if (Weight < 1.f - UE_SMALL_NUMBER)
	{
		const FVector PositionB = TransformA.InverseTransformPosition(TransformB.GetLocation());
		const FVector PositionC = TransformB.InverseTransformPosition(TransformC.GetLocation());
		TransformA.SetRotation(FQuat::Slerp(CurrentA.GetRotation(), TransformA.GetRotation(), (double)Weight));
		TransformB.SetRotation(FQuat::Slerp(CurrentB.GetRotation(), TransformB.GetRotation(), (double)Weight));
		if (bHasEffectorItem)
		{
			TransformC.SetRotation(FQuat::Slerp(Hierarchy->GetGlobalTransform(EffectorItem, false).GetRotation(), TransformC.GetRotation(), (double)Weight));
		}
		TransformB.SetLocation(TransformA.TransformPosition(PositionB));
		TransformC.SetLocation(TransformB.TransformPosition(PositionC));
	}

	Hierarchy->SetGlobalTransform(ItemA, TransformA, false, bPropagateToChildren);
	Hierarchy->SetGlobalTransform(ItemB, TransformB, false, bPropagateToChildren);
	if (bHasEffectorItem)
	{
		Hierarchy->SetGlobalTransform(EffectorItem, TransformC, false, bPropagateToChildren);
	}
}
