// TQuat: a rotation as a unit quaternion (X, Y, Z, W); FQuat holds doubles.
#pragma once

#include <type_traits>

#include "Containers/UnrealString.h"
#include "CoreTypes.h"
#include "Math/Axis.h"
#include "Math/MathFwd.h"
#include "Math/UnrealMathUtility.h"
#include "Math/Vector.h"
#include "Misc/AssertionMacros.h"
#include "Templates/TypeHash.h"

namespace UE::Math
{
	/**
	 * Quaternions compose like the engine's: A * B is the rotation that applies B first, then A.
	 * A quaternion and its negation describe the same rotation.
	 */
	template <typename T>
	struct alignas(16) TQuat
	{
		static_assert(std::is_floating_point_v<T>, "TQuat holds float or double components");

		using FReal = T;

		/** The X of the quaternion's vector part. */
		T X;
		/** The Y of the quaternion's vector part. */
		T Y;
		/** The Z of the quaternion's vector part. */
		T Z;
		/** The quaternion's scalar part. */
		T W;

		/** The rotation that changes nothing, (0, 0, 0, 1). */
		static const TQuat<T> Identity;

		/** Makes the all-zero quaternion (not a rotation; set it before use). */
		constexpr TQuat()
			: X(0), Y(0), Z(0), W(0)
		{
		}

		/** Makes the identity for ForceInit, or the all-zero quaternion for ForceInitToZero. */
		explicit constexpr TQuat(const EForceInit::Type ZeroOrNot)
			: X(0), Y(0), Z(0), W(ZeroOrNot == ForceInitToZero ? (T)0 : (T)1)
		{
		}

		/** Makes a quaternion from its four components. */
		constexpr TQuat(const T InX, const T InY, const T InZ, const T InW)
			: X(InX), Y(InY), Z(InZ), W(InW)
		{
		}

		/** Makes the quaternion of a rotator's rotation. */
		explicit TQuat(const TRotator<T>& R);

		/** Makes the quaternion of the rotation part of a matrix whose axes are unit length. */
		explicit TQuat(const TMatrix<T>& M);

		/** Makes the rotation of AngleRad radians about the unit vector Axis (right-hand rule). */
		TQuat(const TVector<T> Axis, const T AngleRad)
		{
			T S = 0;
			T C = 0;
			FMath::SinCos(&S, &C, (T)0.5 * AngleRad);
			X = S * Axis.X;
			Y = S * Axis.Y;
			Z = S * Axis.Z;
			W = C;
		}

		/** Converts from a quaternion of the other precision. */
		template <typename FArg>
			requires (!std::is_same_v<T, FArg>)
		explicit constexpr TQuat(const TQuat<FArg>& From)
			: X((T)From.X), Y((T)From.Y), Z((T)From.Z), W((T)From.W)
		{
		}

		/** Returns the component-wise sum (not a composition of rotations). */
		constexpr TQuat<T> operator+(const TQuat<T>& Q) const { return TQuat<T>(X + Q.X, Y + Q.Y, Z + Q.Z, W + Q.W); }
		/** Adds Q component-wise. */
		constexpr TQuat<T>& operator+=(const TQuat<T>& Q) { X += Q.X; Y += Q.Y; Z += Q.Z; W += Q.W; return *this; }
		/** Returns the component-wise difference. */
		constexpr TQuat<T> operator-(const TQuat<T>& Q) const { return TQuat<T>(X - Q.X, Y - Q.Y, Z - Q.Z, W - Q.W); }
		/** Subtracts Q component-wise. */
		constexpr TQuat<T>& operator-=(const TQuat<T>& Q) { X -= Q.X; Y -= Q.Y; Z -= Q.Z; W -= Q.W; return *this; }

		/** Returns the rotation that applies Q first, then this one. */
		constexpr TQuat<T> operator*(const TQuat<T>& Q) const
		{
			return TQuat<T>(
				W * Q.X + X * Q.W + Y * Q.Z - Z * Q.Y,
				W * Q.Y - X * Q.Z + Y * Q.W + Z * Q.X,
				W * Q.Z + X * Q.Y - Y * Q.X + Z * Q.W,
				W * Q.W - X * Q.X - Y * Q.Y - Z * Q.Z);
		}

		/** Becomes the rotation that applies Q first, then the former value of this one. */
		constexpr TQuat<T>& operator*=(const TQuat<T>& Q)
		{
			*this = *this * Q;
			return *this;
		}

		/** Returns V rotated by this quaternion. */
		TVector<T> operator*(const TVector<T>& V) const { return RotateVector(V); }

