// The engine's math conventions: row vectors, FRotator(Pitch, Yaw, Roll), quaternion and transform
// composition order, inverses, relative transforms and matrix decomposition with a negative determinant.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <type_traits>

#include "CoreMinimal.h"

namespace
{
	constexpr double Tight = 1.0e-9;
	constexpr double Loose = 1.0e-6;

	std::string Describe(const FVector& V)
	{
		char Buffer[128];
		std::snprintf(Buffer, sizeof(Buffer), "(%.12g, %.12g, %.12g)", V.X, V.Y, V.Z);
		return Buffer;
	}

	std::string Describe(const FVector2D& V)
	{
		char Buffer[96];
		std::snprintf(Buffer, sizeof(Buffer), "(%.12g, %.12g)", V.X, V.Y);
		return Buffer;
	}

	std::string Describe(const FVector4& V)
	{
		char Buffer[160];
		std::snprintf(Buffer, sizeof(Buffer), "(%.12g, %.12g, %.12g, %.12g)", V.X, V.Y, V.Z, V.W);
		return Buffer;
	}

	std::string Describe(const FQuat& Q)
	{
		char Buffer[160];
		std::snprintf(Buffer, sizeof(Buffer), "(%.12g, %.12g, %.12g, %.12g)", Q.X, Q.Y, Q.Z, Q.W);
		return Buffer;
	}

	std::string Describe(const FRotator& R)
	{
		char Buffer[128];
		std::snprintf(Buffer, sizeof(Buffer), "P=%.12g Y=%.12g R=%.12g", R.Pitch, R.Yaw, R.Roll);
		return Buffer;
	}

	std::string Describe(const FMatrix& M)
	{
		return TCHAR_TO_UTF8(*M.ToString());
	}

	std::string Describe(const FTransform& T)
	{
		return Describe(T.GetTranslation()) + " | " + Describe(T.GetRotation()) + " | " + Describe(T.GetScale3D());
	}

	/** Passes when Actual.Equals(Expected, Tolerance), printing both at full precision otherwise. */
	template <typename T>
	::testing::AssertionResult Near(const T& Actual, const T& Expected, const double Tolerance = Tight)
	{
		if (Actual.Equals(Expected, Tolerance))
		{
			return ::testing::AssertionSuccess();
		}
		return ::testing::AssertionFailure() << "actual " << Describe(Actual) << "\nexpected " << Describe(Expected);
	}

	std::string Narrow(const FString& Text)
	{
		return TCHAR_TO_UTF8(*Text);
	}

	/** Random values from a fixed seed, so every run checks the same cases. */
	class FRandomMath
	{
	public:
		double Range(const double Min, const double Max)
		{
			return std::uniform_real_distribution<double>(Min, Max)(Engine);
		}

		FVector Vector(const double Extent = 100.0)
		{
			return FVector(Range(-Extent, Extent), Range(-Extent, Extent), Range(-Extent, Extent));
		}

		/** A rotator whose pitch stays clear of +-90, where yaw and roll merge. */
		FRotator RotatorAwayFromGimbalLock()
		{
			return FRotator(Range(-85.0, 85.0), Range(-179.0, 179.0), Range(-179.0, 179.0));
		}

		FQuat Quat()
		{
			return RotatorAwayFromGimbalLock().Quaternion();
		}

		FVector PositiveScale()
		{
			return FVector(Range(0.2, 3.0), Range(0.2, 3.0), Range(0.2, 3.0));
		}

		FTransform UniformScaleTransform()
		{
			return FTransform(Quat(), Vector(), FVector(Range(0.2, 3.0)));
		}

		FTransform NonUniformScaleTransform()
		{
			return FTransform(Quat(), Vector(), PositiveScale());
		}

	private:
		std::mt19937 Engine{20240517u};
	};

	constexpr int32 RandomCases = 200;

	/** The identity matrix with columns 1 and 2 exchanged: a reflection that swaps world Y and Z. */
	FMatrix SwappedYZColumns()
	{
		return FMatrix(FVector(1, 0, 0), FVector(0, 0, 1), FVector(0, 1, 0), FVector(0, 0, 0));
	}
}

// ---------------------------------------------------------------------------------------------------
// FMath

TEST(FMath, ConstantsKeepTheEngineValues)
{
	EXPECT_EQ(UE_SMALL_NUMBER, 1.e-8f);
	EXPECT_EQ(UE_KINDA_SMALL_NUMBER, 1.e-4f);
	EXPECT_EQ(UE_DOUBLE_SMALL_NUMBER, 1.e-8);
	EXPECT_EQ(UE_DOUBLE_KINDA_SMALL_NUMBER, 1.e-4);
	EXPECT_DOUBLE_EQ(UE_DOUBLE_PI, std::acos(-1.0));
	EXPECT_FLOAT_EQ(UE_PI, (float)std::acos(-1.0));
	EXPECT_DOUBLE_EQ(UE_DOUBLE_HALF_PI * 2.0, UE_DOUBLE_PI);
	EXPECT_EQ(PI, UE_PI);
	EXPECT_EQ(HALF_PI, UE_HALF_PI);
	EXPECT_EQ(SMALL_NUMBER, UE_SMALL_NUMBER);
	EXPECT_EQ(KINDA_SMALL_NUMBER, UE_KINDA_SMALL_NUMBER);
	EXPECT_GT(UE_BIG_NUMBER, 1.0e38f);
}

TEST(FMath, RoundToIntRoundsHalvesUpAndValuesJustBelowAHalfDown)
{
	EXPECT_EQ(FMath::RoundToInt(2.5), 3);
	EXPECT_EQ(FMath::RoundToInt(-2.5), -2);
	EXPECT_EQ(FMath::RoundToInt(-2.6), -3);
	EXPECT_EQ(FMath::RoundToInt(0.49999999999999994), 0);
	EXPECT_EQ(FMath::RoundToInt(0.49999997f), 0);
	EXPECT_EQ(FMath::RoundToFloat(-0.5), 0.0);
	EXPECT_EQ(FMath::RoundToFloat(1.5f), 2.0f);
}

TEST(FMath, RoundHalfFromZeroRoundsHalvesAwayFromZero)
{
	EXPECT_EQ(FMath::RoundHalfFromZero(2.5), 3.0);
	EXPECT_EQ(FMath::RoundHalfFromZero(-2.5), -3.0);
	EXPECT_EQ(FMath::RoundHalfFromZero(0.49999999999999994), 0.0);
	EXPECT_EQ(FMath::RoundHalfFromZero(-1.4f), -1.0f);
}

TEST(FMath, FloorCeilAndTruncDisagreeOnNegativeNumbers)
{
	EXPECT_EQ(FMath::FloorToInt(-1.5), -2);
	EXPECT_EQ(FMath::CeilToInt(-1.5), -1);
	EXPECT_EQ(FMath::TruncToInt(-1.5), -1);
	EXPECT_EQ(FMath::FloorToFloat(-1.5), -2.0);
	EXPECT_EQ(FMath::Floor(2.75f), 2.0f);
	// Doubles round to 64-bit integers, floats to 32-bit, as in the engine.
	static_assert(std::is_same_v<decltype(FMath::FloorToInt(1.0)), int64>);
	static_assert(std::is_same_v<decltype(FMath::FloorToInt(1.0f)), int32>);
	static_assert(std::is_same_v<decltype(FMath::RoundToInt(1.0)), int64>);
	EXPECT_EQ(FMath::FloorToInt(5.0e9), (int64)5000000000);
}

TEST(FMath, FracIsNeverNegativeWhileFractionalKeepsTheSign)
{
	EXPECT_DOUBLE_EQ(FMath::Frac(-1.25), 0.75);
	EXPECT_DOUBLE_EQ(FMath::Frac(3.25), 0.25);
	EXPECT_DOUBLE_EQ(FMath::Fractional(-1.25), -0.25);
}

TEST(FMath, FmodKeepsTheDividendSignAndGivesZeroForAZeroDivisor)
{
	EXPECT_DOUBLE_EQ(FMath::Fmod(-370.0, 360.0), -10.0);
	EXPECT_DOUBLE_EQ(FMath::Fmod(725.0, 360.0), 5.0);
	EXPECT_EQ(FMath::Fmod(5.0, 0.0), 0.0);
	EXPECT_EQ(FMath::Fmod(5.0f, 1.e-9f), 0.0f);
}

TEST(FMath, TrigonometryHandlesRoundingOutsideTheDomain)
{
	EXPECT_EQ(FMath::Acos(1.0000001), 0.0);
	EXPECT_DOUBLE_EQ(FMath::Asin(-1.5), -UE_DOUBLE_HALF_PI);
	EXPECT_DOUBLE_EQ(FMath::Atan2(1.0, -1.0), 0.75 * UE_DOUBLE_PI);
	// The sign of a zero Y does not flip the result.
	EXPECT_DOUBLE_EQ(FMath::Atan2(-0.0, -1.0), UE_DOUBLE_PI);
	EXPECT_FALSE(std::signbit(FMath::Atan2(-0.0, 1.0)));
	EXPECT_EQ(FMath::Atan2(0.0, 0.0), 0.0);
	double Sine = 0;
	double Cosine = 0;
	FMath::SinCos(&Sine, &Cosine, UE_DOUBLE_PI / 6.0);
	EXPECT_NEAR(Sine, 0.5, Tight);
	EXPECT_NEAR(Cosine, std::sqrt(3.0) / 2.0, Tight);
	EXPECT_DOUBLE_EQ(FMath::InvSqrt(4.0), 0.5);
	EXPECT_DOUBLE_EQ(FMath::Sqrt(2), std::sqrt(2.0));
}

TEST(FMath, AngleConversionsAreExactAtHalfTurns)
{
	EXPECT_DOUBLE_EQ(FMath::DegreesToRadians(180.0), UE_DOUBLE_PI);
	EXPECT_DOUBLE_EQ(FMath::RadiansToDegrees(UE_DOUBLE_HALF_PI), 90.0);
	EXPECT_FLOAT_EQ(FMath::DegreesToRadians(90.0f), UE_HALF_PI);
}

