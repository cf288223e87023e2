// The Maya-to-Unreal rules: positions swap Y and Z, world matrices decompose with a mirrored X axis,
// the Euler fallback and the inverse placement of world points.

#include <gtest/gtest.h>

#include <random>

#include "CoreMinimal.h"
#include "MayaTestFrames.h"
#include "VNMayaSpaceConversion.h"

namespace
{
	using MayaTestFrames::ExpectVectorNear;
	using MayaTestFrames::MayaMatrix;
	using MayaTestFrames::RandomMayaFrame;

	/** A Maya point through a Maya matrix in the row-vector convention. */
	FVector MayaTransformPoint(const TArray<float>& M, const FVector& P)
	{
		return FVector(P.X * M[0] + P.Y * M[4] + P.Z * M[8] + M[12],
					   P.X * M[1] + P.Y * M[5] + P.Z * M[9] + M[13],
					   P.X * M[2] + P.Y * M[6] + P.Z * M[10] + M[14]);
	}
}

TEST(MayaSpaceConversion, PositionsSwapYAndZWithoutChangingSigns)
{
	ExpectVectorNear(VNMayaSpaceConversion::MayaPositionToUnreal(FVector(1, 2, 3)), FVector(1, 3, 2));
	ExpectVectorNear(VNMayaSpaceConversion::MayaPositionToUnreal(FVector(-4, 0.5, -6)), FVector(-4, -6, 0.5));
}

TEST(MayaSpaceConversion, TheIdentityMatrixMirrorsTheXAxis)
{
	FTransform Result;
	ASSERT_TRUE(VNMayaSpaceConversion::MayaWorldMatrixToUnrealTransform(MayaMatrix(FVector(1, 0, 0), FVector(0, 1, 0), FVector(0, 0, 1), FVector(0, 0, 0)), Result));
	ExpectVectorNear(Result.GetTranslation(), FVector(0, 0, 0));
	ExpectVectorNear(Result.GetScale3D(), FVector(-1, 1, 1));
	const FQuat Rotation = Result.GetRotation();
	ExpectVectorNear(Rotation.RotateVector(FVector(0, 1, 0)), FVector(0, 0, 1));
	ExpectVectorNear(Rotation.RotateVector(FVector(0, 0, 1)), FVector(0, 1, 0));
	ExpectVectorNear(Rotation.RotateVector(FVector(1, 0, 0)), FVector(-1, 0, 0));
}

TEST(MayaSpaceConversion, MatrixTranslationSwapsYAndZ)
{
	FTransform Result;
	ASSERT_TRUE(VNMayaSpaceConversion::MayaWorldMatrixToUnrealTransform(MayaMatrix(FVector(1, 0, 0), FVector(0, 1, 0), FVector(0, 0, 1), FVector(10, 20, 30)), Result));
	ExpectVectorNear(Result.GetTranslation(), FVector(10, 30, 20), 1e-6);
}

TEST(MayaSpaceConversion, OnlySixteenValuesFormAMatrix)
{
	const FTransform Untouched(FQuat::Identity, FVector(7, 8, 9));
	for (const int32 Count : {0, 15, 17})
	{
		TArray<float> Values;
		Values.Init(0.0f, Count);
		FTransform Result = Untouched;
		EXPECT_FALSE(VNMayaSpaceConversion::MayaWorldMatrixToUnrealTransform(Values, Result)) << Count;
		ExpectVectorNear(Result.GetTranslation(), FVector(7, 8, 9));
	}
}

