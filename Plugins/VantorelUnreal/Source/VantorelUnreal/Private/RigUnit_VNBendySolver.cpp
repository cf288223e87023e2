#include "RigUnit_VNBendySolver.h"

#include "Rigs/RigHierarchy.h"

namespace
{
	/** How far a control is from Carried, the place the limb carries its space to, in world space;
	 *  zero when the control or its space is missing. */
	FVector BendOf(const URigHierarchy& Hierarchy, const FName& Control, const FName& Space, const FVector& Carried)
	{
		const FRigElementKey ControlKey(Control, ERigElementType::Control);
		const FRigElementKey SpaceKey(Space, ERigElementType::Null);
		if (Control.IsNone() || !Hierarchy.Contains(ControlKey) || !Hierarchy.Contains(SpaceKey))
		{
			return FVector::ZeroVector;
		}
		return Hierarchy.GetGlobalTransform(ControlKey, false).GetTranslation() - Carried;
	}

	FName SpaceOf(const FName& Control)
	{
		return FName(*(FString(TEXT("VNBendSpace_")) + Control.ToString()));
	}

	/** How the segment's bone nearest Parameter has moved from its initial pose, as the transform that
	 *  takes its initial global transform to its current one; identity without bones. */
	FTransform FollowAt(const URigHierarchy& Hierarchy, const FVNBendySegment& Segment, float Parameter)
	{
		FRigElementKey Nearest;
		double NearestDistance = -1.0;
		for (int32 Index = 0; Index < Segment.Bones.Num(); ++Index)
		{
			const FRigElementKey Bone(Segment.Bones[Index], ERigElementType::Bone);
			const double Place = Segment.Parameters.IsValidIndex(Index) ? Segment.Parameters[Index] : 0.0;
			const double Distance = FMath::Abs(Place - Parameter);
			if (Hierarchy.Contains(Bone) && (NearestDistance < 0.0 || Distance < NearestDistance))
			{
				Nearest = Bone;
				NearestDistance = Distance;
			}
		}
		if (!Nearest.IsValid())
		{
			return FTransform::Identity;
		}
		return Hierarchy.GetGlobalTransform(Nearest, true).Inverse() * Hierarchy.GetGlobalTransform(Nearest, false);
	}

	/** Puts a handle's space null where the limb has taken its initial place (its control comes
	 *  along); returns that place, the origin when the space is missing. */
	FVector PlaceSpace(URigHierarchy& Hierarchy, const FName& Space, const FTransform& Follow)
	{
		const FRigElementKey SpaceKey(Space, ERigElementType::Null);
		if (Space.IsNone() || !Hierarchy.Contains(SpaceKey))
		{
			return FVector::ZeroVector;
		}
		const FTransform Carried = Hierarchy.GetGlobalTransform(SpaceKey, true) * Follow;
		Hierarchy.SetGlobalTransform(SpaceKey, Carried, false, true);
		return Carried.GetTranslation();
	}