TEST(FMath, UnwindDegreesRemovesWholeTurns)
{
	EXPECT_DOUBLE_EQ(FMath::UnwindDegrees(540.0), 180.0);
	EXPECT_DOUBLE_EQ(FMath::UnwindDegrees(-190.0), 170.0);
	EXPECT_DOUBLE_EQ(FMath::UnwindDegrees(190.0), -170.0);
	EXPECT_DOUBLE_EQ(FMath::UnwindDegrees(-180.0), -180.0);
	EXPECT_NEAR(FMath::UnwindDegrees(360.0 * 1.0e6 + 10.0), 10.0, Loose);
	// An infinite angle has no wound-down value; it must not hang.
	EXPECT_TRUE(FMath::IsNaN(FMath::UnwindDegrees(std::numeric_limits<double>::infinity())));
	EXPECT_NEAR(FMath::UnwindRadians(3.0 * UE_DOUBLE_PI), UE_DOUBLE_PI, Tight);
	EXPECT_NEAR(FMath::UnwindRadians(-3.5 * UE_DOUBLE_PI), 0.5 * UE_DOUBLE_PI, Tight);
	EXPECT_DOUBLE_EQ(FMath::FindDeltaAngleDegrees(170.0, -170.0), 20.0);
}

TEST(FMath, ClampAngleMovesAnglesOutsideTheArcToTheNearerEnd)
{
	EXPECT_DOUBLE_EQ(FMath::ClampAngle(350.0, -20.0, 20.0), -10.0);
	EXPECT_DOUBLE_EQ(FMath::ClampAngle(90.0, -20.0, 20.0), 20.0);
	EXPECT_DOUBLE_EQ(FMath::ClampAngle(200.0, -20.0, 20.0), -20.0);
	// An arc that crosses 180 degrees.
	EXPECT_DOUBLE_EQ(FMath::ClampAngle(10.0, 170.0, -170.0), 170.0);
	EXPECT_DOUBLE_EQ(FMath::ClampAngle(-175.0, 170.0, -170.0), -175.0);
}

TEST(FMath, IsPowerOfTwoAcceptsOnlyPositivePowers)
{
	EXPECT_TRUE(FMath::IsPowerOfTwo(1));
	EXPECT_TRUE(FMath::IsPowerOfTwo(1024));
	EXPECT_TRUE(FMath::IsPowerOfTwo((uint64)1 << 63));
	EXPECT_FALSE(FMath::IsPowerOfTwo(0));
	EXPECT_FALSE(FMath::IsPowerOfTwo(12));
	EXPECT_FALSE(FMath::IsPowerOfTwo(-4));
	EXPECT_FALSE(FMath::IsPowerOfTwo(MIN_int32));
}

TEST(FMath, ComparisonsAndInterpolation)
{
	EXPECT_TRUE(FMath::IsNearlyEqual(1.0, 1.0 + 1.0e-9));
	EXPECT_FALSE(FMath::IsNearlyEqual(1.0, 1.0 + 1.0e-7));
	EXPECT_TRUE(FMath::IsNearlyEqual(1.0, 1.05, 0.1));
	EXPECT_TRUE(FMath::IsNearlyZero(-1.0e-9));
	EXPECT_FALSE(FMath::IsNearlyZero(1.0e-3f));
	EXPECT_FALSE(FMath::IsFinite(std::numeric_limits<double>::quiet_NaN()));
	EXPECT_FALSE(FMath::IsFinite(std::numeric_limits<float>::infinity()));
	EXPECT_TRUE(FMath::IsNaN(std::numeric_limits<double>::quiet_NaN()));

	// Mixed integer and floating-point arguments meet in their common type.
	EXPECT_EQ(FMath::Max(1, 2.5), 2.5);
	EXPECT_EQ(FMath::Clamp(5, 0.0, 1.0), 1.0);
	EXPECT_EQ(FMath::Clamp(-3, 0, 10), 0);
	EXPECT_EQ(FMath::Max3(3, 9, -1), 9);
	EXPECT_EQ(FMath::Min3(3, 9, -1), -1);
	EXPECT_EQ(FMath::Sign(-0.5), -1.0);
	EXPECT_EQ(FMath::Sign(0), 0);
	EXPECT_EQ(FMath::Abs(-7), 7);
	EXPECT_EQ(FMath::Square(-3.0), 9.0);
	EXPECT_DOUBLE_EQ(FMath::Lerp(10.0, 20.0, 0.25), 12.5);
	EXPECT_DOUBLE_EQ(FMath::Lerp(10.0, 20.0, 1.5), 25.0);
	EXPECT_TRUE(Near(FMath::Lerp(FVector(0, 0, 0), FVector(2, 4, 6), 0.5), FVector(1, 2, 3)));
	EXPECT_DOUBLE_EQ(FMath::Pow(2.0, 10.0), 1024.0);
	EXPECT_DOUBLE_EQ(FMath::Loge(FMath::Exp(2.0)), 2.0);
}

// ---------------------------------------------------------------------------------------------------
// FVector

TEST(FVector, CrossProductFollowsTheEngineAxes)
{
	EXPECT_EQ(FVector::ForwardVector ^ FVector::RightVector, FVector::UpVector);
	EXPECT_EQ(FVector::RightVector ^ FVector::UpVector, FVector::ForwardVector);
	EXPECT_EQ(FVector::CrossProduct(FVector(1, 2, 3), FVector(4, 5, 6)), FVector(-3, 6, -3));
	EXPECT_EQ(FVector::UpVector, FVector(0, 0, 1));
	EXPECT_EQ(FVector::LeftVector, -FVector::RightVector);
	EXPECT_EQ(FVector::XAxisVector, FVector::UnitX());
}

TEST(FVector, ArithmeticIsComponentWise)
{
	const FVector A(1, 2, 3);
	const FVector B(4, 5, 6);
	EXPECT_EQ(A | B, 32.0);
	EXPECT_EQ(FVector::DotProduct(A, B), 32.0);
	EXPECT_EQ(A * B, FVector(4, 10, 18));
	EXPECT_EQ(B / A, FVector(4, 2.5, 2));
	EXPECT_EQ(A + B, FVector(5, 7, 9));
	EXPECT_EQ(A - B, FVector(-3, -3, -3));
	EXPECT_EQ(2.0 * A, FVector(2, 4, 6));
	EXPECT_EQ(A * 2, FVector(2, 4, 6));
	EXPECT_EQ(A / 2.0f, FVector(0.5, 1, 1.5));
	EXPECT_EQ(A + 1.0f, FVector(2, 3, 4));
	FVector C = A;
	C *= B;
	C -= FVector(1);
	EXPECT_EQ(C, FVector(3, 9, 17));
	EXPECT_EQ(FVector(), FVector::ZeroVector);
}

TEST(FVector, SizesAndDistances)
{
	const FVector V(3, 4, 12);
	EXPECT_DOUBLE_EQ(V.Size(), 13.0);
	EXPECT_DOUBLE_EQ(V.SizeSquared(), 169.0);
	EXPECT_DOUBLE_EQ(V.Size2D(), 5.0);
	EXPECT_DOUBLE_EQ(FVector::Dist(FVector(1, 1, 1), FVector(1, 1, 1) + V), 13.0);
	EXPECT_DOUBLE_EQ(FVector::DistSquared(FVector::ZeroVector, V), 169.0);
	EXPECT_DOUBLE_EQ(FVector::DistXY(FVector::ZeroVector, V), 5.0);
}

TEST(FVector, SafeNormalRefusesVectorsTooShortToNormalize)
{
	EXPECT_TRUE(Near(FVector(0, 3, 4).GetSafeNormal(), FVector(0, 0.6, 0.8)));
	// A squared length of 1e-10 is under the default tolerance of 1e-8.
	EXPECT_EQ(FVector(1.0e-5, 0, 0).GetSafeNormal(), FVector::ZeroVector);
	EXPECT_EQ(FVector(1.0e-5, 0, 0).GetSafeNormal(UE_SMALL_NUMBER, FVector::UpVector), FVector::UpVector);
	EXPECT_TRUE(Near(FVector(1.0e-5, 0, 0).GetUnsafeNormal(), FVector(1, 0, 0)));
	EXPECT_TRUE(Near(FVector(3, 4, 100).GetSafeNormal2D(), FVector(0.6, 0.8, 0)));

	FVector Tiny(1.0e-5, 0, 0);
	EXPECT_FALSE(Tiny.Normalize());
	EXPECT_EQ(Tiny, FVector(1.0e-5, 0, 0));
	FVector Long(0, 0, -7);
	EXPECT_TRUE(Long.Normalize());
	EXPECT_EQ(Long, FVector(0, 0, -1));
}

TEST(FVector, ZeroAndUnitTests)
{
	EXPECT_TRUE(FVector(1.0e-5, -1.0e-5, 0).IsNearlyZero());
	EXPECT_FALSE(FVector(1.0e-5, -1.0e-5, 0).IsZero());
	EXPECT_TRUE(FVector::ZeroVector.IsZero());
	EXPECT_TRUE(FVector(0, 0.6, 0.8).IsUnit());
	EXPECT_FALSE(FVector(0, 0.6, 0.9).IsUnit());
	EXPECT_TRUE(FVector(0, 0.6, 0.8).IsNormalized());
}

TEST(FVector, ComponentExtremesConsiderSignWhereAsked)
{
	const FVector V(-5, 2, 3);
	EXPECT_EQ(V.GetMax(), 3.0);
	EXPECT_EQ(V.GetMin(), -5.0);
	EXPECT_EQ(V.GetAbsMax(), 5.0);
	EXPECT_EQ(V.GetAbsMin(), 2.0);
	EXPECT_EQ(V.GetAbs(), FVector(5, 2, 3));
	EXPECT_EQ(V.ComponentMin(FVector(0, 0, 9)), FVector(-5, 0, 3));
	EXPECT_EQ(V.ComponentMax(FVector(0, 0, 9)), FVector(0, 2, 9));
	EXPECT_EQ(FVector(-1, 0, 2).GetSignVector(), FVector(-1, 1, 1));
}

