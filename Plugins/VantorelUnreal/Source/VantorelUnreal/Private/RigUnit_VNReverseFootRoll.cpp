#include "RigUnit_VNReverseFootRoll.h"

#include "Rigs/RigHierarchy.h"

namespace
{
	FRigElementKey NullKey(const FName& Name)
	{
		return FRigElementKey(Name, ERigElementType::Null);
	}

	/** Element Name as a null, else as a control (rock pivots and rollers may be either). */
	FRigElementKey FindPivot(const URigHierarchy& Hierarchy, const FName& Name)
	{
		if (Name.IsNone())
		{
			return FRigElementKey();
		}
		if (Hierarchy.Contains(NullKey(Name)))
		{
			return NullKey(Name);
		}
		const FRigElementKey Control(Name, ERigElementType::Control);
		return Hierarchy.Contains(Control) ? Control : FRigElementKey();
	}

	float ReadChannel(const URigHierarchy& Hierarchy, const FName& Name)
	{
		const FRigElementKey Channel(Name, ERigElementType::Control);
		return !Name.IsNone() && Hierarchy.Contains(Channel) ? Hierarchy.GetControlValue(Channel).Get<float>() : 0.0f;
	}

	/** Turns Element from its initial local pose by Degrees about Axis, an axis of its own initial frame. */
	void TurnFromRest(URigHierarchy& Hierarchy, const FRigElementKey& Element, const FVector& Axis, float Degrees)
	{
		FTransform Local = Hierarchy.GetLocalTransform(Element, true);
		Local.SetRotation((Local.GetRotation() * FQuat(Axis, FMath::DegreesToRadians((double)Degrees))).GetNormalized());
		Hierarchy.SetLocalTransform(Element, Local, false, true);
	}
}

void FRigUnit_VNReverseFootRoll::SplitRoll(float Roll, float StartAngle, float EndAngle, float& OutHeel, float& OutToes, float& OutToesEnd)
{
	OutHeel = FMath::Min(Roll, 0.0f);
	const float Forward = FMath::Max(Roll, 0.0f);
	const float Start = FMath::Max(StartAngle, 0.0f);
	if (Forward <= Start)
	{
		OutToes = Forward;
	}
	else
	{
		// Between the start and end angles the ball eases back; an end at or before the start hands
		// over at once.
		const float Span = EndAngle - Start;
		const float Blend = Span > UE_KINDA_SMALL_NUMBER ? FMath::Clamp((Forward - Start) / Span, 0.0f, 1.0f) : 1.0f;
		OutToes = Start * (1.0f - Blend);
	}
	OutToesEnd = Forward - OutToes;
}

TOptional<FVector> FRigUnit_VNReverseFootRoll::ParseAxis(const FString& AxisName)
{
	FString Name = AxisName.TrimStartAndEnd();
	double Sign = 1.0;
	if (Name.StartsWith(TEXT("-")))
	{
		Sign = -1.0;
		Name.RightChopInline(1);
	}
	else if (Name.StartsWith(TEXT("+")))
	{
		Name.RightChopInline(1);
	}
	if (Name.Equals(TEXT("X"), ESearchCase::IgnoreCase))
	{
		return FVector(Sign, 0.0, 0.0);
	}
	if (Name.Equals(TEXT("Y"), ESearchCase::IgnoreCase))
	{
		return FVector(0.0, Sign, 0.0);
	}
	if (Name.Equals(TEXT("Z"), ESearchCase::IgnoreCase))
	{
		return FVector(0.0, 0.0, Sign);
	}
	return TOptional<FVector>();
}

void FRigUnit_VNReverseFootRoll::Solve(URigHierarchy* Hierarchy) const
{
	if (!Hierarchy || !Hierarchy->Contains(FRigElementKey(IKControl, ERigElementType::Control)))
	{
		return;
	}

	if (!RockChannel.IsNone())
	{
		const float Rock = ReadChannel(*Hierarchy, RockChannel);
		const struct
		{
			FName Pivot;
			const FString& Axis;
			float Min, Max, Multiplier;
		} RockPivots[] = {
			{InnerRockPivot, InnerRockAxis, InnerRockMin, InnerRockMax, InnerRockMultiplier},
			{OuterRockPivot, OuterRockAxis, OuterRockMin, OuterRockMax, OuterRockMultiplier},
		};
		for (const auto& RockPivot : RockPivots)
		{
			const FRigElementKey Pivot = FindPivot(*Hierarchy, RockPivot.Pivot);
			const TOptional<FVector> Axis = ParseAxis(RockPivot.Axis);
			if (Pivot.IsValid() && Axis)
			{
				const float Low = FMath::Min(RockPivot.Min, RockPivot.Max);
				const float High = FMath::Max(RockPivot.Min, RockPivot.Max);
				TurnFromRest(*Hierarchy, Pivot, *Axis, FMath::Clamp(Rock, Low, High) * RockPivot.Multiplier);
			}
		}
	}

	const FRigElementKey Heel = FindPivot(*Hierarchy, HeelRoller);
	const FRigElementKey ToesEnd = FindPivot(*Hierarchy, ToesEndRoller);
	const FRigElementKey Toes = FindPivot(*Hierarchy, ToesRoller);
	if (!Heel.IsValid() || !ToesEnd.IsValid() || !Toes.IsValid())
	{
		return;
	}
	// The side axis, from the foot as it was built: horizontal, across the heel-to-toe line, such
	// that a positive roll lifts the heel.
	const FVector HeelRest = Hierarchy->GetGlobalTransform(Heel, true).GetTranslation();
	const FVector ToesEndRest = Hierarchy->GetGlobalTransform(ToesEnd, true).GetTranslation();
	FVector Forward = ToesEndRest - HeelRest;
	Forward.Z = 0.0;
	if (Forward.IsNearlyZero())
	{
		Forward = FVector(0.0, 1.0, 0.0);
	}
	const FVector SideWorld = FVector::CrossProduct(FVector::UpVector, Forward.GetSafeNormal()).GetSafeNormal();

	float HeelAngle = 0.0f, ToesAngle = 0.0f, ToesEndAngle = 0.0f;
	SplitRoll(ReadChannel(*Hierarchy, RollChannel), RollStartAngle, RollEndAngle, HeelAngle, ToesAngle, ToesEndAngle);
	const TPair<FRigElementKey, float> Rolls[] = {{Heel, HeelAngle}, {ToesEnd, ToesEndAngle}, {Toes, ToesAngle}};
	for (const TPair<FRigElementKey, float>& Roll : Rolls)
	{
		const FVector SideLocal = Hierarchy->GetGlobalTransform(Roll.Key, true).GetRotation().UnrotateVector(SideWorld);
		TurnFromRest(*Hierarchy, Roll.Key, SideLocal, Roll.Value);
	}
}

void FRigUnit_VNReverseFootRoll::Execute()
{
	Solve(ExecuteContext.Hierarchy);
}