TEST(MayaSpaceConversion, ProperMayaFramesMapAsTheRulesSay)
{
	std::mt19937 Random(20261207);
	std::uniform_real_distribution<double> Coordinate(-200.0, 200.0);
	std::uniform_real_distribution<double> ScaleFactor(0.25, 4.0);
	for (int32 Trial = 0; Trial < 200; ++Trial)
	{
		FVector AxisX;
		FVector AxisY;
		FVector AxisZ;
		RandomMayaFrame(Random, AxisX, AxisY, AxisZ);
		const FVector Translation(Coordinate(Random), Coordinate(Random), Coordinate(Random));

		// Unscaled: scale (-1, 1, 1), Y and Z are the converted Maya axes, X the negated one.
		FTransform Result;
		const TArray<float> Matrix = MayaMatrix(AxisX, AxisY, AxisZ, Translation);
		ASSERT_TRUE(VNMayaSpaceConversion::MayaWorldMatrixToUnrealTransform(Matrix, Result));
		ExpectVectorNear(Result.GetScale3D(), FVector(-1, 1, 1), 1e-5);
		ExpectVectorNear(Result.GetTranslation(), VNMayaSpaceConversion::MayaPositionToUnreal(FVector((float)Translation.X, (float)Translation.Y, (float)Translation.Z)), 1e-4);
		const FQuat Rotation = Result.GetRotation();
		EXPECT_NEAR(Rotation.Size(), 1.0, 1e-6);
		ExpectVectorNear(Rotation.GetAxisY(), VNMayaSpaceConversion::MayaPositionToUnreal(AxisY), 1e-5);
		ExpectVectorNear(Rotation.GetAxisZ(), VNMayaSpaceConversion::MayaPositionToUnreal(AxisZ), 1e-5);
		ExpectVectorNear(Rotation.GetAxisX(), -VNMayaSpaceConversion::MayaPositionToUnreal(AxisX), 1e-5);

		// Scaled: a point in the control's local space lands where Maya puts it, converted.
		const FVector Scale(ScaleFactor(Random), ScaleFactor(Random), ScaleFactor(Random));
		const TArray<float> Scaled = MayaMatrix(AxisX * Scale.X, AxisY * Scale.Y, AxisZ * Scale.Z, Translation);
		ASSERT_TRUE(VNMayaSpaceConversion::MayaWorldMatrixToUnrealTransform(Scaled, Result));
		ExpectVectorNear(Result.GetScale3D(), FVector(-Scale.X, Scale.Y, Scale.Z), 1e-4);
		const FVector LocalPoint(Coordinate(Random) / 10, Coordinate(Random) / 10, Coordinate(Random) / 10);
		ExpectVectorNear(Result.TransformPosition(LocalPoint), VNMayaSpaceConversion::MayaPositionToUnreal(MayaTransformPoint(Scaled, LocalPoint)), 1e-3);
	}
}

TEST(MayaSpaceConversion, TheEulerFallbackUsesOnlyTheYRotation)
{
	const FTransform Result = VNMayaSpaceConversion::MayaEulerFallbackToUnrealTransform(FVector(1, 2, 3), FVector(15, 30, 45));
	const FRotator Rotator = Result.Rotator();
	EXPECT_NEAR(Rotator.Pitch, 0.0, 1e-6);
	EXPECT_NEAR(Rotator.Yaw, -30.0, 1e-6);
	EXPECT_NEAR(Rotator.Roll, 90.0, 1e-6);
	ExpectVectorNear(Result.GetTranslation(), FVector(1, 3, 2));
	ExpectVectorNear(Result.GetScale3D(), FVector(1, 1, 1));
}

TEST(MayaSpaceConversion, WorldPointsComeBackInTheTransformsLocalSpace)
{
	std::mt19937 Random(7);
	std::uniform_real_distribution<double> Coordinate(-50.0, 50.0);
	for (int32 Trial = 0; Trial < 50; ++Trial)
	{
		const FTransform World(FRotator(Coordinate(Random), Coordinate(Random) * 3, Coordinate(Random)).Quaternion(),
							   FVector(Coordinate(Random), Coordinate(Random), Coordinate(Random)),
							   FVector(-1.5, 2.0, 0.5));
		const FVector Local(Coordinate(Random), Coordinate(Random), Coordinate(Random));
		ExpectVectorNear(VNMayaSpaceConversion::WorldPointToLocal(World, World.TransformPosition(Local)), Local, 1e-8);
	}
}

TEST(MayaSpaceConversion, AZeroScaleComponentGivesZeroInsteadOfADivision)
{
	const FTransform Flat(FQuat::Identity, FVector(10, 0, 0), FVector(2, 0, 1e-9));
	const FVector Local = VNMayaSpaceConversion::WorldPointToLocal(Flat, FVector(14, 5, 6));
	EXPECT_DOUBLE_EQ(Local.X, 2.0);
	EXPECT_DOUBLE_EQ(Local.Y, 0.0);
	EXPECT_DOUBLE_EQ(Local.Z, 0.0);
	EXPECT_FALSE(Local.ContainsNaN());
}