TEST(FVector, RotationPointsTheForwardAxisAlongTheVector)
{
	const FRotator Rotation = FVector(1, 2, 3).Rotation();
	EXPECT_NEAR(Rotation.Yaw, 63.43494882292201, Tight);
	EXPECT_NEAR(Rotation.Pitch, 53.30077479951012, Tight);
	EXPECT_EQ(Rotation.Roll, 0.0);
	EXPECT_TRUE(Near(Rotation.Vector(), FVector(1, 2, 3).GetSafeNormal()));
	EXPECT_NEAR(FVector(0, 0, 5).Rotation().Pitch, 90.0, Tight);
	EXPECT_NEAR(FVector(-1, 0, 0).ToOrientationRotator().Yaw, 180.0, Tight);
}

TEST(FVector, OrientationQuatIsTheQuaternionOfTheOrientationRotator)
{
	FRandomMath Random;
	for (int32 Case = 0; Case < RandomCases; ++Case)
	{
		const FVector V = Random.Vector();
		const FQuat Q = V.ToOrientationQuat();
		EXPECT_TRUE(Near(Q, V.Rotation().Quaternion()));
		EXPECT_TRUE(Near(Q.GetAxisX(), V.GetSafeNormal()));
	}
}

TEST(FVector, ClampingKeepsDirection)
{
	EXPECT_EQ(FVector(-5, 0.5, 12).BoundToCube(2), FVector(-2, 0.5, 2));
	EXPECT_TRUE(Near(FVector(0, 3, 4).GetClampedToSize(10, 20), FVector(0, 6, 8)));
	EXPECT_TRUE(Near(FVector(0, 30, 40).GetClampedToSize(1, 10), FVector(0, 6, 8)));
	EXPECT_EQ(FVector::ZeroVector.GetClampedToSize(1, 10), FVector::ZeroVector);
	EXPECT_TRUE(Near(FVector(0, 30, 40).GetClampedToMaxSize(5), FVector(0, 3, 4)));
	EXPECT_EQ(FVector(0, 3, 4).GetClampedToMaxSize(10), FVector(0, 3, 4));
}

TEST(FVector, RotateAngleAxisTurnsByTheRightHandRule)
{
	EXPECT_TRUE(Near(FVector::ForwardVector.RotateAngleAxis(90, FVector::UpVector), FVector::RightVector));
	EXPECT_TRUE(Near(FVector::RightVector.RotateAngleAxis(90, FVector::ForwardVector), FVector::UpVector));
	EXPECT_TRUE(Near(FVector(1, 1, 0).RotateAngleAxis(180, FVector(0, 0, 1)), FVector(-1, -1, 0)));
}

TEST(FVector, MirrorAndProjection)
{
	EXPECT_TRUE(Near(FVector(1, 2, 3).MirrorByVector(FVector(1, 0, 0)), FVector(-1, 2, 3)));
	EXPECT_TRUE(Near(FVector(3, 4, 0).ProjectOnTo(FVector(2, 0, 0)), FVector(3, 0, 0)));
	EXPECT_TRUE(Near(FVector(3, 4, 5).ProjectOnToNormal(FVector(0, 0, 1)), FVector(0, 0, 5)));
}

TEST(FVector, IndexingAndAxisComponents)
{
	FVector V(7, 8, 9);
	EXPECT_EQ(V[0], 7.0);
	EXPECT_EQ(V[2], 9.0);
	V[1] = -1;
	V.Component(2) = 4;
	EXPECT_EQ(V, FVector(7, -1, 4));
	EXPECT_EQ(V.GetComponentForAxis(EAxis::Y), -1.0);
	EXPECT_EQ(V.GetComponentForAxis(EAxis::None), 0.0);
	V.SetComponentForAxis(EAxis::Z, 2);
	EXPECT_EQ(V.Z, 2.0);
}

TEST(FVector, EqualityWithAndWithoutTolerance)
{
	EXPECT_TRUE(FVector(1, 2, 3).Equals(FVector(1.00005, 2, 3)));
	EXPECT_FALSE(FVector(1, 2, 3).Equals(FVector(1.001, 2, 3)));
	EXPECT_TRUE(FVector(1, 2, 3).Equals(FVector(1.001, 2, 3), 0.01));
	EXPECT_FALSE(FVector(1, 2, 3) == FVector(1.00005, 2, 3));
	EXPECT_TRUE(FVector(2, 2.00001, 1.99999).AllComponentsEqual());
	EXPECT_FALSE(FVector(2, 2.1, 2).AllComponentsEqual());
}

TEST(FVector, NonFiniteComponentsCountAsNaN)
{
	EXPECT_FALSE(FVector(1, 2, 3).ContainsNaN());
	EXPECT_TRUE(FVector(1, std::numeric_limits<double>::quiet_NaN(), 3).ContainsNaN());
	EXPECT_TRUE(FVector(std::numeric_limits<double>::infinity(), 0, 0).ContainsNaN());
}

TEST(FVector, ToStringPrintsThreeDecimals)
{
	EXPECT_EQ(Narrow(FVector(1, -2.5, 3.0004).ToString()), "X=1.000 Y=-2.500 Z=3.000");
}

TEST(FVector, EqualVectorsHashAlikeIncludingSignedZero)
{
	EXPECT_EQ(GetTypeHash(FVector(0, 1, 2)), GetTypeHash(FVector(-0.0, 1, 2)));
	EXPECT_NE(GetTypeHash(FVector(1, 2, 3)), GetTypeHash(FVector(3, 2, 1)));
	TSet<FVector> Points;
	Points.Add(FVector(0, 0, 0));
	Points.Add(FVector(1, 2, 3));
	EXPECT_TRUE(Points.Contains(FVector(-0.0, 0, -0.0)));
	EXPECT_TRUE(Points.Contains(FVector(1, 2, 3)));
	EXPECT_FALSE(Points.Contains(FVector(1, 2, 3.5)));
}

TEST(FVector, PrecisionConversionsAreExplicit)
{
	static_assert(std::is_same_v<FVector, UE::Math::TVector<double>>);
	static_assert(std::is_same_v<FVector3f, UE::Math::TVector<float>>);
	static_assert(std::is_same_v<FVector3d, FVector>);
	static_assert(!std::is_convertible_v<FVector3f, FVector>);
	static_assert(!std::is_convertible_v<FVector, FVector3f>);
	static_assert(std::is_constructible_v<FVector, FVector3f>);
	EXPECT_EQ(FVector(FVector3f(1.5f, -2.0f, 0.25f)), FVector(1.5, -2.0, 0.25));
	EXPECT_EQ(FVector3f(FVector(1.0, 2.0, 3.0)), FVector3f(1.0f, 2.0f, 3.0f));
	EXPECT_EQ(FVector(FIntVector(1, -2, 3)), FVector(1, -2, 3));
	EXPECT_EQ(FVector(FVector2D(4, 5), 6), FVector(4, 5, 6));
}

// ---------------------------------------------------------------------------------------------------
// FVector2D, FVector4, FIntPoint, FIntVector

TEST(FVector2D, CrossIsScalarAndRotationTurnsXTowardY)
{
	EXPECT_EQ(FVector2D(1, 0) ^ FVector2D(0, 1), 1.0);
	EXPECT_EQ(FVector2D(1, 2) | FVector2D(3, 4), 11.0);
	EXPECT_TRUE(Near(FVector2D(1, 0).GetRotated(90), FVector2D(0, 1)));
	EXPECT_DOUBLE_EQ(FVector2D(3, 4).Size(), 5.0);
	EXPECT_DOUBLE_EQ(FVector2D::Distance(FVector2D(1, 1), FVector2D(4, 5)), 5.0);
	EXPECT_EQ(FVector2D(FVector(7, 8, 9)), FVector2D(7, 8));
}

TEST(FVector2D, NormalizationZeroesVectorsTooShortToScale)
{
	EXPECT_TRUE(Near(FVector2D(3, 4).GetSafeNormal(), FVector2D(0.6, 0.8)));
	FVector2D Tiny(1.0e-6, 0);
	Tiny.Normalize();
	EXPECT_EQ(Tiny, FVector2D::ZeroVector);
	EXPECT_EQ(Narrow(FVector2D(1, -2).ToString()), "X=1.000 Y=-2.000");
	EXPECT_EQ(GetTypeHash(FVector2D(-0.0, 1)), GetTypeHash(FVector2D(0, 1)));
}

TEST(FVector4, DefaultsToAPointAndCrossDropsW)
{
	const FVector4 Point;
	EXPECT_EQ(Point, FVector4(0, 0, 0, 1));
	EXPECT_EQ(FVector4(FVector(1, 2, 3)).W, 1.0);
	EXPECT_EQ(FVector4(FVector(1, 2, 3), 0).W, 0.0);
	EXPECT_EQ(FVector4(1, 0, 0, 5) ^ FVector4(0, 1, 0, 7), FVector4(0, 0, 1, 0));
	EXPECT_EQ(Dot3(FVector4(1, 2, 3, 4), FVector4(1, 1, 1, 1)), 6.0);
	EXPECT_EQ(Dot4(FVector4(1, 2, 3, 4), FVector4(1, 1, 1, 1)), 10.0);
	const FVector Dropped = FVector4(1, 2, 3, 4);
	EXPECT_EQ(Dropped, FVector(1, 2, 3));
	EXPECT_TRUE(Near(FVector4(0, 3, 4, 9).GetSafeNormal(), FVector4(0, 0.6, 0.8, 0)));
	EXPECT_EQ(Narrow(FVector4(1, 2, 3, 4).ToString()), "X=1.000 Y=2.000 Z=3.000 W=4.000");
}

TEST(FIntPoint, IntegerArithmeticAndText)
{
	const FIntPoint A(3, -4);
	EXPECT_EQ(A + FIntPoint(1, 1), FIntPoint(4, -3));
	EXPECT_EQ(A * 2, FIntPoint(6, -8));
	EXPECT_EQ(FIntPoint(7, 9) / 2, FIntPoint(3, 4));
	EXPECT_EQ(A.Size(), 5);
	EXPECT_EQ(A.SizeSquared(), 25);
	EXPECT_EQ(A.GetMax(), 3);
	EXPECT_EQ(FIntPoint::NoneValue, FIntPoint(INDEX_NONE, INDEX_NONE));
	EXPECT_EQ(Narrow(A.ToString()), "X=3 Y=-4");
	EXPECT_EQ(FVector2D(A), FVector2D(3, -4));

	const FIntVector V(1, -2, 3);
	EXPECT_EQ(V + FIntVector(1), FIntVector(2, -1, 4));
	EXPECT_EQ(V.GetMin(), -2);
	EXPECT_EQ(FIntVector(FVector(1.9, -2.9, 0.5)), FIntVector(1, -2, 0));
	EXPECT_EQ(Narrow(V.ToString()), "X=1 Y=-2 Z=3");
	EXPECT_NE(GetTypeHash(V), GetTypeHash(FIntVector(3, -2, 1)));
}

