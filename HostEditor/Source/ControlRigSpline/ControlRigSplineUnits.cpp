// The spline units: a spline built from points, and a chain of items laid along a spline, each
// item aimed at the next.
#include "ControlRigSplineUnits.h"

#include "../ControlRig/Units/RigUnitRunContext.h"
#include "../ControlRig/Units/RigUnitTransformAccess.h"
#include "Rigs/RigHierarchy.h"

namespace
{
	/** Turns Transform so that its Axis (in its own space) points along Target; nothing when either is zero. */
	void AlignAxis(FTransform& Transform, const FVector& Axis, const FVector& Target)
	{
		if (Axis.IsNearlyZero() || Target.IsNearlyZero())
		{
			return;
		}
		const FVector WorldAxis = Transform.TransformVectorNoScale(Axis).GetSafeNormal();
		const FQuat Rotation = FQuat::FindBetweenNormals(WorldAxis, Target.GetSafeNormal());
		Transform.SetRotation((Rotation * Transform.GetRotation()).GetNormalized());
	}

	/**
	 * Where the item BoneLength away from Previous lies along the polyline Curve, searched from the
	 * segment that ends at CurveIndex onwards; CurveIndex moves up to the segment the item is found on.
	 * When no segment reaches that far, the last one is extended.
	 */
	FVector PlaceOnCurve(const TArray<FVector>& Curve, const FVector& Previous, float BoneLength, int32& CurveIndex)
	{
		const FVector& SegmentEnd = Curve[CurveIndex];
		const double EndDistance = FVector::Distance(Previous, SegmentEnd);
		if (EndDistance > BoneLength)
		{
			return FMath::Lerp(Previous, SegmentEnd, BoneLength / EndDistance);
		}

		FVector A = Curve[Curve.Num() - 2];
		FVector B = Curve.Last();
		while (CurveIndex < Curve.Num() - 1)
		{
			++CurveIndex;
			const bool bWithinA = FVector::Distance(Previous, Curve[CurveIndex - 1]) <= BoneLength;
			const bool bWithinB = FVector::Distance(Previous, Curve[CurveIndex]) <= BoneLength;
			if (bWithinA != bWithinB)
			{
				A = Curve[CurveIndex - 1];
				B = Curve[CurveIndex];
				break;
			}
		}

		double DistanceA = FVector::Distance(Previous, A);
		double DistanceB = FVector::Distance(Previous, B);
		if (DistanceA > DistanceB)
		{
			Swap(A, B);
			Swap(DistanceA, DistanceB);
		}
		if (FMath::IsNearlyEqual(DistanceA, DistanceB))
		{
			return A;
		}
		return FMath::Lerp(A, B, ((double)BoneLength - DistanceA) / (DistanceB - DistanceA));
	}

	/**
	 * For each of Count items evenly spread along the chain, the two rotation keys around it (by their
	 * ratios, clamped to [0, 1]) and its eased place between them.
	 */
	void FindRotationKeys(const TArray<FRigUnit_FitChainToCurve_Rotation>& Rotations, ERigVMAnimEasingType EaseType, int32 Count, FRigUnit_FitChainToCurve_WorkData& Data)
	{
		TArray<int32> Order;
		for (int32 Index = 0; Index < Rotations.Num(); ++Index)
		{
			Order.Add(Index);
		}
		const auto RatioOf = [&Rotations](int32 Index) { return FMath::Clamp(Rotations[Index].Ratio, 0.f, 1.f); };
		Order.StableSort([&RatioOf](int32 A, int32 B) { return RatioOf(A) < RatioOf(B); });

		Data.ItemRotationA.SetNumZeroed(Count);
		Data.ItemRotationB.SetNumZeroed(Count);
		Data.ItemRotationT.SetNumZeroed(Count);
		for (int32 Item = 0; Item < Count; ++Item)
		{
			const float T = Count > 1 ? (float)Item / (float)(Count - 1) : 0.f;
			int32 KeyA = T <= RatioOf(Order[0]) ? Order[0] : Order.Last();
			int32 KeyB = KeyA;
			float KeyT = 0.f;
			if (T > RatioOf(Order[0]) && T < RatioOf(Order.Last()))
			{
				for (int32 Next = 1; Next < Order.Num(); ++Next)
				{
					if (RatioOf(Order[Next]) >= T)
					{
						KeyA = Order[Next - 1];
						KeyB = Order[Next];
						KeyT = FRigVMMathLibrary::EaseFloat((T - RatioOf(KeyA)) / (RatioOf(KeyB) - RatioOf(KeyA)), EaseType);
						break;
					}
				}
			}
			Data.ItemRotationA[Item] = KeyA;
			Data.ItemRotationB[Item] = KeyB;
			Data.ItemRotationT[Item] = KeyT;
		}
	}
}

