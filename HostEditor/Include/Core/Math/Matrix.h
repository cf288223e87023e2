// TMatrix: a 4x4 transformation matrix for row vectors; FMatrix holds doubles. Also the matrices made
// from a rotation, scale or translation.
#pragma once

#include <type_traits>

#include "Containers/UnrealString.h"
#include "CoreTypes.h"
#include "Math/Axis.h"
#include "Math/MathFwd.h"
#include "Math/UnrealMathUtility.h"
#include "Math/Vector.h"
#include "Math/Vector4.h"
#include "Misc/AssertionMacros.h"

namespace UE::Math
{
	/**
	 * Points are row vectors: a point P is transformed as P * M. Rows 0, 1 and 2 are the images of the
	 * X, Y and Z axes, row 3 holds the translation, and A * B transforms by A first, then by B.
	 */
	template <typename T>
	struct alignas(16) TMatrix
	{
		static_assert(std::is_floating_point_v<T>, "TMatrix holds float or double elements");

		using FReal = T;

		/** The elements, indexed [Row][Column]. */
		T M[4][4];

		/** The identity matrix. */
		static const TMatrix<T> Identity;

		/** Makes the all-zero matrix. */
		constexpr TMatrix()
			: M{}
		{
		}

		/** Makes the all-zero matrix. */
		explicit constexpr TMatrix(EForceInit::Type)
			: M{}
		{
		}

		/** Makes a matrix whose rows are InX, InY, InZ (fourth column 0) and InW (fourth column 1). */
		constexpr TMatrix(const TVector<T>& InX, const TVector<T>& InY, const TVector<T>& InZ, const TVector<T>& InW)
			: M{{InX.X, InX.Y, InX.Z, 0}, {InY.X, InY.Y, InY.Z, 0}, {InZ.X, InZ.Y, InZ.Z, 0}, {InW.X, InW.Y, InW.Z, 1}}
		{
		}

		/** Converts from a matrix of the other precision. */
		template <typename FArg>
			requires (!std::is_same_v<T, FArg>)
		explicit constexpr TMatrix(const TMatrix<FArg>& From)
			: M{}
		{
			for (int32 Row = 0; Row < 4; ++Row)
			{
				for (int32 Col = 0; Col < 4; ++Col)
				{
					M[Row][Col] = (T)From.M[Row][Col];
				}
			}
		}

		/** Makes this the identity matrix. */
		void SetIdentity()
		{
			*this = Identity;
		}

		/** Returns the matrix that transforms by this matrix first, then by Other. */
		TMatrix<T> operator*(const TMatrix<T>& Other) const
		{
			TMatrix<T> Result;
			for (int32 Row = 0; Row < 4; ++Row)
			{
				for (int32 Col = 0; Col < 4; ++Col)
				{
					Result.M[Row][Col] = M[Row][0] * Other.M[0][Col] + M[Row][1] * Other.M[1][Col] + M[Row][2] * Other.M[2][Col] + M[Row][3] * Other.M[3][Col];
				}
			}
			return Result;
		}

		/** Becomes the matrix that transforms by its former value first, then by Other. */
		void operator*=(const TMatrix<T>& Other)
		{
			*this = *this * Other;
		}

		/** Returns the element-wise sum. */
		TMatrix<T> operator+(const TMatrix<T>& Other) const
		{
			TMatrix<T> Result;
			for (int32 Row = 0; Row < 4; ++Row)
			{
				for (int32 Col = 0; Col < 4; ++Col)
				{
					Result.M[Row][Col] = M[Row][Col] + Other.M[Row][Col];
				}
			}
			return Result;
		}

		/** Adds Other element-wise. */
		void operator+=(const TMatrix<T>& Other)
		{
			*this = *this + Other;
		}

		/** Returns every element multiplied by Other. */
		TMatrix<T> operator*(const T Other) const
		{
			TMatrix<T> Result;
			for (int32 Row = 0; Row < 4; ++Row)
			{
				for (int32 Col = 0; Col < 4; ++Col)
				{
					Result.M[Row][Col] = M[Row][Col] * Other;
				}
			}
			return Result;
		}

		/** Multiplies every element by Other. */
		void operator*=(const T Other)
		{
			*this = *this * Other;
		}

		/** True when every element is exactly equal. */
		bool operator==(const TMatrix<T>& Other) const
		{
			for (int32 Row = 0; Row < 4; ++Row)
			{
				for (int32 Col = 0; Col < 4; ++Col)
				{
					if (M[Row][Col] != Other.M[Row][Col])
					{
						return false;
					}
				}
			}
			return true;
		}