// ---------------------------------------------------------------------------------------------------
// FRotator

TEST(FRotator, ConstructorTakesPitchYawRollAndEulerReordersThem)
{
	const FRotator R(10, 20, 30);
	EXPECT_EQ(R.Pitch, 10.0);
	EXPECT_EQ(R.Yaw, 20.0);
	EXPECT_EQ(R.Roll, 30.0);
	// Euler angles are the turns about X, Y and Z: (Roll, Pitch, Yaw).
	EXPECT_EQ(R.Euler(), FVector(30, 10, 20));
	EXPECT_EQ(FRotator::MakeFromEuler(FVector(30, 10, 20)), R);
	EXPECT_EQ(R.GetComponentForAxis(EAxis::X), 30.0);
	EXPECT_EQ(R.GetComponentForAxis(EAxis::Z), 20.0);
}

TEST(FRotator, PositiveYawTurnsForwardTowardRight)
{
	EXPECT_TRUE(Near(FRotator(0, 90, 0).RotateVector(FVector::ForwardVector), FVector::RightVector));
	EXPECT_TRUE(Near(FRotator(0, 90, 0).Quaternion().RotateVector(FVector::ForwardVector), FVector::RightVector));
}

TEST(FRotator, PositivePitchLiftsForwardTowardUp)
{
	EXPECT_TRUE(Near(FRotator(90, 0, 0).RotateVector(FVector::ForwardVector), FVector::UpVector));
	EXPECT_TRUE(Near(FRotator(90, 0, 0).Quaternion().RotateVector(FVector::ForwardVector), FVector::UpVector));
}

TEST(FRotator, PositiveRollTurnsRightTowardDown)
{
	EXPECT_TRUE(Near(FRotator(0, 0, 90).RotateVector(FVector::RightVector), FVector::DownVector));
	EXPECT_TRUE(Near(FRotator(0, 0, 90).Quaternion().RotateVector(FVector::RightVector), FVector::DownVector));
}

TEST(FRotator, QuaternionIsRollThenPitchThenYaw)
{
	// Reference computed separately as yaw about +Z, pitch about -Y and roll about -X, composed.
	const FRotator R(30, 45, 60);
	EXPECT_TRUE(Near(R.Quaternion(), FQuat(-0.360423405650356, -0.391903837329120, 0.200562121146575, 0.822363171905999), 1.0e-12));
	EXPECT_TRUE(Near(R.RotateVector(FVector(0, 1, 0)), FVector(-0.047367172745377, 0.659739608441171, -0.75), 1.0e-12));
	EXPECT_TRUE(Near(R.RotateVector(FVector(1, 2, 3)), FVector(-1.849809302772253, 3.238638873775609, 0.299038105676658), 1.0e-12));

	FRandomMath Random;
	for (int32 Case = 0; Case < RandomCases; ++Case)
	{
		const FRotator Rot = Random.RotatorAwayFromGimbalLock();
		const FQuat Yaw(FVector::UpVector, FMath::DegreesToRadians(Rot.Yaw));
		const FQuat Pitch(-FVector::YAxisVector, FMath::DegreesToRadians(Rot.Pitch));
		const FQuat Roll(-FVector::XAxisVector, FMath::DegreesToRadians(Rot.Roll));
		EXPECT_TRUE(Near(Rot.Quaternion(), Yaw * Pitch * Roll));
	}
}

TEST(FRotator, QuaternionRoundTripAwayFromGimbalLock)
{
	FRandomMath Random;
	for (int32 Case = 0; Case < RandomCases; ++Case)
	{
		const FRotator R = Random.RotatorAwayFromGimbalLock();
		EXPECT_TRUE(Near(R.Quaternion().Rotator(), R, Loose));
		EXPECT_TRUE(Near(FRotator(FQuat(R)), R, Loose));
	}
}

TEST(FRotator, GimbalLockKeepsTheSameRotation)
{
	for (const double Pitch : {90.0, -90.0})
	{
		const FRotator Locked(Pitch, 30, 10);
		const FRotator Back = Locked.Quaternion().Rotator();
		EXPECT_DOUBLE_EQ(Back.Pitch, Pitch);
		for (const FVector& Axis : {FVector::ForwardVector, FVector::RightVector, FVector::UpVector})
		{
			EXPECT_TRUE(Near(Back.RotateVector(Axis), Locked.RotateVector(Axis), Loose));
		}
	}
}

TEST(FRotator, RotateAndUnrotateAgreeWithTheQuaternion)
{
	FRandomMath Random;
	for (int32 Case = 0; Case < RandomCases; ++Case)
	{
		const FRotator R(Random.Range(-400, 400), Random.Range(-400, 400), Random.Range(-400, 400));
		const FVector V = Random.Vector();
		EXPECT_TRUE(Near(R.RotateVector(V), R.Quaternion().RotateVector(V), Loose));
		EXPECT_TRUE(Near(R.UnrotateVector(R.RotateVector(V)), V, Loose));
		EXPECT_TRUE(Near(R.GetInverse().RotateVector(R.RotateVector(V)), V, Loose));
	}
}

TEST(FRotator, NormalizationWrapsEveryAngle)
{
	EXPECT_TRUE(Near(FRotator(370, -190, 540).GetNormalized(), FRotator(10, 170, 180)));
	EXPECT_EQ(FRotator(370, -190, 540).GetNormalized().Yaw, 170.0);
	EXPECT_EQ(FRotator(-10, 370, 720).Clamp(), FRotator(350, 10, 0));
	EXPECT_EQ(FRotator::NormalizeAxis(-180.0), 180.0);
	EXPECT_EQ(FRotator::NormalizeAxis(180.0), 180.0);
	EXPECT_EQ(FRotator::ClampAxis(-90.0), 270.0);
	EXPECT_EQ(FRotator::ClampAxis(720.0), 0.0);
}

TEST(FRotator, EqualsComparesModuloWholeTurns)
{
	EXPECT_TRUE(FRotator(0, 180, 0).Equals(FRotator(0, -180, 0)));
	EXPECT_TRUE(FRotator(0, 359.99999, 0).Equals(FRotator(0, -0.00001, 0)));
	EXPECT_TRUE(FRotator(720, 0, -360).IsNearlyZero());
	EXPECT_TRUE(FRotator(360, 0, -720).IsZero());
	EXPECT_FALSE(FRotator(0, 1, 0).Equals(FRotator(0, 0, 0)));
	EXPECT_FALSE(FRotator(0, 180, 0) == FRotator(0, -180, 0));
}

TEST(FRotator, VectorIsTheForwardDirection)
{
	EXPECT_TRUE(Near(FRotator(0, 90, 0).Vector(), FVector::RightVector));
	EXPECT_TRUE(Near(FRotator(45, 0, 77).Vector(), FVector(std::sqrt(0.5), 0, std::sqrt(0.5))));
	EXPECT_TRUE(Near(FRotator(10, 20, 30).GetEquivalentRotator().Quaternion(), FRotator(10, 20, 30).Quaternion()));
}

TEST(FRotator, ToStringAndHash)
{
	EXPECT_EQ(Narrow(FRotator(10, 20.5, -30).ToString()), "P=10.000000 Y=20.500000 R=-30.000000");
	EXPECT_EQ(GetTypeHash(FRotator(0, 1, 2)), GetTypeHash(FRotator(-0.0, 1, 2)));
}

// ---------------------------------------------------------------------------------------------------
// FQuat

TEST(FQuat, AxisAngleRotatesByTheRightHandRule)
{
	const FQuat QuarterZ(FVector::UpVector, UE_DOUBLE_HALF_PI);
	EXPECT_TRUE(Near(QuarterZ, FQuat(0, 0, std::sqrt(0.5), std::sqrt(0.5))));
	EXPECT_TRUE(Near(QuarterZ.RotateVector(FVector::ForwardVector), FVector::RightVector));
	EXPECT_TRUE(Near(FQuat(FVector::ForwardVector, UE_DOUBLE_HALF_PI) * FVector::RightVector, FVector::UpVector));
	EXPECT_TRUE(Near(QuarterZ.Rotator(), FRotator(0, 90, 0)));
	EXPECT_EQ(FQuat::Identity, FQuat(0, 0, 0, 1));
	EXPECT_EQ(FQuat(ForceInit), FQuat::Identity);
	EXPECT_EQ(FQuat(ForceInitToZero), FQuat(0, 0, 0, 0));
}

TEST(FQuat, ProductAppliesTheRightOperandFirst)
{
	const FQuat AboutZ(FVector::UpVector, UE_DOUBLE_HALF_PI);
	const FQuat AboutX(FVector::ForwardVector, UE_DOUBLE_HALF_PI);
	// AboutX takes Y to Z, which AboutZ leaves alone; the other order takes Y to -X first.
	EXPECT_TRUE(Near((AboutZ * AboutX).RotateVector(FVector::RightVector), FVector::UpVector));
	EXPECT_TRUE(Near((AboutX * AboutZ).RotateVector(FVector::RightVector), FVector::BackwardVector));

	FRandomMath Random;
	for (int32 Case = 0; Case < RandomCases; ++Case)
	{
		const FQuat A = Random.Quat();
		const FQuat B = Random.Quat();
		const FVector V = Random.Vector();
		EXPECT_TRUE(Near((A * B).RotateVector(V), A.RotateVector(B.RotateVector(V)), Loose));
		FQuat C = A;
		C *= B;
		EXPECT_TRUE(Near(C, A * B));
	}
}

