#include "AnimationCoreLibrary.h"

const FEulerTransform FEulerTransform::Identity = FEulerTransform();

namespace AnimationCore
{
	namespace
	{
		/** The axes of each order, the first applied first. */
		void AxesOf(EEulerRotationOrder Order, int32 Axes[3])
		{
			static const int32 Table[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
			const int32 Row = FMath::Clamp((int32)Order, 0, 5);
			for (int32 Index = 0; Index < 3; ++Index)
			{
				Axes[Index] = Table[Row][Index];
			}
		}

		/**
		 * The angle sign between the rotator's sense of each axis and the right-handed sense of an
		 * axis-angle rotation: roll and pitch turn the other way, yaw the same way.
		 */
		const double AxisSense[3] = {-1.0, -1.0, 1.0};

		FQuat AxisRotation(int32 Axis, double Degrees)
		{
			FVector Direction(0.0, 0.0, 0.0);
			Direction[Axis] = 1.0;
			return FQuat(Direction, FMath::DegreesToRadians(Degrees * AxisSense[Axis]));
		}
	}

	FQuat QuatFromEuler(const FVector& XYZAnglesInDegrees, EEulerRotationOrder RotationOrder)
	{
		int32 Axes[3];
		AxesOf(RotationOrder, Axes);
		// Quaternions apply their right operand first.
		FQuat Result = AxisRotation(Axes[2], XYZAnglesInDegrees[Axes[2]]) * AxisRotation(Axes[1], XYZAnglesInDegrees[Axes[1]]) * AxisRotation(Axes[0], XYZAnglesInDegrees[Axes[0]]);
		Result.Normalize();
		return Result;
	}

	FVector EulerFromQuat(const FQuat& Rotation, EEulerRotationOrder RotationOrder)
	{
		FQuat Q = Rotation;
		Q.Normalize();
		// The rotation as a column-vector matrix: M * v rotates v.
		const double X = Q.X, Y = Q.Y, Z = Q.Z, W = Q.W;
		const double M[3][3] = {
			{1.0 - 2.0 * (Y * Y + Z * Z), 2.0 * (X * Y - W * Z), 2.0 * (X * Z + W * Y)},
			{2.0 * (X * Y + W * Z), 1.0 - 2.0 * (X * X + Z * Z), 2.0 * (Y * Z - W * X)},
			{2.0 * (X * Z - W * Y), 2.0 * (Y * Z + W * X), 1.0 - 2.0 * (X * X + Y * Y)}};
		int32 Axes[3];
		AxesOf(RotationOrder, Axes);
		const int32 I = Axes[0], J = Axes[1], K = Axes[2];
		// Orders that are cyclic shifts of XYZ have parity +1, the others -1.
		const double Parity = ((J - I + 3) % 3 == 1) ? 1.0 : -1.0;
		const double First = FMath::Atan2(Parity * M[K][J], M[K][K]);
		const double Second = FMath::Asin(FMath::Clamp(-Parity * M[K][I], -1.0, 1.0));
		const double Third = FMath::Atan2(Parity * M[J][I], M[I][I]);
		FVector Result(0.0, 0.0, 0.0);
		Result[I] = FMath::RadiansToDegrees(First) * AxisSense[I];
		Result[J] = FMath::RadiansToDegrees(Second) * AxisSense[J];
		Result[K] = FMath::RadiansToDegrees(Third) * AxisSense[K];
		return Result;
	}
}
