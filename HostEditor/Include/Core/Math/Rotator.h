// TRotator: an orientation as pitch, yaw and roll in degrees; FRotator holds doubles.
#pragma once

#include <type_traits>

#include "Containers/UnrealString.h"
#include "CoreTypes.h"
#include "Math/Axis.h"
#include "Math/MathFwd.h"
#include "Math/UnrealMathUtility.h"
#include "Math/Vector.h"
#include "Templates/TypeHash.h"

namespace UE::Math
{
	/**
	 * Pitch turns about the Y axis (positive lifts +X toward +Z), yaw about the Z axis (positive turns
	 * +X toward +Y) and roll about the X axis (positive turns +Y toward -Z). A rotator applies roll
	 * first, then pitch, then yaw.
	 */
	template <typename T>
	struct TRotator
	{
		static_assert(std::is_floating_point_v<T>, "TRotator holds float or double angles");

		using FReal = T;

		/** Rotation about the right (Y) axis, in degrees; positive looks up. */
		T Pitch;
		/** Rotation about the up (Z) axis, in degrees; positive turns right. */
		T Yaw;
		/** Rotation about the forward (X) axis, in degrees; positive tilts the right side down. */
		T Roll;

		/** The rotator with all angles zero. */
		static const TRotator<T> ZeroRotator;

		/** Makes the zero rotator. */
		constexpr TRotator()
			: Pitch(0), Yaw(0), Roll(0)
		{
		}

		/** Makes a rotator with all three angles set to InF degrees. */
		explicit constexpr TRotator(const T InF)
			: Pitch(InF), Yaw(InF), Roll(InF)
		{
		}

		/** Makes a rotator from pitch, yaw and roll, in that order, in degrees. */
		constexpr TRotator(const T InPitch, const T InYaw, const T InRoll)
			: Pitch(InPitch), Yaw(InYaw), Roll(InRoll)
		{
		}

		/** Makes the zero rotator. */
		explicit constexpr TRotator(EForceInit::Type)
			: Pitch(0), Yaw(0), Roll(0)
		{
		}

		/** Makes the rotator equivalent to a quaternion. */
		explicit TRotator(const TQuat<T>& Quat);

		/** Converts from a rotator of the other precision. */
		template <typename FArg>
			requires (!std::is_same_v<T, FArg>)
		explicit constexpr TRotator(const TRotator<FArg>& From)
			: Pitch((T)From.Pitch), Yaw((T)From.Yaw), Roll((T)From.Roll)
		{
		}

		/** Returns the angle-wise sum. */
		constexpr TRotator<T> operator+(const TRotator<T>& R) const { return TRotator<T>(Pitch + R.Pitch, Yaw + R.Yaw, Roll + R.Roll); }
		/** Returns the angle-wise difference. */
		constexpr TRotator<T> operator-(const TRotator<T>& R) const { return TRotator<T>(Pitch - R.Pitch, Yaw - R.Yaw, Roll - R.Roll); }

		/** Returns every angle multiplied by Scale. */
		template <typename FArg>
			requires std::is_arithmetic_v<FArg>
		constexpr TRotator<T> operator*(const FArg Scale) const
		{
			return TRotator<T>(Pitch * (T)Scale, Yaw * (T)Scale, Roll * (T)Scale);
		}

		/** Multiplies every angle by Scale. */
		template <typename FArg>
			requires std::is_arithmetic_v<FArg>
		constexpr TRotator<T>& operator*=(const FArg Scale)
		{
			Pitch *= (T)Scale;
			Yaw *= (T)Scale;
			Roll *= (T)Scale;
			return *this;
		}

		/** Adds R angle-wise. */
		constexpr TRotator<T>& operator+=(const TRotator<T>& R) { Pitch += R.Pitch; Yaw += R.Yaw; Roll += R.Roll; return *this; }
		/** Subtracts R angle-wise. */
		constexpr TRotator<T>& operator-=(const TRotator<T>& R) { Pitch -= R.Pitch; Yaw -= R.Yaw; Roll -= R.Roll; return *this; }