TEST(FQuat, InverseAndUnrotateUndoTheRotation)
{
	FRandomMath Random;
	for (int32 Case = 0; Case < RandomCases; ++Case)
	{
		const FQuat Q = Random.Quat();
		const FVector V = Random.Vector();
		EXPECT_TRUE(Near(Q.UnrotateVector(Q.RotateVector(V)), V, Loose));
		EXPECT_TRUE(Near(Q.Inverse().RotateVector(V), Q.UnrotateVector(V), Loose));
		EXPECT_TRUE((Q * Q.Inverse()).IsIdentity(1.0e-12));
	}
}

TEST(FQuat, NormalizeMakesUnitLengthAndTurnsZeroIntoIdentity)
{
	FQuat Q(0, 0, 3, 4);
	EXPECT_DOUBLE_EQ(Q.Size(), 5.0);
	EXPECT_FALSE(Q.IsNormalized());
	Q.Normalize();
	EXPECT_TRUE(Near(Q, FQuat(0, 0, 0.6, 0.8)));
	EXPECT_TRUE(Q.IsNormalized());
	EXPECT_EQ(FQuat(0, 0, 0, 0).GetNormalized(), FQuat::Identity);
	EXPECT_TRUE(Near(FQuat(2, 0, 0, 0).GetNormalized(), FQuat(1, 0, 0, 0)));
}

TEST(FQuat, EqualsTreatsTheNegatedQuaternionAsTheSameRotation)
{
	const FQuat Q = FRotator(10, 20, 30).Quaternion();
	const FQuat Negated = Q * -1.0;
	EXPECT_TRUE(Q.Equals(Negated));
	EXPECT_FALSE(Q == Negated);
	EXPECT_FALSE(Q.Equals(FRotator(10, 20, 31).Quaternion()));
}

TEST(FQuat, AxesAreTheRowsOfItsMatrix)
{
	FRandomMath Random;
	for (int32 Case = 0; Case < RandomCases; ++Case)
	{
		const FQuat Q = Random.Quat();
		const FMatrix M = Q.ToMatrix();
		EXPECT_TRUE(Near(Q.GetAxisX(), M.GetScaledAxis(EAxis::X)));
		EXPECT_TRUE(Near(Q.GetAxisY(), M.GetScaledAxis(EAxis::Y)));
		EXPECT_TRUE(Near(Q.GetAxisZ(), M.GetScaledAxis(EAxis::Z)));
		EXPECT_TRUE(Near(Q.GetForwardVector() ^ Q.GetRightVector(), Q.GetUpVector()));
	}
}

TEST(FQuat, SlerpTakesTheShorterArc)
{
	const FQuat Quarter(FVector::UpVector, UE_DOUBLE_HALF_PI);
	const FQuat Eighth(FVector::UpVector, UE_DOUBLE_HALF_PI / 2.0);
	EXPECT_TRUE(Near(FQuat::Slerp(FQuat::Identity, Quarter, 0.5), FQuat(0, 0, 0.3826834323650898, 0.9238795325112867)));
	EXPECT_TRUE(Near(FQuat::Slerp(FQuat::Identity, Quarter * -1.0, 0.5), Eighth));
	EXPECT_TRUE(Near(FQuat::Slerp(FQuat::Identity, Quarter, 0.0), FQuat::Identity));
	EXPECT_TRUE(Near(FQuat::Slerp(FQuat::Identity, Quarter, 1.0), Quarter));
	// Nearly equal rotations fall back to a normalized linear blend.
	const FQuat Tiny(FVector::UpVector, 1.0e-4);
	EXPECT_TRUE(FQuat::Slerp(FQuat::Identity, Tiny, 0.5).IsNormalized());
	EXPECT_TRUE(Near(FQuat::Slerp(FQuat::Identity, Tiny, 0.5), FQuat(FVector::UpVector, 0.5e-4)));
}

TEST(FQuat, FindBetweenTurnsOneDirectionOntoAnother)
{
	FRandomMath Random;
	for (int32 Case = 0; Case < RandomCases; ++Case)
	{
		const FVector A = Random.Vector();
		const FVector B = Random.Vector();
		const FQuat Between = FQuat::FindBetweenVectors(A, B);
		EXPECT_TRUE(Between.IsNormalized());
		EXPECT_TRUE(Near(Between.RotateVector(A.GetSafeNormal()), B.GetSafeNormal(), Loose));
		EXPECT_TRUE(Near(FQuat::FindBetweenNormals(A.GetSafeNormal(), B.GetSafeNormal()), Between, Loose));
	}
	// Opposite directions turn half way round an axis perpendicular to them.
	for (const FVector& Direction : {FVector(1, 0, 0), FVector(0, 0, 1), FVector(0.6, -0.8, 0)})
	{
		const FQuat HalfTurn = FQuat::FindBetweenNormals(Direction, -Direction);
		EXPECT_TRUE(Near(HalfTurn.RotateVector(Direction), -Direction));
		EXPECT_NEAR(HalfTurn.GetAngle(), UE_DOUBLE_PI, Tight);
	}
}

TEST(FQuat, AngularDistanceIgnoresTheSignOfTheQuaternion)
{
	const FQuat Quarter(FVector::UpVector, UE_DOUBLE_HALF_PI);
	EXPECT_NEAR(FQuat::Identity.AngularDistance(Quarter), UE_DOUBLE_HALF_PI, Tight);
	EXPECT_NEAR(Quarter.AngularDistance(Quarter * -1.0), 0.0, 1.0e-7);
}

TEST(FQuat, ToAxisAndAngleRecoversTheConstruction)
{
	const FVector Axis = FVector(1, 1, 0).GetSafeNormal();
	FVector OutAxis;
	double OutAngle = 0;
	FQuat(Axis, 1.2).ToAxisAndAngle(OutAxis, OutAngle);
	EXPECT_TRUE(Near(OutAxis, Axis));
	EXPECT_NEAR(OutAngle, 1.2, Tight);
	FQuat::Identity.ToAxisAndAngle(OutAxis, OutAngle);
	EXPECT_EQ(OutAxis, FVector::XAxisVector);
	EXPECT_EQ(OutAngle, 0.0);
}

TEST(FQuat, MatrixRoundTripCoversEveryBranch)
{
	FRandomMath Random;
	for (int32 Case = 0; Case < RandomCases; ++Case)
	{
		const FQuat Q = Random.Quat();
		EXPECT_TRUE(Near(FQuat(Q.ToMatrix()), Q));
	}
	// Half turns have a negative trace, which picks the largest diagonal element instead.
	for (const FVector& Axis : {FVector(1, 0, 0), FVector(0, 1, 0), FVector(0, 0, 1), FVector(0, 1, 1).GetSafeNormal()})
	{
		const FQuat HalfTurn(Axis, UE_DOUBLE_PI);
		EXPECT_TRUE(Near(FQuat(HalfTurn.ToMatrix()), HalfTurn));
	}
}

TEST(FQuat, MatrixWithAZeroAxisGivesIdentity)
{
	EXPECT_EQ(FQuat(FScaleMatrix(FVector(1, 0, 1))), FQuat::Identity);
}

TEST(FQuat, EulerMatchesTheRotator)
{
	const FRotator R(15, -40, 70);
	EXPECT_TRUE(Near(R.Quaternion().Euler(), FVector(70, 15, -40), Loose));
	EXPECT_TRUE(Near(FQuat::MakeFromEuler(FVector(70, 15, -40)), R.Quaternion()));
	EXPECT_TRUE(Near(FQuat::MakeFromRotator(R), R.Quaternion()));
}

TEST(FQuat, ToStringPrintsNineDecimals)
{
	EXPECT_EQ(Narrow(FQuat(FVector::UpVector, UE_DOUBLE_HALF_PI).ToString()), "X=0.000000000 Y=0.000000000 Z=0.707106781 W=0.707106781");
}

// ---------------------------------------------------------------------------------------------------
// FMatrix

TEST(FMatrix, PointsAreRowVectorsWithTheTranslationInRowThree)
{
	const FMatrix M = FTranslationMatrix(FVector(10, 20, 30));
	EXPECT_EQ(M.M[3][0], 10.0);
	EXPECT_EQ(M.M[3][1], 20.0);
	EXPECT_EQ(M.M[3][2], 30.0);
	EXPECT_EQ(M.M[0][3], 0.0);
	EXPECT_EQ(M.GetOrigin(), FVector(10, 20, 30));
	EXPECT_EQ(FVector(M.TransformPosition(FVector(1, 2, 3))), FVector(11, 22, 33));
	EXPECT_EQ(FVector(M.TransformVector(FVector(1, 2, 3))), FVector(1, 2, 3));
	EXPECT_EQ(M.TransformFVector4(FVector4(1, 2, 3, 2)), FVector4(21, 42, 63, 2));
	EXPECT_EQ(M.TransformPosition(FVector(0, 0, 0)).W, 1.0);
}

TEST(FMatrix, ProductAppliesTheLeftOperandFirst)
{
	const FMatrix Scale = FScaleMatrix(2.0);
	const FMatrix Move = FTranslationMatrix(FVector(1, 0, 0));
	EXPECT_EQ(FVector((Scale * Move).TransformPosition(FVector(1, 1, 1))), FVector(3, 2, 2));
	EXPECT_EQ(FVector((Move * Scale).TransformPosition(FVector(1, 1, 1))), FVector(4, 2, 2));
	FMatrix Accumulated = Scale;
	Accumulated *= Move;
	EXPECT_EQ(Accumulated, Scale * Move);
	EXPECT_EQ(FMatrix::Identity * Move, Move);
}

TEST(FMatrix, RotationMatrixRowsAreTheRotatedAxes)
{
	FRandomMath Random;
	for (int32 Case = 0; Case < RandomCases; ++Case)
	{
		const FRotator R = Random.RotatorAwayFromGimbalLock();
		const FMatrix M = FRotationMatrix(R);
		const FQuat Q = R.Quaternion();
		EXPECT_TRUE(Near(M.GetScaledAxis(EAxis::X), Q.GetAxisX()));
		EXPECT_TRUE(Near(M.GetScaledAxis(EAxis::Y), Q.GetAxisY()));
		EXPECT_TRUE(Near(M.GetScaledAxis(EAxis::Z), Q.GetAxisZ()));
		EXPECT_TRUE(Near(FMatrix(FQuatRotationMatrix(Q)), M));
		EXPECT_TRUE(Near(FMatrix(FRotationTranslationMatrix(R, FVector(1, 2, 3))), FMatrix(FQuatRotationTranslationMatrix(Q, FVector(1, 2, 3)))));
		EXPECT_TRUE(Near(FRotationMatrix::Make(Q), M));
	}
}

