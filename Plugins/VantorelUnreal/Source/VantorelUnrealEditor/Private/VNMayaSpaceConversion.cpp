#include "VNMayaSpaceConversion.h"

namespace VNMayaSpaceConversion
{
	FVector MayaPositionToUnreal(const FVector& MayaPosition)
	{
		return FVector(MayaPosition.X, MayaPosition.Z, MayaPosition.Y);
	}

	bool MayaWorldMatrixToUnrealTransform(const TArray<float>& MayaMatrix, FTransform& OutTransform)
	{
		if (MayaMatrix.Num() != MayaMatrixValueCount)
		{
			return false;
		}
		FMatrix Converted;
		for (int32 Row = 0; Row < 4; ++Row)
		{
			const int32 RowStart = Row * 4;
			Converted.M[Row][0] = (double)MayaMatrix[RowStart + 0];
			Converted.M[Row][1] = (double)MayaMatrix[RowStart + 2];
			Converted.M[Row][2] = (double)MayaMatrix[RowStart + 1];
			Converted.M[Row][3] = (double)MayaMatrix[RowStart + 3];
		}
		OutTransform = FTransform(Converted);
		return true;
	}

	FTransform MayaEulerFallbackToUnrealTransform(const FVector& MayaPosition, const FVector& MayaRotationDegrees)
	{
		const FRotator Rotation(0.0, -MayaRotationDegrees.Y, 90.0);
		return FTransform(Rotation, MayaPositionToUnreal(MayaPosition), FVector::OneVector);
	}

	FVector DivideByScaleSafely(const FVector& Value, const FVector& Scale)
	{
		auto SafeDivide = [](double Component, double Divisor)
		{
			return FMath::Abs(Divisor) <= ZeroScaleTolerance ? 0.0 : Component / Divisor;
		};
		return FVector(SafeDivide(Value.X, Scale.X), SafeDivide(Value.Y, Scale.Y), SafeDivide(Value.Z, Scale.Z));
	}

	FVector WorldPointToLocal(const FTransform& WorldTransform, const FVector& WorldPoint)
	{
		const FVector Unrotated = WorldTransform.GetRotation().UnrotateVector(WorldPoint - WorldTransform.GetTranslation());
		return DivideByScaleSafely(Unrotated, WorldTransform.GetScale3D());
	}
}
