// Control Rig splines and the units that use them: the curves a spline is built as (checked against
// the Bernstein form, the Cox-de Boor basis and the Catmull-Rom matrix form written here), its
// samples and queries, the Spline From Points unit, and the Fit Chain on Spline Curve unit on small
// chains of bones.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "ControlRigSplineTypes.h"
#include "ControlRigSplineUnits.h"
#include "CoreMinimal.h"
#include "HostEditorSupport/LogCapture.h"
#include "Rigs/RigHierarchy.h"
#include "Rigs/RigHierarchyController.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"

namespace
{
	/** How far inside its knot span the B-spline's parameter ends are taken. */
	constexpr double SpanInset = 1.0e-4;

	::testing::AssertionResult Near(const FVector& Actual, const FVector& Expected, double Tolerance)
	{
		if (Actual.Equals(Expected, Tolerance))
		{
			return ::testing::AssertionSuccess();
		}
		return ::testing::AssertionFailure() << "(" << Actual.X << ", " << Actual.Y << ", " << Actual.Z << ") is not (" << Expected.X << ", " << Expected.Y << ", "
											 << Expected.Z << ") within " << Tolerance;
	}

	FVector Lerp(const FVector& A, const FVector& B, double T)
	{
		return A + (B - A) * T;
	}

	/** The cubic Bezier curve of four points at T, in Bernstein form. */
	FVector Bezier(const TArray<FVector>& P, double T)
	{
		const double S = 1.0 - T;
		return P[0] * (S * S * S) + P[1] * (3.0 * S * S * T) + P[2] * (3.0 * S * T * T) + P[3] * (T * T * T);
	}

	/** The Cox-de Boor recursion: basis function I of degree Degree over Knots at T (0/0 taken as 0). */
	double Basis(int32 I, int32 Degree, double T, const std::vector<double>& Knots)
	{
		if (Degree == 0)
		{
			return Knots[I] <= T && T < Knots[I + 1] ? 1.0 : 0.0;
		}
		double Value = 0.0;
		const double Left = Knots[I + Degree] - Knots[I];
		if (Left > 0.0)
		{
			Value += (T - Knots[I]) / Left * Basis(I, Degree - 1, T, Knots);
		}
		const double Right = Knots[I + Degree + 1] - Knots[I + 1];
		if (Right > 0.0)
		{
			Value += (Knots[I + Degree + 1] - T) / Right * Basis(I + 1, Degree - 1, T, Knots);
		}
		return Value;
	}

	/** A B-spline point as the basis-weighted sum of its control points. */
	FVector BSplinePoint(const TArray<FVector>& Points, const std::vector<double>& Knots, double T)
	{
		FVector Sum = FVector::ZeroVector;
		for (int32 I = 0; I < Points.Num(); ++I)
		{
			Sum += Points[I] * Basis(I, 3, T, Knots);
		}
		return Sum;
	}

	/** A clamped cubic knot vector: four zeros, the inner knots evenly between, four ones. */
	std::vector<double> ClampedCubicKnots(int32 NumPoints)
	{
		const int32 Inner = NumPoints - 4;
		std::vector<double> Knots(4, 0.0);
		for (int32 J = 1; J <= Inner; ++J)
		{
			Knots.push_back((double)J / (double)(Inner + 1));
		}
		Knots.insert(Knots.end(), 4, 1.0);
		return Knots;
	}

	/** The curve parameter a spline parameter U stands for: U spread over [First, Last], inset at both ends. */
	double InsetParam(double U, double First, double Last)
	{
		return (First + SpanInset) + U * ((Last - SpanInset) - (First + SpanInset));
	}

	/** The Catmull-Rom segment from P1 to P2 at S, in matrix form. */
	FVector CatmullRom(const FVector& P0, const FVector& P1, const FVector& P2, const FVector& P3, double S)
	{
		return (P1 * 2.0 + (P2 - P0) * S + (P0 * 2.0 - P1 * 5.0 + P2 * 4.0 - P3) * (S * S) + (P1 * 3.0 - P0 - P2 * 3.0 + P3) * (S * S * S)) * 0.5;
	}

	/** The parameter of sample Index of Count, as the spline spaces them. */
	double SampleParam(int32 Index, int32 Count)
	{
		return (double)((float)Index / (float)(Count - 1));
	}

	FControlRigSpline MakeSpline(const TArray<FVector>& Points, ESplineType Mode, int32 SamplesPerSegment = 16, bool bClosed = false)
	{
		FControlRigSpline Spline;
		Spline.SetControlPoints(Points, Mode, bClosed, SamplesPerSegment, 0.f, 0.f);
		return Spline;
	}

	/** The length of the polyline through Points. */
	double PolylineLength(const TArray<FVector>& Points)
	{
		double Length = 0.0;
		for (int32 I = 1; I < Points.Num(); ++I)
		{
			Length += FVector::Distance(Points[I - 1], Points[I]);
		}
		return Length;
	}