		/** True when any element differs. */
		bool operator!=(const TMatrix<T>& Other) const { return !(*this == Other); }

		/** True when every element is within Tolerance of Other's. */
		bool Equals(const TMatrix<T>& Other, const T Tolerance = UE_KINDA_SMALL_NUMBER) const
		{
			for (int32 Row = 0; Row < 4; ++Row)
			{
				for (int32 Col = 0; Col < 4; ++Col)
				{
					if (FMath::Abs(M[Row][Col] - Other.M[Row][Col]) > Tolerance)
					{
						return false;
					}
				}
			}
			return true;
		}

		/** Returns the row vector P multiplied by this matrix. */
		TVector4<T> TransformFVector4(const TVector4<T>& P) const
		{
			return TVector4<T>(
				P.X * M[0][0] + P.Y * M[1][0] + P.Z * M[2][0] + P.W * M[3][0],
				P.X * M[0][1] + P.Y * M[1][1] + P.Z * M[2][1] + P.W * M[3][1],
				P.X * M[0][2] + P.Y * M[1][2] + P.Z * M[2][2] + P.W * M[3][2],
				P.X * M[0][3] + P.Y * M[1][3] + P.Z * M[2][3] + P.W * M[3][3]);
		}

		/** Returns the point V transformed, translation included (W of the input is one). */
		TVector4<T> TransformPosition(const TVector<T>& V) const
		{
			return TransformFVector4(TVector4<T>(V.X, V.Y, V.Z, (T)1));
		}

		/** Returns the point V transformed by the inverse of this matrix. */
		TVector<T> InverseTransformPosition(const TVector<T>& V) const
		{
			return InverseFast().TransformPosition(V);
		}

		/** Returns the direction V transformed, translation ignored (W of the input is zero). */
		TVector4<T> TransformVector(const TVector<T>& V) const
		{
			return TransformFVector4(TVector4<T>(V.X, V.Y, V.Z, (T)0));
		}

		/** Returns the direction V transformed by the inverse of this matrix. */
		TVector<T> InverseTransformVector(const TVector<T>& V) const
		{
			return InverseFast().TransformVector(V);
		}

		/** Returns the transpose. */
		TMatrix<T> GetTransposed() const
		{
			TMatrix<T> Result;
			for (int32 Row = 0; Row < 4; ++Row)
			{
				for (int32 Col = 0; Col < 4; ++Col)
				{
					Result.M[Row][Col] = M[Col][Row];
				}
			}
			return Result;
		}

		/** Returns the determinant of the whole 4x4 matrix. */
		T Determinant() const
		{
			return M[0][0] * (M[1][1] * (M[2][2] * M[3][3] - M[2][3] * M[3][2]) - M[2][1] * (M[1][2] * M[3][3] - M[1][3] * M[3][2]) + M[3][1] * (M[1][2] * M[2][3] - M[1][3] * M[2][2]))
				- M[1][0] * (M[0][1] * (M[2][2] * M[3][3] - M[2][3] * M[3][2]) - M[2][1] * (M[0][2] * M[3][3] - M[0][3] * M[3][2]) + M[3][1] * (M[0][2] * M[2][3] - M[0][3] * M[2][2]))
				+ M[2][0] * (M[0][1] * (M[1][2] * M[3][3] - M[1][3] * M[3][2]) - M[1][1] * (M[0][2] * M[3][3] - M[0][3] * M[3][2]) + M[3][1] * (M[0][2] * M[1][3] - M[0][3] * M[1][2]))
				- M[3][0] * (M[0][1] * (M[1][2] * M[2][3] - M[1][3] * M[2][2]) - M[1][1] * (M[0][2] * M[2][3] - M[0][3] * M[2][2]) + M[2][1] * (M[0][2] * M[1][3] - M[0][3] * M[1][2]));
		}

		/** Returns the determinant of the upper-left 3x3 (rotation and scale) part. */
		T RotDeterminant() const
		{
			return M[0][0] * (M[1][1] * M[2][2] - M[1][2] * M[2][1])
				- M[1][0] * (M[0][1] * M[2][2] - M[0][2] * M[2][1])
				+ M[2][0] * (M[0][1] * M[1][2] - M[0][2] * M[1][1]);
		}

		/**
		 * Returns the inverse, for matrices known to be invertible. A singular matrix reports the
		 * failure and gives the identity rather than a matrix of infinities.
		 */
		TMatrix<T> InverseFast() const
		{
			TMatrix<T> Result;
			if (!ensureMsgf(TryInvert(Result), TEXT("InverseFast on a matrix that cannot be inverted")))
			{
				return Identity;
			}
			return Result;
		}

