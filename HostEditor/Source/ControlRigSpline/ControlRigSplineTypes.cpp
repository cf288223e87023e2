// The spline curves behind FControlRigSpline: a cubic B-spline (clamped when open, uniform and
// wrapped when closed) or a Catmull-Rom Hermite spline through the points, sampled evenly in their
// parameter; every query of the spline reads the samples.
#include "ControlRigSplineTypes.h"

namespace
{
	/** The degree of both curve kinds. */
	constexpr uint16 SplineDegree = 3;

	/** The Catmull-Rom tension: a point's tangent is this share of the step between its neighbours. */
	constexpr double HermiteTension = 0.5;
}

/** A curve over control points whose parameter runs from 0 to 1. */
class ControlRigBaseSpline
{
public:
	ControlRigBaseSpline(const TArrayView<const FVector>& InControlPoints, uint16 InDegree, bool bInClosed)
		: ControlPoints(InControlPoints.GetData(), InControlPoints.Num())
		, Degree(InDegree)
		, bClosed(bInClosed)
	{
	}

	virtual ~ControlRigBaseSpline() = default;

	/** Moves the control points; the curve keeps the count it was built with. */
	virtual void SetControlPoints(const TArrayView<const FVector>& InControlPoints)
	{
		ControlPoints = TArray<FVector>(InControlPoints.GetData(), InControlPoints.Num());
	}

	/** Returns the curve's point at Param in [0, 1] (clamped). */
	virtual FVector GetPointAtParam(float Param) = 0;

protected:
	TArray<FVector> ControlPoints;
	uint16 Degree;
	bool bClosed;
};

/**
 * A B-spline evaluated with de Boor's algorithm. Open, it is clamped: it starts at the first point
 * and ends at the last. Closed, its points repeat around the loop and its knots are uniform, so
 * that the curve joins itself smoothly.
 */
class ControlRigBSpline : public ControlRigBaseSpline
{
public:
	ControlRigBSpline(const TArrayView<const FVector>& InControlPoints, const uint16 InDegree, bool bInClosed)
		: ControlRigBaseSpline(InControlPoints, InDegree, bInClosed)
	{
		SetControlPoints(InControlPoints);
	}

	virtual void SetControlPoints(const TArrayView<const FVector>& InControlPoints) override
	{
		const int32 Count = InControlPoints.Num();
		if (!bClosed)
		{
			ControlRigBaseSpline::SetControlPoints(InControlPoints);
		}
		else
		{
			// Degree more points than given, starting half a degree back, so that every span of the
			// loop has its full set of neighbours.
			ControlPoints.Reset(Count + Degree);
			const int32 Start = Count - (Degree + 1) / 2 + 1;
			for (int32 Index = 0; Index < Count + Degree; ++Index)
			{
				ControlPoints.Add(InControlPoints[(Start + Index) % Count]);
			}
		}
		BuildKnotVector();
	}

	virtual FVector GetPointAtParam(float Param) override
	{
		const int32 LastPoint = ControlPoints.Num() - 1;
		// Stays inside the curve's knot span, off its ends, where a span lookup would be ambiguous.
		const float Low = KnotVector[Degree] + UE_KINDA_SMALL_NUMBER;
		const float High = KnotVector[LastPoint + 1] - UE_KINDA_SMALL_NUMBER;
		const float T = FMath::Lerp(Low, High, FMath::Clamp(Param, 0.f, 1.f));

		int32 Span = Degree;
		while (Span < LastPoint && KnotVector[Span + 1] <= T)
		{
			++Span;
		}

		TArray<FVector> Points;
		Points.Reserve(Degree + 1);
		for (int32 Index = 0; Index <= Degree; ++Index)
		{
			Points.Add(ControlPoints[Span - Degree + Index]);
		}
		for (int32 Level = 1; Level <= Degree; ++Level)
		{
			for (int32 Index = Degree; Index >= Level; --Index)
			{
				const int32 Knot = Span - Degree + Index;
				const float Denominator = KnotVector[Knot + Degree + 1 - Level] - KnotVector[Knot];
				const float Alpha = Denominator > 0.f ? (T - KnotVector[Knot]) / Denominator : 0.f;
				Points[Index] = Points[Index - 1] * (1.0 - Alpha) + Points[Index] * Alpha;
			}
		}
		return Points[Degree];
	}

protected:
	/** Points + degree + 1 knots: clamped with evenly spaced inner knots when open, uniform when closed. */
	void BuildKnotVector()
	{
		const int32 LastPoint = ControlPoints.Num() - 1;
		const int32 LastKnot = LastPoint + Degree + 1;
		KnotVector.Reset(LastKnot + 1);
		for (int32 Index = 0; Index <= LastKnot; ++Index)
		{
			if (bClosed)
			{
				KnotVector.Add((float)Index / (float)LastKnot);
			}
			else if (Index <= Degree)
			{
				KnotVector.Add(0.f);
			}
			else if (Index > LastPoint)
			{
				KnotVector.Add(1.f);
			}
			else
			{
				KnotVector.Add((float)(Index - Degree) / (float)(LastPoint - Degree + 1));
			}
		}
	}

