// TVector2: a point or direction in 2D space; FVector2D holds doubles.
#pragma once

#include <type_traits>

#include "Containers/UnrealString.h"
#include "CoreTypes.h"
#include "Math/MathFwd.h"
#include "Math/UnrealMathUtility.h"
#include "Math/Vector.h"
#include "Misc/AssertionMacros.h"

namespace UE::Math
{
	template <typename T>
	struct TVector2
	{
		static_assert(std::is_floating_point_v<T>, "TVector2 holds float or double components");

		using FReal = T;

		/** The vector's X component. */
		T X;
		/** The vector's Y component. */
		T Y;

		/** (0, 0). */
		static const TVector2<T> ZeroVector;
		/** (1, 1). */
		static const TVector2<T> UnitVector;
		/** The unit vector at 45 degrees, (1/sqrt(2), 1/sqrt(2)). */
		static const TVector2<T> Unit45Deg;

		/** Returns (0, 0). */
		static constexpr TVector2<T> Zero() { return TVector2<T>(0, 0); }
		/** Returns (1, 1). */
		static constexpr TVector2<T> One() { return TVector2<T>(1, 1); }
		/** Returns (1, 0). */
		static constexpr TVector2<T> UnitX() { return TVector2<T>(1, 0); }
		/** Returns (0, 1). */
		static constexpr TVector2<T> UnitY() { return TVector2<T>(0, 1); }

		/** Makes the zero vector. */
		constexpr TVector2()
			: X(0), Y(0)
		{
		}

		/** Makes a vector from its two components. */
		constexpr TVector2(const T InX, const T InY)
			: X(InX), Y(InY)
		{
		}

		/** Makes a vector with both components set to InF. */
		explicit constexpr TVector2(const T InF)
			: X(InF), Y(InF)
		{
		}

		/** Makes the zero vector. */
		explicit constexpr TVector2(EForceInit::Type)
			: X(0), Y(0)
		{
		}

		/** Makes a vector from the X and Y of a 3D vector. */
		explicit constexpr TVector2(const TVector<T>& V)
			: X(V.X), Y(V.Y)
		{
		}

		/** Makes a vector from an integer point. */
		template <typename IntType>
		explicit constexpr TVector2(const TIntPoint<IntType> InPos)
			: X((T)InPos.X), Y((T)InPos.Y)
		{
		}

		/** Converts from a vector of the other precision. */
		template <typename FArg>
			requires (!std::is_same_v<T, FArg>)
		explicit constexpr TVector2(const TVector2<FArg>& From)
			: X((T)From.X), Y((T)From.Y)
		{
		}

		/** Returns the component-wise sum. */
		constexpr TVector2<T> operator+(const TVector2<T>& V) const { return TVector2<T>(X + V.X, Y + V.Y); }
		/** Returns the component-wise difference. */
		constexpr TVector2<T> operator-(const TVector2<T>& V) const { return TVector2<T>(X - V.X, Y - V.Y); }
		/** Returns the component-wise product. */
		constexpr TVector2<T> operator*(const TVector2<T>& V) const { return TVector2<T>(X * V.X, Y * V.Y); }
		/** Returns the component-wise quotient. */
		constexpr TVector2<T> operator/(const TVector2<T>& V) const { return TVector2<T>(X / V.X, Y / V.Y); }

		/** Returns this vector scaled by Scale. */
		template <typename FArg>
			requires std::is_arithmetic_v<FArg>
		constexpr TVector2<T> operator*(const FArg Scale) const
		{
			return TVector2<T>(X * (T)Scale, Y * (T)Scale);
		}

		/** Returns this vector divided by Scale. */
		template <typename FArg>
			requires std::is_arithmetic_v<FArg>
		constexpr TVector2<T> operator/(const FArg Scale) const
		{
			const T RScale = (T)1 / (T)Scale;
			return TVector2<T>(X * RScale, Y * RScale);
		}

		/** Returns this vector with A added to both components. */
		template <typename FArg>
			requires std::is_arithmetic_v<FArg>
		constexpr TVector2<T> operator+(const FArg A) const
		{
			return TVector2<T>(X + (T)A, Y + (T)A);
		}