TEST(FMatrix, ScaleRotationTranslationScalesFirstAndTranslatesLast)
{
	FRandomMath Random;
	for (int32 Case = 0; Case < RandomCases; ++Case)
	{
		const FVector S = Random.PositiveScale();
		const FRotator R = Random.RotatorAwayFromGimbalLock();
		const FVector T = Random.Vector();
		const FMatrix Composed = FScaleMatrix(S) * FRotationMatrix(R) * FTranslationMatrix(T);
		EXPECT_TRUE(Near(FMatrix(FScaleRotationTranslationMatrix(S, R, T)), Composed));
		EXPECT_TRUE(Near(FTransform(R, T, S).ToMatrixWithScale(), Composed));
	}
}

TEST(FMatrix, DeterminantCarriesScaleAndReflection)
{
	EXPECT_DOUBLE_EQ(FMatrix(FScaleRotationTranslationMatrix(FVector(2, 3, 4), FRotator(10, 20, 30), FVector(5, 6, 7))).Determinant(), 24.0);
	EXPECT_DOUBLE_EQ(SwappedYZColumns().Determinant(), -1.0);
	EXPECT_DOUBLE_EQ(SwappedYZColumns().RotDeterminant(), -1.0);
	FRandomMath Random;
	for (int32 Case = 0; Case < 20; ++Case)
	{
		FMatrix A;
		FMatrix B;
		for (int32 Row = 0; Row < 4; ++Row)
		{
			for (int32 Col = 0; Col < 4; ++Col)
			{
				A.M[Row][Col] = Random.Range(-2, 2);
				B.M[Row][Col] = Random.Range(-2, 2);
			}
		}
		EXPECT_NEAR((A * B).Determinant(), A.Determinant() * B.Determinant(), 1.0e-9);
	}
}

TEST(FMatrix, InverseUndoesTheMatrix)
{
	FRandomMath Random;
	for (int32 Case = 0; Case < RandomCases; ++Case)
	{
		const FMatrix M = FScaleRotationTranslationMatrix(Random.PositiveScale(), Random.RotatorAwayFromGimbalLock(), Random.Vector());
		EXPECT_TRUE(Near(M * M.Inverse(), FMatrix::Identity));
		EXPECT_TRUE(Near(M.InverseFast() * M, FMatrix::Identity));
		const FVector P = Random.Vector();
		EXPECT_TRUE(Near(M.InverseTransformPosition(M.TransformPosition(P)), P, Loose));
		EXPECT_TRUE(Near(M.InverseTransformVector(M.TransformVector(P)), P, Loose));
	}
}

TEST(FMatrix, SingularMatricesInvertToSafeValues)
{
	EXPECT_EQ(FMatrix(ForceInitToZero).Inverse(), FMatrix(ForceInitToZero));
	EXPECT_EQ(FMatrix(FScaleMatrix(FVector(1, 0, 1))).Inverse(), FMatrix::Identity);
	EXPECT_FALSE(FMatrix(FScaleMatrix(FVector(1, 0, 1))).InverseFast().ContainsNaN());
}

TEST(FMatrix, TransposeOfARotationIsItsInverse)
{
	const FMatrix R = FRotationMatrix(FRotator(20, -60, 45));
	EXPECT_TRUE(Near(R.GetTransposed(), R.Inverse()));
	FMatrix M;
	M.M[1][2] = 5;
	EXPECT_EQ(M.GetTransposed().M[2][1], 5.0);
	EXPECT_EQ(M.GetTransposed().M[1][2], 0.0);
}

TEST(FMatrix, ScaleIsTheLengthOfEachAxisRow)
{
	const FRotator R(20, -60, 45);
	const FMatrix M = FScaleRotationTranslationMatrix(FVector(2, 3, 0.5), R, FVector(1, 2, 3));
	EXPECT_TRUE(Near(M.GetScaleVector(), FVector(2, 3, 0.5)));
	EXPECT_DOUBLE_EQ(M.GetMaximumAxisScale(), 3.0);
	EXPECT_TRUE(Near(M.GetMatrixWithoutScale(), FMatrix(FRotationTranslationMatrix(R, FVector(1, 2, 3)))));
	FMatrix Extracted = M;
	EXPECT_TRUE(Near(Extracted.ExtractScaling(), FVector(2, 3, 0.5)));
	EXPECT_TRUE(Near(Extracted, FMatrix(FRotationTranslationMatrix(R, FVector(1, 2, 3)))));
	FMatrix Flat = FScaleMatrix(FVector(2, 0, 1));
	EXPECT_EQ(Flat.GetScaleVector(), FVector(2, 0, 1));
	EXPECT_EQ(Flat.ExtractScaling(), FVector(2, 0, 1));
	Flat.RemoveScaling();
	EXPECT_EQ(Flat, FMatrix(FScaleMatrix(FVector(1, 0, 1))));
}

TEST(FMatrix, RotatorReadsTheAxesWhateverTheirLength)
{
	FRandomMath Random;
	for (int32 Case = 0; Case < RandomCases; ++Case)
	{
		const FRotator R = Random.RotatorAwayFromGimbalLock();
		const FMatrix Uniform = FScaleRotationTranslationMatrix(FVector(Random.Range(0.2, 3.0)), R, Random.Vector());
		EXPECT_TRUE(Near(Uniform.Rotator(), R, Loose));
		// Pitch and yaw come from the X row alone; roll compares the scaled Y and Z rows, so it needs them unscaled.
		const FMatrix Stretched = FScaleRotationTranslationMatrix(Random.PositiveScale(), R, Random.Vector());
		EXPECT_NEAR(Stretched.Rotator().Pitch, R.Pitch, Loose);
		EXPECT_NEAR(Stretched.Rotator().Yaw, R.Yaw, Loose);
		EXPECT_TRUE(Near(Stretched.GetMatrixWithoutScale().Rotator(), R, Loose));
		EXPECT_TRUE(Near(Stretched.GetMatrixWithoutScale().ToQuat(), R.Quaternion()));
	}
}

TEST(FMatrix, AxisAndColumnAccessors)
{
	FMatrix M = FMatrix::Identity;
	M.SetAxis(1, FVector(0, 2, 0));
	M.SetOrigin(FVector(7, 8, 9));
	M.SetColumn(2, FVector(4, 5, 6));
	EXPECT_EQ(M.GetScaledAxis(EAxis::Y), FVector(0, 2, 5));
	EXPECT_EQ(M.GetUnitAxis(EAxis::X), FVector(1, 0, 4).GetSafeNormal());
	EXPECT_EQ(M.GetColumn(2), FVector(4, 5, 6));
	EXPECT_EQ(M.GetOrigin(), FVector(7, 8, 9));
	EXPECT_EQ(M.ConcatTranslation(FVector(1, 1, 1)).GetOrigin(), FVector(8, 9, 10));
	EXPECT_EQ(M.RemoveTranslation().GetOrigin(), FVector::ZeroVector);
	EXPECT_EQ(M.GetScaledAxis(EAxis::None), FVector::ZeroVector);
}

TEST(FMatrix, MirrorNegatesAnOutputAxisAndFlipsAnInputAxis)
{
	FMatrix M = FRotationTranslationMatrix(FRotator(0, 30, 0), FVector(1, 2, 3));
	const FVector P(4, 5, 6);
	const FVector Before = M.TransformPosition(P);
	M.Mirror(EAxis::X, EAxis::None);
	EXPECT_TRUE(Near(FVector(M.TransformPosition(P)), FVector(-Before.X, Before.Y, Before.Z)));
	EXPECT_LT(M.Determinant(), 0.0);
	M.Mirror(EAxis::None, EAxis::Y);
	EXPECT_GT(M.Determinant(), 0.0);
	EXPECT_TRUE(Near(FVector(M.TransformPosition(FVector(4, -5, 6))), FVector(-Before.X, Before.Y, Before.Z)));
}

TEST(FMatrix, MakeFromAxesBuildsProperFrames)
{
	EXPECT_TRUE(Near(FRotationMatrix::MakeFromX(FVector(1, 1, 0)).Rotator(), FRotator(0, 45, 0)));
	EXPECT_TRUE(Near(FRotationMatrix::MakeFromX(FVector(0, 0, 3)).GetScaledAxis(EAxis::X), FVector::UpVector));
	const FVector Forward = FVector(1, 2, 0.5).GetSafeNormal();
	const FVector Up(0.1, 0, 1);
	for (const FMatrix& M : {FRotationMatrix::MakeFromXZ(Forward, Up), FRotationMatrix::MakeFromXY(Forward, Up ^ Forward), FRotationMatrix::MakeFromZX(Up, Forward)})
	{
		EXPECT_NEAR(M.Determinant(), 1.0, Tight);
		EXPECT_TRUE(Near(M * M.GetTransposed(), FMatrix::Identity));
	}
	EXPECT_TRUE(Near(FRotationMatrix::MakeFromXZ(Forward, Up).GetScaledAxis(EAxis::X), Forward));
	EXPECT_GT(FRotationMatrix::MakeFromXZ(Forward, Up).GetScaledAxis(EAxis::Z) | Up, 0.0);
	EXPECT_TRUE(Near(FRotationMatrix::MakeFromZX(Up, Forward).GetScaledAxis(EAxis::Z), Up.GetSafeNormal()));
	// A second axis parallel to the first falls back to world up.
	EXPECT_NEAR(FRotationMatrix::MakeFromXZ(FVector::ForwardVector, FVector::ForwardVector).Determinant(), 1.0, Tight);
}

TEST(FMatrix, EqualityAndText)
{
	FMatrix M = FMatrix::Identity;
	EXPECT_EQ(Narrow(M.ToString()), "[1 0 0 0] [0 1 0 0] [0 0 1 0] [0 0 0 1] ");
	M.M[2][1] = 1.0e-6;
	EXPECT_NE(M, FMatrix::Identity);
	EXPECT_TRUE(M.Equals(FMatrix::Identity));
	EXPECT_FALSE(M.Equals(FMatrix::Identity, 1.0e-7));
	M.M[0][0] = std::numeric_limits<double>::quiet_NaN();
	EXPECT_TRUE(M.ContainsNaN());
}