		/** Returns the inverse; a matrix with all three axes zero gives zero, any other singular matrix the identity. */
		TMatrix<T> Inverse() const
		{
			if (GetScaledAxis(EAxis::X).IsNearlyZero((T)UE_SMALL_NUMBER) && GetScaledAxis(EAxis::Y).IsNearlyZero((T)UE_SMALL_NUMBER)
				&& GetScaledAxis(EAxis::Z).IsNearlyZero((T)UE_SMALL_NUMBER))
			{
				return TMatrix<T>(ForceInitToZero);
			}
			TMatrix<T> Result;
			if (!TryInvert(Result))
			{
				return Identity;
			}
			return Result;
		}

		/** Scales rows 0 to 2 to unit length; rows whose squared length is below Tolerance stay as they are. */
		void RemoveScaling(const T Tolerance = UE_SMALL_NUMBER)
		{
			for (int32 Row = 0; Row < 3; ++Row)
			{
				const T SquareSum = M[Row][0] * M[Row][0] + M[Row][1] * M[Row][1] + M[Row][2] * M[Row][2];
				const T Scale = SquareSum >= Tolerance ? FMath::InvSqrt(SquareSum) : (T)1;
				M[Row][0] *= Scale;
				M[Row][1] *= Scale;
				M[Row][2] *= Scale;
			}
		}

		/** Returns a copy with rows 0 to 2 scaled to unit length. */
		TMatrix<T> GetMatrixWithoutScale(const T Tolerance = UE_SMALL_NUMBER) const
		{
			TMatrix<T> Result(*this);
			Result.RemoveScaling(Tolerance);
			return Result;
		}

		/** Returns the lengths of rows 0 to 2 and scales those rows to unit length; too-short rows count as zero scale and stay. */
		TVector<T> ExtractScaling(const T Tolerance = UE_SMALL_NUMBER)
		{
			TVector<T> Scale3D(0, 0, 0);
			for (int32 Row = 0; Row < 3; ++Row)
			{
				const T SquareSum = M[Row][0] * M[Row][0] + M[Row][1] * M[Row][1] + M[Row][2] * M[Row][2];
				if (SquareSum > Tolerance)
				{
					const T Scale = FMath::Sqrt(SquareSum);
					const T InvScale = (T)1 / Scale;
					Scale3D[Row] = Scale;
					M[Row][0] *= InvScale;
					M[Row][1] *= InvScale;
					M[Row][2] *= InvScale;
				}
			}
			return Scale3D;
		}

		/** Returns the lengths of rows 0 to 2; rows whose squared length is not above Tolerance give zero. */
		TVector<T> GetScaleVector(const T Tolerance = UE_SMALL_NUMBER) const
		{
			TVector<T> Scale3D(1, 1, 1);
			for (int32 Row = 0; Row < 3; ++Row)
			{
				const T SquareSum = M[Row][0] * M[Row][0] + M[Row][1] * M[Row][1] + M[Row][2] * M[Row][2];
				Scale3D[Row] = SquareSum > Tolerance ? FMath::Sqrt(SquareSum) : (T)0;
			}
			return Scale3D;
		}

		/** Returns the largest of the row 0 to 2 lengths. */
		T GetMaximumAxisScale() const
		{
			const T MaxRowScaleSquared = FMath::Max3(GetScaledAxis(EAxis::X).SizeSquared(), GetScaledAxis(EAxis::Y).SizeSquared(), GetScaledAxis(EAxis::Z).SizeSquared());
			return FMath::Sqrt(MaxRowScaleSquared);
		}

		/** Returns the matrix that scales by Scale first, then transforms by this matrix. */
		TMatrix<T> ApplyScale(const T Scale) const;

		/** Returns a copy with the translation removed. */
		TMatrix<T> RemoveTranslation(const T Tolerance = UE_SMALL_NUMBER) const
		{
			TMatrix<T> Result(*this);
			Result.M[3][0] = 0;
			Result.M[3][1] = 0;
			Result.M[3][2] = 0;
			return Result;
		}

		/** Returns a copy with Translation added to its translation. */
		TMatrix<T> ConcatTranslation(const TVector<T>& Translation) const
		{
			TMatrix<T> Result(*this);
			Result.M[3][0] += Translation.X;
			Result.M[3][1] += Translation.Y;
			Result.M[3][2] += Translation.Z;
			return Result;
		}

		/** True when any element is NaN or infinite. */
		bool ContainsNaN() const
		{
			for (int32 Row = 0; Row < 4; ++Row)
			{
				for (int32 Col = 0; Col < 4; ++Col)
				{
					if (!FMath::IsFinite(M[Row][Col]))
					{
						return true;
					}
				}
			}
			return false;
		}

