// FMath and the numeric constants of the engine's math library.
#pragma once

#include <cmath>
#include <type_traits>

#include "CoreTypes.h"
#include "Templates/TypeHash.h"

#define UE_PI (3.1415926535897932f)
#define UE_SMALL_NUMBER (1.e-8f)
#define UE_KINDA_SMALL_NUMBER (1.e-4f)
#define UE_BIG_NUMBER (3.4e+38f)
#define UE_EULERS_NUMBER (2.71828182845904523536f)
#define UE_GOLDEN_RATIO (1.6180339887498948482045868343656381f)
#define UE_FLOAT_NON_FRACTIONAL (8388608.f)
#define UE_MAX_FLT (3.402823466e+38F)
#define UE_INV_PI (0.31830988618f)
#define UE_HALF_PI (1.57079632679f)
#define UE_TWO_PI (6.28318530717f)
#define UE_PI_SQUARED (9.86960440108f)

#define UE_DOUBLE_PI (3.141592653589793238462643383279502884197169399)
#define UE_DOUBLE_SMALL_NUMBER (1.e-8)
#define UE_DOUBLE_KINDA_SMALL_NUMBER (1.e-4)
#define UE_DOUBLE_BIG_NUMBER (3.4e+38)
#define UE_DOUBLE_EULERS_NUMBER (2.7182818284590452353602874713526624977572)
#define UE_DOUBLE_GOLDEN_RATIO (1.6180339887498948482045868343656381)
#define UE_DOUBLE_NON_FRACTIONAL (4503599627370496.0)
#define UE_DOUBLE_INV_PI (0.31830988618379067154)
#define UE_DOUBLE_HALF_PI (1.57079632679489661923)
#define UE_DOUBLE_TWO_PI (6.28318530717958647692)
#define UE_DOUBLE_PI_SQUARED (9.86960440108935861883)

#define UE_DELTA (0.00001f)
#define UE_DOUBLE_DELTA (0.00001)
#define UE_FLOAT_NORMAL_THRESH (0.0001f)
#define UE_DOUBLE_NORMAL_THRESH (0.0001)
#define UE_THRESH_POINT_ON_PLANE (0.10f)
#define UE_THRESH_NORMALS_ARE_PARALLEL (0.999845f)
#define UE_THRESH_NORMALS_ARE_ORTHOGONAL (0.017455f)
#define UE_THRESH_VECTOR_NORMALIZED (0.01f)
#define UE_THRESH_QUAT_NORMALIZED (0.01f)

// The names older engine code still uses for the same constants.
#define PI UE_PI
#define HALF_PI UE_HALF_PI
#define SMALL_NUMBER UE_SMALL_NUMBER
#define KINDA_SMALL_NUMBER UE_KINDA_SMALL_NUMBER
#define BIG_NUMBER UE_BIG_NUMBER
#define DOUBLE_PI UE_DOUBLE_PI
#define DOUBLE_SMALL_NUMBER UE_DOUBLE_SMALL_NUMBER
#define DOUBLE_KINDA_SMALL_NUMBER UE_DOUBLE_KINDA_SMALL_NUMBER
#define THRESH_QUAT_NORMALIZED UE_THRESH_QUAT_NORMALIZED
#define THRESH_VECTOR_NORMALIZED UE_THRESH_VECTOR_NORMALIZED

namespace UE::Math::Private
{
	/** The floating-point type a math function computes in: float for float, double for everything else. */
	template <typename T>
	using TRealFor = std::conditional_t<std::is_same_v<T, float>, float, double>;

	/** True when two arithmetic types differ and at least one of them is floating point. */
	template <typename A, typename B>
	inline constexpr bool bIsMixedRealPair = std::is_arithmetic_v<A> && std::is_arithmetic_v<B> && !std::is_same_v<A, B>
		&& (std::is_floating_point_v<A> || std::is_floating_point_v<B>);

	/** Hashes one component so that 0 and -0, which compare equal, hash alike. */
	template <typename T>
	inline uint32 HashComponent(const T Value)
	{
		if constexpr (std::is_floating_point_v<T>)
		{
			return GetTypeHash(Value == (T)0 ? (T)0 : Value);
		}
		else
		{
			return GetTypeHash(Value);
		}
	}