// ---------------------------------------------------------------------------------------------------
// FTransform

TEST(FTransform, DefaultIsTheIdentity)
{
	const FTransform T;
	EXPECT_EQ(T.GetRotation(), FQuat::Identity);
	EXPECT_EQ(T.GetTranslation(), FVector::ZeroVector);
	EXPECT_EQ(T.GetScale3D(), FVector::OneVector);
	EXPECT_TRUE(FTransform::Identity.Equals(T));
	EXPECT_EQ(FTransform::Identity.TransformPosition(FVector(1, 2, 3)), FVector(1, 2, 3));
	EXPECT_EQ(FTransform(FVector(1, 2, 3)).GetTranslation(), FVector(1, 2, 3));
}

TEST(FTransform, TransformPositionScalesThenRotatesThenTranslates)
{
	const FTransform T(FRotator(0, 90, 0), FVector(10, 0, 0), FVector(2, 2, 2));
	EXPECT_TRUE(Near(T.TransformPosition(FVector(1, 0, 0)), FVector(10, 2, 0)));
	EXPECT_TRUE(Near(T.TransformPositionNoScale(FVector(1, 0, 0)), FVector(10, 1, 0)));
	EXPECT_TRUE(Near(T.TransformVector(FVector(1, 0, 0)), FVector(0, 2, 0)));
	EXPECT_TRUE(Near(T.TransformVectorNoScale(FVector(1, 0, 0)), FVector(0, 1, 0)));
	EXPECT_TRUE(Near(T.GetScaledAxis(EAxis::Y), FVector(-2, 0, 0)));
	EXPECT_TRUE(Near(T.GetUnitAxis(EAxis::Y), FVector(-1, 0, 0)));
	EXPECT_EQ(T.GetUnitAxis(EAxis::None), FVector::ZeroVector);
}

TEST(FTransform, CompositionAppliesTheLeftOperandFirst)
{
	FRandomMath Random;
	for (int32 Case = 0; Case < RandomCases; ++Case)
	{
		// With B uniformly scaled, A * B is exactly "A, then B" even for a non-uniform A.
		const FTransform A = Random.NonUniformScaleTransform();
		const FTransform B = Random.UniformScaleTransform();
		const FVector P = Random.Vector();
		EXPECT_TRUE(Near((A * B).TransformPosition(P), B.TransformPosition(A.TransformPosition(P)), Loose));
		EXPECT_TRUE(Near((A * B).ToMatrixWithScale(), A.ToMatrixWithScale() * B.ToMatrixWithScale(), Loose));
		FTransform C = A;
		C *= B;
		EXPECT_TRUE(Near(C, A * B));
	}
	const FTransform Move(FVector(1, 0, 0));
	const FTransform Turn(FRotator(0, 90, 0));
	EXPECT_TRUE(Near((Move * Turn).GetTranslation(), FVector(0, 1, 0)));
	EXPECT_TRUE(Near((Turn * Move).GetTranslation(), FVector(1, 0, 0)));
	EXPECT_TRUE(Near((Move * Turn.GetRotation()).GetTranslation(), FVector(0, 1, 0)));
}

TEST(FTransform, CompositionWithNegativeScaleKeepsAProperRotation)
{
	FRandomMath Random;
	for (int32 Case = 0; Case < RandomCases; ++Case)
	{
		const double Magnitude = Random.Range(0.5, 2.0);
		const FTransform A(Random.Quat(), Random.Vector(), FVector(-Magnitude, Magnitude, Magnitude));
		const FTransform B = Random.UniformScaleTransform();
		const FTransform AB = A * B;
		const FVector P = Random.Vector();
		EXPECT_TRUE(AB.IsRotationNormalized());
		EXPECT_TRUE(Near(AB.GetScale3D(), A.GetScale3D() * B.GetScale3D()));
		EXPECT_TRUE(Near(AB.TransformPosition(P), B.TransformPosition(A.TransformPosition(P)), Loose));
	}
}

TEST(FTransform, InverseUndoesTheTransform)
{
	FRandomMath Random;
	for (int32 Case = 0; Case < RandomCases; ++Case)
	{
		const FTransform T = Random.UniformScaleTransform();
		const FVector P = Random.Vector();
		EXPECT_TRUE(Near(T * T.Inverse(), FTransform::Identity, Loose));
		EXPECT_TRUE(Near(T.Inverse() * T, FTransform::Identity, Loose));
		EXPECT_TRUE(Near(T.Inverse().TransformPosition(T.TransformPosition(P)), P, Loose));
		EXPECT_TRUE(Near(T.Inverse().ToMatrixWithScale(), T.ToMatrixWithScale().Inverse(), Loose));
	}
}

TEST(FTransform, InverseTransformsUndoTheForwardOnesForAnyPositiveScale)
{
	FRandomMath Random;
	for (int32 Case = 0; Case < RandomCases; ++Case)
	{
		const FTransform T = Random.NonUniformScaleTransform();
		const FVector P = Random.Vector();
		EXPECT_TRUE(Near(T.InverseTransformPosition(T.TransformPosition(P)), P, Loose));
		EXPECT_TRUE(Near(T.InverseTransformVector(T.TransformVector(P)), P, Loose));
		EXPECT_TRUE(Near(T.InverseTransformPositionNoScale(T.TransformPositionNoScale(P)), P, Loose));
		EXPECT_TRUE(Near(T.InverseTransformVectorNoScale(T.TransformVectorNoScale(P)), P, Loose));
		EXPECT_TRUE(Near(T.InverseTransformPosition(P), FVector(T.ToMatrixWithScale().Inverse().TransformPosition(P)), Loose));
	}
}

TEST(FTransform, ZeroScaleInvertsToZeroInsteadOfNaN)
{
	const FTransform Flat(FRotator(0, 30, 0), FVector(1, 2, 3), FVector(0, 1, 1));
	EXPECT_FALSE(Flat.Inverse().ContainsNaN());
	EXPECT_EQ(Flat.Inverse().GetScale3D(), FVector(0, 1, 1));
	EXPECT_FALSE(Flat.InverseTransformPosition(FVector(5, 5, 5)).ContainsNaN());
	EXPECT_EQ(FTransform::GetSafeScaleReciprocal(FVector(0, 2, -4)), FVector(0, 0.5, -0.25));
}

TEST(FTransform, RelativeTransformComposesBackToTheOriginal)
{
	FRandomMath Random;
	for (int32 Case = 0; Case < RandomCases; ++Case)
	{
		const FTransform A = Random.UniformScaleTransform();
		const FTransform B = Random.UniformScaleTransform();
		const FTransform Relative = A.GetRelativeTransform(B);
		EXPECT_TRUE(Near(Relative * B, A, Loose));
		EXPECT_TRUE(Near(Relative, A * B.Inverse(), Loose));
		EXPECT_TRUE(Near(A.GetRelativeTransformReverse(B), A.Inverse() * B, Loose));
	}
	const FTransform Parent(FRotator(0, 90, 0), FVector(10, 0, 0));
	const FTransform Child(FRotator(0, 90, 0), FVector(10, 5, 0));
	EXPECT_TRUE(Near(Child.GetRelativeTransform(Parent), FTransform(FVector(5, 0, 0))));
}

TEST(FTransform, RelativeTransformHandlesNegativeScale)
{
	FRandomMath Random;
	for (int32 Case = 0; Case < RandomCases; ++Case)
	{
		const double Magnitude = Random.Range(0.5, 2.0);
		const FTransform A(Random.Quat(), Random.Vector(), FVector(-Magnitude, Magnitude, Magnitude));
		const FTransform B = Random.UniformScaleTransform();
		const FTransform Relative = A.GetRelativeTransform(B);
		EXPECT_TRUE(Relative.IsRotationNormalized());
		EXPECT_TRUE(Near(Relative.GetScale3D(), A.GetScale3D() / B.GetScale3D()));
		EXPECT_TRUE(Near((Relative * B).ToMatrixWithScale(), A.ToMatrixWithScale(), Loose));
	}
}

TEST(FTransform, MatrixRoundTripRecoversTheComponents)
{
	FRandomMath Random;
	for (int32 Case = 0; Case < RandomCases; ++Case)
	{
		const FTransform T = Random.NonUniformScaleTransform();
		EXPECT_TRUE(Near(FTransform(T.ToMatrixWithScale()), T));
		FTransform FromMatrix;
		FromMatrix.SetFromMatrix(T.ToMatrixWithScale());
		EXPECT_TRUE(Near(FromMatrix, T));
		EXPECT_TRUE(Near(T.ToMatrixNoScale(), FTransform(T.GetRotation(), T.GetTranslation()).ToMatrixWithScale()));
	}
}

TEST(FTransform, NegativeDeterminantBecomesANegativeXScale)
{
	const FTransform Reflection(SwappedYZColumns());
	EXPECT_TRUE(Near(Reflection.GetScale3D(), FVector(-1, 1, 1)));
	EXPECT_TRUE(Reflection.IsRotationNormalized());
	EXPECT_TRUE(Near(Reflection.GetRotation().RotateVector(FVector::YAxisVector), FVector::ZAxisVector));
	EXPECT_TRUE(Near(Reflection.GetRotation().RotateVector(FVector::ZAxisVector), FVector::YAxisVector));
	EXPECT_TRUE(Near(Reflection.GetRotation().RotateVector(FVector::XAxisVector), -FVector::XAxisVector));
	EXPECT_TRUE(Near(Reflection.ToMatrixWithScale(), SwappedYZColumns()));
	EXPECT_NEAR(Reflection.GetDeterminant(), -1.0, Tight);

	// Whichever axis was negative, the decomposition puts the sign on X and reproduces the matrix.
	FRandomMath Random;
	for (const FVector& Scale : {FVector(-2, 3, 4), FVector(2, -3, 4), FVector(2, 3, -4), FVector(-2, -3, -4)})
	{
		const FRotator R = Random.RotatorAwayFromGimbalLock();
		const FMatrix M = FScaleRotationTranslationMatrix(Scale, R, FVector(1, 2, 3));
		const FTransform T(M);
		EXPECT_TRUE(Near(T.GetScale3D(), FVector(-2, 3, 4)));
		EXPECT_TRUE(Near(T.GetTranslation(), FVector(1, 2, 3)));
		EXPECT_TRUE(Near(T.ToMatrixWithScale(), M));
	}
	const FTransform NegativeX(FMatrix(FScaleRotationTranslationMatrix(FVector(-2, 3, 4), FRotator(10, 20, 30), FVector::ZeroVector)));
	EXPECT_TRUE(Near(NegativeX.Rotator(), FRotator(10, 20, 30)));
}