		/** Returns the translation (row 3). */
		TVector<T> GetOrigin() const
		{
			return TVector<T>(M[3][0], M[3][1], M[3][2]);
		}

		/** Sets the translation (row 3). */
		void SetOrigin(const TVector<T>& NewOrigin)
		{
			M[3][0] = NewOrigin.X;
			M[3][1] = NewOrigin.Y;
			M[3][2] = NewOrigin.Z;
		}

		/** Returns the row of the given axis, scale included; the zero vector for EAxis::None. */
		TVector<T> GetScaledAxis(const EAxis::Type Axis) const
		{
			switch (Axis)
			{
			case EAxis::X: return TVector<T>(M[0][0], M[0][1], M[0][2]);
			case EAxis::Y: return TVector<T>(M[1][0], M[1][1], M[1][2]);
			case EAxis::Z: return TVector<T>(M[2][0], M[2][1], M[2][2]);
			default: return TVector<T>::ZeroVector;
			}
		}

		/** Gets rows 0 to 2, scale included. */
		void GetScaledAxes(TVector<T>& X, TVector<T>& Y, TVector<T>& Z) const
		{
			X = GetScaledAxis(EAxis::X);
			Y = GetScaledAxis(EAxis::Y);
			Z = GetScaledAxis(EAxis::Z);
		}

		/** Returns the row of the given axis scaled to unit length. */
		TVector<T> GetUnitAxis(const EAxis::Type Axis) const
		{
			return GetScaledAxis(Axis).GetSafeNormal();
		}

		/** Gets rows 0 to 2 scaled to unit length. */
		void GetUnitAxes(TVector<T>& X, TVector<T>& Y, TVector<T>& Z) const
		{
			X = GetUnitAxis(EAxis::X);
			Y = GetUnitAxis(EAxis::Y);
			Z = GetUnitAxis(EAxis::Z);
		}

		/** Sets the first three elements of row i (0 to 2) to Axis. */
		void SetAxis(const int32 i, const TVector<T>& Axis)
		{
			check(i >= 0 && i <= 2);
			M[i][0] = Axis.X;
			M[i][1] = Axis.Y;
			M[i][2] = Axis.Z;
		}

		/** Sets whichever of rows 0 to 2 and the translation are given. */
		void SetAxes(const TVector<T>* Axis0 = nullptr, const TVector<T>* Axis1 = nullptr, const TVector<T>* Axis2 = nullptr, const TVector<T>* Origin = nullptr)
		{
			if (Axis0)
			{
				SetAxis(0, *Axis0);
			}
			if (Axis1)
			{
				SetAxis(1, *Axis1);
			}
			if (Axis2)
			{
				SetAxis(2, *Axis2);
			}
			if (Origin)
			{
				SetOrigin(*Origin);
			}
		}

		/** Returns the first three elements of column i (0 to 3). */
		TVector<T> GetColumn(const int32 i) const
		{
			check(i >= 0 && i <= 3);
			return TVector<T>(M[0][i], M[1][i], M[2][i]);
		}

		/** Sets the first three elements of column i (0 to 3). */
		void SetColumn(const int32 i, const TVector<T>& Value)
		{
			check(i >= 0 && i <= 3);
			M[0][i] = Value.X;
			M[1][i] = Value.Y;
			M[2][i] = Value.Z;
		}

		/** Returns the rotator of the matrix's axes; scale does not affect it. */
		TRotator<T> Rotator() const;

		/** Returns the quaternion of the rotation part; the axes must be unit length. */
		TQuat<T> ToQuat() const;

		/**
		 * Reflects the matrix: MirrorAxis negates that output coordinate (a column, translation
		 * included) and FlipAxis negates that input axis (a row), so a mirrored rotation can stay proper.
		 */
		void Mirror(const EAxis::Type MirrorAxis, const EAxis::Type FlipAxis)
		{
			const int32 MirrorColumn = MirrorAxis == EAxis::X ? 0 : (MirrorAxis == EAxis::Y ? 1 : (MirrorAxis == EAxis::Z ? 2 : INDEX_NONE));
			if (MirrorColumn != INDEX_NONE)
			{
				for (int32 Row = 0; Row < 4; ++Row)
				{
					M[Row][MirrorColumn] *= (T)-1;
				}
			}
			const int32 FlipRow = FlipAxis == EAxis::X ? 0 : (FlipAxis == EAxis::Y ? 1 : (FlipAxis == EAxis::Z ? 2 : INDEX_NONE));
			if (FlipRow != INDEX_NONE)
			{
				for (int32 Col = 0; Col < 3; ++Col)
				{
					M[FlipRow][Col] *= (T)-1;
				}
			}
		}