		/** Returns every component multiplied by Scale. */
		template <typename FArg>
			requires std::is_arithmetic_v<FArg>
		constexpr TQuat<T> operator*(const FArg Scale) const
		{
			return TQuat<T>(X * (T)Scale, Y * (T)Scale, Z * (T)Scale, W * (T)Scale);
		}

		/** Multiplies every component by Scale. */
		template <typename FArg>
			requires std::is_arithmetic_v<FArg>
		constexpr TQuat<T>& operator*=(const FArg Scale)
		{
			X *= (T)Scale;
			Y *= (T)Scale;
			Z *= (T)Scale;
			W *= (T)Scale;
			return *this;
		}

		/** Returns every component divided by Scale. */
		template <typename FArg>
			requires std::is_arithmetic_v<FArg>
		constexpr TQuat<T> operator/(const FArg Scale) const
		{
			const T Recip = (T)1 / (T)Scale;
			return TQuat<T>(X * Recip, Y * Recip, Z * Recip, W * Recip);
		}

		/** Divides every component by Scale. */
		template <typename FArg>
			requires std::is_arithmetic_v<FArg>
		constexpr TQuat<T>& operator/=(const FArg Scale)
		{
			const T Recip = (T)1 / (T)Scale;
			X *= Recip;
			Y *= Recip;
			Z *= Recip;
			W *= Recip;
			return *this;
		}

		/** Returns the four-component dot product. */
		constexpr T operator|(const TQuat<T>& Q) const { return X * Q.X + Y * Q.Y + Z * Q.Z + W * Q.W; }

		/** True when all four components are exactly equal. */
		constexpr bool operator==(const TQuat<T>& Q) const { return X == Q.X && Y == Q.Y && Z == Q.Z && W == Q.W; }
		/** True when any component differs. */
		constexpr bool operator!=(const TQuat<T>& Q) const { return !(*this == Q); }

		/** True when Q, or its negation (the same rotation), matches this one within Tolerance per component. */
		bool Equals(const TQuat<T>& Q, const T Tolerance = UE_KINDA_SMALL_NUMBER) const
		{
			return (FMath::Abs(X - Q.X) <= Tolerance && FMath::Abs(Y - Q.Y) <= Tolerance && FMath::Abs(Z - Q.Z) <= Tolerance && FMath::Abs(W - Q.W) <= Tolerance)
				|| (FMath::Abs(X + Q.X) <= Tolerance && FMath::Abs(Y + Q.Y) <= Tolerance && FMath::Abs(Z + Q.Z) <= Tolerance && FMath::Abs(W + Q.W) <= Tolerance);
		}

		/** True when this is the identity rotation within Tolerance. */
		bool IsIdentity(const T Tolerance = UE_SMALL_NUMBER) const
		{
			return Equals(Identity, Tolerance);
		}

		/** Returns V rotated by this quaternion. */
		TVector<T> RotateVector(TVector<T> V) const
		{
			const TVector<T> Q(X, Y, Z);
			const TVector<T> TT = TVector<T>::CrossProduct(Q, V) * (T)2;
			return V + (TT * W) + TVector<T>::CrossProduct(Q, TT);
		}

		/** Returns V rotated by the inverse of this quaternion. */
		TVector<T> UnrotateVector(TVector<T> V) const
		{
			const TVector<T> Q(-X, -Y, -Z);
			const TVector<T> TT = TVector<T>::CrossProduct(Q, V) * (T)2;
			return V + (TT * W) + TVector<T>::CrossProduct(Q, TT);
		}

		/** Returns the rotation that undoes this one (the conjugate, for a unit quaternion). */
		constexpr TQuat<T> Inverse() const
		{
			return TQuat<T>(-X, -Y, -Z, W);
		}

		/** Scales to unit length; a quaternion whose squared length is below Tolerance becomes the identity. */
		void Normalize(const T Tolerance = UE_SMALL_NUMBER)
		{
			const T SquareSum = SizeSquared();
			if (SquareSum >= Tolerance)
			{
				const T Scale = FMath::InvSqrt(SquareSum);
				X *= Scale;
				Y *= Scale;
				Z *= Scale;
				W *= Scale;
			}
			else
			{
				*this = Identity;
			}
		}

		/** Returns the unit quaternion in this direction, or the identity when too short. */
		TQuat<T> GetNormalized(const T Tolerance = UE_SMALL_NUMBER) const
		{
			TQuat<T> Result(*this);
			Result.Normalize(Tolerance);
			return Result;
		}

		/** True when the quaternion has (nearly) unit length. */
		bool IsNormalized() const
		{
			return FMath::Abs((T)1 - SizeSquared()) < (T)UE_THRESH_QUAT_NORMALIZED;
		}

