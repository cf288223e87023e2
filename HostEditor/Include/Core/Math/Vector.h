// TVector: a point or direction in 3D space; FVector holds doubles, FVector3f floats.
#pragma once

#include <type_traits>

#include "Containers/UnrealString.h"
#include "CoreTypes.h"
#include "Math/Axis.h"
#include "Math/MathFwd.h"
#include "Math/UnrealMathUtility.h"
#include "Misc/AssertionMacros.h"
#include "Templates/TypeHash.h"

namespace UE::Math
{
	template <typename T>
	struct TVector
	{
		static_assert(std::is_floating_point_v<T>, "TVector holds float or double components");

		using FReal = T;

		/** The vector's X component. */
		T X;
		/** The vector's Y component. */
		T Y;
		/** The vector's Z component. */
		T Z;

		/** (0, 0, 0). */
		static const TVector<T> ZeroVector;
		/** (1, 1, 1). */
		static const TVector<T> OneVector;
		/** The world's up direction, (0, 0, 1). */
		static const TVector<T> UpVector;
		/** The world's down direction, (0, 0, -1). */
		static const TVector<T> DownVector;
		/** The world's forward direction, (1, 0, 0). */
		static const TVector<T> ForwardVector;
		/** The world's backward direction, (-1, 0, 0). */
		static const TVector<T> BackwardVector;
		/** The world's right direction, (0, 1, 0). */
		static const TVector<T> RightVector;
		/** The world's left direction, (0, -1, 0). */
		static const TVector<T> LeftVector;
		/** The unit X axis, (1, 0, 0). */
		static const TVector<T> XAxisVector;
		/** The unit Y axis, (0, 1, 0). */
		static const TVector<T> YAxisVector;
		/** The unit Z axis, (0, 0, 1). */
		static const TVector<T> ZAxisVector;

		/** Returns (0, 0, 0). */
		static constexpr TVector<T> Zero() { return TVector<T>(0, 0, 0); }
		/** Returns (1, 1, 1). */
		static constexpr TVector<T> One() { return TVector<T>(1, 1, 1); }
		/** Returns (1, 0, 0). */
		static constexpr TVector<T> UnitX() { return TVector<T>(1, 0, 0); }
		/** Returns (0, 1, 0). */
		static constexpr TVector<T> UnitY() { return TVector<T>(0, 1, 0); }
		/** Returns (0, 0, 1). */
		static constexpr TVector<T> UnitZ() { return TVector<T>(0, 0, 1); }

		/** Makes the zero vector. */
		constexpr TVector()
			: X(0), Y(0), Z(0)
		{
		}

		/** Makes a vector with every component set to InF. */
		explicit constexpr TVector(const T InF)
			: X(InF), Y(InF), Z(InF)
		{
		}

		/** Makes a vector from its three components. */
		constexpr TVector(const T InX, const T InY, const T InZ)
			: X(InX), Y(InY), Z(InZ)
		{
		}

		/** Makes the zero vector. */
		explicit constexpr TVector(EForceInit::Type)
			: X(0), Y(0), Z(0)
		{
		}

		/** Makes the zero vector (components are always initialized). */
		explicit constexpr TVector(ENoInit)
			: X(0), Y(0), Z(0)
		{
		}

		/** Makes a vector from a 2D vector's X and Y and the given Z. */
		explicit constexpr TVector(const TVector2<T> V, const T InZ)
			: X(V.X), Y(V.Y), Z(InZ)
		{
		}

		/** Makes a vector from the X, Y and Z of a 4D vector, dropping W. */
		constexpr TVector(const TVector4<T>& V)
			: X(V.X), Y(V.Y), Z(V.Z)
		{
		}

		/** Makes a vector from an integer vector. */
		template <typename IntType>
		explicit constexpr TVector(const TIntVector3<IntType> InVector)
			: X((T)InVector.X), Y((T)InVector.Y), Z((T)InVector.Z)
		{
		}

		/** Makes a vector from an integer point, with Z zero. */
		template <typename IntType>
		explicit constexpr TVector(const TIntPoint<IntType> A)
			: X((T)A.X), Y((T)A.Y), Z(0)
		{
		}