	/** Combines the hashes of several components in order. */
	template <typename T, typename... Ts>
	inline uint32 HashComponents(const T First, const Ts... Rest)
	{
		uint32 Hash = HashComponent(First);
		((Hash = HashCombine(Hash, HashComponent(Rest))), ...);
		return Hash;
	}
}

/** The engine's collection of scalar math functions. */
struct FMath
{
	/** Returns the absolute value of A. */
	template <typename T>
	static constexpr T Abs(const T A)
	{
		return (A < (T)0) ? -A : A;
	}

	/** Returns 1, 0 or -1 as A is positive, zero or negative. */
	template <typename T>
	static constexpr T Sign(const T A)
	{
		return (A > (T)0) ? (T)1 : ((A < (T)0) ? (T)-1 : (T)0);
	}

	/** Returns the higher of A and B. */
	template <typename T>
	static constexpr T Max(const T A, const T B)
	{
		return (B < A) ? A : B;
	}

	/** Returns the higher of two numbers of different types, in their common type. */
	template <typename A, typename B>
		requires UE::Math::Private::bIsMixedRealPair<A, B>
	static constexpr std::common_type_t<A, B> Max(const A X, const B Y)
	{
		using FCommon = std::common_type_t<A, B>;
		return Max<FCommon>((FCommon)X, (FCommon)Y);
	}

	/** Returns the lower of A and B. */
	template <typename T>
	static constexpr T Min(const T A, const T B)
	{
		return (A <= B) ? A : B;
	}

	/** Returns the lower of two numbers of different types, in their common type. */
	template <typename A, typename B>
		requires UE::Math::Private::bIsMixedRealPair<A, B>
	static constexpr std::common_type_t<A, B> Min(const A X, const B Y)
	{
		using FCommon = std::common_type_t<A, B>;
		return Min<FCommon>((FCommon)X, (FCommon)Y);
	}

	/** Returns the highest of three values. */
	template <typename T>
	static constexpr T Max3(const T A, const T B, const T C)
	{
		return Max(Max(A, B), C);
	}

	/** Returns the lowest of three values. */
	template <typename T>
	static constexpr T Min3(const T A, const T B, const T C)
	{
		return Min(Min(A, B), C);
	}

	/** Returns X limited to the range [MinValue, MaxValue]. */
	template <typename T>
	static constexpr T Clamp(const T X, const T MinValue, const T MaxValue)
	{
		return (X < MinValue) ? MinValue : ((X < MaxValue) ? X : MaxValue);
	}

	/** Returns X limited to [MinValue, MaxValue] when the arguments mix integer and floating-point types. */
	template <typename A, typename B, typename C>
		requires (std::is_arithmetic_v<A> && std::is_arithmetic_v<B> && std::is_arithmetic_v<C>
			&& !(std::is_same_v<A, B> && std::is_same_v<B, C>)
			&& (std::is_floating_point_v<A> || std::is_floating_point_v<B> || std::is_floating_point_v<C>))
	static constexpr std::common_type_t<A, B, C> Clamp(const A X, const B MinValue, const C MaxValue)
	{
		using FCommon = std::common_type_t<A, B, C>;
		return Clamp<FCommon>((FCommon)X, (FCommon)MinValue, (FCommon)MaxValue);
	}

	/** Returns A multiplied by itself. */
	template <typename T>
	static constexpr T Square(const T A)
	{
		return A * A;
	}

	/** Returns the square root of Value. */
	template <typename T>
		requires std::is_arithmetic_v<T>
	static UE::Math::Private::TRealFor<T> Sqrt(const T Value)
	{
		return std::sqrt((UE::Math::Private::TRealFor<T>)Value);
	}

	/** Returns one over the square root of Value. */
	template <typename T>
		requires std::is_arithmetic_v<T>
	static UE::Math::Private::TRealFor<T> InvSqrt(const T Value)
	{
		using FReal = UE::Math::Private::TRealFor<T>;
		return (FReal)1 / std::sqrt((FReal)Value);
	}