		/** Returns this vector with A subtracted from both components. */
		template <typename FArg>
			requires std::is_arithmetic_v<FArg>
		constexpr TVector2<T> operator-(const FArg A) const
		{
			return TVector2<T>(X - (T)A, Y - (T)A);
		}

		/** Returns the negated vector. */
		constexpr TVector2<T> operator-() const { return TVector2<T>(-X, -Y); }

		/** Adds V component-wise. */
		constexpr TVector2<T>& operator+=(const TVector2<T>& V) { X += V.X; Y += V.Y; return *this; }
		/** Subtracts V component-wise. */
		constexpr TVector2<T>& operator-=(const TVector2<T>& V) { X -= V.X; Y -= V.Y; return *this; }
		/** Multiplies by V component-wise. */
		constexpr TVector2<T>& operator*=(const TVector2<T>& V) { X *= V.X; Y *= V.Y; return *this; }
		/** Divides by V component-wise. */
		constexpr TVector2<T>& operator/=(const TVector2<T>& V) { X /= V.X; Y /= V.Y; return *this; }

		/** Scales both components by Scale. */
		template <typename FArg>
			requires std::is_arithmetic_v<FArg>
		constexpr TVector2<T>& operator*=(const FArg Scale)
		{
			X *= (T)Scale;
			Y *= (T)Scale;
			return *this;
		}

		/** Divides both components by Scale. */
		template <typename FArg>
			requires std::is_arithmetic_v<FArg>
		constexpr TVector2<T>& operator/=(const FArg Scale)
		{
			const T RScale = (T)1 / (T)Scale;
			X *= RScale;
			Y *= RScale;
			return *this;
		}

		/** Returns the dot product of this vector and V. */
		constexpr T operator|(const TVector2<T>& V) const { return X * V.X + Y * V.Y; }
		/** Returns the Z of the cross product of this vector and V, extended to 3D. */
		constexpr T operator^(const TVector2<T>& V) const { return X * V.Y - Y * V.X; }

		/** Returns the dot product of A and B. */
		static constexpr T DotProduct(const TVector2<T>& A, const TVector2<T>& B) { return A | B; }
		/** Returns the Z of the cross product of A and B, extended to 3D. */
		static constexpr T CrossProduct(const TVector2<T>& A, const TVector2<T>& B) { return A ^ B; }
		/** Returns the squared distance between two points. */
		static constexpr T DistSquared(const TVector2<T>& V1, const TVector2<T>& V2) { return (V2 - V1).SizeSquared(); }
		/** Returns the distance between two points. */
		static T Distance(const TVector2<T>& V1, const TVector2<T>& V2) { return FMath::Sqrt(DistSquared(V1, V2)); }

		/** Returns the component-wise maximum of A and B. */
		static TVector2<T> Max(const TVector2<T>& A, const TVector2<T>& B)
		{
			return TVector2<T>(FMath::Max(A.X, B.X), FMath::Max(A.Y, B.Y));
		}

		/** Returns the component-wise minimum of A and B. */
		static TVector2<T> Min(const TVector2<T>& A, const TVector2<T>& B)
		{
			return TVector2<T>(FMath::Min(A.X, B.X), FMath::Min(A.Y, B.Y));
		}

		/** True when both components are exactly equal. */
		constexpr bool operator==(const TVector2<T>& V) const { return X == V.X && Y == V.Y; }
		/** True when either component differs. */
		constexpr bool operator!=(const TVector2<T>& V) const { return !(*this == V); }

		/** True when both components are within Tolerance of V's. */
		bool Equals(const TVector2<T>& V, const T Tolerance = UE_KINDA_SMALL_NUMBER) const
		{
			return FMath::Abs(X - V.X) <= Tolerance && FMath::Abs(Y - V.Y) <= Tolerance;
		}

		/** Returns the component at Index (0 or 1). */
		T& operator[](const int32 Index)
		{
			check(Index >= 0 && Index < 2);
			return Index == 0 ? X : Y;
		}

		/** Returns the component at Index (0 or 1). */
		T operator[](const int32 Index) const
		{
			check(Index >= 0 && Index < 2);
			return Index == 0 ? X : Y;
		}