void FRigUnit_ControlRigSplineFromPoints::Execute()
{
	// A new spline every run: one kept from the run before would only have its points moved, held
	// to the lengths of its first points.
	Spline = FControlRigSpline();
	if (Points.Num() < 4)
	{
		RigUnitRunContext::ReportWarning(FString::Printf(TEXT("Cannot create a spline with less than 4 points (%d received)."), Points.Num()));
		return;
	}
	Spline.SetControlPoints(Points, SplineMode, bClosed, SamplesPerSegment, Compression, Stretch);
}

void FRigUnit_FitChainToSplineCurveItemArray::Execute()
{
	URigHierarchy* Hierarchy = ExecuteContext.Hierarchy;
	if (!Hierarchy || !Spline.SplineData.IsValid())
	{
		return;
	}
	FRigUnit_FitChainToCurve_WorkData& Data = WorkData;

	// The chain's segments are measured once, on the first run, and kept: later runs lay the same
	// lengths along the curve wherever the items are then.
	if (Data.CachedItems.Num() == 0 && Items.Num() > 1)
	{
		Data.ChainLength = 0.f;
		for (const FRigElementKey& Item : Items)
		{
			const FCachedRigElement Cached(Item, Hierarchy);
			if (Cached.IsValid())
			{
				Data.CachedItems.Add(Cached);
			}
			else
			{
				RigUnitTransformAccess::ReportMissingItem(TEXT("Fit Chain on Spline Curve"), Item);
			}
		}
		Data.ItemSegments.SetNumZeroed(Data.CachedItems.Num());
		for (int32 Index = 1; Index < Data.CachedItems.Num(); ++Index)
		{
			const FVector From = Hierarchy->GetGlobalTransform(Data.CachedItems[Index - 1].GetKey()).GetLocation();
			const FVector To = Hierarchy->GetGlobalTransform(Data.CachedItems[Index].GetKey()).GetLocation();
			Data.ItemSegments[Index] = (float)FVector::Distance(From, To);
			Data.ChainLength += Data.ItemSegments[Index];
		}
	}
	if (Data.CachedItems.Num() < 2)
	{
		// Looked up again on the next run rather than kept as a chain that cannot be fitted.
		Data.CachedItems.Reset();
		RigUnitRunContext::ReportWarning(TEXT("Didn't find enough bones. You need at least two in the chain!"));
		return;
	}
	const int32 Count = Data.CachedItems.Num();

	const int32 Samples = FMath::Clamp(SamplingPrecision, 4, 64);
	Data.CurvePositions.SetNumZeroed(Samples + 1);
	Data.CurveSegments.SetNumZeroed(Samples + 1);
	float CurveLength = 0.f;
	for (int32 Index = 0; Index < Samples; ++Index)
	{
		const float T = FMath::Lerp(Minimum, Maximum, (float)Index / (float)(Samples - 1));
		Data.CurvePositions[Index] = Spline.PositionAtParam(T);
		if (Index > 0)
		{
			Data.CurveSegments[Index] = (float)FVector::Distance(Data.CurvePositions[Index - 1], Data.CurvePositions[Index]);
			CurveLength += Data.CurveSegments[Index];
		}
	}
	// One more point past the end, along the curve's last direction, for items beyond its end.
	const FVector EndTangent = Spline.TangentAtParam(Maximum);
	Data.CurvePositions[Samples] = Data.CurvePositions[Samples - 1] + EndTangent * Data.ChainLength;
	Data.CurveSegments[Samples] = (float)FVector::Distance(Data.CurvePositions[Samples - 1], Data.CurvePositions[Samples]);

	if (Data.ChainLength < UE_SMALL_NUMBER)
	{
		RigUnitRunContext::ReportWarning(TEXT("The chain has no length - all of the bones are in the sample place!"));
		return;
	}
	if (CurveLength < UE_SMALL_NUMBER)
	{
		RigUnitRunContext::ReportWarning(TEXT("The curve has no length - all of the points are in the sample place!"));
		return;
	}

	Data.ItemPositions.SetNumZeroed(Count);
	Data.ItemPositions[0] = Data.CurvePositions[0];
	int32 CurveIndex = 1;
	for (int32 Index = 1; Index < Count; ++Index)
	{
		float BoneLength = Data.ItemSegments[Index];
		if (Alignment == EControlRigCurveAlignment::Stretched)
		{
			BoneLength *= CurveLength / Data.ChainLength;
		}
		Data.ItemPositions[Index] = PlaceOnCurve(Data.CurvePositions, Data.ItemPositions[Index - 1], BoneLength, CurveIndex);
	}

	if (Rotations.Num() > 0)
	{
		FindRotationKeys(Rotations, RotationEaseType, Count, Data);
	}

	// A weight below one blends from the pose the items had before this unit moved any of them.
	TArray<FTransform> Before;
	for (const FCachedRigElement& Item : Data.CachedItems)
	{
		Before.Add(Hierarchy->GetGlobalTransform(Item.GetKey()));
	}
	const float ClampedWeight = FMath::Clamp(Weight, 0.f, 1.f);
	// With rotation keys the children follow when the keys are applied, below.
	const bool bPropagateNow = bPropagateToChildren && Rotations.Num() == 0;
	for (int32 Index = 0; Index < Count; ++Index)
	{
		const FRigElementKey& Key = Data.CachedItems[Index].GetKey();
		const FVector& Position = Data.ItemPositions[Index];
		FTransform Transform = Hierarchy->GetGlobalTransform(Key);
		Transform.SetTranslation(Position);

		const FVector Target = Index < Count - 1 ? Data.ItemPositions[Index + 1] - Position : Position - Data.ItemPositions[Index - 1];
		AlignAxis(Transform, PrimaryAxis, Target);
		if (!SecondaryAxis.IsNearlyZero())
		{
			const FVector Primary = Transform.TransformVectorNoScale(PrimaryAxis).GetSafeNormal();
			FVector Pole = PoleVectorPosition - Position;
			Pole -= (Pole | Primary) * Primary;
			AlignAxis(Transform, SecondaryAxis, Pole);
		}

		if (Weight < 1.f - UE_SMALL_NUMBER)
		{
			Transform = RigUnitTransformAccess::Lerp(Before[Index], Transform, ClampedWeight);
		}
		Hierarchy->SetGlobalTransform(Key, Transform, false, bPropagateNow);
	}

	if (Rotations.Num() > 0)
	{
		Data.ItemLocalTransforms.Reset(Count);
		for (const FCachedRigElement& Item : Data.CachedItems)
		{
			Data.ItemLocalTransforms.Add(Hierarchy->GetLocalTransform(Item.GetKey()));
		}
		for (int32 Index = 0; Index < Count; ++Index)
		{
			const FRigElementKey& Key = Data.CachedItems[Index].GetKey();
			const FQuat KeyRotation = FQuat::Slerp(Rotations[Data.ItemRotationA[Index]].Rotation, Rotations[Data.ItemRotationB[Index]].Rotation, (double)Data.ItemRotationT[Index]);
			FTransform Transform = Data.ItemLocalTransforms[Index] * RigUnitTransformAccess::ParentGlobal(*Hierarchy, Key, false);
			const FQuat Rotation = Transform.GetRotation();
			Transform.SetRotation(FQuat::Slerp(Rotation, Rotation * KeyRotation, (double)ClampedWeight));
			Hierarchy->SetGlobalTransform(Key, Transform, false, bPropagateToChildren);
		}
	}
}