		/** Returns the quaternion's length. */
		T Size() const { return FMath::Sqrt(SizeSquared()); }
		/** Returns the quaternion's squared length. */
		constexpr T SizeSquared() const { return X * X + Y * Y + Z * Z + W * W; }

		/** Returns the rotation angle in radians, in [0, 2*PI]. */
		T GetAngle() const
		{
			return (T)2 * FMath::Acos(W);
		}

		/** Returns the unit rotation axis, or the X axis when the rotation is (nearly) none. */
		TVector<T> GetRotationAxis() const
		{
			const T SquareSum = X * X + Y * Y + Z * Z;
			if (SquareSum < (T)UE_SMALL_NUMBER)
			{
				return TVector<T>::XAxisVector;
			}
			const T Scale = FMath::InvSqrt(SquareSum);
			return TVector<T>(X * Scale, Y * Scale, Z * Scale);
		}

		/** Gets the unit rotation axis and the angle in radians. */
		void ToAxisAndAngle(TVector<T>& Axis, T& Angle) const
		{
			Angle = GetAngle();
			Axis = GetRotationAxis();
		}

		/** Gets the unit rotation axis and the angle in radians (single precision angle). */
		void ToAxisAndAngle(TVector<T>& Axis, float& Angle) const
			requires (!std::is_same_v<T, float>)
		{
			Angle = (float)GetAngle();
			Axis = GetRotationAxis();
		}

		/** Returns the angle in radians of the rotation that takes this one to Q, in [0, PI]. */
		T AngularDistance(const TQuat<T>& Q) const
		{
			const T InnerProd = X * Q.X + Y * Q.Y + Z * Q.Z + W * Q.W;
			return FMath::Acos(((T)2 * InnerProd * InnerProd) - (T)1);
		}

		/** Negates this quaternion if needed so that it lies on the same side as OtherQuat (dot product >= 0). */
		void EnforceShortestArcWith(const TQuat<T>& OtherQuat)
		{
			const T Bias = FMath::FloatSelect(OtherQuat | *this, (T)1, (T)-1);
			X *= Bias;
			Y *= Bias;
			Z *= Bias;
			W *= Bias;
		}

		/** Returns the rotated X axis (forward). */
		TVector<T> GetAxisX() const { return RotateVector(TVector<T>(1, 0, 0)); }
		/** Returns the rotated Y axis (right). */
		TVector<T> GetAxisY() const { return RotateVector(TVector<T>(0, 1, 0)); }
		/** Returns the rotated Z axis (up). */
		TVector<T> GetAxisZ() const { return RotateVector(TVector<T>(0, 0, 1)); }
		/** Returns the rotated forward (X) axis. */
		TVector<T> GetForwardVector() const { return GetAxisX(); }
		/** Returns the rotated right (Y) axis. */
		TVector<T> GetRightVector() const { return GetAxisY(); }
		/** Returns the rotated up (Z) axis. */
		TVector<T> GetUpVector() const { return GetAxisZ(); }
		/** Returns the rotated forward (X) axis. */
		TVector<T> Vector() const { return GetAxisX(); }

		/** Returns the rotator of the same rotation; at pitch +-90 the yaw and roll share the turn. */
		TRotator<T> Rotator() const;

		/** Returns the rotation as Euler angles in degrees: (Roll, Pitch, Yaw), about X, Y and Z. */
		TVector<T> Euler() const;

		/** Returns the rotation matrix of this quaternion. */
		TMatrix<T> ToMatrix() const;

		/** True when any component is NaN or infinite. */
		bool ContainsNaN() const
		{
			return !FMath::IsFinite(X) || !FMath::IsFinite(Y) || !FMath::IsFinite(Z) || !FMath::IsFinite(W);
		}

		/** Returns the text "X=... Y=... Z=... W=..." with nine decimals. */
		FString ToString() const
		{
			return FString::Printf(TEXT("X=%.9f Y=%.9f Z=%.9f W=%.9f"), X, Y, Z, W);
		}

		/** Makes the quaternion of Euler angles in degrees (Roll, Pitch, Yaw). */
		static TQuat<T> MakeFromEuler(const TVector<T>& Euler);

		/** Makes the quaternion of a rotator. */
		static TQuat<T> MakeFromRotator(const TRotator<T>& R)
		{
			return TQuat<T>(R);
		}

		/** Returns the shortest rotation that turns the unit vector A onto the unit vector B. */
		static TQuat<T> FindBetweenNormals(const TVector<T>& A, const TVector<T>& B)
		{
			return FindBetweenHelper(A, B, (T)1);
		}