	/** The nearest distance from Point to a curve, found over many of its points. */
	double DistanceToCurve(const FVector& Point, const std::function<FVector(double)>& Curve)
	{
		double Nearest = MAX_dbl;
		for (int32 I = 0; I <= 20000; ++I)
		{
			Nearest = FMath::Min(Nearest, FVector::Distance(Point, Curve(I / 20000.0)));
		}
		return Nearest;
	}

	const TArray<FVector> BezierPoints = {FVector(0, 0, 0), FVector(30, 0, 40), FVector(70, 10, 40), FVector(100, 0, 0)};
	const TArray<FVector> ZigZag = {FVector(0, 0, 0), FVector(10, 20, 0), FVector(25, 25, 5), FVector(40, 10, 10), FVector(50, -5, 5), FVector(65, 0, 0), FVector(80, 10, -5)};

	TArray<FVector> FirstPoints(const TArray<FVector>& Points, int32 Count)
	{
		return TArray<FVector>(Points.GetData(), Count);
	}

	TArray<FVector> PointsAlongX(int32 Count, double Spacing)
	{
		TArray<FVector> Points;
		for (int32 I = 0; I < Count; ++I)
		{
			Points.Add(FVector(I * Spacing, 0, 0));
		}
		return Points;
	}

	TArray<FVector> SamplePositions(const FControlRigSpline& Spline)
	{
		TArray<FVector> Positions;
		for (const FTransform& Sample : Spline.SplineData->SamplesArray)
		{
			Positions.Add(Sample.GetLocation());
		}
		return Positions;
	}
}

// ---------------------------------------------------------------------------------------------
// The spline's curves

TEST(ControlRigSpline, AnOpenBSplineOfFourPointsIsTheirCubicBezier)
{
	const FControlRigSpline Spline = MakeSpline(BezierPoints, ESplineType::BSpline);
	const int32 Count = 3 * 16;
	for (const int32 Sample : {0, 1, 7, 20, 24, 33, 46, 47})
	{
		const double U = SampleParam(Sample, Count);
		EXPECT_TRUE(Near(Spline.PositionAtParam((float)U), Bezier(BezierPoints, InsetParam(U, 0.0, 1.0)), 1e-3)) << "sample " << Sample;
	}
	// Between two samples the position runs straight from one to the other.
	const double U10 = SampleParam(10, Count);
	const double U11 = SampleParam(11, Count);
	const FVector Expected = Lerp(Bezier(BezierPoints, InsetParam(U10, 0.0, 1.0)), Bezier(BezierPoints, InsetParam(U11, 0.0, 1.0)), 0.25);
	EXPECT_TRUE(Near(Spline.PositionAtParam((float)(U10 + 0.25 * (U11 - U10))), Expected, 1e-3));
}

class ControlRigSplineOpenBSpline : public ::testing::TestWithParam<int32>
{
};

TEST_P(ControlRigSplineOpenBSpline, FollowsTheCoxDeBoorBasisAtEverySample)
{
	const TArray<FVector> Points = FirstPoints(ZigZag, GetParam());
	const FControlRigSpline Spline = MakeSpline(Points, ESplineType::BSpline);
	const std::vector<double> Knots = ClampedCubicKnots(Points.Num());
	const int32 Count = (Points.Num() - 1) * 16;
	ASSERT_EQ(Spline.SplineData->SamplesArray.Num(), Count);
	for (int32 Sample = 0; Sample < Count; ++Sample)
	{
		const double U = SampleParam(Sample, Count);
		EXPECT_TRUE(Near(Spline.PositionAtParam((float)U), BSplinePoint(Points, Knots, InsetParam(U, 0.0, 1.0)), 1e-3)) << "sample " << Sample;
	}
}

TEST_P(ControlRigSplineOpenBSpline, StartsAtTheFirstPointAndEndsAtTheLastOutsideTheParameterRange)
{
	const TArray<FVector> Points = FirstPoints(ZigZag, GetParam());
	const FControlRigSpline Spline = MakeSpline(Points, ESplineType::BSpline);
	// The ends are taken a ten-thousandth inside the knot span, a few hundredths of a unit here.
	EXPECT_TRUE(Near(Spline.PositionAtParam(0.f), Points[0], 0.05));
	EXPECT_TRUE(Near(Spline.PositionAtParam(1.f), Points.Last(), 0.05));
	EXPECT_EQ(Spline.PositionAtParam(-3.f), Spline.PositionAtParam(0.f));
	EXPECT_EQ(Spline.PositionAtParam(7.f), Spline.PositionAtParam(1.f));
}

INSTANTIATE_TEST_SUITE_P(FiveToSevenPoints, ControlRigSplineOpenBSpline, ::testing::Values(5, 6, 7));

