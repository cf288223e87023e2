// TVector4: a 4D vector, a point (W 1) or direction (W 0) in homogeneous coordinates; FVector4 holds doubles.
#pragma once

#include <type_traits>

#include "Containers/UnrealString.h"
#include "CoreTypes.h"
#include "Math/MathFwd.h"
#include "Math/UnrealMathUtility.h"
#include "Math/Vector.h"
#include "Math/Vector2D.h"
#include "Misc/AssertionMacros.h"

namespace UE::Math
{
	template <typename T>
	struct alignas(16) TVector4
	{
		static_assert(std::is_floating_point_v<T>, "TVector4 holds float or double components");

		using FReal = T;

		/** The vector's X component. */
		T X;
		/** The vector's Y component. */
		T Y;
		/** The vector's Z component. */
		T Z;
		/** The vector's W component. */
		T W;

		/** Makes a vector from its components; unspecified components are zero, and W is one. */
		explicit constexpr TVector4(const T InX = 0, const T InY = 0, const T InZ = 0, const T InW = 1)
			: X(InX), Y(InY), Z(InZ), W(InW)
		{
		}

		/** Makes a vector from a 3D vector and a W (one, a point, unless given). */
		constexpr TVector4(const TVector<T>& InVector, const T InW = 1)
			: X(InVector.X), Y(InVector.Y), Z(InVector.Z), W(InW)
		{
		}

		/** Makes a vector from two 2D vectors: (XY.X, XY.Y, ZW.X, ZW.Y). */
		explicit constexpr TVector4(const TVector2<T> InXY, const TVector2<T> InZW)
			: X(InXY.X), Y(InXY.Y), Z(InZW.X), W(InZW.Y)
		{
		}

		/** Makes the zero vector, W included. */
		explicit constexpr TVector4(EForceInit::Type)
			: X(0), Y(0), Z(0), W(0)
		{
		}

		/** Converts from a vector of the other precision. */
		template <typename FArg>
			requires (!std::is_same_v<T, FArg>)
		explicit constexpr TVector4(const TVector4<FArg>& From)
			: X((T)From.X), Y((T)From.Y), Z((T)From.Z), W((T)From.W)
		{
		}

		/** Returns the component at Index (0 to 3). */
		T& operator[](const int32 Index)
		{
			check(Index >= 0 && Index < 4);
			return Index == 0 ? X : (Index == 1 ? Y : (Index == 2 ? Z : W));
		}

		/** Returns the component at Index (0 to 3). */
		T operator[](const int32 Index) const
		{
			check(Index >= 0 && Index < 4);
			return Index == 0 ? X : (Index == 1 ? Y : (Index == 2 ? Z : W));
		}

		/** Returns the component at Index (0 to 3). */
		T& Component(const int32 Index) { return (*this)[Index]; }
		/** Returns the component at Index (0 to 3). */
		T Component(const int32 Index) const { return (*this)[Index]; }

		/** Returns the negated vector, W included. */
		constexpr TVector4<T> operator-() const { return TVector4<T>(-X, -Y, -Z, -W); }
		/** Returns the component-wise sum. */
		constexpr TVector4<T> operator+(const TVector4<T>& V) const { return TVector4<T>(X + V.X, Y + V.Y, Z + V.Z, W + V.W); }
		/** Returns the component-wise difference. */
		constexpr TVector4<T> operator-(const TVector4<T>& V) const { return TVector4<T>(X - V.X, Y - V.Y, Z - V.Z, W - V.W); }
		/** Returns the component-wise product. */
		constexpr TVector4<T> operator*(const TVector4<T>& V) const { return TVector4<T>(X * V.X, Y * V.Y, Z * V.Z, W * V.W); }
		/** Returns the component-wise quotient. */
		constexpr TVector4<T> operator/(const TVector4<T>& V) const { return TVector4<T>(X / V.X, Y / V.Y, Z / V.Z, W / V.W); }

		/** Returns all four components scaled by Scale. */
		template <typename FArg>
			requires std::is_arithmetic_v<FArg>
		constexpr TVector4<T> operator*(const FArg Scale) const
		{
			return TVector4<T>(X * (T)Scale, Y * (T)Scale, Z * (T)Scale, W * (T)Scale);
		}

		/** Returns all four components divided by Scale. */
		template <typename FArg>
			requires std::is_arithmetic_v<FArg>
		constexpr TVector4<T> operator/(const FArg Scale) const
		{
			const T RScale = (T)1 / (T)Scale;
			return TVector4<T>(X * RScale, Y * RScale, Z * RScale, W * RScale);
		}

		/** Adds V component-wise. */
		constexpr TVector4<T>& operator+=(const TVector4<T>& V) { X += V.X; Y += V.Y; Z += V.Z; W += V.W; return *this; }
		/** Subtracts V component-wise. */
		constexpr TVector4<T>& operator-=(const TVector4<T>& V) { X -= V.X; Y -= V.Y; Z -= V.Z; W -= V.W; return *this; }
		/** Multiplies by V component-wise. */
		constexpr TVector4<T>& operator*=(const TVector4<T>& V) { X *= V.X; Y *= V.Y; Z *= V.Z; W *= V.W; return *this; }
		/** Divides by V component-wise. */
		constexpr TVector4<T>& operator/=(const TVector4<T>& V) { X /= V.X; Y /= V.Y; Z /= V.Z; W /= V.W; return *this; }