		/** Converts from a vector of the other precision. */
		template <typename FArg>
			requires (!std::is_same_v<T, FArg>)
		explicit constexpr TVector(const TVector<FArg>& From)
			: X((T)From.X), Y((T)From.Y), Z((T)From.Z)
		{
		}

		/** Returns the cross product of this vector and V. */
		constexpr TVector<T> operator^(const TVector<T>& V) const
		{
			return TVector<T>(Y * V.Z - Z * V.Y, Z * V.X - X * V.Z, X * V.Y - Y * V.X);
		}

		/** Returns the cross product of A and B. */
		static constexpr TVector<T> CrossProduct(const TVector<T>& A, const TVector<T>& B)
		{
			return A ^ B;
		}

		/** Returns the dot product of this vector and V. */
		constexpr T operator|(const TVector<T>& V) const
		{
			return X * V.X + Y * V.Y + Z * V.Z;
		}

		/** Returns the dot product of A and B. */
		static constexpr T DotProduct(const TVector<T>& A, const TVector<T>& B)
		{
			return A | B;
		}

		/** Returns the component-wise sum. */
		constexpr TVector<T> operator+(const TVector<T>& V) const { return TVector<T>(X + V.X, Y + V.Y, Z + V.Z); }
		/** Returns the component-wise difference. */
		constexpr TVector<T> operator-(const TVector<T>& V) const { return TVector<T>(X - V.X, Y - V.Y, Z - V.Z); }
		/** Returns the component-wise product. */
		constexpr TVector<T> operator*(const TVector<T>& V) const { return TVector<T>(X * V.X, Y * V.Y, Z * V.Z); }
		/** Returns the component-wise quotient. */
		constexpr TVector<T> operator/(const TVector<T>& V) const { return TVector<T>(X / V.X, Y / V.Y, Z / V.Z); }

		/** Returns this vector with Bias added to every component. */
		template <typename FArg>
			requires std::is_arithmetic_v<FArg>
		constexpr TVector<T> operator+(const FArg Bias) const
		{
			return TVector<T>(X + (T)Bias, Y + (T)Bias, Z + (T)Bias);
		}

		/** Returns this vector with Bias subtracted from every component. */
		template <typename FArg>
			requires std::is_arithmetic_v<FArg>
		constexpr TVector<T> operator-(const FArg Bias) const
		{
			return TVector<T>(X - (T)Bias, Y - (T)Bias, Z - (T)Bias);
		}

		/** Returns this vector scaled by Scale. */
		template <typename FArg>
			requires std::is_arithmetic_v<FArg>
		constexpr TVector<T> operator*(const FArg Scale) const
		{
			return TVector<T>(X * (T)Scale, Y * (T)Scale, Z * (T)Scale);
		}

		/** Returns this vector divided by Scale. */
		template <typename FArg>
			requires std::is_arithmetic_v<FArg>
		constexpr TVector<T> operator/(const FArg Scale) const
		{
			const T RScale = (T)1 / (T)Scale;
			return TVector<T>(X * RScale, Y * RScale, Z * RScale);
		}

		/** Returns the negated vector. */
		constexpr TVector<T> operator-() const { return TVector<T>(-X, -Y, -Z); }

		/** Adds V component-wise. */
		constexpr TVector<T>& operator+=(const TVector<T>& V) { X += V.X; Y += V.Y; Z += V.Z; return *this; }
		/** Subtracts V component-wise. */
		constexpr TVector<T>& operator-=(const TVector<T>& V) { X -= V.X; Y -= V.Y; Z -= V.Z; return *this; }
		/** Multiplies by V component-wise. */
		constexpr TVector<T>& operator*=(const TVector<T>& V) { X *= V.X; Y *= V.Y; Z *= V.Z; return *this; }
		/** Divides by V component-wise. */
		constexpr TVector<T>& operator/=(const TVector<T>& V) { X /= V.X; Y /= V.Y; Z /= V.Z; return *this; }

		/** Scales every component by Scale. */
		template <typename FArg>
			requires std::is_arithmetic_v<FArg>
		constexpr TVector<T>& operator*=(const FArg Scale)
		{
			X *= (T)Scale;
			Y *= (T)Scale;
			Z *= (T)Scale;
			return *this;
		}