TEST(ControlRigSpline, AClosedBSplineRunsItsPointsAroundALoopThatJoinsItself)
{
	const TArray<FVector> Points = FirstPoints(ZigZag, 5);
	const int32 N = Points.Num();
	const FControlRigSpline Spline = MakeSpline(Points, ESplineType::BSpline, 16, true);

	// A uniform cubic B-spline joins its spans at (previous + 4 * point + next) / 6; the loop
	// starts and ends at the joint around the first point (up to the inset of its parameter ends,
	// a few hundredths of a unit here).
	const FVector Joint = (Points[N - 1] + Points[0] * 4.0 + Points[1]) / 6.0;
	EXPECT_TRUE(Near(Spline.PositionAtParam(0.f), Joint, 0.05));
	EXPECT_TRUE(Near(Spline.PositionAtParam(1.f), Joint, 0.05));

	// In between it is the B-spline of the points taken round once more (the last point first),
	// over uniform knots.
	TArray<FVector> Loop;
	for (int32 I = 0; I < N + 3; ++I)
	{
		Loop.Add(Points[(N - 1 + I) % N]);
	}
	std::vector<double> Knots;
	const int32 LastKnot = Loop.Num() + 3;
	for (int32 I = 0; I <= LastKnot; ++I)
	{
		Knots.push_back((double)I / LastKnot);
	}
	const int32 Count = (N - 1) * 16;
	for (const int32 Sample : {0, 5, 17, 32, 40, 63})
	{
		const double U = SampleParam(Sample, Count);
		EXPECT_TRUE(Near(Spline.PositionAtParam((float)U), BSplinePoint(Loop, Knots, InsetParam(U, Knots[3], Knots[Loop.Num()])), 1e-3)) << "sample " << Sample;
	}
}

TEST(ControlRigSpline, AHermiteSplinePassesThroughEveryPointAsACatmullRomCurve)
{
	const TArray<FVector> Points = FirstPoints(ZigZag, 5);
	const int32 Segments = Points.Num() - 1;
	const FControlRigSpline Spline = MakeSpline(Points, ESplineType::Hermite, 64);

	EXPECT_TRUE(Near(Spline.PositionAtParam(0.f), Points[0], 1e-4));
	EXPECT_TRUE(Near(Spline.PositionAtParam(1.f), Points.Last(), 1e-4));
	// The inner points lie between two samples less than half a unit apart: the straight run
	// between them passes within a hundredth of the point.
	for (int32 Point = 1; Point < Segments; ++Point)
	{
		EXPECT_TRUE(Near(Spline.PositionAtParam((float)Point / (float)Segments), Points[Point], 0.01)) << "point " << Point;
	}

	// Each sample on its segment's Catmull-Rom curve, the ends mirrored: P0 - (P1 - P0) and so on.
	TArray<FVector> Extended = Points;
	Extended.Insert(Points[0] - (Points[1] - Points[0]), 0);
	Extended.Add(Points.Last() + (Points.Last() - Points[Segments - 1]));
	const int32 Count = Segments * 64;
	for (const int32 Sample : {3, 64, 100, 150, 200, 255})
	{
		const double Scaled = SampleParam(Sample, Count) * Segments;
		const int32 Segment = FMath::Min((int32)std::floor(Scaled), Segments - 1);
		const FVector Expected = CatmullRom(Extended[Segment], Extended[Segment + 1], Extended[Segment + 2], Extended[Segment + 3], Scaled - Segment);
		EXPECT_TRUE(Near(Spline.PositionAtParam((float)SampleParam(Sample, Count)), Expected, 1e-3)) << "sample " << Sample;
	}
}

TEST(ControlRigSpline, AClosedHermiteSplineLoopsBackToItsFirstPoint)
{
	const TArray<FVector> Points = FirstPoints(ZigZag, 4);
	const FControlRigSpline Spline = MakeSpline(Points, ESplineType::Hermite, 64, true);
	EXPECT_TRUE(Near(Spline.PositionAtParam(0.f), Points[0], 1e-4));
	EXPECT_TRUE(Near(Spline.PositionAtParam(1.f), Points[0], 1e-4));
	// Four segments over the loop: the third point is halfway.
	EXPECT_TRUE(Near(Spline.PositionAtParam(0.5f), Points[2], 0.01));
}

TEST(ControlRigSpline, SamplesSpanTheSegmentsAndAccumulateThePolylineLength)
{
	for (const ESplineType Mode : {ESplineType::BSpline, ESplineType::Hermite})
	{
		const TArray<FVector> Points = FirstPoints(ZigZag, 6);
		const FControlRigSpline Spline = MakeSpline(Points, Mode, 10);
		const FControlRigSplineImpl& Data = *Spline.SplineData;
		EXPECT_EQ(Data.SamplesArray.Num(), 5 * 10);
		ASSERT_EQ(Data.AccumulatedLenth.Num(), Data.SamplesArray.Num());
		EXPECT_EQ(Data.AccumulatedLenth[0], 0.f);
		for (int32 I = 1; I < Data.AccumulatedLenth.Num(); ++I)
		{
			EXPECT_GT(Data.AccumulatedLenth[I], Data.AccumulatedLenth[I - 1]) << I;
		}
		const TArray<FVector> Samples = SamplePositions(Spline);
		EXPECT_NEAR(Data.AccumulatedLenth.Last(), PolylineLength(Samples), 1e-3);
		// The first build's steps are the lengths later moves are held to.
		ASSERT_EQ(Data.InitialLengths.Num(), Samples.Num() - 1);
		EXPECT_NEAR(Data.InitialLengths[7], FVector::Distance(Samples[7], Samples[8]), 1e-4);
	}
}

