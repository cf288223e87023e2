// Test helpers shared by the suites that check numbers made from Maya data: near-equality of
// vectors, Maya world matrices written out by hand and random proper Maya frames.
#pragma once

#include <gtest/gtest.h>

#include <random>

#include "CoreMinimal.h"

namespace MayaTestFrames
{
	inline void ExpectVectorNear(const FVector& Actual, const FVector& Expected, double Epsilon = 1.0e-9)
	{
		EXPECT_NEAR(Actual.X, Expected.X, Epsilon);
		EXPECT_NEAR(Actual.Y, Expected.Y, Epsilon);
		EXPECT_NEAR(Actual.Z, Expected.Z, Epsilon);
	}

	/** A Maya world matrix with the given axis rows (scaled) and translation, row-major. */
	inline TArray<float> MayaMatrix(const FVector& AxisX, const FVector& AxisY, const FVector& AxisZ, const FVector& Translation)
	{
		return {(float)AxisX.X, (float)AxisX.Y, (float)AxisX.Z, 0.0f,
				(float)AxisY.X, (float)AxisY.Y, (float)AxisY.Z, 0.0f,
				(float)AxisZ.X, (float)AxisZ.Y, (float)AxisZ.Z, 0.0f,
				(float)Translation.X, (float)Translation.Y, (float)Translation.Z, 1.0f};
	}

	/** A random proper orthonormal Maya frame from three random angles. */
	inline void RandomMayaFrame(std::mt19937& Random, FVector& OutX, FVector& OutY, FVector& OutZ)
	{
		std::uniform_real_distribution<double> Angle(-180.0, 180.0);
		const FQuat Rotation = FRotator(Angle(Random) * 0.49, Angle(Random), Angle(Random)).Quaternion();
		OutX = Rotation.GetAxisX();
		OutY = Rotation.GetAxisY();
		OutZ = Rotation.GetAxisZ();
	}
}