		/** Divides every component by Scale. */
		template <typename FArg>
			requires std::is_arithmetic_v<FArg>
		constexpr TVector<T>& operator/=(const FArg Scale)
		{
			const T RScale = (T)1 / (T)Scale;
			X *= RScale;
			Y *= RScale;
			Z *= RScale;
			return *this;
		}

		/** True when every component is exactly equal. */
		constexpr bool operator==(const TVector<T>& V) const { return X == V.X && Y == V.Y && Z == V.Z; }
		/** True when any component differs. */
		constexpr bool operator!=(const TVector<T>& V) const { return !(*this == V); }

		/** True when every component is within Tolerance of V's. */
		bool Equals(const TVector<T>& V, const T Tolerance = UE_KINDA_SMALL_NUMBER) const
		{
			return FMath::Abs(X - V.X) <= Tolerance && FMath::Abs(Y - V.Y) <= Tolerance && FMath::Abs(Z - V.Z) <= Tolerance;
		}

		/** True when the three components are all within Tolerance of each other. */
		bool AllComponentsEqual(const T Tolerance = UE_KINDA_SMALL_NUMBER) const
		{
			return FMath::Abs(X - Y) <= Tolerance && FMath::Abs(X - Z) <= Tolerance && FMath::Abs(Y - Z) <= Tolerance;
		}

		/** Returns the component at Index (0, 1 or 2). */
		T& operator[](const int32 Index)
		{
			check(Index >= 0 && Index < 3);
			return Index == 0 ? X : (Index == 1 ? Y : Z);
		}

		/** Returns the component at Index (0, 1 or 2). */
		T operator[](const int32 Index) const
		{
			check(Index >= 0 && Index < 3);
			return Index == 0 ? X : (Index == 1 ? Y : Z);
		}

		/** Returns the component at Index (0, 1 or 2). */
		T& Component(const int32 Index) { return (*this)[Index]; }
		/** Returns the component at Index (0, 1 or 2). */
		T Component(const int32 Index) const { return (*this)[Index]; }

		/** Returns the component along Axis, or zero for EAxis::None. */
		T GetComponentForAxis(const EAxis::Type Axis) const
		{
			switch (Axis)
			{
			case EAxis::X: return X;
			case EAxis::Y: return Y;
			case EAxis::Z: return Z;
			default: return (T)0;
			}
		}

		/** Sets the component along Axis; EAxis::None changes nothing. */
		void SetComponentForAxis(const EAxis::Type Axis, const T Component)
		{
			switch (Axis)
			{
			case EAxis::X: X = Component; break;
			case EAxis::Y: Y = Component; break;
			case EAxis::Z: Z = Component; break;
			default: break;
			}
		}

		/** Sets all three components. */
		void Set(const T InX, const T InY, const T InZ)
		{
			X = InX;
			Y = InY;
			Z = InZ;
		}

		/** Returns the largest component. */
		T GetMax() const { return FMath::Max(FMath::Max(X, Y), Z); }
		/** Returns the largest absolute value of the components. */
		T GetAbsMax() const { return FMath::Max(FMath::Max(FMath::Abs(X), FMath::Abs(Y)), FMath::Abs(Z)); }
		/** Returns the smallest component. */
		T GetMin() const { return FMath::Min(FMath::Min(X, Y), Z); }
		/** Returns the smallest absolute value of the components. */
		T GetAbsMin() const { return FMath::Min(FMath::Min(FMath::Abs(X), FMath::Abs(Y)), FMath::Abs(Z)); }

		/** Returns the component-wise minimum of this vector and Other. */
		TVector<T> ComponentMin(const TVector<T>& Other) const
		{
			return TVector<T>(FMath::Min(X, Other.X), FMath::Min(Y, Other.Y), FMath::Min(Z, Other.Z));
		}

		/** Returns the component-wise maximum of this vector and Other. */
		TVector<T> ComponentMax(const TVector<T>& Other) const
		{
			return TVector<T>(FMath::Max(X, Other.X), FMath::Max(Y, Other.Y), FMath::Max(Z, Other.Z));
		}