TEST(ControlRigSpline, TheTangentIsTheUnnormalisedStepToTheNextSample)
{
	// Evenly spaced points on a line make an evenly sampled line: every step is the same.
	const FControlRigSpline Spline = MakeSpline(PointsAlongX(5, 10.0), ESplineType::Hermite, 16);
	const FVector Step(40.0 / 63.0, 0, 0);
	for (const float U : {0.f, 0.3f, 0.5f, 0.99f, 1.f, 2.f})
	{
		EXPECT_TRUE(Near(Spline.TangentAtParam(U), Step, 1e-4)) << U;
	}
	EXPECT_TRUE(Near(Spline.PositionAtParam(0.3f), FVector(12, 0, 0), 1e-4));
}

TEST(ControlRigSpline, TooFewPointsOrSamplesLeaveTheSplineWithoutACurve)
{
	FControlRigSpline Spline;
	Spline.SetControlPoints(FirstPoints(ZigZag, 3), ESplineType::BSpline, false, 16, 0.f, 0.f);
	EXPECT_FALSE(Spline.SplineData.IsValid());
	Spline.SetControlPoints(FirstPoints(ZigZag, 4), ESplineType::Hermite, false, 0, 0.f, 0.f);
	EXPECT_FALSE(Spline.SplineData.IsValid());
	EXPECT_EQ(Spline.PositionAtParam(0.5f), FVector::ZeroVector);
	EXPECT_EQ(Spline.TangentAtParam(0.5f), FVector::ZeroVector);
}

TEST(ControlRigSpline, CopiesShareOneCurveAndMovingItsPointsHoldsTheStepsWithinTheLimits)
{
	FControlRigSpline Spline;
	Spline.SetControlPoints(PointsAlongX(5, 10.0), ESplineType::Hermite, false, 8, 1.f, 1.f);
	const FControlRigSpline Copy = Spline;
	EXPECT_EQ(Copy.SplineData.Get(), Spline.SplineData.Get());

	// The same curve with its points twice as far apart: neither compression nor stretch is
	// allowed, so every step keeps its first length and the curve stays 40 long.
	Spline.SetControlPoints(PointsAlongX(5, 20.0), ESplineType::Hermite, false, 8, 1.f, 1.f);
	EXPECT_NEAR(Copy.SplineData->AccumulatedLenth.Last(), 40.0, 1e-3);
	EXPECT_TRUE(Near(Copy.PositionAtParam(1.f), FVector(40, 0, 0), 1e-3));
	// Stretch up to 1.5 times: each step grows from 40/31 to 60/31 of its first length.
	Spline.SetControlPoints(PointsAlongX(5, 20.0), ESplineType::Hermite, false, 8, 1.f, 1.5f);
	EXPECT_NEAR(Spline.SplineData->AccumulatedLenth.Last(), 60.0, 1e-3);
	// Without limits the moved points are followed.
	Spline.SetControlPoints(PointsAlongX(5, 20.0), ESplineType::Hermite, false, 8, 0.f, 0.f);
	EXPECT_NEAR(Spline.SplineData->AccumulatedLenth.Last(), 80.0, 1e-3);
	// Another point count builds the curve anew, with new first lengths.
	Spline.SetControlPoints(PointsAlongX(6, 20.0), ESplineType::Hermite, false, 8, 1.f, 1.f);
	EXPECT_NEAR(Spline.SplineData->AccumulatedLenth.Last(), 100.0, 1e-3);
	EXPECT_NEAR(Spline.SplineData->InitialLengths[0], 100.0 / 39.0, 1e-4);
}

// ---------------------------------------------------------------------------------------------
// Spline From Points

TEST(SplineFromPoints, FewerThanFourPointsWarnAndLeaveTheSplineEmpty)
{
	HostEditor::FLogCapture Log;
	FRigUnit_ControlRigSplineFromPoints Unit;
	Unit.Points = BezierPoints;
	Unit.Execute();
	ASSERT_TRUE(Unit.Spline.SplineData.IsValid());

	Unit.Points = FirstPoints(BezierPoints, 3);
	Unit.Execute();
	EXPECT_FALSE(Unit.Spline.SplineData.IsValid());
	EXPECT_EQ(Log.Count(TEXT("LogControlRigUnits"), ELogVerbosity::Warning, TEXT("Cannot create a spline with less than 4 points (3 received).")), 1);
}