	/** Returns the sine of an angle in radians. */
	template <typename T>
		requires std::is_arithmetic_v<T>
	static UE::Math::Private::TRealFor<T> Sin(const T Value)
	{
		return std::sin((UE::Math::Private::TRealFor<T>)Value);
	}

	/** Returns the cosine of an angle in radians. */
	template <typename T>
		requires std::is_arithmetic_v<T>
	static UE::Math::Private::TRealFor<T> Cos(const T Value)
	{
		return std::cos((UE::Math::Private::TRealFor<T>)Value);
	}

	/** Returns the tangent of an angle in radians. */
	template <typename T>
		requires std::is_arithmetic_v<T>
	static UE::Math::Private::TRealFor<T> Tan(const T Value)
	{
		return std::tan((UE::Math::Private::TRealFor<T>)Value);
	}

	/** Returns the arcsine in radians; inputs outside [-1, 1] are clamped first. */
	template <typename T>
		requires std::is_arithmetic_v<T>
	static UE::Math::Private::TRealFor<T> Asin(const T Value)
	{
		using FReal = UE::Math::Private::TRealFor<T>;
		return std::asin(Clamp((FReal)Value, (FReal)-1, (FReal)1));
	}

	/** Returns the arccosine in radians; inputs outside [-1, 1] are clamped first. */
	template <typename T>
		requires std::is_arithmetic_v<T>
	static UE::Math::Private::TRealFor<T> Acos(const T Value)
	{
		using FReal = UE::Math::Private::TRealFor<T>;
		return std::acos(Clamp((FReal)Value, (FReal)-1, (FReal)1));
	}

	/** Returns the arctangent in radians. */
	template <typename T>
		requires std::is_arithmetic_v<T>
	static UE::Math::Private::TRealFor<T> Atan(const T Value)
	{
		return std::atan((UE::Math::Private::TRealFor<T>)Value);
	}

	/** Returns the angle in radians of the point (X, Y), in [-PI, PI]; a zero Y counts as positive and (0, 0) gives 0. */
	static float Atan2(const float Y, const float X) { return Atan2Unsigned(Y, X); }
	/** Returns the angle in radians of the point (X, Y), in [-PI, PI]; a zero Y counts as positive and (0, 0) gives 0. */
	static double Atan2(const double Y, const double X) { return Atan2Unsigned(Y, X); }

	/** Computes the sine and cosine of an angle in radians. */
	static void SinCos(float* ScalarSin, float* ScalarCos, const float Value)
	{
		*ScalarSin = std::sin(Value);
		*ScalarCos = std::cos(Value);
	}

	/** Computes the sine and cosine of an angle in radians. */
	static void SinCos(double* ScalarSin, double* ScalarCos, const double Value)
	{
		*ScalarSin = std::sin(Value);
		*ScalarCos = std::cos(Value);
	}

	/** Returns the remainder of X / Y with the sign of X; a divisor of (nearly) zero gives zero. */
	static float Fmod(const float X, const float Y)
	{
		return (Abs(Y) <= UE_SMALL_NUMBER) ? 0.0f : std::fmod(X, Y);
	}

	/** Returns the remainder of X / Y with the sign of X; a divisor of (nearly) zero gives zero. */
	static double Fmod(const double X, const double Y)
	{
		return (Abs(Y) <= UE_DOUBLE_SMALL_NUMBER) ? 0.0 : std::fmod(X, Y);
	}

	/** Returns A raised to the power B. */
	static float Pow(const float A, const float B) { return std::pow(A, B); }
	/** Returns A raised to the power B. */
	static double Pow(const double A, const double B) { return std::pow(A, B); }

	/** Returns e raised to the power Value. */
	template <typename T>
		requires std::is_arithmetic_v<T>
	static UE::Math::Private::TRealFor<T> Exp(const T Value)
	{
		return std::exp((UE::Math::Private::TRealFor<T>)Value);
	}

	/** Returns the natural logarithm of Value. */
	template <typename T>
		requires std::is_arithmetic_v<T>
	static UE::Math::Private::TRealFor<T> Loge(const T Value)
	{
		return std::log((UE::Math::Private::TRealFor<T>)Value);
	}

