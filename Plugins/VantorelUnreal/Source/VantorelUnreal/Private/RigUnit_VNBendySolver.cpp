#include "RigUnit_VNBendySolver.h"

#include "Rigs/RigHierarchy.h"

namespace
{
	/** The offset of a control from its space null, in world space; zero when either is missing. */
	FVector BendOf(const URigHierarchy& Hierarchy, const FName& Control, const FName& Space)
	{
		const FRigElementKey ControlKey(Control, ERigElementType::Control);
		const FRigElementKey SpaceKey(Space, ERigElementType::Null);
		if (Control.IsNone() || !Hierarchy.Contains(ControlKey) || !Hierarchy.Contains(SpaceKey))
		{
			return FVector::ZeroVector;
		}
		return Hierarchy.GetGlobalTransform(ControlKey, false).GetTranslation() - Hierarchy.GetGlobalTransform(SpaceKey, false).GetTranslation();
	}
}

FVector FRigUnit_VNBendySolver::BendAt(const FVNBendySegment& Segment, const TArray<FVector>& HandleBends, const FVector& MasterBend, float Parameter)
{
	FVector Result = FVector::ZeroVector;
	// Handles in order along the segment; the bend is linear between neighbours and constant past
	// the outermost ones.
	TArray<int32> Order;
	for (int32 Index = 0; Index < Segment.Handles.Num() && Index < HandleBends.Num(); ++Index)
	{
		Order.Add(Index);
	}
	Order.Sort([&Segment](int32 A, int32 B) { return Segment.Handles[A].Parameter < Segment.Handles[B].Parameter; });
	if (Order.Num() > 0)
	{
		if (Parameter <= Segment.Handles[Order[0]].Parameter)
		{
			Result = HandleBends[Order[0]];
		}
		else if (Parameter >= Segment.Handles[Order.Last()].Parameter)
		{
			Result = HandleBends[Order.Last()];
		}
		else
		{
			for (int32 Step = 1; Step < Order.Num(); ++Step)
			{
				const float Low = Segment.Handles[Order[Step - 1]].Parameter;
				const float High = Segment.Handles[Order[Step]].Parameter;
				if (Parameter <= High)
				{
					const double Alpha = High - Low > UE_KINDA_SMALL_NUMBER ? (Parameter - Low) / (High - Low) : 1.0;
					Result = FMath::Lerp(HandleBends[Order[Step - 1]], HandleBends[Order[Step]], Alpha);
					break;
				}
			}
		}
	}
	if (!Segment.Master.IsNone())
	{
		const double Peak = FMath::Clamp((double)Segment.MasterParameter, 0.0, 1.0);
		const double Place = FMath::Clamp((double)Parameter, 0.0, 1.0);
		double Weight = 0.0;
		if (Place <= Peak)
		{
			Weight = Peak > UE_KINDA_SMALL_NUMBER ? Place / Peak : 1.0;
		}
		else
		{
			Weight = Peak < 1.0 - UE_KINDA_SMALL_NUMBER ? (1.0 - Place) / (1.0 - Peak) : 1.0;
		}
		Result += MasterBend * Weight;
	}
	return Result;
}

void FRigUnit_VNBendySolver::Solve(URigHierarchy* Hierarchy) const
{
	if (!Hierarchy)
	{
		return;
	}
	if (bRestore)
	{
		for (const FName& Bone : SnapshotBones)
		{
			const FRigElementKey BoneKey(Bone, ERigElementType::Bone);
			const FRigElementKey Base(FName(*(FString(TEXT("VNBendBase_")) + Bone.ToString())), ERigElementType::Null);
			if (Hierarchy->Contains(BoneKey) && Hierarchy->Contains(Base))
			{
				Hierarchy->SetLocalTransform(BoneKey, Hierarchy->GetLocalTransform(Base, false), false, true);
			}
		}
		return;
	}
	for (const FVNBendySegment& Segment : Segments)
	{
		TArray<FVector> HandleBends;
		for (const FVNBendyHandle& Handle : Segment.Handles)
		{
			HandleBends.Add(BendOf(*Hierarchy, Handle.Control, Handle.Space));
		}
		const FVector MasterBend = BendOf(*Hierarchy, Segment.Master, Segment.MasterSpace);
		// Read every bone before moving any, so that each moves by its own bend only.
		TArray<TPair<FRigElementKey, FTransform>> Moves;
		for (int32 Index = 0; Index < Segment.Bones.Num(); ++Index)
		{
			const FRigElementKey Bone(Segment.Bones[Index], ERigElementType::Bone);
			if (!Hierarchy->Contains(Bone))
			{
				continue;
			}
			const float Parameter = Segment.Parameters.IsValidIndex(Index) ? Segment.Parameters[Index] : 0.0f;
			FTransform Global = Hierarchy->GetGlobalTransform(Bone, false);
			Global.AddToTranslation(BendAt(Segment, HandleBends, MasterBend, Parameter));
			Moves.Add(TPair<FRigElementKey, FTransform>(Bone, Global));
		}
		for (const TPair<FRigElementKey, FTransform>& Move : Moves)
		{
			Hierarchy->SetGlobalTransform(Move.Key, Move.Value, false, false);
		}
	}
}

void FRigUnit_VNBendySolver::Execute()
{
	Solve(ExecuteContext.Hierarchy);
}