TEST(SplineFromPoints, EachRunBuildsANewSplineFromItsPoints)
{
	FRigUnit_ControlRigSplineFromPoints Unit;
	Unit.SplineMode = ESplineType::BSpline;
	// Limits that would hold a moved spline to its first lengths: a new one has none to keep.
	Unit.Compression = 1.f;
	Unit.Stretch = 1.f;
	Unit.Points = BezierPoints;
	Unit.Execute();
	const FControlRigSpline First = Unit.Spline;

	TArray<FVector> Moved;
	for (const FVector& Point : BezierPoints)
	{
		Moved.Add(Point * 2.0 + FVector(0, 0, 5));
	}
	Unit.Points = Moved;
	Unit.Execute();
	EXPECT_NE(Unit.Spline.SplineData.Get(), First.SplineData.Get());
	const int32 Count = 3 * 16;
	for (const int32 Sample : {0, 12, 30, 47})
	{
		const double T = InsetParam(SampleParam(Sample, Count), 0.0, 1.0);
		EXPECT_TRUE(Near(Unit.Spline.PositionAtParam((float)SampleParam(Sample, Count)), Bezier(Moved, T), 2e-3)) << "sample " << Sample;
		EXPECT_TRUE(Near(First.PositionAtParam((float)SampleParam(Sample, Count)), Bezier(BezierPoints, T), 1e-3)) << "sample " << Sample;
	}
}

// ---------------------------------------------------------------------------------------------
// Fit Chain on Spline Curve

namespace
{
	/** Five bones B0..B4, each the child of the one before, at the given places and rotation. */
	struct FChain
	{
		URigHierarchy* Hierarchy = NewObject<URigHierarchy>(GetTransientPackage());
		TArray<FRigElementKey> Bones;

		explicit FChain(const TArray<FVector>& Positions, const FQuat& Rotation = FQuat::Identity)
		{
			FRigElementKey Parent;
			for (int32 I = 0; I < Positions.Num(); ++I)
			{
				Parent = Hierarchy->GetController()->AddBone(*FString::Printf(TEXT("B%d"), I), Parent, FTransform(Rotation, Positions[I]), true);
				Bones.Add(Parent);
			}
		}

		FTransform Global(int32 I) const { return Hierarchy->GetGlobalTransform(Bones[I]); }

		/** A fit unit over the whole chain, running on this hierarchy. */
		FRigUnit_FitChainToSplineCurveItemArray Fit(const FControlRigSpline& Spline, EControlRigCurveAlignment Alignment) const
		{
			FRigUnit_FitChainToSplineCurveItemArray Unit;
			Unit.ExecuteContext.Hierarchy = Hierarchy;
			Unit.Items = Bones;
			Unit.Spline = Spline;
			Unit.Alignment = Alignment;
			return Unit;
		}
	};

	/** Where a fitted chain's bones went, and how far apart they are. */
	TArray<double> BoneLengths(const FChain& Chain)
	{
		TArray<double> Lengths;
		for (int32 I = 1; I < Chain.Bones.Num(); ++I)
		{
			Lengths.Add(FVector::Distance(Chain.Global(I - 1).GetLocation(), Chain.Global(I).GetLocation()));
		}
		return Lengths;
	}
}

TEST(FitChainToSplineCurve, AChainOnASplineThroughItStaysWhereItIs)
{
	// Rolled about its length, to show that the roll is kept.
	const FQuat Roll(FVector(1, 0, 0), FMath::DegreesToRadians(30.0));
	FChain Chain(PointsAlongX(5, 10.0), Roll);
	FRigUnit_FitChainToSplineCurveItemArray Unit = Chain.Fit(MakeSpline(PointsAlongX(5, 10.0), ESplineType::Hermite), EControlRigCurveAlignment::Stretched);
	Unit.Execute();
	for (int32 I = 0; I < 5; ++I)
	{
		EXPECT_TRUE(Near(Chain.Global(I).GetLocation(), FVector(10.0 * I, 0, 0), 1e-3)) << "B" << I;
		EXPECT_TRUE(Chain.Global(I).GetRotation().Equals(Roll, 1e-3)) << "B" << I;
	}
}

TEST(FitChainToSplineCurve, StretchedAlignmentSharesTheCurvesLengthAmongTheBones)
{
	FChain Chain(PointsAlongX(5, 10.0));
	FRigUnit_FitChainToSplineCurveItemArray Unit = Chain.Fit(MakeSpline(PointsAlongX(5, 20.0), ESplineType::Hermite), EControlRigCurveAlignment::Stretched);
	Unit.Execute();
	for (int32 I = 0; I < 5; ++I)
	{
		EXPECT_TRUE(Near(Chain.Global(I).GetLocation(), FVector(20.0 * I, 0, 0), 1e-3)) << "B" << I;
	}
	for (const double Length : BoneLengths(Chain))
	{
		EXPECT_NEAR(Length, 20.0, 1e-3);
	}
}