	/** Returns the logarithm of Value in the given Base. */
	template <typename T>
		requires std::is_arithmetic_v<T>
	static UE::Math::Private::TRealFor<T> LogX(const T Base, const T Value)
	{
		return Loge(Value) / Loge(Base);
	}

	/** Returns the largest whole number not above F. */
	static float Floor(const float F) { return std::floor(F); }
	/** Returns the largest whole number not above F. */
	static double Floor(const double F) { return std::floor(F); }
	/** Returns the largest whole number not above F. */
	static float FloorToFloat(const float F) { return std::floor(F); }
	/** Returns the largest whole number not above F. */
	static double FloorToFloat(const double F) { return std::floor(F); }
	/** Returns the largest whole number not above F. */
	static double FloorToDouble(const double F) { return std::floor(F); }
	/** Returns the largest integer not above F. */
	static int32 FloorToInt32(const double F) { return (int32)std::floor(F); }
	/** Returns the largest integer not above F. */
	static int64 FloorToInt64(const double F) { return (int64)std::floor(F); }
	/** Returns the largest integer not above F. */
	static int32 FloorToInt(const float F) { return (int32)std::floor(F); }
	/** Returns the largest integer not above F; doubles give a 64-bit result, as in the engine. */
	static int64 FloorToInt(const double F) { return (int64)std::floor(F); }

	/** Returns the smallest whole number not below F. */
	static float CeilToFloat(const float F) { return std::ceil(F); }
	/** Returns the smallest whole number not below F. */
	static double CeilToFloat(const double F) { return std::ceil(F); }
	/** Returns the smallest whole number not below F. */
	static double CeilToDouble(const double F) { return std::ceil(F); }
	/** Returns the smallest integer not below F. */
	static int32 CeilToInt32(const double F) { return (int32)std::ceil(F); }
	/** Returns the smallest integer not below F. */
	static int64 CeilToInt64(const double F) { return (int64)std::ceil(F); }
	/** Returns the smallest integer not below F. */
	static int32 CeilToInt(const float F) { return (int32)std::ceil(F); }
	/** Returns the smallest integer not below F; doubles give a 64-bit result, as in the engine. */
	static int64 CeilToInt(const double F) { return (int64)std::ceil(F); }

	/** Returns F with its fractional part dropped (rounded toward zero). */
	static float TruncToFloat(const float F) { return std::trunc(F); }
	/** Returns F with its fractional part dropped (rounded toward zero). */
	static double TruncToFloat(const double F) { return std::trunc(F); }
	/** Returns F rounded toward zero. */
	static int32 TruncToInt32(const double F) { return (int32)F; }
	/** Returns F rounded toward zero. */
	static int64 TruncToInt64(const double F) { return (int64)F; }
	/** Returns F rounded toward zero. */
	static int32 TruncToInt(const float F) { return (int32)F; }
	/** Returns F rounded toward zero; doubles give a 64-bit result, as in the engine. */
	static int64 TruncToInt(const double F) { return (int64)F; }

	/** Returns F rounded to the nearest whole number, halves rounding up (toward positive infinity). */
	static float RoundToFloat(const float F) { return RoundHalfUp(F); }
	/** Returns F rounded to the nearest whole number, halves rounding up (toward positive infinity). */
	static double RoundToFloat(const double F) { return RoundHalfUp(F); }
	/** Returns F rounded to the nearest whole number, halves rounding up (toward positive infinity). */
	static double RoundToDouble(const double F) { return RoundHalfUp(F); }
	/** Returns F rounded to the nearest integer, halves rounding up. */
	static int32 RoundToInt32(const double F) { return (int32)RoundHalfUp(F); }
	/** Returns F rounded to the nearest integer, halves rounding up. */
	static int64 RoundToInt64(const double F) { return (int64)RoundHalfUp(F); }
	/** Returns F rounded to the nearest integer, halves rounding up. */
	static int32 RoundToInt(const float F) { return (int32)RoundHalfUp(F); }
	/** Returns F rounded to the nearest integer, halves rounding up; doubles give a 64-bit result. */
	static int64 RoundToInt(const double F) { return (int64)RoundHalfUp(F); }

