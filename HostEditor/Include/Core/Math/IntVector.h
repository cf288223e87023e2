// TIntVector3: a point on an integer 3D grid; FIntVector holds int32.
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
	struct TIntVector3
	{
		static_assert(std::is_integral_v<IntType>, "TIntVector3 holds integer components");

		using IntType_t = IntType;

		/** The vector's X component. */
		IntType X;
		/** The vector's Y component. */
		IntType Y;
		/** The vector's Z component. */
		IntType Z;

		/** (0, 0, 0). */
		static const TIntVector3<IntType> ZeroValue;
		/** (INDEX_NONE, INDEX_NONE, INDEX_NONE), the engine's "no vector" marker. */
		static const TIntVector3<IntType> NoneValue;

		/** Makes the vector (0, 0, 0). */
		constexpr TIntVector3()
			: X(0), Y(0), Z(0)
		{
		}

		/** Makes a vector from its components. */
		constexpr TIntVector3(const IntType InX, const IntType InY, const IntType InZ)
			: X(InX), Y(InY), Z(InZ)
		{
		}

		/** Makes a vector with every component set to InValue. */
		explicit constexpr TIntVector3(const IntType InValue)
			: X(InValue), Y(InValue), Z(InValue)
		{
		}

		/** Makes the vector (0, 0, 0). */
		explicit constexpr TIntVector3(EForceInit::Type)
			: X(0), Y(0), Z(0)
		{
		}

		/** Makes a vector from a floating-point vector, each component truncated toward zero. */
		template <typename FArg>
		explicit constexpr TIntVector3(const TVector<FArg>& InVector)
			: X((IntType)InVector.X), Y((IntType)InVector.Y), Z((IntType)InVector.Z)
		{
		}

		/** Converts from a vector with another integer type. */
		template <typename OtherIntType>
			requires (!std::is_same_v<IntType, OtherIntType>)
		explicit constexpr TIntVector3(const TIntVector3<OtherIntType>& Other)
			: X((IntType)Other.X), Y((IntType)Other.Y), Z((IntType)Other.Z)
		{
		}

		/** Returns the component at Index (0, 1 or 2). */
		IntType& operator[](const int32 Index)
		{
			check(Index >= 0 && Index < 3);
			return Index == 0 ? X : (Index == 1 ? Y : Z);
		}

		/** Returns the component at Index (0, 1 or 2). */
		IntType operator[](const int32 Index) const
		{
			check(Index >= 0 && Index < 3);
			return Index == 0 ? X : (Index == 1 ? Y : Z);
		}

		/** True when every component is equal. */
		constexpr bool operator==(const TIntVector3<IntType>& Other) const { return X == Other.X && Y == Other.Y && Z == Other.Z; }
		/** True when any component differs. */
		constexpr bool operator!=(const TIntVector3<IntType>& Other) const { return !(*this == Other); }

		/** Returns the component-wise sum. */
		constexpr TIntVector3<IntType> operator+(const TIntVector3<IntType>& Other) const { return TIntVector3<IntType>(X + Other.X, Y + Other.Y, Z + Other.Z); }
		/** Returns the component-wise difference. */
		constexpr TIntVector3<IntType> operator-(const TIntVector3<IntType>& Other) const { return TIntVector3<IntType>(X - Other.X, Y - Other.Y, Z - Other.Z); }
		/** Returns every component multiplied by Scale. */
		constexpr TIntVector3<IntType> operator*(const IntType Scale) const { return TIntVector3<IntType>(X * Scale, Y * Scale, Z * Scale); }
		/** Returns every component divided by Divisor (integer division). */
		constexpr TIntVector3<IntType> operator/(const IntType Divisor) const { return TIntVector3<IntType>(X / Divisor, Y / Divisor, Z / Divisor); }

		/** Adds Other component-wise. */
		constexpr TIntVector3<IntType>& operator+=(const TIntVector3<IntType>& Other) { X += Other.X; Y += Other.Y; Z += Other.Z; return *this; }
		/** Subtracts Other component-wise. */
		constexpr TIntVector3<IntType>& operator-=(const TIntVector3<IntType>& Other) { X -= Other.X; Y -= Other.Y; Z -= Other.Z; return *this; }
		/** Multiplies every component by Scale. */
		constexpr TIntVector3<IntType>& operator*=(const IntType Scale) { X *= Scale; Y *= Scale; Z *= Scale; return *this; }
		/** Divides every component by Divisor (integer division). */
		constexpr TIntVector3<IntType>& operator/=(const IntType Divisor) { X /= Divisor; Y /= Divisor; Z /= Divisor; return *this; }

		/** Returns the largest component. */
		constexpr IntType GetMax() const { return FMath::Max(FMath::Max(X, Y), Z); }
		/** Returns the smallest component. */
		constexpr IntType GetMin() const { return FMath::Min(FMath::Min(X, Y), Z); }
		/** Returns the distance from the origin, truncated to an integer. */
		IntType Size() const { return (IntType)FMath::Sqrt((double)X * (double)X + (double)Y * (double)Y + (double)Z * (double)Z); }
		/** True when every component is zero. */
		constexpr bool IsZero() const { return X == 0 && Y == 0 && Z == 0; }

		/** Returns the text "X=... Y=... Z=...". */
		FString ToString() const
		{
			return FString::Printf(TEXT("X=%lld Y=%lld Z=%lld"), (int64)X, (int64)Y, (int64)Z);
		}
	};

	template <typename IntType> const TIntVector3<IntType> TIntVector3<IntType>::ZeroValue(0, 0, 0);
	template <typename IntType> const TIntVector3<IntType> TIntVector3<IntType>::NoneValue((IntType)INDEX_NONE, (IntType)INDEX_NONE, (IntType)INDEX_NONE);

	/** Hashes an integer vector. */
	template <typename IntType>
	uint32 GetTypeHash(const TIntVector3<IntType>& Vector)
	{
		return Private::HashComponents(Vector.X, Vector.Y, Vector.Z);
	}
}
