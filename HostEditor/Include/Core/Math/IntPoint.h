// TIntPoint: a point on an integer 2D grid; FIntPoint holds int32.
#pragma once

#include <type_traits>

#include "Containers/UnrealString.h"
#include "CoreTypes.h"
#include "Math/MathFwd.h"
#include "Math/UnrealMathUtility.h"
#include "Misc/AssertionMacros.h"

namespace UE::Math
{
	template <typename IntType>
	struct TIntPoint
	{
		static_assert(std::is_integral_v<IntType>, "TIntPoint holds integer components");

		using IntType_t = IntType;

		/** The point's X coordinate. */
		IntType X;
		/** The point's Y coordinate. */
		IntType Y;

		/** (0, 0). */
		static const TIntPoint<IntType> ZeroValue;
		/** (INDEX_NONE, INDEX_NONE), the engine's "no point" marker. */
		static const TIntPoint<IntType> NoneValue;

		/** Makes the point (0, 0). */
		constexpr TIntPoint()
			: X(0), Y(0)
		{
		}

		/** Makes a point from its coordinates. */
		constexpr TIntPoint(const IntType InX, const IntType InY)
			: X(InX), Y(InY)
		{
		}

		/** Makes a point with both coordinates set to InXY. */
		explicit constexpr TIntPoint(const IntType InXY)
			: X(InXY), Y(InXY)
		{
		}

		/** Makes the point (0, 0). */
		explicit constexpr TIntPoint(EForceInit::Type)
			: X(0), Y(0)
		{
		}

		/** Converts from a point with another integer type. */
		template <typename OtherIntType>
			requires (!std::is_same_v<IntType, OtherIntType>)
		explicit constexpr TIntPoint(const TIntPoint<OtherIntType>& Other)
			: X((IntType)Other.X), Y((IntType)Other.Y)
		{
		}

		/** Returns the coordinate at Index (0 or 1). */
		IntType& operator[](const int32 Index)
		{
			check(Index >= 0 && Index < 2);
			return Index == 0 ? X : Y;
		}

		/** Returns the coordinate at Index (0 or 1). */
		IntType operator[](const int32 Index) const
		{
			check(Index >= 0 && Index < 2);
			return Index == 0 ? X : Y;
		}

		/** True when both coordinates are equal. */
		constexpr bool operator==(const TIntPoint<IntType>& Other) const { return X == Other.X && Y == Other.Y; }
		/** True when either coordinate differs. */
		constexpr bool operator!=(const TIntPoint<IntType>& Other) const { return !(*this == Other); }

		/** Returns the coordinate-wise sum. */
		constexpr TIntPoint<IntType> operator+(const TIntPoint<IntType>& Other) const { return TIntPoint<IntType>(X + Other.X, Y + Other.Y); }
		/** Returns the coordinate-wise difference. */
		constexpr TIntPoint<IntType> operator-(const TIntPoint<IntType>& Other) const { return TIntPoint<IntType>(X - Other.X, Y - Other.Y); }
		/** Returns the coordinate-wise product. */
		constexpr TIntPoint<IntType> operator*(const TIntPoint<IntType>& Other) const { return TIntPoint<IntType>(X * Other.X, Y * Other.Y); }
		/** Returns the coordinate-wise quotient (integer division). */
		constexpr TIntPoint<IntType> operator/(const TIntPoint<IntType>& Other) const { return TIntPoint<IntType>(X / Other.X, Y / Other.Y); }
		/** Returns both coordinates multiplied by Scale. */
		constexpr TIntPoint<IntType> operator*(const IntType Scale) const { return TIntPoint<IntType>(X * Scale, Y * Scale); }
		/** Returns both coordinates divided by Divisor (integer division). */
		constexpr TIntPoint<IntType> operator/(const IntType Divisor) const { return TIntPoint<IntType>(X / Divisor, Y / Divisor); }

		/** Adds Other coordinate-wise. */
		constexpr TIntPoint<IntType>& operator+=(const TIntPoint<IntType>& Other) { X += Other.X; Y += Other.Y; return *this; }
		/** Subtracts Other coordinate-wise. */
		constexpr TIntPoint<IntType>& operator-=(const TIntPoint<IntType>& Other) { X -= Other.X; Y -= Other.Y; return *this; }
		/** Multiplies both coordinates by Scale. */
		constexpr TIntPoint<IntType>& operator*=(const IntType Scale) { X *= Scale; Y *= Scale; return *this; }
		/** Divides both coordinates by Divisor (integer division). */
		constexpr TIntPoint<IntType>& operator/=(const IntType Divisor) { X /= Divisor; Y /= Divisor; return *this; }

		/** Returns the coordinate-wise minimum of this point and Other. */
		constexpr TIntPoint<IntType> ComponentMin(const TIntPoint<IntType>& Other) const { return TIntPoint<IntType>(FMath::Min(X, Other.X), FMath::Min(Y, Other.Y)); }
		/** Returns the coordinate-wise maximum of this point and Other. */
		constexpr TIntPoint<IntType> ComponentMax(const TIntPoint<IntType>& Other) const { return TIntPoint<IntType>(FMath::Max(X, Other.X), FMath::Max(Y, Other.Y)); }
		/** Returns the larger coordinate. */
		constexpr IntType GetMax() const { return FMath::Max(X, Y); }
		/** Returns the smaller coordinate. */
		constexpr IntType GetMin() const { return FMath::Min(X, Y); }

		/** Returns the distance from the origin, truncated to an integer. */
		IntType Size() const { return (IntType)FMath::Sqrt((double)X * (double)X + (double)Y * (double)Y); }
		/** Returns the squared distance from the origin. */
		constexpr IntType SizeSquared() const { return X * X + Y * Y; }

		/** Returns the text "X=... Y=...". */
		FString ToString() const
		{
			return FString::Printf(TEXT("X=%lld Y=%lld"), (int64)X, (int64)Y);
		}
	};

	template <typename IntType> const TIntPoint<IntType> TIntPoint<IntType>::ZeroValue(0, 0);
	template <typename IntType> const TIntPoint<IntType> TIntPoint<IntType>::NoneValue((IntType)INDEX_NONE, (IntType)INDEX_NONE);

	/** Hashes an integer point. */
	template <typename IntType>
	uint32 GetTypeHash(const TIntPoint<IntType>& Point)
	{
		return Private::HashComponents(Point.X, Point.Y);
	}
}