		/** True when all three angles are exactly equal (no wrapping). */
		constexpr bool operator==(const TRotator<T>& R) const { return Pitch == R.Pitch && Yaw == R.Yaw && Roll == R.Roll; }
		/** True when any angle differs. */
		constexpr bool operator!=(const TRotator<T>& R) const { return !(*this == R); }

		/** True when every angle is within Tolerance of zero, modulo whole turns. */
		bool IsNearlyZero(const T Tolerance = UE_KINDA_SMALL_NUMBER) const
		{
			return FMath::Abs(NormalizeAxis(Pitch)) <= Tolerance && FMath::Abs(NormalizeAxis(Yaw)) <= Tolerance
				&& FMath::Abs(NormalizeAxis(Roll)) <= Tolerance;
		}

		/** True when every angle is a whole number of turns. */
		bool IsZero() const
		{
			return ClampAxis(Pitch) == 0 && ClampAxis(Yaw) == 0 && ClampAxis(Roll) == 0;
		}

		/** True when each angle is within Tolerance of R's, modulo whole turns. */
		bool Equals(const TRotator<T>& R, const T Tolerance = UE_KINDA_SMALL_NUMBER) const
		{
			return FMath::Abs(NormalizeAxis(Pitch - R.Pitch)) <= Tolerance && FMath::Abs(NormalizeAxis(Yaw - R.Yaw)) <= Tolerance
				&& FMath::Abs(NormalizeAxis(Roll - R.Roll)) <= Tolerance;
		}

		/** Adds the given angles, in degrees, and returns this rotator. */
		TRotator<T> Add(const T DeltaPitch, const T DeltaYaw, const T DeltaRoll)
		{
			Pitch += DeltaPitch;
			Yaw += DeltaYaw;
			Roll += DeltaRoll;
			return *this;
		}

		/** Returns the rotation that undoes this one. */
		TRotator<T> GetInverse() const;

		/** Returns the unit direction this rotator's forward (X) axis points along. */
		TVector<T> Vector() const
		{
			T CP = 0;
			T SP = 0;
			T CY = 0;
			T SY = 0;
			FMath::SinCos(&SP, &CP, FMath::DegreesToRadians(FMath::Fmod(Pitch, (T)360)));
			FMath::SinCos(&SY, &CY, FMath::DegreesToRadians(FMath::Fmod(Yaw, (T)360)));
			return TVector<T>(CP * CY, CP * SY, SP);
		}

		/** Returns the quaternion of the same rotation. */
		TQuat<T> Quaternion() const;

		/** Returns the angles as a vector (Roll, Pitch, Yaw), the rotations about X, Y and Z. */
		constexpr TVector<T> Euler() const
		{
			return TVector<T>(Roll, Pitch, Yaw);
		}

		/** Returns V rotated by this rotator. */
		TVector<T> RotateVector(const TVector<T>& V) const;
		/** Returns V rotated by the inverse of this rotator. */
		TVector<T> UnrotateVector(const TVector<T>& V) const;

		/** Returns the rotator with every angle moved into [0, 360). */
		TRotator<T> Clamp() const
		{
			return TRotator<T>(ClampAxis(Pitch), ClampAxis(Yaw), ClampAxis(Roll));
		}

		/** Returns the rotator with every angle moved into (-180, 180]. */
		TRotator<T> GetNormalized() const
		{
			TRotator<T> Rot = *this;
			Rot.Normalize();
			return Rot;
		}

		/** Returns the rotator with every angle moved into [0, 360). */
		TRotator<T> GetDenormalized() const
		{
			return Clamp();
		}

		/** Moves every angle into (-180, 180]. */
		void Normalize()
		{
			Pitch = NormalizeAxis(Pitch);
			Yaw = NormalizeAxis(Yaw);
			Roll = NormalizeAxis(Roll);
		}

		/** Returns the other pitch, yaw and roll that describe the same orientation. */
		constexpr TRotator<T> GetEquivalentRotator() const
		{
			return TRotator<T>((T)180 - Pitch, Yaw + (T)180, Roll + (T)180);
		}

		/** Returns the angle about Axis: X is roll, Y is pitch, Z is yaw; zero for EAxis::None. */
		T GetComponentForAxis(const EAxis::Type Axis) const
		{
			switch (Axis)
			{
			case EAxis::X: return Roll;
			case EAxis::Y: return Pitch;
			case EAxis::Z: return Yaw;
			default: return (T)0;
			}
		}