		/** Scales all four components by Scale. */
		template <typename FArg>
			requires std::is_arithmetic_v<FArg>
		constexpr TVector4<T>& operator*=(const FArg Scale)
		{
			X *= (T)Scale;
			Y *= (T)Scale;
			Z *= (T)Scale;
			W *= (T)Scale;
			return *this;
		}

		/** Returns the cross product of the XYZ parts, with W zero. */
		constexpr TVector4<T> operator^(const TVector4<T>& V) const
		{
			return TVector4<T>(Y * V.Z - Z * V.Y, Z * V.X - X * V.Z, X * V.Y - Y * V.X, 0);
		}

		/** True when all four components are exactly equal. */
		constexpr bool operator==(const TVector4<T>& V) const { return X == V.X && Y == V.Y && Z == V.Z && W == V.W; }
		/** True when any component differs. */
		constexpr bool operator!=(const TVector4<T>& V) const { return !(*this == V); }

		/** True when all four components are within Tolerance of V's. */
		bool Equals(const TVector4<T>& V, const T Tolerance = UE_KINDA_SMALL_NUMBER) const
		{
			return FMath::Abs(X - V.X) <= Tolerance && FMath::Abs(Y - V.Y) <= Tolerance
				&& FMath::Abs(Z - V.Z) <= Tolerance && FMath::Abs(W - V.W) <= Tolerance;
		}

		/** Returns the unit vector of the XYZ part with W zero, or (0, 0, 0, 1) when that part is too short. */
		TVector4<T> GetSafeNormal(const T Tolerance = UE_SMALL_NUMBER) const
		{
			const T SquareSum = X * X + Y * Y + Z * Z;
			if (SquareSum > Tolerance)
			{
				const T Scale = FMath::InvSqrt(SquareSum);
				return TVector4<T>(X * Scale, Y * Scale, Z * Scale, 0);
			}
			return TVector4<T>(0);
		}

		/** Returns the unit vector of the XYZ part with W zero, without guarding against zero length. */
		TVector4<T> GetUnsafeNormal3() const
		{
			const T Scale = FMath::InvSqrt(X * X + Y * Y + Z * Z);
			return TVector4<T>(X * Scale, Y * Scale, Z * Scale, 0);
		}

		/** Returns the length of the XYZ part. */
		T Size3() const { return FMath::Sqrt(X * X + Y * Y + Z * Z); }
		/** Returns the squared length of the XYZ part. */
		constexpr T SizeSquared3() const { return X * X + Y * Y + Z * Z; }
		/** Returns the length of all four components. */
		T Size() const { return FMath::Sqrt(X * X + Y * Y + Z * Z + W * W); }
		/** Returns the squared length of all four components. */
		constexpr T SizeSquared() const { return X * X + Y * Y + Z * Z + W * W; }

		/** True when the XYZ part's squared length is within LengthSquaredTolerance of one. */
		bool IsUnit3(const T LengthSquaredTolerance = UE_KINDA_SMALL_NUMBER) const
		{
			return FMath::Abs((T)1 - SizeSquared3()) < LengthSquaredTolerance;
		}

		/** True when each of X, Y and Z is within Tolerance of zero. */
		bool IsNearlyZero3(const T Tolerance = UE_KINDA_SMALL_NUMBER) const
		{
			return FMath::Abs(X) <= Tolerance && FMath::Abs(Y) <= Tolerance && FMath::Abs(Z) <= Tolerance;
		}

		/** True when any component is NaN or infinite. */
		bool ContainsNaN() const
		{
			return !FMath::IsFinite(X) || !FMath::IsFinite(Y) || !FMath::IsFinite(Z) || !FMath::IsFinite(W);
		}

		/** Returns the text "X=... Y=... Z=... W=..." with three decimals. */
		FString ToString() const
		{
			return FString::Printf(TEXT("X=%3.3f Y=%3.3f Z=%3.3f W=%3.3f"), X, Y, Z, W);
		}
	};

	/** Returns V scaled by Scale. */
	template <typename T, typename FArg>
		requires std::is_arithmetic_v<FArg>
	constexpr TVector4<T> operator*(const FArg Scale, const TVector4<T>& V)
	{
		return V.operator*(Scale);
	}

	/** Returns the dot product of the XYZ parts. */
	template <typename T>
	constexpr T Dot3(const TVector4<T>& V1, const TVector4<T>& V2)
	{
		return V1.X * V2.X + V1.Y * V2.Y + V1.Z * V2.Z;
	}

	/** Returns the dot product of all four components. */
	template <typename T>
	constexpr T Dot4(const TVector4<T>& V1, const TVector4<T>& V2)
	{
		return V1.X * V2.X + V1.Y * V2.Y + V1.Z * V2.Z + V1.W * V2.W;
	}

	/** Hashes a 4D vector; vectors that compare equal hash alike. */
	template <typename T>
	uint32 GetTypeHash(const TVector4<T>& Vector)
	{
		return Private::HashComponents(Vector.X, Vector.Y, Vector.Z, Vector.W);
	}
}