TEST(FitChainToSplineCurve, FrontAlignmentKeepsTheBoneLengthsFromTheCurvesStart)
{
	FChain Chain(PointsAlongX(5, 10.0));
	// The spline starts 5 cm along and runs twice the chain's length.
	TArray<FVector> Points = PointsAlongX(5, 20.0);
	for (FVector& Point : Points)
	{
		Point.X += 5.0;
	}
	FRigUnit_FitChainToSplineCurveItemArray Unit = Chain.Fit(MakeSpline(Points, ESplineType::Hermite), EControlRigCurveAlignment::Front);
	Unit.Execute();
	for (int32 I = 0; I < 5; ++I)
	{
		EXPECT_TRUE(Near(Chain.Global(I).GetLocation(), FVector(5.0 + 10.0 * I, 0, 0), 1e-3)) << "B" << I;
	}
}

TEST(FitChainToSplineCurve, OnACurvedSplineTheBonesShareItsLengthAndAimAtTheirChild)
{
	FChain Chain({FVector(0, 0, 0), FVector(10, 0, 0), FVector(30, 0, 0), FVector(40, 0, 0), FVector(60, 0, 0)});
	FRigUnit_FitChainToSplineCurveItemArray Unit = Chain.Fit(MakeSpline(BezierPoints, ESplineType::BSpline, 64), EControlRigCurveAlignment::Stretched);
	Unit.SamplingPrecision = 64;
	Unit.Execute();

	const auto Curve = [](double U) { return Bezier(BezierPoints, InsetParam(U, 0.0, 1.0)); };
	TArray<FVector> CurveSamples;
	for (int32 I = 0; I < 64; ++I)
	{
		CurveSamples.Add(Curve(I / 63.0));
	}
	const double Scale = PolylineLength(CurveSamples) / 60.0;
	const double RestLengths[] = {10, 20, 10, 20};

	EXPECT_TRUE(Near(Chain.Global(0).GetLocation(), Curve(0.0), 1e-3));
	const TArray<double> Lengths = BoneLengths(Chain);
	for (int32 I = 0; I < 4; ++I)
	{
		// B4's place is found on the long straight run past the curve's end, where the distance
		// along the run is interpolated: a few hundredths off, where the others are thousandths.
		EXPECT_NEAR(Lengths[I], RestLengths[I] * Scale, I < 3 ? 2e-3 : 0.05) << "B" << I << " to B" << I + 1;
		// B4 is left out: it may reach a little past the curve's end, as the bones span chords of the arc.
		EXPECT_LT(DistanceToCurve(Chain.Global(I).GetLocation(), Curve), 0.05) << "B" << I;
	}
	for (int32 I = 0; I < 5; ++I)
	{
		const FVector Along = I < 4 ? Chain.Global(I + 1).GetLocation() - Chain.Global(I).GetLocation() : Chain.Global(4).GetLocation() - Chain.Global(3).GetLocation();
		EXPECT_TRUE(Near(Chain.Global(I).GetUnitAxis(EAxis::X), Along.GetSafeNormal(), 1e-4)) << "B" << I;
	}
}

TEST(FitChainToSplineCurve, APoleTurnsTheSecondaryAxisTowardIt)
{
	FChain Chain(PointsAlongX(5, 10.0));
	FRigUnit_FitChainToSplineCurveItemArray Unit = Chain.Fit(MakeSpline(PointsAlongX(5, 10.0), ESplineType::Hermite), EControlRigCurveAlignment::Stretched);
	Unit.SecondaryAxis = FVector(0, 0, 1);
	Unit.PoleVectorPosition = FVector(20, -50, 50);
	Unit.Execute();
	// The bones still run along X; each one's Z turns to the pole, seen across the bone.
	const FVector TowardPole = FVector(0, -1, 1).GetSafeNormal();
	for (int32 I = 0; I < 5; ++I)
	{
		EXPECT_TRUE(Near(Chain.Global(I).GetUnitAxis(EAxis::X), FVector(1, 0, 0), 1e-4)) << "B" << I;
		EXPECT_TRUE(Near(Chain.Global(I).GetUnitAxis(EAxis::Z), TowardPole, 1e-4)) << "B" << I;
	}
}

TEST(FitChainToSplineCurve, HalfWeightBlendsHalfwayFromThePoseBeforeTheFit)
{
	FChain Chain(PointsAlongX(5, 10.0));
	TArray<FVector> AlongY;
	for (int32 I = 0; I < 5; ++I)
	{
		AlongY.Add(FVector(0, 20.0 * I, 0));
	}
	FRigUnit_FitChainToSplineCurveItemArray Unit = Chain.Fit(MakeSpline(AlongY, ESplineType::Hermite), EControlRigCurveAlignment::Stretched);
	Unit.Weight = 0.5f;
	Unit.Execute();
	// Fully fitted each bone would sit at (0, 20 i, 0), turned a quarter about Z; halfway it sits
	// between that and (10 i, 0, 0), turned an eighth.
	const FQuat Eighth(FVector(0, 0, 1), UE_DOUBLE_PI / 4.0);
	for (int32 I = 0; I < 5; ++I)
	{
		EXPECT_TRUE(Near(Chain.Global(I).GetLocation(), FVector(5.0 * I, 10.0 * I, 0), 1e-3)) << "B" << I;
		EXPECT_TRUE(Chain.Global(I).GetRotation().Equals(Eighth, 1e-4)) << "B" << I << " " << TCHAR_TO_UTF8(*Chain.Global(I).GetRotation().ToString());
	}
}