		/** Sets the angle about Axis: X is roll, Y is pitch, Z is yaw. */
		void SetComponentForAxis(const EAxis::Type Axis, const T Component)
		{
			switch (Axis)
			{
			case EAxis::X: Roll = Component; break;
			case EAxis::Y: Pitch = Component; break;
			case EAxis::Z: Yaw = Component; break;
			default: break;
			}
		}

		/** True when any angle is NaN or infinite. */
		bool ContainsNaN() const
		{
			return !FMath::IsFinite(Pitch) || !FMath::IsFinite(Yaw) || !FMath::IsFinite(Roll);
		}

		/** Returns the text "P=... Y=... R=...". */
		FString ToString() const
		{
			return FString::Printf(TEXT("P=%f Y=%f R=%f"), Pitch, Yaw, Roll);
		}

		/** Returns an angle in degrees moved into [0, 360). */
		static T ClampAxis(T Angle)
		{
			Angle = FMath::Fmod(Angle, (T)360);
			if (Angle < (T)0)
			{
				Angle += (T)360;
			}
			return Angle;
		}

		/** Returns an angle in degrees moved into (-180, 180]. */
		static T NormalizeAxis(T Angle)
		{
			Angle = ClampAxis(Angle);
			if (Angle > (T)180)
			{
				Angle -= (T)360;
			}
			return Angle;
		}

		/** Makes a rotator from rotations about X, Y and Z: Euler (Roll, Pitch, Yaw). */
		static constexpr TRotator<T> MakeFromEuler(const TVector<T>& Euler)
		{
			return TRotator<T>(Euler.Y, Euler.Z, Euler.X);
		}
	};

	template <typename T> const TRotator<T> TRotator<T>::ZeroRotator(0, 0, 0);

	/** Returns R with every angle multiplied by Scale. */
	template <typename T, typename FArg>
		requires std::is_arithmetic_v<FArg>
	constexpr TRotator<T> operator*(const FArg Scale, const TRotator<T>& R)
	{
		return R.operator*(Scale);
	}

	/** Hashes a rotator; rotators that compare equal hash alike. */
	template <typename T>
	uint32 GetTypeHash(const TRotator<T>& Rotator)
	{
		return Private::HashComponents(Rotator.Pitch, Rotator.Yaw, Rotator.Roll);
	}
}

// Conversions to quaternions and matrices need those types complete wherever rotators are used.
#include "Math/Quat.h"
#include "Math/Matrix.h"

namespace UE::Math
{
	template <typename T>
	TRotator<T>::TRotator(const TQuat<T>& Quat)
	{
		*this = Quat.Rotator();
	}

	template <typename T>
	TRotator<T> TRotator<T>::GetInverse() const
	{
		return Quaternion().Inverse().Rotator();
	}

	template <typename T>
	TQuat<T> TRotator<T>::Quaternion() const
	{
		const T RadsDividedBy2 = (T)(UE_DOUBLE_PI / 360.0);
		T SP = 0;
		T SY = 0;
		T SR = 0;
		T CP = 0;
		T CY = 0;
		T CR = 0;
		FMath::SinCos(&SP, &CP, FMath::Fmod(Pitch, (T)360) * RadsDividedBy2);
		FMath::SinCos(&SY, &CY, FMath::Fmod(Yaw, (T)360) * RadsDividedBy2);
		FMath::SinCos(&SR, &CR, FMath::Fmod(Roll, (T)360) * RadsDividedBy2);
		return TQuat<T>(
			CR * SP * SY - SR * CP * CY,
			-CR * SP * CY - SR * CP * SY,
			CR * CP * SY - SR * SP * CY,
			CR * CP * CY + SR * SP * SY);
	}

	template <typename T>
	TVector<T> TRotator<T>::RotateVector(const TVector<T>& V) const
	{
		return TRotationMatrix<T>(*this).TransformVector(V);
	}

	template <typename T>
	TVector<T> TRotator<T>::UnrotateVector(const TVector<T>& V) const
	{
		return TRotationMatrix<T>(*this).GetTransposed().TransformVector(V);
	}
}