		/** Returns the shortest rotation that turns the direction of A onto the direction of B. */
		static TQuat<T> FindBetweenVectors(const TVector<T>& A, const TVector<T>& B)
		{
			return FindBetweenHelper(A, B, FMath::Sqrt(A.SizeSquared() * B.SizeSquared()));
		}

		/** Returns the shortest rotation that turns the direction of A onto the direction of B. */
		static TQuat<T> FindBetween(const TVector<T>& A, const TVector<T>& B)
		{
			return FindBetweenVectors(A, B);
		}

		/** Interpolates along the shorter arc from Quat1 (Slerp 0) to Quat2 (Slerp 1), without normalizing. */
		static TQuat<T> Slerp_NotNormalized(const TQuat<T>& Quat1, const TQuat<T>& Quat2, const T Slerp)
		{
			const T RawCosom = Quat1 | Quat2;
			const T Cosom = FMath::FloatSelect(RawCosom, RawCosom, -RawCosom);
			T Scale0 = 0;
			T Scale1 = 0;
			if (Cosom < (T)0.9999)
			{
				const T Omega = FMath::Acos(Cosom);
				const T InvSin = (T)1 / FMath::Sin(Omega);
				Scale0 = FMath::Sin(((T)1 - Slerp) * Omega) * InvSin;
				Scale1 = FMath::Sin(Slerp * Omega) * InvSin;
			}
			else
			{
				Scale0 = (T)1 - Slerp;
				Scale1 = Slerp;
			}
			Scale1 = FMath::FloatSelect(RawCosom, Scale1, -Scale1);
			return TQuat<T>(
				Scale0 * Quat1.X + Scale1 * Quat2.X,
				Scale0 * Quat1.Y + Scale1 * Quat2.Y,
				Scale0 * Quat1.Z + Scale1 * Quat2.Z,
				Scale0 * Quat1.W + Scale1 * Quat2.W);
		}

		/** Interpolates along the shorter arc from Quat1 (Slerp 0) to Quat2 (Slerp 1); the result is unit length. */
		static TQuat<T> Slerp(const TQuat<T>& Quat1, const TQuat<T>& Quat2, const T Slerp)
		{
			return Slerp_NotNormalized(Quat1, Quat2, Slerp).GetNormalized();
		}

	private:
		/** The shortest rotation from A to B, where NormAB is the product of their lengths. */
		static TQuat<T> FindBetweenHelper(const TVector<T>& A, const TVector<T>& B, const T NormAB)
		{
			T WPart = NormAB + TVector<T>::DotProduct(A, B);
			TQuat<T> Result;
			if (WPart >= (T)1e-6 * NormAB)
			{
				Result = TQuat<T>(A.Y * B.Z - A.Z * B.Y, A.Z * B.X - A.X * B.Z, A.X * B.Y - A.Y * B.X, WPart);
			}
			else
			{
				// Opposite directions: turn half way round an axis perpendicular to A.
				WPart = 0;
				const T AbsX = FMath::Abs(A.X);
				const T AbsY = FMath::Abs(A.Y);
				const T AbsZ = FMath::Abs(A.Z);
				const TVector<T> Basis = (AbsX > AbsY && AbsX > AbsZ) ? TVector<T>::YAxisVector : -TVector<T>::XAxisVector;
				Result = TQuat<T>(A.Y * Basis.Z - A.Z * Basis.Y, A.Z * Basis.X - A.X * Basis.Z, A.X * Basis.Y - A.Y * Basis.X, WPart);
			}
			Result.Normalize();
			return Result;
		}
	};

	template <typename T> const TQuat<T> TQuat<T>::Identity(0, 0, 0, 1);

	/** Hashes a quaternion; quaternions that compare equal hash alike. */
	template <typename T>
	uint32 GetTypeHash(const TQuat<T>& Quat)
	{
		return Private::HashComponents(Quat.X, Quat.Y, Quat.Z, Quat.W);
	}
}

// Conversions to rotators and matrices need those types complete wherever quaternions are used.
#include "Math/Rotator.h"
#include "Math/Matrix.h"

namespace UE::Math
{
	template <typename T>
	TQuat<T>::TQuat(const TRotator<T>& R)
	{
		*this = R.Quaternion();
	}