TEST(FitChainToSplineCurve, TheChainIsMeasuredOnTheFirstRunAndKeepsThoseLengths)
{
	FChain Chain(PointsAlongX(5, 10.0));
	FRigUnit_FitChainToSplineCurveItemArray Unit = Chain.Fit(MakeSpline(PointsAlongX(5, 20.0), ESplineType::Hermite), EControlRigCurveAlignment::Front);
	Unit.Execute();
	EXPECT_FLOAT_EQ(Unit.WorkData.ChainLength, 40.f);

	// Squeezed to half its length between runs, the chain is still laid out with its first lengths.
	for (int32 I = 0; I < 5; ++I)
	{
		Chain.Hierarchy->SetGlobalTransform(Chain.Bones[I], FTransform(FVector(5.0 * I, 3, 0)), false, false);
	}
	Unit.Execute();
	for (int32 I = 0; I < 5; ++I)
	{
		EXPECT_TRUE(Near(Chain.Global(I).GetLocation(), FVector(10.0 * I, 0, 0), 1e-3)) << "B" << I;
	}
	EXPECT_FLOAT_EQ(Unit.WorkData.ChainLength, 40.f);
}

class FitChainToSplineCurveRotations : public ::testing::TestWithParam<ERigVMAnimEasingType>
{
};

TEST_P(FitChainToSplineCurveRotations, KeysTurnEachBoneOnTopOfItsParentByItsPlaceBetweenThem)
{
	FChain Chain(PointsAlongX(5, 10.0));
	FRigUnit_FitChainToSplineCurveItemArray Unit = Chain.Fit(MakeSpline(PointsAlongX(5, 10.0), ESplineType::Hermite), EControlRigCurveAlignment::Stretched);
	// Out of order on purpose: the keys are taken by their ratios.
	FRigUnit_FitChainToCurve_Rotation Full;
	Full.Rotation = FQuat(FVector(1, 0, 0), UE_DOUBLE_PI / 2.0);
	Full.Ratio = 1.f;
	FRigUnit_FitChainToCurve_Rotation None;
	None.Ratio = 0.f;
	Unit.Rotations = {Full, None};
	Unit.RotationEaseType = GetParam();
	Unit.Execute();

	// Bone i lies at i/4 along the chain and turns that share of a quarter (eased) about its
	// length, on top of the turns of the bones before it.
	double Angle = 0.0;
	for (int32 I = 0; I < 5; ++I)
	{
		const double Share = I / 4.0;
		Angle += 90.0 * (GetParam() == ERigVMAnimEasingType::Linear ? Share : Share * Share);
		const double Radians = FMath::DegreesToRadians(Angle);
		EXPECT_TRUE(Near(Chain.Global(I).GetLocation(), FVector(10.0 * I, 0, 0), 1e-3)) << "B" << I;
		EXPECT_TRUE(Near(Chain.Global(I).GetUnitAxis(EAxis::Y), FVector(0, std::cos(Radians), std::sin(Radians)), 1e-4)) << "B" << I << " at " << Angle;
	}
}

INSTANTIATE_TEST_SUITE_P(Eased, FitChainToSplineCurveRotations, ::testing::Values(ERigVMAnimEasingType::Linear, ERigVMAnimEasingType::QuadraticEaseIn),
	[](const ::testing::TestParamInfo<ERigVMAnimEasingType>& Info) { return Info.param == ERigVMAnimEasingType::Linear ? "Linear" : "QuadraticEaseIn"; });