		/** Returns the text "[a b c d] " for each of the four rows. */
		FString ToString() const
		{
			FString Output;
			for (int32 Row = 0; Row < 4; ++Row)
			{
				Output += FString::Printf(TEXT("[%g %g %g %g] "), M[Row][0], M[Row][1], M[Row][2], M[Row][3]);
			}
			return Output;
		}

	private:
		/** Writes the inverse to Result; false, leaving Result unchanged, when the determinant is zero or not finite. */
		bool TryInvert(TMatrix<T>& Result) const
		{
			// Cofactors of the first column's 3x3 minors give the determinant; the rest give the adjugate.
			T Cofactor[4][4];
			for (int32 Row = 0; Row < 4; ++Row)
			{
				for (int32 Col = 0; Col < 4; ++Col)
				{
					Cofactor[Row][Col] = CofactorAt(Row, Col);
				}
			}
			const T Det = M[0][0] * Cofactor[0][0] + M[0][1] * Cofactor[0][1] + M[0][2] * Cofactor[0][2] + M[0][3] * Cofactor[0][3];
			if (Det == (T)0 || !FMath::IsFinite(Det))
			{
				return false;
			}
			const T RDet = (T)1 / Det;
			for (int32 Row = 0; Row < 4; ++Row)
			{
				for (int32 Col = 0; Col < 4; ++Col)
				{
					Result.M[Row][Col] = Cofactor[Col][Row] * RDet;
				}
			}
			return true;
		}

		/** The signed determinant of the 3x3 minor that leaves out SkipRow and SkipCol. */
		T CofactorAt(const int32 SkipRow, const int32 SkipCol) const
		{
			T Minor[3][3];
			int32 OutRow = 0;
			for (int32 Row = 0; Row < 4; ++Row)
			{
				if (Row == SkipRow)
				{
					continue;
				}
				int32 OutCol = 0;
				for (int32 Col = 0; Col < 4; ++Col)
				{
					if (Col == SkipCol)
					{
						continue;
					}
					Minor[OutRow][OutCol++] = M[Row][Col];
				}
				++OutRow;
			}
			const T MinorDet = Minor[0][0] * (Minor[1][1] * Minor[2][2] - Minor[1][2] * Minor[2][1])
				- Minor[0][1] * (Minor[1][0] * Minor[2][2] - Minor[1][2] * Minor[2][0])
				+ Minor[0][2] * (Minor[1][0] * Minor[2][1] - Minor[1][1] * Minor[2][0]);
			return ((SkipRow + SkipCol) % 2 == 0) ? MinorDet : -MinorDet;
		}
	};

	template <typename T> const TMatrix<T> TMatrix<T>::Identity(TVector<T>(1, 0, 0), TVector<T>(0, 1, 0), TVector<T>(0, 0, 1), TVector<T>(0, 0, 0));

	/** The matrix that rotates by a rotator, then translates by Origin. */
	template <typename T>
	struct TRotationTranslationMatrix : public TMatrix<T>
	{
		/** Makes the matrix of Rot followed by the translation Origin. */
		TRotationTranslationMatrix(const TRotator<T>& Rot, const TVector<T>& Origin)
		{
			T SP = 0;
			T SY = 0;
			T SR = 0;
			T CP = 0;
			T CY = 0;
			T CR = 0;
			FMath::SinCos(&SP, &CP, FMath::DegreesToRadians(Rot.Pitch));
			FMath::SinCos(&SY, &CY, FMath::DegreesToRadians(Rot.Yaw));
			FMath::SinCos(&SR, &CR, FMath::DegreesToRadians(Rot.Roll));
			T (&Out)[4][4] = this->M;
			Out[0][0] = CP * CY;
			Out[0][1] = CP * SY;
			Out[0][2] = SP;
			Out[0][3] = 0;
			Out[1][0] = SR * SP * CY - CR * SY;
			Out[1][1] = SR * SP * SY + CR * CY;
			Out[1][2] = -SR * CP;
			Out[1][3] = 0;
			Out[2][0] = -(CR * SP * CY + SR * SY);
			Out[2][1] = CY * SR - CR * SP * SY;
			Out[2][2] = CR * CP;
			Out[2][3] = 0;
			Out[3][0] = Origin.X;
			Out[3][1] = Origin.Y;
			Out[3][2] = Origin.Z;
			Out[3][3] = 1;
		}