	/** Returns F rounded to the nearest whole number, halves rounding away from zero. */
	static float RoundHalfFromZero(const float F) { return std::round(F); }
	/** Returns F rounded to the nearest whole number, halves rounding away from zero. */
	static double RoundHalfFromZero(const double F) { return std::round(F); }

	/** Returns the fractional part of Value, always in [0, 1) (Frac(-1.25) is 0.75). */
	static float Frac(const float Value) { return Value - std::floor(Value); }
	/** Returns the fractional part of Value, always in [0, 1) (Frac(-1.25) is 0.75). */
	static double Frac(const double Value) { return Value - std::floor(Value); }
	/** Returns the signed fractional part of Value (Fractional(-1.25) is -0.25). */
	static float Fractional(const float Value) { return Value - std::trunc(Value); }
	/** Returns the signed fractional part of Value (Fractional(-1.25) is -0.25). */
	static double Fractional(const double Value) { return Value - std::trunc(Value); }

	/** True when A and B differ by at most ErrorTolerance. */
	static constexpr bool IsNearlyEqual(const float A, const float B, const float ErrorTolerance = UE_SMALL_NUMBER)
	{
		return Abs(A - B) <= ErrorTolerance;
	}

	/** True when A and B differ by at most ErrorTolerance. */
	static constexpr bool IsNearlyEqual(const double A, const double B, const double ErrorTolerance = UE_DOUBLE_SMALL_NUMBER)
	{
		return Abs(A - B) <= ErrorTolerance;
	}

	/** True when Value is within ErrorTolerance of zero. */
	static constexpr bool IsNearlyZero(const float Value, const float ErrorTolerance = UE_SMALL_NUMBER)
	{
		return Abs(Value) <= ErrorTolerance;
	}

	/** True when Value is within ErrorTolerance of zero. */
	static constexpr bool IsNearlyZero(const double Value, const double ErrorTolerance = UE_DOUBLE_SMALL_NUMBER)
	{
		return Abs(Value) <= ErrorTolerance;
	}

	/** True when Value is neither infinite nor NaN. */
	template <typename T>
		requires std::is_floating_point_v<T>
	static bool IsFinite(const T Value)
	{
		return std::isfinite(Value);
	}

	/** True when A is NaN. */
	static bool IsNaN(float A) { return std::isnan(A); }
	static bool IsNaN(double A) { return std::isnan(A); }

	/** True when Value is a positive integral power of two (1, 2, 4, ...); zero and negatives are not. */
	template <typename T>
		requires std::is_integral_v<T>
	static constexpr bool IsPowerOfTwo(const T Value)
	{
		return Value > (T)0 && (Value & (Value - (T)1)) == (T)0;
	}

	/** True when MinValue <= TestValue < MaxValue. */
	template <typename T, typename U>
	static constexpr bool IsWithin(const T& TestValue, const U& MinValue, const U& MaxValue)
	{
		return TestValue >= MinValue && TestValue < MaxValue;
	}

	/** True when MinValue <= TestValue <= MaxValue. */
	template <typename T, typename U>
	static constexpr bool IsWithinInclusive(const T& TestValue, const U& MinValue, const U& MaxValue)
	{
		return TestValue >= MinValue && TestValue <= MaxValue;
	}

	/** Returns ValueGEZero when Comparand >= 0, otherwise ValueLTZero. */
	template <typename T>
		requires std::is_floating_point_v<T>
	static constexpr T FloatSelect(const T Comparand, const T ValueGEZero, const T ValueLTZero)
	{
		return Comparand >= (T)0 ? ValueGEZero : ValueLTZero;
	}

	/** Interpolates linearly from A (Alpha 0) to B (Alpha 1); Alpha is not clamped. */
	template <typename T, typename U>
	static constexpr T Lerp(const T& A, const T& B, const U& Alpha)
	{
		return (T)(A + Alpha * (B - A));
	}

	/** Converts an angle in radians to degrees. */
	template <class T>
	static constexpr auto RadiansToDegrees(T const& RadVal) -> decltype(RadVal * (180.f / UE_PI))
	{
		return RadVal * (180.f / UE_PI);
	}
	static constexpr float RadiansToDegrees(float const& RadVal) { return RadVal * (180.f / UE_PI); }
	static constexpr double RadiansToDegrees(double const& RadVal) { return RadVal * (180.0 / UE_DOUBLE_PI); }