	TArray<float> KnotVector;
};

/**
 * A Catmull-Rom spline: it passes through every point, each tangent half the step between the
 * point's neighbours. Open, the ends get a mirrored neighbour so that the curve starts at the first
 * point and ends at the last; the parameter is split evenly over the segments.
 */
class ControlRigHermite : public ControlRigBaseSpline
{
public:
	ControlRigHermite(const TArrayView<const FVector>& InControlPoints, bool bInClosed)
		: ControlRigBaseSpline(InControlPoints, SplineDegree, bInClosed)
	{
		SetControlPoints(InControlPoints);
	}

	virtual void SetControlPoints(const TArrayView<const FVector>& InControlPoints) override
	{
		ControlRigBaseSpline::SetControlPoints(InControlPoints);
		if (!bClosed)
		{
			const int32 Last = ControlPoints.Num() - 1;
			const FVector Before = ControlPoints[0] * 2.0 - ControlPoints[1];
			const FVector After = ControlPoints[Last] * 2.0 - ControlPoints[Last - 1];
			ControlPoints.Insert(Before, 0);
			ControlPoints.Add(After);
		}
	}

	virtual FVector GetPointAtParam(float Param) override
	{
		// Open: the points between the two added ends; closed: every point, the last segment back to the first.
		const int32 Count = bClosed ? ControlPoints.Num() : ControlPoints.Num() - 2;
		const int32 Segments = bClosed ? Count : Count - 1;
		const float Scaled = FMath::Clamp(Param, 0.f, 1.f) * (float)Segments;
		const int32 Segment = FMath::Clamp(FMath::FloorToInt(Scaled), 0, Segments - 1);
		const double T = Scaled - (float)Segment;

		const int32 First = bClosed ? Segment : Segment + 1;
		const FVector& Previous = PointAt(First - 1);
		const FVector& Start = PointAt(First);
		const FVector& End = PointAt(First + 1);
		const FVector& Next = PointAt(First + 2);
		const FVector StartTangent = (End - Previous) * HermiteTension;
		const FVector EndTangent = (Next - Start) * HermiteTension;

		const double T2 = T * T;
		const double T3 = T2 * T;
		return Start * (2.0 * T3 - 3.0 * T2 + 1.0) + StartTangent * (T3 - 2.0 * T2 + T) + End * (-2.0 * T3 + 3.0 * T2) + EndTangent * (T3 - T2);
	}

private:
	/** The control point at Index, around the loop when closed. */
	const FVector& PointAt(int32 Index) const
	{
		const int32 Count = ControlPoints.Num();
		return ControlPoints[bClosed ? ((Index % Count) + Count) % Count : Index];
	}
};

FControlRigSplineImpl::~FControlRigSplineImpl()
{
	delete Spline;
}