TEST(FTransform, AxesConstructorReadsTheMatrixRows)
{
	const FTransform T(FVector(0, 2, 0), FVector(-2, 0, 0), FVector(0, 0, 2), FVector(5, 6, 7));
	EXPECT_TRUE(Near(T.GetScale3D(), FVector(2, 2, 2)));
	EXPECT_TRUE(Near(T.Rotator(), FRotator(0, 90, 0)));
	EXPECT_EQ(T.GetLocation(), FVector(5, 6, 7));
}

TEST(FTransform, RotationsComposeWithTheTransformRotation)
{
	const FTransform T(FRotator(0, 90, 0), FVector(1, 2, 3));
	const FQuat Local(FVector::ForwardVector, UE_DOUBLE_HALF_PI);
	EXPECT_TRUE(Near(T.TransformRotation(Local), T.GetRotation() * Local));
	EXPECT_TRUE(Near(T.InverseTransformRotation(T.TransformRotation(Local)), Local));
	EXPECT_TRUE(Near(T.TransformRotation(Local).RotateVector(FVector::RightVector), FVector::UpVector));
}

TEST(FTransform, ValidityNeedsFiniteValuesAndANormalizedRotation)
{
	FTransform T(FRotator(10, 20, 30), FVector(1, 2, 3), FVector(2, 3, 4));
	EXPECT_TRUE(T.IsValid());
	EXPECT_DOUBLE_EQ(T.GetDeterminant(), 24.0);
	T.SetRotation(FQuat(0, 0, 0, 2));
	EXPECT_FALSE(T.IsValid());
	T.NormalizeRotation();
	EXPECT_TRUE(T.IsValid());
	EXPECT_EQ(T.GetRotation(), FQuat::Identity);
	T.SetLocation(FVector(std::numeric_limits<double>::quiet_NaN(), 0, 0));
	EXPECT_TRUE(T.ContainsNaN());
	EXPECT_FALSE(T.IsValid());
}

TEST(FTransform, EqualsComparesEachPartWithinTolerance)
{
	const FTransform A(FRotator(10, 20, 30), FVector(1, 2, 3), FVector(1, 2, 3));
	FTransform B = A;
	B.SetRotation(A.GetRotation() * -1.0);
	EXPECT_TRUE(A.Equals(B));
	B.SetScale3D(FVector(1, 2, 3.1));
	EXPECT_FALSE(A.Equals(B));
	EXPECT_TRUE(A.EqualsNoScale(B));
	EXPECT_TRUE(A.GetScaled(2.0).GetScale3D().Equals(FVector(2, 4, 6)));
}

TEST(FTransform, MirrorReflectsThroughTheMatrix)
{
	FTransform T(FRotator(0, 30, 0), FVector(1, 2, 3));
	FMatrix Expected = T.ToMatrixWithScale();
	Expected.Mirror(EAxis::X, EAxis::X);
	T.Mirror(EAxis::X, EAxis::X);
	EXPECT_TRUE(Near(T.ToMatrixWithScale(), Expected));
	EXPECT_TRUE(Near(T.GetTranslation(), FVector(-1, 2, 3)));
	EXPECT_TRUE(Near(T.GetScale3D(), FVector::OneVector));
}

TEST(FTransform, ToStringListsTranslationRotatorAndScale)
{
	const FTransform T(FRotator(0, 90, 0), FVector(1, 2, 3), FVector(1, 1, 2));
	EXPECT_EQ(Narrow(T.ToString()), "1.000000,2.000000,3.000000|0.000000,90.000000,0.000000|1.000000,1.000000,2.000000");
}

TEST(FTransform, PrecisionConversionsKeepTheValues)
{
	const FTransform3f Single(FTransform(FRotator(0, 90, 0), FVector(1, 2, 3)));
	EXPECT_TRUE(Single.GetTranslation().Equals(FVector3f(1, 2, 3)));
	EXPECT_TRUE(Near(FTransform(Single), FTransform(FRotator(0, 90, 0), FVector(1, 2, 3)), 1.0e-6));
}

// ---------------------------------------------------------------------------------------------------
// FLinearColor and FColor

TEST(FColor, NamedColorsHaveTheEngineValues)
{
	EXPECT_EQ(FLinearColor::White, FLinearColor(1, 1, 1, 1));
	EXPECT_EQ(FLinearColor::Black, FLinearColor(0, 0, 0, 1));
	EXPECT_EQ(FLinearColor::Transparent, FLinearColor(0, 0, 0, 0));
	EXPECT_EQ(FLinearColor::Yellow, FLinearColor(1, 1, 0, 1));
	EXPECT_EQ(FLinearColor::Blue, FLinearColor(0, 0, 1, 1));
	EXPECT_EQ(FColor::Red, FColor(255, 0, 0, 255));
	EXPECT_EQ(FColor::Orange, FColor(243, 156, 18, 255));
}

TEST(FColor, ToFColorClampsQuantizesAndOptionallyEncodesSRGB)
{
	EXPECT_EQ(FLinearColor(0.5f, 0.5f, 0.5f, 0.5f).ToFColor(false), FColor(127, 127, 127, 127));
	EXPECT_EQ(FLinearColor(0.5f, 0.0f, 1.0f, 1.0f).ToFColor(true), FColor(188, 0, 255, 255));
	EXPECT_EQ(FLinearColor(-1.0f, 2.0f, 0.0f, 7.0f).ToFColor(true), FColor(0, 255, 0, 255));
}

TEST(FColor, LinearFromFColorDecodesTheSRGBCurve)
{
	const FLinearColor Decoded(FColor(188, 0, 255, 51));
	EXPECT_NEAR(Decoded.R, 0.5028864580325687, 1.0e-6);
	EXPECT_EQ(Decoded.G, 0.0f);
	EXPECT_NEAR(Decoded.B, 1.0, 1.0e-6);
	EXPECT_NEAR(Decoded.A, 0.2, 1.0e-6);
	for (int32 Value = 0; Value < 256; ++Value)
	{
		const FColor Original((uint8)Value, (uint8)Value, (uint8)Value, (uint8)Value);
		EXPECT_EQ(FLinearColor::FromSRGBColor(Original).ToFColor(true), Original) << Value;
		EXPECT_EQ(Original.ReinterpretAsLinear().ToFColor(false), Original) << Value;
	}
	EXPECT_TRUE(FColor(51, 102, 255, 0).ReinterpretAsLinear().Equals(FLinearColor(0.2f, 0.4f, 1.0f, 0.0f)));
}

TEST(FColor, HexRoundTripsAndRejectsMalformedText)
{
	EXPECT_EQ(Narrow(FColor(255, 128, 0, 255).ToHex()), "FF8000FF");
	EXPECT_EQ(FColor::FromHex(TEXT("#FF8000")), FColor(255, 128, 0, 255));
	EXPECT_EQ(FColor::FromHex(TEXT("ff800080")), FColor(255, 128, 0, 128));
	EXPECT_EQ(FColor::FromHex(TEXT("F80")), FColor(255, 136, 0, 255));
	EXPECT_EQ(FColor::FromHex(TEXT("#12345")), FColor(0, 0, 0, 0));
	EXPECT_EQ(FColor::FromHex(TEXT("GG0000")), FColor(0, 0, 0, 0));
	EXPECT_EQ(FColor::FromHex(TEXT("")), FColor(0, 0, 0, 0));
	const FColor Color(1, 2, 3, 4);
	EXPECT_EQ(FColor::FromHex(Color.ToHex()), Color);
}

TEST(FColor, PackedValueIsAlphaRedGreenBlue)
{
	EXPECT_EQ(FColor(1, 2, 3, 4).DWColor(), 0x04010203u);
	EXPECT_EQ(FColor(0x04010203u), FColor(1, 2, 3, 4));
	EXPECT_EQ(FColor(1, 2, 3, 4).ToPackedRGBA(), 0x01020304u);
	EXPECT_EQ(GetTypeHash(FColor(1, 2, 3, 4)), 0x04010203u);
	EXPECT_EQ(FColor(1, 2, 3).WithAlpha(9).A, 9);
}

TEST(FColor, TextForms)
{
	EXPECT_EQ(Narrow(FColor(255, 0, 10, 255).ToString()), "(R=255,G=0,B=10,A=255)");
	EXPECT_EQ(Narrow(FLinearColor(1, 0, 0.5f, 1).ToString()), "(R=1.000000,G=0.000000,B=0.500000,A=1.000000)");
}

TEST(FLinearColor, ArithmeticIncludesAlpha)
{
	const FLinearColor A(0.2f, 0.4f, 0.6f, 1.0f);
	EXPECT_TRUE((A * 2.0f).Equals(FLinearColor(0.4f, 0.8f, 1.2f, 2.0f)));
	EXPECT_TRUE((A + A).Equals(2.0f * A));
	EXPECT_TRUE((A * 2.0f).GetClamped().Equals(FLinearColor(0.4f, 0.8f, 1.0f, 1.0f)));
	EXPECT_TRUE(A.CopyWithNewOpacity(0.5f).Equals(FLinearColor(0.2f, 0.4f, 0.6f, 0.5f)));
	EXPECT_NEAR(FLinearColor::White.GetLuminance(), 1.0, 1.0e-6);
	EXPECT_EQ(FLinearColor(FVector(0.1, 0.2, 0.3)).A, 1.0f);
	EXPECT_EQ(GetTypeHash(FLinearColor(-0.0f, 1, 1, 1)), GetTypeHash(FLinearColor(0, 1, 1, 1)));
}