		/** Returns the matrix of Rot followed by the translation Origin. */
		static TMatrix<T> Make(const TRotator<T>& Rot, const TVector<T>& Origin)
		{
			return TRotationTranslationMatrix<T>(Rot, Origin);
		}
	};

	/** The matrix that rotates by a quaternion, then translates by Origin. */
	template <typename T>
	struct TQuatRotationTranslationMatrix : public TMatrix<T>
	{
		/** Makes the matrix of the unit quaternion Q followed by the translation Origin. */
		TQuatRotationTranslationMatrix(const TQuat<T>& Q, const TVector<T>& Origin)
		{
			const T X2 = Q.X + Q.X;
			const T Y2 = Q.Y + Q.Y;
			const T Z2 = Q.Z + Q.Z;
			const T XX = Q.X * X2;
			const T YY = Q.Y * Y2;
			const T ZZ = Q.Z * Z2;
			const T YZ = Q.Y * Z2;
			const T WX = Q.W * X2;
			const T XY = Q.X * Y2;
			const T WZ = Q.W * Z2;
			const T XZ = Q.X * Z2;
			const T WY = Q.W * Y2;
			T (&Out)[4][4] = this->M;
			Out[0][0] = (T)1 - (YY + ZZ);
			Out[0][1] = XY + WZ;
			Out[0][2] = XZ - WY;
			Out[0][3] = 0;
			Out[1][0] = XY - WZ;
			Out[1][1] = (T)1 - (XX + ZZ);
			Out[1][2] = YZ + WX;
			Out[1][3] = 0;
			Out[2][0] = XZ + WY;
			Out[2][1] = YZ - WX;
			Out[2][2] = (T)1 - (XX + YY);
			Out[2][3] = 0;
			Out[3][0] = Origin.X;
			Out[3][1] = Origin.Y;
			Out[3][2] = Origin.Z;
			Out[3][3] = 1;
		}

		/** Returns the matrix of Q followed by the translation Origin. */
		static TMatrix<T> Make(const TQuat<T>& Q, const TVector<T>& Origin)
		{
			return TQuatRotationTranslationMatrix<T>(Q, Origin);
		}
	};

	/** The matrix that rotates by a quaternion. */
	template <typename T>
	struct TQuatRotationMatrix : public TQuatRotationTranslationMatrix<T>
	{
		/** Makes the rotation matrix of the unit quaternion Q. */
		TQuatRotationMatrix(const TQuat<T>& Q)
			: TQuatRotationTranslationMatrix<T>(Q, TVector<T>::ZeroVector)
		{
		}

		/** Returns the rotation matrix of Q. */
		static TMatrix<T> Make(const TQuat<T>& Q)
		{
			return TQuatRotationMatrix<T>(Q);
		}
	};

	/** The matrix that rotates by a rotator, and the ways to build one from the axes it should have. */
	template <typename T>
	struct TRotationMatrix : public TRotationTranslationMatrix<T>
	{
		/** Makes the rotation matrix of Rot. */
		TRotationMatrix(const TRotator<T>& Rot)
			: TRotationTranslationMatrix<T>(Rot, TVector<T>::ZeroVector)
		{
		}

		/** Returns the rotation matrix of Rot. */
		static TMatrix<T> Make(const TRotator<T>& Rot)
		{
			return TRotationMatrix<T>(Rot);
		}

		/** Returns the rotation matrix of the unit quaternion Rot. */
		static TMatrix<T> Make(const TQuat<T>& Rot)
		{
			return TQuatRotationTranslationMatrix<T>(Rot, TVector<T>::ZeroVector);
		}

		/** Returns a rotation whose X axis points along XAxis, keeping Z as close to world up as it can. */
		static TMatrix<T> MakeFromX(const TVector<T>& XAxis)
		{
			const TVector<T> NewX = XAxis.GetSafeNormal();
			const TVector<T> NewY = (UpFor(NewX) ^ NewX).GetSafeNormal();
			const TVector<T> NewZ = NewX ^ NewY;
			return TMatrix<T>(NewX, NewY, NewZ, TVector<T>::ZeroVector);
		}

		/** Returns a rotation whose Y axis points along YAxis, with the other axes chosen from world up. */
		static TMatrix<T> MakeFromY(const TVector<T>& YAxis)
		{
			const TVector<T> NewY = YAxis.GetSafeNormal();
			const TVector<T> NewZ = (UpFor(NewY) ^ NewY).GetSafeNormal();
			const TVector<T> NewX = NewY ^ NewZ;
			return TMatrix<T>(NewX, NewY, NewZ, TVector<T>::ZeroVector);
		}