void FControlRigSpline::SetControlPoints(const TArrayView<const FVector>& InPoints, const ESplineType SplineMode, const bool bInClosed, const int32 SamplesPerSegment, const float Compression,
	const float Stretch)
{
	if (InPoints.Num() < 4 || SamplesPerSegment < 1 || (SplineMode != ESplineType::BSpline && SplineMode != ESplineType::Hermite))
	{
		return;
	}
	if (!SplineData.IsValid())
	{
		SplineData = MakeShared<FControlRigSplineImpl>();
	}
	FControlRigSplineImpl& Data = *SplineData;

	const int32 NumSamples = (InPoints.Num() - 1) * SamplesPerSegment;
	// The same kind of curve over as many points only moves; anything else builds it anew.
	const bool bBuild = !Data.Spline || Data.SplineMode != SplineMode || Data.bClosed != bInClosed || Data.SamplesPerSegment != SamplesPerSegment || Data.SamplesArray.Num() != NumSamples;
	if (bBuild)
	{
		delete Data.Spline;
		Data.Spline = nullptr;
		if (SplineMode == ESplineType::BSpline)
		{
			Data.Spline = new ControlRigBSpline(InPoints, SplineDegree, bInClosed);
		}
		else
		{
			Data.Spline = new ControlRigHermite(InPoints, bInClosed);
		}
	}
	else
	{
		Data.Spline->SetControlPoints(InPoints);
	}
	Data.SplineMode = SplineMode;
	Data.bClosed = bInClosed;
	Data.SamplesPerSegment = SamplesPerSegment;
	Data.Compression = Compression;
	Data.Stretch = Stretch;

	Data.SamplesArray.Reset(NumSamples);
	for (int32 Index = 0; Index < NumSamples; ++Index)
	{
		Data.SamplesArray.Add(FTransform(Data.Spline->GetPointAtParam((float)Index / (float)(NumSamples - 1))));
	}

	if (bBuild)
	{
		Data.InitialLengths.Reset(NumSamples - 1);
		for (int32 Index = 1; Index < NumSamples; ++Index)
		{
			Data.InitialLengths.Add((float)FVector::Distance(Data.SamplesArray[Index - 1].GetLocation(), Data.SamplesArray[Index].GetLocation()));
		}
	}
	else if (Compression > 0.f || Stretch > 0.f)
	{
		// Each step between samples stays within its allowed share of its first length, walking
		// from the start so that later samples follow the corrected ones.
		for (int32 Index = 1; Index < NumSamples; ++Index)
		{
			const FVector From = Data.SamplesArray[Index - 1].GetLocation();
			const FVector Step = Data.SamplesArray[Index].GetLocation() - From;
			const double Length = Step.Size();
			const double Initial = Data.InitialLengths[Index - 1];
			const double Shortest = Compression > 0.f ? Initial * Compression : 0.0;
			const double Longest = Stretch > 0.f ? Initial * Stretch : MAX_dbl;
			if (Length < Shortest || Length > Longest)
			{
				Data.SamplesArray[Index].SetLocation(From + Step.GetSafeNormal() * FMath::Clamp(Length, Shortest, Longest));
			}
		}
	}

	Data.AccumulatedLenth.Reset(NumSamples);
	float Accumulated = 0.f;
	for (int32 Index = 0; Index < NumSamples; ++Index)
	{
		if (Index > 0)
		{
			Accumulated += (float)FVector::Distance(Data.SamplesArray[Index - 1].GetLocation(), Data.SamplesArray[Index].GetLocation());
		}
		Data.AccumulatedLenth.Add(Accumulated);
	}
}

FVector FControlRigSpline::PositionAtParam(const float InParam) const
{
	if (!SplineData.IsValid() || SplineData->SamplesArray.Num() == 0)
	{
		return FVector::ZeroVector;
	}
	const TArray<FTransform>& Samples = SplineData->SamplesArray;
	const int32 Last = Samples.Num() - 1;
	const float Scaled = FMath::Clamp(InParam, 0.f, 1.f) * (float)Last;
	const int32 Index = FMath::FloorToInt(Scaled);
	if (Index >= Last)
	{
		return Samples[Last].GetLocation();
	}
	return FMath::Lerp(Samples[Index].GetLocation(), Samples[Index + 1].GetLocation(), (double)(Scaled - (float)Index));
}

FVector FControlRigSpline::TangentAtParam(const float InParam) const
{
	if (!SplineData.IsValid() || SplineData->SamplesArray.Num() < 2)
	{
		return FVector::ZeroVector;
	}
	const TArray<FTransform>& Samples = SplineData->SamplesArray;
	const int32 Last = Samples.Num() - 1;
	const int32 Index = FMath::Min(FMath::FloorToInt(FMath::Clamp(InParam, 0.f, 1.f) * (float)Last), Last - 1);
	return Samples[Index + 1].GetLocation() - Samples[Index].GetLocation();
}