		/** Returns the component at Index (0 or 1). */
		T& Component(const int32 Index) { return (*this)[Index]; }
		/** Returns the component at Index (0 or 1). */
		T Component(const int32 Index) const { return (*this)[Index]; }

		/** Sets both components. */
		void Set(const T InX, const T InY)
		{
			X = InX;
			Y = InY;
		}

		/** Returns the larger component. */
		T GetMax() const { return FMath::Max(X, Y); }
		/** Returns the larger absolute value of the components. */
		T GetAbsMax() const { return FMath::Max(FMath::Abs(X), FMath::Abs(Y)); }
		/** Returns the smaller component. */
		T GetMin() const { return FMath::Min(X, Y); }
		/** Returns the vector of the components' absolute values. */
		TVector2<T> GetAbs() const { return TVector2<T>(FMath::Abs(X), FMath::Abs(Y)); }

		/** Returns the length of the vector. */
		T Size() const { return FMath::Sqrt(X * X + Y * Y); }
		/** Returns the length of the vector. */
		T Length() const { return Size(); }
		/** Returns the squared length of the vector. */
		constexpr T SizeSquared() const { return X * X + Y * Y; }
		/** Returns the squared length of the vector. */
		constexpr T SquaredLength() const { return SizeSquared(); }

		/** True when both components are within Tolerance of zero. */
		bool IsNearlyZero(const T Tolerance = UE_KINDA_SMALL_NUMBER) const
		{
			return FMath::Abs(X) <= Tolerance && FMath::Abs(Y) <= Tolerance;
		}

		/** True when both components are exactly zero. */
		constexpr bool IsZero() const { return X == 0 && Y == 0; }

		/** Returns the unit vector in this direction, or zero when the squared length is not above Tolerance. */
		TVector2<T> GetSafeNormal(const T Tolerance = UE_SMALL_NUMBER) const
		{
			const T SquareSum = SizeSquared();
			if (SquareSum > Tolerance)
			{
				const T Scale = FMath::InvSqrt(SquareSum);
				return TVector2<T>(X * Scale, Y * Scale);
			}
			return TVector2<T>(0, 0);
		}

		/** Scales the vector to unit length; a vector too short to scale becomes zero. */
		void Normalize(const T Tolerance = UE_SMALL_NUMBER)
		{
			*this = GetSafeNormal(Tolerance);
		}

		/** Returns this vector rotated counter-clockwise by AngleDeg degrees (X toward Y). */
		TVector2<T> GetRotated(const T AngleDeg) const
		{
			T S = 0;
			T C = 0;
			FMath::SinCos(&S, &C, FMath::DegreesToRadians(AngleDeg));
			return TVector2<T>(C * X - S * Y, S * X + C * Y);
		}

		/** Returns this vector with both components clamped to [MinAxisVal, MaxAxisVal]. */
		TVector2<T> ClampAxes(const T MinAxisVal, const T MaxAxisVal) const
		{
			return TVector2<T>(FMath::Clamp(X, MinAxisVal, MaxAxisVal), FMath::Clamp(Y, MinAxisVal, MaxAxisVal));
		}

		/** True when either component is NaN or infinite. */
		bool ContainsNaN() const
		{
			return !FMath::IsFinite(X) || !FMath::IsFinite(Y);
		}

		/** Returns the text "X=... Y=..." with three decimals. */
		FString ToString() const
		{
			return FString::Printf(TEXT("X=%3.3f Y=%3.3f"), X, Y);
		}
	};

	template <typename T> const TVector2<T> TVector2<T>::ZeroVector(0, 0);
	template <typename T> const TVector2<T> TVector2<T>::UnitVector(1, 1);
	template <typename T> const TVector2<T> TVector2<T>::Unit45Deg((T)0.70710678118654752440, (T)0.70710678118654752440);

	/** Returns V scaled by Scale. */
	template <typename T, typename FArg>
		requires std::is_arithmetic_v<FArg>
	constexpr TVector2<T> operator*(const FArg Scale, const TVector2<T>& V)
	{
		return V.operator*(Scale);
	}

	/** Hashes a 2D vector; vectors that compare equal hash alike. */
	template <typename T>
	uint32 GetTypeHash(const TVector2<T>& Vector)
	{
		return Private::HashComponents(Vector.X, Vector.Y);
	}
}