	/** Converts an angle in degrees to radians. */
	template <class T>
	static constexpr auto DegreesToRadians(T const& DegVal) -> decltype(DegVal * (UE_PI / 180.f))
	{
		return DegVal * (UE_PI / 180.f);
	}
	static constexpr float DegreesToRadians(float const& DegVal) { return DegVal * (UE_PI / 180.f); }
	static constexpr double DegreesToRadians(double const& DegVal) { return DegVal * (UE_DOUBLE_PI / 180.0); }

	/** Returns an angle in degrees moved into [-180, 180] by whole turns. */
	template <typename T>
		requires std::is_floating_point_v<T>
	static T UnwindDegrees(T A)
	{
		A = std::fmod(A, (T)360);
		if (A > (T)180)
		{
			A -= (T)360;
		}
		else if (A < (T)-180)
		{
			A += (T)360;
		}
		return A;
	}

	/** Returns an angle in radians moved into [-PI, PI] by whole turns. */
	template <typename T>
		requires std::is_floating_point_v<T>
	static T UnwindRadians(T A)
	{
		const T Pi = (T)UE_DOUBLE_PI;
		const T TwoPi = (T)UE_DOUBLE_TWO_PI;
		A = std::fmod(A, TwoPi);
		if (A > Pi)
		{
			A -= TwoPi;
		}
		else if (A < -Pi)
		{
			A += TwoPi;
		}
		return A;
	}

	/** Returns the signed difference A2 - A1 of two angles in degrees, taken the short way round. */
	template <typename T>
		requires std::is_floating_point_v<T>
	static T FindDeltaAngleDegrees(const T A1, const T A2)
	{
		return UnwindDegrees(A2 - A1);
	}

	/**
	 * Clamps an angle in degrees to the arc that runs from MinAngleDegrees to MaxAngleDegrees,
	 * moving an angle outside the arc to its nearer end. The result is in (-180, 180].
	 */
	template <typename T>
		requires std::is_floating_point_v<T>
	static T ClampAngle(const T AngleDegrees, const T MinAngleDegrees, const T MaxAngleDegrees)
	{
		const T MaxDelta = ClampAxisDegrees(MaxAngleDegrees - MinAngleDegrees) * (T)0.5;
		const T RangeCenter = ClampAxisDegrees(MinAngleDegrees + MaxDelta);
		const T DeltaFromCenter = NormalizeAxisDegrees(AngleDegrees - RangeCenter);
		if (DeltaFromCenter > MaxDelta)
		{
			return NormalizeAxisDegrees(RangeCenter + MaxDelta);
		}
		if (DeltaFromCenter < -MaxDelta)
		{
			return NormalizeAxisDegrees(RangeCenter - MaxDelta);
		}
		return NormalizeAxisDegrees(AngleDegrees);
	}

private:
	/** The angle of (X, Y) with the sign of a zero ignored, so -0 never turns 0 into -0 or PI into -PI. */
	template <typename T>
	static T Atan2Unsigned(const T Y, const T X)
	{
		if (Y == (T)0 && X == (T)0)
		{
			return (T)0;
		}
		return std::atan2(Y == (T)0 ? (T)0 : Y, X);
	}

	/** Rounds to the nearest whole number with halves going up, exact for every representable input. */
	template <typename T>
	static T RoundHalfUp(const T F)
	{
		const T Whole = std::floor(F);
		return (F - Whole >= (T)0.5) ? Whole + (T)1 : Whole;
	}

	/** An angle in degrees moved into [0, 360). */
	template <typename T>
	static T ClampAxisDegrees(T Angle)
	{
		Angle = std::fmod(Angle, (T)360);
		if (Angle < (T)0)
		{
			Angle += (T)360;
		}
		return Angle;
	}

	/** An angle in degrees moved into (-180, 180]. */
	template <typename T>
	static T NormalizeAxisDegrees(T Angle)
	{
		Angle = ClampAxisDegrees(Angle);
		if (Angle > (T)180)
		{
			Angle -= (T)360;
		}
		return Angle;
	}
};