TEST(FitChainToSplineCurve, WhatCannotBeFittedIsAWarningAndLeavesTheChainAlone)
{
	struct FCase
	{
		const char* Name;
		TArray<FVector> BonePositions;
		int32 ItemCount;
		bool bMissingItem;
		TArray<FVector> SplinePoints;
		const TCHAR* Warning;
	};
	const TArray<FVector> Same = {FVector(3, 4, 5), FVector(3, 4, 5), FVector(3, 4, 5), FVector(3, 4, 5), FVector(3, 4, 5)};
	const FCase Cases[] = {
		{"no spline", PointsAlongX(5, 10.0), 5, false, {}, nullptr},
		{"one item", PointsAlongX(5, 10.0), 1, false, PointsAlongX(5, 20.0), TEXT("Didn't find enough bones. You need at least two in the chain!")},
		{"one item found", PointsAlongX(5, 10.0), 1, true, PointsAlongX(5, 20.0), TEXT("Didn't find enough bones. You need at least two in the chain!")},
		{"bones in one place", Same, 5, false, PointsAlongX(5, 20.0), TEXT("The chain has no length - all of the bones are in the sample place!")},
		{"points in one place", PointsAlongX(5, 10.0), 5, false, FirstPoints(Same, 4), TEXT("The curve has no length - all of the points are in the sample place!")},
	};
	for (const FCase& Case : Cases)
	{
		HostEditor::FLogCapture Log;
		FChain Chain(Case.BonePositions);
		FRigUnit_FitChainToSplineCurveItemArray Unit = Chain.Fit(Case.SplinePoints.Num() ? MakeSpline(Case.SplinePoints, ESplineType::Hermite) : FControlRigSpline(), EControlRigCurveAlignment::Stretched);
		Unit.Items.SetNum(Case.ItemCount);
		if (Case.bMissingItem)
		{
			Unit.Items.Add(FRigElementKey(TEXT("NoSuchBone"), ERigElementType::Bone));
		}
		Unit.Execute();
		Unit.Execute();
		for (int32 I = 0; I < 5; ++I)
		{
			EXPECT_TRUE(Near(Chain.Global(I).GetLocation(), Case.BonePositions[I], 1e-9)) << Case.Name << ": B" << I;
		}
		// Each run warns again; a missing item is named as well, each time the chain is looked up.
		EXPECT_EQ(Log.Count(TEXT("LogControlRigUnits"), ELogVerbosity::Warning), Case.Warning ? (Case.bMissingItem ? 4 : 2) : 0) << Case.Name;
		if (Case.Warning)
		{
			EXPECT_EQ(Log.Count(TEXT("LogControlRigUnits"), ELogVerbosity::Warning, Case.Warning), 2) << Case.Name;
		}
	}
}

TEST(FitChainToSplineCurve, WithoutAHierarchyNothingHappens)
{
	FChain Chain(PointsAlongX(5, 10.0));
	FRigUnit_FitChainToSplineCurveItemArray Unit = Chain.Fit(MakeSpline(PointsAlongX(5, 20.0), ESplineType::Hermite), EControlRigCurveAlignment::Stretched);
	Unit.ExecuteContext.Hierarchy = nullptr;
	Unit.Execute();
	EXPECT_EQ(Unit.WorkData.CachedItems.Num(), 0);
	EXPECT_TRUE(Near(Chain.Global(4).GetLocation(), FVector(40, 0, 0), 1e-9));
}

// ---------------------------------------------------------------------------------------------
// The easing curves the rotation keys use

TEST(RigVMEasing, EveryCurveRunsFromZeroToOne)
{
	for (int32 Type = 0; Type <= (int32)ERigVMAnimEasingType::BounceEaseInOut; ++Type)
	{
		EXPECT_NEAR(FRigVMMathLibrary::EaseFloat(0.f, (ERigVMAnimEasingType)Type), 0.0, 1e-3) << Type;
		EXPECT_NEAR(FRigVMMathLibrary::EaseFloat(1.f, (ERigVMAnimEasingType)Type), 1.0, 1e-3) << Type;
	}
}

TEST(RigVMEasing, CurvesTakeTheirShapesInBetween)
{
	EXPECT_FLOAT_EQ(FRigVMMathLibrary::EaseFloat(0.3f, ERigVMAnimEasingType::Linear), 0.3f);
	EXPECT_FLOAT_EQ(FRigVMMathLibrary::EaseFloat(0.5f, ERigVMAnimEasingType::QuadraticEaseIn), 0.25f);
	EXPECT_FLOAT_EQ(FRigVMMathLibrary::EaseFloat(0.5f, ERigVMAnimEasingType::QuadraticEaseOut), 0.75f);
	EXPECT_FLOAT_EQ(FRigVMMathLibrary::EaseFloat(0.25f, ERigVMAnimEasingType::CubicEaseInOut), 0.0625f);
	EXPECT_FLOAT_EQ(FRigVMMathLibrary::EaseFloat(0.75f, ERigVMAnimEasingType::CubicEaseInOut), 0.9375f);
	EXPECT_NEAR(FRigVMMathLibrary::EaseFloat(0.5f, ERigVMAnimEasingType::SineEaseInOut), 0.5, 1e-6);
	EXPECT_NEAR(FRigVMMathLibrary::EaseFloat(0.5f, ERigVMAnimEasingType::SineEaseOut), std::sqrt(0.5), 1e-6);
	EXPECT_NEAR(FRigVMMathLibrary::EaseFloat(0.5f, ERigVMAnimEasingType::CircularEaseIn), 1.0 - std::sqrt(0.75), 1e-6);
	EXPECT_NEAR(FRigVMMathLibrary::EaseFloat(0.5f, ERigVMAnimEasingType::ExponentialEaseIn), std::pow(2.0, -5.0), 1e-6);
	// The back profile dips below zero before it rises; the bounce first touches one at 4/11.
	EXPECT_LT(FRigVMMathLibrary::EaseFloat(0.3f, ERigVMAnimEasingType::BackEaseIn), 0.f);
	EXPECT_NEAR(FRigVMMathLibrary::EaseFloat(4.f / 11.f, ERigVMAnimEasingType::BounceEaseOut), 1.0, 1e-5);
}