		/** Returns a rotation whose Z axis points along ZAxis, with the other axes chosen from world up. */
		static TMatrix<T> MakeFromZ(const TVector<T>& ZAxis)
		{
			const TVector<T> NewZ = ZAxis.GetSafeNormal();
			const TVector<T> NewX = (UpFor(NewZ) ^ NewZ).GetSafeNormal();
			const TVector<T> NewY = NewZ ^ NewX;
			return TMatrix<T>(NewX, NewY, NewZ, TVector<T>::ZeroVector);
		}

		/** Returns a rotation whose X axis points along XAxis and whose Y axis lies in the plane of XAxis and YAxis. */
		static TMatrix<T> MakeFromXY(const TVector<T>& XAxis, const TVector<T>& YAxis)
		{
			const TVector<T> NewX = XAxis.GetSafeNormal();
			const TVector<T> Norm = SecondAxisFor(NewX, YAxis);
			const TVector<T> NewZ = (NewX ^ Norm).GetSafeNormal();
			const TVector<T> NewY = NewZ ^ NewX;
			return TMatrix<T>(NewX, NewY, NewZ, TVector<T>::ZeroVector);
		}

		/** Returns a rotation whose X axis points along XAxis and whose Z axis lies in the plane of XAxis and ZAxis. */
		static TMatrix<T> MakeFromXZ(const TVector<T>& XAxis, const TVector<T>& ZAxis)
		{
			const TVector<T> NewX = XAxis.GetSafeNormal();
			const TVector<T> Norm = SecondAxisFor(NewX, ZAxis);
			const TVector<T> NewY = (Norm ^ NewX).GetSafeNormal();
			const TVector<T> NewZ = NewX ^ NewY;
			return TMatrix<T>(NewX, NewY, NewZ, TVector<T>::ZeroVector);
		}

		/** Returns a rotation whose Y axis points along YAxis and whose X axis lies in the plane of YAxis and XAxis. */
		static TMatrix<T> MakeFromYX(const TVector<T>& YAxis, const TVector<T>& XAxis)
		{
			const TVector<T> NewY = YAxis.GetSafeNormal();
			const TVector<T> Norm = SecondAxisFor(NewY, XAxis);
			const TVector<T> NewZ = (Norm ^ NewY).GetSafeNormal();
			const TVector<T> NewX = NewY ^ NewZ;
			return TMatrix<T>(NewX, NewY, NewZ, TVector<T>::ZeroVector);
		}

		/** Returns a rotation whose Y axis points along YAxis and whose Z axis lies in the plane of YAxis and ZAxis. */
		static TMatrix<T> MakeFromYZ(const TVector<T>& YAxis, const TVector<T>& ZAxis)
		{
			const TVector<T> NewY = YAxis.GetSafeNormal();
			const TVector<T> Norm = SecondAxisFor(NewY, ZAxis);
			const TVector<T> NewX = (NewY ^ Norm).GetSafeNormal();
			const TVector<T> NewZ = NewX ^ NewY;
			return TMatrix<T>(NewX, NewY, NewZ, TVector<T>::ZeroVector);
		}

		/** Returns a rotation whose Z axis points along ZAxis and whose X axis lies in the plane of ZAxis and XAxis. */
		static TMatrix<T> MakeFromZX(const TVector<T>& ZAxis, const TVector<T>& XAxis)
		{
			const TVector<T> NewZ = ZAxis.GetSafeNormal();
			const TVector<T> Norm = SecondAxisFor(NewZ, XAxis);
			const TVector<T> NewY = (NewZ ^ Norm).GetSafeNormal();
			const TVector<T> NewX = NewY ^ NewZ;
			return TMatrix<T>(NewX, NewY, NewZ, TVector<T>::ZeroVector);
		}

		/** Returns a rotation whose Z axis points along ZAxis and whose Y axis lies in the plane of ZAxis and YAxis. */
		static TMatrix<T> MakeFromZY(const TVector<T>& ZAxis, const TVector<T>& YAxis)
		{
			const TVector<T> NewZ = ZAxis.GetSafeNormal();
			const TVector<T> Norm = SecondAxisFor(NewZ, YAxis);
			const TVector<T> NewX = (Norm ^ NewZ).GetSafeNormal();
			const TVector<T> NewY = NewZ ^ NewX;
			return TMatrix<T>(NewX, NewY, NewZ, TVector<T>::ZeroVector);
		}