		/** Returns the vector of the components' absolute values. */
		TVector<T> GetAbs() const { return TVector<T>(FMath::Abs(X), FMath::Abs(Y), FMath::Abs(Z)); }

		/** Returns the length of the vector. */
		T Size() const { return FMath::Sqrt(X * X + Y * Y + Z * Z); }
		/** Returns the length of the vector. */
		T Length() const { return Size(); }
		/** Returns the squared length of the vector. */
		constexpr T SizeSquared() const { return X * X + Y * Y + Z * Z; }
		/** Returns the squared length of the vector. */
		constexpr T SquaredLength() const { return SizeSquared(); }
		/** Returns the length of the vector's projection onto the XY plane. */
		T Size2D() const { return FMath::Sqrt(X * X + Y * Y); }
		/** Returns the squared length of the vector's projection onto the XY plane. */
		constexpr T SizeSquared2D() const { return X * X + Y * Y; }

		/** True when every component is within Tolerance of zero. */
		bool IsNearlyZero(const T Tolerance = UE_KINDA_SMALL_NUMBER) const
		{
			return FMath::Abs(X) <= Tolerance && FMath::Abs(Y) <= Tolerance && FMath::Abs(Z) <= Tolerance;
		}

		/** True when every component is exactly zero. */
		constexpr bool IsZero() const { return X == 0 && Y == 0 && Z == 0; }

		/** True when the squared length is within LengthSquaredTolerance of one. */
		bool IsUnit(const T LengthSquaredTolerance = UE_KINDA_SMALL_NUMBER) const
		{
			return FMath::Abs((T)1 - SizeSquared()) < LengthSquaredTolerance;
		}

		/** True when the vector has (nearly) unit length. */
		bool IsNormalized() const
		{
			return FMath::Abs((T)1 - SizeSquared()) < (T)UE_THRESH_VECTOR_NORMALIZED;
		}

		/** Scales the vector to unit length; false, and unchanged, when its squared length is not above Tolerance. */
		bool Normalize(const T Tolerance = UE_SMALL_NUMBER)
		{
			const T SquareSum = SizeSquared();
			if (SquareSum > Tolerance)
			{
				const T Scale = FMath::InvSqrt(SquareSum);
				X *= Scale;
				Y *= Scale;
				Z *= Scale;
				return true;
			}
			return false;
		}

		/** Returns the unit vector in this direction without guarding against zero length. */
		TVector<T> GetUnsafeNormal() const
		{
			const T Scale = FMath::InvSqrt(SizeSquared());
			return TVector<T>(X * Scale, Y * Scale, Z * Scale);
		}

		/** Returns the unit vector in this direction, or ResultIfZero when the squared length is below Tolerance. */
		TVector<T> GetSafeNormal(const T Tolerance = UE_SMALL_NUMBER, const TVector<T>& ResultIfZero = ZeroVector) const
		{
			const T SquareSum = SizeSquared();
			if (SquareSum == (T)1)
			{
				return *this;
			}
			if (SquareSum < Tolerance)
			{
				return ResultIfZero;
			}
			const T Scale = FMath::InvSqrt(SquareSum);
			return TVector<T>(X * Scale, Y * Scale, Z * Scale);
		}

		/** Returns the unit vector of the XY part (Z zero), or ResultIfZero when that part is too short. */
		TVector<T> GetSafeNormal2D(const T Tolerance = UE_SMALL_NUMBER, const TVector<T>& ResultIfZero = ZeroVector) const
		{
			const T SquareSum = SizeSquared2D();
			if (SquareSum == (T)1)
			{
				return TVector<T>(X, Y, 0);
			}
			if (SquareSum < Tolerance)
			{
				return ResultIfZero;
			}
			const T Scale = FMath::InvSqrt(SquareSum);
			return TVector<T>(X * Scale, Y * Scale, 0);
		}

		/** Returns +1 or -1 per component by its sign; zero counts as positive. */
		TVector<T> GetSignVector() const
		{
			return TVector<T>(FMath::FloatSelect(X, (T)1, (T)-1), FMath::FloatSelect(Y, (T)1, (T)-1), FMath::FloatSelect(Z, (T)1, (T)-1));
		}