	template <typename T>
	TQuat<T>::TQuat(const TMatrix<T>& M)
	{
		// A matrix with a zero axis has lost its rotation; the identity is the engine's answer.
		if (M.GetScaledAxis(EAxis::X).IsNearlyZero() || M.GetScaledAxis(EAxis::Y).IsNearlyZero() || M.GetScaledAxis(EAxis::Z).IsNearlyZero())
		{
			*this = Identity;
			return;
		}
		const bool bUnitAxes = FMath::Abs((T)1 - M.GetScaledAxis(EAxis::X).SizeSquared()) <= (T)UE_KINDA_SMALL_NUMBER
			&& FMath::Abs((T)1 - M.GetScaledAxis(EAxis::Y).SizeSquared()) <= (T)UE_KINDA_SMALL_NUMBER
			&& FMath::Abs((T)1 - M.GetScaledAxis(EAxis::Z).SizeSquared()) <= (T)UE_KINDA_SMALL_NUMBER;
		if (!ensureMsgf(bUnitAxes, TEXT("FQuat from a matrix with scaled axes; remove the scaling first")))
		{
			*this = Identity;
			return;
		}

		const T Trace = M.M[0][0] + M.M[1][1] + M.M[2][2];
		if (Trace > (T)0)
		{
			const T InvS = FMath::InvSqrt(Trace + (T)1);
			const T S = (T)0.5 * InvS;
			W = (T)0.5 * ((T)1 / InvS);
			X = (M.M[1][2] - M.M[2][1]) * S;
			Y = (M.M[2][0] - M.M[0][2]) * S;
			Z = (M.M[0][1] - M.M[1][0]) * S;
			return;
		}

		// Work from the largest diagonal element to keep the square root well away from zero.
		int32 I = 0;
		if (M.M[1][1] > M.M[0][0])
		{
			I = 1;
		}
		if (M.M[2][2] > M.M[I][I])
		{
			I = 2;
		}
		static constexpr int32 Next[3] = {1, 2, 0};
		const int32 J = Next[I];
		const int32 K = Next[J];
		const T InvS = FMath::InvSqrt(M.M[I][I] - M.M[J][J] - M.M[K][K] + (T)1);
		const T S = (T)0.5 * InvS;
		T Qt[4] = {0, 0, 0, 0};
		Qt[I] = (T)0.5 * ((T)1 / InvS);
		Qt[3] = (M.M[J][K] - M.M[K][J]) * S;
		Qt[J] = (M.M[I][J] + M.M[J][I]) * S;
		Qt[K] = (M.M[I][K] + M.M[K][I]) * S;
		X = Qt[0];
		Y = Qt[1];
		Z = Qt[2];
		W = Qt[3];
	}

	template <typename T>
	TRotator<T> TQuat<T>::Rotator() const
	{
		const T SingularityTest = Z * X - W * Y;
		const T YawY = (T)2 * (W * Z + X * Y);
		const T YawX = (T)1 - (T)2 * (FMath::Square(Y) + FMath::Square(Z));
		const T SingularityThreshold = (T)0.4999995;
		const T RadToDeg = (T)(180.0 / UE_DOUBLE_PI);
		T Pitch = 0;
		T Yaw = 0;
		T Roll = 0;
		if (SingularityTest < -SingularityThreshold)
		{
			Pitch = (T)-90;
			Yaw = FMath::Atan2(YawY, YawX) * RadToDeg;
			Roll = TRotator<T>::NormalizeAxis(-Yaw - ((T)2 * FMath::Atan2(X, W) * RadToDeg));
		}
		else if (SingularityTest > SingularityThreshold)
		{
			Pitch = (T)90;
			Yaw = FMath::Atan2(YawY, YawX) * RadToDeg;
			Roll = TRotator<T>::NormalizeAxis(Yaw - ((T)2 * FMath::Atan2(X, W) * RadToDeg));
		}
		else
		{
			Pitch = FMath::Asin((T)2 * SingularityTest) * RadToDeg;
			Yaw = FMath::Atan2(YawY, YawX) * RadToDeg;
			Roll = FMath::Atan2((T)-2 * (W * X + Y * Z), (T)1 - (T)2 * (FMath::Square(X) + FMath::Square(Y))) * RadToDeg;
		}
		return TRotator<T>(Pitch, Yaw, Roll);
	}

	template <typename T>
	TVector<T> TQuat<T>::Euler() const
	{
		return Rotator().Euler();
	}

	template <typename T>
	TMatrix<T> TQuat<T>::ToMatrix() const
	{
		return TQuatRotationTranslationMatrix<T>(*this, TVector<T>::ZeroVector);
	}

	template <typename T>
	TQuat<T> TQuat<T>::MakeFromEuler(const TVector<T>& Euler)
	{
		return TRotator<T>::MakeFromEuler(Euler).Quaternion();
	}
}