	private:
		/** World up, or world X when Axis itself points (nearly) straight up or down. */
		static TVector<T> UpFor(const TVector<T>& Axis)
		{
			return (FMath::Abs(Axis.Z) < (T)1 - (T)UE_KINDA_SMALL_NUMBER) ? TVector<T>(0, 0, 1) : TVector<T>(1, 0, 0);
		}

		/** The unit Second, or a stand-in from UpFor when Second is parallel to the unit First. */
		static TVector<T> SecondAxisFor(const TVector<T>& First, const TVector<T>& Second)
		{
			const TVector<T> Norm = Second.GetSafeNormal();
			return FMath::IsNearlyEqual(FMath::Abs(First | Norm), (T)1) ? UpFor(First) : Norm;
		}
	};

	/** The matrix that scales along the axes. */
	template <typename T>
	struct TScaleMatrix : public TMatrix<T>
	{
		/** Makes the matrix that scales uniformly by Scale. */
		TScaleMatrix(const T Scale)
			: TScaleMatrix(TVector<T>(Scale, Scale, Scale))
		{
		}

		/** Makes the matrix that scales X, Y and Z by Scale's components. */
		TScaleMatrix(const TVector<T>& Scale)
			: TMatrix<T>(TVector<T>(Scale.X, 0, 0), TVector<T>(0, Scale.Y, 0), TVector<T>(0, 0, Scale.Z), TVector<T>(0, 0, 0))
		{
		}

		/** Returns the matrix that scales uniformly by Scale. */
		static TMatrix<T> Make(const T Scale)
		{
			return TScaleMatrix<T>(Scale);
		}

		/** Returns the matrix that scales X, Y and Z by Scale's components. */
		static TMatrix<T> Make(const TVector<T>& Scale)
		{
			return TScaleMatrix<T>(Scale);
		}
	};

	/** The matrix that translates by a vector. */
	template <typename T>
	struct TTranslationMatrix : public TMatrix<T>
	{
		/** Makes the matrix that translates by Delta. */
		TTranslationMatrix(const TVector<T>& Delta)
			: TMatrix<T>(TVector<T>(1, 0, 0), TVector<T>(0, 1, 0), TVector<T>(0, 0, 1), Delta)
		{
		}

		/** Returns the matrix that translates by Delta. */
		static TMatrix<T> Make(const TVector<T>& Delta)
		{
			return TTranslationMatrix<T>(Delta);
		}
	};

	/** The matrix that scales, then rotates by a rotator, then translates. */
	template <typename T>
	struct TScaleRotationTranslationMatrix : public TMatrix<T>
	{
		/** Makes the matrix of Scale, then Rot, then the translation Origin. */
		TScaleRotationTranslationMatrix(const TVector<T>& Scale, const TRotator<T>& Rot, const TVector<T>& Origin)
			: TMatrix<T>(TRotationTranslationMatrix<T>(Rot, Origin))
		{
			for (int32 Col = 0; Col < 3; ++Col)
			{
				this->M[0][Col] *= Scale.X;
				this->M[1][Col] *= Scale.Y;
				this->M[2][Col] *= Scale.Z;
			}
		}
	};
}

// Conversions to rotators and quaternions need those types complete wherever matrices are used.
#include "Math/Rotator.h"
#include "Math/Quat.h"

namespace UE::Math
{
	template <typename T>
	TMatrix<T> TMatrix<T>::ApplyScale(const T Scale) const
	{
		return TScaleMatrix<T>(Scale) * (*this);
	}

	template <typename T>
	TRotator<T> TMatrix<T>::Rotator() const
	{
		const TVector<T> XAxis = GetScaledAxis(EAxis::X);
		const TVector<T> YAxis = GetScaledAxis(EAxis::Y);
		const TVector<T> ZAxis = GetScaledAxis(EAxis::Z);
		const T RadToDeg = (T)(180.0 / UE_DOUBLE_PI);
		TRotator<T> Rotator(
			FMath::Atan2(XAxis.Z, FMath::Sqrt(FMath::Square(XAxis.X) + FMath::Square(XAxis.Y))) * RadToDeg,
			FMath::Atan2(XAxis.Y, XAxis.X) * RadToDeg,
			(T)0);
		// Roll is the turn of the actual Y and Z axes about X away from where pitch and yaw alone put Y.
		const TVector<T> SYAxis = TRotationMatrix<T>(Rotator).GetScaledAxis(EAxis::Y);
		Rotator.Roll = FMath::Atan2(ZAxis | SYAxis, YAxis | SYAxis) * RadToDeg;
		return Rotator;
	}

	template <typename T>
	TQuat<T> TMatrix<T>::ToQuat() const
	{
		return TQuat<T>(*this);
	}
}