		/** Returns this vector reflected about the plane whose unit normal is MirrorNormal. */
		TVector<T> MirrorByVector(const TVector<T>& MirrorNormal) const
		{
			return *this - MirrorNormal * ((T)2 * (*this | MirrorNormal));
		}

		/** Returns this vector rotated by AngleDeg degrees about the unit vector Axis (right-hand rule). */
		TVector<T> RotateAngleAxis(const T AngleDeg, const TVector<T>& Axis) const
		{
			T S = 0;
			T C = 0;
			FMath::SinCos(&S, &C, FMath::DegreesToRadians(AngleDeg));
			const T XX = Axis.X * Axis.X;
			const T YY = Axis.Y * Axis.Y;
			const T ZZ = Axis.Z * Axis.Z;
			const T XY = Axis.X * Axis.Y;
			const T YZ = Axis.Y * Axis.Z;
			const T ZX = Axis.Z * Axis.X;
			const T XS = Axis.X * S;
			const T YS = Axis.Y * S;
			const T ZS = Axis.Z * S;
			const T OMC = (T)1 - C;
			return TVector<T>(
				(OMC * XX + C) * X + (OMC * XY - ZS) * Y + (OMC * ZX + YS) * Z,
				(OMC * XY + ZS) * X + (OMC * YY + C) * Y + (OMC * YZ - XS) * Z,
				(OMC * ZX - YS) * X + (OMC * YZ + XS) * Y + (OMC * ZZ + C) * Z);
		}

		/** Returns the projection of this vector onto A. */
		TVector<T> ProjectOnTo(const TVector<T>& A) const
		{
			return A * ((*this | A) / (A | A));
		}

		/** Returns the projection of this vector onto the unit vector Normal. */
		TVector<T> ProjectOnToNormal(const TVector<T>& Normal) const
		{
			return Normal * (*this | Normal);
		}

		/** Returns this vector with its length clamped to [Min, Max]; the zero vector stays zero. */
		TVector<T> GetClampedToSize(const T Min, const T Max) const
		{
			T VecSize = Size();
			const TVector<T> VecDir = (VecSize > (T)UE_SMALL_NUMBER) ? (*this / VecSize) : ZeroVector;
			VecSize = FMath::Clamp(VecSize, Min, Max);
			return VecDir * VecSize;
		}

		/** Returns this vector shortened to at most MaxSize. */
		TVector<T> GetClampedToMaxSize(const T MaxSize) const
		{
			if (MaxSize < (T)UE_KINDA_SMALL_NUMBER)
			{
				return ZeroVector;
			}
			const T VSq = SizeSquared();
			if (VSq > FMath::Square(MaxSize))
			{
				const T Scale = MaxSize * FMath::InvSqrt(VSq);
				return TVector<T>(X * Scale, Y * Scale, Z * Scale);
			}
			return *this;
		}

		/** Returns this vector with every component clamped to [-Radius, Radius]. */
		TVector<T> BoundToCube(const T Radius) const
		{
			return TVector<T>(FMath::Clamp(X, -Radius, Radius), FMath::Clamp(Y, -Radius, Radius), FMath::Clamp(Z, -Radius, Radius));
		}

		/** Returns the rotator (with zero roll) whose forward direction points along this vector. */
		TRotator<T> ToOrientationRotator() const;
		/** Returns the rotator (with zero roll) whose forward direction points along this vector. */
		TRotator<T> Rotation() const;
		/** Returns the quaternion (with zero roll) whose forward direction points along this vector. */
		TQuat<T> ToOrientationQuat() const;

		/** True when any component is NaN or infinite. */
		bool ContainsNaN() const
		{
			return !FMath::IsFinite(X) || !FMath::IsFinite(Y) || !FMath::IsFinite(Z);
		}

		/** Returns the text "X=... Y=... Z=..." with three decimals. */
		FString ToString() const
		{
			return FString::Printf(TEXT("X=%3.3f Y=%3.3f Z=%3.3f"), X, Y, Z);
		}