	/** Carries a handle's space with its positional parent control (a zero handle), keeping the place
	 *  the space had relative to the parent at rest. */
	void PlaceUnderParent(URigHierarchy& Hierarchy, const FName& Space, const FName& ParentControl)
	{
		const FRigElementKey SpaceKey(Space, ERigElementType::Null);
		const FRigElementKey ParentKey(ParentControl, ERigElementType::Control);
		const FRigElementKey ParentSpaceKey(SpaceOf(ParentControl), ERigElementType::Null);
		if (Space.IsNone() || !Hierarchy.Contains(SpaceKey) || !Hierarchy.Contains(ParentKey) || !Hierarchy.Contains(ParentSpaceKey))
		{
			return;
		}
		const FTransform AtRest = Hierarchy.GetGlobalTransform(SpaceKey, true) * Hierarchy.GetGlobalTransform(ParentSpaceKey, true).Inverse();
		Hierarchy.SetGlobalTransform(SpaceKey, AtRest * Hierarchy.GetGlobalTransform(ParentKey, false), false, true);
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

	// The handles travel with the limb first, so that a bend is read in the limb's frame. A handle's
	// bend is how far its control is from where the limb alone would carry it: a handle that its zero
	// handle carries bends by the zero handle's move as well as by its own.
	TArray<TArray<FVector>> SegmentHandleBends;
	TArray<FVector> MasterBends;
	for (const FVNBendySegment& Segment : Segments)
	{
		TArray<FVector>& HandleBends = SegmentHandleBends.AddDefaulted_GetRef();
		for (const FVNBendyHandle& Handle : Segment.Handles)
		{
			const FTransform Follow = FollowAt(*Hierarchy, Segment, Handle.Parameter);
			const FVector Carried = PlaceSpace(*Hierarchy, Handle.Space, Follow);
			if (!Handle.ParentControl.IsNone())
			{
				PlaceSpace(*Hierarchy, SpaceOf(Handle.ParentControl), Follow);
				PlaceUnderParent(*Hierarchy, Handle.Space, Handle.ParentControl);
			}
			HandleBends.Add(BendOf(*Hierarchy, Handle.Control, Handle.Space, Carried));
		}
		const FVector MasterCarried = PlaceSpace(*Hierarchy, Segment.MasterSpace, FollowAt(*Hierarchy, Segment, Segment.MasterParameter));
		MasterBends.Add(BendOf(*Hierarchy, Segment.Master, Segment.MasterSpace, MasterCarried));
	}

	// A bone that two segments share (the elbow ends the upper arm and starts the forearm) moves once,
	// by the mean of what the segments give it.
	TMap<FRigElementKey, TPair<FVector, int32>> Displacements;
	for (int32 SegmentIndex = 0; SegmentIndex < Segments.Num(); ++SegmentIndex)
	{
		const FVNBendySegment& Segment = Segments[SegmentIndex];
		for (int32 Index = 0; Index < Segment.Bones.Num(); ++Index)
		{
			const FRigElementKey Bone(Segment.Bones[Index], ERigElementType::Bone);
			if (!Hierarchy->Contains(Bone))
			{
				continue;
			}
			const float Parameter = Segment.Parameters.IsValidIndex(Index) ? Segment.Parameters[Index] : 0.0f;
			TPair<FVector, int32>& Sum = Displacements.FindOrAdd(Bone, TPair<FVector, int32>(FVector::ZeroVector, 0));
			Sum.Key += BendAt(Segment, SegmentHandleBends[SegmentIndex], MasterBends[SegmentIndex], Parameter);
			Sum.Value += 1;
		}
	}
	TArray<TPair<int32, TPair<FRigElementKey, FTransform>>> Moves;
	for (const TPair<FRigElementKey, TPair<FVector, int32>>& Entry : Displacements)
	{
		FTransform Global = Hierarchy->GetGlobalTransform(Entry.Key, false);
		Global.AddToTranslation(Entry.Value.Key * (1.0 / double(Entry.Value.Value)));
		Moves.Add(TPair<int32, TPair<FRigElementKey, FTransform>>(Hierarchy->GetIndex(Entry.Key), TPair<FRigElementKey, FTransform>(Entry.Key, Global)));
	}
	// Parents first, each carrying its children: the bones after a segment (the hand after the forearm)
	// go along with its last bone, and every segment bone then takes its own place.
	Moves.Sort([](const TPair<int32, TPair<FRigElementKey, FTransform>>& A, const TPair<int32, TPair<FRigElementKey, FTransform>>& B) { return A.Key < B.Key; });
	for (const TPair<int32, TPair<FRigElementKey, FTransform>>& Move : Moves)
	{
		Hierarchy->SetGlobalTransform(Move.Value.Key, Move.Value.Value, false, true);
	}
}

void FRigUnit_VNBendySolver::Execute()
{
	Solve(ExecuteContext.Hierarchy);
}