		/** Returns the distance between two points. */
		static T Dist(const TVector<T>& V1, const TVector<T>& V2) { return FMath::Sqrt(DistSquared(V1, V2)); }
		/** Returns the distance between two points. */
		static T Distance(const TVector<T>& V1, const TVector<T>& V2) { return Dist(V1, V2); }
		/** Returns the squared distance between two points. */
		static constexpr T DistSquared(const TVector<T>& V1, const TVector<T>& V2) { return (V2 - V1).SizeSquared(); }
		/** Returns the distance between two points projected onto the XY plane. */
		static T DistXY(const TVector<T>& V1, const TVector<T>& V2) { return FMath::Sqrt(DistSquaredXY(V1, V2)); }
		/** Returns the distance between two points projected onto the XY plane. */
		static T Dist2D(const TVector<T>& V1, const TVector<T>& V2) { return DistXY(V1, V2); }
		/** Returns the squared distance between two points projected onto the XY plane. */
		static constexpr T DistSquaredXY(const TVector<T>& V1, const TVector<T>& V2) { return (V2 - V1).SizeSquared2D(); }
		/** Returns the squared distance between two points projected onto the XY plane. */
		static constexpr T DistSquared2D(const TVector<T>& V1, const TVector<T>& V2) { return DistSquaredXY(V1, V2); }
	};

	template <typename T> const TVector<T> TVector<T>::ZeroVector(0, 0, 0);
	template <typename T> const TVector<T> TVector<T>::OneVector(1, 1, 1);
	template <typename T> const TVector<T> TVector<T>::UpVector(0, 0, 1);
	template <typename T> const TVector<T> TVector<T>::DownVector(0, 0, -1);
	template <typename T> const TVector<T> TVector<T>::ForwardVector(1, 0, 0);
	template <typename T> const TVector<T> TVector<T>::BackwardVector(-1, 0, 0);
	template <typename T> const TVector<T> TVector<T>::RightVector(0, 1, 0);
	template <typename T> const TVector<T> TVector<T>::LeftVector(0, -1, 0);
	template <typename T> const TVector<T> TVector<T>::XAxisVector(1, 0, 0);
	template <typename T> const TVector<T> TVector<T>::YAxisVector(0, 1, 0);
	template <typename T> const TVector<T> TVector<T>::ZAxisVector(0, 0, 1);

	/** Returns V scaled by Scale. */
	template <typename T, typename FArg>
		requires std::is_arithmetic_v<FArg>
	constexpr TVector<T> operator*(const FArg Scale, const TVector<T>& V)
	{
		return V.operator*(Scale);
	}

	/** Hashes a vector; vectors that compare equal hash alike. */
	template <typename T>
	uint32 GetTypeHash(const TVector<T>& Vector)
	{
		return Private::HashComponents(Vector.X, Vector.Y, Vector.Z);
	}
}

// Members that return rotators and quaternions need those types complete wherever vectors are used.
#include "Math/Rotator.h"
#include "Math/Quat.h"

namespace UE::Math
{
	template <typename T>
	TRotator<T> TVector<T>::ToOrientationRotator() const
	{
		TRotator<T> R;
		R.Yaw = FMath::RadiansToDegrees(FMath::Atan2(Y, X));
		R.Pitch = FMath::RadiansToDegrees(FMath::Atan2(Z, FMath::Sqrt(X * X + Y * Y)));
		R.Roll = 0;
		return R;
	}

	template <typename T>
	TRotator<T> TVector<T>::Rotation() const
	{
		return ToOrientationRotator();
	}

	template <typename T>
	TQuat<T> TVector<T>::ToOrientationQuat() const
	{
		const T YawRad = FMath::Atan2(Y, X);
		const T PitchRad = FMath::Atan2(Z, FMath::Sqrt(X * X + Y * Y));
		T SP = 0;
		T SY = 0;
		T CP = 0;
		T CY = 0;
		FMath::SinCos(&SP, &CP, PitchRad * (T)0.5);
		FMath::SinCos(&SY, &CY, YawRad * (T)0.5);
		return TQuat<T>(SP * SY, -SP * CY, CP * SY, CP * CY);
	}
}
